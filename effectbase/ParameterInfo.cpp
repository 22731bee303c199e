#include "effectbase/ParameterInfo.h"

#include "effectbase/VstStrings.h"

#include <cmath>
#include <cstdio>

float ParameterInfo::toUnit(float host) const
{
    switch (mapping) {
    case Mapping::kLinear: {
        const float scaled = host * span;
        // No "+ 0" for ranges that start at 0: it would turn a host's -0 into +0.
        return min == 0.0f ? scaled : scaled + min;
    }
    case Mapping::kCount:
        return min + std::trunc(host * span);
    case Mapping::kSwitch:
        return host >= 0.5f ? 1.0f : 0.0f;
    case Mapping::kSwitchAbove:
        return host > 0.5f ? 1.0f : 0.0f;
    case Mapping::kDecibels: {
        const float centre = -min / span;
        const float exponent = (host - centre) * span * 0.05f;
        return static_cast<float>(std::pow(10.0, static_cast<double>(exponent)));
    }
    }
    return 0.0f;
}

float ParameterInfo::toHost(float unit) const
{
    switch (mapping) {
    case Mapping::kLinear:
    case Mapping::kCount:
        return (unit - min) / span;
    case Mapping::kSwitch:
    case Mapping::kSwitchAbove:
        return unit != 0.0f ? 1.0f : 0.0f;
    case Mapping::kDecibels:
        return decibelsOf(unit) * hostPerUnit + -min / span;
    }
    return 0.0f;
}

void ParameterInfo::format(float unit, char* text) const
{
    constexpr VstInt32 limit = kVstMaxParamStrLen - 1;
    switch (display) {
    case Display::kFloat:
        float2string(mapping == Mapping::kDecibels ? decibelsOf(unit) : unit, text, limit);
        break;
    case Display::kInteger:
        int2string(static_cast<VstInt32>(unit), text, limit);
        break;
    case Display::kOnOff:
        vst_strncpy(text, unit == 0.0f ? "off" : "on", limit);
        break;
    case Display::kRatio: {
        // Exactly 1 reads "1 : 1.0", as the compression side does; only expansion turns it round.
        const float r = ratioOf(unit);
        if (r > 1.0f)
            std::snprintf(text, kVstMaxParamStrLen, "%1.1f : 1", static_cast<double>(r));
        else
            std::snprintf(text, kVstMaxParamStrLen, "1 : %1.1f", static_cast<double>(1.0f / r));
        break;
    }
    }
}

float ParameterInfo::ratioOf(float setting)
{
    return setting <= 0.0f ? -1.0f / (setting - 1.0f) : setting + 1.0f;
}

float ParameterInfo::decibelsOf(float gain)
{
    return 20.0f * static_cast<float>(std::log10(static_cast<double>(gain)));
}
