// The plumbing of a Windows test of a shipped VST editor, written once: the plug-in loaded into a
// WindowsEditorHost as a host would, its editor opened and left to paint, what the host heard of a
// drag to a control's top end, and the window's picture against the one the Linux build draws. A
// test derives its fixture with the plug-in's name and editor size and adds its layout and behaviour.
#pragma once

#include "platform/GraphicsSession.h"
#include "tests/e2e/win32/PictureComparison.h"
#include "tests/e2e/win32/WindowsEditorHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class ShippedEditorTest : public ::testing::Test {
protected:
    ShippedEditorTest(const char* plugin, int width, int height) : plugin(plugin), width(width), height(height) {}
    void SetUp() override;

    // Opens the editor in the host window of its size and waits until the banner is painted; with
    // settleIdles, also until the host sent that many idles (the scope's dot comes to rest).
    void open(int settleIdles = 0);
    // A drag has turned the control of parameter `index` to its top end: the host saw one gesture
    // on that index, its values rising to exactly 1.
    void expectOneGestureRisingTo1(VstInt32 index);
    // The window as it is against the Linux picture (see expectSamePicture), saved beside the build.
    void expectPictureAgrees(const std::wstring& linuxPath, const std::string& screenshot,
                             const std::vector<std::pair<int, int>>& exact, int fractionOff, int blocksOff);

    platform::GraphicsSession gdiplus;
    WindowsEditorHost host;
    const char* plugin;
    int width;
    int height;
};
