#pragma once

#include "ParameterLayout.h"
#include "SharedTables.h"

#include <array>
#include <atomic>

class BramblewayAudioProcessor : public juce::AudioProcessor,
                                 public juce::AudioProcessorValueTreeState::Listener,
                                 private juce::Timer
{
public:
    BramblewayAudioProcessor();
    ~BramblewayAudioProcessor() override;

    const juce::String getName() const override { return "Brambleway"; }
    void prepareToPlay(double sampleRate, int samplesPerBlock) override;
    void releaseResources() override {}
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;

    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool isMidiEffect() const override { return false; }

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return "Init"; }
    void changeProgramName(int, const juce::String&) override {}

    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}

    bool isBusesLayoutSupported(const BusesLayout& layouts) const override;

    void parameterChanged(const juce::String& parameterID, float value) override;

    // Sets one setting on all five lines at once, for the editor's all-lines strip.
    void setGalobalValue(int stemIndex, float value);

    // Opens the open editor's automation-line screen for an effect type (0: the line filter) and a line.
    // Message thread only.
    void setEffectModulationScreen(int effectType, int line);

    // The line whose panels the editor shows; message thread only.
    int editLine = 0;

    // The plain value of a per-line stem, read lock-free on any thread.
    float liveValue(int stem, int line) const noexcept
    {
        return liveValues[(size_t) stem][(size_t) line]->load(std::memory_order_relaxed);
    }
    float blockValue(int line, int block) const noexcept
    {
        return blockValues[(size_t) line][(size_t) block]->load(std::memory_order_relaxed);
    }

    juce::AudioProcessorValueTreeState& getParameterTree() noexcept { return parameters; }

    // Meter levels in dB, per line and channel.
    std::array<std::array<juce::LinearSmoothedValue<float>, maxChannels>, numLines> lineLevels;

    // ---- display state published by the audio thread (begin) ----
    std::array<std::atomic<int>, numLines> currentStep{};
    std::array<std::atomic<int>, numLines> stepSampleCounter{};
    std::array<std::atomic<int>, numLines> stepLengthSamples{};
    std::array<std::atomic<int>, numLines> blockSampleCounter{};
    std::array<std::atomic<int>, numLines> blockLengthSamples{};
    std::array<std::atomic<int>, numLines> blockStartStep{};
    std::array<std::atomic<juce::int64>, numLines> lineSampleCounter{};
    std::array<std::atomic<int>, numLines> lineLengthSamples{};
    std::atomic<int> barCounter{0};
    std::atomic<bool> wasPlaying{false};
    std::array<std::array<std::atomic<float>, maxChannels>, numLines> meterLevels{};
    std::array<std::atomic<int>, numLines> soloGains{};
    // ---- display state published by the audio thread (end) ----

    std::array<juce::LinearSmoothedValue<float>, numLines> lineVolumeSmoothers;
    juce::LinearSmoothedValue<float> dryWetSmoother;

private:
    using LinePointers = std::array<std::atomic<float>*, numLines>;

    void createParameters();
    void addParameter(std::unique_ptr<juce::RangedAudioParameter> parameter);
    void setParameterPlain(const juce::String& id, float plainValue);
    void timerCallback() override;

    juce::UndoManager undoManager;
    // Per-line stems by stem index; the entries of "block" and of the three globals stay empty.
    std::array<LinePointers, numStems> liveValues{};
    std::array<std::array<std::atomic<float>*, numBlocks>, numLines> blockValues{};
    juce::AudioProcessorValueTreeState parameters;
    std::atomic<float>* globalRestncBar = nullptr;
    std::atomic<float>* globalMixVolume = nullptr;
    std::atomic<float>* globalDryWet = nullptr;

    // The attack and decay of a block envelope never overlap: whichever moved last wins. Hosts ignore a
    // parameter change announced while they are changing another one, so the listener only records
    // which line's pair needs mending and the message thread announces the correction right after.
    enum class Yield : int
    {
        none,
        decay,
        attack
    };
    std::array<std::atomic<Yield>, numLines> pendingYield{};

    struct ListenedIDs
    {
        juce::String attack, decay, chorusDelay;
    };
    std::array<ListenedIDs, numLines> listenedIDs;

    // Chorus delay targets handed from the listener to the audio thread.
    std::array<std::atomic<float>, numLines> chorusDelayTarget{};

    double currentSampleRate = 0.0;
    juce::AudioBuffer<float> workBuffer;
    std::array<juce::AudioBuffer<float>, numLines> lineBuffers;
    std::array<float, numLines> lineEnvelope{};
    int numChannels = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BramblewayAudioProcessor)
};
