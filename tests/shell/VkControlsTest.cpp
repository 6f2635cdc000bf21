#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <tuple>
#include <vector>

#include "platform/qt/QtCanvas.h"
#include "shell/ShellTestSupport.h"
#include "controls/VkControls.h"

namespace sarnova {
namespace {

// Records what the control's hooks see.
class TProbeScrollControl : public TVkScrollControl {
public:
    int Creations = 0;
    int FirstShows = 0;
    std::vector<std::tuple<char, int, int>> Calls;  // ('S' scroll or 'E' end, bar, position)

protected:
    void CreateWnd() override {
        TVkScrollControl::CreateWnd();
        ++Creations;
    }
    void DoFirstShow() override {
        TVkScrollControl::DoFirstShow();
        ++FirstShows;
    }
    void DoScroll(int Bar, int Position) override { Calls.emplace_back('S', Bar, Position); }
    void DoEndScroll(int Bar, int Position) override { Calls.emplace_back('E', Bar, Position); }
};

void SetRange(TScrollBarController& Bar, int Min, int Max, int PageSize) {
    Bar.SetMin(Min);
    Bar.SetMax(Max);
    Bar.SetPageSize(PageSize);
}

TEST(ScrollBarController, PositionIsClampedUpperBoundLast) {
    struct Case {
        int Min, Max, PageSize, Write, Expected;
    };
    const Case Cases[] = {
        {0, 100, 10, 95, 91}, {0, 100, 10, -5, 0}, {0, 100, 0, 150, 101},
        {10, 12, 5, 0, 8},  // the upper bound lies below Min and wins
        {0, 100, 10, 40, 40}, {0, 2147483647, 0, 2147483647, 2147483647},
    };
    for (const Case& C : Cases) {
        TVkScrollControl Control;
        SetRange(Control.VertScrollBar(), C.Min, C.Max, C.PageSize);
        Control.VertScrollBar().SetPosition(C.Write);
        EXPECT_EQ(Control.VertScrollBar().GetPosition(), C.Expected) << C.Min << ".." << C.Max << " page "
                                                                      << C.PageSize << " write " << C.Write;
    }
}

TEST(ScrollBarController, BarNotShownIgnoresPositionButStoresRange) {
    TVkScrollControl Control;
    Control.SetScrollBars(ssVertical);
    TScrollBarController& H = Control.HorzScrollBar();
    SetRange(H, 0, 100, 10);
    H.SetPosition(30);
    EXPECT_EQ(H.GetPosition(), 0);
    EXPECT_EQ(H.GetMax(), 100);
    EXPECT_EQ(H.GetPageSize(), 10);
    EXPECT_FALSE(H.IsActive());
    EXPECT_TRUE(Control.VertScrollBar().IsActive());
}

TEST(ScrollBarController, LargeChangeIsThePageOnceThereIsOne) {
    TVkScrollControl Control;
    TScrollBarController& V = Control.VertScrollBar();
    EXPECT_EQ(V.GetLargeChange(), 10);
    V.SetLargeChange(7);
    EXPECT_EQ(V.GetLargeChange(), 7);
    V.SetPageSize(25);
    EXPECT_EQ(V.GetLargeChange(), 25);
}

TEST(ScrollControl, ScrollRequestsMoveTheBarAndReport) {
    struct Case {
        int Code, Start, Thumb, ExpectedPosition;
        char Call;
        int CallPosition;
    };
    // Range 0 .. 100, page 20: positions up to 81.
    const Case Cases[] = {
        {scPageDown, 0, 0, 20, 'S', 20},  {scPageUp, 30, 0, 10, 'S', 10},  {scLineDown, 5, 0, 6, 'S', 6},
        {scLineUp, 0, 0, 0, 'S', 0},      {scTrack, 0, 50, 50, 'S', 50},   {scPosition, 0, 95, 81, 'S', 81},
        {scBottom, 0, 0, 81, 'S', 100},   {scTop, 40, 0, 0, 'S', 0},       {scEndScroll, 33, 0, 33, 'E', 33},
    };
    for (const Case& C : Cases) {
        TProbeScrollControl Control;
        SetRange(Control.VertScrollBar(), 0, 100, 20);
        Control.VertScrollBar().SetPosition(C.Start);
        Control.ScrollMessage(1, C.Code, C.Thumb);
        EXPECT_EQ(Control.VertScrollBar().GetPosition(), C.ExpectedPosition) << "code " << C.Code;
        ASSERT_EQ(Control.Calls.size(), 1u) << "code " << C.Code;
        EXPECT_EQ(Control.Calls[0], std::make_tuple(C.Call, 1, C.CallPosition)) << "code " << C.Code;
    }
    TProbeScrollControl Control;
    SetRange(Control.HorzScrollBar(), 0, 100, 10);
    Control.ScrollMessage(0, scBottom);
    EXPECT_EQ(Control.HorzScrollBar().GetPosition(), 91);
    EXPECT_EQ(Control.Calls.at(0), std::make_tuple('S', 0, 100));
    Control.ScrollMessage(0, 99);
    EXPECT_EQ(Control.Calls.size(), 1u);
}

TEST(ScrollControl, EventsFireFromTheBaseHooks) {
    TVkScrollControl Control;
    std::vector<std::tuple<char, int, int>> Seen;
    Control.OnScroll = [&](QObject* Sender, int Bar, int Position) {
        EXPECT_EQ(Sender, &Control);
        Seen.emplace_back('S', Bar, Position);
    };
    Control.OnEndScroll = [&](QObject*, int Bar, int Position) { Seen.emplace_back('E', Bar, Position); };
    SetRange(Control.HorzScrollBar(), 0, 50, 0);
    Control.ScrollMessage(0, scLineDown);
    Control.ScrollMessage(0, scEndScroll);
    EXPECT_EQ(Seen, (std::vector<std::tuple<char, int, int>>{{'S', 0, 1}, {'E', 0, 1}}));
}

TEST(ScrollControl, WindowIsMadeAgainOnlyWhenTheStyleAsksForIt) {
    TProbeScrollControl Control;
    Control.resize(200, 150);
    Control.show();
    Settle();
    ASSERT_EQ(Control.Creations, 1);
    Control.SetScrollBars(ssBoth);
    EXPECT_EQ(Control.Creations, 1);
    Control.SetScrollBars(ssHorizontal);
    EXPECT_EQ(Control.Creations, 2);
    EXPECT_EQ(Control.WindowScrollBar(1), nullptr);
    ASSERT_NE(Control.WindowScrollBar(0), nullptr);
    Control.SetBorderStyle(bsSingle);
    EXPECT_EQ(Control.Creations, 3);
    Control.SetBorderStyle(bsNone);
    EXPECT_EQ(Control.Creations, 4);
    EXPECT_EQ(Control.frameWidth(), 0);
}

TEST(ScrollControl, FirstShowRunsOnceAndTakesTheWindowsValues) {
    TProbeScrollControl Control;
    SetRange(Control.VertScrollBar(), 5, 50, 10);
    Control.VertScrollBar().SetPosition(7);
    EXPECT_FALSE(Control.HandleAllocated());
    Control.resize(200, 150);
    Control.show();
    Settle();
    Control.hide();
    Control.show();
    Settle();
    EXPECT_EQ(Control.FirstShows, 1);
    // The new window's bar has the platform's range 0 .. 100, no page, position 0.
    TScrollBarController& V = Control.VertScrollBar();
    EXPECT_EQ(V.GetMin(), 0);
    EXPECT_EQ(V.GetMax(), 100);
    EXPECT_EQ(V.GetPageSize(), 0);
    EXPECT_EQ(V.GetPosition(), 0);
}

TEST(ScrollControl, WritesReachTheWindowsBars) {
    TProbeScrollControl Control;
    Control.resize(200, 150);
    Control.show();
    Settle();
    TScrollBarController& V = Control.VertScrollBar();
    SetRange(V, 0, 200, 50);
    V.SetPosition(120);
    const TWindowScrollInfo* Info = Control.WindowScrollInfo(1);
    ASSERT_NE(Info, nullptr);
    EXPECT_EQ(std::make_tuple(Info->Min, Info->Max, Info->Page, Info->Pos), std::make_tuple(0, 200, 50, 120));
    QScrollBar* Bar = Control.WindowScrollBar(1);
    EXPECT_EQ(Bar->value(), 120);
    EXPECT_EQ(Bar->maximum(), 151);

    // The bar's own page step goes through the controller.
    Bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(V.GetPosition(), 151);
    EXPECT_EQ(Bar->value(), 151);
    EXPECT_EQ(Control.Calls.back(), std::make_tuple('S', 1, 151));

    // A bar that is not needed stays visible and disabled, or is hidden.
    V.SetPageSize(300);
    EXPECT_TRUE(Bar->isVisibleTo(&Control));
    EXPECT_FALSE(Bar->isEnabled());
    V.SetHiddenIfUnnecessary(false);
    EXPECT_FALSE(Bar->isVisibleTo(&Control));
    EXPECT_EQ(Control.ClientRect().right(), Control.contentsRect().right());
    EXPECT_LT(Control.ClientRect().bottom(), Control.contentsRect().bottom());
}

TEST(ThemeServer, FailedOpeningIsPermanent) {
    QImage Image(20, 20, QImage::Format_RGB32);
    QPainter Painter(&Image);
    TVkThemeServer Themed(nullptr, tcButton);
    EXPECT_TRUE(Themed.IsThemed());
    EXPECT_EQ(Themed.DrawBackground(Painter, 0, tsNormal, QRect(0, 0, 20, 20), nullptr), 0);

    GThemesEnabled = false;
    TVkThemeServer Server;
    EXPECT_FALSE(Server.IsThemed());
    EXPECT_TRUE(Server.GetFailed());
    GThemesEnabled = true;
    Server.Bind(nullptr, tcComboBox);
    EXPECT_EQ(Server.GetThemeClass(), 0);
    EXPECT_FALSE(Server.IsThemed());
    TColor Color = clRed;
    EXPECT_EQ(Server.DrawBackground(Painter, 0, tsNormal, QRect(0, 0, 20, 20), nullptr), -1);
    EXPECT_EQ(Server.GetColor(0, tsNormal, 0, Color), -1);
    EXPECT_EQ(Color, clRed);
}

TEST(EllipsisButton, ClassicDotsSitAroundTheMiddle) {
    EXPECT_EQ(EllipsisDotSize(7), 1);
    EXPECT_EQ(EllipsisDotSize(16), 2);
    EXPECT_EQ(EllipsisDotSize(0), 1);
    // 16 x 16: dots of side 2 at x 3, 7 and 11, y 7; pressed one pixel right and down.
    const QColor Text = ColorToQColor(clWindowText);
    for (auto [State, Shift] : {std::pair{tsNormal, 0}, std::pair{tsPressed, 1}}) {
        QImage Image(16, 16, QImage::Format_RGB32);
        Image.fill(Qt::magenta);
        {
            QPainter Painter(&Image);
            DrawThemedEllipsisButton(Painter, QRect(0, 0, 16, 16), State, nullptr);
        }
        for (int X : {3, 7, 11}) {
            EXPECT_EQ(Image.pixelColor(X + Shift, 7 + Shift), Text) << "state " << State << " x " << X;
            EXPECT_EQ(Image.pixelColor(X + Shift + 1, 8 + Shift), Text) << "state " << State << " x " << X;
        }
        EXPECT_NE(Image.pixelColor(5 + Shift, 7 + Shift), Text) << "state " << State;
    }
}

TEST(ThemeControl, ReportsTheMouseEnteringAndLeaving) {
    TVkThemeControl Control;
    std::vector<char> Seen;
    Control.OnMouseEnter = [&](QObject* Sender) { Seen.push_back(Sender == &Control ? 'E' : '?'); };
    Control.OnMouseLeave = [&](QObject*) { Seen.push_back('L'); };
    QEnterEvent Enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&Control, &Enter);
    QEvent Leave(QEvent::Leave);
    QApplication::sendEvent(&Control, &Leave);
    EXPECT_EQ(Seen, (std::vector<char>{'E', 'L'}));
}

}  // namespace
}  // namespace sarnova
