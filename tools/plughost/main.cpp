// plughost: a command-line host for VST 2 plug-ins and Pro Tools plug-ins.
//   plughost info PLUGIN
//   plughost process PLUGIN IN.wav OUT.wav [--param INDEX=VALUE]... [--program N] [--block N] [--bypass]
//   plughost process PROTOOLS_PLUGIN IN.wav OUT.wav [--control INDEX=VALUE]... [--block N] [--bypass]
//   plughost editor PLUGIN OUT.png [--param INDEX=VALUE]... [--automate INDEX=VALUE]... [--idle N]
//                   [--press X,Y]... [--drag X1,Y1:X2,Y2]...
//   plughost editor PROTOOLS_PLUGIN OUT.png [--control INDEX=VALUE]... [--automate INDEX=VALUE]... [--idle N]
//                   [--press X,Y]... [--drag X1,Y1:X2,Y2]...
#include "tools/plughost/AudioFile.h"
#include "tools/plughost/EditorWindow.h"
#include "tools/plughost/PluginHost.h"
#include "tools/plughost/PngFile.h"
#include "tools/plughost/PointerInjector.h"
#include "tools/plughost/ProcessCpuClock.h"
#include "tools/plughost/PrivateXServer.h"
#include "tools/plughost/ProToolsPlugin.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Failure {
    std::string message;
};

[[noreturn]] void fail(const std::string& message)
{
    throw Failure{message};
}

void usage()
{
    std::fprintf(stderr,
                 "usage: plughost info PLUGIN\n"
                 "       plughost process PLUGIN IN.wav OUT.wav [--param INDEX=VALUE]... [--program N]\n"
                 "                        [--block N] [--bypass]\n"
                 "       plughost process PROTOOLS_PLUGIN IN.wav OUT.wav [--control INDEX=VALUE]... [--block N]\n"
                 "                        [--bypass]\n"
                 "       plughost editor PLUGIN OUT.png [--param INDEX=VALUE]... [--automate INDEX=VALUE]...\n"
                 "                       [--idle N] [--press X,Y]... [--drag X1,Y1:X2,Y2]...\n"
                 "       plughost editor PROTOOLS_PLUGIN OUT.png [--control INDEX=VALUE]...\n"
                 "                       [--automate INDEX=VALUE]... [--idle N] [--press X,Y]... [--drag X1,Y1:X2,Y2]...\n");
}

bool parseInt(const std::string& text, long& out)
{
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end && *end == 0;
}

bool parseFloat(const std::string& text, float& out)
{
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtof(text.c_str(), &end);
    return errno == 0 && end && *end == 0 && std::isfinite(out);
}

std::string fourCharText(VstInt32 id)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xff);
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s;
}

const char* categoryName(VstIntPtr category)
{
    static const char* const names[] = {"unknown",    "effect",         "synth",    "analysis",
                                        "mastering",  "spatialiser",    "room fx",  "surround fx",
                                        "restoration", "offline process", "shell",   "generator"};
    return category >= 0 && category < 12 ? names[category] : "?";
}

std::string flagNames(VstInt32 flags)
{
    static const struct {
        VstInt32 bit;
        const char* name;
    } known[] = {{effFlagsHasEditor, "hasEditor"},         {effFlagsHasClip, "hasClip"},
                 {effFlagsHasVu, "hasVu"},                 {effFlagsCanMono, "canMono"},
                 {effFlagsCanReplacing, "canReplacing"},   {effFlagsProgramChunks, "programChunks"},
                 {effFlagsIsSynth, "isSynth"},             {effFlagsNoSoundInStop, "noSoundInStop"},
                 {effFlagsCanDoubleReplacing, "canDoubleReplacing"}};
    std::string s;
    for (const auto& f : known)
        if (flags & f.bit) {
            if (!s.empty()) s += ' ';
            s += f.name;
        }
    return s;
}

// The size an effect gives for its editor; false when it has none (or none of a usable size).
bool editorSize(const PluginHost& host, int& width, int& height)
{
    if (!(host.effect()->flags & effFlagsHasEditor)) return false;
    ERect* rect = nullptr;
    host.dispatch(effEditGetRect, 0, 0, &rect);
    if (!rect) return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return width > 0 && height > 0 && width <= 8192 && height <= 8192;
}

void openPlugin(PluginHost& host, const std::string& path)
{
    std::string error;
    if (!host.open(path, error)) fail(error);
}

