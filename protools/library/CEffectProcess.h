// An effect process: the controls of one insert and everything the library does with them. The plug-in
// defines its controls in initialiseProcess and hears of changes through updateAlgorithm (the master
// bypass excepted: the library handles it alone) and showControlValue.
//
// The plug-in window: the library makes the plug-in's view at the first open (and keeps it as long as
// the insert lives), hands the plug-in the host's window port while the window is open, and passes the
// host's draw, highlight and hit-test requests on.
//
// A control change comes from one of two sides. The host (automation, a control surface, a restored
// setting, or the host reporting back a change the plug-in asked for) applies it at once. The plug-in
// requests one: while the host is connected the request goes to the host, which reports it back when
// it takes it; without a host the library applies it directly.
#pragma once

#include "protools/library/CProcess.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CPlugInView;
class CPluginControl;

class CEffectProcess : public virtual CProcess {
public:
    CEffectProcess();
    ~CEffectProcess() override;

    // Called by the library once, right after the process is made: the plug-in defines its controls.
    virtual void initialiseProcess() {}

    // Controls are numbered from 1 in the order they are added.
    void addControl(std::unique_ptr<CPluginControl> control);
    void declareMasterBypass(std::int32_t index);
    std::int32_t masterBypassIndex() const { return bypassIndex; }
    bool masterBypassed() const;  // any thread

    std::int32_t controlCount() const { return std::int32_t(controls.size()); }
    CPluginControl* control(std::int32_t index) const;  // null for an index without a control
    std::int32_t findControl(std::uint32_t id) const;   // 0 when no control has the ID
    std::int32_t controlValue(std::int32_t index) const;  // 0 for an index without a control

    // The two sides of a change (see above). Errors for an unknown index or a value the control does
    // not take; nothing changes then. A request repeating the last one, which the host took, is not
    // sent again (a plug-in's drag asks on every pass).
    PI_Err applyControlValue(std::int32_t index, std::int32_t value);
    PI_Err requestControlValue(std::int32_t index, std::int32_t value);

    // The user holds a control: nested touches are counted per control, and a connected host hears of
    // the first touch and of the release that brings the count back to 0.
    PI_Err touch(std::int32_t index);
    PI_Err release(std::int32_t index);
    int touchCount(std::int32_t index) const;

    // The text of a control's current value, as a host shows it. The control's own unless the plug-in
    // knows better.
    virtual std::string controlText(std::int32_t index);

    // Every control's value into the "Complete Controls State" chunk, and back (all or nothing).
    std::int32_t chunkSize() const;
    PI_Err saveChunk(void* data, std::int32_t capacity, std::int32_t& size) const;
    PI_Err restoreChunk(const void* data, std::int32_t size);

    // After initialisation: checks what the plug-in defined (throws CDAEError) and sends every
    // control's value to the algorithm once.
    void startControls();

    // The host's window requests. Errors: PI_ErrNoWindow (no window open, or the plug-in has none),
    // PI_ErrUnknownControl; what the plug-in throws passes through.
    PI_Err viewSize(PI_ViewRect& rect);
    PI_Err openWindow(const PI_WindowPort& port);
    PI_Err closeWindow();
    PI_Err drawWindow(const PI_ViewRect* area);
    PI_Err highlightControl(std::int32_t index, bool highlighted, std::int32_t colour);
    std::int32_t controlAt(std::int32_t x, std::int32_t y);
    bool windowOpen() const { return portSet; }
    bool controlHighlighted(std::int32_t index) const { return control(index) && highlighted[std::size_t(index - 1)]; }
    CPlugInView* plugInView() const { return view.get(); }

    // The plug-in's window overrides.
    // A new view for the plug-in window (the library takes it); null for none.
    virtual CPlugInView* createPlugInView() { return nullptr; }
    // The view's size, top, left, bottom, right; all 0 for none.
    virtual void plugInViewRect(std::int32_t& top, std::int32_t& left, std::int32_t& bottom, std::int32_t& right);
    // The window's port while it is open, null when it closes. This base records it; an override calls
    // it first. The port lives in the library until the next call.
    virtual void setWindowPort(const PI_WindowPort* port);
    // The library's own highlighting of a control (the master bypass's); an override passes the
    // plug-in's controls on to its window.
    virtual void setControlHighlight(std::int32_t index, bool highlighted, std::int32_t colour);
    // The control index under a point of the window; 0 for none.
    virtual std::int32_t controlUnderPoint(std::int32_t, std::int32_t) { return 0; }

protected:
    // A control's value changed; the master bypass never comes here.
    virtual void updateAlgorithm(std::int32_t) {}
    // A control's value changed; whatever shows it may follow.
    virtual void showControlValue(std::int32_t, std::int32_t) {}

private:
    void changed(std::int32_t index);

    std::vector<std::unique_ptr<CPluginControl>> controls;
    std::vector<int> touches;
    std::vector<std::optional<std::int32_t>> lastRequests;
    std::int32_t bypassIndex = 0;
    std::unique_ptr<CPlugInView> view;
    PI_WindowPort port{};
    bool portSet = false;
    std::vector<bool> highlighted;
};
