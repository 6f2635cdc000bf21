// The yacht hull-lines entity: one yacht generator in the document, drawn by its form curves until
// it is generated, with the import of a yacht project file and the explode into its form curves.
#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "hulls/Corvane.h"
#include "hulls/GHullLines.h"

namespace sarnova {

// The name under which the GUI registers the property frame.
inline const char* const CorvaneFrameName = "CorvaneFrame";

class TGeoCorvane : public TGeoHullLines {
public:
    // Default parameters, not generated; form curves shown, parameter lines off.
    TGeoCorvane();
    ~TGeoCorvane() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoCorvane>(); }

    static std::string GetKeyword() { return "TCorvane"; }
    static int GetMenuOrder() { return 81; }
    static int GetImageIndex() { return 51; }
    // "Corvane Hull": a new hull, its form curves brought up to date, in the document.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);

    TCorvane& Generator() const { return static_cast<TCorvane&>(Net()); }
    // Whether the frame generates after every edit; lives as long as the entity, not stored.
    bool InteractiveUpdate = false;

    // "Import Parameters from Corvane Project...": asks for the file, then imports it.
    void ImportParameters();
    // The project's 19 parameters as one undoable change; then generated at once with interactive
    // update, else ungenerated. A file that cannot be read changes nothing and propagates.
    void ImportProjectFile(const std::filesystem::path& FileName);
    // The form curves as B-spline curve entities "Corvane.<curve>" in place of this entity.
    void ExplodeGenerationCurves() override;
    TDataObject GetDataObject() override;

protected:
    const char* FrameName() const override { return CorvaneFrameName; }
    void RunGenerator() override { Generator().GenerateIfNeeded(); }
    bool NetCurrent() const override { return Generator().Generated(); }
    bool KeptLastHull() const override { return Generator().Generated(); }
    int LineFactor() const override { return 9; }
    void DrawCurves(IGraphics& View) override;
    void DrawCurvesOutline(IGraphics& View) override;
    std::unique_ptr<TPolyline> GetPickPoints() override { return Generator().GetPickPoints(); }
    bool AssignGenerator(const TGeoHullLines& Source) override;
    void AddGeneratorMenuItems() override;
    const char* MirroredCaption() const override { return "Mirrored"; }
    bool ParametersBeforeOutline() const override { return true; }

private:
    bool FDrawing = false;
};

}  // namespace sarnova
