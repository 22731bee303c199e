// The library as a host reaches it: the exports and the routines of the host interface, with the tests'
// own plug-in behind them.
#include "platform/HeadlessWindowSystem.h"
#include "protools/library/CPlugInModule.h"
#include "protools/library/CViewFactory.h"
#include "protools/library/PlugInExports.h"
#include "tests/protools/ResourceFileBeside.h"
#include "tests/protools/library/TestPlugIn.h"
#include "tools/plughost/ProToolsPlugin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using testplugin::recipe;
using testplugin::TestProcess;

namespace {

const std::vector<std::uint8_t> kResources = rsr::build({{"TestPageTables", {{"levl"}}}});

class Library : public ::testing::Test {
protected:
    void SetUp() override
    {
        recipe() = {};
        rsr::write(kResources);
        std::string error;
        ASSERT_TRUE(plugin.attach({WinPlugInOpen, WinPlugInClose, _PI_GetRoutineDescriptor, NewPlugIn}, error))
            << error;
    }
    void TearDown() override
    {
        plugin.unload();
        while (WinPlugInClose() == PI_NoErr) {
        }
        rsr::remove();
    }

    PI_Insert create()
    {
        PI_Insert insert = 0;
        EXPECT_EQ(r().createInsert(1, 48000, &insert), PI_NoErr);
        return insert;
    }
    static TestProcess& processOf(PI_Insert insert)
    {
        return dynamic_cast<TestProcess&>(*CPlugInModule::instance().findInsert(insert));
    }
    std::int32_t value(PI_Insert insert, std::int32_t index)
    {
        PI_ControlInfo info{};
        EXPECT_EQ(r().getControlInfo(insert, index, &info), PI_NoErr);
        return info.value;
    }
    const ProToolsPlugin::Routines& r() const { return plugin.routines(); }