int info(const std::string& path)
{
    PluginHost host;
    openPlugin(host, path);
    AEffect* e = host.effect();
    host.dispatch(effOpen);

    std::printf("effect:      %s\n", host.effectName().c_str());
    std::printf("vendor:      %s\n", host.vendor().c_str());
    std::printf("product:     %s\n", host.product().c_str());
    std::printf("version:     %ld\n", static_cast<long>(host.dispatch(effGetVendorVersion)));
    std::printf("unique ID:   %s\n", fourCharText(e->uniqueID).c_str());
    const VstIntPtr category = host.dispatch(effGetPlugCategory);
    std::printf("category:    %ld (%s)\n", static_cast<long>(category), categoryName(category));
    std::printf("inputs:      %d\n", e->numInputs);
    std::printf("outputs:     %d\n", e->numOutputs);
    std::printf("flags:       0x%08x (%s)\n", static_cast<unsigned>(e->flags), flagNames(e->flags).c_str());
    int width = 0, height = 0;
    if (editorSize(host, width, height))
        std::printf("editor:      %d x %d\n", width, height);
    else
        std::printf("editor:      none\n");
    std::printf("parameters:  %d\n", e->numParams);
    for (VstInt32 i = 0; i < e->numParams; ++i)
        std::printf("  %3d  %-16s %s%s  (%f)\n", i, host.parameterName(i).c_str(), host.parameterDisplay(i).c_str(),
                    host.parameterLabel(i).c_str(), static_cast<double>(host.getParameter(i)));
    std::printf("programs:    %d\n", e->numPrograms);
    const VstIntPtr current = host.dispatch(effGetProgram);
    for (VstInt32 p = 0; p < e->numPrograms; ++p) {
        host.dispatch(effSetProgram, 0, p);
        std::printf("  %3d  %s\n", p, host.programName().c_str());
    }
    host.dispatch(effSetProgram, 0, current);
    return 0;
}

std::pair<VstInt32, float> parseAssignment(const std::string& assignment, const std::string& option = "--param")
{
    const auto eq = assignment.find('=');
    long index = 0;
    float v = 0;
    if (eq == std::string::npos) fail(option + " " + assignment + ": expected INDEX=VALUE");
    if (!parseInt(assignment.substr(0, eq), index))
        fail(option + " " + assignment + ": '" + assignment.substr(0, eq) + "' is not a parameter index");
    if (!parseFloat(assignment.substr(eq + 1), v))
        fail(option + " " + assignment + ": '" + assignment.substr(eq + 1) + "' is not a number");
    if (index < 0 || index > 0x7fffffff) fail(option + " " + assignment + ": index out of range");
    return {static_cast<VstInt32>(index), v};
}

void checkParameterIndices(const std::vector<std::pair<VstInt32, float>>& params, const AEffect* e,
                           const std::string& option = "--param")
{
    for (const auto& [index, value] : params) {
        if (index >= e->numParams)
            fail(option + " " + std::to_string(index) + "=...: index out of range (the plug-in has " +
                 std::to_string(e->numParams) + " parameters)");
        (void)value;
    }
}

struct ProcessOptions {
    std::vector<std::pair<VstInt32, float>> params;
    long program = -1;
    long block = 512;
    bool bypass = false;
};

ProcessOptions parseProcessOptions(const std::vector<std::string>& args, std::size_t from)
{
    ProcessOptions options;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) fail(a + ": needs a value");
            return args[++i];
        };
        if (a == "--param") {
            options.params.push_back(parseAssignment(value()));
        } else if (a == "--program") {
            const std::string& v = value();
            if (!parseInt(v, options.program)) fail("--program " + v + ": '" + v + "' is not a number");
        } else if (a == "--block") {
            const std::string& v = value();
            if (!parseInt(v, options.block)) fail("--block " + v + ": '" + v + "' is not a number");
            if (options.block < 1 || options.block > 65536) fail("--block " + v + ": must be 1 to 65536");
        } else if (a == "--bypass") {
            options.bypass = true;
        } else {
            fail(a + ": unknown option");
        }
    }
    return options;
}

// Runs the whole input file through render in blocks, non-interleaved, and writes the output file
// (committed only when everything went through). Long files show their progress on stderr.
void renderFile(AudioFile& in, const std::string& inPath, const std::string& outPath, int numIn, int numOut,
                VstInt32 block, const std::function<void(float**, float**, VstInt32)>& render)
{
    std::string error;
    AudioFile out;
    if (!out.openWrite(outPath, numOut, in.sampleRate(), error)) fail(error);

    std::vector<float> inInterleaved(static_cast<std::size_t>(block) * numIn);
    std::vector<float> outInterleaved(static_cast<std::size_t>(block) * numOut);
    std::vector<std::vector<float>> inChannels(numIn, std::vector<float>(block));
    std::vector<std::vector<float>> outChannels(numOut, std::vector<float>(block));
    std::vector<float*> inPtrs, outPtrs;
    for (auto& c : inChannels) inPtrs.push_back(c.data());
    for (auto& c : outChannels) outPtrs.push_back(c.data());

    const sf_count_t total = in.frames();
    const bool showProgress = total > static_cast<sf_count_t>(5) * in.sampleRate();
    sf_count_t done = 0;
    int shownPercent = -1;
    for (;;) {
        const sf_count_t got = in.read(inInterleaved.data(), block);
        if (got <= 0) break;
        const auto n = static_cast<std::size_t>(got);
        for (std::size_t f = 0; f < n; ++f)
            for (int c = 0; c < numIn; ++c) inChannels[c][f] = inInterleaved[f * numIn + c];
        for (auto& c : outChannels) std::fill(c.begin(), c.end(), 0.0f);
        render(inPtrs.data(), outPtrs.data(), static_cast<VstInt32>(got));
        for (std::size_t f = 0; f < n; ++f)
            for (int c = 0; c < numOut; ++c) outInterleaved[f * numOut + c] = outChannels[c][f];
        if (!out.write(outInterleaved.data(), got)) fail(outPath + ": write failed");
        done += got;
        if (showProgress && total > 0) {
            const int percent = static_cast<int>(100 * done / total);
            if (percent != shownPercent) {
                std::fprintf(stderr, "\rprocessing %s: %3d%%", inPath.c_str(), percent);
                shownPercent = percent;
            }
        }
    }
    if (showProgress) std::fprintf(stderr, "\n");
    if (!out.commit(error)) fail(error);
}

