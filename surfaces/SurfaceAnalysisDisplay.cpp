// The display side of the surface analysis: colour bands, the clipping of the sampled triangles into
// them, the smooth and banded drawing and the legend.
#include <cmath>
#include <numbers>
#include <string>

#include "foundation/Graphics.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"
#include "foundation/RenderTarget.h"
#include "platform/Screen.h"
#include "surfaces/SurfaceAnalysis.h"

namespace sarnova {

namespace {

// Up to four corners of a clipped triangle, kept on the stack: clipping allocates only its results.
struct TClipPiece {
    TRPoint Corners[4];
    int Count = 0;

    void Add(const TRPoint& P) {
        if (Count == 4) throw EGeometryError("ClippedPolygonArea.AddPoint: Attempted to add more than 4 points");
        Corners[Count++].Assign(P);
    }
};

enum class TClipResult { Whole, None, Part };

// The part of triangle ABC with Sign(weight - Level) = Side or 0: Whole when that is all of it, None
// when nothing or no polygon remains, otherwise Part with its corners (walking the edges in order).
TClipResult ClipTriangle(const TRPoint& A, const TRPoint& B, const TRPoint& C, int Side, double Level,
                         TClipPiece& Piece) {
    const TRPoint* V[3] = {&A, &B, &C};
    const int s[3] = {Sign(A.W - Level), Sign(B.W - Level), Sign(C.W - Level)};
    const int Sum = s[0] + s[1] + s[2];
    if (Sum == 3 * Side) return TClipResult::Whole;
    if (Sum == -3 * Side) return TClipResult::None;
    Piece.Count = 0;
    for (int k = 0; k < 3; ++k) {
        const int Next = (k + 1) % 3;
        if (s[k] != -Side) Piece.Add(*V[k]);
        if (s[k] != 0 && s[Next] == -s[k]) {
            const TRPoint& P = *V[k];
            const TRPoint& Q = *V[Next];
            const double t = (Level - P.W) / (Q.W - P.W);
            TRPoint X;
            X.SetVector(VectorAdd(P.Vector(), VectorScale(VectorFromTo(P.Vector(), Q.Vector()), t)));
            X.W = Level;
            Piece.Add(X);
        }
    }
    return Piece.Count == 3 || Piece.Count == 4 ? TClipResult::Part : TClipResult::None;
}

// The facet of the points, taken whole or (KeepWeights false) as plain positions.
std::unique_ptr<TPolygon> PolygonOf(const TRPoint* Corners, int Count, bool KeepWeights = true) {
    auto F = std::make_unique<TPolygon>(Count == 4 ? 1 : 0);
    for (int k = 0; k < Count; ++k) F->SetCorner(k, KeepWeights ? Corners[k] : TRPoint(Corners[k].Vector()));
    return F;
}

// Restores the pointer shape it found, however the operation ends.
class THourGlass {
public:
    THourGlass() : Previous(GetScreenCursor()) { SetScreenCursor(crHourGlass); }
    ~THourGlass() { SetScreenCursor(Previous); }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor Previous;
};

void SetTargetColor(IRenderTarget& Target, TColor C) {
    Target.Color((C & 0xFF) / 255.0, (C >> 8 & 0xFF) / 255.0, (C >> 16 & 0xFF) / 255.0);
}

// The legend's marks below the colour bar, in its lowest rows.
constexpr TBitmapRows MinusGlyph{0x0000, 0x0000, 0xF000};
constexpr TBitmapRows PlusGlyph{0x2000, 0x2000, 0xF800, 0x2000, 0x2000};
constexpr TBitmapRows ZeroGlyph{0x6000, 0x9000, 0x9000, 0x9000, 0x6000};

// The legend drawn through the view's render pass, so that measuring passes and canvases skip it.
class TLegend : public IRenderable {
public:
    explicit TLegend(const TSurfaceAnalysis& Analysis) : Analysis(Analysis) {}
    TMBox GetBounds() override { return EmptyBox; }
    void Render(IGraphics& View) override;

private:
    const TSurfaceAnalysis& Analysis;
};

void TLegend::Render(IGraphics& View) {
    IRenderTarget* Target = RenderTargetOf(View);
    if (Target == nullptr) return;
    IRenderTarget& T = *Target;
    const int W = T.GetClientWidth(), H = T.GetClientHeight();
    const int OuterLeft = W - 140, OuterTop = H - 40, OuterRight = W - 10, OuterBottom = H - 10;
    const int Left = OuterLeft + 5, Top = OuterTop + 5, Right = OuterRight - 5, Bottom = OuterBottom - 5;
    const int Width = Right - Left;
    const auto Rectangle = [&](TRenderPrimitive Kind, double X1, double Y1, double X2, double Y2) {
        T.Begin(Kind);
        T.Vertex({X1, Y1, 0});
        T.Vertex({X2, Y1, 0});
        T.Vertex({X2, Y2, 0});
        T.Vertex({X1, Y2, 0});
        T.End();
    };

    T.BeginPixelOverlay();
    SetTargetColor(T, clBlack);
    Rectangle(TRenderPrimitive::Quads, OuterLeft, OuterTop, OuterRight, OuterBottom);
    SetTargetColor(T, clWhite);
    Rectangle(TRenderPrimitive::LineLoop, OuterLeft, OuterTop, OuterRight, OuterBottom);

    if (Analysis.ShowsBands()) {
        const auto X = [&](double Value) { return TruncSingle((Value / 2 + 0.5) * Width + Left); };
        for (const TSurfaceAnalysisColorLayer& L : Analysis.Layers()) {
            SetTargetColor(T, L.Color);
            Rectangle(TRenderPrimitive::Quads, X(L.Lower), Top, X(L.Upper), Bottom - 7);
        }
    } else {
        const TColorInterpolationMode Model = Analysis.CurvatureParameters().GetShadingModel();
        T.Begin(TRenderPrimitive::Lines);
        for (int x = Left; x <= Right; ++x) {
            SetTargetColor(T, ZeroCentredColor(Model, -1, 1, (static_cast<double>(x - Left) / Width - 0.5) * 2));
            T.Vertex({double(x), double(Top), 0});
            T.Vertex({double(x), double(Bottom - 7), 0});
        }
        T.End();
    }

    SetTargetColor(T, clWhite);
    T.Bitmap(Left, Bottom, MinusGlyph);
    T.Bitmap(Right - 5, Bottom, PlusGlyph);
    T.Bitmap((Left + Right) / 2 - 2, Bottom, ZeroGlyph);
    T.EndPixelOverlay();
}

// An analysis surface's samples drawn through the view's render pass.
class TSampleRenderer : public IRenderable {
public:
    TSampleRenderer(const TSurfaceAnalysisSurface& Surface, bool Colored) : Surface(Surface), Colored(Colored) {}
    TMBox GetBounds() override { return Surface.GetExtents(); }
    void Render(IGraphics& View) override {
        if (IRenderTarget* Target = RenderTargetOf(View)) Surface.Render(*Target, Colored);
    }

private:
    const TSurfaceAnalysisSurface& Surface;
    bool Colored;
};

}  // namespace

// ---- Colour layers ----

const TSurfaceAnalysisColorLayer& TSurfaceAnalysisColorLayers::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)];
}