    ProToolsPlugin plugin;
};

// What a host's notification routine was told.
struct Heard {
    PI_Insert insert;
    std::int32_t notification;
    std::int32_t index;
    std::int32_t value;
    bool operator==(const Heard&) const = default;
};
struct Listener {
    std::vector<Heard> heard;
    std::function<void(const Heard&)> then;
    static void PI_CALL notify(void* user, PI_Insert insert, std::int32_t what, std::int32_t index, std::int32_t value)
    {
        auto* self = static_cast<Listener*>(user);
        self->heard.push_back({insert, what, index, value});
        if (self->then) self->then(self->heard.back());
    }
};

TEST_F(Library, OpensOnlyVersion73AndCallsNewPlugInOnceForNestedOpens)
{
    const int before = testplugin::newPlugInCalls();
    EXPECT_EQ(WinPlugInOpen(72), -1);
    EXPECT_EQ(WinPlugInOpen(74), -1);
    EXPECT_EQ(testplugin::newPlugInCalls(), before);
    PI_GroupInfo info{};
    EXPECT_EQ(r().getGroupInfo(&info), PI_ErrNotOpen);

    ASSERT_EQ(WinPlugInOpen(73), PI_NoErr);
    ASSERT_EQ(WinPlugInOpen(73), PI_NoErr);
    EXPECT_EQ(testplugin::newPlugInCalls(), before + 1);
    EXPECT_EQ(WinPlugInClose(), PI_NoErr);
    EXPECT_EQ(r().getGroupInfo(&info), PI_NoErr);  // one open still in force
    EXPECT_EQ(WinPlugInClose(), PI_NoErr);
    EXPECT_EQ(r().getGroupInfo(&info), PI_ErrNotOpen);
    // More closes than opens do nothing.
    EXPECT_EQ(WinPlugInClose(), PI_ErrNotOpen);
    EXPECT_EQ(WinPlugInClose(), PI_ErrNotOpen);
    // An open after the last close builds the plug-in again.
    ASSERT_EQ(WinPlugInOpen(73), PI_NoErr);
    EXPECT_EQ(testplugin::newPlugInCalls(), before + 2);
    EXPECT_EQ(r().getGroupInfo(&info), PI_NoErr);
    EXPECT_EQ(info.manufacturerID, 0x5453544Du);  // 'TSTM'
    EXPECT_EQ(info.version, 3);
    EXPECT_EQ(info.typeCount, 1);
}

TEST_F(Library, AMissingOrBrokenResourceFileFailsTheOpenUntilAGoodOneAppears)
{
    const int before = testplugin::newPlugInCalls();
    rsr::remove();
    EXPECT_EQ(WinPlugInOpen(73), PI_ErrResourceFile);
    auto broken = kResources;
    broken.pop_back();
    rsr::write(broken);
    EXPECT_EQ(WinPlugInOpen(73), PI_ErrResourceFile);
    rsr::write({'n', 'o', 'p', 'e'});
    EXPECT_EQ(WinPlugInOpen(73), PI_ErrResourceFile);
    EXPECT_EQ(testplugin::newPlugInCalls(), before);  // nothing called
    EXPECT_EQ(WinPlugInClose(), PI_ErrNotOpen);        // and nothing to close

    rsr::write(kResources);
    EXPECT_EQ(WinPlugInOpen(73), PI_NoErr);
    EXPECT_EQ(testplugin::newPlugInCalls(), before + 1);
}

TEST_F(Library, APlugInThatFailsToBuildLeavesTheLibraryClosed)
{
    recipe().groupAllocationFails = true;
    EXPECT_EQ(WinPlugInOpen(73), PI_ErrOutOfMemory);
    recipe() = {};
    recipe().groupGestalts = {14, 7};  // 7 is a type's gestalt, not the group's
    EXPECT_EQ(WinPlugInOpen(73), PI_ErrBadGestalt);
    recipe() = {};
    recipe().pageTables = "NotInTheFile";
    EXPECT_EQ(WinPlugInOpen(73), PI_ErrMissingResource);
    recipe() = {};
    recipe().inputFormat = 11;
    EXPECT_EQ(WinPlugInOpen(73), -7401);
    recipe() = {};
    recipe().createType = false;
    EXPECT_EQ(WinPlugInOpen(73), PI_ErrNoPlugIn);
    recipe() = {};
    recipe().initialiseThrowsOther = true;
    EXPECT_EQ(WinPlugInOpen(73), -7401);
    PI_GroupInfo info{};
    EXPECT_EQ(r().getGroupInfo(&info), PI_ErrNotOpen);
    EXPECT_EQ(WinPlugInClose(), PI_ErrNotOpen);

    recipe() = {};
    EXPECT_EQ(WinPlugInOpen(73), PI_NoErr);
    // NewPlugIn called by anyone but the opening library stores nothing.
    const int calls = testplugin::newPlugInCalls();
    EXPECT_EQ(NewPlugIn(), PI_ErrNotOpen);
    EXPECT_EQ(testplugin::newPlugInCalls(), calls + 1);
    EXPECT_EQ(r().getGroupInfo(&info), PI_NoErr);
    EXPECT_EQ(info.version, 3);
}

TEST_F(Library, HandsOutARoutineForEverySelectorAndNothingForOthers)
{
    PI_Routine routine = nullptr;
    for (std::int32_t selector : {0, 5, 9, 13, 19, 25, 29, 36, 43, 49, 56, 59, -1, 1000}) {
        EXPECT_EQ(_PI_GetRoutineDescriptor(selector, &routine), PI_ErrUnknownSelector) << selector;
        EXPECT_EQ(routine, nullptr);
    }
    EXPECT_EQ(_PI_GetRoutineDescriptor(PI_SelRender, nullptr), PI_ErrNullPointer);
    EXPECT_EQ(_PI_GetRoutineDescriptor(PI_SelRender, &routine), PI_NoErr);
    EXPECT_NE(routine, nullptr);
}

TEST_F(Library, AnswersNamesGestaltsAndTypesAsDeclared)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    EXPECT_EQ(plugin.manufacturerName(4), "Test");
    EXPECT_EQ(plugin.manufacturerName(3), "Tes");
    EXPECT_EQ(plugin.groupName(2), "TP");
    EXPECT_EQ(plugin.typeName(1, 9), "Test Type");
    EXPECT_EQ(plugin.groupGestalts(), (std::vector<std::int32_t>{14}));
    EXPECT_EQ(plugin.typeGestalts(1), (std::vector<std::int32_t>{7, 29}));
    PI_TypeInfo type{};
    ASSERT_EQ(r().getTypeInfo(1, &type), PI_NoErr);
    EXPECT_EQ(type.kind, PI_TypeRTAS);
    EXPECT_EQ(type.configuration, 77);
    EXPECT_EQ(type.sampleRateSupport, 3);
    EXPECT_EQ(type.stemOption, 5);
    EXPECT_EQ(type.inputChannels, 2);
    EXPECT_EQ(type.outputChannels, 2);

