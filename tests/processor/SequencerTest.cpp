// The grid sequencer driven block by block with a fake play head, checked sample by sample through
// the gate it writes into the line buffers (input 1, no filter, no effect, unity gains).

#include "EngineRig.h"

#include <gtest/gtest.h>

using testing_support::EngineRig;
using testing_support::gateOpenings;

namespace
{
constexpr int sixteenth = 6000; // "16n" at 48 kHz and 120 bpm: a quarter beat of 24000 samples
constexpr int bar = 96000;      // four beats

// Indices of Speed and Dur choices, by label.
float noteUnit(const char* label)
{
    return (float) myNotetUnitSA.indexOf(label);
}

class Sequencer : public testing::Test
{
protected:
    void SetUp() override
    {
        rig.setForLines(Stem::EFFECT, 0.0f);
        rig.settleGains();
    }

    void switchBlocks(int line, std::initializer_list<int> blocks)
    {
        for (int block : blocks)
            rig.set(blockParameterID(line, block), 1.0f);
    }

    EngineRig rig;
};

// The block envelope with LINEVOLATTACK and LINEVOLDECAY at 0.01 over 6000 samples: it rises by 1/70
// at positions 1 to 69 and falls by 1/70 after position 5930.
float sixteenthEnvelope(int position)
{
    if (position <= 0 || position >= sixteenth)
        return 0.0f;
    const float rise = (float) std::min(position, 69) / 70.0f;
    const float fall = (float) std::max(0, position - 5930) / 70.0f;
    return std::max(0.0f, rise - fall);
}
} // namespace

