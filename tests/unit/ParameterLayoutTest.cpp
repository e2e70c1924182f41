#include "ParameterLayout.h"
#include "PluginProcessor.h"
#include "ProcessorHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace
{
juce::String idOf(juce::AudioProcessorParameter* parameter)
{
    return dynamic_cast<juce::RangedAudioParameter*>(parameter)->getParameterID();
}

juce::RangedAudioParameter& parameterAt(BramblewayAudioProcessor& processor, int index)
{
    return *dynamic_cast<juce::RangedAudioParameter*>(processor.getParameters()[index]);
}

class ParameterLayout : public testing::Test
{
protected:
    BramblewayAudioProcessor processor;
};
} // namespace

TEST_F(ParameterLayout, CreatesAllParametersInTheirFixedOrder)
{
    const auto& all = processor.getParameters();
    ASSERT_EQ(all.size(), numParameters);
    ASSERT_EQ(numParameters, 598);

    const std::pair<int, const char*> positions[] = {
        {0, "block00"},           {31, "block031"},       {32, "Speed0"},         {33, "Dur0"},
        {37, "EFFECT0"},          {38, "CutOff0"},        {41, "DECAYNAME0"},     {101, "LINEVOLATTACK0"},
        {102, "LINEVOLDECAY0"},   {118, "VIBRATOWIDTH0"}, {119, "block10"},       {150, "block131"},
        {476, "block40"},         {507, "block431"},      {594, "VIBRATOWIDTH4"}, {595, "GlobalRestncBar"},
        {596, "GLOBALMIXVOLUME"}, {597, "GLOBALDRYWET"},
    };
    for (const auto& [index, id] : positions)
        EXPECT_EQ(idOf(all[index]), id) << "position " << index;

    std::set<juce::String> ids;
    for (auto* parameter : all)
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(parameter);
        ASSERT_NE(ranged, nullptr);
        ids.insert(ranged->getParameterID());
        EXPECT_EQ(ranged->getName(100), ranged->getParameterID());
        EXPECT_EQ(ranged->getVersionHint(), 1);
        EXPECT_TRUE(ranged->getLabel().isEmpty());
        EXPECT_TRUE(ranged->isAutomatable());
        EXPECT_FALSE(ranged->isOrientationInverted());
    }
    EXPECT_EQ((int) ids.size(), numParameters);
}

TEST_F(ParameterLayout, FreshInstanceHoldsTheDefaults)
{
    const std::pair<const char*, float> defaults[] = {
        {"block00", 0.0f},
        {"block431", 0.0f},
        {"Speed0", 13.0f},
        {"Dur4", 13.0f},
        {"GridNum2", 16.0f},
        {"LineVolume1", -3.0f},
        {"LINEPAN3", 0.0f},
        {"EFFECT0", 1.0f},
        {"EFFECT1", 2.0f},
        {"EFFECT2", 3.0f},
        {"EFFECT3", 4.0f},
        {"EFFECT4", 5.0f},
        {"CutOff0", 200.0f},
        {"CutOff1", 400.0f},
        {"CutOff2", 800.0f},
        {"CutOff3", 1600.0f},
        {"CutOff4", 3200.0f},
        {"FILTERTYPE0", 3.0f},
        {"ATTACKNAME1", 0.001f},
        {"RELEASENAME0", 0.1f},
        {"DELAYTIMEDELAYSYNC3", 3.0f},
        {"DISTMODE21", 3.0f},
        {"DISTCUTOFF20", 20000.0f},
        {"RINGMUSICALOCTAVE4", 4.0f},
        {"RINGLOFREQ2", 1000.0f},
        {"PHASERDECAY1", 90.0f},
        {"LINEVOLATTACK3", 0.01f},
        {"LINEVOLDECAY3", 0.01f},
        {"GlobalRestncBar", 1.0f},
        {"GLOBALMIXVOLUME", -3.0f},
        {"GLOBALDRYWET", 1.0f},
        // Defaults off the 0.01 grid counted from 0.001 land on the grid: 0.2 becomes 0.201.
        {"DECAYNAME2", 0.201f},
        {"SUSTAINNAME0", 0.701f},
        {"REPEATERWINDOW4", 0.251f},
    };
    for (const auto& [id, value] : defaults)
    {
        auto* parameter = processor.getParameterTree().getParameter(id);
        ASSERT_NE(parameter, nullptr) << id;
        EXPECT_NEAR(parameter->convertFrom0to1(parameter->getDefaultValue()), value, 1e-4f) << id;
        EXPECT_NEAR(testing_support::plainValue(processor, id), value, 1e-4f) << id;
    }
    EXPECT_FLOAT_EQ(processor.liveValue(Stem::CutOff, 3), 1600.0f);
    EXPECT_FLOAT_EQ(processor.liveValue(Stem::EFFECT, 2), 3.0f);
    EXPECT_EQ(processor.getParameterTree().state.getType().toString(), "Brambleway");
}

