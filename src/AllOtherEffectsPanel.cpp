#include "AllOtherEffectsPanel.h"
#include "EffectsPanel.h"
#include "ParameterLayout.h"

juce::ChangeBroadcaster myReCreateLineChangeListener;

void randomiseKnob(juce::Slider& knob)
{
    float r = juce::Random::getSystemRandom().nextFloat();
    if (r >= 1.0f)
        r = 0.9999999f;
    const double start = knob.getMinimum();
    knob.setValue(start + (juce::jmax(knob.getMaximum(), start) - start) * r, juce::sendNotificationAsync);
}

void randomiseBox(juce::ComboBox& box)
{
    box.setSelectedId(juce::Random::getSystemRandom().nextInt(box.getNumItems()) + 1,
                      juce::sendNotificationAsync);
}

void styleToggle(juce::TextButton& toggle, const juce::String& text)
{
    toggle.setButtonText(text);
    toggle.setClickingTogglesState(true);
    toggle.setColour(juce::TextButton::textColourOffId, juce::Colours::orange);
    toggle.setColour(juce::TextButton::textColourOnId, juce::Colours::black);
    toggle.setColour(juce::TextButton::buttonColourId, myButtonColour);
    toggle.setColour(juce::TextButton::buttonOnColourId, juce::Colours::orange);
}

juce::Rectangle<int> clampedRect(int x, int y, int w, int h)
{
    return {x, y, juce::jmax(w, 0), juce::jmax(h, 0)};
}

//==============================================================================
PanelGrid::PanelGrid(int width, int height)
    : w(width), h(height), iw(juce::jmax(width - 20, 0)), half(iw / 2), th(juce::jmin(height, 30)),
      q((height - th) / 4), rowY(th), left(height - th)
{
}

PanelGrid::Row PanelGrid::nextRow()
{
    const Row row{rowY, juce::jmax(juce::jmin(q, left), 0)};
    rowY += row.h;
    left -= row.h;
    return row;
}

void PanelGrid::restartRowsAt(int y)
{
    rowY = y;
    left = h - y;
}

juce::Rectangle<int> PanelGrid::slot(Slot shape, Row row) const
{
    const int y = row.y;
    const int rh = row.h;
    switch (shape)
    {
    case Slot::L:
        return clampedRect(13, y + 3, half - 6, rh - 6);
    case Slot::R:
        return clampedRect(13 + half, y + 3, iw - half - 6, rh - 6);
    case Slot::L0:
        return clampedRect(13, y, half - 6, rh);
    case Slot::R0:
        return clampedRect(13 + half, y, iw - half - 6, rh);
    case Slot::F:
        return clampedRect(10 + iw / 5, y, iw - 2 * (iw / 5), rh);
    case Slot::F3:
        return clampedRect(10 + iw / 5, y + 3, iw - 2 * (iw / 5), rh - 6);
    case Slot::Q:
        return clampedRect(10 + iw / 4, y, iw - 2 * (iw / 4), rh);
    case Slot::Q3:
        return clampedRect(10 + iw / 4, y + 3, iw - 2 * (iw / 4), rh - 6);
    case Slot::B:
        return clampedRect(10, y + 13, iw, rh - 26);
    case Slot::M:
    {
        const int d = (int) (q * 1.6 / 5.0);
        return clampedRect(10 + w / 7, y + d, iw - 2 * (w / 7), rh - 2 * d);
    }
    }
    return {};
}

juce::Rectangle<int> PanelGrid::automationButton() const
{
    return clampedRect(13, 10, iw - 6, th - 10);
}

juce::Rectangle<int> PanelGrid::randButton() const
{
    const int hb = juce::jmin(h, (int) ((h / 4) * 3.0 / 5.0));
    return clampedRect(w / 4, h - hb + 7, w - 2 * (w / 4), hb - 14);
}

