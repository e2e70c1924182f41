#include "DemoSignal.h"

#include <cmath>

namespace brambleway
{
namespace
{
constexpr double twoPi = juce::MathConstants<double>::twoPi;

void addKick(juce::AudioBuffer<float>& out, int start, double sampleRate)
{
    const int length = juce::jmin(out.getNumSamples() - start, (int) (0.25 * sampleRate));
    double phase = 0.0;
    for (int i = 0; i < length; ++i)
    {
        const double t = i / sampleRate;
        phase += twoPi * (45.0 + 110.0 * std::exp(-t * 30.0)) / sampleRate;
        const float sample = (float) (0.45 * std::sin(phase) * std::exp(-t * 12.0));
        for (int ch = 0; ch < out.getNumChannels(); ++ch)
            out.addSample(ch, start + i, sample);
    }
}

void addHat(juce::AudioBuffer<float>& out, int start, double sampleRate, juce::Random& random)
{
    const int length = juce::jmin(out.getNumSamples() - start, (int) (0.05 * sampleRate));
    float previous = 0.0f;
    for (int i = 0; i < length; ++i)
    {
        const float noise = random.nextFloat() * 2.0f - 1.0f;
        const float bright = noise - previous; // a first difference keeps only the hiss
        previous = noise;
        const float sample = 0.12f * bright * (float) std::exp(-i / sampleRate * 60.0);
        out.addSample(0, start + i, sample);
        if (out.getNumChannels() > 1)
            out.addSample(1, start + i, 0.7f * sample);
    }
}

void addChord(juce::AudioBuffer<float>& out, double sampleRate)
{
    // A minor seventh on A, each voice a little detuned between the two sides.
    const double frequencies[] = {110.0, 130.81, 164.81, 196.0};
    for (int ch = 0; ch < out.getNumChannels(); ++ch)
    {
        const double detune = ch == 0 ? 0.998 : 1.002;
        for (int i = 0; i < out.getNumSamples(); ++i)
        {
            double sum = 0.0;
            for (double f : frequencies)
            {
                const double phase = twoPi * f * detune * i / sampleRate;
                sum += std::sin(phase) + 0.3 * std::sin(2.0 * phase) + 0.15 * std::sin(3.0 * phase);
            }
            out.addSample(ch, i, (float) (0.04 * sum));
        }
    }
}
} // namespace

juce::AudioBuffer<float> makeDemoSignal(double sampleRate, double bpm, int bars)
{
    const double beatSamples = 60.0 / bpm * sampleRate;
    const int length = (int) std::ceil(bars * 4 * beatSamples);
    juce::AudioBuffer<float> out(2, length);
    out.clear();

    addChord(out, sampleRate);
    juce::Random random(20261211);
    for (int eighth = 0; eighth < bars * 8; ++eighth)
    {
        const int start = (int) std::lround(eighth * beatSamples / 2.0);
        if (eighth % 2 == 0)
            addKick(out, start, sampleRate);
        addHat(out, start, sampleRate, random);
    }
    return out;
}
} // namespace brambleway
