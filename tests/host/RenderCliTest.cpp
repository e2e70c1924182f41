// brambleway-render run as a user runs it: a separate process, judged by its exit code, its messages
// and the files it leaves behind.

#include "DemoSignal.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
struct Run
{
    int exitCode = -1;
    juce::String output;
};

Run runRenderer(const juce::StringArray& arguments, const juce::File& workingDirectory)
{
    // ChildProcess has no working-directory option: go through the shell.
    juce::String command = "cd " + workingDirectory.getFullPathName().quoted() + " && " +
                           juce::String(BRAMBLEWAY_RENDER_PATH).quoted();
    for (const auto& argument : arguments)
        command << " " << argument.quoted();
    command << " 2>&1";

    juce::ChildProcess process;
    Run run;
    if (!process.start(juce::StringArray{"/bin/sh", "-c", command}))
        return run;
    run.output = process.readAllProcessOutput();
    process.waitForProcessToFinish(60000);
    run.exitCode = (int) process.getExitCode();
    return run;
}

void writeWav(const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, int bits)
{
    file.deleteFile();
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer(wav.createWriterFor(
        file.createOutputStream().release(), sampleRate, (unsigned) audio.getNumChannels(), bits, {}, 0));
    ASSERT_NE(writer, nullptr);
    writer->writeFromAudioSampleBuffer(audio, 0, audio.getNumSamples());
}

juce::AudioBuffer<float> readWav(const juce::File& file, double* sampleRate = nullptr)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader(
        wav.createReaderFor(file.createInputStream().release(), true));
    if (reader == nullptr)
        return {};
    juce::AudioBuffer<float> audio((int) reader->numChannels, (int) reader->lengthInSamples);
    reader->read(&audio, 0, audio.getNumSamples(), 0, true, true);
    if (sampleRate != nullptr)
        *sampleRate = reader->sampleRate;
    return audio;
}

juce::AudioBuffer<float> noise(int channels, int length, juce::int64 seed)
{
    juce::Random random(seed);
    juce::AudioBuffer<float> audio(channels, length);
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < length; ++i)
            audio.setSample(ch, i, (random.nextFloat() * 2.0f - 1.0f) * 0.5f);
    return audio;
}

class RenderCli : public testing::Test
{
protected:
    juce::TemporaryFile folderName;
    juce::File folder;

    void SetUp() override
    {
        folder = folderName.getFile();
        ASSERT_TRUE(folder.createDirectory().wasOk());
    }
    void TearDown() override { folder.deleteRecursively(); }
};
} // namespace

TEST_F(RenderCli, AWavComesOutAsTheSaturatedDryMixThroughThePlugIn)
{
    struct Case
    {
        int channels;
        int bits;
        double sampleRate;
    };
    for (const auto& c : {Case{1, 24, 44100.0}, Case{2, 16, 48000.0}, Case{2, 32, 96000.0}})
    {
        const auto input = folder.getChildFile("in.wav");
        const auto output = folder.getChildFile("out.wav");
        writeWav(input, noise(c.channels, 30011, c.bits), c.sampleRate, c.bits);

        const auto run = runRenderer({"-i", "in.wav", "-o", "out.wav", "-b", "300", "-q", "--set",
                                      "GLOBALDRYWET=0", "--set", "GLOBALMIXVOLUME=0", "--set", "block00=1"},
                                     folder);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        EXPECT_TRUE(run.output.contains("out.wav")) << run.output;
        EXPECT_TRUE(run.output.contains("dBFS")) << run.output;

        double sampleRate = 0.0;
        const auto expected = readWav(input);
        const auto actual = readWav(output, &sampleRate);
        EXPECT_EQ(sampleRate, c.sampleRate);
        ASSERT_EQ(actual.getNumChannels(), c.channels);
        ASSERT_EQ(actual.getNumSamples(), expected.getNumSamples());
        // The output keeps the input's format: exact in floating point, within one step of it in integers.
        const float step = c.bits == 32 ? 0.0f : 1.0f / (float) (1 << (c.bits - 1));
        for (int ch = 0; ch < c.channels; ++ch)
            for (int i = 0; i < actual.getNumSamples(); ++i)
                ASSERT_NEAR(actual.getSample(ch, i), std::tanh(expected.getSample(ch, i)), step)
                    << c.bits << "-bit, sample " << i;
    }
}

