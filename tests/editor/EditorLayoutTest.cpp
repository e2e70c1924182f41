// Child bounds of the editor at its fixed size, worked out by hand from the layout rules: 20 for the
// header, five 40-high rows, 60 for the all-lines strip, the rest for the effect panel; the rows and the
// strip cut their controls from the right in fixed widths.

#include "EditorFixture.h"

namespace
{
using Rect = juce::Rectangle<int>;

struct BoundsCase
{
    const char* name;
    std::function<juce::Component&(BramblewayAudioProcessorEditor&)> component;
    Rect expected;
};

Grids& row(BramblewayAudioProcessorEditor& e, int line)
{
    return *e.grids[line];
}
} // namespace

TEST_F(EditorTest, HasAFixedSizeAndStacksItsChildrenInOrder)
{
    EXPECT_EQ(editor->getWidth(), 1040);
    EXPECT_EQ(editor->getHeight(), 550);
    EXPECT_FALSE(editor->isResizable());

    // Bottom to top: rows, effect panel, header, all-lines strip, then the modulation screen over all.
    const juce::Component* expected[] = {editor->grids[0], editor->grids[1],  editor->grids[2],
                                         editor->grids[3], editor->grids[4],  &editor->effectPanel,
                                         &editor->header,  &editor->allPanel, &editor->modulationPanel};
    ASSERT_EQ(editor->getNumChildComponents(), (int) std::size(expected));
    for (int i = 0; i < (int) std::size(expected); ++i)
    {
        EXPECT_EQ(editor->getChildComponent(i), expected[i]) << "z-order position " << i;
        EXPECT_EQ(expected[i]->isVisible(), expected[i] != &editor->modulationPanel) << "position " << i;
    }
}

