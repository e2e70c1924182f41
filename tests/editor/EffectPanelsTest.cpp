// The effect panels at the host's column size (115 by 245): bounds worked out by hand from the slot rules
// (inner width 95, half 47, a 30 strip, rows of 53 from y 30), knob swaps, "Rand", selection and painting.

#include "AllOtherEffectsPanel.h"
#include "EditorFixture.h"
#include "ParameterLayout.h"

#include <map>

namespace
{
using Rect = juce::Rectangle<int>;
using Panel = EffectParameterPanel;

struct Child
{
    const char* name;
    std::function<juce::Component&(Panel&)> get;
    Rect expected;
};

template <typename P, typename C> Child at(const char* name, C P::*member, Rect expected)
{
    return {name, [member](Panel& p) -> juce::Component& { return static_cast<P&>(p).*member; }, expected};
}

template <typename P> std::function<std::unique_ptr<Panel>(BramblewayAudioProcessor&, int)> make()
{
    return [](BramblewayAudioProcessor& processor, int line) { return std::make_unique<P>(processor, line); };
}

std::unique_ptr<Panel>
build(const std::function<std::unique_ptr<Panel>(BramblewayAudioProcessor&, int)>& factory,
      BramblewayAudioProcessor& processor, int line = 2)
{
    auto panel = factory(processor, line);
    panel->setSize(115, 245);
    return panel;
}

// Slots of the rows at 115 by 245.
const Rect L1{13, 33, 41, 47}, R1{60, 33, 42, 47}, L2{13, 86, 41, 47}, R2{60, 86, 42, 47};
const Rect F2{29, 83, 57, 53}, F3row{29, 136, 57, 53}, F3r1{29, 33, 57, 47}, F3r2{29, 86, 57, 47};
const Rect modeBox{10, 43, 95, 27}, musicalToggle{26, 46, 63, 21};

struct PanelLayout
{
    const char* name;
    std::function<std::unique_ptr<Panel>(BramblewayAudioProcessor&, int)> make;
    std::vector<Child> children;
};

std::vector<PanelLayout> layouts()
{
    return {
        {"reverb",
         make<ReverbePanel>(),
         {at("Room", &ReverbePanel::room, L1), at("Damp", &ReverbePanel::damp, R1),
          at("Wet", &ReverbePanel::wet, L2), at("Dry", &ReverbePanel::dry, R2),
          at("Width", &ReverbePanel::width, F3row), at("No Tail", &ReverbePanel::noTail, {29, 194, 57, 20})}},
        {"delay",
         make<DelayPanel>(),
         {at("DryWet", &DelayPanel::dryWet, L1), at("FeedB", &DelayPanel::feedback, R1),
          at("Delay", &DelayPanel::delay, F2), at("Sync knob", &DelayPanel::syncKnob, F2),
          at("Sync", &DelayPanel::sync, {41, 149, 33, 20})}},
        {"chorus",
         make<ChorusPanel>(),
         {at("Rate", &ChorusPanel::rate, L1), at("Depth", &ChorusPanel::depth, R1),
          at("CDelay", &ChorusPanel::chorusDelay, L2), at("FeedBack", &ChorusPanel::feedback, R2),
          at("Mix", &ChorusPanel::mix, F3row)}},
        {"decimator",
         make<DecimatorPanel>(),
         {at("Rate", &DecimatorPanel::rate, {33, 33, 49, 47}),
          at("Bit", &DecimatorPanel::bit, {33, 86, 49, 47}),
          at("CutOff", &DecimatorPanel::cutOff, {33, 136, 49, 53})}},
        {"Obs-DIST",
         make<DistortionPanel>(),
         {at("mode", &DistortionPanel::mode, modeBox), at("Drive", &DistortionPanel::drive, L2),
          at("Mix", &DistortionPanel::mix, R2), at("Tresh", &DistortionPanel::treshold, F3row)}},
        {"phaser",
         make<PhaserPanel>(),
         {at("Depth", &PhaserPanel::depth, L1), at("FeedBack", &PhaserPanel::feedback, R1),
          at("Rate", &PhaserPanel::rate, L2), at("Center", &PhaserPanel::center, R2),
          at("Mix", &PhaserPanel::mix, F3row)}},
        {"pitch",
         make<PitchShifterPanel>(),
         {at("Musical", &PitchShifterPanel::musical, musicalToggle),
          at("Pitch", &PitchShifterPanel::pitch, F3r2), at("Octave", &PitchShifterPanel::octave, L2),
          at("Semi", &PitchShifterPanel::semi, R2),
          at("Down/Up", &PitchShifterPanel::slide, {29, 139, 57, 47})}},
        {"comb",
         make<CombFilterPanel>(),
         {at("delay", &CombFilterPanel::delay, {33, 30, 49, 53}),
          at("wave", &CombFilterPanel::wave, {14, 83, 87, 23}),
          at("Freq", &CombFilterPanel::freq, {13, 121, 41, 53}),
          at("SyncFreq", &CombFilterPanel::syncFreq, {13, 121, 41, 53}),
          at("Depth", &CombFilterPanel::depth, {60, 121, 42, 53}),
          at("Sync", &CombFilterPanel::sync, {23, 184, 69, 20})}},
        {"repeater",
         make<RepeaterPanel>(),
         {at("Repeate", &RepeaterPanel::repeate, L1), at("WindLen", &RepeaterPanel::windowLength, R1),
          at("FadeOut", &RepeaterPanel::fadeOut, F3r2), at("type", &RepeaterPanel::type, {13, 149, 89, 27})}},
        {"vibrato",
         make<VibratoPanel>(),
         {at("Width", &VibratoPanel::width, F3r1), at("Freq", &VibratoPanel::freq, F3r2),
          at("wave", &VibratoPanel::wave, {}), at("interpolation", &VibratoPanel::interpolation, {})}},
        {"tremolo",
         make<TremoloPanel>(),
         {at("wave", &TremoloPanel::wave, {14, 45, 87, 23}), at("Freq", &TremoloPanel::freq, L2),
          at("sync knob", &TremoloPanel::syncFreq, L2), at("Depth", &TremoloPanel::depth, R2),
          at("Sync", &TremoloPanel::sync, {23, 146, 69, 20})}},
        // The wave box under the toggle ends at 98; the rows restart there.
        {"ring",
         make<RingModulatorPanel>(),
         {at("Musical", &RingModulatorPanel::musical, musicalToggle),
          at("wave", &RingModulatorPanel::wave, {26, 77, 63, 21}),
          at("Freq", &RingModulatorPanel::freq, {13, 101, 41, 47}),
          at("Note", &RingModulatorPanel::note, {13, 101, 41, 47}),
          at("Depth", &RingModulatorPanel::depth, {60, 101, 42, 47}),
          at("Octave", &RingModulatorPanel::octave, {13, 154, 41, 47}),
          at("Cent", &RingModulatorPanel::cent, {60, 154, 42, 47})}},
        {"DISTORTION",
         make<DistortionPanel2>(),
         {at("mode", &DistortionPanel2::mode, modeBox),
          at("Drive", &DistortionPanel2::drive, {13, 83, 41, 53}),
          at("Dry/Wet", &DistortionPanel2::mix, {60, 83, 42, 53}),
          at("Trhs/Vol", &DistortionPanel2::treshold, {13, 136, 41, 53}),
          at("CutOff", &DistortionPanel2::cutOff, {60, 136, 42, 53})}},
    };
}

class EffectPanels : public testing::Test
{
protected:
    float plain(int stem, int line)
    {
        return testing_support::plainValue(processor, lineParameterID(stem, line));
    }
    void setPlain(int stem, int line, float value)
    {
        testing_support::setPlain(processor, lineParameterID(stem, line), value);
    }

