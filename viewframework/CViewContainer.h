// A view that owns child views, paints them through an off-screen context of its own (one copy to
// the screen per repaint) and routes presses, keys, wheel and drags to them, later children first.
#pragma once

#include "viewframework/CView.h"
#include "viewframework/ViewColour.h"

#include <list>

class COffscreenContext;

class CViewContainer : public CView {
public:
    CViewContainer(const ViewRect& size, CFrame* frame, CBitmap* backdrop = nullptr);
    ~CViewContainer() override;

    void paint(CDrawContext* context) override;
    void paintRegion(CDrawContext* context, const ViewRect& rect) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;
    std::int32_t onKeyPressed(VstKeyCode& key) override;
    std::int32_t onKeyReleased(VstKeyCode& key) override;
    bool onWheelAxis(CDrawContext* context, const ViewPoint& where, std::int32_t axis, float distance) override;
    bool onWheelTurned(CDrawContext* context, const ViewPoint& where, float distance) override;
    bool onDropped(CDrawContext* context, CDragContainer* drag, const ViewPoint& where) override;
    void onDragEntered(CDrawContext* context, CDragContainer* drag, const ViewPoint& where) override;
    void onDragLeft(CDrawContext* context, CDragContainer* drag, const ViewPoint& where) override;
    void onDragMoved(CDrawContext* context, CDragContainer* drag, const ViewPoint& where) override;
    void onFocusLost(CDrawContext* context) override;
    void onFocusGained(CDrawContext* context) override;
    bool needsRedraw() const override;
    void setBounds(const ViewRect& rect) override;
    bool onDetached(CView* parent) override;
    bool onAttached(CView* parent) override;
    ViewPoint& toLocal(ViewPoint& point) const override;
    ViewPoint& toFrame(ViewPoint& point) const override;
    std::int32_t onNotify(CView* sender, const char* message) override;
    void repaintRegion(CDrawContext* context, const ViewRect& rect) override;
    bool isKindOf(const char* name) const override;
    void refresh(CDrawContext* context) override;

    virtual void addViewWithArea(CView* view, const ViewRect& hitArea, bool acceptsMouse);
    virtual void addView(CView* view);
    virtual void removeView(CView* view, bool withRelease = true);
    virtual void removeAll(bool withRelease = true);
    virtual bool isChild(CView* view) const;
    virtual std::int32_t childCount() const { return std::int32_t(children.size()); }
    virtual CView* childAt(std::int32_t index) const;
    virtual void setBackgroundColour(ViewColour colour);
    virtual ViewColour backgroundColour() const { return background; }
    virtual void setBackdropOffset(ViewPoint p) { offsetOfBackdrop = p; }
    virtual ViewPoint backdropOffset() const { return offsetOfBackdrop; }
    virtual void paintBackground(CDrawContext* context, const ViewRect& rect);
    virtual void setUpdateMode(std::int32_t mode) { mode_ = mode; }
    virtual std::int32_t updateMode() const { return mode_; }
    virtual void setDrawInOffscreen(bool flag);
    virtual CView* viewUnderPointer();
    virtual CView* viewAt(const ViewPoint& where, bool deep);
    virtual bool advanceFocus(CView* current, bool backwards);

protected:
    // The container's own area in its own coordinates.
    ViewRect localArea() const { return {0, 0, boundsRect.width(), boundsRect.height()}; }
    bool isFrame() const;
    void makeOffscreen();
    void dropOffscreen();
    void paintArea(CDrawContext* context, const ViewRect& updated, bool whole);

    std::list<CView*> children;
    std::int32_t mode_ = 1;
    COffscreenContext* offscreen = nullptr;
    ViewColour background = kColourBlack;
    ViewPoint offsetOfBackdrop;
    bool drawInOffscreen = true;
    CView* currentDragView = nullptr;
};
