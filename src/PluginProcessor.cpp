#include "PluginProcessor.h"
#include "PluginEditor.h"

BramblewayAudioProcessor::BramblewayAudioProcessor()
    : juce::AudioProcessor(BusesProperties()
                               .withInput("Input", juce::AudioChannelSet::stereo(), true)
                               .withOutput("Output", juce::AudioChannelSet::stereo(), true)),
      parameters(*this, &undoManager)
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
    const int blockSize = juce::jmax(1, samplesPerBlock);

    workBuffer.setSize(maxChannels, blockSize);
    workBuffer.clear();

    for (size_t line = 0; line < (size_t) numLines; ++line)
    {
        lineBuffers[line].setSize(maxChannels, blockSize);
        lineBuffers[line].clear();
        lineVolumeSmoothers[line].reset(sampleRate, 0.25);
        soloGains[line] = 1;
        lineEnvelope[line] = 0.0f;
        for (auto& level : lineLevels[line])
        {
            level.reset(sampleRate, 0.5);
            level.setCurrentAndTargetValue(-100.0f);
        }
    }

    dryWetSmoother.reset(sampleRate, 0.05);
}

void BramblewayAudioProcessor::processBlock(juce::AudioBuffer<float>&, juce::MidiBuffer&) {}

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
