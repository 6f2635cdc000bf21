// The view's input in a real view (run under Xvfb): what an editor receives for each of its flags,
// rubber bands and the selection events, the popup rule, keys, the navigation presses, hints, and
// the translation of Qt's key and mouse values.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <functional>
#include <string>
#include <vector>

#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "platform/ScriptedUserDialogs.h"
#include "platform/qt/QtKeys.h"
#include "views/OpenGLView.h"
#include "views/OpenGLViewFixture.h"

using namespace sarnova;

namespace {

// Notes every input call as a word, and whether it came inside an overlay bracket.
struct TRecordingEditor : TEditorInterface {
    explicit TRecordingEditor(TOpenGLView& View, std::uint8_t Flags = 0) : View(View), Flags(Flags) {}

    std::uint8_t GetEditorFlags() override { return Flags; }
    bool AllowPopupMenu() override { return Popups; }
    void SelectPoint(IGraphics&, int, int, TShiftState, TSelectAction& Action) override {
        Note("Pick");
        EXPECT_EQ(Action, saDoNothing);
        Action = Answer;
        if (OnPick) OnPick();
    }
    void SelectRect(IGraphics&, const TRect& Rect, TShiftState) override {
        Note("Rect");
        LastRect = Rect;
    }
    void MouseDown(IGraphics&, TMouseButton Button, TShiftState Shift, int, int) override {
        Note(Button == mbLeft ? "DownL" : Button == mbRight ? "DownR" : "DownM");
        LastShift = Shift;
        if (Throw) throw EError("Editor failed");
    }
    void MouseUp(IGraphics&, TMouseButton, TShiftState, int, int) override {
        Note("Up");
        if (Throw) throw EError("Editor failed");
    }
    void MouseMove(IGraphics&, TShiftState, int, int) override { Note("Move"); }
    void HideFeedback() override { Note("Hide"); }
    // Renders show the feedback too; only the calls of the input count here.
    void ShowFeedback() override {
        if (!(View.GetStateFlags() & vfRendering)) Note("Show");
    }
    void KeyDown(TKeyCode& Key, TShiftState) override { Note("KeyDown" + std::to_string(Key)); }
    void KeyUp(TKeyCode& Key, TShiftState) override { Note("KeyUp" + std::to_string(Key)); }
    void KeyPress(char32_t& Key) override { Note("KeyPress" + std::to_string(unsigned(Key))); }
    void GetCursorLocation(IGraphics&, TPoint, TMVector& Location) override {
        if (Locate) Location = {1, 2, 3};
    }

    void Note(const std::string& Word) {
        if (!View.IsOverlayDrawing()) Unbracketed = true;
        Calls += (Calls.empty() ? "" : " ") + Word;
    }

    TOpenGLView& View;
    std::uint8_t Flags;
    TSelectAction Answer = saDoNothing;
    bool Popups = true;
    bool Throw = false;
    bool Locate = false;
    std::function<void()> OnPick;
    std::string Calls;
    bool Unbracketed = false;
    TRect LastRect;
    TShiftState LastShift = 0;
};

class OpenGLViewInputTest : public OpenGLViewFixture {
protected:
    void SetUp() override {
        OpenGLViewFixture::SetUp();
        View->SetInteractionMode(imUser);
        View->Render();
    }

    // Press at (10, 10), a move with the button held to (40, 30), the release there, a free move.
    void Click(TMouseButton Button, TShiftState Shift) {
        const TShiftState Held = Button == mbLeft ? ssLeft : Button == mbRight ? ssRight : ssMiddle;
        View->MouseDown(Button, Shift | Held, 10, 10);
        View->MouseMove(Shift | Held, 40, 30);
        View->MouseUp(Button, Shift, 40, 30);
        View->MouseMove(Shift, 50, 50);
    }

    // White pixels of the row between two columns (the band draws white over the black frame).
    int WhiteInRow(int Y, int X1, int X2) {
        int Count = 0;
        for (int X = X1; X <= X2; ++X) Count += PixelAt(X, Y) == QColor(255, 255, 255);
        return Count;
    }

