#include "tests/e2e/robustness/HostAbuser.h"

#include "tests/e2e/PluginFiles.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr unsigned char kCanary = 0xA5;
constexpr std::size_t kParamText = 24;    // names, labels and displays: 23 characters and a zero
constexpr std::size_t kProgramName = 24;  // kVstMaxProgNameLen
constexpr std::size_t kPointer = sizeof(void*);
// Sizes of the records the ABI passes by pointer (64-bit layout).
constexpr std::size_t kPinProperties = 128;
constexpr std::size_t kParameterProperties = 152;
constexpr std::size_t kMidiProgramName = 80;
constexpr std::size_t kMidiProgramCategory = 76;
constexpr std::size_t kMidiKeyName = 80;
constexpr std::size_t kSpeakerArrangement = 8 + 8 * 112;
constexpr std::size_t kPatchChunkInfo = 64;
constexpr std::size_t kEvents = 32;
constexpr std::size_t kVariableIo = 48;
constexpr std::size_t kErrorText = 256;

// What the process is doing, for the crash note.
volatile std::uint64_t crashSeed = 0;
volatile std::uint64_t crashStep = 0;
volatile int crashOpcode = INT_MIN;
const char* volatile crashPlugin = "";
const char* volatile crashDoing = "between calls";
struct sigaction previousSegv {};
struct sigaction previousBus {};

void say(const char* text)
{
    ssize_t ignored = write(2, text, std::strlen(text));
    (void)ignored;
}

void sayNumber(std::int64_t n)
{
    char digits[24];
    int i = 23;
    digits[i] = 0;
    const bool negative = n < 0;
    std::uint64_t u = negative ? std::uint64_t(0) - std::uint64_t(n) : std::uint64_t(n);
    do {
        digits[--i] = char('0' + u % 10);
        u /= 10;
    } while (u && i > 1);
    if (negative) digits[--i] = '-';
    say(digits + i);
}

void onCrash(int signal, siginfo_t* info, void* context)
{
    say("\nplug-in robustness: the process died");
    if (*crashPlugin) {
        say(" while ");
        say(crashDoing);
        if (crashOpcode != INT_MIN) {
            say(" (opcode ");
            sayNumber(crashOpcode);
            say(")");
        }
        say(" on ");
        say(crashPlugin);
        say(", seed ");
        sayNumber(std::int64_t(crashSeed));
        say(", step ");
        sayNumber(std::int64_t(crashStep));
    }
    say("\n");
    // Then whatever was there before (a sanitizer's report, or the default death).
    const struct sigaction& before = signal == SIGSEGV ? previousSegv : previousBus;
    sigaction(signal, &before, nullptr);
    if (before.sa_flags & SA_SIGINFO) {
        if (before.sa_sigaction) before.sa_sigaction(signal, info, context);
    } else if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
        before.sa_handler(signal);
    }
}

struct Doing {
    explicit Doing(const char* what, int opcode = INT_MIN)
    {
        crashDoing = what;
        crashOpcode = opcode;
    }
    ~Doing()
    {
        crashDoing = "between calls";
        crashOpcode = INT_MIN;
    }
};

bool terminatedWithin(const char* text, std::size_t field)
{
    return std::memchr(text, 0, field) != nullptr;
}

std::uint64_t mix(std::uint64_t seed, const char* name)
{
    std::uint64_t h = seed ^ 0x9E3779B97F4A7C15ull;
    for (const char* c = name; *c; ++c) h = (h ^ std::uint64_t(static_cast<unsigned char>(*c))) * 0x100000001B3ull;
    return h;
}

float fromBits(std::uint32_t bits)
{
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

}  // namespace

void HostAbuser::describeCrashes()
{
    struct sigaction action {};
    action.sa_sigaction = onCrash;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(SIGSEGV, &action, &previousSegv);
    sigaction(SIGBUS, &action, &previousBus);
}

HostAbuser::HostAbuser(const PluginFacts& facts, std::uint64_t seed, unsigned long parentWindow)
    : facts_(facts), seed_(seed), rng_(mix(seed, facts.target)), parentWindow_(parentWindow),
      path_(pluginPath(facts.target))
{
    crashPlugin = facts_.target;
    crashSeed = seed_;
    anchor_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    startEffect();
}

