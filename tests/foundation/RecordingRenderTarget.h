// A view for render tests: it records drawing like TRecordingGraphics and is also a render target,
// recording each fixed-function call with its vector.
#pragma once
#include <string>
#include <vector>

#include "foundation/RenderTarget.h"
#include "platform/RecordingGraphics.h"

struct TRenderCall {
    // "Begin", "End", "Normal", "Color", "Vertex", "EnableDepthTest", "BeginPixelOverlay",
    // "EndPixelOverlay", "Bitmap"
    std::string Name;
    sarnova::TMVector V;  // the normal, the vertex, the colour or the bitmap's corner
    sarnova::TRenderPrimitive Kind = sarnova::TRenderPrimitive::Quads;
    sarnova::TBitmapRows Rows{};
};

class TRecordingRenderTarget : public sarnova::TRecordingGraphics, public sarnova::IRenderTarget {
public:
    std::vector<TRenderCall> Rendered;
    int ClientWidth = 640;
    int ClientHeight = 480;

    void Begin(sarnova::TRenderPrimitive Kind) override { Rendered.push_back({"Begin", {}, Kind}); }
    void End() override { Rendered.push_back({"End", {}}); }
    void Normal(const sarnova::TMVector& N) override { Rendered.push_back({"Normal", N}); }
    void Color(double R, double G, double B) override { Rendered.push_back({"Color", {R, G, B}}); }
    void Vertex(const sarnova::TMVector& V) override { Rendered.push_back({"Vertex", V}); }
    void EnableDepthTest() override { Rendered.push_back({"EnableDepthTest", {}}); }
    int GetClientWidth() const override { return ClientWidth; }
    int GetClientHeight() const override { return ClientHeight; }
    void BeginPixelOverlay() override { Rendered.push_back({"BeginPixelOverlay", {}}); }
    void EndPixelOverlay() override { Rendered.push_back({"EndPixelOverlay", {}}); }
    void Bitmap(double X, double Y, const sarnova::TBitmapRows& Rows) override {
        Rendered.push_back({"Bitmap", {X, Y, 0}, sarnova::TRenderPrimitive::Quads, Rows});
    }
    // Renders the object at once, as the 3-D view does.
    void RenderObject(sarnova::IRenderable& Obj) override {
        TRecordingGraphics::RenderObject(Obj);
        Obj.Render(*this);
    }

    std::vector<sarnova::TMVector> Of(const std::string& Name) const {
        std::vector<sarnova::TMVector> Result;
        for (const auto& C : Rendered)
            if (C.Name == Name) Result.push_back(C.V);
        return Result;
    }
};
