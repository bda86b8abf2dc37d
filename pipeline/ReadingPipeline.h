// SPDX-License-Identifier: AGPL-3.0-or-later
// The computing half of the reading command: a birth and a calculation with its conventions in, the
// reading or the refusal out. Nothing is kept between readings, so any number of them can stand side by side.
#pragma once

#include "records/Reading.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// A reading, or why there is none.
struct ReadingResult {
    std::optional<Reading> reading;
    // The user's message when there is no reading.
    std::string message;
};

// The whole reading of a birth under a calculation and its conventions, or the refusal: a reading is
// given whole or not at all, never made partly of earlier values. The classic calculation keeps its own
// arithmetic and ignores the conventions; its reading records the defaults.
ReadingResult ComputeReading(const Birth& birth, const CalculationChoice& choice);
// The same with the default conventions.
ReadingResult ComputeReading(const Birth& birth, Calculation calculation);

// Entries of the twelve chart cells, sign 0 (Aries) to 11 (Pisces): "Asc" first in the lagna's cell,
// then the labels of the Sun to Ketu in body order, retrograde marks included.
std::array<std::vector<std::string>, 12> ChartCellEntries(const Reading& reading);

// Whether this build carries the precise calculation.
bool PreciseCalculationBuilt();

// Where the precise calculation looks for the ephemeris files: the folder "ephe" beside the program
// (so that a build for Windows can ship them), then the system's folder; QUILLMERE_EPHE_PATH, when
// set, instead. Nothing to do in a build without it.
void UseEphemerisFilesBeside(const std::string& programFolder);
