#include "effectbase/AudioEffectX.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};
std::vector<HostCall> hostCalls;
VstIntPtr pinAnswer = 0;

VstIntPtr VSTCALLBACK recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*, float opt)
{
    hostCalls.push_back({opcode, index, value, opt});
    if (opcode == audioMasterVersion) return kVstVersion;
    if (opcode == audioMasterPinConnected) return pinAnswer;
    return 0;
}

int liveEditors = 0;
int liveEffects = 0;

class ProbeEditor : public AEffEditor {
public:
    explicit ProbeEditor(AudioEffect* effect) : AEffEditor(effect) { ++liveEditors; }
    ~ProbeEditor() override { --liveEditors; }
    bool getRect(ERect** r) override
    {
        *r = &rect;
        return true;
    }
    bool open(void* parent) override
    {
        AEffEditor::open(parent);
        return true;
    }
    bool onKeyDown(VstKeyCode& key) override
    {
        lastKey = key;
        return true;
    }
    bool onKeyUp(VstKeyCode& key) override
    {
        lastKey = key;
        return false;
    }
    bool setKnobMode(VstInt32 mode) override
    {
        knobMode = mode;
        return true;
    }
    void idle() override { ++idles; }
    ERect rect{0, 0, 110, 350};
    VstKeyCode lastKey{};
    VstInt32 knobMode = -1;
    int idles = 0;
};

class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(audioMasterCallback host, bool withEditor = false) : AudioEffectX(host, 4, 2)
    {
        ++liveEffects;
        if (withEditor) setEditor(new ProbeEditor(this));
    }
    ~ProbeEffect() override { --liveEffects; }
    float getVu() override { return vu; }
    void resume() override { ++resumes; }
    void suspend() override { ++suspends; }
    void getParameterName(VstInt32, char* text) override { std::strcpy(text, longName); }
    // Trusts the name to be terminated, as an effect written without the host in mind would.
    void setProgramName(char* name) override { programName = name; }
    void processReplacing(float**, float** outputs, VstInt32) override
    {
        // The audio thread reads what the control thread sets.
        if (outputs && outputs[0]) {
            outputs[0][0] = getSampleRate();
            outputs[0][1] = static_cast<float>(getBlockSize());
            outputs[0][2] = static_cast<float>(getProgram());
        }
    }
    // Like the dynamics effect: nothing at all for an index it does not know.
    void getParameterLabel(VstInt32 index, char* text) override
    {
        if (index == 0) std::strcpy(text, " dB");
    }
    void setParameter(VstInt32 index, float value) override
    {
        lastIndex = index;
        lastValue = value;
    }
    ProbeEditor* probeEditor() { return static_cast<ProbeEditor*>(editor); }
    float vu = 0;
    int resumes = 0;
    int suspends = 0;
    VstInt32 lastIndex = -1;
    float lastValue = -1;
    const char* longName = "short";
    std::string programName;
};

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        hostCalls.clear();
        pinAnswer = 0;
    }
    VstIntPtr call(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0)
    {
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }
};

TEST_F(Dispatcher, RecordHasTheBaseValues)
{
    ProbeEffect effect(recordingHost);
    const AEffect* e = effect.getAeffect();
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->uniqueID, 0x4E6F4566);
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->flags, effFlagsCanReplacing);
    EXPECT_EQ(e->numPrograms, 4);
    EXPECT_EQ(e->numParams, 2);
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->object, &effect);
    EXPECT_EQ(e->initialDelay, 0);
    for (char c : e->future) EXPECT_EQ(c, 0);
}

TEST_F(Dispatcher, FlagSettersSetAndClearTheirBits)
{
    ProbeEffect effect(recordingHost);
    const AEffect* e = effect.getAeffect();
    effect.hasVu(true);
    effect.canDoubleReplacing(true);
    effect.programsAreChunks(true);
    effect.hasClip(true);
    effect.canMono(true);
    EXPECT_EQ(e->flags, effFlagsCanReplacing | effFlagsHasVu | effFlagsCanDoubleReplacing | effFlagsProgramChunks |
                            effFlagsHasClip | effFlagsCanMono);
    effect.hasVu(false);
    effect.canDoubleReplacing(false);
    effect.programsAreChunks(false);
    effect.hasClip(false);
    effect.canMono(false);
    effect.canProcessReplacing(false);
    EXPECT_EQ(e->flags, 0);
    effect.setEditor(new ProbeEditor(&effect));
    EXPECT_EQ(e->flags, effFlagsHasEditor);
    delete effect.getEditor();
    effect.setEditor(nullptr);
    EXPECT_EQ(e->flags, 0);
}

