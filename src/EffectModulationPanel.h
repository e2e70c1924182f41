#pragma once

// The automation-line screen that covers the whole editor. So far it only opens for an effect and a line,
// names them and closes again.

#include "PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

class EffectModulationPanel : public juce::Component
{
public:
    explicit EffectModulationPanel(BramblewayAudioProcessor& processor);

    void paint(juce::Graphics& g) override;
    void resized() override;

    // What to show: an effect type (0: the line filter, otherwise the effect index) on a line.
    void setScreen(int effectTypeToShow, int lineToShow);
    int getEffectType() const noexcept { return effectType; }
    int getLine() const noexcept { return line; }

    juce::TextButton closeButton;
    juce::Label title;

private:
    int line = -1;
    int effectType = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(EffectModulationPanel)
};
