// SPDX-License-Identifier: AGPL-3.0-or-later
// The nakshatras: the one a sidereal longitude stands in, its name, lord and pada, and the rows of
// the classic calculation, three to a sign.
#pragma once

#include "records/Vocabulary.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

// The nakshatra (0 Aswini .. 26 Revati) that NakshatraForLongitude names, or -1 where it names none.
int NakshatraOf(double siderealLongitude);
// The name of nakshatra 0..26; empty for any other number.
std::string_view NakshatraNameAt(int nakshatra);
// Nakshatra name for a sidereal longitude; empty outside 0..360.
std::string NakshatraForLongitude(double siderealLongitude);

// The lord of nakshatra 0..26.
constexpr BodySlot NakshatraLord(int nakshatra) {
    return kNakshatraLords[static_cast<std::size_t>(nakshatra % 9)].body;
}

// The pada (1..4): the quarter of its nakshatra in which a sidereal longitude in 0..360 stands.
int PadaOf(double siderealLongitude);

// The nakshatra (0..26), its lord and the pada (1..4) in which a sidereal longitude stands; one
// outside the zodiac counts as in its first or last quarter.
struct NakshatraPlace {
    int nakshatra = 0;
    BodySlot lord = BodySlot::Ketu;
    int pada = 0;
};
NakshatraPlace NakshatraPlaceOf(double siderealLongitude);

// A nakshatra as the classic calculation counts it in one sign: how many of its quarters lie there.
struct NakshatraRow {
    int nakshatra = 0;
    int padas = 0;
};
// Three rows per sign in zodiac order: rows 3s..3s+2 belong to sign s. A sign holds nine quarters,
// so it holds the end of one nakshatra, a whole one or two, and the start of the next.
inline constexpr std::array<NakshatraRow, 36> NakshatraRows = [] {
    std::array<NakshatraRow, 36> rows{};
    for (int sign = 0; sign < 12; ++sign) {
        int quarter = 9 * sign;
        for (int k = 0; k < 3; ++k) {
            const int nakshatra = quarter / 4;
            const int end = std::min(4 * (nakshatra + 1), 9 * (sign + 1));
            rows[static_cast<std::size_t>(3 * sign + k)] = {nakshatra, end - quarter};
            quarter = end;
        }
    }
    return rows;
}();

// The row of the Moon's nakshatra (0..26) among the rows of the Moon's sign (0..11); when the
// nakshatra has no row there (only a longitude a hair below a sign boundary does that), its first row.
// -1 when it has none at all.
int ClassicNakshatraRow(int nakshatra, int moonSign);
