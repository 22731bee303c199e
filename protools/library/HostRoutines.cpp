#include "protools/library/HostRoutines.h"

#include "protools/library/CDAEError.h"
#include "protools/library/CEffectGroup.h"
#include "protools/library/CEffectProcess.h"
#include "protools/library/CEffectType.h"
#include "protools/library/CPlugInModule.h"
#include "protools/library/CPluginControl.h"
#include "protools/library/MultiLengthName.h"
#include "protools/library/WindowPort.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

// Nothing thrown inside reaches the host: it gets the code.
template <typename Body>
PI_Err guarded(Body&& body) noexcept
{
    try {
        return body();
    } catch (const CDAEError& e) {
        return e.code();
    } catch (const std::bad_alloc&) {
        return PI_ErrOutOfMemory;
    } catch (...) {
        return PI_ErrInternal;
    }
}

CPlugInModule& module()
{
    return CPlugInModule::instance();
}

CEffectGroup* openGroup()
{
    return module().isOpen() ? module().group() : nullptr;
}

PI_Err writeText(const std::string& text, std::int32_t length, char* out)
{
    if (!out) return PI_ErrNullPointer;
    if (length <= 0) return PI_ErrBadLength;
    const std::size_t n = std::min(text.size(), std::size_t(length));
    std::memcpy(out, text.data(), n);
    out[n] = 0;
    return PI_NoErr;
}

PI_Err writeName(const std::string& names, std::int32_t length, char* out)
{
    return writeText(pickMultiLengthName(names, length), length, out);
}

PI_Err writeList(const std::vector<std::int32_t>& list, std::int32_t* out, std::int32_t capacity,
                 std::int32_t* count)
{
    if (!count) return PI_ErrNullPointer;
    if (capacity < 0) return PI_ErrBadLength;
    const auto n = std::int32_t(list.size());
    if (out) {
        if (capacity < n) return PI_ErrBufferTooSmall;
        std::copy(list.begin(), list.end(), out);
    }
    *count = n;
    return PI_NoErr;
}

PI_Err PI_CALL getGroupInfo(PI_GroupInfo* info)
{
    return guarded([&] {
        const CEffectGroup* group = openGroup();
        if (!group) return PI_Err(PI_ErrNotOpen);
        if (!info) return PI_Err(PI_ErrNullPointer);
        info->manufacturerID = group->manufacturerID();
        info->version = group->version();
        info->typeCount = group->typeCount();
        return PI_Err(PI_NoErr);
    });
}

PI_Err PI_CALL getManufacturerName(std::int32_t length, char* text)
{
    return guarded([&] {
        const CEffectGroup* group = openGroup();
        return group ? writeName(group->manufacturerNames(), length, text) : PI_Err(PI_ErrNotOpen);
    });
}

PI_Err PI_CALL getGroupName(std::int32_t length, char* text)
{
    return guarded([&] {
        const CEffectGroup* group = openGroup();
        return group ? writeName(group->plugInNames(), length, text) : PI_Err(PI_ErrNotOpen);
    });
}

PI_Err PI_CALL getGroupGestalts(std::int32_t* selectors, std::int32_t capacity, std::int32_t* count)
{
    return guarded([&] {
        const CEffectGroup* group = openGroup();
        return group ? writeList(group->gestalts(), selectors, capacity, count) : PI_Err(PI_ErrNotOpen);
    });
}

// The type numbered `type`, or the reason there is none.
PI_Err findType(std::int32_t type, const CEffectType*& found)
{
    const CEffectGroup* group = openGroup();
    if (!group) return PI_ErrNotOpen;
    found = group->type(type);
    return found ? PI_NoErr : PI_ErrUnknownType;
}

PI_Err PI_CALL getTypeInfo(std::int32_t type, PI_TypeInfo* info)
{
    return guarded([&] {
        const CEffectType* t = nullptr;
        if (const PI_Err err = findType(type, t)) return err;
        if (!info) return PI_Err(PI_ErrNullPointer);
        info->kind = t->kind();
        info->typeID = t->typeID();
        info->productID = t->productID();
        info->configuration = t->configuration();
        info->sampleRateSupport = t->sampleRateSupport();
        info->inputFormat = t->inputFormat();
        info->outputFormat = t->outputFormat();
        info->stemOption = t->stemOption();
        info->inputChannels = t->inputChannels();
        info->outputChannels = t->outputChannels();
        return PI_Err(PI_NoErr);
    });
}

PI_Err PI_CALL getTypeName(std::int32_t type, std::int32_t length, char* text)
{
    return guarded([&] {
        const CEffectType* t = nullptr;
        if (const PI_Err err = findType(type, t)) return err;
        return writeName(t->names(), length, text);
    });
}

PI_Err PI_CALL getTypeGestalts(std::int32_t type, std::int32_t* selectors, std::int32_t capacity,
                               std::int32_t* count)
{
    return guarded([&] {
        const CEffectType* t = nullptr;
        if (const PI_Err err = findType(type, t)) return err;
        return writeList(t->gestalts(), selectors, capacity, count);
    });
}

