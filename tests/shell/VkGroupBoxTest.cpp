#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include <memory>

#include "ControlsTestSupport.h"
#include "shell/ShellTestSupport.h"
#include "controls/VkGroupBox.h"

namespace sarnova {
namespace {

using test::SendMouse;

TVkGroupBox* NewBox(QWidget* Parent, const char* Name, int FontPixels = 11) {
    auto* Box = new TVkGroupBox(Name, Parent);
    Box->setObjectName(Name);
    QFont Font = Box->font();
    Font.setPixelSize(FontPixels);
    Box->setFont(Font);
    Box->setGeometry(0, 0, 200, 120);
    return Box;
}

void ClickCaption(TVkGroupBox* Box) { test::Click(Box, Box->CaptionRect().center()); }

TEST(GroupBoxHeight, FollowsFontAndBorder) {
    EXPECT_EQ(GroupBoxCollapsedHeight(-11, 0), 24);
    EXPECT_EQ(GroupBoxCollapsedHeight(-11, 2), 28);
    EXPECT_EQ(GroupBoxCollapsedHeight(-13, 1), 29);
}

TEST(GroupBox, CollapsesToItsCaptionAndExpandsBack) {
    QWidget Owner;
    TVkGroupBox* Box = NewBox(&Owner, "Box");
    Box->SetBorder(2);
    Box->SetBorder(-1);  // ignored
    EXPECT_EQ(Box->GetBorder(), 2);
    auto* Edit = new QLineEdit(Box);
    auto* Hidden = new QLineEdit(Box);
    Hidden->hide();
    int Changing = 0, Changed = 0;
    Box->OnChanging = [&](QObject*) {
        EXPECT_EQ(Box->GetState(), gsExpanded);
        ++Changing;
    };
    Box->OnChange = [&](QObject*) { ++Changed; };
    Owner.show();

    ClickCaption(Box);
    EXPECT_EQ(Box->GetState(), gsCollapsed);
    EXPECT_EQ(Box->height(), 28);
    EXPECT_TRUE(Edit->isHidden());
    EXPECT_EQ(Changing, 1);
    EXPECT_EQ(Changed, 1);

    Box->SetState(gsCollapsed);  // again: nothing
    EXPECT_EQ(Box->GetExpandedHeight(), 120);
    Box->SetBorder(0);
    EXPECT_EQ(Box->height(), 24);

    Box->SetState(gsExpanded);
    EXPECT_EQ(Box->height(), 120);
    EXPECT_FALSE(Edit->isHidden());
    EXPECT_TRUE(Hidden->isHidden());  // hidden on purpose, it stays hidden
    EXPECT_EQ(Changed, 1);
}

TEST(GroupBox, ReleaseAnywhereAfterPressingTheCaptionToggles) {
    QWidget Owner;
    TVkGroupBox* Box = NewBox(&Owner, "Box");
    Owner.show();
    SendMouse(Box, QEvent::MouseButtonPress, Box->CaptionRect().center());
    EXPECT_TRUE(Box->GetCaptionPressed());
    SendMouse(Box, QEvent::MouseButtonRelease, {-50, 300});
    EXPECT_EQ(Box->GetState(), gsCollapsed);
    EXPECT_FALSE(Box->GetCaptionPressed());
    // A press below the caption toggles nothing.
    test::Click(Box, {100, Box->CaptionRect().bottom() + 3});
    EXPECT_EQ(Box->GetState(), gsCollapsed);
}

TEST(GroupBox, EnabledPassesToEveryChild) {
    QWidget Owner;
    TVkGroupBox* Box = NewBox(&Owner, "Box");
    auto* A = new QCheckBox(Box);
    auto* B = new QCheckBox(Box);
    B->setEnabled(false);
    Box->setEnabled(false);
    EXPECT_FALSE(A->isEnabled());
    Box->setEnabled(true);
    EXPECT_TRUE(A->isEnabled());
    EXPECT_TRUE(B->isEnabled());

    // A box that starts disabled disables its children when loaded, and takes its initial state.
    TVkGroupBox* Loaded = NewBox(&Owner, "Loaded");
    auto* C = new QCheckBox(Loaded);
    Loaded->setEnabled(false);
    C->setEnabled(true);
    Loaded->InitialState = gsCollapsed;
    Loaded->Loaded();
    EXPECT_TRUE(C->testAttribute(Qt::WA_Disabled));
    EXPECT_EQ(Loaded->GetState(), gsCollapsed);
}

// A frame named Name with boxes First and Second on it and Inner inside a panel, and a manager.
struct TFrame {
    explicit TFrame(const char* Name) {
        Frame->setObjectName(Name);
        First = NewBox(Frame.get(), "First");
        Second = NewBox(Frame.get(), "Second");
        auto* Panel = new QWidget(Frame.get());
        Panel->setObjectName("Panel");
        Inner = NewBox(Panel, "Inner");
        Second->InitialState = gsExpanded;
        for (TVkGroupBox* Box : {First, Second, Inner}) Box->Loaded();
        (new TVkGroupBoxManager(Frame.get()))->Loaded();
    }
    std::unique_ptr<QWidget> Frame = std::make_unique<QWidget>();
    TVkGroupBox* First;
    TVkGroupBox* Second;
    TVkGroupBox* Inner;
};

TEST(GroupBoxManager, NextFrameOfTheSameNameOpensAsTheUserLeftIt) {
    GGroupBoxStates.Clear();
    {
        TFrame Frame("PlineFrame");
        EXPECT_EQ(Frame.Second->GetManager() != nullptr, true);
        EXPECT_EQ(Frame.Inner->GetManager(), nullptr);
        Frame.Frame->show();
        ClickCaption(Frame.Second);
        ClickCaption(Frame.Inner);
        ASSERT_EQ(Frame.Second->GetState(), gsCollapsed);
    }
    TFrame Again("PlineFrame");
    EXPECT_EQ(Again.First->GetState(), gsExpanded);
    EXPECT_EQ(Again.Second->GetState(), gsCollapsed);
    EXPECT_EQ(Again.Inner->GetState(), gsExpanded);  // not a direct child of the frame

    // Another frame keeps its own states; expanding again is remembered as well.
    TFrame Other("MeshFrame");
    EXPECT_EQ(Other.Second->GetState(), gsExpanded);
    Again.Second->SetState(gsExpanded);
    TFrame Third("PlineFrame");
    EXPECT_EQ(Third.Second->GetState(), gsExpanded);
    EXPECT_EQ(GGroupBoxStates.Count(), 2);

    // A nameless frame cannot be told from others and is not remembered.
    TFrame Nameless("");
    EXPECT_EQ(GGroupBoxStates.Count(), 2);
    GGroupBoxStates.Clear();
}

}  // namespace
}  // namespace sarnova
