#include "AutomationLine.h"

AutomationLine defaultAutomationLine()
{
    return {{0.0f, 0.5f}, {1.0f, 0.5f}};
}

float automationPosition(juce::int64 lineSampleCounter, int lineLengthSamples) noexcept
{
    return (float)((double)lineSampleCounter / (double)lineLengthSamples);
}

float evaluateAutomationLine(const AutomationLine& line, float position) noexcept
{
    for (size_t i = 0; i + 1 < line.size(); ++i)
    {
        const auto left = line[i];
        const auto right = line[i + 1];
        if (left.x < position && position < right.x)
        {
            const float a = 1.0f - left.y;
            const float b = 1.0f - right.y;
            const float v = a + (b - a) * (position - left.x) / (right.x - left.x);
            return (float)(((double)v - 0.5) * 2.0);
        }
    }
    return 0.0f;
}
