// The custom view "VectorgramView" the library places in the Pro Tools plug-in window: it draws
// through the window bridge, which the process hands it.
#pragma once

#include "protools/library/CCustomView.h"

class CVectorgramCustomUI;

class CVectorgramView : public CCustomView {
public:
    static constexpr const char* kName = "VectorgramView";

    // The creator the group registers under kName; null when the view cannot be allocated.
    static CCustomView* create();

    void draw(const PI_ViewRect& area) override;
    void setCustomUI(CVectorgramCustomUI* bridge) { customUI = bridge; }
    CVectorgramCustomUI* getCustomUI() const { return customUI; }

private:
    CVectorgramCustomUI* customUI = nullptr;
};
