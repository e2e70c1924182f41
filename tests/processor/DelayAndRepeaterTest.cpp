// The delay and both repeater algorithms inside the processor at 120 bpm and 48 kHz.

#include "EffectsOneRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

using namespace effects_one;
using testing_support::Recording;

namespace
{
constexpr int delayLine = 1;
constexpr int repeaterLine = 2;
// A whole note divided by 16 at 120 bpm: 48000 * 0.5 * 4 / 16.
constexpr int sliceSamples = 6000;

struct LineSetUp
{
    int line = repeaterLine;
    const char* effect = "REPEATER";
    // Blocks start on every step of this length and sound for the duration.
    const char* speed = "1n";
    const char* duration = "1nd";
    std::vector<std::pair<int, float>> settings;
    bool playing = true;
    double bpm = 120.0;
};

Recording run(const LineSetUp& setUp, juce::int64 samples, const EngineRig::Signal& input)
{
    EngineRig rig;
    holdLineOpen(rig, setUp.line, setUp.effect);
    rig.set(lineParameterID(Stem::Speed, setUp.line), noteUnit(setUp.speed));
    rig.set(lineParameterID(Stem::Dur, setUp.line), noteUnit(setUp.duration));
    for (const auto& [stem, value] : setUp.settings)
        rig.set(lineParameterID(stem, setUp.line), value);
    rig.playHead.playing = setUp.playing;
    rig.playHead.bpm = setUp.bpm;
    return rig.run(samples, input);
}

// What the effect of the set-up receives: the same line and blocks with no effect.
std::vector<float> gatedInput(LineSetUp setUp, juce::int64 samples, const EngineRig::Signal& input)
{
    setUp.effect = "NO EFFECT";
    return run(setUp, samples, input).lines[setUp.line][0];
}

// The repeat gain k samples after a slice started: 1 falling to 0 over the given steps.
double repeatGain(juce::int64 k, double steps)
{
    return std::max(0.0, 1.0 - (double) (k + 1) / steps);
}

// How far a sample of at most unit size under that gain may stray. The ramp sums its step in single
// precision: near 1 a step of 1 / 4800000 is 3.5 units in the last place and rounds to 3 or 4, so the
// fall may run up to 15 % off its nominal rate.
double gainSlack(juce::int64 k, double steps)
{
    return 1e-3 + 0.15 * (1.0 - repeatGain(k, steps));
}

LineSetUp delaySetUp(std::vector<std::pair<int, float>> settings)
{
    LineSetUp setUp;
    setUp.line = delayLine;
    setUp.effect = "DELAY";
    setUp.speed = "16n";
    setUp.settings = std::move(settings);
    return setUp;
}
} // namespace

TEST(Delay, SettlesAtHalfASecondAndEveryEchoPassesTheFeedbackOnceMore)
{
    const juce::int64 at = 30000; // long after the glide from 0 has settled
    const auto out = run(delaySetUp({{Stem::DELAYTIMEDELAY, 0.5f},
                                     {Stem::DELAYFEEDBACKDELAY, 0.5f},
                                     {Stem::DELAYDREYWETDELAY, 1.0f}}),
                         at + 48200, impulseAt(at))
                         .lines[delayLine][0];

    EXPECT_EQ(peak(out, 0, (size_t) at + 23990), 0.0f);
    // Single precision stops the glide up to 0.72 samples short of 24000; the interpolated echo sits
    // between its two neighbours.
    const double first = centroid(out, (size_t) at + 23990, (size_t) at + 24010);
    EXPECT_NEAR(first, (double) at + 24000.0, 1.0);
    EXPECT_NEAR(sum(out, (size_t) at + 23990, (size_t) at + 24010), 0.5, 1e-5);
    // The feedback is the previous sample's output, so the second echo comes one sample later.
    const double second = centroid(out, (size_t) at + 47990, (size_t) at + 48020);
    EXPECT_NEAR(second, first + (first - (double) at) + 1.0, 0.01);
    EXPECT_NEAR(sum(out, (size_t) at + 47990, (size_t) at + 48020), 0.25, 1e-5);
}