HostAbuser::~HostAbuser()
{
    stopEffect();
    if (anchor_) dlclose(anchor_);
}

void HostAbuser::fail(const std::string& what)
{
    ++failures_;
    if (failures_ <= 20)
        ADD_FAILURE() << facts_.target << ", seed " << seed_ << ", step " << step_ << ": " << what;
}

void HostAbuser::startEffect()
{
    Doing doing("loading the effect");
    host_ = std::make_unique<PluginHost>();
    std::string error;
    if (!host_->open(path_, error)) {
        fail(error);
        effect_ = nullptr;
        return;
    }
    effect_ = host_->effect();
    if (effect_->uniqueID != facts_.uniqueID || effect_->numParams != facts_.numParams ||
        effect_->numPrograms != facts_.numPrograms || effect_->numInputs != 2 || effect_->numOutputs != 2)
        fail("the record's identity or counts differ from the documented ones");
    editorOpen_ = false;
    sawBadAudio_ = false;
    // Most hosts start this way; the abuse then begins from a running effect or, now and then, from
    // one that was never set up.
    if (chance(80)) {
        dispatch(effOpen, 0, 0, nullptr, 0);
        dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        dispatch(effSetBlockSize, 0, 512, nullptr, 0);
        dispatch(effMainsChanged, 0, 1, nullptr, 0);
    }
}

void HostAbuser::stopEffect()
{
    if (!host_) return;
    Doing doing("closing the effect", effClose);
    if (effect_) ++calls_;
    host_->closeEffect();
    host_.reset();
    effect_ = nullptr;
    editorOpen_ = false;
}

VstIntPtr HostAbuser::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (!effect_) return 0;
    ++calls_;
    Doing doing("in the dispatcher", opcode);
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

float HostAbuser::hostileFloat()
{
    static const float special[] = {0.0f,
                                    -0.0f,
                                    1.0f,
                                    -1.0f,
                                    0.5f,
                                    std::numeric_limits<float>::quiet_NaN(),
                                    -std::numeric_limits<float>::quiet_NaN(),
                                    std::numeric_limits<float>::signaling_NaN(),
                                    std::numeric_limits<float>::infinity(),
                                    -std::numeric_limits<float>::infinity(),
                                    std::numeric_limits<float>::max(),
                                    -std::numeric_limits<float>::max(),
                                    std::numeric_limits<float>::min(),
                                    std::numeric_limits<float>::denorm_min(),
                                    -std::numeric_limits<float>::denorm_min(),
                                    1e-40f,
                                    1e30f,
                                    -1e30f,
                                    1.0000001f,
                                    -1e-7f,
                                    44100.0f,
                                    2147483648.0f,
                                    -2147483904.0f};
    const auto r = below(10);
    if (r < 4) return special[below(sizeof special / sizeof special[0])];
    if (r < 7) return float(double(below(1u << 24)) / double(1u << 24));
    return fromBits(std::uint32_t(next()));
}

VstInt32 HostAbuser::hostileIndex(VstInt32 count)
{
    static const VstInt32 odd[] = {-1, -2, INT_MIN, INT_MAX, INT_MAX - 1, 0x10000, 255, 1000, 32, 31, 64};
    const auto r = below(10);
    if (r < 6 && count > 0) return VstInt32(below(std::uint64_t(count)));
    if (r < 8) return count + VstInt32(below(4));
    return odd[below(sizeof odd / sizeof odd[0])];
}

VstIntPtr HostAbuser::hostileValue()
{
    static const VstIntPtr odd[] = {0, 1, -1, 2, 512, 1024, 65536, INT_MAX, INT_MIN, std::numeric_limits<VstIntPtr>::max(),
                                    std::numeric_limits<VstIntPtr>::min(), VstIntPtr(1) << 32};
    const auto r = below(10);
    if (r < 5) return odd[below(sizeof odd / sizeof odd[0])];
    if (r < 8) return VstIntPtr(below(64)) - 8;
    return VstIntPtr(next());
}

float HostAbuser::hostileSample()
{
    switch (below(12)) {
    case 0: return std::numeric_limits<float>::quiet_NaN();
    case 1: return std::numeric_limits<float>::infinity();
    case 2: return -std::numeric_limits<float>::infinity();
    case 3: return std::numeric_limits<float>::max();
    case 4: return -1e30f;
    case 5: return 1e-40f;
    case 6: return -std::numeric_limits<float>::denorm_min();
    case 7: return fromBits(std::uint32_t(next()));
    default: return float(double(below(1u << 24)) / double(1u << 23)) - 1.0f;
    }
}

