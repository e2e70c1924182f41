#include "FilterPanel.h"
#include "AllOtherEffectsPanel.h"
#include "ParameterLayout.h"

#include <cmath>

namespace
{
const juce::Colour hoverColour{0x807FFFD4};
const juce::Colour gridColour{0x40FFFFFF};
const juce::Colour graphOutline{0x99FFA500};
// Columns of the response grid, fixed whatever the width.
const int responseGridColumns[] = {41, 71, 93, 110, 123, 133, 140, 145, 149, 152};

// The four-pole ladder's magnitude at a normalised frequency.
double ladderMagnitude(float w, double resonance)
{
    const double w2 = (double) w * w;
    const auto a = (float) ((1.0 - w2) * (1.0 - w2) - 4.0 * w2 + 4.0 * resonance);
    const double b = 4.0 * w * (1.0 - w2);
    return 1.0 / std::sqrt((double) a * a + b * b);
}
} // namespace

//==============================================================================
LineParameterListener::LineParameterListener(BramblewayAudioProcessor& processorToUse, int lineToUse,
                                             std::initializer_list<int> stems)
    : processor(processorToUse), line(lineToUse)
{
    for (int stem : stems)
        if (auto* parameter = processor.getParameterTree().getParameter(lineParameterID(stem, line)))
        {
            parameter->addListener(this);
            parameters.push_back(parameter);
        }
}

LineParameterListener::~LineParameterListener()
{
    for (auto* parameter : parameters)
        parameter->removeListener(this);
}

void LineParameterListener::setNormalised(int stem, float value)
{
    auto* parameter = processor.getParameterTree().getParameter(lineParameterID(stem, line));
    parameter->setValue(value);
    parameter->sendValueChangedMessageToListeners(value);
}

float LineParameterListener::normalised(int stem) const
{
    return processor.getParameterTree().getParameter(lineParameterID(stem, line))->getValue();
}

//==============================================================================
FilterGraph::FilterGraph(BramblewayAudioProcessor& processorToUse, int lineToUse,
                         std::initializer_list<int> stems)
    : LineParameterListener(processorToUse, lineToUse, stems)
{
    startTimer(50);
}

void FilterGraph::timerCallback()
{
    if (repaintPending.exchange(false))
        repaint();
}

void FilterGraph::mouseEnter(const juce::MouseEvent&)
{
    hover = true;
}

void FilterGraph::mouseExit(const juce::MouseEvent&)
{
    hover = false;
    dragging = false;
    repaint();
}

void FilterGraph::mouseMove(const juce::MouseEvent& event)
{
    mouse = event.getPosition();
    repaint();
}

void FilterGraph::mouseUp(const juce::MouseEvent&)
{
    dragging = false;
    repaint();
}

void FilterGraph::startDrag(juce::Point<int> position)
{
    lastDrag = position;
    dragging = true;
}

void FilterGraph::mouseDrag(const juce::MouseEvent& event)
{
    mouse = event.getPosition();
    if (dragging)
        dragBy(mouse - lastDrag);
    lastDrag = mouse;
    repaint();
}

float FilterGraph::dragLimit(float value)
{
    return value >= 0.99f ? 0.99f : (value <= 0.0f ? 0.0f : value);
}

void FilterGraph::drawBackground(juce::Graphics& g)
{
    const float w = (float) getWidth();
    const float h = (float) getHeight();
    g.setGradientFill(juce::ColourGradient(juce::Colour(0x33666666), w / 2.0f, 0.0f, juce::Colours::black,
                                           w / 2.0f, h, true));
    g.fillAll();
}

void FilterGraph::drawCurve(juce::Graphics& g, const juce::Path& path, const juce::PathStrokeType& stroke)
{
    g.setColour(myAmoothGraphicColour);
    g.strokePath(path, stroke);
    juce::DropShadow(juce::Colour(0x1AFFFF00), 1, {0, 1}).drawForPath(g, path);
}

void FilterGraph::drawHover(juce::Graphics& g)
{
    if (!hover)
        return;
    g.setColour(hoverColour);
    g.drawEllipse((float) mouse.x - 5.0f, (float) mouse.y - 5.0f, 10.0f, 10.0f, 2.0f);
}

//==============================================================================
FreqResPanel::FreqResPanel(BramblewayAudioProcessor& p, int l) : FilterGraph(p, l, {Stem::CutOff, Stem::Q}) {}

double FreqResPanel::responseDb(double frequency, double cutoff, double resonance, int mode)
{
    const auto w = (float) ((frequency / 22000.0) / cutoff);
    double magnitude = 0.0;
    if (mode == 0)
        magnitude = ladderMagnitude(w, resonance);
    else if (mode == 1)
        magnitude = std::sqrt(ladderMagnitude(w, resonance) * ladderMagnitude(1.0f / w, resonance));
    else if (mode == 2)
        magnitude = ladderMagnitude(1.0f / w, resonance);
    return magnitude > 0.0 ? juce::jmax(20.0 * std::log10(magnitude), -100.0) : -100.0;
}