TEST_F(Dispatcher, FixedAnswers)
{
    ProbeEffect effect(recordingHost);
    AEffect* e = effect.getAeffect();
    EXPECT_EQ(call(e, effGetVstVersion), 2400);
    EXPECT_EQ(call(e, effIdentify), 0x4E764566);
    EXPECT_EQ(call(e, effCanBeAutomated, 0), 1);
    EXPECT_EQ(call(e, effCanBeAutomated, 12345), 1);
    char cap[] = "receiveVstEvents";
    EXPECT_EQ(call(e, effCanDo, 0, 0, cap), 0);
    EXPECT_EQ(call(e, effKeysRequired), 1);
    EXPECT_EQ(call(e, effGetNumProgramCategories), 1);
    EXPECT_EQ(call(e, effConnectInput, 1, 1), 1);
    EXPECT_EQ(call(e, effConnectOutput, 1, 0), 1);
    EXPECT_EQ(call(e, effGetCurrentMidiProgram), -1);
    EXPECT_EQ(call(e, effSetTotalSampleToProcess, 0, 777), 777);
    EXPECT_EQ(call(e, effGetPlugCategory), kPlugCategUnknown);
    EXPECT_EQ(call(e, effSetBypass, 0, 1), 0);
    EXPECT_EQ(call(e, effGetVendorVersion), 0);
    EXPECT_EQ(call(e, effGetChunk), 0);
    EXPECT_EQ(call(e, effSetChunk), 0);
    for (VstInt32 op : {16, 17, 18, 20, 21, 25, 27, 29, 30, 46, 52, 53, 62, 70, 77, 79, 80, 1000, -5})
        EXPECT_EQ(call(e, op), 0) << "opcode " << op;
    char name[64] = "unchanged";
    EXPECT_EQ(call(e, effGetEffectName, 0, 0, name), 0);
    EXPECT_EQ(call(e, effGetVendorString, 0, 0, name), 0);
    EXPECT_EQ(call(e, effGetProductString, 0, 0, name), 0);
}

TEST_F(Dispatcher, ProgramIndexOutOfRangeIsIgnored)
{
    ProbeEffect effect(recordingHost);
    AEffect* e = effect.getAeffect();
    call(e, effSetProgram, 0, 3);
    EXPECT_EQ(call(e, effGetProgram), 3);
    call(e, effSetProgram, 0, 4); // numPrograms
    call(e, effSetProgram, 0, -1);
    call(e, effSetProgram, 0, static_cast<VstIntPtr>(INTPTR_MAX)); // wider than any index
    EXPECT_EQ(call(e, effGetProgram), 3);
}

TEST_F(Dispatcher, RatesAndMains)
{
    ProbeEffect effect(recordingHost);
    AEffect* e = effect.getAeffect();
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    call(e, effSetSampleRate, 0, 0, nullptr, 96000.0f);
    call(e, effSetBlockSize, 0, 256);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(effect.getBlockSize(), 256);
    EXPECT_EQ(call(e, effSetBlockSizeAndSampleRate, 0, 128, nullptr, 48000.0f), 1);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.getBlockSize(), 128);
    call(e, effMainsChanged, 0, 1);
    call(e, effMainsChanged, 0, 0);
    EXPECT_EQ(effect.resumes, 1);
    EXPECT_EQ(effect.suspends, 1);
}

TEST_F(Dispatcher, VuIsScaledTruncatedAndBounded)
{
    ProbeEffect effect(recordingHost);
    AEffect* e = effect.getAeffect();
    effect.vu = 0.5f;
    EXPECT_EQ(call(e, effGetVu), 16383);
    effect.vu = 1.0f;
    EXPECT_EQ(call(e, effGetVu), 32767);
    effect.vu = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(call(e, effGetVu), 0);
    effect.vu = std::numeric_limits<float>::infinity();
    EXPECT_EQ(call(e, effGetVu), std::numeric_limits<VstInt32>::max());
    effect.vu = -1e30f;
    EXPECT_EQ(call(e, effGetVu), std::numeric_limits<VstInt32>::min());
}

TEST_F(Dispatcher, NullPointersAreAnswered0AndTouchNothing)
{
    ProbeEffect effect(recordingHost, true);
    AEffect* e = effect.getAeffect();
    for (VstInt32 op : {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
                        effEditGetRect, effGetEffectName, effGetVendorString, effGetProductString, effCanDo})
        EXPECT_EQ(call(e, op, 0, 0, nullptr), 0) << "opcode " << op;
    // The value argument is often 0: only the non-null one is written.
    void* output = &effect;
    EXPECT_EQ(call(e, effGetSpeakerArrangement, 0, 0, &output), 0);
    EXPECT_EQ(output, nullptr);
    void* input = &effect;
    call(e, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), nullptr);
    EXPECT_EQ(input, nullptr);
}

