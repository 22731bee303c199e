#include "protools/library/CPluginControl.h"

#include "protools/library/MultiLengthName.h"

CPluginControl::CPluginControl(std::uint32_t id, std::string names, bool automatable)
    : controlID(id), nameList(std::move(names)), isAutomatable(automatable)
{
}

std::string CPluginControl::name(int maxLength) const
{
    return pickMultiLengthName(nameList, maxLength);
}
