// The Pro Tools build: "display" moves to index 2 behind two inert parameters, nothing gates the audio,
// and parameter changes are only stored (the Pro Tools side updates the editor itself).
#include "tests/effects/vectorgram/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace vgtest;

static_assert(vectorgram::kProToolsBuild, "this program tests the Pro Tools variant");

namespace {

std::string ask(vectorgram& e, VstInt32 opcode, VstInt32 index)
{
    char text[256] = {};
    e.dispatcher(opcode, index, 0, text, 0);
    return text;
}

struct RecordingEditor : AEffEditor {
    using AEffEditor::AEffEditor;
    void setParameter(VstInt32, float) override { ++calls; }
    int calls = 0;
};

} // namespace

TEST(VectorgramProTools, CarriesDisplayAtIndexTwoBehindTwoInertParameters)
{
    vectorgram e(host);
    EXPECT_EQ(e.getAeffect()->numParams, 3);
    EXPECT_EQ(e.getAeffect()->uniqueID, 0x2B76676D);
    EXPECT_EQ(e.getAeffect()->flags & effFlagsHasEditor, 0);
    for (VstInt32 inert : {0, 1}) {
        EXPECT_EQ(ask(e, effGetParamName, inert), "ERROR");
        EXPECT_EQ(ask(e, effGetParamLabel, inert), "ERROR");
        EXPECT_EQ(ask(e, effGetParamDisplay, inert), "ERROR");
        EXPECT_EQ(e.getParameter(inert), -1.0f);
        e.setParameter(inert, 1.0f);
    }
    EXPECT_EQ(ask(e, effGetParamName, 2), "display");
    EXPECT_EQ(ask(e, effGetParamLabel, 2), "samples");
    EXPECT_EQ(ask(e, effGetParamDisplay, 2), "200");
    e.setParameter(2, 0.5f);
    EXPECT_EQ(ask(e, effGetParamDisplay, 2), "261");
    EXPECT_EQ(e.getParameter(2), 0.5f);
}

TEST(VectorgramProTools, RunsWithoutAGateAndOnlyStoresParameters)
{
    pinAnswer = 1; // would shut the VST build's gate
    vectorgram e(host);
    e.resume();
    pinAnswer = 0;
    Block signal(32, 0.5f, -0.5f);
    signal.run(e);
    EXPECT_EQ(signal.outLeft, signal.left);
    EXPECT_EQ(signal.outRight, signal.right);
    EXPECT_EQ(e.getPeak(0), 0.5f);

    auto* editor = new RecordingEditor(&e);
    e.setEditor(editor);
    e.setParameter(2, 1.0f);
    e.setParameter(0, 1.0f);
    EXPECT_EQ(e.getDisplaySamples(), 512);
    EXPECT_EQ(editor->calls, 0);
}
