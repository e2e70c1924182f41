#include "PresetFunctions.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
class PresetFile : public testing::Test
{
protected:
    juce::TemporaryFile folderName;
    juce::File folder;
    juce::File file;

    void SetUp() override
    {
        folder = folderName.getFile();
        ASSERT_TRUE(folder.createDirectory().wasOk());
        file = folder.getChildFile(presets::fileName);
    }
    void TearDown() override
    {
        folder.setReadOnly(false, true);
        folder.deleteRecursively();
    }

    std::vector<BramblewayProgram> readText(const juce::String& json)
    {
        file.replaceWithText(json);
        return presets::readFile(file);
    }
};

// A set-up with something unusual on every line.
BramblewayProgram drawnProgram(const juce::String& name, int seed)
{
    BramblewayProgram program(name);
    juce::Random random(seed);
    for (int line = 0; line < numLines; ++line)
    {
        for (int block = 0; block < numBlocks; ++block)
            program.blockStates[(size_t) line][(size_t) block] = random.nextBool() ? 1 : 0;
        for (int k = 1; k < numStems; ++k)
        {
            if (presets::isGlobalStem(k) && line > 0)
                continue;
            program.values[(size_t) line][(size_t) k] = random.nextFloat() * 100.0f - 50.0f;
            if (presets::isGlobalStem(k))
                continue;
            AutomationLine points{{0.0f, random.nextFloat()}};
            const int inner = random.nextInt(4);
            for (int p = 0; p < inner; ++p)
                points.emplace_back((float) (p + 1) / (float) (inner + 1), random.nextFloat());
            points.emplace_back(1.0f, random.nextFloat());
            program.automation[(size_t) line][(size_t) k] = points;
        }
    }
    return program;
}

void expectSamePrograms(const BramblewayProgram& a, const BramblewayProgram& b)
{
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.blockStates, b.blockStates);
    EXPECT_EQ(a.values, b.values);
    const AutomationLine flat{{0.0f, 0.5f}, {1.0f, 0.5f}};
    for (int line = 0; line < numLines; ++line)
        for (int k = 1; k < numStems; ++k)
            if (!presets::isGlobalStem(k))
            {
                // A record without points for a curve reads back with the flat default curve.
                const auto& original = b.automation[(size_t) line][(size_t) k];
                EXPECT_EQ(a.automation[(size_t) line][(size_t) k], original.empty() ? flat : original)
                    << valueTreeNames[k] << line;
            }
}
} // namespace

TEST_F(PresetFile, WrittenListsReadBackExactly)
{
    std::vector<BramblewayProgram> programs{drawnProgram("Chop", 1), drawnProgram("Wobble \"quoted\" ü", 2),
                                            BramblewayProgram("")};
    // Long curves on the stems whose keys coincide with their namesakes' keys.
    AutomationLine many;
    for (int p = 0; p < 25; ++p)
        many.emplace_back((float) p / 24.0f, (float) (p % 5) / 4.0f);
    programs[0].automation[2][Stem::DISTMODE] = many;
    programs[0].automation[1][Stem::DISTMODE2] = {{0.0f, 0.1f}, {0.3f, 0.2f}, {1.0f, 0.9f}};
    programs[0].automation[2][Stem::DISTMODE2] = {{0.0f, 0.9f}, {1.0f, 0.8f}};

    ASSERT_TRUE(presets::writeFile(file, programs));
    const auto loaded = presets::readFile(file);
    ASSERT_EQ(loaded.size(), programs.size());
    for (size_t i = 0; i < programs.size(); ++i)
        expectSamePrograms(loaded[i], programs[i]);
}

