// processBlock at 48 kHz stereo with all five lines gating every step and low-pass filtering with
// their LFO and envelope: effects off, then at 512 samples every line on one effect, and the heaviest
// mix of effects. Counters: real_time_factor is seconds of audio per second of CPU; line_sample_cost is
// the CPU time per sample and line.

#include "PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

namespace
{
constexpr double sampleRate = 48000.0;

class PlayingAt120 : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm(120.0);
        info.setIsPlaying(true);
        return info;
    }
};

void setPlain(BramblewayAudioProcessor& processor, const juce::String& id, float value)
{
    auto* parameter = processor.getParameterTree().getParameter(id);
    parameter->setValueNotifyingHost(parameter->convertTo0to1(value));
}

using LineEffects = std::array<const char*, numLines>;

void gatingAndFiltering(BramblewayAudioProcessor& processor, const LineEffects& effects)
{
    for (int line = 0; line < numLines; ++line)
    {
        for (int block = 0; block < numBlocks; ++block)
            setPlain(processor, blockParameterID(line, block), 1.0f);
        const std::pair<int, float> settings[] = {
            {Stem::EFFECT, (float) effectChoicesStr.indexOf(effects[(size_t) line])},
            {Stem::FILTERTYPE, 0.0f},
            {Stem::LFODEPTH, 3.0f},
            {Stem::ENVNAME, 0.5f},
            {Stem::LFOFREQ, 2.0f},
            {Stem::GridNum, 32.0f},
            // Demanding modes and options for the effects that have them.
            {Stem::DISTMODE, (float) distChoicesStr.indexOf("Hard")},
            {Stem::DISTMODE2, (float) dist2ChoicesStr.indexOf("Waveshaper 1")},
            {Stem::REVERBINST, 1.0f},
            {Stem::PITCHVALUE, 0.5f},
            {Stem::PITCHSLIDEVALUE, 0.5f},
        };
        for (const auto& [stem, value] : settings)
            setPlain(processor, lineParameterID(stem, line), value);
    }
}

void processBlocks(benchmark::State& state, const LineEffects& effects)
{
    const int blockSize = (int) state.range(0);
    BramblewayAudioProcessor processor;
    PlayingAt120 playHead;
    processor.setPlayHead(&playHead);
    gatingAndFiltering(processor, effects);
    processor.prepareToPlay(sampleRate, blockSize);

    // One second of input, copied in block by block: a cost every host has too, and a small one.
    juce::AudioBuffer<float> source(2, (int) sampleRate);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < source.getNumSamples(); ++i)
            source.setSample(channel, i, 0.5f * std::sin(0.013f * (float) i + (float) channel));

    juce::AudioBuffer<float> buffer(2, blockSize);
    juce::MidiBuffer midi;
    int position = 0;
    for (auto _ : state)
    {
        if (position + blockSize > source.getNumSamples())
            position = 0;
        for (int channel = 0; channel < 2; ++channel)
            buffer.copyFrom(channel, 0, source, channel, position, blockSize);
        position += blockSize;
        processor.processBlock(buffer, midi);
    }

    using Counter = benchmark::Counter;
    state.counters["real_time_factor"] = Counter(blockSize / sampleRate, Counter::kIsIterationInvariantRate);
    state.counters["line_sample_cost"] =
        Counter((double) blockSize * numLines, Counter::kIsIterationInvariantRate | Counter::kInvert);
    processor.setPlayHead(nullptr);
}

void processBlock(benchmark::State& state)
{
    processBlocks(state, {"NO EFFECT", "NO EFFECT", "NO EFFECT", "NO EFFECT", "NO EFFECT"});
}

void fiveLinesOn(benchmark::State& state, const char* effect)
{
    processBlocks(state, {effect, effect, effect, effect, effect});
}
} // namespace

BENCHMARK(processBlock)->Arg(32)->Arg(128)->Arg(512)->Arg(2048)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, delay, "DELAY")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, chorus_flanger, "CHORUS-FLANGER")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, phaser, "PHASER")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, repeater, "REPEATER")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, vibrato, "VIBRATO")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, tremolo, "TREMOLO")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, ring_modulator, "RING MOD.")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, reverb, "REVERB")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, decimator, "DECIMATOR")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, obs_dist, "Obs-DIST")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, distortion, "DISTORTION")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, pitch_shift, "PITCH SHIFT")->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(fiveLinesOn, comb_filter, "COMBFILTER")->Arg(512)->Unit(benchmark::kMicrosecond);
// The heaviest mix: each line on one of the costliest effects, all filtering.
BENCHMARK_CAPTURE(processBlocks, worst_case,
                  LineEffects{"REVERB", "PITCH SHIFT", "CHORUS-FLANGER", "DISTORTION", "REPEATER"})
    ->Arg(512)
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
