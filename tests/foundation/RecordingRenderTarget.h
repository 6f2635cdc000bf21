// A view for render tests: it records drawing like TRecordingGraphics and is also a render target,
// recording each fixed-function call with its vector.
#pragma once
#include <string>
#include <vector>

#include "foundation/RenderTarget.h"
#include "platform/RecordingGraphics.h"

struct TRenderCall {
    std::string Name;  // "Begin", "End", "Normal", "Color", "Vertex"
    sarnova::TMVector V;  // the normal, the vertex or the colour
    sarnova::TRenderPrimitive Kind = sarnova::TRenderPrimitive::Quads;
};

class TRecordingRenderTarget : public sarnova::TRecordingGraphics, public sarnova::IRenderTarget {
public:
    std::vector<TRenderCall> Rendered;

    void Begin(sarnova::TRenderPrimitive Kind) override { Rendered.push_back({"Begin", {}, Kind}); }
    void End() override { Rendered.push_back({"End", {}}); }
    void Normal(const sarnova::TMVector& N) override { Rendered.push_back({"Normal", N}); }
    void Color(double R, double G, double B) override { Rendered.push_back({"Color", {R, G, B}}); }
    void Vertex(const sarnova::TMVector& V) override { Rendered.push_back({"Vertex", V}); }

    std::vector<sarnova::TMVector> Of(const std::string& Name) const {
        std::vector<sarnova::TMVector> Result;
        for (const auto& C : Rendered)
            if (C.Name == Name) Result.push_back(C.V);
        return Result;
    }
};
