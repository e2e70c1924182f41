#pragma once

// Automation lines: user-drawn curves across one cycle of a line. x runs 0..1 across the cycle, y 0..1
// from the top of the editor row to its bottom; the value is m = 1 - 2y.

#include <juce_graphics/juce_graphics.h>

#include <vector>

using AutomationLine = std::vector<juce::Point<float>>;

// Flat at the middle: neutral.
AutomationLine defaultAutomationLine();

// Where a line stands in its cycle. A zero length gives infinity or NaN, which lies in no segment.
float automationPosition(juce::int64 lineSampleCounter, int lineLengthSamples) noexcept;

// The value of the first segment whose open x-range holds the position, or 0 when none does (a position
// on a breakpoint, past the last one, or a line of fewer than two breakpoints).
float evaluateAutomationLine(const AutomationLine& line, float position) noexcept;
