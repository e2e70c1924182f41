#include "PluginProcessor.h"
#include "PluginEditor.h"

BramblewayAudioProcessor::BramblewayAudioProcessor() : BramblewayAudioProcessor(presets::locateFile()) {}

BramblewayAudioProcessor::BramblewayAudioProcessor(juce::File presetsFileToUse)
    : juce::AudioProcessor(BusesProperties()
                               .withInput("Input", juce::AudioChannelSet::stereo(), true)
                               .withOutput("Output", juce::AudioChannelSet::stereo(), true)),
      parameters(*this, &undoManager), presetsFile(std::move(presetsFileToUse))
{
    for (auto& yield : pendingYield)
        yield.store(Yield::none);
    for (int line = 0; line < numLines; ++line)
        listenedIDs[(size_t) line] = {lineParameterID(Stem::LINEVOLATTACK, line),
                                      lineParameterID(Stem::LINEVOLDECAY, line),
                                      lineParameterID(Stem::CHORUSDELAY, line)};
    for (int line = 0; line < numLines; ++line)
        chorusDelayTarget[(size_t) line].store(0.0f);

    createParameters();
    parameters.state = juce::ValueTree(juce::Identifier("Brambleway"));

    for (size_t line = 0; line < (size_t) numLines; ++line)
    {
        blockLengthSamples[line].store(-1);
        blockSampleCounter[line].store(-1);
    }
    activeEffectRoutines.fill(&BramblewayAudioProcessor::processBlockEmpty);
    effectRoutines = {&BramblewayAudioProcessor::processBlockEmpty,
                      &BramblewayAudioProcessor::processBlockReverb,
                      &BramblewayAudioProcessor::processBlockDleay,
                      &BramblewayAudioProcessor::processBlockChorus,
                      &BramblewayAudioProcessor::processBlockDecimator,
                      &BramblewayAudioProcessor::processBlockDistortion,
                      &BramblewayAudioProcessor::processBlockPhaser,
                      &BramblewayAudioProcessor::processBlockPitchShifter,
                      &BramblewayAudioProcessor::processBlockCombFilter,
                      &BramblewayAudioProcessor::processBlockReapeater,
                      &BramblewayAudioProcessor::processBlockVibrato,
                      &BramblewayAudioProcessor::processBlockTremolo,
                      &BramblewayAudioProcessor::processBlockRingmodulator,
                      &BramblewayAudioProcessor::processBlockDistortion2};
    jassert((int) effectRoutines.size() == numEffectTypes);

    for (int line = 0; line < numLines; ++line)
    {
        lineFilters[(size_t) line].resize(maxChannels);
        initLineAutomation(line);
    }

    programs = presets::readFile(presetsFile);
    startTimer(10);
}

BramblewayAudioProcessor::~BramblewayAudioProcessor()
{
    stopTimer();
}

void BramblewayAudioProcessor::addParameter(std::unique_ptr<juce::RangedAudioParameter> parameter)
{
    parameters.createAndAddParameter(std::move(parameter));
}

void BramblewayAudioProcessor::createParameters()
{
    for (int line = 0; line < numLines; ++line)
    {
        for (int block = 0; block < numBlocks; ++block)
        {
            addParameter(makeBlockParameter(line, block));
            blockValues[(size_t) line][(size_t) block] =
                parameters.getRawParameterValue(blockParameterID(line, block));
        }

        for (const auto& spec : perLineParameterSpecs())
        {
            const auto id = lineParameterID(spec.stem, line);
            addParameter(makeParameter(spec, id, line));
            liveValues[(size_t) spec.stem][(size_t) line] = parameters.getRawParameterValue(id);

            if (spec.stem == Stem::CHORUSDELAY || spec.stem == Stem::LINEVOLATTACK ||
                spec.stem == Stem::LINEVOLDECAY)
                parameters.addParameterListener(id, this);
        }
    }

    for (const auto& spec : globalParameterSpecs())
        addParameter(makeParameter(spec, valueTreeNames[spec.stem], 0));

    globalRestncBar = parameters.getRawParameterValue(valueTreeNames[Stem::GlobalRestncBar]);
    globalMixVolume = parameters.getRawParameterValue(valueTreeNames[Stem::GLOBALMIXVOLUME]);
    globalDryWet = parameters.getRawParameterValue(valueTreeNames[Stem::GLOBALDRYWET]);
}

bool BramblewayAudioProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    const auto out = layouts.getMainOutputChannelSet();
    if (out != juce::AudioChannelSet::mono() && out != juce::AudioChannelSet::stereo())
        return false;
    return layouts.getMainInputChannelSet() == out;
}

void BramblewayAudioProcessor::prepareToPlay(double sampleRate, int samplesPerBlock)
{
    currentSampleRate = sampleRate;
    numChannels = maxChannels;
    preparedBlockSize = juce::jmax(1, samplesPerBlock);
    const juce::dsp::ProcessSpec spec{sampleRate, (juce::uint32) preparedBlockSize,
                                      (juce::uint32) maxChannels};

    workBuffer.setSize(maxChannels, preparedBlockSize);
    cutoffOffsets.assign((size_t) preparedBlockSize, 0.0f);
    restartSamples.assign((size_t) preparedBlockSize, 0);
    workBuffer.clear();

    for (int line = 0; line < numLines; ++line)
    {
        const auto l = (size_t) line;
        lineBuffers[l].setSize(maxChannels, preparedBlockSize);
        lineBuffers[l].clear();
        lineVolumeSmoothers[l].reset(sampleRate, 0.25);
        soloGains[l].store(1);
        lineEnvelope[l] = 0.0f;
        for (size_t channel = 0; channel < (size_t) maxChannels; ++channel)
        {
            lineLevels[l][channel].reset(sampleRate, 0.5);
            lineLevels[l][channel].setCurrentAndTargetValue(-100.0f);
            meterLevels[l][channel].store(-100.0f);
        }
        prepareLineEffects(line, spec);
    }

    dryWetSmoother.reset(sampleRate, 0.05);
}

