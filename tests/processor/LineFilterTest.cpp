// The line filter inside the processor: its settings per block, its envelope and its LFO.

#include "EngineRig.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::EngineRig;

namespace
{
float noise(int channel, juce::int64 i)
{
    return 0.7f * std::sin(0.21f * (float)i + (float)channel);
}

void drawFlat(BramblewayAudioProcessor& processor, int line, int stem, float y)
{
    processor.editLineAutomation(
        [=](auto& automation) {
            automation[(size_t)line][(size_t)stem] = {{0.0f, y}, {1.0f, y}};
        });
}

// Samples an envelope takes from note-on to its peak.
int attackLength(juce::ADSR envelope)
{
    envelope.noteOn();
    int samples = 0;
    while (envelope.getNextSample() < 1.0f && samples < 10'000'000)
        ++samples;
    return samples;
}
} // namespace

TEST(LineFilter, NoFilterLeavesTheGatedSignalBitExactWhateverDrivesTheCutoff)
{
    const auto configure = [](EngineRig& rig, bool wild)
    {
        rig.settleGains();
        rig.setForLines(Stem::EFFECT, 0.0f);
        rig.set("block00", 1.0f);
        rig.set("FILTERTYPE0", 3.0f);
        if (wild)
        {
            rig.set("Q0", 0.99f);
            rig.set("LFODEPTH0", 10.0f);
            rig.set("LFOWAVETYPE0", 1.0f);
            rig.set("ENVNAME0", 0.9f);
        }
    };
    EngineRig calm, wild;
    configure(calm, false);
    configure(wild, true);
    const auto a = calm.run(5000, noise);
    const auto b = wild.run(5000, noise);
    for (size_t i = 0; i < 5000; ++i)
    {
        ASSERT_EQ(a.lines[0][0][i], b.lines[0][0][i]) << i;
        ASSERT_EQ(a.lines[0][1][i], b.lines[0][1][i]) << i;
    }
    // Flat top of the gate, where the envelope holds one value: the line is the input times it.
    EXPECT_EQ(a.lines[0][0][1000] / noise(0, 1000), a.lines[0][0][2000] / noise(0, 2000));
}

TEST(LineFilter, FlatAutomationAtFullCutoffGivesTheFeedbackOfTheExample)
{
    EngineRig rig;
    rig.set("FILTERTYPE0", 0.0f);
    rig.set("CutOff0", 20000.0f);
    rig.set("Q0", 0.01f);
    rig.set("ENVNAME0", 0.0f);
    rig.set("LFODEPTH0", 0.0f);
    rig.run(512);
    for (const auto& filter : rig.processor.lineFilters[0])
    {
        EXPECT_NEAR(filter.getCutoffMod(), 0.01, 1e-7);
        EXPECT_NEAR(filter.getEffectiveCutoff(), 0.99, 1e-12);
        EXPECT_NEAR(filter.getFeedbackAmount(), 1.01, 1e-5);
    }
}

TEST(LineFilter, CutoffAutomationBelowTheMiddleCountsAsFlat)
{
    struct Case
    {
        const char* name;
        float y;
        double offset;
    };
    // m = 1 - 2y: the bottom (-1) and the middle (0) are held at 0.01, the top adds 1.0.
    for (const auto& c : {Case{"bottom", 1.0f, 0.01}, Case{"middle", 0.5f, 0.01},
                          Case{"quarter up", 0.25f, 0.5}, Case{"top", 0.0f, 1.0}})
    {
        EngineRig rig;
        rig.set("FILTERTYPE1", 0.0f);
        rig.set("ENVNAME1", 0.0f);
        rig.set("LFODEPTH1", 0.0f);
        drawFlat(rig.processor, 1, Stem::CutOff, c.y);
        rig.run(1024);
        EXPECT_NEAR(rig.processor.lineFilters[1][0].getCutoffMod(), c.offset, 1e-6) << c.name;
    }
}

