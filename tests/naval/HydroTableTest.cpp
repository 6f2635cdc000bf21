#include "naval/HydroTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "foundation/Errors.h"
#include "naval/BoxSections.h"

using namespace sarnova;

namespace {

std::string Message(const std::function<void()>& Call) {
    try {
        Call();
    } catch (const std::exception& E) {
        return E.what();
    }
    return "nothing raised";
}

double Number(const TTable& T, int Column, int Row) { return std::get<double>(T.GetCellValue(Column, Row)); }

}  // namespace

TEST(Table, CellsLieRowAfterRowAndRefuseIndicesOutside) {
    TTable T;
    T.SetSize(3, 2);
    for (int R = 0; R < 2; ++R)
        for (int C = 0; C < 3; ++C) T.SetCellValue(C, R, double(10 * R + C));
    EXPECT_EQ(Number(T, 2, 1), 12);
    const std::pair<int, int> Outside[] = {{3, 0}, {0, 2}, {-1, 0}, {0, -1}};
    for (auto [C, R] : Outside) {
        EXPECT_FALSE(T.IsValidCell(C, R));
        EXPECT_EQ(Message([&] { T.Cell(C, R); }),
                  "Invalid Cell Index [" + std::to_string(C) + ", " + std::to_string(R) + "]");
    }
    EXPECT_EQ(Message([&] { T.SetSize(-1, 2); }), "Invalid Table Size");
    EXPECT_EQ(Message([&] { T.SetSize(1 << 16, 1 << 16); }), "Invalid Table Size");
    T.Clear();
    EXPECT_EQ(T.ColCount(), 0);
    EXPECT_EQ(Message([&] { T.Cell(0, 0); }), "Invalid Cell Index [0, 0]");
}

TEST(Table, InsertRowPutsAnEmptyRowBeforeTheIndexOrAtTheEnd) {
    TTable T;
    T.SetSize(2, 2);
    T.SetCellValue(0, 0, 1.0);
    T.SetCellValue(0, 1, 2.0);
    T.InsertRow(1);
    EXPECT_EQ(T.RowCount(), 3);
    EXPECT_EQ(Number(T, 0, 0), 1);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(T.GetCellValue(0, 1)));
    EXPECT_EQ(Number(T, 0, 2), 2);
    T.InsertRow(99);
    EXPECT_EQ(T.RowCount(), 4);
    EXPECT_EQ(Number(T, 0, 2), 2);
    EXPECT_EQ(Message([&] { T.InsertRow(-1); }), "Invalid Row Index");
    EXPECT_EQ(T.RowCount(), 4);
}

TEST(Table, RangeCellsReadTheirFirstCellAndWriteEveryCell) {
    TTable T;
    T.SetSize(3, 3);
    T.ColCell().Index = 1;
    T.ColCell().SetValue(5.0);
    T.RowCell().Index = 2;
    T.RowCell().SetValue(std::string("x"));
    EXPECT_EQ(Number(T, 1, 0), 5);
    EXPECT_EQ(Number(T, 1, 1), 5);
    EXPECT_EQ(std::get<std::string>(T.GetCellValue(1, 2)), "x");
    EXPECT_EQ(std::get<double>(T.ColCell().GetValue()), 5);
    EXPECT_EQ(std::get<std::string>(T.RowCell().GetValue()), "x");
    T.SheetCell().SetValue(7.0);
    EXPECT_EQ(Number(T, 2, 2), 7);
    // Ranges outside the table read as an empty text and write nothing.
    T.ColCell().Index = 3;
    EXPECT_EQ(std::get<std::string>(T.ColCell().GetValue()), "");
    T.ColCell().SetValue(1.0);
    EXPECT_EQ(Message([&] { T.SheetCell().GetAsInteger(); }), "Invalid variant operation");

    TDataCell& C = T.Cell(0, 0);
    C.SetValue(std::string(" 42 "));
    EXPECT_EQ(C.GetAsInteger(), 42);
    C.SetValue(2.5);
    EXPECT_EQ(C.GetAsInteger(), 2);
    C.SetValue(std::string("abc"));
    EXPECT_THROW(C.GetAsInteger(), EConvertError);
}

