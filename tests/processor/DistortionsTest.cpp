// "Obs-DIST", "DISTORTION" and "DECIMATOR" on a line: their settings and automation lines, their ramps
// and filters, and what extreme settings may never let out.

#include "RoutineRig.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::RoutineRig;
using testing_support::samplesOf;
using testing_support::silence;

namespace
{
constexpr auto obsDist = &BramblewayAudioProcessor::processBlockDistortion;
constexpr auto distortion = &BramblewayAudioProcessor::processBlockDistortion2;
constexpr auto decimator = &BramblewayAudioProcessor::processBlockDecimator;
constexpr int noAutomation = -1;

// The effects' filter as a fresh one would run it: low-pass, resonance 0.3, a fixed cutoff.
std::vector<float> lowPass(const std::vector<float>& input, double cutoff)
{
    Filter filter;
    filter.setCutoff(cutoff);
    std::vector<float> output;
    for (float x : input)
        output.push_back((float) filter.process((double) x));
    return output;
}

void expectSamples(const std::vector<float>& actual, const std::vector<float>& expected, const char* what)
{
    ASSERT_GE(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-6f) << what << ", sample " << i;
}
} // namespace

//======================================================================================================
// "Obs-DIST"

TEST(ObsDist, SoftLeavesTheLineBitExactWhateverTheDriveAndMix)
{
    RoutineRig rig(obsDist);
    rig.set(Stem::DISTMODE, 0.0f);
    rig.set(Stem::DISTDRIVE, 25.0f);
    rig.set(Stem::DISTMIX, 0.3f);
    const auto input = [](int channel, juce::int64 i)
    { return 30.0f * std::sin(0.01f * (float) i + (float) channel); };
    const auto out = rig.runChannels(2048, input);
    for (size_t channel = 0; channel < 2; ++channel)
        for (size_t i = 0; i < 2048; ++i)
            ASSERT_EQ(out[channel][i], input((int) channel, (juce::int64) i)) << i;
}

TEST(ObsDist, SettingsAndTheirAutomationLinesReachTheShaper)
{
    struct Case
    {
        const char* name;
        float mode, drive, mix, threshold;
        int automated;
        float m, x, expected;
    };
    // Mode index + 7m, drive + 25m, mix + m, threshold + m, each clamped to its range.
    const Case cases[] = {
        {"ArcTan clips", 1, 5, 1, 0.5f, noAutomation, 0, 0.5f, 2.0f / 3.0f},
        {"ArcTan cubic", 1, 5, 1, 0.5f, noAutomation, 0, 0.1f, 0.5f - 0.125f / 3.0f},
        {"mode line at the top folds", 0, 1, 1, 0.5f, Stem::DISTMODE, 1.0f, 0.7f, 0.3f},
        {"mode line down half", 6, 1, 1, 0.5f, Stem::DISTMODE, -0.5f, 1.0f, 0.5f}, // 2.5: arctangent
        {"drive line down half", 3, 20, 1, 0.5f, Stem::DISTDRIVE, -0.5f, 0.1f, 0.75f},
        {"drive line clamps at 25", 3, 20, 1, 0.5f, Stem::DISTDRIVE, 1.0f, 0.03f, 0.75f},
        {"mix line up half", 3, 4, 0.2f, 0.5f, Stem::DISTMIX, 0.5f, 0.5f, 0.7f + 0.3f * 0.5f},
        {"threshold line to 0", 6, 2, 1, 0.9f, Stem::DISTTRESHOLD, -1.0f, 0.7f, 0.0f},
    };
    for (const auto& c : cases)
    {
        RoutineRig rig(obsDist);
        rig.set(Stem::DISTMODE, c.mode);
        rig.set(Stem::DISTDRIVE, c.drive);
        rig.set(Stem::DISTMIX, c.mix);
        rig.set(Stem::DISTTRESHOLD, c.threshold);
        if (c.automated != noAutomation)
            rig.automate(c.automated, c.m);
        EXPECT_NEAR(rig.run(1, samplesOf({c.x}))[0], c.expected, 1e-6f) << c.name;
    }
}

