// processBlock at 48 kHz stereo with all five lines gating every step and low-pass filtering with
// their LFO and envelope: effects off at several block sizes, then all five lines on one effect at 512
// samples. Counters: real_time_factor is seconds of audio per second of CPU; line_sample_cost is the CPU
// time per sample and line.

#include "PluginProcessor.h"

#include <benchmark/benchmark.h>

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

void gatingAndFiltering(BramblewayAudioProcessor& processor, int effect)
{
    for (int line = 0; line < numLines; ++line)
    {
        for (int block = 0; block < numBlocks; ++block)
            setPlain(processor, blockParameterID(line, block), 1.0f);
        const std::pair<int, float> settings[] = {
            {Stem::EFFECT, (float) effect}, {Stem::FILTERTYPE, 0.0f}, {Stem::LFODEPTH, 3.0f},
            {Stem::ENVNAME, 0.5f},          {Stem::LFOFREQ, 2.0f},    {Stem::GridNum, 32.0f},
        };
        for (const auto& [stem, value] : settings)
            setPlain(processor, lineParameterID(stem, line), value);
    }
}

void run(benchmark::State& state, int blockSize, int effect)
{
    BramblewayAudioProcessor processor;
    PlayingAt120 playHead;
    processor.setPlayHead(&playHead);
    gatingAndFiltering(processor, effect);
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
    run(state, (int) state.range(0), 0);
}

// The argument is the effect's index in the EFFECT choices.
void effectOnEveryLine(benchmark::State& state)
{
    const int effect = (int) state.range(0);
    run(state, 512, effect);
    state.SetLabel(effectChoicesStr[effect].toStdString());
}
} // namespace

BENCHMARK(processBlock)->Arg(32)->Arg(128)->Arg(512)->Arg(2048)->Unit(benchmark::kMicrosecond);
BENCHMARK(effectOnEveryLine)
    ->DenseRange(2, 3)  // delay, chorus-flanger
    ->Arg(6)            // phaser
    ->DenseRange(9, 12) // repeater, vibrato, tremolo, ring modulator
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