TEST_F(RenderCli, RendersTheDemoWithNoArguments)
{
    const auto run = runRenderer({}, folder);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto demo = folder.getChildFile("brambleway-demo.wav");
    EXPECT_TRUE(run.output.contains(demo.getFullPathName())) << run.output;

    double sampleRate = 0.0;
    const auto audio = readWav(demo, &sampleRate);
    EXPECT_EQ(sampleRate, 48000.0);
    EXPECT_EQ(audio.getNumChannels(), 2);
    EXPECT_EQ(audio.getNumSamples(), 4 * 4 * 24000); // four bars of 4/4 at 120 bpm
    EXPECT_GT(audio.getMagnitude(0, audio.getNumSamples()), 0.1f);
}

TEST_F(RenderCli, RefusesBadInputWithOneLineAndNoOutput)
{
    writeWav(folder.getChildFile("good.wav"), noise(2, 4800, 1), 48000.0, 24);
    folder.getChildFile("text.wav").replaceWithText("this is not audio\n");
    folder.getChildFile("a-file").replaceWithText("x");

    struct Case
    {
        juce::StringArray arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"-i", "missing.wav", "-o", "out.wav"}, "input not found"},
        {{"-i", "text.wav", "-o", "out.wav"}, "not a WAV file"},
        {{"-i", "good.wav", "-o", "out.wav", "--set", "NOSUCHPARAM=1"}, "unknown parameter: NOSUCHPARAM"},
        {{"-i", "good.wav", "-o", "out.wav", "--set", "CutOff0=25000"}, "outside"},
        {{"-i", "good.wav", "-o", "out.wav", "--set", "GridNum1=0"}, "outside"},
        {{"-i", "good.wav", "-o", "out.wav", "--set", "Speed0=24"}, "outside"},
        {{"-i", "good.wav", "-o", "out.wav", "--set", "EFFECT0=SHIMMER"}, "no choice named"},
        {{"-i", "good.wav", "-o", "out.wav", "--set", "block00"}, "ID=VALUE"},
        {{"-i", "good.wav", "-o", "out.wav", "-p", "nowhere.vst3"}, "plug-in not found"},
        {{"-i", "good.wav", "-o", "out.wav", "-p", "a-file"}, "not a loadable VST3"},
        {{"-i", "good.wav", "-o", "no-such-folder/out.wav"}, "output folder does not exist"},
        {{"-i", "good.wav", "-o", "a-file/out.wav"}, "output folder does not exist"},
        {{"-i", "good.wav", "-o", "out.wav", "--tempo", "fast"}, "needs a number"},
        {{"-i", "good.wav", "-o", "out.wav", "--frobnicate", "1"}, "unknown option"},
    };
    for (const auto& c : cases)
    {
        const auto run = runRenderer(c.arguments, folder);
        EXPECT_NE(run.exitCode, 0) << c.arguments.joinIntoString(" ");
        EXPECT_TRUE(run.output.contains(c.message)) << c.arguments.joinIntoString(" ") << ": " << run.output;
        EXPECT_EQ(run.output.trim().indexOfChar('\n'), -1) << "one line: " << run.output;
        EXPECT_FALSE(folder.getChildFile("out.wav").exists()) << c.arguments.joinIntoString(" ");
        EXPECT_EQ(folder.findChildFiles(juce::File::findFiles, false, "*.tmp").size(), 0);
    }
}

TEST_F(RenderCli, AFailedRenderLeavesAnExistingOutputAlone)
{
    const auto output = folder.getChildFile("out.wav");
    output.replaceWithText("previous render");
    const auto run = runRenderer({"-o", "out.wav", "--set", "LineVolume0=99"}, folder);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(output.loadFileAsString(), "previous render");
}

TEST_F(RenderCli, SettingsInTheParametersOwnUnitsAreAccepted)
{
    const auto run = runRenderer({"-o", "out.wav", "--bars", "1", "--set", "block00=1", "--set", "Speed0=8n",
                                  "--set", "CutOff0=800", "--set", "FILTERTYPE0=LowPass", "--set",
                                  "GridNum0=8", "--set", "LineVolume0=-6.5", "--set", "REVERBINST0=1", "-q"},
                                 folder);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(folder.getChildFile("out.wav").existsAsFile());
}
