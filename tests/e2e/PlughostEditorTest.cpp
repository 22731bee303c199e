// plughost editor as a user runs it: the test editor opened in a real X11 window, pressed and dragged
// through XTEST, and its picture read back from the PNG file. Runs that press or drag get a private
// X server each (DISPLAY unset), so no other test moving the pointer on a shared display can disturb them.
#include "tools/plughost/PrivateXServer.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string plugin(const std::string& name)
{
    return std::string(TW_PLUGIN_DIR) + "/" + name + TW_PLUGIN_SUFFIX;
}

std::string slurp(const std::string& path)
{
    std::ifstream f(path);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

bool exists(const std::string& p)
{
    struct stat s{};
    return stat(p.c_str(), &s) == 0;
}

struct Result {
    int status;
    std::string out;
    std::string err;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB

    bool load(const std::string& path)
    {
        cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
        const bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
        if (ok) {
            cairo_surface_flush(s);
            width = cairo_image_surface_get_width(s);
            height = cairo_image_surface_get_height(s);
            const int stride = cairo_image_surface_get_stride(s);
            const unsigned char* data = cairo_image_surface_get_data(s);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    pixels.push_back(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFF);
        }
        cairo_surface_destroy(s);
        return ok;
    }
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y * width + x)]; }
    // The grey level of a pixel, or -1 when it is not grey.
    int grey(int x, int y) const
    {
        const std::uint32_t p = at(x, y);
        const int r = int(p >> 16), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
        return r == g && g == b ? r : -1;
    }
};

// The test editor's controls: (10,10)-(100,50) for parameter 0, (100,10)-(190,50) for parameter 1.
constexpr int kLeftX = 55, kRightX = 145, kControlY = 30;

int levelOf(float value)
{
    return int(value * 255.0f);
}

class PlughostEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/plughost-editor-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    // environment: what goes before the command, such as "env -u DISPLAY".
    Result run(const std::string& args, const std::string& environment = "env -u DISPLAY")
    {
        const std::string outFile = dir + "/stdout", errFile = dir + "/stderr";
        const std::string command =
            environment + " " + std::string(TW_PLUGHOST) + " " + args + " >" + outFile + " 2>" + errFile;
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(outFile), slurp(errFile)};
    }

    std::string path(const std::string& name) const { return dir + "/" + name; }

    // Renders the test editor with extra arguments and reads the picture back.
    Picture render(const std::string& extra, Result& r, const std::string& environment = "env -u DISPLAY",
                   const std::string& pluginName = "testeditor_vst")
    {
        r = run("editor " + plugin(pluginName) + " " + path("out.png") + " " + extra, environment);
        Picture p;
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(p.load(path("out.png"))) << r.err;
        EXPECT_FALSE(exists(path("out.png.partial")));
        return p;
    }

    void expectFailure(const std::string& args, const std::string& message)
    {
        const Result r = run(args);
        EXPECT_NE(r.status, 0) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << args << "\nstderr: " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(exists(path("out.png"))) << args;
        EXPECT_FALSE(exists(path("out.png.partial"))) << args;
    }

    std::string dir;
};

// Each "automate INDEX VALUE" line of a run, in order.
std::vector<std::pair<int, double>> automations(const std::string& out)
{
    std::vector<std::pair<int, double>> found;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        int index = 0;
        double value = 0;
        if (std::sscanf(line.c_str(), "automate %d %lf", &index, &value) == 2) found.emplace_back(index, value);
    }
    return found;
}

// The value the closing parameter list gives for an index.
double finalValue(const std::string& out, int index)
{
    const std::size_t list = out.find("parameters:  ");
    if (list == std::string::npos) return -1;
    std::istringstream lines(out.substr(list));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::smatch m;
        if (std::regex_match(line, m, std::regex(R"(\s+(\d+)\s+.*?(\d+\.\d{6})\s*.*)")) && std::stoi(m[1]) == index)
            return std::stod(m[2]);
    }
    return -1;
}

