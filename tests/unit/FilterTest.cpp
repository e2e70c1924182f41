#include "Filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
Filter makeFilter(int mode, double cutoff, double resonance)
{
    Filter filter;
    filter.mode = mode;
    filter.setCutoff(cutoff);
    filter.setResonance(resonance);
    filter.setCutoffMod(0.0);
    return filter;
}
} // namespace

TEST(Filter, FirstSampleFollowsTheFourStagesByHand)
{
    // Resonance 0 removes the feedback; with c = 0.5 and x = 1 the stages halve down the chain:
    // 0.5, 0.25, 0.125, 0.0625.
    struct Case
    {
        int mode;
        double expected;
    };
    for (const auto& c : {Case{0, 0.0625}, Case{1, 0.5 - 0.0625}, Case{2, 1.0 - 0.0625}, Case{3, 1.0}})
    {
        auto filter = makeFilter(c.mode, 0.5, 0.0);
        EXPECT_DOUBLE_EQ(filter.process(1.0), c.expected) << "mode " << c.mode;
    }
}

TEST(Filter, DirectCurrentSettlesAsEachModeShapesIt)
{
    // At rest every stage equals the input, whatever the feedback: low-pass passes DC, the others remove it.
    struct Case
    {
        int mode;
        double expected;
    };
    for (const auto& c : {Case{0, 1.0}, Case{1, 0.0}, Case{2, 0.0}})
    {
        auto filter = makeFilter(c.mode, 0.3, 0.2);
        double out = 0.0;
        for (int i = 0; i < 5000; ++i)
            out = filter.process(1.0);
        EXPECT_NEAR(out, c.expected, 1e-9) << "mode " << c.mode;
    }
}

TEST(Filter, NoFilterIsBitExactWhileTheStagesKeepRunning)
{
    auto passing = makeFilter(3, 0.2, 0.7);
    auto lowPass = makeFilter(0, 0.2, 0.7);
    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (int i = 0; i < 1000; ++i)
    {
        const double x = (double)noise(random);
        ASSERT_EQ(passing.process(x), x);
        lowPass.process(x);
    }
    // Switching the mode continues from the states the pass-through mode kept up to date.
    passing.mode = 0;
    EXPECT_EQ(passing.process(0.25), lowPass.process(0.25));
}

TEST(Filter, EffectiveCutoffStaysWithinItsLimitsAndDrivesTheFeedback)
{
    struct Case
    {
        double cutoff, cutoffMod, resonance, effective, feedback;
    };
    const Case cases[] = {
        // CutOff 20000 Hz with the flat automation offset: 1.0 + 0.01 is held at 0.99.
        {1.0, 0.01, 0.01, 0.99, 0.01 + 0.01 / 0.01},      {0.5, 0.0, 0.3, 0.5, 0.3 + 0.3 / 0.5},
        {0.002, 0.0, 0.5, 0.01, 0.5 + 0.5 / 0.99},        {0.4, -1.0, 0.5, 0.01, 0.5 + 0.5 / 0.99},
        {0.4, 0.5, 0.99, 0.9, 0.99 + 0.99 / (1.0 - 0.9)},
    };
    for (const auto& c : cases)
    {
        Filter filter;
        filter.setCutoff(c.cutoff);
        filter.setResonance(c.resonance);
        filter.setCutoffMod(c.cutoffMod);
        EXPECT_NEAR(filter.getEffectiveCutoff(), c.effective, 1e-12) << c.cutoff << " + " << c.cutoffMod;
        EXPECT_NEAR(filter.getFeedbackAmount(), c.feedback, 1e-9) << c.cutoff << " + " << c.cutoffMod;
    }
}

TEST(Filter, DefaultsAndTheCutoffFloor)
{
    Filter filter;
    EXPECT_EQ(filter.getCutoff(), 0.99);
    EXPECT_EQ(filter.getResonance(), 0.3);
    EXPECT_NEAR(filter.getFeedbackAmount(), 30.3, 1e-9);

    filter.setCutoff(0.25);
    filter.setCutoff(0.001); // at or below the floor: the previous cutoff stays
    EXPECT_EQ(filter.getCutoff(), 0.25);
    filter.setCutoff(0.0011);
    EXPECT_EQ(filter.getCutoff(), 0.0011);
}

TEST(Filter, DivergingStagesStartAgainFromZero)
{
    // A cutoff jumping between its limits at resonance 0.99 makes the recursion blow up.
    auto filter = makeFilter(0, 0.5, 0.99);
    for (int i = 0; i < 48000; ++i)
    {
        filter.setCutoffMod((i / 50) % 2 == 0 ? 1.0 : -1.0);
        const double out = filter.process(std::sin(i * 0.05));
        ASSERT_TRUE(std::isfinite(out)) << "sample " << i;
    }

    // Back to calm settings it behaves as a fresh low-pass filter again.
    filter.setCutoffMod(0.0);
    filter.setResonance(0.1);
    double out = 0.0;
    for (int i = 0; i < 20000; ++i)
        out = filter.process(1.0);
    EXPECT_NEAR(out, 1.0, 1e-9);
}
