// The two distortions and the decimator.
// Until their processing is built, these routines pass the line through unchanged.

#include "../PluginProcessor.h"

void BramblewayAudioProcessor::processBlockDecimator(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
}

void BramblewayAudioProcessor::processBlockDistortion(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
}

void BramblewayAudioProcessor::processBlockDistortion2(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
}
