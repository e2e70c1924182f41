#include "PluginProcessor.h"
#include "PresetFunctions.h"
#include "ProcessorHarness.h"

#include <gtest/gtest.h>

#include <thread>

using testing_support::plainValue;
using testing_support::setPlain;

namespace
{
const AutomationLine flat{{0.0f, 0.5f}, {1.0f, 0.5f}};

// Processors that read and write presets in a folder of their own.
class State : public testing::Test
{
protected:
    juce::TemporaryFile folderName;
    juce::File presetsFile;

    void SetUp() override
    {
        ASSERT_TRUE(folderName.getFile().createDirectory().wasOk());
        presetsFile = folderName.getFile().getChildFile(presets::fileName);
    }
    void TearDown() override { folderName.getFile().deleteRecursively(); }

    std::unique_ptr<BramblewayAudioProcessor> makeProcessor()
    {
        return std::make_unique<BramblewayAudioProcessor>(presetsFile);
    }

    static juce::MemoryBlock save(BramblewayAudioProcessor& processor)
    {
        juce::MemoryBlock block;
        processor.getStateInformation(block);
        return block;
    }
    static void restore(BramblewayAudioProcessor& processor, const juce::MemoryBlock& block)
    {
        processor.setStateInformation(block.getData(), (int) block.getSize());
    }
    static juce::MemoryBlock blockFromXml(const juce::String& xmlText)
    {
        juce::MemoryBlock block;
        juce::AudioProcessor::copyXmlToBinary(*juce::parseXML(xmlText), block);
        return block;
    }
    static void setCurve(BramblewayAudioProcessor& processor, int line, int stem,
                         const AutomationLine& points)
    {
        processor.editLineAutomation([&](auto& lines) { lines[(size_t) line][(size_t) stem] = points; });
    }
    static AutomationLine curve(BramblewayAudioProcessor& processor, int line, int stem)
    {
        return processor.lineAutomation[(size_t) line][(size_t) stem];
    }

    // Every parameter value and every curve, to compare two processors.
    struct Snapshot
    {
        std::vector<float> values;
        std::array<std::vector<AutomationLine>, numLines> curves;
        bool operator==(const Snapshot& other) const
        {
            return values == other.values && curves == other.curves;
        }
    };
    static Snapshot snapshot(BramblewayAudioProcessor& processor)
    {
        Snapshot s;
        for (auto* parameter : processor.getParameters())
            s.values.push_back(parameter->getValue());
        s.curves = processor.lineAutomation;
        return s;
    }

    static AutomationLine zigzag(int points, float phase)
    {
        AutomationLine line;
        for (int p = 0; p < points; ++p)
            line.emplace_back((float) p / (float) (points - 1), 0.5f + 0.4f * std::sin(phase + (float) p));
        return line;
    }
};
} // namespace

TEST_F(State, BlockIsTheFrameworksXmlBlockWithEveryCurve)
{
    auto processor = makeProcessor();
    const auto block = save(*processor);
    const auto* bytes = static_cast<const juce::uint8*>(block.getData());
    ASSERT_GT(block.getSize(), 9u);
    EXPECT_EQ(juce::ByteOrder::littleEndianInt(bytes), 0x21324356u);
    EXPECT_EQ((size_t) juce::ByteOrder::littleEndianInt(bytes + 4), block.getSize() - 9);
    EXPECT_EQ(bytes[block.getSize() - 1], 0);

    const auto text = juce::String::fromUTF8((const char*) bytes + 8, (int) block.getSize() - 9);
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Brambleway"))
        << text.substring(0, 80);
    EXPECT_EQ(text.indexOfChar('\n'), -1);

    const auto xml = juce::parseXML(text);
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getNumChildElements(), 598);
    EXPECT_EQ(xml->getChildElement(0)->getTagName(), "PARAM");
    int counts = 0, coordinates = 0;
    for (int i = 0; i < xml->getNumAttributes(); ++i)
    {
        const auto name = xml->getAttributeName(i);
        if (!name.startsWith("Mod") || name.startsWith("ModExact"))
            continue;
        if (name.endsWithChar('x') || name.endsWithChar('y'))
            ++coordinates;
        else
        {
            ++counts;
            EXPECT_EQ(xml->getStringAttribute(name), "2") << name;
        }
    }
    EXPECT_EQ(counts, 455);
    EXPECT_EQ(coordinates, 1820);
    EXPECT_DOUBLE_EQ(xml->getDoubleAttribute("ModCutOff31x"), 1.0);
    EXPECT_DOUBLE_EQ(xml->getDoubleAttribute("ModCutOff31y"), 0.5);
}