TEST_F(PlughostEditor, InfoGivesTheEditorSize)
{
    Result r = run("info " + plugin("testeditor_vst"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\neditor:      200 x 100\n"), std::string::npos) << r.out;
    for (const char* name : {"msgrid_vst", "squeezr_vst", "vectorgram_vst"}) {
        r = run(std::string("info ") + plugin(name));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(std::regex_search(r.out, std::regex("\neditor:      (none|[1-9][0-9]* x [1-9][0-9]*)\n")))
            << name << "\n" << r.out;
    }
}

TEST_F(PlughostEditor, PictureShowsTheFrameAndEachControlAtItsValue)
{
    Result r;
    Picture p = render("", r);
    ASSERT_EQ(p.width, 200);
    ASSERT_EQ(p.height, 100);
    EXPECT_NEAR(p.grey(kLeftX, kControlY), levelOf(0.25f), 1);
    EXPECT_NEAR(p.grey(kRightX, kControlY), levelOf(0.75f), 1);
    // The controls' edges: left and top inside, right and bottom outside; x = 100 is the right one's.
    EXPECT_EQ(p.grey(10, 10), p.grey(kLeftX, kControlY));
    EXPECT_EQ(p.grey(99, 49), p.grey(kLeftX, kControlY));
    EXPECT_EQ(p.grey(100, 30), p.grey(kRightX, kControlY));
    EXPECT_EQ(p.grey(189, 30), p.grey(kRightX, kControlY));
    for (auto [x, y] : {std::pair{9, 30}, {190, 30}, {50, 50}, {50, 9}, {195, 95}, {1, 1}})
        EXPECT_EQ(p.at(x, y), 0xFFFFFFu) << x << "," << y;
    // A one-pixel black line along the frame's top and left.
    for (auto [x, y] : {std::pair{0, 0}, {50, 0}, {199, 0}, {0, 50}, {0, 99}})
        EXPECT_EQ(p.at(x, y), 0u) << x << "," << y;
    EXPECT_TRUE(automations(r.out).empty()) << r.out;
    EXPECT_NEAR(finalValue(r.out, 0), 0.25, 1e-6) << r.out;
    EXPECT_NEAR(finalValue(r.out, 1), 0.75, 1e-6) << r.out;

    p = render("--param 0=1 --param 1=0 --idle 3", r);
    ASSERT_EQ(p.width, 200);
    EXPECT_EQ(p.grey(kLeftX, kControlY), 255);
    EXPECT_EQ(p.grey(kRightX, kControlY), 0);
    EXPECT_NEAR(finalValue(r.out, 0), 1.0, 1e-6) << r.out;
    // What the idle calls cost, over exactly the idle calls made.
    double ms = -1;
    long passes = 0;
    const std::size_t at = r.out.find("idle CPU:");
    ASSERT_NE(at, std::string::npos) << r.out;
    ASSERT_EQ(std::sscanf(r.out.c_str() + at, "idle CPU: %lf ms per pass over %ld passes", &ms, &passes), 2) << r.out;
    EXPECT_EQ(passes, 3);
    EXPECT_GE(ms, 0.0);
}

TEST_F(PlughostEditor, DragAcrossTheLeftControlMovesParameterZero)
{
    Result r;
    const Picture p = render("--drag 20,30:80,30", r);
    const double end = (80.0 - 10) / 90;  // the end point's fraction of the control's width
    const auto seen = automations(r.out);
    ASSERT_FALSE(seen.empty()) << r.out;
    EXPECT_EQ(seen.front().first, 0);
    EXPECT_NEAR(seen.front().second, (20.0 - 10) / 90, 0.012) << "the press point comes first";
    EXPECT_EQ(seen.back().first, 0);
    EXPECT_NEAR(seen.back().second, end, 0.012);
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](auto& a) { return a.first == 0; })) << r.out;
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end())) << "a rightward drag only raises the value\n" << r.out;
    const std::size_t begin = r.out.find("beginEdit 0\n"), first = r.out.find("automate 0 "),
                      last = r.out.rfind("automate 0 "), finish = r.out.find("endEdit 0\n");
    ASSERT_NE(begin, std::string::npos) << r.out;
    ASSERT_NE(finish, std::string::npos) << r.out;
    EXPECT_LT(begin, first);
    EXPECT_GT(finish, last);
    EXPECT_NEAR(finalValue(r.out, 0), end, 0.012) << r.out;
    EXPECT_NEAR(finalValue(r.out, 1), 0.75, 1e-6) << r.out;
    ASSERT_EQ(p.width, 200);
    EXPECT_NEAR(p.grey(kLeftX, kControlY), levelOf(float(end)), 1) << "the picture shows the new value";
    EXPECT_NEAR(p.grey(kRightX, kControlY), levelOf(0.75f), 1);
}