    BramblewayAudioProcessor processor;
};

struct CountingListener : juce::ChangeListener
{
    void changeListenerCallback(juce::ChangeBroadcaster*) override { ++count; }
    int count = 0;
};
} // namespace

TEST_F(EffectPanels, PlaceEveryControlByTheSlotRules)
{
    for (const auto& layout : layouts())
    {
        auto panel = build(layout.make, processor);
        EXPECT_EQ(panel->modLineButton.getBounds(), Rect(13, 10, 89, 20)) << layout.name;
        EXPECT_EQ(panel->randButton.getBounds(), Rect(28, 216, 59, 22)) << layout.name;
        for (const auto& child : layout.children)
            EXPECT_EQ(child.get(*panel).getBounds(), child.expected) << layout.name << " " << child.name;
    }
}

TEST_F(EffectPanels, TooSmallAPanelGivesItsControlsNoNegativeSize)
{
    for (const auto& layout : layouts())
    {
        auto panel = layout.make(processor, 0);
        panel->setSize(15, 20);
        for (auto* child : panel->getChildren())
            EXPECT_TRUE(child->getWidth() >= 0 && child->getHeight() >= 0) << layout.name;
    }
}

TEST_F(EffectPanels, TogglesSwapTheirKnobsFromAClickAndFromTheHost)
{
    struct Swap
    {
        const char* name;
        std::function<std::unique_ptr<Panel>(BramblewayAudioProcessor&, int)> make;
        int stem;
        std::function<juce::Button&(Panel&)> toggle;
        std::vector<std::function<juce::Component&(Panel&)>> shownWhenOff, shownWhenOn;
    };
    const auto c = [](auto member)
    {
        return [member](Panel& p) -> juce::Component& { return at("", member, {}).get(p); };
    };
    const auto b = [](auto member)
    {
        return [member](Panel& p) -> juce::Button&
        { return dynamic_cast<juce::Button&>(at("", member, {}).get(p)); };
    };

    const Swap swaps[] = {
        {"delay sync",
         make<DelayPanel>(),
         Stem::DELAYSYNC,
         b(&DelayPanel::sync),
         {c(&DelayPanel::delay)},
         {c(&DelayPanel::syncKnob)}},
        {"pitch musical",
         make<PitchShifterPanel>(),
         Stem::PITCHMUSICALSET,
         b(&PitchShifterPanel::musical),
         {c(&PitchShifterPanel::pitch)},
         {c(&PitchShifterPanel::octave), c(&PitchShifterPanel::semi)}},
        {"comb sync",
         make<CombFilterPanel>(),
         Stem::COMBFILTERSYNC,
         b(&CombFilterPanel::sync),
         {c(&CombFilterPanel::freq)},
         {c(&CombFilterPanel::syncFreq)}},
        {"tremolo sync",
         make<TremoloPanel>(),
         Stem::TREMOLOSYNC,
         b(&TremoloPanel::sync),
         {c(&TremoloPanel::freq)},
         {c(&TremoloPanel::syncFreq)}},
        {"ring musical",
         make<RingModulatorPanel>(),
         Stem::RINGMUSICALSET,
         b(&RingModulatorPanel::musical),
         {c(&RingModulatorPanel::freq)},
         {c(&RingModulatorPanel::note), c(&RingModulatorPanel::octave), c(&RingModulatorPanel::cent)}},
    };

    for (const auto& swap : swaps)
    {
        auto panel = build(swap.make, processor, 1);
        CountingListener announcements;
        myReCreateLineChangeListener.addChangeListener(&announcements);
        const auto expectShown = [&](bool on, const char* how)
        {
            for (const auto& get : swap.shownWhenOff)
                EXPECT_EQ(get(*panel).isVisible(), !on) << swap.name << " " << how;
            for (const auto& get : swap.shownWhenOn)
                EXPECT_EQ(get(*panel).isVisible(), on) << swap.name << " " << how;
        };
        expectShown(false, "at start");

        swap.toggle(*panel).triggerClick();
        testing_support::pumpMessages();
        EXPECT_EQ(plain(swap.stem, 1), 1.0f) << swap.name;
        expectShown(true, "after a click");

        setPlain(swap.stem, 1, 0.0f);
        testing_support::pumpMessages();
        expectShown(false, "after the host turned it off");
        EXPECT_EQ(announcements.count >= 2, true) << swap.name << ": each change announces the new line list";
        myReCreateLineChangeListener.removeChangeListener(&announcements);
    }
}

