// Stress for ThreadSanitizer: the message thread edits and resets automation lines, changes
// parameters and reads display state while another thread runs the audio callback. Run alone with
// --gtest_filter='Concurrency.*'.

#include "EffectModulationPanel.h"
#include "EffectsOneRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

using testing_support::EngineRig;

namespace
{
// Runs the audio callback over a sine, block after block, on a thread of its own until stopped.
class AudioThread
{
public:
    explicit AudioThread(EngineRig& rig) : thread([this, &rig] { run(rig); }) {}
    ~AudioThread() { stop(); }

    long blocks() const { return processed.load(); }

    // Returns the number of blocks processed.
    long stop()
    {
        running.store(false);
        if (thread.joinable())
            thread.join();
        return blocks();
    }

private:
    void run(EngineRig& rig)
    {
        juce::AudioBuffer<float> buffer(2, 256);
        juce::MidiBuffer midi;
        for (juce::int64 position = 0; running.load(); position += 256)
        {
            for (int channel = 0; channel < 2; ++channel)
                for (int i = 0; i < 256; ++i)
                    buffer.setSample(channel, i, std::sin(0.01f * (float) (position + i)));
            rig.processor.processBlock(buffer, midi);
            processed.fetch_add(1);
        }
    }

    std::atomic<bool> running{true};
    std::atomic<long> processed{0};
    std::thread thread;
};
} // namespace

TEST(Concurrency, MessageThreadEditsWhileTheAudioThreadProcesses)
{
    EngineRig rig(48000.0, 256);
    rig.setForLines(Stem::FILTERTYPE, 0.0f);
    for (int line = 0; line < numLines; ++line)
        for (int block = 0; block < 16; block += 2)
            rig.set(blockParameterID(line, block), 1.0f);

    AudioThread audio(rig);
    juce::Random random(11);
    float displayed = 0.0f;
    const auto until = juce::Time::getMillisecondCounter() + 1500;
    for (int round = 0; juce::Time::getMillisecondCounter() < until || audio.blocks() < 100; ++round)
    {
        const int line = round % numLines;
        rig.processor.editLineAutomation(
            [&](auto& automation)
            {
                auto& curve = automation[(size_t) line][(size_t) Stem::CutOff];
                curve.insert(curve.begin() + 1, {random.nextFloat(), random.nextFloat()});
                std::sort(curve.begin(), curve.end(), [](auto a, auto b) { return a.x < b.x; });
                automation[(size_t) line][(size_t) Stem::LINEPAN] = {{0.0f, random.nextFloat()},
                                                                     {1.0f, 0.5f}};
            });
        if (round % 7 == 0)
            rig.processor.initLineAutomation(line);
        rig.set(lineParameterID(Stem::Q, line), random.nextFloat() * 0.98f + 0.01f);
        rig.set(lineParameterID(Stem::ATTACKNAME, line), random.nextFloat());
        rig.set(lineParameterID(Stem::LINEVOLATTACK, line), random.nextFloat());
        rig.set(lineParameterID(Stem::CHORUSDELAY, line), random.nextFloat() * 50.0f);
        rig.set(blockParameterID(line, round % 16), (float) (round % 2));
        rig.processor.setAdsrUpdate(line);
        rig.processor.soloGains[(size_t) line].store(1);

        // What the editor's timers read.
        displayed += (float) rig.processor.currentStep[(size_t) line].load(std::memory_order_relaxed) +
                     (float) rig.processor.blockSampleCounter[(size_t) line].load(std::memory_order_relaxed) +
                     rig.processor.meterLevels[(size_t) line][0].load(std::memory_order_relaxed) +
                     (float) rig.processor.barCounter.load(std::memory_order_relaxed);
        testing_support::pumpMessages(1);
    }
    EXPECT_GE(audio.stop(), 100);
    EXPECT_TRUE(std::isfinite(displayed));
}

TEST(Concurrency, MessageThreadTurnsTheEffectsOfOneWhileTheAudioThreadRunsThem)
{
    using namespace effects_one;
    EngineRig rig(48000.0, 256);
    for (int line = 0; line < numLines; ++line)
    {
        rig.set(lineParameterID(Stem::EFFECT, line), effectIndex(effectsOne[line]));
        for (int block = 0; block < 16; block += 2)
            rig.set(blockParameterID(line, block), 1.0f);
    }
    AudioThread audio(rig);

    juce::Random random(12);
    const int automated[] = {Stem::CHORUSDELAY, Stem::PHASERMIX, Stem::REPEATERDIVIDE, Stem::VIBRATOWIDTH,
                             Stem::RINGMUSICALFINE};
    const auto until = juce::Time::getMillisecondCounter() + 1500;
    for (int round = 0; juce::Time::getMillisecondCounter() < until || audio.blocks() < 100; ++round)
    {
        const int line = round % numLines;
        const int stem = automated[round % 5];
        rig.processor.editLineAutomation(
            [&](auto& automation) {
                automation[(size_t) line][(size_t) stem] = {{0.0f, random.nextFloat()},
                                                            {1.0f, random.nextFloat()}};
            });
        rig.set(lineParameterID(Stem::EFFECT, line), effectIndex(effectsOne[random.nextInt(numEffectsOne)]));
        rig.set(lineParameterID(Stem::CHORUSDELAY, line), random.nextFloat() * 50.0f);
        rig.set(lineParameterID(Stem::REPEATERWINDOW, line), random.nextFloat() * 0.5f);
        rig.set(lineParameterID(Stem::REPEATEFADOUT, line), random.nextFloat() * 10.0f);
        rig.set(lineParameterID(Stem::REPEATERTYPE, line), (float) (round % 2));
        rig.set(lineParameterID(Stem::DELAYSYNC, line), (float) (round / 2 % 2));
        rig.set(lineParameterID(Stem::RINGMUSICALSET, line), (float) (round / 3 % 2));
        testing_support::pumpMessages(1);
    }
    EXPECT_GE(audio.stop(), 100);
}