    void SendMouse(QEvent::Type Type, QPointF Pos, Qt::MouseButton Button, Qt::MouseButtons Buttons,
                   Qt::KeyboardModifiers Modifiers) {
        QMouseEvent Event(Type, Pos, View->mapToGlobal(Pos), Button, Buttons, Modifiers);
        QCoreApplication::sendEvent(View.get(), &Event);
    }

    void SendKey(QEvent::Type Type, int Key, Qt::KeyboardModifiers Modifiers, const QString& Text = {}) {
        QKeyEvent Event(Type, Key, Modifiers, Text);
        QCoreApplication::sendEvent(View.get(), &Event);
    }
};

}  // namespace

TEST_F(OpenGLViewInputTest, TheEditorReceivesWhatItsFlagsAskFor) {
    struct TCase {
        std::uint8_t Flags;
        TMouseButton Button;
        TShiftState Shift;
        TSelectAction Answer;
        const char* Expected;
    };
    const TCase Cases[] = {
        {0, mbLeft, 0, saDoNothing, "DownL Up"},
        {0, mbRight, 0, saDoNothing, "DownR Up"},
        {0, mbLeft, ssShift, saDoNothing, "DownL Up"},
        {2, mbLeft, 0, saDoNothing, "DownL Move Up"},
        {2, mbRight, 0, saDoNothing, "DownR Move Up"},
        {4, mbLeft, 0, saDoNothing, "DownL Move Up Move"},
        {8, mbLeft, 0, saDoNothing, "DownL Up"},
        {1, mbLeft, 0, saDoNothing, "Pick Up"},
        {1, mbRight, 0, saDoNothing, "Pick Up"},
        {1 | 4, mbLeft, 0, saDoNothing, "Pick DownL Move Up Move"},
        {1, mbLeft, 0, saMouseDrag, "Pick DownL Up"},
        {1 | 2, mbLeft, 0, saMouseDrag, "Pick DownL Move Up"},
        {1, mbLeft, 0, saDragRectangle, "Pick Rect"},
        {1, mbLeft, ssShift, saDoNothing, "Rect"},
        {1 | 4, mbLeft, ssShift, saDoNothing, "Rect Move"},
    };
    for (const TCase& C : Cases) {
        TRecordingEditor Editor(*View, C.Flags);
        Editor.Answer = C.Answer;
        View->SetEditorInterface(&Editor);
        Click(C.Button, C.Shift);
        const std::string Case = "flags " + std::to_string(C.Flags) + ", button " + std::to_string(C.Button) +
                                 ", shift " + std::to_string(C.Shift) + ", answer " + std::to_string(C.Answer);
        EXPECT_EQ(Editor.Calls, C.Expected) << Case;
        EXPECT_FALSE(Editor.Unbracketed) << Case;
        EXPECT_FALSE(View->IsOverlayDrawing()) << Case;
        EXPECT_FALSE(View->GetStateFlags() & (vfDragging | vfRubberBand)) << Case;
        if (Editor.Calls.find("Rect") != std::string::npos) {
            EXPECT_EQ(Editor.LastRect, (TRect{10, 10, 40, 30})) << Case;
        }
        View->SetEditorInterface(nullptr);
    }
}

TEST_F(OpenGLViewInputTest, TheRightButtonLeavesThePressToTheMenuOnlyWhenTheEditorAllowsIt) {
    QMenu Menu;
    View->PopupMenu = &Menu;
    struct TCase {
        bool WithEditor;
        bool Allows;
        bool AutoPopup;
        const char* EditorGets;
        bool MenuOffered;
    };
    const TCase Cases[] = {
        {false, false, true, "", true},
        {true, true, true, "", true},
        {true, true, false, "DownR", true},
        {true, false, true, "DownR", false},
    };
    for (const TCase& C : Cases) {
        TRecordingEditor Editor(*View);
        Editor.Popups = C.Allows;
        View->PopupAutoPopup = C.AutoPopup;
        View->SetEditorInterface(C.WithEditor ? &Editor : nullptr);
        View->MouseDown(mbRight, ssRight, 10, 10);
        EXPECT_EQ(Editor.Calls, C.EditorGets);
        EXPECT_EQ(View->GetPopupMenu(), C.MenuOffered ? &Menu : nullptr);
        View->MouseUp(mbRight, 0, 10, 10);
        View->SetEditorInterface(nullptr);
    }
    View->PopupMenu = nullptr;
}