    // Gestalt lists: ask the count, then a buffer; one too small is refused untouched.
    std::int32_t list[2] = {-5, -5};
    std::int32_t count = -1;
    EXPECT_EQ(r().getTypeGestalts(1, list, 1, &count), PI_ErrBufferTooSmall);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(list[0], -5);
    EXPECT_EQ(r().getTypeGestalts(1, list, -1, &count), PI_ErrBadLength);
    EXPECT_EQ(r().getTypeGestalts(1, list, 2, nullptr), PI_ErrNullPointer);
    EXPECT_EQ(r().getTypeGestalts(2, list, 2, &count), PI_ErrUnknownType);
    EXPECT_EQ(r().getTypeGestalts(0, list, 2, &count), PI_ErrUnknownType);
    EXPECT_EQ(count, -1);

    // Names: nothing is written beyond length + 1 bytes, and nothing at all on an error.
    char text[8];
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(r().getGroupName(3, text), PI_NoErr);
    EXPECT_STREQ(text, "TP");
    EXPECT_EQ(text[3], '#');
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(r().getTypeName(1, 0, text), PI_ErrBadLength);
    EXPECT_EQ(r().getTypeName(1, -4, text), PI_ErrBadLength);
    EXPECT_EQ(r().getManufacturerName(0, text), PI_ErrBadLength);
    EXPECT_EQ(r().getTypeName(9, 4, text), PI_ErrUnknownType);
    EXPECT_EQ(text[0], '#');
    EXPECT_EQ(r().getTypeName(1, 4, nullptr), PI_ErrNullPointer);
    EXPECT_EQ(r().getGroupInfo(nullptr), PI_ErrNullPointer);
    EXPECT_EQ(r().getTypeInfo(1, nullptr), PI_ErrNullPointer);
}

TEST_F(Library, CreatesInsertsWithDefaultsSentToTheAlgorithmButNotTheBypass)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    ASSERT_GT(insert, 0);
    TestProcess& p = processOf(insert);
    EXPECT_EQ(p.sampleRate(), 48000);
    EXPECT_EQ(p.insert(), insert);
    EXPECT_EQ(p.updates, (std::vector<std::int32_t>{2, 3}));
    EXPECT_EQ(plugin.controlName(insert, 1, 12), "Bypass");
    EXPECT_EQ(plugin.controlName(insert, 2, 3), "Lvl");
    PI_ControlInfo info{};
    ASSERT_EQ(r().getControlInfo(insert, 1, &info), PI_NoErr);
    EXPECT_EQ(info.flags, PI_ControlIsMasterBypass | PI_ControlAutomatable);
    ASSERT_EQ(r().getControlInfo(insert, 3, &info), PI_NoErr);
    EXPECT_EQ(info.flags, 0);
    ASSERT_EQ(r().getControlInfo(insert, 2, &info), PI_NoErr);
    EXPECT_EQ(info.kind, PI_ControlDiscrete);
    EXPECT_EQ(info.shown, 50);
    EXPECT_EQ(info.defaultShown, 50);
    EXPECT_EQ(info.value, info.defaultValue);
    std::int32_t index = 0;
    EXPECT_EQ(r().findControl(insert, 0x6D757465 /* 'mute' */, &index), PI_NoErr);
    EXPECT_EQ(index, 3);

    PI_Insert none = 77;
    EXPECT_EQ(r().createInsert(2, 48000, &none), PI_ErrUnknownType);
    EXPECT_EQ(r().createInsert(1, 0, &none), PI_ErrBadSampleRate);
    EXPECT_EQ(r().createInsert(1, -44100, &none), PI_ErrBadSampleRate);
    EXPECT_EQ(r().createInsert(1, PI_MaxSampleRate + 1, &none), PI_ErrBadSampleRate);
    EXPECT_EQ(r().createInsert(1, 44100, nullptr), PI_ErrNullPointer);
    recipe().processCreatorFails = true;
    EXPECT_EQ(r().createInsert(1, 44100, &none), PI_ErrOutOfMemory);
    recipe() = {};
    recipe().controlsShareAnID = true;
    EXPECT_EQ(r().createInsert(1, 44100, &none), PI_ErrInternal);
    EXPECT_EQ(none, 77);
}

