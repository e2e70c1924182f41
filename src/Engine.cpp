// The audio callback: the grid sequencer that gates each line, then the filters, effects and mixer.

#include "PluginProcessor.h"

#include <cmath>
#include <limits>

namespace
{
constexpr double defaultTempo = 120.0;
constexpr int beatsPerBar = 4;
// Long enough for any musical tempo; GridNum times it still fits an int.
constexpr double maximumLength = std::numeric_limits<int>::max() / numBlocks;

// Lengths are at least one sample, so no counter wraps by zero, and never overflow an int.
int toLength(double samples)
{
    if (!(samples >= 1.0))
        return 1;
    return (int)std::min(samples, maximumLength);
}

// (counter + 1) mod length, dividing only when the counter wraps.
int wrapIncrement(int counter, int length)
{
    const int next = counter + 1;
    return next < length ? next : next % length;
}

void zeroNonFinite(float* samples, int count)
{
    for (int i = 0; i < count; ++i)
        samples[i] = std::isfinite(samples[i]) ? samples[i] : 0.0f;
}

void zeroNonFinite(juce::AudioBuffer<float>& buffer, int channels, int count)
{
    if (buffer.hasBeenCleared())
        return;
    for (int channel = 0; channel < channels; ++channel)
        zeroNonFinite(buffer.getWritePointer(channel), count);
}
} // namespace

void BramblewayAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    juce::ScopedNoDenormals noDenormals;
    const int total = buffer.getNumSamples();
    if (total <= 0)
        return;

    zeroNonFinite(buffer, buffer.getNumChannels(), total);
    if (preparedBlockSize <= 0)
        return;

    if (total <= preparedBlockSize)
    {
        processSlice(buffer, midi);
        return;
    }
    // Hosts may send more than they announced; every buffer is sized for the announced block.
    for (int start = 0; start < total; start += preparedBlockSize)
    {
        juce::AudioBuffer<float> slice(buffer.getArrayOfWritePointers(), buffer.getNumChannels(), start,
                                       juce::jmin(preparedBlockSize, total - start));
        processSlice(slice, midi);
    }
}

void BramblewayAudioProcessor::processSlice(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    const int inputs = getTotalNumInputChannels();
    if (inputs <= maxChannels)
        numChannels = inputs;
    numChannels = juce::jmin(numChannels, buffer.getNumChannels());
    numSamples = buffer.getNumSamples();

    copyDryInput(buffer);
    setUpLines();

    Transport transport;
    if (!readTransport(transport))
        return;
    currentBpm = (float)transport.bpm;

    calculateLineLengths(transport.bpm);
    runSequencer(buffer, transport.playing);
    runFiltersAndEffects(buffer, midi);
    mixLines(buffer);
}

void BramblewayAudioProcessor::copyDryInput(juce::AudioBuffer<float>& buffer)
{
    for (int channel = 0; channel < numChannels; ++channel)
        workBuffer.copyFrom(channel, 0, buffer, channel, 0, numSamples);
}

void BramblewayAudioProcessor::setUpLines()
{
    for (int line = 0; line < numLines; ++line)
    {
        const auto effect = juce::jlimit(0, numEffectTypes - 1, (int)liveValue(Stem::EFFECT, line));
        activeEffectRoutines[(size_t)line] = effectRoutines[(size_t)effect];

        auto& filters = lineFilters[(size_t)line];
        for (auto& filter : filters)
            filter.mode = (int)liveValue(Stem::FILTERTYPE, line);
        for (int channel = 0; channel < numChannels; ++channel)
        {
            filters[(size_t)channel].setCutoff((double)(liveValue(Stem::CutOff, line) / 20000.0f));
            filters[(size_t)channel].setResonance((double)liveValue(Stem::Q, line));
        }
        followEnvelopeParameters(line);
    }
}

bool BramblewayAudioProcessor::readTransport(Transport& transport) const
{
    auto* host = getPlayHead();
    if (host == nullptr)
        return false;

    if (const auto position = host->getPosition())
    {
        transport.bpm = position->getBpm().orFallback(defaultTempo);
        transport.playing = position->getIsPlaying();
    }
    // A tempo of 0 passes the audio through; negative or non-finite tempos have no lengths either.
    return transport.bpm > 0.0 && std::isfinite(transport.bpm);
}

int BramblewayAudioProcessor::noteValueSamples(float choice, double bpm) const
{
    const int index = juce::jlimit(0, myNotetUnitSA.size() - 1, (int)choice);
    double base = currentSampleRate * 60.0 / bpm * 6.0; // six beats: a dotted whole note
    int halvings = 0;
    switch (index % 3)
    {
    case 0: // dotted
        halvings = (index + 1) / 3;
        break;
    case 1: // plain
        halvings = index / 3;
        base = (base + base) / 3.0;
        break;
    default: // triplet
        halvings = (index - 1) / 3;
        base = base * 4.0 / 9.0;
        break;
    }
    return toLength(base / (double)(1 << halvings));
}

