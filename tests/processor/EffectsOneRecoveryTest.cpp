// Effects with feedback inside: huge samples from the host must not leave them holding infinities.

#include "EffectsOneRig.h"

#include <gtest/gtest.h>

#include <vector>

using namespace effects_one;

TEST(EffectsOneRecovery, AfterABurstOfHugeSamplesALineSoundsAgainAsAnUntouchedOneWould)
{
    struct Case
    {
        const char* effect;
        int feedbackStem;
    };
    const Case cases[] = {{"DELAY", Stem::DELAYFEEDBACKDELAY},
                          {"CHORUS-FLANGER", Stem::CHORUSFEEDBACK},
                          {"PHASER", Stem::PHASERPEEDBAC}};
    // Two bursts half a second apart, so that the delay's echo of the first meets the second: sums of
    // huge samples overflow to infinity inside the effects.
    const auto bursts = [](int channel, juce::int64 i)
    {
        const auto since = i % 24000;
        if (i >= 48000 || since < 10240 || since >= 10752)
            return busy(channel, i);
        return i % 2 == 0 ? 3e38f : -3e38f;
    };
    const juce::int64 loud = 48000, calm = 72000;
    for (const auto& c : cases)
    {
        EngineRig withBursts, untouched;
        std::vector<float> out[2];
        for (auto* rig : {&withBursts, &untouched})
        {
            holdLineOpen(*rig, 0, c.effect);
            rig->set(lineParameterID(c.feedbackStem, 0), 0.99f);
            rig->run(loud, rig == &withBursts ? EngineRig::Signal(bursts) : EngineRig::Signal(busy));
            rig->set(lineParameterID(c.feedbackStem, 0), 0.0f);
            out[rig == &withBursts ? 0 : 1] = rig->run(calm, busy).lines[0][0];
        }
        for (size_t i = calm - 24000; i < calm; ++i)
            ASSERT_NE(out[0][i], 0.0f) << c.effect << " at " << i;
        EXPECT_NEAR(peak(out[0], calm - 24000, calm), peak(out[1], calm - 24000, calm), 0.05f) << c.effect;
    }
}