TEST(Delay, GlidesTowardItsTimeByOneThousandthOfTheDistancePerSampleWhateverTheChannelCount)
{
    for (int channels : {2, 1})
    {
        EngineRig rig(48000.0, 512, channels);
        holdLineOpen(rig, delayLine, "DELAY");
        rig.set("DELAYTIMEDELAY1", 0.5f);
        rig.run(1024);
        const auto& state = rig.processor.delayStates[delayLine];
        const double expected = 0.5 * (1.0 - std::pow(0.999, 1024));
        EXPECT_NEAR(state.smoothedTime, expected, 1e-5) << channels;
        EXPECT_NEAR(state.delaySamples, expected * 48000.0, 0.5) << channels;
    }
}

TEST(Delay, WithoutFeedbackOnlyTheDryPartSounds)
{
    for (float wet : {1.0f, 0.25f, 0.0f})
    {
        const auto out =
            run(delaySetUp({{Stem::DELAYFEEDBACKDELAY, 0.0f}, {Stem::DELAYDREYWETDELAY, wet}}), 20000, busy);
        for (int channel = 0; channel < 2; ++channel)
            for (juce::int64 i = gateOpen; i < 20000; ++i)
                ASSERT_EQ(out.lines[delayLine][channel][(size_t) i], busy(channel, i) * (1.0f - wet))
                    << "wet " << wet << " at " << i;
    }
}

TEST(Delay, SyncedTimesComeFromTheTableAndItsAutomationStopsAtTheEnds)
{
    struct Case
    {
        const char* choice;
        float automationY;
        double seconds;
    };
    // At 120 bpm a whole note lasts 2 s. Automation adds 12 entries per unit and stops at the ends.
    const Case cases[] = {{"1", 0.0f, 2.0}, {"1/32", 0.0f, 2.0}, {"1/4", 0.5f, 0.5}, {"1/4", 1.0f, 0.0625}};
    const juce::int64 at = 30000;
    for (const auto& c : cases)
    {
        EngineRig rig;
        holdLineOpen(rig, delayLine, "DELAY");
        rig.set("DELAYSYNC1", 1.0f);
        rig.set("DELAYTIMEDELAYSYNC1", (float) syncValuesString.indexOf(c.choice));
        rig.set("DELAYDREYWETDELAY1", 1.0f);
        drawFlat(rig.processor, delayLine, Stem::DELAYTIMEDELAYSYNC, c.automationY);
        const auto echo = at + (juce::int64)(c.seconds * 48000.0);
        const auto out = rig.run(echo + 100, impulseAt(at)).lines[delayLine][0];
        // Where single precision stops the glide: within 3 samples below 2 s.
        EXPECT_NEAR(centroid(out, (size_t) echo - 10, (size_t) echo + 10), (double) echo, 3.0) << c.choice;
    }
}

TEST(RepeaterOne, RepeatsSlicesOfAWholeNoteByTheDivisionUnderTheFallingRepeatGain)
{
    struct Case
    {
        double bpm;
        float division;
        float fadeOut;
        double steps; // floor(48000 / (fadeOut * 0.5 + 0.01))
        juce::int64 slice;
        juce::int64 samples;
    };
    // A whole note at 40 bpm (6 s) is cut to the 4-second buffers; its next block starts at 6 s.
    const Case cases[] = {{120.0, 16.0f, 0.0f, 4800000.0, sliceSamples, 4 * sliceSamples},
                          {120.0, 16.0f, 10.0f, 9580.0, sliceSamples, 4 * sliceSamples},
                          {40.0, 1.0f, 0.0f, 4800000.0, 192000, 288000}};
    for (const auto& c : cases)
    {
        LineSetUp setUp;
        setUp.bpm = c.bpm;
        setUp.settings = {{Stem::REPEATERTYPE, 0.0f},
                          {Stem::REPEATERDIVIDE, c.division},
                          {Stem::REPEATERWINDOW, 0.001f},
                          {Stem::REPEATEFADOUT, c.fadeOut}};
        const auto in = gatedInput(setUp, c.samples, busy);
        const auto out = run(setUp, c.samples, busy).lines[repeaterLine][0];
        const auto edge = c.slice / 500 + 10; // the window's
        for (juce::int64 k = c.slice; k < c.samples; ++k)
        {
            const auto j = k % c.slice;
            if (j < edge || j > c.slice - edge)
                continue;
            ASSERT_NEAR(out[(size_t) k], in[(size_t) j] * repeatGain(k, c.steps), gainSlack(k, c.steps))
                << c.bpm << " bpm, fade-out " << c.fadeOut << " at " << k;
        }
    }
}

