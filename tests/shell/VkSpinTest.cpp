#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <cmath>
#include <vector>

#include "ControlsTestSupport.h"
#include "shell/ShellTestSupport.h"
#include "controls/VkSpin.h"

namespace sarnova {
namespace {

using test::SendKey;
using test::SendMouse;

std::string Text(const TVkSpinEdit& Spin) { return Spin.GetEdit()->text().toStdString(); }

TEST(SpinValueText, FormatsBySpinType) {
    struct Case {
        float Value;
        TVkSpinType Type;
        int Precision;
        const char* Expected;
    };
    const Case Cases[] = {
        {0, spFloat, 2, "0.00"},      {0, spFloat, 3, "0.000"},     {1234.5678f, spFloat, 2, "1234.57"},
        {-0.125f, spFloat, 1, "-0.1"}, {2.9f, spInteger, 2, "2"},     {-2.9f, spInteger, 2, "-2"},
        {-0.5f, spInteger, 2, "0"},    {12345678, spFloat, 2, "1.234568E07"},
    };
    for (const Case& C : Cases) EXPECT_EQ(SpinValueText(C.Value, C.Type, C.Precision), C.Expected) << C.Value;
}

TEST(SpinTextToValue, AcceptsEitherDecimalSeparator) {
    const std::pair<const char*, float> Numbers[] = {{"1.5", 1.5f}, {"1,5", 1.5f}, {" -2.25 ", -2.25f}, {"+3", 3}};
    for (auto [Text, Expected] : Numbers) {
        float Value = 0;
        EXPECT_TRUE(SpinTextToValue(Text, Value)) << Text;
        EXPECT_EQ(Value, Expected) << Text;
    }
    for (const char* Bad : {"abc", "", "1.2.3", "1e39", "-1e39"}) {
        float Value = 7;
        EXPECT_FALSE(SpinTextToValue(Bad, Value)) << Bad;
        EXPECT_EQ(Value, 7) << Bad;
    }
}

TEST(SpinChars, DigitsSignsAndSeparatorsPass) {
    struct Case {
        char32_t C;
        TVkSpinType Type;
        bool EditorEnabled;
        bool Valid;
    };
    const Case Cases[] = {
        {'5', spInteger, true, true}, {'-', spInteger, true, true}, {'.', spInteger, true, false},
        {'.', spFloat, true, true},   {',', spFloat, true, true},   {'a', spFloat, true, false},
        {13, spFloat, true, false},   {8, spFloat, true, true},     {3, spInteger, true, true},
        {'5', spFloat, false, false}, {8, spFloat, false, false},   {3, spFloat, false, true},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(IsValidSpinChar(C.C, C.Type, C.EditorEnabled), C.Valid)
            << static_cast<int>(C.C) << " type " << int(C.Type) << " editor " << C.EditorEnabled;
}

TEST(SpinEdit, ShowsValuesInTheFormatOfItsType) {
    TVkSpinEdit Spin;
    EXPECT_EQ(Text(Spin), "0.00");
    Spin.SetPrecision(3);
    EXPECT_EQ(Text(Spin), "0.000");
    Spin.SetValue(2.9f);
    Spin.SetSpinType(spInteger);
    EXPECT_EQ(Text(Spin), "2");
    Spin.SetValue(-2.9f);
    EXPECT_EQ(Text(Spin), "-2");
    EXPECT_EQ(Spin.GetValueI(), -2);
}

TEST(SpinEdit, ValuesAreKeptWithinTheLimits) {
    TVkSpinEdit Spin;
    Spin.SetValue(1e6f);
    EXPECT_EQ(Spin.GetValue(), 1e6f);  // no limits while they are equal

    Spin.MinValue = 0;
    Spin.MaxValue = 10;
    Spin.SetValue(12);
    EXPECT_EQ(Text(Spin), "10.00");
    Spin.SetValue(-3);
    EXPECT_EQ(Text(Spin), "0.00");

    // A typed value beyond the limits stays until the user leaves the control.
    Spin.GetEdit()->setText("15");
    EXPECT_EQ(Text(Spin), "15");
    QFocusEvent Leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(Spin.GetEdit(), &Leave);
    EXPECT_EQ(Text(Spin), "10.00");

    // Text that is no number stays as typed.
    Spin.GetEdit()->setText("abc");
    QApplication::sendEvent(Spin.GetEdit(), &Leave);
    EXPECT_EQ(Text(Spin), "abc");
}

TEST(SpinEdit, TextThatIsNoNumberReadsAsMinValue) {
    TVkSpinEdit Spin;
    Spin.MinValue = 5;
    Spin.MaxValue = 50;
    Spin.GetEdit()->setText("abc");
    EXPECT_EQ(Spin.GetValue(), 5);
    Spin.Increase();
    EXPECT_EQ(Text(Spin), "6.00");
    Spin.GetEdit()->setText("7,5");
    EXPECT_EQ(Spin.GetValue(), 7.5f);
}

TEST(SpinEdit, ArrowsStepByTheIncrement) {
    TVkSpinEdit Spin;
    Spin.SetIncrement(0.5f);
    Spin.Increase();
    Spin.Increase();
    Spin.Decrease();
    EXPECT_EQ(Text(Spin), "0.50");
    SendKey(Spin.GetEdit(), Qt::Key_Up);
    EXPECT_EQ(Text(Spin), "1.00");
    SendKey(Spin.GetEdit(), Qt::Key_Down);
    EXPECT_EQ(Text(Spin), "0.50");

    QWheelEvent Up(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Spin, &Up);
    EXPECT_EQ(Text(Spin), "1.00");
    QWheelEvent Down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Spin, &Down);
    EXPECT_EQ(Text(Spin), "0.50");
}

TEST(SpinEdit, IntegerTypeCutsTheIncrement) {
    TVkSpinEdit Spin;
    Spin.SetIncrement(0.1f);
    Spin.SetSpinType(spInteger);
    EXPECT_EQ(Spin.GetIncrement(), 0);
    Spin.SetValue(3);
    Spin.Increase();
    EXPECT_EQ(Text(Spin), "3");
    Spin.SetIncrement(2.7f);
    EXPECT_EQ(Spin.GetIncrement(), 2);
}

TEST(SpinEdit, ReadOnlyRefusesTheArrows) {
    TVkSpinEdit Spin;
    Spin.SetReadOnly(true);
    EXPECT_FALSE(Spin.GetButton()->isEnabled());
    Spin.Increase();
    EXPECT_EQ(Text(Spin), "0.00");
    Spin.SetReadOnly(false);
    EXPECT_TRUE(Spin.GetButton()->isEnabled());
    Spin.setEnabled(false);
    EXPECT_FALSE(Spin.GetButton()->isEnabled());
}

TEST(SpinEdit, TypingIsFilteredAndBlockedWithoutEditor) {
    TVkSpinEdit Spin;
    Spin.SetSpinType(spInteger);
    TVkEdit* Edit = Spin.GetEdit();
    Edit->clear();
    for (auto [Key, Typed] : {std::pair{Qt::Key_1, "1"}, {Qt::Key_A, "a"}, {Qt::Key_Period, "."}, {Qt::Key_2, "2"}})
        SendKey(Edit, Key, Typed);
    EXPECT_EQ(Edit->text(), "12");

    Spin.SetEditorEnabled(false);
    SendKey(Edit, Qt::Key_3, "3");
    SendKey(Edit, Qt::Key_Backspace, "\b");
    EXPECT_EQ(Edit->text(), "12");
    // The arrows still work.
    SendKey(Edit, Qt::Key_Up);
    EXPECT_EQ(Edit->text(), "13");
}

TEST(SpinEdit, OnChangeFollowsEveryTextChangeExceptQuietOnes) {
    TVkSpinEdit Spin;
    int Changes = 0;
    Spin.OnChange = [&](QObject* Sender) {
        EXPECT_EQ(Sender, &Spin);
        ++Changes;
    };
    Spin.SetValue(3);
    EXPECT_EQ(Changes, 1);
    Spin.GetEdit()->setText("4");
    EXPECT_EQ(Changes, 2);
    Spin.SetValueQuietly(5);  // not focused: shown at once, without OnChange
    EXPECT_EQ(Text(Spin), "5.00");
    Spin.SetPrecision(1);
    EXPECT_EQ(Text(Spin), "5.0");
    SetSpinValueIWithoutChange(Spin, 9);
    EXPECT_EQ(Text(Spin), "9.0");
    EXPECT_EQ(Changes, 2);
    ASSERT_TRUE(Spin.OnChange);
}

TEST(SpinEdit, QuietValueWaitsWhileTheUserHasTheBox) {
    QWidget Window;
    auto* Spin = new TVkSpinEdit(&Window);
    Window.show();
    SettleExposed(Window);
    Window.activateWindow();
    Spin->GetEdit()->setFocus();
    // A busy X server hands the focus over late.
    for (int I = 0; I < 300 && !Spin->Focused(); ++I) {
        Settle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(Spin->Focused());

    int Changes = 0;
    Spin->OnChange = [&](QObject*) { ++Changes; };
    Spin->SetValueQuietly(5);
    EXPECT_EQ(Text(*Spin), "0.00");
    EXPECT_TRUE(Spin->GetQuietUpdateTimer()->isActive());
    EXPECT_EQ(Spin->GetQuietUpdateTimer()->interval(), 1000);
    Spin->QuietUpdateTimer();
    EXPECT_EQ(Text(*Spin), "5.00");
    EXPECT_FALSE(Spin->GetQuietUpdateTimer()->isActive());
    EXPECT_EQ(Changes, 0);

    // The user's typing drops the held value.
    Spin->SetValueQuietly(8);
    Spin->GetEdit()->insert("1");
    EXPECT_FALSE(Spin->GetQuietUpdateTimer()->isActive());
    EXPECT_EQ(Changes, 1);
}

TEST(IncrementMenu, TicksThePowerOfTenOfTheIncrement) {
    const std::pair<float, int> Tags[] = {{0.001f, -3}, {0.01f, -2}, {0.1f, -1}, {0.05f, -1},
                                          {1, 0},       {5, 0},      {100, 2},   {1000, 3}};
    for (auto [Increment, Expected] : Tags) {
        int Tag = 99;
        EXPECT_TRUE(IncrementMenuTag(Increment, Tag)) << Increment;
        EXPECT_EQ(Tag, Expected) << Increment;
    }
    int Tag = 0;
    EXPECT_FALSE(IncrementMenuTag(0, Tag));
    EXPECT_FALSE(IncrementMenuTag(-1, Tag));
}

std::vector<std::string> Ticked(TVkSpinEdit& Spin) {
    emit Spin.GetIncrementMenu()->aboutToShow();
    std::vector<std::string> Names;
    for (QAction* Item : Spin.GetIncrementMenu()->actions())
        if (Item->isChecked()) Names.push_back(Item->isSeparator() ? "-" : Item->text().toStdString());
    return Names;
}

TEST(IncrementMenu, ItemsSetAndShowTheIncrement) {
    TVkSpinEdit Spin;
    std::vector<std::string> Captions;
    for (QAction* Item : Spin.GetIncrementMenu()->actions())
        Captions.push_back(Item->isSeparator() ? "-" : Item->text().toStdString());
    EXPECT_EQ(Captions, (std::vector<std::string>{"0.001", "0.010", "0.100", "-", "1", "10", "100"}));
    EXPECT_EQ(Ticked(Spin), (std::vector<std::string>{"-", "1"}));
    Spin.SetIncrement(0.01f);
    EXPECT_EQ(Ticked(Spin), (std::vector<std::string>{"0.010"}));
    Spin.GetIncrementMenu()->actions()[5]->trigger();
    EXPECT_EQ(Spin.GetIncrement(), 10);

    Spin.SetSpinType(spInteger);
    EXPECT_EQ(Spin.GetIncrementMenu()->actions().size(), 3);
    EXPECT_EQ(Ticked(Spin), (std::vector<std::string>{"10"}));
}

TEST(SpinButton, ZonesOfPressAndHover) {
    // Height 19: middle row 9.
    struct Case {
        int Y;
        bool Dragging;
        std::uint8_t Press, Hover;
    };
    const Case Cases[] = {
        {0, true, sbUpper, sbUpper},  {5, true, sbUpper, sbUpper}, {6, true, sbGrip, sbGrip},
        {11, true, sbGrip, sbGrip},   {12, true, sbNone, sbLower}, {13, true, sbLower, sbLower},
        {8, false, sbUpper, sbUpper}, {9, false, sbNone, sbLower}, {10, false, sbLower, sbLower},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(SpinButtonPressPart(C.Y, 19, C.Dragging), C.Press) << C.Y << " " << C.Dragging;
        EXPECT_EQ(SpinButtonHoverPart(C.Y, 19, C.Dragging), C.Hover) << C.Y << " " << C.Dragging;
    }
    EXPECT_EQ(SpinDragIncrements(0, 10, -40, 1), 50);
    EXPECT_EQ(SpinDragIncrements(0, 10, 17, 3), -2);
    EXPECT_EQ(SpinDragIncrements(768, 10, 700, 2), 39);
}

TEST(SpinButton, HeldArrowRepeatsAfter400AndEvery100Milliseconds) {
    TVkSpinEdit Spin;
    TVkSpinButton* Button = Spin.GetButton();
    const QPoint Upper(5, 2);
    SendMouse(Button, QEvent::MouseButtonPress, Upper);
    ASSERT_NE(Button->GetRepeatTimer(), nullptr);
    EXPECT_TRUE(Button->GetRepeatTimer()->isActive());
    EXPECT_EQ(Button->GetRepeatTimer()->interval(), 400);
    EXPECT_EQ(Text(Spin), "0.00");
    // The ticks at about 400, 500 and 600 ms, then the release.
    for (int Tick = 0; Tick < 3; ++Tick) {
        Button->RepeatTimerTick();
        EXPECT_EQ(Button->GetRepeatTimer()->interval(), 100);
    }
    EXPECT_EQ(Text(Spin), "3.00");
    SendMouse(Button, QEvent::MouseButtonRelease, Upper);
    EXPECT_EQ(Text(Spin), "4.00");
    // Ticks with nothing pressed do nothing.
    Button->RepeatTimerTick();
    EXPECT_EQ(Text(Spin), "4.00");

    // The lower arrow, clicked once.
    const QPoint Lower(5, Button->height() - 2);
    test::Click(Button, Lower);
    EXPECT_EQ(Text(Spin), "3.00");
}

TEST(SpinButton, RepeatedClickThatFailsStopsTheTimer) {
    TVkSpinButton Button;
    Button.resize(15, 19);
    int Clicks = 0;
    Button.OnUpClick = [&](QObject*) {
        if (++Clicks == 2) throw std::runtime_error("failed");
    };
    SendMouse(&Button, QEvent::MouseButtonPress, {5, 2});
    Button.RepeatTimerTick();
    EXPECT_THROW(Button.RepeatTimerTick(), std::runtime_error);
    EXPECT_FALSE(Button.GetRepeatTimer()->isActive());
}

// Drags the grip of Spin's button Pixels upwards in steps of 10.
void DragGrip(TVkSpinEdit& Spin, int Pixels) {
    TVkSpinButton* Button = Spin.GetButton();
    const QPoint Grip(5, Button->height() / 2 - 1);
    ASSERT_EQ(SpinButtonPressPart(Grip.y(), Button->height(), true), sbGrip);
    SendMouse(Button, QEvent::MouseButtonPress, Grip);
    for (int Moved = 10; Moved <= Pixels; Moved += 10)
        SendMouse(Button, QEvent::MouseMove, Grip - QPoint(0, Moved), Qt::NoButton, Qt::LeftButton);
    SendMouse(Button, QEvent::MouseButtonRelease, Grip - QPoint(0, Pixels));
}

TEST(SpinButton, GripDragChangesOnceWhenChangesWaitForTheRelease) {
    QWidget Window;
    Window.setGeometry(200, 300, 100, 40);
    auto* Spin = new TVkSpinEdit(&Window);
    Window.show();
    Settle();
    int Changes = 0;
    Spin->OnChange = [&](QObject*) { ++Changes; };

    Spin->ChangeWhileDragging = false;
    DragGrip(*Spin, 50);
    EXPECT_EQ(Text(*Spin), "50.00");
    EXPECT_EQ(Changes, 1);

    Spin->ChangeWhileDragging = true;
    Spin->SetPixelPerInc(5);
    Spin->SetPixelPerInc(0);  // refused
    EXPECT_EQ(Spin->GetPixelPerInc(), 5);
    Changes = 0;
    DragGrip(*Spin, 50);
    EXPECT_EQ(Text(*Spin), "60.00");
    EXPECT_EQ(Changes, 5);
}

}  // namespace
}  // namespace sarnova
