#pragma once

// The sample shapers of the two distortions. Each table is indexed by its mode parameter's choice index
// (distChoicesStr, dist2ChoicesStr); a shaper that gives no value lets the sample through unchanged.

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

// One distortion's settings: per block for "Obs-DIST", per sample (the ramps) for "DISTORTION".
struct DistortionState
{
    int mode = 0;
    float drive = 1.0f;
    float threshold = 0.0f;
    float mix = 0.0f;
    // Where the cubic soft clip of "Obs-DIST" stands at a = ±1, so clipping beyond joins it smoothly.
    float softClipLimit = 2.0f / 3.0f;
};

namespace shaping
{
inline constexpr double pi = 3.14159265358979323846;

inline float finiteOrZero(float x)
{
    return std::isfinite(x) ? x : 0.0f;
}

// Fold-back of a at ±t, with a period of 4t.
inline float foldAt(float a, float t)
{
    return std::abs(std::abs(std::fmod(a - t, 4.0f * t)) - 2.0f * t) - t;
}

// With no wet value the input passes; otherwise the two blend as the effect's mix says.
template <std::size_t size, typename Shaper, typename Blend>
float shapeAndBlend(const std::array<Shaper, size>& table, const DistortionState& state, float x, Blend blend)
{
    const auto mode = (std::size_t) state.mode;
    const std::optional<float> wet = mode < size ? table[mode](x, state) : std::nullopt;
    return wet ? blend(*wet, x, state.mix) : x;
}
} // namespace shaping

//======================================================================================================
// "Obs-DIST": every shaper works on a = drive × x. The names say what each does; the choice names do not.
namespace obs_dist
{
using Shaper = std::optional<float> (*)(float x, const DistortionState& state);

inline std::optional<float> soft(float, const DistortionState&)
{
    return std::nullopt;
}
inline std::optional<float> cubicSoftClip(float x, const DistortionState& s)
{
    const float a = s.drive * x;
    if (a < -1.0f)
        return -s.softClipLimit;
    if (a > 1.0f)
        return s.softClipLimit;
    return a - a * a * a / 3.0f;
}
inline std::optional<float> arcTangent(float x, const DistortionState& s)
{
    return (float) ((double) std::atan(s.drive * x) * 2.0 / shaping::pi);
}
inline std::optional<float> hardClip(float x, const DistortionState& s)
{
    return std::clamp(s.drive * x, -1.0f, 1.0f);
}
inline std::optional<float> quadratic(float x, const DistortionState& s)
{
    return s.drive * x * x + x;
}
inline std::optional<float> cubic(float x, const DistortionState& s)
{
    const float a = s.drive * x;
    return -0.5f * a * a * a + 1.5f * a;
}
inline std::optional<float> foldBack(float x, const DistortionState& s)
{
    const float a = s.drive * x;
    const float t = s.threshold;
    if (a <= t && a >= -t)
        return a;
    // The fold's limit as the threshold falls to 0; dividing by 4t would give NaN.
    if (t < std::numeric_limits<float>::min())
        return 0.0f;
    return shaping::foldAt(a, t);
}

// Index: DISTMODE, "Soft", "ArcTan", "Hard", "Square", "Cubic", "FoldB", "gloubiApp".
inline constexpr std::array<Shaper, 7> shapers{soft,      cubicSoftClip, arcTangent, hardClip,
                                               quadratic, cubic,         foldBack};

inline float process(const DistortionState& state, float x)
{
    return shaping::shapeAndBlend(shapers, state, x,
                                  [](float a, float dry, float mix) { return mix * a + (1.0f - mix) * dry; });
}
} // namespace obs_dist

