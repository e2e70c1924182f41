// Pitch shifter and comb filter: both move the block into the line's ring buffer and rebuild the line
// from reads at moving positions behind the write position.

#include "../PluginProcessor.h"
#include "RingReader.h"

#include <array>
#include <cmath>
#include <limits>

namespace
{
// Returns the ring position of the block's first sample. The write index moves on by the whole block
// even when there are no channels to store.
int moveBlockIntoRing(BramblewayAudioProcessor::LineRingBuffer& ring, juce::AudioBuffer<float>& buffer,
                      int channels, int samples)
{
    const int start = ring.writeIndex;
    for (int channel = 0; channel < channels; ++channel)
    {
        float* line = buffer.getWritePointer(channel);
        float* stored = ring.channels[(size_t) channel].data();
        for (int j = 0, w = start; j < samples; ++j, w = w + 1 == ring.size ? 0 : w + 1)
        {
            stored[w] = line[j];
            line[j] = 0.0f;
        }
    }
    ring.writeIndex = (int) (((juce::int64) start + samples) % ring.size);
    return start;
}

// One turn of the phase as the effect lays it down; at very low sample rates a steep ratio can move it
// by more than a turn per sample, and the phase must still stay a fraction of the window.
double wrapPhase(double phase)
{
    if (phase > 1.0)
        phase -= 1.0;
    else if (phase < 0.0)
        phase += 1.0;
    if (phase < 0.0 || phase > 1.0)
        phase -= std::floor(phase);
    return phase;
}

// A pitch-shifter tap during one block. Its delay changes by 1 - ratio samples per sample, so it reads
// the input at ratio times its speed; the phase step is worked out again only when the pitch moves.
struct PitchTap
{
    PitchTap(double startPhase, float tapSampleRate) : phase(startPhase), sampleRate(tapSampleRate) {}

    double advance(double octaves)
    {
        if (octaves != lastOctaves)
        {
            lastOctaves = octaves;
            const double ratio = std::exp2(octaves);
            step = (double) ((float) ((1.0 - ratio) * 1000.0 / BramblewayAudioProcessor::pitchWindowMs) /
                             sampleRate);
        }
        phase = wrapPhase(phase + step);
        return phase;
    }

    double phase;
    float sampleRate;
    double lastOctaves = std::numeric_limits<double>::quiet_NaN();
    double step = 0.0;
};

// The triangular window: 0 at the ends of the tap's sweep, 1 in the middle.
double tapGain(double phase)
{
    return phase < 0.5 ? 2.0 * phase : 2.0 * (1.0 - phase);
}

bool ringIsReady(const BramblewayAudioProcessor::LineRingBuffer& ring, int channels)
{
    if (ring.size < 1)
        return false;
    for (int channel = 0; channel < channels; ++channel)
        if (ring.channels[(size_t) channel].size() < (size_t) ring.size)
            return false;
    return true;
}
} // namespace

//======================================================================================================
// "PITCH SHIFT": two taps sweep through a 100 ms window at a speed set by the pitch ratio, cross-faded
// by triangular windows that always sum to 1.

