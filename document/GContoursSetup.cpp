#include "document/GContoursSetup.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <typeinfo>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/Contours.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/GeomBox.h"
#include "foundation/PolyList.h"
#include "platform/Registry.h"

namespace sarnova {

namespace {

constexpr const char* Section = "Contours";

TContourSetupHandler SetupHandler;

// The position grids: one numeric column of fixed numbers with 3 decimals, no fixed cells.
void SetupGrid(TFormatGrid& Grid) {
    Grid.FixedCols = 0;
    Grid.FixedRows = 0;
    Grid.SetColCount(1);
    Grid.SetRowCount(1);
    Grid.SetCurrent(0, 0);
    TGridRec& Format = Grid.InitialFormat();
    Format.SetFormatType(ftNumeric);
    Format.SetNumericFormat(ffFixed);
    Format.SetPrecision(10);
    Format.SetDigits(3);
    Format.SetAlignment(taRightJustify);
}

void FillGrid(TFormatGrid& Grid, const TContours& Contours, int Axis) {
    const int Count = Axis == 0 ? Contours.XCount() : Axis == 1 ? Contours.YCount() : Contours.ZCount();
    Grid.SetRowCount(std::max(Count, 1));
    if (Count == 0) Grid.Cell(0, 0).SetNumber(0);
    for (int I = 0; I < Count; ++I) {
        const TContour* C = Axis == 0 ? Contours.XContour(I) : Axis == 1 ? Contours.YContour(I) : Contours.ZContour(I);
        Grid.Cell(0, I).SetNumber(C->Position);
    }
    Grid.SetCurrent(0, std::min(Grid.GetRow(), Grid.GetRowCount() - 1));
}

int GridAxis(const TContourForm& Form) { return Form.ActivePage == 0 ? 0 : Form.ActivePage == 1 ? 1 : 2; }

}  // namespace

// ---- Edit boxes ----

double EditToFloat(const std::string& Text, bool Strict, const std::string& Field) {
    double Value = 0;
    if (TryStrToFloat(Trim(Text), Value)) return Value;
    if (Strict) throw EEditNumberError(Field);
    return 0;
}

int EditToInteger(const std::string& Text, bool Strict, const std::string& Field) {
    int Value = 0;
    if (TryStrToInt(Text, Value)) return Value;
    if (Strict) throw EEditNumberError(Field);
    return 0;
}

// ---- Registry values ----

void TContourSetupSettings::Load() {
    const TRegIniFile Ini(ProgramRegistryKey(GExeName));
    XSpacingOn = Ini.ReadBool(Section, "XSpacingOn", true);
    YSpacingOn = Ini.ReadBool(Section, "YSpacingOn", true);
    ZSpacingOn = Ini.ReadBool(Section, "ZSpacingOn", true);
    SelectedObjects = Ini.ReadBool(Section, "SelectedObjects", false);
    ClearXYContours = Ini.ReadBool(Section, "ClearXYContours", true);
    XSpacing = Ini.ReadInteger(Section, "XSpacing", 1000);
    YSpacing = Ini.ReadInteger(Section, "YSpacing", 1000);
    ZSpacing = Ini.ReadInteger(Section, "ZSpacing", 1000);
}

void TContourSetupSettings::Save() const {
    TRegIniFile Ini(ProgramRegistryKey(GExeName));
    Ini.WriteBool(Section, "XSpacingOn", XSpacingOn);
    Ini.WriteBool(Section, "YSpacingOn", YSpacingOn);
    Ini.WriteBool(Section, "ZSpacingOn", ZSpacingOn);
    Ini.WriteBool(Section, "SelectedObjects", SelectedObjects);
    Ini.WriteBool(Section, "ClearXYContours", ClearXYContours);
    Ini.WriteInteger(Section, "XSpacing", XSpacing);
    Ini.WriteInteger(Section, "YSpacing", YSpacing);
    Ini.WriteInteger(Section, "ZSpacing", ZSpacing);
    Ini.Flush();
}

std::string SpacingToText(int Thousandths) { return FloatToStrF(Thousandths / 1000.0, ffFixed, 15, 3); }

int SpacingToThousandths(double Spacing) {
    constexpr double Limit = std::numeric_limits<int>::max();
    const double Scaled = Spacing * 1000;
    if (std::isnan(Scaled)) return 0;
    return RoundToInteger(std::clamp(Scaled, -Limit, Limit));
}

// ---- Add Contour Group ----

void TContourStepsDlg::StartExit() { Start = EditToFloat(StartText, true, "Start"); }
void TContourStepsDlg::EndExit() { End = EditToFloat(EndText, true, "End"); }
void TContourStepsDlg::NumberExit() { Number = EditToInteger(NumberText, true, "Number"); }

void TContourStepsDlg::OkClick() {
    StartExit();
    EndExit();
    NumberExit();
    if (End < Start) throw EError("Start must be smaller than End");
    // Each contour is a grid row: a mistyped count must not fill the memory.
    if (Number > MaxContoursPerAxis) throw EError("Too many contours");
}

// ---- Contour Setup ----

TContourForm::TContourForm() : FBox(EmptyBox) {
    SetupGrid(XGrid);
    SetupGrid(YGrid);
    SetupGrid(ZGrid);
}

TContourForm::~TContourForm() = default;

TPolylineList* PolylineListOf(TGeometry& Entity) {
    const TDataObject Data = Entity.GetDataObject();
    return Data && *Data.Type == typeid(TPolylineList) ? static_cast<TPolylineList*>(Data.Object) : nullptr;
}

void TContourForm::LoadSettings() {
    TContourSetupSettings S;
    S.Load();
    XSpacingOn = S.XSpacingOn;
    YSpacingOn = S.YSpacingOn;
    ZSpacingOn = S.ZSpacingOn;
    SelectedObjects = S.SelectedObjects;
    ClearYZContours = S.ClearXYContours;
    Edit1 = SpacingToText(S.XSpacing);
    Edit2 = SpacingToText(S.YSpacing);
    Edit3 = SpacingToText(S.ZSpacing);
}

void TContourForm::SaveSettings() {
    TContourSetupSettings S;
    S.XSpacingOn = XSpacingOn;
    S.YSpacingOn = YSpacingOn;
    S.ZSpacingOn = ZSpacingOn;
    S.SelectedObjects = SelectedObjects;
    S.ClearXYContours = ClearYZContours;
    S.XSpacing = SpacingToThousandths(EditToFloat(Edit1, false, "Edit1"));
    S.YSpacing = SpacingToThousandths(EditToFloat(Edit2, false, "Edit2"));
    S.ZSpacing = SpacingToThousandths(EditToFloat(Edit3, false, "Edit3"));
    S.Save();
}

void TContourForm::SetupForList(TContours& Contours, TGeometryList* List) {
    FContours = &Contours;
    FList = List;
    LoadSettings();
    FillGrids();
    SelectedObjectsEnabled = List != nullptr && List->SelectedCount() > 0;
    if (!SelectedObjectsEnabled) SelectedObjects = false;
    SectionsEnabled = false;
    if (List != nullptr)
        for (int I = 0; I < List->Count() && !SectionsEnabled; ++I)
            SectionsEnabled = List->Items(I).GetSelected() && PolylineListOf(List->Items(I)) != nullptr;
}

void TContourForm::SetupForBox(TContours& Contours, const TMBox& Box) {
    FContours = &Contours;
    FList = nullptr;
    FBox = Box;
    LoadSettings();
    FillGrids();
    SelectedObjectsEnabled = false;
    SelectedObjects = true;
    SectionsEnabled = false;
}

TFormatGrid& TContourForm::ActiveGrid() {
    switch (GridAxis(*this)) {
        case 0: return XGrid;
        case 1: return YGrid;
        default: return ZGrid;
    }
}

void TContourForm::FillGrids() {
    if (FContours == nullptr) return;
    FillGrid(XGrid, *FContours, 0);
    FillGrid(YGrid, *FContours, 1);
    FillGrid(ZGrid, *FContours, 2);
}

void TContourForm::AddContourClick() {
    TFormatGrid& Grid = ActiveGrid();
    const int Current = std::clamp(Grid.GetRow(), 0, Grid.GetRowCount() - 1);
    Grid.SetRowCount(Grid.GetRowCount() + 1);
    for (int R = Grid.GetRowCount() - 1; R > Current; --R) Grid.Cell(0, R).SetNumber(Grid.Cell(0, R - 1).GetNumber());
    Grid.Cell(0, Current).SetNumber(0);
    Grid.SetCurrent(0, Current);
}

void TContourForm::DeleteContourClick() {
    TFormatGrid& Grid = ActiveGrid();
    const int Last = Grid.GetRowCount() - 1;
    const int Current = std::clamp(Grid.GetRow(), 0, Last);
    for (int R = Current; R < Last; ++R) Grid.Cell(0, R).SetNumber(Grid.Cell(0, R + 1).GetNumber());
    Grid.Cell(0, Last).SetNumber(0);
    Grid.SetRowCount(Last);
    Grid.SetCurrent(0, std::min(Current, Grid.GetRowCount() - 1));
}

void TContourForm::DeleteAllClick() {
    TFormatGrid& Grid = ActiveGrid();
    int Left = 0;
    if (FContours != nullptr) {
        switch (GridAxis(*this)) {
            case 0: FContours->ClearX(); Left = FContours->XCount(); break;
            case 1: FContours->ClearY(); Left = FContours->YCount(); break;
            default: FContours->ClearZ(); Left = FContours->ZCount(); break;
        }
    }
    Grid.Cell(0, 0).SetNumber(0);
    Grid.SetRowCount(Left);
    Grid.SetCurrent(0, 0);
}

void TContourForm::GroupClick() {
    if (!ShowStepsDialog) return;
    TContourStepsDlg Dialog;
    if (ShowStepsDialog(Dialog) != TModalResult::mrOk) return;
    const int N = Dialog.Number;
    if (N <= 0 || !(Dialog.End > Dialog.Start)) return;
    TFormatGrid& Grid = ActiveGrid();
    Grid.SetRowCount(N);
    for (int I = 0; I < N; ++I) {
        // A single contour has no interval to divide: it goes at Start.
        const double Position = N == 1 ? Dialog.Start : Dialog.Start + double(I) / (N - 1) * (Dialog.End - Dialog.Start);
        Grid.Cell(0, I).SetNumber(Position);
    }
    Grid.SetCurrent(0, 0);
}

void TContourForm::GenerateButClick() {
    const double DX = XSpacingOn ? EditToFloat(Edit1, true, "Edit1") : 0;
    const double DY = YSpacingOn ? EditToFloat(Edit2, true, "Edit2") : 0;
    const double DZ = ZSpacingOn ? EditToFloat(Edit3, true, "Edit3") : 0;
    TMBox Box = FBox;
    if (FList != nullptr)
        Box = SelectedObjectsEnabled && SelectedObjects && FList->SelectedCount() > 0 ? FList->GetSelectedExtents()
                                                                                       : FList->GetExtents();
    if (FContours != nullptr) SetContourSpacing(Box, *FContours, DX, DY, DZ);
    SaveSettings();
    FillGrids();
}

void TContourForm::Button15Click() {
    if (FContours == nullptr) return;
    if (ClearYZContours)
        FContours->Clear();
    else
        FContours->ClearX();
    if (FList != nullptr)
        for (int I = 0; I < FList->Count(); ++I)
            if (FList->Items(I).GetSelected())
                if (const TPolylineList* Sections = PolylineListOf(FList->Items(I)))
                    AddStationContours(*Sections, *FContours);
    SaveSettings();
    FillGrids();
}

void TContourForm::Button1Click() {
    if (FContours == nullptr) return;
    FContours->Clear();
    TFormatGrid* Grids[] = {&XGrid, &YGrid, &ZGrid};
    for (int Axis = 0; Axis < 3; ++Axis)
        for (int R = 0; R < Grids[Axis]->GetRowCount(); ++R)
            FContours->AddContour(Axis, Grids[Axis]->Cell(0, R).GetNumber());
}

// ---- Opening the dialog ----

void SetContourSetupHandler(TContourSetupHandler Handler) { SetupHandler = std::move(Handler); }

TModalResult ShowContourSetup(TContours& Contours, TGeometryList* List) {
    if (!SetupHandler) return TModalResult::mrNone;
    TContourForm Form;
    Form.SetupForList(Contours, List);
    return SetupHandler(Form);
}

TModalResult ShowContourSetupForBox(TContours& Contours, const TMBox& Box) {
    if (!SetupHandler) return TModalResult::mrNone;
    TContourForm Form;
    Form.SetupForBox(Contours, Box);
    return SetupHandler(Form);
}

}  // namespace sarnova