TEST_F(PresetFile, TextHasTheFixedKeyOrderAndEndsInAZeroByte)
{
    ASSERT_TRUE(presets::writeFile(file, {drawnProgram("First", 3)}));
    juce::MemoryBlock bytes;
    ASSERT_TRUE(file.loadFileAsData(bytes));
    ASSERT_GT(bytes.getSize(), 1u);
    EXPECT_EQ(bytes[bytes.getSize() - 1], 0);

    const auto text = juce::String::fromUTF8((const char*) bytes.getData(), (int) bytes.getSize() - 1);
    EXPECT_GT(text.indexOfChar('\n'), 0) << "multi-line";
    const char* ordered[] = {"\"Presets\"",         "\"PresetName\"",     "\"block00\"",
                             "\"block031\"",        "\"block431\"",       "\"Speed0\"",
                             "\"ModSpeed0\"",       "\"ModSpeed00x\"",    "\"ModSpeed00y\"",
                             "\"ModSpeed01x\"",     "\"Speed1\"",         "\"EFFECT4\"",
                             "\"GlobalRestncBar\"", "\"CutOff0\"",        "\"GLOBALMIXVOLUME\"",
                             "\"GLOBALDRYWET\"",    "\"REPEATERWINDOW4\""};
    int previous = -1;
    for (auto* key : ordered)
    {
        const int at = text.indexOf(key);
        EXPECT_GT(at, previous) << key;
        previous = at;
    }
    EXPECT_EQ(text.indexOf("\"GlobalRestncBar0\""), -1);
    EXPECT_EQ(text.indexOf("\"Modblock"), -1);
    EXPECT_EQ((juce::File(file).getParentDirectory().findChildFiles(juce::File::findFiles, false).size()), 1)
        << "no temporary file left behind";

    struct stat info
    {
    };
    ASSERT_EQ(::stat(file.getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(PresetFile, ReadingFollowsTheRulesForMissingAndOddEntries)
{
    // No name, no Mod keys, fractional and negative counts, a missing coordinate, a string number.
    const auto loaded = readText(R"({"Presets": [
        {"CutOff2": 1234.5, "GlobalRestncBar": 4, "block17": 1, "block18": 0.9,
         "ModQ1": 2.5, "ModQ10x": 0, "ModQ10y": 0.25, "ModQ11x": 0.5, "ModQ12x": 1, "ModQ12y": 0.75,
         "ModLINEPAN3": -1, "LINEPAN4": "0.5", "ModCutOff0": 1, "ModCutOff00x": 0.3, "ModCutOff00y": true},
        {"PresetName": "Second"}]})");
    ASSERT_EQ(loaded.size(), 2u);
    const auto& first = loaded[0];
    EXPECT_EQ(first.name, "");
    EXPECT_FLOAT_EQ(first.values[2][Stem::CutOff], 1234.5f);
    EXPECT_FLOAT_EQ(first.values[0][Stem::GlobalRestncBar], 4.0f);
    EXPECT_FLOAT_EQ(first.values[4][Stem::LINEPAN], 0.5f);
    EXPECT_EQ(first.blockStates[1][7], 1);
    EXPECT_EQ(first.blockStates[1][8], 0) << "truncated toward zero";
    EXPECT_EQ(first.automation[1][Stem::Q], (AutomationLine{{0.0f, 0.25f}, {0.5f, 0.0f}, {1.0f, 0.75f}}));
    EXPECT_TRUE(first.automation[3][Stem::LINEPAN].empty()) << "negative count";
    EXPECT_EQ(first.automation[0][Stem::CutOff], (AutomationLine{{0.3f, 1.0f}}));
    EXPECT_EQ(first.automation[0][Stem::Q], (AutomationLine{{0.0f, 0.5f}, {1.0f, 0.5f}})) << "missing count";
    EXPECT_EQ(loaded[1].name, "Second");
    EXPECT_EQ(loaded[1].automation[4][Stem::REPEATERWINDOW], (AutomationLine{{0.0f, 0.5f}, {1.0f, 0.5f}}));
}

TEST_F(PresetFile, BrokenFilesGiveNoRecords)
{
    const char* texts[] = {"", "not json at all", "{}", "{\"Presets\": []}", "{\"Presets\": 3}", "[1, 2]"};
    for (auto* text : texts)
        EXPECT_TRUE(readText(text).empty()) << text;
    EXPECT_TRUE(presets::readFile(folder.getChildFile("missing.json")).empty());
    EXPECT_TRUE(presets::readFile(folder).empty()) << "a folder is not a file";
}

TEST_F(PresetFile, BytesAfterTheZeroByteAreIgnored)
{
    ASSERT_TRUE(presets::writeFile(file, {drawnProgram("Tail", 4)}));
    const auto clean = presets::readFile(file);
    juce::FileOutputStream append(file);
    append.write("\x7f garbage {\"Presets\": []} \xff", 28);
    append.flush();
    const auto withTail = presets::readFile(file);
    ASSERT_EQ(withTail.size(), 1u);
    expectSamePrograms(withTail[0], clean[0]);
}

TEST_F(PresetFile, AHostileCountIsClamped)
{
    const auto loaded = readText(R"({"Presets": [{"ModQ0": 2000000000, "ModCOMBFILTERDEPTH1": 1e300}]})");
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].automation[0][Stem::Q].size(), (size_t) presets::maxBreakpoints);
    EXPECT_EQ(loaded[0].automation[1][Stem::COMBFILTERDEPTH].size(), (size_t) presets::maxBreakpoints);
}