TEST_F(Sequencer, SixteenthNotesGateEverySixThousandSamples)
{
    switchBlocks(0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    const auto recording = rig.run(3 * sixteenth + 100);
    const auto& gate = recording.lines[0][0];

    EXPECT_EQ(rig.processor.stepLengthSamples[0].load(), sixteenth);
    EXPECT_EQ(rig.processor.lineLengthSamples[0].load(), 16 * sixteenth);
    EXPECT_EQ(rig.processor.blockLengthSamples[0].load(), sixteenth);
    EXPECT_EQ(rig.processor.attackSamples[0], 70);
    EXPECT_EQ(rig.processor.decayStartSample[0], 5930);

    // Playing from the first sample: a block starts at 0 and every 6000 samples after it.
    for (int start : {0, sixteenth, 2 * sixteenth})
    {
        for (int position = 1; position < sixteenth; ++position)
            ASSERT_NEAR(gate[(size_t) (start + position - 1)], sixteenthEnvelope(position), 1e-5f)
                << "block at " << start << ", position " << position;
        EXPECT_EQ(gate[(size_t) (start + sixteenth - 1)], 0.0f) << "the block's last sample";
    }
    EXPECT_NEAR(gate[68], 69.0f / 70.0f, 1e-5f);
    EXPECT_EQ(gate[69], gate[5929]) << "flat between rise and fall";
    EXPECT_NEAR(gate[5998], 0.0f, 1e-5f);
    EXPECT_EQ(gateOpenings(gate), (std::vector<juce::int64>{0, sixteenth, 2 * sixteenth, 3 * sixteenth}));
    EXPECT_EQ(rig.processor.currentStep[0].load(), 3);
}

TEST_F(Sequencer, FreeRunsFromInstantiationUntilPlayStartRestartsEveryLineAtOnce)
{
    rig.playHead.playing = false;
    switchBlocks(0, {1});
    switchBlocks(3, {0});
    rig.set("Speed3", noteUnit("8n"));

    // Before the host ever plays, the first boundary comes after one step less one sample.
    auto recording = rig.run(sixteenth + 700);
    EXPECT_EQ(gateOpenings(recording.lines[0][0]), (std::vector<juce::int64>{sixteenth - 1}));
    EXPECT_EQ(rig.processor.currentStep[0].load(), 1);

    // Play starts mid-stream, at the first sample of this block.
    rig.playHead.playing = true;
    recording = rig.run(100);
    for (int line = 0; line < numLines; ++line)
    {
        EXPECT_EQ(rig.processor.currentStep[(size_t) line].load(), 0) << "line " << line;
        EXPECT_EQ(rig.processor.lineSampleCounter[(size_t) line].load(), 99) << "line " << line;
        EXPECT_EQ(rig.processor.stepSampleCounter[(size_t) line].load(), 99) << "line " << line;
    }
    EXPECT_NEAR(recording.lines[3][0][0], 1.0f / 70.0f, 1e-6f)
        << "step 0 of line 3 starts on the first sample";
    // A block still sounding goes on: the restart moves the step counters, not the block.
    EXPECT_NEAR(recording.lines[0][0][0], 69.0f / 70.0f, 1e-5f);
    EXPECT_TRUE(rig.processor.wasPlaying.load());
}

TEST_F(Sequencer, GlobalRestartPullsEveryLineBackToStepZero)
{
    // Steps of 8000 samples ("8nt") in a cycle of 5: cycles of 40000 samples that do not fit a bar.
    struct Case
    {
        int restartBars;
    };
    for (const auto c : {Case{1}, Case{2}})
    {
        EngineRig engine;
        engine.settleGains();
        engine.setForLines(Stem::EFFECT, 0.0f);
        engine.set("Speed0", noteUnit("8nt"));
        engine.set("GridNum0", 5.0f);
        engine.set("block00", 1.0f);
        engine.set("GlobalRestncBar", (float) c.restartBars);

        const juce::int64 length = 3 * bar;
        const auto gate = engine.run(length).lines[0][0];

        std::vector<juce::int64> expected;
        const juce::int64 period = (juce::int64) c.restartBars * bar;
        for (juce::int64 restart = 0; restart < length; restart += period)
            for (juce::int64 start = restart; start < std::min(restart + period, length); start += 40000)
                expected.push_back(start);
        EXPECT_EQ(gateOpenings(gate), expected) << "GlobalRestncBar " << c.restartBars;
    }
}

TEST_F(Sequencer, DurationLongerThanSpeedSoundsOnAndRestartsOnTheNextSwitchedStep)
{
    rig.set("Dur0", noteUnit("8n")); // 12000 samples
    switchBlocks(0, {0, 2, 3});
    const auto gate = rig.run(6 * sixteenth).lines[0][0];

    // Step 1 is off: the block of step 0 sounds through it and ends on its 12000th sample.
    for (int i = 0; i < 11999; ++i)
        ASSERT_GT(gate[(size_t) i], 0.0f) << i;
    EXPECT_EQ(gate[11999], 0.0f);

    // Step 3 restarts the block of step 2 while it sounds: no gap, the envelope carries on upwards.
    for (int i = 2 * sixteenth; i < 3 * sixteenth + 11999; ++i)
        ASSERT_GT(gate[(size_t) i], 0.0f) << i;
    EXPECT_GE(gate[3 * sixteenth], gate[3 * sixteenth - 1]);
    EXPECT_EQ(gate[3 * sixteenth + 11999], 0.0f);
    EXPECT_EQ(rig.processor.blockStartStep[0].load(), 3);
}

TEST_F(Sequencer, TransportThatGivesNoTempoToWorkWithPassesTheAudioThrough)
{
    struct Case
    {
        const char* name;
        bool withPlayHead;
        double bpm;
    };
    for (const auto& c : {Case{"no play head", false, 120.0}, Case{"tempo 0", true, 0.0}})
    {
        EngineRig engine;
        for (int line = 0; line < numLines; ++line)
            engine.set(blockParameterID(line, 0), 1.0f);
        engine.playHead.bpm = c.bpm;
        if (!c.withPlayHead)
            engine.processor.setPlayHead(nullptr);

        const auto input = [](int channel, juce::int64 i)
        { return std::sin(0.01f * (float) i + (float) channel); };
        const auto recording = engine.run(4000, input, 512);
        for (int channel = 0; channel < 2; ++channel)
            for (size_t i = 0; i < recording.output[channel].size(); ++i)
                ASSERT_EQ(recording.output[channel][i], input(channel, (juce::int64) i))
                    << c.name << " at " << i;
    }
}

TEST_F(Sequencer, PositionWithoutTempoRunsAtOneHundredAndTwenty)
{
    struct Case
    {
        const char* name;
        bool hasPosition;
        bool playing;
    };
    for (const auto& c : {Case{"position without tempo", true, true}, Case{"no position", false, false}})
    {
        EngineRig engine;
        engine.playHead.hasTempo = false;
        engine.playHead.bpm = 90.0;
        engine.playHead.hasPosition = c.hasPosition;
        engine.run(512);
        EXPECT_EQ(engine.processor.currentBpm, 120.0f) << c.name;
        EXPECT_EQ(engine.processor.stepLengthSamples[0].load(), sixteenth) << c.name;
        EXPECT_EQ(engine.processor.wasPlaying.load(), c.playing) << c.name;
    }
}

TEST_F(Sequencer, NoteValuesFollowTheTempoInDottedPlainAndTripletLengths)
{
    struct Case
    {
        const char* unit;
        double bpm;
        int samples;
    };
    // Beats of the note value times 60 / bpm seconds, at 48 kHz.
    const Case cases[] = {
        {"16n", 120.0, 6000},  {"4nd", 120.0, 36000}, {"1nd", 120.0, 144000}, {"1n", 120.0, 96000},
        {"1nt", 120.0, 64000}, {"8nt", 120.0, 8000},  {"128nt", 120.0, 500},  {"4n", 90.0, 32000},
        {"2nt", 140.0, 27428}, {"16n", 999.0, 720},
    };
    for (const auto& c : cases)
    {
        EngineRig engine;
        engine.playHead.bpm = c.bpm;
        engine.set("Speed2", noteUnit(c.unit));
        engine.run(64);
        EXPECT_EQ(engine.processor.stepLengthSamples[2].load(), c.samples) << c.unit << " at " << c.bpm;
    }
}

TEST_F(Sequencer, MonoWritesOnlyTheFirstChannelOfEachLine)
{
    EngineRig mono(48000.0, 512, 1);
    mono.settleGains();
    // Line 1 starts on the delay; the gate alone is under test here.
    mono.set("EFFECT1", 0.0f);
    mono.set("block10", 1.0f);
    const auto recording = mono.run(2000);
    EXPECT_EQ(mono.processor.numChannels, 1);
    EXPECT_NEAR(recording.lines[1][0][100], 69.0f / 70.0f, 1e-5f);
    for (float sample : recording.lines[1][1])
        ASSERT_EQ(sample, 0.0f);
}

TEST_F(Sequencer, TinyLengthsCountAsOneSampleAndOddBlocksStayInBounds)
{
    // At a sample rate of 100 Hz and 999 bpm a 128th triplet is far below one sample.
    EngineRig engine(100.0, 16);
    engine.playHead.bpm = 999.0;
    engine.setForLines(Stem::Speed, noteUnit("128nt"));
    engine.setForLines(Stem::Dur, noteUnit("128nt"));
    engine.setForLines(Stem::FILTERTYPE, 0.0f);
    for (int line = 0; line < numLines; ++line)
        engine.set(blockParameterID(line, 0), 1.0f);

    for (int blockSize : {16, 1, 7, 100})
    {
        const auto recording = engine.run(200, blockSize);
        for (float sample : recording.output[0])
            ASSERT_TRUE(std::isfinite(sample)) << "block size " << blockSize;
    }
    EXPECT_EQ(engine.processor.stepLengthSamples[0].load(), 1);
    EXPECT_EQ(engine.processor.blockLengthSamples[0].load(), 1);
}

TEST_F(Sequencer, ABlockOfZeroSamplesChangesNothing)
{
    switchBlocks(0, {0, 1});
    rig.run(1000);
    const int step = rig.processor.stepSampleCounter[0].load();
    const float level = rig.processor.meterLevels[0][0].load();

    juce::AudioBuffer<float> empty(2, 0);
    juce::MidiBuffer midi;
    rig.processor.processBlock(empty, midi);
    EXPECT_EQ(rig.processor.stepSampleCounter[0].load(), step);
    EXPECT_EQ(rig.processor.meterLevels[0][0].load(), level);
}

TEST_F(Sequencer, BlocksLongerThanPreparedRunInSlicesAsIfTheHostHadSentThemSo)
{
    const auto input = [](int channel, juce::int64 i)
    { return 0.5f * std::sin(0.003f * (float) i + (float) channel); };
    const auto configure = [](EngineRig& r)
    {
        r.settleGains();
        r.setForLines(Stem::FILTERTYPE, 0.0f);
        for (int line = 0; line < numLines; ++line)
            for (int block : {0, 3, 5, 6})
                r.set(blockParameterID(line, block), 1.0f);
    };
    EngineRig sliced(48000.0, 500);
    EngineRig reference(48000.0, 500);
    configure(sliced);
    configure(reference);

    const auto long_ = sliced.run(30000, input, 1500);
    const auto short_ = reference.run(30000, input, 500);
    for (int channel = 0; channel < 2; ++channel)
        for (size_t i = 0; i < long_.output[channel].size(); ++i)
            ASSERT_EQ(long_.output[channel][i], short_.output[channel][i]) << "sample " << i;
}
