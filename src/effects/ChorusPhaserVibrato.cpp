// Chorus-flanger, phaser and vibrato.
// Until their processing is built, these routines pass the line through unchanged.

#include "../PluginProcessor.h"

void BramblewayAudioProcessor::processBlockChorus(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
}

void BramblewayAudioProcessor::processBlockPhaser(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
}

void BramblewayAudioProcessor::processBlockVibrato(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
}
