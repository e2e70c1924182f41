#pragma once

// Preset records and the presets file: one JSON document in the plug-in's bundle folder, followed by a
// zero byte, with one object per preset.

#include "AutomationLine.h"
#include "SharedTables.h"

#include <optional>
#include <vector>

// One preset: every parameter value, every block state and the automation lines, by line and stem index.
struct BramblewayProgram
{
    explicit BramblewayProgram(juce::String presetName);

    std::vector<std::vector<int>> blockStates;           // [line][block], 0 off or 1 on
    std::vector<std::vector<float>> values;              // [line][stem], plain values; globals at [0][stem]
    std::vector<std::vector<AutomationLine>> automation; // [line][stem]
    juce::String name;
};

namespace presets
{
inline const juce::String fileName{"BramblewayPresetsV3.json"};

// A count read from a file or a state is trusted only this far: no editor draws more points, and a
// corrupt count must not exhaust memory.
inline constexpr int maxBreakpoints = 10000;

bool isGlobalStem(int stem);

// The keys under which automation lines are stored in states and presets files.
juce::String countKey(int stem, int line);
juce::String pointKey(int stem, int line, int point, char axis);

// Keys of stems ending in a digit can coincide with keys of their namesakes without it
// ("ModDISTMODE210x" is point 10 of DISTMODE on line 2 and point 0 of DISTMODE2 on line 1). The
// automation lines of such stems are also stored whole under a key no other can produce.
bool hasAmbiguousKeys(int stem);
juce::String exactKey(int stem, int line);
juce::String encodeExact(const AutomationLine& points);
std::optional<AutomationLine> decodeExact(const juce::String& text);

// Reads n breakpoints through `coordinate` (a missing one reads 0); n is clamped to maxBreakpoints.
template <typename ReadCoordinate>
AutomationLine readBreakpoints(int stem, int line, int n, ReadCoordinate coordinate)
{
    AutomationLine points;
    const int count = juce::jmin(n, maxBreakpoints);
    points.reserve((size_t) juce::jmax(0, count));
    for (int p = 0; p < count; ++p)
        points.emplace_back((float) coordinate(pointKey(stem, line, p, 'x')),
                            (float) coordinate(pointKey(stem, line, p, 'y')));
    return points;
}

juce::var toJson(const std::vector<BramblewayProgram>& programs);
std::vector<BramblewayProgram> fromJson(const juce::var& json);

// A missing, unreadable or malformed file gives no records.
std::vector<BramblewayProgram> readFile(const juce::File& file);
// Replaces the file in one rename, so a crash or a full disk never leaves it truncated. False when the
// file could not be written; the old one is then untouched.
bool writeFile(const juce::File& file, const std::vector<BramblewayProgram>& programs);

// The presets file in the bundle folder that holds the running plug-in binary; beside a plain
// executable (a test or a host without a bundle), in the executable's folder.
juce::File locateFile();
} // namespace presets
