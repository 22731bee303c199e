#include "effects/squeezr/squeezr.h"

#include "effects/squeezr/CSqueezrVSTEditor.h"

#include "effectbase/DenormalGuard.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
// Dirty flags are published after the values they announce, so the rebuild never reads older ones.
constexpr auto publish = std::memory_order_release;
constexpr auto take = std::memory_order_acquire;

// -100 dB: the envelope bounds never sink below it, so they can always grow again.
constexpr float kEnvelopeFloor = 0.00001f;
// One square this large already fills the whole window to full scale; anything bigger changes
// nothing but the precision of the running sum.
constexpr float kMaxSquare = static_cast<float>(squeezr::kRmsLength);
// Squares are kept in units of 2^-24: the running sum is then exact and never drifts from its
// window. Far finer than the square-root table can tell apart (its first step is a sum of 1/1024).
constexpr float kSquareUnit = 16777216.0f;
static_assert(kMaxSquare * kSquareUnit <= 2147483647.0f);
constexpr float kMeterDecay = 0.7f;

static_assert(std::atomic<float>::is_always_lock_free && std::atomic<std::int32_t>::is_always_lock_free);
static_assert((squeezr::kRmsLength & (squeezr::kRmsLength - 1)) == 0, "the window index wraps by mask");

// Every power in this effect takes an exponent rounded to a float first.
float pow10Rounded(double exponent)
{
    return static_cast<float>(std::pow(10.0, static_cast<double>(static_cast<float>(exponent))));
}

// A power of a float base and exponent, rounded once to a float.
float powRounded(float base, float exponent)
{
    return static_cast<float>(std::pow(static_cast<double>(base), static_cast<double>(exponent)));
}

float dbOf(float linear)
{
    return static_cast<float>(20.0 * std::log10(static_cast<double>(linear)));
}

// Spelled so that the compiler can use one max or min instruction for each.
inline float larger(float a, float b)
{
    return a > b ? a : b;
}

inline float smaller(float a, float b)
{
    return b < a ? b : a;
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
    left.store(larger(left.load(relaxed), maxL), relaxed);
    right.store(larger(right.load(relaxed), maxR), relaxed);
}

// One channel feeds both meters of a pair, judged against the left one.
void raiseJoinedMeters(std::atomic<float>& left, std::atomic<float>& right, float max)
{
    if (max > left.load(relaxed)) {
        left.store(max, relaxed);
        right.store(max, relaxed);
    }
}

// A table index in 0..top, NaN taken as 0, before any conversion to an integer.
inline float clampIndex(float x, float top)
{
    return smaller(larger(x, 0.0f), top);
}

// One envelope step: the level limited to the aged bounds, which then both take the result.
// While fall <= rise this limit is a plain clamp, free of branches. Only linking raises a fall above
// its own rise, so only linked mode and the first step after it need the tests in their order.
template <bool Ordered>
inline float envelopeStep(float level, float& fall, float& rise)
{
    float e;
    if constexpr (Ordered)
        e = larger(smaller(level, rise), fall);
    else
        e = level < fall ? fall : smaller(level, rise);
    const float bound = larger(kEnvelopeFloor, e);
    fall = bound;
    rise = bound;
    return e;
}

} // namespace

