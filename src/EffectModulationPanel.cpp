#include "EffectModulationPanel.h"
#include "PluginEditor.h"

#include <cmath>
#include <functional>

juce::ChangeBroadcaster myGridChangeListener;

namespace
{
const juce::Colour curveColour = juce::Colours::navajowhite.darker(0.4f);
const juce::Colour gridLineColour{0x4C808080};
const juce::Colour centreLineColour = juce::Colours::grey.brighter(0.4f).withAlpha(0.2f);
const juce::Colour blockColour{0x26ADD8E6};
const juce::Colour glowColour{0xB2FFFF00};
const juce::Colour stripStart{0xFF555555};

constexpr int hitRadius = 9;
constexpr double insertDistance = 10.0;

struct RowChoice
{
    int toggle; // the deciding stem, -1 for none
    std::vector<ModulationRow> on, off;
};

// Rows per effect type, before "Pan"; without a deciding toggle only the first list is used.
const std::array<RowChoice, numEffectTypes>& rowTable()
{
    using namespace Stem;
    static const std::array<RowChoice, numEffectTypes> table{{
        {-1,
         {{"Cut Off Freq", CutOff}, {"Resonance", Q}, {"LFO Frequency", LFOFREQ}, {"LFO Deprh", LFODEPTH}}},
        {-1,
         {{"Room", REVERBROOMSIZE},
          {"Damping", REVERBDAMPING},
          {"Wet", REVERBWETLEVEL},
          {"Dry", REVERBDRYLEVEL},
          {"Width", REVERBWIDTH}}},
        {DELAYSYNC,
         {{"Dry Wet", DELAYDREYWETDELAY},
          {"Sync Time Delay", DELAYTIMEDELAYSYNC},
          {"Feedback", DELAYFEEDBACKDELAY}},
         {{"Dry Wet", DELAYDREYWETDELAY}, {"Time Delay", DELAYTIMEDELAY}, {"Feedback", DELAYFEEDBACKDELAY}}},
        {-1,
         {{"Rate", CHORUSRATE},
          {"Depth", CHORUSDEPTH},
          {"Delay", CHORUSDELAY},
          {"Feedback", CHORUSFEEDBACK},
          {"Mix", CHORUSMIX}}},
        {-1, {{"Rate", RATEDECIMATOR}, {"Bit", BITDECIMATOR}, {"Cut off Freq", CUTOFFDECIMATOR}}},
        {-1,
         {{"DISTMODE", DISTMODE},
          {"DISTDRIVE", DISTDRIVE},
          {"DISTMIX", DISTMIX},
          {"DISTTRESHOLD", DISTTRESHOLD}}},
        {-1,
         {{"Rate", PHASERRATE},
          {"Feedback", PHASERPEEDBAC},
          {"Mix", PHASERMIX},
          {"Decay", PHASERDECAY},
          {"Depth", PHASERDEPTH}}},
        {PITCHMUSICALSET,
         {{"Octave", PITCHMUSICALOCTAVE}, {"Semi", PITCHMUSICALFINE}},
         {{"Pitch", PITCHVALUE}}},
        {COMBFILTERSYNC,
         {{"Delay", COBFILTERDELAY}, {"LFO Depth", COMBFILTERDEPTH}, {"Sync LFO Freq", COMBFILTEROFFREQSYNC}},
         {{"Delay", COBFILTERDELAY}, {"LFO Depth", COMBFILTERDEPTH}, {"LFO Freq", COMBFILTEROFFREQ}}},
        {-1, {{"Divide", REPEATERDIVIDE}}},
        {-1, {{"Width", VIBRATOWIDTH}, {"Frequency", VIBRATOLFOFREQ}}},
        {TREMOLOSYNC,
         {{"Frequency of Sync", TREMOLOFREQSYNC}, {"Depth", TREMOLODEPTH}},
         {{"Frequency", TREMOLOFREQ}, {"Depth", TREMOLODEPTH}}},
        {RINGMUSICALSET,
         {{"Octave", RINGMUSICALOCTAVE},
          {"Note", RINGMUSICALNOTE},
          {"Fine", RINGMUSICALFINE},
          {"Depth", RINGODEPTH}},
         {{"Freq", RINGLOFREQ}, {"Depth", RINGODEPTH}}},
        {-1,
         {{"Drive", DISTDRIVE2},
          {"Mix", DISTMIX2},
          {"Treshold", DISTTRESHOLD2},
          {"Cut of Frequency", DISTCUTOFF2}}},
    }};
    return table;
}

template <typename Panel> std::unique_ptr<juce::Component> makePanel(BramblewayAudioProcessor& p, int line)
{
    return std::make_unique<Panel>(p, line);
}

using PanelFactory = std::unique_ptr<juce::Component> (*)(BramblewayAudioProcessor&, int);
// Entry for entry with the effect types; the line filter stands in for "NO EFFECT".
const PanelFactory panelFactories[numEffectTypes] = {
    makePanel<FilterPanel>,        makePanel<ReverbePanel>,      makePanel<DelayPanel>,
    makePanel<ChorusPanel>,        makePanel<DecimatorPanel>,    makePanel<DistortionPanel>,
    makePanel<PhaserPanel>,        makePanel<PitchShifterPanel>, makePanel<CombFilterPanel>,
    makePanel<RepeaterPanel>,      makePanel<VibratoPanel>,      makePanel<TremoloPanel>,
    makePanel<RingModulatorPanel>, makePanel<DistortionPanel2>};

int gridCount(const BramblewayAudioProcessor& processor, int line)
{
    return (int) processor.liveValue(Stem::GridNum, line);
}

double distance(juce::Point<double> a, juce::Point<double> b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The point of segment a-b nearest to m; an end point when the perpendicular falls outside.
juce::Point<double> nearestOnSegment(juce::Point<double> a, juce::Point<double> b, juce::Point<double> m)
{
    const auto ab = b - a;
    const double lengthSquared = ab.x * ab.x + ab.y * ab.y;
    if (lengthSquared > 0.0)
    {
        const double t = (ab.x * (m.x - a.x) + ab.y * (m.y - a.y)) / lengthSquared;
        if (t >= 0.0 && t <= 1.0)
            return a + ab * t;
    }
    return distance(a, m) < distance(b, m) ? a : b;
}
} // namespace

std::vector<ModulationRow> modulationRows(int effectType, bool toggleOn)
{
    const auto& choice = rowTable()[(size_t) effectType];
    auto rows = choice.toggle >= 0 && !toggleOn ? choice.off : choice.on;
    rows.push_back({"Pan", Stem::LINEPAN});
    return rows;
}

int modulationRowToggle(int effectType)
{
    return rowTable()[(size_t) effectType].toggle;
}

//==============================================================================
EffectModulationLinePanel::EffectModulationLinePanel(BramblewayAudioProcessor& processorToUse, int lineToUse,
                                                     int paramIndexToUse, const juce::String& nameToUse)
    : LineParameterListener(processorToUse, lineToUse, {Stem::GridNum, Stem::Speed, Stem::Dur}),
      paramIndex(paramIndexToUse), name(nameToUse)
{
    myGridChangeListener.addChangeListener(this);
}

EffectModulationLinePanel::~EffectModulationLinePanel()
{
    myGridChangeListener.removeChangeListener(this);
    stopTimer();
}

const AutomationLine& EffectModulationLinePanel::automationLine() const
{
    return processor.lineAutomation[(size_t) line][(size_t) paramIndex];
}

template <typename Edit> void EffectModulationLinePanel::edit(Edit&& change)
{
    processor.editLineAutomation([&](auto& automation)
                                 { change(automation[(size_t) line][(size_t) paramIndex]); });
}

juce::Point<float> EffectModulationLinePanel::pixels(juce::Point<float> breakpoint) const
{
    return {breakpoint.x * (float) getWidth(), breakpoint.y * (float) getHeight()};
}

void EffectModulationLinePanel::timerCallback()
{
    repaint();
    stopTimer();
}

void EffectModulationLinePanel::notifyHost()
{
    processor.updateHostDisplay(juce::AudioProcessor::ChangeDetails().withNonParameterStateChanged(true));
}

int EffectModulationLinePanel::hitBreakpoint(juce::Point<int> position) const
{
    const auto& points = automationLine();
    for (size_t i = 0; i < points.size(); ++i)
    {
        const auto at = pixels(points[i]);
        const auto dx = (double) ((int) at.x - position.x);
        const auto dy = (double) ((int) at.y - position.y);
        if ((int) std::hypot(dx, dy) <= hitRadius)
            return (int) i;
    }
    return -1;
}

void EffectModulationLinePanel::mouseDown(const juce::MouseEvent& event)
{
    selected = hitBreakpoint(event.getPosition());
    if (selected >= 0)
        lastDrag = event.getPosition();
}

void EffectModulationLinePanel::mouseDrag(const juce::MouseEvent& event)
{
    if (selected < 0 || (size_t) selected >= automationLine().size())
        return;

    const auto w = (float) getWidth();
    const auto h = (float) getHeight();
    const auto i = (size_t) selected;
    const bool inner = i > 0 && i + 1 < automationLine().size();
    const auto mouse = event.getPosition();
    edit(
        [&](AutomationLine& points)
        {
            const float ny = juce::jlimit(0.0f, h, points[i].y * h - (float) (lastDrag.y - mouse.y));
            points[i].y = ny / h;
            // The ends stay at 0 and 1, and no breakpoint passes a neighbour, so x never decreases.
            if (inner)
            {
                const float nx = juce::jlimit(points[i - 1].x * w, points[i + 1].x * w,
                                              points[i].x * w - (float) (lastDrag.x - mouse.x));
                // Pixels back to 0..1 can round past a neighbour by a hair.
                points[i].x = juce::jlimit(points[i - 1].x, points[i + 1].x, nx / w);
            }
        });
    lastDrag.y = mouse.y;
    if (inner)
    {
        lastDrag.x = mouse.x;
        notifyHost();
    }
    repaint();
}

void EffectModulationLinePanel::mouseDoubleClick(const juce::MouseEvent& event)
{
    const auto mouse = event.getPosition();
    const int hit = hitBreakpoint(mouse);
    if (hit >= 0)
    {
        if (hit == 0 || (size_t) hit + 1 == automationLine().size())
            return;
        edit([hit](AutomationLine& points) { points.erase(points.begin() + hit); });
        selected = -1;
        notifyHost();
        repaint();
        return;
    }
    if (insertOnCurve(mouse))
        return;
    toggleBlockAt(mouse.x);
}

bool EffectModulationLinePanel::insertOnCurve(juce::Point<int> mouse)
{
    const auto& points = automationLine();
    const auto m = mouse.toDouble();
    for (size_t i = 0; i + 1 < points.size(); ++i)
    {
        const auto nearest =
            nearestOnSegment(pixels(points[i]).toDouble(), pixels(points[i + 1]).toDouble(), m);
        if (distance(nearest, m) < insertDistance)
        {
            const juce::Point<float> added{
                juce::jlimit(points[i].x, points[i + 1].x, (float) (nearest.x / getWidth())),
                juce::jlimit(0.0f, 1.0f, (float) (nearest.y / getHeight()))};
            edit([i, added](AutomationLine& line) { line.insert(line.begin() + (long) i + 1, added); });
            selected = -1;
            notifyHost();
            repaint();
            return true;
        }
    }
    return false;
}

void EffectModulationLinePanel::toggleBlockAt(int mouseX)
{
    const int n = gridCount(processor, line);
    const int w = getWidth();
    for (int k = 0; k < n; ++k)
    {
        if (w * k / n < mouseX && mouseX < w * (k + 1) / n)
        {
            auto* block = processor.getParameterTree().getParameter(blockParameterID(line, k));
            const auto value = (float) (((int) block->getValue() + 1) % 2);
            block->setValue(value);
            block->sendValueChangedMessageToListeners(value);
            notifyHost();
            repaint();
            myGridChangeListener.sendChangeMessage();
            return;
        }
    }
}

void EffectModulationLinePanel::paint(juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();
    const auto fw = (float) w;
    const auto fh = (float) h;
    const int n = gridCount(processor, line);

    g.fillAll(backgroundColor);
    g.setColour(juce::Colours::black);
    g.drawRect(0, 0, w, h, 2);
    g.setGradientFill(juce::ColourGradient(juce::Colour(0x1A000000), fw / 2, 0.0f, juce::Colour(0x1A1A1A1A),
                                           fw / 2, fh, false));
    g.fillAll();

    g.setColour(gridLineColour);
    for (int k = 0; k < n; ++k)
        g.fillRect(juce::Rectangle<float>((float) k * fw / (float) n, 0.0f, 1.0f, fh));
    for (const float level : {0.25f, 0.5f, 0.75f})
        g.fillRect(juce::Rectangle<float>(0.0f, fh * level, fw, 1.0f));

    g.setColour(centreLineColour);
    g.drawLine(0.0f, fh / 2, fw, fh / 2);

    const int lineLength = processor.lineLengthSamples[(size_t) line].load(std::memory_order_relaxed);
    const double blockShare =
        lineLength == 0 ? 0.0
                        : processor.blockLengthSamples[(size_t) line].load(std::memory_order_relaxed) /
                              (double) lineLength;
    g.setColour(blockColour);
    for (int k = 0; k < n; ++k)
        if ((int) processor.blockValue(line, k) == 1)
            g.fillRect(k * w / n, 0, (int) (blockShare * w), h);

    juce::Path path;
    path.startNewSubPath(-10.0f, (float) (h / 2));
    g.setColour(curveColour);
    for (const auto& point : automationLine())
    {
        const auto at = pixels(point);
        g.fillEllipse(at.x - 3.0f, at.y - 3.0f, 6.0f, 6.0f);
        path.lineTo(at);
    }
    path.lineTo(fw + 10.0f, (float) (h / 2));
    g.strokePath(path, juce::PathStrokeType(1.5f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));

    g.drawText(name, w - 200, h / 2 - 20, 180, 20, juce::Justification::topRight, true);
    juce::DropShadow(curveColour.withAlpha(0.1f), 1, {0, 1}).drawForPath(g, path);
}

//==============================================================================
EffectModulationLineTopPanel::EffectModulationLineTopPanel(BramblewayAudioProcessor& processorToUse,
                                                           int lineToUse)
    : processor(processorToUse), line(lineToUse)
{
    startTimer(33);
}

float EffectModulationLineTopPanel::playPosition() const
{
    const int length = processor.lineLengthSamples[(size_t) line].load(std::memory_order_relaxed);
    if (length == 0 || !processor.wasPlaying.load(std::memory_order_relaxed))
        return 0.0f;
    return (float) ((double) processor.lineSampleCounter[(size_t) line].load(std::memory_order_relaxed) /
                    (double) length);
}

void EffectModulationLineTopPanel::paint(juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();
    const juce::Rectangle<int> glow(0, (int) (h / 3.0), (int) (w * playPosition()), (int) (h * 0.5));
    // A shadow of an empty rectangle still leaves a speck.
    if (glow.isEmpty())
        return;
    juce::DropShadow(glowColour, 7, {0, 0}).drawForRectangle(g, glow);
}

//==============================================================================
EffectModulationGridParampPanel::EffectModulationGridParampPanel(BramblewayAudioProcessor& processorToUse,
                                                                 int lineToUse)
    : processor(processorToUse), line(lineToUse)
{
    myLookAndFeel.setColour(juce::PopupMenu::backgroundColourId, myPopupColour);
    myLookAndFeel.setColour(juce::ComboBox::textColourId, myComboBoxColour);

    const std::pair<juce::Label*, const char*> labels[] = {
        {&gridLabel, "Num of Grid:"}, {&speedLabel, "Speed:"}, {&durationLabel, "Duration:"}};
    for (auto [label, text] : labels)
    {
        label->setText(text, juce::sendNotification);
        label->setColour(juce::Label::textColourId, juce::Colours::orange);
        label->setJustificationType(juce::Justification::centred);
        addAndMakeVisible(*label);
    }

    solo.setButtonText("Solo");
    solo.setClickingTogglesState(true);
    for (auto* button : {&solo, &clearAutomation})
    {
        button->setColour(juce::TextButton::textColourOffId, juce::Colours::orange);
        button->setColour(juce::TextButton::textColourOnId, juce::Colours::black);
        button->setColour(juce::TextButton::buttonColourId, myButtonColour);
        button->setColour(juce::TextButton::buttonOnColourId, juce::Colours::orange);
        addAndMakeVisible(*button);
    }
    clearAutomation.setButtonText("Clear Automation");
    clearAutomation.onClick = [this]
    {
        processor.initLineAutomation(line);
        myReCreateLineChangeListener.sendChangeMessage();
    };

    for (auto* box : {&speedBox, &durBox})
    {
        box->addItemList(myNotetUnitSA, 1);
        box->setLookAndFeel(&myLookAndFeel);
        addAndMakeVisible(*box);
    }
    addAndMakeVisible(gridKnob);

    auto& tree = processor.getParameterTree();
    soloAttachment =
        std::make_unique<Tree::ButtonAttachment>(tree, lineParameterID(Stem::SOLOSELECT, line), solo);
    gridAttachment =
        std::make_unique<Tree::SliderAttachment>(tree, lineParameterID(Stem::GridNum, line), gridKnob);
    speedAttachment =
        std::make_unique<Tree::ComboBoxAttachment>(tree, lineParameterID(Stem::Speed, line), speedBox);
    durAttachment =
        std::make_unique<Tree::ComboBoxAttachment>(tree, lineParameterID(Stem::Dur, line), durBox);
}

EffectModulationGridParampPanel::~EffectModulationGridParampPanel()
{
    for (auto* box : {&speedBox, &durBox})
        box->setLookAndFeel(nullptr);
}

void EffectModulationGridParampPanel::paint(juce::Graphics& g)
{
    g.fillAll(backgroundColor);
    g.setColour(myBorderColour);
    g.drawRoundedRectangle(2.0f, 2.0f, (float) getWidth() - 4.0f, (float) getHeight() - 4.0f, 3.0f, 1.0f);
}

void EffectModulationGridParampPanel::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    const int r = h / 5;
    const auto rowHeight = [&](int row) { return juce::jmin(r, juce::jmax(h - row * r, 0)); };

