#include <gtest/gtest.h>

#include <QImage>
#include <QMenu>
#include <QProgressBar>

#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "shell/ShellTestSupport.h"
#include "controls/VkStatusBar.h"

namespace sarnova {
namespace {

using test::SendMouse;

// A shown bar with three panels 60, 80 and the rest wide.
struct TBarFixture : ::testing::Test {
    TVkStatusBar Bar;
    TVkStatusPanel* P0;
    TVkStatusPanel* P1;
    TVkStatusPanel* P2;

    void SetUp() override {
        Bar.resize(400, 24);
        P0 = Bar.Panels().Add();
        P1 = Bar.Panels().Add();
        P2 = Bar.Panels().Add();
        P0->SetWidth(60);
        P1->SetWidth(80);
        Bar.show();
        SettleExposed(Bar);
    }
    QPoint Inside(TVkStatusPanel* Panel) { return Panel->PanelRect().center(); }
};

TEST_F(TBarFixture, PanelsLieSideBySideTheLastToTheEdge) {
    EXPECT_EQ(P0->PanelRect().left(), 0);
    EXPECT_EQ(P0->PanelRect().width(), 60);
    EXPECT_GT(P1->PanelRect().left(), P0->PanelRect().right());
    EXPECT_EQ(P1->PanelRect().width(), 80);
    EXPECT_EQ(P2->PanelRect().right(), Bar.width() - 1);
    EXPECT_EQ(Bar.PanelAtPoint(Inside(P1)), P1);
    EXPECT_EQ(Bar.PanelAtPoint({P0->PanelRect().right() + 1, 10}), nullptr);  // the gap between parts
    EXPECT_EQ(P2->GetIndex(), 2);
}

TEST_F(TBarFixture, ColourAndFontFollowTheBarUntilSetOwn) {
    P0->SetColor(clBtnFace);  // the colour the panel took from the bar at creation
    EXPECT_TRUE(P0->GetParentColor());
    Bar.SetColor(clSilver);
    EXPECT_EQ(P0->GetColor(), clSilver);
    P0->SetColor(clRed);
    EXPECT_FALSE(P0->GetParentColor());
    EXPECT_EQ(P0->GetColor(), clRed);

    QFont BarFont = Bar.font();
    BarFont.setPointSize(13);
    Bar.setFont(BarFont);
    EXPECT_EQ(P1->GetFont().pointSize(), 13);
    EXPECT_TRUE(P1->GetParentFont());
    QFont Own = P1->GetFont();
    Own.setPointSize(9);
    P1->SetFont(Own);
    EXPECT_FALSE(P1->GetParentFont());
    EXPECT_EQ(P1->GetFont().pointSize(), 9);
}

TEST_F(TBarFixture, LoadingWidensPanelsToTheirText) {
    P0->SetText("Snap Grid");
    const int TextWidth = QFontMetrics(P0->GetFont()).horizontalAdvance("Snap Grid");
    for (auto [Width, Expected] : {std::pair{TextWidth - 5, TextWidth + 8}, {TextWidth + 25, TextWidth + 25}}) {
        P0->SetWidth(Width);
        Bar.Loaded();
        EXPECT_EQ(P0->GetWidth(), Expected) << Width;
    }
}

TEST_F(TBarFixture, WritingTextRepaintsAtOnce) {
    struct TPaintCounter : QObject {
        int Paints = 0;
        bool eventFilter(QObject*, QEvent* Event) override {
            if (Event->type() == QEvent::Paint) ++Paints;
            return false;
        }
    } Counter;
    Bar.installEventFilter(&Counter);
    P1->SetText("X: 1.000");
    EXPECT_EQ(Counter.Paints, 1);
    Bar.removeEventFilter(&Counter);
}

TEST_F(TBarFixture, GrayedPanelDrawsItsTextDisabled) {
    P0->SetText("GRID");
    const auto Shot = [&] {
        Settle();
        return Bar.grab(P0->PanelRect()).toImage();
    };
    const QImage Normal = Shot();
    P0->SetGrayed(true);
    const QImage Grayed = Shot();
    EXPECT_NE(Normal, Grayed);
    P0->SetGrayed(false);
    EXPECT_EQ(Shot(), Normal);
}

TEST_F(TBarFixture, RightClickShowsThePanelsMenuElseTheBars) {
    QMenu BarMenu;
    auto* PanelMenu = new QMenu;
    Bar.SetPopupMenu(&BarMenu);
    P1->SetPopupMenu(PanelMenu);
    SendMouse(&Bar, QEvent::MouseButtonPress, Inside(P1), Qt::RightButton);
    EXPECT_EQ(Bar.CurrentPopupMenu(), PanelMenu);
    SendMouse(&Bar, QEvent::MouseButtonRelease, Inside(P1), Qt::RightButton);
    SendMouse(&Bar, QEvent::MouseButtonPress, Inside(P0), Qt::RightButton);
    EXPECT_EQ(Bar.CurrentPopupMenu(), &BarMenu);
    SendMouse(&Bar, QEvent::MouseButtonRelease, Inside(P0), Qt::RightButton);
    // A destroyed menu is forgotten.
    delete PanelMenu;
    EXPECT_EQ(P1->GetPopupMenu(), nullptr);
}

TEST_F(TBarFixture, HoveringFollowsThePanelsHints) {
    Bar.Hint = "bar";
    P0->Hint = "first";
    P1->Hint = "second";
    SendMouse(&Bar, QEvent::MouseMove, Inside(P0));
    EXPECT_EQ(Bar.CurrentHint(), "first");
    SendMouse(&Bar, QEvent::MouseMove, Inside(P1));
    EXPECT_EQ(Bar.CurrentHint(), "second");
    SendMouse(&Bar, QEvent::MouseMove, Inside(P2));
    EXPECT_EQ(Bar.CurrentHint(), "bar");
}

TEST_F(TBarFixture, ProgressBarBelongsToOnePanelOfItsOwnBar) {
    auto* Progress = new QProgressBar(&Bar);
    P0->SetProgressBar(Progress);
    EXPECT_EQ(P0->GetProgressBar(), Progress);
    EXPECT_EQ(Progress->geometry(), P0->PanelRect().adjusted(2, 2, -2, -2));
    P1->SetProgressBar(Progress);
    EXPECT_EQ(P1->GetProgressBar(), nullptr);

    QWidget Elsewhere;
    QProgressBar Foreign(&Elsewhere);
    P1->SetProgressBar(&Foreign);
    EXPECT_EQ(P1->GetProgressBar(), nullptr);

    delete Progress;
    EXPECT_EQ(P0->GetProgressBar(), nullptr);
    auto* Second = new QProgressBar(&Bar);
    P0->SetProgressBar(Second);
    P0->SetProgressBar(nullptr);
    EXPECT_EQ(P0->GetProgressBar(), nullptr);
}

TEST_F(TBarFixture, ClicksGoToThePanelUnderThePressThenTheBar) {
    std::vector<std::string> Calls;
    const auto Record = [&](const char* What) {
        return [&Calls, What](QObject* Sender, int Index, TVkStatusPanel*) {
            Calls.push_back(std::string(What) + std::to_string(Index));
        };
    };
    P1->OnClick = Record("click");
    P1->OnDblClick = Record("dbl");
    Bar.OnClick = [&](QObject*) { Calls.push_back("bar"); };
    Bar.OnDblClick = [&](QObject*) { Calls.push_back("bardbl"); };

    test::Click(&Bar, Inside(P1));
    SendMouse(&Bar, QEvent::MouseButtonDblClick, Inside(P1));
    SendMouse(&Bar, QEvent::MouseButtonRelease, Inside(P1));
    test::Click(&Bar, Inside(P0));  // a panel without events
    test::Click(&Bar, {P0->PanelRect().right() + 1, 12});  // between panels
    EXPECT_EQ(Calls, (std::vector<std::string>{"click1", "bar", "dbl1", "bardbl", "bar", "bar"}));
}

TEST_F(TBarFixture, AssignCopiesEveryProperty) {
    QMenu Menu;
    P0->SetText("Edit");
    P0->SetWidth(70);
    P0->SetAlignment(taCenter);
    P0->SetGrayed(true);
    P0->Hint = "hint";
    P0->SetPopupMenu(&Menu);
    P0->SetColor(clYellow);
    int Clicks = 0;
    P0->OnClick = [&](QObject*, int, TVkStatusPanel*) { ++Clicks; };
    P2->Assign(*P0);
    EXPECT_EQ(P2->GetText(), "Edit");
    EXPECT_EQ(P2->GetWidth(), 70);
    EXPECT_EQ(P2->GetAlignment(), taCenter);
    EXPECT_TRUE(P2->GetGrayed());
    EXPECT_EQ(P2->Hint, "hint");
    EXPECT_EQ(P2->GetPopupMenu(), &Menu);
    EXPECT_EQ(P2->GetColor(), clYellow);
    EXPECT_FALSE(P2->GetParentColor());
    EXPECT_TRUE(P2->GetParentFont());
    P2->DoClick();
    EXPECT_EQ(Clicks, 1);
}

TEST_F(TBarFixture, DeletedHotPanelIsForgotten) {
    SendMouse(&Bar, QEvent::MouseMove, Inside(P2));
    EXPECT_EQ(Bar.GetHotPanel(), P2);
    Bar.Panels().Delete(2);
    EXPECT_EQ(Bar.GetHotPanel(), nullptr);
    EXPECT_EQ(Bar.Panels().Count(), 2);
    EXPECT_THROW(Bar.Panels().Item(2), EError);
}

}  // namespace
}  // namespace sarnova
