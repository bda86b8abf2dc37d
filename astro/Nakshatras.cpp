// SPDX-License-Identifier: AGPL-3.0-or-later
#include "astro/Nakshatras.h"

#include <cmath>

int NakshatraOf(double siderealLongitude) {
    const double n = std::floor(siderealLongitude * 60 / 800);
    return n >= 0 && n < kNakshatraCount ? static_cast<int>(n) : -1;
}

std::string_view NakshatraNameAt(int nakshatra) {
    return nakshatra >= 0 && nakshatra < kNakshatraCount
               ? kNakshatraNames[static_cast<std::size_t>(nakshatra)]
               : std::string_view{};
}

std::string NakshatraForLongitude(double siderealLongitude) {
    return std::string(NakshatraNameAt(NakshatraOf(siderealLongitude)));
}

int PadaOf(double siderealLongitude) {
    // Quarters of 200 arc-minutes, from the same product NakshatraOf divides by 800, so that the pada
    // and the nakshatra's name agree even at a boundary such as 40 degrees.
    const double quarters = std::floor(siderealLongitude * 60 / 200);
    return static_cast<int>(quarters - 4 * std::floor(quarters / 4)) + 1;
}

NakshatraPlace NakshatraPlaceOf(double siderealLongitude) {
    // Any longitude from 356 2/3 degrees on lies in the last quarter; 359 also keeps one so near 360
    // that its quarters round up to 108 there.
    const double inside = std::clamp(siderealLongitude, 0.0, 359.0);
    NakshatraPlace place;
    place.nakshatra = NakshatraOf(inside);
    place.pada = PadaOf(inside);
    place.lord = NakshatraLord(place.nakshatra);
    return place;
}

int ClassicNakshatraRow(int nakshatra, int moonSign) {
    if (nakshatra < 0 || nakshatra >= kNakshatraCount)
        return -1;
    if (moonSign >= 0 && moonSign < 12)
        for (int j = 3 * moonSign; j < 3 * moonSign + 3; ++j)
            if (NakshatraRows[static_cast<std::size_t>(j)].nakshatra == nakshatra)
                return j;
    for (int j = 0; j < 36; ++j)
        if (NakshatraRows[static_cast<std::size_t>(j)].nakshatra == nakshatra)
            return j;
    return -1;
}
