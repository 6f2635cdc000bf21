// The DXF output of a lines plan (declared with the plan in naval/Linesplan.h): the sheet's polylines
// written through the DXF file model, each family of lines on a layer of its own.
#include <string>
#include <utility>

#include "exchange/DXFFile.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "naval/Linesplan.h"

namespace sarnova {

namespace {

// True when every point of P reads back from the DXF file as the same sheet point (or P has none): a
// line seen end on, which readers drop (ours with a warning), so the plan leaves it out.
bool IsSinglePointInDXF(const TPolyline& P) {
    if (P.Count() == 0) return true;
    const std::string X = DXFNumberText(P.Point(0)->X), Y = DXFNumberText(P.Point(0)->Y);
    for (int K = 1; K < P.Count(); ++K)
        if (DXFNumberText(P.Point(K)->X) != X || DXFNumberText(P.Point(K)->Y) != Y) return false;
    return true;
}

}  // namespace

void TLinesPlan::SaveToDXF(const std::filesystem::path& FileName) {
    Prepare();
    TDXFFile F;
    F.BeginSection("ENTITIES");
    auto Write = [&](const TPolylineList& List, const std::string& Layer, TColor Colour) {
        for (int I = 0; I < List.Count(); ++I) {
            const TPolyline* P = List.Items(I);
            if (IsSinglePointInDXF(*P)) continue;
            F.BeginEntity("POLYLINE");
            F.WriteString(8, Layer);
            F.WriteInteger(66, 1);
            F.WriteColor(62, Colour);
            F.WriteInteger(10, 0);
            F.WriteInteger(20, 0);
            F.WriteInteger(30, 0);
            F.WriteInteger(70, 8);
            for (int K = 0; K < P->Count(); ++K) {
                const TRPoint* Q = P->Point(K);
                F.BeginEntity("VERTEX");
                F.WriteString(8, Layer);
                F.WriteColor(62, Colour);
                F.WriteFloat(10, Q->X);
                F.WriteFloat(20, Q->Y);
                F.WriteFloat(30, 0);
                F.WriteInteger(70, 32);
            }
            F.WriteString(0, "SEQEND");
        }
    };
    const std::pair<TLinesPlanView*, const char*> Views[] = {
        {FStations.get(), "Stations"}, {FWaterlines.get(), "Waterlines"}, {FButtocks.get(), "Buttocks"}};
    for (auto [V, Base] : Views) {
        const std::string Layer = Base;
        Write(V->SurfaceEdges(), Layer + "_SurfaceEdge", V->SurfaceColor);
        Write(V->Contours(), Layer + "_Contours", V->ContourColor);
        if (FShowContourText) Write(V->ContourTexts(), Layer + "_ContourText", V->ContourColor);
        if (FShowGrid) Write(V->Grid().Polylines(), Layer + "_Grid", V->Grid().Color);
    }
    if (FShowBorder) Write(FBorder->Polylines(), "Border", 0xFFFFFF);
    F.EndSection();
    F.WriteEOF();
    F.SaveToFile(FileName);
}

}  // namespace sarnova
