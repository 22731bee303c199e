#include "effects/vectorgram/vectorgram.h"

#if !defined(VECTORGRAM_PROTOOLS)
#include "effects/vectorgram/CVectorgramVSTEditor.h"
#endif

#include "effects/vectorgram/BitToggleCounter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr auto relaxed = std::memory_order_relaxed;
constexpr std::size_t kWindow = vectorgram::kCaptureLength;
// Words are made and counted in slices of this many frames, on the stack.
constexpr std::size_t kSlice = 256;

// Shifts the block into the window, or fills the window with the block's first frames when it is longer.
void capture(std::atomic<float>* window, const float* in, std::size_t frames)
{
    if (frames >= kWindow) {
        for (std::size_t i = 0; i < kWindow; ++i) window[i].store(in[i], relaxed);
        return;
    }
    const std::size_t keep = kWindow - frames;
#pragma GCC unroll 8
    for (std::size_t i = 0; i < keep; ++i) window[i].store(window[i + frames].load(relaxed), relaxed);
    for (std::size_t i = 0; i < frames; ++i) window[keep + i].store(in[i], relaxed);
}

constexpr std::int32_t kInfinityBits = 0x7F800000;
constexpr std::int32_t kFullScaleBits = 0x3F800000; // 1.0f

// One slice of one channel: raises the held peak and makes the sample words.
void scan(const float* in, std::int32_t* words, std::size_t frames, float& peak)
{
    // Both tests run on the bit patterns, where a plain integer maximum does the work and the loops
    // vectorise. Non-negative floats order like their patterns; negative ones and negative NaN are
    // negative integers and never beat a peak, which is never below 0. Patterns from infinity up are
    // skipped, so one bad sample cannot pin the meter.
    std::int32_t peakBits = std::bit_cast<std::int32_t>(peak);
    std::int32_t largestMagnitude = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto bits = std::bit_cast<std::int32_t>(in[i]);
        const std::int32_t finite = bits < kInfinityBits ? bits : 0;
        peakBits = finite > peakBits ? finite : peakBits;
        const std::int32_t magnitude = bits & 0x7FFFFFFF;
        largestMagnitude = magnitude > largestMagnitude ? magnitude : largestMagnitude;
    }
    peak = std::bit_cast<float>(peakBits);

    // Below full scale the float product is exact and fits 32 bits, so the usual case needs no 64-bit
    // detour; anything else (full scale, beyond it, NaN) takes the general rule.
    if (largestMagnitude < kFullScaleBits) {
        for (std::size_t i = 0; i < frames; ++i) words[i] = static_cast<std::int32_t>(in[i] * 2147483648.0f);
    } else {
        for (std::size_t i = 0; i < frames; ++i) words[i] = vectorgram::sampleToWord(in[i]);
    }
}

void storeActivity(std::atomic<float>* activity, const std::uint32_t* counts, std::size_t frames)
{
    const auto n = static_cast<float>(frames);
    for (int s = 0; s < vectorgram::kActivityBits; ++s) {
        // Toggling on every other sample already reads as full activity.
        const float rate = static_cast<float>(counts[s]) * 2.0f / n;
        activity[s].store(rate > 1.0f ? 1.0f : rate, relaxed);
    }
}

void passThrough(const float* in, float* out, std::size_t frames)
{
    if (out != in) std::memmove(out, in, frames * sizeof(float));
}

} // namespace

vectorgram::vectorgram(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 1, kNumParams), captureLeft(std::make_unique<std::atomic<float>[]>(kWindow)),
      captureRight(std::make_unique<std::atomic<float>[]>(kWindow))
{
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(fourCharCode('+', 'v', 'g', 'm'));
#if !defined(VECTORGRAM_PROTOOLS)
    new CVectorgramVSTEditor(this);  // registers itself; the effect owns it
#endif
    // In Pro Tools the window bridge makes the editor, and the editor base hands it to the effect.
}