void HostAbuser::run(std::uint64_t calls, double seconds)
{
    const auto start = std::chrono::steady_clock::now();
    while ((calls == 0 || calls_ < calls) && failures_ < 20) {
        ++step_;
        crashStep = step_;
        if (seconds > 0 && (step_ & 255) == 0 &&
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >= seconds)
            break;
        if (!effect_) startEffect();
        if (!effect_) return;
        const auto r = below(1000);
        if (r < 620)
            randomDispatcherCall();
        else if (r < 760)
            parameterAbuse();
        else if (r < 820)
            programAbuse();
        else if (r < 950)
            audioAbuse();
        else if (r < 990)
            transportAbuse();
        else if (r < 997)
            checkRecovery();
        else {
            stopEffect();
            startEffect();
        }
    }
    if (effect_) checkRecovery();
}

void HostAbuser::textQuery(VstInt32 opcode, VstInt32 index, std::size_t field)
{
    const bool useNull = chance(5);
    const bool large = !useNull && chance(20);
    char* text = nullptr;
    if (!useNull) {
        text = pointerBuffer_.resize(large ? 512 : field);
        pointerBuffer_.fill(kCanary);
    }
    dispatch(opcode, index, 0, text, hostileFloat());
    if (!text) return;
    const bool parameterText = opcode == effGetParamName || opcode == effGetParamLabel || opcode == effGetParamDisplay;
    const bool known = index >= 0 && index < facts_.numParams;
    if (parameterText && !known) {
        if (facts_.unknownIndexReadsError) {
            if (std::strcmp(text, "ERROR") != 0)
                fail("text " + std::to_string(opcode) + " of unknown parameter " + std::to_string(index) +
                     " is not \"ERROR\"");
        } else if (!pointerBuffer_.holds(kCanary)) {
            fail("text " + std::to_string(opcode) + " of unknown parameter " + std::to_string(index) +
                 " wrote into the host's buffer");
        }
        return;
    }
    if (!terminatedWithin(text, field))
        fail("text " + std::to_string(opcode) + " of index " + std::to_string(index) + " is not terminated within " +
             std::to_string(field) + " bytes");
    else if (parameterText && opcode != effGetParamLabel && text[0] == 0)
        fail("text " + std::to_string(opcode) + " of parameter " + std::to_string(index) + " is empty");
}

