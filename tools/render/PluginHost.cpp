#include "PluginHost.h"

namespace brambleway
{
juce::Result loadVst3(const juce::File& bundle, double sampleRate, int blockSize,
                      std::unique_ptr<juce::AudioPluginInstance>& instance)
{
    if (!bundle.exists())
        return juce::Result::fail("plug-in not found: " + bundle.getFullPathName());

    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> descriptions;
    format.findAllTypesForFile(descriptions, bundle.getFullPathName());
    if (descriptions.isEmpty())
        return juce::Result::fail("not a loadable VST3 plug-in: " + bundle.getFullPathName());

    juce::String error;
    instance = format.createInstanceFromDescription(*descriptions[0], sampleRate, blockSize, error);
    if (instance == nullptr)
        return juce::Result::fail("the plug-in did not load: " + error);
    return juce::Result::ok();
}

juce::AudioProcessorParameter* findParameter(juce::AudioProcessor& processor, const juce::String& id)
{
    for (auto* parameter : processor.getParameters())
        if (parameter->getName(1024) == id)
            return parameter;
    return nullptr;
}

namespace
{
bool isNumber(const juce::String& text)
{
    const auto trimmed = text.trim();
    return trimmed.isNotEmpty() && trimmed.containsOnly("+-0123456789.eE") &&
           trimmed.containsAnyOf("0123456789");
}

juce::String describe(juce::AudioProcessorParameter& parameter)
{
    return parameter.getName(1024);
}

// Discrete parameters whose texts are names (choices, switches): pick by index or by name.
juce::Result setDiscrete(juce::AudioProcessorParameter& parameter, const juce::String& text)
{
    const int count = parameter.getNumSteps();
    const auto normalisedAt = [count](int index)
    { return count > 1 ? (float) index / (float) (count - 1) : 0.0f; };

    int chosen = -1;
    if (isNumber(text))
    {
        const double value = text.getDoubleValue();
        if (value != std::floor(value) || value < 0.0 || value > count - 1)
            return juce::Result::fail(describe(parameter) + ": " + text + " is outside 0 to " +
                                      juce::String(count - 1));
        chosen = (int) value;
    }
    else
    {
        for (int i = 0; i < count && chosen < 0; ++i)
            if (parameter.getText(normalisedAt(i), 1024).equalsIgnoreCase(text.trim()))
                chosen = i;
        if (chosen < 0)
            return juce::Result::fail(describe(parameter) + ": no choice named \"" + text + "\"");
    }

    parameter.setValueNotifyingHost(normalisedAt(chosen));
    return juce::Result::ok();
}
} // namespace

juce::Result setParameterFromText(juce::AudioProcessorParameter& parameter, const juce::String& text)
{
    const auto lowest = parameter.getText(0.0f, 1024);
    const auto highest = parameter.getText(1.0f, 1024);
    if (!isNumber(lowest) || !isNumber(highest))
        return setDiscrete(parameter, text);

    if (!isNumber(text))
        return juce::Result::fail(describe(parameter) + ": \"" + text + "\" is not a number");

    const double value = text.getDoubleValue();
    const double minimum = lowest.getDoubleValue();
    const double maximum = highest.getDoubleValue();
    if (value < juce::jmin(minimum, maximum) || value > juce::jmax(minimum, maximum))
        return juce::Result::fail(describe(parameter) + ": " + text + " is outside " + lowest + " to " +
                                  highest);

    parameter.setValueNotifyingHost(parameter.getValueForText(text.trim()));
    return juce::Result::ok();
}

juce::Optional<juce::AudioPlayHead::PositionInfo> FakePlayHead::getPosition() const
{
    PositionInfo info;
    info.setBpm(bpm);
    info.setIsPlaying(playing);
    info.setTimeInSamples(samplePosition);
    info.setTimeInSeconds((double) samplePosition / sampleRate);
    info.setPpqPosition((double) samplePosition / sampleRate * bpm / 60.0);
    info.setTimeSignature(TimeSignature{4, 4});
    return info;
}
} // namespace brambleway