//======================================================================================================
// "DISTORTION"

TEST(Distortion, ShapesBlendsAndLowPassFiltersEachSample)
{
    struct Case
    {
        const char* mode;
        float threshold, mix;
        std::vector<float> input, expectedShaping;
    };
    const std::vector<float> input{0.2f, 0.5f, -0.9f, 0.01f, 0.0f, 0.3f};
    // Hard Clip at threshold 0.02 and drive 25: B = 1, so w = clamp(2.80303 x, -1, 1) / 10.
    const std::vector<float> clipped{0.0560606f, 0.1f, -0.1f, 0.00280303f, 0.0f, 0.0840909f};
    std::vector<float> halfDry;
    for (size_t i = 0; i < input.size(); ++i)
        halfDry.push_back((clipped[i] + input[i]) * 0.5f);
    const Case cases[] = {
        {"Hard Clip", 0.02f, 1.0f, input, clipped},
        {"Hard Clip", 0.02f, 0.0f, input, halfDry},
        {"ByPass", 0.02f, 0.3f, input, input},
        // exp() overflows at 1e30: the filter takes silence there and keeps its state.
        {"Waveshaper 1",
         1.0f,
         1.0f,
         {0.5f, 0.3f, 1.0e30f, 0.2f, -0.1f},
         {0.049989843f, 0.0496392052f, 0.0f, 0.0478464982f, -0.0588038334f}},
    };

    for (const auto& c : cases)
    {
        RoutineRig rig(distortion);
        rig.set(Stem::DISTMODE2, (float) dist2ChoicesStr.indexOf(c.mode));
        rig.set(Stem::DISTDRIVE2, 25.0f);
        rig.set(Stem::DISTTRESHOLD2, c.threshold);
        rig.set(Stem::DISTMIX2, c.mix);
        rig.set(Stem::DISTCUTOFF2, 20000.0f);
        rig.run(512, silence); // the ramps glide from 0 over 480 samples
        const auto out = rig.run((juce::int64) c.input.size(), samplesOf(c.input));
        expectSamples(out, lowPass(c.expectedShaping, 1.0), c.mode);
    }
}

TEST(Distortion, DriveThresholdAndCutoffGlideOverTenMillisecondsToTheirModulatedValues)
{
    RoutineRig rig(distortion);
    auto& state = rig.processor.distortionStates[0][1];
    const auto& filter = rig.processor.distortionFilters[0][0];
    rig.set(Stem::DISTDRIVE2, 1.0f);
    rig.set(Stem::DISTTRESHOLD2, 0.5f);
    rig.set(Stem::DISTCUTOFF2, 20000.0f);
    rig.run(512, silence);

    rig.set(Stem::DISTDRIVE2, 25.0f);
    rig.set(Stem::DISTTRESHOLD2, 1.0f);
    rig.set(Stem::DISTCUTOFF2, 10000.0f);
    rig.run(240, silence); // halfway through 480 steps, summed in single precision
    EXPECT_NEAR(state.drive, 13.0f, 1e-4f);
    EXPECT_NEAR(state.threshold, 0.75f, 1e-5f);
    EXPECT_NEAR(filter.getCutoff(), 0.75, 1e-5);
    rig.run(240, silence);
    EXPECT_FLOAT_EQ(state.drive, 25.0f);
    EXPECT_FLOAT_EQ(state.threshold, 1.0f);
    EXPECT_FLOAT_EQ((float) filter.getCutoff(), 0.5f);

    // Drive + 25m, threshold + m, cutoff / 20000 + m, mix + m.
    rig.automate(Stem::DISTDRIVE2, -0.5f);
    rig.automate(Stem::DISTTRESHOLD2, -0.75f);
    rig.automate(Stem::DISTCUTOFF2, 0.25f);
    rig.set(Stem::DISTMIX2, 0.5f);
    rig.automate(Stem::DISTMIX2, 0.25f);
    rig.run(512, silence);
    EXPECT_FLOAT_EQ(state.drive, 12.5f);
    EXPECT_FLOAT_EQ(state.threshold, 0.25f);
    EXPECT_FLOAT_EQ((float) filter.getCutoff(), 0.75f);
    EXPECT_FLOAT_EQ(state.mix, 0.75f);

    // On the way down to 0 the filter keeps the last cutoff above 0.001: one step of the glide.
    rig.automate(Stem::DISTCUTOFF2, -1.0f);
    rig.run(512, silence);
    EXPECT_NEAR(filter.getCutoff(), 0.75 / 480.0, 1e-5);
}