void HostAbuser::randomDispatcherCall()
{
    VstInt32 opcode;
    const auto r = below(100);
    if (r < 85) {
        opcode = VstInt32(below(80));
    } else if (r < 95) {
        opcode = VstInt32(80 + below(220));
    } else {
        static const VstInt32 odd[] = {-1, -2, INT_MIN, INT_MAX, 0x10000, 255, 256, 1000};
        opcode = odd[below(sizeof odd / sizeof odd[0])];
    }
    const VstInt32 index = chance(50) ? VstInt32(below(16)) - 2 : hostileIndex(facts_.numParams);
    VstIntPtr value = hostileValue();
    const float opt = hostileFloat();

    // A pointer the ABI gives this opcode no use for: null or one that faults when touched.
    const auto noPointer = [&]() -> void* {
        switch (below(3)) {
        case 0: return nullptr;
        case 1: return pointerBuffer_.forbidden();
        default: return reinterpret_cast<void*>(std::uintptr_t(below(4096)));
        }
    };
    // A host record of exactly the size the ABI gives it, holding the canary, or now and then null.
    const auto record = [&](std::size_t size) -> char* {
        if (chance(10)) return nullptr;
        char* p = pointerBuffer_.resize(size);
        pointerBuffer_.fill(kCanary);
        return p;
    };
    const auto untouched = [&](const char* p) {
        if (p && !pointerBuffer_.holds(kCanary))
            fail("opcode " + std::to_string(opcode) + " wrote into a host record it has no business with");
    };
    const auto expect = [&](VstIntPtr got, VstIntPtr wanted) {
        if (got != wanted)
            fail("opcode " + std::to_string(opcode) + " answered " + std::to_string(got) + " instead of " +
                 std::to_string(wanted));
    };

    switch (opcode) {
    case effOpen: expect(dispatch(opcode, index, value, noPointer(), opt), 0); break;
    case effClose:
        if (chance(5)) {
            stopEffect();
            startEffect();
        }
        break;
    case effSetProgram: {
        if (chance(50)) value = VstIntPtr(below(std::uint64_t(facts_.numPrograms)));
        const VstIntPtr before = dispatch(effGetProgram, 0, 0, nullptr, 0);
        expect(dispatch(opcode, index, value, noPointer(), opt), 0);
        const VstIntPtr now = dispatch(effGetProgram, 0, 0, nullptr, 0);
        const bool valid = value >= 0 && value < facts_.numPrograms;
        if (now != (valid ? value : before))
            fail("effSetProgram " + std::to_string(value) + " left program " + std::to_string(now));
        break;
    }
    case effGetProgram: {
        const VstIntPtr p = dispatch(opcode, index, value, noPointer(), opt);
        if (p < 0 || p >= facts_.numPrograms) fail("effGetProgram answered " + std::to_string(p));
        break;
    }
    case effSetProgramName: {
        // A name in a 24-byte field, terminated somewhere inside it.
        char* name = nullptr;
        if (!chance(5)) {
            name = pointerBuffer_.resize(kProgramName);
            const std::size_t length = below(kProgramName);
            for (std::size_t i = 0; i < kProgramName; ++i) name[i] = char(1 + below(255));
            name[length] = 0;
        }
        expect(dispatch(opcode, index, value, name, opt), 0);
        textQuery(effGetProgramName, 0, kProgramName);
        break;
    }
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
        textQuery(opcode, opcode == effGetProgramName ? index : (chance(70) ? hostileIndex(facts_.numParams) : index),
                  kParamText);
        break;
    case effGetVu:
        if (dispatch(opcode, index, value, noPointer(), opt) < 0) fail("effGetVu answered below 0");
        break;
    case effSetSampleRate:
    case effSetBlockSize:
    case effMainsChanged:
        if (opcode == effMainsChanged && chance(80)) value = VstIntPtr(below(2));
        expect(dispatch(opcode, index, value, noPointer(), opt), 0);
        break;
    case effEditGetRect: {
        char* slot = record(kPointer);
        const VstIntPtr answer = dispatch(opcode, index, value, slot, opt);
        if (!slot) {
            expect(answer, 0);
            break;
        }
        expect(answer, 1);
        ERect* rect = nullptr;
        std::memcpy(&rect, slot, sizeof rect);
        if (!rect || rect->right - rect->left != facts_.editorWidth || rect->bottom - rect->top != facts_.editorHeight)
            fail("effEditGetRect gave no rectangle of the editor's size");
        break;
    }
    case effEditOpen:
        if (parentWindow_ && chance(10)) {
            if (dispatch(opcode, index, value, reinterpret_cast<void*>(parentWindow_), opt) != 1)
                fail("effEditOpen into the host's window answered 0");
            editorOpen_ = true;
        } else {
            // Null, or a window id no X server hands out (the top bits of an id are always clear).
            void* parent = chance(50) ? nullptr : reinterpret_cast<void*>(std::uintptr_t(0xE0000000u | below(1u << 20)));
            expect(dispatch(opcode, index, value, parent, opt), 0);
            editorOpen_ = false;
        }
        break;
    case effEditClose:
        expect(dispatch(opcode, index, value, noPointer(), opt), 0);
        editorOpen_ = false;
        break;
    case effEditDraw: {
        char* rect = record(sizeof(ERect));
        if (rect)
            for (std::size_t i = 0; i < sizeof(ERect); ++i) rect[i] = char(kCanary);
        expect(dispatch(opcode, index, value, rect, opt), 0);
        untouched(rect);
        break;
    }
    case effIdentify: expect(dispatch(opcode, index, value, noPointer(), opt), fourCharCode('N', 'v', 'E', 'f')); break;
    case effGetChunk:
    case effGetInputProperties:
    case effGetOutputProperties:
    case effGetProgramNameIndexed:
    case effGetErrorText:
    case effGetParameterProperties:
    case effGetMidiProgramName:
    case effGetCurrentMidiProgram:
    case effGetMidiProgramCategory:
    case effGetMidiKeyName:
    case effShellGetNextPlugin:
    case effBeginLoadBank:
    case effBeginLoadProgram:
    case effProcessEvents:
    case effProcessVarIo:
    case effOfflineNotify:
    case effOfflinePrepare:
    case effOfflineRun:
    case effVendorSpecific: {
        std::size_t size = 64;
        switch (opcode) {
        case effGetChunk: size = kPointer; break;
        case effGetInputProperties:
        case effGetOutputProperties: size = kPinProperties; break;
        case effGetProgramNameIndexed: size = kProgramName; break;
        case effGetErrorText: size = kErrorText; break;
        case effGetParameterProperties: size = kParameterProperties; break;
        case effGetMidiProgramName:
        case effGetCurrentMidiProgram: size = kMidiProgramName; break;
        case effGetMidiProgramCategory: size = kMidiProgramCategory; break;
        case effGetMidiKeyName: size = kMidiKeyName; break;
        case effProcessEvents: size = kEvents; break;
        case effProcessVarIo: size = kVariableIo; break;
        case effBeginLoadBank:
        case effBeginLoadProgram: size = kPatchChunkInfo; break;
        case effVendorSpecific: size = 1 + below(64); break;
        default: break;
        }
        // Events, offline tasks and patch headers are read by an effect that takes them: an
        // empty event list and canary bytes elsewhere keep every count at zero or absurd.
        char* p = record(size);
        if (p && opcode == effProcessEvents) {
            std::memset(p, 0, size);
            pointerBuffer_.fill(0);
        }
        if (opcode == effOfflineNotify || opcode == effOfflinePrepare || opcode == effOfflineRun) value = 0;
        const VstIntPtr answer = dispatch(opcode, index, value, p, opt);
        expect(answer, opcode == effGetCurrentMidiProgram ? -1 : 0);
        if (opcode == effProcessEvents) {
            if (p && !pointerBuffer_.holds(0)) fail("effProcessEvents wrote into the host's event list");
        } else {
            untouched(p);
        }
        break;
    }
    case effSetChunk: {
        const std::size_t size = below(4097);
        char* p = record(size);
        if (p)
            for (std::size_t i = 0; i < size; ++i) p[i] = char(kCanary);
        expect(dispatch(opcode, index, p ? VstIntPtr(size) : 0, p, opt), 0);
        untouched(p);
        break;
    }
    case effString2Parameter: {
        char* text = nullptr;
        if (!chance(10)) {
            static const char* const samples[] = {"0", "0.5", "-12", "1e30", "nan", "inf", "", "ERROR", "4.0 : 1",
                                                  "99999999999999999999"};
            const char* s = samples[below(sizeof samples / sizeof samples[0])];
            text = pointerBuffer_.resize(std::strlen(s) + 1);
            std::memcpy(text, s, std::strlen(s) + 1);
        }
        expect(dispatch(opcode, index, value, text, opt), 0);
        break;
    }
    case effCanBeAutomated: expect(dispatch(opcode, index, value, noPointer(), opt), 1); break;
    case effGetNumProgramCategories: expect(dispatch(opcode, index, value, noPointer(), opt), 1); break;
    case effConnectInput:
    case effConnectOutput: expect(dispatch(opcode, index, value, noPointer(), opt), 1); break;
    case effGetPlugCategory: expect(dispatch(opcode, index, value, noPointer(), opt), facts_.category); break;
    case effSetSpeakerArrangement: {
        char* out = record(kSpeakerArrangement);
        char* in = nullptr;
        if (!chance(10)) {
            in = valueBuffer_.resize(kSpeakerArrangement);
            valueBuffer_.fill(kCanary);
        }
        expect(dispatch(opcode, index, VstIntPtr(in), out, opt), 0);
        untouched(out);
        if (in && !valueBuffer_.holds(kCanary)) fail("effSetSpeakerArrangement wrote into the host's arrangement");
        break;
    }
    case effGetSpeakerArrangement: {
        char* out = record(kPointer);
        char* in = nullptr;
        if (!chance(10)) {
            in = valueBuffer_.resize(kPointer);
            valueBuffer_.fill(kCanary);
        }
        expect(dispatch(opcode, index, VstIntPtr(in), out, opt), 0);
        void* p = nullptr;
        if (out) std::memcpy(&p, out, sizeof p);
        void* q = nullptr;
        if (in) std::memcpy(&q, in, sizeof q);
        if (p || q) fail("effGetSpeakerArrangement left an arrangement pointer that is not null");
        break;
    }
    case effSetBlockSizeAndSampleRate: expect(dispatch(opcode, index, value, noPointer(), opt), 1); break;
    case effSetBypass: {
        if (chance(70)) value = VstIntPtr(below(2));
        expect(dispatch(opcode, index, value, noPointer(), opt), facts_.answersBypass ? (value != 0 ? 1 : 0) : 0);
        break;
    }
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString: {
        const std::size_t field = opcode == effGetEffectName ? std::size_t(kVstMaxEffectNameLen)
                                                             : std::size_t(kVstMaxVendorStrLen);
        char* text = record(field);
        const VstIntPtr answer = dispatch(opcode, index, value, text, opt);
        const char* wanted = opcode == effGetEffectName ? facts_.effectName
                             : opcode == effGetVendorString ? "Tonewerks"
                                                            : facts_.product;
        if (!text) {
            expect(answer, 0);
        } else if (!wanted) {
            expect(answer, 0);
            untouched(text);
        } else {
            expect(answer, 1);
            if (!terminatedWithin(text, field) || std::strcmp(text, wanted) != 0)
                fail("opcode " + std::to_string(opcode) + " did not write \"" + wanted + "\" within its field");
        }
        break;
    }
    case effGetVendorVersion: expect(dispatch(opcode, index, value, noPointer(), opt), facts_.vendorVersion); break;
    case effCanDo: {
        static const char* const questions[] = {
            "sendVstEvents",        "sendVstMidiEvent",   "receiveVstEvents",   "receiveVstMidiEvent",
            "receiveVstTimeInfo",   "offline",            "midiProgramNames",   "bypass",
            "plugAsChannelInsert",  "plugAsSend",         "mixDryWet",          "noRealTime",
            "multipass",            "metapass",           "1in1out",            "1in2out",
            "2in1out",              "2in2out",            "2in4out",            "4in2out",
            "conformsToWindowRules", "hasCockosExtensions", "hasCockosViewAsConfig", "supportsViewDpiScaling",
            "LiveWithoutToolbar",   "",                   "sizeWindow",         "editFile"};
        const char* q = questions[below(sizeof questions / sizeof questions[0])];
        char* text = nullptr;
        if (!chance(5)) {
            text = pointerBuffer_.resize(std::strlen(q) + 1);
            std::memcpy(text, q, std::strlen(q) + 1);
        }
        expect(dispatch(opcode, index, value, text, opt), 0);
        break;
    }
    case effKeysRequired: expect(dispatch(opcode, index, value, noPointer(), opt), 1); break;
    case effGetVstVersion: expect(dispatch(opcode, index, value, noPointer(), opt), kVstVersion); break;
    case effEditKeyDown:
    case effEditKeyUp: {
        const VstIntPtr answer = dispatch(opcode, index, value, noPointer(), opt);
        if (answer != 0 && answer != 1) fail("a key opcode answered " + std::to_string(answer));
        break;
    }
    case effSetEditKnobMode: expect(dispatch(opcode, index, VstIntPtr(below(3)), noPointer(), opt), 1); break;
    case effSetTotalSampleToProcess: expect(dispatch(opcode, index, value, noPointer(), opt), value); break;
    case effEditIdle:
    case effEditMouse:
    case effEditKey:
    case effEditTop:
    case effEditSleep:
    case effCopyProgram:
    case effGetCurrentPosition:
    case effGetDestinationBuffer:
    case effGetTailSize:
    case effIdle:
    case effGetIcon:
    case effSetViewPosition:
    case effHasMidiProgramsChanged:
    case effBeginSetProgram:
    case effEndSetProgram:
    case effStartProcess:
    case effStopProcess:
    case effSetPanLaw:
    case effSetProcessPrecision:
    case effGetNumMidiInputChannels:
    case effGetNumMidiOutputChannels:
    default: expect(dispatch(opcode, index, value, noPointer(), opt), 0); break;
    }
}