void BramblewayAudioProcessor::processBlockPitchShifter(juce::AudioBuffer<float>&, juce::MidiBuffer&,
                                                        int line)
{
    const auto l = (size_t) line;
    const float shift = modulatedValue(Stem::PITCHVALUE, line, 3.0f, -3.0f, 3.0f);
    const float octave =
        juce::jlimit(-3.0f, 3.0f,
                     std::nearbyint(3.0f * calculateEffectModulation(Stem::PITCHMUSICALOCTAVE, line).first) +
                         liveValue(Stem::PITCHMUSICALOCTAVE, line));
    const float fine = modulatedValue(Stem::PITCHMUSICALFINE, line, 12.0f, -12.0f, 12.0f);
    // Not fine / 12: an octave at 12 semitones, but half an octave down at -12.
    const double semitoneOctaves = std::pow(semitoneRatio, (double) fine) - 1.0;

    markHoldingData(line);
    auto& ring = lineRingBuffers[l];
    if (!ringIsReady(ring, numChannels))
        return;
    const int start = moveBlockIntoRing(ring, lineBuffers[l], numChannels, numSamples);

    float* const* out = lineBuffers[l].getArrayOfWritePointers();
    auto& phases = pitchTapPhases[l];
    std::array<PitchTap, 2> taps{PitchTap{phases.phases[0], phases.sampleRate},
                                 PitchTap{phases.phases[1], phases.sampleRate}};
    // Both taps in one pass: each output sample still gets tap 0 first, then tap 1.
    for (int i = 0; i < numSamples; ++i)
    {
        const bool musical = liveValue(Stem::PITCHMUSICALSET, line) != 0.0f;
        for (size_t tap = 0; tap < 2; ++tap)
        {
            const float slideOctaves = pitchSlideRamps[l][tap].getNextValue();
            const double phase = taps[tap].advance(musical ? semitoneOctaves + octave + slideOctaves
                                                           : (double) (slideOctaves + shift));
            const auto position =
                (float) ((double) (start + i) - currentSampleRate * phase * pitchWindowMs / 1000.0);
            const auto read = ring_reader::locate(position, ring.size);
            const double gain = tapGain(phase);
            for (int channel = 0; channel < numChannels; ++channel)
            {
                const float* stored = ring.channels[(size_t) channel].data();
                out[channel][i] +=
                    (float) ((stored[read.i1] * read.frac + stored[read.i0] * (1.0f - read.frac)) * gain);
            }
        }
    }
    for (size_t tap = 0; tap < 2; ++tap)
        phases.phases[tap] = taps[tap].phase;
}

//======================================================================================================
// "COMBFILTER": the input plus the input delayed by the comb delay and an LFO sweep.

void BramblewayAudioProcessor::processBlockCombFilter(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    const auto l = (size_t) line;
    auto& delayRamp = combDelayRamps[l];
    delayRamp.setTargetValue(liveValue(Stem::COBFILTERDELAY, line));
    delayRamp.skip(numSamples);
    const float delay = delayRamp.getNextValue();

    float rate = 0.0f;
    if (liveValue(Stem::COMBFILTERSYNC, line) != 0.0f)
    {
        const auto sync = (int) modulatedValue(Stem::COMBFILTEROFFREQSYNC, line, 12.0f, 0.0f, 11.0f);
        rate = (float) ((double) currentBpm / (syncValues[sync] * 240.0));
    }
    else
    {
        rate = modulatedValue(Stem::COMBFILTEROFFREQ, line, 50.0f, 0.0f, 50.0f);
    }
    auto& lfo = lfos[(size_t) (2 * numLines) + l];
    lfo.update(rate, (int) liveValue(Stem::COMBFILTEROFWAVE, line));
    const float depth = modulatedValue(Stem::COMBFILTERDEPTH, line, 1.0f, 0.0f, 1.0f);

    markHoldingData(line);
    auto& ring = lineRingBuffers[l];
    if (numSamples < 1 || !ringIsReady(ring, numChannels))
        return;
    const int start = moveBlockIntoRing(ring, lineBuffers[l], numChannels, numSamples);

    // The delay automation ramps across the block from its previous value.
    const auto [modulation, previousModulation] = calculateEffectModulation(Stem::COBFILTERDELAY, line);
    const float endDelay = juce::jlimit(0.0f, 10.0f, delay + 10.0f * modulation);
    const float startDelay = juce::jlimit(0.0f, 10.0f, delay + 10.0f * previousModulation);
    const float delayStep = (endDelay - startDelay) / (float) numSamples;
    float* const* out = lineBuffers[l].getArrayOfWritePointers();
    float currentDelay = startDelay;

    for (int i = 0; i < numSamples; ++i)
    {
        currentDelay += delayStep;
        const auto lfoValue = (double) lfo.processSample();
        // In samples, whatever the sample rate.
        const float sweep =
            std::max(0.0f, (float) ((lfoValue * (double) (depth * endDelay) + endDelay) * 10.0));
        const auto position = (float) ((double) (start + i) +
                                       (double) currentDelay * currentSampleRate / -1000.0 - (double) sweep);
        const auto read = ring_reader::locate(position, ring.size);
        const int current = (start + i) % ring.size;
        for (int channel = 0; channel < numChannels; ++channel)
        {
            const float* stored = ring.channels[(size_t) channel].data();
            out[channel][i] =
                stored[read.i0] * (1.0f - read.frac) + stored[read.i1] * read.frac + stored[current];
        }
    }
}