PI_Err PI_CALL createInsert(std::int32_t type, std::int32_t sampleRate, PI_Insert* insert)
{
    return guarded([&] {
        module().deleteRetired();
        if (!insert) return PI_Err(PI_ErrNullPointer);
        PI_Insert made = 0;
        const PI_Err err = module().createInsert(type, sampleRate, made);
        if (err == PI_NoErr) *insert = made;
        return err;
    });
}

PI_Err PI_CALL destroyInsert(PI_Insert insert)
{
    return guarded([&] {
        module().deleteRetired();
        return module().destroyInsert(insert);
    });
}

PI_Err PI_CALL render(PI_Insert insert, float** inputs, float** outputs, std::int32_t frames)
{
    // The audio thread: no allocation, no lock, nothing that throws.
    CEffectProcess* process = module().findInsert(insert);
    if (!process) return PI_ErrUnknownInsert;
    if (!inputs || !outputs) return PI_ErrNullPointer;
    if (frames <= 0) return PI_ErrBadLength;
    for (std::int32_t c = 0; c < process->inputChannels(); ++c)
        if (!inputs[c]) return PI_ErrNullPointer;
    for (std::int32_t c = 0; c < process->outputChannels(); ++c)
        if (!outputs[c]) return PI_ErrNullPointer;
    process->renderBlock(inputs, outputs, frames);
    return PI_NoErr;
}

// Runs body with the insert's process, or answers that there is no such insert.
template <typename Body>
PI_Err withInsert(PI_Insert insert, Body&& body)
{
    return guarded([&] {
        const CPlugInModule::Use use(insert);
        if (!use.process()) return PI_Err(PI_ErrUnknownInsert);
        return PI_Err(body(*use.process()));
    });
}

PI_Err PI_CALL setNotify(PI_Insert insert, PI_NotifyProc notify, void* user)
{
    return withInsert(insert, [&](CEffectProcess& p) {
        p.connectHost(notify, user);
        return PI_NoErr;
    });
}

PI_Err PI_CALL idle(PI_Insert insert)
{
    return withInsert(insert, [&](CEffectProcess& p) {
        p.runHostIdle();
        return PI_NoErr;
    });
}

PI_Err PI_CALL getControlCount(PI_Insert insert, std::int32_t* count)
{
    return withInsert(insert, [&](CEffectProcess& p) -> PI_Err {
        if (!count) return PI_ErrNullPointer;
        *count = p.controlCount();
        return PI_NoErr;
    });
}

PI_Err PI_CALL getControlInfo(PI_Insert insert, std::int32_t index, PI_ControlInfo* info)
{
    return withInsert(insert, [&](CEffectProcess& p) -> PI_Err {
        const CPluginControl* c = p.control(index);
        if (!c) return PI_ErrUnknownControl;
        if (!info) return PI_ErrNullPointer;
        const std::int32_t value = c->value();
        info->id = c->id();
        info->kind = c->kind();
        info->minimum = c->minimum();
        info->maximum = c->maximum();
        info->defaultShown = c->shown(c->defaultValue());
        info->defaultValue = c->defaultValue();
        info->value = value;
        info->shown = c->shown(value);
        info->flags = (index == p.masterBypassIndex() ? PI_ControlIsMasterBypass : 0) |
                      (c->automatable() ? PI_ControlAutomatable : 0);
        return PI_NoErr;
    });
}

PI_Err PI_CALL getControlName(PI_Insert insert, std::int32_t index, std::int32_t length, char* text)
{
    return withInsert(insert, [&](CEffectProcess& p) -> PI_Err {
        const CPluginControl* c = p.control(index);
        return c ? writeName(c->names(), length, text) : PI_Err(PI_ErrUnknownControl);
    });
}

PI_Err PI_CALL getControlText(PI_Insert insert, std::int32_t index, std::int32_t length, char* text)
{
    return withInsert(insert, [&](CEffectProcess& p) -> PI_Err {
        if (!p.control(index)) return PI_ErrUnknownControl;
        if (!text) return PI_ErrNullPointer;
        if (length <= 0) return PI_ErrBadLength;
        return writeText(p.controlText(index), length, text);
    });
}

PI_Err PI_CALL findControl(PI_Insert insert, std::uint32_t id, std::int32_t* index)
{
    return withInsert(insert, [&](CEffectProcess& p) -> PI_Err {
        if (!index) return PI_ErrNullPointer;
        const std::int32_t found = p.findControl(id);
        if (found == 0) return PI_ErrUnknownControl;
        *index = found;
        return PI_NoErr;
    });
}

PI_Err PI_CALL setControlValue(PI_Insert insert, std::int32_t index, std::int32_t value)
{
    return withInsert(insert, [&](CEffectProcess& p) { return p.applyControlValue(index, value); });
}

