#pragma once

#include <juce_events/juce_events.h>

namespace juce
{
// The step of JUCE's own dispatch loop. Modal loops are compiled out of these builds, so
// runDispatchLoopUntil is missing; this is what it would call.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace brambleway
{
// Delivers the messages posted to the message thread for a while (timers, async updates).
inline void pumpMessages(int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) milliseconds;
    while (juce::Time::getMillisecondCounter() < end)
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            juce::Thread::sleep(1);
}
} // namespace brambleway
