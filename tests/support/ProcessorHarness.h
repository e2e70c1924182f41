#pragma once

#include "PluginProcessor.h"

#include <memory>

namespace testing_support
{
// A transport for the processor under test: tempo and position may be withheld, as some hosts do.
class FakePlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override;

    bool hasPosition = true;
    bool hasTempo = true;
    double bpm = 120.0;
    bool playing = true;
    juce::int64 samplePosition = 0;
};

// Sets a parameter by ID from its plain value, as a host would, announcing the change.
void setPlain(BramblewayAudioProcessor& processor, const juce::String& id, float plainValue);
float plainValue(BramblewayAudioProcessor& processor, const juce::String& id);

// Lets the message thread deliver what the processor posted to it.
void pumpMessages(int milliseconds = 60);

// Counts the steps a smoother takes to reach a new target: its ramp length.
int rampLength(juce::LinearSmoothedValue<float> smoother);
} // namespace testing_support
