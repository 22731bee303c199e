#include "effects/squeezr/squeezr.h"

#include "effects/squeezr/CSqueezrVSTEditor.h"

#include "effectbase/DenormalGuard.h"
#include "effects/squeezr/PeakSensor.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
// Dirty flags are published after the values they announce, so the rebuild never reads older ones.
constexpr auto publish = std::memory_order_release;
constexpr auto take = std::memory_order_acquire;

constexpr float kMeterDecay = 0.7f;

static_assert(std::atomic<float>::is_always_lock_free && std::atomic<std::int32_t>::is_always_lock_free);

// A power of a float base and exponent, rounded once to a float.
float powRounded(float base, float exponent)
{
    return static_cast<float>(std::pow(static_cast<double>(base), static_cast<double>(exponent)));
}

// The factor per sample that multiplies up to `change` over so many samples.
float perSampleFactor(float change, float samples)
{
    return powRounded(change, 1.0f / samples);
}

// Largest magnitude in a buffer for a peak meter; infinities and NaN leave the meter alone.
// Done on the bit patterns, where the magnitudes of finite floats order like integers: that way
// the compiler can run it four or eight samples at a time.
float finitePeak(const float* x, VstInt32 frames)
{
    constexpr std::int32_t kInfinityBits = 0x7f800000;
    std::int32_t peak = 0;
    for (VstInt32 i = 0; i < frames; ++i) {
        const std::int32_t bits = std::bit_cast<std::int32_t>(x[i]) & 0x7fffffff;
        const std::int32_t finite = bits < kInfinityBits ? bits : 0;
        peak = finite > peak ? finite : peak;
    }
    return std::bit_cast<float>(peak);
}

// Two channels: each meter keeps its own block maximum.
void raiseMeters(std::atomic<float>& left, std::atomic<float>& right, float maxL, float maxR)
{
    left.store(sample_math::larger(left.load(relaxed), maxL), relaxed);
    right.store(sample_math::larger(right.load(relaxed), maxR), relaxed);
}

// One channel feeds both meters of a pair, judged against the left one.
void raiseJoinedMeters(std::atomic<float>& left, std::atomic<float>& right, float max)
{
    if (max > left.load(relaxed)) {
        left.store(max, relaxed);
        right.store(max, relaxed);
    }
}

} // namespace

squeezr::squeezr(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, kNumPrograms, kNumParams)
{
    for (SqueezrProgram& p : programs)
        for (VstInt32 i = 0; i < kNumParams; ++i)
            p.values[SqueezrProgram::kSlotOfParameter[i]].store(kParameters[i].toHost(kParameters[i].initial), relaxed);
    updateMeterDecayLimit();

    // Program 0 replaces the placeholders; its threshold differs from 1.0, so the first block
    // builds the knee edges and the curve.
    setProgram(0);

    setNumInputs(2);
    setNumOutputs(2);
    hasVu(true);
    canProcessReplacing(true);
    setUniqueID(fourCharCode('s', 'q', 'z', 'r'));
    new CSqueezrVSTEditor(this);  // registers itself; the effect owns it
}

squeezr::~squeezr() = default;

void squeezr::resume()
{
    stereo.store(isInputConnected(1) ? 1 : 0, relaxed);
    // The rate may have changed since the knobs were last touched.
    updateAttackCoef();
    updateReleaseCoef();
    updateMeterDecayLimit();
}

void squeezr::setSampleRate(float newRate)
{
    AudioEffectX::setSampleRate(newRate);
    updateMeterDecayLimit();
}

void squeezr::setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate)
{
    AudioEffectX::setBlockSizeAndSampleRate(newBlockSize, newSampleRate);
    updateMeterDecayLimit();
}

bool squeezr::setBypass(bool on)
{
    bypass.store(on ? 1 : 0, relaxed);
    return on;
}

// The parameter mappings below are float arithmetic, one rounding per step, as hosts and stored
// programs have always seen them: the initial program's ratio comes out as exactly 1 that way.

