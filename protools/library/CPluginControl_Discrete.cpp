#include "protools/library/CPluginControl_Discrete.h"

#include "protools/library/CDAEError.h"
#include "protools/library/include/PIHostInterface.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kBottom = 2147483648.0;  // 2^31
constexpr double kSpan = 4294967295.0;    // 2^32 - 1
}  // namespace

CPluginControl_Discrete::CPluginControl_Discrete(std::uint32_t id, std::string names, std::int32_t minimum,
                                                 std::int32_t maximum, std::int32_t defaultStep, bool automatable)
    : CPluginControl(id, std::move(names), automatable), lowest(minimum), highest(maximum), defaultStep(defaultStep)
{
    if (minimum >= maximum || defaultStep < minimum || defaultStep > maximum) throw CDAEError(PI_ErrValueOutOfRange);
    setValue(defaultValue());
}

int CPluginControl_Discrete::kind() const
{
    return PI_ControlDiscrete;
}

std::int32_t CPluginControl_Discrete::shown(std::int32_t value) const
{
    const double x = (double(value) + kBottom) / kSpan;
    const double steps = double(std::int64_t(highest) - lowest);
    const auto step = std::int64_t(lowest) + std::int64_t(std::floor(x * steps));
    return std::int32_t(std::min<std::int64_t>(step, highest));
}

std::string CPluginControl_Discrete::text(std::int32_t value) const
{
    return std::to_string(shown(value));
}

std::int32_t CPluginControl_Discrete::valueOfStep(std::int32_t step) const
{
    step = std::clamp(step, lowest, highest);
    const double steps = double(std::int64_t(highest) - lowest);
    const double x = std::min(1.0, (double(std::int64_t(step) - lowest) + 0.5) / steps);
    const double c = std::floor(x * kSpan - kBottom + 0.5);
    return std::int32_t(std::clamp(c, -kBottom, kBottom - 1.0));
}
