// Delay and repeater.

#include "../PluginProcessor.h"

#include <cmath>
#include <limits>

namespace
{
// Width in samples of the repeater's second algorithm's fades; a count, not a time.
constexpr int edgeSamples = 440;

// Samples over which the repeat gain falls to 0: 0 on the knob is about 100 seconds, 10 about 0.2.
int fadeOutSteps(double sampleRate, float fadeOut)
{
    const double steps = std::floor(sampleRate / (double) (fadeOut * 0.5f + 0.01f));
    return (int) juce::jmin(steps, (double) std::numeric_limits<int>::max());
}

// Jumps to 1 and falls to 0 over the given steps; at once when there are none.
void restartRepeatGain(LinearRamp& gain, int steps)
{
    gain.reset(steps);
    gain.setCurrentAndTargetValue(1.0f);
    gain.setTargetValue(0.0f);
}

// Trapezoid over a slice: rises over the first fraction width, falls over the last.
float sliceWindow(float position, float width)
{
    if (position < width)
        return position / width;
    if (position > 1.0f - width)
        return (1.0f - position) / width;
    return 1.0f;
}

// Rises over the first edgeSamples positions of a slice and falls over the last.
float edgeFade(int position, int length)
{
    if (position <= edgeSamples - 1)
        return (float) position / (float) edgeSamples;
    if (length - edgeSamples < position && position < length)
        return (float) (length - position) / (float) edgeSamples;
    return 1.0f;
}
} // namespace

void BramblewayAudioProcessor::processBlockDleay(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    const auto l = (size_t) line;
    markHoldingData(line);
    const float time =
        liveValue(Stem::DELAYSYNC, line) != 0.0f
            ? syncedDelaySeconds(currentBpm, modulatedSyncIndex(Stem::DELAYTIMEDELAYSYNC, line))
            : modulatedValue(Stem::DELAYTIMEDELAY, line, 1.0f, 0.0f, 1.0f);
    // A tempo too small for single precision makes the synced time infinite: the glide would turn to
    // NaN and so would the read position. No delay outlasts the line anyway.
    const float target = std::isfinite(time) ? time : longestDelaySeconds;
    const float feedback = modulatedValue(Stem::DELAYFEEDBACKDELAY, line, 1.0f, 0.0f, 1.0f);
    const float wet = modulatedValue(Stem::DELAYDREYWETDELAY, line, 1.0f, 0.0f, 1.0f);

    auto& state = delayStates[l];
    auto& delayLine = delayLines[l];
    const auto longest = (float) delayLine.getMaximumDelayInSamples();
    float* channels[maxChannels] = {lineBuffers[l].getWritePointer(0), lineBuffers[l].getWritePointer(1)};

    for (int i = 0; i < numSamples; ++i)
    {
        state.smoothedTime = state.smoothedTime - 0.001f * (state.smoothedTime - target);
        state.delaySamples = (float) ((double) state.smoothedTime * currentSampleRate);
        delayLine.setDelay(juce::jlimit(0.0f, longest, state.delaySamples));
        for (int channel = 0; channel < numChannels; ++channel)
        {
            const float x = channels[channel][i];
            // Two huge samples that meet overflow: the line never holds what could not decay.
            const float fed = (x + state.lastDelayed[(size_t) channel]) * feedback;
            delayLine.pushSample(channel, std::isfinite(fed) ? fed : 0.0f);
            const float y = delayLine.popSample(channel);
            state.lastDelayed[(size_t) channel] = y;
            channels[channel][i] = y * wet + x * (1.0f - wet);
        }
    }
}

void BramblewayAudioProcessor::processBlockReapeater(juce::AudioBuffer<float>&, juce::MidiBuffer&, int line)
{
    markHoldingData(line);
    const float division = modulatedValue(Stem::REPEATERDIVIDE, line, 64.0f, 1.0f, 64.0f);
    const int sliceLength = repeaterSliceSamples(division);
    if (liveValue(Stem::REPEATERTYPE, line) == 0.0f)
        runRepeaterOne(line, sliceLength);
    else
        runRepeaterTwo(line, sliceLength, numSamples);
}

