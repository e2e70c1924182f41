// Stress for ThreadSanitizer: the message thread edits and resets automation lines, changes
// parameters and reads display state while another thread runs the audio callback. Run alone with
// --gtest_filter='Concurrency.*'.

#include "EngineRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <thread>

using testing_support::EngineRig;

namespace
{
// Runs the audio callback on its own thread while the message thread does round after round of work
// for at least 1.5 s and 100 audio blocks; returns the number of blocks processed.
long processWhileTheMessageThreadWorks(EngineRig& rig, const std::function<void(int round)>& work)
{
    std::atomic<bool> running{true};
    std::atomic<long> blocks{0};
    std::thread audio(
        [&]
        {
            juce::AudioBuffer<float> buffer(2, 256);
            juce::MidiBuffer midi;
            for (juce::int64 position = 0; running.load(); position += 256)
            {
                for (int channel = 0; channel < 2; ++channel)
                    for (int i = 0; i < 256; ++i)
                        buffer.setSample(channel, i, std::sin(0.01f * (float)(position + i)));
                rig.processor.processBlock(buffer, midi);
                blocks.fetch_add(1);
            }
        });

    const auto until = juce::Time::getMillisecondCounter() + 1500;
    for (int round = 0; juce::Time::getMillisecondCounter() < until || blocks.load() < 100; ++round)
    {
        work(round);
        testing_support::pumpMessages(1);
    }
    running.store(false);
    audio.join();
    return blocks.load();
}
} // namespace

TEST(Concurrency, MessageThreadEditsWhileTheAudioThreadProcesses)
{
    EngineRig rig(48000.0, 256);
    rig.setForLines(Stem::FILTERTYPE, 0.0f);
    for (int line = 0; line < numLines; ++line)
        for (int block = 0; block < 16; block += 2)
            rig.set(blockParameterID(line, block), 1.0f);

    juce::Random random(11);
    float displayed = 0.0f;
    const auto work = [&](int round)
    {
        const int line = round % numLines;
        rig.processor.editLineAutomation(
            [&](auto& automation)
            {
                auto& curve = automation[(size_t)line][(size_t)Stem::CutOff];
                curve.insert(curve.begin() + 1, {random.nextFloat(), random.nextFloat()});
                std::sort(curve.begin(), curve.end(), [](auto a, auto b) { return a.x < b.x; });
                automation[(size_t)line][(size_t)Stem::LINEPAN] = {{0.0f, random.nextFloat()}, {1.0f, 0.5f}};
            });
        if (round % 7 == 0)
            rig.processor.initLineAutomation(line);
        rig.set(lineParameterID(Stem::Q, line), random.nextFloat() * 0.98f + 0.01f);
        rig.set(lineParameterID(Stem::ATTACKNAME, line), random.nextFloat());
        rig.set(lineParameterID(Stem::LINEVOLATTACK, line), random.nextFloat());
        rig.set(lineParameterID(Stem::CHORUSDELAY, line), random.nextFloat() * 50.0f);
        rig.set(blockParameterID(line, round % 16), (float)(round % 2));
        rig.processor.setAdsrUpdate(line);
        rig.processor.soloGains[(size_t)line].store(1);

        // What the editor's timers read.
        displayed += (float)rig.processor.currentStep[(size_t)line].load(std::memory_order_relaxed) +
                     (float)rig.processor.blockSampleCounter[(size_t)line].load(std::memory_order_relaxed) +
                     rig.processor.meterLevels[(size_t)line][0].load(std::memory_order_relaxed) +
                     (float)rig.processor.barCounter.load(std::memory_order_relaxed);
    };

    EXPECT_GE(processWhileTheMessageThreadWorks(rig, work), 100);
    EXPECT_TRUE(std::isfinite(displayed));
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

    EXPECT_GE(processWhileTheMessageThreadWorks(rig, work), 100);
}
