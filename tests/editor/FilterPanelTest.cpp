// The filter panel at 340 by 270, its response curve against the ladder formula and the graphs' drags.

#include "FilterPanel.h"
#include "EditorFixture.h"
#include "ParameterLayout.h"

#include <cmath>
#include <map>

namespace
{
using Rect = juce::Rectangle<int>;

class FilterPanels : public testing::Test
{
protected:
    void SetUp() override { panel.setSize(340, 270); }

    juce::RangedAudioParameter& parameter(int stem)
    {
        return *processor.getParameterTree().getParameter(lineParameterID(stem, line));
    }
    void setNormalised(int stem, float value) { parameter(stem).setValueNotifyingHost(value); }

    static juce::MouseEvent mouseAt(juce::Component& c, int x, int y)
    {
        const juce::Point<float> p{(float) x, (float) y};
        const auto now = juce::Time::getCurrentTime();
        return {juce::Desktop::getInstance().getMainMouseSource(),
                p,
                {},
                1.0f,
                0.0f,
                0.0f,
                0.0f,
                0.0f,
                &c,
                &c,
                now,
                p,
                now,
                1,
                false};
    }
    static void drag(FilterGraph& graph, juce::Point<int> from, juce::Point<int> to)
    {
        graph.mouseMove(mouseAt(graph, from.x, from.y));
        graph.mouseDown(mouseAt(graph, from.x, from.y));
        graph.mouseDrag(mouseAt(graph, to.x, to.y));
        graph.mouseUp(mouseAt(graph, to.x, to.y));
    }

    const int line = 2;
    BramblewayAudioProcessor processor;
    FilterPanel panel{processor, line};
};
} // namespace

TEST_F(FilterPanels, PlacesItsControlsAsListed)
{
    const std::pair<juce::Component*, Rect> cases[] = {{&panel.title, {0, 0, 340, 30}},
                                                       {&panel.modLineButton, {20, 35, 300, 20}},
                                                       {&panel.lfoFreq, {284, 64, 48, 44}},
                                                       {&panel.syncFreq, {284, 64, 48, 44}},
                                                       {&panel.lfoDepth, {284, 116, 48, 44}},
                                                       {&panel.lfoWave, {285, 183, 46, 25}},
                                                       {&panel.sync, {290, 217, 36, 20}},
                                                       {&panel.randButton, {290, 245, 36, 20}},
                                                       {&panel.freqRes, {119, 67, 160, 90}},
                                                       {&panel.curve, {119, 171, 160, 92}},
                                                       {&panel.cutOff, {4, 64, 49, 44}},
                                                       {&panel.q, {61, 64, 49, 44}},
                                                       {&panel.filterType, {10, 114, 94, 25}},
                                                       {&panel.afterEffect, {10, 141, 94, 20}},
                                                       {&panel.attack, {4, 168, 49, 44}},
                                                       {&panel.decay, {61, 168, 49, 44}},
                                                       {&panel.sustain, {4, 220, 49, 44}},
                                                       {&panel.env, {61, 220, 49, 44}},
                                                       {&panel.release, {}}};
    for (const auto& [component, expected] : cases)
        EXPECT_EQ(component->getBounds(), expected)
            << component->getComponentID() << " at " << expected.toString();
}

TEST_F(FilterPanels, LfoSyncSwapsTheFrequencyKnobsAlsoFromTheHost)
{
    EXPECT_TRUE(panel.lfoFreq.isVisible());
    EXPECT_FALSE(panel.syncFreq.isVisible());
    setNormalised(Stem::LFOSYNC, 1.0f);
    EXPECT_FALSE(panel.lfoFreq.isVisible());
    EXPECT_TRUE(panel.syncFreq.isVisible());
    panel.sync.triggerClick();
    testing_support::pumpMessages();
    EXPECT_TRUE(panel.lfoFreq.isVisible());
    EXPECT_EQ(parameter(Stem::LFOSYNC).getValue(), 0.0f);
}

TEST_F(FilterPanels, TypeBoxSetsTheFilterModeAtOnce)
{
    panel.filterType.setSelectedId(3, juce::sendNotificationSync);
    for (const auto& filter : processor.lineFilters[(size_t) line])
        EXPECT_EQ(filter.mode, 2);
}

TEST_F(FilterPanels, RandMovesItsKnobsAndBoxesButNotReleaseOrToggles)
{
    const int moved[] = {Stem::LFOFREQ,     Stem::LFODEPTH,   Stem::ATTACKNAME,  Stem::CutOff,
                         Stem::Q,           Stem::DECAYNAME,  Stem::SUSTAINNAME, Stem::ENVNAME,
                         Stem::LFOSYNCFREQ, Stem::FILTERTYPE, Stem::LFOWAVETYPE};
    const int kept[] = {Stem::RELEASENAME, Stem::LFOSYNC, Stem::FILTERAPPLYEFFECT};
    std::map<int, float> before;
    for (int stem : moved)
        before[stem] = parameter(stem).getValue();
    for (int stem : kept)
        before[stem] = parameter(stem).getValue();
    std::map<int, bool> changed;
    for (int draw = 0; draw < 12; ++draw)
    {
        panel.randButton.triggerClick();
        testing_support::pumpMessages(20);
        EXPECT_TRUE(panel.cutOff.getValue() >= 20.0 && panel.cutOff.getValue() <= 20000.0);
        for (auto& [stem, value] : before)
            changed[stem] = changed[stem] || parameter(stem).getValue() != value;
    }
    for (int stem : moved)
        EXPECT_TRUE(changed[stem]) << valueTreeNames[stem];
    for (int stem : kept)
        EXPECT_FALSE(changed[stem]) << valueTreeNames[stem];
}

