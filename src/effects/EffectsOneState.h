#pragma once

// Per-line state of the delay, the repeater and the vibrato: plain values the processor owns and its
// effect routines work on.

#include <juce_dsp/juce_dsp.h>

#include <array>
#include <vector>

using LinearRamp = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;

struct DelayState
{
    float smoothedTime = 0.0f; // seconds, gliding toward the target time
    float delaySamples = 0.0f;
    std::array<float, 2> lastDelayed{};
};

// "Algorithm 1": records a slice into buffers of its own and always plays those buffers back.
struct RepeaterOneState
{
    int sliceLength = 0;
    // A block started while the output still sounded; the slice starts once the fade reaches 0.
    bool pending = false;
    int recordRemaining = 0;
    LinearRamp repeatGain;
    LinearRamp outputFade;
    std::array<std::vector<float>, 2> buffers;
    juce::uint64 writePosition = 0;
    juce::uint64 readPosition = 0;
};

// "Algorithm 2": loops a slice inside the line's shared ring buffer.
struct RepeaterTwoState
{
    static constexpr int idle = -1;

    int recordRemaining = idle; // 0 while looping
    int slicePosition = 0;
    int sliceLength = 0;
    int counter = idle; // samples since the block started, the start sample counting 1
    LinearRamp repeatGain;
};

struct VibratoBuffer
{
    std::array<std::vector<float>, 2> channels;
    int writeIndex = 0;
    int size = 0;
};
