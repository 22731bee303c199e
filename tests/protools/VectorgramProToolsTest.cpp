// +vectorgram for Pro Tools, linked into this program with the library: what the host interface shows
// of it, and what reaches the effect.
#include "effects/vectorgram/vectorgram.h"
#include "platform/ModuleFile.h"
#include "protools/CVectorgramGroup.h"
#include "protools/CVectorgramProcessRTAS.h"
#include "protools/library/CEffectTypeRTAS.h"
#include "protools/library/CPlugInModule.h"
#include "protools/library/CPluginControl.h"
#include "protools/library/PlugInExports.h"
#include "tests/protools/FailingAllocation.h"
#include "tests/protools/ResourceFileBeside.h"
#include "tools/plughost/ProToolsPlugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <vector>

namespace {

constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();

class VectorgramProTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        resources = rsr::read();
        ASSERT_FALSE(resources.empty()) << "the build puts " << rsr::besideProgram();
        std::string error;
        ASSERT_TRUE(plugin.attach({WinPlugInOpen, WinPlugInClose, _PI_GetRoutineDescriptor, NewPlugIn}, error))
            << error;
    }
    void TearDown() override
    {
        failing::disarm();
        plugin.unload();
        while (WinPlugInClose() == PI_NoErr) {
        }
        rsr::write(resources);
    }

    PI_Insert create(std::int32_t rate = 44100)
    {
        PI_Insert insert = 0;
        EXPECT_EQ(r().createInsert(1, rate, &insert), PI_NoErr);
        return insert;
    }
    static CVectorgramProcess& processOf(PI_Insert insert)
    {
        return dynamic_cast<CVectorgramProcess&>(*CPlugInModule::instance().findInsert(insert));
    }
    static vectorgram& effectOf(PI_Insert insert) { return *processOf(insert).getEffect(); }
    std::int32_t value(PI_Insert insert, std::int32_t index)
    {
        PI_ControlInfo info{};
        EXPECT_EQ(r().getControlInfo(insert, index, &info), PI_NoErr);
        return info.value;
    }
    const ProToolsPlugin::Routines& r() const { return plugin.routines(); }

    std::vector<std::uint8_t> resources;
    ProToolsPlugin plugin;
};

TEST(VectorgramConversions, ControlToValueAndBack)
{
    using P = CVectorgramProcess;
    EXPECT_EQ(P::controlToValue(kLowest, 0, 1), 0.0f);
    EXPECT_EQ(P::controlToValue(0, 0, 1), 0.5f);
    EXPECT_EQ(P::controlToValue(kHighest, 0, 1), 1.0f);
    // The quotient is a float before it is scaled: (2^31 + 1) / (2^32 - 1) rounds to 0.5 exactly.
    EXPECT_EQ(P::controlToValue(1, 0, 1), 0.5f);
    EXPECT_EQ(P::controlToValue(0, 10, 20), 15.0f);

    EXPECT_EQ(P::valueToControl(0.0f, 0, 1), kLowest);
    EXPECT_EQ(P::valueToControl(0.5f, 0, 1), 0);
    EXPECT_EQ(P::valueToControl(1.0f, 0, 1), kHighest);
    EXPECT_EQ(P::valueToControl((200 - 10) / 502.0f, 0, 1), -521898368);
    EXPECT_EQ(P::valueToControl(0.37848607f, 0, 1), -521898368);
    EXPECT_EQ(P::valueToControl(-0.1f, 0, 1), kLowest);
    EXPECT_EQ(P::valueToControl(1.5f, 0, 1), kHighest);
    EXPECT_EQ(P::valueToControl(-INFINITY, 0, 1), kLowest);
    EXPECT_EQ(P::valueToControl(INFINITY, 0, 1), kHighest);
    EXPECT_EQ(P::valueToControl(NAN, 0, 1), kLowest);
    EXPECT_EQ(P::valueToControl(15.0f, 10, 20), 0);
    EXPECT_EQ(P::valueToControl(25.0f, 20, 10), kLowest);  // a reversed range clamps too
    EXPECT_EQ(P::valueToControl(3.0f, 5, 5), kLowest);     // and an empty one has only its minimum
}

