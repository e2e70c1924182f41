// The state block the host stores, and the programs interface over the preset records.

#include "PluginProcessor.h"
#include "PresetFunctions.h"

namespace
{
// Automation lines read from a state block: the ones it names replace the current ones.
using RestoredLines = std::array<std::array<std::optional<AutomationLine>, numStems>, numLines>;

std::optional<AutomationLine> readStateAutomation(const juce::XmlElement& xml, int stem, int line)
{
    const auto countName = presets::countKey(stem, line);
    if (!xml.hasAttribute(countName))
        return std::nullopt;

    // Counts read like the C library's atoi; 0 leaves the curve as it is, a negative count empties it.
    const int n = xml.getStringAttribute(countName).getIntValue();
    if (n == 0)
        return std::nullopt;
    if (n < 0)
        return AutomationLine{};

    if (presets::hasAmbiguousKeys(stem))
        if (auto exact = presets::decodeExact(xml.getStringAttribute(presets::exactKey(stem, line)));
            exact && !exact->empty())
            return *exact;

    return presets::readBreakpoints(
        stem, line, n, [&xml](const juce::String& key) { return xml.getDoubleAttribute(key, 0.0); });
}

void removeAutomationAttributes(juce::XmlElement& xml)
{
    for (int i = xml.getNumAttributes(); --i >= 0;)
        if (xml.getAttributeName(i).startsWith(ptrSTR))
            xml.removeAttribute(xml.getAttributeName(i));
}
} // namespace

void BramblewayAudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    auto xml = parameters.copyState().createXml();
    if (xml == nullptr)
        return;

    // Hosts may ask from any thread: copy the curves under the editors' guard, then write them out.
    auto curves = std::make_unique<std::array<std::vector<AutomationLine>, numLines>>();
    editLineAutomation([&curves](const auto& lines) { *curves = lines; });

    for (int line = 0; line < numLines; ++line)
        for (int k = 0; k < numStems; ++k)
        {
            const auto& points = (*curves)[(size_t) line][(size_t) k];
            xml->setAttribute(presets::countKey(k, line), (int) points.size());
            for (size_t p = 0; p < points.size(); ++p)
            {
                xml->setAttribute(presets::pointKey(k, line, (int) p, 'x'), (double) points[p].x);
                xml->setAttribute(presets::pointKey(k, line, (int) p, 'y'), (double) points[p].y);
            }
        }
    for (int line = 0; line < numLines; ++line)
        for (int k = 0; k < numStems; ++k)
            if (presets::hasAmbiguousKeys(k))
                xml->setAttribute(presets::exactKey(k, line),
                                  presets::encodeExact((*curves)[(size_t) line][(size_t) k]));

    copyXmlToBinary(*xml, destData);
}

void BramblewayAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    auto xml = getXmlFromBinary(data, sizeInBytes);
    if (xml == nullptr)
        return;

    auto restored = std::make_unique<RestoredLines>();
    for (int line = 0; line < numLines; ++line)
        for (int k = 0; k < numStems; ++k)
            (*restored)[(size_t) line][(size_t) k] = readStateAutomation(*xml, k, line);

    if (xml->getTagName().equalsIgnoreCase(parameters.state.getType().toString()))
    {
        // The curves live in lineAutomation; left in the tree they would be saved again after they change.
        removeAutomationAttributes(*xml);
        parameters.replaceState(juce::ValueTree::fromXml(*xml));
    }

    editLineAutomation(
        [&restored](auto& lines)
        {
            for (int line = 0; line < numLines; ++line)
                for (int k = 0; k < numStems; ++k)
                    if (auto& points = (*restored)[(size_t) line][(size_t) k])
                        lines[(size_t) line][(size_t) k] = std::move(*points);
        });
}

//======================================================================================================

int BramblewayAudioProcessor::getNumPrograms()
{
    return 1 + (int) programs.size();
}

int BramblewayAudioProcessor::getCurrentProgram()
{
    return currentProgram;
}

const juce::String BramblewayAudioProcessor::getProgramName(int index)
{
    if (index == 0)
        return "Init";
    return juce::isPositiveAndNotGreaterThan(index, (int) programs.size()) ? programs[(size_t) index - 1].name
                                                                           : juce::String();
}

void BramblewayAudioProcessor::setCurrentProgram(int index)
{
    if (!juce::isPositiveAndNotGreaterThan(index, (int) programs.size()) || index == 0)
        return;

    // A host may switch programs from its audio thread; applying one copies curves, so it waits for the
    // message thread there.
    if (!juce::MessageManager::existsAndIsCurrentThread())
    {
        pendingProgram.store(index);
        return;
    }
    applyProgram(index);
}

void BramblewayAudioProcessor::applyProgram(int index)
{
    const auto& program = programs[(size_t) index - 1];
    currentProgram = index;
    savedPresetNo = index;

    // Straight through the parameters: the tree's copy of a value lags host changes by a timer tick,
    // and writing a value equal to that stale copy would be dropped.
    const auto set = [this](const juce::String& id, float value) { setParameterPlain(id, value); };

    for (int k = 0; k < numStems; ++k)
    {
        if (k == Stem::block)
        {
            for (int line = 0; line < numLines; ++line)
                for (int block = 0; block < numBlocks; ++block)
                    set(blockParameterID(line, block),
                        (float) program.blockStates[(size_t) line][(size_t) block]);
            continue;
        }
        if (presets::isGlobalStem(k))
        {
            set(valueTreeNames[k], program.values[0][(size_t) k]);
            continue;
        }
        for (int line = 0; line < numLines; ++line)
        {
            set(lineParameterID(k, line), program.values[(size_t) line][(size_t) k]);
            editLineAutomation(
                [&](auto& lines)
                { lines[(size_t) line][(size_t) k] = program.automation[(size_t) line][(size_t) k]; });
        }
    }
}
