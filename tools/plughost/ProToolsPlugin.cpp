#include "tools/plughost/ProToolsPlugin.h"

ProToolsPlugin::~ProToolsPlugin()
{
    unload();
}

bool ProToolsPlugin::recognises(const std::string& path)
{
    SharedLibrary library;
    std::string ignored;
    return library.open(path, ignored) && library.symbol("_PI_GetRoutineDescriptor") != nullptr;
}

namespace {

template <typename Routine>
bool fetch(PI_GetRoutineDescriptorProc describe, std::int32_t selector, Routine& routine)
{
    PI_Routine found = nullptr;
    if (describe(selector, &found) != PI_NoErr || !found) return false;
    routine = reinterpret_cast<Routine>(found);
    return true;
}

}  // namespace

bool ProToolsPlugin::load(const std::string& path, std::string& error)
{
    unload();
    if (!library_.open(path, error)) return false;
    Exports found;
    found.winPlugInOpen = reinterpret_cast<PI_WinPlugInOpenProc>(library_.symbol("WinPlugInOpen"));
    found.winPlugInClose = reinterpret_cast<PI_WinPlugInCloseProc>(library_.symbol("WinPlugInClose"));
    found.getRoutineDescriptor =
        reinterpret_cast<PI_GetRoutineDescriptorProc>(library_.symbol("_PI_GetRoutineDescriptor"));
    found.newPlugIn = reinterpret_cast<PI_NewPlugInProc>(library_.symbol("NewPlugIn"));
    if (!attach(found, error)) {
        error = path + ": " + error;
        unload();
        return false;
    }
    return true;
}

bool ProToolsPlugin::attach(const Exports& found, std::string& error)
{
    if (!found.winPlugInOpen || !found.winPlugInClose || !found.getRoutineDescriptor || !found.newPlugIn) {
        error = "not a Pro Tools plug-in (it lacks WinPlugInOpen, WinPlugInClose, _PI_GetRoutineDescriptor or "
                "NewPlugIn)";
        return false;
    }
    Routines r;
    const auto d = found.getRoutineDescriptor;
    const bool complete =
        fetch(d, PI_SelGetGroupInfo, r.getGroupInfo) && fetch(d, PI_SelGetManufacturerName, r.getManufacturerName) &&
        fetch(d, PI_SelGetGroupName, r.getGroupName) && fetch(d, PI_SelGetGroupGestalts, r.getGroupGestalts) &&
        fetch(d, PI_SelGetTypeInfo, r.getTypeInfo) && fetch(d, PI_SelGetTypeName, r.getTypeName) &&
        fetch(d, PI_SelGetTypeGestalts, r.getTypeGestalts) && fetch(d, PI_SelCreateInsert, r.createInsert) &&
        fetch(d, PI_SelDestroyInsert, r.destroyInsert) && fetch(d, PI_SelRender, r.render) &&
        fetch(d, PI_SelSetNotify, r.setNotify) && fetch(d, PI_SelIdle, r.idle) &&
        fetch(d, PI_SelGetControlCount, r.getControlCount) && fetch(d, PI_SelGetControlInfo, r.getControlInfo) &&
        fetch(d, PI_SelGetControlName, r.getControlName) && fetch(d, PI_SelGetControlText, r.getControlText) &&
        fetch(d, PI_SelFindControl, r.findControl) && fetch(d, PI_SelSetControlValue, r.setControlValue) &&
        fetch(d, PI_SelGetChunkSize, r.getChunkSize) && fetch(d, PI_SelSaveChunk, r.saveChunk) &&
        fetch(d, PI_SelRestoreChunk, r.restoreChunk) && fetch(d, PI_SelGetViewSize, r.getViewSize) &&
        fetch(d, PI_SelOpenWindow, r.openWindow) && fetch(d, PI_SelCloseWindow, r.closeWindow) &&
        fetch(d, PI_SelDrawWindow, r.drawWindow) && fetch(d, PI_SelHighlightControl, r.highlightControl) &&
        fetch(d, PI_SelControlAt, r.controlAt);
    if (!complete) {
        error = "the plug-in does not hand out every routine of the host interface";
        return false;
    }
    exports_ = found;
    routines_ = r;
    return true;
}

void ProToolsPlugin::unload()
{
    while (opens_ > 0) close();
    routines_ = Routines{};
    exports_ = Exports{};
    library_.close();
}

