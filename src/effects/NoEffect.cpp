#include "../PluginProcessor.h"

// "NO EFFECT": the line passes as the sequencer gated it, and a clear buffer stays flagged clear.
void BramblewayAudioProcessor::processBlockEmpty(juce::AudioBuffer<float>&, juce::MidiBuffer&, int) {}
