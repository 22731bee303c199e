// A view the plug-in defines itself and registers with its group under a name, so that the library's
// view factory can make it from a description. It carries the four-character ID the description gave.
#pragma once

#include "protools/library/CPlugInView.h"

#include <cstdint>

class CCustomView : public CPlugInView {
public:
    // What the plug-in registers: a function making a new view of its kind (null when it cannot).
    using Creator = CCustomView* (*)();

    CCustomView();
    ~CCustomView() override;

    // The view factory places the view and names it.
    void place(const PI_ViewRect& bounds, std::uint32_t id);
    std::uint32_t viewID() const { return idOfView; }

private:
    std::uint32_t idOfView = 0;
};
