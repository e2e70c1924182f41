#include "EffectsPanel.h"
#include "PluginEditor.h"

namespace
{
using PanelFactory = std::unique_ptr<juce::Component> (*)(BramblewayAudioProcessor&, int);

template <typename Panel>
std::unique_ptr<juce::Component> makePanel(BramblewayAudioProcessor& processor, int line)
{
    return std::make_unique<Panel>(processor, line);
}

struct PanelKind
{
    int choice;
    PanelFactory create;
};

// In the order the panels are created, which is their order among the host's children.
const std::array<PanelKind, numEffectTypes> panelKinds{{
    {1, makePanel<ReverbePanel>},
    {2, makePanel<DelayPanel>},
    {3, makePanel<ChorusPanel>},
    {4, makePanel<DecimatorPanel>},
    {7, makePanel<PitchShifterPanel>},
    {5, makePanel<DistortionPanel>},
    {6, makePanel<PhaserPanel>},
    {8, makePanel<CombFilterPanel>},
    {9, makePanel<RepeaterPanel>},
    {0, makePanel<NoEffectPanel>},
    {10, makePanel<VibratoPanel>},
    {11, makePanel<TremoloPanel>},
    {12, makePanel<RingModulatorPanel>},
    {13, makePanel<DistortionPanel2>},
}};

constexpr int filterWidth = 340;
constexpr int headerHeight = 25;
constexpr int columnWidth = 115;
constexpr int soloWidth = 15;
constexpr int effectBoxSlot = 100;

juce::Colour lineColour(int line, bool current)
{
    return current ? colourarray[line].withAlpha(1.0f) : colourarray[line];
}
} // namespace

EffectPanel::EffectPanel(BramblewayAudioProcessor& processorToUse)
    : processor(processorToUse), globalPanel(processorToUse)
{
    myLookAndFeel.setColour(juce::PopupMenu::backgroundColourId, myPopupColour);
    auto& tree = processor.getParameterTree();

    for (int line = 0; line < numLines; ++line)
    {
        addAndMakeVisible(filterPanels.add(new FilterPanel(processor, line)));
        for (const auto& kind : panelKinds)
            addAndMakeVisible(effectPanels[(size_t) kind.choice].add(kind.create(processor, line).release()));

        auto* box = effectBoxes.add(new juce::ComboBox());
        box->setLookAndFeel(&myLookAndFeel);
        box->setColour(juce::ComboBox::textColourId, colourarray[line]);
        box->addItemList(effectChoicesStr, 1);
        addAndMakeVisible(box);

        auto* solo = soloButtons.add(new juce::TextButton(juce::String(line + 1)));
        solo->setColour(juce::TextButton::textColourOffId, juce::Colours::black);
        solo->setColour(juce::TextButton::textColourOnId, juce::Colours::black);
        solo->setClickingTogglesState(true);
        solo->setColour(juce::TextButton::buttonColourId, juce::Colours::transparentBlack);
        solo->setColour(juce::TextButton::buttonOnColourId, juce::Colours::orange);
        solo->setColour(juce::ComboBox::outlineColourId, juce::Colours::transparentBlack);
        addAndMakeVisible(solo);
        soloAttachments.add(new Tree::ButtonAttachment(tree, lineParameterID(Stem::SOLOSELECT, line), *solo));

        effectParameters[(size_t) line] = tree.getParameter(lineParameterID(Stem::EFFECT, line));
        // The attachment selects the line's effect; the grid row, not this box, reacts to changes.
        effectAttachments.add(new Tree::ComboBoxAttachment(tree, lineParameterID(Stem::EFFECT, line), *box));
    }
    addAndMakeVisible(globalPanel);
}

int EffectPanel::currentChoice(int line) const
{
    // The parameter itself, not its tree value: its attachments, the grid row's among them, hear a change
    // before the tree's copy follows.
    const auto* parameter = effectParameters[(size_t) line];
    return juce::jlimit(0, numEffectTypes - 1,
                        juce::roundToInt(parameter->convertFrom0to1(parameter->getValue())));
}

void EffectPanel::setFilterPanel(int line)
{
    currentLine = line;
    resized();
    repaint();
    if (auto* editor = dynamic_cast<BramblewayAudioProcessorEditor*>(getParentComponent()))
    {
        editor->selectedLine = currentLine;
        for (auto* row : editor->grids)
            row->setSelected(editor->selectedLine == row->getLine());
    }
}

void EffectPanel::resized()
{
    const int w = getWidth();
    const int h = getHeight();

    for (auto& kind : effectPanels)
        for (auto* panel : kind)
            panel->setVisible(false);
    for (auto* panel : filterPanels)
        panel->setVisible(false);

    const int fw = juce::jmin(w, filterWidth);
    filterPanels[currentLine]->setBounds(0, 0, fw, h);
    filterPanels[currentLine]->setVisible(true);

    const int hh = juce::jmin(h, headerHeight);
    int headerX = fw, columnX = fw;
    int headerLeft = w - fw, columnLeft = w - fw;
    for (int line = 0; line < numLines; ++line)
    {
        const int cw = juce::jmin(columnLeft, columnWidth);
        const int choice = currentChoice(line);
        auto& panel = effectPanel(line, choice);
        panel.setBounds(clampedRect(columnX, hh, cw, h - hh));
        panel.setVisible(true);

        effectBoxes[line]->setColour(juce::ComboBox::textColourId, lineColour(line, line == currentLine));

        const int cellHeight = juce::jmax(hh - 4, 0);
        const int slot = juce::jmin(headerLeft - soloWidth, effectBoxSlot);
        soloButtons[line]->setBounds(clampedRect(headerX, 2, juce::jmin(headerLeft, soloWidth), cellHeight));
        effectBoxes[line]->setBounds(clampedRect(headerX + soloWidth + 2, 2, slot - 4, cellHeight));
        headerX += soloWidth + slot;
        headerLeft -= soloWidth + slot;

        columnX += cw;
        columnLeft -= cw;
    }
    globalPanel.setBounds(clampedRect(columnX, 0, columnLeft, h));
}

void EffectPanel::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colours::black);
    for (int line = 0; line < numLines; ++line)
    {
        g.setColour(
            colourarray[line].withAlpha(line == currentLine ? (juce::uint8) 0xFF : (juce::uint8) 0x80));
        g.fillRoundedRectangle(soloButtons[line]->getBounds().reduced(1).toFloat(), 2.0f);
    }
}