void HostAbuser::checkParameters()
{
    for (VstInt32 i = 0; i < facts_.numParams; ++i) {
        Doing doing("in getParameter");
        const float v = effect_->getParameter(effect_, i);
        if (!(v >= 0.0f && v <= 1.0f)) fail("parameter " + std::to_string(i) + " reads " + std::to_string(v));
    }
}

void HostAbuser::parameterAbuse()
{
    const VstInt32 index = hostileIndex(facts_.numParams);
    const float value = hostileFloat();
    {
        Doing doing("in setParameter");
        effect_->setParameter(effect_, index, value);
    }
    if (index >= 0 && index < facts_.numParams) {
        checkParameters();
        textQuery(effGetParamDisplay, index, kParamText);
    } else {
        Doing doing("in getParameter");
        const float v = effect_->getParameter(effect_, index);
        if (v != facts_.unknownParameter)
            fail("unknown parameter " + std::to_string(index) + " reads " + std::to_string(v));
    }
}

void HostAbuser::programAbuse()
{
    switch (below(5)) {
    case 0: {
        const VstIntPtr p = chance(70) ? VstIntPtr(below(std::uint64_t(facts_.numPrograms))) : hostileValue();
        dispatch(effBeginSetProgram, 0, 0, nullptr, 0);
        dispatch(effSetProgram, 0, p, nullptr, 0);
        dispatch(effEndSetProgram, 0, 0, nullptr, 0);
        checkParameters();
        break;
    }
    case 1: {
        // Names as long as the field allows, and one character short of it.
        char* name = pointerBuffer_.resize(kProgramName);
        for (std::size_t i = 0; i < kProgramName; ++i) name[i] = char('a' + below(26));
        name[chance(50) ? kProgramName - 1 : below(kProgramName)] = 0;
        dispatch(effSetProgramName, 0, 0, name, 0);
        textQuery(effGetProgramName, 0, kProgramName);
        break;
    }
    case 2: textQuery(effGetProgramName, hostileIndex(facts_.numPrograms), kProgramName); break;
    case 3: {
        char* name = pointerBuffer_.resize(kProgramName);
        pointerBuffer_.fill(kCanary);
        if (dispatch(effGetProgramNameIndexed, 0, hostileValue(), name, 0) != 0 || !pointerBuffer_.holds(kCanary))
            fail("effGetProgramNameIndexed answered or wrote, though no effect names programs by index");
        break;
    }
    default: checkParameters(); break;
    }
}

