// The built bundle, loaded through JUCE's VST3 hosting exactly as a DAW loads it.

#include "MessagePump.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const juce::File bundle{BRAMBLEWAY_BUNDLE_PATH};

class HostedPlugin : public testing::Test
{
protected:
    void SetUp() override
    {
        const auto result = brambleway::loadVst3(bundle, 48000.0, 512, plugin);
        ASSERT_TRUE(result.wasOk()) << result.getErrorMessage();
    }

    juce::AudioProcessorParameter& parameter(const juce::String& id)
    {
        auto* found = brambleway::findParameter(*plugin, id);
        EXPECT_NE(found, nullptr) << id;
        return *found;
    }

    static void pump() { brambleway::pumpMessages(100); }

    std::unique_ptr<juce::AudioPluginInstance> plugin;
};

juce::AudioProcessor::BusesLayout layoutOf(const juce::AudioChannelSet& in, const juce::AudioChannelSet& out)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(in);
    layout.outputBuses.add(out);
    return layout;
}

// The normalised position of a plain value on a range with a skew.
float normalised(float value, float minimum, float maximum, float skew = 1.0f)
{
    return std::pow((value - minimum) / (maximum - minimum), skew);
}
} // namespace

TEST_F(HostedPlugin, DescribesItselfAsTheBramblewayEffect)
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> descriptions;
    format.findAllTypesForFile(descriptions, bundle.getFullPathName());
    ASSERT_EQ(descriptions.size(), 1);
    const auto& description = *descriptions[0];
    EXPECT_EQ(description.name, "Brambleway");
    EXPECT_EQ(description.version, "3.0");
    EXPECT_TRUE(description.category.startsWith("Fx")) << description.category;
    EXPECT_FALSE(description.isInstrument);
    EXPECT_EQ(description.manufacturerName, "Brambleway Audio");
    EXPECT_EQ(plugin->getName(), "Brambleway");
    EXPECT_EQ(plugin->getTailLengthSeconds(), 0.0);
    EXPECT_FALSE(plugin->acceptsMidi());
    EXPECT_FALSE(plugin->producesMidi());
    EXPECT_TRUE(plugin->hasEditor());
}