//======================================================================================================
// Both distortions at extreme settings

namespace
{
// A ramp across +-30, what a resonant filter can feed the effect, then larger values and the inputs
// next to the pole that "Non Linear 1" has at drive 0.
std::vector<float> extremeInputs()
{
    std::vector<float> inputs;
    for (int i = 0; i <= 400; ++i)
        inputs.push_back(-30.0f + 0.15f * (float) i);
    for (float x : {1.0e3f, -1.0e3f, 1.0e30f, -1.0e30f, 0.0f})
        inputs.push_back(x);
    float b = -1.98f / 99.0f - 0.99f;
    b = b / (1.0f - b);
    for (float pole : {-1.0f / (2.0f * b), 1.0f / (2.0f * b)})
    {
        float x = pole;
        for (int step = 0; step < 4; ++step)
            x = std::nextafter(x, 0.0f);
        for (int step = 0; step < 9; ++step, x = std::nextafter(x, 2.0f * pole))
            inputs.push_back(x);
    }
    return inputs;
}

double rms(const std::vector<float>& samples)
{
    double sum = 0.0;
    for (float x : samples)
        sum += (double) x * x;
    return std::sqrt(sum / (double) samples.size());
}
} // namespace

TEST(Distortions, NoShaperLetsANonFiniteValueOutOfTheLineAndTheFilterCarriesOn)
{
    struct Case
    {
        BramblewayAudioProcessor::EffectRoutine routine;
        int modeStem, driveStem, thresholdStem, mixStem;
        int modes;
    };
    const Case cases[] = {
        {obsDist, Stem::DISTMODE, Stem::DISTDRIVE, Stem::DISTTRESHOLD, Stem::DISTMIX, distChoicesStr.size()},
        {distortion, Stem::DISTMODE2, Stem::DISTDRIVE2, Stem::DISTTRESHOLD2, Stem::DISTMIX2,
         dist2ChoicesStr.size()},
    };
    const auto inputs = extremeInputs();
    const auto music = [](int channel, juce::int64 i)
    { return 0.5f * std::sin(0.05f * (float) i + (float) channel); };
    for (const auto& c : cases)
    {
        RoutineRig rig(c.routine);
        rig.set(c.mixStem, 0.5f);
        for (int mode = 0; mode < c.modes; ++mode)
            for (float drive : {0.0f, 0.01f, 0.5f, 0.99f, 1.0f, 1.01f, 5.0f, 25.0f})
                for (float threshold : {0.0f, 0.01f, 0.02f, 0.5f, 1.0f})
                {
                    rig.set(c.modeStem, (float) mode);
                    rig.set(c.driveStem, drive);
                    rig.set(c.thresholdStem, threshold);
                    rig.run(480, silence); // the ramps of "DISTORTION" reach the settings
                    const auto out = rig.runChannels((juce::int64) inputs.size(), samplesOf(inputs));
                    for (const auto& channel : out)
                        for (size_t i = 0; i < channel.size(); ++i)
                            ASSERT_TRUE(std::isfinite(channel[i]))
                                << "mode " << mode << ", drive " << drive << ", threshold " << threshold
                                << ", input " << inputs[i];
                }
        rig.set(c.modeStem, 1.0f);
        rig.set(c.driveStem, 1.0f);
        rig.set(c.thresholdStem, 1.0f);
        EXPECT_GT(rms(rig.run(4096, music)), 0.01);
    }
}

//======================================================================================================
// "DECIMATOR"

