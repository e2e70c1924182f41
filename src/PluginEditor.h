#pragma once

// The plug-in window: column titles, the five grid rows, the all-lines strip, the effect panel host and
// the automation-line screen over everything.

#include "EffectModulationPanel.h"
#include "EffectsPanel.h"
#include "Grids.h"
#include "MyLookAndFeel.h"
#include "PluginProcessor.h"

#include <array>
#include <vector>

class HeaderPanel : public juce::Component
{
public:
    HeaderPanel();

    void paint(juce::Graphics& g) override;
    void resized() override;

    // One per entry of topLabel, in table order.
    juce::OwnedArray<juce::Label> labels;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(HeaderPanel)
};

// Writes one value into the same setting of all five lines, draws random values per line and clears or
// fills a line's blocks.
class GolabalAllPanel : public juce::Component
{
public:
    explicit GolabalAllPanel(BramblewayAudioProcessor& processor);

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    void setUpKnob(CustomRoratySlider& knob, double minimum, double maximum, double step, int stem);
    void setUpBox(juce::ComboBox& box, const juce::StringArray& items, int stem);
    // Each line draws its own value within the stem's range.
    void randomiseStem(int stem);
    // A line with any block on is cleared; an empty one is filled at random.
    void clearOrFillLine(int line);

    BramblewayAudioProcessor& processor;
    MyLookAndFeel myLookAndFeel;

    struct StemControl
    {
        juce::Component* control;
        int stem;
    };
    // The knobs and boxes in the order they are set up, with the stem each writes to all lines.
    std::vector<StemControl> stemControls;

public:
    CustomRoratySlider gridNumKnob;
    CustomRoratySlider volumeKnob;
    juce::ComboBox speedBox;
    juce::ComboBox durationBox;
    juce::ComboBox effectBox;
    CustomRoratySlider panKnob;
    CustomRoratySlider attackKnob;
    CustomRoratySlider decayKnob;
    // One under each control above, in the same order, drawing values for its stem.
    std::array<juce::TextButton, 8> randButtons;
    std::array<juce::TextButton, numLines> lineButtons;
    juce::Label randomizeLabel;
    juce::Label allEditLabel;

private:
    int titleWidth = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(GolabalAllPanel)
};

class BramblewayAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit BramblewayAudioProcessorEditor(BramblewayAudioProcessor& processorToUse);

    void paint(juce::Graphics& g) override;
    void resized() override;

    // A grid row was clicked: the line's panels come to the front and its row is drawn as selected.
    void selectLine(int line);
    // A grid row's solo button changed: the lines heard are recomputed from the rows' solo flags.
    void setSoloFlag(int line, bool soloed);
    // Opens the automation-line screen over the grid rows; ignored while it is open.
    void showModulationScreen(int effectType, int line);
    void closeModulationScreen();

private:
    void setGridRowsVisible(bool visible);

    BramblewayAudioProcessor& audioProcessor;

public:
    juce::OwnedArray<Grids> grids;
    EffectPanel effectPanel;
    EffectModulationPanel modulationPanel;
    HeaderPanel header;
    GolabalAllPanel allPanel;
    int selectedLine = 0;

private:
    std::array<int, numLines> soloFlags{};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BramblewayAudioProcessorEditor)
};