    solo.setBounds(w / 4, h / 25, juce::jmax(w - 2 * (w / 4), 0), juce::jmax(rowHeight(0) - 2 * (h / 25), 0));

    const int x2 = w / 2;
    const int w2 = w - x2;
    gridKnob.setBounds(x2, r, w2, rowHeight(1));
    speedBox.setBounds(x2 + 5, 2 * r + 5, juce::jmax(w2 - 10, 0), juce::jmax(rowHeight(2) - 10, 0));
    durBox.setBounds(x2 + 5, 3 * r + 5, juce::jmax(w2 - 10, 0), juce::jmax(rowHeight(3) - 10, 0));

    juce::Label* labels[] = {&gridLabel, &speedLabel, &durationLabel};
    for (int i = 0; i < 3; ++i)
        labels[i]->setBounds(5, (i + 1) * r, juce::jmax(x2 - 10, 0), rowHeight(i + 1));

    const int b = juce::jmin(3 * r + rowHeight(3), h);
    clearAutomation.setBounds(w / 3, b + 5, juce::jmax(w - 2 * (w / 3), 0), juce::jmax(h - b, 10) - 10);
}

//==============================================================================
EffectModulationPanel::EffectModulationPanel(BramblewayAudioProcessor& processorToUse)
    : processor(processorToUse)
{
    for (int type = 0; type < numEffectTypes; ++type)
        for (int l = 0; l < numLines; ++l)
        {
            auto& panel = panels[(size_t) type][(size_t) l];
            panel = panelFactories[type](processor, l);
            addAndMakeVisible(*panel);
        }

    closeButton.setButtonText("Close Window");
    closeButton.setColour(juce::TextButton::textColourOffId, juce::Colours::orange);
    closeButton.setColour(juce::TextButton::textColourOnId, juce::Colours::black);
    closeButton.setColour(juce::TextButton::buttonColourId, myButtonColour);
    closeButton.setColour(juce::TextButton::buttonOnColourId, juce::Colours::orange);
    closeButton.onClick = [this]
    {
        if (auto* editor = findParentComponentOfClass<BramblewayAudioProcessorEditor>())
            editor->closeModulationScreen();
    };

    title.setColour(juce::Label::textColourId, juce::Colours::orange);
    title.setJustificationType(juce::Justification::centred);

    addAndMakeVisible(closeButton);
    addAndMakeVisible(title);
    myReCreateLineChangeListener.addChangeListener(this);
}

