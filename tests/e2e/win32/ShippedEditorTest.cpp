#include "tests/e2e/win32/ShippedEditorTest.h"

#include "tests/e2e/PluginFiles.h"

void ShippedEditorTest::SetUp()
{
    if (!WindowsEditorHost::windowsAvailable()) GTEST_SKIP() << "no display for Wine's windows";
    std::string error;
    ASSERT_TRUE(host.load(pluginPath(plugin), error)) << error;
}

void ShippedEditorTest::open(int settleIdles)
{
    std::string error;
    ASSERT_TRUE(host.openEditor(error)) << error;
    ASSERT_TRUE(host.pumpUntil([&] { return host.pixel(width / 2, height - 5) != 0; })) << "the editor never painted";
    if (settleIdles > 0) {
        ASSERT_TRUE(host.pumpUntil([&] { return host.idlesSent() >= settleIdles; }, 30000));
        host.pumpFor(100);
    } else {
        host.pumpFor(200);
    }
}

void ShippedEditorTest::expectOneGestureRisingTo1(VstInt32 index)
{
    const auto& automations = host.plugin().automations;
    ASSERT_FALSE(automations.empty()) << "the drag never reached the control";
    for (std::size_t i = 1; i < automations.size(); ++i) {
        EXPECT_EQ(automations[i].index, index);
        EXPECT_GE(automations[i].value, automations[i - 1].value);
    }
    EXPECT_EQ(automations.back().value, 1.0f);
    EXPECT_EQ(host.plugin().beginEdits, std::vector<VstInt32>{index});
    EXPECT_EQ(host.plugin().endEdits, std::vector<VstInt32>{index});
}

void ShippedEditorTest::expectPictureAgrees(const std::wstring& linuxPath, const std::string& screenshot,
                                            const std::vector<std::pair<int, int>>& exact, int fractionOff,
                                            int blocksOff)
{
    EXPECT_TRUE(host.saveScreenshot(TW_SCREENSHOT_DIR "/" + screenshot));
    expectSamePicture(host.capture(), width, height, linuxPath, exact, fractionOff, blocksOff);
}