//==============================================================================
EffectParameterPanel::EffectParameterPanel(BramblewayAudioProcessor& processorToUse, int lineToUse,
                                           int effectTypeToUse)
    : processor(processorToUse), line(lineToUse), effectType(effectTypeToUse)
{
    myLookAndFeel.setColour(juce::PopupMenu::backgroundColourId, myPopupColour);
    addAndMakeVisible(randButton);
    addAndMakeVisible(modLineButton);
    makePropRandButton(randButton);
    makePropModLineButton(modLineButton);
    modLineButton.onClick = [this] { processor.setEffectModulationScreen(effectType, line); };
    randButton.onClick = [this] { randomise(); };
}

void EffectParameterPanel::addKnob(CustomRoratySlider& knob, int stem, const juce::String& caption,
                                   bool randomised)
{
    addAndMakeVisible(knob);
    knob.caption = caption;
    bindings.push_back({&knob, nullptr, nullptr, stem});
    if (randomised)
        randomKnobs.push_back(&knob);
}

void EffectParameterPanel::addBox(juce::ComboBox& box, int stem, const juce::StringArray& items,
                                  bool randomised)
{
    addAndMakeVisible(box);
    box.addItemList(items, 1);
    box.setLookAndFeel(&myLookAndFeel);
    bindings.push_back({nullptr, &box, nullptr, stem});
    if (randomised)
        randomBoxes.push_back(&box);
}

void EffectParameterPanel::addToggle(juce::TextButton& toggle, int stem, const juce::String& text,
                                     bool announces)
{
    addAndMakeVisible(toggle);
    styleToggle(toggle, text);
    if (announces)
        toggle.onClick = [this]
        {
            resized();
            myReCreateLineChangeListener.sendChangeMessage();
        };
    bindings.push_back({nullptr, nullptr, &toggle, stem});
}

void EffectParameterPanel::attachAll()
{
    addMouseListener(this, true);
    auto& tree = processor.getParameterTree();
    for (const auto& b : bindings)
    {
        const auto id = lineParameterID(b.stem, line);
        if (b.knob != nullptr)
            knobAttachments.push_back(std::make_unique<Tree::SliderAttachment>(tree, id, *b.knob));
        else if (b.box != nullptr)
            boxAttachments.push_back(std::make_unique<Tree::ComboBoxAttachment>(tree, id, *b.box));
        else
            toggleAttachments.push_back(std::make_unique<Tree::ButtonAttachment>(tree, id, *b.toggle));
    }
}

void EffectParameterPanel::randomise()
{
    for (auto* knob : randomKnobs)
        randomiseKnob(*knob);
    for (auto* box : randomBoxes)
        randomiseBox(*box);
}

void EffectParameterPanel::mouseDown(const juce::MouseEvent& event)
{
    if (auto* host = dynamic_cast<EffectPanel*>(getParentComponent()))
        host->setFilterPanel(line);
    if (auto* button = dynamic_cast<juce::TextButton*>(event.eventComponent);
        button != nullptr && button->getParentComponent() == this)
        button->setState(juce::Button::buttonDown);
    processor.editLine = line;
}

void EffectParameterPanel::paint(juce::Graphics& g)
{
    g.fillAll(backgroundColor);
    if (processor.editLine == line)
        g.fillAll(backgroundColor.darker(0.4f));
    g.setColour(myBorderColour);
    g.drawRoundedRectangle(clampedRect(2, 2, getWidth() - 4, getHeight() - 4).toFloat(), 3.0f, 1.0f);
}

PanelGrid EffectParameterPanel::layOutFrame()
{
    PanelGrid grid(getWidth(), getHeight());
    modLineButton.setBounds(grid.automationButton());
    randButton.setBounds(grid.randButton());
    return grid;
}

void EffectParameterPanel::place(const PanelGrid& grid, PanelGrid::Row row,
                                 std::initializer_list<Placement> slots)
{
    for (const auto& [shape, component] : slots)
        component->setBounds(grid.slot(shape, row));
}