int process(const std::vector<std::string>& args)
{
    const std::string& pluginPath = args[1];
    const std::string& inPath = args[2];
    const std::string& outPath = args[3];
    const ProcessOptions options = parseProcessOptions(args, 4);

    std::string error;
    AudioFile in;
    if (!in.openRead(inPath, error)) fail(error);

    PluginHost host;
    openPlugin(host, pluginPath);
    AEffect* e = host.effect();
    const int numIn = e->numInputs;
    const int numOut = e->numOutputs;
    if (numIn < 0 || numOut < 0 || numIn > 64 || numOut > 64) fail(pluginPath + ": implausible channel counts");
    if (in.channels() != numIn) {
        fail(inPath + " has " + std::to_string(in.channels()) + " channel" + (in.channels() == 1 ? "" : "s") +
             ", but the plug-in takes " + std::to_string(numIn) + " input" + (numIn == 1 ? "" : "s"));
    }
    checkParameterIndices(options.params, e);
    if (options.program >= 0 && options.program >= e->numPrograms)
        fail("--program " + std::to_string(options.program) + ": out of range (the plug-in has " +
             std::to_string(e->numPrograms) + " programs)");
    if (options.program < -1) fail("--program " + std::to_string(options.program) + ": out of range");

    const auto block = static_cast<VstInt32>(options.block);
    host.sampleRate = static_cast<float>(in.sampleRate());
    host.blockSize = block;
    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, host.sampleRate);
    host.dispatch(effSetBlockSize, 0, block);
    if (options.program >= 0) host.dispatch(effSetProgram, 0, options.program);
    for (const auto& [index, value] : options.params) host.setParameter(index, value);
    if (options.bypass) host.dispatch(effSetBypass, 0, 1);

    host.dispatch(effMainsChanged, 0, 1);
    renderFile(in, inPath, outPath, numIn, numOut, block, [&](float** inputs, float** outputs, VstInt32 frames) {
        host.processReplacing(inputs, outputs, frames);
    });
    host.dispatch(effMainsChanged, 0, 0);
    return 0;
}

struct EditorOptions {
    std::vector<std::pair<VstInt32, float>> params;
    std::vector<std::pair<VstInt32, float>> automations;  // set while the editor is open, as a host does
    long idles = 10;
    std::vector<PointerInjector::Gesture> gestures;  // in editor pixels until the window is placed
    std::vector<std::string> gestureTexts;
};

bool parsePoint(const std::string& text, int& x, int& y)
{
    const auto comma = text.find(',');
    long a = 0, b = 0;
    if (comma == std::string::npos || !parseInt(text.substr(0, comma), a) || !parseInt(text.substr(comma + 1), b))
        return false;
    if (a < 0 || b < 0 || a > 65535 || b > 65535) return false;
    x = int(a);
    y = int(b);
    return true;
}

// --press and --drag, shared by the editors of both kinds of plug-in; false for another option.
bool parseGesture(const std::string& a, const std::string& v, std::vector<PointerInjector::Gesture>& gestures,
                  std::vector<std::string>& texts)
{
    PointerInjector::Gesture g;
    if (a == "--press") {
        if (!parsePoint(v, g.x1, g.y1)) fail("--press " + v + ": expected X,Y in editor pixels");
    } else if (a == "--drag") {
        const auto colon = v.find(':');
        g.drag = true;
        if (colon == std::string::npos || !parsePoint(v.substr(0, colon), g.x1, g.y1) ||
            !parsePoint(v.substr(colon + 1), g.x2, g.y2))
            fail("--drag " + v + ": expected X1,Y1:X2,Y2 in editor pixels");
    } else {
        return false;
    }
    gestures.push_back(g);
    texts.push_back(a + " " + v);
    return true;
}

