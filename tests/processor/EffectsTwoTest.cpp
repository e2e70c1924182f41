// What the distortions, decimator, pitch shifter, comb filter and reverb share: the routine contract
// (holding data, the channels they may touch) and staying inside their buffers at any rate and size.

#include "RoutineRig.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::EngineRig;
using testing_support::RoutineRig;

namespace
{
using P = BramblewayAudioProcessor;

struct Routine
{
    const char* name;
    P::EffectRoutine routine;
};
const Routine routines[] = {
    {"Obs-DIST", &P::processBlockDistortion},   {"DISTORTION", &P::processBlockDistortion2},
    {"DECIMATOR", &P::processBlockDecimator},   {"PITCH SHIFT", &P::processBlockPitchShifter},
    {"COMBFILTER", &P::processBlockCombFilter}, {"REVERB", &P::processBlockReverb},
};

float music(int channel, juce::int64 i)
{
    return 0.5f * std::sin(0.031f * (float) i + (float) channel) + 0.2f * std::sin(0.0071f * (float) i);
}
} // namespace

TEST(EffectsTwo, EveryRoutineMarksItsLineAsHoldingDataEvenForAnEmptyBlock)
{
    for (const auto& r : routines)
    {
        EngineRig rig;
        auto& line = rig.processor.lineBuffers[2];
        line.clear();
        rig.processor.numSamples = 0;
        juce::AudioBuffer<float> host(2, 0);
        juce::MidiBuffer midi;
        (rig.processor.*r.routine)(host, midi, 2);
        EXPECT_FALSE(line.hasBeenCleared()) << r.name;
    }
}

TEST(EffectsTwo, InAMonoBlockOnlyTheFirstChannelChanges)
{
    // The reverb itself always runs stereo; only its gate follows the channel count.
    for (const auto& r : routines)
    {
        if (juce::String(r.name) == "REVERB")
            continue;
        RoutineRig rig(r.routine);
        rig.set(Stem::DISTMODE, (float) distChoicesStr.indexOf("Square")); // "Soft" would change nothing
        const auto out = rig.runChannels(4096, music, 0, 1);
        bool firstChanged = false;
        for (size_t i = 0; i < 4096; ++i)
        {
            ASSERT_EQ(out[1][i], music(1, (juce::int64) i)) << r.name << ", sample " << i;
            firstChanged = firstChanged || out[0][i] != music(0, (juce::int64) i);
        }
        EXPECT_TRUE(firstChanged) << r.name;
    }
}

TEST(EffectsTwo, AnySampleRateAndBlockSizeKeepsReadsInsideTheRingAndTheOutputFinite)
{
    // At 100 Hz the ring holds 100 samples while the comb sweeps up to 200 back; blocks of 2048 at
    // 1000 Hz are longer than the ring; the steepest pitch moves a tap by more than a window per sample.
    struct Case
    {
        double sampleRate;
        int preparedBlock;
        std::vector<int> blocks;
    };
    const Case cases[] = {
        {100.0, 16, {16, 1, 7}}, {1000.0, 2048, {2048, 1000, 333}}, {8000.0, 512, {512, 37}}};
    for (const auto& c : cases)
    {
        EngineRig rig(c.sampleRate, c.preparedBlock);
        rig.settleGains();
        const char* effects[] = {"COMBFILTER", "PITCH SHIFT", "REVERB", "DISTORTION", "DECIMATOR"};
        for (int line = 0; line < numLines; ++line)
        {
            rig.set(lineParameterID(Stem::EFFECT, line), (float) effectChoicesStr.indexOf(effects[line]));
            for (int block = 0; block < 16; block += 2)
                rig.set(blockParameterID(line, block), 1.0f);
        }
        rig.set("COBFILTERDELAY0", 10.0f);
        rig.set("COMBFILTERDEPTH0", 1.0f);
        rig.set("COMBFILTEROFFREQ0", 50.0f);
        rig.set("PITCHMUSICALSET1", 1.0f);
        rig.set("PITCHMUSICALOCTAVE1", 3.0f);
        rig.set("PITCHMUSICALFINE1", 12.0f);
        rig.set("PITCHSLIDEVALUE1", 3.0f);
        rig.set("REVERBINST2", 1.0f);

        for (int blockSize : c.blocks)
        {
            const auto recording = rig.run(4 * (juce::int64) c.sampleRate, music, blockSize);
            for (const auto& channel : recording.output)
                for (float sample : channel)
                    ASSERT_TRUE(std::isfinite(sample)) << c.sampleRate << " Hz, blocks of " << blockSize;
            for (double phase : rig.processor.pitchTapPhases[1].phases)
            {
                EXPECT_GE(phase, 0.0) << c.sampleRate << " Hz";
                EXPECT_LE(phase, 1.0) << c.sampleRate << " Hz";
            }
            EXPECT_GE(rig.processor.lineRingBuffers[0].writeIndex, 0);
            EXPECT_LT(rig.processor.lineRingBuffers[0].writeIndex, rig.processor.lineRingBuffers[0].size);
        }
    }
}
