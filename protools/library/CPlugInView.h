// A view of a plug-in window as the library lays it out: a rectangle in the window, the views inside it,
// and a state flag the plug-in sets while its window is open. The library owns every view; a view owns
// the views inside it.
#pragma once

#include "protools/library/include/PIHostInterface.h"

#include <cstdint>
#include <memory>
#include <vector>

class CPlugInView {
public:
    explicit CPlugInView(const PI_ViewRect& bounds);
    virtual ~CPlugInView();
    CPlugInView(const CPlugInView&) = delete;
    CPlugInView& operator=(const CPlugInView&) = delete;

    const PI_ViewRect& bounds() const { return rect; }
    bool empty() const { return rect.right <= rect.left || rect.bottom <= rect.top; }

    // Takes the view; throws CDAEError(PI_ErrNullPointer) for none.
    void addSubview(std::unique_ptr<CPlugInView> view);
    std::int32_t subviewCount() const { return std::int32_t(subviews.size()); }
    CPlugInView* subview(std::int32_t number) const;  // from 0; null for none

    // Draws what lies in area (window coordinates). This base draws the views inside it.
    virtual void draw(const PI_ViewRect& area);

    // 1 while the plug-in's window shows the view, 0 otherwise.
    void setState(std::int32_t flag) { stateFlag = flag; }
    std::int32_t state() const { return stateFlag; }

protected:
    void setBounds(const PI_ViewRect& bounds) { rect = bounds; }

private:
    PI_ViewRect rect;
    std::vector<std::unique_ptr<CPlugInView>> subviews;
    std::int32_t stateFlag = 0;
};
