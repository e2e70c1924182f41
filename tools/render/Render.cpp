#include "Render.h"

#include "DemoSignal.h"
#include "MessagePump.h"
#include "PluginHost.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cmath>

namespace brambleway
{
namespace
{
// Where the audio comes from: a WAV read block by block, or the demo signal held in memory.
struct Source
{
    std::unique_ptr<juce::AudioFormatReader> reader;
    juce::AudioBuffer<float> demo;
    double sampleRate = 0.0;
    int channels = 0;
    juce::int64 length = 0;
    int bitsPerSample = 24;
    bool floatingPoint = false;

    void read(juce::AudioBuffer<float>& buffer, juce::int64 start, int count)
    {
        if (reader != nullptr)
        {
            reader->read(&buffer, 0, count, start, true, channels > 1);
            return;
        }
        for (int ch = 0; ch < channels; ++ch)
            buffer.copyFrom(ch, 0, demo, ch, (int) start, count);
    }
};

juce::Result openSource(const RenderOptions& options, Source& source)
{
    if (options.input == juce::File())
    {
        source.demo = makeDemoSignal(options.sampleRate, options.tempo, options.demoBars);
        source.sampleRate = options.sampleRate;
        source.channels = source.demo.getNumChannels();
        source.length = source.demo.getNumSamples();
        return juce::Result::ok();
    }

    const auto& input = options.input;
    if (!input.existsAsFile())
        return juce::Result::fail("input not found: " + input.getFullPathName());

    auto stream = input.createInputStream();
    if (stream == nullptr)
        return juce::Result::fail("cannot read input: " + input.getFullPathName());

    juce::WavAudioFormat wav;
    source.reader.reset(wav.createReaderFor(stream.release(), true));
    if (source.reader == nullptr)
        return juce::Result::fail("not a WAV file: " + input.getFullPathName());

    source.sampleRate = source.reader->sampleRate;
    source.channels = (int) source.reader->numChannels;
    source.length = source.reader->lengthInSamples;
    source.bitsPerSample = (int) source.reader->bitsPerSample;
    source.floatingPoint = source.reader->usesFloatingPointData;
    if (source.channels < 1 || source.channels > 2)
        return juce::Result::fail("only mono and stereo files are supported: " + input.getFullPathName() +
                                  " has " + juce::String(source.channels) + " channels");
    if (source.sampleRate <= 0.0)
        return juce::Result::fail("input has no sample rate: " + input.getFullPathName());
    return juce::Result::ok();
}

juce::Result validateOptions(const RenderOptions& options)
{
    if (options.blockSize < 1 || options.blockSize > 65536)
        return juce::Result::fail("block size must be between 1 and 65536");
    if (!(options.tempo > 0.0 && options.tempo <= 999.0))
        return juce::Result::fail("tempo must be above 0 and at most 999 bpm");
    if (!(options.sampleRate >= 8000.0 && options.sampleRate <= 384000.0))
        return juce::Result::fail("sample rate must be between 8000 and 384000 Hz");
    if (options.output == juce::File())
        return juce::Result::fail("no output file given");
    if (!options.output.getParentDirectory().isDirectory())
        return juce::Result::fail("output folder does not exist: " +
                                  options.output.getParentDirectory().getFullPathName());
    if (options.output.isDirectory())
        return juce::Result::fail("output is a folder: " + options.output.getFullPathName());
    return juce::Result::ok();
}

juce::Result configurePlugin(juce::AudioPluginInstance& plugin, const RenderOptions& options, int channels)
{
    const auto set = channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(set);
    layout.outputBuses.add(set);
    if (!plugin.setBusesLayout(layout))
        return juce::Result::fail("the plug-in refuses " + juce::String(channels == 1 ? "mono" : "stereo") +
                                  " audio");

    for (const auto& [id, value] : options.settings)
    {
        auto* parameter = findParameter(plugin, id);
        if (parameter == nullptr)
            return juce::Result::fail("unknown parameter: " + id);
        if (auto result = setParameterFromText(*parameter, value); result.failed())
            return result;
    }
    return juce::Result::ok();
}

struct Levels
{
    float peak = 0.0f;
    double sumOfSquares = 0.0;
    juce::int64 count = 0;

    void add(const juce::AudioBuffer<float>& buffer, int channels, int samples)
    {
        for (int ch = 0; ch < channels; ++ch)
            for (int i = 0; i < samples; ++i)
            {
                const float s = buffer.getSample(ch, i);
                peak = juce::jmax(peak, std::abs(s));
                sumOfSquares += (double) s * s;
            }
        count += (juce::int64) channels * samples;
    }

    static float toDb(double gain) { return juce::Decibels::gainToDecibels((float) gain, -100.0f); }
};
} // namespace

juce::Result render(const RenderOptions& options, RenderSummary& summary)
{
    if (auto result = validateOptions(options); result.failed())
        return result;

    Source source;
    if (auto result = openSource(options, source); result.failed())
        return result;

    std::unique_ptr<juce::AudioPluginInstance> plugin;
    if (auto result = loadVst3(options.plugin, source.sampleRate, options.blockSize, plugin); result.failed())
        return result;
    if (auto result = configurePlugin(*plugin, options, source.channels); result.failed())
        return result;

    juce::TemporaryFile temporary(options.output);
    std::unique_ptr<juce::AudioFormatWriter> writer;
    {
        auto stream = temporary.getFile().createOutputStream();
        if (stream == nullptr || stream->failedToOpen())
            return juce::Result::fail("cannot write to " +
                                      options.output.getParentDirectory().getFullPathName());
        juce::WavAudioFormat wav;
        const int bits = source.floatingPoint ? 32 : source.bitsPerSample;
        writer.reset(wav.createWriterFor(stream.get(), source.sampleRate, (unsigned int) source.channels,
                                         bits, {}, 0));
        if (writer == nullptr)
            return juce::Result::fail("cannot write a WAV with " + juce::String(bits) + "-bit samples");
        stream.release(); // the writer owns it now
    }

    FakePlayHead playHead(options.tempo, source.sampleRate);
    plugin->setPlayHead(&playHead);
    plugin->prepareToPlay(source.sampleRate, options.blockSize);
    // Let parameter changes the plug-in answers asynchronously settle before the first block.
    pumpMessages(50);

    juce::AudioBuffer<float> buffer(source.channels, options.blockSize);
    juce::MidiBuffer midi;
    Levels levels;
    for (juce::int64 position = 0; position < source.length; position += options.blockSize)
    {
        const int count = (int) juce::jmin<juce::int64>(options.blockSize, source.length - position);
        buffer.setSize(source.channels, count, false, false, true);
        source.read(buffer, position, count);
        plugin->processBlock(buffer, midi);
        levels.add(buffer, source.channels, count);
        if (!writer->writeFromAudioSampleBuffer(buffer, 0, count))
            return juce::Result::fail("writing failed: " + temporary.getFile().getFullPathName());
        playHead.advance(count);
        if (options.progress)
            options.progress((double) (position + count) / (double) source.length);
    }
    plugin->releaseResources();
    plugin->setPlayHead(nullptr);
    writer.reset();

    if (!temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail("cannot replace " + options.output.getFullPathName());

    summary.seconds = (double) source.length / source.sampleRate;
    summary.channels = source.channels;
    summary.sampleRate = source.sampleRate;
    summary.peakDb = Levels::toDb(levels.peak);
    summary.rmsDb =
        Levels::toDb(levels.count > 0 ? std::sqrt(levels.sumOfSquares / (double) levels.count) : 0.0);
    return juce::Result::ok();
}
} // namespace brambleway
