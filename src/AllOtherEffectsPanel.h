#pragma once

// The per-line effect parameter panels, one class per effect, built from one shared base.

#include "MyLookAndFeel.h"
#include "PluginProcessor.h"

#include <initializer_list>
#include <memory>
#include <vector>

// Tells an open automation-line screen that the list of a line's automation lines may have changed.
extern juce::ChangeBroadcaster myReCreateLineChangeListener;

// One uniform draw over a knob's range, as the panels' "Rand" buttons make it.
void randomiseKnob(juce::Slider& knob);
// One uniform draw over a box's items.
void randomiseBox(juce::ComboBox& box);

// The effect panels' shared layout: a top strip for the automation-line button, rows cut from the rest
// and the slot shapes a control takes within a row.
struct PanelGrid
{
    enum class Slot
    {
        L,
        R,
        L0,
        R0,
        F,
        F3,
        Q,
        Q3,
        B,
        M
    };

    struct Row
    {
        int y = 0;
        int h = 0;
        int bottom() const { return y + h; }
    };

    PanelGrid(int width, int height);

    // The next row from the top, at most a quarter of the space under the strip.
    Row nextRow();
    // Rows continue from y with all that lies below it.
    void restartRowsAt(int y);
    juce::Rectangle<int> slot(Slot shape, Row row) const;

    juce::Rectangle<int> automationButton() const;
    juce::Rectangle<int> randButton() const;

    const int w, h, iw, half, th, q;

private:
    int rowY, left;
};

// The panels' on-off buttons: orange text, orange when on.
void styleToggle(juce::TextButton& toggle, const juce::String& text);

// Sizes never negative: a panel too small for its layout shrinks its controls to nothing.
juce::Rectangle<int> clampedRect(int x, int y, int w, int h);

class EffectParameterPanel : public juce::Component
{
public:
    EffectParameterPanel(BramblewayAudioProcessor& processor, int line, int effectType);

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& event) override;

    int getLine() const noexcept { return line; }
    void randomise();

    juce::TextButton randButton;
    juce::TextButton modLineButton;

protected:
    using Slot = PanelGrid::Slot;
    struct Placement
    {
        Slot slot;
        juce::Component* component;
    };

    // Controls are registered in the order their attachments are made.
    void addKnob(CustomRoratySlider& knob, int stem, const juce::String& caption, bool randomised);
    void addBox(juce::ComboBox& box, int stem, const juce::StringArray& items, bool randomised);
    // A toggle that decides which knobs show; it lays the panel out again and tells the automation screen.
    void addToggle(juce::TextButton& toggle, int stem, const juce::String& text, bool announces = true);
    // Call last in the derived constructor: attaches everything, which may already lay the panel out.
    void attachAll();

    PanelGrid layOutFrame();
    static void place(const PanelGrid& grid, PanelGrid::Row row, std::initializer_list<Placement> slots);
    // The second takes the first's bounds; only one of the two shows.
    static void share(bool showFirst, juce::Component& first, juce::Component& second);

    BramblewayAudioProcessor& processor;
    const int line;

private:
    using Tree = juce::AudioProcessorValueTreeState;
    struct Binding
    {
        juce::Slider* knob;
        juce::ComboBox* box;
        juce::Button* toggle;
        int stem;
    };

    MyLookAndFeel myLookAndFeel;
    const int effectType;
    std::vector<Binding> bindings;
    std::vector<juce::Slider*> randomKnobs;
    std::vector<juce::ComboBox*> randomBoxes;
    std::vector<std::unique_ptr<Tree::SliderAttachment>> knobAttachments;
    std::vector<std::unique_ptr<Tree::ButtonAttachment>> toggleAttachments;
    std::vector<std::unique_ptr<Tree::ComboBoxAttachment>> boxAttachments;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(EffectParameterPanel)
};

