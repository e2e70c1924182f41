#pragma once

// An editor on its processor, as the host opens it. Tests that click put it on the desktop (a virtual
// display under xvfb-run) and press through its window, so a press travels the same path as a user's.

#include "PluginEditor.h"
#include "ProcessorHarness.h"
#include "QuietXErrors.h"

#include <gtest/gtest.h>

#include <memory>

class EditorTest : public testing::Test
{
protected:
    void SetUp() override
    {
        editorOwner.reset(processor.createEditorIfNeeded());
        editor = dynamic_cast<BramblewayAudioProcessorEditor*>(editorOwner.get());
        ASSERT_NE(editor, nullptr);
    }

    void TearDown() override { editorOwner.reset(); }

    void putOnDesktop()
    {
        testing_support::installQuietXErrorHandler();
        editor->addToDesktop(0);
        editor->setVisible(true);
    }

    // A left press and release at a point of a component. Presses are spaced apart in time so that two
    // of them are never taken for a double-click, unless asked.
    void click(juce::Component& target, juce::Point<int> local, int repeats = 1)
    {
        auto* peer = editor->getPeer();
        ASSERT_NE(peer, nullptr) << "putOnDesktop first";
        const auto position = editor->getLocalPoint(&target, local).toFloat();
        const auto mouse = juce::MouseInputSource::InputSourceType::mouse;
        for (int i = 0; i < repeats; ++i)
        {
            clock += repeats > 1 ? 50 : 1000;
            peer->handleMouseEvent(mouse, position, juce::ModifierKeys::leftButtonModifier,
                                   juce::MouseInputSource::defaultPressure,
                                   juce::MouseInputSource::defaultOrientation, clock);
            clock += 10;
            peer->handleMouseEvent(mouse, position, juce::ModifierKeys(),
                                   juce::MouseInputSource::defaultPressure,
                                   juce::MouseInputSource::defaultOrientation, clock);
        }
    }

    void click(juce::Component& target) { click(target, target.getLocalBounds().getCentre()); }

    float plain(int stem, int line)
    {
        return testing_support::plainValue(processor, lineParameterID(stem, line));
    }
    float block(int line, int step)
    {
        return testing_support::plainValue(processor, blockParameterID(line, step));
    }
    void setPlain(int stem, int line, float value)
    {
        testing_support::setPlain(processor, lineParameterID(stem, line), value);
    }
    void setBlock(int line, int step, bool on)
    {
        testing_support::setPlain(processor, blockParameterID(line, step), on ? 1.0f : 0.0f);
    }

    BramblewayAudioProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> editorOwner;
    BramblewayAudioProcessorEditor* editor = nullptr;
    juce::int64 clock = juce::Time::currentTimeMillis();
};