void BramblewayAudioProcessor::calculateLineLengths(double bpm)
{
    for (int line = 0; line < numLines; ++line)
    {
        const auto l = (size_t)line;
        const int stepLength = noteValueSamples(liveValue(Stem::Speed, line), bpm);
        const int blockLength = noteValueSamples(liveValue(Stem::Dur, line), bpm);
        stepLengthSamples[l].store(stepLength, std::memory_order_relaxed);
        lineLengthSamples[l].store(toLength((double)(gridNumOf(line) * (float)stepLength)),
                                   std::memory_order_relaxed);
        blockLengthSamples[l].store(blockLength, std::memory_order_relaxed);

        lineVolumeSmoothers[l].setTargetValue(
            juce::Decibels::decibelsToGain(liveValue(Stem::LineVolume, line)));

        const auto duration = (float)blockLength;
        attackSamples[l] = (juce::int64)(duration * liveValue(Stem::LINEVOLATTACK, line) + 10.0f);
        decayStartSample[l] = (juce::int64)(duration * (1.0f - liveValue(Stem::LINEVOLDECAY, line)) - 10.0f);
        attackIncrement[l] = 1.0f / (float)attackSamples[l];
        // Rounding of very long blocks could leave no room for the fall.
        decayIncrement[l] = 1.0f / (float)juce::jmax((juce::int64)1, blockLength - decayStartSample[l]);
    }
}

float BramblewayAudioProcessor::gridNumOf(int line) const
{
    return (float)juce::jlimit(1, numBlocks, (int)liveValue(Stem::GridNum, line));
}

int BramblewayAudioProcessor::samplesPerBar() const
{
    return toLength(currentSampleRate * beatsPerBar / (double)(currentBpm / 60.0f));
}

int BramblewayAudioProcessor::barsPerRestart() const
{
    return juce::jlimit(1, numBlocks, (int)globalRestncBar->load(std::memory_order_relaxed));
}

void BramblewayAudioProcessor::runSequencer(const juce::AudioBuffer<float>& buffer, bool playing)
{
    const int barLength = samplesPerBar();
    const int restartBars = barsPerRestart();
    int bars = barCounter.load(std::memory_order_relaxed);
    // The next sample then begins a bar that restarts every line.
    if (playing && !wasPlaying.load(std::memory_order_relaxed))
    {
        bars = restartBars - 1;
        barSampleCounter = barLength - 1;
    }
    wasPlaying.store(playing, std::memory_order_relaxed);

    std::array<LineClock, numLines> clocks;
    loadClocks(clocks);

    const float* input[maxChannels] = {};
    for (int channel = 0; channel < numChannels; ++channel)
        input[channel] = buffer.getReadPointer(channel);
    float* gated[numLines][maxChannels] = {};
    for (size_t line = 0; line < (size_t)numLines; ++line)
        for (int channel = 0; channel < numChannels; ++channel)
            gated[line][channel] = lineBuffers[line].getWritePointer(channel);

    for (int sample = 0; sample < numSamples; ++sample)
    {
        barSampleCounter = wrapIncrement(barSampleCounter, barLength);
        if (barSampleCounter == 0)
        {
            bars = wrapIncrement(bars, restartBars);
            if (bars == 0)
                for (auto& clock : clocks)
                {
                    // Every line enters step 0 at this very sample.
                    clock.currentStep = clock.gridNum - 1;
                    clock.stepSampleCounter = clock.stepLength - 1;
                }
        }

        for (int line = 0; line < numLines; ++line)
        {
            auto& clock = clocks[(size_t)line];
            advanceLineClock(clock, line, sample);
            const float envelope = nextEnvelopeValue(clock, line);
            lineEnvelope[(size_t)line] = envelope;
            for (int channel = 0; channel < numChannels; ++channel)
                gated[line][channel][sample] = input[channel][sample] * envelope;
        }
    }

    barCounter.store(bars, std::memory_order_relaxed);
    publishClocks(clocks);
}

void BramblewayAudioProcessor::loadClocks(std::array<LineClock, numLines>& clocks) const
{
    for (size_t line = 0; line < (size_t)numLines; ++line)
    {
        auto& clock = clocks[line];
        clock.gridNum = (int)gridNumOf((int)line);
        clock.stepLength = stepLengthSamples[line].load(std::memory_order_relaxed);
        clock.blockLength = blockLengthSamples[line].load(std::memory_order_relaxed);
        clock.currentStep = currentStep[line].load(std::memory_order_relaxed);
        clock.stepSampleCounter = stepSampleCounter[line].load(std::memory_order_relaxed);
        clock.blockSampleCounter = blockSampleCounter[line].load(std::memory_order_relaxed);
        clock.blockStartStep = blockStartStep[line].load(std::memory_order_relaxed);
        clock.lineSampleCounter = lineSampleCounter[line].load(std::memory_order_relaxed);
    }
}

