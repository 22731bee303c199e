// The VST build: the "display" parameter at index 0, the program name, the editor hook and the gate on
// the second input. Its identity is checked through the built library, end to end.
#include "tests/effects/vectorgram/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

using namespace vgtest;

namespace {

std::string ask(vectorgram& e, VstInt32 opcode, VstInt32 index = 0)
{
    char text[256] = {};
    e.dispatcher(opcode, index, 0, text, 0);
    return text;
}

struct RecordingEditor : AEffEditor {
    using AEffEditor::AEffEditor;
    void setParameter(VstInt32 index, float value) override { calls.emplace_back(index, value); }
    std::vector<std::pair<VstInt32, float>> calls;
};

} // namespace

TEST(VectorgramVst, DisplayParameterMapsToTenTo512Samples)
{
    vectorgram e(host);
    EXPECT_EQ(ask(e, effGetParamName), "display");
    EXPECT_EQ(ask(e, effGetParamLabel), "samples");
    EXPECT_EQ(ask(e, effGetParamDisplay), "200");
    EXPECT_EQ(e.getParameter(0), 190.0f / 502.0f);
    EXPECT_NEAR(e.getParameter(0), 0.37849f, 1e-5f);

    const struct {
        float value;
        const char* shown;
    } cases[] = {{1.0f, "512"}, {0.0f, "10"}, {0.5f, "261"}, {0.999f, "511"}, {7.0f, "512"}, {-3.0f, "10"}};
    for (const auto& c : cases) {
        e.setParameter(0, c.value);
        EXPECT_EQ(ask(e, effGetParamDisplay), c.shown) << c.value;
    }
    e.setParameter(0, 0.5f);
    EXPECT_EQ(e.getParameter(0), 0.5f);
    EXPECT_EQ(e.getDisplaySamples(), 261);

    // Non-finite values are ignored; other indices are inert.
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()})
        e.setParameter(0, bad);
    e.setParameter(1, 1.0f);
    e.setParameter(-1, 1.0f);
    EXPECT_EQ(e.getDisplaySamples(), 261);
    for (VstInt32 index : {1, -1, 99}) {
        EXPECT_EQ(ask(e, effGetParamName, index), "ERROR");
        EXPECT_EQ(ask(e, effGetParamLabel, index), "ERROR");
        EXPECT_EQ(ask(e, effGetParamDisplay, index), "ERROR");
        EXPECT_EQ(e.getParameter(index), -1.0f);
    }
}

TEST(VectorgramVst, TellsTheEditorEveryParameterChange)
{
    vectorgram e(host);
    ASSERT_NE(e.getEditor(), nullptr); // its own, made by the constructor
    EXPECT_TRUE(e.getAeffect()->flags & effFlagsHasEditor);
    delete e.getEditor();
    auto* editor = new RecordingEditor(&e); // the effect owns and deletes it
    e.setEditor(editor);
    e.setParameter(0, 0.25f);
    e.setParameter(3, 0.75f);
    e.setParameter(0, std::numeric_limits<float>::quiet_NaN());
    e.setParameterAutomated(0, 2.0f);
    // 0.25 gives 10 + trunc(125.5) samples, which reads back as 125 / 502.
    const std::vector<std::pair<VstInt32, float>> expected = {{0, 0.25f}, {3, 0.75f}, {0, 125.0f / 502.0f}, {0, 1.0f}};
    ASSERT_EQ(editor->calls.size(), 4u);
    EXPECT_EQ(editor->calls[0], expected[0]);
    EXPECT_EQ(editor->calls[1], expected[1]);
    EXPECT_EQ(editor->calls[2], expected[2]); // an ignored value: the editor hears the standing one
    EXPECT_EQ(editor->calls[3], expected[3]); // clamped
}

TEST(VectorgramVst, ProgramNameIsCutToItsFieldAndTheHostsLimit)
{
    vectorgram e(host);
    EXPECT_EQ(ask(e, effGetProgramName), "Default");
    std::string longName(200, 'x');
    for (int i = 0; i < 200; ++i) longName[i] = static_cast<char>('a' + i % 26);
    e.dispatcher(effSetProgramName, 0, 0, longName.data(), 0);
    EXPECT_EQ(ask(e, effGetProgramName), longName.substr(0, 23));

    char guarded[40];
    std::memset(guarded, '#', sizeof guarded);
    e.getProgramName(guarded); // called directly, not through the bounded dispatcher
    EXPECT_EQ(std::string(guarded), longName.substr(0, 23));
    EXPECT_EQ(guarded[24], '#');
    EXPECT_EQ(e.getDisplaySamples(), 200); // nothing beyond the field was overwritten
    e.setProgramName(nullptr);

    // A host's 24-byte field, full and not terminated (on the heap, where AddressSanitizer sees any
    // read past it): through the dispatcher and handed straight to the effect alike.
    auto field = std::make_unique<char[]>(kVstMaxProgNameLen);
    std::memset(field.get(), 'v', kVstMaxProgNameLen);
    e.dispatcher(effSetProgramName, 0, 0, field.get(), 0);
    EXPECT_EQ(ask(e, effGetProgramName), std::string(23, 'v'));
    std::memset(field.get(), 'g', kVstMaxProgNameLen);
    e.setProgramName(field.get());
    EXPECT_EQ(ask(e, effGetProgramName), std::string(23, 'g'));
}

TEST(VectorgramVst, ProcessesOnlyWhileTheSecondInputIsConnected)
{
    vectorgram e(host);
    Block signal(64, 0.5f, 0.25f);
    signal.run(e); // before any resume the gate is shut
    EXPECT_EQ(signal.outLeft[0], -7.0f);
    EXPECT_EQ(e.getPeak(0), 0.0f);

    pinAnswer = 1; // the host reports input 1 unconnected
    e.dispatcher(effMainsChanged, 0, 1, nullptr, 0);
    signal.run(e);
    EXPECT_EQ(signal.outRight[63], -7.0f);
    EXPECT_EQ(e.getPeak(1), 0.0f);
    EXPECT_EQ(e.getCaptureLeft()[511].load(), 0.0f);

    pinAnswer = 0;
    e.dispatcher(effMainsChanged, 0, 1, nullptr, 0);
    signal.run(e);
    EXPECT_EQ(signal.outLeft, signal.left);
    EXPECT_EQ(e.getPeak(0), 0.5f);

    pinAnswer = 1;
    e.dispatcher(effMainsChanged, 0, 1, nullptr, 0);
    Block louder(64, 0.9f, 0.9f);
    louder.run(e);
    EXPECT_EQ(e.getPeak(0), 0.5f); // frozen again
    EXPECT_EQ(e.getCaptureLeft()[511].load(), 0.5f);
    pinAnswer = 0;

    vectorgram alone(nullptr); // no host to ask: the input counts as connected
    alone.resume();
    louder.run(alone);
    EXPECT_EQ(louder.outLeft, louder.left);
}