TEST_F(Library, RendersThroughThePlugInOrPassesThroughWhenBypassed)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    TestProcess& p = processOf(insert);
    std::vector<float> l{1, 2, 3}, rr{-1, -2, -3}, outL(3, 9), outR(3, 9);
    float* in[] = {l.data(), rr.data()};
    float* out[] = {outL.data(), outR.data()};
    ASSERT_EQ(r().render(insert, in, out, 3), PI_NoErr);
    EXPECT_EQ(outL, (std::vector<float>{0.5f, 1, 1.5f}));
    EXPECT_EQ(p.renders, 1);

    p.updates.clear();
    ASSERT_EQ(r().setControlValue(insert, 1, 1), PI_NoErr);
    EXPECT_TRUE(p.updates.empty());  // the library keeps the bypass to itself
    EXPECT_EQ(p.shown.back(), (std::pair<std::int32_t, std::int32_t>{1, 1}));
    ASSERT_EQ(r().render(insert, in, out, 3), PI_NoErr);
    EXPECT_EQ(outL, l);
    EXPECT_EQ(outR, rr);
    EXPECT_EQ(p.renders, 1);  // the plug-in saw nothing
    ASSERT_EQ(r().render(insert, in, in, 3), PI_NoErr);  // in place
    EXPECT_EQ(l, (std::vector<float>{1, 2, 3}));
    ASSERT_EQ(r().setControlValue(insert, 1, 0), PI_NoErr);
    ASSERT_EQ(r().render(insert, in, out, 3), PI_NoErr);
    EXPECT_EQ(p.renders, 2);
}

TEST_F(Library, RendersStemsOfOtherWidths)
{
    recipe().inputFormat = 0;   // mono in
    recipe().outputFormat = 2;  // three out
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    ASSERT_EQ(r().setControlValue(insert, 1, 1), PI_NoErr);
    std::vector<float> m{4, 8}, a(2, 9), b(2, 9), c(2, 9);
    float* in[] = {m.data()};
    float* out[] = {a.data(), b.data(), c.data()};
    ASSERT_EQ(r().render(insert, in, out, 2), PI_NoErr);
    EXPECT_EQ(a, m);  // the bypass passes what there is and silences the rest
    EXPECT_EQ(b, (std::vector<float>{0, 0}));
    EXPECT_EQ(c, (std::vector<float>{0, 0}));
}