//======================================================================================================
// "DISTORTION": d is the drive, t the threshold.
namespace distortion2
{
using Shaper = std::optional<float> (*)(float x, const DistortionState& state);

inline float k1(float d)
{
    return (d - 1.0f) * 19.0f / 99.0f + 1.0f;
}

inline std::optional<float> byPass(float, const DistortionState&)
{
    return std::nullopt;
}
inline std::optional<float> analogClip1(float x, const DistortionState& s)
{
    return std::sin(k1(s.drive) * x) * s.threshold / 3.0f;
}
inline std::optional<float> analogClip2(float x, const DistortionState& s)
{
    return (float) ((double) std::atan(k1(s.drive) * x) * ((double) s.threshold * 2.0 / shaping::pi) / 3.0);
}
inline std::optional<float> hardClip(float x, const DistortionState& s)
{
    const float bound = (s.threshold - 0.02f) * -0.99f / 0.98f + 1.0f;
    const float v = std::clamp(((s.drive - 1.0f) * 9.5f / 99.0f + 0.5f) * x, -bound, bound);
    return 1.0f / bound * v / 10.0f;
}
inline std::optional<float> hardAnalog(float x, const DistortionState& s)
{
    const float b = (s.drive - 1.0f) * 99.999f / 99.0f + 0.001f;
    return std::tanh(b * x) * s.threshold / std::tanh(b) / 10.0f;
}
inline std::optional<float> rectifier(float x, const DistortionState& s)
{
    const float v = k1(s.drive) * x;
    const float c = (s.threshold - 0.02f) / -0.98f + 1.0f;
    return (v < -c ? -2.0f * c - v : v) / 10.0f;
}
inline std::optional<float> foldBack(float x, const DistortionState& s)
{
    const float b = 1.0f - s.threshold + 0.2f;
    if (x <= b && x >= -b)
        return std::nullopt;
    return shaping::foldAt(x, b);
}
inline std::optional<float> nonLinear1(float x, const DistortionState& s)
{
    float b = (s.drive - 1.0f) * 1.98f / 99.0f - 0.99f;
    b = b / (1.0f - b);
    return (2.0f * b + 1.0f) * x / (2.0f * b * std::abs(x) + 1.0f) * s.threshold / 10.0f;
}
inline std::optional<float> squareRoot(float x, const DistortionState& s)
{
    float v = (s.drive - 1.0f) * 4.0f / 99.0f * x;
    if (v > 0.0f)
    {
        v = std::min(1.0f, v) - 1.0f;
        return std::sqrt(1.0f - v * v) * s.threshold / 10.0f;
    }
    v = std::max(-1.0f, v) + 1.0f;
    return -std::sqrt(1.0f - v * v) * s.threshold / 10.0f;
}
inline std::optional<float> nonLinear2(float x, const DistortionState& s)
{
    float a = std::abs(x);
    const float c = (s.drive - 1.0f) * -0.9999f / 99.0f + 1.0f;
    if (a > c)
    {
        const float d = (a - c) / (1.0f - c);
        a = (a - c) / (d * d + 1.0f) + c;
    }
    const float e = a > 1.0f ? (c + 1.0f) * 0.5f : a;
    return (x < 0.0f ? -e : e) * s.threshold;
}
inline std::optional<float> waveshaper1(float x, const DistortionState& s)
{
    const double k10 = ((double) s.drive - 1.0) * 49.0 / 99.0 + 1.0;
    const double v = k10 * x * 0.686306;
    const double q = std::exp(-0.75 * std::sqrt(std::abs(v))) + 1.0;
    const double rising = std::exp(v);
    return (float) ((rising - std::exp(-v * q)) / (std::exp(-v) + rising) * s.threshold / 20.0);
}
inline std::optional<float> waveshaper2(float x, const DistortionState& s)
{
    const float v = k1(s.drive) * x;
    const float c = 0.15f * v * v;
    return (v - c - c * v) * (s.threshold / 100.0f);
}

// Index: DISTMODE2, in the order of dist2ChoicesStr.
inline constexpr std::array<Shaper, 12> shapers{byPass,     analogClip1, analogClip2, hardClip,
                                                hardAnalog, rectifier,   foldBack,    nonLinear1,
                                                squareRoot, nonLinear2,  waveshaper1, waveshaper2};

// Half shaped and half dry at mix 0, only shaped at mix 1.
inline float process(const DistortionState& state, float x)
{
    return shaping::shapeAndBlend(shapers, state, x,
                                  [](float w, float dry, float mix)
                                  { return ((mix + 1.0f) * w + (1.0f - mix) * dry) * 0.5f; });
}
} // namespace distortion2