EffectModulationPanel::~EffectModulationPanel()
{
    myReCreateLineChangeListener.removeChangeListener(this);
}

void EffectModulationPanel::setScreen(int effectTypeToShow, int lineToShow)
{
    panelOnShow = panels[(size_t) effectTypeToShow][(size_t) lineToShow].get();
    line = lineToShow;
    effectType = effectTypeToShow;
    if (!rows.isEmpty())
        return;

    setEffectModulationLineScreen(effectType, line);
    topPanel = std::make_unique<EffectModulationLineTopPanel>(processor, line);
    addAndMakeVisible(*topPanel);
    gridPanel = std::make_unique<EffectModulationGridParampPanel>(processor, line);
    addAndMakeVisible(*gridPanel);
    resized();
}

void EffectModulationPanel::closeScreen()
{
    removeRows();
    topPanel.reset();
    gridPanel.reset();
}

void EffectModulationPanel::removeRows()
{
    for (auto* row : rows)
        removeChildComponent(row);
    rows.clear();
}

void EffectModulationPanel::setEffectModulationLineScreen(int effectTypeToShow, int lineToShow)
{
    const int toggle = modulationRowToggle(effectTypeToShow);
    const bool toggleOn = toggle >= 0 && processor.liveValue(toggle, lineToShow) != 0.0f;
    for (const auto& row : modulationRows(effectTypeToShow, toggleOn))
        addAndMakeVisible(
            rows.add(new EffectModulationLinePanel(processor, line, row.paramIndex, row.label)));
}

