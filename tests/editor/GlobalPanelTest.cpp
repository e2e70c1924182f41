// The global panel: its layout, the bar counter, "Reset All" and the preset controls against the presets
// file on disk.

#include "EngineRig.h"
#include "QuietXErrors.h"

#include "AllOtherEffectsPanel.h"

#include <gtest/gtest.h>

namespace
{
using testing_support::pumpMessages;

juce::AlertWindow* openAlert()
{
    return dynamic_cast<juce::AlertWindow*>(juce::ModalComponentManager::getInstance()->getModalComponent(0));
}

// Answers the dialog on top as a user would, then lets its callback run.
void answer(int result)
{
    auto* alert = openAlert();
    ASSERT_NE(alert, nullptr);
    alert->exitModalState(result);
    pumpMessages(50);
}

class PresetsOnDisk : public testing::Test
{
protected:
    void SetUp() override { testing_support::installQuietXErrorHandler(); }
    void TearDown() override
    {
        panel.reset();
        folder.deleteRecursively();
    }

    void store(std::initializer_list<const char*> names)
    {
        for (auto* name : names)
            processor.saveProgram(name);
    }

    void openPanel()
    {
        panel = std::make_unique<GlobalPanel>(processor);
        panel->setSize(125, 270);
    }

    void save(const juce::String& name)
    {
        panel->saveButton.onClick();
        ASSERT_NE(panel->nameDialog, nullptr);
        panel->nameDialog->getTextEditor("Preset")->setText(name);
        answer(1);
    }

    void deleteCurrent()
    {
        panel->deletePresetMenu();
        answer(1);
    }

    juce::StringArray namesOnDisk() const
    {
        juce::StringArray names;
        for (const auto& program : presets::readFile(file))
            names.add(program.name);
        return names;
    }

    juce::File folder{juce::File::getSpecialLocation(juce::File::tempDirectory)
                          .getNonexistentChildFile("brambleway-global", "")};
    juce::File file{folder.getChildFile(presets::fileName)};
    BramblewayAudioProcessor processor{(folder.createDirectory(), file)};
    std::unique_ptr<GlobalPanel> panel;
};
} // namespace

TEST(GlobalPanelLayout, PlacesEveryChildAtTheFixedSize)
{
    BramblewayAudioProcessor processor;
    GlobalPanel panel(processor);
    panel.setSize(125, 270);

    const std::vector<std::pair<juce::Component*, juce::Rectangle<int>>> expected{
        {&panel.titleLabel, {0, 0, 125, 30}},     {&panel.dryWetKnob, {13, 33, 46, 54}},
        {&panel.volumeKnob, {65, 33, 47, 54}},    {&panel.resyncKnob, {13, 93, 46, 54}},
        {&panel.barLabel, {24, 93, 24, 27}},      {&panel.resetButton, {67, 102, 43, 36}},
        {&panel.saveButton, {13, 163, 46, 28}},   {&panel.deleteButton, {65, 163, 47, 28}},
        {&panel.presetsLabel, {13, 204, 99, 20}}, {&panel.presetBox, {13, 229, 99, 24}},
    };
    for (const auto& [child, bounds] : expected)
        EXPECT_EQ(child->getBounds(), bounds) << child->getName();
    // The knob draws over the counter.
    EXPECT_EQ(panel.getIndexOfChildComponent(&panel.barLabel), 0);
}

TEST(GlobalPanelBarCounter, CountsTheBarsOfTheRestartPeriodAndFlashesOnlyOnReturningToOne)
{
    testing_support::EngineRig rig;
    rig.set(valueTreeNames[Stem::GlobalRestncBar], 4.0f);
    GlobalPanel panel(rig.processor);
    const juce::int64 bar = 4 * 60 * 48000 / 120;

    struct Tick
    {
        bool playing;
        const char* text;
        bool white;
    };
    // Each tick falls in the middle of a bar; stopping while above 1 flashes once more.
    const std::vector<Tick> ticks{{false, "1", false}, {true, "1", false}, {true, "2", false},
                                  {true, "3", false},  {true, "4", false}, {true, "1", true},
                                  {true, "2", false},  {false, "1", true}, {false, "1", false}};
    bool wasPlaying = false;
    for (size_t i = 0; i < ticks.size(); ++i)
    {
        SCOPED_TRACE("tick " + std::to_string(i));
        rig.playHead.playing = ticks[i].playing;
        rig.run(ticks[i].playing && wasPlaying ? bar : bar / 2);
        wasPlaying = ticks[i].playing;
        panel.timerCallback();

        EXPECT_EQ(panel.barLabel.getText(), ticks[i].text);
        const auto colour = panel.barLabel.findColour(juce::Label::textColourId);
        EXPECT_EQ(colour, ticks[i].white ? juce::Colours::white : juce::Colour(0xFF00FFFF));
        EXPECT_EQ(panel.barLabel.getFont().getHeight(), ticks[i].white ? 13.0f : 11.0f);
    }
}