void BramblewayAudioProcessor::publishClocks(const std::array<LineClock, numLines>& clocks)
{
    for (size_t line = 0; line < (size_t)numLines; ++line)
    {
        const auto& clock = clocks[line];
        currentStep[line].store(clock.currentStep, std::memory_order_relaxed);
        stepSampleCounter[line].store(clock.stepSampleCounter, std::memory_order_relaxed);
        blockSampleCounter[line].store(clock.blockSampleCounter, std::memory_order_relaxed);
        blockStartStep[line].store(clock.blockStartStep, std::memory_order_relaxed);
        lineSampleCounter[line].store(clock.lineSampleCounter, std::memory_order_relaxed);
    }
}

void BramblewayAudioProcessor::advanceLineClock(LineClock& clock, int line, int sample)
{
    ++clock.lineSampleCounter;
    clock.stepSampleCounter = wrapIncrement(clock.stepSampleCounter, clock.stepLength);

    if (clock.blockSampleCounter != -1)
    {
        clock.blockSampleCounter = wrapIncrement(clock.blockSampleCounter, clock.blockLength);
        if (clock.blockSampleCounter == 0)
            endBlock(clock, line, sample);
    }

    if (clock.stepSampleCounter == 0)
    {
        clock.currentStep = wrapIncrement(clock.currentStep, clock.gridNum);
        if (clock.currentStep == 0)
            clock.lineSampleCounter = 0;
        if (blockValue(line, clock.currentStep) == 1.0f)
            startBlock(clock, line, sample);
    }
}

void BramblewayAudioProcessor::startBlock(LineClock& clock, int line, int sample)
{
    const auto l = (size_t)line;
    clock.blockSampleCounter = 1;
    clock.blockStartStep = clock.currentStep;
    filterEnvelopes[l].noteOn();
    stepMarkers[l].start = sample;
    repeaterOneMarkers[l].start = sample;

    // A block that starts while the previous one still sounds glides on from where that one got to.
    const float slide = liveValue(Stem::PITCHSLIDEVALUE, line);
    const int glideSamples = (int)std::floor((1.0 / ((double)(slide * slide) + 0.01)) * currentSampleRate);
    for (auto& ramp : pitchSlideRamps[l])
    {
        ramp.reset(glideSamples);
        ramp.setTargetValue(2.0f * slide);
    }
}

void BramblewayAudioProcessor::endBlock(LineClock& clock, int line, int sample)
{
    const auto l = (size_t)line;
    clock.blockSampleCounter = -1;
    filterEnvelopes[l].noteOff();
    stepMarkers[l].end = sample;
    repeaterOneMarkers[l].end = sample;
    for (auto& ramp : pitchSlideRamps[l])
        ramp.setCurrentAndTargetValue(0.0f);
}

float BramblewayAudioProcessor::nextEnvelopeValue(const LineClock& clock, int line) const
{
    if (clock.blockSampleCounter == -1)
        return 0.0f;

    const auto l = (size_t)line;
    const juce::int64 position = clock.blockSampleCounter;
    float envelope = lineEnvelope[l];
    if (position < attackSamples[l])
        envelope += attackIncrement[l];
    if (position > decayStartSample[l])
        envelope -= decayIncrement[l];
    if (envelope >= 1.0f)
        return 1.0f;
    if (envelope <= 0.0f)
        return 0.0f;
    return envelope;
}

//======================================================================================================
// Filters and effects

void BramblewayAudioProcessor::runFiltersAndEffects(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    for (int line = 0; line < numLines; ++line)
        if (liveValue(Stem::FILTERAPPLYEFFECT, line) == 0.0f)
            processBlockFilter(buffer, midi, line);
    sanitiseLineBuffers();

    for (int line = 0; line < numLines; ++line)
        (this->*activeEffectRoutines[(size_t)line])(buffer, midi, line);
    sanitiseLineBuffers();

    for (int line = 0; line < numLines; ++line)
        if (liveValue(Stem::FILTERAPPLYEFFECT, line) != 0.0f)
            processBlockFilter(buffer, midi, line);
    sanitiseLineBuffers();
}

// A stage that misbehaves must not poison the stages after it.
void BramblewayAudioProcessor::sanitiseLineBuffers()
{
    for (auto& lineBuffer : lineBuffers)
        zeroNonFinite(lineBuffer, lineBuffer.getNumChannels(), numSamples);
}