void EffectParameterPanel::share(bool showFirst, juce::Component& first, juce::Component& second)
{
    second.setBounds(first.getBounds());
    first.setVisible(showFirst);
    second.setVisible(!showFirst);
}

//==============================================================================
NoEffectPanel::NoEffectPanel(BramblewayAudioProcessor& processorToUse, int lineToUse)
    : processor(processorToUse), line(lineToUse)
{
}

void NoEffectPanel::paint(juce::Graphics& g)
{
    g.fillAll(backgroundColor);
}

//==============================================================================
ReverbePanel::ReverbePanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 1)
{
    addKnob(room, Stem::REVERBROOMSIZE, "Room", true);
    addKnob(damp, Stem::REVERBDAMPING, "Damp", true);
    addKnob(wet, Stem::REVERBWETLEVEL, "Wet", true);
    addKnob(dry, Stem::REVERBDRYLEVEL, "Dry", true);
    addKnob(width, Stem::REVERBWIDTH, "Width", true);
    addToggle(noTail, Stem::REVERBINST, "No Tail", false);
    attachAll();
}

void ReverbePanel::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::L, &room}, {Slot::R, &damp}});
    place(grid, grid.nextRow(), {{Slot::L, &wet}, {Slot::R, &dry}});
    place(grid, grid.nextRow(), {{Slot::F, &width}});
    noTail.setBounds(width.getX(), width.getBottom() + 5, width.getWidth(), 20);
}

DelayPanel::DelayPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 2)
{
    addKnob(dryWet, Stem::DELAYDREYWETDELAY, "DryWet", true);
    addKnob(delay, Stem::DELAYTIMEDELAY, "Delay", true);
    addKnob(syncKnob, Stem::DELAYTIMEDELAYSYNC, "Sync", true);
    addKnob(feedback, Stem::DELAYFEEDBACKDELAY, "FeedB", true);
    addToggle(sync, Stem::DELAYSYNC, "Sync");
    attachAll();
}

void DelayPanel::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::L, &dryWet}, {Slot::R, &feedback}});
    const auto row2 = grid.nextRow();
    place(grid, row2, {{Slot::F, &delay}});
    share(!sync.getToggleState(), delay, syncKnob);
    sync.setBounds(clampedRect(10 + grid.iw / 3, row2.bottom() + 13, grid.iw - 2 * (grid.iw / 3), 20));
}

ChorusPanel::ChorusPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 3)
{
    addKnob(rate, Stem::CHORUSRATE, "Rate", true);
    addKnob(depth, Stem::CHORUSDEPTH, "Depth", true);
    addKnob(chorusDelay, Stem::CHORUSDELAY, "CDelay", true);
    addKnob(feedback, Stem::CHORUSFEEDBACK, "FeedBack", true);
    addKnob(mix, Stem::CHORUSMIX, "Mix", true);
    attachAll();
}

void ChorusPanel::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::L, &rate}, {Slot::R, &depth}});
    place(grid, grid.nextRow(), {{Slot::L, &chorusDelay}, {Slot::R, &feedback}});
    place(grid, grid.nextRow(), {{Slot::F, &mix}});
}

DecimatorPanel::DecimatorPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 4)
{
    addKnob(rate, Stem::RATEDECIMATOR, "Rate", true);
    addKnob(bit, Stem::BITDECIMATOR, "Bit", true);
    addKnob(cutOff, Stem::CUTOFFDECIMATOR, "CutOff", false);
    attachAll();
}

void DecimatorPanel::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::Q3, &rate}});
    place(grid, grid.nextRow(), {{Slot::Q3, &bit}});
    place(grid, grid.nextRow(), {{Slot::Q, &cutOff}});
}

DistortionPanel::DistortionPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 5)
{
    addKnob(drive, Stem::DISTDRIVE, "Drive", true);
    addKnob(mix, Stem::DISTMIX, "Mix", true);
    addKnob(treshold, Stem::DISTTRESHOLD, "Tresh", true);
    addBox(mode, Stem::DISTMODE, distChoicesStr, true);
    attachAll();
}

