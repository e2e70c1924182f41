// The audio callback never allocates: several seconds of every line gating, filtering and modulating,
// in blocks of every awkward size.

#include "AllocationCounter.h"
#include "EngineRig.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::EngineRig;

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
                for (int stem : {(int)Stem::CutOff, (int)Stem::Q, (int)Stem::LFOFREQ, (int)Stem::LINEPAN})
                    line[(size_t)stem] = {{0.0f, 0.0f}, {0.3f, 0.8f}, {0.6f, 0.2f}, {1.0f, 1.0f}};
        });

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
                buffer.setSample(channel, i, std::sin(0.02f * (float)(processed + i)));
        // Switching effects and tempo on the way exercises every path of the set-up.
        rig.playHead.bpm = round % 50 == 0 ? 0.0 : 90.0 + round % 3 * 30.0;
        rig.set("EFFECT1", (float)(round % numEffectTypes));
        {
            allocation_counter::Scope scope;
            rig.processor.processBlock(buffer, midi);
            allocations += scope.count();
        }
        processed += size;
    }
    EXPECT_EQ(allocations, 0);
}
