// SPDX-License-Identifier: AGPL-3.0-or-later
// Retrogrades: the station tables of Mercury, Venus, Mars, Jupiter and Saturn and the marks on the
// body labels of the planets that were retrograde on the birth date.
#pragma once

#include "astro/Planets.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

// One retrograde period: the station retrograde and the station direct that ends it, each a record
// "month,day,year,hour,minute," in Universal Time, without leading zeros.
struct StationRow {
    std::string_view retrograde;
    std::string_view direct;
};

// The planets that can be marked, in marking order; their labels sit in body slots 2 to 6.
inline constexpr std::array<std::string_view, 5> kRetrogradePlanets{"Mercury", "Venus", "Mars", "Jupiter",
                                                                    "Saturn"};

// The mark appended to the label of a retrograde planet.
inline constexpr std::string_view kRetrogradeMark = " (R) ";

// A planet's station table: its retrograde periods in time order, none overlapping or touching.
// Empty for a name other than the five, which are compared exactly.
std::span<const StationRow> FillStationTable(std::string_view planet);

// A station record as a date and time; nothing when it is not five whole numbers each followed by
// a comma, or not a real calendar date and time of day.
std::optional<CivilDateTime> ParseStationRecord(std::string_view record);

// Whether the planet was retrograde on the calendar date of the birth: the date lies strictly
// between the dates of a station retrograde and the following station direct. The time of day never
// counts, except that hour 24 stands for the next day. False for an unknown name.
bool IsRetrograde(const CivilDateTime& birth, std::string_view planet);

// Which bodies, by BodySlot, were retrograde on the local birth date: Mercury to Saturn by the
// station tables (IsRetrograde); the others never are.
std::array<bool, kFilledBodySlots> RetrogradesOnBirthDate(const Birth& birth);
