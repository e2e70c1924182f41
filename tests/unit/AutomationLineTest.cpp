#include "AutomationLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(AutomationLine, EvaluatesTheFirstSegmentThatStrictlyHoldsThePosition)
{
    struct Case
    {
        const char* name;
        AutomationLine line;
        float position;
        float expected;
    };
    const AutomationLine rising{{0.0f, 0.0f}, {1.0f, 1.0f}};
    const AutomationLine peak{{0.0f, 0.5f}, {0.5f, 0.0f}, {1.0f, 0.5f}};
    const AutomationLine step{{0.0f, 1.0f}, {0.5f, 1.0f}, {0.5f, 0.0f}, {1.0f, 0.0f}};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {"default", defaultAutomationLine(), 0.3f, 0.0f},
        // The top means +1 and the bottom -1: from (0, top) to (1, bottom) the value falls from 1 to -1.
        {"falling, a quarter in", rising, 0.25f, 0.5f},
        {"falling, three quarters in", rising, 0.75f, -0.5f},
        {"peak, rising half", peak, 0.25f, 0.5f},
        {"peak, near the top", peak, 0.49f, 0.98f},
        {"peak, falling half", peak, 0.75f, 0.5f},
        {"peak, on the top breakpoint", peak, 0.5f, 0.0f},
        {"step, before", step, 0.25f, -1.0f},
        {"step, on the step", step, 0.5f, 0.0f},
        {"step, after", step, 0.75f, 1.0f},
        {"on the first breakpoint", rising, 0.0f, 0.0f},
        {"on the last breakpoint", rising, 1.0f, 0.0f},
        {"past the last breakpoint", rising, 1.5f, 0.0f},
        {"one breakpoint", {{0.0f, 0.0f}}, 0.5f, 0.0f},
        {"no breakpoint", {}, 0.5f, 0.0f},
        {"infinite position", rising, infinity, 0.0f},
        {"NaN position", rising, nan, 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(evaluateAutomationLine(c.line, c.position), c.expected, 1e-5f) << c.name;
}

TEST(AutomationLine, PositionIsTheShareOfTheCycleAndUndefinedForAZeroLength)
{
    EXPECT_FLOAT_EQ(automationPosition(24000, 96000), 0.25f);
    EXPECT_FLOAT_EQ(automationPosition(0, 96000), 0.0f);
    // Before the first block has computed a length the position lies in no segment.
    EXPECT_TRUE(std::isinf(automationPosition(5, 0)));
    EXPECT_TRUE(std::isnan(automationPosition(0, 0)));
    EXPECT_EQ(evaluateAutomationLine(defaultAutomationLine(), automationPosition(5, 0)), 0.0f);
}

TEST(AutomationLine, DefaultIsFlatAtTheMiddle)
{
    const auto line = defaultAutomationLine();
    ASSERT_EQ(line.size(), 2u);
    EXPECT_EQ(line[0], juce::Point<float>(0.0f, 0.5f));
    EXPECT_EQ(line[1], juce::Point<float>(1.0f, 0.5f));
}
