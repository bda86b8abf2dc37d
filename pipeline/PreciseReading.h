// SPDX-License-Identifier: AGPL-3.0-or-later
// The precise calculation: positions from the Swiss Ephemeris made into a reading of the same numbers
// the classic calculation gives, so that every view, file and the report read them alike.
#pragma once

#include "pipeline/ReadingPipeline.h"

#include <string>

// The precise reading of a birth: positions, speeds and angles from the Swiss Ephemeris at the birth
// moment in universal time, retrograde marks from each planet's own speed, the Moon's actual pada, the
// houses counted from the lagna, with the ayanamsa and node of the conventions, which the reading
// records. The engine's message when it cannot compute the moment.
ReadingResult ComputePreciseReading(const Birth& birth, const Conventions& conventions = {});