void HostAbuser::audioAbuse()
{
    static const VstInt32 counts[] = {0, 1, 2, 3, 7, 16, 31, 64, 127, 128, 255, 256, 511, 512, 1000, 1024, 2048, 4096, 8192,
                                      65536, -1, -512, INT_MIN};
    VstInt32 frames = counts[below(sizeof counts / sizeof counts[0])];
    if (chance(20)) frames = VstInt32(below(1025));
    // Never more frames than the buffers hold: a host that claims more has the bug, not the effect.
    const std::size_t held = frames > 0 ? std::size_t(frames) : 0;
    const bool inPlace = chance(20);
    const int signal = int(below(8));
    bool bad = false;
    float* channels[4];
    for (int c = 0; c < 4; ++c) {
        channels[c] = reinterpret_cast<float*>(audio_[c].resize(held * sizeof(float)));
        for (std::size_t i = 0; i < held; ++i) {
            float s;
            if (c >= 2) {
                // Whatever the host's output buffers held: an effect may leave them as they are
                // (with its second input unconnected, say), so nothing unusable.
                s = float(double(below(1u << 24)) / double(1u << 22)) - 2.0f;
            } else if (signal < 3) {
                s = 0.5f * float(std::sin(0.01 * double(i) + c));
            } else if (signal == 3) {
                s = 0.0f;
            } else if (signal == 4 && !chance(3)) {
                s = 0.25f;
            } else {
                s = hostileSample();
            }
            if (c < 2 && (!std::isfinite(s) || std::fabs(s) > 1e6f)) bad = true;
            channels[c][i] = s;
        }
    }
    float* in[2] = {channels[0], channels[1]};
    float* out[2] = {inPlace ? channels[0] : channels[2], inPlace ? channels[1] : channels[3]};
    sawBadAudio_ = sawBadAudio_ || bad;
    const auto kind = below(20);
    if (kind == 0) {
        // The deprecated accumulating call: every effect leaves it empty.
        std::vector<float> before(out[0], out[0] + held);
        Doing doing("in process");
        effect_->process(effect_, in, out, frames);
        if (held && std::memcmp(before.data(), out[0], held * sizeof(float)) != 0)
            fail("the accumulating process call changed the output");
    } else if (kind == 1) {
        const std::size_t n = std::min<std::size_t>(held, 4096);
        double* d[4];
        for (int c = 0; c < 4; ++c) {
            d[c] = reinterpret_cast<double*>(doubles_[c].resize(n * sizeof(double)));
            doubles_[c].fill(kCanary);
        }
        double* din[2] = {d[0], d[1]};
        double* dout[2] = {d[2], d[3]};
        Doing doing("in processDoubleReplacing");
        effect_->processDoubleReplacing(effect_, din, dout, VstInt32(n));
        if (!doubles_[2].holds(kCanary)) fail("processDoubleReplacing wrote, though no effect offers it");
    } else {
        Doing doing("in processReplacing");
        effect_->processReplacing(effect_, in, out, frames);
    }
    if (!sawBadAudio_ && kind >= 2) {
        for (int c = 0; c < 2; ++c)
            for (std::size_t i = 0; i < held; ++i)
                if (!std::isfinite(out[c][i])) {
                    fail("sane audio came out non-finite (" + std::to_string(frames) + " frames)");
                    return;
                }
    }
    if (chance(5)) dispatch(effGetVu, 0, 0, nullptr, 0);
}

