#include "MyLookAndFeel.h"

namespace
{
const juce::Colour knobOutline{0x4CFFA500};
const juce::Colour disabledGrey{0x80808080};
const juce::Colour comboBoxFill{0xFF141414};

juce::Colour buttonBaseColour(juce::Button& button, juce::Colour background, bool highlighted, bool down)
{
    auto base = background.withMultipliedSaturation(button.hasKeyboardFocus(true) ? 1.3f : 0.9f)
                    .withMultipliedAlpha(button.isEnabled() ? 1.0f : 0.5f);
    if (down || highlighted)
        base = base.contrasting(down ? 0.2f : 0.05f);
    return base;
}

bool hasConnectedEdges(const juce::Button& button)
{
    return button.isConnectedOnLeft() || button.isConnectedOnRight() || button.isConnectedOnTop() ||
           button.isConnectedOnBottom();
}

// The knob's own drawing for sizes too small for a face: a ring and a pointer.
void drawTinyKnob(juce::Graphics& g, juce::Point<float> centre, float radius, float diameter, float angle)
{
    juce::Path ring;
    ring.addEllipse(-0.4f * diameter, -0.4f * diameter, 0.8f * diameter, 0.8f * diameter);
    juce::Path knob;
    juce::PathStrokeType(diameter * 0.1f).createStrokedPath(knob, ring);
    knob.addLineSegment(juce::Line<float>(0.0f, 0.0f, 0.0f, -radius), diameter * 0.2f);
    g.fillPath(knob, juce::AffineTransform::rotation(angle).translated(centre));
}
void styleSmallButton(juce::TextButton& button, const juce::String& text, juce::Colour textOff,
                      juce::Colour textOn, juce::Colour fill)
{
    button.setButtonText(text);
    button.setColour(juce::TextButton::textColourOffId, textOff);
    button.setColour(juce::TextButton::textColourOnId, textOn);
    button.setColour(juce::TextButton::buttonColourId, fill);
    button.setColour(juce::TextButton::buttonOnColourId, juce::Colours::orange);
}
} // namespace

void MyLookAndFeel::drawButtonBackground(juce::Graphics& g, juce::Button& button,
                                         const juce::Colour& backgroundColour,
                                         bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    // Joined buttons keep the framework's look; only free-standing ones get the orange outline.
    if (hasConnectedEdges(button))
    {
        LookAndFeel_V4::drawButtonBackground(g, button, backgroundColour, shouldDrawButtonAsHighlighted,
                                             shouldDrawButtonAsDown);
        return;
    }

    constexpr float cornerSize = 6.0f;
    const auto bounds = button.getLocalBounds().toFloat().reduced(0.5f);
    g.setColour(
        buttonBaseColour(button, backgroundColour, shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown));
    g.fillRoundedRectangle(bounds, cornerSize);
    g.setColour(juce::Colours::orange);
    g.drawRoundedRectangle(bounds, cornerSize, 1.0f);
}

juce::Font MyLookAndFeel::getPopupMenuFont()
{
    return juce::Font(12.0f);
}

void MyLookAndFeel::drawComboBox(juce::Graphics& g, int width, int height, bool, int, int, int, int,
                                 juce::ComboBox& box)
{
    const float corner =
        box.findParentComponentOfClass<juce::ChoicePropertyComponent>() != nullptr ? 0.0f : 3.0f;
    g.setColour(comboBoxFill);
    g.fillRoundedRectangle(0.0f, 0.0f, (float) width, (float) height, corner);
    g.setColour(knobOutline);
    g.drawRoundedRectangle(0.5f, 0.5f, (float) width - 1.0f, (float) height - 1.0f, corner, 1.0f);

    const int cy = height / 2;
    juce::Path arrow;
    arrow.startNewSubPath((float) width - 12.0f, (float) cy - 2.0f);
    arrow.lineTo((float) width - 8.0f, (float) cy + 3.0f);
    arrow.lineTo((float) width - 3.0f, (float) cy - 2.0f);
    g.setColour(myComboBoxColour);
    g.strokePath(arrow, juce::PathStrokeType(2.0f));
}

juce::Font MyLookAndFeel::getComboBoxFont(juce::ComboBox& box)
{
    return juce::Font(juce::jmin(12.0f, (float) box.getHeight() * 0.85f));
}

void MyLookAndFeel::positionComboBoxText(juce::ComboBox& box, juce::Label& label)
{
    label.setBounds(1, 1, box.getWidth() - 20, box.getHeight() - 2);
    label.setFont(getComboBoxFont(box));
}

void MyLookAndFeel::drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                     float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    const auto bounds = juce::Rectangle<int>(x, y, width, height).toFloat().reduced(5.0f);
    const float radius = juce::jmin(bounds.getWidth(), bounds.getHeight()) / 2.0f;
    const float lineW = juce::jmin(2.0f, radius / 2.0f);
    const float arcRadius = radius - lineW / 2.0f;
    const float toAngle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);
    const juce::PathStrokeType stroke(lineW, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);

    juce::Path backgroundArc;
    backgroundArc.addCentredArc(bounds.getCentreX(), bounds.getCentreY(), arcRadius, arcRadius, 0.0f,
                                rotaryStartAngle, rotaryEndAngle, true);
    g.setColour(juce::Colours::grey);
    g.strokePath(backgroundArc, stroke);

    if (slider.isEnabled())
    {
        juce::Path valueArc;
        valueArc.addCentredArc(bounds.getCentreX(), bounds.getCentreY(), arcRadius, arcRadius, 0.0f,
                               rotaryStartAngle, toAngle, true);
        g.setColour(slider.findColour(juce::Slider::rotarySliderFillColourId));
        g.strokePath(valueArc, stroke);
    }

    const float pointerLength = arcRadius - 1.0f;
    const juce::Point<float> tip(
        bounds.getCentreX() + pointerLength * std::cos(toAngle - juce::MathConstants<float>::halfPi),
        bounds.getCentreY() + pointerLength * std::sin(toAngle - juce::MathConstants<float>::halfPi));
    g.setColour(slider.findColour(juce::Slider::thumbColourId));
    g.drawLine({backgroundArc.getBounds().getCentre(), tip}, lineW);
}