TEST_F(HostedPlugin, AcceptsMonoAndStereoOnly)
{
    using Set = juce::AudioChannelSet;
    struct Case
    {
        Set in, out;
        bool accepted;
    };
    const Case cases[] = {
        {Set::mono(), Set::mono(), true},
        {Set::stereo(), Set::stereo(), true},
        {Set::mono(), Set::stereo(), false},
        {Set::stereo(), Set::mono(), false},
        {Set::quadraphonic(), Set::quadraphonic(), false},
        {Set::create5point1(), Set::create5point1(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plugin->checkBusesLayoutSupported(layoutOf(c.in, c.out)), c.accepted)
            << c.in.getDescription() << " -> " << c.out.getDescription();
}

TEST_F(HostedPlugin, ListsTheParametersInCreationOrderWithTheirDefaults)
{
    const auto& parameters = plugin->getParameters();
    ASSERT_GE(parameters.size(), 598);

    struct Case
    {
        int index;
        const char* id;
        float defaultNormalised;
    };
    const Case cases[] = {
        {0, "block00", 0.0f},
        {31, "block031", 0.0f},
        {32, "Speed0", 13.0f / 23.0f},
        {119, "block10", 0.0f},
        {507, "block431", 0.0f},
        {37, "EFFECT0", 1.0f / 13.0f},
        {37 + 119, "EFFECT1", 2.0f / 13.0f},
        {37 + 2 * 119, "EFFECT2", 3.0f / 13.0f},
        {37 + 3 * 119, "EFFECT3", 4.0f / 13.0f},
        {37 + 4 * 119, "EFFECT4", 5.0f / 13.0f},
        {38, "CutOff0", normalised(200.0f, 20.0f, 20000.0f, 0.19889385f)},
        {38 + 119, "CutOff1", normalised(400.0f, 20.0f, 20000.0f, 0.19889385f)},
        {38 + 2 * 119, "CutOff2", normalised(800.0f, 20.0f, 20000.0f, 0.19889385f)},
        {38 + 3 * 119, "CutOff3", normalised(1600.0f, 20.0f, 20000.0f, 0.19889385f)},
        {38 + 4 * 119, "CutOff4", normalised(3200.0f, 20.0f, 20000.0f, 0.19889385f)},
        {41 + 2 * 119, "DECAYNAME2", normalised(0.201f, 0.001f, 1.0f, 1.5f)}, // 0.2 on the step grid
        {45, "FILTERTYPE0", 1.0f},
        {101 + 3 * 119, "LINEVOLATTACK3", 0.01f},
        {118 + 4 * 119, "VIBRATOWIDTH4", 0.01f},
        {595, "GlobalRestncBar", 0.0f},
        {596, "GLOBALMIXVOLUME", normalised(-3.0f, -48.0f, 6.0f)},
        {597, "GLOBALDRYWET", 1.0f},
    };
    for (const auto& c : cases)
    {
        auto* p = parameters[c.index];
        EXPECT_EQ(p->getName(1024), c.id) << "position " << c.index;
        EXPECT_NEAR(p->getDefaultValue(), c.defaultNormalised, 1e-5f) << c.id;
        EXPECT_NEAR(p->getValue(), c.defaultNormalised, 1e-5f) << c.id;
        EXPECT_TRUE(p->isAutomatable()) << c.id;
    }

    // Every one of the first 598 is named by a distinct plug-in ID; the wrapper's own come after.
    juce::StringArray names;
    for (int i = 0; i < 598; ++i)
        names.addIfNotAlreadyThere(parameters[i]->getName(1024));
    EXPECT_EQ(names.size(), 598);
    EXPECT_TRUE(names.contains("DECAYNAME0"));
    EXPECT_EQ(parameter("DECAYNAME0").getText(parameter("DECAYNAME0").getDefaultValue(), 64), "0.20");
}

TEST_F(HostedPlugin, AttackMovedByTheHostMakesDecayYield)
{
    auto& attack = parameter("LINEVOLATTACK3");
    auto& decay = parameter("LINEVOLDECAY3");
    decay.setValueNotifyingHost(0.5f);
    pump();
    attack.setValueNotifyingHost(0.8f);
    pump();
    EXPECT_NEAR(decay.getValue(), 0.2f, 1e-5f);
    EXPECT_NEAR(attack.getValue(), 0.8f, 1e-5f);

    attack.setValueNotifyingHost(0.3f);
    pump();
    EXPECT_NEAR(decay.getValue(), 0.2f, 1e-5f);
}

TEST_F(HostedPlugin, WithTheDryMixOnlyTheInputComesOutSaturatedBitForBit)
{
    // Dry/wet 0 and master 0 dB leave tanh of the input, whatever the lines do.
    parameter("GLOBALDRYWET").setValueNotifyingHost(0.0f);
    parameter("GLOBALMIXVOLUME").setValueNotifyingHost(normalised(0.0f, -48.0f, 6.0f));
    parameter("block00").setValueNotifyingHost(1.0f);
    parameter("block10").setValueNotifyingHost(1.0f);

    using Set = juce::AudioChannelSet;
    for (const auto& set : {Set::mono(), Set::stereo()})
    {
        plugin->releaseResources();
        ASSERT_TRUE(plugin->setBusesLayout(layoutOf(set, set)));
        plugin->prepareToPlay(48000.0, 512);
        brambleway::FakePlayHead playHead(120.0, 48000.0);
        plugin->setPlayHead(&playHead);

        juce::Random random(7);
        juce::MidiBuffer midi;
        for (int block = 0; block < 20; ++block)
        {
            const int length = block == 3 ? 0 : (block % 2 == 0 ? 512 : 100);
            juce::AudioBuffer<float> audio(set.size(), length);
            for (int ch = 0; ch < set.size(); ++ch)
                for (int i = 0; i < length; ++i)
                    audio.setSample(ch, i, random.nextFloat() * 2.0f - 1.0f);
            juce::AudioBuffer<float> input(audio);
            plugin->processBlock(audio, midi);
            playHead.advance(length);
            for (int ch = 0; ch < set.size(); ++ch)
                for (int i = 0; i < length; ++i)
                    ASSERT_EQ(audio.getSample(ch, i), std::tanh(input.getSample(ch, i)))
                        << set.getDescription() << " block " << block;
        }
        plugin->setPlayHead(nullptr);
    }
}

TEST_F(HostedPlugin, AProjectSavedAndReopenedRestoresEverything)
{
    parameter("CutOff2").setValueNotifyingHost(0.7f);
    parameter("block317").setValueNotifyingHost(1.0f);
    parameter("EFFECT4").setValueNotifyingHost(9.0f / 13.0f);
    parameter("GLOBALDRYWET").setValueNotifyingHost(0.25f);
    pump();
    juce::MemoryBlock project;
    plugin->getStateInformation(project);

    std::unique_ptr<juce::AudioPluginInstance> reopened;
    ASSERT_TRUE(brambleway::loadVst3(bundle, 48000.0, 512, reopened).wasOk());
    reopened->setStateInformation(project.getData(), (int) project.getSize());
    pump();

    const auto& before = plugin->getParameters();
    const auto& after = reopened->getParameters();
    for (int i = 0; i < 598; ++i)
        // The host keeps what it sent; the plug-in keeps it on its step grid.
        ASSERT_NEAR(after[i]->getValue(), before[i]->getValue(), 1e-4f) << before[i]->getName(64);

    // The curves travel too: saving the reopened instance gives the same block.
    juce::MemoryBlock again;
    reopened->getStateInformation(again);
    EXPECT_EQ(again, project);
}

TEST_F(HostedPlugin, TheHostSeesEveryFactoryPresetAndTheValuesOfTheOneItChose)
{
    ASSERT_EQ(plugin->getNumPrograms(), 9) << "Init and the eight factory presets";
    EXPECT_EQ(plugin->getProgramName(0), "Init");
    EXPECT_EQ(plugin->getProgramName(2), "Stutter Engine");
    EXPECT_EQ(plugin->getProgramName(8), "Broken Radio");

    auto& effect = parameter("EFFECT0");
    auto& type = parameter("REPEATERTYPE1");
    EXPECT_NEAR(effect.getValue(), 1.0f / 13.0f, 1e-6f);

    plugin->setCurrentProgram(2);
    pump();
    EXPECT_EQ(plugin->getCurrentProgram(), 2);
    EXPECT_NEAR(effect.getValue(), 9.0f / 13.0f, 1e-6f) << "REPEATER";
    EXPECT_NEAR(type.getValue(), 1.0f, 1e-6f) << "Algorithm 2";
}