TEST(HydrostaticsTable, LabelsThenOneRowPerRecord) {
    THydrostaticsTable T;
    T.Reset();
    ASSERT_EQ(T.ColCount(), 22);
    ASSERT_EQ(T.RowCount(), 1);
    std::string Labels, Shown;
    for (int C = 0; C < 22; ++C) {
        Labels += std::get<std::string>(T.GetCellValue(C, 0)) + " ";
        if (HydrostaticsColumns()[C].ShownAtStart) Shown += HydrostaticsColumns()[C].Label + std::string(" ");
    }
    EXPECT_EQ(Labels, "T DISPM VOLM LCB LCB% VCB TCB KMT WPA LCF LCF% TCF TPC CB CP CWP CM BMT BML KML WSA MCT ");
    EXPECT_EQ(Shown, "T DISPM VOLM LCB VCB KMT LCF TPC CB WSA ");

    THydrostaticsData R;
    ResetHydrostatics(R);
    R.Draught = 2;
    R.LCFPercent = 47;
    R.MCT = 3.5;
    T.AddRecord(R);
    R.Draught = 3;
    T.AddRecord(R);
    EXPECT_EQ(T.RowCount(), 3);
    EXPECT_EQ(Number(T, 0, 1), 2);
    EXPECT_EQ(Number(T, 0, 2), 3);
    EXPECT_EQ(Number(T, 10, 1), 47);
    EXPECT_EQ(Number(T, 21, 2), 3.5);
    EXPECT_EQ(Message([&] { T.Cell(22, 0); }), "Invalid Cell Index [22, 0]");
    T.Reset();
    EXPECT_EQ(T.RowCount(), 1);
}

TEST(DraughtsFromText, RangesAndNumbersSorted) {
    const auto D = DraughtsFromText("(0.1, 2, 0.1), 0.25");
    ASSERT_EQ(D.size(), 21u);
    EXPECT_TRUE(std::is_sorted(D.begin(), D.end()));
    EXPECT_DOUBLE_EQ(D[2], 0.25);
    EXPECT_DOUBLE_EQ(D.back(), 2);
    // The typed step holds, and the range ends on its end, whichever way it runs.
    const std::pair<const char*, std::vector<double>> Ranges[] = {
        {"(0, 1, 0.15)", {0, 0.15, 0.3, 0.45, 0.6, 0.75, 0.9, 1}},
        {"(0.45, 4.5, 0.9)", {0.45, 1.35, 2.25, 3.15, 4.05, 4.5}},
        {"(6, 2, 2)", {2, 4, 6}},
        {"(6, 2, -2)", {2, 4, 6}},
        {"(2, 6, -2)", {2, 4, 6}},
    };
    for (const auto& [Text, Want] : Ranges) {
        const auto S = DraughtsFromText(Text);
        ASSERT_EQ(S.size(), Want.size()) << Text;
        for (std::size_t I = 0; I < S.size(); ++I) EXPECT_NEAR(S[I], Want[I], 1e-12) << Text;
    }
    EXPECT_EQ(DraughtsFromText("3 1 2"), (std::vector<double>{1, 2, 3}));
    EXPECT_TRUE(DraughtsFromText("").empty());
}

TEST(DraughtsFromText, RefusesListsThatCannotBeComputed) {
    const std::pair<const char*, const char*> Cases[] = {
        {"(0, 1000, 0.5)", "Too many draughts: at most 1000"},
        {"1e999", "Unable to convert string to number (1e999)"},
        {"(1 2", "ArrayFromString: Parenthesis do not match"},
        {"(1 2)", "Wrong Number of Parameters between Parenthesis"},
        {"1 x", "Unable to convert string to number (x)"},
    };
    for (auto [Text, Expected] : Cases) EXPECT_EQ(Message([&] { DraughtsFromText(Text); }), Expected) << Text;
    EXPECT_EQ(DraughtsFromText("(0, 999, 1)").size(), 1000u);
}

TEST(HydrostaticsAtDraught, BoxHullParticularsAndStatusLine) {
    auto Sections = BoxSections();
    THydrostaticsData R;
    HydrostaticsAtDraught(*Sections, 1, R);
    const std::pair<const char*, double> Expected[] = {
        {"DISPM", 20.5}, {"VOLM", 20},     {"LCB", 5},  {"VCB", 0.5},  {"KMT", 0.5 + 1.0 / 3},
        {"LCF", 5},      {"TPC", 0.205},   {"CB", 1},   {"WSA", 44},   {"T", 1},
    };
    for (auto [Label, Value] : Expected) {
        const auto& C = *std::find_if(HydrostaticsColumns().begin(), HydrostaticsColumns().end(),
                                      [&](const THydrostaticsColumn& Col) { return std::string(Col.Label) == Label; });
        EXPECT_NEAR(R.*C.Field, Value, 1e-6) << Label;
    }
    EXPECT_EQ(DraughtStatusText(R), "Draught: 1.000; Disp:    20.500");
    R.Draught = 2;
    R.Displacement = 12.5;
    EXPECT_EQ(DraughtStatusText(R), "Draught: 2.000; Disp:    12.500");
    // Above the keel nothing is immersed: a cleared record.
    HydrostaticsAtDraught(*Sections, -1, R);
    EXPECT_EQ(R.Volume, 0);
}