TEST(GlobalPanelBarCounter, NeverLeavesOneWithARestartEveryBar)
{
    testing_support::EngineRig rig;
    rig.set(valueTreeNames[Stem::GlobalRestncBar], 1.0f);
    GlobalPanel panel(rig.processor);
    for (int i = 0; i < 5; ++i)
    {
        rig.run(4 * 60 * 48000 / 120);
        panel.timerCallback();
        EXPECT_EQ(panel.barLabel.getText(), "1");
        EXPECT_NE(panel.barLabel.findColour(juce::Label::textColourId), juce::Colours::white);
    }
}

TEST_F(PresetsOnDisk, ResetAllRestoresEveryParameterAndFlattensEveryLineButKeepsThePresets)
{
    store({"A", "B"});
    openPanel();
    panel->presetBox.setSelectedId(2, juce::sendNotificationSync);
    const auto fileBefore = file.loadFileAsString();

    for (auto* parameter : processor.getParameters())
        parameter->setValueNotifyingHost(parameter->getDefaultValue() < 0.5f ? 0.9f : 0.1f);
    processor.editLineAutomation(
        [](auto& lines)
        {
            for (auto& line : lines)
                for (auto& points : line)
                    points = {{0.0f, 0.1f}, {0.3f, 0.8f}, {1.0f, 0.2f}};
        });

    panel->resetButton.onClick();

    for (auto* parameter : processor.getParameters())
        EXPECT_EQ(parameter->getValue(), parameter->getDefaultValue()) << parameter->getName(64);
    BramblewayAudioProcessor fresh;
    EXPECT_EQ(processor.lineAutomation, fresh.lineAutomation);
    EXPECT_EQ(file.loadFileAsString(), fileBefore);
    EXPECT_EQ(processor.getNumPrograms(), 3);
    EXPECT_EQ(panel->presetBox.getSelectedId(), 2);
}

TEST_F(PresetsOnDisk, SaveStoresEveryNameAsTypedAndSelectsTheNewPreset)
{
    openPanel();
    EXPECT_EQ(panel->presetBox.getNumItems(), 0);

    const std::vector<juce::String> typed{"Pad", "Pad", ""};
    juce::StringArray expected;
    for (const auto& name : typed)
    {
        save(name);
        expected.add(name);
        EXPECT_EQ(namesOnDisk(), expected);
        EXPECT_EQ(panel->presetBox.getNumItems(), expected.size());
        EXPECT_EQ(panel->presetBox.getSelectedId(), expected.size());
        EXPECT_EQ(processor.getCurrentProgram(), expected.size());
    }
    // The box cannot list an empty text.
    EXPECT_EQ(panel->presetBox.getItemText(2), "(no name)");
}

TEST_F(PresetsOnDisk, CancellingTheNameDialogStoresNothing)
{
    store({"A"});
    openPanel();
    panel->saveButton.onClick();
    answer(0);
    EXPECT_EQ(namesOnDisk(), juce::StringArray("A"));
    EXPECT_EQ(processor.getNumPrograms(), 2);
}

