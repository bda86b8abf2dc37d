// SPDX-License-Identifier: AGPL-3.0-or-later
// The chart text export: 41 lines of birth data, planet positions, other details and the twelve
// house-lord headings of a reading, and for a precise reading how it was made.
#pragma once

#include "records/Reading.h"

#include <string>

// The 41 lines, each ended by CR LF (UTF-8, the system's text encoding on Linux). Lines 9, 20 and 28
// hold a single CR, so that with the ending their bytes are 0D 0D 0A. A precise reading adds a 42nd,
// "Calculation: " and how it was made (CalculationWords); a classic export stays the 41 lines.
std::string ChartExportText(const Reading& reading);
