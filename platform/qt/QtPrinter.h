// The program's printer: one for the whole program, so that a choice of printer, paper or
// orientation made for one print holds for the next.
#pragma once

class QPrinter;

namespace sarnova {

// Created on first use at the printer's full resolution; lives until the program ends.
QPrinter& GetPrinter();

}  // namespace sarnova
