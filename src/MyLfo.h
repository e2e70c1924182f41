#pragma once

#include <juce_dsp/juce_dsp.h>

#include <array>

// A low-frequency oscillator with one framework oscillator per wave ("SIN", "SQR", "SAW", "INV"). Each
// keeps its own frequency and phase, so switching the wave switches to another running oscillator.
class MyLfo
{
public:
    static constexpr int numWaves = 4;

    // Installs the four generators, then prepares each oscillator: phase 0, frequency gliding over 0.05 s.
    void setParamaters(juce::dsp::ProcessSpec spec);

    // The next output of the oscillator selected by waveType, -1..+1; the others do not advance.
    float processSample() noexcept { return oscillators[(size_t)waveType].processSample(0.0f); }

    // Gives the selected oscillator a new target frequency, then selects the wave: a new wave sounds in
    // this block, but its oscillator gets the new frequency only from the next update on.
    void update(float frequency, int newWaveType) noexcept;

    std::array<juce::dsp::Oscillator<float>, numWaves> oscillators;
    int waveType = 0;
};