void DistortionPanel::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::B, &mode}});
    place(grid, grid.nextRow(), {{Slot::L, &drive}, {Slot::R, &mix}});
    place(grid, grid.nextRow(), {{Slot::F, &treshold}});
}

PhaserPanel::PhaserPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 6)
{
    addKnob(depth, Stem::PHASERDEPTH, "Depth", true);
    addKnob(feedback, Stem::PHASERPEEDBAC, "FeedBack", true);
    addKnob(mix, Stem::PHASERMIX, "Mix", true);
    addKnob(center, Stem::PHASERDECAY, "Center", true);
    addKnob(rate, Stem::PHASERRATE, "Rate", true);
    attachAll();
}

void PhaserPanel::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::L, &depth}, {Slot::R, &feedback}});
    place(grid, grid.nextRow(), {{Slot::L, &rate}, {Slot::R, &center}});
    place(grid, grid.nextRow(), {{Slot::F, &mix}});
}

PitchShifterPanel::PitchShifterPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 7)
{
    addKnob(pitch, Stem::PITCHVALUE, "Pitch", true);
    addKnob(slide, Stem::PITCHSLIDEVALUE, "Down/Up", true);
    addKnob(octave, Stem::PITCHMUSICALOCTAVE, "Octave", true);
    addKnob(semi, Stem::PITCHMUSICALFINE, "Semi", true);
    addToggle(musical, Stem::PITCHMUSICALSET, "Musical");
    attachAll();
}

void PitchShifterPanel::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::M, &musical}});
    const auto row2 = grid.nextRow();
    place(grid, row2, {{Slot::F3, &pitch}, {Slot::L, &octave}, {Slot::R, &semi}});
    const bool on = musical.getToggleState();
    pitch.setVisible(!on);
    octave.setVisible(on);
    semi.setVisible(on);
    place(grid, grid.nextRow(), {{Slot::F3, &slide}});
}

CombFilterPanel::CombFilterPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 8)
{
    addKnob(delay, Stem::COBFILTERDELAY, {}, true);
    addKnob(depth, Stem::COMBFILTERDEPTH, "Depth", false);
    addKnob(freq, Stem::COMBFILTEROFFREQ, "Freq", false);
    addKnob(syncFreq, Stem::COMBFILTEROFFREQSYNC, "SyncFreq", false);
    addToggle(sync, Stem::COMBFILTERSYNC, "Sync");
    addBox(wave, Stem::COMBFILTEROFWAVE, LFOWaveName, false);
    attachAll();
}

void CombFilterPanel::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::Q, &delay}});
    const auto row2 = grid.nextRow();
    wave.setBounds(clampedRect(14, row2.y, grid.iw - 8, row2.h - 30));
    const auto row3 = grid.nextRow();
    const int y = row3.y - 15;
    freq.setBounds(clampedRect(13, y, grid.half - 6, row3.h));
    depth.setBounds(clampedRect(13 + grid.half, y, grid.iw - grid.half - 6, row3.h));
    share(!sync.getToggleState(), freq, syncFreq);
    sync.setBounds(clampedRect(23, row3.bottom() - 5, grid.iw - 26, 20));
}

RepeaterPanel::RepeaterPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 9)
{
    addKnob(repeate, Stem::REPEATERDIVIDE, "Repeate", true);
    addKnob(fadeOut, Stem::REPEATEFADOUT, "FadeOut", true);
    addKnob(windowLength, Stem::REPEATERWINDOW, "WindLen", false);
    addBox(type, Stem::REPEATERTYPE, repeaterTypeString, false);
    type.onChange = [this] { resized(); };
    attachAll();
}

