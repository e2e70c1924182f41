#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <utility>
#include <vector>

namespace brambleway
{
struct RenderOptions
{
    juce::File plugin;
    juce::File input; // none: the built-in demo signal
    juce::File output;
    double tempo = 120.0;
    double sampleRate = 48000.0; // for the demo signal; a WAV brings its own
    int blockSize = 512;
    int demoBars = 4;
    std::vector<std::pair<juce::String, juce::String>> settings; // parameter ID, value in its own units
    std::function<void(double fraction)> progress;
};

struct RenderSummary
{
    double seconds = 0.0;
    int channels = 0;
    double sampleRate = 0.0;
    float peakDb = -100.0f;
    float rmsDb = -100.0f;
};

// Streams the input through the plug-in and writes the output WAV. Nothing is written unless the
// whole render succeeds; an existing output is replaced only at the end, in one rename.
juce::Result render(const RenderOptions& options, RenderSummary& summary);
} // namespace brambleway
