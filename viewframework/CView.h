// The base of everything in an editor's tree: a rectangle in its parent's coordinates that paints
// itself, may take the mouse, and says when it needs painting again.
#pragma once

#include "effectbase/VstAbi.h"
#include "viewframework/CReferenceCounter.h"
#include "viewframework/ViewPoint.h"
#include "viewframework/ViewRect.h"

#include <cstdint>

class AEffGUIEditor;
class CBitmap;
class CDragContainer;
class CDrawContext;
class CFrame;
class CViewContainer;

// Containers recognise this message by its address, never by its text.
extern const char* const kMsgCheckIfViewContainer;

class CView : public CReferenceCounter {
public:
    explicit CView(const ViewRect& size);
    ~CView() override;

    virtual void paint(CDrawContext* context);
    virtual void paintRegion(CDrawContext* context, const ViewRect& rect);
    virtual bool touchesRegion(const ViewRect& rect) const;
    virtual void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons);
    virtual void setBackdrop(CBitmap* bitmap);
    virtual CBitmap* backdrop() const { return backdropBitmap; }
    virtual std::int32_t onKeyPressed(VstKeyCode& key);
    virtual std::int32_t onKeyReleased(VstKeyCode& key);
    virtual bool onWheelAxis(CDrawContext* context, const ViewPoint& where, std::int32_t axis, float distance);
    virtual bool onWheelTurned(CDrawContext* context, const ViewPoint& where, float distance);
    virtual bool onDropped(CDrawContext* context, CDragContainer* drag, const ViewPoint& where);
    virtual void onDragEntered(CDrawContext* context, CDragContainer* drag, const ViewPoint& where);
    virtual void onDragLeft(CDrawContext* context, CDragContainer* drag, const ViewPoint& where);
    virtual void onDragMoved(CDrawContext* context, CDragContainer* drag, const ViewPoint& where);
    virtual void onFocusLost(CDrawContext* context);
    virtual void onFocusGained(CDrawContext* context);
    virtual bool needsRedraw() const { return dirty; }
    virtual void setNeedsRedraw(bool flag) { dirty = flag; }
    virtual void setAcceptsMouse(bool flag) { mouse = flag; }
    virtual bool acceptsMouse() const { return mouse; }
    virtual void setHitArea(const ViewRect& rect) { hitRect = rect; }
    virtual ViewRect hitArea() const { return hitRect; }
    virtual bool containsPoint(const ViewPoint& where, std::int32_t buttons) const;
    virtual void setSeeThrough(bool flag) { seeThrough = flag; }
    virtual bool isSeeThrough() const { return seeThrough; }
    virtual void setBounds(const ViewRect& rect);
    virtual ViewRect getBounds() const { return boundsRect; }
    virtual bool onDetached(CView* parent);
    virtual bool onAttached(CView* parent);
    virtual void pointerInView(CDrawContext* context, ViewPoint& point);
    virtual ViewPoint& toLocal(ViewPoint& point) const;
    virtual ViewPoint& toFrame(ViewPoint& point) const;
    virtual AEffGUIEditor* owningEditor() const;
    virtual std::int32_t onNotify(CView* sender, const char* message);
    virtual void repaintRegion(CDrawContext* context, const ViewRect& rect);
    virtual bool takesFocus() const { return focusable; }
    virtual void setTakesFocus(bool flag) { focusable = flag; }
    virtual bool isKindOf(const char* name) const;
    virtual void refresh(CDrawContext* context);

    CFrame* parentFrame() const { return frame; }
    CViewContainer* parentView() const { return parent; }
    // Containers set these when they adopt the view.
    void setParentFrame(CFrame* f) { frame = f; }
    void setParentView(CViewContainer* p) { parent = p; }
    // Paints this view at once through the frame, outside the idle cycle.
    void repaintNow();
    const ViewRect& bounds() const { return boundsRect; }

protected:
    ViewRect boundsRect;
    ViewRect hitRect;
    CFrame* frame = nullptr;
    CViewContainer* parent = nullptr;
    bool dirty = false;
    bool mouse = true;
    bool seeThrough = false;
    bool focusable = false;
    CBitmap* backdropBitmap = nullptr;
};
