// Each built plug-in driven through its entry point only by a host that trusts nothing: random and
// hostile dispatcher, parameter, program and audio calls, the start-up sequences real hosts use,
// editors closed from inside the effect's own calls, threads, and a thousand loads and unloads.
//
//   plugin_robustness [--calls N] [--seconds S] [--seed S] [gtest options]
//
// --calls and --seconds bound the random abuse per plug-in (the default is a short run); --seed
// replays a run exactly.
#include "tests/e2e/PluginFiles.h"
#include "tests/e2e/robustness/EditorGestureHost.h"
#include "tests/e2e/robustness/GuardedBuffer.h"
#include "tests/e2e/robustness/HostAbuser.h"
#include "tests/e2e/robustness/PluginFacts.h"
#include "tools/plughost/EditorWindow.h"
#include "tools/plughost/PluginHost.h"
#include "tools/plughost/PrivateXServer.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TW_SANITIZED 1
#endif

namespace {

std::uint64_t optionCalls = TW_DEFAULT_CALLS;
double optionSeconds = 0;
std::uint64_t optionSeed = 20240611;

// Editors open on an X server of this process's own: the gestures move the pointer, which must not
// disturb (or be disturbed by) anything else on a shared display.
bool ensureDisplay(std::string& why)
{
    static PrivateXServer server;
    static bool started = false;
    static std::string problem;
    if (!started && problem.empty()) {
        if (server.start(problem)) {
            started = true;
            setenv("DISPLAY", server.name().c_str(), 1);
        }
    }
    why = problem;
    return started;
}

std::string nameOf(std::size_t plugin)
{
    return allPlugins()[plugin].target;
}

class Robustness : public ::testing::TestWithParam<std::size_t> {
protected:
    const PluginFacts& facts() const { return allPlugins()[GetParam()]; }

