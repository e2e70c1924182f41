#pragma once

#include "AutomationLine.h"
#include "Filter.h"
#include "MyLfo.h"
#include "ParameterLayout.h"
#include "PresetFunctions.h"
#include "SharedTables.h"
#include "effects/EffectsOneState.h"
#include "effects/Shapers.h"

#include <array>
#include <atomic>
#include <utility>
#include <vector>

class BramblewayAudioProcessor : public juce::AudioProcessor,
                                 public juce::AudioProcessorValueTreeState::Listener,
                                 private juce::Timer
{
public:
    BramblewayAudioProcessor();
    // Reads and writes its presets in the given file instead of the bundle's.
    explicit BramblewayAudioProcessor(juce::File presetsFileToUse);
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

    // Program 0 is "Init"; program p is preset record p - 1.
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram(int index) override;
    const juce::String getProgramName(int index) override;
    void changeProgramName(int, const juce::String&) override {}

    void getStateInformation(juce::MemoryBlock& destData) override;
    void setStateInformation(const void* data, int sizeInBytes) override;

    // The editor's preset actions: append the current set-up as a record, or remove record index - 1;
    // both rewrite the presets file.
    void saveProgram(const juce::String& name);
    void deleteProgram(int index);
    void writePresetToFileJSON();

    // The number of the preset chosen last; the editor binds it to the tree property "savedPresetNo".
    juce::CachedValue<int> savedPresetNo;

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

    //==================================================================================================
    // Automation lines. Only the message thread edits them, under lineAutomationLock; the audio thread
    // only tries that lock.

    // Every automation line of the line becomes flat; the last returned values stay.
    void initLineAutomation(int line);
    // The automation value now and the one the previous call for this line and index returned. While the
    // lines are being edited it answers the previous value twice and remembers nothing.
    std::pair<float, float> calculateEffectModulation(int paramIndex, int line);
    // Runs edit(lineAutomation) under the lock; for the message thread.
    template <typename Edit> void editLineAutomation(Edit&& edit)
    {
        const juce::SpinLock::ScopedLockType lock(lineAutomationLock);
        edit(lineAutomation);
    }

    std::array<std::vector<AutomationLine>, numLines> lineAutomation;
    std::array<std::array<float, numStems>, numLines> lastModulationValues{};

    //==================================================================================================
    // The line filter. Asks the audio thread to hand the line's four envelope times to its envelope at
    // the next block; it also does so by itself whenever they change.
    void setAdsrUpdate(int line);

    void processBlockFilter(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);

    std::array<std::vector<Filter>, numLines> lineFilters;
    std::array<juce::ADSR, numLines> filterEnvelopes;
    std::array<juce::ADSR::Parameters, numLines> envelopeParameters;
    // Per-sample cutoff offsets of the line being filtered, one block long.
    std::vector<float> cutoffOffsets;
    // Samples of the current block at which every line restarts.
    std::vector<int> restartSamples;

    //==================================================================================================
    // Effect routines: each rewrites lineBuffers[line] in place.
    using EffectRoutine = void (BramblewayAudioProcessor::*)(juce::AudioBuffer<float>&, juce::MidiBuffer&,
                                                             int);

    void processBlockEmpty(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockReverb(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockDleay(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockChorus(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockDecimator(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockDistortion(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockPhaser(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockPitchShifter(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockCombFilter(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockReapeater(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockVibrato(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockTremolo(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockRingmodulator(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void processBlockDistortion2(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);

    std::vector<EffectRoutine> effectRoutines;
    std::array<EffectRoutine, numLines> activeEffectRoutines{};

    // Sample indices within the current audio block where a sounding block started and ended; -1: none.
    struct SampleMarkers
    {
        int start = -1;
        int end = -1;
    };
    std::array<SampleMarkers, numLines> stepMarkers;
    // The repeater's own pair ("Algorithm 1"), written at the same moments.
    std::array<SampleMarkers, numLines> repeaterOneMarkers;

    // One second of a line's audio, shared by the comb filter, the pitch shifter and the repeater.
    struct LineRingBuffer
    {
        std::array<std::vector<float>, maxChannels> channels;
        int writeIndex = 0;
        int size = 0;
    };
    std::array<LineRingBuffer, numLines> lineRingBuffers;

    //==================================================================================================
    // Distortion, decimator, pitch shifter, comb filter and reverb state
    void prepareEffectsTwo(int line, const juce::dsp::ProcessSpec& spec);

    // Entry 0 "Obs-DIST", entry 1 "DISTORTION".
    std::array<std::array<DistortionState, 2>, numLines> distortionStates;
    // "DISTORTION": drive, threshold and filter cutoff, each gliding over 10 ms.
    enum DistortionRamp
    {
        driveRamp,
        thresholdRamp,
        cutoffRamp
    };
    std::array<std::array<juce::LinearSmoothedValue<float>, 3>, numLines> distortionRamps;
    // Low-pass filters per channel that keep their state for the life of the processor.
    std::array<std::array<Filter, maxChannels>, numLines> distortionFilters;
    std::array<std::array<Filter, maxChannels>, numLines> decimatorFilters;

    // Read positions of the two pitch-shifter taps as fractions of the window, 0 <= phase < 1.
    struct PitchTapPhases
    {
        std::array<double, 2> phases{0.0, 0.5};
        float sampleRate = 0.0f;
    };
    std::array<PitchTapPhases, numLines> pitchTapPhases;
    static constexpr float pitchWindowMs = 100.0f;

    // The comb delay in milliseconds, gliding over 0.1 s.
    std::array<juce::LinearSmoothedValue<float>, numLines> combDelayRamps;

    std::array<juce::Reverb, numLines> reverbs;
    // Shared by the five lines: each fills all of it before handing it to its reverb.
    juce::Reverb::Parameters reverbParameters;
    // The gate of REVERBINST, 0..1, rising and falling over 20 ms.
    std::array<juce::LinearSmoothedValue<float>, numLines> reverbGateRamps;

    // Entry line: filter LFO; 5 + line: modulation oscillator; 10 + line: comb-filter LFO.
    std::array<MyLfo, 3 * numLines> lfos;

    //==================================================================================================
    // Delay, repeater, chorus, phaser, vibrato, tremolo and ring modulator state
    void prepareEffectsOne(int line, const juce::dsp::ProcessSpec& spec);

    // clamp(plain value + scale × automation value, lo, hi), for one block.
    float modulatedValue(int stem, int line, float scale, float lo, float hi);
    // An index of syncValues from a sync choice its automation line may push across the whole table.
    int modulatedSyncIndex(int stem, int line);
    static float syncedLfoHz(float bpm, int syncIndex);
    static float syncedDelaySeconds(float bpm, int syncIndex);
    // A whole note divided by the division, at least one sample.
    int repeaterSliceSamples(float division) const;

    void runRepeaterOne(int line, int sliceLength);
    void runRepeaterTwo(int line, int sliceLength, int samples);
    float musicalRingFrequency(int line);
    // Entry 5 + line of lfos: shared by vibrato, tremolo and ring modulator, so it keeps its phase.
    MyLfo& modulationLfo(int line) { return lfos[(size_t) (numLines + line)]; }

    using DelayLineType = juce::dsp::DelayLine<float, juce::dsp::DelayLineInterpolationTypes::Linear>;
    static constexpr float longestDelaySeconds = 5.0f;
    std::array<DelayLineType, numLines> delayLines;
    std::array<DelayState, numLines> delayStates;
    std::array<RepeaterOneState, numLines> repeaterOneStates;
    std::array<RepeaterTwoState, numLines> repeaterTwoStates;
    std::array<juce::dsp::Chorus<float>, numLines> choruses;
    // The chorus centre delay in milliseconds; its target comes from chorusDelayTarget.
    std::array<LinearRamp, numLines> chorusDelayRamps;
    std::array<juce::dsp::Phaser<float>, numLines> phasers;
    std::array<VibratoBuffer, numLines> vibratoBuffers;
    // 2^(1/12), for cents of fine tuning.
    static constexpr double semitoneRatio = 1.0594630943592953;

    // Pitch offsets in octaves, one per pitch-shifter tap; the sequencer starts and stops the glides.
    std::array<std::array<juce::LinearSmoothedValue<float>, 2>, numLines> pitchSlideRamps;

    //==================================================================================================
    // Sequencer state. The audio thread publishes these once per audio block; the editor reads them.
    std::array<std::atomic<int>, numLines> currentStep{};
    std::array<std::atomic<int>, numLines> stepSampleCounter{};
    std::array<std::atomic<int>, numLines> stepLengthSamples{};
    std::array<std::atomic<juce::int64>, numLines> lineSampleCounter{};
    std::array<std::atomic<int>, numLines> lineLengthSamples{};
    std::array<std::atomic<int>, numLines> blockSampleCounter{};
    std::array<std::atomic<int>, numLines> blockLengthSamples{};
    std::array<std::atomic<int>, numLines> blockStartStep{};
    std::atomic<int> barCounter{0};
    std::atomic<bool> wasPlaying{false};

    // Audio-thread values the effects read.
    double currentSampleRate = 0.0;
    float currentBpm = 0.0f;
    int numSamples = 0;
    int numChannels = 2;

    // Block volume envelope.
    std::array<float, numLines> lineEnvelope{};
    std::array<juce::int64, numLines> attackSamples{};
    std::array<juce::int64, numLines> decayStartSample{};
    std::array<float, numLines> attackIncrement{};
    std::array<float, numLines> decayIncrement{};

    //==================================================================================================
    // Mixer.
    juce::AudioBuffer<float> workBuffer;
    std::array<juce::AudioBuffer<float>, numLines> lineBuffers;

    // 1: heard, 0: muted by solo. The editor's solo buttons may write it; every block overwrites it.
    std::array<std::atomic<int>, numLines> soloGains{};

    // Meter levels in dB, per line and channel (audio thread), and their values for the editor.
    std::array<std::array<juce::LinearSmoothedValue<float>, maxChannels>, numLines> lineLevels;
    std::array<std::array<std::atomic<float>, maxChannels>, numLines> meterLevels{};

    std::array<juce::LinearSmoothedValue<float>, numLines> lineVolumeSmoothers;
    juce::LinearSmoothedValue<float> dryWetSmoother;

private:
    using LinePointers = std::array<std::atomic<float>*, numLines>;

    // A line's clock, worked on in local copies during a block and published afterwards.
    struct LineClock
    {
        int gridNum = 1;
        int stepLength = 1;
        int blockLength = 1;
        int currentStep = 0;
        int stepSampleCounter = 0;
        int blockSampleCounter = -1;
        int blockStartStep = 0;
        juce::int64 lineSampleCounter = 0;
        float envelope = 0.0f;
        juce::int64 attackSamples = 0;
        juce::int64 decayStartSample = 0;
        float attackIncrement = 0.0f;
        float decayIncrement = 0.0f;
    };
    struct Transport
    {
        double bpm = 120.0;
        bool playing = false;
    };

    void createParameters();
    void addParameter(std::unique_ptr<juce::RangedAudioParameter> parameter);
    void setParameterPlain(const juce::String& id, float plainValue);
    void timerCallback() override;
    void mendEnvelopePairs();
    void applyProgram(int index);

    // Engine.cpp
    void processSlice(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi);
    void copyDryInput(juce::AudioBuffer<float>& buffer);
    void setUpLines();
    bool readTransport(Transport& transport) const;
    int noteValueSamples(float choice, double bpm) const;
    void calculateLineLengths(double bpm);
    float gridNumOf(int line) const;
    int samplesPerBar() const;
    int barsPerRestart() const;
    void runSequencer(const juce::AudioBuffer<float>& buffer, bool playing);
    int runBarClock(bool playing);
    LineClock loadClock(int line) const;
    void publishClock(int line, const LineClock& clock);
    void advanceLineClock(LineClock& clock, int line, int sample);
    void startBlock(LineClock& clock, int line, int sample);
    void endBlock(LineClock& clock, int line, int sample);
    static float nextEnvelopeValue(LineClock& clock);
    void runFiltersAndEffects(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi);
    void filterLine(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, int line);
    void sanitiseLineBuffer(int line);
    void mixLines(juce::AudioBuffer<float>& buffer);
    void panLines();
    void updateSoloGains();
    void sumLines();
    void blendDryAndWet(juce::AudioBuffer<float>& buffer);
    void applyMasterAndSaturation(juce::AudioBuffer<float>& buffer);
    void updateMeters();

    void prepareLineEffects(int line, const juce::dsp::ProcessSpec& spec);

    // effects/LineFilter.cpp
    void followEnvelopeParameters(int line);
    void setUpFilterLfo(int line);

    // A buffer an effect routine has worked on holds data, whether or not a sample changed.
    void markHoldingData(int line) { lineBuffers[(size_t) line].getWritePointer(0); }

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

    juce::SpinLock lineAutomationLock;

    int currentProgram = 0;
    juce::File presetsFile;
    std::vector<BramblewayProgram> programs;
    // A program a host chose off the message thread, applied there; 0 when none waits.
    std::atomic<int> pendingProgram{0};

    std::array<std::atomic<bool>, numLines> envelopeUpdateRequested{};

    int preparedBlockSize = 0;
    int barSampleCounter = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BramblewayAudioProcessor)
};