void FreqResPanel::paint(juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();
    drawBackground(g);
    g.setColour(graphOutline);
    g.drawRoundedRectangle(1.0f, 1.0f, (float) w - 2.0f, (float) h - 2.0f, 2.0f, 1.0f);

    g.setColour(gridColour);
    for (int x : responseGridColumns)
        g.drawLine((float) x, 1.0f, (float) x, (float) h - 1.0f, 0.5f);
    for (int k = 0; k < 5; ++k)
    {
        const float y = 1.0f + (float) (k * ((h - 2) / 5));
        g.drawLine(1.0f, y, (float) w - 1.0f, y, 0.5f);
    }

    const int n = juce::jmax(w - 2, 0);
    if (n > 0)
    {
        const auto& filter = processor.lineFilters[(size_t) line][0];
        std::vector<double> levels((size_t) n);
        for (int k = 0; k < n; ++k)
            levels[(size_t) k] = responseDb(20.0 * std::pow(10.0, 3.0 * k / n), filter.getCutoff(),
                                            filter.getResonance(), filter.mode);

        const auto yOf = [h](double db) { return (float) ((h - 1) - (db + 24.0) * (h - 2) / 48.0); };
        juce::Path path;
        const float firstY = yOf(levels[0]);
        if (firstY < (float) (h - 1))
            path.startNewSubPath(-20.0f, (float) (h - 1));
        else
            path.startNewSubPath(0.0f, firstY);
        for (int k = 0; k < n; ++k)
            path.lineTo((float) (k + 1), yOf(levels[(size_t) k]));
        path.lineTo((float) (n + 10), (float) (h - 2));
        drawCurve(g, path, {1.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded});
    }
    drawHover(g);
}

void FreqResPanel::mouseDown(const juce::MouseEvent& event)
{
    startDrag(event.getPosition());
    repaint();
}

void FreqResPanel::dragBy(juce::Point<int> delta)
{
    setNormalised(Stem::Q, dragLimit(normalised(Stem::Q) - (float) delta.y / (float) getHeight()));
    setNormalised(Stem::CutOff, dragLimit(normalised(Stem::CutOff) + (float) delta.x / (float) getWidth()));
}

//==============================================================================
CurvePanel::CurvePanel(BramblewayAudioProcessor& p, int l)
    : FilterGraph(p, l, {Stem::ATTACKNAME, Stem::DECAYNAME, Stem::SUSTAINNAME, Stem::RELEASENAME})
{
}

void CurvePanel::paint(juce::Graphics& g)
{
    attack = processor.liveValue(Stem::ATTACKNAME, line);
    decay = processor.liveValue(Stem::DECAYNAME, line);
    sustain = processor.liveValue(Stem::SUSTAINNAME, line);
    release = processor.liveValue(Stem::RELEASENAME, line);

    const int w = getWidth();
    const int h = getHeight();
    const float fw = (float) w;
    const float fh = (float) h;
    drawBackground(g);
    g.setColour(juce::Colours::black);
    g.drawRect(0.0f, 0.0f, fw, fh, 2.0f);

    g.setColour(gridColour);
    for (int k = 0; k < 10; ++k)
        g.drawLine((float) (k * (w / 10)), 0.0f, (float) (k * (w / 10)), fh, 0.5f);
    for (int k = 0; k < 5; ++k)
        g.drawLine(0.0f, (float) (k * (h / 5)), fw, (float) (k * (h / 5)), 0.5f);

    const int peakY = h / 5;
    attackX = (int) (fw * attack * 0.25f);
    decayX = (int) ((float) attackX + fw * decay * 0.5f);
    sustainY = (int) ((float) peakY + fh * (1.0f - sustain) * 4.0f / 5.0f);

    g.setColour(myAmoothGraphicColour);
    if (peakY < h)
        g.fillRect(attackX, peakY, 1, h - peakY);
    if (sustainY < h)
        g.fillRect(decayX, sustainY, 1, h - sustainY);

    path.clear();
    path.startNewSubPath(0.0f, fh);
    path.quadraticTo((float) attackX / 2.0f, fh, (float) attackX, (float) peakY);
    path.quadraticTo((float) (attackX + decayX) / 2.0f, (float) sustainY, (float) decayX, (float) sustainY);
    path.lineTo(fw, (float) sustainY);
    path.lineTo(fw, fh);
    drawCurve(g, path, {1.5f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt});

    g.setColour(graphOutline);
    g.drawRoundedRectangle(0.0f, 0.0f, fw, fh, 2.0f, 1.0f);
    drawHover(g);
}