TEST_F(EffectPanels, RepeaterTypeSwapsItsFirstRow)
{
    auto panel = build(make<RepeaterPanel>(), processor, 4);
    auto& repeater = static_cast<RepeaterPanel&>(*panel);
    setPlain(Stem::REPEATERTYPE, 4, 1.0f);
    EXPECT_EQ(repeater.repeate.getBounds(), F3r1);
    EXPECT_FALSE(repeater.windowLength.isVisible());
    setPlain(Stem::REPEATERTYPE, 4, 0.0f);
    EXPECT_EQ(repeater.repeate.getBounds(), L1);
    EXPECT_TRUE(repeater.windowLength.isVisible());
}

TEST_F(EffectPanels, RandMovesExactlyTheListedControlsWithinTheirRanges)
{
    struct RandCase
    {
        const char* name;
        std::function<std::unique_ptr<Panel>(BramblewayAudioProcessor&, int)> make;
        std::vector<int> moved;
    };
    const RandCase cases[] = {
        {"reverb",
         make<ReverbePanel>(),
         {Stem::REVERBROOMSIZE, Stem::REVERBDAMPING, Stem::REVERBWETLEVEL, Stem::REVERBDRYLEVEL,
          Stem::REVERBWIDTH}},
        {"delay",
         make<DelayPanel>(),
         {Stem::DELAYDREYWETDELAY, Stem::DELAYTIMEDELAY, Stem::DELAYTIMEDELAYSYNC, Stem::DELAYFEEDBACKDELAY}},
        {"chorus",
         make<ChorusPanel>(),
         {Stem::CHORUSRATE, Stem::CHORUSDEPTH, Stem::CHORUSDELAY, Stem::CHORUSFEEDBACK, Stem::CHORUSMIX}},
        {"decimator", make<DecimatorPanel>(), {Stem::RATEDECIMATOR, Stem::BITDECIMATOR}},
        {"Obs-DIST",
         make<DistortionPanel>(),
         {Stem::DISTDRIVE, Stem::DISTMIX, Stem::DISTTRESHOLD, Stem::DISTMODE}},
        {"phaser",
         make<PhaserPanel>(),
         {Stem::PHASERDEPTH, Stem::PHASERPEEDBAC, Stem::PHASERMIX, Stem::PHASERDECAY, Stem::PHASERRATE}},
        {"pitch",
         make<PitchShifterPanel>(),
         {Stem::PITCHVALUE, Stem::PITCHSLIDEVALUE, Stem::PITCHMUSICALOCTAVE, Stem::PITCHMUSICALFINE}},
        {"comb", make<CombFilterPanel>(), {Stem::COBFILTERDELAY}},
        {"repeater", make<RepeaterPanel>(), {Stem::REPEATERDIVIDE, Stem::REPEATEFADOUT}},
        {"vibrato", make<VibratoPanel>(), {Stem::VIBRATOWIDTH, Stem::VIBRATOLFOFREQ}},
        {"tremolo",
         make<TremoloPanel>(),
         {Stem::TREMOLODEPTH, Stem::TREMOLOFREQ, Stem::TREMOLOFREQSYNC, Stem::TREMOLOFWAVE}},
        {"ring",
         make<RingModulatorPanel>(),
         {Stem::RINGODEPTH, Stem::RINGLOFREQ, Stem::RINGMUSICALNOTE, Stem::RINGMUSICALOCTAVE,
          Stem::RINGMUSICALFINE, Stem::RINGLOFWAVE}},
        {"DISTORTION",
         make<DistortionPanel2>(),
         {Stem::DISTDRIVE2, Stem::DISTMIX2, Stem::DISTTRESHOLD2, Stem::DISTMODE2}},
    };
    const int line = 3;
    for (const auto& c : cases)
    {
        auto panel = build(c.make, processor, line);
        std::map<int, float> before;
        for (int stem = Stem::Speed; stem < numStems; ++stem)
            if (stem != Stem::GlobalRestncBar && stem != Stem::GLOBALMIXVOLUME && stem != Stem::GLOBALDRYWET)
                before[stem] = plain(stem, line);

        std::map<int, bool> changed;
        for (int draw = 0; draw < 12; ++draw)
        {
            panel->randButton.triggerClick();
            testing_support::pumpMessages(20);
            for (const auto& [stem, value] : before)
            {
                auto* parameter = processor.getParameterTree().getParameter(lineParameterID(stem, line));
                const auto range = parameter->getNormalisableRange();
                const float now = plain(stem, line);
                EXPECT_TRUE(now >= range.start && now <= range.end) << c.name << " " << valueTreeNames[stem];
                changed[stem] = changed[stem] || now != value;
            }
        }
        for (const auto& [stem, value] : before)
        {
            const bool listed = std::find(c.moved.begin(), c.moved.end(), stem) != c.moved.end();
            EXPECT_EQ(changed[stem], listed) << c.name << " " << valueTreeNames[stem];
            setPlain(stem, line, value);
        }
    }
}

