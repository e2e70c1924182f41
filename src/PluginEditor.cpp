#include "PluginEditor.h"

#include <algorithm>

namespace
{
constexpr int editorWidth = 1040;
constexpr int editorHeight = 550;

// Header columns, entry for entry with topLabel: the gap before each title and its width, lined up over
// the grid rows' controls. The last title takes whatever is left.
struct HeaderColumn
{
    int gapBefore;
    int width;
};
constexpr int restOfWidth = -1;
constexpr HeaderColumn headerColumns[] = {{25, 50}, {0, 473}, {0, 60}, {0, 60}, {0, 80},
                                          {10, 40}, {0, 60},  {0, 90}, {0, 47}, {0, restOfWidth}};
static_assert(std::size(headerColumns) == 10, "one column per topLabel entry");

const juce::Colour allPanelFill{0xFF101010};
const juce::Colour titleText{0xFF00FFFF};

// Written through the parameter rather than the state tree's value: the tree trails host and attachment
// changes by up to a timer tick, and a write equal to its stale value would be dropped.
void setPlainValue(juce::RangedAudioParameter& parameter, float value)
{
    parameter.beginChangeGesture();
    parameter.setValueNotifyingHost(parameter.convertTo0to1(value));
    parameter.endChangeGesture();
}
} // namespace

//==============================================================================
HeaderPanel::HeaderPanel()
{
    for (const auto& entry : topLabel)
    {
        auto* label = labels.add(new juce::Label(entry, entry));
        label->setColour(juce::Label::textColourId, juce::Colours::orange);
        label->setJustificationType(juce::Justification::centred);
        addAndMakeVisible(label);
    }
}

void HeaderPanel::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colours::black);
}

void HeaderPanel::resized()
{
    auto row = getLocalBounds().withHeight(juce::jmin(getHeight(), 20));
    for (int i = 0; i < labels.size(); ++i)
    {
        const auto column = headerColumns[i];
        row.removeFromLeft(column.gapBefore);
        labels[i]->setBounds(column.width == restOfWidth ? row : row.removeFromLeft(column.width));
    }
}

//==============================================================================
GolabalAllPanel::GolabalAllPanel(BramblewayAudioProcessor& processorToUse) : processor(processorToUse)
{
    myLookAndFeel.setColour(juce::PopupMenu::backgroundColourId, myPopupColour);
    myLookAndFeel.setColour(juce::ComboBox::textColourId, myComboBoxColour);

    // Left to right along the strip; the "Rand" buttons take the same order.
    setUpKnob(gridNumKnob, 1.0, 32.0, 1.0, Stem::GridNum);
    setUpKnob(volumeKnob, -100.0, 6.0, 0.01, Stem::LineVolume);
    setUpBox(speedBox, myNotetUnitSA, Stem::Speed);
    setUpBox(durationBox, myNotetUnitSA, Stem::Dur);
    setUpBox(effectBox, effectChoicesStr, Stem::EFFECT);
    setUpKnob(panKnob, -1.0, 1.0, 0.01, Stem::LINEPAN);
    setUpKnob(attackKnob, 0.0, 1.0, 0.01, Stem::LINEVOLATTACK);
    setUpKnob(decayKnob, 0.0, 1.0, 0.01, Stem::LINEVOLDECAY);

    jassert(stemControls.size() == randButtons.size());
    for (size_t i = 0; i < randButtons.size(); ++i)
    {
        makePropRandButton(randButtons[i]);
        randButtons[i].onClick = [this, stem = stemControls[i].stem] { randomiseStem(stem); };
        addAndMakeVisible(randButtons[i]);
    }

    for (int line = 0; line < numLines; ++line)
    {
        auto& button = lineButtons[(size_t) line];
        makePropRandButton(button);
        button.setButtonText(juce::String(line + 1));
        button.setColour(juce::TextButton::textColourOffId, colourarray[line].withAlpha(1.0f));
        button.onClick = [this, line] { clearOrFillLine(line); };
        addAndMakeVisible(button);
    }

    randomizeLabel.setText("Randomize", juce::dontSendNotification);
    randomizeLabel.setFont(juce::Font(15.0f));
    randomizeLabel.setColour(juce::Label::textColourId, juce::Colours::white.withAlpha(0.6f));
    addAndMakeVisible(randomizeLabel);

    allEditLabel.setText("ALL Edit ! ->", juce::dontSendNotification);
    allEditLabel.setFont(juce::Font(15.0f));
    allEditLabel.setColour(juce::Label::textColourId, juce::Colours::white.withAlpha(0.8f));
    allEditLabel.setJustificationType(juce::Justification::right);
    addAndMakeVisible(allEditLabel);
}

