#pragma once

// One effect routine driven straight on a line of a prepared processor, block by block, without the
// sequencer: what goes in is exactly what the routine sees, and what comes out is the line buffer as
// the routine left it, before any later stage could mend it.

#include "EngineRig.h"

#include <functional>
#include <vector>

namespace testing_support
{
class RoutineRig
{
public:
    using Routine = BramblewayAudioProcessor::EffectRoutine;
    using Signal = EngineRig::Signal;

    explicit RoutineRig(Routine routineToRun, double sampleRate = 48000.0, int blockSize = 512,
                        int lineToRun = 0)
        : engine(sampleRate, blockSize), processor(engine.processor), routine(routineToRun), line(lineToRun)
    {
        processor.currentBpm = 120.0f;
    }

    void set(int stem, float plain) { engine.set(lineParameterID(stem, line), plain); }
    float value(int stem) const { return processor.liveValue(stem, line); }

    // Draws the stem's automation line flat at the value m (-1 bottom .. +1 top).
    void automate(int stem, float m)
    {
        const float y = (1.0f - m) * 0.5f;
        processor.editLineAutomation(
            [&](auto& automation) {
                automation[(size_t) line][(size_t) stem] = {{0.0f, y}, {1.0f, y}};
            });
    }

    // Runs samples of the signal through the routine in blocks of the given size (the prepared size when
    // 0), telling it that the block has the given number of channels; both channels of the line buffer
    // hold the signal. The signal's sample index counts from the start of this run.
    std::vector<float> run(juce::int64 samples, const Signal& input, int blockSize = 0, int channels = 2)
    {
        return runChannels(samples, input, blockSize, channels).front();
    }
    std::array<std::vector<float>, maxChannels> runChannels(juce::int64 samples, const Signal& input,
                                                            int blockSize = 0, int channels = 2)
    {
        if (blockSize <= 0)
            blockSize = engine.preparedBlockSize;
        std::array<std::vector<float>, maxChannels> out;
        auto& buffer = processor.lineBuffers[(size_t) line];
        juce::AudioBuffer<float> host(maxChannels, blockSize);
        juce::MidiBuffer midi;
        for (juce::int64 done = 0; done < samples; done += blockSize)
        {
            const int length = (int) std::min<juce::int64>(blockSize, samples - done);
            for (int channel = 0; channel < maxChannels; ++channel)
                for (int i = 0; i < length; ++i)
                    buffer.setSample(channel, i, input(channel, done + i));
            processor.numSamples = length;
            processor.numChannels = channels;
            // Automation lines are read in the middle of the line's cycle.
            processor.lineLengthSamples[(size_t) line].store(1000);
            processor.lineSampleCounter[(size_t) line].store(500);
            (processor.*routine)(host, midi, line);
            for (size_t channel = 0; channel < (size_t) maxChannels; ++channel)
            {
                const float* samplesOut = buffer.getReadPointer((int) channel);
                out[channel].insert(out[channel].end(), samplesOut, samplesOut + length);
            }
        }
        return out;
    }

    EngineRig engine;
    BramblewayAudioProcessor& processor;
    Routine routine;
    int line;
};

// Every sample of a vector as the signal of every channel, 0 beyond its end.
inline EngineRig::Signal samplesOf(std::vector<float> values)
{
    return [values = std::move(values)](int, juce::int64 i)
    { return i < (juce::int64) values.size() ? values[(size_t) i] : 0.0f; };
}

inline float silence(int, juce::int64)
{
    return 0.0f;
}
} // namespace testing_support
