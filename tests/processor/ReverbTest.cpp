// "REVERB" on a line: the gate of REVERBINST around sounding blocks, the tail without it, and lines
// that share one parameter record but each get their own settings.

#include "EngineRig.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::EngineRig;

namespace
{
float music(int channel, juce::int64 i)
{
    return 0.5f * std::sin(0.031f * (float) i + (float) channel) + 0.2f * std::sin(0.0071f * (float) i);
}

// Line 0 on reverb, the others silent; the step of line 0 given by block sounds for one sixteenth.
void reverbOnLineZero(EngineRig& rig, int block)
{
    rig.settleGains();
    rig.setForLines(Stem::EFFECT, 0.0f);
    rig.setForLines(Stem::FILTERTYPE, (float) filterChoicesStr.indexOf("NoFilter"));
    rig.set("EFFECT0", (float) effectChoicesStr.indexOf("REVERB"));
    rig.set("GridNum0", 4.0f);
    rig.set(blockParameterID(0, block), 1.0f);
}

double rms(const std::vector<float>& samples, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += (double) samples[i] * samples[i];
    return std::sqrt(sum / (double) (to - from));
}
} // namespace

TEST(Reverb, GateRisesAndFallsOverTwentyMillisecondsAroundABlockAndIsShutBetweenBlocks)
{
    // Steps of 6000 samples: the block of step 1 sounds from 6000 and ends on 11999, both within audio
    // blocks of 512. The gate ramp has 960 steps.
    EngineRig gated, open;
    for (auto* rig : {&gated, &open})
        reverbOnLineZero(*rig, 1);
    gated.set("REVERBINST0", 1.0f);
    const auto withGate = gated.run(29000, music);
    const auto withoutGate = open.run(29000, music);

    for (size_t channel = 0; channel < 2; ++channel)
    {
        const auto& g = withGate.lines[0][channel];
        const auto& o = withoutGate.lines[0][channel];
        for (size_t n = 0; n < 6000; ++n)
            ASSERT_EQ(g[n], 0.0f) << n;
        for (size_t k = 0; k < 960; ++k)
        {
            const float rise = (float) (k + 1) / 960.0f;
            ASSERT_NEAR(g[6000 + k], o[6000 + k] * rise, 1e-5f * std::abs(o[6000 + k]) + 1e-9f) << 6000 + k;
        }
        for (size_t n = 6960; n < 11999; ++n)
            ASSERT_EQ(g[n], o[n]) << n;
        for (size_t k = 0; k < 960; ++k)
        {
            const float fall = 1.0f - (float) (k + 1) / 960.0f;
            ASSERT_NEAR(g[11999 + k], o[11999 + k] * fall, 1e-5f * std::abs(o[11999 + k]) + 1e-9f)
                << 11999 + k;
        }
        // The tail is cut at the block's end here, and rings on without the gate.
        for (size_t n = 12959; n < 29000; ++n)
            ASSERT_EQ(g[n], 0.0f) << n;
        EXPECT_GT(rms(o, 13000, 24000), 1e-3) << "tail, channel " << channel;
    }
}

TEST(Reverb, LinesSharingTheRecordEachGetTheirOwnSettings)
{
    // The same input through lines 0 and 1 with rooms of 0.2 and 0.9, against framework reverbs fed
    // what each line gives its effect.
    const auto configure = [](EngineRig& rig, float effect)
    {
        rig.settleGains();
        rig.setForLines(Stem::EFFECT, 0.0f);
        rig.setForLines(Stem::FILTERTYPE, (float) filterChoicesStr.indexOf("NoFilter"));
        for (int line : {0, 1})
        {
            rig.set(lineParameterID(Stem::EFFECT, line), effect);
            rig.set(blockParameterID(line, 0), 1.0f);
        }
        rig.set("REVERBROOMSIZE0", 0.2f);
        rig.set("REVERBROOMSIZE1", 0.9f);
        rig.set("REVERBDAMPING1", 0.7f);
    };
    EngineRig withReverb, withoutEffect;
    configure(withReverb, (float) effectChoicesStr.indexOf("REVERB"));
    configure(withoutEffect, 0.0f);
    const auto wet = withReverb.run(48000, music);
    const auto dry = withoutEffect.run(48000, music);

    for (int line : {0, 1})
    {
        juce::Reverb reference;
        reference.setSampleRate(48000.0);
        juce::Reverb::Parameters parameters;
        parameters.roomSize = withReverb.processor.liveValue(Stem::REVERBROOMSIZE, line);
        parameters.damping = withReverb.processor.liveValue(Stem::REVERBDAMPING, line);
        parameters.wetLevel = withReverb.processor.liveValue(Stem::REVERBWETLEVEL, line);
        parameters.dryLevel = withReverb.processor.liveValue(Stem::REVERBDRYLEVEL, line);
        parameters.width = withReverb.processor.liveValue(Stem::REVERBWIDTH, line);
        auto left = dry.lines[line][0];
        auto right = dry.lines[line][1];
        for (size_t start = 0; start < left.size(); start += 512)
        {
            reference.setParameters(parameters);
            reference.processStereo(left.data() + start, right.data() + start,
                                    (int) std::min<size_t>(512, left.size() - start));
        }
        for (size_t n = 0; n < left.size(); ++n)
        {
            ASSERT_EQ(wet.lines[line][0][n], left[n]) << "line " << line << ", sample " << n;
            ASSERT_EQ(wet.lines[line][1][n], right[n]) << "line " << line << ", sample " << n;
        }
    }
    EXPECT_GT(rms(wet.lines[1][0], 24000, 48000), 2.0 * rms(wet.lines[0][0], 24000, 48000))
        << "the larger room rings longer";
}