TEST_F(VectorgramProTools, RegistersItsIdentity)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    PI_GroupInfo group{};
    ASSERT_EQ(r().getGroupInfo(&group), PI_NoErr);
    EXPECT_EQ(group.manufacturerID, 0x544E574Bu);  // 'TNWK'
    EXPECT_EQ(group.version, 1);
    EXPECT_EQ(group.typeCount, 1);
    EXPECT_EQ(plugin.manufacturerName(30), "Tonewerks");
    EXPECT_EQ(plugin.manufacturerName(9), "Tonewerks");
    EXPECT_EQ(plugin.manufacturerName(4), "Tone");
    EXPECT_EQ(plugin.manufacturerName(1), "T");
    EXPECT_EQ(plugin.groupName(30), "Tonewerks +vectorgram");
    EXPECT_EQ(plugin.groupName(12), "+vectorgram");
    EXPECT_EQ(plugin.groupName(4), "+kvl");
    EXPECT_EQ(plugin.groupGestalts(), (std::vector<std::int32_t>{14}));

    PI_TypeInfo type{};
    ASSERT_EQ(r().getTypeInfo(1, &type), PI_NoErr);
    EXPECT_EQ(type.kind, PI_TypeRTAS);
    EXPECT_EQ(type.typeID, 0x2B76676Du);
    EXPECT_EQ(type.productID, 0x2B76676Du);
    EXPECT_EQ(type.configuration, 512);
    EXPECT_EQ(type.sampleRateSupport, 6);
    EXPECT_EQ(type.inputFormat, 1);
    EXPECT_EQ(type.outputFormat, 1);
    EXPECT_EQ(type.stemOption, 0);
    EXPECT_EQ(type.inputChannels, 2);
    EXPECT_EQ(type.outputChannels, 2);
    EXPECT_EQ(plugin.typeName(1, 30), "Tonewerks +vectorgram");
    EXPECT_EQ(plugin.typeName(1, 12), "+vectorgram");
    EXPECT_EQ(plugin.typeName(1, 4), "+vgm");
    const auto gestalts = plugin.typeGestalts(1);
    EXPECT_EQ(std::set<std::int32_t>(gestalts.begin(), gestalts.end()), (std::set<std::int32_t>{7, 8, 29, 48}));
    EXPECT_EQ(gestalts.size(), 4u);
    const auto* pages = CPlugInModule::instance().resources().findPageTables("VectorgramPageTables");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(*pages, (std::vector<CPlugInResources::Page>{{0x6B6E6233}}));
}

TEST_F(VectorgramProTools, DefinesTheBypassAndTheSamplesControl)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    std::int32_t count = 0;
    ASSERT_EQ(r().getControlCount(insert, &count), PI_NoErr);
    ASSERT_EQ(count, 2);
    PI_ControlInfo bypass{}, samples{};
    ASSERT_EQ(r().getControlInfo(insert, 1, &bypass), PI_NoErr);
    ASSERT_EQ(r().getControlInfo(insert, 2, &samples), PI_NoErr);
    EXPECT_EQ(bypass.id, 0x62797061u);  // 'bypa'
    EXPECT_EQ(bypass.kind, PI_ControlOnOff);
    EXPECT_EQ(bypass.minimum, 0);
    EXPECT_EQ(bypass.maximum, 1);
    EXPECT_EQ(bypass.defaultShown, 0);
    EXPECT_EQ(bypass.value, 0);
    EXPECT_EQ(bypass.flags, PI_ControlIsMasterBypass | PI_ControlAutomatable);
    EXPECT_EQ(plugin.controlName(insert, 1, 30), "Master Bypass");
    EXPECT_EQ(plugin.controlName(insert, 1, 12), "Bypass");
    EXPECT_EQ(plugin.controlText(insert, 1), "Off");
    EXPECT_EQ(samples.id, 0x6B6E6233u);  // 'knb3'
    EXPECT_EQ(samples.kind, PI_ControlDiscrete);
    EXPECT_EQ(samples.minimum, 10);
    EXPECT_EQ(samples.maximum, 512);
    EXPECT_EQ(samples.defaultShown, 200);
    EXPECT_EQ(samples.shown, 200);
    EXPECT_EQ(samples.flags, PI_ControlAutomatable);
    EXPECT_EQ(plugin.controlName(insert, 2, 30), "Samples");
    EXPECT_EQ(plugin.controlName(insert, 2, 4), "smp");
    EXPECT_EQ(plugin.controlText(insert, 2), "200");
    EXPECT_EQ(effectOf(insert).getDisplaySamples(), 200);
}