TEST_F(EditorTest, EffectPanelAutomationLineOpensTheScreenForItsEffect)
{
    const std::pair<std::function<std::unique_ptr<Panel>(BramblewayAudioProcessor&, int)>, int> cases[] = {
        {make<ReverbePanel>(), 1},      {make<DelayPanel>(), 2},      {make<ChorusPanel>(), 3},
        {make<DecimatorPanel>(), 4},    {make<DistortionPanel>(), 5}, {make<PhaserPanel>(), 6},
        {make<PitchShifterPanel>(), 7}, {make<CombFilterPanel>(), 8}, {make<RepeaterPanel>(), 9},
        {make<VibratoPanel>(), 10},     {make<TremoloPanel>(), 11},   {make<RingModulatorPanel>(), 12},
        {make<DistortionPanel2>(), 13}};
    for (const auto& [factory, type] : cases)
    {
        auto panel = build(factory, processor, type % numLines);
        panel->modLineButton.triggerClick();
        testing_support::pumpMessages(20);
        EXPECT_TRUE(editor->modulationPanel.isVisible());
        EXPECT_EQ(editor->modulationPanel.getEffectType(), type);
        EXPECT_EQ(editor->modulationPanel.getLine(), type % numLines);
        editor->closeModulationScreen();
    }
}