squeezr::squeezr(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams),
      sqrtTable(new float[kSqrtSize]),
      gainCurve(new float[kCurveSize + 1])
{
    for (int i = 0; i < kSqrtSize; ++i) sqrtTable[i] = std::sqrt(static_cast<float>(i)) / 256.0f;
    for (int i = 0; i <= kCurveSize; ++i) gainCurve[i] = 1.0f;
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

void squeezr::updateAttackCoef()
{
    const float samples = unit(kAttack) * 0.001f * effectiveSampleRate();
    attackCoef.store(powRounded(10.0f, 1.0f / samples), relaxed);
}

void squeezr::updateReleaseCoef()
{
    const float samples = unit(kRelease) * effectiveSampleRate();
    releaseCoef.store(powRounded(0.1f, 1.0f / samples), relaxed);
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
// Tables, rebuilt on the audio thread only

void squeezr::rebuildKneeEdges()
{
    const float thresholdRead = unit(kThreshold);
    const float kneeRead = unit(kKnee);
    const float thresholdLin = pow10Rounded(static_cast<double>(thresholdRead) * 0.05);
    if (kneeRead == 0.0f) {
        kneeTop = kneeBottom = thresholdLin;
    } else {
        kneeTop = pow10Rounded((static_cast<double>(kneeRead) * 6.0 + thresholdRead) * 0.05);
        kneeBottom = pow10Rounded((static_cast<double>(dbOf(kneeTop)) - kneeRead * 12.0) * 0.05);
    }
    builtThresholdDb = dbOf(thresholdLin);
    builtKnee = kneeRead;
    kneeBottomDb = dbOf(kneeBottom);
    // The stored threshold becomes its round trip through the linear value, unless the control
    // thread has stored a newer one meanwhile (its dirty flag then brings us back next block).
    float expected = thresholdRead;
    units[kThreshold].compare_exchange_strong(expected, builtThresholdDb, relaxed, relaxed);
}

void squeezr::rebuildGainCurve()
{
    const double r = ratio.load(relaxed);
    const double threshold = builtThresholdDb;
    const double kneeWidth = static_cast<double>(builtKnee) * 12.0;
    const double kneeBottomDbD = kneeBottomDb;
    const double kneeTopDb = static_cast<double>(builtKnee) * 6.0 + threshold;
    float* curve = gainCurve.get();
    for (int i = 0; i < kCurveSize; ++i) {
        const float a = static_cast<float>(i + 1) / static_cast<float>(kCurveSize);
        const double aDb = dbOf(a);
        double g;
        if (r <= 1.0) {
            if (a <= kneeBottom) {
                curve[i] = 1.0f;
                continue;
            }
            g = (threshold - aDb) * (1.0 - r);
            if (a <= kneeTop) g = g * (aDb - kneeBottomDbD) / kneeWidth;
        } else {
            if (a > kneeTop) {
                curve[i] = 1.0f;
                continue;
            }
            g = (aDb - threshold) * (r - 1.0);
            if (a > kneeBottom) g = g * (kneeTopDb - aDb) / kneeWidth;
        }
        curve[i] = pow10Rounded(g * 0.05);
    }
    curve[kCurveSize] = curve[kCurveSize - 1];
}

// ---------------------------------------------------------------------------------------------
// Audio

void squeezr::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    [[maybe_unused]] const DenormalGuard noDenormals;
    if (thresholdDirty.load(relaxed) && thresholdDirty.exchange(0, take)) {
        curveDirty.exchange(0, take);
        rebuildKneeEdges();
        rebuildGainCurve();
    } else if (curveDirty.load(relaxed) && curveDirty.exchange(0, take)) {
        rebuildGainCurve();
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
    // One channel can reach the last entry; two channels stop one short of it.
    constexpr float scale = two ? 8190.0f : 8191.0f;

    const float attack = attackCoef.load(relaxed);
    const float release = releaseCoef.load(relaxed);
    const float makeup = makeupGain.load(relaxed);
    const float* const curve = gainCurve.get();
    const float* const roots = sqrtTable.get();
    const float rootScale = rmsScale / kSquareUnit; // exact: a power of two
    std::int32_t* const window = rmsWindow;
    std::int32_t pos = rmsPos >= 0 && rmsPos < kRmsLength ? rmsPos : 0;
    std::int64_t sum = rmsSum;

    float fL = fallL, rL = riseL, fR = fallR, rR = riseR;
    float gL = gainL, gR = gainR;
    // Inputs first: in place, the outputs overwrite them.
    const float inMaxL = finitePeak(in0, frames);
    const float inMaxR = two ? finitePeak(in1, frames) : 0.0f;

    auto sense = [&](float x) -> float {
        if constexpr (Rms) {
            float s = x * x;
            if (!(s <= kMaxSquare)) s = std::isfinite(x) ? kMaxSquare : 1.0f;
            const auto q = static_cast<std::int32_t>(s * kSquareUnit);
            sum += q - window[pos];
            window[pos] = q;
            pos = (pos + 1) & (kRmsLength - 1);
            float k = static_cast<float>(sum) * rootScale;
            k = clampIndex(k, 65535.0f);
            return roots[static_cast<std::int32_t>(k)]; // the table ends below 1.0
        } else {
            const float level = std::fabs(x);
            return level <= 1.0f ? level : 1.0f; // NaN and infinities read as full scale
        }
    };
    auto gainStep = [&](float e, float& gain) {
        float x = e * scale;
        x = clampIndex(x, scale);
        const std::int32_t n = static_cast<std::int32_t>(x);
        const float f = x - static_cast<float>(n);
        const float target = curve[n] + (curve[n + 1] - curve[n]) * f;
        // Halving is exact, so this is gain x 0.5 + target x 0.5 to the last bit.
        gain = (gain + target) * 0.5f;
    };

    // Two passes per chunk: first every level (they do not depend on the envelope), then the
    // envelope, gain and output. Kept apart, the table reads of each pass overlap freely instead
    // of queueing behind the envelope's chain of dependent steps.
    constexpr VstInt32 kChunk = 256;
    float levelL[kChunk], levelR[kChunk];
    for (VstInt32 start = 0; start < frames; start += kChunk) {
        const VstInt32 n = frames - start < kChunk ? frames - start : kChunk;
        const float* a = in0 + start;
        const float* b = two ? in1 + start : nullptr;
        for (VstInt32 i = 0; i < n; ++i) {
            levelL[i] = sense(a[i]);
            if constexpr (two) levelR[i] = sense(b[i]); // right after the left: one shared window
        }
        float* oa = out0 + start;
        float* ob = two ? out1 + start : nullptr;
        for (VstInt32 i = 0; i < n; ++i) {
            fL *= release;
            rL *= attack;
            if constexpr (two) {
                fR *= release;
                rR *= attack;
            }
            if constexpr (Mode == Channels::kOne) {
                gainStep(fL > rL ? envelopeStep<false>(levelL[i], fL, rL) : envelopeStep<true>(levelL[i], fL, rL),
                         gL);
            } else if constexpr (Mode == Channels::kTwo) {
                if (fL > rL || fR > rR) { // the block after linked mode: once
                    gainStep(envelopeStep<false>(levelL[i], fL, rL), gL);
                    gainStep(envelopeStep<false>(levelR[i], fR, rR), gR);
                } else {
                    gainStep(envelopeStep<true>(levelL[i], fL, rL), gL);
                    gainStep(envelopeStep<true>(levelR[i], fR, rR), gR);
                }
            } else {
                envelopeStep<false>(levelL[i], fL, rL);
                envelopeStep<false>(levelR[i], fR, rR);
                if (fR > fL)
                    fL = fR;
                else
                    fR = fL;
                gainStep(fL, gL);
                gR = gL;
            }
            oa[i] = a[i] * gL * makeup;
            if constexpr (two) ob[i] = b[i] * gR * makeup;
        }
    }

    fallL = fL;
    riseL = rL;
    gainL = gL;
    gainLMeter.store(gL, relaxed);
    if constexpr (two) {
        fallR = fR;
        riseR = rR;
        gainR = gR;
        gainRMeter.store(gR, relaxed);
    }
    rmsPos = pos;
    rmsSum = sum;

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