TEST_F(OpenGLViewInputTest, AShiftDragSelectsTheRectangleOfTheBand) {
    int Picks = 0, Rects = 0, Downs = 0;
    TRect Got;
    TSelectAction Answer = saDoNothing;
    View->OnSelectPoint = [&](IGraphics&, int, int, TShiftState, TSelectAction& Action) {
        ++Picks;
        Action = Answer;
    };
    View->OnSelectRect = [&](IGraphics&, const TRect& Rect, TShiftState) {
        ++Rects;
        Got = Rect;
    };
    View->OnMouseDown = [&](void*, TMouseButton, TShiftState, int, int) { ++Downs; };
    const double Distance = View->GetCamera().Distance();

    // Dragged up and to the left: the rectangle comes normalised.
    View->MouseDown(mbLeft, ssShift | ssLeft, 120, 90);
    EXPECT_EQ(View->GetStateFlags() & (vfDragging | vfRubberBand), vfDragging | vfRubberBand);
    View->MouseMove(ssShift | ssLeft, 20, 30);
    EXPECT_GT(WhiteInRow(90, 20, 120), 50);
    EXPECT_GT(WhiteInRow(30, 20, 120), 50);
    EXPECT_TRUE(View->DoMouseWheel(0, 120, {20, 30}));  // ignored during the band
    EXPECT_EQ(View->GetCamera().Distance(), Distance);
    View->MouseMove(ssShift | ssLeft, 25, 35);  // the earlier outline is erased exactly
    EXPECT_EQ(WhiteInRow(30, 20, 120), 0);
    View->MouseUp(mbLeft, ssShift, 25, 35);
    EXPECT_EQ(WhiteInRow(90, 20, 120), 0);
    EXPECT_EQ(WhiteInRow(35, 20, 120), 0);
    EXPECT_EQ(Picks, 0);
    EXPECT_EQ(Rects, 1);
    EXPECT_EQ(Got, (TRect{25, 35, 120, 90}));
    EXPECT_EQ(View->GetCursor(), 22);
    EXPECT_FALSE(View->GetStateFlags() & (vfDragging | vfRubberBand));

    // A band of 3 x 10 pixels is no region.
    View->MouseDown(mbLeft, ssShift | ssLeft, 50, 50);
    View->MouseMove(ssShift | ssLeft, 53, 60);
    View->MouseUp(mbLeft, 0, 53, 60);
    EXPECT_EQ(Rects, 1);
    EXPECT_EQ(View->GetCursor(), crDefault);

    // A plain click picks; only a drag answer lets the control's own press event run.
    for (TSelectAction A : {saDoNothing, saMouseDrag}) {
        Answer = A;
        View->MouseDown(mbLeft, ssLeft, 60, 60);
        View->MouseUp(mbLeft, 0, 60, 60);
    }
    EXPECT_EQ(Picks, 2);
    EXPECT_EQ(Downs, 1);

    // The pick may ask for a band itself.
    Answer = saDragRectangle;
    View->MouseDown(mbLeft, ssLeft, 60, 60);
    View->MouseMove(ssLeft, 100, 100);
    View->MouseUp(mbLeft, 0, 100, 100);
    EXPECT_EQ(Rects, 2);
    EXPECT_EQ(Got, (TRect{60, 60, 100, 100}));
}

