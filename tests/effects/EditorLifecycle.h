// What every editor must do, whatever its layout: answer its size before any window, and survive
// closing the effect with the editor open, a host window that cannot be made, and a thousand opens
// and closes. Each editor's test instantiates
// these for its EditorPair.
#pragma once

#include "tests/effects/EditorHarness.h"

namespace editortest {

template <class EffectClass, class EditorClass>
struct EditorPair {
    using Effect = EffectClass;
    using Editor = EditorClass;
};

template <class Pair>
class EditorLifecycle : public EditorHarness<typename Pair::Effect, typename Pair::Editor> {};

TYPED_TEST_SUITE_P(EditorLifecycle);

TYPED_TEST_P(EditorLifecycle, TheEffectHasAnEditorOfItsSizeBeforeAnyWindow)
{
    ASSERT_NE(this->editor, nullptr);
    EXPECT_TRUE(this->aeffect->flags & effFlagsHasEditor);
    ERect* r = nullptr;
    ASSERT_EQ(this->dispatch(effEditGetRect, &r), 1);
    EXPECT_EQ(r->top, 0);
    EXPECT_EQ(r->left, 0);
    EXPECT_EQ(r->bottom, this->kHeight);
    EXPECT_EQ(r->right, this->kWidth);
    EXPECT_EQ(this->editor->getFrame(), nullptr);
}

TYPED_TEST_P(EditorLifecycle, ClosingTheEffectWithTheEditorOpenLeavesNoWindow)
{
    ASSERT_TRUE(this->open());
    this->paintAll();
    this->idle(2);
    this->dispatch(effClose);
    this->aeffect = nullptr;
    EXPECT_EQ(this->headless.windowCount(), 0u);
}

TYPED_TEST_P(EditorLifecycle, AFailedWindowMeansNoEditor)
{
    this->headless.failNextWindow();
    EXPECT_FALSE(this->open());
    EXPECT_EQ(this->editor->getFrame(), nullptr);
    EXPECT_FALSE(this->editor->isEditorOpen());
    this->idle();
    this->aeffect->setParameter(this->aeffect, 0, 0.3f);  // nothing to show it on: nothing happens
    EXPECT_TRUE(this->open());
}

TYPED_TEST_P(EditorLifecycle, OpenAndClose1000Times)
{
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(this->open());
        if (i % 100 == 0) {
            this->paintAll();
            this->idle(2);
        }
        this->dispatch(effEditClose);
    }
    EXPECT_EQ(this->headless.windowCount(), 0u);
}

REGISTER_TYPED_TEST_SUITE_P(EditorLifecycle, TheEffectHasAnEditorOfItsSizeBeforeAnyWindow,
                            ClosingTheEffectWithTheEditorOpenLeavesNoWindow,
                            AFailedWindowMeansNoEditor, OpenAndClose1000Times);

}  // namespace editortest