void GolabalAllPanel::setUpKnob(CustomRoratySlider& knob, double minimum, double maximum, double step,
                                int stem)
{
    // The strip follows no line: a knob starts at the legal value nearest 0.
    knob.setRange(minimum, maximum, step);
    knob.onValueChange = [this, &knob, stem] { processor.setGalobalValue(stem, (float) knob.getValue()); };
    addAndMakeVisible(knob);
    stemControls.push_back({&knob, stem});
}

void GolabalAllPanel::setUpBox(juce::ComboBox& box, const juce::StringArray& items, int stem)
{
    box.setLookAndFeel(&myLookAndFeel);
    box.addItemList(items, 1);
    box.onChange = [this, &box, stem]
    { processor.setGalobalValue(stem, (float) box.getSelectedItemIndex()); };
    addAndMakeVisible(box);
    stemControls.push_back({&box, stem});
}

void GolabalAllPanel::randomiseStem(int stem)
{
    auto& random = juce::Random::getSystemRandom();
    for (int line = 0; line < numLines; ++line)
    {
        auto& parameter = *processor.getParameterTree().getParameter(lineParameterID(stem, line));
        const auto& range = parameter.getNormalisableRange();
        setPlainValue(parameter, range.start + (range.end - range.start) * random.nextFloat());
    }
}

void GolabalAllPanel::clearOrFillLine(int line)
{
    auto& tree = processor.getParameterTree();
    std::array<juce::RangedAudioParameter*, numBlocks> blocks{};
    for (int block = 0; block < numBlocks; ++block)
        blocks[(size_t) block] = tree.getParameter(blockParameterID(line, block));

    const bool anyOn =
        std::any_of(blocks.begin(), blocks.end(), [](auto* b) { return b->getValue() == 1.0f; });
    auto& random = juce::Random::getSystemRandom();
    for (auto* block : blocks)
        setPlainValue(*block, anyOn ? 0.0f : (float) random.nextInt(2));
}

void GolabalAllPanel::paint(juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();
    g.fillAll(allPanelFill);

    g.setColour(juce::Colours::white.darker(0.4f));
    g.drawLine(0.0f, 0.0f, (float) w, 0.0f, 1.0f);
    g.drawLine(1.0f, (float) h, (float) w - 1.0f, (float) h, 1.0f);
    g.drawLine(1.0f, 0.0f, 1.0f, (float) h, 1.0f);
    g.drawLine((float) w - 1.0f, 0.0f, (float) w - 1.0f, (float) h, 1.0f);
    g.drawRoundedRectangle(4.0f, 1.0f, (float) juce::jmax(w - 8, 0), (float) juce::jmax(h - 2, 0), 3.0f,
                           0.3f);

    g.setColour(titleText);
    g.drawText("B r a m b l e w a y   V 3", 0, 0, titleWidth, h, juce::Justification::centred, true);
}

