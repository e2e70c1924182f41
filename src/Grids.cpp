#include "Grids.h"
#include "PluginEditor.h"

#include <cmath>

namespace
{
const juce::Colour selectedRowFill{0xFF181818};
const juce::Colour rowFill{0xFF222222};
const juce::Colour meterColour{0xFF32CD32};

// Position within a length published by the audio thread; negative when there is nothing to show.
float fraction(const std::atomic<int>& position, const std::atomic<int>& length)
{
    const int total = length.load(std::memory_order_relaxed);
    return total > 0 ? (float) position.load(std::memory_order_relaxed) / (float) total : -1.0f;
}

void styleBlock(juce::TextButton& block, int line)
{
    block.setColour(juce::TextButton::buttonColourId, buttonsDefaultColours);
    block.setColour(juce::TextButton::buttonOnColourId, colourarray[line]);
    block.setColour(juce::ComboBox::outlineColourId, buttonsDefaultColours);
    block.setButtonText({});
}
} // namespace

void layOutFromRight(juce::Rectangle<int>& area, std::initializer_list<RightCut> cuts)
{
    for (const auto& cut : cuts)
    {
        const auto slot = area.removeFromRight(cut.width);
        if (cut.component != nullptr)
            cut.component->setBounds(slot.reduced(cut.insetX, cut.insetY));
    }
}

double noteUnitFactor(int selectedId)
{
    // The list runs dotted, plain, triplet for each power of two: each triple doubles the rate.
    const int k = juce::jmax(0, selectedId - 1);
    return std::pow(2.0, k / 3) * std::pow(1.5, k % 3);
}

//==============================================================================
SubGrids::SubGrids(BramblewayAudioProcessor& processorToUse, Grids& rowToUse, int lineToUse)
    : processor(processorToUse), row(rowToUse), line(lineToUse)
{
    startTimer(20);
}

int SubGrids::blockX(int block) const
{
    return row.blocks[juce::jlimit(0, numBlocks - 1, block)]->getX() - getX();
}

void SubGrids::paint(juce::Graphics& g)
{
    g.setColour(buttonsDefaultColours);
    g.fillRect(blockX(0), getHeight() - 2, getWidth(), 2);

    const int count = (int) row.gridNumKnob.getValue();
    const float pitch = count >= 2 ? (float) (blockX(1) - blockX(0)) : (float) row.blocks[0]->getWidth();
    // The duration unit measured in steps of the speed unit.
    const float envelopeWidth = pitch * (float) (noteUnitFactor(row.speedBox.getSelectedId()) /
                                                 noteUnitFactor(row.durationBox.getSelectedId()));

    drawEnvelopes(g, envelopeWidth);
    if (processor.wasPlaying.load(std::memory_order_relaxed))
        drawPlayPosition(g, pitch, envelopeWidth);
}

void SubGrids::drawEnvelopes(juce::Graphics& g, float envelopeWidth)
{
    const float we = (float) (int) envelopeWidth;
    const float attack = processor.liveValue(Stem::LINEVOLATTACK, line);
    const float decay = processor.liveValue(Stem::LINEVOLDECAY, line);
    const float bottom = (float) getHeight() - 4.0f;
    const double count = row.gridNumKnob.getValue();

    g.setColour(colourarray[line]);
    for (int i = 0; i < numBlocks && i < count; ++i)
    {
        if (!row.blocks[i]->getToggleState())
            continue;
        const float x = (float) blockX(i);
        juce::Path envelope;
        envelope.startNewSubPath(x, bottom);
        envelope.lineTo(x + attack * we, 3.0f);
        envelope.lineTo(x + (1.0f - decay) * we, 3.0f);
        envelope.lineTo(x + we, bottom);
        envelope.closeSubPath();
        g.fillPath(envelope.createPathWithRoundedCorners(2.0f));
    }
}

void SubGrids::drawPlayPosition(juce::Graphics& g, float pitch, float envelopeWidth)
{
    const auto l = (size_t) line;
    const int h = getHeight();

    const float progress = fraction(processor.blockSampleCounter[l], processor.blockLengthSamples[l]);
    if (progress >= 0.0f)
    {
        const int start = blockX(processor.blockStartStep[l].load(std::memory_order_relaxed));
        const int width = (int) (progress * (float) juce::jmax((int) envelopeWidth, 1));
        juce::DropShadow(juce::Colours::orange, 6, {}).drawForRectangle(g, {start, 2, width, h - 4});
    }

    const int step = processor.currentStep[l].load(std::memory_order_relaxed);
    const float inStep = fraction(processor.stepSampleCounter[l], processor.stepLengthSamples[l]);
    if (inStep >= 0.0f)
    {
        const int width = (int) (inStep * pitch + (float) (blockX(step) - blockX(0)) + 1.0f);
        juce::DropShadow(juce::Colours::yellow.withAlpha(0.7f), 7, {})
            .drawForRectangle(g, {blockX(0), h - 2, width, 2});
    }
}