TEST_F(PresetsOnDisk, DeleteErasesTheCurrentPresetAndSelectsItsSuccessorOrTheOneBefore)
{
    struct Case
    {
        int current;
        juce::StringArray left;
        int selected;
    };
    const std::vector<Case> cases{
        {3, {"1", "2", "4", "5"}, 3}, {5, {"1", "2", "3", "4"}, 4}, {1, {"2", "3", "4", "5"}, 1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE("deleting " + std::to_string(c.current));
        while (processor.getNumPrograms() > 1)
            processor.deleteProgram(1);
        store({"1", "2", "3", "4", "5"});
        openPanel();
        panel->presetBox.setSelectedId(c.current, juce::sendNotificationSync);
        ASSERT_EQ(processor.getCurrentProgram(), c.current);

        deleteCurrent();

        EXPECT_EQ(namesOnDisk(), c.left);
        EXPECT_EQ(panel->presetBox.getNumItems(), 4);
        EXPECT_EQ(panel->presetBox.getSelectedId(), c.selected);
        EXPECT_EQ(processor.getCurrentProgram(), c.selected);
        EXPECT_EQ(processor.getProgramName(c.selected), c.left[c.selected - 1]);
    }
}

TEST_F(PresetsOnDisk, DeleteKeepsTheLastPresetAndErasesNothingWithoutACurrentOne)
{
    store({"only"});
    openPanel();
    panel->presetBox.setSelectedId(1, juce::sendNotificationSync);
    EXPECT_EQ(processor.getCurrentProgram(), 1) << "one stored preset still loads";
    deleteCurrent();
    EXPECT_EQ(namesOnDisk(), juce::StringArray("only"));

    store({"second"});
    panel = nullptr;
    BramblewayAudioProcessor reopened(file);
    GlobalPanel fresh(reopened);
    ASSERT_EQ(reopened.getCurrentProgram(), 0);
    fresh.deletePresetMenu();
    answer(1);
    EXPECT_EQ(namesOnDisk(), juce::StringArray({"only", "second"}));
}

TEST_F(PresetsOnDisk, ChoosingAPresetAppliesItAgainAfterTheRefreshWithoutHarm)
{
    const auto volume = lineParameterID(Stem::LineVolume, 2);
    testing_support::setPlain(processor, volume, -12.0f);
    store({"quiet"});
    testing_support::setPlain(processor, volume, 3.0f);
    store({"loud"});
    openPanel();
    const auto fileBefore = file.loadFileAsString();

    panel->presetBox.setSelectedId(1, juce::sendNotificationSync);
    EXPECT_EQ(testing_support::plainValue(processor, volume), -12.0f);

    save("copy");
    EXPECT_EQ(processor.getCurrentProgram(), 3);
    EXPECT_EQ(testing_support::plainValue(processor, volume), -12.0f);
    EXPECT_EQ(namesOnDisk(), juce::StringArray({"quiet", "loud", "copy"}));
    EXPECT_NE(file.loadFileAsString(), fileBefore);
    pumpMessages(50);
    EXPECT_EQ(processor.getCurrentProgram(), 3);
    EXPECT_EQ(panel->presetBox.getSelectedId(), 3);
}

TEST_F(PresetsOnDisk, ADialogAnsweredAfterThePanelIsGoneReachesNothing)
{
    store({"A", "B"});
    openPanel();
    panel->presetBox.setSelectedId(2, juce::sendNotificationSync);

    panel->saveButton.onClick();
    panel = nullptr;
    answer(1);

    openPanel();
    panel->deletePresetMenu();
    panel = nullptr;
    answer(1);

    EXPECT_EQ(namesOnDisk(), juce::StringArray({"A", "B"}));
    EXPECT_EQ(processor.getNumPrograms(), 3);
}

TEST_F(PresetsOnDisk, OpensWithTheLastChosenPresetSelectedWithoutLoadingIt)
{
    store({"A", "B", "C"});
    openPanel();
    panel->presetBox.setSelectedId(2, juce::sendNotificationSync);
    BramblewayAudioProcessor reopened(file);
    juce::MemoryBlock state;
    processor.getStateInformation(state);
    reopened.setStateInformation(state.getData(), (int) state.getSize());

    GlobalPanel fresh(reopened);
    EXPECT_EQ(fresh.presetBox.getNumItems(), 3);
    EXPECT_EQ(fresh.presetBox.getSelectedId(), 2);
    EXPECT_EQ(reopened.getCurrentProgram(), 0);
}