void RepeaterPanel::resized()
{
    auto grid = layOutFrame();
    const auto row1 = grid.nextRow();
    // The box, not the raw value: the box hears of a host change before the raw value is updated.
    const bool firstAlgorithm = type.getSelectedItemIndex() == 0;
    if (firstAlgorithm)
        place(grid, row1, {{Slot::L, &repeate}, {Slot::R, &windowLength}});
    else
        place(grid, row1, {{Slot::F3, &repeate}});
    windowLength.setVisible(firstAlgorithm);
    place(grid, grid.nextRow(), {{Slot::F3, &fadeOut}});
    const auto row3 = grid.nextRow();
    type.setBounds(clampedRect(13, row3.y + 13, grid.iw - 6, row3.h - 26));
}

VibratoPanel::VibratoPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 10)
{
    addKnob(width, Stem::VIBRATOWIDTH, "Width", true);
    addKnob(freq, Stem::VIBRATOLFOFREQ, "Freq", true);
    addBox(wave, Stem::VIBRATOLFOWAVE, LFOWaveName, false);
    addBox(interpolation, Stem::VIBRATOINTERPOLATION, interpolationItemsUI, false);
    attachAll();
}

void VibratoPanel::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::F3, &width}});
    place(grid, grid.nextRow(), {{Slot::F3, &freq}});
}

TremoloPanel::TremoloPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 11)
{
    addKnob(depth, Stem::TREMOLODEPTH, "Depth", true);
    addKnob(freq, Stem::TREMOLOFREQ, "Freq", true);
    addKnob(syncFreq, Stem::TREMOLOFREQSYNC, {}, true);
    addBox(wave, Stem::TREMOLOFWAVE, LFOWaveName, true);
    addToggle(sync, Stem::TREMOLOSYNC, "Sync");
    attachAll();
}

void TremoloPanel::resized()
{
    auto grid = layOutFrame();
    const auto row1 = grid.nextRow();
    wave.setBounds(clampedRect(14, row1.y + 15, grid.iw - 8, row1.h - 30));
    const auto row2 = grid.nextRow();
    place(grid, row2, {{Slot::L, &freq}, {Slot::R, &depth}});
    share(!sync.getToggleState(), freq, syncFreq);
    sync.setBounds(clampedRect(23, row2.bottom() + 10, grid.iw - 26, 20));
}

RingModulatorPanel::RingModulatorPanel(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 12)
{
    addKnob(depth, Stem::RINGODEPTH, "Depth", true);
    addKnob(freq, Stem::RINGLOFREQ, "Freq", true);
    addKnob(note, Stem::RINGMUSICALNOTE, "Note", true);
    addKnob(octave, Stem::RINGMUSICALOCTAVE, "Octave", true);
    addKnob(cent, Stem::RINGMUSICALFINE, "Cent", true);
    addBox(wave, Stem::RINGLOFWAVE, LFOWaveName, true);
    addToggle(musical, Stem::RINGMUSICALSET, "Musical");
    attachAll();
}

void RingModulatorPanel::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::M, &musical}});
    const auto toggle = musical.getBounds();
    wave.setBounds(toggle.withY(toggle.getBottom() + 10));
    grid.restartRowsAt(wave.getBottom());
    place(grid, grid.nextRow(), {{Slot::L, &freq}, {Slot::R, &depth}});
    place(grid, grid.nextRow(), {{Slot::L, &octave}, {Slot::R, &cent}});
    const bool on = musical.getToggleState();
    share(!on, freq, note);
    octave.setVisible(on);
    cent.setVisible(on);
}

DistortionPanel2::DistortionPanel2(BramblewayAudioProcessor& p, int l) : EffectParameterPanel(p, l, 13)
{
    addKnob(drive, Stem::DISTDRIVE2, "Drive", true);
    addKnob(mix, Stem::DISTMIX2, "Dry/Wet", true);
    addKnob(treshold, Stem::DISTTRESHOLD2, "Trhs/Vol", true);
    addKnob(cutOff, Stem::DISTCUTOFF2, "CutOff", false);
    addBox(mode, Stem::DISTMODE2, dist2ChoicesStr, true);
    attachAll();
}

