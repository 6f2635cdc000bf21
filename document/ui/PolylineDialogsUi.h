// The dialogs of the polyline and facet operations: the slicing plane, the vertex spacing and a text
// query.
#pragma once
#include <QDialog>
#include <string>

#include "document/PolylineDialogs.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sarnova {

// "Slice " + a word: an axis plane at a typed position, or one of the document's named plane entities;
// the close box is offered only when the caller allows closing and an axis plane is chosen.
class TSliceForm : public QDialog {
public:
    explicit TSliceForm(QWidget* Parent = nullptr);
    // The caption word, the planes of Document and whether closing is offered.
    void Setup(const std::string& Name, TGeometryList& Document, bool AllowClosing);
    // The answers of an accepted dialog.
    TMPlane Plane() const { return FPlane; }
    bool Close() const { return FClose; }

    QRadioButton* Axes[3];
    QRadioButton* PlaneButton;
    QComboBox* PlaneList;
    QGroupBox* PositionGroup;
    QLabel* PositionLabel;
    QLineEdit* Position;
    QCheckBox* CloseBox;
    QPushButton* OkButton;
    QPushButton* CancelButton;

private:
    void UsePosition(bool On);
    void Accept();

    TGeometryList* Document = nullptr;
    bool AllowClosing = false;
    TMPlane FPlane;
    bool FClose = false;
};

// The vertex spacing of one polyline, or of every polyline of a list with the waterplane
// distribution; every opening starts from the defaults.
class TVertexForm : public QDialog {
public:
    explicit TVertexForm(QWidget* Parent = nullptr);
    // "Modify Polyline List Vertices", the count of the list's longest polyline.
    void SetupForList(const TPolylineList& List);
    // "Modify Polyline Vertices", the polyline's count, no waterplane group.
    void SetupForPolyline(const TPolyline& Polyline);
    // The answers; Mode 0 unless accepted.
    TVertexOptions Options() const { return FOptions; }

    QRadioButton* ByCount;
    QLineEdit* CountEdit;
    QRadioButton* BySpacing;
    QLineEdit* SpacingEdit;
    QCheckBox* MaintainShape;
    QCheckBox* RemoveColinear;
    QGroupBox* KnuckleGroup;
    QCheckBox* Detect;
    QLabel* AngleLabel;
    QLineEdit* AngleEdit;
    QLabel* Degrees;
    QGroupBox* WaterGroup;
    QCheckBox* Enable;
    QLabel* DraughtLabel;
    QLineEdit* DraughtEdit;
    QLabel* TrimLabel;
    QLineEdit* TrimEdit;
    QLabel* BelowLabel;
    QLineEdit* BelowEdit;
    QCheckBox* MaintainCount;
    QPushButton* OkButton;
    QPushButton* CancelButton;

private:
    // The enabled states that follow the choices.
    void Follow();
    void Accept();

    TVertexOptions FOptions;
};

bool ShowSliceDialog(const std::string& Name, TGeometryList& Document, bool AllowClosing, bool& Close,
                     TMPlane& Plane);
TVertexOptions ShowVertexDialogForPolyline(const TPolyline& Polyline);
TVertexOptions ShowVertexDialogForList(const TPolylineList& List);

// Hands the dialogs above to the polyline operations.
void RegisterPolylineDialogs();

}  // namespace sarnova