    void load(PluginHost& host) const
    {
        std::string error;
        ASSERT_TRUE(host.open(pluginPath(facts().target), error)) << error;
    }
    void display()
    {
        std::string why;
        ASSERT_TRUE(ensureDisplay(why)) << why;
    }
};

std::string text(PluginHost& host, VstInt32 opcode, VstInt32 index, std::size_t field)
{
    GuardedBuffer buffer(field);
    buffer.fill(0xA5);
    host.dispatch(opcode, index, 0, buffer.data());
    if (buffer.holds(0xA5)) return {};  // nothing written: the effect does not answer this one
    if (!std::memchr(buffer.data(), 0, field)) {
        ADD_FAILURE() << "text of opcode " << opcode << " not terminated within " << field << " bytes";
        return {};
    }
    return buffer.data();
}

long residentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

TEST_P(Robustness, RandomHostAbuse)
{
    ASSERT_NO_FATAL_FAILURE(display());
    EditorWindow parent;
    std::string error;
    ASSERT_TRUE(parent.open(facts().editorWidth, facts().editorHeight, error)) << error;
    HostAbuser abuser(facts(), optionSeed, parent.id());
    abuser.run(optionCalls, optionSeconds);
    std::printf("%s: %llu dispatcher calls in %llu steps, seed %llu\n", facts().target,
                static_cast<unsigned long long>(abuser.dispatcherCalls()),
                static_cast<unsigned long long>(abuser.steps()), static_cast<unsigned long long>(optionSeed));
    EXPECT_EQ(abuser.failures(), 0) << "replay with --seed " << optionSeed;
    if (optionCalls) {
        EXPECT_GE(abuser.dispatcherCalls(), optionCalls);
    }
}

// What hosts do in the order they do it: a scanner that only asks, a host that asks for the editor's
// size before anything else, and the start, play and stop of an editing host.
TEST_P(Robustness, StartUpSequencesOfRealHosts)
{
    const PluginFacts& f = facts();
    {
        // A plug-in scanner: open, ask, close; no sample rate, no resume.
        PluginHost host;
        ASSERT_NO_FATAL_FAILURE(load(host));
        EXPECT_EQ(host.dispatch(effOpen), 0);
        EXPECT_EQ(host.dispatch(effGetVstVersion), kVstVersion);
        EXPECT_EQ(host.dispatch(effGetPlugCategory), f.category);
        EXPECT_EQ(text(host, effGetVendorString, 0, kVstMaxVendorStrLen), "Tonewerks");
        EXPECT_EQ(text(host, effGetProductString, 0, kVstMaxProductStrLen), f.product);
        EXPECT_EQ(text(host, effGetEffectName, 0, kVstMaxEffectNameLen), f.effectName ? f.effectName : "");
        EXPECT_EQ(host.dispatch(effGetVendorVersion), f.vendorVersion);
        for (const char* can : {"receiveVstEvents", "receiveVstMidiEvent", "sendVstEvents", "sendVstMidiEvent",
                                "midiProgramNames", "bypass", "offline", "noRealTime", "2in2out"})
            EXPECT_EQ(host.dispatch(effCanDo, 0, 0, const_cast<char*>(can)), 0) << can;
        for (VstInt32 i = 0; i < f.numParams; ++i) {
            EXPECT_NE(text(host, effGetParamName, i, kVstMaxParamStrLen), "") << i;
            text(host, effGetParamLabel, i, kVstMaxParamStrLen);
            EXPECT_NE(text(host, effGetParamDisplay, i, kVstMaxParamStrLen), "") << i;
            EXPECT_EQ(host.dispatch(effCanBeAutomated, i), 1);
            const float v = host.getParameter(i);
            EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << i;
        }
        // What editing hosts ask of each parameter and pin before using the plain defaults: records of
        // the ABI's sizes, which no effect fills in; and the vendor call some hosts probe with.
        for (VstInt32 i = 0; i < f.numParams; ++i) {
            GuardedBuffer properties(152);
            properties.fill(0xA5);
            EXPECT_EQ(host.dispatch(effGetParameterProperties, i, 0, properties.data()), 0);
            EXPECT_TRUE(properties.holds(0xA5)) << i;
        }
        for (VstInt32 opcode : {effGetInputProperties, effGetOutputProperties})
            for (VstInt32 pin = 0; pin < 2; ++pin) {
                GuardedBuffer properties(128);
                properties.fill(0xA5);
                EXPECT_EQ(host.dispatch(opcode, pin, 0, properties.data()), 0);
                EXPECT_TRUE(properties.holds(0xA5)) << opcode << " " << pin;
            }
        EXPECT_EQ(host.dispatch(effVendorSpecific, VstInt32(0xdeadbeef), audioMasterAutomate, nullptr, 0), 0);
        EXPECT_EQ(host.dispatch(effCanDo, 0, 0, const_cast<char*>("hasCockosExtensions")), 0);
        // Programs by index: no effect answers, so the host walks them with effSetProgram.
        for (VstInt32 p = 0; p < f.numPrograms; ++p) {
            GuardedBuffer name(kVstMaxProgNameLen);
            name.fill(0xA5);
            EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, p, 0, name.data()), 0);
            EXPECT_TRUE(name.holds(0xA5));
            host.dispatch(effBeginSetProgram);
            host.dispatch(effSetProgram, 0, p);
            host.dispatch(effEndSetProgram);
            EXPECT_EQ(host.dispatch(effGetProgram), p);
            text(host, effGetProgramName, 0, kVstMaxProgNameLen);
        }
        // No chunks: the host must not be handed one.
        EXPECT_EQ(host.effect()->flags & effFlagsProgramChunks, 0);
        void* chunk = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(host.dispatch(effGetChunk, 0, 0, &chunk), 0);
        EXPECT_EQ(chunk, reinterpret_cast<void*>(0x1));
        host.close();
    }
    {
        // The editor's size asked before effOpen and before any sample rate, as some hosts do.
        PluginHost host;
        ASSERT_NO_FATAL_FAILURE(load(host));
        ERect* r = nullptr;
        ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &r), 1);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->right - r->left, f.editorWidth);
        EXPECT_EQ(r->bottom - r->top, f.editorHeight);
        // Processing before any resume or sample rate: allowed to do little, never to fail.
        std::vector<float> a(64, 0.5f), b(64, -0.5f), oa(64), ob(64);
        float* in[] = {a.data(), b.data()};
        float* out[] = {oa.data(), ob.data()};
        host.processReplacing(in, out, 64);
        for (float v : oa) EXPECT_TRUE(std::isfinite(v));
        host.close();
    }
    {
        // An editing host: open, rate and block size (alone and together), connect, resume, start,
        // play, automation, bypass, suspend, stop, close; then the same again after a rate change.
        PluginHost host;
        ASSERT_NO_FATAL_FAILURE(load(host));
        host.dispatch(effOpen);
        for (float rate : {44100.0f, 96000.0f}) {
            EXPECT_EQ(host.dispatch(effSetSampleRate, 0, 0, nullptr, rate), 0);
            EXPECT_EQ(host.dispatch(effSetBlockSize, 0, 1024), 0);
            EXPECT_EQ(host.dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, rate), 1);
            EXPECT_EQ(host.dispatch(effSetProcessPrecision, 0, 0), 0);
            EXPECT_EQ(host.dispatch(effConnectInput, 0, 1), 1);
            EXPECT_EQ(host.dispatch(effConnectInput, 1, 1), 1);
            EXPECT_EQ(host.dispatch(effConnectOutput, 0, 1), 1);
            EXPECT_EQ(host.dispatch(effConnectOutput, 1, 1), 1);
            EXPECT_EQ(host.dispatch(effMainsChanged, 0, 1), 0);
            EXPECT_EQ(host.dispatch(effStartProcess), 0);
            std::vector<float> a(256), b(256), oa(256), ob(256);
            float* in[] = {a.data(), b.data()};
            float* out[] = {oa.data(), ob.data()};
            for (int block = 0; block < 20; ++block) {
                for (int i = 0; i < 256; ++i) {
                    a[std::size_t(i)] = 0.8f * float(std::sin(0.07 * (block * 256 + i)));
                    b[std::size_t(i)] = 0.4f * float(std::sin(0.05 * (block * 256 + i)));
                }
                if (block == 5)
                    for (VstInt32 p = 0; p < f.numParams; ++p) host.setParameter(p, 1.0f);
                if (block == 10) host.dispatch(effSetBypass, 0, 1);
                if (block == 12) host.dispatch(effSetBypass, 0, 0);
                host.processReplacing(in, out, 256);
                for (int i = 0; i < 256; ++i) {
                    ASSERT_TRUE(std::isfinite(oa[std::size_t(i)]) && std::isfinite(ob[std::size_t(i)]))
                        << "block " << block;
                }
            }
            EXPECT_GE(host.dispatch(effGetVu), 0);
            EXPECT_EQ(host.dispatch(effGetTailSize), 0);
            EXPECT_EQ(host.dispatch(effStopProcess), 0);
            EXPECT_EQ(host.dispatch(effMainsChanged, 0, 0), 0);
        }
        host.close();
    }
}

