// The effect panel host: which panels show where, how the selected line is marked, and that effect
// changes from outside reach the right column.

#include "EditorFixture.h"

#include <functional>

namespace
{
constexpr int hostWidth = 1040;
constexpr int hostHeight = 270;

// Each effect choice index with the panel class it shows.
const std::vector<std::pair<int, std::function<bool(juce::Component&)>>> panelClasses{
    {0, [](juce::Component& c) { return dynamic_cast<NoEffectPanel*>(&c) != nullptr; }},
    {1, [](juce::Component& c) { return dynamic_cast<ReverbePanel*>(&c) != nullptr; }},
    {2, [](juce::Component& c) { return dynamic_cast<DelayPanel*>(&c) != nullptr; }},
    {3, [](juce::Component& c) { return dynamic_cast<ChorusPanel*>(&c) != nullptr; }},
    {4, [](juce::Component& c) { return dynamic_cast<DecimatorPanel*>(&c) != nullptr; }},
    {5, [](juce::Component& c) { return dynamic_cast<DistortionPanel*>(&c) != nullptr; }},
    {6, [](juce::Component& c) { return dynamic_cast<PhaserPanel*>(&c) != nullptr; }},
    {7, [](juce::Component& c) { return dynamic_cast<PitchShifterPanel*>(&c) != nullptr; }},
    {8, [](juce::Component& c) { return dynamic_cast<CombFilterPanel*>(&c) != nullptr; }},
    {9, [](juce::Component& c) { return dynamic_cast<RepeaterPanel*>(&c) != nullptr; }},
    {10, [](juce::Component& c) { return dynamic_cast<VibratoPanel*>(&c) != nullptr; }},
    {11, [](juce::Component& c) { return dynamic_cast<TremoloPanel*>(&c) != nullptr; }},
    {12, [](juce::Component& c) { return dynamic_cast<RingModulatorPanel*>(&c) != nullptr; }},
    {13, [](juce::Component& c) { return dynamic_cast<DistortionPanel2*>(&c) != nullptr; }},
};

juce::Rectangle<int> columnOf(int line)
{
    return {340 + 115 * line, 25, 115, 245};
}

std::vector<juce::Component*> visiblePanels(EffectPanel& host)
{
    std::vector<juce::Component*> shown;
    for (auto* child : host.getChildren())
        if (child->isVisible() && dynamic_cast<juce::ComboBox*>(child) == nullptr &&
            dynamic_cast<juce::TextButton*>(child) == nullptr)
            shown.push_back(child);
    return shown;
}

void setEffect(BramblewayAudioProcessor& processor, int line, int choice)
{
    testing_support::setPlain(processor, lineParameterID(Stem::EFFECT, line), (float) choice);
}

class EffectPanelHost : public testing::Test
{
protected:
    void SetUp() override { host.setSize(hostWidth, hostHeight); }

    BramblewayAudioProcessor processor;
    EffectPanel host{processor};
};
} // namespace

TEST_F(EffectPanelHost, PlacesTheFilterPanelAndEachLinesHeaderAndEffectColumn)
{
    EXPECT_EQ(host.getCurrentLine(), 0);
    EXPECT_EQ(host.filterPanel(0).getBounds(), juce::Rectangle<int>(0, 0, 340, 270));
    for (int line = 0; line < numLines; ++line)
    {
        SCOPED_TRACE(line);
        EXPECT_EQ(host.soloButtons[line]->getBounds(), juce::Rectangle<int>(340 + 115 * line, 2, 15, 21));
        EXPECT_EQ(host.effectBoxes[line]->getBounds(), juce::Rectangle<int>(357 + 115 * line, 2, 96, 21));
        const int choice = (int) testing_support::plainValue(processor, lineParameterID(Stem::EFFECT, line));
        EXPECT_EQ(host.effectPanel(line, choice).getBounds(), columnOf(line));
        EXPECT_EQ(host.soloButtons[line]->getButtonText(), juce::String(line + 1));
        EXPECT_EQ(host.effectBoxes[line]->getNumItems(), numEffectTypes);
    }
    EXPECT_EQ(host.globalPanel.getBounds(), juce::Rectangle<int>(915, 0, 125, 270));
    // The filter panel of line 0, one effect panel per line and the global panel; the other 69 are hidden.
    EXPECT_EQ(visiblePanels(host).size(), 7u);
}