void TSurfaceAnalysisColorLayers::AddLayer(TColor Color, double Lower, double Upper) {
    FItems.push_back({Lower, Upper, Color});
}

void TSurfaceAnalysisColorLayers::Build(int N) {
    Clear();
    const double Pi = std::numbers::pi;
    for (int i = 0; i < N; ++i) {
        if (FAnalysis.GetMode() == samZebra) {
            const TSurfaceAnalysisIsoPhotesParameters& Z = FAnalysis.IsoPhotesParameters();
            AddLayer(i % 2 == 0 ? Z.GetZebraBand2Color() : Z.GetZebraBand1Color(), std::cos(Pi - Pi * i / N),
                     std::cos(Pi - Pi * (i + 1) / N));
        } else {
            // One band alone has no colour scale to spread over; it takes the middle colour.
            const double Level = N > 1 ? 2.0 * i / (N - 1) - 1 : 0;
            AddLayer(ZeroCentredColor(FAnalysis.CurvatureParameters().GetShadingModel(), -1, 1, Level),
                     2.0 * i / N - 1, 2.0 * (i + 1) / N - 1);
        }
    }
}

// ---- Clipping ----

std::unique_ptr<TPolygon> ClippedPolygonArea(const TPolygon& P, int Side, double Level) {
    TClipPiece Piece;
    // The corners' weights are the analysed values.
    switch (ClipTriangle(P.CornerPoint(0), P.CornerPoint(1), P.CornerPoint(2), Side, Level, Piece)) {
        case TClipResult::Whole: return CopyPolygon(P);
        case TClipResult::None: return nullptr;
        case TClipResult::Part: break;
    }
    return PolygonOf(Piece.Corners, Piece.Count);
}