//==============================================================================
SimpleVueMeter::SimpleVueMeter(BramblewayAudioProcessor& processorToUse, int lineToUse)
    : processor(processorToUse), line(lineToUse)
{
    startTimer(20);
}

void SimpleVueMeter::paint(juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();
    g.setColour(meterColour);
    for (int channel = 0; channel < maxChannels; ++channel)
    {
        const float level =
            processor.meterLevels[(size_t) line][(size_t) channel].load(std::memory_order_relaxed);
        // -100 dB is empty, +6 dB full; the comparison also refuses a level that is not a number.
        const float filled = std::trunc((level + 100.0f) * (float) (h - 1) / 106.0f);
        if (filled >= 0.0f && filled < (float) h)
            g.fillRect(channel * (w / 2), h - (int) filled, w / 2 - 1, (int) filled);
    }
}

//==============================================================================
Grids::Grids(BramblewayAudioProcessor& processorToUse, int lineToUse)
    : processor(processorToUse), meter(processorToUse, lineToUse), line(lineToUse)
{
    myLookAndFeel.setColour(juce::PopupMenu::backgroundColourId, myPopupColour);
    myLookAndFeel.setColour(juce::ComboBox::textColourId, myComboBoxColour);

    for (int i = 0; i < numBlocks; ++i)
    {
        auto* block = blocks.add(new juce::TextButton());
        block->setClickingTogglesState(true);
        block->setConnectedEdges(juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight);
        styleBlock(*block, line);
    }

    for (auto* box : {&speedBox, &durationBox, &effectBox})
        box->setLookAndFeel(&myLookAndFeel);
    speedBox.addItemList(myNotetUnitSA, 1);
    durationBox.addItemList(myNotetUnitSA, 1);
    effectBox.addItemList(effectChoicesStr, 1);
    effectBox.setColour(juce::ComboBox::textColourId, colourarray[line]);

    soloButton.setButtonText("S");
    soloButton.setClickingTogglesState(true);
    soloButton.setColour(juce::TextButton::textColourOffId, juce::Colours::orange);
    soloButton.setColour(juce::TextButton::textColourOnId, juce::Colours::black);
    soloButton.setColour(juce::TextButton::buttonColourId, myButtonColour);
    soloButton.setColour(juce::TextButton::buttonOnColourId, juce::Colours::orange);

    lineLabel.setText(juce::String(line + 1), juce::dontSendNotification);
    lineLabel.setColour(juce::Label::textColourId, juce::Colours::black);
    lineLabel.setJustificationType(juce::Justification::right);

    strip = std::make_unique<SubGrids>(processor, *this, line);

    for (juce::Component* child : std::initializer_list<juce::Component*>{
             &soloButton, &lineLabel, &gridNumKnob, &speedBox, &durationBox, &volumeKnob, &effectBox, &meter,
             &panKnob, &attackKnob, &decayKnob, strip.get()})
        addAndMakeVisible(child);
    for (auto* block : blocks)
        addAndMakeVisible(block);
    // A press on any child reaches mouseDown too; the press time tells repeats apart.
    addMouseListener(this, true);

    attachControls();
    // Set after the attachments, so their first synchronisation is not taken for a user's change.
    setCallbacks();
}

void Grids::attachControls()
{
    auto& tree = processor.getParameterTree();
    for (int i = 0; i < numBlocks; ++i)
        blockAttachments.add(new Tree::ButtonAttachment(tree, blockParameterID(line, i), *blocks[i]));

    const std::pair<int, CustomRoratySlider*> knobs[] = {{Stem::GridNum, &gridNumKnob},
                                                         {Stem::LineVolume, &volumeKnob},
                                                         {Stem::LINEPAN, &panKnob},
                                                         {Stem::LINEVOLATTACK, &attackKnob},
                                                         {Stem::LINEVOLDECAY, &decayKnob}};
    for (const auto& [stem, knob] : knobs)
        knobAttachments.add(new Tree::SliderAttachment(tree, lineParameterID(stem, line), *knob));

    const std::pair<int, juce::ComboBox*> boxes[] = {
        {Stem::Speed, &speedBox}, {Stem::Dur, &durationBox}, {Stem::EFFECT, &effectBox}};
    for (const auto& [stem, box] : boxes)
        boxAttachments.add(new Tree::ComboBoxAttachment(tree, lineParameterID(stem, line), *box));

    soloAttachment =
        std::make_unique<Tree::ButtonAttachment>(tree, lineParameterID(Stem::SOLOSELECT, line), soloButton);
}

