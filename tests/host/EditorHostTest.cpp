// The plug-in's editor opened and closed through the bundle, as a DAW does it, on a (virtual) display.

#include "MessagePump.h"
#include "PluginHost.h"
#include "QuietXErrors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

namespace
{
const juce::File bundle{BRAMBLEWAY_BUNDLE_PATH};
constexpr int blockSize = 512;

// Calls processBlock on a thread of its own, as a host's audio thread does, until destroyed.
class AudioThread
{
public:
    explicit AudioThread(juce::AudioPluginInstance& pluginToRun) : plugin(pluginToRun)
    {
        plugin.setPlayHead(&playHead);
        thread = std::thread([this] { run(); });
    }

    ~AudioThread()
    {
        running = false;
        thread.join();
        plugin.setPlayHead(nullptr);
    }

    int blocksProcessed() const { return processed.load(); }

private:
    void run()
    {
        juce::AudioBuffer<float> audio(2, blockSize);
        juce::MidiBuffer midi;
        juce::Random random(3);
        while (running)
        {
            for (int channel = 0; channel < audio.getNumChannels(); ++channel)
                for (int i = 0; i < blockSize; ++i)
                    audio.setSample(channel, i, random.nextFloat() * 2.0f - 1.0f);
            plugin.processBlock(audio, midi);
            playHead.advance(blockSize);
            ++processed;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    juce::AudioPluginInstance& plugin;
    brambleway::FakePlayHead playHead{120.0, 48000.0};
    std::atomic<bool> running{true};
    std::atomic<int> processed{0};
    std::thread thread;
};
} // namespace

TEST(HostedEditor, OpensAtItsFixedSizeAndClosesAgainRepeatedlyAlsoWhileAudioRuns)
{
    testing_support::installQuietXErrorHandler();
    std::unique_ptr<juce::AudioPluginInstance> plugin;
    const auto loaded = brambleway::loadVst3(bundle, 48000.0, blockSize, plugin);
    ASSERT_TRUE(loaded.wasOk()) << loaded.getErrorMessage();
    plugin->prepareToPlay(48000.0, blockSize);

    for (const bool withAudio : {false, true})
    {
        std::optional<AudioThread> audio;
        if (withAudio)
            audio.emplace(*plugin);

        for (int round = 0; round < 3; ++round)
        {
            std::unique_ptr<juce::AudioProcessorEditor> editor(plugin->createEditorIfNeeded());
            ASSERT_NE(editor, nullptr);
            editor->addToDesktop(0);
            editor->setVisible(true);
            // Long enough for the plug-in's window to be embedded and its 20 ms timers to run.
            brambleway::pumpMessages(300);

            EXPECT_EQ(editor->getWidth(), 1040) << "round " << round << (withAudio ? " with audio" : "");
            EXPECT_EQ(editor->getHeight(), 550) << "round " << round << (withAudio ? " with audio" : "");
            EXPECT_EQ(plugin->getActiveEditor(), editor.get());

            editor.reset();
            // The plug-in's copy of JUCE may have set or restored a handler of its own meanwhile.
            testing_support::installQuietXErrorHandler();
            brambleway::pumpMessages(100);
            EXPECT_EQ(plugin->getActiveEditor(), nullptr);
        }

        if (withAudio)
            EXPECT_GT(audio->blocksProcessed(), 100) << "the audio thread kept running";
    }
    plugin->releaseResources();
}
