// Delay and repeater.
// Until their processing is built, these routines pass the line through unchanged.

#include "../PluginProcessor.h"

void BramblewayAudioProcessor::processBlockDleay(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
}

void BramblewayAudioProcessor::processBlockReapeater(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
}
