#include "EffectModulationPanel.h"
#include "PluginEditor.h"

EffectModulationPanel::EffectModulationPanel(BramblewayAudioProcessor&)
{
    closeButton.setButtonText("Close Window");
    closeButton.setColour(juce::TextButton::textColourOffId, juce::Colours::orange);
    closeButton.setColour(juce::TextButton::textColourOnId, juce::Colours::black);
    closeButton.setColour(juce::TextButton::buttonColourId, myButtonColour);
    closeButton.setColour(juce::TextButton::buttonOnColourId, juce::Colours::orange);
    closeButton.onClick = [this]
    {
        if (auto* editor = findParentComponentOfClass<BramblewayAudioProcessorEditor>())
            editor->closeModulationScreen();
    };

    title.setColour(juce::Label::textColourId, juce::Colours::orange);
    title.setJustificationType(juce::Justification::centred);

    addAndMakeVisible(closeButton);
    addAndMakeVisible(title);
}

void EffectModulationPanel::setScreen(int effectTypeToShow, int lineToShow)
{
    effectType = effectTypeToShow;
    line = lineToShow;
    resized();
}

void EffectModulationPanel::paint(juce::Graphics& g)
{
    g.fillAll(backgroundColor);
}

void EffectModulationPanel::resized()
{
    if (line < 0)
        return;

    const int w = getWidth();
    const int h = getHeight();
    // The filter's panel is wider than the effects' panels.
    const double share = effectType == 0 ? 3.4 / 5.0 : 4.2 / 5.0;
    const int leftW = juce::jmin(w, (int) (w * share));
    const int half = h / 2;

    const auto name = effectType == 0 ? juce::String("FILTER") : effectChoicesStr[effectType];
    title.setText(name + " (" + juce::String(line + 1) + ")", juce::sendNotification);
    title.setColour(juce::Label::textColourId, colourarray[line].brighter(0.4f));
    title.setBounds(leftW, 0, w - leftW, juce::jmin(20, h - half));

    const int c = juce::jmin(half, 70);
    closeButton.setBounds(leftW + 20, h - c + 15, juce::jmax(w - leftW - 40, 0), juce::jmax(c, 30) - 30);
}