TEST_F(Library, BadInputToAnyRoutineChangesNothingAndTheInsertKeepsWorking)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    TestProcess& p = processOf(insert);
    ASSERT_EQ(r().setControlValue(insert, 2, 12345), PI_NoErr);
    std::vector<std::uint8_t> saved(64);
    std::int32_t size = 0;
    ASSERT_EQ(r().saveChunk(insert, saved.data(), 64, &size), PI_NoErr);
    saved.resize(std::size_t(size));
    const auto updates = p.updates.size();

    std::vector<float> l(4, 0.25f), rr(4, 0.5f), outL(4, 9), outR(4, 9);
    float* in[] = {l.data(), rr.data()};
    float* out[] = {outL.data(), outR.data()};
    float* halfIn[] = {l.data(), nullptr};
    float* halfOut[] = {nullptr, outR.data()};
    for (PI_Insert bad : {0, -1, insert + 1, insert + 256, 0x7FFFFFFF}) {
        EXPECT_EQ(r().render(bad, in, out, 4), PI_ErrUnknownInsert);
        EXPECT_EQ(r().setControlValue(bad, 2, 0), PI_ErrUnknownInsert);
        EXPECT_EQ(r().idle(bad), PI_ErrUnknownInsert);
        EXPECT_EQ(r().destroyInsert(bad), PI_ErrUnknownInsert);
        EXPECT_EQ(r().restoreChunk(bad, saved.data(), size), PI_ErrUnknownInsert);
        EXPECT_EQ(r().setNotify(bad, Listener::notify, nullptr), PI_ErrUnknownInsert);
    }
    EXPECT_EQ(r().render(insert, nullptr, out, 4), PI_ErrNullPointer);
    EXPECT_EQ(r().render(insert, in, nullptr, 4), PI_ErrNullPointer);
    EXPECT_EQ(r().render(insert, halfIn, out, 4), PI_ErrNullPointer);
    EXPECT_EQ(r().render(insert, in, halfOut, 4), PI_ErrNullPointer);
    EXPECT_EQ(r().render(insert, in, out, 0), PI_ErrBadLength);
    EXPECT_EQ(r().render(insert, in, out, -512), PI_ErrBadLength);
    EXPECT_EQ(outL, std::vector<float>(4, 9));
    EXPECT_EQ(outR, std::vector<float>(4, 9));
    EXPECT_EQ(p.renders, 0);

    for (std::int32_t index : {0, -1, 4, 1000}) {
        EXPECT_EQ(r().setControlValue(insert, index, 0), PI_ErrUnknownControl);
        PI_ControlInfo info{};
        EXPECT_EQ(r().getControlInfo(insert, index, &info), PI_ErrUnknownControl);
        char text[8] = "#";
        EXPECT_EQ(r().getControlName(insert, index, 4, text), PI_ErrUnknownControl);
        EXPECT_EQ(r().getControlText(insert, index, 4, text), PI_ErrUnknownControl);
        EXPECT_STREQ(text, "#");
    }
    std::int32_t index = 99;
    EXPECT_EQ(r().findControl(insert, 0x41424344, &index), PI_ErrUnknownControl);
    EXPECT_EQ(index, 99);
    EXPECT_EQ(r().findControl(insert, 0x6C65766C, nullptr), PI_ErrNullPointer);
    EXPECT_EQ(r().setControlValue(insert, 1, 2), PI_ErrValueOutOfRange);
    EXPECT_EQ(r().setControlValue(insert, 3, -1), PI_ErrValueOutOfRange);
    char text[8] = "#";
    EXPECT_EQ(r().getControlName(insert, 2, 0, text), PI_ErrBadLength);
    EXPECT_EQ(r().getControlText(insert, 2, -1, text), PI_ErrBadLength);
    EXPECT_EQ(r().getControlText(insert, 2, 4, nullptr), PI_ErrNullPointer);
    EXPECT_EQ(r().getControlInfo(insert, 2, nullptr), PI_ErrNullPointer);
    EXPECT_EQ(r().getControlCount(insert, nullptr), PI_ErrNullPointer);
    EXPECT_EQ(r().getChunkSize(insert, nullptr), PI_ErrNullPointer);
    EXPECT_STREQ(text, "#");

    // Chunks: too small a buffer, no buffer, truncated, too long, damaged, garbage.
    std::vector<std::uint8_t> buffer(64, 0xAA);
    EXPECT_EQ(r().saveChunk(insert, buffer.data(), size - 1, &size), PI_ErrBufferTooSmall);
    EXPECT_EQ(r().saveChunk(insert, buffer.data(), 0, &size), PI_ErrBadLength);
    EXPECT_EQ(r().saveChunk(insert, nullptr, 64, &size), PI_ErrNullPointer);
    EXPECT_EQ(r().saveChunk(insert, buffer.data(), 64, nullptr), PI_ErrNullPointer);
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(64, 0xAA));
    ASSERT_EQ(r().setControlValue(insert, 2, -7), PI_NoErr);
    ASSERT_EQ(r().setControlValue(insert, 3, 1), PI_NoErr);
    const auto updatesBefore = p.updates.size();
    EXPECT_EQ(r().restoreChunk(insert, saved.data(), size - 1), PI_ErrBadChunk);
    auto longer = saved;
    longer.push_back(0);
    EXPECT_EQ(r().restoreChunk(insert, longer.data(), size + 1), PI_ErrBadChunk);
    EXPECT_EQ(r().restoreChunk(insert, buffer.data(), size), PI_ErrBadChunk);
    EXPECT_EQ(r().restoreChunk(insert, saved.data(), 0), PI_ErrBadLength);
    EXPECT_EQ(r().restoreChunk(insert, nullptr, size), PI_ErrNullPointer);
    for (std::size_t i = 0; i < saved.size(); ++i) {
        auto damaged = saved;
        damaged[i] ^= 0x01;
        EXPECT_EQ(r().restoreChunk(insert, damaged.data(), size), PI_ErrBadChunk) << i;
    }
    EXPECT_EQ(value(insert, 2), -7);
    EXPECT_EQ(value(insert, 3), 1);
    EXPECT_EQ(p.updates.size(), updatesBefore);

    // And the insert still works.
    ASSERT_EQ(r().restoreChunk(insert, saved.data(), size), PI_NoErr);
    EXPECT_EQ(value(insert, 2), 12345);
    EXPECT_EQ(value(insert, 3), 0);
    EXPECT_GT(p.updates.size(), updates);
    ASSERT_EQ(r().render(insert, in, out, 4), PI_NoErr);
    EXPECT_EQ(outL, std::vector<float>(4, 0.125f));
}

// A chunk is valid only with every control exactly once and every value one its control takes.
TEST_F(Library, RestoresOnlyWholeConsistentChunks)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    std::vector<std::uint8_t> chunk(44);
    std::int32_t size = 0;
    ASSERT_EQ(r().saveChunk(insert, chunk.data(), 44, &size), PI_NoErr);
    ASSERT_EQ(size, 44);
    auto rewrite = [&](auto change) {
        auto c = chunk;
        change(c);
        // Re-seal it so only the content is wrong.
        std::uint32_t hash = 0x811C9DC5;
        for (int i = 0; i < 40; ++i) hash = (hash ^ c[std::size_t(i)]) * 0x01000193;
        for (int i = 0; i < 4; ++i) c[std::size_t(40 + i)] = std::uint8_t(hash >> (8 * i));
        return c;
    };
    const auto bypassTwo = rewrite([](auto& c) { c[20] = 2; });                   // bypass value 2
    const auto sameIDTwice = rewrite([&](auto& c) { std::memcpy(&c[32], &c[24], 4); });  // 'levl' twice
    const auto unknownID = rewrite([](auto& c) { c[16] = 'X'; });
    const auto resealed = rewrite([](auto&) {});
    for (const auto* bad : {&bypassTwo, &sameIDTwice, &unknownID})
        EXPECT_EQ(r().restoreChunk(insert, bad->data(), 44), PI_ErrBadChunk);
    EXPECT_EQ(r().restoreChunk(insert, resealed.data(), 44), PI_NoErr);
}

