#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "entities/ui/NewSurfForm.h"
#include "DialogsScope.h"
#include "surfaces/BSurface.h"

namespace sarnova {
namespace {

class NewSurfFormTest : public ::testing::Test {
protected:
    test::TDialogsScope Scope;
    TScriptedUserDialogs& Dialogs = Scope.Dialogs;
};

TEST_F(NewSurfFormTest, OkMakesThePlaneRectangle) {
    TNewSurfForm Form;
    EXPECT_EQ(Form.windowTitle(), "Create BSpline Surface");
    Form.Edit6->setText("5");
    Form.Edit5->setText("2");
    Form.Edit3->setText("3");
    Form.Button1->click();
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    const std::unique_ptr<TBSplineSurface> S = Form.TakeSurface();
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(S->NumU(), 4);
    EXPECT_EQ(S->OrderV(), 3);
    EXPECT_EQ(S->Point(3, 3).Vector(), (TMVector{10, 5, 2}));
    EXPECT_EQ(S->Point(3, 0).Vector(), (TMVector{10, 0, 0}));
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(NewSurfFormTest, RefusedInputKeepsTheDialogOpen) {
    struct Case {
        QLineEdit* TNewSurfForm::*Edit;
        const char* Text;
        std::string Message;
    };
    const Case Cases[] = {
        {&TNewSurfForm::Edit4, "5",
         "The order cannot be more than the number of control polygon points (Complexity) in the U Direction"},
        {&TNewSurfForm::Edit2, "1", "The number of control polygon points (Complexity) must be at least 2"},
        {&TNewSurfForm::Edit3, "1", "The order must be at least 2"},
        {&TNewSurfForm::Edit1, "four", "Unable to convert text to number."},
    };
    for (const Case& C : Cases) {
        TNewSurfForm Form;
        if (C.Edit == &TNewSurfForm::Edit2) Form.Edit4->setText("1");
        (Form.*C.Edit)->setText(C.Text);
        Dialogs.Shown.clear();
        Form.Button1->click();
        EXPECT_NE(Form.result(), QDialog::Accepted) << C.Text;
        EXPECT_EQ(Form.TakeSurface(), nullptr) << C.Text;
        ASSERT_EQ(Dialogs.Shown.size(), 1u) << C.Text;
        EXPECT_EQ(Dialogs.Shown[0].Text, C.Message);
    }
}

}  // namespace
}  // namespace sarnova
