#include "ParameterLayout.h"

namespace
{
using K = ParameterKind;

ParameterSpec boolean(int stem)
{
    return {stem, K::boolean, 0.0f, 1.0f, 0.0f};
}
ParameterSpec integer(int stem, int lo, int hi, int def)
{
    return {stem, K::integer, (float) lo, (float) hi, (float) def, nullptr, 1.0f};
}
ParameterSpec choice(int stem, const juce::StringArray& items, int def)
{
    return {stem, K::choice, 0.0f, (float) (items.size() - 1), (float) def, &items, 1.0f};
}
ParameterSpec real(int stem, float lo, float hi, float def)
{
    return {stem, K::real, lo, hi, def};
}
ParameterSpec skewed(int stem, float lo, float hi, float def, float step, float skew)
{
    return {stem, K::real, lo, hi, def, nullptr, step, skew};
}
ParameterSpec meta(int stem, float lo, float hi, float def)
{
    return {stem, K::metaReal, lo, hi, def};
}

// Skews that put the geometric mean of the range at the middle of the knob.
constexpr float cutOffSkew = 0.19889385f;
constexpr float highCutSkew = 0.25506973f;

ParameterSpec withLineDefault(ParameterSpec spec, float (*lineDefault)(int))
{
    spec.lineDefault = lineDefault;
    return spec;
}
} // namespace

const std::vector<ParameterSpec>& perLineParameterSpecs()
{
    using namespace Stem;
    static const std::vector<ParameterSpec> specs{
        choice(Speed, myNotetUnitSA, 13),
        choice(Dur, myNotetUnitSA, 13),
        integer(GridNum, 1, 32, 16),
        real(LineVolume, -100.0f, 6.0f, -3.0f),
        real(LINEPAN, -1.0f, 1.0f, 0.0f),
        // A new instance shows REVERB, DELAY, CHORUS-FLANGER, DECIMATOR and Obs-DIST.
        withLineDefault(choice(EFFECT, effectChoicesStr, 1), [](int line) { return (float) (line + 1); }),
        withLineDefault(skewed(CutOff, 20.0f, 20000.0f, 200.0f, 1.0f, cutOffSkew),
                        [](int line) { return 200.0f * (float) (1 << line); }),
        real(Q, 0.01f, 0.99f, 0.2f),
        real(ATTACKNAME, 0.001f, 1.0f, 0.001f),
        skewed(DECAYNAME, 0.001f, 1.0f, 0.2f, 0.01f, 1.5f),
        real(SUSTAINNAME, 0.001f, 1.0f, 0.7f),
        real(RELEASENAME, 0.1f, 5.0f, 0.1f),
        real(ENVNAME, 0.0f, 0.9f, 0.1f),
        choice(FILTERTYPE, filterChoicesStr, 3),
        real(CHORUSRATE, 0.0f, 30.0f, 0.5f),
        real(CHORUSDEPTH, 0.0f, 1.0f, 0.3f),
        real(CHORUSDELAY, 0.0f, 50.0f, 0.1f),
        real(CHORUSFEEDBACK, -0.99f, 0.99f, 0.6f),
        real(CHORUSMIX, 0.0f, 1.0f, 1.0f),
        real(REVERBROOMSIZE, 0.0f, 1.0f, 0.3f),
        real(REVERBDAMPING, 0.0f, 1.0f, 0.4f),
        real(REVERBWETLEVEL, 0.0f, 1.0f, 0.5f),
        real(REVERBDRYLEVEL, 0.0f, 1.0f, 0.5f),
        real(REVERBWIDTH, 0.0f, 1.0f, 0.4f),
        boolean(REVERBINST),
        real(DELAYDREYWETDELAY, 0.0f, 1.0f, 0.4f),
        real(DELAYTIMEDELAY, 0.0f, 1.0f, 0.5f),
        choice(DELAYTIMEDELAYSYNC, syncValuesString, 3),
        real(DELAYFEEDBACKDELAY, 0.0f, 1.0f, 0.4f),
        boolean(DELAYSYNC),
        real(PHASERDEPTH, 0.0f, 0.99f, 0.65f),
        real(PHASERPEEDBAC, -1.0f, 0.99f, 0.75f),
        real(PHASERMIX, 0.0f, 1.0f, 1.0f),
        real(PHASERDECAY, 0.0f, 100.0f, 90.0f),
        real(PHASERRATE, 0.0f, 5.0f, 1.0f),
        choice(DISTMODE, distChoicesStr, 0),
        real(DISTDRIVE, 0.0f, 25.0f, 5.0f),
        real(DISTMIX, 0.0f, 1.0f, 0.5f),
        real(DISTTRESHOLD, 0.0f, 1.0f, 0.5f),
        choice(DISTMODE2, dist2ChoicesStr, 3),
        real(DISTDRIVE2, 0.0f, 25.0f, 15.0f),
        real(DISTMIX2, 0.0f, 1.0f, 0.5f),
        real(DISTTRESHOLD2, 0.0f, 1.0f, 0.75f),
        skewed(DISTCUTOFF2, 100.0f, 20000.0f, 20000.0f, 1.0f, highCutSkew),
        real(PITCHVALUE, -3.0f, 3.0f, 0.0f),
        boolean(PITCHMUSICALSET),
        integer(PITCHMUSICALOCTAVE, -3, 3, 0),
        integer(PITCHMUSICALFINE, -12, 12, 0),
        real(RATEDECIMATOR, 1.0f, 30.0f, 10.0f),
        integer(BITDECIMATOR, 1, 16, 16),
        skewed(CUTOFFDECIMATOR, 100.0f, 20000.0f, 20000.0f, 1.0f, highCutSkew),
        real(COBFILTERDELAY, 0.0f, 10.0f, 2.0f),
        choice(COMBFILTEROFWAVE, LFOWaveName, 0),
        real(COMBFILTEROFFREQ, 0.0f, 50.0f, 2.0f),
        real(COMBFILTERDEPTH, 0.0f, 1.0f, 0.5f),
        boolean(COMBFILTERSYNC),
        choice(COMBFILTEROFFREQSYNC, syncValuesString, 3),
        integer(REPEATERDIVIDE, 1, 64, 16),
        real(REPEATERWINDOW, 0.001f, 0.5f, 0.25f),
        choice(REPEATERTYPE, repeaterTypeString, 0),
        real(PITCHSLIDEVALUE, -3.0f, 3.0f, 0.0f),
        boolean(SOLOSELECT),
        real(LFOFREQ, 0.0f, 10.0f, 1.0f),
        real(LFODEPTH, 0.0f, 10.0f, 0.01f),
        choice(LFOWAVETYPE, LFOWaveName, 0),
        boolean(LFOSYNC),
        choice(LFOSYNCFREQ, syncValuesString, 3),
        real(REPEATEFADOUT, 0.0f, 10.0f, 0.01f),
        boolean(FILTERAPPLYEFFECT),
        meta(LINEVOLATTACK, 0.0f, 1.0f, 0.01f),
        meta(LINEVOLDECAY, 0.0f, 1.0f, 0.01f),
        choice(TREMOLOFWAVE, LFOWaveName, 0),
        real(TREMOLOFREQ, 0.0f, 50.0f, 2.0f),
        real(TREMOLODEPTH, 0.0f, 1.0f, 0.5f),
        boolean(TREMOLOSYNC),
        choice(TREMOLOFREQSYNC, syncValuesString, 3),
        choice(RINGLOFWAVE, LFOWaveName, 0),
        real(RINGLOFREQ, 0.0f, 10000.0f, 1000.0f),
        real(RINGODEPTH, 0.0f, 1.0f, 0.5f),
        boolean(RINGMUSICALSET),
        choice(RINGMUSICALNOTE, midiNote, 0),
        integer(RINGMUSICALOCTAVE, 2, 9, 4),
        real(RINGMUSICALFINE, -100.0f, 100.0f, 0.0f),
        choice(VIBRATOLFOWAVE, LFOWaveName, 0),
        choice(VIBRATOINTERPOLATION, interpolationItemsUI, 0),
        real(VIBRATOLFOFREQ, 0.0f, 40.0f, 0.01f),
        real(VIBRATOWIDTH, 0.0f, 1.0f, 0.01f),
    };
    jassert(specs.size() == 87);
    return specs;
}

