// SPDX-License-Identifier: AGPL-3.0-or-later
// Transits: the bodies at another moment, computed as the birth's reading was (the same calculation
// and conventions, at the birth place), their houses counted from the birth's lagna and Moon, and
// Saturn's seven and a half years over the birth Moon (sade sati).
#pragma once

#include "pipeline/ReadingPipeline.h"
#include "records/Calendar.h"
#include "records/Reading.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Moments are minutes from 1970-01-01 00:00 universal time, as the periods count them. A transit
// moment lies in the years a birth may have, 1901 to 2050 (universal time): the classic planets'
// station tables cover no more.
inline constexpr double kFirstTransitMinute =
    static_cast<double>(DayOf(1901, 1, 1).time_since_epoch().count()) * 1440;
inline constexpr double kLastTransitMinute =
    static_cast<double>(DayOf(2051, 1, 1).time_since_epoch().count()) * 1440 - 1;
bool TransitMomentInRange(double minutesUT);

// The reading of the birth place at a moment (whole minutes, universal time) under the birth
// reading's calculation and conventions: the birth with its clock set to the moment in universal
// time, without daylight saving; the classic retrograde marks are those of the moment's date on the
// birth's clock, as the birth chart's are. The refusal when the moment is out of range or the
// calculation fails.
ReadingResult TransitReading(const Reading& birth, double minutesUT);

// Entries of the twelve signs (0 Aries .. 11 Pisces) of the transiting Sun to Ketu, labels and
// retrograde marks as the chart writes them; the ascendant is not a transiting body.
std::array<std::vector<std::string>, 12> TransitCellEntries(const Reading& transit);

// The house (1..12) of a sign counted from another, inclusively: sign 0 from sign 11 is house 2.
int HouseFromSign(int sign, int fromSign);

// A sade sati: Saturn within the 12th, 1st and 2nd signs from the birth Moon's sign. A cycle starts
// when Saturn enters those three signs and ends when it leaves them; when it leaves and comes back
// within a year (retrograde back and forth over the edge), the stretch is one cycle, from its first
// entry to its last exit. Saturn comes back no sooner than some twenty years later otherwise.
struct SadeSati {
    double start = 0.0; // minutes, universal time
    double end = 0.0;
};

struct SadeSatiSearch {
    // The cycle that holds the moment (start <= moment < end), if any.
    std::optional<SadeSati> cycle;
    // Empty on success; the refusal when Saturn could not be computed.
    std::string message;
};

// The sade sati around a moment for the birth reading's Moon, Saturn taken as the reading's
// calculation takes it, each entry and exit to the minute.
SadeSatiSearch SadeSatiAt(const Reading& birth, double minutesUT);

// The date in universal time of a moment.
std::chrono::year_month_day UtDateOf(double minutesUT);

// "Sade sati: 2020-01-24 2027-06-02" (dates in universal time), or "Sade sati: none", with CR LF.
std::string SadeSatiLine(const SadeSatiSearch& search);
