#include <gtest/gtest.h>

#include "foundation/Graphics.h"
#include "platform/RecordingGraphics.h"

namespace sarnova {
namespace {

TEST(TEditorInterface, WantsNothingAndLeavesInOutArgumentsAlone) {
    TEditorInterface Editor;
    TRecordingGraphics View;

    EXPECT_EQ(Editor.GetEditorFlags(), 0);
    EXPECT_TRUE(Editor.AllowPopupMenu());

    TSelectAction Action = saMouseDrag;
    Editor.SelectPoint(View, 3, 4, ssShift, Action);
    EXPECT_EQ(Action, saMouseDrag);

    TMVector Location{1, 2, 3};
    Editor.GetCursorLocation(View, {5, 6}, Location);
    EXPECT_EQ(Location, (TMVector{1, 2, 3}));

    TKeyCode Key = VK_TAB;
    Editor.KeyDown(Key, ssCtrl);
    Editor.KeyUp(Key, 0);
    EXPECT_EQ(Key, VK_TAB);
    char32_t Char = U'a';
    Editor.KeyPress(Char);
    EXPECT_EQ(Char, U'a');

    // The do-nothing editor draws nothing into the view it is given.
    Editor.MouseDown(View, mbLeft, ssLeft, 1, 1);
    Editor.MouseMove(View, ssLeft, 2, 2);
    Editor.MouseUp(View, mbLeft, 0, 2, 2);
    Editor.SelectRect(View, {0, 0, 10, 10}, 0);
    EXPECT_TRUE(View.Calls.empty());
}

}  // namespace
}  // namespace sarnova
