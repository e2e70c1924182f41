// Writes the factory presets file that the build puts into the bundle. Each preset starts from the
// parameters' defaults and states only what makes it itself.

#include "ParameterLayout.h"
#include "PresetFunctions.h"

#include <iostream>

namespace
{
const AutomationLine flat{{0.0f, 0.5f}, {1.0f, 0.5f}};

float legalValue(const ParameterSpec& spec, float value)
{
    return juce::NormalisableRange<float>{spec.minimum, spec.maximum, spec.step, spec.skew}.snapToLegalValue(
        value);
}

const ParameterSpec& specOf(int stem)
{
    for (const auto* specs : {&perLineParameterSpecs(), &globalParameterSpecs()})
        for (const auto& spec : *specs)
            if (spec.stem == stem)
                return spec;
    jassertfalse;
    return perLineParameterSpecs().front();
}

class Preset
{
public:
    explicit Preset(const juce::String& name) : program(name)
    {
        for (int line = 0; line < numLines; ++line)
            for (const auto& spec : perLineParameterSpecs())
            {
                program.values[(size_t) line][(size_t) spec.stem] = legalValue(spec, spec.defaultFor(line));
                program.automation[(size_t) line][(size_t) spec.stem] = flat;
            }
        for (const auto& spec : globalParameterSpecs())
            program.values[0][(size_t) spec.stem] = legalValue(spec, spec.defaultValue);
        // Lines start silent and muted by nothing: a preset switches on what it uses.
        for (int line = 0; line < numLines; ++line)
            set(line, Stem::EFFECT, 0);
    }

    Preset& set(int line, int stem, float value)
    {
        program.values[(size_t) line][(size_t) stem] = legalValue(specOf(stem), value);
        return *this;
    }
    Preset& global(int stem, float value)
    {
        program.values[0][(size_t) stem] = legalValue(specOf(stem), value);
        return *this;
    }
    // One character per step: 'x' sounds, anything else rests.
    Preset& pattern(int line, const char* steps)
    {
        for (int block = 0; block < numBlocks && steps[block] != 0; ++block)
            program.blockStates[(size_t) line][(size_t) block] = steps[block] == 'x' ? 1 : 0;
        return *this;
    }
    // Points as (position in the loop, value -1..1); stored with y pointing down.
    Preset& curve(int line, int stem, std::initializer_list<std::pair<float, float>> points)
    {
        AutomationLine breakpoints;
        for (const auto& [x, value] : points)
            breakpoints.emplace_back(x, (1.0f - value) / 2.0f);
        program.automation[(size_t) line][(size_t) stem] = breakpoints;
        return *this;
    }