void GolabalAllPanel::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    const int topH = juce::jmin(2 * h / 3, h);

    juce::Rectangle<int> top(4, 0, juce::jmax(w - 8, 0), topH);
    layOutFromRight(top, {{&decayKnob, 40, 0, 2},
                          {&attackKnob, 40, 0, 2},
                          {&effectBox, 100, 2, 10},
                          {&panKnob, 50, 0, 2},
                          {&volumeKnob, 50, 0, 2},
                          {nullptr, 10},
                          {&durationBox, 70, 5, 10},
                          {&speedBox, 70, 5, 10},
                          {&gridNumKnob, 50, 0, 2}});
    allEditLabel.setBounds(top.removeFromRight(90).withY(h / 5 + 2).withHeight(topH - 4));

    const int quarter = (topH - 4) / 4;
    auto lower = top.withY(h / 5 + 2 + quarter).withHeight(topH - 4 - 2 * quarter);
    for (int line = numLines - 1; line >= 0; --line)
        lineButtons[(size_t) line].setBounds(lower.removeFromRight(40).reduced(3, 0));
    randomizeLabel.setBounds(lower.removeFromRight(70));
    titleWidth = lower.getWidth();

    const juce::Component* controls[] = {&gridNumKnob, &volumeKnob, &speedBox,   &durationBox,
                                         &effectBox,   &panKnob,    &attackKnob, &decayKnob};
    for (size_t i = 0; i < randButtons.size(); ++i)
    {
        const auto control = controls[i]->getBounds();
        randButtons[i].setBounds(control.getX() + 7, h / 2 + 7, juce::jmax(control.getWidth() - 14, 0),
                                 juce::jmax(h / 2 - 14, 0));
    }
}

//==============================================================================
BramblewayAudioProcessorEditor::BramblewayAudioProcessorEditor(BramblewayAudioProcessor& processorToUse)
    : juce::AudioProcessorEditor(processorToUse), audioProcessor(processorToUse), effectPanel(processorToUse),
      modulationPanel(processorToUse), allPanel(processorToUse)
{
    for (int line = 0; line < numLines; ++line)
        addAndMakeVisible(grids.add(new Grids(audioProcessor, line)));
    addAndMakeVisible(effectPanel);
    addAndMakeVisible(header);
    addAndMakeVisible(allPanel);
    addChildComponent(modulationPanel);

    setResizable(false, false);
    setSize(editorWidth, editorHeight);
}

void BramblewayAudioProcessorEditor::paint(juce::Graphics& g)
{
    g.fillAll(getLookAndFeel().findColour(juce::ResizableWindow::backgroundColourId));
    g.setColour(juce::Colours::grey);
    g.drawRect(getLocalBounds());
}

void BramblewayAudioProcessorEditor::resized()
{
    auto area = getLocalBounds();
    modulationPanel.setBounds(area);
    header.setBounds(area.removeFromTop(20).reduced(4, 0));

    auto gridArea = area.removeFromTop(200);
    const int rowHeight = gridArea.getHeight() / numLines;
    for (auto* row : grids)
        row->setBounds(gridArea.removeFromTop(rowHeight).reduced(4, 0));

    allPanel.setBounds(area.removeFromTop(60));
    effectPanel.setBounds(area);
}

void BramblewayAudioProcessorEditor::selectLine(int line)
{
    effectPanel.setFilterPanel(line);
}

void BramblewayAudioProcessorEditor::setSoloFlag(int line, bool soloed)
{
    soloFlags[(size_t) line] = soloed ? 1 : 0;
    const bool anySolo = std::any_of(soloFlags.begin(), soloFlags.end(), [](int flag) { return flag != 0; });
    // The audio thread recomputes these from the solo parameters at its next block.
    for (size_t i = 0; i < soloFlags.size(); ++i)
        audioProcessor.soloGains[i].store(!anySolo || soloFlags[i] != 0 ? 1 : 0, std::memory_order_relaxed);
}

void BramblewayAudioProcessorEditor::showModulationScreen(int effectType, int line)
{
    if (modulationPanel.isVisible())
        return;
    modulationPanel.setVisible(true);
    setGridRowsVisible(false);
    modulationPanel.setScreen(effectType, line);
}

void BramblewayAudioProcessorEditor::closeModulationScreen()
{
    setGridRowsVisible(true);
    modulationPanel.setVisible(false);
    modulationPanel.closeScreen();
}

void BramblewayAudioProcessorEditor::setGridRowsVisible(bool visible)
{
    for (auto* row : grids)
        row->setVisible(visible);
}
