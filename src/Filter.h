#pragma once

// The resonant four-pole filter of the line filter, the decimator and the second distortion. One object
// filters one channel; all arithmetic is in double precision.
class Filter
{
public:
    // A value at or below 0.001 keeps the previous cutoff.
    void setCutoff(double newCutoff);
    void setResonance(double newResonance);
    void setCutoffMod(double newCutoffMod);

    double process(double input);

    double getCutoff() const noexcept { return cutoff; }
    double getResonance() const noexcept { return resonance; }
    double getCutoffMod() const noexcept { return cutoffMod; }
    double getFeedbackAmount() const noexcept { return feedbackAmount; }
    double getEffectiveCutoff() const noexcept;

    // 0 low-pass, 1 band-pass, 2 high-pass, anything else passes the input through.
    int mode = 0;

private:
    void calculateFeedbackAmount();

    double cutoff = 0.99;
    double resonance = 0.3;
    double cutoffMod = 0.0;
    double feedbackAmount = 0.3 + 0.3 / (1.0 - 0.99);
    double stage0 = 0.0, stage1 = 0.0, stage2 = 0.0, stage3 = 0.0;
};
