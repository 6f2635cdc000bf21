#include "shell/HydrostaticsFloatForm.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <GL/gl.h>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "document/GeometryReference.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/Plane.h"
#include "foundation/PolyList.h"
#include "naval/HullSelection.h"
#include "naval/HydroTable.h"
#include "shell/GeometryServer.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGrid.h"
#include "platform/qt/OpenGLHelpers.h"

namespace sarnova {

namespace {

QPointer<THydrostaticsFloatForm> GHydrostaticsFloatForm;

// The rows of the grid: label and field.
const std::pair<const char*, double THydrostaticsData::*> Rows[] = {
    {"Draught", &THydrostaticsData::Draught}, {"Displacement", &THydrostaticsData::Displacement},
    {"LCB", &THydrostaticsData::LCB},         {"VCB", &THydrostaticsData::VCB},
    {"KMT", &THydrostaticsData::KMT},         {"CB", &THydrostaticsData::CB},
    {"CP", &THydrostaticsData::CP},           {"WettedArea", &THydrostaticsData::WettedArea},
};
constexpr int RowCount = 8;
// The least width of the figures column.
constexpr int FiguresColumnWidth = 80;

// The waterplane as a translucent blue sheet: OpenGL blending and material around the plane's own
// rendering. Only an OpenGL view renders objects; other drawing targets skip it.
class TBlendedWaterplane : public IRenderable {
public:
    explicit TBlendedWaterplane(TPlane& APlane) : Plane(APlane) {}
    TMBox GetBounds() override { return Plane.GetBounds(); }
    void Render(IGraphics& View) override {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
        SetGLColor(0xFF0000);
        const std::array<float, 4> Diffuse = ColorToGLColor(0xFF0000, 0.5f);
        const std::array<float, 4> Specular = ColorToGLColor(clWhite, 0.5f);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, Diffuse.data());
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, Specular.data());
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 110);
        glColor4f(Diffuse[0], Diffuse[1], Diffuse[2], Diffuse[3]);
        Plane.Render(View);
        glDisable(GL_BLEND);
    }

private:
    TPlane& Plane;
};

}  // namespace

