#pragma once

// The line filter's panel: knobs for the filter, its envelope and its LFO, and two small graphs that
// draw the filter's response and the envelope and let the user drag them.

#include "MyLookAndFeel.h"
#include "PluginProcessor.h"

#include <atomic>
#include <memory>
#include <vector>

// Listens to some of a line's parameters for as long as it lives.
class LineParameterListener : public juce::AudioProcessorParameter::Listener
{
public:
    LineParameterListener(BramblewayAudioProcessor& processor, int line, std::initializer_list<int> stems);
    ~LineParameterListener() override;

    void parameterGestureChanged(int, bool) override {}

protected:
    // Sets a normalised value as the graphs' drags do: no change gesture.
    void setNormalised(int stem, float value);
    float normalised(int stem) const;

    BramblewayAudioProcessor& processor;
    const int line;

private:
    std::vector<juce::AudioProcessorParameter*> parameters;
};

// A small graph that repaints at most every 50 ms after its parameters change, and tracks the mouse.
class FilterGraph : public juce::Component, private juce::Timer, protected LineParameterListener
{
public:
    FilterGraph(BramblewayAudioProcessor& processor, int line, std::initializer_list<int> stems);

    void mouseEnter(const juce::MouseEvent& event) override;
    void mouseExit(const juce::MouseEvent& event) override;
    void mouseMove(const juce::MouseEvent& event) override;
    void mouseUp(const juce::MouseEvent& event) override;
    void mouseDrag(const juce::MouseEvent& event) override;

protected:
    void parameterValueChanged(int, float) override { repaintPending = true; }
    void drawBackground(juce::Graphics& g);
    void drawCurve(juce::Graphics& g, const juce::Path& path, const juce::PathStrokeType& stroke);
    void drawHover(juce::Graphics& g);
    void startDrag(juce::Point<int> position);
    // The drag's effect on the parameters, from one drag step to the next.
    virtual void dragBy(juce::Point<int> delta) = 0;

    // The change limits of every drag: never past 0.99 of the range, never below 0.
    static float dragLimit(float value);

    bool hover = false;
    bool dragging = false;
    juce::Point<int> mouse;
    juce::Point<int> lastDrag;

private:
    void timerCallback() override;

    std::atomic<bool> repaintPending{false};
};

class FreqResPanel : public FilterGraph
{
public:
    FreqResPanel(BramblewayAudioProcessor& processor, int line);

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& event) override;

    // The level in dB the graph draws at a frequency for a filter's normalised cutoff, resonance and mode.
    static double responseDb(double frequency, double cutoff, double resonance, int mode);

private:
    void dragBy(juce::Point<int> delta) override;
};

class CurvePanel : public FilterGraph
{
public:
    CurvePanel(BramblewayAudioProcessor& processor, int line);

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& event) override;

    // Handle positions of the last paint.
    int attackX = 0, decayX = 0, sustainY = 0;

private:
    void dragBy(juce::Point<int> delta) override;

    int dragTarget = Stem::ATTACKNAME;
    juce::Path path;
    float attack = 0.0f, decay = 1.0f, sustain = 1.0f, release = 0.0f;
};

class FilterPanel : public juce::Component, private LineParameterListener
{
public:
    FilterPanel(BramblewayAudioProcessor& processor, int line);
    ~FilterPanel() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void randomise();

    juce::Label title;

private:
    MyLookAndFeel myLookAndFeel;

public:
    CustomRoratySlider lfoFreq, lfoDepth, cutOff, q, attack, decay, sustain, release, env;
    juce::ComboBox filterType, lfoWave;
    juce::TextButton sync;
    FreqResPanel freqRes;
    CurvePanel curve;
    CustomRoratySlider syncFreq;
    juce::TextButton afterEffect, randButton, modLineButton;

private:
    using Tree = juce::AudioProcessorValueTreeState;

    void parameterValueChanged(int, float) override { processor.setAdsrUpdate(line); }
    void attachControls();

    std::vector<std::unique_ptr<Tree::SliderAttachment>> knobAttachments;
    std::vector<std::unique_ptr<Tree::ComboBoxAttachment>> boxAttachments;
    std::vector<std::unique_ptr<Tree::ButtonAttachment>> toggleAttachments;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(FilterPanel)
};