TEST(FilterResponse, FollowsTheLadderFormula)
{
    // w = 1 (f = 22000 × cutoff): A = 1 − 1 − 4 + 4r, B = 0, so the level is −20 log10 |4r − 4|.
    const double atCutoff = -20.0 * std::log10(4.0 - 4.0 * 0.3);
    struct Case
    {
        double frequency, cutoff, resonance;
        int mode;
        double expected;
    };
    const Case cases[] = {
        {11000.0, 0.5, 0.3, 0, atCutoff},
        {11000.0, 0.5, 0.3, 1, atCutoff},
        {11000.0, 0.5, 0.3, 2, atCutoff},
        // Far below the cutoff the low-pass has A = 1 + 4r, B ≈ 0.
        {20.0, 0.99, 0.3, 0, -20.0 * std::log10(1.0 + 4.0 * 0.3)},
        // The high-pass there is far below −100 dB and is floored.
        {20.0, 0.5, 0.3, 2, -100.0},
        {1000.0, 0.5, 0.3, 3, -100.0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(FreqResPanel::responseDb(c.frequency, c.cutoff, c.resonance, c.mode), c.expected, 0.01)
            << c.frequency << " Hz, mode " << c.mode;
}

TEST_F(FilterPanels, ResponseDragsMoveCutoffAndQAndStopAtTheLimits)
{
    auto& graph = panel.freqRes; // 160 by 90
    setNormalised(Stem::CutOff, 0.2f);
    setNormalised(Stem::Q, 0.3f);
    drag(graph, {10, 60}, {90, 15}); // half the width right, half the height up
    EXPECT_NEAR(parameter(Stem::CutOff).getValue(), 0.7f, 0.011f);
    EXPECT_NEAR(parameter(Stem::Q).getValue(), 0.8f, 0.011f);

    drag(graph, {0, 0}, {160, 0});
    EXPECT_NEAR(parameter(Stem::CutOff).getValue(), 0.99f, 0.001f);
    drag(graph, {0, 0}, {0, 90});
    EXPECT_NEAR(parameter(Stem::Q).getValue(), 0.0f, 0.001f);
}

TEST_F(FilterPanels, EnvelopeDragsPickTheNearerHandleAndDecayOnATie)
{
    auto& graph = panel.curve; // 160 by 92
    // Attack 0.5 s puts its handle at 20; decay 0.4 s, 32 further, at 52: the middle is 36.
    testing_support::setPlain(processor, lineParameterID(Stem::ATTACKNAME, line), 0.5f);
    testing_support::setPlain(processor, lineParameterID(Stem::DECAYNAME, line), 0.4f);
    testing_support::setPlain(processor, lineParameterID(Stem::SUSTAINNAME, line), 0.5f);
    graph.createComponentSnapshot(graph.getLocalBounds());
    ASSERT_EQ(graph.attackX, 20);
    ASSERT_EQ(graph.decayX, 52);

    const float attack = parameter(Stem::ATTACKNAME).getValue();
    const float decay = parameter(Stem::DECAYNAME).getValue();
    const float sustain = parameter(Stem::SUSTAINNAME).getValue();
    drag(graph, {36, 40}, {52, 40}); // a tenth of the width: three tenths of the range
    EXPECT_EQ(parameter(Stem::ATTACKNAME).getValue(), attack);
    EXPECT_NEAR(parameter(Stem::DECAYNAME).getValue(), decay + 0.3f, 0.011f);
    EXPECT_NEAR(parameter(Stem::SUSTAINNAME).getValue(), sustain, 0.011f);

    drag(graph, {21, 46}, {21, 0}); // near attack; half the height up raises sustain by a half
    EXPECT_NEAR(parameter(Stem::SUSTAINNAME).getValue(), juce::jmin(sustain + 0.5f, 0.99f), 0.011f);
    drag(graph, {21, 0}, {160, 0});
    EXPECT_NEAR(parameter(Stem::ATTACKNAME).getValue(), 0.99f, 0.001f);
}

TEST_F(FilterPanels, RenderEachFilterType)
{
    for (int type = 0; type < filterChoicesStr.size(); ++type)
    {
        panel.filterType.setSelectedId(type + 1, juce::sendNotificationSync);
        const auto image = panel.createComponentSnapshot(panel.getLocalBounds());
        const auto file = juce::File(BRAMBLEWAY_SNAPSHOT_DIR)
                              .getChildFile("filter-" + filterChoicesStr[type].toLowerCase() + ".png");
        file.deleteFile();
        {
            juce::FileOutputStream out(file);
            ASSERT_TRUE(out.openedOk());
            ASSERT_TRUE(juce::PNGImageFormat().writeImageToStream(image, out));
        }
        EXPECT_GT(file.getSize(), 0);
        // Half of pixel 2 lies under the border's 1-wide stroke centred on x 2.
        EXPECT_EQ(image.getPixelAt(2, 150), juce::Colour(0xFF0C0C0C));
        EXPECT_EQ(image.getPixelAt(115, 166), backgroundColor); // between the two graphs
    }
}
