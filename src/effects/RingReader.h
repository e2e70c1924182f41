#pragma once

// Reading a line's ring buffer at a fractional position, for the pitch shifter and the comb filter.

#include <cmath>

namespace ring_reader
{
// Two neighbouring ring indices and the weight of the second.
struct Tap
{
    int i0 = 0;
    int i1 = 0;
    float frac = 0.0f;
};

// One turn back or forward, as the effects' delays need; a position at or below 0 lands one sample
// short of the turn. Positions further out (rings of a few samples at absurd sample rates, blocks longer
// than the ring) or not a number fall back to a plain modulo, so a read never leaves the ring.
inline float wrap(float q, int size)
{
    const auto s = (float) size;
    if (q >= s)
        q -= s;
    if (q <= 0.0f)
        q = s + q - 1.0f;
    if (q >= 0.0f && q < s)
        return q;
    q = std::fmod(q, s);
    if (q < 0.0f)
        q += s;
    return q >= 0.0f && q < s ? q : 0.0f;
}

// size must be at least 1.
inline Tap locate(float q, int size)
{
    Tap tap;
    q = wrap(q, size);
    tap.i0 = (int) q;
    tap.i1 = tap.i0 + 1 == size ? 0 : tap.i0 + 1;
    tap.frac = q - (float) tap.i0;
    return tap;
}
} // namespace ring_reader