TEST_F(PlughostEditor, PressOnTheRightControlSetsParameterOneFromThePoint)
{
    Result r;
    const Picture p = render("--press 145,30", r);
    const auto seen = automations(r.out);
    ASSERT_FALSE(seen.empty()) << r.out;
    for (const auto& [index, value] : seen) {
        EXPECT_EQ(index, 1);
        EXPECT_NEAR(value, 0.5, 1e-5);  // (145 - 100) / 90
    }
    EXPECT_NE(r.out.find("beginEdit 1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("endEdit 1\n"), std::string::npos) << r.out;
    EXPECT_NEAR(finalValue(r.out, 1), 0.5, 1e-5) << r.out;
    EXPECT_NEAR(finalValue(r.out, 0), 0.25, 1e-6) << r.out;
    ASSERT_EQ(p.width, 200);
    EXPECT_NEAR(p.grey(kRightX, kControlY), levelOf(0.5f), 1);
    EXPECT_NEAR(p.grey(kLeftX, kControlY), levelOf(0.25f), 1);
}

TEST_F(PlughostEditor, UsesTheDisplayItIsGiven)
{
    // A server of the test's own: the run must draw on it rather than start another.
    PrivateXServer server;
    std::string error;
    ASSERT_TRUE(server.start(error)) << error;
    Result r;
    const Picture p = render("--param 1=1", r, "DISPLAY=" + server.name());
    ASSERT_EQ(p.width, 200);
    EXPECT_EQ(p.grey(kRightX, kControlY), 255);
    server.stop();
    std::remove(path("out.png").c_str());

    // And with a display that is not there, it says so rather than starting one.
    r = run("editor " + plugin("testeditor_vst") + " " + path("out.png"), "DISPLAY=:4711");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("cannot open the X display ':4711'"), std::string::npos) << r.err;
    EXPECT_FALSE(exists(path("out.png")));
}

TEST_F(PlughostEditor, APluginWithoutAnEditorIsRefused)
{
    std::string without;
    for (const char* name : {"msgrid_vst", "squeezr_vst", "vectorgram_vst"}) {
        const Result r = run(std::string("info ") + plugin(name));
        if (r.status == 0 && r.out.find("\neditor:      none\n") != std::string::npos) {
            without = plugin(name);
            break;
        }
    }
    if (without.empty()) GTEST_SKIP() << "every plug-in built here has an editor";
    expectFailure("editor " + without + " " + path("out.png"), "the plug-in has no editor");
}

TEST_F(PlughostEditor, BadArgumentsGiveOneClearLineAndNoPicture)
{
    std::ofstream(path("notaplugin.so")) << "text";
    const std::string ed = "editor " + plugin("testeditor_vst") + " " + path("out.png");
    expectFailure("editor " + path("missing.so") + " " + path("out.png"), "no such file");
    expectFailure("editor " + path("notaplugin.so") + " " + path("out.png"), "not a loadable library");
    expectFailure(ed + " --press 10", "--press 10: expected X,Y");
    expectFailure(ed + " --press 10,y", "expected X,Y");
    expectFailure(ed + " --press -1,5", "expected X,Y");
    expectFailure(ed + " --press 200,10", "--press 200,10: outside the 200 x 100 editor");
    expectFailure(ed + " --press 10,100", "outside the 200 x 100 editor");
    expectFailure(ed + " --drag 10,10", "--drag 10,10: expected X1,Y1:X2,Y2");
    expectFailure(ed + " --drag 10,10:300,10", "outside the 200 x 100 editor");
    expectFailure(ed + " --drag", "--drag: needs a value");
    expectFailure(ed + " --idle many", "'many' is not a number");
    expectFailure(ed + " --idle -1", "must be 0 to 10000");
    expectFailure(ed + " --param 2=0.5", "index out of range");
    expectFailure(ed + " --zoom 2", "--zoom: unknown option");
    const Result r = run("editor " + plugin("testeditor_vst") + " " + path("nodir/out.png"));
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("nodir/out.png: cannot be written"), std::string::npos) << r.err;
    EXPECT_FALSE(exists(path("nodir")));
}

} // namespace

