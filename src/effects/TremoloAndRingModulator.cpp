// Tremolo and ring modulator: the line times a gain that follows the line's modulation oscillator.

#include "../PluginProcessor.h"

#include <cmath>

namespace
{
// Multiplies both channels by gain(l), l the oscillator's next value, sample by sample.
template <typename Gain>
void applyOscillatorGain(MyLfo& lfo, juce::AudioBuffer<float>& buffer, int samples, Gain gain)
{
    float* left = buffer.getWritePointer(0);
    float* right = buffer.getWritePointer(1);
    for (int i = 0; i < samples; ++i)
    {
        const float g = gain((double) lfo.processSample());
        left[i] *= g;
        right[i] *= g;
    }
}
} // namespace

void BramblewayAudioProcessor::processBlockTremolo(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    const float rate = liveValue(Stem::TREMOLOSYNC, line) != 0.0f
                           ? syncedLfoHz(currentBpm, modulatedSyncIndex(Stem::TREMOLOFREQSYNC, line))
                           : modulatedValue(Stem::TREMOLOFREQ, line, 40.0f, 0.0f, 40.0f);
    auto& lfo = modulationLfo(line);
    lfo.update(rate, (int) liveValue(Stem::TREMOLOFWAVE, line));
    const auto depth = (double) modulatedValue(Stem::TREMOLODEPTH, line, 1.0f, 0.0f, 1.0f);

    markHoldingData(line);
    // From 1 - depth at the oscillator's bottom up to full level at its top.
    applyOscillatorGain(lfo, lineBuffers[(size_t) line], numSamples,
                        [depth](double l) { return (float) ((l + 1.0) * depth * 0.5 + (1.0 - depth)); });
}

void BramblewayAudioProcessor::processBlockRingmodulator(juce::AudioBuffer<float>&, juce::MidiBuffer&,
                                                         int line)
{
    const float frequency = liveValue(Stem::RINGMUSICALSET, line) != 0.0f
                                ? musicalRingFrequency(line)
                                : modulatedValue(Stem::RINGLOFREQ, line, 10000.0f, 1.0f, 10000.0f);
    auto& lfo = modulationLfo(line);
    lfo.update(frequency, (int) liveValue(Stem::RINGLOFWAVE, line));
    const auto depth = (double) modulatedValue(Stem::RINGODEPTH, line, 1.0f, 0.0f, 1.0f);

    markHoldingData(line);
    applyOscillatorGain(lfo, lineBuffers[(size_t) line], numSamples,
                        [depth](double l) { return (float) (l * depth + (1.0 - depth)); });
}

// A note of the octaves 2 to 9, with A of octave 5 at 440 Hz, tuned by cents.
float BramblewayAudioProcessor::musicalRingFrequency(int line)
{
    const float octaveModulation = calculateEffectModulation(Stem::RINGMUSICALOCTAVE, line).first;
    const float octave = std::nearbyint(7.0f * octaveModulation) + liveValue(Stem::RINGMUSICALOCTAVE, line);
    const float octaveSemitones = octave < 2.0f ? 24.0f : juce::jmin(octave, 9.0f) * 12.0f;
    const float noteModulation = calculateEffectModulation(Stem::RINGMUSICALNOTE, line).first;
    const float note = std::nearbyint(12.0f * noteModulation) + liveValue(Stem::RINGMUSICALNOTE, line);
    const int key = (int) (octaveSemitones + note);

    const auto base = (float) (440.0 * std::pow(2.0, (key - 69) / 12.0));
    const float cents = modulatedValue(Stem::RINGMUSICALFINE, line, 100.0f, -100.0f, 100.0f);
    return (float) ((double) base * std::pow(semitoneRatio, (double) (cents / 100.0f)));
}
