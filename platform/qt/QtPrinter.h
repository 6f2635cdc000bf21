// The program's printer: one for the whole program, so that a choice of printer, paper or
// orientation made for one print holds for the next.
#pragma once
#include <functional>
#include <string>

class QPrinter;

namespace sarnova {

class ICanvas;

// Created on first use at the printer's full resolution; lives until the program ends.
QPrinter& GetPrinter();

// One print job titled Title: nothing while Printer is busy; Draw paints the page on a canvas of the
// page's Width x Height device pixels; the job ends also when Draw fails. Throws EError "The printer
// could not start the print job" when the job cannot begin.
void PrintJob(QPrinter& Printer, const std::string& Title,
              const std::function<void(ICanvas& Canvas, int Width, int Height)>& Draw);

}  // namespace sarnova
