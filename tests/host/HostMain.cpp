#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

int main(int argc, char** argv)
{
    // VST3 hosting needs the message manager; the test thread is the message thread.
    juce::ScopedJuceInitialiser_GUI juce;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
