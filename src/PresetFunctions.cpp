#include "PresetFunctions.h"

#include "PluginProcessor.h"

#include <cmath>
#include <sys/stat.h>

BramblewayProgram::BramblewayProgram(juce::String presetName)
    : blockStates((size_t) numLines, std::vector<int>((size_t) numBlocks, 0)),
      values((size_t) numLines, std::vector<float>((size_t) valueTreeNames.size(), 0.0f)),
      automation((size_t) numLines, std::vector<AutomationLine>((size_t) valueTreeNames.size())),
      name(std::move(presetName))
{
}

namespace presets
{
namespace
{
juce::String blockKey(int line, int block)
{
    return valueTreeNames[Stem::block] + juce::String(line) + juce::String(block);
}

juce::String valueKey(int stem, int line)
{
    return valueTreeNames[stem] + juce::String(line);
}

// Ambiguity follows from the table itself: two stems that differ only by trailing digits.
bool extendsByDigits(const juce::String& longer, const juce::String& shorter)
{
    return longer.length() > shorter.length() && longer.startsWith(shorter) &&
           longer.substring(shorter.length()).containsOnly("0123456789");
}

bool computeAmbiguity(int stem)
{
    const auto& name = valueTreeNames[stem];
    for (const auto& other : valueTreeNames)
        if (extendsByDigits(other, name) || extendsByDigits(name, other))
            return true;
    return false;
}

void writeProgram(juce::DynamicObject& object, const BramblewayProgram& program)
{
    object.setProperty("PresetName", program.name);
    for (int k = 0; k < numStems; ++k)
    {
        const auto& stem = valueTreeNames[k];
        if (k == Stem::block)
        {
            for (int line = 0; line < numLines; ++line)
                for (int block = 0; block < numBlocks; ++block)
                    object.setProperty(blockKey(line, block),
                                       program.blockStates[(size_t) line][(size_t) block]);
            continue;
        }
        if (isGlobalStem(k))
        {
            object.setProperty(stem, (double) program.values[0][(size_t) k]);
            continue;
        }
        for (int line = 0; line < numLines; ++line)
        {
            const auto& points = program.automation[(size_t) line][(size_t) k];
            object.setProperty(valueKey(k, line), (double) program.values[(size_t) line][(size_t) k]);
            object.setProperty(countKey(k, line), (double) points.size());
            for (size_t p = 0; p < points.size(); ++p)
            {
                object.setProperty(pointKey(k, line, (int) p, 'x'), (double) points[p].x);
                object.setProperty(pointKey(k, line, (int) p, 'y'), (double) points[p].y);
            }
        }
    }

    for (int k = 0; k < numStems; ++k)
        if (hasAmbiguousKeys(k) && !isGlobalStem(k))
            for (int line = 0; line < numLines; ++line)
                object.setProperty(exactKey(k, line),
                                   encodeExact(program.automation[(size_t) line][(size_t) k]));
}

AutomationLine readAutomation(const juce::var& object, int k, int line)
{
    if (hasAmbiguousKeys(k))
        if (auto exact = decodeExact(object.getProperty(exactKey(k, line), {}).toString());
            exact && !exact->empty())
            return *exact;

    const float n = (float) (double) object.getProperty(countKey(k, line), {});
    if (n == 0.0f)
        return defaultAutomationLine();
    if (!(n > 0.0f))
        return {};
    // A fractional count rounds up: points are read while their index is below it.
    const int count = (int) std::ceil(juce::jmin(n, (float) maxBreakpoints));
    return readBreakpoints(k, line, count,
                           [&object](const juce::String& key)
                           { return (float) (double) object.getProperty(key, {}); });
}

BramblewayProgram readProgram(const juce::var& object)
{
    BramblewayProgram program(object.getProperty("PresetName", {}).toString());
    const auto number = [&object](const juce::String& key)
    { return (float) (double) object.getProperty(key, {}); };

    for (int k = 0; k < numStems; ++k)
    {
        if (k == Stem::block)
        {
            for (int line = 0; line < numLines; ++line)
                for (int block = 0; block < numBlocks; ++block)
                    program.blockStates[(size_t) line][(size_t) block] = (int) number(blockKey(line, block));
            continue;
        }
        if (isGlobalStem(k))
        {
            program.values[0][(size_t) k] = number(valueTreeNames[k]);
            continue;
        }
        for (int line = 0; line < numLines; ++line)
        {
            program.values[(size_t) line][(size_t) k] = number(valueKey(k, line));
            program.automation[(size_t) line][(size_t) k] = readAutomation(object, k, line);
        }
    }
    return program;
}
} // namespace

bool isGlobalStem(int stem)
{
    return stem == Stem::GlobalRestncBar || stem == Stem::GLOBALMIXVOLUME || stem == Stem::GLOBALDRYWET;
}

juce::String countKey(int stem, int line)
{
    return ptrSTR + valueTreeNames[stem] + juce::String(line);
}

juce::String pointKey(int stem, int line, int point, char axis)
{
    return countKey(stem, line) + juce::String(point) + juce::String::charToString((juce::juce_wchar) axis);
}

bool hasAmbiguousKeys(int stem)
{
    static const auto table = []
    {
        std::array<bool, numStems> ambiguous{};
        for (int k = 0; k < numStems; ++k)
            ambiguous[(size_t) k] = computeAmbiguity(k);
        return ambiguous;
    }();
    return stem >= 0 && stem < numStems && table[(size_t) stem];
}

// "ModExact" never begins a count or point key: no stem starts with "Exact".
juce::String exactKey(int stem, int line)
{
    return ptrSTR + "Exact_" + valueTreeNames[stem] + "_" + juce::String(line);
}

juce::String encodeExact(const AutomationLine& points)
{
    // A var prints a double in its shortest form that reads back exactly.
    const auto number = [](float value) { return juce::var((double) value).toString(); };
    juce::String text(juce::String((int) points.size()));
    for (const auto& point : points)
        text << ' ' << number(point.x) << ' ' << number(point.y);
    return text;
}

std::optional<AutomationLine> decodeExact(const juce::String& text)
{
    juce::StringArray tokens;
    tokens.addTokens(text, " ", "");
    tokens.removeEmptyStrings();
    if (tokens.isEmpty() || !tokens[0].containsOnly("0123456789"))
        return std::nullopt;

    const int count = tokens[0].getIntValue();
    if (count > maxBreakpoints || tokens.size() != 1 + 2 * count)
        return std::nullopt;

    AutomationLine points;
    points.reserve((size_t) count);
    for (int p = 0; p < count; ++p)
        points.emplace_back((float) tokens[1 + 2 * p].getDoubleValue(),
                            (float) tokens[2 + 2 * p].getDoubleValue());
    return points;
}

juce::var toJson(const std::vector<BramblewayProgram>& programs)
{
    juce::Array<juce::var> list;
    for (const auto& program : programs)
    {
        auto object = std::make_unique<juce::DynamicObject>();
        writeProgram(*object, program);
        list.add(juce::var(object.release()));
    }
    auto top = std::make_unique<juce::DynamicObject>();
    top->setProperty("Presets", list);
    return juce::var(top.release());
}

std::vector<BramblewayProgram> fromJson(const juce::var& json)
{
    std::vector<BramblewayProgram> programs;
    if (const auto* list = json.getProperty("Presets", {}).getArray())
        for (const auto& object : *list)
            programs.push_back(readProgram(object));
    return programs;
}

std::vector<BramblewayProgram> readFile(const juce::File& file)
{
    juce::FileInputStream stream(file);
    if (!stream.openedOk())
        return {};
    // The text ends at the first zero byte; whatever follows it is ignored.
    return fromJson(juce::JSON::parse(stream.readString()));
}

bool writeFile(const juce::File& file, const std::vector<BramblewayProgram>& programs)
{
    const auto text = juce::JSON::toString(toJson(programs), false, 15);

    juce::TemporaryFile temporary(file);
    {
        juce::FileOutputStream stream(temporary.getFile());
        if (!stream.openedOk() || !stream.writeString(text))
            return false;
        stream.flush();
        if (stream.getStatus().failed())
            return false;
    }
    ::chmod(temporary.getFile().getFullPathName().toRawUTF8(), 0644);
    return temporary.overwriteTargetFileWithTemporary();
}

juce::File locateFile()
{
    const auto binary = juce::File::getSpecialLocation(juce::File::currentExecutableFile);
    // Brambleway.vst3/Contents/<architecture>/Brambleway.so
    const auto contents = binary.getParentDirectory().getParentDirectory();
    const auto folder =
        contents.getFileName() == "Contents" ? contents.getParentDirectory() : binary.getParentDirectory();
    return folder.getChildFile(fileName);
}
} // namespace presets

