// The precise calculation's stages: positions from the Swiss Ephemeris written into ReadingState in
// the same texts the classic stages write, so that every view, file and the report read them alike.
#pragma once

#include "pipeline/ReadingPipeline.h"

#include <string>

// The precise reading of a birth: positions, speeds and angles from the Swiss Ephemeris at the birth
// moment in universal time, retrograde marks from each planet's own speed, the Moon's actual pada, the
// houses counted from the lagna. The engine's message when it cannot compute the moment.
ReadingResult ComputePreciseReading(const Birth& birth);

// Fills the angles, the Moon, the planet table, the retrograde marks (from each planet's own speed),
// the lagna and the Moon's nakshatra, pada and lord for BirthData's moment in universal time. False,
// with the user's message in `message`, when the engine cannot compute it; ReadingState may then hold
// parts of the attempt and must not be shown.
bool ComputePreciseStages(std::string& message);

// The nakshatra (0..26), its lord's English name and the pada (1..4) in which a sidereal longitude
// stands.
struct NakshatraPlace {
    int nakshatra = 0;
    std::string lord;
    int pada = 0;
};
NakshatraPlace NakshatraPlaceOf(double siderealLongitude);
