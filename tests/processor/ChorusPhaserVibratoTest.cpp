// The chorus-flanger, phaser and vibrato inside the processor at 48 kHz.

#include "EffectsOneRig.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace effects_one;

namespace
{
constexpr int chorusLine = 3;
constexpr int phaserLine = 0;
constexpr int vibratoLine = 4;

EngineRig::Signal sine(double hz)
{
    return [hz](int, juce::int64 i)
    { return 0.5f * (float) std::sin(juce::MathConstants<double>::twoPi * hz * (double) i / 48000.0); };
}

// Samples by which the vibrato's output lags a linear ramp of the given slope at sample i.
double lag(const std::vector<float>& out, size_t i, juce::int64 start, double slope)
{
    return (double) (start + (juce::int64) i) - out[i] / slope;
}
} // namespace

TEST(Chorus, CentreDelayStartsAtOneMillisecondAndGlidesToFiftyOverATenthOfASecond)
{
    EngineRig rig;
    holdLineOpen(rig, chorusLine, "CHORUS-FLANGER");
    rig.set("CHORUSDEPTH3", 0.0f);
    rig.set("CHORUSFEEDBACK3", 0.0f);
    rig.set("CHORUSMIX3", 1.0f);

    // A fresh processor: the delay ramp is still at 0, which the chorus holds at 1 ms, 48 samples.
    const juce::int64 early = 7000; // depth and mix have settled after 0.05 s
    const auto before = rig.run(8192, impulseAt(early)).lines[chorusLine][0];
    EXPECT_NEAR(before[early + 48], 1.0f, 1e-6f);
    EXPECT_NEAR(sum(before, 0, before.size()), 1.0, 1e-6);

    // 4800 steps to 50 ms; a block advances the ramp by its length and one more.
    rig.set("CHORUSDELAY3", 50.0f);
    rig.run(512, silence);
    EXPECT_NEAR(rig.processor.chorusDelayRamps[chorusLine].getCurrentValue(), 50.0f * 513.0f / 4800.0f,
                1e-3f);
    rig.run(9 * 512, silence);
    EXPECT_EQ(rig.processor.chorusDelayRamps[chorusLine].getCurrentValue(), 50.0f);

    const juce::int64 late = rig.position + 100;
    const auto after = rig.run(3000, impulseAt(late)).lines[chorusLine][0];
    EXPECT_NEAR(after[100 + 2400], 1.0f, 1e-6f);
    EXPECT_NEAR(sum(after, 0, after.size()), 1.0, 1e-6);
}

TEST(Phaser, ASineAtTheCentreFrequencyCancelsAgainstTheDryLine)
{
    struct Case
    {
        float centre;
        float mix;
        float mixAutomationY;
        double hz;
        float gain;
    };
    // With no depth and feedback the framework's six first-order all-passes sit at the centre c and
    // turn a sine of frequency f by 12 atan(f / c): half a period at c and at c tan(15 deg) or
    // c tan(75 deg), whole periods at c tan(30 deg) and c tan(60 deg). Mixed half and half with the
    // dry line the first cancel and the others pass whole. A centre of 0 sits at the bottom, 20 Hz.
    const Case cases[] = {
        {90.0f, 0.5f, 0.5f, 90.0, 0.0f},    {90.0f, 0.5f, 0.5f, 335.885, 0.0f},
        {90.0f, 0.5f, 0.5f, 155.885, 1.0f}, {90.0f, 0.5f, 0.5f, 51.962, 1.0f},
        {0.0f, 0.5f, 0.5f, 20.0, 0.0f},     {0.0f, 0.5f, 0.5f, 34.641, 1.0f},
        {90.0f, 1.0f, 1.0f, 90.0, 1.0f}, // the mix follows its automation line: down to dry only,
        {90.0f, 0.0f, 0.25f, 90.0, 0.0f} // up to half wet.
    };
    for (const auto& c : cases)
    {
        EngineRig rig;
        holdLineOpen(rig, phaserLine, "PHASER");
        rig.set("PHASERDEPTH0", 0.0f);
        rig.set("PHASERPEEDBAC0", 0.0f);
        rig.set("PHASERDECAY0", c.centre);
        rig.set("PHASERMIX0", c.mix);
        drawFlat(rig.processor, phaserLine, Stem::PHASERMIX, c.mixAutomationY);
        const auto out = rig.run(48000, sine(c.hz)).lines[phaserLine][0];
        EXPECT_NEAR(peak(out, 24000, 48000) / 0.5f, c.gain, 0.02f)
            << c.centre << " Hz centre, mix " << c.mix << ", " << c.hz << " Hz";
    }
}

TEST(Vibrato, NoWidthIsAPlainDelayOf101SamplesAtAnySampleRate)
{
    for (double rate : {48000.0, 96000.0})
    {
        EngineRig rig(rate, 512);
        holdLineOpen(rig, vibratoLine, "VIBRATO");
        rig.set("VIBRATOWIDTH4", 0.0f);
        rig.set("VIBRATOLFOFREQ4", 10.0f);
        rig.set("VIBRATOLFOWAVE4", 1.0f);
        const auto out = rig.run(30000, busy);
        const auto open = (juce::int64)(gateOpen * rate / 48000.0);
        for (int channel = 0; channel < 2; ++channel)
            for (juce::int64 i = open + 101; i < 30000; ++i)
                ASSERT_EQ(out.lines[vibratoLine][channel][(size_t) i], busy(channel, i - 101))
                    << rate << " Hz, channel " << channel << " at " << i;
    }
}

TEST(Vibrato, WidthAutomationRisesSampleBySampleWithinTheBlock)
{
    EngineRig rig;
    holdLineOpen(rig, vibratoLine, "VIBRATO");
    rig.set("VIBRATOWIDTH4", 0.0f);
    // A square wave stopped by a rate of 0 sits at -1 or +1: the delay is 101 -/+ 100 times the width.
    rig.set("VIBRATOLFOFREQ4", 0.0f);
    rig.set("VIBRATOLFOWAVE4", 1.0f);
    // Interpolating a linear ramp gives the ramp's value at the delayed position: the delay itself.
    const double slope = 1e-4;
    const EngineRig::Signal ramp = [slope](int, juce::int64 i) { return (float) (slope * (double) i); };

    drawFlat(rig.processor, vibratoLine, Stem::VIBRATOWIDTH, 1.0f); // bottom: no width
    const auto narrow = rig.run(14 * 512, ramp).lines[vibratoLine][0];
    for (size_t i = 13 * 512; i < narrow.size(); ++i)
        ASSERT_NEAR(lag(narrow, i, 0, slope), 101.0, 0.05) << i;

    drawFlat(rig.processor, vibratoLine, Stem::VIBRATOWIDTH, 0.0f); // top: full width
    const juce::int64 start = rig.position;
    const auto widening = rig.run(2 * 512, ramp).lines[vibratoLine][0];
    const double sign = (lag(widening, 512, start, slope) - 101.0) / 100.0;
    ASSERT_NEAR(std::abs(sign), 1.0, 0.001);
    for (size_t i = 0; i < 512; ++i)
        ASSERT_NEAR(lag(widening, i, start, slope),
                    101.0 + 100.0 * std::round(sign) * (double) (i + 1) / 512.0, 0.05)
            << i;
    for (size_t i = 512; i < 1024; ++i)
        ASSERT_NEAR(lag(widening, i, start, slope), 101.0 + 100.0 * std::round(sign), 0.05) << i;
}