TEST_F(State, RoundTripsFreshAndDrawnSetUps)
{
    auto fresh = makeProcessor();
    auto target = makeProcessor();
    restore(*target, save(*fresh));
    EXPECT_TRUE(snapshot(*target) == snapshot(*fresh));
    for (int line = 0; line < numLines; ++line)
        for (int k = 0; k < numStems; ++k)
            ASSERT_EQ(curve(*target, line, k), flat);

    auto source = makeProcessor();
    setPlain(*source, "CutOff3", 1234.0f);
    setPlain(*source, "block217", 1.0f);
    setPlain(*source, "EFFECT0", 9.0f);
    setPlain(*source, "GLOBALDRYWET", 0.25f);
    setCurve(*source, 0, Stem::CutOff, zigzag(7, 0.0f));
    setCurve(*source, 3, Stem::LINEPAN, zigzag(3, 1.0f));
    setCurve(*source, 4, Stem::REPEATERDIVIDE, {{0.0f, 0.0f}, {0.5f, 0.0f}, {0.5f, 1.0f}, {1.0f, 1.0f}});
    // Curves whose keys coincide with their namesakes' keys.
    setCurve(*source, 2, Stem::DISTMODE, zigzag(25, 2.0f));
    setCurve(*source, 1, Stem::DISTMODE2, zigzag(3, 3.0f));
    setCurve(*source, 2, Stem::DISTMODE2, zigzag(4, 4.0f));

    auto restored = makeProcessor();
    restore(*restored, save(*source));
    EXPECT_TRUE(snapshot(*restored) == snapshot(*source));
    EXPECT_FLOAT_EQ(plainValue(*restored, "CutOff3"), 1234.0f);
    EXPECT_EQ(curve(*restored, 2, Stem::DISTMODE), zigzag(25, 2.0f));
    EXPECT_EQ(curve(*restored, 1, Stem::DISTMODE2), zigzag(3, 3.0f));
}

TEST_F(State, CraftedBlocksFollowTheRestoreRules)
{
    const AutomationLine before{{0.0f, 0.1f}, {0.4f, 0.9f}, {1.0f, 0.2f}};
    struct Case
    {
        const char* what;
        const char* attributes;  // on the root element
        AutomationLine expected; // of Q on line 2
    };
    const Case cases[] = {
        {"no count", "", before},
        {"count 0", "ModQ2=\"0\" ModQ20x=\"0.3\" ModQ20y=\"0.3\"", before},
        {"missing coordinates read 0",
         "ModQ2=\"3\" ModQ20x=\"0.25\"",
         {{0.25f, 0.0f}, {0.0f, 0.0f}, {0.0f, 0.0f}}},
        {"negative count empties", "ModQ2=\"-4\"", {}},
        {"leading digits count",
         "ModQ2=\"2abc\" ModQ20x=\"0\" ModQ20y=\"1\" ModQ21x=\"1\" ModQ21y=\"0\"",
         {{0.0f, 1.0f}, {1.0f, 0.0f}}},
        {"text is no count", "ModQ2=\"abc\"", before},
        {"names are case-sensitive", "modQ2=\"1\" MODQ2=\"1\"", before},
    };
    for (const auto& c : cases)
    {
        auto processor = makeProcessor();
        setCurve(*processor, 2, Stem::Q, before);
        restore(*processor, blockFromXml(juce::String("<Brambleway ") + c.attributes + "/>"));
        EXPECT_EQ(curve(*processor, 2, Stem::Q), c.expected) << c.what;
        EXPECT_EQ(curve(*processor, 1, Stem::Q), flat) << c.what;
    }
}

