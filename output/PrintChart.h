// Printing the chart: on every page the reading's name and birth data; on the first the rasi and
// navamsa charts in the chosen style, every position with its nakshatra and pada, and the other
// details; then the Vimshottari periods, each major period with its sub-periods. Drawn for the page,
// without page numbers.
#pragma once

#include "output/ChartDrawing.h"
#include "records/Reading.h"

#include <QString>

class QPrinter;

// Prints the reading. False when the printer could not take the job; `reason` (when
// given) then says why, where that is known. A print to a file replaces the file only when complete.
bool PrintChart(const Reading& reading, QPrinter& printer, ChartStyle style, QString* reason = nullptr);
