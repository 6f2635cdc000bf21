#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "document/GPline.h"
#include "entities/GBox.h"
#include "document/GeoFace.h"
#include "document/ui/MirrorForm.h"
#include "document/ui/MoveForm.h"
#include "document/ui/RotateForm.h"
#include "document/ui/ScaleForm.h"
#include "foundation/Polyline.h"
#include "platform/qt/QtPrinter.h"
#include "shell/ViewUnitFormats.h"
#include "exchange/IGESFile.h"
#include "views/GeometryPlotter.h"
#include "views/PlotterUnit.h"
#include "tests/shell/DocumentWindowFixture.h"

namespace sarnova {
namespace {

const std::filesystem::path ExampleHull = std::filesystem::path(SARNOVA_SOURCE_DIR) / "examples" / "hull.geo";

std::string ReadAll(const std::filesystem::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

// The example hull (seven polylines) in a document window.
class DocumentActions : public test::TDocumentWindowFixture {
protected:
    void SetUp() override {
        TDocumentWindowFixture::SetUp();
        W = OpenWindow(ExampleHull);
        ASSERT_NE(W, nullptr);
        Doc = &W->GetDocument();
        Keel = dynamic_cast<TGeoPline*>(Doc->FindByName("Keel"));
        ASSERT_NE(Keel, nullptr);
    }

    // Answer runs on the next modal dialog once it shows, inside the dialog's own event loop. A dialog
    // the answer leaves open is rejected, so that a test never waits for a user; a dialog that never
    // comes ends the wait with the main window.
    void OnNextModal(std::function<void(QWidget&)> Answer) {
        auto* Timer = new QTimer(Form.get());
        QObject::connect(Timer, &QTimer::timeout, [Timer, Answer = std::move(Answer)] {
            QWidget* Modal = QApplication::activeModalWidget();
            if (!Modal) return;
            Timer->stop();
            Timer->deleteLater();
            Answer(*Modal);
            if (auto* Dialog = qobject_cast<QDialog*>(Modal); Dialog && Dialog->isVisible()) Dialog->reject();
        });
        Timer->start(10);
    }

    int HiddenCount() const {
        int Hidden = 0;
        for (int I = 0; I < Doc->Count(); ++I) Hidden += Doc->Items(I).IsHidden();
        return Hidden;
    }
    // The document as the plain list writer puts it in a file.
    std::string Text(const char* Name) const {
        const auto Path = Folder / Name;
        static_cast<TGeometryList&>(*Doc).SaveToFile(Path);
        return ReadAll(Path);
    }
    TRPoint KeelPoint(int Index) const { return *Keel->Polyline().Point(Index); }
    QAction* MenuItem(QMenu& Menu, const char* Caption) const {
        for (QAction* Action : Menu.actions())
            if (Action->text() == Caption) return Action;
        ADD_FAILURE() << "no item " << Caption;
        return nullptr;
    }

    TViewform* W = nullptr;
    TGeometryInterface* Doc = nullptr;
    TGeoPline* Keel = nullptr;
};

TEST_F(DocumentActions, SelectionAndVisibility) {
    ASSERT_EQ(Doc->Count(), 7);
    W->SelectAllAction->trigger();
    EXPECT_EQ(Doc->SelectedCount(), 7);
    W->SelectNoneAction1->trigger();
    EXPECT_EQ(Doc->SelectedCount(), 0);
    Keel->SetSelected(true);
    Doc->FindByName("Chine")->SetSelected(true);
    W->InvertSelectionAction->trigger();
    EXPECT_EQ(Doc->SelectedCount(), 5);
    EXPECT_FALSE(Keel->GetSelected());

    // Selecting by kind adds the polylines and leaves an entity of another kind as it was.
    auto& Box = *Doc->Add(std::make_unique<TBoxEntity>("Box"));
    Box.SetSelected(true);
    Doc->ClearSelection();
    Box.SetSelected(true);
    MenuItem(*W->ByType1, "Select Polylines")->trigger();
    EXPECT_EQ(Doc->SelectedCount(), 8);
    Doc->ClearSelection();
    MenuItem(*W->ByType1, "Select Polylines")->trigger();
    EXPECT_EQ(Doc->SelectedCount(), 7);
    EXPECT_FALSE(Box.GetSelected());

    // Show and hide.
    Doc->SelectOnly(Keel);
    MenuItem(*W->ShowHide1, "Hide Selected")->trigger();
    EXPECT_EQ(HiddenCount(), 1);
    EXPECT_TRUE(Keel->IsHidden());
    MenuItem(*W->ShowHide1, "Show All")->trigger();
    EXPECT_EQ(HiddenCount(), 0);
    Doc->SelectOnly(Keel);
    MenuItem(*W->ShowHide1, "Hide Unselected")->trigger();
    EXPECT_EQ(HiddenCount(), 7);
    EXPECT_FALSE(Keel->IsHidden());
    MenuItem(*W->ShowHide1, "Hide All")->trigger();
    EXPECT_EQ(HiddenCount(), 8);
}

TEST_F(DocumentActions, EditObjectNeedsExactlyOneSelectedEntity) {
    Keel->SetSelected(true);
    Doc->FindByName("Chine")->SetSelected(true);
    W->UpdateActions();
    EXPECT_FALSE(W->EditAction->isEnabled());
    W->EditAction->activate(QAction::Trigger);  // even when reached past the disabled state
    EXPECT_EQ(Doc->GetEditedGeometry(), nullptr);

    Doc->SelectOnly(Keel);
    W->UpdateActions();
    ASSERT_TRUE(W->EditAction->isEnabled());
    W->EditAction->trigger();
    EXPECT_EQ(Doc->GetEditedGeometry(), Keel);
    W->EditAction->trigger();
    EXPECT_EQ(Doc->GetEditedGeometry(), nullptr);
}

TEST_F(DocumentActions, HydrostaticWindowsNeedExactlyOneSelectedHull) {
    TGeometry* Hull = Doc->Add(std::make_unique<TGeoBox>());
    const std::pair<std::vector<TGeometry*>, bool> Cases[] = {
        {{Hull}, true}, {{Keel}, false}, {{Hull, Keel}, false}, {{}, false}};
    for (const auto& [Selected, Enabled] : Cases) {
        Doc->ClearSelection();
        for (TGeometry* E : Selected) E->SetSelected(true);
        W->UpdateActions();
        EXPECT_EQ(W->HydrostaticsAction->isEnabled(), Enabled) << Selected.size();
        EXPECT_EQ(W->SectionAreaCurveAction->isEnabled(), Enabled) << Selected.size();
    }
}

TEST_F(DocumentActions, PerspectiveTogglesAndItsMarkFollowsAtTheNextUpdate) {
    ASSERT_EQ(W->GetView().GetProjection(), cmParallel);
    W->PerspectiveAction->trigger();
    EXPECT_EQ(W->GetView().GetProjection(), cmPerspective);
    W->UpdateActions();
    EXPECT_TRUE(W->PerspectiveAction->isChecked());
    W->PerspectiveAction->trigger();
    EXPECT_EQ(W->GetView().GetProjection(), cmParallel);
    W->UpdateActions();
    EXPECT_FALSE(W->PerspectiveAction->isChecked());
}

TEST_F(DocumentActions, CopyAndPasteThroughTheProgramsClipboard) {
    GClipboard->Clear();
    Doc->SelectOnly(Keel);
    Form->UpdateActions();
    Form->CopyAction->trigger();
    EXPECT_EQ(GClipboard->Count(), 1);
    Form->UpdateActions();
    EXPECT_TRUE(Form->PasteAction->isEnabled());

    // The first paste moves the clipboard's entity in; the second finds nothing selected there.
    Form->PasteAction->trigger();
    EXPECT_EQ(Doc->Count(), 8);
    Form->PasteAction->trigger();
    EXPECT_EQ(Doc->Count(), 8);

    // A copy with nothing selected empties the clipboard, and Paste goes off.
    GClipboard->Add(std::make_unique<TBoxEntity>("Left"));
    Doc->ClearSelection();
    W->CopySelection();
    EXPECT_EQ(GClipboard->Count(), 0);
    Form->UpdateActions();
    EXPECT_FALSE(Form->PasteAction->isEnabled());
}

// Each transform action runs its dialog; the answer is typed into the dialog's fields and confirmed.
TEST_F(DocumentActions, TransformActionsApplyTheirDialogToTheSelectionAsOneUndoStep) {
    struct TCase {
        QAction* TMainForm::*Action;
        std::function<void(QWidget&)> Fill;
        TMVector Expected;  // where the keel's point at (15, 0, 0) goes
    };
    const TCase Cases[] = {
        {&TMainForm::TranslateAction,
         [](QWidget& D) {
             auto& F = dynamic_cast<TMoveForm&>(D);
             F.Edit1->setText("2.5");
             F.Edit3->setText("-1");
         },
         {17.5, 0, -1}},
        {&TMainForm::ScaleAction,
         [](QWidget& D) {
             auto& F = dynamic_cast<TScaleForm&>(D);
             F.Edit1->setText("2");
             F.Edit2->setText("2");
             F.Edit3->setText("2");
             F.Edit4->setText("5");
         },
         {25, 0, 0}},
        {&TMainForm::RotateAction,
         [](QWidget& D) {
             auto& F = dynamic_cast<TRotateForm&>(D);
             F.Edit3->setText("90");
         },
         {0, -15, 0}},  // the angles turn points the negative way
        {&TMainForm::MirrorAction,
         [](QWidget& D) {
             auto& F = dynamic_cast<TMirrorForm&>(D);
             F.RadioButton2->setChecked(true);
             F.Edit2->setText("10");
         },
         {5, 0, 0}},
    };
    const std::string Before = Text("before.geo");
    auto& Chine = dynamic_cast<TGeoPline&>(*Doc->FindByName("Chine"));
    const TRPoint Sheer = *dynamic_cast<TGeoPline&>(*Doc->FindByName("Sheer")).Polyline().Point(3);
    for (const TCase& Case : Cases) {
        QAction* Action = Form.get()->*Case.Action;
        SCOPED_TRACE(Action->objectName().toStdString());
        Doc->SelectOnly(Keel);
        Chine.SetSelected(true);
        Form->UpdateActions();
        ASSERT_TRUE(Action->isEnabled());
        OnNextModal([&](QWidget& D) {
            Case.Fill(D);
            dynamic_cast<TTransformForm&>(D).Button1->click();
        });
        Action->trigger();
        const TRPoint P = KeelPoint(3);
        EXPECT_NEAR(P.X, Case.Expected.X, 1e-9);
        EXPECT_NEAR(P.Y, Case.Expected.Y, 1e-9);
        EXPECT_NEAR(P.Z, Case.Expected.Z, 1e-9);
        // Only the selection moves; one undo puts both selected curves back.
        EXPECT_EQ(dynamic_cast<TGeoPline&>(*Doc->FindByName("Sheer")).Polyline().Point(3)->X, Sheer.X);
        EXPECT_NE(Text("after.geo"), Before);

        Form->UpdateActions();
        ASSERT_TRUE(Form->UndoAction->isEnabled());
        Form->UndoAction->trigger();
        EXPECT_EQ(Text("after.geo"), Before);
    }
}

TEST_F(DocumentActions, ATransformCopyAddsMovedCopiesAndCancelChangesNothing) {
    const std::string Before = Text("before.geo");
    Doc->SelectOnly(Keel);
    OnNextModal([](QWidget& D) {
        auto& F = dynamic_cast<TMoveForm&>(D);
        F.Edit2->setText("1");
        F.CheckBox1->setChecked(true);
        F.Button1->click();
    });
    W->TranslateSelection();
    ASSERT_EQ(Doc->Count(), 8);
    EXPECT_DOUBLE_EQ(KeelPoint(3).Y, 0);
    EXPECT_DOUBLE_EQ(dynamic_cast<TGeoPline&>(Doc->Items(7)).Polyline().Point(3)->Y, 1);
    W->Undo();
    EXPECT_EQ(Text("after.geo"), Before);
    EXPECT_FALSE(W->CanUndo());

    // Cancel, and OK on a field that holds no number (reported, the dialog stays open until cancelled).
    OnNextModal([](QWidget& D) {
        auto& F = dynamic_cast<TMoveForm&>(D);
        F.Edit1->setText("9");
        F.Button2->click();
    });
    W->TranslateSelection();
    OnNextModal([](QWidget& D) {
        auto& F = dynamic_cast<TMoveForm&>(D);
        F.Edit1->setText("nine");
        F.Button1->click();
    });
    W->TranslateSelection();
    ASSERT_FALSE(Dialogs.Shown.empty());
    EXPECT_EQ(Dialogs.Shown.back().Icon, TMsgDlgType::mtError);
    EXPECT_EQ(Text("after.geo"), Before);
    EXPECT_FALSE(W->CanUndo());
}

TEST_F(DocumentActions, PrintClearsTheSelectionAndWritesThePage) {
    // The program's printer, writing into the test's folder until the test ends.
    QPrinter& Printer = GetPrinter();
    struct TRestore {
        QPrinter& Printer;
        QPrinter::OutputFormat Format = Printer.outputFormat();
        QString FileName = Printer.outputFileName();
        ~TRestore() {
            Printer.setOutputFormat(Format);
            Printer.setOutputFileName(FileName);
        }
    } Restore{Printer};
    Printer.setOutputFormat(QPrinter::PdfFormat);
    const auto Pdf = Folder / "view.pdf";
    Printer.setOutputFileName(QString::fromStdString(Pdf.string()));
    Doc->SelectOnly(Keel);
    Form->UpdateActions();

    // Cancelled: nothing printed, the selection stays.
    OnNextModal([](QWidget& D) {
        ASSERT_NE(qobject_cast<QPrintDialog*>(&D), nullptr);
        qobject_cast<QDialog*>(&D)->reject();
    });
    Form->PrintAction->trigger();
    EXPECT_TRUE(Keel->GetSelected());
    EXPECT_FALSE(std::filesystem::exists(Pdf));

    OnNextModal([](QWidget& D) { qobject_cast<QDialog*>(&D)->accept(); });
    Form->PrintAction->trigger();
    EXPECT_EQ(Doc->SelectedCount(), 0);
    const std::string Written = ReadAll(Printer.outputFileName().toStdString());
    EXPECT_EQ(Written.substr(0, 5), "%PDF-");
    EXPECT_GT(Written.size(), 500u);
    EXPECT_EQ(Printer.docName(), "Sarnova - hull.geo");
}

TEST_F(DocumentActions, PrintToScaleOpensTheScalePrintingWindowForPrintableEntities) {
    Form->UpdateActions();
    EXPECT_TRUE(Form->PrintToScaleAction->isEnabled());
    Dialogs.Answer(TModalResult::mrNo);
    int Pages = -1;
    std::string Title;
    OnNextModal([&](QWidget& Modal) {
        Title = Modal.windowTitle().toStdString();
        if (auto* Plotter = dynamic_cast<TPlotterForm*>(&Modal)) Pages = Plotter->GetPlotter().PageCount();
    });
    Form->PrintToScaleAction->trigger();
    EXPECT_EQ(Title, "Scale Printing");
    EXPECT_EQ(Pages, 1);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Split Geometry elements into separate pages");

    // An empty document has nothing to print to scale.
    NewWindow();
    Form->UpdateActions();
    EXPECT_FALSE(Form->PrintToScaleAction->isEnabled());
}

TEST_F(DocumentActions, PrintSettingsRunThePrinterSetup) {
    bool Shown = false;
    OnNextModal([&](QWidget& D) { Shown = qobject_cast<QPageSetupDialog*>(&D) != nullptr; });
    W->PrintSettingsAction->trigger();
    EXPECT_TRUE(Shown);
}

TEST_F(DocumentActions, ImportOfADocumentAddsItsEntitiesAndFitsOnlyWhenConfirmed) {
    QAction* Geometry = W->Import1->actions().first();
    ASSERT_EQ(Geometry->text(), "Geometry...");
    ASSERT_TRUE(Geometry->isEnabled());
    const int Fits = W->GetView().SavedCameraStates();

    Dialogs.CancelFileDialog();
    Geometry->trigger();
    EXPECT_EQ(Doc->Count(), 7);
    EXPECT_EQ(W->GetView().SavedCameraStates(), Fits);

    Dialogs.ChooseFile(ExampleHull.string());
    Geometry->trigger();
    ASSERT_EQ(Dialogs.ShownFileDialogs.size(), 2u);
    EXPECT_EQ(Dialogs.ShownFileDialogs[1].Title, "Open Geometry File");
    EXPECT_FALSE(Dialogs.ShownFileDialogs[1].Save);
    EXPECT_EQ(Doc->Count(), 14);
    EXPECT_EQ(W->GetView().SavedCameraStates(), Fits + 1);
    W->Undo();
    EXPECT_EQ(Doc->Count(), 7);
}

// The zoom rule and the dialogs of the format table, on formats of the test's own.
TEST_F(DocumentActions, FormatItemsRunTheirDialogAndProcedure) {
    static std::string Received;
    Received.clear();
    const auto Note = [](const std::string& FileName, TGeometryInterface&) { Received = FileName; };
    const TFileFormat Always{"T...", TFormatDialog::fdOwn, "Import T", "t", "T (*.t)|*.t", Note, nullptr,
                             TImportZoom::izAlways};
    const TFileFormat Never{"N...", TFormatDialog::fdOwn, "Import N", "n", "N (*.n)|*.n", Note, nullptr,
                            TImportZoom::izNever};
    const int Fits = W->GetView().SavedCameraStates();

    // A cancelled import of a format that always fits still fits.
    Dialogs.CancelFileDialog();
    W->ImportFormat(Always);
    EXPECT_EQ(W->GetView().SavedCameraStates(), Fits + 1);
    EXPECT_TRUE(Received.empty());
    Dialogs.ChooseFile("hull.n");
    W->ImportFormat(Never);
    EXPECT_EQ(Received, "hull.n");
    EXPECT_EQ(W->GetView().SavedCameraStates(), Fits + 1);

    // Export asks with a save dialog and writes nothing when cancelled.
    Received.clear();
    Dialogs.CancelFileDialog();
    W->ExportFormat(Always);
    EXPECT_TRUE(Received.empty());
    Dialogs.ChooseFile("out.t");
    W->ExportFormat(Always);
    EXPECT_EQ(Received, "out.t");
    ASSERT_EQ(Dialogs.ShownFileDialogs.size(), 4u);
    EXPECT_TRUE(Dialogs.ShownFileDialogs[3].Save);
    EXPECT_EQ(Dialogs.ShownFileDialogs[3].Title, "Import T");
}

// The exchange formats of the menus write and read real files.
TEST_F(DocumentActions, ExchangeFormatItemsWriteAndReadFiles) {
    const auto ItemOf = [](QMenu* Menu, const std::string& Caption) -> QAction* {
        for (QAction* A : Menu->actions())
            if (A->text().toStdString() == Caption) return A;
        return nullptr;
    };
    W->UpdateActions();
    for (const char* Caption : {"AutoCAD DXF...", "Stereolithography STL...", "Open Inventor IV (Basic)...", "CSV (Polylines)",
                                "Ansys Element Script...", "Napa Offset Table...", "Defcar - ShipGEN...",
                                "FastShip SRF...", "IMSA IDF...", "IMS Offsets OFF...",
                                "AutoSHIP GF..."}) {
        ASSERT_NE(ItemOf(W->Import1, Caption), nullptr) << Caption;
        EXPECT_TRUE(ItemOf(W->Import1, Caption)->isEnabled()) << Caption;
    }
    for (const char* Caption : {"AutoCAD DXF...", "GridGen Glyph...", "Ansys Element Script...",
                                "FastShip SRF...", "IMS Offsets OFF...", "AutoSHIP GF..."}) {
        ASSERT_NE(ItemOf(W->Export1, Caption), nullptr) << Caption;
        EXPECT_TRUE(ItemOf(W->Export1, Caption)->isEnabled()) << Caption;
    }

    const auto Path = std::filesystem::temp_directory_path() / "menu-export.dxf";
    std::filesystem::remove(Path);
    Dialogs.ChooseFile(Path.string());
    ItemOf(W->Export1, "AutoCAD DXF...")->trigger();
    ASSERT_TRUE(std::filesystem::exists(Path));
    const int Before = Doc->Count();
    Dialogs.ChooseFile(Path.string());
    ItemOf(W->Import1, "AutoCAD DXF...")->trigger();
    EXPECT_GT(Doc->Count(), Before);
}

// The Keldane item asks for its file through the window's dialogs.
TEST_F(DocumentActions, KeldaneItemAsksForItsFile) {
    QAction* Item = nullptr;
    for (QAction* A : W->Import1->actions())
        if (A->text() == "Keldane...") Item = A;
    ASSERT_NE(Item, nullptr);
    W->UpdateActions();
    EXPECT_TRUE(Item->isEnabled());
    const auto Path = std::filesystem::temp_directory_path() / "menu-import.kdn";
    std::ofstream(Path) << "1\n2\n3\n4\n5\n6\n7\n2\n9\n10\n11\n12\n1\n2\n0 0 0\n1000 0 0\n";
    const int Before = Doc->Count();
    Dialogs.ChooseFile(Path.string());
    Item->trigger();
    EXPECT_EQ(Doc->Count(), Before + 1);
    ASSERT_FALSE(Dialogs.ShownFileDialogs.empty());
    EXPECT_EQ(Dialogs.ShownFileDialogs.back().Title, "Import Keldane Hull");
}

// The IGES items write a file through the properties question and read it back.
TEST_F(DocumentActions, IgesItemsWriteAndReadFiles) {
    const auto ItemOf = [](QMenu* Menu, const std::string& Caption) -> QAction* {
        for (QAction* A : Menu->actions())
            if (A->text().toStdString() == Caption) return A;
        return nullptr;
    };
    W->UpdateActions();
    QAction* Export = ItemOf(W->Export1, "IGES 5.0...");
    QAction* Import = ItemOf(W->Import1, "IGES 5.0...");
    ASSERT_NE(Export, nullptr);
    ASSERT_NE(Import, nullptr);
    EXPECT_TRUE(Export->isEnabled());
    EXPECT_TRUE(Import->isEnabled());

    auto Line = std::make_unique<TGeoPline>();
    Line->Polyline().AddPoint(0, 0, 0);
    Line->Polyline().AddPoint(1, 2, 3);
    Doc->Add(std::move(Line));
    const TIGESPropertiesDialog Saved = IGESPropertiesDialog();
    int Asked = 0;
    IGESPropertiesDialog() = [&](std::string&, std::string&, TIGESUnits&) { ++Asked; };
    const auto Path = std::filesystem::temp_directory_path() / "menu-export.igs";
    std::filesystem::remove(Path);
    Dialogs.ChooseFile(Path.string());
    Export->trigger();
    IGESPropertiesDialog() = Saved;
    EXPECT_EQ(Asked, 1);
    ASSERT_TRUE(std::filesystem::exists(Path));
    const int Before = Doc->Count();
    Dialogs.ChooseFile(Path.string());
    Import->trigger();
    EXPECT_GT(Doc->Count(), Before);
}

// What the program cannot do yet is offered disabled, never as an item that does nothing.
TEST_F(DocumentActions, MissingTargetsAreDisabled) {
    Form->UpdateActions();
    W->UpdateActions();
    EXPECT_TRUE(W->Import1->menuAction()->isEnabled());
    EXPECT_TRUE(W->Export1->menuAction()->isEnabled());
    ASSERT_EQ(W->Import1->actions().size(), static_cast<qsizetype>(ImportFormats().size()));
    ASSERT_EQ(W->Export1->actions().size(), static_cast<qsizetype>(ExportFormats().size()));
    for (std::size_t I = 0; I < ImportFormats().size(); ++I) {
        EXPECT_EQ(W->Import1->actions()[I]->text().toStdString(), ImportFormats()[I].Caption);
        EXPECT_EQ(W->Import1->actions()[I]->isEnabled(), ImportFormats()[I].Available()) << I;
    }
    for (std::size_t I = 0; I < ExportFormats().size(); ++I)
        EXPECT_EQ(W->Export1->actions()[I]->isEnabled(), ExportFormats()[I].Available()) << I;
    EXPECT_EQ(W->Export1->actions().at(1)->text(), "Proteus DAM && SUS...");

    for (QAction* Action : W->Calculation1->actions())
        if (!Action->isSeparator() && Action->text().endsWith("...")) {
            // The permeability plot and the reports work on any document; the hydrostatic windows wait
            // for a hull, and the lines plan is not there yet.
            const bool Always = Action == W->PermeabilityPlotAction || Action->text() == "Entity Extents..." ||
                                Action->text() == "Compartment Volumes...";
            EXPECT_EQ(Action->isEnabled(), Always) << Action->text().toStdString();
        }
    EXPECT_TRUE(Form->PrintAction->isEnabled());
    EXPECT_TRUE(W->PrintSettingsAction->isEnabled());
}

}  // namespace
}  // namespace sarnova
