// "PITCH SHIFT" and "COMBFILTER" on a line: delays, pitch ratios, slides, the comb's delays, its LFO
// and its automation ramp.

#include "RoutineRig.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::EngineRig;
using testing_support::RoutineRig;
using testing_support::silence;

namespace
{
constexpr auto pitchShifter = &BramblewayAudioProcessor::processBlockPitchShifter;
constexpr auto combFilter = &BramblewayAudioProcessor::processBlockCombFilter;
constexpr double sampleRate = 48000.0;
constexpr int noAutomation = -1;

float sine400(int channel, juce::int64 i)
{
    return 0.5f * std::sin(2.0f * juce::MathConstants<float>::pi * 400.0f * (float) (i % 48000) / 48000.0f +
                           (float) channel);
}

float noise(int channel, juce::int64 i)
{
    return 0.4f * std::sin(0.37f * (float) i + (float) channel) +
           0.3f * std::sin(0.0123f * (float) (i * i % 9973));
}

// From the rising zero crossings within [from, to), interpolated between samples.
double frequencyOf(const std::vector<float>& samples, size_t from, size_t to)
{
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        if (samples[i - 1] < 0.0f && samples[i] >= 0.0f)
        {
            const double at = (double) (i - 1) + samples[i - 1] / (double) (samples[i - 1] - samples[i]);
            if (crossings++ == 0)
                first = at;
            last = at;
        }
    return crossings < 2 ? 0.0 : (crossings - 1) / (last - first) * sampleRate;
}
} // namespace

//======================================================================================================
// "PITCH SHIFT"

TEST(PitchShifter, WithoutAShiftTheLineIsTheInputFiftyMillisecondsLater)
{
    // Tap 1 sits at phase 0.5 with gain 1 and tap 0 at 0 with gain 0: a delay of 2400 samples.
    RoutineRig rig(pitchShifter);
    const auto out = rig.runChannels(3 * 48000, noise);
    for (size_t channel = 0; channel < 2; ++channel)
        for (juce::int64 n = 2400; n < 3 * 48000; ++n)
        {
            // A read position at or below the ring's start wraps to one sample short of a turn, so
            // reads that reach back across the start come one sample early.
            const juce::int64 ringPosition = (n - n % 512) % 48000 + n % 512;
            const juce::int64 delay = ringPosition <= 2400 ? 2401 : 2400;
            const float expected = n - delay < 0 ? 0.0f : noise((int) channel, n - delay);
            ASSERT_EQ(out[channel][(size_t) n], expected) << "channel " << channel << ", sample " << n;
        }
}

TEST(PitchShifter, ShiftsTheFrequencyOfASineByTheRatioOfItsSettings)
{
    struct Case
    {
        const char* name;
        float shift;
        bool musical;
        float octave, fine;
        int automated;
        float m;
        double ratio;
    };
    const Case cases[] = {
        {"one octave up", 1, false, 0, 0, noAutomation, 0, 2.0},
        {"one octave down", -1, false, 0, 0, noAutomation, 0, 0.5},
        {"musical octave down", 0, true, -1, 0, noAutomation, 0, 0.5},
        // 2^(7/12) - 1 = 0.498 octave: about 6 semitones, not 7.
        {"musical fine 7", 0, true, 0, 7, noAutomation, 0, 1.41255},
        {"shift line a third up", 0, false, 0, 0, Stem::PITCHVALUE, 1.0f / 3.0f, 2.0},
        {"octave line rounds 1.2 to 1", 0, true, 0, 0, Stem::PITCHMUSICALOCTAVE, 0.4f, 2.0},
        {"fine line half up", 0, true, 0, 0, Stem::PITCHMUSICALFINE, 0.5f, 1.33243}, // 2^(sqrt 2 - 1)
    };
    for (const auto& c : cases)
    {
        RoutineRig rig(pitchShifter);
        rig.set(Stem::PITCHVALUE, c.shift);
        rig.set(Stem::PITCHMUSICALSET, c.musical ? 1.0f : 0.0f);
        rig.set(Stem::PITCHMUSICALOCTAVE, c.octave);
        rig.set(Stem::PITCHMUSICALFINE, c.fine);
        if (c.automated != noAutomation)
            rig.automate(c.automated, c.m);
        const auto out = rig.run(60000, sine400);
        EXPECT_NEAR(frequencyOf(out, 12000, 60000) / 400.0, c.ratio, 0.01 * c.ratio) << c.name;
    }
}

