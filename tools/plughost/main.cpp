// plughost: a command-line VST 2 host.
//   plughost info PLUGIN
//   plughost process PLUGIN IN.wav OUT.wav [--param INDEX=VALUE]... [--program N] [--block N] [--bypass]
#include "tools/plughost/AudioFile.h"
#include "tools/plughost/PluginHost.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
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
                 "                        [--block N] [--bypass]\n");
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
        if (flags & f.bit) s += (s.empty() ? "" : " ") + std::string(f.name);
    return s;
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
    if (e->flags & effFlagsHasEditor) {
        ERect* rect = nullptr;
        if (host.dispatch(effEditGetRect, 0, 0, &rect) && rect)
            std::printf("editor:      %d x %d\n", rect->right - rect->left, rect->bottom - rect->top);
    }
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
            const std::string& spec = value();
            const auto eq = spec.find('=');
            long index = 0;
            float v = 0;
            if (eq == std::string::npos) fail("--param " + spec + ": expected INDEX=VALUE");
            if (!parseInt(spec.substr(0, eq), index))
                fail("--param " + spec + ": '" + spec.substr(0, eq) + "' is not a parameter index");
            if (!parseFloat(spec.substr(eq + 1), v))
                fail("--param " + spec + ": '" + spec.substr(eq + 1) + "' is not a number");
            if (index < 0 || index > 0x7fffffff) fail("--param " + spec + ": index out of range");
            options.params.emplace_back(static_cast<VstInt32>(index), v);
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
    for (const auto& [index, value] : options.params) {
        if (index >= e->numParams)
            fail("--param " + std::to_string(index) + "=...: index out of range (the plug-in has " +
                 std::to_string(e->numParams) + " parameters)");
        (void)value;
    }
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

    AudioFile out;
    if (!out.openWrite(outPath, numOut, in.sampleRate(), error)) fail(error);

    std::vector<float> inInterleaved(static_cast<std::size_t>(block) * numIn);
    std::vector<float> outInterleaved(static_cast<std::size_t>(block) * numOut);
    std::vector<std::vector<float>> inChannels(numIn, std::vector<float>(block));
    std::vector<std::vector<float>> outChannels(numOut, std::vector<float>(block));
    std::vector<float*> inPtrs, outPtrs;
    for (auto& c : inChannels) inPtrs.push_back(c.data());
    for (auto& c : outChannels) outPtrs.push_back(c.data());

    host.dispatch(effMainsChanged, 0, 1);
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
        host.processReplacing(inPtrs.data(), outPtrs.data(), static_cast<VstInt32>(got));
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
    host.dispatch(effMainsChanged, 0, 0);
    if (!out.commit(error)) fail(error);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == "info") return info(args[1]);
        if (args.size() >= 4 && args[0] == "process") return process(args);
        usage();
        return 2;
    } catch (const Failure& f) {
        std::fprintf(stderr, "plughost: %s\n", f.message.c_str());
        return 1;
    }
}
