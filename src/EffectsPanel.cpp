#include "EffectsPanel.h"

EffectPanel::EffectPanel(BramblewayAudioProcessor&) {}

void EffectPanel::setFilterPanel(int) {}