long parseIdles(const std::string& v)
{
    long idles = 0;
    if (!parseInt(v, idles)) fail("--idle " + v + ": '" + v + "' is not a number");
    if (idles < 0 || idles > 10000) fail("--idle " + v + ": must be 0 to 10000");
    return idles;
}

EditorOptions parseEditorOptions(const std::vector<std::string>& args, std::size_t from)
{
    EditorOptions options;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) fail(a + ": needs a value");
            return args[++i];
        };
        if (a == "--param") {
            options.params.push_back(parseAssignment(value()));
        } else if (a == "--automate") {
            options.automations.push_back(parseAssignment(value(), a));
        } else if (a == "--idle") {
            options.idles = parseIdles(value());
        } else if (a == "--press" || a == "--drag") {
            parseGesture(a, value(), options.gestures, options.gestureTexts);
        } else {
            fail(a + ": unknown option");
        }
    }
    return options;
}

// The display named by DISPLAY, or a private one when none is named.
void useDisplay()
{
    const char* display = std::getenv("DISPLAY");
    if (display && *display) return;
    // Made once and kept to the end of the process, after the plug-in's own statics (which may
    // hold a connection to this server) are gone.
    static PrivateXServer server;
    std::string error;
    if (!server.start(error)) fail(error);
    setenv("DISPLAY", server.name().c_str(), 1);
}

// Gestures must start and end inside the editor.
void checkGestures(const std::vector<PointerInjector::Gesture>& gestures, const std::vector<std::string>& texts,
                   int width, int height)
{
    for (std::size_t i = 0; i < gestures.size(); ++i) {
        const auto& g = gestures[i];
        const bool inside = g.x1 < width && g.y1 < height && (!g.drag || (g.x2 < width && g.y2 < height));
        if (!inside)
            fail(texts[i] + ": outside the " + std::to_string(width) + " x " + std::to_string(height) + " editor");
    }
}

// Runs its action once however the command ends (an editor to close before its parent window goes).
struct CloseOnExit {
    std::function<void()> action;
    void close()
    {
        if (action) action();
        action = nullptr;
    }
    ~CloseOnExit() { close(); }
};

// Drives an open editor as a host does: idle calls with a host's pause between them, then the host's
// automation, then each pointer gesture, idling until its release is through; measures what idling costs.
class EditorDriver {
public:
    EditorDriver(EditorWindow& w, std::function<void()> idleOnce) : window(w), idleCall(std::move(idleOnce)) {}

    void run(long idles, const std::function<void()>& automate, const std::vector<PointerInjector::Gesture>& gestures,
             PointerInjector& injector)
    {
        for (long i = 0; i < idles; ++i) idle();
        if (automate) {
            automate();
            for (int i = 0; i < 5; ++i) idle();  // time to show what the host changed
        }
        for (const auto& g : gestures) {
            injector.start(g, gauge);
            while (!injector.finished()) idle();  // the press may keep one of these busy until release
            injector.wait();
            for (int i = 0; i < 5; ++i) idle();  // time to repaint what the gesture changed
        }
    }

    void printCpu() const
    {
        std::printf("idle CPU:    %.3f ms per pass over %ld passes (user + system of this process)\n",
                    cpu.msPerPass(), cpu.passes());
    }

    IdleGauge gauge;

private:
    void idle()
    {
        gauge.enter();
        cpu.start();
        idleCall();
        cpu.stop();
        gauge.leave();
        window.discardEvents();
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }

    EditorWindow& window;
    std::function<void()> idleCall;
    ProcessCpuClock cpu;
};

