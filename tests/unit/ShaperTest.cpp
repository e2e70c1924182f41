// The shapers of "Obs-DIST" and "DISTORTION". Expected values are worked out from the formulas by hand
// or in double precision outside this code base.

#include "SharedTables.h"
#include "effects/Shapers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace
{
DistortionState settings(int mode, float drive, float threshold, float mix = 1.0f)
{
    DistortionState state;
    state.mode = mode;
    state.drive = drive;
    state.threshold = threshold;
    state.mix = mix;
    return state;
}

constexpr float unchanged = std::numeric_limits<float>::quiet_NaN();
} // namespace

TEST(Shapers, EachTableHasOneShaperPerChoice)
{
    EXPECT_EQ((int) obs_dist::shapers.size(), distChoicesStr.size());
    EXPECT_EQ((int) distortion2::shapers.size(), dist2ChoicesStr.size());
}

TEST(Shapers, ObsDistModesAtAFewInputs)
{
    struct Case
    {
        const char* choice;
        float drive, threshold, mix, x, expected;
    };
    const Case cases[] = {
        {"ArcTan", 5.0f, 0.5f, 1.0f, 0.5f, 2.0f / 3.0f}, // a = 2.5 clips at the limit
        {"ArcTan", 5.0f, 0.5f, 1.0f, 0.1f, 0.5f - 0.125f / 3.0f},
        {"ArcTan", 5.0f, 0.5f, 1.0f, -0.3f, -2.0f / 3.0f},
        {"Hard", 1.0f, 0.5f, 1.0f, 1.0f, 0.5f}, // atan(1) = pi / 4
        {"Square", 4.0f, 0.5f, 1.0f, 0.5f, 1.0f},
        {"Square", 4.0f, 0.5f, 1.0f, -0.1f, -0.4f},
        {"Square", 4.0f, 0.5f, 0.25f, 0.5f, 0.25f * 1.0f + 0.75f * 0.5f},
        {"Cubic", 2.0f, 0.5f, 1.0f, 0.5f, 2.0f * 0.25f + 0.5f},
        {"FoldB", 1.0f, 0.5f, 1.0f, 0.5f, -0.0625f + 0.75f},
        {"FoldB", 1.0f, 0.5f, 1.0f, 1.0f, 1.0f},
        {"gloubiApp", 1.0f, 0.5f, 1.0f, 0.3f, 0.3f},   // inside the threshold
        {"gloubiApp", 1.0f, 0.5f, 1.0f, 0.7f, 0.3f},   // ||0.2 mod 2| - 1| - 0.5
        {"gloubiApp", 1.0f, 0.5f, 1.0f, -0.9f, -0.1f}, // ||-1.4 mod 2| - 1| - 0.5
        {"gloubiApp", 2.0f, 0.0f, 1.0f, 0.7f, 0.0f},   // the fold's limit, not fmodf(a, 0)
        {"gloubiApp", 2.0f, 0.0f, 1.0f, -0.2f, 0.0f},
        {"gloubiApp", 2.0f, 0.0f, 0.5f, 0.4f, 0.2f},
    };
    for (const auto& c : cases)
    {
        const auto state = settings(distChoicesStr.indexOf(c.choice), c.drive, c.threshold, c.mix);
        EXPECT_NEAR(obs_dist::process(state, c.x), c.expected, 1e-6f) << c.choice << " at " << c.x;
    }
}

TEST(Shapers, ObsDistSoftLeavesEveryInputAsItIs)
{
    for (float drive : {0.0f, 5.0f, 25.0f})
        for (float mix : {0.0f, 0.3f, 1.0f})
            for (float x : {-30.0f, -0.7f, 0.1f, 1.0f, 12.5f})
                EXPECT_EQ(obs_dist::process(settings(0, drive, 0.5f, mix), x), x);
}

