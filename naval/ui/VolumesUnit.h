// The compartment volumes report: every compartment with its volume, centre, permeability and net
// volume, and every group with the totals of its compartments, in a grid that is copied as
// tab-separated text or printed.
#pragma once
#include <QDialog>

#include <string>

class QToolButton;

namespace sarnova {

class TGeometryList;
class TVkGrid;
class TVkStatusBar;

// What the two report windows share: the copy and print buttons over a read-only grid with fixed
// three-decimal numbers, and a status bar.
class TReportForm : public QDialog {
    Q_OBJECT
public:
    // PrintTitle heads the printed pages.
    TReportForm(QWidget* Parent, const char* Name, const char* Caption, int Columns, std::string PrintTitle);

    // The whole grid, header row included, as tab-separated text.
    void SpeedButton1Click();
    // Prints the grid when the print dialog is confirmed.
    void SpeedButton2Click();

    QWidget* Panel1;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    TVkGrid* VkGrid1;
    TVkStatusBar* StatusBar1;

protected:
    // Every column 80 wide; column 0 and its header left-justified and the only one sharing the free
    // width.
    void LayOutColumns();
    // Row Row's background is the report's light grey.
    void ShadeRow(int Row);

private:
    std::string PrintTitle;
};

class TVolumesForm : public TReportForm {
    Q_OBJECT
public:
    explicit TVolumesForm(QWidget* Parent = nullptr);
    void Fill(TGeometryList& Document);
};

// A report of kind TForm filled for Document and shown modally, kept in Shown while it is; an error
// while filling passes on and nothing is shown.
template <class TForm>
void ShowReport(TGeometryList* Document, TForm*& Shown) {
    if (Document == nullptr) return;
    TForm Form;
    Form.Fill(*Document);
    Shown = &Form;
    struct TForget {
        TForm*& Shown;
        ~TForget() { Shown = nullptr; }
    } Forget{Shown};
    Form.exec();
}

// The form while it is shown; nullptr otherwise.
extern TVolumesForm* VolumesForm;
// Fills the report for Document and shows it modally; an error while filling passes on and nothing
// is shown.
void ShowCompartmentVolumes(TGeometryList* Document);

}  // namespace sarnova
