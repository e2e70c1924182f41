#pragma once

#include "PluginProcessor.h"

class BramblewayAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit BramblewayAudioProcessorEditor(BramblewayAudioProcessor& processor);

    void paint(juce::Graphics& g) override;

private:
    BramblewayAudioProcessor& audioProcessor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BramblewayAudioProcessorEditor)
};