// Audio no host should send, then ordinary audio again: the output is finite once the bad input has
// stopped, with and without a reset; blocks of no frames touch nothing at all.
TEST_P(Robustness, AudioRecoversFromHostileInput)
{
    PluginHost host;
    ASSERT_NO_FATAL_FAILURE(load(host));
    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.dispatch(effSetBlockSize, 0, 512);
    host.dispatch(effMainsChanged, 0, 1);
    const float poison[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max(), 1e30f,
                            1e-40f};
    GuardedBuffer bufs[4] = {GuardedBuffer(512 * 4), GuardedBuffer(512 * 4), GuardedBuffer(512 * 4),
                             GuardedBuffer(512 * 4)};
    const auto block = [&](VstInt32 frames, float (*source)(int, int), bool inPlace) {
        float* c[4];
        for (int i = 0; i < 4; ++i) c[i] = reinterpret_cast<float*>(bufs[i].resize(std::size_t(frames) * 4));
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < frames; ++i) c[ch][i] = source(ch, i);
        float* in[] = {c[0], c[1]};
        float* out[] = {inPlace ? c[0] : c[2], inPlace ? c[1] : c[3]};
        host.processReplacing(in, out, frames);
        bool finite = true;
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < frames; ++i) finite = finite && std::isfinite(out[ch][i]);
        return finite;
    };
    static float chosen = 0;
    for (float p : poison) {
        for (bool inPlace : {false, true}) {
            chosen = p;
            for (int k = 0; k < 4; ++k) block(512, [](int ch, int i) { return (i + ch) % 3 ? chosen : 0.5f; }, inPlace);
            bool finite = true;
            for (int k = 0; k < 48; ++k)
                finite = block(512, [](int ch, int i) { return 0.5f * float(std::sin(0.01 * i + ch)); }, inPlace);
            EXPECT_TRUE(finite) << "half a second after " << p << " stopped, no reset";
            host.dispatch(effMainsChanged, 0, 0);
            host.dispatch(effMainsChanged, 0, 1);
            EXPECT_TRUE(block(512, [](int ch, int i) { return 0.5f * float(std::sin(0.01 * i + ch)); }, inPlace))
                << "after " << p << " stopped and a reset";
        }
    }
    // No frames, or fewer than none: buffers of no size at all, whose first byte already faults.
    for (VstInt32 frames : {0, -1, -512, std::numeric_limits<VstInt32>::min()}) {
        float* c[4];
        for (int i = 0; i < 4; ++i) c[i] = reinterpret_cast<float*>(bufs[i].resize(0));
        float* in[] = {c[0], c[1]};
        float* out[] = {c[2], c[3]};
        host.processReplacing(in, out, frames);
        host.effect()->process(host.effect(), in, out, frames);
    }
    host.close();
}

