// SPDX-License-Identifier: AGPL-3.0-or-later
// The ashtakavarga: for each of the seven planets, the bindus (benefic points) each sign receives from
// the places counted from the seven planets and the lagna, by the common tables or by those of Brihat
// Parashara Hora Shastra, chapter 66; and their sum sign by sign, the sarvashtakavarga.
#pragma once

#include "records/Reading.h"
#include "records/Vocabulary.h"

#include <array>
#include <string>

// The rows in their classical order; the lagna contributes as an eighth, after Saturn.
inline constexpr std::array<BodySlot, 7> kAshtakavargaPlanets = {
    BodySlot::Sun,     BodySlot::Moon,  BodySlot::Mars,  BodySlot::Mercury,
    BodySlot::Jupiter, BodySlot::Venus, BodySlot::Saturn};
inline constexpr int kAshtakavargaLagna = 7;
// Whatever the chart, each row's bindus add up to these, and all seven rows' to 337.
inline constexpr std::array<int, 7> kAshtakavargaRowTotals = {48, 49, 39, 54, 56, 52, 39};
inline constexpr int kSarvashtakavargaTotal = 337;

struct Ashtakavarga {
    // Bindus of each planet (kAshtakavargaPlanets order) in each sign (0 Aries .. 11 Pisces).
    std::array<std::array<int, 12>, 7> bhinna{};
    // The sarvashtakavarga: the seven rows' sum in each sign.
    std::array<int, 12> total{};
};

// Whether place `place` (1..12) counted from contributor `from` (0..6 the planets in row order, 7 the
// lagna) gives a bindu in the row of planet `row` (0..6), by the tables `places`.
bool AshtakavargaPlace(AshtakavargaPlaces places, int row, int from, int place);

// From the signs (0..11) of the seven planets in row order and, last, the lagna's.
Ashtakavarga ComputeAshtakavarga(const std::array<int, 8>& signs, AshtakavargaPlaces places);
// From the signs of the reading's positions, as its chart shows them, by the reading's places.
Ashtakavarga ComputeAshtakavarga(const Reading& reading);

// Eight lines "Sun: 4 5 ...", Moon to Saturn, then "Total: ...", the bindus of signs 1 to 12 separated
// by single blanks, each line ended by CR LF.
std::string AshtakavargaLines(const Ashtakavarga& ashtakavarga);