// The envelope may rise 20 dB (a factor of 10) in the attack time and fall 20 dB in the release time.
void squeezr::updateAttackCoef()
{
    constexpr float kSecondsPerMs = 0.001f;
    attackCoef.store(perSampleFactor(10.0f, unit(kAttack) * kSecondsPerMs * effectiveSampleRate()), relaxed);
}

void squeezr::updateReleaseCoef()
{
    releaseCoef.store(perSampleFactor(0.1f, unit(kRelease) * effectiveSampleRate()), relaxed);
}

void squeezr::updateMeterDecayLimit()
{
    const double limit = static_cast<double>(effectiveSampleRate()) * 0.1;
    meterDecayLimit.store(limit < 2147483647.0 ? static_cast<std::int32_t>(limit) : 2147483647, relaxed);
}

// ---------------------------------------------------------------------------------------------
// Parameters and programs

void squeezr::setParameter(VstInt32 index, float value)
{
    const bool known = index >= 0 && index < kNumParams;
    if (!sanitizeParameter(value)) {
        value = known ? getParameter(index) : 0.0f; // ignored: the editor is told the value that stands
    } else if (known) {
        const float newUnit = kParameters[index].toUnit(value);
        // A repeated value changes nothing, not even the program; switches are always taken.
        if (kParameters[index].isSwitch() || newUnit != unit(index)) {
            programs[curProgram.load(relaxed)].values[SqueezrProgram::kSlotOfParameter[index]].store(value, relaxed);
            units[index].store(newUnit, relaxed);
            deriveFrom(index);
        }
    }
    if (editor) editor->setParameter(index, value);
}

// What the processing needs from a parameter that has just changed.
void squeezr::deriveFrom(VstInt32 index)
{
    switch (index) {
    case kRatio:
        ratio.store(ParameterInfo::ratioOf(unit(kRatio)), relaxed);
        curveDirty.store(1, publish);
        break;
    case kThreshold:
    case kKnee:
        thresholdDirty.store(1, publish);
        break;
    case kAttack:
        updateAttackCoef();
        break;
    case kRelease:
        updateReleaseCoef();
        break;
    case kMakeup:
        makeupGain.store(powRounded(10.0f, unit(kMakeup) * 0.05f), relaxed);
        break;
    default:
        break; // read as they stand by the audio thread
    }
}

float squeezr::getParameter(VstInt32 index)
{
    return index >= 0 && index < kNumParams ? kParameters[index].toHost(unit(index)) : 0.0f;
}

void squeezr::getParameterName(VstInt32 index, char* text)
{
    if (text && index >= 0 && index < kNumParams) vst_strncpy(text, kParameters[index].name, kVstMaxParamStrLen - 1);
}

void squeezr::getParameterLabel(VstInt32 index, char* text)
{
    if (text && index >= 0 && index < kNumParams) vst_strncpy(text, kParameters[index].label, kVstMaxParamStrLen - 1);
}

void squeezr::getParameterDisplay(VstInt32 index, char* text)
{
    if (text && index >= 0 && index < kNumParams) kParameters[index].format(unit(index), text);
}

void squeezr::setProgram(VstInt32 program)
{
    if (program < 0 || program >= kNumPrograms) return;
    curProgram.store(program, relaxed);
    const SqueezrProgram& p = programs[program];
    // The order hosts have always seen: sensing and link (the switches) first, then the values that
    // cost work, each group in parameter order.
    for (const bool switches : {true, false})
        for (VstInt32 i = 0; i < kNumParams; ++i)
            if (kParameters[i].isSwitch() == switches)
                setParameter(i, p.values[SqueezrProgram::kSlotOfParameter[i]].load(relaxed));
}

void squeezr::setProgramName(char* name)
{
    if (name) vst_strncpy(programs[curProgram.load(relaxed)].name, name, SqueezrProgram::kNameSize - 1);
}

void squeezr::getProgramName(char* name)
{
    if (!name) return;
    const VstInt32 current = curProgram.load(relaxed);
    const char* stored = programs[current].name;
    if (std::strcmp(stored, "Init") == 0)
        std::snprintf(name, kVstMaxProgNameLen, "Init %d", static_cast<int>(current + 1));
    else
        vst_strncpy(name, stored, kVstMaxProgNameLen - 1);
}