int editor(const std::vector<std::string>& args)
{
    const std::string& pluginPath = args[1];
    const std::string& outPath = args[2];
    EditorOptions options = parseEditorOptions(args, 3);

    EditorWindow::prepareThreads();

    PluginHost host;
    openPlugin(host, pluginPath);
    AEffect* e = host.effect();
    if (!(e->flags & effFlagsHasEditor)) fail(pluginPath + ": the plug-in has no editor");
    checkParameterIndices(options.params, e);
    checkParameterIndices(options.automations, e, "--automate");

    std::string error;
    useDisplay();

    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, host.sampleRate);
    host.dispatch(effSetBlockSize, 0, host.blockSize);
    for (const auto& [index, value] : options.params) host.setParameter(index, value);
    host.dispatch(effMainsChanged, 0, 1);

    int width = 0, height = 0;
    if (!editorSize(host, width, height)) fail(pluginPath + ": the plug-in gives no usable editor size");
    checkGestures(options.gestures, options.gestureTexts, width, height);

    EditorWindow window;
    if (!window.open(width, height, error)) fail(error);
    PointerInjector injector;
    if (!options.gestures.empty() && !injector.open(error)) fail(error);
    for (auto& g : options.gestures) {
        window.screenPoint(g.x1, g.y1, g.x1, g.y1);
        window.screenPoint(g.x2, g.y2, g.x2, g.y2);
    }

    host.onEdit = [](VstInt32 opcode, VstInt32 index, float value) {
        if (opcode == audioMasterAutomate)
            std::printf("automate %d %f\n", index, static_cast<double>(value));
        else
            std::printf("%s %d\n", opcode == audioMasterBeginEdit ? "beginEdit" : "endEdit", index);
    };
    std::printf("editor:      %d x %d\n", width, height);

    // Made before the editor opens, so that it outlives the editor's closing (which may call the host).
    EditorDriver driver(window, [&] { host.dispatch(effEditIdle); });
    host.onIdle = [&] { driver.gauge.hostIdle(); };
    CloseOnExit opened;
    if (!host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window.id())))
        fail(pluginPath + ": the editor did not open");
    opened.action = [&] { host.dispatch(effEditClose); };

    std::function<void()> automate;
    if (!options.automations.empty())
        automate = [&] {
            for (const auto& [index, value] : options.automations) host.setParameter(index, value);
        };
    driver.run(options.idles, automate, options.gestures, injector);

    std::vector<std::uint32_t> pixels;
    if (!window.capture(pixels, error)) fail(error);
    if (!writePngFile(outPath, width, height, pixels, error)) fail(error);

    std::printf("parameters:  %d\n", e->numParams);
    for (VstInt32 i = 0; i < e->numParams; ++i)
        std::printf("  %3d  %-16s %f  %s%s\n", i, host.parameterName(i).c_str(),
                    static_cast<double>(host.getParameter(i)), host.parameterDisplay(i).c_str(),
                    host.parameterLabel(i).c_str());
    std::printf("picture:     %s\n", outPath.c_str());
    driver.printCpu();

    host.onEdit = nullptr;
    host.onIdle = nullptr;
    opened.close();
    host.dispatch(effMainsChanged, 0, 0);
    host.close();
    return 0;
}

// ---- Pro Tools plug-ins, through the documented host interface only.

// An open Pro Tools plug-in and, while it is needed, one insert of its first effect type.
struct ProToolsSession {
    ProToolsPlugin plugin;
    PI_Insert insert = 0;

    explicit ProToolsSession(const std::string& path)
    {
        std::string error;
        if (!plugin.load(path, error)) fail(error);
        if (const PI_Err err = plugin.open())
            fail(path + ": WinPlugInOpen(" + std::to_string(PI_OpenVersion) + ") failed: " +
                 ProToolsPlugin::errorText(err));
    }
    ~ProToolsSession()
    {
        if (insert) plugin.routines().destroyInsert(insert);
        plugin.unload();
    }
    void check(PI_Err err, const std::string& what) const
    {
        if (err != PI_NoErr) fail(what + ": " + ProToolsPlugin::errorText(err));
    }
    PI_TypeInfo type(std::int32_t number) const
    {
        PI_TypeInfo info{};
        check(plugin.routines().getTypeInfo(number, &info), "effect type " + std::to_string(number));
        return info;
    }
    void createInsert(std::int32_t sampleRate)
    {
        check(plugin.routines().createInsert(1, sampleRate, &insert), "creating an insert");
    }
    std::int32_t controlCount() const
    {
        std::int32_t count = 0;
        check(plugin.routines().getControlCount(insert, &count), "counting the controls");
        return count;
    }
    PI_ControlInfo control(std::int32_t index) const
    {
        PI_ControlInfo info{};
        check(plugin.routines().getControlInfo(insert, index, &info), "control " + std::to_string(index));
        return info;
    }
};

std::string quotedNames(const std::function<std::string(int)>& name)
{
    std::string s;
    for (int length : {4, 12, 30}) {
        if (!s.empty()) s += ", ";
        s += std::to_string(length) + " \"" + name(length) + "\"";
    }
    return s;
}

std::string listText(const std::vector<std::int32_t>& list)
{
    std::string s;
    for (const std::int32_t v : list) {
        if (!s.empty()) s += ' ';
        s += std::to_string(v);
    }
    return s.empty() ? "none" : s;
}

std::string idText(std::uint32_t id)
{
    std::string text = fourCharText(static_cast<VstInt32>(id));
    text.insert(text.begin(), '\'');
    return text + '\'';
}

