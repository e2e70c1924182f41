// What the rows and the all-lines strip do when used: clicks go through the editor's window, so a press
// reaches the block, the row and every listening level exactly as a user's would.

#include "EditorFixture.h"

#include <set>

namespace
{
std::vector<float> allParameterValues(BramblewayAudioProcessor& processor)
{
    std::vector<float> values;
    for (auto* parameter : processor.getParameters())
        values.push_back(parameter->getValue());
    return values;
}

std::array<int, numLines> soloGains(BramblewayAudioProcessor& processor)
{
    std::array<int, numLines> gains{};
    for (size_t i = 0; i < gains.size(); ++i)
        gains[i] = processor.soloGains[i].load();
    return gains;
}
} // namespace

TEST(EditorOpening, ChangesNoParameterAndStartsTheStripAtNeutralValues)
{
    BramblewayAudioProcessor processor;
    for (int line = 0; line < numLines; ++line)
        testing_support::setPlain(processor, lineParameterID(Stem::SOLOSELECT, line),
                                  line == 3 ? 1.0f : 0.0f);
    const auto before = allParameterValues(processor);

    std::unique_ptr<juce::AudioProcessorEditor> owner(processor.createEditorIfNeeded());
    auto& editor = dynamic_cast<BramblewayAudioProcessorEditor&>(*owner);
    testing_support::pumpMessages(50);

    EXPECT_EQ(allParameterValues(processor), before);
    EXPECT_EQ(processor.editLine, 0);
    EXPECT_EQ(editor.selectedLine, 0);
    for (auto* row : editor.grids)
        EXPECT_FALSE(row->isSelected()) << "row " << row->getLine();
    EXPECT_TRUE(editor.grids[3]->soloButton.getToggleState());

    auto& strip = editor.allPanel;
    EXPECT_EQ(strip.gridNumKnob.getValue(), 1.0);
    for (auto* knob : {&strip.volumeKnob, &strip.panKnob, &strip.attackKnob, &strip.decayKnob})
        EXPECT_EQ(knob->getValue(), 0.0);
    for (auto* box : {&strip.speedBox, &strip.durationBox, &strip.effectBox})
        EXPECT_EQ(box->getSelectedId(), 0);
}

TEST_F(EditorTest, ABlockClickTogglesTheBlockAndSelectsTheLineInTheSamePress)
{
    putOnDesktop();
    auto& row = *editor->grids[2];

    click(*row.blocks[5]);
    EXPECT_EQ(block(2, 5), 1.0f);
    EXPECT_EQ(editor->selectedLine, 2);
    EXPECT_EQ(processor.editLine, 2);
    for (auto* r : editor->grids)
        EXPECT_EQ(r->isSelected(), r->getLine() == 2) << "row " << r->getLine();
    EXPECT_EQ(row.effectBox.findColour(juce::ComboBox::textColourId), colourarray[2].withAlpha(1.0f));

    click(*row.blocks[5]);
    EXPECT_EQ(block(2, 5), 0.0f);

    // A press on the row itself, outside every child, selects too.
    auto& other = *editor->grids[4];
    click(other, {30, 5});
    EXPECT_EQ(editor->selectedLine, 4);
    EXPECT_TRUE(other.isSelected());
    EXPECT_FALSE(row.isSelected());
    EXPECT_EQ(row.effectBox.findColour(juce::ComboBox::textColourId), colourarray[2]);
}

TEST_F(EditorTest, ChangingARowsEffectSelectsItsLine)
{
    setPlain(Stem::EFFECT, 3, 9.0f);
    EXPECT_EQ(editor->grids[3]->effectBox.getSelectedId(), 10);
    EXPECT_EQ(editor->selectedLine, 3);
    EXPECT_EQ(processor.editLine, 3);
    EXPECT_TRUE(editor->grids[3]->isSelected());
}

TEST_F(EditorTest, AllLinesControlsSetTheirSettingOnEveryLine)
{
    auto& strip = editor->allPanel;
    const auto knob = [](CustomRoratySlider& k, double v)
    { return [&k, v] { k.setValue(v, juce::sendNotificationSync); }; };
    const auto box = [](juce::ComboBox& b, int id)
    { return [&b, id] { b.setSelectedId(id, juce::sendNotificationSync); }; };

    struct Case
    {
        const char* name;
        std::function<void()> use;
        int stem;
        float expected;
    };
    const Case cases[] = {
        {"grid count", knob(strip.gridNumKnob, 7.0), Stem::GridNum, 7.0f},
        {"volume", knob(strip.volumeKnob, -12.5), Stem::LineVolume, -12.5f},
        {"speed, first item", box(strip.speedBox, 1), Stem::Speed, 0.0f},
        {"duration, last item", box(strip.durationBox, 24), Stem::Dur, 23.0f},
        {"effect, NO EFFECT", box(strip.effectBox, 1), Stem::EFFECT, 0.0f},
        {"effect, DISTORTION", box(strip.effectBox, 14), Stem::EFFECT, 13.0f},
        {"pan", knob(strip.panKnob, -0.4), Stem::LINEPAN, -0.4f},
        {"attack", knob(strip.attackKnob, 0.3), Stem::LINEVOLATTACK, 0.3f},
        {"decay", knob(strip.decayKnob, 0.6), Stem::LINEVOLDECAY, 0.6f},
    };
    for (const auto& c : cases)
    {
        c.use();
        for (int line = 0; line < numLines; ++line)
            EXPECT_NEAR(plain(c.stem, line), c.expected, 1e-5f) << c.name << ", line " << line;
    }
    // The rows follow through their attachments.
    EXPECT_EQ(editor->grids[4]->gridNumKnob.getValue(), 7.0);
    EXPECT_EQ(editor->grids[0]->effectBox.getSelectedId(), 14);
}

