#include "Filter.h"

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
