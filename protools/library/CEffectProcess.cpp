#include "protools/library/CEffectProcess.h"

#include "protools/library/CControlsChunk.h"
#include "protools/library/CDAEError.h"
#include "protools/library/CPlugInView.h"
#include "protools/library/CPluginControl.h"

#include <algorithm>

CEffectProcess::CEffectProcess() = default;
CEffectProcess::~CEffectProcess() = default;  // the view goes after the plug-in's part of the process

void CEffectProcess::addControl(std::unique_ptr<CPluginControl> control)
{
    if (!control) throw CDAEError(PI_ErrNullPointer);
    controls.push_back(std::move(control));
    touches.push_back(0);
    lastRequests.emplace_back();
    highlighted.push_back(false);
}

void CEffectProcess::declareMasterBypass(std::int32_t index)
{
    bypassIndex = index;
}

bool CEffectProcess::masterBypassed() const
{
    const CPluginControl* bypass = control(bypassIndex);
    return bypass && bypass->value() != 0;
}

CPluginControl* CEffectProcess::control(std::int32_t index) const
{
    if (index < 1 || index > controlCount()) return nullptr;
    return controls[std::size_t(index - 1)].get();
}

std::int32_t CEffectProcess::findControl(std::uint32_t id) const
{
    for (std::int32_t i = 1; i <= controlCount(); ++i)
        if (control(i)->id() == id) return i;
    return 0;
}

std::int32_t CEffectProcess::controlValue(std::int32_t index) const
{
    const CPluginControl* c = control(index);
    return c ? c->value() : 0;
}

PI_Err CEffectProcess::applyControlValue(std::int32_t index, std::int32_t value)
{
    CPluginControl* c = control(index);
    if (!c) return PI_ErrUnknownControl;
    if (!c->accepts(value)) return PI_ErrValueOutOfRange;
    c->setValue(value);
    changed(index);
    return PI_NoErr;
}

PI_Err CEffectProcess::requestControlValue(std::int32_t index, std::int32_t value)
{
    CPluginControl* c = control(index);
    if (!c) return PI_ErrUnknownControl;
    if (!c->accepts(value)) return PI_ErrValueOutOfRange;
    if (!connected()) return applyControlValue(index, value);
    std::optional<std::int32_t>& last = lastRequests[std::size_t(index - 1)];
    if (last == value && c->value() == value) return PI_NoErr;
    last = value;
    notifyHost(PI_NotifyControlRequest, index, value);
    return PI_NoErr;
}

void CEffectProcess::changed(std::int32_t index)
{
    if (index != bypassIndex) updateAlgorithm(index);
    showControlValue(index, controlValue(index));
}

PI_Err CEffectProcess::touch(std::int32_t index)
{
    if (!control(index)) return PI_ErrUnknownControl;
    if (++touches[std::size_t(index - 1)] == 1) notifyHost(PI_NotifyTouch, index, 0);
    return PI_NoErr;
}

PI_Err CEffectProcess::release(std::int32_t index)
{
    if (!control(index)) return PI_ErrUnknownControl;
    int& count = touches[std::size_t(index - 1)];
    if (count == 0) return PI_NoErr;  // a release without a touch changes nothing
    if (--count == 0) notifyHost(PI_NotifyRelease, index, 0);
    return PI_NoErr;
}

int CEffectProcess::touchCount(std::int32_t index) const
{
    return control(index) ? touches[std::size_t(index - 1)] : 0;
}

std::string CEffectProcess::controlText(std::int32_t index)
{
    const CPluginControl* c = control(index);
    return c ? c->text(c->value()) : std::string();
}

std::int32_t CEffectProcess::chunkSize() const
{
    return CControlsChunk::size(controlCount());
}

PI_Err CEffectProcess::saveChunk(void* data, std::int32_t capacity, std::int32_t& size) const
{
    if (!data) return PI_ErrNullPointer;
    if (capacity <= 0) return PI_ErrBadLength;
    if (capacity < chunkSize()) return PI_ErrBufferTooSmall;
    std::vector<CControlsChunk::Entry> entries;
    for (const auto& c : controls) entries.push_back({c->id(), c->value()});
    CControlsChunk::write(productID(), entries, static_cast<std::uint8_t*>(data));
    size = chunkSize();
    return PI_NoErr;
}

