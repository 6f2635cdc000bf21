#include "entities/GDimension.h"

#include <cmath>

#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/GCustomPline.h"
#include "foundation/NumberText.h"
#include "foundation/Polyline.h"
#include "foundation/RenderTarget.h"
#include "foundation/TextFile.h"

namespace sarnova {

std::string DimensionText(double Distance) {
    std::string Text = FloatToStrF(Distance, ffFixed, 10, 3);
    const char Separator = LocaleDecimalSeparator();
    if (Separator != '.')
        for (char& C : Text)
            if (C == '.') C = Separator;
    return Text;
}

std::array<double, 7> DimensionDistances(const TMVector& A, const TMVector& B) {
    const TMVector D = VectorFromTo(B, A);
    return {std::sqrt(D.X * D.X + D.Y * D.Y + D.Z * D.Z),
            std::fabs(D.X),
            std::fabs(D.Y),
            std::fabs(D.Z),
            std::sqrt(D.X * D.X + D.Y * D.Y),
            std::sqrt(D.Y * D.Y + D.Z * D.Z),
            std::sqrt(D.X * D.X + D.Z * D.Z)};
}

// ---- TGeoDimension ----

TGeoDimension::TGeoDimension() : FLine(std::make_unique<TRLine>(true)) {}

const char* TGeoDimension::HintText() const {
    return "Left Click to Select, Shift to Select by region";
}

TGeoDimension::~TGeoDimension() = default;

void TGeoDimension::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Dimension", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoDimensionCreator>(Document);
                   });
}

double TGeoDimension::Distance() const { return FLine->Point1->Distance(*FLine->Point2); }

std::unique_ptr<TPolyline> TGeoDimension::MakePolyline() const {
    auto Result = std::make_unique<TPolyline>();
    const TMVector A = FLine->Point1->Vector();
    const TMVector B = FLine->Point2->Vector();
    for (int I = 0; I <= 100; ++I) Result->AddVector(VectorLerp(A, B, I / 100.0));
    return Result;
}

void TGeoDimension::AddSnapPoints(TGeometrySnapInfo& Request) {
    if (!Request.SnapTypes().test(stPoint) || Editing()) return;
    Request.TryRPoint(*FLine->Point1, stPoint, this);
    Request.TryRPoint(*FLine->Point2, stPoint, this);
}

TMBox TGeoDimension::CalculateExtents() {
    TMBox Box = EmptyBox;
    FLine->Point1->AddToBox(Box);
    FLine->Point2->AddToBox(Box);
    return Box;
}

IGeometryFrame* TGeoDimension::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(DimensionFrameName, *this, Owner)) return Frame;
    return TGeoDefinedCurve::CreateFrame(Owner);
}

void TGeoDimension::Transform(const TMMatrix& M) {
    BeginChange();
    FLine->Point1->SetVector(MatrixTransformPoint(M, FLine->Point1->Vector()));
    FLine->Point2->SetVector(MatrixTransformPoint(M, FLine->Point2->Vector()));
    EndChange();
}

void TGeoDimension::Assign(const TGeometry& Source) {
    TGeoDefinedCurve::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoDimension*>(&Source)) FLine->Assign(*Other->FLine);
}

void TGeoDimension::DrawDimension(IGraphics& View, bool InColour) {
    const TMVector A = FLine->Point1->Vector();
    const TMVector B = FLine->Point2->Vector();
    if (IRenderTarget* Target = RenderTargetOf(View)) {
        // The label's bottom one text height above the middle of the arrow, centred on it.
        TMVector Window;
        if (Target->WorldToWindow(VectorMidpoint(A, B), Window) && std::fabs(Window.X) < 1e9 &&
            std::fabs(Window.Y) < 1e9) {
            const std::string Text = DimensionText(Distance());
            Target->BeginPixelOverlay();
            View.TextOut(Text, std::round(Window.X - View.TextWidth(Text) / 2),
                         std::round(Window.Y - View.TextHeight(Text)), 0);
            Target->EndPixelOverlay();
        }
    }
    DrawDoubleArrow(View, DimensionArrowHead, A, B);
    DrawHandles(View, InColour);
}

void TGeoDimension::Draw(IGraphics& View) { DrawDimension(View, true); }

void TGeoDimension::DrawOutline(IGraphics& View) { DrawDimension(View, false); }

void TGeoDimension::DrawSimplified(IGraphics& View) { View.LinePoints(*FLine->Point1, *FLine->Point2); }

void TGeoDimension::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    DragMarkedHandles(Offset);
}

void TGeoDimension::SaveKernel(TTextWriter& Out) const {
    for (const TRPoint* P : {FLine->Point1.get(), FLine->Point2.get()}) {
        std::string Line;
        AppendFixed(Line, P->X, 10, 3);
        Line += ' ';
        AppendFixed(Line, P->Y, 10, 3);
        Line += ' ';
        AppendFixed(Line, P->Z, 10, 3);
        Out.WriteLine(Line);
    }
}

void TGeoDimension::LoadKernel(TTextReader& In) {
    TMVector Read[2];
    for (TMVector& V : Read) {
        V.X = In.ReadReal();
        V.Y = In.ReadReal();
        V.Z = In.ReadReal();
        In.SkipLine();
    }
    FLine->Point1->SetVector(Read[0]);
    FLine->Point2->SetVector(Read[1]);
}

// ---- TGeoDimensionCreator ----

TGeoDimensionCreator::TGeoDimensionCreator(TGeometryList& List)
    : TGeoDraggableLineCreator(List, std::make_unique<TPolyline>()) {}

void TGeoDimensionCreator::MouseDown(IGraphics&, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button == mbLeft) {
        TMVector Point;
        ScreenToWorld(X, Y, Point);
        if (Points->Count() >= 2) {
            CreateGeometry();
            Finish(0);
            if (HasEnded()) return;
        } else {
            HideShape();
            // The fixed first end and the end that follows the mouse.
            Points->AddVector(Point);
            Points->AddVector(Point);
            Phase = 1;
            ShowShape();
        }
    } else if (Button == mbRight) {
        Finish(0);
        if (HasEnded()) return;
    }
    UpdateHint();
}

void TGeoDimensionCreator::DrawShape() {
    if (Points->Count() < 2)
        TGeoDraggableLineCreator::DrawShape();
    else
        DrawRubberDimension(CurrentSettings().DrawColor);
}

void TGeoDimensionCreator::EraseShape() {
    if (Points->Count() < 2)
        TGeoDraggableLineCreator::EraseShape();
    else
        DrawRubberDimension(CurrentSettings().BackColor);
}

void TGeoDimensionCreator::DrawRubberDimension(TColor Color) {
    if (View == nullptr) return;
    View->SetLineColor(Color);
    DrawDoubleArrow(*View, DimensionArrowHead, Points->Point(0)->Vector(), Points->Point(1)->Vector());
}

void TGeoDimensionCreator::CreateGeometry() {
    HideShape();
    auto Dimension = std::make_unique<TGeoDimension>();
    Dimension->Line().Point1->Assign(*Points->Point(0));
    Dimension->Line().Point2->Assign(*Points->Point(1));
    GetDocumentList().Add(std::move(Dimension))->Redraw();
}

}  // namespace sarnova