// The shipped +msgrid editor, as a host shows it: its sliders at (5,40)-(345,56) and (5,60)-(345,76),
// track from x 5 + 12 to 5 + 328; the colour button at (330,80)-(347,97).
namespace {
constexpr std::uint32_t kMsgridAccent = 80u << 16 | 189u << 8 | 216u;
}  // namespace

class MsgridInPlughost : public PlughostEditor {
protected:
    Picture msgrid(const std::string& extra, Result& r) { return render(extra, r, "env -u DISPLAY", "msgrid_vst"); }
};

TEST_F(MsgridInPlughost, DraggingTheMidSliderToItsRightEndGivesPlus12dB)
{
    Result r;
    const Picture p = msgrid("--drag 175,48:349,48", r);
    ASSERT_EQ(p.width, 350);
    ASSERT_EQ(p.height, 110);
    const auto seen = automations(r.out);
    ASSERT_FALSE(seen.empty()) << r.out;
    EXPECT_EQ(seen.back().first, 0);
    EXPECT_EQ(seen.back().second, 1.0) << r.out;
    EXPECT_NEAR(finalValue(r.out, 0), 1.0, 1e-6) << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex(R"(\n\s+0\s+mid gain\s+1\.000000\s+12\.0+ dB\n)"))) << r.out;
    EXPECT_NE(r.out.find("beginEdit 0\n"), std::string::npos);
    EXPECT_NE(r.out.find("endEdit 0\n"), std::string::npos);
    EXPECT_EQ(p.at(5 + 328, 40 + 13), kMsgridAccent) << "the thumb at the right end";
    EXPECT_EQ(p.at(5 + 170, 60 + 13), kMsgridAccent) << "side stays in the middle";
}

TEST_F(MsgridInPlughost, HostAutomationOfSideGainMovesTheSideSlider)
{
    Result r;
    const Picture p = msgrid("--automate 1=0.25", r);
    ASSERT_EQ(p.width, 350);
    EXPECT_EQ(p.at(5 + 12 + 79, 60 + 13), kMsgridAccent) << "-6 dB: a quarter of the track";
    EXPECT_NE(p.at(5 + 170, 60 + 13), kMsgridAccent);
    EXPECT_TRUE(automations(r.out).empty()) << "the host's own change is not sent back\n" << r.out;
    EXPECT_NEAR(finalValue(r.out, 1), 0.25, 1e-6);
}

TEST_F(MsgridInPlughost, TwoClicksOnTheColourButtonGiveRandomColoursThenTheDefaults)
{
    Result r;
    const Picture plain = msgrid("", r);
    const Picture once = msgrid("--press 338,88", r);
    EXPECT_TRUE(automations(r.out).empty()) << r.out;
    EXPECT_EQ(r.out.find("beginEdit"), std::string::npos) << "the colour button is no parameter\n" << r.out;
    const Picture twice = msgrid("--press 338,88 --press 338,88", r);
    ASSERT_EQ(plain.pixels.size(), 350u * 110u);
    ASSERT_EQ(once.pixels.size(), plain.pixels.size());
    // Random colours reach the title, both sliders and the buttons.
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{85, 6}, {175, 53}, {175, 73}, {100, 54}})
        EXPECT_NE(once.at(x, y), plain.at(x, y)) << x << "," << y;
    EXPECT_EQ(twice.pixels, plain.pixels) << "the second click restores exactly the defaults";
}

