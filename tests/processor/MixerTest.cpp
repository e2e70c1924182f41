// The line mixer: pan, solo, line volume, dry/wet, master volume, saturation and meters.

#include "EngineRig.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::EngineRig;

namespace
{
class Mixer : public testing::Test
{
protected:
    void SetUp() override
    {
        rig.setForLines(Stem::EFFECT, 0.0f);
        rig.settleGains();
        rig.set("GLOBALMIXVOLUME", 0.0f);
    }

    // Every step of every line on: with input 1 each line buffer holds its block envelope.
    void allBlocksOn()
    {
        for (int line = 0; line < numLines; ++line)
            for (int block = 0; block < 16; ++block)
                rig.set(blockParameterID(line, block), 1.0f);
    }

    EngineRig rig;
};

float noise(int channel, juce::int64 i)
{
    return 0.8f * std::sin(0.37f * (float) i + 1.3f * (float) channel) * std::cos(0.011f * (float) i);
}
} // namespace

TEST_F(Mixer, SoloHearsOnlyTheSoloedLinesWhileTheOthersStillRun)
{
    allBlocksOn();
    rig.set("SOLOSELECT2", 1.0f);
    const auto recording = rig.run(3000);

    const int expected[] = {0, 0, 1, 0, 0};
    for (int line = 0; line < numLines; ++line)
        EXPECT_EQ(rig.processor.soloGains[(size_t) line].load(), expected[line]) << "line " << line;
    for (size_t i = 0; i < 3000; ++i)
    {
        ASSERT_EQ(recording.lines[0][0][i], 0.0f);
        ASSERT_EQ(recording.output[0][i], std::tanh(recording.lines[2][0][i])) << i;
    }

    // Solo off everywhere: every line is heard again and the output is their saturated sum.
    rig.set("SOLOSELECT2", 0.0f);
    const auto all = rig.run(1000);
    for (int line = 0; line < numLines; ++line)
        EXPECT_EQ(rig.processor.soloGains[(size_t) line].load(), 1);
    EXPECT_NEAR(all.output[0][500], std::tanh(5.0f * all.lines[0][0][500]), 1e-6f);
}

TEST_F(Mixer, PanDoublesOneSideAndSilencesTheOther)
{
    struct Case
    {
        float pan, left, right;
    };
    for (const auto c :
         {Case{-1.0f, 2.0f, 0.0f}, Case{1.0f, 0.0f, 2.0f}, Case{0.0f, 1.0f, 1.0f}, Case{0.5f, 0.5f, 1.5f}})
    {
        EngineRig engine;
        engine.settleGains();
        engine.set("block00", 1.0f);
        engine.set("LINEPAN0", c.pan);
        const auto recording = engine.run(1000);
        const float gate = 69.0f / 70.0f;
        EXPECT_NEAR(recording.lines[0][0][500], c.left * gate, 1e-5f) << "pan " << c.pan;
        EXPECT_NEAR(recording.lines[0][1][500], c.right * gate, 1e-5f) << "pan " << c.pan;
    }
}

TEST_F(Mixer, PanFollowsItsAutomationLine)
{
    rig.set("block00", 1.0f);
    // Drawn at the top: +1 added to LINEPAN -0.5, so the line sits half right.
    rig.processor.editLineAutomation(
        [](auto& automation) {
            automation[0][Stem::LINEPAN] = {{0.0f, 0.0f}, {1.0f, 0.0f}};
        });
    rig.set("LINEPAN0", -0.5f);
    const auto recording = rig.run(1024);
    const float gate = 69.0f / 70.0f;
    EXPECT_NEAR(recording.lines[0][0][1000], 0.5f * gate, 1e-5f);
    EXPECT_NEAR(recording.lines[0][1][1000], 1.5f * gate, 1e-5f);
}

TEST_F(Mixer, DryWetZeroGivesTheSaturatedDryInputWhateverTheLinesDo)
{
    allBlocksOn();
    rig.set("GLOBALDRYWET", 0.0f);
    rig.processor.dryWetSmoother.setCurrentAndTargetValue(0.0f);
    rig.set("GLOBALMIXVOLUME", -6.0f);
    const auto recording = rig.run(4000, noise);
    const float gain = std::pow(10.0f, -6.0f / 20.0f);
    for (int channel = 0; channel < 2; ++channel)
        for (size_t i = 0; i < 4000; ++i)
            ASSERT_FLOAT_EQ(recording.output[channel][i], std::tanh(noise(channel, (juce::int64) i) * gain))
                << i;
}