TEST_F(Library, APlugInRequestGoesToAConnectedHostAndAppliesDirectlyOtherwise)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    TestProcess& p = processOf(insert);
    const std::int32_t before = value(insert, 2);

    // Not connected: the request is the change.
    ASSERT_EQ(p.requestControlValue(2, 1000), PI_NoErr);
    EXPECT_EQ(value(insert, 2), 1000);
    EXPECT_EQ(p.updates.back(), 2);

    Listener host;
    ASSERT_EQ(r().setNotify(insert, Listener::notify, &host), PI_NoErr);
    p.updates.clear();
    ASSERT_EQ(p.requestControlValue(2, before), PI_NoErr);
    EXPECT_EQ(host.heard, (std::vector<Heard>{{insert, PI_NotifyControlRequest, 2, before}}));
    EXPECT_EQ(value(insert, 2), 1000);  // nothing until the host reports it back
    EXPECT_TRUE(p.updates.empty());
    ASSERT_EQ(r().setControlValue(insert, 2, host.heard[0].value), PI_NoErr);
    EXPECT_EQ(value(insert, 2), before);
    EXPECT_EQ(p.updates, (std::vector<std::int32_t>{2}));
    EXPECT_EQ(p.requestControlValue(1, 5), PI_ErrValueOutOfRange);
    EXPECT_EQ(p.requestControlValue(9, 0), PI_ErrUnknownControl);
    EXPECT_EQ(host.heard.size(), 1u);

    // Asked again while the host has not taken it, the request goes out again.
    ASSERT_EQ(p.requestControlValue(2, 77), PI_NoErr);
    ASSERT_EQ(p.requestControlValue(2, 77), PI_NoErr);
    EXPECT_EQ(host.heard.size(), 3u);

    // A host may report the value back from inside its notification; then asking for exactly that
    // again tells it nothing, but the same value after another one, or after automation, does.
    host.then = [&](const Heard& h) { r().setControlValue(h.insert, h.index, h.value); };
    host.heard.clear();
    ASSERT_EQ(p.requestControlValue(3, 1), PI_NoErr);
    EXPECT_EQ(value(insert, 3), 1);
    ASSERT_EQ(p.requestControlValue(3, 1), PI_NoErr);
    ASSERT_EQ(p.requestControlValue(3, 0), PI_NoErr);
    ASSERT_EQ(p.requestControlValue(3, 1), PI_NoErr);
    ASSERT_EQ(r().setControlValue(insert, 3, 0), PI_NoErr);
    ASSERT_EQ(p.requestControlValue(3, 1), PI_NoErr);
    EXPECT_EQ(host.heard.size(), 4u);
    EXPECT_EQ(value(insert, 3), 1);

    // Touches nest; the host hears the first and the last.
    host.then = nullptr;
    host.heard.clear();
    EXPECT_EQ(p.touch(2), PI_NoErr);
    EXPECT_EQ(p.touch(2), PI_NoErr);
    EXPECT_EQ(p.release(2), PI_NoErr);
    EXPECT_EQ(p.touchCount(2), 1);
    EXPECT_EQ(p.release(2), PI_NoErr);
    EXPECT_EQ(p.release(2), PI_NoErr);  // one too many: nothing
    EXPECT_EQ(p.touchCount(2), 0);
    EXPECT_EQ(p.touch(0), PI_ErrUnknownControl);
    EXPECT_EQ(host.heard, (std::vector<Heard>{{insert, PI_NotifyTouch, 2, 0}, {insert, PI_NotifyRelease, 2, 0}}));

    // Unregistered, the library is on its own again.
    ASSERT_EQ(r().setNotify(insert, nullptr, nullptr), PI_NoErr);
    ASSERT_EQ(p.requestControlValue(2, 77), PI_NoErr);
    EXPECT_EQ(value(insert, 2), 77);
    EXPECT_EQ(host.heard.size(), 2u);
}

