#pragma once

// Set-ups and measurements shared by the tests of the delay, repeater, chorus, phaser, vibrato,
// tremolo and ring modulator.

#include "EngineRig.h"

#include <cmath>
#include <vector>

namespace effects_one
{
using testing_support::EngineRig;

inline float effectIndex(const char* name)
{
    return (float) effectChoicesStr.indexOf(name);
}

// The effects these tests cover, by their names in the EFFECT choices.
inline const char* const effectsOne[] = {"DELAY",   "REPEATER", "CHORUS-FLANGER", "PHASER",
                                         "VIBRATO", "TREMOLO",  "RING MOD."};
inline constexpr int numEffectsOne = 7;

inline float noteUnit(const char* name)
{
    return (float) myNotetUnitSA.indexOf(name);
}

// Only the given line sounds, through the named effect, at unit gain. Every step (a 16th note) starts a
// block of a dotted whole note: the first block's 10-sample attack rises to 9/10, the restart on the
// next step lifts the gate to exactly 1, and the restarts after it keep it there.
inline void holdLineOpen(EngineRig& rig, int line, const char* effect)
{
    rig.settleGains();
    rig.setForLines(Stem::EFFECT, 0.0f);
    rig.set(lineParameterID(Stem::EFFECT, line), effectIndex(effect));
    rig.set(lineParameterID(Stem::Dur, line), noteUnit("1nd"));
    rig.set(lineParameterID(Stem::LINEVOLATTACK, line), 0.0f);
    for (int block = 0; block < numBlocks; ++block)
        rig.set(blockParameterID(line, block), 1.0f);
}

// The sample from which a line held open passes its input at exactly unit gain: the second step.
inline constexpr juce::int64 gateOpen = 6000;

// An automation line flat at height y: 0 is the top (+1), 0.5 the middle, 1 the bottom (-1).
inline void drawFlat(BramblewayAudioProcessor& processor, int line, int stem, float y)
{
    processor.editLineAutomation(
        [=](auto& automation) {
            automation[(size_t) line][(size_t) stem] = {{0.0f, y}, {1.0f, y}};
        });
}

inline float silence(int, juce::int64)
{
    return 0.0f;
}

inline EngineRig::Signal impulseAt(juce::int64 at)
{
    return [at](int, juce::int64 i) { return i == at ? 1.0f : 0.0f; };
}

// Two unrelated sines, so no stretch of it repeats within a few seconds.
inline float busy(int channel, juce::int64 i)
{
    return 0.4f * std::sin(0.0123f * (float) i + (float) channel) + 0.3f * std::sin(0.371f * (float) i);
}

// Centre of mass of the samples in [from, to): where an interpolated echo sits.
inline double centroid(const std::vector<float>& samples, size_t from, size_t to)
{
    double sum = 0.0, weighted = 0.0;
    for (size_t i = from; i < to; ++i)
    {
        sum += samples[i];
        weighted += (double) i * samples[i];
    }
    return weighted / sum;
}

inline double sum(const std::vector<float>& samples, size_t from, size_t to)
{
    double total = 0.0;
    for (size_t i = from; i < to; ++i)
        total += samples[i];
    return total;
}

inline float peak(const std::vector<float>& samples, size_t from, size_t to)
{
    float largest = 0.0f;
    for (size_t i = from; i < to; ++i)
        largest = std::max(largest, std::abs(samples[i]));
    return largest;
}

// Frequency of a periodic signal from its first and last rising zero crossings in [from, to).
inline double frequencyOf(const std::vector<float>& samples, size_t from, size_t to, double sampleRate)
{
    std::vector<double> crossings;
    for (size_t i = from + 1; i < to; ++i)
        if (samples[i - 1] < 0.0f && samples[i] >= 0.0f)
            crossings.push_back((double) (i - 1) + samples[i - 1] / (double) (samples[i - 1] - samples[i]));
    if (crossings.size() < 2)
        return 0.0;
    return (double) (crossings.size() - 1) * sampleRate / (crossings.back() - crossings.front());
}
} // namespace effects_one
