#include "EngineRig.h"

namespace testing_support
{
EngineRig::EngineRig(double rate, int blockSize, int channelCount)
    : sampleRate(rate), preparedBlockSize(blockSize), channels(channelCount)
{
    const auto set = channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(set);
    layout.outputBuses.add(set);
    processor.setBusesLayout(layout);
    processor.setPlayHead(&playHead);
    processor.prepareToPlay(sampleRate, blockSize);
}

EngineRig::~EngineRig()
{
    processor.setPlayHead(nullptr);
}

void EngineRig::setForLines(int stem, float plain)
{
    for (int line = 0; line < numLines; ++line)
        set(lineParameterID(stem, line), plain);
}

void EngineRig::settleGains()
{
    setForLines(Stem::LineVolume, 0.0f);
    for (auto& volume : processor.lineVolumeSmoothers)
        volume.setCurrentAndTargetValue(1.0f);
    set("GLOBALDRYWET", 1.0f);
    processor.dryWetSmoother.setCurrentAndTargetValue(1.0f);
}

Recording EngineRig::run(juce::int64 samples, const Signal& input, int blockSize)
{
    if (blockSize <= 0)
        blockSize = preparedBlockSize;
    Recording recording;
    juce::AudioBuffer<float> buffer(channels, blockSize);
    juce::MidiBuffer midi;
    for (juce::int64 done = 0; done < samples; done += blockSize)
    {
        const int length = (int)std::min<juce::int64>(blockSize, samples - done);
        buffer.setSize(channels, length, false, false, true);
        for (int channel = 0; channel < channels; ++channel)
            for (int i = 0; i < length; ++i)
                buffer.setSample(channel, i, input(channel, position + i));

        processor.processBlock(buffer, midi);
        playHead.samplePosition += length;
        position += length;

        for (int channel = 0; channel < channels; ++channel)
        {
            const float* out = buffer.getReadPointer(channel);
            recording.output[channel].insert(recording.output[channel].end(), out, out + length);
        }
        // A longer block runs in slices and leaves only its last slice in the line buffers.
        if (length > preparedBlockSize)
            continue;
        for (int line = 0; line < numLines; ++line)
            for (int channel = 0; channel < maxChannels; ++channel)
            {
                const float* gated = processor.lineBuffers[(size_t)line].getReadPointer(channel);
                auto& into = recording.lines[line][channel];
                into.insert(into.end(), gated, gated + length);
            }
    }
    return recording;
}

std::vector<juce::int64> gateOpenings(const std::vector<float>& gate)
{
    std::vector<juce::int64> openings;
    for (size_t i = 0; i < gate.size(); ++i)
        if (gate[i] != 0.0f && (i == 0 || gate[i - 1] == 0.0f))
            openings.push_back((juce::int64)i);
    return openings;
}
} // namespace testing_support