// A program name is handed in a 24-byte field that need not be terminated: reading stops inside it.
TEST_P(Robustness, ProgramNamesAreReadWithinTheir24Bytes)
{
    PluginHost host;
    ASSERT_NO_FATAL_FAILURE(load(host));
    host.dispatch(effOpen);
    for (VstInt32 p = 0; p < facts().numPrograms; ++p) {
        host.dispatch(effSetProgram, 0, p);
        GuardedBuffer name(kVstMaxProgNameLen);
        std::memset(name.data(), 'n', kVstMaxProgNameLen);  // no terminating zero before the guard page
        host.dispatch(effSetProgramName, 0, 0, name.data());
        const std::string stored = text(host, effGetProgramName, 0, kVstMaxProgNameLen);
        EXPECT_LE(stored.size(), 23u);
        EXPECT_EQ(stored.find_first_not_of('n'), std::string::npos) << stored;
    }
    host.close();
}

// The host's user-interface thread changes the sample rate, parameters and the editor while its
// audio thread processes and automates: nothing may race.
TEST_P(Robustness, SampleRateParametersAndEditorChangeWhileAudioRuns)
{
    ASSERT_NO_FATAL_FAILURE(display());
    PluginHost host;
    ASSERT_NO_FATAL_FAILURE(load(host));
    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    host.dispatch(effSetBlockSize, 0, 256);
    host.dispatch(effMainsChanged, 0, 1);
    EditorWindow window;
    std::string error;
    ASSERT_TRUE(window.open(facts().editorWidth, facts().editorHeight, error)) << error;

    AEffect* e = host.effect();
    const VstInt32 params = facts().numParams;
    std::atomic<int> blocksDone{0};
    std::atomic<bool> finite{true};
    constexpr int kBlocks = 3000;
    std::thread audio([&] {
        std::vector<float> a(256), b(256), oa(256), ob(256);
        float* in[] = {a.data(), b.data()};
        float* out[] = {oa.data(), ob.data()};
        for (int block = 0; block < kBlocks; ++block) {
            for (int i = 0; i < 256; ++i) {
                a[std::size_t(i)] = 0.7f * float(std::sin(0.03 * (block * 256 + i)));
                b[std::size_t(i)] = -a[std::size_t(i)] * 0.5f;
            }
            // Automation read from the host's track on the audio thread.
            e->setParameter(e, block % params, float(block % 17) / 16.0f);
            e->processReplacing(e, in, out, 256);
            for (float v : oa)
                if (!std::isfinite(v)) finite = false;
            blocksDone.store(block + 1, std::memory_order_release);
        }
    });
    int round = 0;
    // At least a few editor openings, however fast the audio thread is done.
    while (blocksDone.load(std::memory_order_acquire) < kBlocks || round < 120) {
        ++round;
        const float rates[] = {44100.0f, 48000.0f, 96000.0f, 22050.0f};
        host.dispatch(effSetSampleRate, 0, 0, nullptr, rates[round % 4]);
        host.setParameter(round % params, float(round % 11) / 10.0f);
        const float v = host.getParameter(round % params);
        EXPECT_TRUE(v >= 0.0f && v <= 1.0f);
        text(host, effGetParamDisplay, round % params, kVstMaxParamStrLen);
        host.dispatch(effGetVu);
        if (round % 50 == 1) host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window.id()));
        host.dispatch(effEditIdle);
        window.discardEvents();
        if (round % 50 == 25) host.dispatch(effEditClose);
        std::this_thread::yield();
    }
    audio.join();
    host.dispatch(effEditClose);
    EXPECT_TRUE(finite.load());
    host.close();
}

