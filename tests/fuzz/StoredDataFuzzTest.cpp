// Mutated state blocks and presets files, fed to the readers for a bounded time. Built with
// AddressSanitizer and UndefinedBehaviorSanitizer, so any out-of-bounds access or overflow fails it.

#include "PluginProcessor.h"
#include "PresetFunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace
{
int fuzzSeconds()
{
    const auto* text = std::getenv("BRAMBLEWAY_FUZZ_SECONDS");
    return text != nullptr ? juce::jlimit(1, 3600, std::atoi(text)) : 10;
}

// Byte-level damage of the kinds that real corruption and hostile files bring.
juce::MemoryBlock mutate(const juce::MemoryBlock& original, juce::Random& random)
{
    juce::MemoryBlock data(original);
    const int edits = 1 + random.nextInt(8);
    for (int e = 0; e < edits && data.getSize() > 0; ++e)
    {
        auto* bytes = static_cast<juce::uint8*>(data.getData());
        const auto at = (size_t) random.nextInt((int) data.getSize());
        switch (random.nextInt(6))
        {
        case 0: bytes[at] ^= (juce::uint8) (1 << random.nextInt(8)); break;
        case 1: bytes[at] = (juce::uint8) random.nextInt(256); break;
        case 2: data.setSize(at); break;
        case 3: data.removeSection(at, (size_t) random.nextInt(64)); break;
        case 4:
        {
            // A count or coordinate pushed to an extreme.
            const char* numbers[] = {"2000000000", "-2147483648", "1e308", "nan", "-0", "99999999999999999999"};
            const juce::String number(numbers[random.nextInt(6)]);
            data.insert(number.toRawUTF8(), number.getNumBytesAsUTF8(), at);
            break;
        }
        default: data.insert(bytes + random.nextInt((int) data.getSize()), (size_t) random.nextInt(32), at); break;
        }
    }
    return data;
}

juce::MemoryBlock drawnState()
{
    BramblewayAudioProcessor processor(juce::File{});
    processor.editLineAutomation([](auto& lines) {
        lines[2][Stem::DISTMODE] = {{0.0f, 0.2f}, {0.1f, 0.4f}, {0.2f, 0.6f}, {0.3f, 0.8f}, {0.4f, 0.2f}, {0.5f, 0.4f},
                                    {0.6f, 0.1f}, {0.7f, 0.3f}, {0.8f, 0.5f}, {0.9f, 0.7f}, {0.95f, 0.9f}, {1.0f, 0.5f}};
        lines[0][Stem::CutOff] = {{0.0f, 0.0f}, {0.5f, 1.0f}, {1.0f, 0.0f}};
    });
    juce::MemoryBlock block;
    processor.getStateInformation(block);
    return block;
}

void expectBoundedCurves(BramblewayAudioProcessor& processor)
{
    for (const auto& line : processor.lineAutomation)
        for (const auto& curve : line)
            ASSERT_LE(curve.size(), (size_t) presets::maxBreakpoints);
}
} // namespace

TEST(Fuzz, MutatedStateBlocksNeverBreakTheProcessor)
{
    const auto valid = drawnState();
    BramblewayAudioProcessor processor(juce::File{});
    processor.prepareToPlay(48000.0, 256);
    juce::AudioBuffer<float> audio(2, 256);
    juce::MidiBuffer midi;
    juce::Random random(1);

    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) fuzzSeconds() * 1000;
    int rounds = 0;
    while (juce::Time::getMillisecondCounter() < end)
    {
        const auto block = mutate(valid, random);
        processor.setStateInformation(block.getData(), (int) block.getSize());
        expectBoundedCurves(processor);

        for (int i = 0; i < audio.getNumSamples(); ++i)
            audio.setSample(0, i, random.nextFloat() - 0.5f), audio.setSample(1, i, random.nextFloat() - 0.5f);
        processor.processBlock(audio, midi);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < audio.getNumSamples(); ++i)
                ASSERT_TRUE(std::isfinite(audio.getSample(ch, i))) << "round " << rounds;
        ++rounds;
    }
    EXPECT_GT(rounds, 10);
}

TEST(Fuzz, MutatedPresetsFilesNeverBreakTheReader)
{
    BramblewayProgram program("Fuzz");
    program.automation[2][Stem::DISTMODE] = {{0.0f, 0.5f}, {0.5f, 0.25f}, {1.0f, 0.5f}};
    const auto text = juce::JSON::toString(presets::toJson({program, BramblewayProgram("Two")}), false, 15);
    const juce::MemoryBlock valid(text.toRawUTF8(), text.getNumBytesAsUTF8());
    juce::Random random(2);

    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) fuzzSeconds() * 1000;
    int rounds = 0;
    while (juce::Time::getMillisecondCounter() < end)
    {
        const auto data = mutate(valid, random);
        const auto programs = presets::fromJson(juce::JSON::parse(data.toString()));
        for (const auto& p : programs)
            for (const auto& line : p.automation)
                for (const auto& curve : line)
                    ASSERT_LE(curve.size(), (size_t) presets::maxBreakpoints);
        ++rounds;
    }
    EXPECT_GT(rounds, 10);
}