TEST_F(VectorgramProTools, ControlTwoDrivesTheEffectsSampleCount)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    vectorgram& effect = effectOf(insert);
    const struct {
        std::int32_t control;
        std::int32_t samples;
    } cases[] = {{0, 261}, {kLowest, 10}, {kHighest, 512}, {-521898368, 200}};
    for (const auto& c : cases) {
        ASSERT_EQ(r().setControlValue(insert, 2, c.control), PI_NoErr);
        EXPECT_EQ(effect.getDisplaySamples(), c.samples) << c.control;
        EXPECT_EQ(plugin.controlText(insert, 2), std::to_string(c.samples));
    }
    // Every step the host shows is the step the effect uses.
    PI_ControlInfo info{};
    for (std::int32_t step = 10; step <= 512; ++step) {
        const double x = std::min(1.0, ((step - 10) + 0.5) / 502.0);  // the middle of the step's band
        const auto value = std::int32_t(std::floor(x * 4294967295.0 - 2147483648.0 + 0.5));
        ASSERT_EQ(r().setControlValue(insert, 2, value), PI_NoErr);
        ASSERT_EQ(r().getControlInfo(insert, 2, &info), PI_NoErr);
        ASSERT_EQ(info.shown, step);
        ASSERT_EQ(effect.getDisplaySamples(), step);
    }
}

TEST_F(VectorgramProTools, TheMasterBypassNeverReachesTheEffect)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    vectorgram& effect = effectOf(insert);
    ASSERT_EQ(r().setControlValue(insert, 2, 0), PI_NoErr);
    std::vector<float> l(64, 0.75f), rr(64, -0.25f), outL(64), outR(64);
    float* in[] = {l.data(), rr.data()};
    float* out[] = {outL.data(), outR.data()};

    ASSERT_EQ(r().setControlValue(insert, 1, 1), PI_NoErr);
    ASSERT_EQ(r().render(insert, in, out, 64), PI_NoErr);
    EXPECT_EQ(outL, l);
    EXPECT_EQ(outR, rr);
    EXPECT_EQ(effect.getPeak(0), 0.0f);  // it saw no audio
    EXPECT_EQ(effect.getCaptureLeft()[511].load(), 0.0f);
    EXPECT_EQ(effect.getDisplaySamples(), 261);
    for (VstInt32 i : {0, 1}) EXPECT_EQ(effect.getParameter(i), -1.0f);

    ASSERT_EQ(r().setControlValue(insert, 1, 0), PI_NoErr);
    ASSERT_EQ(r().render(insert, in, out, 64), PI_NoErr);
    EXPECT_EQ(effect.getPeak(0), 0.75f);
    EXPECT_EQ(effect.getCaptureRight()[511].load(), -0.25f);
    EXPECT_EQ(effect.getDisplaySamples(), 261);
}

TEST_F(VectorgramProTools, RendersThroughTheEffectWithTheHostsBuffers)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    vectorgram& effect = effectOf(insert);
    std::vector<float> l(600), rr(600), outL(600, 9), outR(600, 9);
    for (int i = 0; i < 600; ++i) {
        l[std::size_t(i)] = float(i) / 600;
        rr[std::size_t(i)] = -float(i) / 1200;
    }
    float* in[] = {l.data(), rr.data()};
    float* out[] = {outL.data(), outR.data()};
    ASSERT_EQ(r().render(insert, in, out, 600), PI_NoErr);
    EXPECT_EQ(outL, l);
    EXPECT_EQ(outR, rr);
    // One call with all 600 frames: the window holds the block's first 512, as the effect keeps it.
    EXPECT_EQ(effect.getCaptureLeft()[511].load(), l[511]);
    ASSERT_EQ(r().render(insert, in, in, 100), PI_NoErr);
    EXPECT_EQ(effect.getCaptureLeft()[511].load(), l[99]);
    EXPECT_EQ(effect.getCaptureLeft()[411].load(), l[511]);
}

