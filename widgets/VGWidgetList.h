// The widgets an open editor has put on its frame. The editor's pointers to them are VGWidgetRef
// members enrolled here when the editor is built, so forget clears every one of them when the editor
// closes: a widget added later cannot be left pointing at what the frame has released.
#pragma once

#include <atomic>

class CFrame;
class CView;

class VGWidgetList {
public:
    // One enrolled pointer; VGWidgetRef gives it its widget's type.
    class Entry {
    public:
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;

    protected:
        explicit Entry(VGWidgetList& list);
        // As the widget's own type put it, so that the pointer works where that type is only declared.
        void* widget = nullptr;

    private:
        friend class VGWidgetList;
        Entry* next;
    };

    VGWidgetList() = default;
    VGWidgetList(const VGWidgetList&) = delete;
    VGWidgetList& operator=(const VGWidgetList&) = delete;

    // The frame the next widgets go to, in the order they are added.
    void begin(CFrame* target) { frame = target; }
    template <class Widget>
    Widget* add(Widget* widget)
    {
        addView(widget);
        return widget;
    }
    CFrame* target() const { return frame; }
    // Every widget is in place: the editor shows its parameters from now on.
    void opened() { open.store(true, std::memory_order_relaxed); }
    bool isOpen() const { return open.load(std::memory_order_relaxed); }
    // Closed: no frame, and every enrolled pointer null.
    void forget();

private:
    void addView(CView* view);

    CFrame* frame = nullptr;
    Entry* entries = nullptr;
    std::atomic<bool> open{false};
};