TEST_F(EditorTest, LineButtonClearsALineWithBlocksOnAndFillsAnEmptyOneAtRandom)
{
    putOnDesktop();
    juce::Random::getSystemRandom().setSeed(17);
    setBlock(1, 31, true);
    setBlock(0, 7, true);
    auto& lineButton = editor->allPanel.lineButtons[1];

    click(lineButton);
    for (int step = 0; step < numBlocks; ++step)
        EXPECT_EQ(block(1, step), 0.0f) << "step " << step;

    click(lineButton);
    int on = 0;
    for (int step = 0; step < numBlocks; ++step)
    {
        const float value = block(1, step);
        EXPECT_TRUE(value == 0.0f || value == 1.0f) << value;
        on += value == 1.0f ? 1 : 0;
        EXPECT_EQ(editor->grids[1]->blocks[step]->getToggleState(), value == 1.0f) << "step " << step;
    }
    // 32 fair coins: anything but all heads or all tails.
    EXPECT_GT(on, 0);
    EXPECT_LT(on, numBlocks);

    EXPECT_EQ(block(0, 7), 1.0f) << "other lines are left alone";
    EXPECT_EQ(block(2, 7), 0.0f) << "other lines are left alone";
}

TEST_F(EditorTest, EachRandButtonDrawsEveryLineItsOwnLegalValue)
{
    putOnDesktop();
    juce::Random::getSystemRandom().setSeed(5);
    const int stems[] = {Stem::GridNum, Stem::LineVolume, Stem::Speed,         Stem::Dur,
                         Stem::EFFECT,  Stem::LINEPAN,    Stem::LINEVOLATTACK, Stem::LINEVOLDECAY};

    for (size_t i = 0; i < std::size(stems); ++i)
    {
        const int stem = stems[i];
        const auto name = valueTreeNames[stem];
        click(editor->allPanel.randButtons[i]);

        std::set<float> drawn;
        for (int line = 0; line < numLines; ++line)
        {
            const auto range = processor.getParameterTree().getParameterRange(lineParameterID(stem, line));
            const float value = plain(stem, line);
            EXPECT_GE(value, range.start) << name << line;
            EXPECT_LE(value, range.end) << name << line;
            EXPECT_NEAR(range.snapToLegalValue(value), value, 1e-4f) << name << line;
            drawn.insert(value);
        }
        EXPECT_GT(drawn.size(), 1u) << name << ": one draw shared by all lines";
    }
}

TEST_F(EditorTest, SoloButtonsDecideWhichLinesAreHeard)
{
    putOnDesktop();
    using Gains = std::array<int, numLines>;
    struct Step
    {
        int line;
        Gains expected;
    };
    const Step steps[] = {
        {1, {0, 1, 0, 0, 0}},
        {3, {0, 1, 0, 1, 0}},
        {1, {0, 0, 0, 1, 0}},
        {3, {1, 1, 1, 1, 1}}, // the last solo off: everybody is heard again
    };
    for (const auto& step : steps)
    {
        click(editor->grids[step.line]->soloButton);
        EXPECT_EQ(soloGains(processor), step.expected) << "after solo on line " << step.line;
        EXPECT_EQ(editor->selectedLine, step.line);
    }
    EXPECT_EQ(plain(Stem::SOLOSELECT, 1), 0.0f);

    click(editor->grids[2]->soloButton);
    EXPECT_EQ(plain(Stem::SOLOSELECT, 2), 1.0f);
}

TEST_F(EditorTest, DoubleClickOnARowOpensTheModulationScreenForItsEffect)
{
    putOnDesktop();
    setPlain(Stem::EFFECT, 2, 0.0f);
    const auto headerBounds = editor->header.getBounds();
    const auto stripBounds = editor->allPanel.getBounds();

    click(*editor->grids[2], {30, 5}, 2);
    auto& screen = editor->modulationPanel;
    ASSERT_TRUE(screen.isVisible());
    EXPECT_EQ(screen.getEffectType(), 0) << "NO EFFECT opens with effect index 0";
    EXPECT_EQ(screen.getLine(), 2);
    EXPECT_EQ(screen.title.getText(), "FILTER (3)");
    for (auto* row : editor->grids)
        EXPECT_FALSE(row->isVisible()) << "row " << row->getLine();
    EXPECT_TRUE(editor->header.isVisible());
    EXPECT_TRUE(editor->allPanel.isVisible());
    EXPECT_TRUE(editor->effectPanel.isVisible());
    EXPECT_EQ(editor->header.getBounds(), headerBounds);
    EXPECT_EQ(editor->allPanel.getBounds(), stripBounds);

    // A request while the screen is open is ignored.
    processor.setEffectModulationScreen(9, 4);
    EXPECT_EQ(screen.getLine(), 2);
    EXPECT_EQ(screen.getEffectType(), 0);

    click(screen.closeButton);
    EXPECT_FALSE(screen.isVisible());
    for (auto* row : editor->grids)
        EXPECT_TRUE(row->isVisible()) << "row " << row->getLine();

    processor.setEffectModulationScreen(9, 4);
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(screen.title.getText(), "REPEATER (5)");
}
