// Renders the editor to a PNG in the build folder for people to look at, and checks a few pixels whose
// colours follow from the drawing rules alone.

#include "EditorFixture.h"

namespace
{
const juce::Colour rowFill{0xFF222222};
const juce::Colour selectedRowFill{0xFF181818};

void expectColourNear(juce::Colour actual, juce::Colour expected, int tolerance, const char* what)
{
    const auto near = [tolerance](juce::uint8 a, juce::uint8 b)
    { return std::abs((int) a - (int) b) <= tolerance; };
    EXPECT_TRUE(near(actual.getAlpha(), expected.getAlpha()) && near(actual.getRed(), expected.getRed()) &&
                near(actual.getGreen(), expected.getGreen()) && near(actual.getBlue(), expected.getBlue()))
        << what << ": got " << actual.toDisplayString(true) << ", expected "
        << expected.toDisplayString(true);
}
} // namespace

TEST_F(EditorTest, PaintsRowsBlocksEnvelopesAndMeters)
{
    // Row 0: block 0 on with speed 16n and duration 8n, so its envelope spans two block pitches (30 px
    // each at 16 blocks); block 3 on. Row 1 selected. Row 4's left meter full, its right one empty.
    setBlock(0, 0, true);
    setBlock(0, 3, true);
    setPlain(Stem::Dur, 0, (float) myNotetUnitSA.indexOf("8n"));
    ASSERT_EQ(plain(Stem::Speed, 0), (float) myNotetUnitSA.indexOf("16n"));
    editor->selectLine(1);
    processor.meterLevels[4][0] = 6.0f;
    processor.meterLevels[4][1] = -100.0f;

    const auto image = editor->createComponentSnapshot(editor->getLocalBounds(), true, 1.0f);
    const auto file = juce::File(BRAMBLEWAY_SNAPSHOT_DIR).getChildFile("editor.png");
    file.deleteFile();
    {
        juce::FileOutputStream out(file);
        ASSERT_TRUE(out.openedOk());
        ASSERT_TRUE(juce::PNGImageFormat().writeImageToStream(image, out));
    }
    EXPECT_GT(file.getSize(), 0);
    ASSERT_EQ(image.getWidth(), 1040);
    ASSERT_EQ(image.getHeight(), 550);

    // The default look-and-feel draws a toggled block in its on colour at 0.9 times the saturation.
    const auto blockOn = rowFill.overlaidWith(colourarray[0].withMultipliedSaturation(0.9f));
    const auto envelope = rowFill.overlaidWith(colourarray[0]);

    struct Case
    {
        const char* what;
        int x, y; // editor coordinates: rows start at (4, 20 + 40 * line), the strip at x 65 of a row
        juce::Colour expected;
    };
    const Case cases[] = {
        {"selected row fill", 4 + 30, 60 + 5, selectedRowFill},
        {"row fill", 4 + 30, 20 + 5, rowFill},
        {"block on", 4 + 67 + 1 + 3 * 30 + 14, 20 + 26, blockOn},
        {"block off", 4 + 67 + 1 + 4 * 30 + 14, 20 + 26, buttonsDefaultColours},
        {"envelope inside its second pitch", 4 + 65 + 3 + 45, 20 + 6, envelope},
        {"after the envelope", 4 + 65 + 3 + 75, 20 + 6, rowFill},
        {"left meter full", 4 + 742 + 1, 180 + 20, juce::Colour(0xFF32CD32)},
        {"right meter empty", 4 + 742 + 6, 180 + 20, rowFill},
        {"all-lines strip fill", 600, 220 + 55, juce::Colour(0xFF101010)},
    };
    for (const auto& c : cases)
        expectColourNear(image.getPixelAt(c.x, c.y), c.expected, 2, c.what);
}

TEST_F(EditorTest, StripShowsNoteProgressAndPlayheadOnlyWhileTheHostPlays)
{
    // Row 1, 16 blocks 30 px apart from x 3 of the strip, speed and duration both 16n: a note one pitch
    // long started at step 4 and is half done; the playhead is half-way through step 2.
    processor.blockStartStep[1] = 4;
    processor.blockSampleCounter[1] = 50;
    processor.blockLengthSamples[1] = 100;
    processor.currentStep[1] = 2;
    processor.stepSampleCounter[1] = 50;
    processor.stepLengthSamples[1] = 100;

    auto& strip = *editor->grids[1]->strip;
    const juce::Point<int> insideProgress{3 + 4 * 30 + 7, 6}; // progress spans 15 px from x 123
    const juce::Point<int> onPlayhead{3 + 40, 11};            // the glow runs 76 px from x 3 along y 11..12
    const juce::Point<int> pastPlayhead{3 + 76 + 12, 11};
    const juce::Colour bar{0xFF555555};

    for (const bool playing : {false, true})
    {
        processor.wasPlaying = playing;
        const auto image = strip.createComponentSnapshot(strip.getLocalBounds(), true, 1.0f);
        const auto progress = image.getPixelAt(insideProgress.x, insideProgress.y);
        const auto playhead = image.getPixelAt(onPlayhead.x, onPlayhead.y);

        if (playing)
        {
            expectColourNear(progress, juce::Colours::orange, 2, "note progress");
            EXPECT_GT(playhead.getRed(), bar.getRed() + 40) << playhead.toDisplayString(true);
            EXPECT_GT(playhead.getGreen(), bar.getGreen() + 40) << playhead.toDisplayString(true);
            EXPECT_LE(playhead.getBlue(), bar.getBlue()) << playhead.toDisplayString(true);
        }
        else
        {
            EXPECT_EQ(progress.getAlpha(), 0) << "the strip draws nothing there when stopped";
            expectColourNear(playhead, bar, 0, "bar without playhead");
        }
        expectColourNear(image.getPixelAt(pastPlayhead.x, pastPlayhead.y), bar, 0, "bar past the playhead");
    }
}

TEST_F(EditorTest, ShowsWhatTheRunningEngineReports)
{
    // 120 bpm at 48 kHz with speed and duration 16n: a step and a note last 6000 samples. Line 0 plays a
    // note at step 1; after 11264 samples it is 5264 samples, about 0.88, into that note.
    setBlock(0, 1, true);
    processor.prepareToPlay(48000.0, 1024);
    testing_support::FakePlayHead playHead;
    processor.setPlayHead(&playHead);
    juce::AudioBuffer<float> audio(2, 1024);
    juce::MidiBuffer midi;
    for (int block = 0; block < 11; ++block)
    {
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < 1024; ++i)
                audio.setSample(channel, i, 0.5f * std::sin(0.05f * (float) (block * 1024 + i)));
        processor.processBlock(audio, midi);
        playHead.samplePosition += 1024;
    }
    processor.setPlayHead(nullptr);

    const auto image = editor->createComponentSnapshot(editor->getLocalBounds(), true, 1.0f);
    struct Case
    {
        const char* what;
        int x, y;
        juce::Colour expected;
    };
    const Case cases[] = {
        // The progress rectangle starts at block 1 (x 33 of the strip) and is 26 px wide.
        // Its top rows, away from the glow of the playhead along the bottom.
        {"note progress on line 0", 4 + 65 + 45, 20 + 5, juce::Colours::orange},
        // Bottom pixels of the meters, above the row's border line.
        {"line 0 meter shows a level", 4 + 742 + 1, 20 + 38, juce::Colour(0xFF32CD32)},
        {"silent line 4 meter is empty", 4 + 742 + 1, 180 + 38, rowFill},
    };
    for (const auto& c : cases)
        expectColourNear(image.getPixelAt(c.x, c.y), c.expected, 2, c.what);
}