int infoProTools(const std::string& path)
{
    ProToolsSession session(path);
    const ProToolsPlugin& p = session.plugin;
    PI_GroupInfo group{};
    session.check(p.routines().getGroupInfo(&group), "the effect group");

    std::printf("kind:          Pro Tools plug-in\n");
    std::printf("manufacturer:  %s\n", idText(group.manufacturerID).c_str());
    std::printf("  names:       %s\n", quotedNames([&](int n) { return p.manufacturerName(n); }).c_str());
    std::printf("plug-in:       version %d\n", group.version);
    std::printf("  names:       %s\n", quotedNames([&](int n) { return p.groupName(n); }).c_str());
    std::printf("  gestalts:    %s\n", listText(p.groupGestalts()).c_str());
    std::printf("effect types:  %d\n", group.typeCount);
    for (std::int32_t t = 1; t <= group.typeCount; ++t) {
        const PI_TypeInfo type = session.type(t);
        std::printf("  type %d:      %s, type ID %s, product ID %s, configuration %d\n", t,
                    type.kind == PI_TypeRTAS ? "RTAS" : "?", idText(type.typeID).c_str(),
                    idText(type.productID).c_str(), type.configuration);
        std::printf("    names:     %s\n", quotedNames([&](int n) { return p.typeName(t, n); }).c_str());
        std::printf("    sample-rate support: %d\n", type.sampleRateSupport);
        std::printf("    gestalts:  %s\n", listText(p.typeGestalts(t)).c_str());
        std::printf("    stems:     input format %d (%d channels), output format %d (%d channels), option %d\n",
                    type.inputFormat, type.inputChannels, type.outputFormat, type.outputChannels, type.stemOption);
    }

    session.createInsert(44100);
    const std::int32_t count = session.controlCount();
    std::printf("controls:      %d\n", count);
    for (std::int32_t i = 1; i <= count; ++i) {
        const PI_ControlInfo c = session.control(i);
        std::string flags;
        if (c.flags & PI_ControlIsMasterBypass) flags += "master bypass";
        if (c.flags & PI_ControlAutomatable) flags += flags.empty() ? "automatable" : ", automatable";
        std::printf("  %d  %s  %s %d..%d, default %d, value %d shown %d \"%s\"%s%s\n", i, idText(c.id).c_str(),
                    c.kind == PI_ControlOnOff ? "on/off" : "discrete", c.minimum, c.maximum, c.defaultShown, c.value,
                    c.shown, p.controlText(session.insert, i).c_str(), flags.empty() ? "" : ", ", flags.c_str());
        std::printf("     names:    %s\n",
                    quotedNames([&](int n) { return p.controlName(session.insert, i, n); }).c_str());
    }
    std::int32_t chunk = 0;
    session.check(p.routines().getChunkSize(session.insert, &chunk), "the controls chunk");
    std::printf("chunk:         \"Complete Controls State\", %d bytes\n", chunk);
    PI_ViewRect view{};
    if (p.routines().getViewSize(session.insert, &view) == PI_NoErr)
        std::printf("editor:        %d x %d\n", view.right - view.left, view.bottom - view.top);
    else
        std::printf("editor:        none\n");
    return 0;
}

struct ProToolsOptions {
    std::vector<std::pair<std::int32_t, std::int32_t>> controls;
    std::vector<std::string> controlTexts;
    long block = 512;
    bool bypass = false;
};

// INDEX=VALUE: a Pro Tools control index (from 1) and a signed 32-bit control value.
std::pair<std::int32_t, std::int32_t> parseControlAssignment(const std::string& option, const std::string& v)
{
    const auto eq = v.find('=');
    long index = 0;
    if (eq == std::string::npos) fail(option + " " + v + ": expected INDEX=VALUE");
    if (!parseInt(v.substr(0, eq), index) || index < 1 || index > 0x7fffffff)
        fail(option + " " + v + ": '" + v.substr(0, eq) + "' is not a control index (they start at 1)");
    const std::string number = v.substr(eq + 1);
    errno = 0;
    char* end = nullptr;
    const long long control = std::strtoll(number.c_str(), &end, 10);
    if (number.empty() || errno != 0 || !end || *end != 0)
        fail(option + " " + v + ": '" + number + "' is not a control value");
    if (control < -2147483648LL || control > 2147483647LL)
        fail(option + " " + v + ": control values are -2147483648 to 2147483647");
    return {std::int32_t(index), std::int32_t(control)};
}

void checkControlIndices(const std::vector<std::pair<std::int32_t, std::int32_t>>& controls,
                         const std::vector<std::string>& texts, std::int32_t count)
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].first > count)
            fail(texts[i] + ": index out of range (the plug-in has " + std::to_string(count) + " controls)");
}

ProToolsOptions parseProToolsOptions(const std::vector<std::string>& args, std::size_t from)
{
    ProToolsOptions options;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) fail(a + ": needs a value");
            return args[++i];
        };
        if (a == "--control") {
            const std::string& v = value();
            options.controls.push_back(parseControlAssignment(a, v));
            options.controlTexts.push_back(a + " " + v);
        } else if (a == "--block") {
            const std::string& v = value();
            if (!parseInt(v, options.block)) fail("--block " + v + ": '" + v + "' is not a number");
            if (options.block < 1 || options.block > 65536) fail("--block " + v + ": must be 1 to 65536");
        } else if (a == "--bypass") {
            options.bypass = true;
        } else if (a == "--param" || a == "--program") {
            fail(a + ": a Pro Tools plug-in has controls, not VST parameters or programs (use --control)");
        } else {
            fail(a + ": unknown option");
        }
    }
    return options;
}

