// Non-finite samples from the host or from a diverging filter never reach a stateful stage or the
// host, and the engine carries on normally afterwards.

#include "EngineRig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using testing_support::EngineRig;
using testing_support::Recording;

namespace
{
constexpr int blockSize = 512;

float music(int channel, juce::int64 i)
{
    return 0.5f * std::sin(0.031f * (float)i + (float)channel) + 0.2f * std::sin(0.0071f * (float)i);
}

void gateAndFilterEveryLine(EngineRig& rig)
{
    rig.settleGains();
    rig.setForLines(Stem::EFFECT, 0.0f);
    rig.setForLines(Stem::FILTERTYPE, 0.0f);
    rig.setForLines(Stem::CutOff, 2000.0f);
    for (int line = 0; line < numLines; ++line)
        for (int block = 0; block < 16; ++block)
            rig.set(blockParameterID(line, block), 1.0f);
}

double rms(const std::vector<float>& samples, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += (double)samples[i] * samples[i];
    return std::sqrt(sum / (double)(to - from));
}

void expectFinite(const Recording& recording, const char* what)
{
    for (const auto& channel : recording.output)
        for (size_t i = 0; i < channel.size(); ++i)
            ASSERT_TRUE(std::isfinite(channel[i])) << what << ", sample " << i;
}
} // namespace

TEST(Recovery, ABurstOfNonFiniteInputActsAsSilenceAndTheInputReturnsAtOnce)
{
    const juce::int64 burstStart = 10 * blockSize, burstEnd = 11 * blockSize;
    const auto burst = [&](int channel, juce::int64 i)
    {
        if (i < burstStart || i >= burstEnd)
            return music(channel, i);
        const float values[] = {std::numeric_limits<float>::quiet_NaN(),
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(), 0.3f};
        return values[i % 4];
    };
    // The same burst as the engine should see it: non-finite samples replaced by silence.
    const auto silenced = [&](int channel, juce::int64 i)
    {
        const float x = burst(channel, i);
        return std::isfinite(x) ? x : 0.0f;
    };

    EngineRig withBurst, withSilence, untouched;
    for (auto* rig : {&withBurst, &withSilence, &untouched})
        gateAndFilterEveryLine(*rig);
    const auto a = withBurst.run(30 * blockSize, burst);
    const auto b = withSilence.run(30 * blockSize, silenced);
    const auto c = untouched.run(30 * blockSize, music);

    expectFinite(a, "burst");
    for (int channel = 0; channel < 2; ++channel)
        for (size_t i = 0; i < a.output[channel].size(); ++i)
            ASSERT_EQ(a.output[channel][i], b.output[channel][i]) << "sample " << i;

    // The block right after the burst carries the input at its normal level.
    const auto from = (size_t)burstEnd, to = (size_t)(burstEnd + blockSize);
    EXPECT_NEAR(rms(a.output[0], from, to), rms(c.output[0], from, to), 0.05 * rms(c.output[0], from, to));
}

TEST(Recovery, ASquareLfoSlammingTheCutoffAtHighResonanceNeverGoesNonFinite)
{
    // Synced to 1/32 at 999 bpm and 22.05 kHz the square flips every 83 samples, moving the cutoff between
    // 0.9 and its upper limit; at resonance 0.99 the stages then grow without bound within seconds.
    constexpr double rate = 22050.0;
    constexpr int seconds = 10;
    const auto configure = [](EngineRig& rig)
    {
        rig.playHead.bpm = 999.0;
        gateAndFilterEveryLine(rig);
        rig.setForLines(Stem::CutOff, 18000.0f);
        rig.setForLines(Stem::ENVNAME, 0.0f);
        rig.setForLines(Stem::LFOSYNC, 1.0f);
        rig.setForLines(Stem::LFOSYNCFREQ, 0.0f);
    };
    EngineRig rig(rate, blockSize);
    configure(rig);
    rig.setForLines(Stem::Q, 0.99f);
    rig.setForLines(Stem::LFOWAVETYPE, 1.0f);
    rig.setForLines(Stem::LFODEPTH, 10.0f);
    const auto stressed = rig.run((juce::int64)rate * seconds, music);
    expectFinite(stressed, "square LFO");
    for (const auto& filters : rig.processor.lineFilters)
        for (auto filter : filters)
            EXPECT_TRUE(std::isfinite(filter.process(0.0))) << "stages left finite";

    // Back to calm settings, the lines sound as a fresh engine's do within a few blocks.
    rig.setForLines(Stem::Q, 0.2f);
    rig.setForLines(Stem::LFODEPTH, 0.01f);
    rig.setForLines(Stem::LFOWAVETYPE, 0.0f);
    EngineRig reference(rate, blockSize);
    configure(reference);
    reference.run((juce::int64)rate * seconds, music);
    const auto calm = rig.run(8 * blockSize, music);
    const auto expected = reference.run(8 * blockSize, music);
    expectFinite(calm, "calm");
    const auto from = (size_t)(4 * blockSize), to = (size_t)(8 * blockSize);
    EXPECT_NEAR(rms(calm.output[0], from, to), rms(expected.output[0], from, to),
                0.05 * rms(expected.output[0], from, to));
}