TEST(Decimator, OneBitAtRateOneRoundsEverySampleTowardZeroToAHalf)
{
    RoutineRig rig(decimator);
    rig.set(Stem::BITDECIMATOR, 1.0f);
    rig.set(Stem::RATEDECIMATOR, 1.0f);
    rig.set(Stem::CUTOFFDECIMATOR, 20000.0f);
    const std::vector<float> input{0.7f, -0.7f, 0.3f, -0.3f, 0.5f, 0.49f, 1.0f, -1.0f, 0.0f, 0.9999f};
    const std::vector<float> quantised{0.5f, -0.5f, 0.0f, 0.0f, 0.5f, 0.0f, 1.0f, -1.0f, 0.0f, 0.5f};
    expectSamples(rig.run((juce::int64) input.size(), samplesOf(input)), lowPass(quantised, 1.0), "one bit");
}

TEST(Decimator, RateAndBitsHoldGroupsThatRestartWithEveryAudioBlock)
{
    struct Case
    {
        const char* name;
        float rate, bits, rateM, bitsM;
        std::vector<float> input, expected;
        int blockSize;
    };
    // Multiples of 1/64 pass 16 bits unchanged. Rate + 30m and bits + 16m: 1 + 3 = 4 and 16 - 15 = 1.
    const Case cases[] = {
        {"rate 4, blocks of 6",
         4,
         16,
         0,
         0,
         {1 / 64.f, 2 / 64.f, 3 / 64.f, 4 / 64.f, 5 / 64.f, 6 / 64.f, 7 / 64.f, 8 / 64.f, 9 / 64.f, 10 / 64.f,
          11 / 64.f, 12 / 64.f},
         {1 / 64.f, 1 / 64.f, 1 / 64.f, 1 / 64.f, 5 / 64.f, 5 / 64.f, 7 / 64.f, 7 / 64.f, 7 / 64.f, 7 / 64.f,
          11 / 64.f, 11 / 64.f},
         6},
        {"automated to rate 4 and 1 bit",
         1,
         16,
         0.1f,
         -0.9375f,
         {0.7f, 0.2f, -0.9f, 0.1f, -0.7f, 0.9f, 0.2f, 0.3f},
         {0.5f, 0.5f, 0.5f, 0.5f, -0.5f, -0.5f, -0.5f, -0.5f},
         512},
    };
    for (const auto& c : cases)
    {
        RoutineRig rig(decimator);
        rig.set(Stem::RATEDECIMATOR, c.rate);
        rig.set(Stem::BITDECIMATOR, c.bits);
        rig.set(Stem::CUTOFFDECIMATOR, 20000.0f);
        rig.automate(Stem::RATEDECIMATOR, c.rateM);
        rig.automate(Stem::BITDECIMATOR, c.bitsM);
        const auto out = rig.run((juce::int64) c.input.size(), samplesOf(c.input), c.blockSize);
        expectSamples(out, lowPass(c.expected, 1.0), c.name);
    }
}

TEST(Decimator, CutoffFollowsItsAutomationLineAndKeepsThePreviousCutoffAtTheBottom)
{
    struct Case
    {
        const char* name;
        float m;
        double cutoff;
    };
    // CUTOFFDECIMATOR 5000 after 1000: 0.25 + m, clamped to 0..1; 0 is ignored and 0.05 stays.
    for (const auto& c : {Case{"bottom", -1.0f, 0.05}, Case{"middle", 0.0f, 0.25}, Case{"top", 1.0f, 1.0}})
    {
        RoutineRig rig(decimator);
        rig.set(Stem::CUTOFFDECIMATOR, 1000.0f);
        rig.run(512, silence);
        ASSERT_NEAR(rig.processor.decimatorFilters[0][1].getCutoff(), 0.05, 1e-7);

        rig.set(Stem::CUTOFFDECIMATOR, 5000.0f);
        rig.automate(Stem::CUTOFFDECIMATOR, c.m);
        rig.run(512, silence);
        for (const auto& filter : rig.processor.decimatorFilters[0])
            EXPECT_NEAR(filter.getCutoff(), c.cutoff, 1e-7) << c.name;
    }
}
