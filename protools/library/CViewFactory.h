// Makes plug-in views from descriptions. The one kind of description it knows names a custom view the
// group registered and gives it a four-character ID:   !VectorgramView[('NoID')]
#pragma once

#include "protools/library/CCustomView.h"

#include <memory>
#include <string>

class CViewFactory {
public:
    // The view placed at bounds; null for a description it cannot read, a name no creator is
    // registered under (or no group), or a creator that made nothing.
    static std::unique_ptr<CCustomView> create(const std::string& description, const PI_ViewRect& bounds);
};