//======================================================================================================
// The processor's side of the presets: records made from the current set-up, and the file rewrite.

void BramblewayAudioProcessor::saveProgram(const juce::String& name)
{
    BramblewayProgram program(name);
    for (int k = 0; k < numStems; ++k)
    {
        if (k == Stem::block)
        {
            for (int line = 0; line < numLines; ++line)
                for (int block = 0; block < numBlocks; ++block)
                    program.blockStates[(size_t) line][(size_t) block] = (int) blockValue(line, block);
            continue;
        }
        if (presets::isGlobalStem(k))
        {
            program.values[0][(size_t) k] = parameters.getRawParameterValue(valueTreeNames[k])->load();
            continue;
        }
        for (int line = 0; line < numLines; ++line)
            program.values[(size_t) line][(size_t) k] = liveValue(k, line);
    }
    editLineAutomation(
        [&program](const auto& lines)
        {
            for (int line = 0; line < numLines; ++line)
                for (int k = 1; k < numStems; ++k)
                    if (!presets::isGlobalStem(k))
                        program.automation[(size_t) line][(size_t) k] = lines[(size_t) line][(size_t) k];
        });

    programs.push_back(std::move(program));
    writePresetToFileJSON();
}

void BramblewayAudioProcessor::deleteProgram(int index)
{
    if (!juce::isPositiveAndNotGreaterThan(index, (int) programs.size()) || index == 0)
        return;
    programs.erase(programs.begin() + (index - 1));
    writePresetToFileJSON();
}

void BramblewayAudioProcessor::writePresetToFileJSON()
{
    presets::writeFile(presetsFile, programs);
}