TEST_F(EditorTest, PlacesEveryPanelAndControlWhereTheLayoutSays)
{
    using E = BramblewayAudioProcessorEditor;
    const auto headerLabel = [](int i)
    {
        return [i](E& e) -> juce::Component& { return *e.header.labels[i]; };
    };
    const auto all = [](auto member)
    {
        return [member](E& e) -> juce::Component& { return e.allPanel.*member; };
    };
    const auto rand = [](int i)
    {
        return [i](E& e) -> juce::Component& { return e.allPanel.randButtons[(size_t) i]; };
    };
    const auto lineButton = [](int i)
    {
        return [i](E& e) -> juce::Component& { return e.allPanel.lineButtons[(size_t) i]; };
    };
    // Row controls are checked on row 3: every row lays out alike in its own coordinates.
    const auto ctl = [](auto member)
    {
        return [member](E& e) -> juce::Component& { return row(e, 3).*member; };
    };

    const BoundsCase cases[] = {
        {"modulation screen", [](E& e) -> juce::Component& { return e.modulationPanel; }, {0, 0, 1040, 550}},
        {"header", [](E& e) -> juce::Component& { return e.header; }, {4, 0, 1032, 20}},
        {"row 0", [](E& e) -> juce::Component& { return row(e, 0); }, {4, 20, 1032, 40}},
        {"row 1", [](E& e) -> juce::Component& { return row(e, 1); }, {4, 60, 1032, 40}},
        {"row 2", [](E& e) -> juce::Component& { return row(e, 2); }, {4, 100, 1032, 40}},
        {"row 3", [](E& e) -> juce::Component& { return row(e, 3); }, {4, 140, 1032, 40}},
        {"row 4", [](E& e) -> juce::Component& { return row(e, 4); }, {4, 180, 1032, 40}},
        {"all-lines strip", [](E& e) -> juce::Component& { return e.allPanel; }, {0, 220, 1040, 60}},
        {"effect panel", [](E& e) -> juce::Component& { return e.effectPanel; }, {0, 280, 1040, 270}},

        {"Solo title", headerLabel(0), {25, 0, 50, 20}},
        {"GRIDS title", headerLabel(1), {75, 0, 473, 20}},
        {"#Grid title", headerLabel(2), {548, 0, 60, 20}},
        {"Speed title", headerLabel(3), {608, 0, 60, 20}},
        {"Duration title", headerLabel(4), {668, 0, 80, 20}},
        {"Vol title", headerLabel(5), {758, 0, 40, 20}},
        {"Pan title", headerLabel(6), {798, 0, 60, 20}},
        {"Effects title", headerLabel(7), {858, 0, 90, 20}},
        {"A title", headerLabel(8), {948, 0, 47, 20}},
        {"D title", headerLabel(9), {995, 0, 37, 20}},

        {"row decay", ctl(&Grids::decayKnob), {992, 0, 40, 40}},
        {"row attack", ctl(&Grids::attackKnob), {952, 0, 40, 40}},
        {"row effect box", ctl(&Grids::effectBox), {854, 8, 96, 24}},
        {"row pan", ctl(&Grids::panKnob), {802, 0, 50, 40}},
        {"row volume", ctl(&Grids::volumeKnob), {752, 0, 50, 40}},
        {"row meter", ctl(&Grids::meter), {742, 0, 10, 40}},
        {"row duration box", ctl(&Grids::durationBox), {677, 8, 60, 24}},
        {"row speed box", ctl(&Grids::speedBox), {607, 8, 60, 24}},
        {"row grid count", ctl(&Grids::gridNumKnob), {552, 0, 50, 40}},
        {"row line label", ctl(&Grids::lineLabel), {0, 0, 25, 40}},
        {"row solo", ctl(&Grids::soloButton), {35, 10, 20, 20}},
        {"row strip", [](E& e) -> juce::Component& { return *row(e, 3).strip; }, {65, 0, 487, 13}},

        {"all decay", all(&GolabalAllPanel::decayKnob), {996, 2, 40, 36}},
        {"all attack", all(&GolabalAllPanel::attackKnob), {956, 2, 40, 36}},
        {"all effect box", all(&GolabalAllPanel::effectBox), {858, 10, 96, 20}},
        {"all pan", all(&GolabalAllPanel::panKnob), {806, 2, 50, 36}},
        {"all volume", all(&GolabalAllPanel::volumeKnob), {756, 2, 50, 36}},
        {"all duration box", all(&GolabalAllPanel::durationBox), {681, 10, 60, 20}},
        {"all speed box", all(&GolabalAllPanel::speedBox), {611, 10, 60, 20}},
        {"all grid count", all(&GolabalAllPanel::gridNumKnob), {556, 2, 50, 36}},
        {"ALL Edit label", all(&GolabalAllPanel::allEditLabel), {466, 14, 90, 36}},
        {"Randomize label", all(&GolabalAllPanel::randomizeLabel), {196, 23, 70, 18}},
        {"line button 1", lineButton(0), {269, 23, 34, 18}},
        {"line button 2", lineButton(1), {309, 23, 34, 18}},
        {"line button 3", lineButton(2), {349, 23, 34, 18}},
        {"line button 4", lineButton(3), {389, 23, 34, 18}},
        {"line button 5", lineButton(4), {429, 23, 34, 18}},
        // Each "Rand" sits under its control, 7 in from either side.
        {"Rand grid count", rand(0), {563, 37, 36, 16}},
        {"Rand volume", rand(1), {763, 37, 36, 16}},
        {"Rand speed", rand(2), {618, 37, 46, 16}},
        {"Rand duration", rand(3), {688, 37, 46, 16}},
        {"Rand effect", rand(4), {865, 37, 82, 16}},
        {"Rand pan", rand(5), {813, 37, 36, 16}},
        {"Rand attack", rand(6), {963, 37, 26, 16}},
        {"Rand decay", rand(7), {1003, 37, 26, 16}},
    };

    for (const auto& c : cases)
        EXPECT_EQ(c.component(*editor).getBounds(), c.expected) << c.name;
}