TEST_F(EditorTest, APressAnywhereOnAnEffectPanelSelectsItsLineAndDarkensIt)
{
    ReverbePanel panel(processor, 3);
    panel.setBounds(400, 300, 115, 245);
    editor->addAndMakeVisible(panel);
    putOnDesktop();
    processor.editLine = 0;
    const auto backgroundAt = [&panel]
    { return panel.createComponentSnapshot(panel.getLocalBounds()).getPixelAt(6, 240); };
    EXPECT_EQ(backgroundAt(), backgroundColor);

    click(panel.room);
    EXPECT_EQ(processor.editLine, 3);
    EXPECT_EQ(backgroundAt(), juce::Colour(0xFF111111));

    processor.editLine = 0;
    click(panel, {5, 200});
    EXPECT_EQ(processor.editLine, 3);
    editor->removeChildComponent(&panel);
}

TEST_F(EffectPanels, RenderEveryPanel)
{
    for (const auto& layout : layouts())
    {
        auto panel = build(layout.make, processor, 0);
        const auto image = panel->createComponentSnapshot(panel->getLocalBounds());
        const auto file =
            juce::File(BRAMBLEWAY_SNAPSHOT_DIR).getChildFile(juce::String("panel-") + layout.name + ".png");
        file.deleteFile();
        {
            juce::FileOutputStream out(file);
            ASSERT_TRUE(out.openedOk());
            ASSERT_TRUE(juce::PNGImageFormat().writeImageToStream(image, out));
        }
        EXPECT_GT(file.getSize(), 0) << layout.name;
        // editLine is 0, the panel's own line: the darkened background. The border's 1-wide stroke centred
        // on x 2 covers half of pixel 2, so that pixel is half as bright as the background.
        EXPECT_EQ(image.getPixelAt(6, 240), juce::Colour(0xFF111111)) << layout.name;
        EXPECT_EQ(image.getPixelAt(2, 120), juce::Colour(0xFF080808)) << layout.name;
    }
    NoEffectPanel none(processor, 0);
    none.setSize(115, 245);
    EXPECT_EQ(none.createComponentSnapshot(none.getLocalBounds()).getPixelAt(50, 100), backgroundColor);
}