// Filters, envelope, LFOs, ring buffer, markers and pitch glides of a line.
void BramblewayAudioProcessor::prepareLineEffects(int line, const juce::dsp::ProcessSpec& spec)
{
    const auto l = (size_t) line;
    lineFilters[l].resize(maxChannels);
    for (auto& filter : lineFilters[l])
        filter.mode = (int) liveValue(Stem::FILTERTYPE, line);

    // The rates follow the new sample rate at the next block.
    filterEnvelopes[l].setSampleRate(spec.sampleRate);
    envelopeUpdateRequested[l].store(true);

    for (size_t role = 0; role < 3; ++role)
        lfos[role * (size_t) numLines + l].setParamaters(spec);

    auto& ring = lineRingBuffers[l];
    ring.size = (int) spec.sampleRate;
    ring.writeIndex = 0;
    for (auto& channel : ring.channels)
        channel.resize((size_t) ring.size, 0.0f);

    stepMarkers[l] = {};
    // The repeater keeps a block end it has not acted on yet.
    repeaterOneMarkers[l].start = -1;
    for (auto& ramp : pitchSlideRamps[l])
        ramp.reset(spec.sampleRate, 1000.0);
    prepareEffectsOne(line, spec);
    prepareEffectsTwo(line, spec);
}

void BramblewayAudioProcessor::parameterChanged(const juce::String& parameterID, float)
{
    // Host automation can call this on the audio thread: compare against IDs built at construction.
    for (int line = 0; line < numLines; ++line)
    {
        const auto& ids = listenedIDs[(size_t) line];
        const bool overlap =
            liveValue(Stem::LINEVOLATTACK, line) > 1.0f - liveValue(Stem::LINEVOLDECAY, line);

        if (parameterID == ids.attack)
        {
            if (overlap)
                pendingYield[(size_t) line].store(Yield::decay);
            return;
        }
        if (parameterID == ids.decay)
        {
            if (overlap)
                pendingYield[(size_t) line].store(Yield::attack);
            return;
        }
        if (parameterID == ids.chorusDelay)
        {
            chorusDelayTarget[(size_t) line].store(liveValue(Stem::CHORUSDELAY, line));
            return;
        }
    }
}

void BramblewayAudioProcessor::timerCallback()
{
    mendEnvelopePairs();

    if (const int program = pendingProgram.exchange(0); program > 0)
        setCurrentProgram(program);
}

void BramblewayAudioProcessor::mendEnvelopePairs()
{
    for (int line = 0; line < numLines; ++line)
    {
        const auto yield = pendingYield[(size_t) line].exchange(Yield::none);
        if (yield == Yield::none)
            continue;

        // Re-check: the pair may have been mended by a later change in the meantime.
        const float attack = liveValue(Stem::LINEVOLATTACK, line);
        const float decay = liveValue(Stem::LINEVOLDECAY, line);
        if (attack <= 1.0f - decay)
            continue;

        if (yield == Yield::decay)
            setParameterPlain(lineParameterID(Stem::LINEVOLDECAY, line), 1.0f - attack);
        else
            setParameterPlain(lineParameterID(Stem::LINEVOLATTACK, line), 1.0f - decay);
    }
}

void BramblewayAudioProcessor::setParameterPlain(const juce::String& id, float plainValue)
{
    auto* parameter = parameters.getParameter(id);
    if (parameter == nullptr)
        return;

    const float normalised = parameter->convertTo0to1(plainValue);
    parameter->beginChangeGesture();
    parameter->setValue(normalised);
    parameter->sendValueChangedMessageToListeners(normalised);
    parameter->endChangeGesture();
}

void BramblewayAudioProcessor::setGalobalValue(int stemIndex, float value)
{
    for (int line = 0; line < numLines; ++line)
        setParameterPlain(lineParameterID(stemIndex, line), value);
}

void BramblewayAudioProcessor::initLineAutomation(int line)
{
    editLineAutomation(
        [line](auto& automation)
        {
            auto& lines = automation[(size_t) line];
            lines.clear();
            for (int stem = 0; stem < numStems; ++stem)
                lines.push_back(defaultAutomationLine());
        });
}

std::pair<float, float> BramblewayAudioProcessor::calculateEffectModulation(int paramIndex, int line)
{
    auto& last = lastModulationValues[(size_t) line][(size_t) paramIndex];
    const juce::SpinLock::ScopedTryLockType lock(lineAutomationLock);
    if (!lock.isLocked())
        return {last, last};

    const auto& lines = lineAutomation[(size_t) line];
    const float position =
        automationPosition(lineSampleCounter[(size_t) line].load(std::memory_order_relaxed),
                           lineLengthSamples[(size_t) line].load(std::memory_order_relaxed));
    const float value = (size_t) paramIndex < lines.size()
                            ? evaluateAutomationLine(lines[(size_t) paramIndex], position)
                            : 0.0f;
    return {value, std::exchange(last, value)};
}

void BramblewayAudioProcessor::setEffectModulationScreen(int effectType, int line)
{
    // Only the message thread sets or clears the active editor, so reading it here needs no lock.
    if (auto* editor = dynamic_cast<BramblewayAudioProcessorEditor*>(getActiveEditor()))
        editor->showModulationScreen(effectType, line);
}

juce::AudioProcessorEditor* BramblewayAudioProcessor::createEditor()
{
    return new BramblewayAudioProcessorEditor(*this);
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new BramblewayAudioProcessor();
}