TEST_F(EditorTest, RowsStackTheirControlsWithTheBlocksOnTop)
{
    auto& r = *editor->grids[2];
    const juce::Component* expected[] = {&r.soloButton,  &r.lineLabel,  &r.gridNumKnob, &r.speedBox,
                                         &r.durationBox, &r.volumeKnob, &r.effectBox,   &r.meter,
                                         &r.panKnob,     &r.attackKnob, &r.decayKnob,   r.strip.get()};
    const int controls = (int) std::size(expected);
    ASSERT_EQ(r.getNumChildComponents(), controls + numBlocks);
    for (int i = 0; i < controls; ++i)
        EXPECT_EQ(r.getChildComponent(i), expected[i]) << "z-order position " << i;
    for (int i = 0; i < numBlocks; ++i)
        EXPECT_EQ(r.getChildComponent(controls + i), r.blocks[i]) << "block " << i;
}

// The blocks area is (67, 15, 483, 23). Each block has a minimum width of 483 / n - 2 and a margin of 1, so
// n blocks fill the area exactly: block i spans from 67 + i * 483 / n + 1 to 67 + (i + 1) * 483 / n - 1,
// with the edges truncated to whole pixels.
TEST_F(EditorTest, GridCountLaysOutThatManyBlocksAcrossTheRow)
{
    struct Case
    {
        int count;
        int block;
        Rect expected;
    };
    const Case cases[] = {
        {1, 0, {68, 16, 481, 21}},   {16, 0, {68, 16, 28, 21}}, // 30.1875 per block
        {16, 1, {98, 16, 28, 21}},                              // 98.1875 .. 126.375
        {16, 15, {520, 16, 29, 21}},                            // 520.8125 .. 549
        {32, 0, {68, 16, 13, 21}},                              // 15.09375 per block
        {32, 31, {535, 16, 14, 21}},                            // 535.90625 .. 549
    };

    auto& r = *editor->grids[1];
    for (const auto& c : cases)
    {
        setPlain(Stem::GridNum, 1, (float) c.count);
        EXPECT_EQ(r.blocks[c.block]->getBounds(), c.expected) << c.count << " blocks, block " << c.block;
        for (int i = 0; i < numBlocks; ++i)
            EXPECT_EQ(r.blocks[i]->isVisible(), i < c.count) << c.count << " blocks, block " << i;
    }
}

TEST_F(EditorTest, LoweringTheGridCountHidesBlocksButKeepsTheirState)
{
    auto& r = *editor->grids[4];
    setBlock(4, 20, true);
    setBlock(4, 3, true);

    setPlain(Stem::GridNum, 4, 8.0f);
    EXPECT_FALSE(r.blocks[20]->isVisible());
    EXPECT_TRUE(r.blocks[20]->getToggleState());
    EXPECT_EQ(block(4, 20), 1.0f);
    EXPECT_TRUE(r.blocks[3]->isVisible());

    setPlain(Stem::GridNum, 4, 32.0f);
    EXPECT_TRUE(r.blocks[20]->isVisible());
    EXPECT_TRUE(r.blocks[20]->getToggleState());
    EXPECT_EQ(block(4, 20), 1.0f);
}

TEST_F(EditorTest, ModulationScreenPlacesItsCloseButtonByEffectType)
{
    // The filter's screen keeps 3.4 / 5 of the width on the left, the effects' 4.2 / 5.
    struct Case
    {
        int effectType;
        Rect title;
        Rect close;
    };
    const Case cases[] = {
        {0, {707, 0, 333, 20}, {727, 495, 293, 40}},
        {1, {873, 0, 167, 20}, {893, 495, 127, 40}},
    };
    for (const auto& c : cases)
    {
        editor->showModulationScreen(c.effectType, 2);
        EXPECT_EQ(editor->modulationPanel.title.getBounds(), c.title) << c.effectType;
        EXPECT_EQ(editor->modulationPanel.closeButton.getBounds(), c.close) << c.effectType;
        editor->closeModulationScreen();
    }
}