juce::Label* MyLookAndFeel::createSliderTextBox(juce::Slider& slider)
{
    auto* label = LookAndFeel_V4::createSliderTextBox(slider);
    label->setFont(label->getFont().withHeight(12.0f));
    return label;
}

void ZelLookAndFeel::drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                      float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    const float radius = (float) juce::jmin(width / 2, height / 2) - 2.0f;
    const juce::Point<float> centre((float) x + (float) width / 2.0f, (float) y + (float) height / 2.0f);
    const float rx = centre.x - radius;
    const float ry = centre.y - radius;
    const float rw = radius * 2.0f;
    const float angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);
    const bool enabled = slider.isEnabled();
    const bool hot = enabled && slider.isMouseOverOrDragging();

    const auto colour =
        enabled ? slider.findColour(juce::Slider::thumbColourId).withAlpha(hot ? 1.0f : 0.7f) : disabledGrey;
    g.setColour(colour);

    if (radius <= 0.1f)
    {
        drawTinyKnob(g, centre, radius, rw, angle);
        return;
    }

    juce::Path wedge;
    wedge.addPieSegment(rx, ry, rw, rw, angle - 0.1f, angle + 0.1f, hot ? 0.6f : 0.65f);
    g.fillPath(wedge);

    const auto text = slider.getTextFromValue(slider.getValue());
    g.setColour(juce::Colour(0x40000000));
    g.fillEllipse(rx, ry, rw, rw);

    juce::Font font(juce::jlimit(0.1f, 10000.0f, (float) slider.getTextBoxHeight()));
    font.setTypefaceStyle("Regular");
    const int textWidth = (int) std::ceil(font.getStringWidthFloat(text));
    const int t = (int) ((float) width * 0.55f);
    const int u = (int) ((float) height * 0.25f);
    g.setFont(font);
    g.setColour(slider.findColour(juce::Slider::textBoxTextColourId).withAlpha(hot ? 1.0f : 0.7f));
    g.drawText(text, (int) ((float) (t - textWidth) * 0.5f + (float) ((width - t) / 2)), (height - u) / 2,
               textWidth, u, juce::Justification::centred, true);

    juce::Path outline;
    outline.addCentredArc(centre.x, centre.y, radius, radius, 0.0f, rotaryStartAngle, rotaryEndAngle, true);
    g.setColour(enabled ? slider.findColour(juce::Slider::rotarySliderOutlineColourId) : disabledGrey);
    g.strokePath(outline, juce::PathStrokeType(!enabled ? 0.3f : (hot ? 2.0f : 2.2f)));
}

CustomRoratySlider::CustomRoratySlider()
{
    setLookAndFeel(&zelLookAndFeel);
    setSliderStyle(juce::Slider::RotaryHorizontalVerticalDrag);
    setRange(0.0, 100.0, 1.0);
    // The text box stays hidden; its height sets the size of the value text the knob draws.
    setTextBoxStyle(juce::Slider::NoTextBox, false, 50, 11);
    setColour(juce::Slider::rotarySliderFillColourId, juce::Colours::lightgreen);
    setColour(juce::Slider::thumbColourId, juce::Colours::lightgreen);
    setColour(juce::Slider::textBoxOutlineColourId, juce::Colours::transparentBlack);
    setColour(juce::Slider::rotarySliderOutlineColourId, knobOutline);
}

CustomRoratySlider::~CustomRoratySlider()
{
    setLookAndFeel(nullptr);
}

void CustomRoratySlider::paint(juce::Graphics& g)
{
    constexpr float startAngle = juce::MathConstants<float>::pi * 1.25f;
    constexpr float endAngle = juce::MathConstants<float>::pi * 2.75f;
    const int width = getWidth();
    const int height = getHeight();
    getLookAndFeel().drawRotarySlider(g, 0, 0, width, height, (float) valueToProportionOfLength(getValue()),
                                      startAngle, endAngle, *this);

    g.setFont(11.0f);
    g.setColour(juce::Colours::white);
    g.drawFittedText(caption, 0, height - height / 4, width, height / 4, juce::Justification::centred, 0,
                     0.0f);
}

void makePropRandButton(juce::TextButton& button)
{
    styleSmallButton(button, "Rand", myRandButtonTextColour, juce::Colours::white,
                     juce::Colours::transparentBlack);
    // The look-and-feel draws a button's outline in this colour.
    button.setColour(juce::ComboBox::outlineColourId, randOutlineColor);
}

void makePropModLineButton(juce::TextButton& button)
{
    styleSmallButton(button, "Automation Line", juce::Colours::cadetblue, juce::Colours::black,
                     myButtonColour);
}