TEST_F(State, TagDecidesOnParametersButCurvesAreReadAnyway)
{
    struct Case
    {
        const char* tag;
        float cutOff; // expected CutOff0 afterwards
    };
    for (const auto& c :
         {Case{"Brambleway", 555.0f}, Case{"BRAMBLEWAY", 555.0f}, Case{"SomethingElse", 200.0f}})
    {
        auto processor = makeProcessor();
        const auto text =
            juce::String("<") + c.tag + " ModLINEPAN1=\"2\" ModLINEPAN10x=\"0\" ModLINEPAN10y=\"0\" " +
            "ModLINEPAN11x=\"1\" ModLINEPAN11y=\"1\"><PARAM id=\"CutOff0\" value=\"555\"/></" + c.tag + ">";
        restore(*processor, blockFromXml(text));
        EXPECT_FLOAT_EQ(plainValue(*processor, "CutOff0"), c.cutOff) << c.tag;
        EXPECT_EQ(curve(*processor, 1, Stem::LINEPAN), (AutomationLine{{0.0f, 0.0f}, {1.0f, 1.0f}})) << c.tag;
    }
}

TEST_F(State, GarbageChangesNothing)
{
    auto processor = makeProcessor();
    setPlain(*processor, "Q1", 0.7f);
    setCurve(*processor, 4, Stem::CutOff, zigzag(5, 0.5f));
    const auto before = snapshot(*processor);
    const auto valid = save(*processor);

    std::vector<juce::MemoryBlock> blocks;
    blocks.emplace_back(valid.getData(), 8);                   // header only
    blocks.emplace_back(valid.getData(), valid.getSize() / 2); // truncated text
    juce::MemoryBlock wrongMagic(valid);
    static_cast<char*>(wrongMagic.getData())[0] ^= 0x55;
    blocks.push_back(wrongMagic);
    for (const juce::int32 length : {0, -5})
    {
        juce::MemoryBlock withLength(valid);
        withLength.copyFrom(&length, 4, sizeof(length)); // little-endian machine, as the format
        blocks.push_back(withLength);
    }
    juce::MemoryBlock zeroText(valid);
    static_cast<char*>(zeroText.getData())[8] = 0;
    blocks.push_back(zeroText);
    juce::Random random(99);
    for (int i = 0; i < 20; ++i)
    {
        juce::MemoryBlock noise((size_t) random.nextInt(4000));
        random.fillBitsRandomly(noise.getData(), noise.getSize());
        blocks.push_back(noise);
    }

    for (const auto& block : blocks)
        restore(*processor, block);
    processor->setStateInformation(nullptr, 0);
    EXPECT_TRUE(snapshot(*processor) == before);
}

TEST_F(State, AHostileCountIsClamped)
{
    auto processor = makeProcessor();
    restore(*processor, blockFromXml("<Brambleway ModQ0=\"2000000000\"/>"));
    EXPECT_EQ(curve(*processor, 0, Stem::Q).size(), (size_t) presets::maxBreakpoints);
}

TEST_F(State, OldBlocksWithCoincidingNamesLoadAsBefore)
{
    auto processor = makeProcessor();
    restore(*processor,
            blockFromXml("<Brambleway ModDISTMODE2=\"11\" ModDISTMODE210x=\"0.75\" ModDISTMODE210y=\"0.5\" "
                         "ModDISTMODE21=\"1\"/>"));
    EXPECT_EQ(curve(*processor, 2, Stem::DISTMODE).size(), 11u);
    EXPECT_EQ(curve(*processor, 2, Stem::DISTMODE)[10], juce::Point<float>(0.75f, 0.5f));
    EXPECT_EQ(curve(*processor, 1, Stem::DISTMODE2), (AutomationLine{{0.75f, 0.5f}}));
}

TEST_F(State, RestoredCurvesDoNotLingerInTheTree)
{
    auto source = makeProcessor();
    setCurve(*source, 2, Stem::Q, zigzag(6, 0.0f));
    auto processor = makeProcessor();
    restore(*processor, save(*source));
    processor->initLineAutomation(2);

    const auto xml =
        juce::AudioProcessor::getXmlFromBinary(save(*processor).getData(), (int) save(*processor).getSize());
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getStringAttribute("ModQ2"), "2");
    EXPECT_FALSE(xml->hasAttribute("ModQ25x"));
    EXPECT_FALSE(processor->getParameterTree().state.hasProperty("ModQ2"));
}

