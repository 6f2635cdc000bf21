// The hydrostatic table: the particulars of one hull for a list of draughts, one row per draught and
// one column per quantity, with the labels in row 0. Also the draught lists the hydrostatic windows
// read from their edit boxes, and one row's calculation.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "naval/Table.h"
#include "naval/VkHydro.h"

namespace sarnova {

class TPolylineList;

// One quantity of the table: its label, the field of the result record it shows and whether it is
// shown when the window opens.
struct THydrostaticsColumn {
    const char* Label;
    double THydrostaticsData::*Field;
    bool ShownAtStart;
};

inline constexpr int HydrostaticsColumnCount = 22;
// "T", "DISPM", "VOLM", "LCB", ... "WSA", "MCT" in column order.
const std::array<THydrostaticsColumn, HydrostaticsColumnCount>& HydrostaticsColumns();

class THydrostaticsTable : public TTable {
public:
    // One row: the labels, as texts.
    void Reset();
    // Appends a row with the record's 22 fields as numbers.
    void AddRecord(const THydrostaticsData& R);
};

// The most draughts a window computes at once.
inline constexpr int MaxDraughtCount = 1000;

// The sorted draughts of a list such as "(0.1, 2, 0.1), 0.25" (numbers, and "(start, end, step)"
// ranges). A range runs from its start by its step towards its end, whichever way the end lies and
// whatever the step's sign, and ends on its end: "(0.45, 4.5, 0.9)" gives 0.45, 1.35, 2.25, 3.15,
// 4.05 and 4.5. Throws the list reader's errors, EError "Too many draughts: at most 1000" past
// MaxDraughtCount and EError "The draught list yields a value that is not a finite number" for an
// infinite or undefined value.
std::vector<double> DraughtsFromText(const std::string& Text);

// The particulars of Sections below the level waterplane at Draught, into a cleared R.
void HydrostaticsAtDraught(TPolylineList& Sections, double Draught, THydrostaticsData& R);

// "Draught: %5.3f; Disp: %9.3f" of the record, the progress line of the hydrostatic table.
std::string DraughtStatusText(const THydrostaticsData& R);

}  // namespace sarnova
