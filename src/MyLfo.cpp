#include "MyLfo.h"

namespace
{
constexpr double pi = juce::MathConstants<double>::pi;

// Each generator takes x = phase - pi, which runs from -pi up to pi over a period.
float sine(float x)
{
    return std::sin(x);
}
float square(float x)
{
    return x < 0.0f ? -1.0f : 1.0f;
}
float sawUp(float x)
{
    return (float)((double)x / pi);
}
float sawDown(float x)
{
    return (float)((double)x / -pi);
}
} // namespace

void MyLfo::setParamaters(juce::dsp::ProcessSpec spec)
{
    const std::array<float (*)(float), numWaves> generators{sine, square, sawUp, sawDown};
    for (size_t wave = 0; wave < (size_t)numWaves; ++wave)
        oscillators[wave].initialise(generators[wave]);
    for (auto& oscillator : oscillators)
        oscillator.prepare(spec);
}

void MyLfo::update(float frequency, int newWaveType) noexcept
{
    oscillators[(size_t)waveType].setFrequency(frequency);
    waveType = juce::jlimit(0, numWaves - 1, newWaveType);
}