void DistortionPanel2::resized()
{
    auto grid = layOutFrame();
    place(grid, grid.nextRow(), {{Slot::B, &mode}});
    place(grid, grid.nextRow(), {{Slot::L0, &drive}, {Slot::R0, &mix}});
    place(grid, grid.nextRow(), {{Slot::L0, &treshold}, {Slot::R0, &cutOff}});
}

//==============================================================================
namespace
{
const juce::Colour barColour{0xFF00FFFF};
const juce::Colour buttonOutline{0x4CFFA500};

void styleGlobalButton(juce::TextButton& button, const juce::String& text)
{
    button.setColour(juce::TextButton::textColourOnId, juce::Colours::orange);
    button.setColour(juce::TextButton::buttonColourId, juce::Colours::transparentBlack);
    button.setColour(juce::TextButton::buttonOnColourId, juce::Colours::orange);
    button.setColour(juce::ComboBox::outlineColourId, buttonOutline);
    button.setButtonText(text);
}
} // namespace

GlobalPanel::GlobalPanel(BramblewayAudioProcessor& processorToUse) : processor(processorToUse)
{
    addAndMakeVisible(titleLabel);
    titleLabel.setText("GLOBAL ", juce::dontSendNotification);
    titleLabel.setJustificationType(juce::Justification::centred);
    startTimer(100);

    presetsLabel.setText("Presets", juce::dontSendNotification);
    presetsLabel.setJustificationType(juce::Justification::centred);
    presetsLabel.setColour(juce::Label::textColourId, juce::Colours::orange);

    for (auto* child : std::initializer_list<juce::Component*>{&volumeKnob, &resyncKnob, &resetButton,
                                                               &saveButton, &deleteButton, &presetBox,
                                                               &dryWetKnob, &barLabel, &presetsLabel})
        addAndMakeVisible(child);
    myLookAndFeel.setColour(juce::PopupMenu::backgroundColourId, myPopupColour);

    auto& tree = processor.getParameterTree();
    volumeAttachment =
        std::make_unique<Tree::SliderAttachment>(tree, valueTreeNames[Stem::GLOBALMIXVOLUME], volumeKnob);
    resyncAttachment =
        std::make_unique<Tree::SliderAttachment>(tree, valueTreeNames[Stem::GlobalRestncBar], resyncKnob);
    dryWetAttachment =
        std::make_unique<Tree::SliderAttachment>(tree, valueTreeNames[Stem::GLOBALDRYWET], dryWetKnob);
    volumeKnob.caption = "Volume";
    resyncKnob.caption = "ReSyBar";
    dryWetKnob.caption = "Dry/Wet";

    barLabel.setText("1", juce::dontSendNotification);
    styleGlobalButton(resetButton, "Reset All");
    styleGlobalButton(saveButton, "Save");
    styleGlobalButton(deleteButton, "Del.");

    barLabel.setColour(juce::Label::textColourId, barColour);
    barLabel.toBack();
    barLabel.setFont(11.0f);
    barLabel.setJustificationType(juce::Justification::centred);

    presetBox.setLookAndFeel(&myLookAndFeel);
    resetButton.onClick = [this] { resetAll(); };
    saveButton.onClick = [this] { openNameDialog(); };

    refillPresetBox();
    processor.savedPresetNo.referTo(tree.state, savedPresetNoIdent, nullptr, 0);
    if (juce::isPositiveAndNotGreaterThan((int) processor.savedPresetNo, storedPresets()))
        presetBox.setSelectedId(processor.savedPresetNo, juce::dontSendNotification);
    presetBox.onChange = [this] { loadSelectedPreset(); };
    deleteButton.onClick = [this] { deletePresetMenu(); };

    dialogAnchor.getLookAndFeel().setColour(juce::AlertWindow::backgroundColourId, juce::Colours::black);
    dialogAnchor.getLookAndFeel().setColour(juce::AlertWindow::textColourId, juce::Colours::orange);
}

GlobalPanel::~GlobalPanel()
{
    presetBox.setLookAndFeel(nullptr);
}

