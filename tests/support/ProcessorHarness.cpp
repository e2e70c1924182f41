#include "ProcessorHarness.h"

#include "MessagePump.h"

namespace testing_support
{
juce::Optional<juce::AudioPlayHead::PositionInfo> FakePlayHead::getPosition() const
{
    if (!hasPosition)
        return {};
    PositionInfo info;
    if (hasTempo)
        info.setBpm(bpm);
    info.setIsPlaying(playing);
    info.setTimeInSamples(samplePosition);
    return info;
}

void setPlain(BramblewayAudioProcessor& processor, const juce::String& id, float value)
{
    auto* parameter = processor.getParameterTree().getParameter(id);
    jassert(parameter != nullptr);
    parameter->setValueNotifyingHost(parameter->convertTo0to1(value));
}

float plainValue(BramblewayAudioProcessor& processor, const juce::String& id)
{
    return processor.getParameterTree().getRawParameterValue(id)->load();
}

void pumpMessages(int milliseconds)
{
    brambleway::pumpMessages(milliseconds);
}

int rampLength(juce::LinearSmoothedValue<float> smoother)
{
    smoother.setCurrentAndTargetValue(0.0f);
    smoother.setTargetValue(1.0f);
    int steps = 0;
    while (smoother.isSmoothing() && steps < 10'000'000)
    {
        smoother.getNextValue();
        ++steps;
    }
    return steps;
}
} // namespace testing_support
