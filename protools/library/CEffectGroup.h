// The plug-in's effect group: who makes it, what it is called, and the effect types it offers. The
// plug-in derives its group from this one, names it in the constructor and creates its types in
// createEffectTypes, which the library calls from initialise.
#pragma once

#include "protools/library/CCustomView.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CEffectType;

class CEffectGroup {
public:
    CEffectGroup();
    virtual ~CEffectGroup();
    CEffectGroup(const CEffectGroup&) = delete;
    CEffectGroup& operator=(const CEffectGroup&) = delete;

    // The group's first operation: creates the effect types (throws CDAEError when none results).
    virtual void initialise();
    // Idle time for the group, given with each process's idle work.
    virtual void idle() {}

    void defineManufacturerNamesAndID(std::string names, std::uint32_t id);
    void definePlugInNamesAndVersion(std::string names, std::int32_t version);
    // Only the group gestalts the library knows (25, 14, 44); any other throws CDAEError(PI_ErrBadGestalt).
    void addGestalt(std::int32_t selector);
    // Takes the type; throws CDAEError(PI_ErrMissingResource) when the resource file lacks its page tables.
    void addEffectType(std::unique_ptr<CEffectType> type);

    // The creator of the custom view of this name, for the view factory; a second one replaces the first.
    void registerCustomViewCreator(std::string name, CCustomView::Creator creator);
    CCustomView::Creator customViewCreator(const std::string& name) const;  // null for none

    const std::string& manufacturerNames() const { return manufacturer; }
    std::uint32_t manufacturerID() const { return manufacturerCode; }
    const std::string& plugInNames() const { return plugIn; }
    std::int32_t version() const { return plugInVersion; }
    const std::vector<std::int32_t>& gestalts() const { return gestaltList; }
    std::int32_t typeCount() const { return std::int32_t(types.size()); }
    CEffectType* type(std::int32_t number) const;  // numbered from 1; null for none

protected:
    virtual void createEffectTypes() = 0;

private:
    std::string manufacturer;
    std::uint32_t manufacturerCode = 0;
    std::string plugIn;
    std::int32_t plugInVersion = 0;
    std::vector<std::int32_t> gestaltList;
    std::vector<std::unique_ptr<CEffectType>> types;
    std::map<std::string, CCustomView::Creator> viewCreators;
};