// The shipped +squeezr editor: knobs of 66 x 66 from (5,170), 70 pixels apart (the knee knob at
// (285,170) before the makeup knob at (355,170)); the eyes at (5,35), (145,35), (285,35), 134 square.
namespace {
constexpr std::uint32_t kSqueezrAccent = 80u << 16 | 189u << 8 | 216u;
constexpr std::uint32_t kSqueezrDarkAccent = 40u << 16 | 94u << 8 | 108u;
}  // namespace

class SqueezrInPlughost : public PlughostEditor {
protected:
    Picture squeezr(const std::string& extra, Result& r) { return render(extra, r, "env -u DISPLAY", "squeezr_vst"); }
};

TEST_F(SqueezrInPlughost, DraggingTheThresholdKnobUpTurnsItToTheTop)
{
    Result r;
    const Picture p = squeezr("--drag 108,203:108,125", r);
    ASSERT_EQ(p.width, 424);
    ASSERT_EQ(p.height, 285);
    const auto seen = automations(r.out);
    ASSERT_FALSE(seen.empty()) << r.out;
    for (const auto& [index, value] : seen) EXPECT_EQ(index, 1) << r.out;
    EXPECT_EQ(seen.back().second, 1.0) << r.out;
    EXPECT_NEAR(finalValue(r.out, 1), 1.0, 1e-6) << r.out;
    EXPECT_NE(r.out.find("beginEdit 1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("endEdit 1\n"), std::string::npos) << r.out;
    EXPECT_EQ(p.at(75 + 47, 170 + 57), kSqueezrAccent) << "the pointer at 5 o'clock";
    EXPECT_NEAR(finalValue(r.out, 2), 19.0 / 99.0, 1e-6) << "the attack knob beside it stays";
}

TEST_F(SqueezrInPlughost, PictureOfTheInitialProgram)
{
    Result r;
    const Picture p = squeezr("--param 4=0.5", r);
    ASSERT_EQ(p.width, 424);
    // Silent meters: the input and output eyes dark, the gain eye at 0 dB dark but for its mark.
    EXPECT_EQ(p.at(5 + 40, 35 + 20), kSqueezrDarkAccent);
    EXPECT_EQ(p.at(285 + 40, 35 + 20), kSqueezrDarkAccent);
    EXPECT_EQ(p.at(145 + 40, 35 + 20), kSqueezrDarkAccent);
    // Makeup at half: its pointer at 12 o'clock, the dot at (29,1)-(37,9) of the knob.
    EXPECT_EQ(p.at(355 + 33, 170 + 5), kSqueezrAccent);
    EXPECT_TRUE(automations(r.out).empty()) << r.out;
}

// The shipped +vectorgram editor, 390 x 430: the scope at (25,35)-(365,375), its centre at
// (25 + 169, 35 + 170); the slider at (25,380)-(365,396), track from x 25 + 12 to 25 + 328; the
// peak/bits switch at (5,400)-(65,418) and the colour button at (370,400)-(387,417).
namespace {
constexpr std::uint32_t kVectorgramAccent = 80u << 16 | 189u << 8 | 216u;
constexpr std::uint32_t kVectorgramScreen = 40u << 16 | 94u << 8 | 108u;  // half the accent
constexpr std::uint32_t kVectorgramBody = 144u << 16 | 8u << 8 | 0u;
}  // namespace

class VectorgramInPlughost : public PlughostEditor {
protected:
    Picture vectorgram(const std::string& extra, Result& r)
    {
        return render(extra, r, "env -u DISPLAY", "vectorgram_vst");
    }
};

TEST_F(VectorgramInPlughost, ThePictureOfASilentEffect)
{
    Result r;
    const Picture p = vectorgram("--idle 40", r);
    ASSERT_EQ(p.width, 390);
    ASSERT_EQ(p.height, 430);
    EXPECT_EQ(p.at(0, 0), 0u) << "the frame's line";
    EXPECT_EQ(p.at(22, 200), 0xFFFFFFu) << "between the left meter and the scope";
    EXPECT_EQ(p.at(25 + 100, 35 + 200), kVectorgramScreen);
    EXPECT_EQ(p.at(25 + 169, 35 + 130), kVectorgramBody) << "the mid axis";
    EXPECT_EQ(p.at(25 + 120, 35 + 120), kVectorgramBody) << "the left channel's axis";
    EXPECT_EQ(p.at(25 + 219, 35 + 120), kVectorgramBody) << "the right channel's axis";
    EXPECT_EQ(p.at(25 + 169, 35 + 10), kVectorgramBody) << "the dot has glided to the top";
    EXPECT_EQ(p.at(25 + 12 + 119, 380 + 13), kVectorgramAccent) << "200 samples: 190 / 502 of the track";
    EXPECT_TRUE(automations(r.out).empty()) << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex(R"(\n\s+0\s+display\s+0\.378486\s+200\s*samples\n)"))) << r.out;
}