void BramblewayAudioProcessor::runRepeaterOne(int line, int sliceLength)
{
    const auto l = (size_t) line;
    auto& state = repeaterOneStates[l];
    auto& buffers = state.buffers;
    const int sliceLimit = (int) buffers[0].size();
    if (!wasPlaying.load(std::memory_order_relaxed) || numSamples <= 0 || sliceLimit <= 0)
        return;

    auto& markers = repeaterOneMarkers[l];
    auto& fade = state.outputFade;
    float* channels[maxChannels] = {lineBuffers[l].getWritePointer(0), lineBuffers[l].getWritePointer(1)};

    for (int i = 0; i < numSamples; ++i)
    {
        if (i == markers.start)
        {
            if (fade.getCurrentValue() != 0.0f && fade.getTargetValue() != 0.0f)
                fade.setTargetValue(0.0f);
            state.pending = true;
        }
        // A new slice waits until the previous one has faded out.
        if (state.pending && fade.getCurrentValue() == 0.0f)
        {
            const int slice = juce::jmin(sliceLength, sliceLimit);
            state.recordRemaining = slice;
            state.writePosition = 0;
            state.readPosition = 0;
            markers = {};
            fade.setTargetValue(1.0f);
            state.pending = false;
            restartRepeatGain(state.repeatGain,
                              fadeOutSteps(currentSampleRate, liveValue(Stem::REPEATEFADOUT, line)));
            state.sliceLength = slice;
        }
        if (i == markers.end && fade.getTargetValue() != 0.0f)
            fade.setTargetValue(0.0f);

        const auto length = (juce::uint64) state.sliceLength;
        if (state.recordRemaining != 0)
        {
            for (int channel = 0; channel < numChannels; ++channel)
                buffers[(size_t) channel][state.writePosition] = channels[channel][i];
            --state.recordRemaining;
            state.writePosition = (state.writePosition + 1) % length;
        }

        const auto position = (float) ((double) state.readPosition / (double) state.sliceLength);
        const float gain = state.repeatGain.getNextValue();
        const float window = sliceWindow(position, liveValue(Stem::REPEATERWINDOW, line));
        const float fadeValue = fade.getNextValue();
        for (int channel = 0; channel < numChannels; ++channel)
            channels[channel][i] = buffers[(size_t) channel][state.readPosition] * window * fadeValue * gain;
        state.readPosition = (state.readPosition + 1) % length;
    }
}

void BramblewayAudioProcessor::runRepeaterTwo(int line, int sliceLength, int samples)
{
    const auto l = (size_t) line;
    auto& state = repeaterTwoStates[l];
    auto& markers = stepMarkers[l];
    auto& ring = lineRingBuffers[l];
    if (ring.size <= 0)
        return;

    const int blockLength = blockLengthSamples[l].load(std::memory_order_relaxed);
    float* channels[maxChannels] = {lineBuffers[l].getWritePointer(0), lineBuffers[l].getWritePointer(1)};
    const auto silence = [&](int i)
    {
        for (int channel = 0; channel < numChannels; ++channel)
            channels[channel][i] = 0.0f;
    };
    float closing = 1.0f;

    for (int i = 0; i < samples; ++i)
    {
        if (state.slicePosition == 0)
            state.sliceLength = sliceLength;
        if (i == markers.start)
        {
            markers.start = -1;
            state.counter = 0;
            state.recordRemaining = sliceLength;
            restartRepeatGain(state.repeatGain,
                              fadeOutSteps(currentSampleRate, liveValue(Stem::REPEATEFADOUT, line)));
        }
        if (state.counter != RepeaterTwoState::idle)
            ++state.counter;
        if (blockLength - edgeSamples < state.counter && state.counter < blockLength)
            closing = (float) (blockLength - state.counter) / (float) edgeSamples;

        if (state.counter == blockLength)
        {
            markers.end = -1;
            state.recordRemaining = RepeaterTwoState::idle;
            state.repeatGain.setTargetValue(0.0f);
            state.counter = RepeaterTwoState::idle;
            silence(i);
            continue;
        }
        if (state.recordRemaining == RepeaterTwoState::idle)
        {
            silence(i);
            continue;
        }

        const float gain = state.repeatGain.getNextValue();
        const int write = ring.writeIndex;
        if (state.recordRemaining != 0)
        {
            const float envelope = edgeFade(state.recordRemaining, state.sliceLength);
            for (int channel = 0; channel < numChannels; ++channel)
            {
                const float x = channels[channel][i];
                ring.channels[(size_t) channel][(size_t) write] = x;
                channels[channel][i] = (float) ((double) envelope * (double) x * (double) closing);
            }
            state.slicePosition = 0;
            --state.recordRemaining;
        }
        else
        {
            const float fade = edgeFade(state.slicePosition, state.sliceLength);
            // One slice behind the write index; a slice longer than the ring reads from its start.
            int read = write - state.sliceLength;
            if (read < 0)
                read += ring.size;
            if (read < 0)
                read = 0;
            for (int channel = 0; channel < numChannels; ++channel)
            {
                auto& stored = ring.channels[(size_t) channel];
                const float x = stored[(size_t) read];
                stored[(size_t) write] = x;
                channels[channel][i] = x * gain * fade * closing;
            }
            state.slicePosition = (state.slicePosition + 1) % state.sliceLength;
        }
        ring.writeIndex = (write + 1) % ring.size;
    }
}