PI_Err PI_CALL getChunkSize(PI_Insert insert, std::int32_t* size)
{
    return withInsert(insert, [&](CEffectProcess& p) -> PI_Err {
        if (!size) return PI_ErrNullPointer;
        *size = p.chunkSize();
        return PI_NoErr;
    });
}

PI_Err PI_CALL saveChunk(PI_Insert insert, void* data, std::int32_t capacity, std::int32_t* size)
{
    return withInsert(insert, [&](CEffectProcess& p) -> PI_Err {
        if (!size) return PI_ErrNullPointer;
        std::int32_t written = 0;
        const PI_Err err = p.saveChunk(data, capacity, written);
        if (err == PI_NoErr) *size = written;
        return err;
    });
}

PI_Err PI_CALL restoreChunk(PI_Insert insert, const void* data, std::int32_t size)
{
    return withInsert(insert, [&](CEffectProcess& p) { return p.restoreChunk(data, size); });
}

// The window routines: whatever the plug-in's window throws (the system's refusal of a window class or
// a window, as a number) is the host's PI_ErrWindowFailed.
template <typename Body>
PI_Err withWindow(PI_Insert insert, Body&& body)
{
    return withInsert(insert, [&](CEffectProcess& p) -> PI_Err {
        try {
            return body(p);
        } catch (const CDAEError&) {
            throw;
        } catch (const std::bad_alloc&) {
            throw;
        } catch (...) {
            return PI_ErrWindowFailed;
        }
    });
}

PI_Err PI_CALL getViewSize(PI_Insert insert, PI_ViewRect* rect)
{
    return withWindow(insert, [&](CEffectProcess& p) -> PI_Err {
        if (!rect) return PI_ErrNullPointer;
        return p.viewSize(*rect);
    });
}

PI_Err PI_CALL openWindow(PI_Insert insert, const PI_WindowPort* port)
{
    return withWindow(insert, [&](CEffectProcess& p) -> PI_Err {
        if (!port) return PI_ErrNullPointer;
        if (!nativeWindowOfPort(port)) return PI_ErrBadPort;
        return p.openWindow(*port);
    });
}

PI_Err PI_CALL closeWindow(PI_Insert insert)
{
    return withWindow(insert, [&](CEffectProcess& p) { return p.closeWindow(); });
}

PI_Err PI_CALL drawWindow(PI_Insert insert, const PI_ViewRect* area)
{
    return withWindow(insert, [&](CEffectProcess& p) { return p.drawWindow(area); });
}

PI_Err PI_CALL highlightControl(PI_Insert insert, std::int32_t index, std::int32_t highlighted, std::int32_t colour)
{
    return withWindow(insert, [&](CEffectProcess& p) { return p.highlightControl(index, highlighted != 0, colour); });
}

PI_Err PI_CALL controlAt(PI_Insert insert, std::int32_t x, std::int32_t y, std::int32_t* index)
{
    return withWindow(insert, [&](CEffectProcess& p) -> PI_Err {
        if (!index) return PI_ErrNullPointer;
        *index = p.controlAt(x, y);
        return PI_NoErr;
    });
}

template <typename Routine>
PI_Routine routine(Routine r)
{
    return reinterpret_cast<PI_Routine>(r);
}

}  // namespace

PI_Routine hostRoutine(std::int32_t selector)
{
    switch (selector) {
    case PI_SelGetGroupInfo: return routine(&getGroupInfo);
    case PI_SelGetManufacturerName: return routine(&getManufacturerName);
    case PI_SelGetGroupName: return routine(&getGroupName);
    case PI_SelGetGroupGestalts: return routine(&getGroupGestalts);
    case PI_SelGetTypeInfo: return routine(&getTypeInfo);
    case PI_SelGetTypeName: return routine(&getTypeName);
    case PI_SelGetTypeGestalts: return routine(&getTypeGestalts);
    case PI_SelCreateInsert: return routine(&createInsert);
    case PI_SelDestroyInsert: return routine(&destroyInsert);
    case PI_SelRender: return routine(&render);
    case PI_SelSetNotify: return routine(&setNotify);
    case PI_SelIdle: return routine(&idle);
    case PI_SelGetControlCount: return routine(&getControlCount);
    case PI_SelGetControlInfo: return routine(&getControlInfo);
    case PI_SelGetControlName: return routine(&getControlName);
    case PI_SelGetControlText: return routine(&getControlText);
    case PI_SelFindControl: return routine(&findControl);
    case PI_SelSetControlValue: return routine(&setControlValue);
    case PI_SelGetChunkSize: return routine(&getChunkSize);
    case PI_SelSaveChunk: return routine(&saveChunk);
    case PI_SelRestoreChunk: return routine(&restoreChunk);
    case PI_SelGetViewSize: return routine(&getViewSize);
    case PI_SelOpenWindow: return routine(&openWindow);
    case PI_SelCloseWindow: return routine(&closeWindow);
    case PI_SelDrawWindow: return routine(&drawWindow);
    case PI_SelHighlightControl: return routine(&highlightControl);
    case PI_SelControlAt: return routine(&controlAt);
    default: return nullptr;
    }
}