void EffectModulationPanel::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source != &myReCreateLineChangeListener || rows.isEmpty())
        return;
    removeRows();
    setEffectModulationLineScreen(effectType, line);
    resized();
}

void EffectModulationPanel::paintStrip(juce::Graphics& g, juce::Rectangle<int> strip, bool vertical)
{
    const auto from = strip.getPosition().toFloat();
    const auto to = vertical ? from.translated((float) margin, 0.0f) : from.translated(0.0f, (float) margin);
    g.setGradientFill(juce::ColourGradient(stripStart, from, juce::Colours::black, to, false));
    g.fillRect(strip);
}

void EffectModulationPanel::paint(juce::Graphics& g)
{
    g.fillAll(backgroundColor);
    const int h = getHeight();
    paintStrip(g, {0, 0, margin, h}, true);
    if (rows.isEmpty())
        return;

    paintStrip(g, {rows[0]->getRight(), 0, margin, h}, true);
    if (!isVisible())
        return;
    const auto first = rows[0]->getBounds();
    paintStrip(g, {first.getX(), first.getY() - 4, first.getWidth(), 4}, false);
    for (auto* row : rows)
    {
        const auto r = row->getBounds();
        paintStrip(g, {r.getX(), r.getBottom(), r.getWidth(), 4}, false);
    }
}