TEST_F(Dispatcher, TextsAreCutTo23Characters)
{
    ProbeEffect effect(recordingHost);
    AEffect* e = effect.getAeffect();
    effect.longName = "a parameter name far longer than its field";
    char text[64];
    std::memset(text, '#', sizeof text);
    call(e, effGetParamName, 0, 0, text);
    EXPECT_EQ(std::string(text), std::string(effect.longName).substr(0, 23));
    EXPECT_EQ(text[24], '#');
}

TEST_F(Dispatcher, ProgramNamesAreReadNoFurtherThanTheHostsField)
{
    ProbeEffect effect(recordingHost);
    AEffect* e = effect.getAeffect();
    // A host's field of 24 bytes, full to the last one and not terminated; on the heap, so that
    // AddressSanitizer sees any read past it.
    auto field = std::make_unique<char[]>(kVstMaxProgNameLen);
    std::memset(field.get(), 'p', kVstMaxProgNameLen);
    EXPECT_EQ(call(e, effSetProgramName, 0, 0, field.get()), 0);
    EXPECT_EQ(effect.programName, std::string(23, 'p'));
    char shortName[] = "Wide";
    call(e, effSetProgramName, 0, 0, shortName);
    EXPECT_EQ(effect.programName, "Wide");
}

// The host changes rate, block size and program on its control thread while its audio thread
// processes; under ThreadSanitizer the hand-over must be clean, and the audio side sees whole values.
TEST_F(Dispatcher, RatesChangeWhileAudioRuns)
{
    ProbeEffect effect(nullptr);
    AEffect* e = effect.getAeffect();
    std::atomic<bool> done{false};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        float out[3] = {};
        float* outputs[] = {out};
        int odd = 0;
        while (!done.load() || blocks.load() < 100) {
            e->processReplacing(e, nullptr, outputs, 2);
            odd += !(out[0] == 44100.0f || out[0] == 48000.0f || out[0] == 96000.0f);
            odd += !(out[1] == 1024.0f || out[1] == 64.0f || out[1] == 512.0f);
            odd += !(out[2] >= 0.0f && out[2] <= 3.0f);
            blocks.fetch_add(1);
        }
        EXPECT_EQ(odd, 0);
    });
    for (int round = 0; round < 2000 || blocks.load() < 100; ++round) {
        call(e, effSetSampleRate, 0, 0, nullptr, round % 2 ? 48000.0f : 96000.0f);
        call(e, effSetBlockSize, 0, round % 2 ? 64 : 512);
        call(e, effSetBlockSizeAndSampleRate, 0, 64, nullptr, 48000.0f);
        call(e, effSetProgram, 0, round % 4);
    }
    done.store(true);
    audio.join();
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.getBlockSize(), 64);
}

TEST_F(Dispatcher, AnEffectThatWritesNoTextLeavesTheHostsBufferAsItWas)
{
    ProbeEffect effect(recordingHost);
    AEffect* e = effect.getAeffect();
    char text[24];
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(call(e, effGetParamLabel, 1, 0, text), 0);
    EXPECT_EQ(std::string(text, sizeof text), std::string(sizeof text, '#'));
    call(e, effGetParamLabel, 0, 0, text);
    EXPECT_STREQ(text, " dB");
    // An empty text is still a text: its zero arrives.
    std::memset(text, '#', sizeof text);
    effect.longName = "";
    call(e, effGetParamName, 0, 0, text);
    EXPECT_EQ(text[0], 0);
    EXPECT_EQ(text[1], '#');
}

