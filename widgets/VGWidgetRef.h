// An editor's pointer to one of its widgets, null while the editor is closed (see VGWidgetList).
#pragma once

#include "widgets/VGWidgetList.h"

template <class Widget>
class VGWidgetRef : public VGWidgetList::Entry {
public:
    explicit VGWidgetRef(VGWidgetList& list) : Entry(list) {}

    VGWidgetRef& operator=(Widget* w)
    {
        widget = w;
        return *this;
    }
    Widget* get() const { return static_cast<Widget*>(widget); }
    operator Widget*() const { return get(); }
    Widget* operator->() const { return get(); }
};
