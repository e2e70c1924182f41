// What the delay, repeater, chorus, phaser, vibrato, tremolo and ring modulator share: their
// preparation and the rules that turn parameters and automation lines into settings.

#include "../PluginProcessor.h"

#include <limits>

namespace
{
void resizeChannels(std::array<std::vector<float>, 2>& channels, int size)
{
    for (auto& channel : channels)
        channel.resize((size_t) size, 0.0f);
}
} // namespace

void BramblewayAudioProcessor::prepareEffectsOne(int line, const juce::dsp::ProcessSpec& spec)
{
    const auto l = (size_t) line;
    const double sampleRate = spec.sampleRate;

    delayLines[l] = DelayLineType((int) ((double) longestDelaySeconds * sampleRate));
    delayLines[l].prepare(spec);
    delayStates[l] = {};

    auto& one = repeaterOneStates[l];
    const int fourSeconds = (int) (4.0 * sampleRate);
    resizeChannels(one.buffers, fourSeconds);
    one.writePosition = 0;
    one.readPosition = 0;
    one.sliceLength = fourSeconds;
    one.recordRemaining = 0;
    one.repeatGain.reset(sampleRate, 1000.0);
    one.outputFade.reset(sampleRate, 0.01);

    auto& two = repeaterTwoStates[l];
    two.recordRemaining = RepeaterTwoState::idle;
    two.slicePosition = 0;
    two.repeatGain.reset(sampleRate, 1000.0);

    choruses[l].prepare(spec);
    choruses[l].reset();
    // A target the listener set before this preparation holds at once, without a glide.
    chorusDelayRamps[l].reset(sampleRate, 0.1);
    chorusDelayRamps[l].setCurrentAndTargetValue(chorusDelayTarget[l].load(std::memory_order_relaxed));

    phasers[l].prepare(spec);
    phasers[l].reset();

    auto& vibrato = vibratoBuffers[l];
    vibrato.size = (int) (5.0 * sampleRate);
    resizeChannels(vibrato.channels, vibrato.size);
    vibrato.writeIndex = 0;
}

float BramblewayAudioProcessor::modulatedValue(int stem, int line, float scale, float lo, float hi)
{
    const float m = calculateEffectModulation(stem, line).first;
    return juce::jlimit(lo, hi, liveValue(stem, line) + scale * m);
}

int BramblewayAudioProcessor::modulatedSyncIndex(int stem, int line)
{
    const auto last = (float) (syncValuesString.size() - 1);
    return (int) modulatedValue(stem, line, (float) syncValuesString.size(), 0.0f, last);
}

float BramblewayAudioProcessor::syncedLfoHz(float bpm, int syncIndex)
{
    return (float) ((double) bpm / (syncValues[syncIndex] * 240.0));
}

float BramblewayAudioProcessor::syncedDelaySeconds(float bpm, int syncIndex)
{
    return (float) (syncValues[syncIndex] * 4.0 / (double) (bpm / 60.0f));
}

int BramblewayAudioProcessor::repeaterSliceSamples(float division) const
{
    const double samples = currentSampleRate * 60.0 / (double) currentBpm * 4.0 / (double) division;
    // Crawling tempos would overflow the int; both algorithms cut such slices to their buffers anyway.
    return (int) juce::jlimit(1.0, (double) std::numeric_limits<int>::max(), samples);
}