void TSurfaceAnalysis::ClipPolygonToLayers(const TRPoint* Corners, int Count, TPolygonList& Result,
                                           bool KeepWeights) const {
    const auto Triangles = [](const TRPoint* C, int N, auto Each) {
        Each(C[0], C[1], C[2]);
        if (N == 4) Each(C[0], C[2], C[3]);
    };
    // A triangle inside one band goes to that band alone. Bands share their bounds, so a flat stretch
    // whose value sits on a bound (a flat side under the zebra light) would otherwise be drawn in both
    // colours on one plane, and speckle.
    const int Last = FLayers.Count() - 1;
    const auto BandOf = [&](double W) {
        for (int K = 0; K <= Last; ++K) {
            const TSurfaceAnalysisColorLayer& L = FLayers.Items(K);
            if (W >= L.Lower && (W < L.Upper || (K == Last && W <= L.Upper))) return K;
        }
        return -1;
    };
    std::vector<int> WholeBand;
    Triangles(Corners, Count, [&](const TRPoint& A, const TRPoint& B, const TRPoint& C) {
        const int Band = BandOf(A.W);
        WholeBand.push_back(Band >= 0 && BandOf(B.W) == Band && BandOf(C.W) == Band ? Band : -1);
    });
    for (const TSurfaceAnalysisColorLayer& L : FLayers) {
        std::size_t Triangle = 0;
        Triangles(Corners, Count, [&](const TRPoint& A, const TRPoint& B, const TRPoint& C) {
            if (WholeBand[Triangle++] >= 0) return;
            if ((A.W < L.Lower && B.W < L.Lower && C.W < L.Lower) || (A.W > L.Upper && B.W > L.Upper && C.W > L.Upper))
                return;
            TClipPiece Low;
            switch (ClipTriangle(A, B, C, 1, L.Lower, Low)) {
                case TClipResult::None: return;
                case TClipResult::Whole:
                    Low.Count = 0;
                    Low.Add(A);
                    Low.Add(B);
                    Low.Add(C);
                    break;
                case TClipResult::Part: break;
            }
            Triangles(Low.Corners, Low.Count, [&](const TRPoint& D, const TRPoint& E, const TRPoint& F) {
                TClipPiece High;
                switch (ClipTriangle(D, E, F, -1, L.Upper, High)) {
                    case TClipResult::None: return;
                    case TClipResult::Whole: {
                        const TRPoint Whole[3] = {D, E, F};
                        auto Part = PolygonOf(Whole, 3, KeepWeights);
                        Part->SetColor(L.Color);
                        Result.Add(std::move(Part));
                        return;
                    }
                    case TClipResult::Part: {
                        auto Part = PolygonOf(High.Corners, High.Count, KeepWeights);
                        Part->SetColor(L.Color);
                        Result.Add(std::move(Part));
                        return;
                    }
                }
            });
        });
    }
    std::size_t Triangle = 0;
    Triangles(Corners, Count, [&](const TRPoint& A, const TRPoint& B, const TRPoint& C) {
        const int Band = WholeBand[Triangle++];
        if (Band < 0) return;
        const TRPoint Whole[3] = {A, B, C};
        auto Part = PolygonOf(Whole, 3, KeepWeights);
        Part->SetColor(FLayers.Items(Band).Color);
        Result.Add(std::move(Part));
    });
}

std::unique_ptr<TPolygonList> TSurfaceAnalysis::ClipToLayers(const TPolygonList& Triangles) const {
    auto Result = std::make_unique<TPolygonList>();
    for (int I = 0; I < Triangles.Count(); ++I) {
        const TFacetRef F = Triangles.Polygon(I);
        const TRPoint Corners[4] = {F.CornerPoint(0), F.CornerPoint(1), F.CornerPoint(2),
                                    F.CornerCount() == 4 ? F.CornerPoint(3) : TRPoint()};
        ClipPolygonToLayers(Corners, F.CornerCount(), *Result, true);
    }
    return Result;
}

// ---- Update and drawing ----