int processProTools(const std::vector<std::string>& args)
{
    const std::string& pluginPath = args[1];
    const std::string& inPath = args[2];
    const std::string& outPath = args[3];
    const ProToolsOptions options = parseProToolsOptions(args, 4);

    std::string error;
    AudioFile in;
    if (!in.openRead(inPath, error)) fail(error);

    ProToolsSession session(pluginPath);
    const PI_TypeInfo type = session.type(1);
    if (in.channels() != type.inputChannels) {
        fail(inPath + " has " + std::to_string(in.channels()) + " channel" + (in.channels() == 1 ? "" : "s") +
             ", but the plug-in takes " + std::to_string(type.inputChannels) + " input" +
             (type.inputChannels == 1 ? "" : "s"));
    }
    if (type.outputChannels < 1 || type.outputChannels > 64) fail(pluginPath + ": implausible channel counts");
    session.createInsert(in.sampleRate());
    const auto& r = session.plugin.routines();
    const std::int32_t count = session.controlCount();
    checkControlIndices(options.controls, options.controlTexts, count);
    for (std::size_t i = 0; i < options.controls.size(); ++i) {
        const auto [index, value] = options.controls[i];
        session.check(r.setControlValue(session.insert, index, value), options.controlTexts[i]);
    }
    if (options.bypass) {
        std::int32_t bypass = 0;
        for (std::int32_t i = 1; i <= count && !bypass; ++i)
            if (session.control(i).flags & PI_ControlIsMasterBypass) bypass = i;
        if (!bypass) fail("--bypass: the plug-in has no master bypass control");
        session.check(r.setControlValue(session.insert, bypass, 1), "--bypass");
    }

    const PI_Insert insert = session.insert;
    renderFile(in, inPath, outPath, type.inputChannels, type.outputChannels, static_cast<VstInt32>(options.block),
               [&](float** inputs, float** outputs, VstInt32 frames) {
                   session.check(r.render(insert, inputs, outputs, frames), "rendering");
               });
    return 0;
}

struct ProToolsEditorOptions {
    std::vector<std::pair<std::int32_t, std::int32_t>> controls;     // set before the window opens
    std::vector<std::pair<std::int32_t, std::int32_t>> automations;  // set while it is open
    std::vector<std::string> controlTexts, automationTexts;
    long idles = 10;
    std::vector<PointerInjector::Gesture> gestures;
    std::vector<std::string> gestureTexts;
};

ProToolsEditorOptions parseProToolsEditorOptions(const std::vector<std::string>& args, std::size_t from)
{
    ProToolsEditorOptions options;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) fail(a + ": needs a value");
            return args[++i];
        };
        if (a == "--control") {
            const std::string& v = value();
            options.controls.push_back(parseControlAssignment(a, v));
            options.controlTexts.push_back(a + " " + v);
        } else if (a == "--automate") {
            const std::string& v = value();
            options.automations.push_back(parseControlAssignment(a, v));
            options.automationTexts.push_back(a + " " + v);
        } else if (a == "--idle") {
            options.idles = parseIdles(value());
        } else if (a == "--press" || a == "--drag") {
            parseGesture(a, value(), options.gestures, options.gestureTexts);
        } else if (a == "--param") {
            fail(a + ": a Pro Tools plug-in has controls, not VST parameters (use --control)");
        } else {
            fail(a + ": unknown option");
        }
    }
    return options;
}

// The host's side of the notifications: what the plug-in asks is shown, and a control change is taken
// and reported back at once, as Pro Tools does.
struct ProToolsReporter {
    const ProToolsPlugin::Routines* routines = nullptr;

    static void PI_CALL notify(void* user, PI_Insert insert, std::int32_t what, std::int32_t index, std::int32_t value)
    {
        auto& self = *static_cast<ProToolsReporter*>(user);
        switch (what) {
        case PI_NotifyControlRequest: {
            std::printf("request %d %d\n", index, value);
            const PI_Err err = self.routines->setControlValue(insert, index, value);
            if (err == PI_NoErr)
                std::printf("report %d %d\n", index, value);
            else
                std::printf("refused %d %d: %s\n", index, value, ProToolsPlugin::errorText(err).c_str());
            break;
        }
        case PI_NotifyTouch: std::printf("touch %d\n", index); break;
        case PI_NotifyRelease: std::printf("release %d\n", index); break;
        default: break;  // notifications this host does not know
        }
    }
};

