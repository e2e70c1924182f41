#pragma once

// The automation-line screen that covers the whole editor: one row per automation line of an effect on a
// line, a play-position bar above them, and the effect's panel and the line's grid settings beside them.

#include "AllOtherEffectsPanel.h"
#include "FilterPanel.h"
#include "PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>
#include <vector>

// Tells every automation row that a block was switched from one of them.
extern juce::ChangeBroadcaster myGridChangeListener;

// One row of the screen: a label and the stem index of the automation line it edits.
struct ModulationRow
{
    juce::String label;
    int paramIndex;
};

// The rows for an effect type (0: the line filter), with its deciding toggle on or off, "Pan" last.
std::vector<ModulationRow> modulationRows(int effectType, bool toggleOn);
// The stem of the toggle that decides an effect type's rows, or -1 when none does.
int modulationRowToggle(int effectType);

// Draws and edits one automation line of a line in place, over one cycle of the line with its blocks.
class EffectModulationLinePanel : public juce::Component,
                                  private juce::Timer,
                                  private LineParameterListener,
                                  private juce::ChangeListener
{
public:
    EffectModulationLinePanel(BramblewayAudioProcessor& processor, int line, int paramIndex,
                              const juce::String& name);
    ~EffectModulationLinePanel() override;

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& event) override;
    void mouseDrag(const juce::MouseEvent& event) override;
    void mouseDoubleClick(const juce::MouseEvent& event) override;

    // The index of the breakpoint within hit range of a point, lowest first, or -1.
    int hitBreakpoint(juce::Point<int> position) const;

    const int paramIndex;
    const juce::String name;

private:
    void parameterValueChanged(int, float) override { startTimer(0); }
    void changeListenerCallback(juce::ChangeBroadcaster*) override { startTimer(0); }
    void timerCallback() override;

    const AutomationLine& automationLine() const;
    template <typename Edit> void edit(Edit&& change);
    juce::Point<float> pixels(juce::Point<float> breakpoint) const;
    bool insertOnCurve(juce::Point<int> mouse);
    void toggleBlockAt(int mouseX);
    void notifyHost();

    int selected = -1;
    juce::Point<int> lastDrag;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(EffectModulationLinePanel)
};

// A glow that grows across the row area once per cycle of the line while the host plays.
class EffectModulationLineTopPanel : public juce::Component, private juce::Timer
{
public:
    EffectModulationLineTopPanel(BramblewayAudioProcessor& processor, int line);

    void paint(juce::Graphics& g) override;

    // How far the line is through its cycle, 0 while the host is stopped.
    float playPosition() const;

private:
    void timerCallback() override { repaint(); }

    BramblewayAudioProcessor& processor;
    const int line;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(EffectModulationLineTopPanel)
};

// A line's solo, grid count, speed and duration, and the reset of all its automation lines.
class EffectModulationGridParampPanel : public juce::Component
{
public:
    EffectModulationGridParampPanel(BramblewayAudioProcessor& processor, int line);
    ~EffectModulationGridParampPanel() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    BramblewayAudioProcessor& processor;
    MyLookAndFeel myLookAndFeel;

public:
    juce::Label gridLabel, speedLabel, durationLabel;
    juce::TextButton solo, clearAutomation;
    juce::ComboBox speedBox, durBox;
    CustomRoratySlider gridKnob;

private:
    using Tree = juce::AudioProcessorValueTreeState;
    std::unique_ptr<Tree::ButtonAttachment> soloAttachment;
    std::unique_ptr<Tree::SliderAttachment> gridAttachment;
    std::unique_ptr<Tree::ComboBoxAttachment> speedAttachment, durAttachment;
    const int line;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(EffectModulationGridParampPanel)
};

class EffectModulationPanel : public juce::Component, private juce::ChangeListener
{
public:
    explicit EffectModulationPanel(BramblewayAudioProcessor& processor);
    ~EffectModulationPanel() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    // Opens the screen for an effect type (0: the line filter, otherwise the effect index) on a line.
    void setScreen(int effectTypeToShow, int lineToShow);
    // Drops the rows, the bar and the grid settings; line and effect type stay.
    void closeScreen();
    void setEffectModulationLineScreen(int effectTypeToShow, int lineToShow);

    int getEffectType() const noexcept { return effectType; }
    int getLine() const noexcept { return line; }
    juce::Component* getPanelOnShow() const noexcept { return panelOnShow; }

    juce::TextButton closeButton;
    juce::Label title;
    juce::OwnedArray<EffectModulationLinePanel> rows;
    std::unique_ptr<EffectModulationLineTopPanel> topPanel;
    std::unique_ptr<EffectModulationGridParampPanel> gridPanel;

private:
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;
    void removeRows();
    void paintStrip(juce::Graphics& g, juce::Rectangle<int> strip, bool vertical);

    BramblewayAudioProcessor& processor;
    // The second set of panels, indexed by effect type and line; entry 0 holds the filter panels.
    std::array<std::array<std::unique_ptr<juce::Component>, numLines>, numEffectTypes> panels;
    int line = -1;
    int effectType = -1;
    juce::Component* panelOnShow = nullptr;
    const int margin = 6;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(EffectModulationPanel)
};