// A modulation-editor row edits the reverb's wet line by hand, as fast as it can, while the audio thread
// evaluates that same line every block.
TEST(Concurrency, ModulationRowEditsWhileTheAudioThreadProcesses)
{
    EngineRig rig(48000.0, 128);
    rig.set(lineParameterID(Stem::EFFECT, 1), 1.0f);
    for (int block = 0; block < 16; ++block)
        rig.set(blockParameterID(1, block), 1.0f);
    EffectModulationLinePanel row(rig.processor, 1, Stem::REVERBWETLEVEL, "Wet");
    row.setSize(400, 80);

    AudioThread audio(rig);

    const auto source = juce::Desktop::getInstance().getMainMouseSource();
    const auto event = [&](juce::Point<int> at, int clicks)
    {
        const auto now = juce::Time::getCurrentTime();
        return juce::MouseEvent(source, at.toFloat(), juce::ModifierKeys::leftButtonModifier, 1.0f, 0.0f,
                                0.0f, 0.0f, 0.0f, &row, &row, now, at.toFloat(), now, clicks, false);
    };
    juce::Random random(5);
    const auto until = juce::Time::getMillisecondCounter() + 1500;
    while (juce::Time::getMillisecondCounter() < until || audio.blocks() < 100)
    {
        const juce::Point<int> onCurve(random.nextInt({10, 390}), 40);
        row.mouseDoubleClick(event(onCurve, 2));
        row.mouseDown(event(onCurve, 1));
        row.mouseDrag(
            event(onCurve + juce::Point<int>(random.nextInt({-30, 30}), random.nextInt({-40, 40})), 1));
        if (random.nextInt(3) == 0)
            row.mouseDoubleClick(event(onCurve, 2));
    }
    EXPECT_GE(audio.stop(), 100);

    const auto& line = rig.processor.lineAutomation[1][Stem::REVERBWETLEVEL];
    EXPECT_GT(line.size(), 2u);
    EXPECT_EQ(line.front().x, 0.0f);
    EXPECT_EQ(line.back().x, 1.0f);
}

TEST(Concurrency, MessageThreadChangesTheSecondGroupOfEffectsWhileTheyProcess)
{
    EngineRig rig(48000.0, 256);
    const char* effects[] = {"REVERB", "DECIMATOR", "Obs-DIST", "PITCH SHIFT", "COMBFILTER", "DISTORTION"};
    for (int line = 0; line < numLines; ++line)
    {
        rig.set(lineParameterID(Stem::EFFECT, line), (float) effectChoicesStr.indexOf(effects[line]));
        for (int block = 0; block < 16; block += 2)
            rig.set(blockParameterID(line, block), 1.0f);
    }

    juce::Random random(23);
    const int automated[] = {Stem::DISTDRIVE2,     Stem::CUTOFFDECIMATOR, Stem::PITCHVALUE,
                             Stem::COBFILTERDELAY, Stem::REVERBROOMSIZE,  Stem::DISTMODE};
    const auto work = [&](int round)
    {
        const int line = round % numLines;
        rig.processor.editLineAutomation(
            [&](auto& automation)
            {
                const auto stem = (size_t) automated[round % 6];
                automation[(size_t) line][stem] = {
                    {0.0f, random.nextFloat()}, {random.nextFloat(), random.nextFloat()}, {1.0f, 0.5f}};
            });
        const auto set = [&](int stem, float value) { rig.set(lineParameterID(stem, line), value); };
        set(Stem::EFFECT, (float) effectChoicesStr.indexOf(effects[(round / 7 + line) % 6]));
        set(Stem::DISTMODE2, (float) (round % dist2ChoicesStr.size()));
        set(Stem::DISTDRIVE2, random.nextFloat() * 25.0f);
        set(Stem::REVERBINST, (float) (round / 3 % 2));
        set(Stem::PITCHMUSICALSET, (float) (round / 5 % 2));
        set(Stem::PITCHSLIDEVALUE, random.nextFloat() * 2.0f - 1.0f);
        set(Stem::COMBFILTERSYNC, (float) (round / 11 % 2));
        set(Stem::COMBFILTEROFWAVE, (float) (round % 4));
    };

    AudioThread audio(rig);
    const auto until = juce::Time::getMillisecondCounter() + 1500;
    for (int round = 0; juce::Time::getMillisecondCounter() < until || audio.blocks() < 100; ++round)
    {
        work(round);
        testing_support::pumpMessages(1);
    }
    EXPECT_GE(audio.stop(), 100);
}