TEST_F(VectorgramProTools, TheEffectStaysAt44100WhateverTheSessionRate)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create(96000);
    vectorgram& effect = effectOf(insert);
    EXPECT_EQ(processOf(insert).sampleRate(), 96000);
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    std::vector<float> l(512, 0.0f), rr(512, 0.0f), out1(512), out2(512);
    l[0] = 1.0f;
    float* in[] = {l.data(), rr.data()};
    float* out[] = {out1.data(), out2.data()};
    ASSERT_EQ(r().render(insert, in, out, 512), PI_NoErr);  // peak 1.0 after one decay of a silent start
    l[0] = 0.0f;
    ASSERT_EQ(r().render(insert, in, out, 512), PI_NoErr);
    // 60 dB per 0.1666 s at 44100 Hz, not at 96000.
    const double decay = std::pow(0.001, 512 / (44100 * 0.1666));
    EXPECT_NEAR(effect.getPeak(0), decay, 1e-6);
}

TEST_F(VectorgramProTools, TheControlsChunkCarriesTheSampleCountToTheEffect)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    ASSERT_EQ(r().setControlValue(insert, 2, kHighest), PI_NoErr);
    ASSERT_EQ(r().setControlValue(insert, 1, 1), PI_NoErr);
    std::int32_t size = 0;
    ASSERT_EQ(r().getChunkSize(insert, &size), PI_NoErr);
    ASSERT_EQ(size, 36);
    std::vector<std::uint8_t> chunk(36);
    ASSERT_EQ(r().saveChunk(insert, chunk.data(), 36, &size), PI_NoErr);
    ASSERT_EQ(r().setControlValue(insert, 2, kLowest), PI_NoErr);
    ASSERT_EQ(r().setControlValue(insert, 1, 0), PI_NoErr);
    EXPECT_EQ(effectOf(insert).getDisplaySamples(), 10);
    ASSERT_EQ(r().restoreChunk(insert, chunk.data(), 36), PI_NoErr);
    EXPECT_EQ(effectOf(insert).getDisplaySamples(), 512);
    EXPECT_EQ(value(insert, 1), 1);

    // Restoring into a second insert reaches that insert's effect only.
    const PI_Insert other = create();
    ASSERT_EQ(r().setControlValue(insert, 2, 0), PI_NoErr);
    ASSERT_EQ(r().restoreChunk(other, chunk.data(), 36), PI_NoErr);
    EXPECT_EQ(effectOf(other).getDisplaySamples(), 512);
    EXPECT_EQ(effectOf(insert).getDisplaySamples(), 261);
    EXPECT_NE(&effectOf(other), &effectOf(insert));
}

struct Requests {
    std::vector<std::pair<std::int32_t, std::int32_t>> seen;  // (notification, value)
    static void PI_CALL notify(void* user, PI_Insert, std::int32_t what, std::int32_t, std::int32_t value)
    {
        static_cast<Requests*>(user)->seen.emplace_back(what, value);
    }
};

