// A picture a view can show behind itself. Nothing in the plug-ins makes one, so this carries no
// pixels; it exists so that views can hold and release a backdrop as the framework expects.
#pragma once

#include "viewframework/CReferenceCounter.h"
#include "viewframework/ViewPoint.h"
#include "viewframework/ViewRect.h"

class CDrawContext;

class CBitmap : public CReferenceCounter {
public:
    virtual void draw(CDrawContext* context, const ViewRect& rect, ViewPoint offset);
};