THydrostaticsFloatForm::THydrostaticsFloatForm(QWidget* Parent)
    : TToolWindowForm(Parent, "HydrostaticsFloatForm", "Hydrostatics"),
      HullRef(std::make_unique<TGeometryReference>(nullptr)),
      WaterPlane(XYPlane) {
    auto* Top = new QWidget(VkDockPanel1);
    Top->setObjectName("Panel1");
    auto* TopLayout = new QHBoxLayout(Top);
    TopLayout->setContentsMargins(2, 2, 2, 2);
    ComboBox1 = new QComboBox(Top);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    UpdateButton = new QPushButton("Update", Top);
    UpdateButton->setObjectName("UpdateButton");
    SelectButton = new QPushButton("Select", Top);
    SelectButton->setObjectName("SelectButton");
    SelectButton->setEnabled(false);
    TopLayout->addWidget(ComboBox1, 1);
    TopLayout->addWidget(UpdateButton);
    TopLayout->addWidget(SelectButton);

    VkGrid1 = new TVkGrid(VkDockPanel1);
    VkGrid1->setObjectName("VkGrid1");
    VkGrid1->SetSize(2, RowCount);
    VkGrid1->SetFixedColumns(1);
    VkGrid1->SetFixedRows(0);
    VkGrid1->Column(0).SetWidth(80);
    VkGrid1->FloatFormat().SetFormat(ffFixed);
    VkGrid1->FloatFormat().SetDigits(3);
    VkGrid1->Column(1).SetFormat(lfNumeric);
    for (int R = 0; R < RowCount; ++R) VkGrid1->Cell(0, R).SetValue(Rows[R].first);
    // Only the draught can be chosen, and typed over.
    VkGrid1->OnSelectCell = [](TVkGridModel*, int Col, int Row, bool& CanSelect) { CanSelect = Col == 1 && Row == 0; };
    VkGrid1->OnEditCell = [this](TVkGridModel*, int Col, int Row, TVkValue& Value) {
        if (Col == 1 && Row == 0) SetDraught(Value.AsDouble());
    };
    MethodLabel = new QLabel(VkDockPanel1);
    MethodLabel->setObjectName("MethodLabel");
    MethodLabel->setWordWrap(true);
    Contents()->addWidget(Top);
    Contents()->addWidget(VkGrid1, 1);
    Contents()->addWidget(MethodLabel);
    // Floating, the window is as high as its rows need: no scrolling for eight numbers.
    VkGrid1->SetScrollBars(ssNone);
    UndockHeight = RowCount * (VkGrid1->GetRowHeight() + 3) + Top->sizeHint().height() + 4 +
                   MethodLabel->sizeHint().height() + style()->pixelMetric(QStyle::PM_TitleBarHeight);
    resize(240, UndockHeight);

    HullRef->OnChanged = [this](TGeometry*) { Recalculate(); };
    HullRef->OnDestroyed = [this](TGeometry*) { SetHull(nullptr); };
    connect(ComboBox1, &QComboBox::activated, this,
            [this] { RunMenuCommand([this] { SelectHullByName(ComboBox1->currentText().toStdString()); }); });
    connect(ComboBox1->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        RunMenuCommand([this] {
            if (ComboBox1->currentText().isEmpty()) return;
            SelectHullByName(ComboBox1->currentText().toStdString());
            ComboBox1->setEditText(QString::fromStdString(HullName()));
        });
    });
    connect(UpdateButton, &QPushButton::clicked, this, [this] {
        RunMenuCommand([this] {
            SelectHullByName(ComboBox1->currentText().toStdString());
            Recalculate();
        });
    });
    connect(SelectButton, &QPushButton::clicked, this, [this] { RunMenuCommand([this] { SelectFromDocument(); }); });

    if (Client) {
        Client->OnMessage = [this](TGeoMessage& Message) { HandleMessage(Message); };
        Client->OnDraw = [this](IGraphics& View) { DrawWaterplane(View); };
    }
    ShowEmpty();
    FillHullNames();
    SelectFromDocument();
}

THydrostaticsFloatForm::~THydrostaticsFloatForm() {
    // The reference must not call back into a window that is going.
    HullRef->OnChanged = nullptr;
    HullRef->OnDestroyed = nullptr;
}

void THydrostaticsFloatForm::HandleMessage(TGeoMessage& Message) {
    if (Hull && (Message.List == nullptr || !Message.List->Contains(Hull))) SetHull(nullptr);
    if (dynamic_cast<TGeoSelectionChange*>(&Message) && Message.HasSender()) {
        TGeometry* Selected = SelectedHull(Message.List);
        SelectButton->setEnabled(Selected != nullptr && Selected != Hull);
    }
    if (dynamic_cast<TGeoListChange*>(&Message) || dynamic_cast<TGeoActiveListChange*>(&Message)) FillHullNames();
}

void THydrostaticsFloatForm::FillHullNames() {
    const QString Text = ComboBox1->currentText();
    ComboBox1->clear();
    if (TGeometryList* Document = ActiveDocument())
        for (int I = 0; I < Document->Count(); ++I) {
            TGeometry& E = Document->Items(I);
            if (!E.GetName().empty() && IsHullObject(E)) ComboBox1->addItem(QString::fromStdString(E.GetName()));
        }
    ComboBox1->setEditText(Text);
}

void THydrostaticsFloatForm::SetHull(TGeometry* Entity) {
    if (Entity == Hull && Entity != nullptr) return;
    if (Entity != nullptr && IsHullObject(*Entity)) {
        Hull = Entity;
        if (HullRef->GetGeometry() != Entity) HullRef->SetGeometry(Entity);
        ComboBox1->setEditText(QString::fromStdString(HullName()));
        const TMBox B = Entity->GetExtents();
        Draught = (B.Max.Z + B.Min.Z) / 2;
        Recalculate();
        return;
    }
    Hull = nullptr;
    if (HullRef->GetGeometry() != nullptr) HullRef->SetGeometry(nullptr);
    ComboBox1->setEditText("");
    ShowEmpty();
}

