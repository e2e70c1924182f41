// Chorus-flanger, phaser and vibrato.

#include "../PluginProcessor.h"

#include <cmath>

namespace
{
// The vibrato reads at most this many samples behind the newest one, whatever the sample rate.
constexpr int longestVibratoDelay = 201;

bool allFinite(const juce::dsp::AudioBlock<float>& block)
{
    for (size_t channel = 0; channel < block.getNumChannels(); ++channel)
        for (size_t i = 0; i < block.getNumSamples(); ++i)
            if (!std::isfinite(block.getSample((int) channel, (int) i)))
                return false;
    return true;
}

// Huge samples can overflow in the framework processors' feedback paths; one that lets a non-finite
// value out starts again from silence rather than hold it for good.
template <typename Processor>
void processInPlace(Processor& processor, juce::AudioBuffer<float>& buffer, int samples)
{
    auto block = juce::dsp::AudioBlock<float>(buffer).getSubBlock(0, (size_t) samples);
    processor.process(juce::dsp::ProcessContextReplacing<float>(block));
    if (!allFinite(block))
        processor.reset();
}
} // namespace

void BramblewayAudioProcessor::processBlockChorus(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    const auto l = (size_t) line;
    auto& centreDelay = chorusDelayRamps[l];
    centreDelay.setTargetValue(chorusDelayTarget[l].load(std::memory_order_relaxed));
    centreDelay.skip(numSamples);

    auto& chorus = choruses[l];
    chorus.setRate(modulatedValue(Stem::CHORUSRATE, line, 1.0f, 0.0f, 30.0f));
    chorus.setDepth(modulatedValue(Stem::CHORUSDEPTH, line, 1.0f, 0.0f, 1.0f));
    // The automation line moves the delay by at most a millisecond either way; CHORUSDELAY itself
    // reaches the ramp only through the listener.
    const float delayModulation = calculateEffectModulation(Stem::CHORUSDELAY, line).first;
    chorus.setCentreDelay(juce::jlimit(0.0f, 50.0f, delayModulation + centreDelay.getNextValue()));
    chorus.setFeedback(modulatedValue(Stem::CHORUSFEEDBACK, line, 1.0f, -0.99f, 0.99f));
    chorus.setMix(modulatedValue(Stem::CHORUSMIX, line, 1.0f, 0.0f, 1.0f));

    markHoldingData(line);
    processInPlace(chorus, lineBuffers[l], numSamples);
}

void BramblewayAudioProcessor::processBlockPhaser(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    const auto l = (size_t) line;
    auto& phaser = phasers[l];
    phaser.setRate(modulatedValue(Stem::PHASERRATE, line, 5.0f, 0.0f, 5.0f));
    phaser.setDepth(modulatedValue(Stem::PHASERDEPTH, line, 1.0f, 0.0f, 0.99f));
    phaser.setFeedback(modulatedValue(Stem::PHASERPEEDBAC, line, 1.0f, -1.0f, 0.99f));
    phaser.setCentreFrequency(modulatedValue(Stem::PHASERDECAY, line, 100.0f, 0.0f, 100.0f));
    phaser.setMix(modulatedValue(Stem::PHASERMIX, line, 1.0f, 0.0f, 1.0f));

    markHoldingData(line);
    processInPlace(phaser, lineBuffers[l], numSamples);
}

void BramblewayAudioProcessor::processBlockVibrato(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    juce::ScopedNoDenormals noDenormals;
    const auto l = (size_t) line;
    auto& lfo = modulationLfo(line);
    lfo.update(modulatedValue(Stem::VIBRATOLFOFREQ, line, 40.0f, 0.0f, 40.0f),
               (int) liveValue(Stem::VIBRATOLFOWAVE, line));

    // The width moves from where the automation line was at the last block to where it is now.
    const auto [modulation, previousModulation] = calculateEffectModulation(Stem::VIBRATOWIDTH, line);
    const float plainWidth = liveValue(Stem::VIBRATOWIDTH, line);
    const float startWidth = juce::jlimit(0.0f, 1.0f, plainWidth + 2.0f * previousModulation);
    const float endWidth = juce::jlimit(0.0f, 1.0f, plainWidth + 2.0f * modulation);
    const float widthStep = numSamples > 0 ? (endWidth - startWidth) / (float) numSamples : 0.0f;
    markHoldingData(line);

    auto& vibrato = vibratoBuffers[l];
    const int size = vibrato.size;
    if (size <= longestVibratoDelay)
        return;
    float* channels[maxChannels] = {lineBuffers[l].getWritePointer(0), lineBuffers[l].getWritePointer(1)};
    float* stored[maxChannels] = {vibrato.channels[0].data(), vibrato.channels[1].data()};
    float width = startWidth;
    int write = vibrato.writeIndex;

    for (int i = 0; i < numSamples; ++i)
    {
        width += widthStep;
        for (int channel = 0; channel < maxChannels; ++channel)
            stored[channel][write] = channels[channel][i];

        const double lfoValue = lfo.processSample();
        const float offset = (float) (-100.0 * (lfoValue * (double) width + 1.0));
        const float read = std::fmod((float) write + offset + (float) size - 1.0f, (float) size);
        const int first = (int) std::floor(read);
        const float fraction = read - (float) first;
        const int second = (first + 1) % size;
        for (int channel = 0; channel < maxChannels; ++channel)
        {
            const float* samples = stored[channel];
            channels[channel][i] = samples[first] + (samples[second] - samples[first]) * fraction;
        }
        write = write + 1 == size ? 0 : write + 1;
    }
    vibrato.writeIndex = write;
}
