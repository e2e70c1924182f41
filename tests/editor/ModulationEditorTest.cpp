// The automation-line screen: its layout, the rows it offers per effect, and how a row edits its line.

#include "EditorFixture.h"

#include <cmath>

namespace
{
using Rect = juce::Rectangle<int>;

// A row's editing gestures, delivered straight to it; the row never looks at the time or peer.
juce::MouseEvent mouseAt(juce::Component& row, juce::Point<int> position, int clicks = 1)
{
    const auto now = juce::Time::getCurrentTime();
    return {juce::Desktop::getInstance().getMainMouseSource(),
            position.toFloat(),
            juce::ModifierKeys::leftButtonModifier,
            juce::MouseInputSource::defaultPressure,
            juce::MouseInputSource::defaultOrientation,
            juce::MouseInputSource::defaultRotation,
            juce::MouseInputSource::defaultTiltX,
            juce::MouseInputSource::defaultTiltY,
            &row,
            &row,
            now,
            position.toFloat(),
            now,
            clicks,
            false};
}

void press(juce::Component& row, juce::Point<int> at)
{
    row.mouseDown(mouseAt(row, at));
}
void dragTo(juce::Component& row, juce::Point<int> at)
{
    row.mouseDrag(mouseAt(row, at));
}
void doubleClick(juce::Component& row, juce::Point<int> at)
{
    row.mouseDoubleClick(mouseAt(row, at, 2));
}

// Counts what the processor tells its host.
struct HostSpy : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged(juce::AudioProcessor*, int, float) override {}
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails& details) override
    {
        if (details.nonParameterStateChanged)
            ++nonParameterChanges;
    }
    int nonParameterChanges = 0;
};

// Counts repaint requests: a component hands every one to its cached image first.
struct RepaintSpy : juce::CachedComponentImage
{
    void paint(juce::Graphics&) override {}
    bool invalidateAll() override { return ++requests, true; }
    bool invalidate(const juce::Rectangle<int>&) override { return ++requests, true; }
    void releaseResources() override {}
    int requests = 0;
};

bool isValidLine(const AutomationLine& line)
{
    if (line.size() < 2 || line.front().x != 0.0f || line.back().x != 1.0f)
        return false;
    for (size_t i = 1; i < line.size(); ++i)
        if (line[i].x < line[i - 1].x || line[i].y < 0.0f || line[i].y > 1.0f)
            return false;
    return true;
}

// Navajo white darkened by 0.4, give or take the faint shadow drawn over it.
bool isCurveColour(juce::Colour pixel)
{
    const juce::Colour curve{0xFFB69E7B};
    return std::abs(pixel.getRed() - curve.getRed()) <= 12 &&
           std::abs(pixel.getGreen() - curve.getGreen()) <= 12 &&
           std::abs(pixel.getBlue() - curve.getBlue()) <= 12;
}

std::string describe(const AutomationLine& line)
{
    juce::String text;
    for (const auto& point : line)
        text << "(" << juce::String(point.x, 9) << ", " << juce::String(point.y, 9) << ") ";
    return text.toStdString();
}

// A row alone on a processor, 800 by 100: breakpoint (x, y) sits at pixel (800 x, 100 y).
class ModulationRowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        row = std::make_unique<EffectModulationLinePanel>(processor, 1, Stem::REVERBWETLEVEL, "Wet");
        row->setSize(800, 100);
        processor.addListener(&host);
    }
    void TearDown() override { processor.removeListener(&host); }

    AutomationLine& curve() { return processor.lineAutomation[1][Stem::REVERBWETLEVEL]; }
    void setCurve(AutomationLine points)
    {
        processor.editLineAutomation([&](auto& a) { a[1][Stem::REVERBWETLEVEL] = std::move(points); });
    }

    BramblewayAudioProcessor processor;
    HostSpy host;
    std::unique_ptr<EffectModulationLinePanel> row;
};
} // namespace