void HostAbuser::transportAbuse()
{
    static const float rates[] = {44100.0f, 48000.0f, 96000.0f, 192000.0f, 8000.0f, 22050.5f, 1.0f, 0.0f, -44100.0f,
                                  std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                  1e30f, 1e-40f};
    const float rate = chance(70) ? rates[below(sizeof rates / sizeof rates[0])] : hostileFloat();
    switch (below(5)) {
    case 0: dispatch(effSetSampleRate, 0, 0, nullptr, rate); break;
    case 1: dispatch(effSetBlockSizeAndSampleRate, 0, hostileValue(), nullptr, rate); break;
    case 2: dispatch(effSetBlockSize, 0, hostileValue(), nullptr, 0); break;
    case 3:
        // Suspend and resume mid-stream, sometimes with a new rate between, as hosts do.
        dispatch(effMainsChanged, 0, 0, nullptr, 0);
        if (chance(50)) dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        dispatch(effMainsChanged, 0, 1, nullptr, 0);
        break;
    default: dispatch(effMainsChanged, 0, VstIntPtr(below(2)), nullptr, 0); break;
    }
}

void HostAbuser::processSane(VstInt32 frames, bool check, const char* when)
{
    float* c[4];
    for (int i = 0; i < 4; ++i) c[i] = reinterpret_cast<float*>(audio_[i].resize(std::size_t(frames) * sizeof(float)));
    for (VstInt32 i = 0; i < frames; ++i) {
        c[0][i] = 0.5f * float(std::sin(0.05 * i));
        c[1][i] = 0.3f * float(std::cos(0.03 * i));
        c[2][i] = c[3][i] = 0.0f;
    }
    float* in[2] = {c[0], c[1]};
    float* out[2] = {c[2], c[3]};
    {
        Doing doing("in processReplacing");
        effect_->processReplacing(effect_, in, out, frames);
    }
    if (!check) return;
    for (int ch = 2; ch < 4; ++ch)
        for (VstInt32 i = 0; i < frames; ++i)
            if (!std::isfinite(c[ch][i])) {
                fail(std::string("output not finite ") + when);
                return;
            }
}

void HostAbuser::checkRecovery()
{
    // Bad audio and a bad sample rate stop; the effect must come back. First without a reset, after
    // half a second of ordinary signal, then after suspend and resume.
    dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(effSetBlockSize, 0, 512, nullptr, 0);
    dispatch(effSetBypass, 0, 0, nullptr, 0);
    for (int block = 0; block < 44; ++block) processSane(512, block == 43, "half a second after bad input stopped");
    dispatch(effMainsChanged, 0, 0, nullptr, 0);
    dispatch(effMainsChanged, 0, 1, nullptr, 0);
    processSane(512, true, "after bad input stopped and the host suspended and resumed");
    sawBadAudio_ = false;
    checkParameters();
}
