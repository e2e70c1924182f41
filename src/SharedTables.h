#pragma once

// The vocabulary every part of the plug-in shares. Hosts and preset files store choice indices and
// parameter IDs built from these tables, so no entry may ever move or change spelling.

#include <juce_audio_processors/juce_audio_processors.h>

#include <string>
#include <vector>

inline constexpr int numLines = 5;
inline constexpr int numBlocks = 32;
inline constexpr int maxChannels = 2;
inline constexpr int numEffectTypes = 14;
inline constexpr int numStems = 91;

inline const juce::StringArray midiNote{"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

inline const juce::StringArray interpolationItemsUI{"None", "Linear", "Cubic"};

inline const juce::StringArray LFOWaveName{"SIN", "SQR", "SAW", "INV"};

inline const juce::StringArray syncValuesString{"1/32", "1/24", "1/16", "1/12", "1/8", "1/6",
                                                "1/4",  "1/3",  "1/2",  "2/3",  "3/4", "1"};

// Fractions of a whole note, index for index with syncValuesString.
inline const double syncValues[12] = {0.03125, 1.0 / 24.0, 0.0625, 1.0 / 12.0, 0.125, 1.0 / 6.0,
                                      0.25,    1.0 / 3.0,  0.5,    2.0 / 3.0,  0.75,  1.0};

#define BRAMBLEWAY_NOTE_UNITS                                                                                \
    "1nd", "1n", "1nt", "2nd", "2n", "2nt", "4nd", "4n", "4nt", "8nd", "8n", "8nt", "16nd", "16n", "16nt",   \
        "32nd", "32n", "32nt", "64nd", "64n", "64nt", "128nd", "128n", "128nt"

// Dotted, plain and triplet for each power of two, from the whole note down to the 128th.
inline const std::vector<juce::String> myNotetUnit{BRAMBLEWAY_NOTE_UNITS};
inline const juce::StringArray myNotetUnitSA{BRAMBLEWAY_NOTE_UNITS};
#undef BRAMBLEWAY_NOTE_UNITS

inline const juce::StringArray repeaterTypeString{"Algorithm 1", "Algorithm 2"};

inline const juce::StringArray distChoicesStr{"Soft",  "ArcTan", "Hard",     "Square",
                                              "Cubic", "FoldB",  "gloubiApp"};

inline const juce::StringArray dist2ChoicesStr{"ByPass",      "AnalogClip 1", "AnalogClip 2", "Hard Clip",
                                               "Hard Analog", "Rectifier",    "FoldBack",     "Non Linear 1",
                                               "Sqr root",    "Non Linear 2", "Waveshaper 1", "Waveshaper 2"};

inline const juce::StringArray filterChoicesStr{"LowPass", "BandPass", "HighPass", "NoFilter"};

// The index is the EFFECT parameter's value and the slot in the processor's effect routine table.
inline const juce::StringArray effectChoicesStr{
    "NO EFFECT",   "REVERB",     "DELAY",    "CHORUS-FLANGER", "DECIMATOR", "Obs-DIST",  "PHASER",
    "PITCH SHIFT", "COMBFILTER", "REPEATER", "VIBRATO",        "TREMOLO",   "RING MOD.", "DISTORTION"};

// One list yields both the stem strings and the named stem indices, so the two can never disagree.
// clang-format off
#define BRAMBLEWAY_STEMS(X) \
    /*  0 */ X(block) X(Speed) X(Dur) X(GridNum) X(LineVolume) X(EFFECT) \
    /*  6 */ X(GlobalRestncBar) X(CutOff) X(Q) X(ATTACKNAME) X(DECAYNAME) X(SUSTAINNAME) \
    /* 12 */ X(RELEASENAME) X(ENVNAME) X(FILTERTYPE) X(CHORUSRATE) X(CHORUSDEPTH) X(CHORUSDELAY) \
    /* 18 */ X(CHORUSFEEDBACK) X(CHORUSMIX) X(REVERBROOMSIZE) X(REVERBDAMPING) X(REVERBWETLEVEL) X(REVERBDRYLEVEL) \
    /* 24 */ X(REVERBWIDTH) X(DELAYDREYWETDELAY) X(DELAYTIMEDELAY) X(DELAYTIMEDELAYSYNC) X(DELAYFEEDBACKDELAY) X(DELAYSYNC) \
    /* 30 */ X(PHASERDEPTH) X(PHASERPEEDBAC) X(PHASERMIX) X(PHASERDECAY) X(PHASERRATE) X(DISTMODE) \
    /* 36 */ X(DISTDRIVE) X(DISTMIX) X(DISTTRESHOLD) X(PITCHVALUE) X(RATEDECIMATOR) X(BITDECIMATOR) \
    /* 42 */ X(COBFILTERDELAY) X(REPEATERDIVIDE) X(PITCHSLIDEVALUE) X(GLOBALMIXVOLUME) X(LINEPAN) X(SOLOSELECT) \
    /* 48 */ X(LFOFREQ) X(LFODEPTH) X(LFOWAVETYPE) X(LFOSYNC) X(LFOSYNCFREQ) X(REPEATEFADOUT) \
    /* 54 */ X(FILTERAPPLYEFFECT) X(LINEVOLATTACK) X(LINEVOLDECAY) X(TREMOLOFWAVE) X(TREMOLOFREQ) X(TREMOLODEPTH) \
    /* 60 */ X(RINGLOFWAVE) X(RINGLOFREQ) X(RINGODEPTH) X(VIBRATOWIDTH) X(VIBRATOLFOFREQ) X(VIBRATOLFOWAVE) \
    /* 66 */ X(VIBRATOINTERPOLATION) X(TREMOLOSYNC) X(TREMOLOFREQSYNC) X(GLOBALDRYWET) X(RINGMUSICALSET) X(RINGMUSICALNOTE) \
    /* 72 */ X(RINGMUSICALOCTAVE) X(RINGMUSICALFINE) X(PITCHMUSICALSET) X(PITCHMUSICALOCTAVE) X(PITCHMUSICALFINE) X(REVERBINST) \
    /* 78 */ X(DISTMODE2) X(DISTDRIVE2) X(DISTMIX2) X(DISTTRESHOLD2) X(DISTCUTOFF2) X(CUTOFFDECIMATOR) \
    /* 84 */ X(COMBFILTEROFWAVE) X(COMBFILTERDEPTH) X(COMBFILTEROFFREQ) X(COMBFILTEROFFREQSYNC) X(COMBFILTERSYNC) X(REPEATERTYPE) \
    /* 90 */ X(REPEATERWINDOW)
// clang-format on

// Stem indices: Stem::CutOff is the index of "CutOff" in valueTreeNames.
namespace Stem
{
#define BRAMBLEWAY_STEM_ENUM(name) name,
enum Index : int
{
    BRAMBLEWAY_STEMS(BRAMBLEWAY_STEM_ENUM)
};
#undef BRAMBLEWAY_STEM_ENUM
} // namespace Stem

#define BRAMBLEWAY_STEM_STRING(name) #name,
inline const juce::StringArray valueTreeNames{BRAMBLEWAY_STEMS(BRAMBLEWAY_STEM_STRING)};
#undef BRAMBLEWAY_STEM_STRING

inline const std::vector<std::string> topLabel{"Solo", "G R I D S", "#Grid",   "Speed", "Duration",
                                               "Vol",  "Pan",       "Effects", "A",     "D"};

inline const juce::String ptrSTR{"Mod"};
inline const juce::String savedPresetNoStr{"savedPresetNo"};
inline const juce::Identifier savedPresetNoIdent{savedPresetNoStr};

// Editor palette (ARGB).
inline const juce::Colour backgroundColor{0xFF191919};
inline const juce::Colour colourarray[8] = {
    juce::Colour{0xB2ADD8E6}, juce::Colour{0xB2D3D2B5}, juce::Colour{0xB2FFF2CC}, juce::Colour{0xB291C7AD},
    juce::Colour{0xB2C79193}, juce::Colour{0xB2ADD8E6}, juce::Colour{0xB2ADD8E6}, juce::Colour{0xB2ADD8E6}};
inline const juce::Colour randOutlineColor{0x4CFF00FF};
inline const juce::Colour myButtonColour{0x40000000};
inline const juce::Colour myRandButtonTextColour{0xFFFFF2CC};
inline const juce::Colour myPopupColour{0xFF000000};
inline const juce::Colour myComboBoxColour{0xFFD3D3D3};
inline const juce::Colour myAmoothGraphicColour{0xB2FFA500};
inline const juce::Colour myBorderColour{0xFF000000};
inline const juce::Colour buttonsDefaultColours{0xFF555555};