TEST_F(PresetFile, LegacyFilesWithCoincidingKeysStillLoadAsBefore)
{
    // Written before the unambiguous keys existed: both automation lines read the shared key.
    const auto loaded =
        readText(R"({"Presets": [{"ModDISTMODE2": 11, "ModDISTMODE210x": 0.75, "ModDISTMODE210y": 0.5,
        "ModDISTMODE21": 1}]})");
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].automation[2][Stem::DISTMODE].size(), 11u);
    EXPECT_EQ(loaded[0].automation[2][Stem::DISTMODE][10], juce::Point<float>(0.75f, 0.5f));
    EXPECT_EQ(loaded[0].automation[1][Stem::DISTMODE2], (AutomationLine{{0.75f, 0.5f}}));
}

TEST(PresetKeys, OnlyStemsSharingKeysWithANamesakeAreAmbiguous)
{
    for (int k = 0; k < numStems; ++k)
    {
        const auto& stem = valueTreeNames[k];
        const bool expected = stem == "DISTMODE" || stem == "DISTDRIVE" || stem == "DISTMIX" ||
                              stem == "DISTTRESHOLD" || stem == "DISTMODE2" || stem == "DISTDRIVE2" ||
                              stem == "DISTMIX2" || stem == "DISTTRESHOLD2";
        EXPECT_EQ(presets::hasAmbiguousKeys(k), expected) << stem;
    }
    EXPECT_EQ(presets::pointKey(Stem::CutOff, 3, 1, 'x'), "ModCutOff31x");
    EXPECT_EQ(presets::countKey(Stem::CutOff, 3), "ModCutOff3");
    EXPECT_EQ(presets::pointKey(Stem::DISTMODE, 2, 10, 'x'), presets::pointKey(Stem::DISTMODE2, 1, 0, 'x'));
}

TEST(PresetKeys, ExactEncodingRoundTripsAndRejectsDamage)
{
    const AutomationLine points{{0.0f, 0.123456789f}, {0.5f, 1.0f / 3.0f}, {1.0f, 0.0f}};
    EXPECT_EQ(presets::decodeExact(presets::encodeExact(points)), points);
    EXPECT_EQ(presets::decodeExact(presets::encodeExact({})), AutomationLine{});
    const char* damaged[] = {"", "x", "2 0 0.5", "-1", "3 0 0 1 1", "99999999 0 0"};
    for (auto* text : damaged)
        EXPECT_FALSE(presets::decodeExact(text).has_value()) << text;
}

TEST_F(PresetFile, AFailedWriteLeavesTheOldFileIntact)
{
    ASSERT_TRUE(presets::writeFile(file, {drawnProgram("Old", 5)}));
    juce::MemoryBlock before;
    file.loadFileAsData(before);

    // Root ignores folder permissions, so write as an ordinary user where the tests run as root.
    ASSERT_EQ(::chmod(folder.getFullPathName().toRawUTF8(), 0555), 0);
    const bool asRoot = ::geteuid() == 0;
    if (asRoot)
        ASSERT_EQ(::seteuid(65534), 0);
    const bool written = presets::writeFile(file, {drawnProgram("New", 6)});
    if (asRoot)
        ASSERT_EQ(::seteuid(0), 0);
    ::chmod(folder.getFullPathName().toRawUTF8(), 0755);

    EXPECT_FALSE(written);
    juce::MemoryBlock after;
    file.loadFileAsData(after);
    EXPECT_EQ(before, after);
}
