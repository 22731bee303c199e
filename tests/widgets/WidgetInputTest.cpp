// The common click of the buttons, labels and logo: what toggles, what the listener is offered first,
// and what reaches it.
#include "WidgetRecording.h"

#include "platform/HeadlessWindowSystem.h"
#include "viewframework/CControlListener.h"
#include "widgets/VGBottomLabel.h"
#include "widgets/VGLogo.h"
#include "widgets/VGTargetButton.h"
#include "widgets/VGTextButton.h"

namespace {
class Listener : public CControlListener {
public:
    void onValueChanged(CDrawContext*, CControl* control) override
    {
        ++changes;
        lastValue = control->value();
    }
    std::int32_t onModifierClick(CDrawContext*, CControl*, std::int32_t buttons) override
    {
        ++offers;
        lastButtons = buttons;
        return takesModifierClicks;
    }
    int changes = 0;
    int offers = 0;
    float lastValue = -1;
    std::int32_t lastButtons = 0;
    std::int32_t takesModifierClicks = 0;
};

class Clicks : public ::testing::Test {
protected:
    void SetUp() override { platform::WindowSystem::install(&headless); }
    void TearDown() override
    {
        context->release();
        platform::WindowSystem::install(nullptr);
    }
    void click(VGControl& w, std::int32_t buttons)
    {
        ViewPoint where(1, 1);
        w.onMouseDown(context, where, buttons);
    }
    platform::HeadlessWindowSystem headless;
    CDrawContext* context = new CDrawContext(nullptr, nullptr, 0);
    VGPalette palette = testPalette();
    Listener listener;
};
}  // namespace

TEST_F(Clicks, TruncationDecidesTheToggleWhileHalfDecidesTheLook)
{
    VGTextButton b(ViewRect(0, 0, 60, 18), &listener, 2, &palette);
    b.setValue(0.7f);
    click(b, kButtonLeft);
    EXPECT_EQ(b.value(), 1.0f);  // (int)0.7 is 0: the button goes to 1 and stays on
    EXPECT_EQ(listener.changes, 1);
    EXPECT_EQ(listener.lastValue, 1.0f);
    click(b, kButtonLeft);
    EXPECT_EQ(b.value(), 0.0f);
    click(b, kButtonLeft);
    EXPECT_EQ(b.value(), 1.0f);
    EXPECT_EQ(listener.changes, 3);
}

TEST_F(Clicks, AModifierClickIsOfferedToTheListenerFirst)
{
    VGTargetButton t(ViewRect(0, 0, 17, 17), &listener, -8888, &palette);
    listener.takesModifierClicks = 1;
    click(t, kButtonLeft | kModShift);
    EXPECT_EQ(listener.offers, 1);
    EXPECT_EQ(listener.lastButtons, kButtonLeft | kModShift);
    EXPECT_EQ(t.value(), 0.0f);  // taken: no toggle, no change reported
    EXPECT_EQ(listener.changes, 0);

    listener.takesModifierClicks = 0;
    click(t, kButtonLeft | kModAlt);
    EXPECT_EQ(t.value(), 1.0f);
    EXPECT_EQ(listener.changes, 1);
    click(t, kButtonLeft | 64);
    EXPECT_EQ(listener.offers, 3);
    click(t, kButtonLeft);  // no modifier: not offered
    EXPECT_EQ(listener.offers, 3);
}

TEST_F(Clicks, OnlyTheLeftButtonActsAndUnreadButtonsAreReadLive)
{
    VGLogo logo(ViewRect(0, 0, 100, 20), &listener, -1, &palette);
    click(logo, kButtonRight);
    click(logo, 0);
    EXPECT_EQ(logo.value(), 1.0f);
    EXPECT_EQ(listener.changes, 0);

    headless.setButtons(kButtonLeft);
    click(logo, kButtonsUnread);
    EXPECT_EQ(logo.value(), 0.0f);
    headless.setButtons(kButtonRight);
    click(logo, kButtonsUnread);
    EXPECT_EQ(logo.value(), 0.0f);

    logo.setAcceptsMouse(false);
    click(logo, kButtonLeft);
    EXPECT_EQ(logo.value(), 0.0f);
    EXPECT_EQ(listener.changes, 1);
}

TEST_F(Clicks, WidgetsWithoutAListenerStillToggle)
{
    VGBottomLabel banner(ViewRect(0, 0, 100, 10), nullptr, -99, &palette);
    click(banner, kButtonLeft | kModShift);
    EXPECT_EQ(banner.value(), 0.0f);
    EXPECT_TRUE(banner.needsRedraw());
}
