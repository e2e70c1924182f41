#pragma once

#include <algorithm>
#include <cmath>

// The resonant four-pole filter of the line filter, the decimator and the second distortion. One object
// filters one channel; all arithmetic is in double precision. The per-sample calls are inline: they run
// twice per sample and line, and the two channels' chains overlap only when the compiler sees both.
class Filter
{
public:
    // A value at or below 0.001 keeps the previous cutoff.
    void setCutoff(double newCutoff);
    void setResonance(double newResonance);

    void setCutoffMod(double newCutoffMod)
    {
        cutoffMod = newCutoffMod;
        calculateFeedbackAmount();
    }

    double process(double input)
    {
        const double c = getEffectiveCutoff();
        stage0 += c * ((input - stage0) + feedbackAmount * (stage0 - stage1));
        stage1 += c * (stage0 - stage1);
        stage2 += c * (stage1 - stage2);
        stage3 += c * (stage2 - stage3);

        // At high resonance a cutoff that jumps between its limits makes the stages diverge; as they are
        // never reset otherwise, the filter would put out NaN for ever. A non-finite stage spreads to the
        // later ones within the sample, so their sum tells.
        if (!std::isfinite(stage0 + stage1 + stage2 + stage3))
            stage0 = stage1 = stage2 = stage3 = 0.0;

        switch (mode)
        {
        case 0:
            return stage3;
        case 1:
            return stage0 - stage3;
        case 2:
            return input - stage3;
        default:
            return input;
        }
    }

    double getCutoff() const noexcept { return cutoff; }
    double getResonance() const noexcept { return resonance; }
    double getCutoffMod() const noexcept { return cutoffMod; }
    double getFeedbackAmount() const noexcept { return feedbackAmount; }
    // Kept inside 0.01..0.99 so that the feedback term 1 - c never reaches 0.
    double getEffectiveCutoff() const noexcept { return std::clamp(cutoff + cutoffMod, 0.01, 0.99); }

    // 0 low-pass, 1 band-pass, 2 high-pass, anything else passes the input through.
    int mode = 0;

private:
    void calculateFeedbackAmount() { feedbackAmount = resonance + resonance / (1.0 - getEffectiveCutoff()); }

    double cutoff = 0.99;
    double resonance = 0.3;
    double cutoffMod = 0.0;
    double feedbackAmount = 0.3 + 0.3 / (1.0 - 0.99);
    double stage0 = 0.0, stage1 = 0.0, stage2 = 0.0, stage3 = 0.0;
};