TEST_F(Mixer, FullyWetWithEveryBlockOffIsSilent)
{
    const auto recording = rig.run(4000, noise);
    for (int channel = 0; channel < 2; ++channel)
        for (float sample : recording.output[channel])
            ASSERT_EQ(sample, 0.0f);
}

TEST_F(Mixer, MasterVolumeScalesTheMixBeforeTheSaturationBoundsIt)
{
    struct Case
    {
        float decibels;
        float input;
    };
    // At its minimum of -48 dB the mix is scaled by about 0.004; at 6 dB a full-scale square stays below 1.
    for (const auto c : {Case{-48.0f, 1.0f}, Case{0.0f, 1.0f}, Case{6.0f, 1.0f}, Case{6.0f, 4.0f}})
    {
        EngineRig engine;
        engine.settleGains();
        engine.setForLines(Stem::EFFECT, 0.0f);
        engine.set("block00", 1.0f);
        engine.set("GLOBALMIXVOLUME", c.decibels);
        const auto square = [&c](int, juce::int64 i) { return (i / 50) % 2 == 0 ? c.input : -c.input; };
        const auto recording = engine.run(3000, square);
        const float gain = std::pow(10.0f, c.decibels / 20.0f);
        for (size_t i = 0; i < 3000; ++i)
        {
            const float line = recording.lines[0][0][i];
            ASSERT_NEAR(recording.output[0][i], std::tanh(line * gain), 1e-6f) << c.decibels << " dB, " << i;
            ASSERT_LT(std::abs(recording.output[0][i]), 1.0f);
        }
        if (c.decibels == -48.0f)
        {
            EXPECT_NEAR(recording.output[0][100], 0.00398f * 69.0f / 70.0f, 2e-5f);
        }
    }
}

TEST_F(Mixer, LineVolumeRampStepsOncePerSampleOfEachChannel)
{
    // From 0 dB to silence over 0.25 s of ramp steps: 12000 samples in mono, 6000 in stereo.
    struct Case
    {
        int channels;
        juce::int64 silentAfter;
    };
    for (const auto c : {Case{1, 12000}, Case{2, 6000}})
    {
        EngineRig engine(48000.0, 500, c.channels);
        engine.settleGains();
        for (int block = 0; block < 16; ++block)
            engine.set(blockParameterID(0, block), 1.0f);
        engine.run(1000);
        engine.set("LineVolume0", -100.0f);
        const auto recording = engine.run(14000);
        EXPECT_NE(recording.lines[0][0][(size_t) c.silentAfter - 600], 0.0f) << c.channels << " channels";
        for (size_t i = (size_t) c.silentAfter; i < 14000; ++i)
            ASSERT_EQ(recording.lines[0][0][i], 0.0f) << c.channels << " channels, sample " << i;
    }
}

TEST_F(Mixer, MetersRiseAtOnceAndFallOverHalfASecond)
{
    for (int block = 0; block < 16; ++block)
        rig.set(blockParameterID(1, block), 1.0f);
    const auto constant = [](int, juce::int64) { return 0.5f; };
    rig.run(1000, constant, 500);
    // The second block of 500 sits on the flat top of the gate: RMS 0.5 * 69/70.
    const float level = 20.0f * std::log10(0.5f * 69.0f / 70.0f);
    EXPECT_NEAR(rig.processor.meterLevels[1][0].load(), level, 0.01f);
    EXPECT_EQ(rig.processor.meterLevels[0][0].load(), -100.0f) << "a silent line shows the floor";

    // Silence from a block boundary on: the meter glides linearly to -100 dB over 24000 samples. The
    // first silent block sets the glide going; each later one moves it 500 steps on.
    const auto silence = [](int, juce::int64) { return 0.0f; };
    rig.run(500 + 12000, silence, 500);
    EXPECT_NEAR(rig.processor.meterLevels[1][0].load(), level + (-100.0f - level) * 0.5f, 0.01f);
    rig.run(11500, silence, 500);
    EXPECT_GT(rig.processor.meterLevels[1][0].load(), -100.0f);
    rig.run(500, silence, 500);
    EXPECT_EQ(rig.processor.meterLevels[1][0].load(), -100.0f);
}