std::string THydrostaticsFloatForm::HullName() const {
    if (!Hull) return "";
    const std::string Name = Hull->GetName();
    return Name.empty() ? "(" + Hull->GetDescription() + ")" : Name;
}

void THydrostaticsFloatForm::SelectHullByName(const std::string& Text) {
    if (Text.empty() || UpperCase(Text) == UpperCase(HullName())) return;
    TGeometryList* Document = ActiveDocument();
    TGeometry* Entity = Document ? Document->FindByName(Text) : nullptr;
    if (Entity && Entity != Hull && IsHullObject(*Entity)) SetHull(Entity);
}

void THydrostaticsFloatForm::SelectFromDocument() {
    TGeometryList* Document = ActiveDocument();
    if (!Document) return;
    TGeometry* Entity = SelectedHull(Document);
    if (Entity && Entity != Hull) SetHull(Entity);
}

void THydrostaticsFloatForm::SetDraught(double Value) {
    if (Value == Draught) return;
    Draught = Value;
    Recalculate();
}

void THydrostaticsFloatForm::ComputeHydrostatics(THydrostaticsData& R, double AtDraught) {
    ResetHydrostatics(R);
    std::string Method;
    try {
        if (const std::unique_ptr<THullHydrostatics> Hydrostatics = Hull ? HullHydrostaticsOfEntity(*Hull) : nullptr) {
            Hydrostatics->AtDraught(AtDraught, R);
            Method = HydrostaticsMethodText(*Hydrostatics);
        }
    } catch (const EError& E) {
        // A refused hull shows no figures, and says why.
        ResetHydrostatics(R);
        R.Draught = AtDraught;
        Method = E.what();
    }
    MethodLabel->setText(QString::fromStdString(Method));
}

void THydrostaticsFloatForm::Recalculate() {
    THydrostaticsData R;
    ResetHydrostatics(R);
    ComputeHydrostatics(R, Draught);
    ShowHydrostatics(R);
    WaterPlane = R.WaterPlane;
    CentreOfBuoyancy = {R.LCB, R.TCB, R.VCB};
    if (TGeometryList* Document = Client ? Client->ActiveDocument() : nullptr) Document->InvalidateViews();
}

void THydrostaticsFloatForm::ShowEmpty() {
    THydrostaticsData R;
    ResetHydrostatics(R);
    MethodLabel->setText("");
    ShowHydrostatics(R);
}

void THydrostaticsFloatForm::ShowHydrostatics(const THydrostaticsData& R) {
    VkGrid1->BeginUpdate();
    int Widest = 0;
    for (int I = 0; I < RowCount; ++I) {
        VkGrid1->Cell(1, I).SetValue(R.*Rows[I].second);
        Widest = std::max(Widest, VkGrid1->ScreenTextWidth(VkGrid1->GetFont(), VkGrid1->Cell(1, I).DisplayText()));
    }
    // The figures column fits its widest figure, so no leading digit is cut off.
    VkGrid1->Column(1).SetWidth(std::max(FiguresColumnWidth, Widest + 12));
    VkGrid1->EndUpdate();
}

void THydrostaticsFloatForm::DrawWaterplane(IGraphics& View) {
    if (!Hull) return;
    View.EditHandle(10, CentreOfBuoyancy.X, CentreOfBuoyancy.Y, CentreOfBuoyancy.Z);
    const TColor LineColor = View.GetLineColor();
    TPlane Plane;
    Plane.SetPlane(WaterPlane);
    Plane.SetExtents(Hull->GetExtents());
    TBlendedWaterplane Sheet(Plane);
    View.RenderObject(Sheet);
    Plane.Draw(View);
    View.SetLineColor(LineColor);
}

void THydrostaticsFloatForm::ShowNoDocument() { SetHull(nullptr); }

THydrostaticsFloatForm* GetHydrostaticsFloatForm() { return GetToolWindow(GHydrostaticsFloatForm); }

}  // namespace sarnova
