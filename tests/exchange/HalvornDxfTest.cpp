// A generated ship hull exported as DXF, read by a program we did not write.
#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "exchange/IoDxf.h"
#include "hulls/GHalvorn.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

struct THalvornDxf : TExchangeTest {};

TEST_F(THalvornDxf, EzdxfReadsTheGeneratedHull) {
    if (!HavePythonModule("ezdxf")) GTEST_SKIP() << "python3-ezdxf is not installed";
    auto* H = static_cast<TGeoHalvorn*>(Doc.Add(std::make_unique<TGeoHalvorn>()));
    H->Generate();
    const std::string Path = TempFile("halvorn.dxf").string();
    ExportDXF(Path, Doc);
    WriteTemp("halvorn.py",
              "import sys\n"
              "from ezdxf import recover\n"
              "doc, auditor = recover.readfile(sys.argv[1])\n"
              "print('errors', len(auditor.errors))\n"
              "for e in doc.modelspace():\n"
              "    if e.dxftype() == 'POLYLINE' and e.is_poly_face_mesh is False and e.is_polygon_mesh:\n"
              "        print('mesh', e.dxf.m_count, e.dxf.n_count)\n");
    int Status = 0;
    const std::string Out =
        RunCommand(Python() + " '" + TempFile("halvorn.py").string() + "' '" + Path + "'", Status);
    ASSERT_EQ(Status, 0) << Out;
    EXPECT_NE(Out.find("errors 0\n"), std::string::npos) << Out;
    EXPECT_NE(Out.find("mesh 23 12\n"), std::string::npos) << Out;
}

}  // namespace
