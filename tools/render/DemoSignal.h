#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace brambleway
{
// A few bars of drums and a held chord in stereo: something for the step gates to cut up.
juce::AudioBuffer<float> makeDemoSignal(double sampleRate, double bpm, int bars);
} // namespace brambleway