TEST_F(Dispatcher, NullRecordOrObjectAnswers0)
{
    ProbeEffect effect(recordingHost);
    AEffect copy = *effect.getAeffect();
    EXPECT_EQ(copy.dispatcher(nullptr, effGetVstVersion, 0, 0, nullptr, 0), 0);
    copy.object = nullptr;
    EXPECT_EQ(copy.dispatcher(&copy, effGetVstVersion, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(copy.getParameter(&copy, 0), 0.0f);
    copy.setParameter(&copy, 0, 1.0f);
    copy.processReplacing(&copy, nullptr, nullptr, 16);
    copy.process(nullptr, nullptr, nullptr, 16);
    EXPECT_EQ(effect.lastIndex, -1);
}

TEST_F(Dispatcher, EditorOpcodesReachTheEditor)
{
    ProbeEffect effect(recordingHost, true);
    AEffect* e = effect.getAeffect();
    ProbeEditor* editor = effect.probeEditor();
    EXPECT_TRUE(e->flags & effFlagsHasEditor);

    ERect* rect = nullptr;
    EXPECT_EQ(call(e, effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 350);
    int window = 0;
    EXPECT_EQ(call(e, effEditOpen, 0, 0, &window), 1);
    EXPECT_TRUE(editor->isOpen());
    call(e, effEditIdle);
    EXPECT_EQ(editor->idles, 1);
    EXPECT_EQ(call(e, effEditClose), 0);
    EXPECT_FALSE(editor->isOpen());

    EXPECT_EQ(call(e, effEditKeyDown, 'a', 0x1234, nullptr, 0x105), 1);
    EXPECT_EQ(editor->lastKey.character, 'a');
    EXPECT_EQ(editor->lastKey.virt, 0x34);
    EXPECT_EQ(editor->lastKey.modifier, 0x05);
    EXPECT_EQ(call(e, effEditKeyUp, 'b', 3, nullptr, 2.9f), 0);
    EXPECT_EQ(editor->lastKey.character, 'b');
    EXPECT_EQ(editor->lastKey.modifier, 2);
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e20f,
                      -1e20f}) {
        call(e, effEditKeyDown, 'c', 1, nullptr, bad);
        EXPECT_EQ(editor->lastKey.modifier, 0);
    }
    EXPECT_EQ(call(e, effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(editor->knobMode, 2);
}

TEST_F(Dispatcher, EditorOpcodesWithoutEditorAnswer0)
{
    ProbeEffect effect(recordingHost);
    AEffect* e = effect.getAeffect();
    ERect* rect = nullptr;
    int window = 0;
    EXPECT_EQ(call(e, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(call(e, effEditOpen, 0, 0, &window), 0);
    EXPECT_EQ(call(e, effEditKeyDown, 'a'), 0);
    EXPECT_EQ(call(e, effSetEditKnobMode, 0, 1), 0);
    call(e, effEditIdle);
    call(e, effEditClose);
}

TEST_F(Dispatcher, CloseDeletesEffectAndEditor)
{
    auto* effect = new ProbeEffect(recordingHost, true);
    EXPECT_EQ(liveEffects, 1);
    EXPECT_EQ(liveEditors, 1);
    AEffect* e = effect->getAeffect();
    EXPECT_EQ(call(e, effClose), 1);
    EXPECT_EQ(liveEffects, 0);
    EXPECT_EQ(liveEditors, 0);
}

TEST_F(Dispatcher, HostCalls)
{
    ProbeEffect effect(recordingHost);
    effect.setParameterAutomated(1, 0.25f);
    EXPECT_EQ(effect.lastIndex, 1);
    EXPECT_EQ(effect.lastValue, 0.25f);
    ASSERT_EQ(hostCalls.size(), 1u);
    EXPECT_EQ(hostCalls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(hostCalls[0].index, 1);
    EXPECT_EQ(hostCalls[0].opt, 0.25f);

    pinAnswer = 0;
    EXPECT_TRUE(effect.isInputConnected(1));
    pinAnswer = 1;
    EXPECT_FALSE(effect.isInputConnected(1));
    EXPECT_EQ(hostCalls.back().opcode, audioMasterPinConnected);
    EXPECT_EQ(hostCalls.back().index, 1);

    hostCalls.clear();
    effect.beginEdit(2);
    effect.endEdit(2);
    effect.masterIdle();
    char what[] = "sizeWindow";
    EXPECT_FALSE(effect.canHostDo(what));
    EXPECT_FALSE(effect.sizeWindow(350, 110));
    ASSERT_EQ(hostCalls.size(), 5u);
    EXPECT_EQ(hostCalls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(hostCalls[1].opcode, audioMasterEndEdit);
    EXPECT_EQ(hostCalls[2].opcode, audioMasterIdle);
    EXPECT_EQ(hostCalls[3].opcode, audioMasterCanDo);
    EXPECT_EQ(hostCalls[4].opcode, audioMasterSizeWindow);
    EXPECT_EQ(hostCalls[4].index, 350);
    EXPECT_EQ(hostCalls[4].value, 110);
}

TEST_F(Dispatcher, NoHostMakesHostCallsNoOps)
{
    ProbeEffect effect(nullptr);
    effect.setParameterAutomated(0, 0.75f);
    EXPECT_EQ(effect.lastValue, 0.75f);
    EXPECT_TRUE(effect.isInputConnected(1));
    EXPECT_FALSE(effect.beginEdit(0));
    effect.masterIdle();
}

TEST(SanitizeParameter, IgnoresNonFiniteAndClampsTheRest)
{
    float v = 0.3f;
    EXPECT_TRUE(AudioEffect::sanitizeParameter(v));
    EXPECT_EQ(v, 0.3f);
    v = -0.5f;
    EXPECT_TRUE(AudioEffect::sanitizeParameter(v));
    EXPECT_EQ(v, 0.0f);
    v = 7.0f;
    EXPECT_TRUE(AudioEffect::sanitizeParameter(v));
    EXPECT_EQ(v, 1.0f);
    v = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(AudioEffect::sanitizeParameter(v));
    v = -std::numeric_limits<float>::infinity();
    EXPECT_FALSE(AudioEffect::sanitizeParameter(v));
}

} // namespace
