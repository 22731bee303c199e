#include "protools/library/CPluginControl_OnOff.h"

#include "protools/library/include/PIHostInterface.h"

CPluginControl_OnOff::CPluginControl_OnOff(std::uint32_t id, std::string names, bool defaultOn, bool automatable)
    : CPluginControl(id, std::move(names), automatable), defaultOn(defaultOn)
{
    setValue(defaultValue());
}

int CPluginControl_OnOff::kind() const
{
    return PI_ControlOnOff;
}