PI_Err CEffectProcess::restoreChunk(const void* data, std::int32_t size)
{
    if (!data) return PI_ErrNullPointer;
    if (size <= 0) return PI_ErrBadLength;
    std::vector<CControlsChunk::Entry> entries;
    if (!CControlsChunk::read(static_cast<const std::uint8_t*>(data), size, productID(), entries))
        return PI_ErrBadChunk;
    // Every control exactly once, every value one its control takes; else nothing is restored.
    if (std::int32_t(entries.size()) != controlCount()) return PI_ErrBadChunk;
    std::vector<std::int32_t> values(controls.size());
    std::vector<bool> seen(controls.size(), false);
    for (const auto& e : entries) {
        const std::int32_t index = findControl(e.id);
        if (index == 0 || seen[std::size_t(index - 1)] || !control(index)->accepts(e.value)) return PI_ErrBadChunk;
        seen[std::size_t(index - 1)] = true;
        values[std::size_t(index - 1)] = e.value;
    }
    for (std::int32_t i = 1; i <= controlCount(); ++i) control(i)->setValue(values[std::size_t(i - 1)]);
    for (std::int32_t i = 1; i <= controlCount(); ++i) changed(i);
    return PI_NoErr;
}

void CEffectProcess::startControls()
{
    for (std::int32_t i = 1; i <= controlCount(); ++i)
        if (findControl(control(i)->id()) != i) throw CDAEError(PI_ErrInternal);  // two controls, one ID
    if (bypassIndex != 0 && control(bypassIndex) == nullptr) throw CDAEError(PI_ErrUnknownControl);
    for (std::int32_t i = 1; i <= controlCount(); ++i)
        if (i != bypassIndex) updateAlgorithm(i);
}

void CEffectProcess::plugInViewRect(std::int32_t& top, std::int32_t& left, std::int32_t& bottom, std::int32_t& right)
{
    top = left = bottom = right = 0;
}

PI_Err CEffectProcess::viewSize(PI_ViewRect& rect)
{
    PI_ViewRect r{};
    plugInViewRect(r.top, r.left, r.bottom, r.right);
    if (r.right <= r.left || r.bottom <= r.top) return PI_ErrNoWindow;
    rect = r;
    return PI_NoErr;
}

PI_Err CEffectProcess::openWindow(const PI_WindowPort& given)
{
    if (!view) view.reset(createPlugInView());
    if (!view || view->empty()) return PI_ErrNoWindow;
    port = given;
    try {
        setWindowPort(&port);
    } catch (...) {
        portSet = false;  // whatever the plug-in managed, no window of it is open
        throw;
    }
    return PI_NoErr;
}

PI_Err CEffectProcess::closeWindow()
{
    if (!portSet) return PI_ErrNoWindow;
    setWindowPort(nullptr);
    return PI_NoErr;
}

void CEffectProcess::setWindowPort(const PI_WindowPort* given)
{
    if (given && given != &port) port = *given;
    portSet = given != nullptr;
}

PI_Err CEffectProcess::drawWindow(const PI_ViewRect* area)
{
    if (!portSet || !view) return PI_ErrNoWindow;
    view->draw(area ? *area : view->bounds());
    return PI_NoErr;
}

PI_Err CEffectProcess::highlightControl(std::int32_t index, bool on, std::int32_t colour)
{
    if (!control(index)) return PI_ErrUnknownControl;
    setControlHighlight(index, on, colour);
    return PI_NoErr;
}

void CEffectProcess::setControlHighlight(std::int32_t index, bool on, std::int32_t)
{
    // The library shows its own controls' highlights in the host's strip, not in the plug-in window.
    if (control(index)) highlighted[std::size_t(index - 1)] = on;
}

std::int32_t CEffectProcess::controlAt(std::int32_t x, std::int32_t y)
{
    const std::int32_t index = controlUnderPoint(x, y);
    return control(index) ? index : 0;
}