//==============================================================================
TEST_F(EditorTest, ModulationScreenLaysOutTheReverbAndTheFilter)
{
    struct Case
    {
        int effectType;
        Rect title, panel, close, bar, grid;
        int rows, rowX, rowTop, rowStep, rowW, rowH;
    };
    // Left share 4.2 / 5 of 1040 for effects, 3.4 / 5 for the filter; rows split 550 - 20 evenly.
    const Case cases[] = {
        {1,
         {873, 0, 167, 20},
         {873, 20, 167, 255},
         {893, 495, 127, 40},
         {0, 0, 873, 20},
         {873, 275, 167, 205},
         6,
         3,
         22,
         88,
         867,
         84},
        {0,
         {707, 0, 333, 20},
         {707, 20, 333, 255},
         {727, 495, 293, 40},
         {0, 0, 707, 20},
         {707, 275, 333, 205},
         5,
         3,
         22,
         106,
         701,
         102},
    };
    for (const auto& c : cases)
    {
        editor->showModulationScreen(c.effectType, 2);
        auto& screen = editor->modulationPanel;
        EXPECT_EQ(screen.title.getBounds(), c.title);
        ASSERT_NE(screen.getPanelOnShow(), nullptr);
        EXPECT_EQ(screen.getPanelOnShow()->getBounds(), c.panel);
        EXPECT_TRUE(screen.getPanelOnShow()->isVisible());
        EXPECT_EQ(screen.closeButton.getBounds(), c.close);
        ASSERT_NE(screen.topPanel, nullptr);
        EXPECT_EQ(screen.topPanel->getBounds(), c.bar);
        ASSERT_NE(screen.gridPanel, nullptr);
        EXPECT_EQ(screen.gridPanel->getBounds(), c.grid);
        ASSERT_EQ(screen.rows.size(), c.rows);
        for (int i = 0; i < c.rows; ++i)
            EXPECT_EQ(screen.rows[i]->getBounds(), Rect(c.rowX, c.rowTop + c.rowStep * i, c.rowW, c.rowH))
                << "type " << c.effectType << " row " << i;

        int visiblePanels = 0;
        for (auto* child : screen.getChildren())
            if (child->isVisible() && child->getBounds() == c.panel)
                ++visiblePanels;
        EXPECT_EQ(visiblePanels, 1) << "only the panel on show is visible";

        editor->closeModulationScreen();
        EXPECT_TRUE(screen.rows.isEmpty());
        EXPECT_EQ(screen.topPanel, nullptr);
        EXPECT_EQ(screen.gridPanel, nullptr);
    }
}

TEST(ModulationGridSettings, LaysOutAt167By205)
{
    BramblewayAudioProcessor processor;
    EffectModulationGridParampPanel panel(processor, 3);
    panel.setSize(167, 205);
    // Rows of 205 / 5 = 41; the right half starts at 83.
    const std::pair<juce::Component*, Rect> expected[] = {
        {&panel.solo, {41, 8, 85, 25}},           {&panel.gridKnob, {83, 41, 84, 41}},
        {&panel.speedBox, {88, 87, 74, 31}},      {&panel.durBox, {88, 128, 74, 31}},
        {&panel.gridLabel, {5, 41, 73, 41}},      {&panel.speedLabel, {5, 82, 73, 41}},
        {&panel.durationLabel, {5, 123, 73, 41}}, {&panel.clearAutomation, {55, 169, 57, 31}}};
    for (const auto& [component, rect] : expected)
        EXPECT_EQ(component->getBounds(), rect) << component->getName();
    EXPECT_EQ(panel.speedBox.getNumItems(), 24);
    EXPECT_EQ(panel.speedBox.getItemText(13), "16n");
}

TEST(ModulationGridSettings, ControlsFollowTheirLinesParameters)
{
    BramblewayAudioProcessor processor;
    testing_support::setPlain(processor, lineParameterID(Stem::GridNum, 3), 12.0f);
    testing_support::setPlain(processor, lineParameterID(Stem::Speed, 3), 13.0f);
    testing_support::setPlain(processor, lineParameterID(Stem::SOLOSELECT, 3), 1.0f);
    EffectModulationGridParampPanel panel(processor, 3);
    EXPECT_EQ(panel.gridKnob.getValue(), 12.0);
    EXPECT_EQ(panel.speedBox.getText(), "16n");
    EXPECT_TRUE(panel.solo.getToggleState());

    panel.durBox.setSelectedId(5, juce::sendNotificationSync);
    EXPECT_EQ(testing_support::plainValue(processor, lineParameterID(Stem::Dur, 3)), 4.0f);
}