// What a host does with an editor besides gestures: asks before opening, idles and closes one that
// is not open, opens twice, feeds it impossible values and keys, and takes its window away first.
TEST_P(Robustness, EditorCallsInAnyOrder)
{
    ASSERT_NO_FATAL_FAILURE(display());
    PluginHost host;
    ASSERT_NO_FATAL_FAILURE(load(host));
    host.dispatch(effOpen);
    EXPECT_EQ(host.dispatch(effEditIdle), 0);
    EXPECT_EQ(host.dispatch(effEditClose), 0);
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, nullptr), 0) << "opened into no window";
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t(0xE0001234u))), 0)
        << "opened into a window that does not exist";
    std::string error;
    {
        EditorWindow window;
        ASSERT_TRUE(window.open(facts().editorWidth, facts().editorHeight, error)) << error;
        void* parent = reinterpret_cast<void*>(window.id());
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, parent), 1);
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, parent), 1) << "a second open without a close";
        const float values[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(), -1e30f, 1e30f, 1e-40f, 0.5f};
        for (float v : values) {
            for (VstInt32 i = -1; i <= facts().numParams; ++i) host.setParameter(i, v);
            host.dispatch(effEditIdle);
            for (VstInt32 key : {0, 97, 0x7fffffff})
                for (float mod : {0.0f, 255.0f, std::numeric_limits<float>::quiet_NaN()}) {
                    const VstIntPtr down = host.dispatch(effEditKeyDown, key, 255, nullptr, mod);
                    const VstIntPtr up = host.dispatch(effEditKeyUp, key, 255, nullptr, mod);
                    EXPECT_TRUE((down == 0 || down == 1) && (up == 0 || up == 1));
                }
            for (VstIntPtr mode : {0, 1, 2, -1})
                host.dispatch(effSetEditKnobMode, 0, mode);
            host.dispatch(effEditIdle);
            window.discardEvents();
        }
        for (VstInt32 i = 0; i < facts().numParams; ++i) {
            const float v = host.getParameter(i);
            EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << i;
        }
        EXPECT_EQ(host.dispatch(effEditClose), 0);
        EXPECT_EQ(host.dispatch(effEditClose), 0);
        EXPECT_EQ(host.dispatch(effEditIdle), 0);
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, parent), 1);
        host.dispatch(effEditIdle);
        // The window goes out of scope here with the editor still open in it: the host tore its
        // window down before telling the effect.
    }
    host.dispatch(effEditIdle);
    EXPECT_EQ(host.dispatch(effEditClose), 0);
    EditorWindow another;
    ASSERT_TRUE(another.open(facts().editorWidth, facts().editorHeight, error)) << error;
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(another.id())), 1);
    host.dispatch(effEditIdle);
    host.close();  // effClose with the editor still open
}

// A thousand loads and unloads, as plug-in scanners and session reloads do, each one used a little
// and some with the editor open: every one comes up whole, and once the first hundred are done what
// a load, use and unload leaves behind does not add up.
TEST_P(Robustness, ThousandLoadUnloadCyclesKeepMemoryFlat)
{
    ASSERT_NO_FATAL_FAILURE(display());
    EditorWindow window;
    std::string error;
    ASSERT_TRUE(window.open(facts().editorWidth, facts().editorHeight, error)) << error;
    long settled = 0;
    for (int cycle = 0; cycle < 1000; ++cycle) {
        if (cycle == 100) settled = residentKilobytes();
        PluginHost host;
        ASSERT_TRUE(host.open(pluginPath(facts().target), error)) << "cycle " << cycle << ": " << error;
        AEffect* e = host.effect();
        ASSERT_EQ(e->uniqueID, facts().uniqueID) << "cycle " << cycle;
        ASSERT_EQ(e->numParams, facts().numParams);
        host.dispatch(effOpen);
        host.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        host.dispatch(effMainsChanged, 0, 1);
        host.setParameter(cycle % facts().numParams, float(cycle % 7) / 6.0f);
        std::vector<float> a(64, 0.25f), oa(64), ob(64);
        float* in[] = {a.data(), a.data()};
        float* out[] = {oa.data(), ob.data()};
        host.processReplacing(in, out, 64);
        ASSERT_TRUE(std::isfinite(oa[63]));
        if (cycle % 50 == 0) {
            ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window.id())), 1) << "cycle " << cycle;
            host.dispatch(effEditIdle);
            host.dispatch(effEditClose);
            window.discardEvents();
        }
        host.close();
    }
