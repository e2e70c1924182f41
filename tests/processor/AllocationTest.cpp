// The audio callback never allocates: several seconds of every line gating, filtering and modulating,
// in blocks of every awkward size.

#include "AllocationCounter.h"
#include "EffectsOneRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using testing_support::EngineRig;

namespace
{
// Allocations the audio callback makes over five seconds of a sine in blocks of every awkward size,
// with between(round) changing the set-up before each block.
long allocationsWhileProcessing(EngineRig& rig, const std::function<void(int round)>& between)
{
    juce::AudioBuffer<float> buffer(2, 2048);
    juce::MidiBuffer midi;
    const int sizes[] = {512, 0, 1, 100, 511, 2048, 37};
    long allocations = 0;
    juce::int64 processed = 0;
    for (int round = 0; processed < 5 * 48000; ++round)
    {
        const int size = sizes[round % 7];
        buffer.setSize(2, size, false, false, true);
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < size; ++i)
                buffer.setSample(channel, i, std::sin(0.02f * (float) (processed + i)));
        between(round);
        {
            allocation_counter::Scope scope;
            rig.processor.processBlock(buffer, midi);
            allocations += scope.count();
        }
        processed += size;
    }
    return allocations;
}
} // namespace

TEST(Allocation, CounterSeesAnAllocationOnThisThread)
{
    allocation_counter::Scope scope;
    auto* vector = new std::vector<int>(100);
    delete vector;
    EXPECT_GE(scope.count(), 2);
}

TEST(Allocation, ProcessingSeveralSecondsAllocatesNothing)
{
    EngineRig rig(48000.0, 512);
    rig.setForLines(Stem::FILTERTYPE, 0.0f);
    rig.setForLines(Stem::LFOWAVETYPE, 1.0f);
    rig.setForLines(Stem::LFODEPTH, 5.0f);
    rig.setForLines(Stem::ENVNAME, 0.5f);
    rig.setForLines(Stem::PITCHSLIDEVALUE, 1.0f);
    rig.set("FILTERAPPLYEFFECT2", 1.0f);
    rig.set("SOLOSELECT3", 1.0f);
    for (int line = 0; line < numLines; ++line)
        for (int block = 0; block < 16; block += 1 + line % 2)
            rig.set(blockParameterID(line, block), 1.0f);
    rig.processor.editLineAutomation(
        [](auto& automation)
        {
            for (auto& line : automation)
                for (int stem : {(int) Stem::CutOff, (int) Stem::Q, (int) Stem::LFOFREQ, (int) Stem::LINEPAN})
                    line[(size_t) stem] = {{0.0f, 0.0f}, {0.3f, 0.8f}, {0.6f, 0.2f}, {1.0f, 1.0f}};
        });

    // Switching effects and tempo on the way exercises every path of the set-up.
    const auto switchEffectAndTempo = [&](int round)
    {
        rig.playHead.bpm = round % 50 == 0 ? 0.0 : 90.0 + round % 3 * 30.0;
        rig.set("EFFECT1", (float) (round % numEffectTypes));
    };
    EXPECT_EQ(allocationsWhileProcessing(rig, switchEffectAndTempo), 0);
}