std::int32_t vectorgram::sampleToWord(float sample)
{
    constexpr double kTwo63 = 9223372036854775808.0;
    const double scaled = static_cast<double>(sample) * 2147483648.0;
    std::int64_t whole;
    if (scaled >= kTwo63)
        whole = std::numeric_limits<std::int64_t>::max();
    else if (scaled >= -kTwo63)
        whole = static_cast<std::int64_t>(scaled);
    else
        whole = std::numeric_limits<std::int64_t>::min(); // also NaN, whose low word is then 0
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

void vectorgram::resume()
{
    if constexpr (!kProToolsBuild) secondInputConnected.store(isInputConnected(1) ? 1 : 0, relaxed);
}

void vectorgram::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if constexpr (!kProToolsBuild) {
        if (secondInputConnected.load(relaxed) != 1) return;
    }
    // An empty block changes nothing: no decay, no shift, and bit activity keeps its last values
    // rather than dividing by zero.
    if (sampleFrames <= 0 || !inputs || !outputs) return;
    const float* left = inputs[0];
    const float* right = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];
    if (!left || !right || !outLeft || !outRight) return;
    const auto frames = static_cast<std::size_t>(sampleFrames);

    // The held peaks fall 60 dB per 0.1666 s of audio, whatever the block size.
    const double framesPerFall = static_cast<double>(effectiveSampleRate()) * 0.1666;
    const auto decay = static_cast<float>(
        std::pow(static_cast<double>(0.001f), static_cast<double>(frames) / framesPerFall));
    float heldLeft = peakLeft.load(relaxed) * decay;
    float heldRight = peakRight.load(relaxed) * decay;

    capture(captureLeft.get(), left, frames);
    capture(captureRight.get(), right, frames);

    std::uint32_t countsLeft[kActivityBits] = {};
    std::uint32_t countsRight[kActivityBits] = {};
    std::int32_t wordsLeft[kSlice];
    std::int32_t wordsRight[kSlice];
    for (std::size_t start = 0; start < frames; start += kSlice) {
        const std::size_t n = std::min(kSlice, frames - start);
        scan(left + start, wordsLeft, n, heldLeft);
        scan(right + start, wordsRight, n, heldRight);
        BitToggleCounter::count(wordsLeft, wordsRight, n, lastWordLeft, lastWordRight, countsLeft, countsRight);
    }
    peakLeft.store(heldLeft, relaxed);
    peakRight.store(heldRight, relaxed);
    storeActivity(bitActivityLeft, countsLeft, frames);
    storeActivity(bitActivityRight, countsRight, frames);

    // Last, so that in-place buffers have been read for the meters before anything is written.
    passThrough(left, outLeft, frames);
    passThrough(right, outRight, frames);
}

void vectorgram::setParameter(VstInt32 index, float value)
{
    const bool usable = sanitizeParameter(value);
    if (index == kDisplay) {
        if (usable)
            displaySamples.store(static_cast<std::int32_t>(kDisplayParameter.toUnit(value)), relaxed);
        else
            value = getParameter(index); // ignored: the editor is told the value that stands
    } else if (!usable) {
        value = 0.0f;
    }
    // Pro Tools updates the editor from its own control; only a VST host goes through here.
    if constexpr (!kProToolsBuild) {
        if (editor) editor->setParameter(index, value);
    }
}

float vectorgram::getParameter(VstInt32 index)
{
    if (index != kDisplay) return -1.0f;
    return kDisplayParameter.toHost(static_cast<float>(displaySamples.load(relaxed)));
}

void vectorgram::getParameterName(VstInt32 index, char* text)
{
    if (text) std::strcpy(text, index == kDisplay ? kDisplayParameter.name : "ERROR");
}

void vectorgram::getParameterLabel(VstInt32 index, char* text)
{
    if (text) std::strcpy(text, index == kDisplay ? kDisplayParameter.label : "ERROR");
}

void vectorgram::getParameterDisplay(VstInt32 index, char* text)
{
    if (!text) return;
    if (index == kDisplay)
        kDisplayParameter.format(static_cast<float>(displaySamples.load(relaxed)), text);
    else
        std::strcpy(text, "ERROR");
}

void vectorgram::setProgramName(char* name)
{
    // A host's name is at most kVstMaxProgNameLen bytes and need not end in a zero.
    if (name) vst_strncpy(programName, name, kVstMaxProgNameLen - 1);
}

void vectorgram::getProgramName(char* name)
{
    // A host's program name field holds 23 characters and a zero.
    if (name) vst_strncpy(name, programName, 23);
}

bool vectorgram::getEffectName(char* name)
{
    std::strcpy(name, "+vectorgram");
    return true;
}

bool vectorgram::getProductString(char* text)
{
    std::strcpy(text, "+vectorgram");
    return true;
}

bool vectorgram::getVendorString(char* text)
{
    std::strcpy(text, "Tonewerks");
    return true;
}

float vectorgram::getPeak(VstInt32 channel) const
{
    if (channel == 0) return peakLeft.load(relaxed);
    if (channel == 1) return peakRight.load(relaxed);
    return 0.0f;
}

void vectorgram::getBitActivity(float* left, float* right) const
{
    for (int s = 0; s < kActivityBits; ++s) {
        if (left) left[s] = bitActivityLeft[s].load(relaxed);
        if (right) right[s] = bitActivityRight[s].load(relaxed);
    }
}
