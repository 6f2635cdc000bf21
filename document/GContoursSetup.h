// The "Contour Setup" dialog and its "Add Contour Group" dialog as the model sees them: what their
// controls hold, what their buttons do to the contour set, and the dialog's registry values. The GUI
// (document/ui/ContourForm.h) shows them and installs itself as the way to open them.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "document/FormatGrid.h"
#include "foundation/Errors.h"
#include "foundation/VkMaths.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

class TContours;
class TGeometry;
class TGeometryList;
class TPolylineList;

// A number typed into an edit box is no number: "Unable to convert text to number". Field names the
// box, so that the dialog can bring it into view and focus it.
class EEditNumberError : public EConvertError {
public:
    explicit EEditNumberError(std::string AField)
        : EConvertError("Unable to convert text to number"), Field(std::move(AField)) {}
    std::string Field;
};

// An edit box's text as a real: trimmed, "." as decimal separator. Not a number: with Strict,
// EEditNumberError for Field; without, 0.
double EditToFloat(const std::string& Text, bool Strict, const std::string& Field);
// The same for an integer, not trimmed.
int EditToInteger(const std::string& Text, bool Strict, const std::string& Field);

// The dialog's registry values, section "Contours" of the program's key. Spacings are kept in
// thousandths (1000 is 1.000).
struct TContourSetupSettings {
    bool XSpacingOn = true;
    bool YSpacingOn = true;
    bool ZSpacingOn = true;
    bool SelectedObjects = false;
    bool ClearXYContours = true;
    int XSpacing = 1000;
    int YSpacing = 1000;
    int ZSpacing = 1000;

    // Missing or unreadable values keep their defaults.
    void Load();
    // Throws EInOutError when the store cannot be written.
    void Save() const;
};

// A spacing in thousandths as its edit box shows it: 1234 is "1.234".
std::string SpacingToText(int Thousandths);
// A spacing as stored: the spacing x 1000 rounded to the nearest integer (0.5 is 500), held within
// the integer range.
int SpacingToThousandths(double Spacing);

// "Add Contour Group": Start, End and the number of contours, each read from its box when the box
// loses the focus.
class TContourStepsDlg {
public:
    std::string StartText = "0.000";
    std::string EndText = "0.000";
    std::string NumberText = "0";
    double Start = 0;
    double End = 0;
    int Number = 0;

    // The boxes' focus-loss reads; EEditNumberError ("Start", "End", "Number") for no number.
    void StartExit();
    void EndExit();
    void NumberExit();
    // "Ok": reads all three again; throws EError "Start must be smaller than End" when End is less
    // than Start, and "Too many contours" for more than MaxContoursPerAxis. The dialog stays open on
    // any error.
    void OkClick();
};

// "Contour Setup": a page per axis with a one-column grid of positions, and the "Build Contours" page.
class TContourForm {
public:
    TContourForm();
    ~TContourForm();
    TContourForm(const TContourForm&) = delete;
    TContourForm& operator=(const TContourForm&) = delete;

    // The pages: 0 "X Contours", 1 "Y Contours", 2 "Z Contours", 3 "Build Contours".
    int ActivePage = 0;
    TFormatGrid XGrid;
    TFormatGrid YGrid;
    TFormatGrid ZGrid;

    // "Build Contours": the spacing check boxes and their edit boxes.
    bool XSpacingOn = true;
    bool YSpacingOn = true;
    bool ZSpacingOn = true;
    std::string Edit1;
    std::string Edit2;
    std::string Edit3;
    // "Use Selected Objects Only".
    bool SelectedObjects = false;
    bool SelectedObjectsEnabled = true;
    // "Clear Y and Z Contours", and whether it and its "Generate" button are enabled.
    bool ClearYZContours = true;
    bool SectionsEnabled = false;

    // Shows "Add Contour Group" modally; set by the GUI (without it "Group" does nothing).
    std::function<TModalResult(TContourStepsDlg& Dialog)> ShowStepsDialog;

    // Edits Contours for List: registry values loaded, grids filled; "Use Selected Objects Only"
    // enabled only with a selection (unchecked without); the sections' "Generate" only with a selected
    // polyline-list entity.
    void SetupForList(TContours& Contours, TGeometryList* List);
    // Edits Contours without a list, over Box: "Use Selected Objects Only" disabled and checked, the
    // sections' "Generate" disabled.
    void SetupForBox(TContours& Contours, const TMBox& Box);

    // The grid of the active page (ZGrid on any page but the first two).
    TFormatGrid& ActiveGrid();
    // Each grid gets one row per contour of its axis; an axis without contours one row showing 0.
    void FillGrids();

    // "Add Contour": a row at the current row, at 0, the rows below moved down.
    void AddContourClick();
    // "Delete Contour": the current row taken out, the rows below moved up; one row always stays.
    void DeleteContourClick();
    // "Delete All": the active axis of the set cleared at once; one row at 0 left.
    void DeleteAllClick();
    // "Group": on "Ok" with n > 0 and End > Start, the grid gets n rows from Start to End evenly
    // spaced (n = 1: Start).
    void GroupClick();
    // The first "Generate": the checked axes refilled at their spacing over the selected objects'
    // box, the document's box, or the set-up box.
    void GenerateButClick();
    // The second "Generate": X contours at the stations of the selected polyline lists' sections;
    // with "Clear Y and Z Contours" the whole set is cleared first, else only its X contours.
    void Button15Click();
    // "Ok": the set becomes the grids' rows, X, Y, then Z, each in row order.
    void Button1Click();
    // The check boxes and the spacings (read leniently) to the registry.
    void SaveSettings();

private:
    void LoadSettings();

    TContours* FContours = nullptr;
    TGeometryList* FList = nullptr;
    TMBox FBox;
};

// The polyline list of a polyline-list entity (the sections); nullptr for any other entity.
TPolylineList* PolylineListOf(TGeometry& Entity);

// Opens the dialog modally; installed by the GUI. Without it the dialogs do not open.
using TContourSetupHandler = std::function<TModalResult(TContourForm& Form)>;
void SetContourSetupHandler(TContourSetupHandler Handler);

// The "Contour Setup" dialog for Contours and List; mrNone when no GUI can show it.
TModalResult ShowContourSetup(TContours& Contours, TGeometryList* List);
// The same without a list, over a fixed box (the lines plan).
TModalResult ShowContourSetupForBox(TContours& Contours, const TMBox& Box);

}  // namespace sarnova