bool squeezr::getVendorString(char* text)
{
    vst_strncpy(text, "Tonewerks", kVstMaxVendorStrLen - 1);
    return true;
}

bool squeezr::getProductString(char* text)
{
    vst_strncpy(text, "+squeezr", kVstMaxProductStrLen - 1);
    return true;
}

float squeezr::getVu()
{
    // Halve first: two peaks near the float limit must not add up to infinity.
    return outPeakL.load(relaxed) * 0.5f + outPeakR.load(relaxed) * 0.5f;
}

float squeezr::getMeter(VstInt32 index) const
{
    switch (index) {
    case kInPeakL:
        return inPeakL.load(relaxed);
    case kInPeakR:
        return inPeakR.load(relaxed);
    case kOutPeakL:
        return outPeakL.load(relaxed);
    case kOutPeakR:
        return outPeakR.load(relaxed);
    case kGainL:
        return gainLMeter.load(relaxed);
    case kGainR:
        return gainRMeter.load(relaxed);
    default:
        return 0.0f;
    }
}

// ---------------------------------------------------------------------------------------------
// Audio

void squeezr::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    [[maybe_unused]] const DenormalGuard noDenormals;
    if (thresholdDirty.load(relaxed) && thresholdDirty.exchange(0, take)) {
        curveDirty.exchange(0, take);
        // The stored threshold becomes its round trip through the linear value, unless the control
        // thread has stored a newer one meanwhile (its dirty flag then brings us back next block).
        float threshold = unit(kThreshold);
        const float built = curve.setKnee(threshold, unit(kKnee));
        units[kThreshold].compare_exchange_strong(threshold, built, relaxed, relaxed);
        curve.build(ratio.load(relaxed));
    } else if (curveDirty.load(relaxed) && curveDirty.exchange(0, take)) {
        curve.build(ratio.load(relaxed));
    }

    const VstInt32 frames = sampleFrames > 0 ? sampleFrames : 0;
    const bool two = stereo.load(relaxed) == 1;
    const float* in0 = inputs ? inputs[0] : nullptr;
    const float* in1 = inputs && two ? inputs[1] : nullptr;
    float* out0 = outputs ? outputs[0] : nullptr;
    float* out1 = outputs && two ? outputs[1] : nullptr;
    const bool usable = in0 && out0 && (!two || (in1 && out1));

    if (usable && frames > 0) {
        if (bypass.load(relaxed) != 0)
            bypassChannels(in0, in1, out0, out1, frames);
        else if (unit(kRmsMode) == 1.0f)
            runMode<true>(in0, in1, out0, out1, frames);
        else
            runMode<false>(in0, in1, out0, out1, frames);
    }

    // The decay steps come at block boundaries, about ten times a second.
    meterCount += usable ? frames : 0;
    if (meterCount > meterDecayLimit.load(relaxed)) {
        meterCount = 0;
        for (auto* meter : {&inPeakL, &inPeakR, &outPeakL, &outPeakR})
            meter->store(meter->load(relaxed) * kMeterDecay, relaxed);
    }
}

template <bool Rms>
void squeezr::runMode(const float* in0, const float* in1, float* out0, float* out1, VstInt32 frames)
{
    if (!in1)
        runChannels<Rms, Channels::kOne>(in0, nullptr, out0, nullptr, frames);
    else if (unit(kStereoLink) != 0.0f)
        runChannels<Rms, Channels::kLinked>(in0, in1, out0, out1, frames);
    else
        runChannels<Rms, Channels::kTwo>(in0, in1, out0, out1, frames);
}

