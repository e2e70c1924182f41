// brambleway-render: streams a WAV file (or a built-in demo) through a VST3 plug-in with a playing
// transport and writes the result as a WAV file.

#include "Render.h"

#include <iostream>
#include <unistd.h>

namespace
{
constexpr const char* usage =
    R"(usage: brambleway-render [options]
  -i, --input FILE         WAV file to process (default: a built-in demo of a few bars)
  -o, --output FILE        WAV file to write (default: brambleway-demo.wav, or INPUT-brambleway.wav)
  -t, --tempo BPM          host tempo (default 120)
  -r, --sample-rate HZ     sample rate of the demo signal (default 48000)
  -b, --block-size N       samples per audio block (default 512)
      --bars N             length of the demo in bars (default 4)
  -s, --set ID=VALUE       set a parameter in its own units, e.g. block00=1, Speed0=8n, CutOff0=800
  -p, --plugin PATH        VST3 bundle to load (default: the one this build made)
  -q, --quiet              no progress display
  -h, --help               this text
)";

struct Arguments
{
    brambleway::RenderOptions options;
    bool quiet = false;
    bool help = false;
};

juce::Result parseNumber(const juce::String& flag, const juce::String& text, double& value)
{
    const auto trimmed = text.trim();
    if (trimmed.isEmpty() || !trimmed.containsOnly("+-0123456789.eE"))
        return juce::Result::fail(flag + " needs a number, not \"" + text + "\"");
    value = trimmed.getDoubleValue();
    return juce::Result::ok();
}

juce::Result parse(const juce::StringArray& args, Arguments& parsed)
{
    auto& options = parsed.options;
    options.plugin = juce::File(BRAMBLEWAY_BUNDLE_PATH);

    for (int i = 0; i < args.size(); ++i)
    {
        const auto& flag = args[i];
        if (flag == "-h" || flag == "--help")
        {
            parsed.help = true;
            continue;
        }
        if (flag == "-q" || flag == "--quiet")
        {
            parsed.quiet = true;
            continue;
        }
        if (i + 1 >= args.size())
            return juce::Result::fail(flag.startsWith("-") ? flag + " needs a value"
                                                           : "unexpected argument: " + flag);

        const auto value = args[++i];
        const auto cwd = juce::File::getCurrentWorkingDirectory();
        double number = 0.0;
        juce::Result result = juce::Result::ok();

        if (flag == "-i" || flag == "--input")
            options.input = cwd.getChildFile(value);
        else if (flag == "-o" || flag == "--output")
            options.output = cwd.getChildFile(value);
        else if (flag == "-p" || flag == "--plugin")
            options.plugin = cwd.getChildFile(value);
        else if (flag == "-t" || flag == "--tempo")
            result = parseNumber(flag, value, options.tempo);
        else if (flag == "-r" || flag == "--sample-rate")
            result = parseNumber(flag, value, options.sampleRate);
        else if (flag == "-b" || flag == "--block-size")
        {
            result = parseNumber(flag, value, number);
            options.blockSize = (int) number;
        }
        else if (flag == "--bars")
        {
            result = parseNumber(flag, value, number);
            options.demoBars = (int) number;
            if (result.wasOk() && (options.demoBars < 1 || options.demoBars > 256))
                result = juce::Result::fail("--bars must be between 1 and 256");
        }
        else if (flag == "-s" || flag == "--set")
        {
            if (!value.containsChar('=') || value.upToFirstOccurrenceOf("=", false, false).isEmpty())
                return juce::Result::fail(flag + " needs ID=VALUE, not \"" + value + "\"");
            options.settings.emplace_back(value.upToFirstOccurrenceOf("=", false, false).trim(),
                                          value.fromFirstOccurrenceOf("=", false, false).trim());
        }
        else
            return juce::Result::fail("unknown option: " + flag);

        if (result.failed())
            return result;
    }

    if (options.output == juce::File())
        options.output = options.input == juce::File()
                             ? juce::File::getCurrentWorkingDirectory().getChildFile("brambleway-demo.wav")
                             : options.input.getSiblingFile(options.input.getFileNameWithoutExtension() +
                                                            "-brambleway.wav");
    return juce::Result::ok();
}

void showProgress(double fraction)
{
    static int shown = -1;
    const int percent = (int) (fraction * 100.0);
    if (percent != shown)
    {
        shown = percent;
        std::cerr << "\rrendering " << percent << "%" << std::flush;
    }
}
} // namespace

int main(int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add(juce::String::fromUTF8(argv[i]));

    Arguments parsed;
    if (auto result = parse(args, parsed); result.failed())
    {
        std::cerr << "brambleway-render: " << result.getErrorMessage() << " (see --help)\n";
        return 2;
    }
    if (parsed.help)
    {
        std::cout << usage;
        return 0;
    }

    // Progress only when someone is watching a terminal.
    if (!parsed.quiet && isatty(STDERR_FILENO) != 0)
        parsed.options.progress = showProgress;

    brambleway::RenderSummary summary;
    const auto result = brambleway::render(parsed.options, summary);
    if (parsed.options.progress)
        std::cerr << "\r              \r";
    if (result.failed())
    {
        std::cerr << "brambleway-render: " << result.getErrorMessage() << "\n";
        return 1;
    }

    std::cout << juce::String(summary.seconds, 2) << " s, " << summary.channels << " ch at "
              << juce::String(summary.sampleRate, 0) << " Hz, peak " << juce::String(summary.peakDb, 1)
              << " dBFS, RMS " << juce::String(summary.rmsDb, 1) << " dBFS -> "
              << parsed.options.output.getFullPathName() << "\n";
    return 0;
}
