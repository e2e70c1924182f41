// The two distortions ("Obs-DIST", "DISTORTION") and the decimator, and the preparation and settings
// every effect of this group shares.

#include "../PluginProcessor.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
// Each sample through its channel's filter, the channels' recursions side by side. A huge but finite
// input can still come out beyond the range of a float.
void filterBlock(std::array<Filter, maxChannels>& filters, float* const* samples, int channels, int count)
{
    for (int i = 0; i < count; ++i)
        for (int channel = 0; channel < channels; ++channel)
            samples[channel][i] = shaping::finiteOrZero(
                (float) filters[(size_t) channel].process((double) samples[channel][i]));
}

// The same at the cutoff of each moment. A cutoff that holds still is set once: setting it again for
// every sample would change nothing.
void filterWithGlidingCutoff(juce::LinearSmoothedValue<float>& cutoffs,
                             std::array<Filter, maxChannels>& filters, float* const* samples, int channels,
                             int count)
{
    if (!cutoffs.isSmoothing())
    {
        for (auto& filter : filters)
            filter.setCutoff((double) cutoffs.getNextValue());
        filterBlock(filters, samples, channels, count);
        return;
    }
    for (int i = 0; i < count; ++i)
    {
        const auto cutoff = (double) cutoffs.getNextValue();
        for (int channel = 0; channel < channels; ++channel)
        {
            auto& filter = filters[(size_t) channel];
            filter.setCutoff(cutoff);
            samples[channel][i] = shaping::finiteOrZero((float) filter.process((double) samples[channel][i]));
        }
    }
}
} // namespace

void BramblewayAudioProcessor::prepareEffectsTwo(int line, const juce::dsp::ProcessSpec& spec)
{
    const auto l = (size_t) line;
    distortionStates[l] = {};
    for (auto& ramp : distortionRamps[l])
        ramp.reset(spec.sampleRate, 0.01);

    pitchTapPhases[l] = {};
    pitchTapPhases[l].sampleRate = (float) spec.sampleRate;
    combDelayRamps[l].reset(spec.sampleRate, 0.1);

    // Below this rate the framework reverb's shortest all-pass (225 samples at 44.1 kHz) gets no sample
    // at all and its index wraps by zero.
    constexpr double lowestReverbRate = 196.0;
    reverbs[l].setSampleRate(std::max(spec.sampleRate, lowestReverbRate));
    reverbGateRamps[l].reset(spec.sampleRate, 0.02);
}

void BramblewayAudioProcessor::processBlockDistortion(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    auto& state = distortionStates[(size_t) line][0];
    state.mode = (int) modulatedValue(Stem::DISTMODE, line, 7.0f, 0.0f, 6.0f);
    state.drive = modulatedValue(Stem::DISTDRIVE, line, 25.0f, 0.0f, 25.0f);
    state.mix = modulatedValue(Stem::DISTMIX, line, 1.0f, 0.0f, 1.0f);
    state.threshold = modulatedValue(Stem::DISTTRESHOLD, line, 1.0f, 0.0f, 1.0f);

    markHoldingData(line);
    for (int channel = 0; channel < numChannels; ++channel)
    {
        float* samples = lineBuffers[(size_t) line].getWritePointer(channel);
        for (int i = 0; i < numSamples; ++i)
            samples[i] = shaping::finiteOrZero(obs_dist::process(state, samples[i]));
    }
}

void BramblewayAudioProcessor::processBlockDistortion2(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    const auto l = (size_t) line;
    auto& ramps = distortionRamps[l];
    ramps[driveRamp].setTargetValue(modulatedValue(Stem::DISTDRIVE2, line, 25.0f, 0.0f, 25.0f));
    ramps[thresholdRamp].setTargetValue(modulatedValue(Stem::DISTTRESHOLD2, line, 1.0f, 0.0f, 1.0f));
    ramps[cutoffRamp].setTargetValue(
        juce::jlimit(0.0f, 1.0f,
                     liveValue(Stem::DISTCUTOFF2, line) / 20000.0f +
                         calculateEffectModulation(Stem::DISTCUTOFF2, line).first));

    auto& state = distortionStates[l][1];
    state.mode = (int) liveValue(Stem::DISTMODE2, line);
    state.mix = modulatedValue(Stem::DISTMIX2, line, 1.0f, 0.0f, 1.0f);

    markHoldingData(line);
    if (numSamples < 1)
        return;

    auto& buffer = lineBuffers[l];
    float* const* samples = buffer.getArrayOfWritePointers();
    for (int i = 0; i < numSamples; ++i)
    {
        state.threshold = ramps[thresholdRamp].getNextValue();
        state.drive = ramps[driveRamp].getNextValue();
        // Some shapers overflow or divide by almost 0 at extreme settings: not a value for the filter.
        for (int channel = 0; channel < numChannels; ++channel)
            samples[channel][i] = shaping::finiteOrZero(distortion2::process(state, samples[channel][i]));
    }

    filterWithGlidingCutoff(ramps[cutoffRamp], distortionFilters[l], buffer.getArrayOfWritePointers(),
                            numChannels, numSamples);
}

void BramblewayAudioProcessor::processBlockDecimator(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    const auto l = (size_t) line;
    const float cutoff = juce::jlimit(0.0f, 1.0f,
                                      liveValue(Stem::CUTOFFDECIMATOR, line) / 20000.0f +
                                          calculateEffectModulation(Stem::CUTOFFDECIMATOR, line).first);
    auto& filters = decimatorFilters[l];
    for (auto& filter : filters)
        filter.setCutoff((double) cutoff);

    const int rate = (int) modulatedValue(Stem::RATEDECIMATOR, line, 30.0f, 1.0f, 30.0f);
    const int bits = (int) modulatedValue(Stem::BITDECIMATOR, line, 16.0f, 1.0f, 16.0f);
    const float quantum = 1.0f / std::pow(2.0f, (float) bits);

    markHoldingData(line);
    float* const* samples = lineBuffers[l].getArrayOfWritePointers();
    for (int channel = 0; channel < numChannels; ++channel)
    {
        float* x = samples[channel];
        // Held groups restart with every audio block; held counts j mod rate.
        for (int j = 0, held = 0; j < numSamples; ++j, held = held + 1 == rate ? 0 : held + 1)
            x[j] = held == 0 ? x[j] - std::fmod(x[j], quantum) : x[j - held];
    }
    filterBlock(filters, samples, numChannels, numSamples);
}