int GlobalPanel::storedPresets()
{
    // Program 0 is "Init"; every other program is a stored preset.
    return processor.getNumPrograms() - 1;
}

void GlobalPanel::refillPresetBox()
{
    presetBox.clear(juce::sendNotificationAsync);
    for (int i = 1; i <= storedPresets(); ++i)
    {
        // A combo box drops items with empty text, which would shift the selection off the preset.
        const auto name = processor.getProgramName(i);
        presetBox.addItem(name.isEmpty() ? "(no name)" : name, i);
    }
}

void GlobalPanel::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    const int t = juce::jmin(h, 30);
    titleLabel.setBounds(clampedRect(0, 0, w, t));

    const int wi = juce::jmax(w - 20, 0);
    const int h1 = h - t;
    const int q = h1 / 4;
    const int left = wi / 2;
    const int right = wi - left;

    const int y1 = t;
    const int r1 = juce::jmin(q, h1);
    dryWetKnob.setBounds(clampedRect(13, y1 + 3, left - 6, r1 - 6));
    volumeKnob.setBounds(clampedRect(left + 13, y1 + 3, right - 6, r1 - 6));

    const int y2 = y1 + r1;
    const int r2 = juce::jmin(q, h1 - r1);
    resyncKnob.setBounds(clampedRect(13, y2 + 3, left - 6, r2 - 6));
    const auto knob = resyncKnob.getBounds();
    barLabel.setBounds(clampedRect(knob.getX() + knob.getWidth() / 4, knob.getY(),
                                   knob.getWidth() - 2 * (knob.getWidth() / 4), knob.getHeight() / 2));
    resetButton.setBounds(clampedRect(left + 15, y2 + h1 / 20, right - 10, r2 - 2 * (h1 / 20)));

    const int y3 = y2 + r2;
    const int r3 = juce::jmin(h1 - r1 - r2, (int) (0.9 * q));
    const int v = (2 * q) / 9;
    saveButton.setBounds(clampedRect(13, y3 + v, left - 6, r3 - 2 * v));
    deleteButton.setBounds(clampedRect(left + 13, y3 + v, right - 6, r3 - 2 * v));

    const int y4 = y3 + r3;
    presetsLabel.setBounds(clampedRect(13, y4, wi - 6, 20));
    presetBox.setBounds(clampedRect(13, y4 + 25, wi - 6, 24));
}

void GlobalPanel::paint(juce::Graphics& g)
{
    g.fillAll(backgroundColor);
    g.setColour(myBorderColour);
    g.drawRoundedRectangle(clampedRect(2, 2, getWidth() - 4, getHeight() - 4).toFloat(), 3.0f, 1.0f);

    const auto knob = resyncKnob.getBounds();
    const int glowHeight = juce::jmax(knob.getHeight() - 10, 0);
    const juce::Rectangle<int> glow(knob.getX(), knob.getY() + 5, knob.getWidth(), glowHeight);
    const auto edge = dryWetKnob.findColour(juce::Label::backgroundColourId);
    if (barLabel.findColour(juce::Label::textColourId) == juce::Colours::white)
    {
        const juce::Point<float> centre((float) (knob.getX() + knob.getWidth() / 2),
                                        (float) (knob.getY() + 5 + glowHeight / 2));
        g.setGradientFill(
            juce::ColourGradient(juce::Colours::yellow, centre, edge, glow.getTopLeft().toFloat(), true));
    }
    else
    {
        g.setColour(edge);
    }
    g.fillRect(glow);
}

void GlobalPanel::timerCallback()
{
    const int n = processor.wasPlaying.load(std::memory_order_relaxed)
                      ? processor.barCounter.load(std::memory_order_relaxed) + 1
                      : 1;
    barLabel.setText(juce::String(n), juce::dontSendNotification);
    // The counter flashes for one tick whenever it falls back to the first bar.
    const bool flash = lastBar != 1 && n == 1;
    barLabel.setColour(juce::Label::textColourId, flash ? juce::Colours::white : barColour);
    barLabel.setFont(flash ? 13.0f : 11.0f);
    repaint(resyncKnob.getBounds());
    lastBar = n;
}

