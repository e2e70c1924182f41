#include "MyLfo.h"
#include "SharedTables.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// At a sample rate of 8 Hz, 1 Hz takes 8 samples per period, and the 0.05 s glide is shorter than a
// step, so the frequency applies at once.
MyLfo eightStepLfo(int wave)
{
    MyLfo lfo;
    lfo.setParamaters({8.0, 16, 2});
    lfo.update(1.0f, wave);
    lfo.update(1.0f, wave);
    return lfo;
}
} // namespace

TEST(MyLfo, EachWaveFollowsItsGeneratorOverOnePeriod)
{
    constexpr double pi = juce::MathConstants<double>::pi;
    for (int wave = 0; wave < MyLfo::numWaves; ++wave)
    {
        auto lfo = eightStepLfo(wave);
        for (int step = 0; step < 8; ++step)
        {
            const double x = step * pi / 4.0 - pi; // the phase before the step, less pi
            const double expected[] = {std::sin(x), x < 0.0 ? -1.0 : 1.0, x / pi, -x / pi};
            EXPECT_NEAR(lfo.processSample(), expected[wave], 1e-6) << LFOWaveName[wave] << " step " << step;
        }
    }
}

TEST(MyLfo, FirstOutputAfterPreparationStartsEachWaveAtMinusPi)
{
    const float expected[] = {0.0f, -1.0f, -1.0f, 1.0f};
    for (int wave = 0; wave < MyLfo::numWaves; ++wave)
    {
        MyLfo lfo;
        lfo.setParamaters({48000.0, 512, 2});
        lfo.waveType = wave;
        EXPECT_NEAR(lfo.processSample(), expected[wave], 1e-6f) << LFOWaveName[wave];
    }
}

TEST(MyLfo, SquareAtTwoHertzFlipsEveryQuarterSecond)
{
    MyLfo lfo;
    lfo.setParamaters({48000.0, 512, 2});
    // The first update selects the square; only the second gives it the rate.
    lfo.update(2.0f, 1);
    lfo.update(2.0f, 1);
    // The frequency glides from 440 Hz for 0.05 s; count flips only after that.
    for (int i = 0; i < 2400; ++i)
        lfo.processSample();
    float previous = lfo.processSample();
    std::vector<int> flips;
    for (int i = 1; i < 48000; ++i)
    {
        const float value = lfo.processSample();
        if (value != previous)
            flips.push_back(i);
        previous = value;
    }
    ASSERT_GE(flips.size(), 3u);
    for (size_t i = 1; i < flips.size(); ++i)
        EXPECT_NEAR(flips[i] - flips[i - 1], 12000, 1);
}

TEST(MyLfo, ASwitchedWaveKeepsItsOwnPhaseAndGetsTheNewFrequencyOneUpdateLater)
{
    MyLfo lfo;
    lfo.setParamaters({48000.0, 512, 2});
    for (int i = 0; i < 1000; ++i)
        lfo.processSample();

    // The rate goes to the sine, then the saw is selected: it starts where it was, at -1.
    lfo.update(3.0f, 2);
    EXPECT_EQ(lfo.oscillators[0].getFrequency(), 3.0f);
    EXPECT_EQ(lfo.oscillators[2].getFrequency(), 440.0f);
    EXPECT_NEAR(lfo.processSample(), -1.0f, 1e-6f);

    lfo.update(3.0f, 2);
    EXPECT_EQ(lfo.oscillators[2].getFrequency(), 3.0f);
}
