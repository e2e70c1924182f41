#include "Filter.h"

#include <algorithm>
#include <cmath>

void Filter::setCutoff(double newCutoff)
{
    if (newCutoff > 0.001)
        cutoff = newCutoff;
    calculateFeedbackAmount();
}

void Filter::setResonance(double newResonance)
{
    resonance = newResonance;
    calculateFeedbackAmount();
}

void Filter::setCutoffMod(double newCutoffMod)
{
    cutoffMod = newCutoffMod;
    calculateFeedbackAmount();
}

// Kept inside 0.01..0.99 so that the feedback term 1 - c never reaches 0.
double Filter::getEffectiveCutoff() const noexcept
{
    return std::clamp(cutoff + cutoffMod, 0.01, 0.99);
}

void Filter::calculateFeedbackAmount()
{
    feedbackAmount = resonance + resonance / (1.0 - getEffectiveCutoff());
}

double Filter::process(double input)
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