    BramblewayProgram program;
};

int note(const char* label)
{
    return myNotetUnitSA.indexOf(label);
}
int sync(const char* label)
{
    return syncValuesString.indexOf(label);
}

std::vector<BramblewayProgram> factoryPresets()
{
    using namespace Stem;
    std::vector<BramblewayProgram> list;

    // Reverb throws on the offbeats, a dotted delay, and the dry hits gated tight.
    list.push_back(Preset("Gated Hall")
                       .set(0, EFFECT, 1)
                       .pattern(0, "....x.......x...")
                       .set(0, REVERBROOMSIZE, 0.85f)
                       .set(0, REVERBWETLEVEL, 0.7f)
                       .set(0, REVERBDRYLEVEL, 0.3f)
                       .set(0, REVERBWIDTH, 1.0f)
                       .set(0, Dur, note("4n"))
                       .set(1, EFFECT, 2)
                       .pattern(1, "x.....x.....x...")
                       .set(1, DELAYSYNC, 1)
                       .set(1, DELAYTIMEDELAYSYNC, sync("3/4"))
                       .set(1, DELAYFEEDBACKDELAY, 0.55f)
                       .set(1, LINEPAN, -0.4f)
                       .set(2, EFFECT, 0)
                       .pattern(2, "x.x.x.x.x.x.x.x.")
                       .set(2, Dur, note("32n"))
                       .set(2, LINEPAN, 0.3f)
                       .global(GLOBALDRYWET, 0.8f)
                       .program);

    // Both repeater algorithms against each other, the second one panned and narrowing its slices.
    list.push_back(Preset("Stutter Engine")
                       .set(0, EFFECT, 9)
                       .set(0, REPEATERTYPE, 0)
                       .set(0, REPEATERDIVIDE, 16)
                       .pattern(0, "x...x...x.x.x...")
                       .set(0, Dur, note("8n"))
                       .set(0, REPEATERWINDOW, 0.1f)
                       .set(1, EFFECT, 9)
                       .set(1, REPEATERTYPE, 1)
                       .set(1, REPEATERDIVIDE, 32)
                       .pattern(1, "......x.......xx")
                       .set(1, Dur, note("8n"))
                       .set(1, LINEPAN, 0.5f)
                       .set(1, REPEATEFADOUT, 2.0f)
                       .curve(1, REPEATERDIVIDE, {{0.0f, -0.5f}, {1.0f, 0.5f}})
                       .set(2, EFFECT, 8)
                       .set(2, COBFILTERDELAY, 4.0f)
                       .set(2, COMBFILTERSYNC, 1)
                       .set(2, COMBFILTEROFFREQSYNC, sync("1/8"))
                       .pattern(2, "..x...x...x...x.")
                       .global(GlobalRestncBar, 2)
                       .program);

    // Resonant low-pass lines: one driven by its envelope, one by a synced LFO, one by a drawn sweep.
    list.push_back(Preset("Acid Filters")
                       .set(0, EFFECT, 0)
                       .set(0, FILTERTYPE, 0)
                       .set(0, CutOff, 300.0f)
                       .set(0, Q, 0.85f)
                       .set(0, ENVNAME, 0.7f)
                       .set(0, ATTACKNAME, 0.001f)
                       .set(0, DECAYNAME, 0.15f)
                       .set(0, SUSTAINNAME, 0.1f)
                       .pattern(0, "x.xx.x.xx.x.x.xx")
                       .set(0, Dur, note("16n"))
                       .set(1, EFFECT, 0)
                       .set(1, FILTERTYPE, 1)
                       .set(1, CutOff, 900.0f)
                       .set(1, Q, 0.6f)
                       .set(1, LFOSYNC, 1)
                       .set(1, LFOSYNCFREQ, sync("1/4"))
                       .set(1, LFODEPTH, 3.0f)
                       .set(1, LFOWAVETYPE, 2)
                       .pattern(1, "x...x...x...x...")
                       .set(1, Dur, note("4n"))
                       .set(1, LINEPAN, -0.5f)
                       .set(2, EFFECT, 0)
                       .set(2, FILTERTYPE, 2)
                       .set(2, CutOff, 2000.0f)
                       .set(2, Q, 0.4f)
                       .curve(2, CutOff, {{0.0f, -0.8f}, {0.75f, 0.6f}, {1.0f, -0.8f}})
                       .pattern(2, "..x...x...x...x.")
                       .set(2, LINEPAN, 0.5f)
                       .global(GLOBALDRYWET, 0.9f)
                       .program);

    // Musical pitch steps and glides, with a ring modulator tuned to A.
    list.push_back(Preset("Pitch Cascade")
                       .set(0, EFFECT, 7)
                       .set(0, PITCHMUSICALSET, 1)
                       .set(0, PITCHMUSICALOCTAVE, 1)
                       .pattern(0, "x.......x.......")
                       .set(1, EFFECT, 7)
                       .set(1, PITCHMUSICALSET, 1)
                       .set(1, PITCHMUSICALFINE, 7)
                       .pattern(1, "....x.......x...")
                       .set(2, EFFECT, 7)
                       .set(2, PITCHVALUE, -1.0f)
                       .set(2, PITCHSLIDEVALUE, 0.5f)
                       .pattern(2, "..x...x...x...x.")
                       .set(2, Dur, note("8n"))
                       .set(3, EFFECT, 12)
                       .set(3, RINGMUSICALSET, 1)
                       .set(3, RINGMUSICALNOTE, 9)
                       .set(3, RINGMUSICALOCTAVE, 5)
                       .set(3, RINGODEPTH, 0.8f)
                       .pattern(3, "x.x.x.x.x.x.x.x.")
                       .set(3, Dur, note("32n"))
                       .program);

    // Crunch on every line: both distortions in different modes and a bit-crusher.
    list.push_back(Preset("Dirt Bus")
                       .set(0, EFFECT, 5)
                       .set(0, DISTMODE, 1)
                       .set(0, DISTDRIVE, 12.0f)
                       .set(0, DISTMIX, 0.8f)
                       .pattern(0, "x...x...x...x...")
                       .set(1, EFFECT, 13)
                       .set(1, DISTMODE2, 6)
                       .set(1, DISTDRIVE2, 10.0f)
                       .set(1, DISTCUTOFF2, 6000.0f)
                       .curve(1, DISTDRIVE2, {{0.0f, -0.6f}, {0.5f, 0.6f}, {1.0f, -0.6f}})
                       .pattern(1, "..x...x...x...x.")
                       .set(2, EFFECT, 4)
                       .set(2, RATEDECIMATOR, 6.0f)
                       .set(2, BITDECIMATOR, 6)
                       .set(2, CUTOFFDECIMATOR, 5000.0f)
                       .pattern(2, ".x.x.x.x.x.x.x.x")
                       .set(2, Dur, note("32n"))
                       .global(GLOBALMIXVOLUME, -6.0f)
                       .program);

    // Moving textures: synced tremolo, a slow vibrato and a phaser, spread across the field.
    list.push_back(Preset("Wobble Motion")
                       .set(0, EFFECT, 11)
                       .set(0, TREMOLOSYNC, 1)
                       .set(0, TREMOLOFREQSYNC, sync("1/16"))
                       .set(0, TREMOLODEPTH, 0.9f)
                       .set(0, TREMOLOFWAVE, 1)
                       .pattern(0, "xxxxxxxx........")
                       .set(1, EFFECT, 10)
                       .set(1, VIBRATOLFOFREQ, 5.0f)
                       .set(1, VIBRATOWIDTH, 0.3f)
                       .pattern(1, "........xxxxxxxx")
                       .set(1, LINEPAN, 0.6f)
                       .set(2, EFFECT, 6)
                       .set(2, PHASERRATE, 0.4f)
                       .set(2, PHASERDEPTH, 0.9f)
                       .pattern(2, "x.x.x.x.x.x.x.x.")
                       .set(2, Dur, note("8n"))
                       .set(2, LINEPAN, -0.6f)
                       .curve(2, LINEPAN, {{0.0f, -1.0f}, {0.5f, 1.0f}, {1.0f, -1.0f}})
                       .program);

    // Flanged hits with a wide room behind them; the pan of both lines is drawn.
    list.push_back(Preset("Chorus Space")
                       .set(0, EFFECT, 3)
                       .set(0, CHORUSRATE, 0.3f)
                       .set(0, CHORUSDEPTH, 0.6f)
                       .set(0, CHORUSDELAY, 7.0f)
                       .set(0, CHORUSFEEDBACK, 0.4f)
                       .pattern(0, "x..x..x.x..x..x.")
                       .curve(0, LINEPAN, {{0.0f, -0.7f}, {1.0f, 0.7f}})
                       .set(1, EFFECT, 1)
                       .set(1, REVERBROOMSIZE, 0.95f)
                       .set(1, REVERBDAMPING, 0.2f)
                       .set(1, REVERBWIDTH, 1.0f)
                       .set(1, Speed, note("4n"))
                       .set(1, GridNum, 4)
                       .pattern(1, "x.x.")
                       .set(1, Dur, note("2n"))
                       .curve(1, LINEPAN, {{0.0f, 0.7f}, {1.0f, -0.7f}})
                       .global(GLOBALDRYWET, 0.7f)
                       .program);

    // Lo-fi transmission: crushed, ring-modulated and combed, with a square LFO on a band-pass.
    list.push_back(Preset("Broken Radio")
                       .set(0, EFFECT, 4)
                       .set(0, RATEDECIMATOR, 12.0f)
                       .set(0, BITDECIMATOR, 4)
                       .set(0, FILTERTYPE, 1)
                       .set(0, CutOff, 1500.0f)
                       .set(0, Q, 0.7f)
                       .set(0, LFOWAVETYPE, 1)
                       .set(0, LFOFREQ, 4.0f)
                       .set(0, LFODEPTH, 2.0f)
                       .set(0, FILTERAPPLYEFFECT, 1)
                       .pattern(0, "xxx.xxx.xxx.xx.x")
                       .set(1, EFFECT, 12)
                       .set(1, RINGLOFREQ, 700.0f)
                       .set(1, RINGODEPTH, 1.0f)
                       .pattern(1, "...x...x...x...x")
                       .curve(1, RINGLOFREQ, {{0.0f, -0.9f}, {0.3f, 0.2f}, {0.6f, -0.4f}, {1.0f, 0.9f}})
                       .set(2, EFFECT, 8)
                       .set(2, COBFILTERDELAY, 1.5f)
                       .set(2, COMBFILTEROFFREQ, 0.5f)
                       .set(2, COMBFILTEROFWAVE, 3)
                       .pattern(2, "x.......x.......")
                       .set(2, Dur, note("2n"))
                       .set(3, EFFECT, 13)
                       .set(3, DISTMODE2, 10)
                       .set(3, DISTDRIVE2, 4.0f)
                       .pattern(3, "....x.......x...")
                       .global(GLOBALMIXVOLUME, -4.0f)
                       .program);
    return list;
}
} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2)
    {
        std::cerr << "usage: brambleway-factory-presets OUTPUT.json\n";
        return 2;
    }
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile(juce::String::fromUTF8(argv[1]));
    if (!presets::writeFile(file, factoryPresets()))
    {
        std::cerr << "brambleway-factory-presets: cannot write " << file.getFullPathName() << "\n";
        return 1;
    }
    return 0;
}