const std::vector<ParameterSpec>& globalParameterSpecs()
{
    static const std::vector<ParameterSpec> specs{
        integer(Stem::GlobalRestncBar, 1, 32, 1),
        real(Stem::GLOBALMIXVOLUME, -48.0f, 6.0f, -3.0f),
        real(Stem::GLOBALDRYWET, 0.0f, 1.0f, 1.0f),
    };
    return specs;
}

juce::String lineParameterID(int stem, int line)
{
    return valueTreeNames[stem] + juce::String(line);
}

juce::String blockParameterID(int line, int block)
{
    return valueTreeNames[Stem::block] + juce::String(line) + juce::String(block);
}

std::unique_ptr<juce::RangedAudioParameter> makeParameter(const ParameterSpec& spec, const juce::String& id,
                                                          int line)
{
    const juce::ParameterID pid{id, 1};
    const float def = spec.defaultFor(line);
    const juce::NormalisableRange<float> range{spec.minimum, spec.maximum, spec.step, spec.skew};

    switch (spec.kind)
    {
    case ParameterKind::boolean:
        return std::make_unique<juce::AudioParameterBool>(pid, id, def >= 0.5f);
    case ParameterKind::integer:
        return std::make_unique<juce::AudioParameterInt>(pid, id, (int) spec.minimum, (int) spec.maximum,
                                                         (int) def);
    case ParameterKind::choice:
        return std::make_unique<juce::AudioParameterChoice>(pid, id, *spec.choices, (int) def);
    case ParameterKind::real:
        return std::make_unique<juce::AudioParameterFloat>(pid, id, range, def);
    case ParameterKind::metaReal:
        return std::make_unique<MetaParameter<juce::AudioParameterFloat>>(pid, id, range, def);
    }
    jassertfalse;
    return nullptr;
}

std::unique_ptr<juce::RangedAudioParameter> makeBlockParameter(int line, int block)
{
    const auto id = blockParameterID(line, block);
    return std::make_unique<juce::AudioParameterBool>(juce::ParameterID{id, 1}, id, false);
}
