// The library's pieces on their own: name lists, stem formats, gestalts, control values, the resource
// file and the controls chunk.
#include "protools/library/CControlsChunk.h"
#include "protools/library/CDAEError.h"
#include "protools/library/CEffectTypeRTAS.h"
#include "protools/library/CNoResourceView.h"
#include "protools/library/CViewFactory.h"
#include "protools/library/CPlugInResources.h"
#include "protools/library/CPluginControl_Discrete.h"
#include "protools/library/CPluginControl_OnOff.h"
#include "protools/library/FourCharCode.h"
#include "protools/library/MultiLengthName.h"
#include "protools/library/WindowPort.h"
#include "tests/protools/ResourceFileBeside.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

PI_Err codeOf(void (*f)())
{
    try {
        f();
    } catch (const CDAEError& e) {
        return e.code();
    }
    return PI_NoErr;
}

TEST(MultiLengthName, TakesTheFirstThatFitsElseCutsTheLast)
{
    const char* names = "Tonewerks +vectorgram\n+vectorgram\n+vgm";
    EXPECT_EQ(pickMultiLengthName(names, 30), "Tonewerks +vectorgram");
    EXPECT_EQ(pickMultiLengthName(names, 21), "Tonewerks +vectorgram");
    EXPECT_EQ(pickMultiLengthName(names, 20), "+vectorgram");
    EXPECT_EQ(pickMultiLengthName(names, 12), "+vectorgram");
    EXPECT_EQ(pickMultiLengthName(names, 10), "+vgm");
    EXPECT_EQ(pickMultiLengthName(names, 4), "+vgm");
    EXPECT_EQ(pickMultiLengthName(names, 3), "+vg");
    EXPECT_EQ(pickMultiLengthName(names, 1), "+");
    // A list that ends in a newline has no empty last name: short fields get the real name cut.
    EXPECT_EQ(pickMultiLengthName("Tonewerks\n", 4), "Tone");
    EXPECT_EQ(pickMultiLengthName("Tonewerks\n", 9), "Tonewerks");
    EXPECT_EQ(pickMultiLengthName("Tonewerks\n", 1), "T");
    EXPECT_EQ(pickMultiLengthName("a\n\nbb", 1), "a");
    EXPECT_EQ(pickMultiLengthName("", 5), "");
    EXPECT_EQ(pickMultiLengthName("\n\n", 5), "");
    EXPECT_EQ(pickMultiLengthName(names, 0), "");
    EXPECT_EQ(pickMultiLengthName(names, -3), "");
}

TEST(EffectType, MapsStemFormatsToChannelsAndRefusesUnknownCodes)
{
    const std::int32_t expected[] = {1, 2, 3, 4, 4, 5, 6, 6, 7, 7, 8};
    for (std::int32_t code = 0; code <= 10; ++code) EXPECT_EQ(CEffectType::channelsOfStemFormat(code), expected[code]);
    EXPECT_EQ(codeOf([] { CEffectType::channelsOfStemFormat(11); }), -7401);
    EXPECT_EQ(codeOf([] { CEffectType::channelsOfStemFormat(-1); }), -7401);

    CEffectTypeRTAS type(fourCharID("+vgm"), fourCharID("+vgm"), 512);
    EXPECT_EQ(type.gestalts(), (std::vector<std::int32_t>{7}));
    type.addGestalt(8);
    type.defineStemFormats(6, 10, 0);
    EXPECT_EQ(type.inputChannels(), 6);
    EXPECT_EQ(type.outputChannels(), 8);
    EXPECT_EQ(type.gestalts(), (std::vector<std::int32_t>{7, 8, 29}));
    // An unknown code leaves the stem as it was.
    EXPECT_THROW(type.defineStemFormats(1, 12, 0), CDAEError);
    EXPECT_EQ(type.inputChannels(), 6);
    EXPECT_EQ(type.outputFormat(), 10);
    EXPECT_EQ(type.createProcess(), nullptr);  // no creator attached
}

TEST(PluginControls, OnOffTakesZeroAndOne)
{
    CPluginControl_OnOff bypass(fourCharID("bypa"), "Master Bypass\nBypass", false, true);
    EXPECT_EQ(bypass.value(), 0);
    EXPECT_TRUE(bypass.accepts(0));
    EXPECT_TRUE(bypass.accepts(1));
    EXPECT_FALSE(bypass.accepts(2));
    EXPECT_FALSE(bypass.accepts(-1));
    EXPECT_EQ(bypass.text(0), "Off");
    EXPECT_EQ(bypass.text(1), "On");
    EXPECT_EQ(bypass.name(12), "Bypass");
    EXPECT_EQ(bypass.name(13), "Master Bypass");
    EXPECT_EQ(CPluginControl_OnOff(1, "x", true, false).value(), 1);
}