TEST_F(VectorgramInPlughost, DraggingTheSliderToItsRightEndShows512Samples)
{
    Result r;
    const Picture p = vectorgram("--drag 157,388:389,388", r);
    ASSERT_EQ(p.width, 390);
    const auto seen = automations(r.out);
    ASSERT_FALSE(seen.empty()) << r.out;
    for (const auto& [index, value] : seen) EXPECT_EQ(index, 0) << r.out;
    EXPECT_EQ(seen.back().second, 1.0) << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex(R"(\n\s+0\s+display\s+1\.000000\s+512\s*samples\n)"))) << r.out;
    EXPECT_NE(r.out.find("beginEdit 0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("endEdit 0\n"), std::string::npos) << r.out;
    EXPECT_EQ(p.at(25 + 328, 380 + 13), kVectorgramAccent) << "the thumb at the right end";

    const Picture automated = vectorgram("--automate 0=0", r);
    EXPECT_EQ(automated.at(25 + 12, 380 + 13), kVectorgramAccent) << "10 samples: the thumb at the left end";
    EXPECT_TRUE(automations(r.out).empty()) << r.out;
}

TEST_F(VectorgramInPlughost, SwitchAndColourButtonAreNoParameters)
{
    // Enough idle passes for the direction dot to come to rest in every picture.
    Result r;
    const Picture plain = vectorgram("--idle 80", r);
    const Picture bits = vectorgram("--idle 80 --press 30,409", r);
    EXPECT_EQ(r.out.find("automate"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("beginEdit"), std::string::npos) << r.out;
    int changed = 0;
    for (int y = 400; y < 418; ++y)
        for (int x = 5; x < 65; ++x) changed += bits.at(x, y) != plain.at(x, y);
    EXPECT_GT(changed, 20) << "the switch shows \"bits\" and its lit indicator";

    const Picture once = vectorgram("--idle 80 --press 378,408", r);
    EXPECT_EQ(r.out.find("beginEdit"), std::string::npos) << r.out;
    EXPECT_NE(once.at(25 + 100, 35 + 200), plain.at(25 + 100, 35 + 200)) << "the screen recoloured";
    const Picture twice = vectorgram("--idle 80 --press 378,408 --press 378,408", r);
    ASSERT_EQ(twice.pixels.size(), plain.pixels.size());
    EXPECT_EQ(twice.pixels, plain.pixels) << "the second click restores exactly the defaults";
}

// +vectorgram for Pro Tools: its window opened as the stand-in Pro Tools opens it, in a host window
// 41 pixels wider and 60 taller than the editor, so the plug-in places it at (20, 60).
class VectorgramRtasInPlughost : public PlughostEditor {
protected:
    Picture rtas(const std::string& extra, Result& r) { return render(extra, r, "env -u DISPLAY", "vectorgram_rtas"); }
    // Each "request INDEX VALUE" (or "report ...") line of a run, in order.
    static std::vector<std::pair<int, long long>> lines(const std::string& out, const char* word)
    {
        std::vector<std::pair<int, long long>> found;
        std::istringstream all(out);
        std::string line, first;
        while (std::getline(all, line)) {
            std::istringstream words(line);
            int index = 0;
            long long value = 0;
            if (words >> first && first == word && words >> index >> value) found.emplace_back(index, value);
        }
        return found;
    }
};

TEST_F(VectorgramRtasInPlughost, ThePictureIsTheVstEditorsButForTheBannersBuildWord)
{
    Result r;
    const Picture rtasPicture = rtas("--idle 100", r);
    EXPECT_NE(r.out.find("editor:      390 x 430\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("host window: 431 x 490\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("placed at:   20,60 (390 x 430)\n"), std::string::npos) << "bottom, centred, truncated\n"
                                                                                << r.out;
    EXPECT_TRUE(lines(r.out, "request").empty()) << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex(R"(\n\s+2\s+Samples\s+-517620561\s+200\n)"))) << r.out;
    const Picture vst = render("--idle 100", r, "env -u DISPLAY", "vectorgram_vst");
    ASSERT_EQ(rtasPicture.width, 390);
    ASSERT_EQ(rtasPicture.height, 430);
    ASSERT_EQ(vst.pixels.size(), rtasPicture.pixels.size());
    int above = 0, banner = 0;
    for (int y = 0; y < 430; ++y)
        for (int x = 0; x < 390; ++x)
            (y < 420 ? above : banner) += rtasPicture.at(x, y) != vst.at(x, y);
    EXPECT_EQ(above, 0) << "everything above the banner is the same";
    EXPECT_GT(banner, 0) << "\"rtas\" where the VST build says \"vst\"";
}

TEST_F(VectorgramRtasInPlughost, DraggingTheSliderAsksForControlTwoAndTheEffectFollowsTheReport)
{
    Result r;
    const Picture p = rtas("--drag 157,388:389,388", r);
    const auto requests = lines(r.out, "request"), reports = lines(r.out, "report");
    ASSERT_FALSE(requests.empty()) << r.out;
    EXPECT_EQ(requests, reports) << "each request reported back";
    for (const auto& [index, value] : requests) EXPECT_EQ(index, 2);
    EXPECT_TRUE(std::is_sorted(requests.begin(), requests.end())) << r.out;
    EXPECT_EQ(requests.back().second, 2147483647LL);
    EXPECT_EQ(r.out.find("touch"), std::string::npos) << "a drag touches no control\n" << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex(R"(\n\s+2\s+Samples\s+2147483647\s+512\n)"))) << r.out;
    ASSERT_EQ(p.width, 390);
    EXPECT_EQ(p.at(25 + 328, 380 + 13), kVectorgramAccent) << "the thumb at the right end";

    const Picture automated = rtas("--control 2=2147483647 --automate 2=-2147483648", r);
    EXPECT_EQ(automated.at(25 + 12, 380 + 13), kVectorgramAccent) << "10 samples: the thumb at the left end";
    EXPECT_TRUE(lines(r.out, "request").empty()) << "what the host set is not asked for\n" << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex(R"(\n\s+2\s+Samples\s+-2147483648\s+10\n)"))) << r.out;
}

TEST_F(VectorgramRtasInPlughost, BadArgumentsGiveOneClearLine)
{
    const std::string ed = "editor " + plugin("vectorgram_rtas") + " " + path("out.png");
    expectFailure(ed + " --param 0=1", "--param: a Pro Tools plug-in has controls");
    expectFailure(ed + " --control 3=0", "--control 3=0: index out of range (the plug-in has 2 controls)");
    expectFailure(ed + " --automate 2=x", "--automate 2=x: 'x' is not a control value");
    expectFailure(ed + " --press 390,10", "--press 390,10: outside the 390 x 430 editor");
    expectFailure(ed + " --control 1=5", "--control 1=5: value out of range");
}
