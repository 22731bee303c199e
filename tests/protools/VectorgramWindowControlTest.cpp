// The +vectorgram editor in the Pro Tools window, driven through the plug-in's exports and presses on
// the headless window system: the slider's edits go to Pro Tools control 2 and the effect follows only
// what Pro Tools reports back; an Alt-click resets; drags wait through the process's idle; and a host
// that closes the window or destroys the insert in the middle of a drag ends it safely.
#include "tests/protools/ProToolsWindowSupport.h"

#include <algorithm>
#include <cmath>

using namespace ptwindow;

namespace {

class VectorgramWindowControl : public WindowFixture {
protected:
    PI_Insert openInsert()
    {
        const PI_Insert insert = create();
        EXPECT_EQ(open(insert, hostWindow(420, 470)), PI_NoErr);
        idle(insert, 2);
        return insert;
    }
    static VGSlider* slider(PI_Insert insert) { return editor(insert)->slider(); }
    static std::int32_t scope(PI_Insert insert) { return editor(insert)->display()->getSampleCount(); }
    std::vector<std::int32_t> notificationKinds() const
    {
        std::vector<std::int32_t> kinds;
        for (const auto& n : host.notes) kinds.push_back(n.what);
        return kinds;
    }
};

TEST_F(VectorgramWindowControl, ADragAsksProToolsAndTheEffectWaitsForItsAnswer)
{
    const PI_Insert insert = openInsert();
    host.reportBack = false;
    connect(insert);
    const std::int32_t before = controlValue(insert);
    drag(frameWindow(insert), {{kTrackStart + 120, kSliderRow}, {kTrackStart + 250, kSliderRow}, {389, kSliderRow}});

    const std::vector<std::int32_t> asked = host.requests();
    ASSERT_GE(asked.size(), 2u);
    EXPECT_TRUE(std::is_sorted(asked.begin(), asked.end())) << "a rightward drag only raises the value";
    EXPECT_EQ(asked.back(), kHighest) << "the right end is the top of the control's range";
    EXPECT_EQ(asked.front(), CVectorgramProcess::valueToControl(120.0f / 316.0f, 0, 1));
    for (const std::int32_t kind : notificationKinds())
        EXPECT_EQ(kind, PI_NotifyControlRequest) << "a slider drag sends no touch or release";
    // Nothing changed yet but the slider under the pointer.
    EXPECT_EQ(samples(insert), "200");
    EXPECT_EQ(controlValue(insert), before);
    EXPECT_EQ(scope(insert), 200);
    EXPECT_EQ(slider(insert)->value(), 1.0f);

    // Pro Tools reports the value back: effect, slider and scope follow.
    ASSERT_EQ(r().setControlValue(insert, 2, asked.back()), PI_NoErr);
    EXPECT_EQ(samples(insert), "512");
    EXPECT_EQ(process(insert).getEffect()->getDisplaySamples(), 512);
    EXPECT_EQ(slider(insert)->value(), 1.0f);
    EXPECT_EQ(scope(insert), 512);

    // Reported back from inside the request, as Pro Tools does, each step lands at once.
    host.reportBack = true;
    host.notes.clear();
    drag(frameWindow(insert), {{kTrackStart + 200, kSliderRow}, {kTrackStart + 100, kSliderRow}, {0, kSliderRow}});
    EXPECT_EQ(host.requests().back(), kLowest);
    EXPECT_EQ(samples(insert), "10");
    EXPECT_EQ(scope(insert), 10);
    EXPECT_EQ(slider(insert)->value(), 0.0f);
}

TEST_F(VectorgramWindowControl, WithoutAConnectedHostTheDragAppliesDirectly)
{
    const PI_Insert insert = openInsert();
    drag(frameWindow(insert), {{kTrackStart + 10, kSliderRow}, {kTrackStart + 158, kSliderRow}});
    // Half the track: 0.5, control value 0, 261 samples.
    EXPECT_EQ(controlValue(insert), 0);
    EXPECT_EQ(samples(insert), "261");
    EXPECT_EQ(scope(insert), 261);
    EXPECT_EQ(slider(insert)->value(), 0.5f);
    EXPECT_TRUE(host.notes.empty());
}

TEST_F(VectorgramWindowControl, AltClickResetsTheSliderToItsDefaultAndSendsThat)
{
    const PI_Insert insert = openInsert();
    connect(insert);
    ASSERT_EQ(r().setControlValue(insert, 2, kHighest), PI_NoErr);
    ASSERT_EQ(scope(insert), 512);
    click(frameWindow(insert), {kTrackStart + 30, kSliderRow}, kButtonLeft | kModAlt);
    ASSERT_EQ(host.requests(), std::vector<std::int32_t>{0}) << "the widget default 0.5 is control value 0";
    EXPECT_EQ(samples(insert), "261");
    EXPECT_EQ(scope(insert), 261);
    EXPECT_EQ(slider(insert)->value(), 0.5f);

    // Only Alt without Control: the editor's listener answers the others "not handled".
    CVectorgramVSTEditor* e = editor(insert);
    VGSlider* s = slider(insert);
    ASSERT_EQ(r().setControlValue(insert, 2, kHighest), PI_NoErr);  // automation moves it away
    EXPECT_EQ(e->onModifierClick(nullptr, s, kButtonLeft | kModAlt | kModControl), 0);
    EXPECT_EQ(e->onModifierClick(nullptr, s, kButtonLeft | kModShift), 0);
    EXPECT_EQ(e->onModifierClick(nullptr, s, kButtonLeft), 0);
    EXPECT_EQ(s->value(), 1.0f);
    EXPECT_EQ(host.requests().size(), 1u);
    EXPECT_EQ(e->onModifierClick(nullptr, s, kModAlt | kModShift), 1);
    EXPECT_EQ(s->value(), 0.5f);
    EXPECT_EQ(host.requests().size(), 2u);
}

TEST_F(VectorgramWindowControl, ProToolsValuesMoveSliderAndScope)
{
    const PI_Insert insert = openInsert();
    ASSERT_EQ(r().setControlValue(insert, 2, 0), PI_NoErr);
    EXPECT_EQ(slider(insert)->value(), 0.5f) << "the middle";
    EXPECT_EQ(scope(insert), 261);
    // The bridge itself, with values straight from Pro Tools.
    CVectorgramCustomUI* b = bridge(insert);
    EXPECT_EQ(b->setControlValue(2, kLowest), 0);
    EXPECT_EQ(slider(insert)->value(), 0.0f);
    EXPECT_EQ(scope(insert), 10);
    EXPECT_EQ(process(insert).getEffect()->getDisplaySamples(), 10) << "the editor sets the effect too";
    EXPECT_EQ(b->setControlValue(1, kHighest), 0);
    EXPECT_EQ(b->setControlValue(3, kHighest), 0);
    EXPECT_EQ(scope(insert), 10);
    EXPECT_EQ(slider(insert)->value(), 0.0f);

    // The editor's own rule for the scope: trunc(value x 502 + 10) in single precision.
    CVectorgramVSTEditor* e = editor(insert);
    e->setParameter(2, 0.3785f);
    EXPECT_EQ(scope(insert), 200);
    EXPECT_EQ(slider(insert)->value(), 0.3785f);
    e->setParameter(2, 0.999f);
    EXPECT_EQ(scope(insert), 511);
    e->setParameter(0, 1.0f);  // an inert parameter: nothing moves
    EXPECT_EQ(scope(insert), 511);
    e->setParameter(2, std::nanf(""));
    EXPECT_EQ(scope(insert), process(insert).getEffect()->getDisplaySamples()) << "the effect's own reading";
    EXPECT_EQ(slider(insert)->value(), process(insert).getEffect()->getParameter(2));

    // A restored chunk reaches the window too.
    std::vector<std::uint8_t> chunk(64);
    std::int32_t size = 0;
    ASSERT_EQ(r().setControlValue(insert, 2, kHighest), PI_NoErr);
    ASSERT_EQ(r().saveChunk(insert, chunk.data(), 64, &size), PI_NoErr);
    ASSERT_EQ(r().setControlValue(insert, 2, kLowest), PI_NoErr);
    ASSERT_EQ(r().restoreChunk(insert, chunk.data(), size), PI_NoErr);
    EXPECT_EQ(scope(insert), 512);

    // Closed, the editor changes nothing, and the effect still follows the control.
    ASSERT_EQ(r().closeWindow(insert), PI_NoErr);
    ASSERT_EQ(r().setControlValue(insert, 2, 0), PI_NoErr);
    EXPECT_EQ(samples(insert), "261");
    EXPECT_EQ(editor(insert)->slider(), nullptr);
    ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
    EXPECT_EQ(scope(insert), 261) << "an opened editor shows what stands";
    EXPECT_EQ(slider(insert)->value(), 0.5f);
}

TEST_F(VectorgramWindowControl, IdleRefreshesTheMetersAndGuardsAgainstReentry)
{
    const PI_Insert insert = openInsert();
    std::vector<float> l(512, 0.5f), rr(512, 0.25f), outL(512), outR(512);
    float* in[] = {l.data(), rr.data()};
    float* out[] = {outL.data(), outR.data()};
    ASSERT_EQ(r().render(insert, in, out, 512), PI_NoErr);
    idle(insert);
    EXPECT_EQ(editor(insert)->leftMeter()->value(), 0.5f);
    EXPECT_EQ(editor(insert)->rightMeter()->value(), 0.25f);

    // A drag handled inside the host's idle (as systems that queue their events do): an idle reached
    // from inside it returns at once, and the meters keep what they showed.
    connect(insert);
    int nested = 0;
    host.also = [&](PI_Insert at, const NotifiedHost::Note&) {
        if (nested++ > 0) return;
        l.assign(512, 0.75f);
        EXPECT_EQ(r().render(at, in, out, 512), PI_NoErr);
        EXPECT_EQ(r().idle(at), PI_NoErr);
        bridge(at)->idle();
        EXPECT_EQ(editor(at)->leftMeter()->value(), 0.5f) << "no idle ran inside the one running";
    };
    std::vector<platform::HeadlessWindowSystem::InputStep> steps(30, {kButtonLeft, {kTrackStart + 40, kSliderRow}});
    steps.push_back({0, {kTrackStart + 40, kSliderRow}});
    headless.script(steps);
    headless.queuePress(frameWindow(insert), {kTrackStart + 40, kSliderRow});
    idle(insert);
    EXPECT_GT(nested, 0);
    host.also = nullptr;
    idle(insert);
    EXPECT_EQ(editor(insert)->leftMeter()->value(), 0.75f) << "the next idle shows it";
}

TEST_F(VectorgramWindowControl, ADragPressedOutsideIdleKeepsTheWindowIdling)
{
    // A press the system delivers itself (Windows): the drag's waits run the window's idle turns.
    const PI_Insert insert = openInsert();
    std::vector<float> l(512, 0.5f), rr(512, 0.5f), outL(512), outR(512);
    float* in[] = {l.data(), rr.data()};
    float* out[] = {outL.data(), outR.data()};
    connect(insert);
    float seen = -1;
    host.also = [&](PI_Insert at, const NotifiedHost::Note&) {
        if (host.requests().size() == 1) {
            EXPECT_EQ(r().render(at, in, out, 512), PI_NoErr);
        }
        seen = editor(at)->leftMeter()->value();
    };
    std::vector<platform::Point> path;
    for (int i = 0; i < 60; ++i) path.push_back({kTrackStart + 10 + 4 * i, kSliderRow});
    drag(frameWindow(insert), path);
    EXPECT_EQ(seen, 0.5f) << "the meters moved while the slider was held";
}

TEST_F(VectorgramWindowControl, TheHostClosingTheWindowInsideADragEndsIt)
{
    for (const bool insideIdle : {false, true}) {
        SCOPED_TRACE(insideIdle ? "pressed inside idle" : "pressed outside idle");
        const PI_Insert insert = openInsert();
        connect(insert);
        host.notes.clear();
        host.also = [&](PI_Insert at, const NotifiedHost::Note&) { EXPECT_EQ(r().closeWindow(at), PI_NoErr); };
        std::vector<platform::HeadlessWindowSystem::InputStep> steps(200, {kButtonLeft, {kTrackStart + 300, kSliderRow}});
        steps.push_back({0, {kTrackStart + 300, kSliderRow}});
        headless.script(steps);
        if (insideIdle) {
            headless.queuePress(frameWindow(insert), {kTrackStart + 90, kSliderRow});
            idle(insert);
        } else {
            headless.press(frameWindow(insert), {kTrackStart + 90, kSliderRow});
        }
        host.also = nullptr;
        headless.script({});  // what the stopped drag left unread
        EXPECT_EQ(host.requests().size(), 1u) << "the drag stopped at once";
        EXPECT_EQ(headless.windowCount(), 0u);
        EXPECT_EQ(editor(insert)->getFrame(), nullptr);
        idle(insert, 2);
        ASSERT_EQ(open(insert, hostWindow(390, 430)), PI_NoErr);
        drag(frameWindow(insert), {{kTrackStart, kSliderRow}, {kTrackStart + 316, kSliderRow}});
        EXPECT_EQ(samples(insert), "512") << "the reopened window works";
        ASSERT_EQ(r().destroyInsert(insert), PI_NoErr);
    }
}

TEST_F(VectorgramWindowControl, TheHostDestroyingTheInsertInsideADragEndsIt)
{
    for (const bool insideIdle : {false, true}) {
        SCOPED_TRACE(insideIdle ? "pressed inside idle" : "pressed outside idle");
        const PI_Insert insert = openInsert();
        const PI_Insert other = openInsert();
        connect(insert);
        host.notes.clear();
        host.also = [&](PI_Insert at, const NotifiedHost::Note&) {
            EXPECT_EQ(r().destroyInsert(at), PI_NoErr);
            EXPECT_EQ(r().idle(other), PI_NoErr) << "other inserts go on meanwhile";
        };
        std::vector<platform::HeadlessWindowSystem::InputStep> steps(200, {kButtonLeft, {kTrackStart + 300, kSliderRow}});
        steps.push_back({0, {kTrackStart + 300, kSliderRow}});
        headless.script(steps);
        if (insideIdle) {
            headless.queuePress(frameWindow(insert), {kTrackStart + 90, kSliderRow});
            EXPECT_EQ(r().idle(insert), PI_NoErr);
        } else {
            headless.press(frameWindow(insert), {kTrackStart + 90, kSliderRow});
        }
        host.also = nullptr;
        headless.script({});  // what the stopped drag left unread
        EXPECT_EQ(host.requests().size(), 1u) << "the drag stopped at once";
        EXPECT_EQ(r().idle(insert), PI_ErrUnknownInsert);
        EXPECT_EQ(r().idle(other), PI_NoErr);
        EXPECT_NE(frameWindow(other), 0u);
        ASSERT_EQ(r().destroyInsert(other), PI_NoErr);
        EXPECT_EQ(headless.windowCount(), 0u);
    }
}

}  // namespace