// The step a control value shows, computed apart from the class: floor of the position in 0..1 times
// the number of steps, in long double.
std::int64_t stepOf(std::int32_t value, std::int32_t lo, std::int32_t hi)
{
    const long double x = ((long double)value + 2147483648.0L) / 4294967295.0L;
    return std::min<std::int64_t>(hi, lo + std::int64_t(std::floor(x * ((long double)hi - lo))));
}

TEST(PluginControls, DiscreteStepsRoundTripThroughControlValues)
{
    for (const auto& [lo, hi] : {std::pair{10, 512}, {0, 1}, {-100, 100}, {0, 65535}}) {
        CPluginControl_Discrete c(fourCharID("knb3"), "Samples\nsmp", lo, hi, lo, true);
        for (std::int32_t step = lo; step <= hi; ++step) {
            const std::int32_t value = c.valueOfStep(step);
            ASSERT_EQ(c.shown(value), step) << lo << ".." << hi;
            ASSERT_EQ(stepOf(value, lo, hi), step) << lo << ".." << hi;
        }
        EXPECT_EQ(c.shown(-2147483647 - 1), lo);
        EXPECT_EQ(c.shown(2147483647), hi);
        EXPECT_EQ(c.valueOfStep(hi), 2147483647);
        EXPECT_EQ(c.valueOfStep(hi + 1), 2147483647);
        EXPECT_EQ(c.valueOfStep(lo - 1), c.valueOfStep(lo));
    }
    CPluginControl_Discrete samples(fourCharID("knb3"), "Samples\nsmp", 10, 512, 200, true);
    EXPECT_EQ(samples.shown(samples.value()), 200);
    EXPECT_EQ(samples.shown(0), 261);  // the middle of the control range
    EXPECT_EQ(samples.text(0), "261");
    EXPECT_TRUE(samples.accepts(-2147483647 - 1));
    EXPECT_EQ(samples.name(4), "smp");
    EXPECT_THROW(CPluginControl_Discrete(1, "x", 5, 5, 5, true), CDAEError);
    EXPECT_THROW(CPluginControl_Discrete(1, "x", 0, 10, 11, true), CDAEError);
}

TEST(Resources, ReadsPageTablesAndRefusesAnythingMalformed)
{
    const auto good = rsr::build({{"VectorgramPageTables", {{"knb3"}, {"bypa", "knb3"}}}, {"Other", {}}});
    CPlugInResources resources;
    ASSERT_EQ(resources.parse(good), PI_NoErr);
    EXPECT_TRUE(resources.hasPageTables("VectorgramPageTables"));
    EXPECT_TRUE(resources.hasPageTables("Other"));
    EXPECT_FALSE(resources.hasPageTables("vectorgrampagetables"));
    const auto* pages = resources.findPageTables("VectorgramPageTables");
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->size(), 2u);
    EXPECT_EQ((*pages)[1], (CPlugInResources::Page{fourCharID("bypa"), fourCharID("knb3")}));

    // Every cut of the file, and every file with one byte too many, is refused and leaves nothing.
    for (std::size_t n = 0; n < good.size(); ++n) {
        ASSERT_EQ(resources.parse(std::vector<std::uint8_t>(good.begin(), good.begin() + long(n))), PI_ErrResourceFile)
            << n;
        EXPECT_FALSE(resources.loaded());
        EXPECT_FALSE(resources.hasPageTables("Other"));
    }
    auto longer = good;
    longer.push_back(0);
    EXPECT_EQ(resources.parse(longer), PI_ErrResourceFile);
    auto wrongVersion = good;
    wrongVersion[4] = 2;
    EXPECT_EQ(resources.parse(wrongVersion), PI_ErrResourceFile);
    auto twice = rsr::build({{"A", {}}, {"A", {}}});
    EXPECT_EQ(resources.parse(twice), PI_ErrResourceFile);
    // Resources of other kinds are skipped whole.
    auto other = rsr::build({{"A", {{"abcd"}}}});
    other[8] = 'X';
    ASSERT_EQ(resources.parse(other), PI_NoErr);
    EXPECT_FALSE(resources.hasPageTables("A"));
    EXPECT_EQ(resources.load("/no/such/file.rsr"), PI_ErrResourceFile);
}

