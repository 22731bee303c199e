// What the vectorgram tests share: a scriptable host, a stereo block, and a reference meter written
// straight from the rules, one bit at a time, to hold the effect's fast paths against.
#pragma once

#include "effects/vectorgram/vectorgram.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vgtest {

// The host's answer to the pin query: 0 means connected.
inline VstIntPtr pinAnswer = 0;

inline VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterPinConnected) return pinAnswer;
    return 0;
}

inline std::uint32_t bitsOf(float f)
{
    std::uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

inline float floatOf(std::uint32_t u)
{
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

// A stereo block with its own output buffers.
struct Block {
    Block(std::vector<float> l, std::vector<float> r)
        : left(std::move(l)), right(std::move(r)), outLeft(left.size(), -7.0f), outRight(right.size(), -7.0f)
    {
    }
    explicit Block(std::size_t frames, float l = 0.0f, float r = 0.0f)
        : Block(std::vector<float>(frames, l), std::vector<float>(frames, r))
    {
    }
    void run(vectorgram& effect)
    {
        float* in[2] = {left.data(), right.data()};
        float* out[2] = {outLeft.data(), outRight.data()};
        effect.processReplacing(in, out, static_cast<VstInt32>(left.size()));
    }
    std::vector<float> left, right, outLeft, outRight;
};

// trunc(sample x 2^31) reduced modulo 2^32 with fmod, saturating at the 64-bit ends: no integer cast
// of a double anywhere, so it shares nothing with the effect's conversion.
inline std::uint32_t referenceWord(float sample)
{
    if (std::isnan(sample)) return 0;
    const double whole = std::trunc(static_cast<double>(sample) * 2147483648.0); // exact for any float
    if (whole >= 9223372036854775808.0) return 0xFFFFFFFFu;                     // INT64_MAX
    if (whole < -9223372036854775808.0) return 0;                                // INT64_MIN
    double low = std::fmod(whole, 4294967296.0);
    if (low < 0) low += 4294967296.0;
    return static_cast<std::uint32_t>(low);
}

// One channel of the effect's meters, the slow and obvious way.
struct ReferenceChannel {
    std::vector<float> window = std::vector<float>(512, 0.0f);
    float peak = 0.0f;
    std::uint32_t lastWord = 0;
    float activity[24] = {};

    void process(const float* in, std::size_t n, double sampleRate)
    {
        if (n == 0) return;
        const double exponent = static_cast<double>(n) / (sampleRate * 0.1666);
        peak *= static_cast<float>(std::pow(static_cast<double>(0.001f), exponent));
        if (n <= 512) {
            window.erase(window.begin(), window.begin() + static_cast<std::ptrdiff_t>(n));
            window.insert(window.end(), in, in + n);
        } else {
            window.assign(in, in + 512);
        }
        std::uint32_t counts[24] = {};
        for (std::size_t i = 0; i < n; ++i) {
            if (in[i] > peak && std::isfinite(in[i])) peak = in[i];
            const std::uint32_t word = referenceWord(in[i]);
            const std::uint32_t changed = word ^ lastWord;
            lastWord = word;
            for (int s = 0; s < 24; ++s)
                if (changed & (0x100u << s)) ++counts[s];
        }
        for (int s = 0; s < 24; ++s)
            activity[s] = std::min(1.0f, static_cast<float>(counts[s]) * 2.0f / static_cast<float>(n));
    }
};

inline std::vector<std::uint32_t> windowBits(const std::atomic<float>* window)
{
    std::vector<std::uint32_t> bits(512);
    for (int i = 0; i < 512; ++i) bits[i] = bitsOf(window[i].load());
    return bits;
}

inline std::vector<std::uint32_t> windowBits(const std::vector<float>& window)
{
    std::vector<std::uint32_t> bits(512);
    for (int i = 0; i < 512; ++i) bits[i] = bitsOf(window[i]);
    return bits;
}

} // namespace vgtest