// The plug-in window opened as the stand-in Pro Tools opens it: in a host window of its own, larger than
// the plug-in's, given as the port. The picture is of the plug-in's window where the plug-in put it.
int editorProTools(const std::vector<std::string>& args)
{
    const std::string& pluginPath = args[1];
    const std::string& outPath = args[2];
    ProToolsEditorOptions options = parseProToolsEditorOptions(args, 3);

    EditorWindow::prepareThreads();
    ProToolsSession session(pluginPath);
    const auto& r = session.plugin.routines();
    session.createInsert(44100);
    const std::int32_t count = session.controlCount();
    checkControlIndices(options.controls, options.controlTexts, count);
    checkControlIndices(options.automations, options.automationTexts, count);

    PI_ViewRect view{};
    const PI_Err sized = r.getViewSize(session.insert, &view);
    if (sized == PI_ErrNoWindow) fail(pluginPath + ": the plug-in has no editor");
    session.check(sized, "the plug-in window's size");
    const int width = view.right - view.left, height = view.bottom - view.top;
    if (width < 1 || height < 1 || width > 8192 || height > 8192)
        fail(pluginPath + ": the plug-in gives no usable editor size");
    checkGestures(options.gestures, options.gestureTexts, width, height);

    useDisplay();
    for (std::size_t i = 0; i < options.controls.size(); ++i)
        session.check(r.setControlValue(session.insert, options.controls[i].first, options.controls[i].second),
                      options.controlTexts[i]);

    // Wider by an odd number of pixels and taller: the plug-in centres its window (truncating) and
    // puts it at the bottom.
    const int hostWidth = width + 41, hostHeight = height + 60;
    std::string error;
    EditorWindow window;
    if (!window.open(hostWidth, hostHeight, error)) fail(error);
    PointerInjector injector;
    if (!options.gestures.empty() && !injector.open(error)) fail(error);

    ProToolsReporter reporter{&r};
    session.check(r.setNotify(session.insert, ProToolsReporter::notify, &reporter), "listening to the plug-in");
    std::printf("editor:      %d x %d\n", width, height);
    std::printf("host window: %d x %d\n", hostWidth, hostHeight);
    std::fflush(stdout);

    CloseOnExit opened;
    const PI_WindowPort port{PI_PortVersion, 0, window.id()};
    session.check(r.openWindow(session.insert, &port), "opening the plug-in window");
    opened.action = [&] { r.closeWindow(session.insert); };
    int x = 0, y = 0, w = 0, h = 0;
    if (!window.childGeometry(x, y, w, h)) fail(pluginPath + ": no plug-in window appeared in the host's window");
    std::printf("placed at:   %d,%d (%d x %d)\n", x, y, w, h);
    for (auto& g : options.gestures) {
        window.screenPoint(x + g.x1, y + g.y1, g.x1, g.y1);
        window.screenPoint(x + g.x2, y + g.y2, g.x2, g.y2);
    }

    EditorDriver driver(window, [&] { session.check(r.idle(session.insert), "idling the plug-in"); });
    std::function<void()> automate;
    if (!options.automations.empty())
        automate = [&] {
            for (std::size_t i = 0; i < options.automations.size(); ++i)
                session.check(
                    r.setControlValue(session.insert, options.automations[i].first, options.automations[i].second),
                    options.automationTexts[i]);
        };
    driver.run(options.idles, automate, options.gestures, injector);

    std::vector<std::uint32_t> all;
    if (!window.capture(all, error)) fail(error);
    // The plug-in's window as placed, clipped to the host's.
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height), 0);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            const int hx = x + column, hy = y + row;
            if (hx >= 0 && hy >= 0 && hx < hostWidth && hy < hostHeight)
                pixels[std::size_t(row) * std::size_t(width) + std::size_t(column)] =
                    all[std::size_t(hy) * std::size_t(hostWidth) + std::size_t(hx)];
        }
    if (!writePngFile(outPath, width, height, pixels, error)) fail(error);

    std::printf("controls:    %d\n", count);
    for (std::int32_t i = 1; i <= count; ++i) {
        const PI_ControlInfo c = session.control(i);
        std::printf("  %3d  %-16s %d  %s\n", i, session.plugin.controlName(session.insert, i, 30).c_str(), c.value,
                    session.plugin.controlText(session.insert, i).c_str());
    }
    std::printf("picture:     %s\n", outPath.c_str());
    driver.printCpu();
    opened.close();
    r.setNotify(session.insert, nullptr, nullptr);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == "info")
            return ProToolsPlugin::recognises(args[1]) ? infoProTools(args[1]) : info(args[1]);
        if (args.size() >= 4 && args[0] == "process")
            return ProToolsPlugin::recognises(args[1]) ? processProTools(args) : process(args);
        if (args.size() >= 3 && args[0] == "editor")
            return ProToolsPlugin::recognises(args[1]) ? editorProTools(args) : editor(args);
        usage();
        return 2;
    } catch (const Failure& f) {
        std::fprintf(stderr, "plughost: %s\n", f.message.c_str());
        return 1;
    }
}
