// One row of an effect's parameter table: name, label, range, the mapping between the host's 0..1 value
// and the effect's own unit, and how the value is written for the host. The effect, its editor's
// read-outs and the tests all read the same row, so a range or a mapping is written down once.
#pragma once

#include "effectbase/VstAbi.h"

#include <cstdint>

struct ParameterInfo {
    // How a host value v (already limited to 0..1) becomes the unit value the effect keeps, and back.
    // Every step is float arithmetic rounded once, as stored programs and host projects have always
    // seen it; the reverse mapping is exact for unit values the forward one made, within float rounding.
    enum class Mapping : std::uint8_t {
        kLinear,      // unit = v x span + min; host = (unit - min) / span
        kCount,       // unit = min + trunc(v x span), a whole number; host = (unit - min) / span
        kSwitch,      // unit = 1 when v >= 0.5, else 0; host = 1 for any unit but 0
        kSwitchAbove, // as kSwitch, but v must exceed 0.5
        kDecibels,    // unit = the linear gain of (v - centre) x span dB, centre the host value of 0 dB;
                      // host = 20 log10(unit) x hostPerUnit + centre
    };
    enum class Display : std::uint8_t {
        kFloat,   // float2string of the unit value (of its decibels, for kDecibels)
        kInteger, // int2string
        kOnOff,   // "off" for 0, "on" for anything else
        kRatio,   // the unit is a ratio setting, written as its slope: "1 : %1.1f" or "%1.1f : 1"
    };

    const char* name;
    const char* label;
    float min;  // unit value at host value 0 (in dB for kDecibels)
    float span; // unit range covered by host values 0..1
    Mapping mapping = Mapping::kLinear;
    Display display = Display::kFloat;
    float initial = 0.0f;     // unit value before any program or host sets it (dB for kDecibels)
    float hostPerUnit = 0.0f; // kDecibels only: 1 / span as the stored values were made with it

    // Top of the read-out range: what host value 1 shows.
    constexpr float max() const { return min + span; }
    constexpr bool isSwitch() const { return mapping == Mapping::kSwitch || mapping == Mapping::kSwitchAbove; }

    float toUnit(float host) const;
    float toHost(float unit) const;
    // Writes the display text for a unit value: at most kVstMaxParamStrLen - 1 characters and a zero.
    void format(float unit, char* text) const;

    // The slope a ratio setting stands for: settings -39..0 compress 1:40..1:1, 0..3 expand 1:1..4:1.
    static float ratioOf(float setting);
    static float decibelsOf(float gain);
};
