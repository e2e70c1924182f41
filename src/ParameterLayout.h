#pragma once

// The fixed parameter set: IDs, kinds, ranges, defaults and creation order. Hosts store automation and
// projects by ID and list parameters in creation order, so none of this may change.

#include "SharedTables.h"

#include <memory>
#include <vector>

// A parameter that can move another parameter when it changes (attack and decay of the block envelope).
template <typename ParameterType> class MetaParameter : public ParameterType
{
public:
    using ParameterType::ParameterType;
    bool isMetaParameter() const override { return true; }
};

enum class ParameterKind
{
    boolean,
    integer,
    choice,
    real,
    metaReal
};

struct ParameterSpec
{
    int stem = 0;
    ParameterKind kind = ParameterKind::real;
    float minimum = 0.0f;
    float maximum = 1.0f;
    float defaultValue = 0.0f;
    const juce::StringArray* choices = nullptr;
    float step = 0.01f;
    float skew = 1.0f;
    // Set for the few parameters whose default differs from line to line.
    float (*lineDefault)(int line) = nullptr;

    float defaultFor(int line) const { return lineDefault != nullptr ? lineDefault(line) : defaultValue; }
};

inline constexpr int numPerLineParameters = numBlocks + 87;
inline constexpr int numParameters = numLines * numPerLineParameters + 3;

// The 87 per-line parameters after the 32 blocks, in creation order.
const std::vector<ParameterSpec>& perLineParameterSpecs();
// GlobalRestncBar, GLOBALMIXVOLUME, GLOBALDRYWET, created after the five lines.
const std::vector<ParameterSpec>& globalParameterSpecs();

juce::String lineParameterID(int stem, int line);
juce::String blockParameterID(int line, int block);

// A parameter built from its spec; line is ignored for globals. Display name equals the ID.
std::unique_ptr<juce::RangedAudioParameter> makeParameter(const ParameterSpec& spec, const juce::String& id,
                                                          int line);
std::unique_ptr<juce::RangedAudioParameter> makeBlockParameter(int line, int block);