#ifndef TW_SANITIZED  // a sanitizer's own bookkeeping grows with every load
    const long grown = residentKilobytes() - settled;
    EXPECT_LT(grown, 2048) << "900 load, use and unload cycles left " << grown << " KB behind";
#else
    (void)settled;
#endif
}

INSTANTIATE_TEST_SUITE_P(Plugins, Robustness, ::testing::Range<std::size_t>(0, allPlugins().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) { return nameOf(info.param); });

// Every widget of every editor, pressed or dragged, with the host closing the editor or the effect
// from inside each kind of call the gesture makes to it.
using Trigger = EditorGestureHost::Trigger;
using Action = EditorGestureHost::Action;

class HostClosesMidGesture : public ::testing::TestWithParam<std::tuple<std::size_t, Action, Trigger>> {};

TEST_P(HostClosesMidGesture, EveryWidget)
{
    std::string why;
    ASSERT_TRUE(ensureDisplay(why)) << why;
    const auto [plugin, action, trigger] = GetParam();
    const PluginFacts& facts = allPlugins()[plugin];
    EditorGestureHost host(facts);
    ASSERT_TRUE(host.ready(why)) << why;
    // Loaded once for all widgets, as a host with several instances keeps it: each gesture still
    // gets an effect and an editor of its own.
    void* resident = dlopen(pluginPath(facts.target).c_str(), RTLD_NOW | RTLD_LOCAL);
    int fired = 0;
    for (const WidgetPlace& widget : facts.widgets) {
        if (host.play(widget, trigger, action)) ++fired;
        if (HasFatalFailure()) break;
    }
    if (resident) dlclose(resident);
    EXPECT_GT(fired, 0) << "no gesture ever made the call the host waits for";
}

INSTANTIATE_TEST_SUITE_P(
    Plugins, HostClosesMidGesture,
    ::testing::Combine(::testing::Range<std::size_t>(0, allPlugins().size()),
                       ::testing::Values(Action::CloseEditor, Action::CloseEffect),
                       ::testing::Values(Trigger::BeginEdit, Trigger::Automate, Trigger::EndEdit, Trigger::Idle)),
    [](const ::testing::TestParamInfo<std::tuple<std::size_t, Action, Trigger>>& info) {
        std::string name = nameOf(std::get<0>(info.param)) +
                           (std::get<1>(info.param) == Action::CloseEditor ? "_ClosesEditorInside" : "_ClosesEffectInside");
        switch (std::get<2>(info.param)) {
        case Trigger::BeginEdit: return name + "BeginEdit";
        case Trigger::Automate: return name + "Automate";
        case Trigger::EndEdit: return name + "EndEdit";
        default: return name + "Idle";
        }
    });

int main(int argc, char** argv)
{
    // Our own options first; what is left is GoogleTest's.
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--calls" && hasValue) {
            optionCalls = std::strtoull(argv[++i], nullptr, 10);
        } else if (a == "--seconds" && hasValue) {
            optionSeconds = std::strtod(argv[++i], nullptr);
            optionCalls = 0;
        } else if (a == "--seed" && hasValue) {
            optionSeed = std::strtoull(argv[++i], nullptr, 10);
        } else {
            rest.push_back(argv[i]);
        }
    }
    int count = int(rest.size());
    rest.push_back(nullptr);  // argv ends with a null, as GoogleTest expects
    EditorWindow::prepareThreads();
    HostAbuser::describeCrashes();
    ::testing::InitGoogleTest(&count, rest.data());
    return RUN_ALL_TESTS();
}
