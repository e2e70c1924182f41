#pragma once

// How the editor's controls look. The colour constants live in SharedTables.h.

#include "SharedTables.h"

#include <juce_gui_basics/juce_gui_basics.h>

class MyLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawButtonBackground(juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                              bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getPopupMenuFont() override;
    void drawComboBox(juce::Graphics& g, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                      int buttonW, int buttonH, juce::ComboBox& box) override;
    juce::Font getComboBoxFont(juce::ComboBox& box) override;
    void positionComboBoxText(juce::ComboBox& box, juce::Label& label) override;
    void drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                          float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;
    juce::Label* createSliderTextBox(juce::Slider& slider) override;
};

// The knob face: a value wedge under a dark veil, the value as text and a thin outline arc.
class ZelLookAndFeel : public juce::LookAndFeel_V4
{
public:
    void drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                          float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;
};

// A rotary knob without a text box: its look-and-feel draws the value, paint adds the caption.
class CustomRoratySlider : public juce::Slider
{
public:
    CustomRoratySlider();
    ~CustomRoratySlider() override;

    void paint(juce::Graphics& g) override;

    // Drawn under the knob; set it before the knob is first painted.
    juce::String caption;

private:
    ZelLookAndFeel zelLookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CustomRoratySlider)
};

void makePropRandButton(juce::TextButton& button);
void makePropModLineButton(juce::TextButton& button);