TEST_F(ParameterLayout, RangesStepsAndSkews)
{
    struct Case
    {
        const char* id;
        float minimum, maximum, interval, skew;
    };
    const Case cases[] = {
        {"CutOff0", 20.0f, 20000.0f, 1.0f, 0.19889385f},
        {"DISTCUTOFF23", 100.0f, 20000.0f, 1.0f, 0.25506973f},
        {"CUTOFFDECIMATOR4", 100.0f, 20000.0f, 1.0f, 0.25506973f},
        {"DECAYNAME1", 0.001f, 1.0f, 0.01f, 1.5f},
        {"ATTACKNAME2", 0.001f, 1.0f, 0.01f, 1.0f},
        {"LineVolume0", -100.0f, 6.0f, 0.01f, 1.0f},
        {"CHORUSFEEDBACK1", -0.99f, 0.99f, 0.01f, 1.0f},
        {"PHASERPEEDBAC2", -1.0f, 0.99f, 0.01f, 1.0f},
        {"REPEATERWINDOW3", 0.001f, 0.5f, 0.01f, 1.0f},
        {"GridNum0", 1.0f, 32.0f, 1.0f, 1.0f},
        {"PITCHMUSICALFINE2", -12.0f, 12.0f, 1.0f, 1.0f},
        {"Speed1", 0.0f, 23.0f, 1.0f, 1.0f},
        {"EFFECT4", 0.0f, 13.0f, 1.0f, 1.0f},
        {"GLOBALMIXVOLUME", -48.0f, 6.0f, 0.01f, 1.0f},
    };
    for (const auto& c : cases)
    {
        const auto& range = processor.getParameterTree().getParameter(c.id)->getNormalisableRange();
        EXPECT_FLOAT_EQ(range.start, c.minimum) << c.id;
        EXPECT_FLOAT_EQ(range.end, c.maximum) << c.id;
        EXPECT_FLOAT_EQ(range.interval, c.interval) << c.id;
        EXPECT_FLOAT_EQ(range.skew, c.skew) << c.id;
    }

    // The skews put the geometric mean of each range at the middle of the knob.
    auto* cutOff = processor.getParameterTree().getParameter("CutOff2");
    EXPECT_NEAR(cutOff->getNormalisableRange().convertFrom0to1(0.5f), std::sqrt(20.0f * 20000.0f), 0.05f);
    auto* distCut = processor.getParameterTree().getParameter("DISTCUTOFF20");
    EXPECT_NEAR(distCut->getNormalisableRange().convertFrom0to1(0.5f), std::sqrt(100.0f * 20000.0f), 0.05f);

    // A linear step of 0.01 counted from the minimum.
    const auto& attack = processor.getParameterTree().getParameter("ATTACKNAME0")->getNormalisableRange();
    EXPECT_NEAR(attack.snapToLegalValue(0.014f), 0.011f, 1e-6f);
    EXPECT_NEAR(attack.snapToLegalValue(0.018f), 0.021f, 1e-6f);
}

TEST_F(ParameterLayout, KindsAndChoiceLists)
{
    const char* booleans[] = {"block00",         "REVERBINST1",    "DELAYSYNC2", "PITCHMUSICALSET3",
                              "COMBFILTERSYNC4", "SOLOSELECT0",    "LFOSYNC1",   "FILTERAPPLYEFFECT2",
                              "TREMOLOSYNC3",    "RINGMUSICALSET4"};
    for (auto* id : booleans)
        EXPECT_NE(dynamic_cast<juce::AudioParameterBool*>(processor.getParameterTree().getParameter(id)),
                  nullptr)
            << id;

    const char* integers[] = {"GridNum0",        "PITCHMUSICALOCTAVE1", "BITDECIMATOR2",
                              "REPEATERDIVIDE3", "RINGMUSICALOCTAVE4",  "GlobalRestncBar"};
    for (auto* id : integers)
        EXPECT_NE(dynamic_cast<juce::AudioParameterInt*>(processor.getParameterTree().getParameter(id)),
                  nullptr)
            << id;

    const std::pair<const char*, const juce::StringArray*> choices[] = {
        {"Speed0", &myNotetUnitSA},
        {"Dur1", &myNotetUnitSA},
        {"EFFECT2", &effectChoicesStr},
        {"FILTERTYPE3", &filterChoicesStr},
        {"DISTMODE4", &distChoicesStr},
        {"DISTMODE20", &dist2ChoicesStr},
        {"LFOWAVETYPE1", &LFOWaveName},
        {"LFOSYNCFREQ2", &syncValuesString},
        {"RINGMUSICALNOTE3", &midiNote},
        {"VIBRATOINTERPOLATION4", &interpolationItemsUI},
        {"REPEATERTYPE0", &repeaterTypeString},
    };
    for (const auto& [id, list] : choices)
    {
        auto* choice =
            dynamic_cast<juce::AudioParameterChoice*>(processor.getParameterTree().getParameter(id));
        ASSERT_NE(choice, nullptr) << id;
        EXPECT_EQ(choice->choices, *list) << id;
    }
}

TEST_F(ParameterLayout, OnlyTheEnvelopePairIsMeta)
{
    for (auto* parameter : processor.getParameters())
    {
        const auto id = idOf(parameter);
        const bool pair = id.startsWith("LINEVOLATTACK") || id.startsWith("LINEVOLDECAY");
        EXPECT_EQ(parameter->isMetaParameter(), pair) << id;
    }
}

TEST_F(ParameterLayout, LiveValuesFollowTheParameters)
{
    testing_support::setPlain(processor, "CutOff2", 1000.0f);
    testing_support::setPlain(processor, "block317", 1.0f);
    testing_support::setPlain(processor, "EFFECT4", 9.0f);
    EXPECT_FLOAT_EQ(processor.liveValue(Stem::CutOff, 2), 1000.0f);
    EXPECT_FLOAT_EQ(processor.blockValue(3, 17), 1.0f);
    EXPECT_FLOAT_EQ(processor.blockValue(3, 16), 0.0f);
    EXPECT_FLOAT_EQ(processor.liveValue(Stem::EFFECT, 4), 9.0f);
    EXPECT_EQ(&parameterAt(processor, 37 + 4 * numPerLineParameters),
              processor.getParameterTree().getParameter("EFFECT4"));
}