class NoEffectPanel : public juce::Component
{
public:
    NoEffectPanel(BramblewayAudioProcessor& processor, int line);
    void paint(juce::Graphics& g) override;

private:
    BramblewayAudioProcessor& processor;
    const int line;
};

class ReverbePanel : public EffectParameterPanel
{
public:
    ReverbePanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider room, damp, wet, dry, width;
    juce::TextButton noTail;
};

class DelayPanel : public EffectParameterPanel
{
public:
    DelayPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider dryWet, delay, syncKnob, feedback;
    juce::TextButton sync;
};

class ChorusPanel : public EffectParameterPanel
{
public:
    ChorusPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider rate, depth, chorusDelay, feedback, mix;
};

class DecimatorPanel : public EffectParameterPanel
{
public:
    DecimatorPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider rate, bit, cutOff;
};

class DistortionPanel : public EffectParameterPanel
{
public:
    DistortionPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider drive, mix, treshold;
    juce::ComboBox mode;
};

class PhaserPanel : public EffectParameterPanel
{
public:
    PhaserPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider depth, feedback, mix, center, rate;
};

class PitchShifterPanel : public EffectParameterPanel
{
public:
    PitchShifterPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider pitch, slide, octave, semi;
    juce::TextButton musical;
};

class CombFilterPanel : public EffectParameterPanel
{
public:
    CombFilterPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider delay, depth, freq, syncFreq;
    juce::TextButton sync;
    juce::ComboBox wave;
};

class RepeaterPanel : public EffectParameterPanel
{
public:
    RepeaterPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider repeate, fadeOut, windowLength;
    juce::ComboBox type;
};

class VibratoPanel : public EffectParameterPanel
{
public:
    VibratoPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider width, freq;
    // Attached but given no area.
    juce::ComboBox wave, interpolation;
};

class TremoloPanel : public EffectParameterPanel
{
public:
    TremoloPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider depth, freq, syncFreq;
    juce::ComboBox wave;
    juce::TextButton sync;
};

class RingModulatorPanel : public EffectParameterPanel
{
public:
    RingModulatorPanel(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider depth, freq, note, octave, cent;
    juce::ComboBox wave;
    juce::TextButton musical;
};

class DistortionPanel2 : public EffectParameterPanel
{
public:
    DistortionPanel2(BramblewayAudioProcessor& processor, int line);
    void resized() override;
    CustomRoratySlider drive, mix, treshold, cutOff;
    juce::ComboBox mode;
};

// The right-hand column: the three global knobs, the bar counter, "Reset All" and the preset controls.
class GlobalPanel : public juce::Component, public juce::Timer
{
public:
    explicit GlobalPanel(BramblewayAudioProcessor& processor);
    ~GlobalPanel() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void timerCallback() override;

    // Asks before deleting the current preset.
    void deletePresetMenu();

private:
    int lastBar = 1;
    BramblewayAudioProcessor& processor;
    MyLookAndFeel myLookAndFeel;

public:
    juce::Label titleLabel;
    CustomRoratySlider volumeKnob, resyncKnob;
    juce::TextButton resetButton, saveButton, deleteButton;
    juce::ComboBox presetBox;
    CustomRoratySlider dryWetKnob;
    juce::Label barLabel, presetsLabel;
    // The "Add Preset" dialog while it is open; the dialog deletes itself when dismissed.
    juce::Component::SafePointer<juce::AlertWindow> nameDialog;

private:
    using Tree = juce::AudioProcessorValueTreeState;

    void resetAll();
    void openNameDialog();
    void saveAs(const juce::String& name);
    void deleteCurrentPreset();
    void loadSelectedPreset();
    // Lists every stored preset; program p is item p.
    void refillPresetBox();
    int storedPresets();

    std::unique_ptr<Tree::SliderAttachment> volumeAttachment, resyncAttachment, dryWetAttachment;
    // Never shown: the delete confirmation takes the default look-and-feel through it.
    juce::Component dialogAnchor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(GlobalPanel)
};