PI_Err ProToolsPlugin::open(std::int32_t version)
{
    if (!exports_.winPlugInOpen) return PI_ErrNotOpen;
    const PI_Err result = exports_.winPlugInOpen(version);
    if (result == PI_NoErr) ++opens_;
    return result;
}

PI_Err ProToolsPlugin::close()
{
    if (!exports_.winPlugInClose) return PI_ErrNotOpen;
    const PI_Err result = exports_.winPlugInClose();
    if (opens_ > 0) --opens_;
    return result;
}

namespace {

template <typename Ask>
std::string askText(int length, Ask ask)
{
    if (length <= 0 || length > 4096) return {};
    std::string text(std::size_t(length) + 1, '\0');
    if (ask(text.data()) != PI_NoErr) return {};
    text.resize(text.find('\0'));
    return text;
}

template <typename Ask>
std::vector<std::int32_t> askList(Ask ask)
{
    std::int32_t count = 0;
    if (ask(nullptr, 0, &count) != PI_NoErr || count < 0 || count > 4096) return {};
    std::vector<std::int32_t> list(static_cast<std::size_t>(count));
    if (ask(list.data(), count, &count) != PI_NoErr) return {};
    return list;
}

}  // namespace

std::string ProToolsPlugin::manufacturerName(int length) const
{
    if (!routines_.getManufacturerName) return {};
    return askText(length, [&](char* t) { return routines_.getManufacturerName(length, t); });
}

std::string ProToolsPlugin::groupName(int length) const
{
    if (!routines_.getGroupName) return {};
    return askText(length, [&](char* t) { return routines_.getGroupName(length, t); });
}

std::string ProToolsPlugin::typeName(std::int32_t type, int length) const
{
    if (!routines_.getTypeName) return {};
    return askText(length, [&](char* t) { return routines_.getTypeName(type, length, t); });
}

std::string ProToolsPlugin::controlName(PI_Insert insert, std::int32_t index, int length) const
{
    if (!routines_.getControlName) return {};
    return askText(length, [&](char* t) { return routines_.getControlName(insert, index, length, t); });
}

std::string ProToolsPlugin::controlText(PI_Insert insert, std::int32_t index) const
{
    if (!routines_.getControlText) return {};
    constexpr int kLength = 63;
    return askText(kLength, [&](char* t) { return routines_.getControlText(insert, index, kLength, t); });
}

std::vector<std::int32_t> ProToolsPlugin::groupGestalts() const
{
    if (!routines_.getGroupGestalts) return {};
    return askList([&](std::int32_t* s, std::int32_t n, std::int32_t* c) { return routines_.getGroupGestalts(s, n, c); });
}

std::vector<std::int32_t> ProToolsPlugin::typeGestalts(std::int32_t type) const
{
    if (!routines_.getTypeGestalts) return {};
    return askList(
        [&](std::int32_t* s, std::int32_t n, std::int32_t* c) { return routines_.getTypeGestalts(type, s, n, c); });
}

std::string ProToolsPlugin::errorText(PI_Err error)
{
    switch (error) {
    case PI_NoErr: return "no error";
    case PI_ErrBadVersion: return "wrong interface version";
    case PI_ErrOutOfMemory: return "out of memory";
    case PI_ErrInternal: return "internal error";
    case PI_ErrNotOpen: return "the plug-in is not open";
    case PI_ErrUnknownSelector: return "unknown routine selector";
    case PI_ErrNullPointer: return "null pointer";
    case PI_ErrUnknownInsert: return "unknown insert";
    case PI_ErrUnknownType: return "unknown effect type";
    case PI_ErrUnknownControl: return "unknown control";
    case PI_ErrValueOutOfRange: return "value out of range";
    case PI_ErrBadLength: return "bad length";
    case PI_ErrBufferTooSmall: return "buffer too small";
    case PI_ErrBadChunk: return "bad controls chunk";
    case PI_ErrResourceFile: return "missing or unreadable resource file";
    case PI_ErrMissingResource: return "a resource is missing from the resource file";
    case PI_ErrBadGestalt: return "gestalt not accepted";
    case PI_ErrTooManyInserts: return "too many inserts";
    case PI_ErrBadSampleRate: return "sample rate out of range";
    case PI_ErrNoPlugIn: return "the plug-in registered no effect group";
    case PI_ErrNoWindow: return "no plug-in window";
    case PI_ErrBadPort: return "bad window port";
    case PI_ErrWindowFailed: return "the plug-in could not make its window";
    default: return "error " + std::to_string(error);
    }
}