TEST(ControlsChunk, HasItsDocumentedLayout)
{
    std::vector<std::uint8_t> chunk(CControlsChunk::size(2));
    ASSERT_EQ(chunk.size(), 36u);
    CControlsChunk::write(0x2B76676D, {{0x62797061, 1}, {0x6B6E6233, -2}}, chunk.data());
    const std::vector<std::uint8_t> head{'C', 'C', 'S', 'T', 1, 0, 0, 0, 0x6D, 0x67, 0x76, 0x2B, 2, 0, 0, 0,
                                         0x61, 0x70, 0x79, 0x62, 1, 0, 0, 0, 0x33, 0x62, 0x6E, 0x6B,
                                         0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(std::vector<std::uint8_t>(chunk.begin(), chunk.begin() + 32), head);
    // FNV-1a over the 32 bytes before it, computed here byte by byte.
    std::uint32_t hash = 0x811C9DC5;
    for (int i = 0; i < 32; ++i) hash = (hash ^ chunk[std::size_t(i)]) * 0x01000193;
    EXPECT_EQ(chunk[32] | chunk[33] << 8 | chunk[34] << 16 | std::uint32_t(chunk[35]) << 24, hash);

    std::vector<CControlsChunk::Entry> entries;
    ASSERT_TRUE(CControlsChunk::read(chunk.data(), 36, 0x2B76676D, entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].value, -2);
    EXPECT_FALSE(CControlsChunk::read(chunk.data(), 36, 0x2B76676E, entries));  // another product's
    EXPECT_FALSE(CControlsChunk::read(chunk.data(), 35, 0x2B76676D, entries));
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        auto damaged = chunk;
        damaged[i] ^= 0x10;
        EXPECT_FALSE(CControlsChunk::read(damaged.data(), 36, 0x2B76676D, entries)) << i;
    }
}

// A view that records what reaches it.
class RecordingView : public CPlugInView {
public:
    explicit RecordingView(const PI_ViewRect& r) : CPlugInView(r) {}
    void draw(const PI_ViewRect& area) override { drawn.push_back(area); }
    std::vector<PI_ViewRect> drawn;
};

TEST(PlugInViews, DrawReachesTheViewsTheAreaTouchesAndPortsNameTheirWindow)
{
    CNoResourceView window(390, 430);
    EXPECT_EQ(window.bounds().right, 390);
    EXPECT_EQ(window.bounds().bottom, 430);
    EXPECT_FALSE(window.empty());
    EXPECT_TRUE(CNoResourceView(0, 430).empty());
    EXPECT_TRUE(CNoResourceView(-5, 430).empty());
    auto top = std::make_unique<RecordingView>(PI_ViewRect{0, 0, 100, 390});
    auto bottom = std::make_unique<RecordingView>(PI_ViewRect{100, 0, 430, 390});
    RecordingView *a = top.get(), *b = bottom.get();
    window.addSubview(std::move(top));
    window.addSubview(std::move(bottom));
    EXPECT_EQ(window.subviewCount(), 2);
    EXPECT_EQ(window.subview(2), nullptr);
    EXPECT_EQ(window.subview(-1), nullptr);
    window.draw(PI_ViewRect{10, 10, 50, 50});
    window.draw(PI_ViewRect{99, 0, 101, 5});  // across the border: both
    window.draw(PI_ViewRect{100, 0, 100, 390});  // empty: neither
    EXPECT_EQ(a->drawn.size(), 2u);
    EXPECT_EQ(b->drawn.size(), 1u);
    EXPECT_EQ(a->state(), 0);
    a->setState(1);
    EXPECT_EQ(a->state(), 1);
    EXPECT_EQ(codeOf([] { CNoResourceView(1, 1).addSubview(nullptr); }), PI_ErrNullPointer);

    PI_WindowPort port{PI_PortVersion, 0, 0x4321};
    EXPECT_EQ(nativeWindowOfPort(&port), 0x4321u);
    EXPECT_EQ(nativeWindowOfPort(nullptr), 0u);
    port.version = 2;
    EXPECT_EQ(nativeWindowOfPort(&port), 0u);
    port = {PI_PortVersion, 0, 0};
    EXPECT_EQ(nativeWindowOfPort(&port), 0u);
    // Without an open library there is no group, so no creator.
    EXPECT_EQ(CViewFactory::create("!TestView[('NoID')]", PI_ViewRect{0, 0, 1, 1}), nullptr);
}

}  // namespace
