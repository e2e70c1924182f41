#pragma once

// Host-side helpers: load a VST3 bundle as a DAW does, reach its parameters by ID, and give it a
// transport to follow.

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace brambleway
{
// Loads the first plug-in class of a VST3 bundle. On failure the result says why.
juce::Result loadVst3(const juce::File& bundle, double sampleRate, int blockSize,
                      std::unique_ptr<juce::AudioPluginInstance>& instance);

// A parameter by the ID its plug-in gave it (the hosted name of every Brambleway parameter is its ID).
juce::AudioProcessorParameter* findParameter(juce::AudioProcessor& processor, const juce::String& id);

// Sets a parameter from a value in its own units: a number within its range, a choice index, or a
// choice's name. Out-of-range numbers and unknown names are refused.
juce::Result setParameterFromText(juce::AudioProcessorParameter& parameter, const juce::String& text);

// A transport that plays from the first sample at a fixed tempo in 4/4.
class FakePlayHead : public juce::AudioPlayHead
{
public:
    explicit FakePlayHead(double bpmToUse, double sampleRateToUse)
        : bpm(bpmToUse), sampleRate(sampleRateToUse)
    {
    }

    juce::Optional<PositionInfo> getPosition() const override;
    void advance(int numSamples) { samplePosition += numSamples; }

    bool playing = true;

private:
    double bpm;
    double sampleRate;
    juce::int64 samplePosition = 0;
};
} // namespace brambleway
