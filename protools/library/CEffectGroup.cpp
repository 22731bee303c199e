#include "protools/library/CEffectGroup.h"

#include "protools/library/CDAEError.h"
#include "protools/library/CEffectType.h"
#include "protools/library/CPlugInModule.h"
#include "protools/library/include/PIHostInterface.h"

#include <algorithm>

namespace {
constexpr std::int32_t kAcceptedGestalts[] = {25, 14, 44};
}

CEffectGroup::CEffectGroup() = default;
CEffectGroup::~CEffectGroup() = default;

void CEffectGroup::initialise()
{
    createEffectTypes();
    if (types.empty()) throw CDAEError(PI_ErrNoPlugIn);
}

void CEffectGroup::defineManufacturerNamesAndID(std::string names, std::uint32_t id)
{
    manufacturer = std::move(names);
    manufacturerCode = id;
}

void CEffectGroup::definePlugInNamesAndVersion(std::string names, std::int32_t version)
{
    plugIn = std::move(names);
    plugInVersion = version;
}

void CEffectGroup::addGestalt(std::int32_t selector)
{
    if (std::find(std::begin(kAcceptedGestalts), std::end(kAcceptedGestalts), selector) ==
        std::end(kAcceptedGestalts))
        throw CDAEError(PI_ErrBadGestalt);
    if (std::find(gestaltList.begin(), gestaltList.end(), selector) == gestaltList.end())
        gestaltList.push_back(selector);
}

void CEffectGroup::addEffectType(std::unique_ptr<CEffectType> type)
{
    if (!type) throw CDAEError(PI_ErrNullPointer);
    if (!type->pageTablesName().empty() &&
        !CPlugInModule::instance().resources().hasPageTables(type->pageTablesName()))
        throw CDAEError(PI_ErrMissingResource);
    types.push_back(std::move(type));
}

CEffectType* CEffectGroup::type(std::int32_t number) const
{
    if (number < 1 || number > typeCount()) return nullptr;
    return types[std::size_t(number - 1)].get();
}

void CEffectGroup::registerCustomViewCreator(std::string name, CCustomView::Creator creator)
{
    if (!creator) throw CDAEError(PI_ErrNullPointer);
    viewCreators[std::move(name)] = creator;
}

CCustomView::Creator CEffectGroup::customViewCreator(const std::string& name) const
{
    const auto it = viewCreators.find(name);
    return it == viewCreators.end() ? nullptr : it->second;
}