TEST_F(Library, TwoInsertsNeverReachEachOther)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert a = create(), b = create();
    ASSERT_NE(a, b);
    Listener hostA;
    ASSERT_EQ(r().setNotify(a, Listener::notify, &hostA), PI_NoErr);
    const std::int32_t bLevel = value(b, 2);
    ASSERT_EQ(r().setControlValue(a, 2, 42), PI_NoErr);
    ASSERT_EQ(r().setControlValue(a, 1, 1), PI_NoErr);
    processOf(b).requestControlValue(2, 43);  // b has no host: applied, a's host hears nothing
    EXPECT_TRUE(hostA.heard.empty());
    EXPECT_EQ(value(b, 2), 43);
    EXPECT_EQ(value(b, 1), 0);
    EXPECT_EQ(value(a, 2), 42);

    std::vector<std::uint8_t> chunk(64);
    std::int32_t size = 0;
    ASSERT_EQ(r().saveChunk(a, chunk.data(), 64, &size), PI_NoErr);
    ASSERT_EQ(r().restoreChunk(b, chunk.data(), size), PI_NoErr);  // the same type: a's chunk fits b
    EXPECT_EQ(value(b, 2), 42);
    EXPECT_EQ(value(b, 1), 1);
    ASSERT_EQ(r().setControlValue(b, 2, bLevel), PI_NoErr);
    ASSERT_EQ(r().setControlValue(b, 1, 0), PI_NoErr);
    EXPECT_EQ(value(a, 2), 42);
    EXPECT_EQ(value(a, 1), 1);

    std::vector<float> x{1}, y{1}, o1{0}, o2{0};
    float* in[] = {x.data(), y.data()};
    float* out[] = {o1.data(), o2.data()};
    ASSERT_EQ(r().render(b, in, out, 1), PI_NoErr);
    EXPECT_EQ(o1[0], 0.5f);  // a's bypass is a's
    ASSERT_EQ(r().destroyInsert(a), PI_NoErr);
    ASSERT_EQ(r().render(b, in, out, 1), PI_NoErr);
    EXPECT_EQ(r().render(a, in, out, 1), PI_ErrUnknownInsert);
}

TEST_F(Library, AnInsertDestroyedFromInsideItsOwnCallGoesWhenTheCallEnds)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    TestProcess& p = processOf(insert);
    const std::int32_t live = CProcess::liveCount();
    Listener host;
    host.then = [&](const Heard& h) { EXPECT_EQ(r().destroyInsert(h.insert), PI_NoErr); };
    ASSERT_EQ(r().setNotify(insert, Listener::notify, &host), PI_NoErr);
    bool afterwards = false;
    p.duringIdle = [&] {
        p.requestControlValue(2, 1);
        // Still alive and usable here; the host's handle is already gone.
        afterwards = p.controlCount() == 3 && CPlugInModule::instance().findInsert(insert) == nullptr;
        p.requestControlValue(2, 2);  // a process on its way out tells the host nothing
    };
    EXPECT_EQ(r().idle(insert), PI_NoErr);
    EXPECT_TRUE(afterwards);
    EXPECT_EQ(host.heard.size(), 1u);
    EXPECT_EQ(CProcess::liveCount(), live - 1);
    EXPECT_EQ(r().idle(insert), PI_ErrUnknownInsert);
}

TEST_F(Library, AnInsertDestroyedFromANotificationOutsideAnyCallGoesAtTheNextOne)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create(), other = create();
    TestProcess& p = processOf(insert);
    const std::int32_t live = CProcess::liveCount();
    Listener host;
    host.then = [&](const Heard& h) { r().destroyInsert(h.insert); };
    ASSERT_EQ(r().setNotify(insert, Listener::notify, &host), PI_NoErr);
    p.touch(2);  // as a window's own event handler would, outside any host routine
    EXPECT_EQ(p.touchCount(2), 1);  // still there to finish its work
    EXPECT_EQ(CProcess::liveCount(), live);
    EXPECT_EQ(r().idle(other), PI_NoErr);
    EXPECT_EQ(CProcess::liveCount(), live - 1);
}

TEST_F(Library, HoldsAtMost255InsertsAndNeverReusesAHandle)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    std::vector<PI_Insert> inserts;
    for (int i = 0; i < PI_MaxInserts; ++i) inserts.push_back(create());
    PI_Insert extra = 0;
    EXPECT_EQ(r().createInsert(1, 44100, &extra), PI_ErrTooManyInserts);
    EXPECT_EQ(extra, 0);
    const PI_Insert gone = inserts[100];
    ASSERT_EQ(r().destroyInsert(gone), PI_NoErr);
    ASSERT_EQ(r().createInsert(1, 44100, &extra), PI_NoErr);
    EXPECT_NE(extra, gone);
    EXPECT_EQ(r().idle(gone), PI_ErrUnknownInsert);
    EXPECT_EQ(r().idle(extra), PI_NoErr);
    // The last close takes every insert still there with it.
    const std::int32_t live = CProcess::liveCount();
    ASSERT_EQ(plugin.close(), PI_NoErr);
    EXPECT_EQ(CProcess::liveCount(), live - PI_MaxInserts);
    EXPECT_EQ(r().idle(extra), PI_ErrUnknownInsert);
}

