// What the two modal windows that compute over the selected hull share: the document, the calculation
// sections made once on the first paint with a selected hull, the "Draughts:" edit and the least and
// greatest draught labels, the busy flag and the status text shown while they work.
#pragma once
#include <QDialog>

#include <memory>
#include <string>

#include "foundation/GeomBox.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace sarnova {

class TGeometry;
class TGeometryList;
class THullHydrostatics;
class TPolylineList;
class TVkStatusBar;

class THullCalculationForm : public QDialog {
    Q_OBJECT
public:
    explicit THullCalculationForm(QWidget* Parent = nullptr);
    ~THullCalculationForm() override;

    void SetDocument(TGeometryList* ADocument) { Document = ADocument; }
    TGeometryList* GetDocument() const { return Document; }
    TPolylineList* GetSections() const { return Sections.get(); }
    // The hull's hydrostatics, for a window that shows them; nullptr before Prepare.
    THullHydrostatics* GetHydrostatics() const { return Hydrostatics.get(); }
    const TMBox& GetExtents() const { return Extents; }

    // With a selected hull and not busy: the sections made afresh, the least and greatest z of
    // their extents shown, the edit set to their mean, then Calculate. The controls come back also
    // when it fails.
    void Prepare();
    // Recomputes what the window shows from the sections and the draughts of Edit1.
    virtual void Calculate() = 0;
    // The window's working controls, with the wait cursor while they are off.
    virtual void EnableControls(bool On);

    QLineEdit* Edit1;
    QPushButton* Button1;
    QLabel* Label4;
    QLabel* Label5;
    TVkStatusBar* StatusBar1;

protected:
    // Whether Prepare also makes the hull's hydrostatics (which refuse a hull they cannot trust).
    virtual bool UsesHydrostatics() const { return false; }
    // What status panel 0 shows while the window is not working.
    virtual std::string IdleStatusText() const { return ""; }
    // Status panel 0.
    void SetStatusText(const std::string& Text);
    void paintEvent(QPaintEvent* Event) override;

    TGeometryList* Document = nullptr;
    std::unique_ptr<TPolylineList> Sections;
    std::unique_ptr<THullHydrostatics> Hydrostatics;
    TMBox Extents;
    bool Busy = false;

private:
    bool PrepareQueued = false;
    TGeometry* FailedHull = nullptr;
};

// A number as the windows show it: fixed, 3 decimals.
std::string Fixed3(double Value);
// Runs the pending events of the window system, as a long calculation does between its steps.
void ProcessPendingMessages();

}  // namespace sarnova
