#include <gtest/gtest.h>

#include <QLineEdit>

#include <memory>
#include <string>
#include <vector>

#include "document/GeoFace.h"
#include "shell/CalculatorFloat.h"
#include "shell/MainUnit.h"
#include "shell/ProgramStart.h"
#include "shell/ShellTestSupport.h"
#include "shell/TestDocumentWindow.h"
#include "controls/VkDockPanelManager.h"
#include "DialogsScope.h"
#include "shell/ControlsTestSupport.h"

namespace sarnova {
namespace {

// A document window whose document is the real document object, so that expressions are evaluated.
class TExpressionDocumentWindow : public TTestDocumentWindow {
public:
    TGeometryList* Document() override { return &Doc; }
    TGeometryInterface Doc;
};

class CalculatorForm : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartModelGlobals(); }
    static void TearDownTestSuite() { StopModelGlobals(); }

    void SetUp() override {
        GDocumentWindowFactory = [](TMainForm&) { return new TExpressionDocumentWindow; };
        Form = std::make_unique<TMainForm>();
        Form->show();
        Settle();
        Calc = GetCalculatorForm();
    }
    void TearDown() override {
        delete GCalculatorForm;
        Form.reset();
        GDocumentWindowFactory = nullptr;
        Settle();
    }

    void OpenDocument() {
        Form->NewDocument();
        Settle();
        ASSERT_NE(Form->ActiveDocumentWindow(), nullptr);
    }
    // Types Text into the expression box and presses Enter, the key going to the focused widget.
    void Enter(const std::string& Text) {
        Calc->ComboBox1->setEditText(QString::fromStdString(Text));
        test::TypeKey(Calc, Calc->ComboBox1, Qt::Key_Return, "\r");
    }
    std::vector<std::string> History() const {
        std::vector<std::string> Items;
        for (int I = 0; I < Calc->ComboBox1->count(); ++I) Items.push_back(Calc->ComboBox1->itemText(I).toStdString());
        return Items;
    }
    const std::string& Newest() const { return Calc->VCLConsole1->GetLines()[0]; }

    std::unique_ptr<TMainForm> Form;
    TCalculatorForm* Calc = nullptr;
};

TEST_F(CalculatorForm, WithoutADocumentWindowEveryTextIsUnavailable) {
    for (const char* Text : {"2*3", "", "1+"}) {
        Calc->ComboBox1->setEditText(Text);
        Calc->SpeedButton1->click();
        EXPECT_EQ(Newest(), "calculator unavailable") << Text;
    }
    EXPECT_EQ(Calc->VCLConsole1->GetLineCount(), 3);
    EXPECT_TRUE(History().empty());
}

TEST_F(CalculatorForm, EnterWritesTheResultAndKeepsEachExpressionOnce) {
    OpenDocument();
    Enter("2*3");
    EXPECT_EQ(Newest(), "2*3 = 6");
    EXPECT_EQ(History(), std::vector<std::string>{"2*3"});
    Enter("2*3");
    EXPECT_EQ(Calc->VCLConsole1->GetLineCount(), 2);
    EXPECT_EQ(Newest(), "2*3 = 6");
    EXPECT_EQ(History(), std::vector<std::string>{"2*3"});
    // Letter case does not make a new entry; the entry keeps the case it was first typed in.
    Enter("PI");
    Enter("pi");
    EXPECT_EQ(Newest(), "pi = 3.14159265358979");
    EXPECT_EQ(History(), (std::vector<std::string>{"2*3", "PI"}));
}

TEST_F(CalculatorForm, ResultsInTheGeneralFormatWith15Digits) {
    OpenDocument();
    const struct {
        const char* Text;
        const char* Line;
    } Cases[] = {
        {"1/3", "1/3 = 0.333333333333333"}, {"0.1+0.2", "0.1+0.2 = 0.3"}, {"2.50", "2.50 = 2.5"},
        {"10^20", "10^20 = 1E20"},          {"1/100000", "1/100000 = 1E-5"}, {"-2^2", "-2^2 = -4"},
        {"2 > 1", "2 > 1 = 1"},
    };
    for (const auto& Case : Cases) {
        Enter(Case.Text);
        EXPECT_EQ(Newest(), Case.Line);
    }
}

TEST_F(CalculatorForm, AnErrorIsShownAndChangesNothing) {
    OpenDocument();
    Enter("2*3");
    test::TDialogsScope Scope;
    for (const char* Text : {"2*", "(1", "NOSUCHNAME"}) {
        Enter(Text);
        ASSERT_FALSE(Scope.Dialogs.Shown.empty()) << Text;
        EXPECT_EQ(Scope.Dialogs.Shown.back().Icon, TMsgDlgType::mtError) << Text;
    }
    EXPECT_EQ(Scope.Dialogs.Shown.size(), 3u);
    EXPECT_EQ(Scope.Dialogs.Shown[0].Text, "Missing operand after *.");
    EXPECT_EQ(Calc->VCLConsole1->GetLineCount(), 1);
    EXPECT_EQ(Newest(), "2*3 = 6");
    EXPECT_EQ(History(), std::vector<std::string>{"2*3"});
    // Called directly the error reaches the caller.
    Calc->ComboBox1->setEditText("2*");
    EXPECT_THROW(Calc->Calculate(), std::runtime_error);
}

TEST_F(CalculatorForm, AChoiceFromTheListCalculatesAndClearEmptiesTheResults) {
    OpenDocument();
    Enter("1+1");
    Enter("2+2");
    Calc->ComboBox1->setCurrentIndex(0);
    emit Calc->ComboBox1->activated(0);
    EXPECT_EQ(Newest(), "1+1 = 2");
    EXPECT_EQ(Calc->VCLConsole1->GetLineCount(), 3);
    Calc->SpeedButton2->click();
    EXPECT_EQ(Calc->VCLConsole1->GetLineCount(), 0);
    EXPECT_EQ(Newest(), "");
    EXPECT_EQ(History(), (std::vector<std::string>{"1+1", "2+2"}));
}

TEST_F(CalculatorForm, ClosedAndCalledUpAgainItStartsEmpty) {
    OpenDocument();
    Enter("2*3");
    Calc->show();
    Calc->close();
    EXPECT_EQ(GCalculatorForm, nullptr);
    Settle();
    Calc = GetCalculatorForm();
    EXPECT_EQ(GetCalculatorForm(), Calc);
    EXPECT_EQ(Calc->windowTitle(), "Calculator");
    EXPECT_EQ(Calc->VCLConsole1->GetLineCount(), 0);
    EXPECT_TRUE(History().empty());
}

TEST_F(CalculatorForm, OpensFromItsActionAndByItsSavedName) {
    delete Calc;
    ASSERT_EQ(GCalculatorForm, nullptr);
    Form->UpdateActions();
    ASSERT_TRUE(Form->CalculatorAction->isEnabled());
    Form->CalculatorAction->trigger();
    Settle();
    ASSERT_NE(GCalculatorForm, nullptr);
    EXPECT_TRUE(GCalculatorForm->isVisible());
    QWidget* Control = nullptr;
    GDockingManager->DoReloadDockedControl("CalculatorForm", Control);
    EXPECT_EQ(Control, GCalculatorForm);
}

}  // namespace
}  // namespace sarnova
