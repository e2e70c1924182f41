#include "SharedTables.h"

#include <gtest/gtest.h>

#include <set>

TEST(SharedTables, StemIndicesNameTheirStems)
{
    ASSERT_EQ(valueTreeNames.size(), numStems);
    const std::pair<int, const char*> cases[] = {
        {0, "block"},
        {Stem::block, "block"},
        {Stem::Speed, "Speed"},
        {Stem::GlobalRestncBar, "GlobalRestncBar"},
        {Stem::CutOff, "CutOff"},
        {31, "PHASERPEEDBAC"},
        {42, "COBFILTERDELAY"},
        {Stem::DISTTRESHOLD, "DISTTRESHOLD"},
        {69, "GLOBALDRYWET"},
        {Stem::REPEATERWINDOW, "REPEATERWINDOW"},
        {90, "REPEATERWINDOW"},
    };
    for (const auto& [index, stem] : cases)
        EXPECT_EQ(valueTreeNames[index], stem) << "index " << index;

    const std::set<juce::String> distinct(valueTreeNames.begin(), valueTreeNames.end());
    EXPECT_EQ((int) distinct.size(), numStems);
}

TEST(SharedTables, NoteUnitsRunDottedPlainTripletFromWholeTo128th)
{
    ASSERT_EQ(myNotetUnit.size(), 24u);
    ASSERT_EQ(myNotetUnitSA.size(), 24);
    const char* suffixes[] = {"nd", "n", "nt"};
    for (int i = 0; i < 24; ++i)
    {
        const auto expected = juce::String(1 << (i / 3)) + suffixes[i % 3];
        EXPECT_EQ(myNotetUnitSA[i], expected);
        EXPECT_EQ(myNotetUnit[(size_t) i], expected);
    }
}

TEST(SharedTables, SyncValuesAreTheFractionsTheirLabelsName)
{
    ASSERT_EQ(syncValuesString.size(), 12);
    for (int i = 0; i < 12; ++i)
    {
        const auto label = syncValuesString[i];
        const double numerator = label.upToFirstOccurrenceOf("/", false, false).getDoubleValue();
        const double denominator =
            label.containsChar('/') ? label.fromFirstOccurrenceOf("/", false, false).getDoubleValue() : 1.0;
        EXPECT_EQ(syncValues[i], numerator / denominator) << label;
        if (i > 0)
            EXPECT_GT(syncValues[i], syncValues[i - 1]);
    }
}

TEST(SharedTables, ChoiceListsHaveTheirFixedEntries)
{
    struct Case
    {
        const juce::StringArray& table;
        int size;
        int index;
        const char* entry;
    };
    const Case cases[] = {
        {effectChoicesStr, 14, 0, "NO EFFECT"},
        {effectChoicesStr, 14, 5, "Obs-DIST"},
        {effectChoicesStr, 14, 12, "RING MOD."},
        {effectChoicesStr, 14, 13, "DISTORTION"},
        {distChoicesStr, 7, 6, "gloubiApp"},
        {dist2ChoicesStr, 12, 0, "ByPass"},
        {dist2ChoicesStr, 12, 11, "Waveshaper 2"},
        {filterChoicesStr, 4, 3, "NoFilter"},
        {LFOWaveName, 4, 3, "INV"},
        {midiNote, 12, 1, "C#"},
        {interpolationItemsUI, 3, 2, "Cubic"},
        {repeaterTypeString, 2, 1, "Algorithm 2"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.table.size(), c.size) << c.entry;
        EXPECT_EQ(c.table[c.index], c.entry);
    }
    EXPECT_EQ(effectChoicesStr[99], juce::String()); // guarded access out of range
    EXPECT_EQ(topLabel.size(), 10u);
    EXPECT_EQ(topLabel[1], "G R I D S");
    EXPECT_EQ(savedPresetNoIdent.toString(), "savedPresetNo");
}

TEST(SharedTables, PaletteAlphasAreTheRoundedFractions)
{
    EXPECT_EQ(colourarray[0].getARGB(), 0xB2ADD8E6u);
    EXPECT_EQ(colourarray[0].getAlpha(), juce::roundToInt(0.7f * 255.0f));
    EXPECT_EQ(randOutlineColor.getAlpha(), juce::roundToInt(0.3f * 255.0f));
    EXPECT_EQ(myButtonColour.getAlpha(), juce::roundToInt(0.25f * 255.0f));
}
