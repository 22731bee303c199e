// The bookkeeping the editors' close relies on: every enrolled pointer is cleared by forget, widgets
// reach the frame in the order they were added, and the open flag follows opened and forget.
#include "platform/HeadlessWindowSystem.h"
#include "viewframework/CFrame.h"
#include "widgets/VGSimpleLabel.h"
#include "widgets/VGSlider.h"
#include "widgets/VGWidgetRef.h"

#include <gtest/gtest.h>

namespace {

TEST(WidgetList, ForgetClearsEveryEnrolledPointerAndTheFrameKeepsTheOrderOfAdding)
{
    platform::HeadlessWindowSystem headless;
    platform::WindowSystem::install(&headless);
    VGPalette palette{};
    VGWidgetList list;
    VGWidgetRef<VGSlider> first{list};
    VGWidgetRef<VGSimpleLabel> unused{list};
    VGWidgetRef<VGSlider> second{list};
    EXPECT_EQ(first.get(), nullptr);
    EXPECT_FALSE(list.isOpen());

    CFrame* frame = new CFrame(ViewRect(0, 0, 100, 40), platform::NativeWindow(0x77), nullptr);
    list.begin(frame);
    first = list.add(new VGSlider(ViewRect(0, 0, 100, 16), nullptr, 0, &palette));
    second = list.add(new VGSlider(ViewRect(0, 20, 100, 36), nullptr, 1, &palette));
    list.opened();
    EXPECT_TRUE(list.isOpen());
    ASSERT_EQ(frame->childCount(), 2);
    EXPECT_EQ(frame->childAt(0), first.get());
    EXPECT_EQ(frame->childAt(1), second.get());
    EXPECT_EQ(second->tag(), 1) << "the pointer keeps the widget's own type";

    list.forget();
    EXPECT_FALSE(list.isOpen());
    EXPECT_EQ(list.target(), nullptr);
    EXPECT_EQ(first.get(), nullptr);
    EXPECT_EQ(second.get(), nullptr);
    EXPECT_EQ(unused.get(), nullptr);
    frame->release();
    platform::WindowSystem::install(nullptr);
}

TEST(WidgetList, WithoutAFrameWidgetsAreNotPlaced)
{
    VGPalette palette{};
    VGWidgetList list;
    auto* label = list.add(new VGSimpleLabel(ViewRect(0, 0, 10, 10), nullptr, -99, &palette));
    EXPECT_EQ(label->parentView(), nullptr);
    label->release();
}

}  // namespace