TEST_F(VectorgramProTools, TheProcessInterfaceGoesThroughTheHostWhenConnected)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    const PI_Insert insert = create();
    IVectorgramProcess& process = processOf(insert);
    vectorgram* effect = process.getEffect();
    ASSERT_NE(effect, nullptr);

    // No host listening: applied at once.
    ASSERT_EQ(process.setControlValue(2, kHighest), PI_NoErr);
    EXPECT_EQ(effect->getDisplaySamples(), 512);
    std::int32_t v = 5;
    EXPECT_EQ(process.getControlValue(2, &v), PI_NoErr);
    EXPECT_EQ(v, kHighest);
    EXPECT_EQ(process.getControlValue(3, &v), PI_ErrUnknownControl);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(process.getControl(2)->id(), 0x6B6E6233u);
    EXPECT_EQ(process.getControl(0), nullptr);

    // Connected: the effect waits for Pro Tools to report the value back.
    Requests host;
    ASSERT_EQ(r().setNotify(insert, Requests::notify, &host), PI_NoErr);
    ASSERT_EQ(process.touchControl(2), PI_NoErr);
    ASSERT_EQ(process.setControlValue(2, 0), PI_NoErr);
    ASSERT_EQ(process.releaseControl(2), PI_NoErr);
    EXPECT_EQ(host.seen, (std::vector<std::pair<std::int32_t, std::int32_t>>{
                             {PI_NotifyTouch, 0}, {PI_NotifyControlRequest, 0}, {PI_NotifyRelease, 0}}));
    EXPECT_EQ(effect->getDisplaySamples(), 512);
    ASSERT_EQ(r().setControlValue(insert, 2, host.seen[1].second), PI_NoErr);
    EXPECT_EQ(effect->getDisplaySamples(), 261);

    EXPECT_EQ(process.getModuleInstance(), platform::moduleContaining(reinterpret_cast<const void*>(&WinPlugInOpen)));
    EXPECT_NE(process.getModuleInstance(), 0u);
    auto& rtas = dynamic_cast<CVectorgramProcess&>(process);
    const std::int32_t live = rtas.liveProcesses();
    const PI_Insert other = create();
    EXPECT_EQ(rtas.liveProcesses(), live + 1);
    ASSERT_EQ(r().destroyInsert(other), PI_NoErr);
    EXPECT_EQ(rtas.liveProcesses(), live);
    process.beginResourceUse();
    EXPECT_EQ(CPlugInModule::instance().resources().useCount(), 1);
    process.endResourceUse();
    process.endResourceUse();
    EXPECT_EQ(CPlugInModule::instance().resources().useCount(), 0);
    process.idle();
}

TEST_F(VectorgramProTools, NewPlugInAnswersAllocationFailureAndExceptions)
{
    failing::failNextAllocationOf(sizeof(CVectorgramGroup));
    EXPECT_EQ(plugin.open(), -7003);
    EXPECT_TRUE(failing::fired());
    failing::failNextAllocationOf(sizeof(CEffectTypeRTAS));
    EXPECT_EQ(plugin.open(), -7401);
    EXPECT_TRUE(failing::fired());
    PI_GroupInfo group{};
    EXPECT_EQ(r().getGroupInfo(&group), PI_ErrNotOpen);

    // A library error inside the group's initialisation comes back as its own code.
    rsr::write(rsr::build({{"SomeOtherPageTables", {{"knb3"}}}}));
    EXPECT_EQ(plugin.open(), PI_ErrMissingResource);
    rsr::write(resources);

    // Called by anyone but the opening library, NewPlugIn stores nothing.
    EXPECT_EQ(NewPlugIn(), PI_ErrNotOpen);
    ASSERT_EQ(plugin.open(), PI_NoErr);
    EXPECT_EQ(NewPlugIn(), PI_ErrNotOpen);
    EXPECT_EQ(r().getGroupInfo(&group), PI_NoErr);
}

TEST_F(VectorgramProTools, AnInsertWithoutItsEffectStillPassesAudio)
{
    ASSERT_EQ(plugin.open(), PI_NoErr);
    failing::failNextAllocationOf(sizeof(vectorgram));
    const PI_Insert insert = create();
    ASSERT_TRUE(failing::fired());
    CVectorgramProcess& process = processOf(insert);
    EXPECT_EQ(process.getEffect(), nullptr);
    std::vector<float> l{0.1f, 0.2f}, rr{0.3f, 0.4f}, outL(2), outR(2);
    float* in[] = {l.data(), rr.data()};
    float* out[] = {outL.data(), outR.data()};
    ASSERT_EQ(r().render(insert, in, out, 2), PI_NoErr);
    EXPECT_EQ(outL, l);
    EXPECT_EQ(outR, rr);
    ASSERT_EQ(r().setControlValue(insert, 2, 0), PI_NoErr);
    EXPECT_EQ(plugin.controlText(insert, 2), "261");  // the control's own text
    std::vector<std::uint8_t> chunk(36);
    std::int32_t size = 0;
    ASSERT_EQ(r().saveChunk(insert, chunk.data(), 36, &size), PI_NoErr);
    ASSERT_EQ(r().restoreChunk(insert, chunk.data(), size), PI_NoErr);
    ASSERT_EQ(r().idle(insert), PI_NoErr);
    EXPECT_EQ(r().destroyInsert(insert), PI_NoErr);
}

}  // namespace