void EffectModulationPanel::resized()
{
    for (auto& type : panels)
        for (auto& panel : type)
            panel->setVisible(false);
    if (line < 0)
        return;
    panelOnShow->setVisible(true);

    const int w = getWidth();
    const int h = getHeight();
    // The filter's panel is wider than the effects' panels.
    const double share = effectType == 0 ? 3.4 / 5.0 : 4.2 / 5.0;
    const int leftW = juce::jmin(w, (int) (w * share));
    const int half = h / 2;

    const auto name = effectType == 0 ? juce::String("FILTER") : effectChoicesStr[effectType];
    title.setText(name + " (" + juce::String(line + 1) + ")", juce::sendNotification);
    title.setColour(juce::Label::textColourId, colourarray[line].brighter(0.4f));
    const int th = juce::jmin(20, h - half);
    title.setBounds(leftW, 0, w - leftW, th);

    for (auto& type : panels)
        for (auto& panel : type)
            panel->setBounds(leftW, th, w - leftW, h - half - th);

    const int c = juce::jmin(half, 70);
    closeButton.setBounds(leftW + 20, h - c + 15, juce::jmax(w - leftW - 40, 0), juce::jmax(c, 30) - 30);

    if (!isVisible() || topPanel == nullptr)
        return;
    juce::Rectangle<int> left(0, 0, leftW, h);
    topPanel->setBounds(left.removeFromTop(juce::jmin(20, left.getHeight())));
    gridPanel->setBounds(leftW, h - half, w - leftW, half - c);
    if (rows.isEmpty())
        return;

    const int rowH = left.getHeight() / rows.size();
    for (auto* row : rows)
    {
        const int r = juce::jmin(rowH, left.getHeight());
        const auto area = left.removeFromTop(r);
        row->setBounds(area.getX() + margin / 2, area.getY() + 2, juce::jmax(leftW - margin, 0),
                       r < 5 ? 0 : r - 4);
        row->repaint();
    }
}