TEST(PitchShifter, OctaveUpMovesEachTapTenWindowsPerSecondBackwards)
{
    RoutineRig rig(pitchShifter);
    rig.set(Stem::PITCHVALUE, 1.0f);
    const auto& phases = rig.processor.pitchTapPhases[0].phases;
    // Each sample moves a phase by (1 - 2) * 1000 / 100 / 48000; tap 0 wraps from 0 to 1 at once.
    rig.run(512, silence);
    EXPECT_NEAR(phases[0], 1.0 - 512.0 * 10.0 / sampleRate, 1e-6);
    EXPECT_NEAR(phases[1], 0.5 - 512.0 * 10.0 / sampleRate, 1e-6);
    rig.run(4800 - 512, silence);
    const double turns = 1.0 - phases[0];
    EXPECT_NEAR(turns - std::round(turns), 0.0, 1e-5) << "a whole window in 0.1 s";
}

TEST(PitchShifter, SlideGlidesAnOctaveUpOverAboutFourSecondsOfEachBlock)
{
    // At 60 bpm a dotted whole note is 6 s; PITCHSLIDEVALUE 0.5 glides to one octave over
    // floor(48000 / 0.26) samples, 3.85 s.
    EngineRig rig;
    rig.playHead.bpm = 60.0;
    rig.settleGains();
    rig.setForLines(Stem::EFFECT, 0.0f);
    rig.set("EFFECT0", (float) effectChoicesStr.indexOf("PITCH SHIFT"));
    rig.set("FILTERTYPE0", (float) filterChoicesStr.indexOf("NoFilter"));
    rig.set("Speed0", (float) myNotetUnitSA.indexOf("1nd"));
    rig.set("Dur0", (float) myNotetUnitSA.indexOf("1nd"));
    rig.set("GridNum0", 1.0f);
    rig.set("block00", 1.0f);
    rig.set("PITCHSLIDEVALUE0", 0.5f);
    rig.set("GlobalRestncBar", 2.0f); // no restart of the line before 8 s
    const auto line = rig.run(7 * 48000, sine400).lines[0][0];

    const double glide = std::floor(48000.0 / 0.26);
    struct Case
    {
        double seconds, ratio;
    };
    // The second block starts at 6 s and glides from the plain pitch again.
    for (const auto c : {Case{1.0, std::pow(2.0, 48000.0 / glide)}, Case{2.0, std::pow(2.0, 96000.0 / glide)},
                         Case{3.0, std::pow(2.0, 144000.0 / glide)}, Case{4.5, 2.0}, Case{5.5, 2.0},
                         Case{6.5, std::pow(2.0, 24000.0 / glide)}})
    {
        const auto centre = (size_t) (c.seconds * sampleRate);
        EXPECT_NEAR(frequencyOf(line, centre - 4800, centre + 4800) / 400.0, c.ratio, 0.02 * c.ratio)
            << c.seconds << " s";
    }
}

//======================================================================================================
// "COMBFILTER"

TEST(CombFilter, WithoutADelayTheLineIsTwiceTheInput)
{
    // Depth does not matter: the sweep scales with the delay.
    RoutineRig rig(combFilter);
    rig.set(Stem::COBFILTERDELAY, 0.0f);
    rig.set(Stem::COMBFILTERDEPTH, 1.0f);
    const auto out = rig.run(48000 + 1024, noise);
    for (size_t n = 0; n < out.size(); ++n)
    {
        // Where the sample's ring position is 0 the wrap reads the ring's last sample instead.
        const float delayed = n % 48000 != 0 ? noise(0, (juce::int64) n)
                              : n == 0       ? 0.0f
                                             : noise(0, (juce::int64) n - 1);
        ASSERT_EQ(out[n], delayed + noise(0, (juce::int64) n)) << "sample " << n;
    }
}