TEST(LineFilter, LfoRateFollowsTheTempoWhenSyncedAndItsAutomationLineOtherwise)
{
    struct Case
    {
        const char* name;
        bool sync;
        float expectedHz;
    };
    // LFOFREQ 1 Hz, its automation line at the top: +10 Hz unless synced to "1/4" at 120 bpm (2 Hz).
    for (const auto& c : {Case{"synced", true, 2.0f}, Case{"free", false, 11.0f}})
    {
        EngineRig rig;
        rig.set("FILTERTYPE2", 0.0f);
        rig.set("LFOSYNC2", c.sync ? 1.0f : 0.0f);
        rig.set("LFOSYNCFREQ2", (float)syncValuesString.indexOf("1/4"));
        rig.set("LFOFREQ2", 1.0f);
        drawFlat(rig.processor, 2, Stem::LFOFREQ, 0.0f);
        rig.run(2048);
        const auto& lfo = rig.processor.lfos[2];
        EXPECT_FLOAT_EQ(lfo.oscillators[(size_t)lfo.waveType].getFrequency(), c.expectedHz) << c.name;
    }
}

TEST(LineFilter, EnvelopeFollowsItsParametersWithoutAnEditor)
{
    EngineRig rig(44100.0, 512);
    rig.set("ATTACKNAME3", 0.501f);
    rig.set("DECAYNAME3", 0.3f);
    rig.set("SUSTAINNAME3", 0.5f);
    rig.set("RELEASENAME3", 2.0f);
    rig.run(512);

    const auto parameters = rig.processor.filterEnvelopes[3].getParameters();
    EXPECT_FLOAT_EQ(parameters.attack, rig.processor.liveValue(Stem::ATTACKNAME, 3));
    EXPECT_FLOAT_EQ(parameters.decay, rig.processor.liveValue(Stem::DECAYNAME, 3));
    EXPECT_FLOAT_EQ(parameters.sustain, rig.processor.liveValue(Stem::SUSTAINNAME, 3));
    EXPECT_FLOAT_EQ(parameters.release, 2.0f);
    // The rates come from the prepared sample rate: half a second of attack at 44.1 kHz. The envelope
    // sums its rate in single precision, hence the small tolerance.
    EXPECT_NEAR(attackLength(rig.processor.filterEnvelopes[3]), 0.501 * 44100.0, 0.002 * 22000.0);

    // Preparing at another rate recomputes the rates for it.
    rig.processor.prepareToPlay(96000.0, 512);
    rig.run(512);
    EXPECT_NEAR(attackLength(rig.processor.filterEnvelopes[3]), 0.501 * 96000.0, 0.002 * 48000.0);

    // The filter panel's call asks for the same re-read.
    rig.processor.setAdsrUpdate(3);
    rig.run(512);
    EXPECT_FLOAT_EQ(rig.processor.filterEnvelopes[3].getParameters().attack, parameters.attack);
}

TEST(LineFilter, EnvelopeOpensTheLowPassWhileABlockSounds)
{
    // A dark low-pass with a strong envelope: the high-frequency content passes only while the envelope
    // is up, that is while a block sounds and during the release after it.
    EngineRig rig;
    rig.settleGains();
    rig.set("FILTERTYPE0", 0.0f);
    rig.set("CutOff0", 100.0f);
    rig.set("ENVNAME0", 0.9f);
    rig.set("LFODEPTH0", 0.0f);
    rig.set("ATTACKNAME0", 0.001f);
    rig.set("SUSTAINNAME0", 1.0f);
    rig.set("RELEASENAME0", 0.1f);
    rig.set("Dur0", (float)myNotetUnitSA.indexOf("4n"));
    rig.set("block00", 1.0f);
    const auto alternating = [](int, juce::int64 i) { return i % 2 == 0 ? 0.5f : -0.5f; };
    const auto recording = rig.run(96000, alternating);

    const auto energy = [&](size_t from, size_t to)
    {
        double sum = 0.0;
        for (size_t i = from; i < to; ++i)
            sum += recording.lines[0][0][i] * recording.lines[0][0][i];
        return sum / (double)(to - from);
    };
    EXPECT_GT(energy(12000, 20000), 100.0 * energy(60000, 90000) + 1e-9);
}