template <bool Rms, squeezr::Channels Mode>
void squeezr::runChannels(const float* in0, const float* in1, float* out0, float* out1, VstInt32 frames)
{
    constexpr bool two = Mode != Channels::kOne;
    constexpr int scale = two ? GainCurve::kTwoChannelScale : GainCurve::kOneChannelScale;

    const float attack = attackCoef.load(relaxed);
    const float release = releaseCoef.load(relaxed);
    const float makeup = makeupGain.load(relaxed);
    // Working copies: kept in registers, where stores to the outputs cannot disturb them.
    EnvelopeFollower eL = envelopeL, eR = envelopeR;
    GainSmoother gL = smootherL, gR = smootherR;
    // Inputs first: in place, the outputs overwrite them.
    const float inMaxL = finitePeak(in0, frames);
    const float inMaxR = two ? finitePeak(in1, frames) : 0.0f;

    // Two passes per chunk: first every level (they do not depend on the envelope), then the
    // envelope, gain and output. Kept apart, the table reads of each pass overlap freely instead
    // of queueing behind the envelope's chain of dependent steps.
    constexpr VstInt32 kChunk = 256;
    float levelL[kChunk], levelR[kChunk];
    for (VstInt32 start = 0; start < frames; start += kChunk) {
        const VstInt32 n = frames - start < kChunk ? frames - start : kChunk;
        const float* a = in0 + start;
        const float* b = two ? in1 + start : nullptr;
        if constexpr (Rms && two)
            rms.sense(a, b, levelL, levelR, n);
        else if constexpr (Rms)
            rms.sense(a, levelL, n);
        else {
            PeakSensor::sense(a, levelL, n);
            if constexpr (two) PeakSensor::sense(b, levelR, n);
        }
        float* oa = out0 + start;
        float* ob = two ? out1 + start : nullptr;
        for (VstInt32 i = 0; i < n; ++i) {
            eL.age(attack, release);
            if constexpr (two) eR.age(attack, release);
            if constexpr (Mode == Channels::kOne) {
                gL.next(curve.target<scale>(eL.step(levelL[i])));
            } else if constexpr (Mode == Channels::kTwo) {
                if (!eL.ordered() || !eR.ordered()) { // the block after linked mode: once
                    gL.next(curve.target<scale>(eL.step<false>(levelL[i])));
                    gR.next(curve.target<scale>(eR.step<false>(levelR[i])));
                } else {
                    gL.next(curve.target<scale>(eL.step<true>(levelL[i])));
                    gR.next(curve.target<scale>(eR.step<true>(levelR[i])));
                }
            } else {
                eL.step<false>(levelL[i]);
                eR.step<false>(levelR[i]);
                gL.next(curve.target<scale>(EnvelopeFollower::link(eL, eR)));
                gR.follow(gL);
            }
            oa[i] = a[i] * gL.value() * makeup;
            if constexpr (two) ob[i] = b[i] * gR.value() * makeup;
        }
    }

    envelopeL = eL;
    smootherL = gL;
    gainLMeter.store(gL.value(), relaxed);
    if constexpr (two) {
        envelopeR = eR;
        smootherR = gR;
        gainRMeter.store(gR.value(), relaxed);
    }

    const float outMaxL = finitePeak(out0, frames);
    const float outMaxR = two ? finitePeak(out1, frames) : 0.0f;

    if constexpr (two) {
        raiseMeters(inPeakL, inPeakR, inMaxL, inMaxR);
        raiseMeters(outPeakL, outPeakR, outMaxL, outMaxR);
    } else {
        raiseJoinedMeters(inPeakL, inPeakR, inMaxL);
        raiseJoinedMeters(outPeakL, outPeakR, outMaxL);
    }
}

void squeezr::bypassChannels(const float* in0, const float* in1, float* out0, float* out1, VstInt32 frames)
{
    const auto bytes = static_cast<std::size_t>(frames) * sizeof(float);
    const float maxL = finitePeak(in0, frames);
    // memmove: the host may hand the same buffer in and out.
    if (out0 != in0) std::memmove(out0, in0, bytes);
    if (!in1) {
        raiseJoinedMeters(inPeakL, inPeakR, maxL);
        raiseJoinedMeters(outPeakL, outPeakR, maxL);
        return;
    }
    const float maxR = finitePeak(in1, frames);
    if (out1 != in1) std::memmove(out1, in1, bytes);
    raiseMeters(inPeakL, inPeakR, maxL, maxR);
    raiseMeters(outPeakL, outPeakR, maxL, maxR);
}