//==============================================================================
TEST_F(EditorTest, ModulationScreenOffersTheRowsOfEveryEffectAndToggleState)
{
    using namespace Stem;
    struct Case
    {
        int effectType;
        int toggle; // -1: none
        bool on;
        std::vector<std::pair<const char*, int>> rows; // before "Pan"
    };
    const Case cases[] = {
        {0, -1, false, {{"Cut Off Freq", 7}, {"Resonance", 8}, {"LFO Frequency", 48}, {"LFO Deprh", 49}}},
        {1, -1, false, {{"Room", 20}, {"Damping", 21}, {"Wet", 22}, {"Dry", 23}, {"Width", 24}}},
        {2, DELAYSYNC, true, {{"Dry Wet", 25}, {"Sync Time Delay", 27}, {"Feedback", 28}}},
        {2, DELAYSYNC, false, {{"Dry Wet", 25}, {"Time Delay", 26}, {"Feedback", 28}}},
        {3, -1, false, {{"Rate", 15}, {"Depth", 16}, {"Delay", 17}, {"Feedback", 18}, {"Mix", 19}}},
        {4, -1, false, {{"Rate", 40}, {"Bit", 41}, {"Cut off Freq", 83}}},
        {5, -1, false, {{"DISTMODE", 35}, {"DISTDRIVE", 36}, {"DISTMIX", 37}, {"DISTTRESHOLD", 38}}},
        {6, -1, false, {{"Rate", 34}, {"Feedback", 31}, {"Mix", 32}, {"Decay", 33}, {"Depth", 30}}},
        {7, PITCHMUSICALSET, true, {{"Octave", 75}, {"Semi", 76}}},
        {7, PITCHMUSICALSET, false, {{"Pitch", 39}}},
        {8, COMBFILTERSYNC, true, {{"Delay", 42}, {"LFO Depth", 85}, {"Sync LFO Freq", 87}}},
        {8, COMBFILTERSYNC, false, {{"Delay", 42}, {"LFO Depth", 85}, {"LFO Freq", 86}}},
        {9, -1, false, {{"Divide", 43}}},
        {10, -1, false, {{"Width", 63}, {"Frequency", 64}}},
        {11, TREMOLOSYNC, true, {{"Frequency of Sync", 68}, {"Depth", 59}}},
        {11, TREMOLOSYNC, false, {{"Frequency", 58}, {"Depth", 59}}},
        {12, RINGMUSICALSET, true, {{"Octave", 72}, {"Note", 71}, {"Fine", 73}, {"Depth", 62}}},
        {12, RINGMUSICALSET, false, {{"Freq", 61}, {"Depth", 62}}},
        {13, -1, false, {{"Drive", 79}, {"Mix", 80}, {"Treshold", 81}, {"Cut of Frequency", 82}}},
    };
    for (const auto& c : cases)
    {
        const int line = c.effectType % numLines;
        if (c.toggle >= 0)
            setPlain(c.toggle, line, c.on ? 1.0f : 0.0f);
        editor->showModulationScreen(c.effectType, line);

        auto expected = c.rows;
        expected.push_back({"Pan", LINEPAN});
        const auto& rows = editor->modulationPanel.rows;
        ASSERT_EQ(rows.size(), (int) expected.size()) << "type " << c.effectType << " on " << c.on;
        for (int i = 0; i < rows.size(); ++i)
        {
            EXPECT_EQ(rows[i]->name, expected[(size_t) i].first) << "type " << c.effectType << " row " << i;
            EXPECT_EQ(rows[i]->paramIndex, expected[(size_t) i].second)
                << "type " << c.effectType << " row " << i;
        }
        editor->closeModulationScreen();
    }
}