void Grids::setCallbacks()
{
    for (auto* block : blocks)
        block->onClick = [this] { strip->repaint(); };
    gridNumKnob.onValueChange = [this]
    {
        resized();
        strip->repaint();
    };
    effectBox.onChange = [this] { selectThisLine(); };
    speedBox.onChange = [this] { repaint(); };
    durationBox.onChange = [this] { repaint(); };
    soloButton.onClick = [this]
    {
        selectThisLine();
        if (auto* editor = dynamic_cast<BramblewayAudioProcessorEditor*>(getParentComponent()))
            editor->setSoloFlag(line, soloButton.getToggleState());
        repaint();
    };
}

void Grids::selectThisLine()
{
    if (auto* editor = dynamic_cast<BramblewayAudioProcessorEditor*>(getParentComponent()))
        editor->selectLine(line);
    processor.editLine = line;
}

void Grids::mouseDown(const juce::MouseEvent& event)
{
    // The row hears one press once for itself and once per listening level.
    const auto pressTime = event.mouseDownTime.toMilliseconds();
    if (pressTime == lastPressTime)
        return;
    lastPressTime = pressTime;
    selectThisLine();
}

void Grids::mouseDoubleClick(const juce::MouseEvent&)
{
    processor.setEffectModulationScreen(effectBox.getSelectedId() - 1, line);
}

void Grids::setSelected(bool shouldBeSelected)
{
    selected = shouldBeSelected;
    effectBox.setColour(juce::ComboBox::textColourId,
                        selected ? colourarray[line].withAlpha(1.0f) : colourarray[line]);
    repaint();
}

void Grids::paint(juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();
    g.fillAll(selected ? selectedRowFill : rowFill);

    g.setColour(myBorderColour);
    g.drawLine(0.0f, (float) h, (float) w, (float) h, 1.0f);

    const auto label = lineLabel.getBounds();
    g.setColour(colourarray[line].withAlpha(selected ? (juce::uint8) 0xFF : (juce::uint8) 0x80));
    g.fillRoundedRectangle((float) label.getX() + 7.0f, (float) label.getY() + 10.0f,
                           (float) juce::jmax(label.getWidth() - 8, 0),
                           (float) juce::jmax(label.getHeight() - 20, 0), 2.0f);
}

void Grids::resized()
{
    auto area = getLocalBounds();
    layOutFromRight(area, {{&decayKnob, 40},
                           {&attackKnob, 40},
                           {&effectBox, 100, 2, 8},
                           {&panKnob, 50},
                           {&volumeKnob, 50},
                           {&meter, 10},
                           {&durationBox, 70, 5, 8},
                           {&speedBox, 70, 5, 8},
                           {&gridNumKnob, 50}});
    lineLabel.setBounds(area.removeFromLeft(25));
    soloButton.setBounds(area.removeFromLeft(40).reduced(10));
    strip->setBounds(area.removeFromTop(13));
    blocksArea = area.reduced(2);
    layOutBlocks();
}

void Grids::layOutBlocks()
{
    const int count = juce::jmin((int) gridNumKnob.getValue(), numBlocks);
    // Before the grid-count knob is attached there is nothing to lay out; blocks keep their state.
    if (count <= 0)
        return;

    juce::FlexBox flex;
    flex.flexDirection = juce::FlexBox::Direction::row;
    flex.flexWrap = juce::FlexBox::Wrap::noWrap;
    flex.alignContent = juce::FlexBox::AlignContent::center;
    flex.justifyContent = juce::FlexBox::JustifyContent::spaceBetween;
    flex.alignItems = juce::FlexBox::AlignItems::stretch;

    for (int i = 0; i < numBlocks; ++i)
    {
        auto* block = blocks[i];
        block->setVisible(i < count);
        if (i >= count)
            continue;
        styleBlock(*block, line);
        flex.items.add(juce::FlexItem(*block)
                           .withMinWidth((float) blocksArea.getWidth() / (float) count - 2.0f)
                           .withMinHeight((float) blocksArea.getHeight() - 2.0f)
                           .withMargin(1.0f));
    }
    flex.performLayout(blocksArea);
}
