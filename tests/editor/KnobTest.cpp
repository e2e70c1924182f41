// The knob face: a narrow wedge at the angle of the value on a 270-degree arc open at the bottom, in the
// thumb colour, or grey when the knob is disabled.

#include "MyLookAndFeel.h"

#include <gtest/gtest.h>

namespace
{
bool greenDominates(juce::Colour c)
{
    return c.getAlpha() > 0 && c.getGreen() > c.getRed() + 30 && c.getGreen() > c.getBlue() + 30;
}

bool isGrey(juce::Colour c)
{
    return c.getAlpha() > 0 && std::abs(c.getRed() - c.getGreen()) <= 2 &&
           std::abs(c.getGreen() - c.getBlue()) <= 2;
}
} // namespace

TEST(Knob, DrawsItsWedgeAtTheAngleOfItsValueAndGreysItWhenDisabled)
{
    // A 40 by 40 knob has radius 18 about (20, 20); the wedge fills 11.7 to 18 from the centre. At 15 px
    // the minimum (1.25 pi, clockwise from 12 o'clock) falls on pixel (9, 30), the maximum (2.75 pi) on (30,
    // 30).
    const juce::Point<int> atMinimum{9, 30};
    const juce::Point<int> atMaximum{30, 30};
    struct Case
    {
        const char* what;
        double value;
        bool enabled;
        juce::Point<int> wedge;
        juce::Point<int> elsewhere;
    };
    const Case cases[] = {
        {"minimum", 0.0, true, atMinimum, atMaximum},
        {"maximum", 100.0, true, atMaximum, atMinimum},
        {"disabled at the minimum", 0.0, false, atMinimum, atMaximum},
    };

    for (const auto& c : cases)
    {
        CustomRoratySlider knob;
        knob.setSize(40, 40);
        knob.setValue(c.value, juce::dontSendNotification);
        knob.setEnabled(c.enabled);
        const auto image = knob.createComponentSnapshot(knob.getLocalBounds(), true, 1.0f);

        const auto wedge = image.getPixelAt(c.wedge.x, c.wedge.y);
        if (c.enabled)
            EXPECT_TRUE(greenDominates(wedge)) << c.what << ": " << wedge.toDisplayString(true);
        else
            EXPECT_TRUE(isGrey(wedge)) << c.what << ": " << wedge.toDisplayString(true);
        const auto elsewhere = image.getPixelAt(c.elsewhere.x, c.elsewhere.y);
        EXPECT_FALSE(greenDominates(elsewhere)) << c.what << ": " << elsewhere.toDisplayString(true);
    }
}