TEST(Allocation, DelayRepeaterChorusPhaserVibratoTremoloAndRingModulatorAllocateNothing)
{
    using namespace effects_one;
    EngineRig rig(48000.0, 512);
    rig.setForLines(Stem::Dur, 10.0f);
    for (int line = 0; line < numLines; ++line)
        for (int block = 0; block < 16; block += 1 + line % 2)
            rig.set(blockParameterID(line, block), 1.0f);
    const int automated[] = {Stem::CHORUSRATE,         Stem::CHORUSDELAY,     Stem::DELAYTIMEDELAY,
                             Stem::DELAYTIMEDELAYSYNC, Stem::PHASERMIX,       Stem::PHASERDECAY,
                             Stem::REPEATERDIVIDE,     Stem::VIBRATOWIDTH,    Stem::TREMOLOFREQSYNC,
                             Stem::RINGLOFREQ,         Stem::RINGMUSICALNOTE, Stem::RINGMUSICALOCTAVE,
                             Stem::RINGMUSICALFINE};
    rig.processor.editLineAutomation(
        [&](auto& automation)
        {
            for (auto& line : automation)
                for (int stem : automated)
                    line[(size_t) stem] = {{0.0f, 0.0f}, {0.3f, 0.9f}, {0.6f, 0.1f}, {1.0f, 1.0f}};
        });

    // Every line on one of these effects, turned through every option, transport state and tempo.
    const auto turnThroughOptions = [&](int round)
    {
        rig.playHead.playing = round % 5 != 0;
        rig.playHead.bpm = 40.0 + round % 4 * 60.0;
        for (int line = 0; line < numLines; ++line)
            rig.set(lineParameterID(Stem::EFFECT, line),
                    effectIndex(effectsOne[(round / 3 + line) % numEffectsOne]));
        const auto option = [&](int stem, int period)
        { rig.setForLines(stem, (float) (round / period % 2)); };
        option(Stem::DELAYSYNC, 2);
        option(Stem::REPEATERTYPE, 4);
        option(Stem::TREMOLOSYNC, 3);
        option(Stem::RINGMUSICALSET, 5);
        rig.setForLines(Stem::VIBRATOLFOWAVE, (float) (round % 4));
        rig.setForLines(Stem::CHORUSDELAY, (float) (round % 6 * 10));
        rig.setForLines(Stem::REPEATERDIVIDE, (float) (1 + round % 64));
    };
    EXPECT_EQ(allocationsWhileProcessing(rig, turnThroughOptions), 0);
}

TEST(Allocation, DistortionsDecimatorPitchShifterCombFilterAndReverbAllocateNothing)
{
    EngineRig rig(48000.0, 512);
    rig.setForLines(Stem::FILTERTYPE, 0.0f);
    rig.setForLines(Stem::PITCHSLIDEVALUE, 1.0f);
    for (int line = 0; line < numLines; ++line)
        for (int block = 0; block < 16; block += 1 + line % 2)
            rig.set(blockParameterID(line, block), 1.0f);
    const int automated[] = {Stem::DISTMODE,           Stem::DISTDRIVE,        Stem::DISTMIX,
                             Stem::DISTTRESHOLD,       Stem::DISTDRIVE2,       Stem::DISTMIX2,
                             Stem::DISTTRESHOLD2,      Stem::DISTCUTOFF2,      Stem::RATEDECIMATOR,
                             Stem::BITDECIMATOR,       Stem::CUTOFFDECIMATOR,  Stem::PITCHVALUE,
                             Stem::PITCHMUSICALOCTAVE, Stem::PITCHMUSICALFINE, Stem::COBFILTERDELAY,
                             Stem::COMBFILTERDEPTH,    Stem::COMBFILTEROFFREQ, Stem::COMBFILTEROFFREQSYNC,
                             Stem::REVERBROOMSIZE,     Stem::REVERBDAMPING,    Stem::REVERBWETLEVEL,
                             Stem::REVERBDRYLEVEL,     Stem::REVERBWIDTH};
    rig.processor.editLineAutomation(
        [&](auto& automation)
        {
            for (auto& line : automation)
                for (int stem : automated)
                    line[(size_t) stem] = {{0.0f, 0.0f}, {0.3f, 0.8f}, {0.6f, 0.2f}, {1.0f, 1.0f}};
        });

    // Every line visits every effect of the group with its modes and switches changing on the way.
    const char* effects[] = {"REVERB", "DECIMATOR", "Obs-DIST", "PITCH SHIFT", "COMBFILTER", "DISTORTION"};
    const auto switchEffectsAndModes = [&](int round)
    {
        for (int line = 0; line < numLines; ++line)
        {
            const auto set = [&](int stem, float value) { rig.set(lineParameterID(stem, line), value); };
            set(Stem::EFFECT, (float) effectChoicesStr.indexOf(effects[(round / 3 + line) % 6]));
            set(Stem::DISTMODE, (float) (round % distChoicesStr.size()));
            set(Stem::DISTMODE2, (float) (round % dist2ChoicesStr.size()));
            set(Stem::REVERBINST, (float) (round % 2));
            set(Stem::PITCHMUSICALSET, (float) (round / 2 % 2));
            set(Stem::COMBFILTERSYNC, (float) (round / 4 % 2));
        }
    };
    EXPECT_EQ(allocationsWhileProcessing(rig, switchEffectsAndModes), 0);
}
