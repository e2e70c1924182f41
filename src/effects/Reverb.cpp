// "REVERB": the framework's reverb, optionally gated to the line's sounding blocks (REVERBINST).

#include "../PluginProcessor.h"

namespace
{
// Opens the gate where a block started and closes it where one ended, each marker consumed once.
void applyGate(BramblewayAudioProcessor::SampleMarkers& markers, juce::LinearSmoothedValue<float>& gate,
               juce::AudioBuffer<float>& buffer, int channels, int samples)
{
    float* const* out = buffer.getArrayOfWritePointers();
    for (int i = 0; i < samples; ++i)
    {
        if (i == markers.start)
        {
            markers.start = -1;
            gate.setTargetValue(1.0f);
        }
        if (i == markers.end)
        {
            markers = {};
            gate.setTargetValue(0.0f);
        }
        const float gain = gate.getNextValue();
        for (int channel = 0; channel < channels; ++channel)
            out[channel][i] *= gain;
    }
}
} // namespace

void BramblewayAudioProcessor::processBlockReverb(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    const auto l = (size_t) line;
    const auto level = [this, line](int stem) { return modulatedValue(stem, line, 1.0f, 0.0f, 1.0f); };
    reverbParameters.dryLevel = level(Stem::REVERBDRYLEVEL);
    reverbParameters.damping = level(Stem::REVERBDAMPING);
    reverbParameters.roomSize = level(Stem::REVERBROOMSIZE);
    reverbParameters.wetLevel = level(Stem::REVERBWETLEVEL);
    reverbParameters.width = level(Stem::REVERBWIDTH);
    reverbs[l].setParameters(reverbParameters);

    markHoldingData(line);
    auto& buffer = lineBuffers[l];
    reverbs[l].processStereo(buffer.getWritePointer(0), buffer.getWritePointer(1), numSamples);

    // With the gate off the markers stay as the sequencer wrote them and the tail rings on.
    if (liveValue(Stem::REVERBINST, line) != 0.0f && numSamples > 0)
        applyGate(stepMarkers[l], reverbGateRamps[l], buffer, numChannels, numSamples);
}