void CurvePanel::mouseDown(const juce::MouseEvent& event)
{
    startDrag(event.getPosition());
    // A press exactly halfway between the handles goes to decay.
    dragTarget =
        std::abs(attackX - mouse.x) < std::abs(decayX - mouse.x) ? Stem::ATTACKNAME : Stem::DECAYNAME;
    repaint();
}

void CurvePanel::dragBy(juce::Point<int> delta)
{
    setNormalised(dragTarget,
                  dragLimit(normalised(dragTarget) + 3.0f * (float) delta.x / (float) getWidth()));
    setNormalised(Stem::SUSTAINNAME,
                  dragLimit(normalised(Stem::SUSTAINNAME) - (float) delta.y / (float) getHeight()));
}

//==============================================================================
FilterPanel::FilterPanel(BramblewayAudioProcessor& processorToUse, int lineToUse)
    : LineParameterListener(
          processorToUse, lineToUse,
          {Stem::ATTACKNAME, Stem::DECAYNAME, Stem::SUSTAINNAME, Stem::RELEASENAME, Stem::FILTERTYPE}),
      freqRes(processorToUse, lineToUse), curve(processorToUse, lineToUse)
{
    for (juce::Component* child : std::initializer_list<juce::Component*>{
             &cutOff, &q, &attack, &decay, &sustain, &release, &env, &filterType, &lfoFreq, &lfoDepth,
             &afterEffect, &randButton, &modLineButton, &freqRes, &curve, &lfoWave, &sync, &syncFreq, &title})
        addAndMakeVisible(child);

    makePropModLineButton(modLineButton);
    modLineButton.onClick = [this] { processor.setEffectModulationScreen(0, line); };

    title.setText("F I L T E R   " + juce::String(line + 1), juce::dontSendNotification);
    title.setColour(juce::Label::textColourId, colourarray[line].brighter(0.4f));
    title.setJustificationType(juce::Justification::centred);
    title.setFont(juce::Font(16.0f, juce::Font::bold));

    const std::pair<CustomRoratySlider*, const char*> captions[] = {
        {&lfoFreq, "LFO Freq"}, {&lfoDepth, "LFO Depth"}, {&cutOff, "Cutoff"},   {&q, "Q"},
        {&attack, "Attack"},    {&decay, "Decay"},        {&sustain, "Sustain"}, {&env, "Env"},
        {&syncFreq, "LFO Freq"}};
    for (const auto& [knob, caption] : captions)
        knob->caption = caption;

    sync.onClick = [this] { resized(); };
    myLookAndFeel.setColour(juce::PopupMenu::backgroundColourId, myPopupColour);
    myLookAndFeel.setColour(juce::ComboBox::textColourId, myComboBoxColour);
    styleToggle(sync, "Sync");
    styleToggle(afterEffect, "After Effect");

    filterType.setLookAndFeel(&myLookAndFeel);
    lfoWave.setLookAndFeel(&myLookAndFeel);
    filterType.addItemList(filterChoicesStr, 1);
    lfoWave.addItemList(LFOWaveName, 1);
    filterType.onChange = [this]
    {
        for (auto& filter : processor.lineFilters[(size_t) line])
            filter.mode = filterType.getSelectedItemIndex();
        repaint();
    };

    attachControls();

    cutOff.setRange(20.0, 20000.0, 2.0);
    // 1000 Hz at the middle of the knob's travel.
    cutOff.setSkewFactor(std::log(0.5) / std::log((1000.0 - 20.0) / (20000.0 - 20.0)));

    makePropRandButton(randButton);
    // Orange where the effect panels' outline is magenta.
    randButton.setColour(juce::ComboBox::outlineColourId, juce::Colour(0x4CFFA500));
    randButton.onClick = [this] { randomise(); };
}

FilterPanel::~FilterPanel()
{
    filterType.setLookAndFeel(nullptr);
    lfoWave.setLookAndFeel(nullptr);
}

void FilterPanel::attachControls()
{
    auto& tree = processor.getParameterTree();
    const auto id = [this](int stem) { return lineParameterID(stem, line); };
    const auto knob = [&](int stem, juce::Slider& slider)
    { knobAttachments.push_back(std::make_unique<Tree::SliderAttachment>(tree, id(stem), slider)); };
    const auto box = [&](int stem, juce::ComboBox& comboBox)
    { boxAttachments.push_back(std::make_unique<Tree::ComboBoxAttachment>(tree, id(stem), comboBox)); };
    const auto toggle = [&](int stem, juce::Button& button)
    { toggleAttachments.push_back(std::make_unique<Tree::ButtonAttachment>(tree, id(stem), button)); };

    knob(Stem::CutOff, cutOff);
    knob(Stem::Q, q);
    knob(Stem::ATTACKNAME, attack);
    knob(Stem::DECAYNAME, decay);
    knob(Stem::SUSTAINNAME, sustain);
    knob(Stem::RELEASENAME, release);
    knob(Stem::ENVNAME, env);
    box(Stem::FILTERTYPE, filterType);
    knob(Stem::LFOFREQ, lfoFreq);
    knob(Stem::LFODEPTH, lfoDepth);
    box(Stem::LFOWAVETYPE, lfoWave);
    toggle(Stem::LFOSYNC, sync);
    knob(Stem::LFOSYNCFREQ, syncFreq);
    toggle(Stem::FILTERAPPLYEFFECT, afterEffect);
}

