// Fractional reads of a line's ring buffer: the pitch shifter's and comb filter's wrap rule, and reads
// that stay inside the ring whatever the position.

#include "effects/RingReader.h"

#include <gtest/gtest.h>

#include <limits>

TEST(RingReader, PositionsWrapOneTurnAsTheEffectsLayThemDown)
{
    struct Case
    {
        float position;
        int i0, i1;
        float frac;
    };
    const Case cases[] = {
        {10.25f, 10, 11, 0.25f}, {99.5f, 99, 0, 0.5f}, // the last sample reads into the first
        {105.5f, 5, 6, 0.5f},                          // one turn forward
        {100.0f, 99, 0, 0.0f},                         // a turn lands on 0, and 0 reads one short of the turn
        {0.0f, 99, 0, 0.0f},     {-2.5f, 96, 97, 0.5f}, // 100 - 2.5 - 1
        {-99.0f, 0, 1, 0.0f},
    };
    for (const auto& c : cases)
    {
        const auto tap = ring_reader::locate(c.position, 100);
        EXPECT_EQ(tap.i0, c.i0) << c.position;
        EXPECT_EQ(tap.i1, c.i1) << c.position;
        EXPECT_FLOAT_EQ(tap.frac, c.frac) << c.position;
    }
}

TEST(RingReader, PositionsFarOutsideTheRingStillReadInsideIt)
{
    const float far[] = {250.25f,
                         -250.25f,
                         1.0e9f,
                         -1.0e9f,
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN()};
    for (int size : {1, 2, 100, 48000})
        for (float position : far)
        {
            const auto tap = ring_reader::locate(position, size);
            EXPECT_GE(tap.i0, 0) << position << " in " << size;
            EXPECT_LT(tap.i0, size) << position << " in " << size;
            EXPECT_GE(tap.i1, 0) << position << " in " << size;
            EXPECT_LT(tap.i1, size) << position << " in " << size;
            EXPECT_GE(tap.frac, 0.0f) << position << " in " << size;
            EXPECT_LT(tap.frac, 1.0f) << position << " in " << size;
        }
    // More than one turn out falls back to the plain modulo.
    EXPECT_FLOAT_EQ(ring_reader::locate(250.25f, 100).frac, 0.25f);
    EXPECT_EQ(ring_reader::locate(250.25f, 100).i0, 50);
}
