#include "effectbase/VstStrings.h"

#include <cmath>
#include <cstring>

void vst_strncpy(char* destination, const char* source, VstInt32 n)
{
    if (!destination || n < 0) return;
    VstInt32 i = 0;
    if (source)
        for (; i < n && source[i]; ++i) destination[i] = source[i];
    destination[i] = 0;
    destination[n] = 0;
}

void vst_strncat(char* destination, const char* source, VstInt32 n)
{
    if (!destination || n < 0) return;
    VstInt32 length = 0;
    while (length < n && destination[length]) ++length;
    if (source)
        for (; length < n && *source; ++length, ++source) destination[length] = *source;
    destination[length] = 0;
    destination[n] = 0;
}

void float2string(float value, char* text, VstInt32 n)
{
    double v = value;
    int count = 0;
    bool negative = false;
    if (std::isnan(v)) {
        vst_strncpy(text, "Huge!", n);
        return;
    }
    if (v < 0) {
        negative = true;
        v = -v;
        ++count;
        if (v > 9999999.0) {
            vst_strncpy(text, "Huge!", n);
            return;
        }
    } else if (v > 99999999.0) {
        vst_strncpy(text, "Huge!", n);
        return;
    }

    // Integer part, right to left. Every integer digit is kept, even past the eight-character budget.
    char scratch[32];
    char* s = scratch + 31;
    *s-- = 0;
    *s-- = '.';
    ++count;
    double integer = std::floor(v);
    *s-- = static_cast<char>('0' + static_cast<int>(std::fmod(integer, 10.0)));
    integer /= 10.0;
    ++count;
    while (integer >= 1.0) {
        *s-- = static_cast<char>('0' + static_cast<int>(std::fmod(integer, 10.0)));
        integer /= 10.0;
        ++count;
    }
    if (negative) *s-- = '-';
    vst_strncpy(text, s + 1, n);
    if (count >= 8) return;

    s = scratch + 31;
    *s-- = 0;
    double mantissa = std::fmod(v, 1.0) * std::pow(10.0, 8 - count);
    for (; count < 8; ++count) {
        if (mantissa <= 0) {
            *s-- = '0';
        } else {
            *s-- = static_cast<char>('0' + static_cast<int>(std::fmod(mantissa, 10.0)));
            mantissa /= 10.0;
        }
    }
    vst_strncat(text, s + 1, n);
}

void int2string(VstInt32 value, char* text, VstInt32 n)
{
    if (value >= 100000000 || value <= -100000000) {
        vst_strncpy(text, "Huge!", n);
        return;
    }
    if (value < 0) {
        vst_strncpy(text, "-", n);
        value = -value;
    } else {
        vst_strncpy(text, "", n);
    }
    bool seen = false;
    for (VstInt32 divisor = 100000000; divisor >= 1; divisor /= 10) {
        const VstInt32 digit = value / divisor;
        value -= digit * divisor;
        if (seen || digit > 0) {
            const char d[2] = {static_cast<char>('0' + digit), 0};
            vst_strncat(text, d, n);
            seen = true;
        }
    }
    if (!seen) vst_strncat(text, "0", n);
}

void dB2string(float value, char* text, VstInt32 n)
{
    if (value <= 0)
        vst_strncpy(text, "-oo", n);
    else
        float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text, n);
}