TEST_F(State, RestoringLeavesProgramsAndTheirFileAlone)
{
    auto processor = makeProcessor();
    processor->saveProgram("One");
    processor->saveProgram("Two");
    processor->setCurrentProgram(2);
    const auto fileTime = presetsFile.getLastModificationTime();
    juce::MemoryBlock fileBefore;
    presetsFile.loadFileAsData(fileBefore);

    restore(*processor, save(*makeProcessor()));
    EXPECT_EQ(processor->getCurrentProgram(), 2);
    EXPECT_EQ(processor->getNumPrograms(), 3);
    juce::MemoryBlock fileAfter;
    presetsFile.loadFileAsData(fileAfter);
    EXPECT_EQ(fileBefore, fileAfter);
    EXPECT_EQ(presetsFile.getLastModificationTime(), fileTime);
}

//======================================================================================================

TEST_F(State, ProgramsAreInitAndEveryStoredPreset)
{
    auto empty = makeProcessor();
    EXPECT_EQ(empty->getNumPrograms(), 1);
    EXPECT_EQ(empty->getProgramName(0), "Init");
    EXPECT_FALSE(presetsFile.exists());

    setPlain(*empty, "CutOff1", 900.0f);
    empty->saveProgram("Low");
    setPlain(*empty, "CutOff1", 5000.0f);
    setPlain(*empty, "block13", 1.0f);
    setCurve(*empty, 1, Stem::CutOff, zigzag(5, 0.0f));
    empty->saveProgram("High");
    empty->saveProgram("Third");
    ASSERT_TRUE(presetsFile.existsAsFile()) << "the first save creates the file";

    auto processor = makeProcessor();
    ASSERT_EQ(processor->getNumPrograms(), 4);
    const char* names[] = {"Init", "Low", "High", "Third"};
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(processor->getProgramName(p), names[p]);

    processor->setCurrentProgram(2);
    EXPECT_EQ(processor->getCurrentProgram(), 2);
    EXPECT_FLOAT_EQ(plainValue(*processor, "CutOff1"), 5000.0f);
    EXPECT_FLOAT_EQ(plainValue(*processor, "block13"), 1.0f);
    EXPECT_EQ(curve(*processor, 1, Stem::CutOff), zigzag(5, 0.0f));

    processor->setCurrentProgram(1);
    EXPECT_FLOAT_EQ(plainValue(*processor, "CutOff1"), 900.0f);
    EXPECT_FLOAT_EQ(plainValue(*processor, "block13"), 0.0f);
    EXPECT_EQ(curve(*processor, 1, Stem::CutOff), flat);

    // Program 0 and numbers past the list change nothing at all.
    const auto before = snapshot(*processor);
    for (int p : {0, 4, -1, 99})
    {
        processor->setCurrentProgram(p);
        EXPECT_EQ(processor->getCurrentProgram(), 1) << p;
    }
    EXPECT_TRUE(snapshot(*processor) == before);
}

TEST_F(State, DeletingRewritesTheFile)
{
    auto processor = makeProcessor();
    for (auto* name : {"A", "B", "C"})
        processor->saveProgram(name);
    processor->deleteProgram(2);
    auto reader = makeProcessor();
    ASSERT_EQ(reader->getNumPrograms(), 3);
    EXPECT_EQ(reader->getProgramName(1), "A");
    EXPECT_EQ(reader->getProgramName(2), "C");
}

TEST_F(State, AProgramChosenOffTheMessageThreadIsAppliedThere)
{
    auto writer = makeProcessor();
    setPlain(*writer, "CutOff1", 4321.0f);
    writer->saveProgram("Bright");

    auto processor = makeProcessor();
    std::thread audio([&] { processor->setCurrentProgram(1); });
    audio.join();
    EXPECT_FLOAT_EQ(plainValue(*processor, "CutOff1"), 400.0f) << "nothing copied on the calling thread";
    testing_support::pumpMessages();
    EXPECT_FLOAT_EQ(plainValue(*processor, "CutOff1"), 4321.0f);
    EXPECT_EQ(processor->getCurrentProgram(), 1);
}

TEST_F(State, AProgramUndoesAChangeTheHostMadeJustBefore)
{
    auto processor = makeProcessor();
    processor->saveProgram("Defaults");
    // The tree's copy of CutOff1 still says 400 until its timer runs.
    setPlain(*processor, "CutOff1", 5000.0f);
    processor->setCurrentProgram(1);
    EXPECT_FLOAT_EQ(plainValue(*processor, "CutOff1"), 400.0f);
}
