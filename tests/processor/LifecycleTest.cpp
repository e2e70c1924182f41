#include "PluginEditor.h"
#include "PluginProcessor.h"
#include "ProcessorHarness.h"

#include <gtest/gtest.h>

#include <thread>

using testing_support::plainValue;
using testing_support::pumpMessages;
using testing_support::setPlain;

namespace
{
// Records which parameters the processor announced to its host.
struct AnnouncementRecorder : juce::AudioProcessorListener
{
    juce::Array<int> changed;
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float) override
    {
        changed.add(index);
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
};

int indexOf(BramblewayAudioProcessor& processor, const juce::String& id)
{
    return processor.getParameterTree().getParameter(id)->getParameterIndex();
}
} // namespace

TEST(Processor, AnswersTheHostsFixedQuestions)
{
    BramblewayAudioProcessor processor;
    EXPECT_EQ(processor.getName(), "Brambleway");
    EXPECT_EQ(processor.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE(processor.acceptsMidi());
    EXPECT_FALSE(processor.producesMidi());
    EXPECT_FALSE(processor.isMidiEffect());
    EXPECT_TRUE(processor.hasEditor());
    ASSERT_EQ(processor.getBusCount(true), 1);
    ASSERT_EQ(processor.getBusCount(false), 1);
    EXPECT_EQ(processor.getBus(true, 0)->getName(), "Input");
    EXPECT_EQ(processor.getBus(false, 0)->getName(), "Output");
    EXPECT_EQ(processor.getMainBusNumInputChannels(), 2);
    EXPECT_EQ(processor.getMainBusNumOutputChannels(), 2);

    std::unique_ptr<juce::AudioProcessorEditor> editor(processor.createEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->getWidth(), 1040);
    EXPECT_EQ(editor->getHeight(), 550);
    EXPECT_FALSE(editor->isResizable());
}

TEST(Processor, AcceptsMonoOrStereoWithInputEqualToOutput)
{
    using Set = juce::AudioChannelSet;
    struct Case
    {
        Set in, out;
        bool accepted;
    };
    const Case cases[] = {
        {Set::mono(), Set::mono(), true},
        {Set::stereo(), Set::stereo(), true},
        {Set::mono(), Set::stereo(), false},
        {Set::stereo(), Set::mono(), false},
        {Set::quadraphonic(), Set::quadraphonic(), false},
        {Set::create5point1(), Set::create5point1(), false},
        {Set::createLCR(), Set::stereo(), false},
    };
    BramblewayAudioProcessor processor;
    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add(c.in);
        layout.outputBuses.add(c.out);
        EXPECT_EQ(processor.checkBusesLayoutSupported(layout), c.accepted)
            << c.in.getDescription() << " -> " << c.out.getDescription();
    }
}

TEST(Processor, EnvelopeAttackAndDecayNeverOverlapAndTheHostIsTold)
{
    BramblewayAudioProcessor processor;
    AnnouncementRecorder recorder;
    processor.addListener(&recorder);

    setPlain(processor, "LINEVOLDECAY3", 0.5f);
    setPlain(processor, "LINEVOLATTACK3", 0.3f);
    pumpMessages();
    EXPECT_NEAR(plainValue(processor, "LINEVOLDECAY3"), 0.5f, 1e-6f) << "consistent pair left alone";

    recorder.changed.clear();
    setPlain(processor, "LINEVOLATTACK3", 0.8f);
    pumpMessages();
    EXPECT_NEAR(plainValue(processor, "LINEVOLDECAY3"), 0.2f, 1e-6f);
    EXPECT_NEAR(plainValue(processor, "LINEVOLATTACK3"), 0.8f, 1e-6f);
    EXPECT_TRUE(recorder.changed.contains(indexOf(processor, "LINEVOLDECAY3")));

    // The one moved last wins, and only its own line changes.
    setPlain(processor, "LINEVOLDECAY3", 0.9f);
    pumpMessages();
    EXPECT_NEAR(plainValue(processor, "LINEVOLATTACK3"), 0.1f, 1e-6f);
    EXPECT_NEAR(plainValue(processor, "LINEVOLDECAY3"), 0.9f, 1e-6f);
    EXPECT_NEAR(plainValue(processor, "LINEVOLDECAY2"), 0.01f, 1e-6f);

    processor.removeListener(&recorder);
}

TEST(Processor, EnvelopePairIsMendedWhenTheAudioThreadMovesIt)
{
    BramblewayAudioProcessor processor;
    setPlain(processor, "LINEVOLDECAY1", 0.6f);
    std::thread audio([&] { setPlain(processor, "LINEVOLATTACK1", 0.7f); });
    audio.join();
    pumpMessages();
    EXPECT_NEAR(plainValue(processor, "LINEVOLDECAY1"), 0.3f, 1e-6f);
}

TEST(Processor, SetGalobalValueSetsAllFiveLines)
{
    struct Case
    {
        int stem;
        float value;
    };
    const Case cases[] = {
        {Stem::GridNum, 8.0f},       {Stem::Speed, 10.0f},       {Stem::Dur, 4.0f},
        {Stem::LineVolume, -12.5f},  {Stem::EFFECT, 9.0f},       {Stem::LINEPAN, -0.25f},
        {Stem::LINEVOLATTACK, 0.2f}, {Stem::LINEVOLDECAY, 0.3f},
    };
    BramblewayAudioProcessor processor;
    AnnouncementRecorder recorder;
    processor.addListener(&recorder);
    for (const auto& c : cases)
    {
        recorder.changed.clear();
        processor.setGalobalValue(c.stem, c.value);
        for (int line = 0; line < numLines; ++line)
        {
            EXPECT_NEAR(processor.liveValue(c.stem, line), c.value, 1e-5f) << valueTreeNames[c.stem] << line;
            EXPECT_TRUE(
                recorder.changed.contains(indexOf(processor, valueTreeNames[c.stem] + juce::String(line))));
        }
    }
    processor.removeListener(&recorder);
}

TEST(Processor, PrepareToPlaySizesTheRamps)
{
    BramblewayAudioProcessor processor;
    processor.prepareToPlay(44100.0, 512);
    for (int line = 0; line < numLines; ++line)
    {
        EXPECT_EQ(testing_support::rampLength(processor.lineVolumeSmoothers[(size_t)line]), 11025);
        for (const auto& level : processor.lineLevels[(size_t)line])
        {
            EXPECT_EQ(testing_support::rampLength(level), 22050);
            EXPECT_FLOAT_EQ(level.getCurrentValue(), -100.0f);
            EXPECT_FALSE(level.isSmoothing());
        }
    }
    EXPECT_EQ(testing_support::rampLength(processor.dryWetSmoother), 2205);

    processor.prepareToPlay(48000.0, 64);
    EXPECT_EQ(testing_support::rampLength(processor.dryWetSmoother), 2400);
}
