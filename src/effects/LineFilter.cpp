// The line filter: two four-pole filters per line whose cutoff follows an envelope, an LFO and the
// CutOff automation line.

#include "../PluginProcessor.h"

void BramblewayAudioProcessor::setAdsrUpdate(int line)
{
    envelopeUpdateRequested[(size_t)line].store(true, std::memory_order_relaxed);
}

// The envelope sounds as its parameters say whether or not an editor exists: after a project is
// reopened, or under host automation with the window closed.
void BramblewayAudioProcessor::followEnvelopeParameters(int line)
{
    const auto l = (size_t)line;
    const juce::ADSR::Parameters wanted{liveValue(Stem::ATTACKNAME, line), liveValue(Stem::DECAYNAME, line),
                                        liveValue(Stem::SUSTAINNAME, line),
                                        liveValue(Stem::RELEASENAME, line)};
    auto& current = envelopeParameters[l];
    const bool requested = envelopeUpdateRequested[l].exchange(false, std::memory_order_relaxed);
    if (!requested && wanted.attack == current.attack && wanted.decay == current.decay &&
        wanted.sustain == current.sustain && wanted.release == current.release)
        return;

    current = wanted;
    filterEnvelopes[l].setParameters(current);
}

void BramblewayAudioProcessor::setUpFilterLfo(int line)
{
    float rate = 0.0f;
    if (liveValue(Stem::LFOSYNC, line) != 0.0f)
    {
        const auto sync =
            juce::jlimit(0, syncValuesString.size() - 1, (int)liveValue(Stem::LFOSYNCFREQ, line));
        rate = (float)((double)currentBpm / (syncValues[sync] * 240.0));
    }
    else
    {
        const float modulation = calculateEffectModulation(Stem::LFOFREQ, line).first;
        rate = juce::jmax(0.0f, liveValue(Stem::LFOFREQ, line) + 10.0f * modulation);
    }
    lfos[(size_t)line].update(rate, (int)liveValue(Stem::LFOWAVETYPE, line));
}

void BramblewayAudioProcessor::processBlockFilter(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    const auto l = (size_t)line;
    setUpFilterLfo(line);

    auto& filters = lineFilters[l];
    const auto cutoff = (double)(liveValue(Stem::CutOff, line) / 20000.0f);
    const float resonance =
        juce::jlimit(0.01f, 0.99f, liveValue(Stem::Q, line) + calculateEffectModulation(Stem::Q, line).first);
    for (auto& filter : filters)
    {
        filter.setCutoff(cutoff);
        filter.setResonance((double)resonance);
    }

    markHoldingData(line);
    const float depth =
        liveValue(Stem::LFODEPTH, line) + 10.0f * calculateEffectModulation(Stem::LFODEPTH, line).first;
    // The lower half of the CutOff automation line has no effect beyond 0.01.
    const float cutoffAutomation =
        juce::jlimit(0.01f, 1.0f, calculateEffectModulation(Stem::CutOff, line).first);

    const auto* envelopeAmount = liveValues[Stem::ENVNAME][l];
    auto& envelope = filterEnvelopes[l];
    auto& lfo = lfos[l];
    auto& left = filters[0];
    auto& right = filters[1];
    float* channel0 = lineBuffers[l].getWritePointer(0);
    float* channel1 = lineBuffers[l].getWritePointer(1);

    for (int i = 0; i < numSamples; ++i)
    {
        // Read for every sample, so a host change takes effect from the next one.
        const float amount = envelopeAmount->load(std::memory_order_relaxed);
        const float envelopeValue = envelope.getNextSample();
        const float lfoValue = lfo.processSample();
        const auto offset = juce::jlimit(
            0.001f, 1.0f,
            (float)((envelopeValue * amount + cutoffAutomation) + (double)(lfoValue * depth) / 100.0));

        left.setCutoffMod((double)offset);
        channel0[i] = (float)left.process((double)channel0[i]);
        right.setCutoffMod((double)offset);
        channel1[i] = (float)right.process((double)channel1[i]);
    }
}
