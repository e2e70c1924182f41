// Tremolo and ring modulator.
// Until their processing is built, these routines pass the line through unchanged.

#include "../PluginProcessor.h"

void BramblewayAudioProcessor::processBlockTremolo(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
}

void BramblewayAudioProcessor::processBlockRingmodulator(juce::AudioBuffer<float>&, juce::MidiBuffer&,
                                                         int line)
{
    markHoldingData(line);
}