void FilterPanel::randomise()
{
    for (auto* knob : {&lfoFreq, &lfoDepth, &attack, &cutOff, &q, &decay, &sustain, &env, &syncFreq})
        randomiseKnob(*knob);
    randomiseBox(filterType);
    randomiseBox(lfoWave);
}

void FilterPanel::paint(juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();
    g.fillAll(backgroundColor);
    g.setColour(myBorderColour);
    g.drawRoundedRectangle(clampedRect(2, 2, w - 4, h - 4).toFloat(), 3.0f, 1.0f);

    const auto t = title.getBounds();
    g.setColour(juce::Colours::white);
    g.drawRoundedRectangle(
        clampedRect(t.getX() + 4, t.getY() + 2, t.getWidth() - 8, t.getHeight() - 4).toFloat(), 1.0f, 0.3f);
    g.setColour(juce::Colour(0x1A000000));
    g.fillRect(clampedRect(t.getX() + 6, t.getY() + 4, t.getWidth() - 12, t.getHeight() - 8));
}

void FilterPanel::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    const int t = juce::jmin(30, h);
    title.setBounds(0, 0, w, t);
    const int b = juce::jmin(30, h - t);
    modLineButton.setBounds(clampedRect(20, t + 5, w - 40, b - 10));

    const int y0 = t + b;
    const int r = h - t - b;
    const int quarter = r / 4;
    const int c = w / 6;
    const int xr = w - c;

    // Right column: the LFO.
    const int h1 = juce::jmin(quarter, r);
    lfoFreq.setBounds(clampedRect(xr, y0 + 4, c - 8, h1 - 8));
    syncFreq.setBounds(lfoFreq.getBounds());
    syncFreq.setVisible(sync.getToggleState());
    lfoFreq.setVisible(!sync.getToggleState());
    const int y1 = y0 + h1;
    const int h2 = juce::jmin(quarter, r - h1);
    lfoDepth.setBounds(clampedRect(xr, y1 + 4, c - 8, h2 - 8));
    const int s = juce::jmax(r - h1 - h2 - 20, 0) / 2;
    lfoWave.setBounds(clampedRect(xr + 1, y1 + h2 + 19, c - 10, s - 18));
    sync.setBounds(clampedRect(xr + 6, y1 + h2 + s + 10, c - 20, 20));
    randButton.setBounds(sync.getBounds().withY(sync.getBottom() + 8));

    // Middle: the two graphs.
    const int l = w - c;
    const int g = juce::jmin(3 * l / 5, l);
    const int l2 = l - g;
    const int gh = juce::jmin(2 * quarter, r);
    freqRes.setBounds(clampedRect(l2 + 5, y0 + 7, g - 10, gh - 14));
    curve.setBounds(clampedRect(l2 + 5, y0 + gh + 7, g - 10, r - gh - 14));

    // Left column: filter and envelope.
    const int c1 = l2 / 2;
    const int c2 = l2 - c1;
    const int e = r / 8;
    cutOff.setBounds(clampedRect(4, y0 + 4, c1 - 8, h1 - 8));
    q.setBounds(clampedRect(c1 + 4, y0 + 4, c2 - 8, h1 - 8));
    int left = r - h1;
    const int ra = juce::jmin(e, left);
    left -= ra;
    filterType.setBounds(clampedRect(10, y1 + 2, l2 - 20, 25));
    const int rb = juce::jmin(e, left);
    left -= rb;
    afterEffect.setBounds(clampedRect(10, y1 + ra + 3, l2 - 20, rb - 6));
    const int yc = y1 + ra + rb;
    const int rc = juce::jmin(quarter, left);
    left -= rc;
    attack.setBounds(clampedRect(4, yc + 4, c1 - 8, rc - 8));
    decay.setBounds(clampedRect(c1 + 4, yc + 4, c2 - 8, rc - 8));
    const int rd = juce::jmin(quarter, left);
    sustain.setBounds(clampedRect(4, yc + rc + 4, c1 - 8, rd - 8));
    env.setBounds(clampedRect(c1 + 4, yc + rc + 4, juce::jmin(c2, l2 / 2) - 8, rd - 8));
}