TEST_F(OpenGLViewInputTest, KeysReachTheEditorOnlyWithItsFlagAndNoBand) {
    std::vector<TKeyCode> Own;
    View->OnKeyDown = [&](void*, TKeyCode& Key, TShiftState) { Own.push_back(Key); };
    View->OnKeyPress = [&](void*, char32_t& Key) { Own.push_back(TKeyCode(Key)); };

    TRecordingEditor Keyed(*View, efKeys | efSelectPoints);
    View->SetEditorInterface(&Keyed);
    SendKey(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    SendKey(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_EQ(Keyed.Calls, "KeyDown65 KeyPress97 KeyUp65");
    EXPECT_FALSE(Keyed.Unbracketed);
    EXPECT_TRUE(Own.empty());

    // While a band is dragged the keys are the view's own.
    View->MouseDown(mbLeft, ssShift | ssLeft, 10, 10);
    Keyed.Calls.clear();
    TKeyCode Key = VK_ESCAPE;
    View->KeyDown(Key, 0);
    EXPECT_EQ(Keyed.Calls, "");
    EXPECT_EQ(Own, std::vector<TKeyCode>{VK_ESCAPE});
    View->MouseUp(mbLeft, 0, 10, 10);

    TRecordingEditor Deaf(*View, efAllMoves);
    View->SetEditorInterface(&Deaf);
    Own.clear();
    SendKey(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    EXPECT_EQ(Deaf.Calls, "");
    EXPECT_EQ(Own, std::vector<TKeyCode>{VK_LEFT});

    // Shift shows the region cursor until it is released.
    Key = VK_SHIFT;
    View->KeyDown(Key, ssShift);
    EXPECT_EQ(View->GetCursor(), 22);
    View->KeyUp(Key, 0);
    EXPECT_EQ(View->GetCursor(), crArrow);
    View->SetEditorInterface(nullptr);
}

TEST_F(OpenGLViewInputTest, QtMouseEventsArriveTranslated) {
    TRecordingEditor Editor(*View, efSelectPoints);
    View->SetEditorInterface(&Editor);
    SendMouse(QEvent::MouseButtonPress, {30, 40}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(View->GetStateFlags() & vfRubberBand);
    SendMouse(QEvent::MouseMove, {70, 90}, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    SendMouse(QEvent::MouseButtonRelease, {70, 90}, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(Editor.Calls, "Rect");
    EXPECT_EQ(Editor.LastRect, (TRect{30, 40, 70, 90}));

    Editor.Flags = 0;
    Editor.Calls.clear();
    SendMouse(QEvent::MouseButtonPress, {5, 5}, Qt::RightButton, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(Editor.Calls, "DownR");
    EXPECT_EQ(Editor.LastShift, ssCtrl | ssRight);
    SendMouse(QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    View->SetEditorInterface(nullptr);
}

TEST_F(OpenGLViewInputTest, EditorErrorsCloseTheBracketAndEndTheDrag) {
    TRecordingEditor Editor(*View);
    Editor.Throw = true;
    View->SetEditorInterface(&Editor);
    EXPECT_THROW(View->MouseDown(mbLeft, ssLeft, 10, 10), EError);
    EXPECT_FALSE(View->IsOverlayDrawing());
    EXPECT_THROW(View->MouseUp(mbLeft, 0, 10, 10), EError);
    EXPECT_FALSE(View->GetStateFlags() & vfDragging);

    // Through Qt's events the error is reported instead.
    TScriptedUserDialogs Dialogs;
    IUserDialogs* Saved = GExceptionHandler->UserDialogs;
    GExceptionHandler->UserDialogs = &Dialogs;
    SendMouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    GExceptionHandler->UserDialogs = Saved;
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Editor failed.");
    Editor.Throw = false;
    View->MouseUp(mbLeft, 0, 10, 10);

    // A pick that ends the editing leaves nothing to pass the press to.
    TRecordingEditor Picker(*View, efSelectPoints | efAllMoves);
    Picker.OnPick = [&] { View->SetEditorInterface(nullptr); };
    View->SetEditorInterface(&Picker);
    View->MouseDown(mbLeft, ssLeft, 10, 10);
    EXPECT_EQ(Picker.Calls, "Pick");
    EXPECT_FALSE(View->GetStateFlags() & vfDragging);
}

TEST_F(OpenGLViewInputTest, ADragWhoseReleaseWentElsewhereEndsAtTheNextMoveWithoutAButton) {
    for (TInteractionMode Mode : {imRotateWorld, imPan, imZoom}) {
        View->SetInteractionMode(Mode);
        View->MouseDown(mbLeft, ssLeft, 10, 10);
        View->MouseMove(ssLeft, 20, 20);
        EXPECT_TRUE(View->GetStateFlags() & vfDragging) << Mode;
        // The release went to another window; left on, every frame would be drawn as a drag preview.
        View->MouseMove(0, 30, 30);
        EXPECT_FALSE(View->GetStateFlags() & vfDragging) << Mode;
    }
}

TEST_F(OpenGLViewInputTest, FeedbackAndLocationFollowTheMouse) {
    TRecordingEditor Editor(*View, efAllMoves);
    Editor.Locate = true;
    View->SetEditorInterface(&Editor);
    int Leaves = 0;
    View->OnMouseLeave = [&](void*) { ++Leaves; };
    TMVector Location;
    View->OnMouseLocation = [&](void*, double X, double Y, double Z) { Location = {X, Y, Z}; };
    View->DoMouseEnter();
    View->MouseMove(0, 20, 20);
    View->DoMouseLeave();
    EXPECT_EQ(Editor.Calls, "Show Move Hide");
    EXPECT_EQ(Leaves, 1);
    EXPECT_EQ(Location, (TMVector{1, 2, 3}));

    Editor.Flags = 0;
    Editor.Calls.clear();
    View->DoMouseEnter();
    View->DoMouseLeave();
    EXPECT_EQ(Editor.Calls, "");
    View->SetEditorInterface(nullptr);
}

TEST_F(OpenGLViewInputTest, NavigationPressesFollowTheMode) {
    // Ctrl+left in imZoom changes the field of view, in perspective only.
    View->SetProjection(cmParallel);
    View->SetInteractionMode(imZoom);
    View->MouseDown(mbLeft, ssCtrl | ssLeft, 50, 50);
    EXPECT_FALSE(View->GetStateFlags() & vfDragging);
    View->MouseUp(mbLeft, ssCtrl, 50, 50);
    View->SetProjection(cmPerspective);
    View->MouseDown(mbLeft, ssCtrl | ssLeft, 50, 50);
    EXPECT_EQ(View->GetDragMode(), imFieldOfView);
    // A middle press during a left drag is ignored.
    View->MouseDown(mbMiddle, ssCtrl | ssLeft | ssMiddle, 50, 50);
    EXPECT_FALSE(View->GetStateFlags() & vfMiddlePan);
    View->MouseUp(mbLeft, 0, 50, 60);
    EXPECT_FALSE(View->GetStateFlags() & vfDragging);

    // The middle button pans in any mode and puts the cursor back.
    View->SetInteractionMode(imUser);
    View->MouseDown(mbMiddle, ssMiddle, 50, 50);
    EXPECT_EQ(View->GetStateFlags() & (vfDragging | vfMiddlePan), vfDragging | vfMiddlePan);
    EXPECT_EQ(View->GetCursor(), 12);
    View->MouseMove(ssMiddle, 60, 50);
    View->MouseUp(mbMiddle, 0, 60, 50);
    EXPECT_FALSE(View->GetStateFlags() & (vfDragging | vfMiddlePan));
    EXPECT_EQ(View->GetCursor(), crArrow);

    // Drag box: nothing without a handler; with one the normalised band.
    View->SetInteractionMode(imDragBox);
    View->MouseDown(mbLeft, ssLeft, 150, 120);
    EXPECT_FALSE(View->GetStateFlags() & vfDragging);
    View->MouseUp(mbLeft, 0, 150, 120);
    std::vector<TRect> Boxes;
    View->OnDragRect = [&](void*, const TRect& R) { Boxes.push_back(R); };
    View->MouseDown(mbLeft, ssLeft, 150, 120);
    View->MouseMove(ssLeft, 30, 40);
    View->MouseUp(mbLeft, 0, 30, 40);
    EXPECT_EQ(Boxes, std::vector<TRect>{(TRect{30, 40, 150, 120})});

    // Zoom window: the band becomes the camera's window.
    View->SetProjection(cmParallel);
    View->SetInteractionMode(imZoomWindow);
    const double Size = View->GetCamera().GetViewSize();
    View->MouseDown(mbLeft, ssLeft, 60, 50);
    View->MouseMove(ssLeft, 100, 90);
    View->MouseUp(mbLeft, 0, 100, 90);
    EXPECT_LT(View->GetCamera().GetViewSize(), Size);
    EXPECT_FALSE(View->GetStateFlags() & (vfDragging | vfRubberBand));
}

TEST_F(OpenGLViewInputTest, ModesSendTheirHintsAndImRotateIsRefused) {
    std::vector<std::string> Hints;
    View->OnHintInformation = [&](void*, const std::string& Text) { Hints.push_back(Text); };
    View->SetProjection(cmParallel);
    View->SetInteractionMode(imZoom);
    View->SetProjection(cmPerspective);
    View->SetInteractionMode(imZoom);
    View->SetInteractionMode(imRotateView);
    View->SetInteractionMode(imNone);
    View->SetInteractionMode(imEdit);
    const std::vector<std::string> Expected = {
        "Left Click to Zoom, Middle Click to Pan, MouseWheel Up/Down to Zoom In/Out",
        "Left Click to Zoom, Ctrl+Left Click to change FOV, Middle Click to Pan, MouseWheel Up/Down to Zoom In/Out",
        "Left Click Rotate about Camera Lookat, Ctrl+Left Click to Rotate Camera, Middle Click to Pan, MouseWheel "
        "Up/Down to Zoom In/Out"};
    EXPECT_EQ(Hints, Expected);

    try {
        View->SetInteractionMode(imRotate);
        ADD_FAILURE() << "imRotate was accepted";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "TOpenGLView.InteractionMode - imRotate no longer supported");
    }
    EXPECT_EQ(View->GetInteractionMode(), imEdit);
    EXPECT_EQ(Hints.size(), Expected.size());
}

TEST(QtKeys, KeysBecomeVirtualKeyCodes) {
    struct TCase {
        int Key;
        Qt::KeyboardModifiers Modifiers;
        TKeyCode Expected;
    };
    const TCase Cases[] = {
        {Qt::Key_A, Qt::NoModifier, 'A'},
        {Qt::Key_Z, Qt::ShiftModifier, 'Z'},
        {Qt::Key_0, Qt::NoModifier, '0'},
        {Qt::Key_Exclam, Qt::ShiftModifier, '1'},
        {Qt::Key_ParenRight, Qt::ShiftModifier, '0'},
        {Qt::Key_7, Qt::KeypadModifier, 103},
        {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Plus, Qt::ShiftModifier, 187},
        {Qt::Key_Period, Qt::NoModifier, 190},
        {Qt::Key_Question, Qt::ShiftModifier, 191},
        {Qt::Key_BraceRight, Qt::ShiftModifier, 221},
        {Qt::Key_Return, Qt::NoModifier, VK_RETURN},
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_Backtab, Qt::ShiftModifier, VK_TAB},
        {Qt::Key_Escape, Qt::NoModifier, VK_ESCAPE},
        {Qt::Key_Shift, Qt::ShiftModifier, VK_SHIFT},
        {Qt::Key_Control, Qt::ControlModifier, VK_CONTROL},
        {Qt::Key_Alt, Qt::AltModifier, VK_MENU},
        {Qt::Key_PageUp, Qt::NoModifier, VK_PRIOR},
        {Qt::Key_End, Qt::KeypadModifier, VK_END},
        {Qt::Key_Down, Qt::NoModifier, VK_DOWN},
        {Qt::Key_Delete, Qt::NoModifier, VK_DELETE},
        {Qt::Key_F1, Qt::NoModifier, VK_F1},
        {Qt::Key_F12, Qt::NoModifier, VK_F12},
        {Qt::Key_F24, Qt::NoModifier, 135},
        {Qt::Key_Eacute, Qt::NoModifier, 0},
        {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const TCase& C : Cases) EXPECT_EQ(QtKeyToVirtualKey(C.Key, C.Modifiers), C.Expected) << std::hex << C.Key;
}

TEST(QtKeys, ModifiersAndButtonsBecomeShiftStates) {
    EXPECT_EQ(QtShiftState(Qt::NoModifier, Qt::NoButton), 0);
    EXPECT_EQ(QtShiftState(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier,
                           Qt::NoButton),
              ssShift | ssCtrl | ssAlt);
    EXPECT_EQ(QtShiftState(Qt::NoModifier, Qt::LeftButton | Qt::RightButton | Qt::MiddleButton | Qt::BackButton),
              ssLeft | ssRight | ssMiddle);
    TMouseButton B = mbLeft;
    EXPECT_TRUE(QtMouseButton(Qt::RightButton, B));
    EXPECT_EQ(B, mbRight);
    EXPECT_TRUE(QtMouseButton(Qt::MiddleButton, B));
    EXPECT_EQ(B, mbMiddle);
    EXPECT_FALSE(QtMouseButton(Qt::BackButton, B));
}
