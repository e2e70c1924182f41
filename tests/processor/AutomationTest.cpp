// Automation lines inside the processor: evaluation at the line's position, the pair of values,
// resets, and the lock the audio thread only tries.

#include "EngineRig.h"

#include <gtest/gtest.h>

using testing_support::EngineRig;

TEST(Automation, FreshProcessorAnswersZeroTwiceAndThenThePreviousValue)
{
    BramblewayAudioProcessor processor;
    for (int line = 0; line < numLines; ++line)
    {
        ASSERT_EQ(processor.lineAutomation[(size_t)line].size(), (size_t)numStems);
        for (int stem : {0, (int)Stem::CutOff, (int)Stem::LINEPAN, numStems - 1})
            EXPECT_EQ(processor.calculateEffectModulation(stem, line), std::make_pair(0.0f, 0.0f));
    }
}

TEST(Automation, EvaluatesAtTheLinesPositionInItsCycle)
{
    EngineRig rig;
    // From the top (+1) at the start of the cycle to the bottom (-1) at its end.
    rig.processor.editLineAutomation(
        [](auto& automation) {
            automation[1][Stem::REVERBROOMSIZE] = {{0.0f, 0.0f}, {1.0f, 1.0f}};
        });

    // 16 steps of 6000 samples: a quarter of the cycle is 24000 samples, reached after 24001.
    rig.run(24001);
    ASSERT_EQ(rig.processor.lineSampleCounter[1].load(), 24000);
    const auto first = rig.processor.calculateEffectModulation(Stem::REVERBROOMSIZE, 1);
    EXPECT_NEAR(first.first, 0.5f, 1e-6f);
    EXPECT_EQ(first.second, 0.0f);

    rig.run(48000);
    const auto second = rig.processor.calculateEffectModulation(Stem::REVERBROOMSIZE, 1);
    EXPECT_NEAR(second.first, -0.5f, 1e-6f);
    EXPECT_EQ(second.second, first.first);
}

TEST(Automation, ClearingOneLineResetsItsCurvesButNotItsLastValues)
{
    EngineRig rig;
    rig.processor.editLineAutomation(
        [](auto& automation)
        {
            for (auto& line : automation)
                line[Stem::Q] = {{0.0f, 0.0f}, {1.0f, 0.0f}};
        });
    rig.run(1000);
    EXPECT_EQ(rig.processor.calculateEffectModulation(Stem::Q, 2).first, 1.0f);

    rig.processor.initLineAutomation(2);
    for (int line = 0; line < numLines; ++line)
    {
        const auto expected =
            line == 2 ? defaultAutomationLine() : AutomationLine{{0.0f, 0.0f}, {1.0f, 0.0f}};
        EXPECT_EQ(rig.processor.lineAutomation[(size_t)line][Stem::Q], expected) << "line " << line;
    }
    EXPECT_EQ(rig.processor.lineAutomation[2].size(), (size_t)numStems);
    EXPECT_EQ(rig.processor.calculateEffectModulation(Stem::Q, 2), std::make_pair(0.0f, 1.0f));
}

TEST(Automation, WhileTheLinesAreEditedTheAudioThreadKeepsThePreviousValue)
{
    EngineRig rig;
    rig.processor.editLineAutomation(
        [](auto& automation) {
            automation[0][Stem::CutOff] = {{0.0f, 0.0f}, {1.0f, 0.0f}};
        });
    rig.run(1000);
    ASSERT_EQ(rig.processor.calculateEffectModulation(Stem::CutOff, 0).first, 1.0f);

    rig.processor.editLineAutomation(
        [&](auto& automation)
        {
            automation[0][Stem::CutOff] = {{0.0f, 1.0f}, {1.0f, 1.0f}};
            // The lock is held here, as it would be by the editor while the audio thread evaluates.
            EXPECT_EQ(rig.processor.calculateEffectModulation(Stem::CutOff, 0), std::make_pair(1.0f, 1.0f));
        });
    EXPECT_EQ(rig.processor.calculateEffectModulation(Stem::CutOff, 0), std::make_pair(-1.0f, 1.0f));
}