TEST_F(EditorTest, SwitchingDelaySyncOnTheShownPanelSwapsTheTimeRowAtOnce)
{
    putOnDesktop();
    setPlain(Stem::DELAYSYNC, 1, 0.0f);
    processor.setEffectModulationScreen(2, 1);
    auto& screen = editor->modulationPanel;
    auto* delay = dynamic_cast<DelayPanel*>(screen.getPanelOnShow());
    ASSERT_NE(delay, nullptr);

    const auto names = [&]
    {
        juce::StringArray list;
        for (auto* row : screen.rows)
            list.add(row->name);
        return list.joinIntoString(",");
    };
    EXPECT_EQ(names(), "Dry Wet,Time Delay,Feedback,Pan");
    click(delay->sync);
    testing_support::pumpMessages(30);
    EXPECT_EQ(plain(Stem::DELAYSYNC, 1), 1.0f);
    EXPECT_EQ(names(), "Dry Wet,Sync Time Delay,Feedback,Pan");
    EXPECT_EQ(screen.rows[1]->getBounds(), Rect(3, 22 + 132, 867, 128)) << "rows laid out again";

    // Its own automation button asks again while open: ignored.
    click(delay->modLineButton);
    EXPECT_EQ(screen.getEffectType(), 2);
    EXPECT_EQ(screen.rows.size(), 4);
}

//==============================================================================
TEST_F(ModulationRowTest, HitsBreakpointsCloserThanTenPixels)
{
    // The last breakpoint of the flat line sits at pixel (800, 50).
    const std::pair<juce::Point<int>, int> cases[] = {
        {{800, 50}, 1},  {{791, 50}, 1},  {{790, 50}, -1},
        {{800, 59}, 1},  {{800, 60}, -1}, {{793, 43}, 1}, // 9.9 pixels away
        {{792, 44}, -1},                                  // exactly 10
        {{9, 50}, 0},    {{10, 50}, -1},  {{400, 50}, -1}};
    for (const auto& [position, expected] : cases)
        EXPECT_EQ(row->hitBreakpoint(position), expected) << position.toString();

    // Two breakpoints in range: the lower index wins.
    setCurve({{0.0f, 0.5f}, {0.5f, 0.5f}, {0.505f, 0.5f}, {1.0f, 0.5f}});
    EXPECT_EQ(row->hitBreakpoint({402, 50}), 1);
}

TEST_F(ModulationRowTest, DoubleClickNearAFlatCurveInsertsOnTheCurve)
{
    doubleClick(*row, {400, 45});
    ASSERT_EQ(curve().size(), 3u);
    EXPECT_EQ(curve()[1], juce::Point<float>(0.5f, 0.5f)) << "on the curve, not under the mouse";
    EXPECT_EQ(host.nonParameterChanges, 1);

    // Ten pixels or more from the curve adds nothing.
    doubleClick(*row, {200, 60});
    EXPECT_EQ(curve().size(), 3u);
}

TEST_F(ModulationRowTest, DoubleClickErasesInnerBreakpointsButNeverTheEnds)
{
    setCurve({{0.0f, 0.2f}, {0.25f, 0.8f}, {0.75f, 0.1f}, {1.0f, 0.9f}});
    const AutomationLine original = curve();

    doubleClick(*row, {0, 20});
    doubleClick(*row, {799, 90});
    EXPECT_EQ(curve(), original);
    EXPECT_EQ(host.nonParameterChanges, 0);

    doubleClick(*row, {203, 78});
    EXPECT_EQ(curve(), AutomationLine({{0.0f, 0.2f}, {0.75f, 0.1f}, {1.0f, 0.9f}}));
    EXPECT_EQ(host.nonParameterChanges, 1);
}

