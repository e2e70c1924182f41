#include "PluginEditor.h"

BramblewayAudioProcessorEditor::BramblewayAudioProcessorEditor(BramblewayAudioProcessor& processor)
    : juce::AudioProcessorEditor(processor), audioProcessor(processor)
{
    setResizable(false, false);
    setSize(1040, 550);
}

void BramblewayAudioProcessorEditor::paint(juce::Graphics& g)
{
    g.fillAll(backgroundColor);
}
