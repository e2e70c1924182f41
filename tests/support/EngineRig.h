#pragma once

#include "ProcessorHarness.h"

#include <functional>
#include <vector>

namespace testing_support
{
// What came out of a run, sample by sample: the host buffer and every line buffer after mixing.
struct Recording
{
    std::vector<float> output[maxChannels];
    std::vector<float> lines[numLines][maxChannels];
};

// A prepared processor with a playing transport at 120 bpm, driven block by block.
class EngineRig
{
public:
    using Signal = std::function<float(int channel, juce::int64 sample)>;

    explicit EngineRig(double sampleRate = 48000.0, int blockSize = 512, int channels = 2);
    ~EngineRig();

    void set(const juce::String& id, float plain) { setPlain(processor, id, plain); }
    void setForLines(int stem, float plain);
    // Lines at 0 dB with no ramp, dry/wet fully wet with no ramp: line buffers then hold the gated signal.
    void settleGains();

    // Runs samples through in blocks of the given size (the prepared size when 0).
    Recording run(juce::int64 samples, const Signal& input, int blockSize = 0);
    Recording run(juce::int64 samples, int blockSize = 0) { return run(samples, ones, blockSize); }

    static float ones(int, juce::int64) { return 1.0f; }

    BramblewayAudioProcessor processor;
    FakePlayHead playHead;
    double sampleRate;
    int preparedBlockSize;
    int channels;
    juce::int64 position = 0;
};

// Sample indices where a gate opens: non-zero after zero (or at the start).
std::vector<juce::int64> gateOpenings(const std::vector<float>& gate);
} // namespace testing_support