TEST_F(Library, TheViewFactoryMakesRegisteredViewsFromTheirDescription)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_ViewRect at{0, 0, 430, 390};
    auto view = CViewFactory::create("!TestView[('NoID')]", at);
    ASSERT_NE(dynamic_cast<testplugin::TestView*>(view.get()), nullptr);
    EXPECT_EQ(view->viewID(), 0x4E6F4944u);
    EXPECT_EQ(view->bounds().bottom, 430);
    EXPECT_EQ(view->bounds().right, 390);
    EXPECT_EQ(CViewFactory::create("!TestView[('Ab1!')]", at)->viewID(), 0x41623121u);
    for (const char* bad : {"TestView", "!TestView", "!TestView[('NoI')]", "!TestView[('NoID')] ", "![('NoID')]",
                            "!TestView(('NoID')]", "!TestView[(\"NoID\")]", "!OtherView[('NoID')]", ""})
        EXPECT_EQ(CViewFactory::create(bad, at), nullptr) << bad;
    recipe().viewCreatorFails = true;
    EXPECT_EQ(CViewFactory::create("!TestView[('NoID')]", at), nullptr);
}

TEST_F(Library, APlugInWithoutAWindowAnswersEveryWindowRequest)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    PI_ViewRect size{1, 2, 3, 4};
    EXPECT_EQ(r().getViewSize(insert, &size), PI_ErrNoWindow);
    EXPECT_EQ(size.right, 4) << "nothing written";
    const PI_WindowPort port{PI_PortVersion, 0, 0x1234};
    EXPECT_EQ(r().openWindow(insert, &port), PI_ErrNoWindow);
    EXPECT_EQ(r().closeWindow(insert), PI_ErrNoWindow);
    EXPECT_EQ(r().drawWindow(insert, nullptr), PI_ErrNoWindow);
    std::int32_t index = -1;
    EXPECT_EQ(r().controlAt(insert, 5, 5, &index), PI_NoErr);
    EXPECT_EQ(index, 0);
    // Highlights are the library's own for a plug-in without a window of its own.
    EXPECT_EQ(r().highlightControl(insert, 2, 1, 7), PI_NoErr);
    EXPECT_TRUE(processOf(insert).controlHighlighted(2));
    EXPECT_EQ(r().highlightControl(insert, 2, 0, 7), PI_NoErr);
    EXPECT_FALSE(processOf(insert).controlHighlighted(2));
    EXPECT_EQ(r().highlightControl(insert, 4, 1, 7), PI_ErrUnknownControl);
    EXPECT_EQ(r().getViewSize(0, &size), PI_ErrUnknownInsert);
}

TEST_F(Library, ThePlugInsOwnIdleWorkGivesItsInsertIdleTurnsAtTheHostsPace)
{
    platform::HeadlessWindowSystem clock;
    platform::WindowSystem::install(&clock);
    clock.setTicks(1000);
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    TestProcess& p = processOf(insert);
    p.doIdleWork();
    EXPECT_EQ(p.idles, 1) << "the first is due at once";
    for (int i = 0; i < 10; ++i) p.doIdleWork();
    EXPECT_EQ(p.idles, 1);
    EXPECT_EQ(clock.ticks(), 1010u) << "a millisecond left to the host each time";
    p.doIdleWork();
    EXPECT_EQ(p.idles, 2) << "10 ms after the last turn";

    // Inside the host's own idle turn there is no second one.
    int inside = 0;
    p.duringIdle = [&] {
        if (inside++ == 0) {
            clock.setTicks(clock.ticks() + 100);
            p.doIdleWork();
        }
    };
    ASSERT_EQ(r().idle(insert), PI_NoErr);
    EXPECT_EQ(p.idles, 3);

    // The host destroying the insert from inside that work: it goes once the work is done.
    p.duringIdle = [&] { r().destroyInsert(insert); };
    clock.setTicks(clock.ticks() + 100);
    p.doIdleWork();
    EXPECT_EQ(r().idle(insert), PI_ErrUnknownInsert);
    platform::WindowSystem::install(nullptr);
}

}  // namespace
