// A small entity for the document tests: a point marker of some size, undoable, clonable and point
// editable, so that lists can be exercised before the real entity classes exist. It also records what
// the entity framework asked of it.
#pragma once
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "document/Geometry.h"
#include "document/GeometryClasses.h"
#include "document/GeometryList.h"
#include "startup/RegisterClasses.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/GeomBox.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"

namespace sarnova::test {

// A shaded image that records what it was told.
class TFakeRenderer : public IShadedRenderer {
public:
    TMBox GetBounds() override { return EmptyBox; }
    void Render(IGraphics&) override { ++Renders; }
    void SetMirrored(bool Value) override { Mirrored = Value; }
    void Rebuild() override { ++Rebuilds; }
    void SetMaterial(TColor ADiffuse, TColor ASpecular, double AShininess) override {
        Diffuse = ADiffuse;
        Specular = ASpecular;
        Shininess = AShininess;
    }
    int Renders = 0;
    int Rebuilds = 0;
    bool Mirrored = false;
    TColor Diffuse = 0;
    TColor Specular = 0;
    double Shininess = 0;
};

class TTestPoint : public TGeometry {
public:
    TTestPoint() { SetCapabilities(GetCapabilities() | cpUndoable | cpPointEditing | cpRenderable); }
    TTestPoint(const std::string& AName, double X, double Y = 0, double Z = 0) : TTestPoint() {
        StoreName(AName);
        Point.SetXYZ(X, Y, Z);
    }

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TTestPoint>(); }
    static std::string GetKeyword() { return "TTestPoint"; }

    TDataObject GetDataObject() override { return TDataObject::Of(&Point); }
    int GetPointCount() override { return 1; }
    TRPoint* GetPoint(int Index) override { return Index == 0 ? &Point : nullptr; }

    // Moves the point through the change protocol.
    void MoveTo(double X, double Y, double Z) {
        BeginChange();
        Point.SetXYZ(X, Y, Z);
        EndChange();
    }
    // A marker of no size has no extents and is removed by validation.
    void SetSize(double Value) {
        BeginChange();
        Size = Value;
        EndChange();
    }

    TMBox CalculateExtents() override {
        if (Size <= 0) return EmptyBox;
        const double H = Size / 2;
        return MakeBox(Point.X - H, Point.Y - H, Point.Z - H, Point.X + H, Point.Y + H, Point.Z + H);
    }
    void Transform(const TMMatrix& M) override {
        BeginChange();
        Point.SetVector(MatrixTransformPoint(M, Point.Vector()));
        EndChange();
    }
    void Assign(const TGeometry& Source) override {
        TGeometry::Assign(Source);
        if (auto* P = dynamic_cast<const TTestPoint*>(&Source)) {
            Point.Assign(P->Point);
            Size = P->Size;
        }
    }
    // A one-line block: the keyword line, the three coordinates, an empty line.
    void SaveToText(TTextWriter& Out) override {
        Out.WriteLine("[" + GetKeyword() + "]");
        Out.WriteLine(FloatToStr(Point.X) + " " + FloatToStr(Point.Y) + " " + FloatToStr(Point.Z));
        Out.WriteLine("");
    }
    void LoadFromText(TTextReader& In) override {
        const double X = In.ReadReal();
        const double Y = In.ReadReal();
        const double Z = In.ReadReal();
        In.SkipLine();
        Point.SetXYZ(X, Y, Z);
    }
    void Recalculate() override {
        ++Recalculations;
        if (FailRecalculate) throw EError("Cannot recalculate " + GetName());
        TGeometry::Recalculate();
    }
    void CreateRenderer() override { SetRenderer(std::make_unique<TFakeRenderer>()); }
    TFakeRenderer* Renderer() { return static_cast<TFakeRenderer*>(GetRenderer()); }
    void HandleMessage(TGeoMessage& Message) override { Heard.push_back(ClassNameOf(typeid(Message))); }

    TRPoint Point;
    double Size = 1;
    int Recalculations = 0;
    bool FailRecalculate = false;
    std::vector<std::string> Heard;
};

// An entity that cannot be cloned or undone.
class TPlainEntity : public TGeometry {
public:
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TPlainEntity>(); }
    TMBox CalculateExtents() override { return MakeBox(0, 0, 0, 1, 1, 1); }
};

// A macro reader standing on the first line of a file holding Text.
inline TMacroFile MacroAt(const std::string& FileName, const std::string& Text) {
    const auto Path = std::filesystem::temp_directory_path() / FileName;
    std::ofstream(Path) << Text << "\n";
    TMacroFile Macro;
    Macro.LoadFromFile(Path);
    Macro.NextLine();
    return Macro;
}

// Registers the test classes once per test program.
inline void RegisterTestClasses() {
    static const bool Done = [] {
        RegisterGeometryClasses();
        RegisterGeometryClass(GeometryClassOf<TTestPoint>());
        return true;
    }();
    (void)Done;
}

// A list that records the messages it broadcasts, by class name, with their senders.
class TRecordingList : public TGeometryList {
public:
    TRecordingList() {
        OnMessage = [this](TGeoMessage& M) {
            Messages.push_back(ClassNameOf(typeid(M)));
            Senders.push_back(M.SenderGeometry);
        };
    }
    void BeforeChange(TGeometry& Entity) override { Snapshots.push_back(&Entity); }
    void Removed(TGeometry& Entity) override {
        RemovedNames.push_back(Entity.GetName());
        TGeometryList::Removed(Entity);
    }

    TTestPoint& Point(int Index) { return dynamic_cast<TTestPoint&>(Items(Index)); }
    TTestPoint* AddPoint(const std::string& Name, double X = 0, double Y = 0, double Z = 0) {
        return static_cast<TTestPoint*>(Add(std::make_unique<TTestPoint>(Name, X, Y, Z)));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> Result;
        for (int I = 0; I < Count(); ++I) Result.push_back(Items(I).GetName());
        return Result;
    }

    std::vector<std::string> Messages;
    std::vector<TGeometry*> Senders;
    std::vector<TGeometry*> Snapshots;
    std::vector<std::string> RemovedNames;
};

}  // namespace sarnova::test