void GlobalPanel::resetAll()
{
    auto& tree = processor.getParameterTree();
    const auto toDefault = [](juce::RangedAudioParameter& parameter)
    { parameter.setValueNotifyingHost(parameter.getDefaultValue()); };

    for (int k = 0; k < numStems; ++k)
    {
        if (presets::isGlobalStem(k))
            toDefault(*tree.getParameter(valueTreeNames[k]));
        else if (k == Stem::block)
            // Through the parameter, not the tree's value: the tree catches up with a host's change only
            // on its timer, and a value already equal to the default there would never reach the block.
            for (int line = 0; line < numLines; ++line)
                for (int block = 0; block < numBlocks; ++block)
                    toDefault(*tree.getParameter(blockParameterID(line, block)));
        else
            for (int line = 0; line < numLines; ++line)
                toDefault(*tree.getParameter(lineParameterID(k, line)));
    }
    for (int line = 0; line < numLines; ++line)
        processor.initLineAutomation(line);
}

void GlobalPanel::openNameDialog()
{
    auto* dialog = new juce::AlertWindow("Add Preset", "Please enter your preset name",
                                         juce::MessageBoxIconType::NoIcon);
    nameDialog = dialog;
    dialog->addTextEditor("Preset", "Preset ?", {}, false);
    dialog->setColour(juce::AlertWindow::textColourId, juce::Colours::orange);
    dialog->setColour(juce::AlertWindow::backgroundColourId, myBorderColour);
    dialog->addButton("OK", 1, juce::KeyPress(juce::KeyPress::returnKey));
    dialog->addButton("Cancel", 0, juce::KeyPress(juce::KeyPress::escapeKey));

    // The editor may close before the user answers: the dialog then stores nothing.
    dialog->enterModalState(true,
                            juce::ModalCallbackFunction::create(
                                [panel = SafePointer<GlobalPanel>(this), dialog](int result)
                                {
                                    if (result == 0 || panel == nullptr)
                                        return;
                                    auto* editor = dialog->getTextEditor("Preset");
                                    panel->saveAs(editor != nullptr ? editor->getText() : juce::String());
                                }),
                            true);
}

void GlobalPanel::saveAs(const juce::String& name)
{
    processor.saveProgram(name);
    refillPresetBox();
    const int n = storedPresets();
    processor.setCurrentProgram(n);
    presetBox.setSelectedId(n, juce::sendNotificationAsync);
}

void GlobalPanel::loadSelectedPreset()
{
    if (presetBox.getNumItems() > 0 && presetBox.getSelectedId() != 0)
        processor.setCurrentProgram(presetBox.getSelectedId());
}

void GlobalPanel::deletePresetMenu()
{
    juce::AlertWindow::showOkCancelBox(juce::MessageBoxIconType::WarningIcon, "The preset will be deleted.",
                                       "Are you sure to delete it?", "Yes", "Cancel", &dialogAnchor,
                                       juce::ModalCallbackFunction::create(
                                           [panel = SafePointer<GlobalPanel>(this)](int result)
                                           {
                                               if (result == 1 && panel != nullptr)
                                                   panel->deleteCurrentPreset();
                                           }));
}

void GlobalPanel::deleteCurrentPreset()
{
    const int stored = storedPresets();
    const int f = processor.getCurrentProgram();
    // The last remaining preset stays, and a current program outside the list erases nothing.
    if (stored <= 1 || !juce::isPositiveAndNotGreaterThan(f, stored))
        return;

    processor.deleteProgram(f);
    refillPresetBox();
    const int h = f == stored ? f - 1 : f;
    presetBox.setSelectedId(h, juce::sendNotificationAsync);
    processor.setCurrentProgram(h);
}