TEST_F(ModulationRowTest, DragsMoveEndsOnlyVerticallyAndInnerPointsBetweenNeighbours)
{
    setCurve({{0.0f, 0.5f}, {0.5f, 0.5f}, {1.0f, 0.5f}});

    // The first breakpoint follows the mouse up and down only, without telling the host.
    press(*row, {2, 50});
    dragTo(*row, {60, 30});
    EXPECT_EQ(curve()[0], juce::Point<float>(0.0f, 0.3f));
    dragTo(*row, {60, 500});
    EXPECT_EQ(curve()[0], juce::Point<float>(0.0f, 1.0f)) << "clamped to the bottom";
    EXPECT_EQ(host.nonParameterChanges, 0);

    press(*row, {800, 50});
    dragTo(*row, {700, 40});
    EXPECT_EQ(curve()[2], juce::Point<float>(1.0f, 0.4f));

    // The inner one moves both ways but never past a neighbour.
    press(*row, {400, 50});
    dragTo(*row, {600, 20});
    EXPECT_EQ(curve()[1], juce::Point<float>(0.75f, 0.2f));
    dragTo(*row, {2000, 20});
    EXPECT_EQ(curve()[1].x, 1.0f);
    dragTo(*row, {-3000, 20});
    EXPECT_EQ(curve()[1].x, 0.0f);
    EXPECT_EQ(host.nonParameterChanges, 3);
    EXPECT_EQ(curve().size(), 3u);

    // A press away from every breakpoint drags nothing.
    const auto before = curve();
    press(*row, {300, 90});
    dragTo(*row, {350, 10});
    EXPECT_EQ(curve(), before);
}

TEST_F(ModulationRowTest, NoGestureSequenceLeavesALineTheAudioThreadCouldMisread)
{
    juce::Random random(7);
    const auto anywhere = [&] {
        return juce::Point<int>(random.nextInt({-40, 840}), random.nextInt({-40, 140}));
    };
    for (int step = 0; step < 4000; ++step)
    {
        switch (random.nextInt(3))
        {
        case 0:
            doubleClick(*row, anywhere());
            break;
        case 1:
            // Aim at a breakpoint, or near one, so drags happen often.
            {
                const auto& points = curve();
                const auto target = points[(size_t) random.nextInt((int) points.size())];
                press(*row, {(int) (target.x * 800) + random.nextInt({-3, 4}), (int) (target.y * 100)});
                break;
            }
        default:
            dragTo(*row, anywhere());
        }
        ASSERT_TRUE(isValidLine(curve())) << "after step " << step << ": " << describe(curve());
    }
}

//==============================================================================
TEST_F(EditorTest, DoubleClickOverTheThirdOfSixteenBlocksTogglesBlockTwoAndRepaintsEveryRow)
{
    setPlain(Stem::GridNum, 3, 16.0f);
    editor->showModulationScreen(1, 3);
    auto& rows = editor->modulationPanel.rows;
    // Each row owns its spy.
    std::vector<RepaintSpy*> spies;
    for (auto* r : rows)
    {
        spies.push_back(new RepaintSpy());
        r->setCachedComponentImage(spies.back());
    }

    // Rows are 867 wide: block 2 spans pixels 108 to 162; the flat curve lies at y 42.
    auto& row = *rows[4];
    doubleClick(row, {135, 6});
    EXPECT_EQ(block(3, 2), 1.0f);
    for (int step : {0, 1, 3, 15})
        EXPECT_EQ(block(3, step), 0.0f) << step;
    for (int other = 0; other < numLines; ++other)
        if (other != 3)
            EXPECT_EQ(block(other, 2), 0.0f);
    testing_support::pumpMessages(40);
    for (size_t i = 0; i < spies.size(); ++i)
        EXPECT_GT(spies[i]->requests, 0) << "row " << i;

    doubleClick(row, {135, 6});
    EXPECT_EQ(block(3, 2), 0.0f);

    // On a boundary (867 * 2 / 16 = 108) nothing switches.
    doubleClick(row, {108, 6});
    EXPECT_EQ(block(3, 1), 0.0f);
    EXPECT_EQ(block(3, 2), 0.0f);
}