TEST(Shapers, DistortionModesAgainstTheirFormulas)
{
    struct Case
    {
        float drive, threshold;
        float expected[3]; // at 0.3, -0.7 and 1.5; NaN: the input passes unchanged
    };
    // Index: DISTMODE2. Worked out in double precision from the formulas.
    const Case cases[][2] = {
        {{3, 0.5f, {unchanged, unchanged, unchanged}}, {20, 0.8f, {unchanged, unchanged, unchanged}}},
        {{3, 0.5f, {0.06722143f, -0.137357115f, 0.145865537f}},
         {20, 0.8f, {0.262507076f, 0.0295213908f, 0.169024786f}}},
        {{3, 0.5f, {0.041751584f, -0.0816458398f, 0.119032358f}},
         {20, 0.8f, {0.16102125f, -0.216028965f, 0.242474148f}}},
        {{3, 0.5f, {0.0402979878f, -0.0940286382f, 0.1f}}, {20, 0.8f, {0.1f, -0.1f, 0.1f}}},
        {{3, 0.5f, {0.0280455352f, -0.0460134867f, 0.0515465963f}},
         {20, 0.8f, {0.0799984043f, -0.08f, 0.08f}}},
        {{3, 0.5f, {0.0415151515f, -0.00517212946f, 0.207575758f}},
         {20, 0.8f, {0.139393939f, 0.284436199f, 0.696969697f}}},
        {{3, 0.5f, {unchanged, unchanged, -0.1f}}, {20, 0.8f, {unchanged, -0.1f, -0.1f}}},
        {{3, 0.5f, {0.000543478261f, -0.00282258065f, -0.00416666667f}},
         {20, 0.8f, {0.00752411576f, -0.0288888889f, -0.212727273f}}},
        {{3, 0.5f, {0.0109427091f, -0.0165779703f, 0.0238606299f}},
         {20, 0.8f, {0.0510727528f, -0.0709242725f, 0.08f}}},
        {{3, 0.5f, {0.15f, -0.35f, 0.490291605f}}, {20, 0.8f, {0.24f, -0.56f, 0.686017704f}}},
        {{3, 0.5f, {0.0114179163f, -0.0312550852f, 0.0243883175f}},
         {20, 0.8f, {0.0391899738f, -0.101838187f, 0.04f}}},
        {{3, 0.5f, {0.00189283072f, -0.00486547145f, 0.000439240024f}},
         {20, 0.8f, {0.00556961349f, 0.00257494071f, -0.408812088f}}},
    };
    ASSERT_EQ((int) std::size(cases), dist2ChoicesStr.size());
    const float inputs[] = {0.3f, -0.7f, 1.5f};
    for (int mode = 0; mode < dist2ChoicesStr.size(); ++mode)
        for (const auto& c : cases[mode])
            for (size_t i = 0; i < 3; ++i)
            {
                // At mix 1 the output is the shaped value itself.
                const float expected = std::isnan(c.expected[i]) ? inputs[i] : c.expected[i];
                EXPECT_NEAR(distortion2::process(settings(mode, c.drive, c.threshold), inputs[i]), expected,
                            2e-6f)
                    << dist2ChoicesStr[mode] << ", drive " << c.drive << ", input " << inputs[i];
            }
}

TEST(Shapers, DistortionHardClipAtTheLowestThresholdClipsAtOneAndDividesByTen)
{
    // Threshold 0.02 puts the clip level B at 1; drive 25 scales the input by 24 * 9.5 / 99 + 0.5.
    const float gain = 24.0f * 9.5f / 99.0f + 0.5f;
    const auto hardClip = settings(dist2ChoicesStr.indexOf("Hard Clip"), 25.0f, 0.02f);
    for (float x : {0.01f, 0.2f, -0.3f})
        EXPECT_NEAR(distortion2::process(hardClip, x), gain * x / 10.0f, 1e-6f) << x;
    for (float x : {0.5f, 1.0f, 30.0f})
    {
        EXPECT_NEAR(distortion2::process(hardClip, x), 0.1f, 1e-6f) << x;
        EXPECT_NEAR(distortion2::process(hardClip, -x), -0.1f, 1e-6f) << x;
    }
}

TEST(Shapers, DistortionMixBlendsHalfDryAtZeroAndOnlyShapedAtOne)
{
    // Hard Clip at threshold 0.02 and drive 25: 0.5 clips to a shaped value of 0.1.
    const int hardClip = dist2ChoicesStr.indexOf("Hard Clip");
    EXPECT_NEAR(distortion2::process(settings(hardClip, 25.0f, 0.02f, 0.0f), 0.5f), (0.1f + 0.5f) * 0.5f,
                1e-6f);
    EXPECT_NEAR(distortion2::process(settings(hardClip, 25.0f, 0.02f, 1.0f), 0.5f), 0.1f, 1e-6f);
    EXPECT_NEAR(distortion2::process(settings(hardClip, 25.0f, 0.02f, 0.5f), 0.5f),
                (1.5f * 0.1f + 0.5f * 0.5f) * 0.5f, 1e-6f);
}

TEST(Shapers, DistortionModesThatPassLeaveTheInputBitExactWhateverTheMix)
{
    const int byPass = dist2ChoicesStr.indexOf("ByPass");
    const int foldBack = dist2ChoicesStr.indexOf("FoldBack");
    for (float mix : {0.0f, 0.3f, 0.7f, 1.0f})
        for (float x : {-0.61f, 0.123456f, 0.69f})
        {
            EXPECT_EQ(distortion2::process(settings(byPass, 12.0f, 0.5f, mix), x), x);
            // Inside the fold level 1 - t + 0.2 = 0.7.
            EXPECT_EQ(distortion2::process(settings(foldBack, 12.0f, 0.5f, mix), x), x);
        }
    EXPECT_EQ(distortion2::process(settings(-1, 12.0f, 0.5f, 0.3f), 0.4f), 0.4f);
    EXPECT_EQ(distortion2::process(settings(12, 12.0f, 0.5f, 0.3f), 0.4f), 0.4f);
}
