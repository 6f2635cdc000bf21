// The permeability plot: cuts of every compartment, filled in the colour of its effective
// permeability, laid out in rows as the document's setup entity says, on a GDI view that zooms and
// prints.
#pragma once
#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace sarnova {

class IGraphics;
class TGeoSetup;
class TGeometryList;
class TPolylineList;
class TViewWinAPI;
namespace arrangement {
class TArrangement;
}

class TPermForm : public QDialog {
    Q_OBJECT
public:
    explicit TPermForm(QWidget* Parent = nullptr);
    ~TPermForm() override;

    // Uses the document's "Setup" entity, adding one when there is none; an entity of that name of
    // another class is reported and no setup is used.
    void SetDocument(TGeometryList* ADocument);
    TGeoSetup* GetSetup() const { return Setup; }
    arrangement::TArrangement& GetArrangement() const { return *Arrangement; }
    TPolylineList* GetOutlines() const { return Outlines.get(); }

    // Builds the arrangement and lays the cuts out.
    void Rebuild();
    void LayoutOutlines();
    // "Update": the edit's layout stored in the setup and laid out again.
    void Button1Click();
    void SpeedButton1Click();
    void View2D1Redraw(IGraphics& View);

    QToolButton* SpeedButton1;
    QPushButton* Button1;
    QLineEdit* Edit1;
    TViewWinAPI* ViewWinAPI1;
    QStatusBar* StatusBar1;

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    TGeometryList* Document = nullptr;
    std::unique_ptr<arrangement::TArrangement> Arrangement;
    std::unique_ptr<TPolylineList> Outlines;
    TGeoSetup* Setup = nullptr;
    bool Painted = false;
};

void OpenPermeabilityPlot(TGeometryList* Document);

}  // namespace sarnova
