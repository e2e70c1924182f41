#pragma once

// One grid row per line: the line's blocks, its own controls, the envelope and playhead strip above the
// blocks and a level meter.

#include "MyLookAndFeel.h"
#include "PluginProcessor.h"

#include <initializer_list>
#include <memory>

class Grids;

// A slot cut from the right end of a layout row; a null component leaves a gap.
struct RightCut
{
    juce::Component* component;
    int width;
    int insetX = 0;
    int insetY = 0;
};

// Cuts the slots from the right of area, in order, each taking at most what is left.
void layOutFromRight(juce::Rectangle<int>& area, std::initializer_list<RightCut> cuts);

// A note unit's rate relative to the dotted whole note, from a box listing myNotetUnit with IDs from 1.
double noteUnitFactor(int selectedId);

class SubGrids : public juce::Component, private juce::Timer
{
public:
    SubGrids(BramblewayAudioProcessor& processor, Grids& row, int line);

    void paint(juce::Graphics& g) override;

private:
    void timerCallback() override { repaint(); }
    // x of a block relative to this strip.
    int blockX(int block) const;
    void drawEnvelopes(juce::Graphics& g, float envelopeWidth);
    void drawPlayPosition(juce::Graphics& g, float pitch, float envelopeWidth);

    BramblewayAudioProcessor& processor;
    Grids& row;
    const int line;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SubGrids)
};

class SimpleVueMeter : public juce::Component, private juce::Timer
{
public:
    SimpleVueMeter(BramblewayAudioProcessor& processor, int line);

    void paint(juce::Graphics& g) override;

private:
    void timerCallback() override { repaint(); }

    BramblewayAudioProcessor& processor;
    const int line;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SimpleVueMeter)
};

class Grids : public juce::Component
{
public:
    Grids(BramblewayAudioProcessor& processor, int line);

    void paint(juce::Graphics& g) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent& event) override;
    void mouseDoubleClick(const juce::MouseEvent& event) override;

    void setSelected(bool shouldBeSelected);
    bool isSelected() const noexcept { return selected; }
    int getLine() const noexcept { return line; }

private:
    using Tree = juce::AudioProcessorValueTreeState;

    void attachControls();
    void setCallbacks();
    void layOutBlocks();
    // Makes this line the selected one, in the editor and in the processor.
    void selectThisLine();

    MyLookAndFeel myLookAndFeel;
    BramblewayAudioProcessor& processor;

public:
    // The row's controls; the strip and the editor's tests read them.
    juce::OwnedArray<juce::TextButton> blocks;
    CustomRoratySlider gridNumKnob;
    CustomRoratySlider volumeKnob;
    SimpleVueMeter meter;
    juce::ComboBox speedBox;
    juce::ComboBox durationBox;
    juce::ComboBox effectBox;
    CustomRoratySlider panKnob;
    juce::TextButton soloButton;
    juce::Label lineLabel;
    CustomRoratySlider attackKnob;
    CustomRoratySlider decayKnob;
    std::unique_ptr<SubGrids> strip;

private:
    juce::int64 lastPressTime = 0;
    bool selected = false;
    const int line;
    juce::Rectangle<int> blocksArea;

    juce::OwnedArray<Tree::ButtonAttachment> blockAttachments;
    juce::OwnedArray<Tree::SliderAttachment> knobAttachments;
    juce::OwnedArray<Tree::ComboBoxAttachment> boxAttachments;
    std::unique_ptr<Tree::ButtonAttachment> soloAttachment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(Grids)
};
