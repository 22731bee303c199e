// What the tests of +vectorgram's plug-in window share: the plug-in linked into the test program and
// attached through its exports, the headless window system with host windows to give as ports, and a
// host that hears the plug-in's notifications.
#pragma once

#include "effects/vectorgram/CVectorgramVSTEditor.h"
#include "platform/HeadlessWindowSystem.h"
#include "protools/CVectorgramCustomUI.h"
#include "protools/CVectorgramProcess.h"
#include "protools/library/CPlugInModule.h"
#include "protools/library/PlugInExports.h"
#include "tests/protools/ResourceFileBeside.h"
#include "tools/plughost/ProToolsPlugin.h"
#include "viewframework/CFrame.h"
#include "viewframework/ViewConstants.h"
#include "widgets/VGSlider.h"
#include "widgets/VGVUBitMeter.h"
#include "widgets/VGVectorgram.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace ptwindow {

// The editor's slider at (25,380)-(365,396): its track runs from x 25 + 12 to 25 + 328.
constexpr int kTrackStart = 37;
constexpr int kTrackEnd = 353;
constexpr int kSliderRow = 388;
constexpr std::int32_t kLowest = -2147483647 - 1;
constexpr std::int32_t kHighest = 2147483647;

// A host that registered a notification routine: it records what the plug-in asks and, unless told to
// wait, reports each control request straight back as Pro Tools does.
struct NotifiedHost {
    struct Note {
        std::int32_t what;
        std::int32_t index;
        std::int32_t value;
    };
    const ProToolsPlugin::Routines* routines = nullptr;
    bool reportBack = true;
    std::vector<Note> notes;
    std::function<void(PI_Insert, const Note&)> also;  // after recording, before reporting back

    static void PI_CALL notify(void* user, PI_Insert insert, std::int32_t what, std::int32_t index, std::int32_t value)
    {
        auto& host = *static_cast<NotifiedHost*>(user);
        host.notes.push_back({what, index, value});
        if (host.also) host.also(insert, host.notes.back());
        if (what == PI_NotifyControlRequest && host.reportBack && host.routines)
            host.routines->setControlValue(insert, index, value);
    }
    std::vector<std::int32_t> requests() const
    {
        std::vector<std::int32_t> values;
        for (const Note& n : notes)
            if (n.what == PI_NotifyControlRequest && n.index == 2) values.push_back(n.value);
        return values;
    }
};

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::WindowSystem::install(&headless);
        headless.setTicks(1000);
        ASSERT_FALSE(rsr::read().empty()) << "the build puts " << rsr::besideProgram();
        std::string error;
        ASSERT_TRUE(plugin.attach({WinPlugInOpen, WinPlugInClose, _PI_GetRoutineDescriptor, NewPlugIn}, error))
            << error;
        ASSERT_EQ(plugin.open(), PI_NoErr);
        host.routines = &plugin.routines();
    }
    void TearDown() override
    {
        plugin.unload();
        while (WinPlugInClose() == PI_NoErr) {
        }
        platform::WindowSystem::install(nullptr);
    }

    const ProToolsPlugin::Routines& r() const { return plugin.routines(); }
    PI_Insert create()
    {
        PI_Insert insert = 0;
        EXPECT_EQ(r().createInsert(1, 44100, &insert), PI_NoErr);
        return insert;
    }
    // A host window with a client area of w x h.
    platform::NativeWindow hostWindow(int w, int h)
    {
        return headless.addHostWindow(0, platform::Rect{0, 0, w, h}, true);
    }
    static PI_WindowPort port(platform::NativeWindow window) { return PI_WindowPort{PI_PortVersion, 0, window}; }
    PI_Err open(PI_Insert insert, platform::NativeWindow window)
    {
        const PI_WindowPort p = port(window);
        return r().openWindow(insert, &p);
    }
    void connect(PI_Insert insert) { ASSERT_EQ(r().setNotify(insert, NotifiedHost::notify, &host), PI_NoErr); }

    static CVectorgramProcess& process(PI_Insert insert)
    {
        return dynamic_cast<CVectorgramProcess&>(*CPlugInModule::instance().findInsert(insert));
    }
    static CVectorgramCustomUI* bridge(PI_Insert insert) { return process(insert).getCustomUI(); }
    static CVectorgramVSTEditor* editor(PI_Insert insert)
    {
        CVectorgramCustomUI* b = bridge(insert);
        return b ? b->getEditor() : nullptr;
    }
    static platform::NativeWindow frameWindow(PI_Insert insert)
    {
        CVectorgramVSTEditor* e = editor(insert);
        return e && e->getFrame() ? e->getFrame()->window() : 0;
    }
    std::string samples(PI_Insert insert) const { return plugin.controlText(insert, 2); }
    std::int32_t controlValue(PI_Insert insert) const
    {
        PI_ControlInfo info{};
        EXPECT_EQ(r().getControlInfo(insert, 2, &info), PI_NoErr);
        return info.value;
    }

    // A drag through the points (frame pixels), held a pass at the end, then released.
    void drag(platform::NativeWindow window, std::vector<platform::Point> path, int holdPasses = 1)
    {
        std::vector<platform::HeadlessWindowSystem::InputStep> steps;
        for (const platform::Point& p : path) steps.push_back({kButtonLeft, p});
        for (int i = 0; i < holdPasses; ++i) steps.push_back({kButtonLeft, path.back()});
        steps.push_back({0, path.back()});
        headless.script(steps);
        headless.press(window, path.front());
    }
    void click(platform::NativeWindow window, platform::Point where, int buttons = kButtonLeft)
    {
        headless.setButtons(buttons);
        headless.press(window, where);
        headless.setButtons(0);
    }
    void idle(PI_Insert insert, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            headless.setTicks(headless.ticks() + 20);
            ASSERT_EQ(r().idle(insert), PI_NoErr);
        }
    }

    platform::HeadlessWindowSystem headless;
    ProToolsPlugin plugin;
    NotifiedHost host;
};

}  // namespace ptwindow