TEST(RepeaterOne, PassesTheLineUnchangedWhileTheTransportIsStopped)
{
    LineSetUp setUp;
    setUp.speed = "16n";
    setUp.playing = false;
    const auto in = gatedInput(setUp, 20000, busy);
    const auto out = run(setUp, 20000, busy).lines[repeaterLine][0];
    EXPECT_GT(peak(in, 0, in.size()), 0.5f);
    EXPECT_EQ(out, in);
}

TEST(RepeaterOne, AWindowOfHalfTheSliceMakesEveryRepeatATriangle)
{
    LineSetUp setUp;
    setUp.settings = {{Stem::REPEATERTYPE, 0.0f},
                      {Stem::REPEATERDIVIDE, 16.0f},
                      {Stem::REPEATERWINDOW, 0.5f},
                      {Stem::REPEATEFADOUT, 0.0f}};
    const juce::int64 samples = 3 * sliceSamples;
    const auto in = gatedInput(setUp, samples, EngineRig::ones);
    const auto out = run(setUp, samples, EngineRig::ones).lines[repeaterLine][0];
    for (juce::int64 k = sliceSamples; k < samples; ++k)
    {
        const auto j = (size_t) (k % sliceSamples);
        const double position = (double) j / sliceSamples;
        const double triangle = 1.0 - std::abs(position - 0.5) / 0.5;
        ASSERT_NEAR(out[(size_t) k], in[j] * triangle * repeatGain(k, 4800000.0), gainSlack(k, 4800000.0))
            << k;
    }
}

TEST(RepeaterTwo, ABlockShorterThanASliceNeverLoops)
{
    // Blocks of a 32nd note (3000 samples) on every 16th: each is recorded, closed and followed by silence.
    LineSetUp setUp;
    setUp.speed = "16n";
    setUp.duration = "32n";
    setUp.settings = {{Stem::REPEATERTYPE, 1.0f}, {Stem::REPEATERDIVIDE, 16.0f}, {Stem::REPEATEFADOUT, 0.0f}};
    const juce::int64 samples = 3 * sliceSamples;
    const auto in = gatedInput(setUp, samples, busy);
    const auto out = run(setUp, samples, busy).lines[repeaterLine][0];
    for (juce::int64 k = 0; k < samples; ++k)
    {
        const auto j = (int) (k % sliceSamples);
        if (j >= 2999) // the block ends on its 3000th sample
        {
            ASSERT_EQ(out[(size_t) k], 0.0f) << k;
            continue;
        }
        // 440-sample fades: in while recording (the start sample itself passes), out before the block ends.
        const double fadeIn = j == 0 || j >= 440 ? 1.0 : j / 440.0;
        const double fadeOut = j < 2560 ? 1.0 : (2999 - j) / 440.0;
        ASSERT_NEAR(out[(size_t) k], in[(size_t) k] * fadeIn * fadeOut, 1e-6) << k;
    }
}

TEST(RepeaterTwo, ALongerBlockLoopsItsFirstSliceInTheRingBuffer)
{
    LineSetUp setUp;
    setUp.settings = {{Stem::REPEATERTYPE, 1.0f}, {Stem::REPEATERDIVIDE, 16.0f}, {Stem::REPEATEFADOUT, 0.0f}};
    const juce::int64 samples = 3 * sliceSamples;
    const auto in = gatedInput(setUp, samples, busy);
    const auto out = run(setUp, samples, busy).lines[repeaterLine][0];
    for (size_t j = 440; j < sliceSamples - 440; ++j)
        ASSERT_EQ(out[j], in[j]) << j;
    for (juce::int64 k = sliceSamples; k < samples; ++k)
    {
        const auto j = (int) (k % sliceSamples);
        const double edges = std::min({1.0, j / 440.0, (sliceSamples - j) / 440.0});
        ASSERT_NEAR(out[(size_t) k], in[(size_t) j] * edges * repeatGain(k, 4800000.0),
                    gainSlack(k, 4800000.0))
            << k;
    }
}