TEST_F(EffectPanelHost, EveryEffectChoiceShowsItsOwnPanelClassInTheLinesColumn)
{
    for (const auto& [choice, isPanelClass] : panelClasses)
    {
        const int line = choice % numLines;
        SCOPED_TRACE("choice " + std::to_string(choice));
        setEffect(processor, line, choice);
        host.resized();

        auto& panel = host.effectPanel(line, choice);
        EXPECT_TRUE(isPanelClass(panel));
        EXPECT_TRUE(panel.isVisible());
        EXPECT_EQ(panel.getBounds(), columnOf(line));
        EXPECT_EQ(host.effectBoxes[line]->getSelectedId(), choice + 1);
        EXPECT_EQ(visiblePanels(host).size(), 7u);
    }
}

TEST_F(EffectPanelHost, SelectingALineSwapsTheFilterPanelAndLeavesTheColumnsWhereTheyAre)
{
    for (int line = 0; line < numLines; ++line)
        setEffect(processor, line, line + 1);
    host.resized();

    host.setFilterPanel(3);

    EXPECT_EQ(host.getCurrentLine(), 3);
    for (int line = 0; line < numLines; ++line)
    {
        SCOPED_TRACE(line);
        EXPECT_EQ(host.filterPanel(line).isVisible(), line == 3);
        EXPECT_EQ(host.effectPanel(line, line + 1).getBounds(), columnOf(line));
        const auto expectedText = line == 3 ? colourarray[line].withAlpha(1.0f) : colourarray[line];
        EXPECT_EQ(host.effectBoxes[line]->findColour(juce::ComboBox::textColourId), expectedText);
    }
    EXPECT_EQ(host.filterPanel(3).getBounds(), juce::Rectangle<int>(0, 0, 340, 270));
}

TEST_F(EffectPanelHost, PaintsEachHeaderInItsLineColourOpaqueOnlyForTheCurrentLine)
{
    host.setFilterPanel(2);
    const auto image = host.createComponentSnapshot(host.getLocalBounds(), true, 1.0f);
    for (int line = 0; line < numLines; ++line)
    {
        SCOPED_TRACE(line);
        // Inside the rounded fill, clear of its corners and of the centred digit.
        const auto probe = host.soloButtons[line]->getBounds().getTopLeft() + juce::Point<int>(3, 3);
        const auto alpha = line == 2 ? 1.0f : 128.0f / 255.0f;
        const auto expected = juce::Colours::black.interpolatedWith(colourarray[line].withAlpha(1.0f), alpha);
        const auto actual = image.getPixelAt(probe.x, probe.y);
        EXPECT_NEAR(actual.getRed(), expected.getRed(), 2);
        EXPECT_NEAR(actual.getGreen(), expected.getGreen(), 2);
        EXPECT_NEAR(actual.getBlue(), expected.getBlue(), 2);
    }
    // Between two headers the host is black.
    const auto gap = host.effectBoxes[0]->getBounds().getRight() + 1;
    EXPECT_EQ(image.getPixelAt(gap, 12), juce::Colours::black);
}

TEST_F(EditorTest, TheSelectedLinesFilterPanelAndRowFollowSetFilterPanel)
{
    auto& host = editor->effectPanel;
    for (int line : {3, 1, 4})
    {
        SCOPED_TRACE(line);
        host.setFilterPanel(line);
        EXPECT_EQ(editor->selectedLine, line);
        for (auto* row : editor->grids)
            EXPECT_EQ(row->isSelected(), row->getLine() == line) << "row " << row->getLine();
        for (int other = 0; other < numLines; ++other)
            EXPECT_EQ(host.filterPanel(other).isVisible(), other == line);
    }
}

TEST_F(EditorTest, AnEffectChangeFromTheHostShowsTheMatchingPanelAndSelectsTheLine)
{
    auto& host = editor->effectPanel;
    testing_support::pumpMessages(50);

    setEffect(processor, 4, 13);
    testing_support::pumpMessages(50);

    auto& panel = host.effectPanel(4, 13);
    EXPECT_NE(dynamic_cast<DistortionPanel2*>(&panel), nullptr);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.getBounds(), columnOf(4));
    EXPECT_FALSE(host.effectPanel(4, 5).isVisible());
    EXPECT_EQ(editor->selectedLine, 4);
    EXPECT_TRUE(host.filterPanel(4).isVisible());
    EXPECT_EQ(host.effectBoxes[4]->getSelectedId(), 14);
}

TEST_F(EditorTest, TheHeaderSoloButtonAndTheRowSoloButtonMoveTogether)
{
    putOnDesktop();
    auto& host = editor->effectPanel;

    click(*host.soloButtons[2]);
    EXPECT_EQ(plain(Stem::SOLOSELECT, 2), 1.0f);
    EXPECT_TRUE(editor->grids[2]->soloButton.getToggleState());

    click(editor->grids[2]->soloButton);
    EXPECT_EQ(plain(Stem::SOLOSELECT, 2), 0.0f);
    EXPECT_FALSE(host.soloButtons[2]->getToggleState());
}
