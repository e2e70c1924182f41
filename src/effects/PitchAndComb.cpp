// Pitch shifter and comb filter.
// Until their processing is built, these routines pass the line through unchanged.

#include "../PluginProcessor.h"

void BramblewayAudioProcessor::processBlockPitchShifter(juce::AudioBuffer<float>&, juce::MidiBuffer&,
                                                        int line)
{
    markHoldingData(line);
}

void BramblewayAudioProcessor::processBlockCombFilter(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
}
