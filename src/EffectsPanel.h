#pragma once

// The effect panel host under the all-lines strip: for now an empty component holding its place.

#include "PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

class EffectPanel : public juce::Component
{
public:
    explicit EffectPanel(BramblewayAudioProcessor& processor);

    // Shows the panels of a line; there are no panels to show yet.
    void setFilterPanel(int line);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(EffectPanel)
};
