#pragma once

// The effect panel host under the all-lines strip: the selected line's filter panel, one column per line
// with its solo button, effect box and effect panel, and the global panel at the right edge.

#include "AllOtherEffectsPanel.h"
#include "FilterPanel.h"
#include "MyLookAndFeel.h"
#include "PluginProcessor.h"

#include <array>
#include <memory>

class EffectPanel : public juce::Component
{
public:
    explicit EffectPanel(BramblewayAudioProcessor& processor);

    void paint(juce::Graphics& g) override;
    void resized() override;

    // Shows the line's filter panel, highlights its column and, inside the editor, marks its grid row.
    void setFilterPanel(int line);
    int getCurrentLine() const noexcept { return currentLine; }

    FilterPanel& filterPanel(int line) { return *filterPanels[line]; }
    // The panel a line shows for an effect choice index (the order of effectChoicesStr).
    juce::Component& effectPanel(int line, int choice) { return *effectPanels[(size_t) choice][line]; }

private:
    using Tree = juce::AudioProcessorValueTreeState;

    int currentChoice(int line) const;

    MyLookAndFeel myLookAndFeel;
    BramblewayAudioProcessor& processor;
    int currentLine = 0;
    juce::OwnedArray<FilterPanel> filterPanels;
    std::array<juce::OwnedArray<juce::Component>, numEffectTypes> effectPanels;
    std::array<juce::RangedAudioParameter*, numLines> effectParameters{};

public:
    GlobalPanel globalPanel;
    juce::OwnedArray<juce::ComboBox> effectBoxes;
    juce::OwnedArray<juce::TextButton> soloButtons;

private:
    juce::OwnedArray<Tree::ButtonAttachment> soloAttachments;
    juce::OwnedArray<Tree::ComboBoxAttachment> effectAttachments;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(EffectPanel)
};
