// The computing half of the reading command: every stage from the chart angles to the house-lord
// headings, in their fixed order, on BirthData as the command has just set it.
#pragma once

// Returns false when a stage could not produce its part, so that no reading made partly of
// earlier values is shown.
bool ComputeReading();

#include <array>
#include <string>
#include <vector>

// Entries of the twelve chart cells, sign 0 (Aries) to 11 (Pisces): "Asc" first in the
// ascendant's cell, then the labels of the Sun to Ketu in body order, retrograde marks included.
std::array<std::vector<std::string>, 12> ChartCellEntries();