//======================================================================================================
// Mixer

void BramblewayAudioProcessor::mixLines(juce::AudioBuffer<float>& buffer)
{
    for (int channel = 0; channel < numChannels; ++channel)
        buffer.copyFrom(channel, 0, workBuffer, channel, 0, numSamples);
    workBuffer.clear();

    panLines();
    updateSoloGains();
    sumLines();
    blendDryAndWet(buffer);
    applyMasterAndSaturation(buffer);
    updateMeters();
}

void BramblewayAudioProcessor::panLines()
{
    for (int line = 0; line < numLines; ++line)
    {
        const float pan = juce::jlimit(-1.0f, 1.0f,
                                       calculateEffectModulation(Stem::LINEPAN, line).first +
                                           liveValue(Stem::LINEPAN, line));
        auto& lineBuffer = lineBuffers[(size_t)line];
        lineBuffer.applyGain(0, 0, lineBuffer.getNumSamples(), 1.0f - pan);
        lineBuffer.applyGain(1, 0, lineBuffer.getNumSamples(), 1.0f + pan);
    }
}

void BramblewayAudioProcessor::updateSoloGains()
{
    bool anySolo = false;
    for (int line = 0; line < numLines; ++line)
        anySolo = anySolo || liveValue(Stem::SOLOSELECT, line) == 1.0f;
    for (int line = 0; line < numLines; ++line)
        soloGains[(size_t)line].store(anySolo ? (int)liveValue(Stem::SOLOSELECT, line) : 1,
                                      std::memory_order_relaxed);
}

// Each line's volume ramp steps once per sample of every channel, channel 0 first.
void BramblewayAudioProcessor::sumLines()
{
    for (int channel = 0; channel < numChannels; ++channel)
    {
        float* sum = workBuffer.getWritePointer(channel);
        for (size_t line = 0; line < (size_t)numLines; ++line)
        {
            const auto solo = (float)soloGains[line].load(std::memory_order_relaxed);
            auto& volume = lineVolumeSmoothers[line];
            float* samples = lineBuffers[line].getWritePointer(channel);
            for (int sample = 0; sample < numSamples; ++sample)
            {
                const float value = samples[sample] * solo * volume.getNextValue();
                samples[sample] = value;
                sum[sample] += value;
            }
        }
    }
}

void BramblewayAudioProcessor::blendDryAndWet(juce::AudioBuffer<float>& buffer)
{
    dryWetSmoother.setTargetValue(globalDryWet->load(std::memory_order_relaxed));
    float* out[maxChannels] = {};
    const float* wet[maxChannels] = {};
    for (int channel = 0; channel < numChannels; ++channel)
    {
        out[channel] = buffer.getWritePointer(channel);
        wet[channel] = workBuffer.getReadPointer(channel);
    }
    for (int sample = 0; sample < numSamples; ++sample)
    {
        const float mix = dryWetSmoother.getNextValue();
        for (int channel = 0; channel < numChannels; ++channel)
            out[channel][sample] = wet[channel][sample] * mix + out[channel][sample] * (1.0f - mix);
    }
}

void BramblewayAudioProcessor::applyMasterAndSaturation(juce::AudioBuffer<float>& buffer)
{
    buffer.applyGain(juce::Decibels::decibelsToGain(globalMixVolume->load(std::memory_order_relaxed)));
    for (int channel = 0; channel < numChannels; ++channel)
    {
        float* samples = buffer.getWritePointer(channel);
        for (int sample = 0; sample < numSamples; ++sample)
            samples[sample] = std::tanh(samples[sample]);
        // Sums of huge but finite lines can still overflow on the way.
        zeroNonFinite(samples, numSamples);
    }
}

// A level that rises shows at once; one that falls glides down over the meter's ramp.
void BramblewayAudioProcessor::updateMeters()
{
    for (size_t line = 0; line < (size_t)numLines; ++line)
    {
        const auto& lineBuffer = lineBuffers[line];
        for (int channel = 0; channel < numChannels; ++channel)
        {
            auto& meter = lineLevels[line][(size_t)channel];
            meter.skip(numSamples);

            float level = -100.0f;
            if (numSamples > 0 && lineBuffer.getNumChannels() > channel && !lineBuffer.hasBeenCleared())
                level = juce::Decibels::gainToDecibels(lineBuffer.getRMSLevel(channel, 0, numSamples));

            if (level < meter.getCurrentValue())
                meter.setTargetValue(level);
            else
                meter.setCurrentAndTargetValue(level);
            meterLevels[line][(size_t)channel].store(meter.getCurrentValue(), std::memory_order_relaxed);
        }
    }
}
