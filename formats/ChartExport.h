// The chart text export: 41 lines of birth data, planet positions, other details and the twelve
// house-lord headings, read from the records.
#pragma once

#include <string>
#include <vector>

// Full English month name, 1 = "January"; empty outside 1..12.
std::string MonthName(int month);

// The 41 lines without their endings. Lines 9, 20 and 28 hold a single CR, so that with the
// ending their bytes are 0D 0D 0A.
std::vector<std::string> ChartExportLines();

// The lines joined, each ended by CR LF (UTF-8, the system's text encoding on Linux).
std::string ChartExportText();
