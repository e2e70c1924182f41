// The tremolo and the ring modulator inside the processor at 120 bpm and 48 kHz, and the modulation
// oscillator they share with the vibrato.

#include "EffectsOneRig.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace effects_one;

namespace
{
constexpr int tremoloLine = 1;
constexpr int ringLine = 2;
constexpr float sqr = 1.0f; // index of "SQR" in the wave choices

// Sample indices in [from, end) where the value differs from the one before.
std::vector<size_t> changes(const std::vector<float>& samples, size_t from)
{
    std::vector<size_t> at;
    for (size_t i = from + 1; i < samples.size(); ++i)
        if (samples[i] != samples[i - 1])
            at.push_back(i);
    return at;
}
} // namespace

TEST(Tremolo, ASquareWaveSwitchesBetweenFullLevelAndOneMinusTheDepthEveryHalfPeriod)
{
    struct Case
    {
        bool sync;
        const char* choice;
        float hz;
        float depth;
        double expectedHz;
    };
    // Synced rates are the tempo over 240 times the note fraction: "1/4" at 120 bpm is 2 Hz.
    const Case cases[] = {
        {true, "1/4", 7.0f, 1.0f, 2.0}, {true, "1/8", 7.0f, 0.25f, 4.0}, {false, "1/4", 3.0f, 1.0f, 3.0}};
    for (const auto& c : cases)
    {
        EngineRig rig;
        holdLineOpen(rig, tremoloLine, "TREMOLO");
        rig.set("TREMOLOSYNC1", c.sync ? 1.0f : 0.0f);
        rig.set("TREMOLOFREQSYNC1", (float) syncValuesString.indexOf(c.choice));
        rig.set("TREMOLOFREQ1", c.hz);
        rig.set("TREMOLODEPTH1", c.depth);
        rig.set("TREMOLOFWAVE1", sqr);
        const auto out = rig.run(gateOpen + 96000).lines[tremoloLine][0];

        const auto& lfo = rig.processor.modulationLfo(tremoloLine);
        EXPECT_EQ(lfo.waveType, 1);
        EXPECT_FLOAT_EQ(lfo.oscillators[1].getFrequency(), (float) c.expectedHz);
        for (size_t i = gateOpen; i < out.size(); ++i)
            ASSERT_TRUE(out[i] == 1.0f || out[i] == 1.0f - c.depth) << i << ": " << out[i];
        // The oscillator's phase sums in single precision: a half period may be off by 0.1 %.
        const auto at = changes(out, gateOpen);
        ASSERT_GE(at.size(), 3u);
        const double halfPeriod = 24000.0 / c.expectedHz;
        for (size_t k = 1; k < at.size(); ++k)
            EXPECT_NEAR((double) (at[k] - at[k - 1]), halfPeriod, halfPeriod * 1e-3) << c.expectedHz << " Hz";
    }
}

TEST(RingModulator, FrequencyFromANoteOrInHertzWithItsAutomationLines)
{
    struct Case
    {
        const char* name;
        bool musical;
        float octave;
        const char* note;
        float cents;
        int automatedStem;
        float automationY;
        double hz;
    };
    constexpr int none = Stem::block;
    // A of octave 5 is 440 Hz, one semitone is 100 cents; free frequencies stop at 1 Hz.
    const Case cases[] = {
        {"A5", true, 5.0f, "A", 0.0f, none, 0.5f, 440.0},
        {"C4, the defaults", true, 4.0f, "C", 0.0f, none, 0.5f, 130.8127826502993},
        {"A5 + 100 cents", true, 5.0f, "A", 100.0f, none, 0.5f, 466.1637615180899},
        {"C4 + 100 cents", true, 4.0f, "C", 100.0f, none, 0.5f, 138.5913154884360},
        {"C4, fine automation at the top", true, 4.0f, "C", 0.0f, Stem::RINGMUSICALFINE, 0.0f,
         138.5913154884360},
        {"C4, note automation at the top", true, 4.0f, "C", 0.0f, Stem::RINGMUSICALNOTE, 0.0f,
         261.6255653005986},
        {"C9, octave automation at the top", true, 9.0f, "C", 0.0f, Stem::RINGMUSICALOCTAVE, 0.0f,
         4186.009044809578},
        {"free, automation at the bottom", false, 4.0f, "C", 0.0f, Stem::RINGLOFREQ, 1.0f, 1.0},
    };
    for (const auto& c : cases)
    {
        EngineRig rig;
        holdLineOpen(rig, ringLine, "RING MOD.");
        rig.set("RINGMUSICALSET2", c.musical ? 1.0f : 0.0f);
        rig.set("RINGMUSICALOCTAVE2", c.octave);
        rig.set("RINGMUSICALNOTE2", (float) midiNote.indexOf(c.note));
        rig.set("RINGMUSICALFINE2", c.cents);
        rig.set("RINGODEPTH2", 1.0f);
        if (c.automatedStem != none)
            drawFlat(rig.processor, ringLine, c.automatedStem, c.automationY);
        // At depth 1 the line is multiplied by the bare sine.
        const auto out = rig.run(gateOpen + 3 * 48000).lines[ringLine][0];

        EXPECT_FLOAT_EQ(rig.processor.modulationLfo(ringLine).oscillators[0].getFrequency(), (float) c.hz)
            << c.name;
        EXPECT_NEAR(frequencyOf(out, gateOpen, out.size(), 48000.0), c.hz, c.hz * 1e-3) << c.name;
    }
}

TEST(ModulationOscillator, KeepsOnePhaseAcrossVibratoTremoloAndRingModulator)
{
    const auto configure = [](EngineRig& rig, const char* effect)
    {
        holdLineOpen(rig, 0, effect);
        for (int stem : {(int) Stem::VIBRATOLFOFREQ, (int) Stem::TREMOLOFREQ, (int) Stem::RINGLOFREQ})
            rig.set(lineParameterID(stem, 0), 5.0f);
        rig.set("VIBRATOWIDTH0", 1.0f);
        rig.set("TREMOLODEPTH0", 1.0f);
        rig.set("RINGODEPTH0", 1.0f);
    };
    const juce::int64 segment = 10 * 512;
    EngineRig switching, tremolo, ring;
    configure(switching, "VIBRATO");
    configure(tremolo, "TREMOLO");
    configure(ring, "RING MOD.");

    switching.run(segment, busy);
    switching.set("EFFECT0", effectIndex("TREMOLO"));
    const auto asTremolo = switching.run(segment, busy).lines[0][0];
    switching.set("EFFECT0", effectIndex("RING MOD."));
    const auto asRing = switching.run(segment, busy).lines[0][0];

    const auto tremoloAll = tremolo.run(3 * segment, busy).lines[0][0];
    const auto ringAll = ring.run(3 * segment, busy).lines[0][0];
    EXPECT_EQ(asTremolo, std::vector<float>(tremoloAll.begin() + segment, tremoloAll.begin() + 2 * segment));
    EXPECT_EQ(asRing, std::vector<float>(ringAll.begin() + 2 * segment, ringAll.end()));
}