void TSurfaceAnalysis::BuildColorPolygons() {
    const THourGlass Busy;
    FColoredPolygons.reset();
    FLayers.Build(FMode == samZebra ? FIsoPhotesParameters.GetZebraBands() : FCurvatureParameters.GetLayersCount());
    // The sampled triangles go straight into the clipping: no list of them is built in between.
    auto Result = std::make_unique<TPolygonList>();
    struct TContext {
        const TSurfaceAnalysis* Analysis;
        TPolygonList* Result;
    } Context{this, Result.get()};
    for (const auto& S : FSurfaces)
        S->ForEachTriangle(
            [](void* C, const TRPoint& A, const TRPoint& B, const TRPoint& D) {
                const auto* X = static_cast<TContext*>(C);
                const TRPoint Corners[3] = {A, B, D};
                // Drawn only: the bands' facets need no weights.
                X->Analysis->ClipPolygonToLayers(Corners, 3, *X->Result, false);
            },
            &Context);
    FColoredPolygons = std::move(Result);
}

void TSurfaceAnalysis::Update() {
    if (ShowsBands()) {
        FPoints.Clear();
        FSurfaces.ResampleAll();
        NormaliseGaussian();
        NormaliseMean();
        BuildColorPolygons();
    } else {
        FColoredPolygons.reset();
        ColorPoints();
    }
    FDirty = false;
}

void TSurfaceAnalysis::Draw(IGraphics& G) {
    if (FDirty) Update();
    // The view draws facets and rendered objects with its depth test on.
    if (ShowsBands()) {
        if (FColoredPolygons) FColoredPolygons->DrawFilled(G);
    } else {
        FSurfaces.DrawAll(G);
    }
    GSurfaceAnalysis = this;
}

void TSurfaceAnalysis::DrawUncolored(IGraphics& G) { FSurfaces.DrawAllUncolored(G); }

void TSurfaceAnalysis::DrawLegend(IGraphics& View) const {
    TLegend Legend(*this);
    View.RenderObject(Legend);
}

void TSurfaceAnalysisSurface::Draw(IGraphics& G) {
    TSampleRenderer R(*this, true);
    G.RenderObject(R);
}

void TSurfaceAnalysisSurface::DrawUncolored(IGraphics& G) {
    TSampleRenderer R(*this, false);
    G.RenderObject(R);
}

TMBox TSurfaceAnalysisMesh::GetExtents() const {
    TMBox B = EmptyBox;
    for (const TSurfaceAnalysisPoint& P : FPoints) ExtendBoxByVector(P.Position, B);
    return B;
}

void TSurfaceAnalysisMesh::Render(IRenderTarget& Target, bool Colored) const {
    if (FNU == 0 || FNV == 0) return;
    Target.EnableDepthTest();
    const auto Vertex = [&](const TSurfaceAnalysisPoint& P) {
        if (Colored) SetTargetColor(Target, P.Color);
        Target.Vertex(P.Position);
    };
    for (int i = 1; i < FNU; ++i) {
        Target.Begin(TRenderPrimitive::QuadStrip);
        for (int j = 0; j < FNV; ++j) {
            Vertex(Point(i - 1, j));
            Vertex(Point(i, j));
        }
        Target.End();
    }
}

TMBox TSurfaceAnalysisManifold::GetExtents() const {
    TMBox B = EmptyBox;
    const TVertexContainer& V = FManifold->Vertices();
    for (int I = 0; I < V.Count(); ++I) ExtendBoxByVector(V.Vertex(I)->Position, B);
    return B;
}

void TSurfaceAnalysisManifold::Render(IRenderTarget& Target, bool Colored) const {
    Target.EnableDepthTest();
    Target.Begin(TRenderPrimitive::Triangles);
    const TFaceContainer& Faces = FManifold->Faces();
    for (int I = 0; I < Faces.Count(); ++I) {
        const TFace& F = *Faces.Face(I);
        if (F.FinCount() != 3) continue;
        const TSurfaceAnalysisManifoldVertex* Corners[3] = {};
        const TFin* Fin = F.FirstFin();
        for (int K = 0; K < 3 && Fin != nullptr; ++K, Fin = Fin->NextFin)
            Corners[K] = static_cast<const TSurfaceAnalysisManifoldVertex*>(Fin->GetVertex());
        if (!Corners[0] || !Corners[1] || !Corners[2]) continue;
        for (const TSurfaceAnalysisManifoldVertex* V : Corners) {
            if (Colored) SetTargetColor(Target, V->Point.Color);
            Target.Vertex(V->Position);
        }
    }
    Target.End();
}

}  // namespace sarnova