TEST_F(EditorTest, ClearAutomationFlattensEveryLineOfItsLineOnly)
{
    putOnDesktop();
    const AutomationLine drawn{{0.0f, 0.1f}, {0.3f, 0.9f}, {1.0f, 0.2f}};
    processor.editLineAutomation(
        [&](auto& automation)
        {
            for (int line : {1, 2})
                for (auto& curve : automation[(size_t) line])
                    curve = drawn;
        });
    processor.setEffectModulationScreen(4, 1);
    auto& screen = editor->modulationPanel;
    // The last breakpoint's dot sits at a fifth of the height before, at the middle after.
    const auto dotAt = [](juce::Component& row, int y)
    { return row.createComponentSnapshot(row.getLocalBounds()).getPixelAt(row.getWidth() - 2, y); };
    const int h = screen.rows[0]->getHeight();
    ASSERT_TRUE(isCurveColour(dotAt(*screen.rows[0], h / 5)));
    ASSERT_FALSE(isCurveColour(dotAt(*screen.rows[0], h / 2)));

    click(screen.gridPanel->clearAutomation);
    ASSERT_EQ(processor.lineAutomation[1].size(), (size_t) numStems);
    for (int stem = 0; stem < numStems; ++stem)
    {
        EXPECT_EQ(processor.lineAutomation[1][(size_t) stem], defaultAutomationLine()) << stem;
        EXPECT_EQ(processor.lineAutomation[2][(size_t) stem], drawn) << stem;
    }
    testing_support::pumpMessages(30);
    ASSERT_EQ(screen.rows.size(), 4);
    for (auto* row : screen.rows)
        EXPECT_TRUE(isCurveColour(dotAt(*row, h / 2))) << row->name;
}

TEST_F(ModulationRowTest, TellsTheHostOfEveryBreakpointEdit)
{
    // Insert, move an inner breakpoint, erase it: three edits, three notices.
    doubleClick(*row, {400, 52});
    press(*row, {400, 50});
    dragTo(*row, {420, 30});
    doubleClick(*row, {420, 30});
    EXPECT_EQ(curve(), defaultAutomationLine());
    EXPECT_EQ(host.nonParameterChanges, 3);
}

TEST(ModulationPlayBar, ShowsNothingWhileTheHostIsStopped)
{
    BramblewayAudioProcessor processor;
    EffectModulationLineTopPanel bar(processor, 2);
    processor.lineLengthSamples[2] = 1000;
    processor.lineSampleCounter[2] = 250;
    processor.wasPlaying = false;
    EXPECT_EQ(bar.playPosition(), 0.0f);
    processor.wasPlaying = true;
    EXPECT_EQ(bar.playPosition(), 0.25f);
    processor.lineLengthSamples[2] = 0;
    EXPECT_EQ(bar.playPosition(), 0.0f);

    bar.setSize(400, 20);
    const auto glowAt = [&](int x)
    { return bar.createComponentSnapshot(bar.getLocalBounds()).getPixelAt(x, 10); };
    EXPECT_EQ(glowAt(0).getAlpha(), 0) << "nothing while the loop length is unknown";
    processor.lineLengthSamples[2] = 1000;
    EXPECT_GT(glowAt(50).getAlpha(), 0) << "glow across the first quarter";
    EXPECT_EQ(glowAt(300).getAlpha(), 0);
}

//==============================================================================
TEST_F(EditorTest, RendersTheOpenScreenOfEveryEffectType)
{
    for (int type = 0; type < numEffectTypes; ++type)
    {
        editor->showModulationScreen(type, type % numLines);
        const auto image = editor->createComponentSnapshot(editor->getLocalBounds());
        const auto file =
            juce::File(BRAMBLEWAY_SNAPSHOT_DIR).getChildFile("modulation-" + juce::String(type) + ".png");
        file.deleteFile();
        {
            juce::FileOutputStream out(file);
            ASSERT_TRUE(out.openedOk());
            ASSERT_TRUE(juce::PNGImageFormat().writeImageToStream(image, out));
        }
        EXPECT_GT(file.getSize(), 0);

        // The last breakpoint's dot, inside the row's right edge at mid height, in the curve's colour.
        for (auto* row : editor->modulationPanel.rows)
        {
            const auto r = row->getBounds();
            EXPECT_TRUE(isCurveColour(image.getPixelAt(r.getRight() - 2, r.getY() + r.getHeight() / 2)))
                << type << " " << row->name;
        }
        editor->closeModulationScreen();
    }
}