TEST(CombFilter, TenMillisecondsWithoutDepthCombsAtFiveHundredAndEightySamples)
{
    // 480 samples of delay and 10 * 10 samples of sweep, which stays when the depth is 0.
    RoutineRig rig(combFilter);
    rig.set(Stem::COBFILTERDELAY, 10.0f);
    rig.set(Stem::COMBFILTERDEPTH, 0.0f);
    rig.run(10 * 512, silence); // the delay glides from 0 over 0.1 s
    const auto out = rig.run(4096, noise);
    for (juce::int64 n = 0; n < 4096; ++n)
    {
        const float delayed = n >= 580 ? noise(0, n - 580) : 0.0f;
        ASSERT_EQ(out[(size_t) n], delayed + noise(0, n)) << "sample " << n;
    }
}

TEST(CombFilter, DelayAutomationRampsAcrossTheBlockFromItsPreviousValue)
{
    RoutineRig rig(combFilter);
    rig.set(Stem::COBFILTERDELAY, 5.0f);
    rig.set(Stem::COMBFILTERDEPTH, 0.0f);
    // A rising line: the delayed term tells how far back it read.
    const auto rising = [](juce::int64 offset)
    { return [offset](int, juce::int64 i) { return (float) (offset + i) * 1.0e-4f; }; };
    rig.run(10 * 512, rising(0));

    // From 5 ms (m = 0 before) to 10 ms (m = 0.5 now) within the block; the sweep takes the end, 100.
    rig.automate(Stem::COBFILTERDELAY, 0.5f);
    const auto out = rig.run(512, rising(10 * 512));
    for (int i = 0; i < 512; ++i)
    {
        const double n = 10 * 512 + i;
        const double readBack = n - ((double) out[(size_t) i] - n * 1.0e-4) / 1.0e-4;
        const double expected = (5.0 + 5.0 * (i + 1) / 512.0) * 48.0 + 100.0;
        ASSERT_NEAR(readBack, expected, 0.02) << "sample " << i;
    }
}

TEST(CombFilter, LfoRunsAtItsFreeOrSyncedRateWithTheirAutomationLines)
{
    struct Case
    {
        const char* name;
        bool sync;
        float rate, syncChoice;
        int automated;
        float m, hertz;
    };
    // Free: COMBFILTEROFFREQ + 50m within 0..50. Synced: tempo / (v * 240) with the choice + 12m.
    const Case cases[] = {
        {"free", false, 2.0f, 6, noAutomation, 0.0f, 2.0f},
        {"free, line half up", false, 2.0f, 6, Stem::COMBFILTEROFFREQ, 0.5f, 27.0f},
        {"free, line at the top", false, 40.0f, 6, Stem::COMBFILTEROFFREQ, 1.0f, 50.0f},
        {"free, line at the bottom", false, 2.0f, 6, Stem::COMBFILTEROFFREQ, -1.0f, 0.0f},
        {"synced 1/4", true, 2.0f, 6, Stem::COMBFILTEROFFREQ, 1.0f, 2.0f},
        {"synced 1/12, line half up to 2/3", true, 2.0f, 3, Stem::COMBFILTEROFFREQSYNC, 0.5f, 0.75f},
        {"synced 1/2, line at the top to 1", true, 2.0f, 8, Stem::COMBFILTEROFFREQSYNC, 1.0f, 0.5f},
    };
    for (const auto& c : cases)
    {
        RoutineRig rig(combFilter);
        rig.set(Stem::COMBFILTERSYNC, c.sync ? 1.0f : 0.0f);
        rig.set(Stem::COMBFILTEROFFREQ, c.rate);
        rig.set(Stem::COMBFILTEROFFREQSYNC, c.syncChoice);
        rig.set(Stem::COMBFILTEROFWAVE, 2.0f);
        if (c.automated != noAutomation)
            rig.automate(c.automated, c.m);
        rig.run(512, silence);
        const auto& lfo = rig.processor.lfos[(size_t) (2 * numLines)];
        // The rate went to the wave that was selected before this block; the new wave sounds already.
        EXPECT_NEAR(lfo.oscillators[0].getFrequency(), c.hertz, 1e-4f) << c.name;
        EXPECT_EQ(lfo.waveType, 2) << c.name;
    }
}
