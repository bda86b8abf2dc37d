// SPDX-License-Identifier: AGPL-3.0-or-later
// The birth data as the entry form holds it, the checks that need no window, and the birth it gives.
// The entry form, the saved-reading reader and the command-line companion share them.
#pragma once

#include "records/Birth.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The longest name, city, state or country, in characters: generous for any real name or place, and
// the same in the form, the saved-reading reader and the companion.
inline constexpr std::size_t kMaxTextLength = 100;

struct BirthEntry {
    std::string name;
    int monthIndex = 0; // list position, 0 = January
    int day = 1;        // shown text of the day list
    int year = 1901;
    int hour = 0; // 0..24
    int minute = 0;
    int zoneRow = 0;                            // row of TimeZoneTable
    std::string latDeg, latMin, lonDeg, lonMin; // field texts, digits only
    int latDirection = 0;                       // 0 North, 1 South, -1 neither chosen
    int lonDirection = 0;                       // 0 East, 1 West, -1 neither chosen
    bool dst = false;
    std::string city, state, country;
    // The chosen place's own clock reading, where the time fields show the moment in another row's clock.
    std::optional<PlaceClock> placeClock;
};

enum class MessageIcon { Error, Information };

enum class EntryField { None, Name, LatDeg, LatMin, LonDeg, LonMin, City, State, Country };

struct EntryRefusal {
    const char* message;
    MessageIcon icon;
    EntryField focus; // field that takes the focus, if any
    enum class Fix { None, SelectNorth, SelectEast } fix = Fix::None;
};

// The letters filter: A-Z, a-z and the blank.
bool PassesLettersFilter(std::string_view text);
// The digits filter: 0-9.
bool PassesDigitsFilter(std::string_view text);
// Characters of a UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

// Every check of the entry form that needs no window, in the form's order: empty fields (a text of
// blanks only counts as empty, since it is saved trimmed to nothing) and texts longer than
// kMaxTextLength, the directions, the coordinate ranges, the two date rules. The first failure is
// returned.
std::optional<EntryRefusal> CheckBirthEntry(const BirthEntry& entry);

// The birth of a checked entry, as the reading command takes it: texts of the place trimmed, the zone
// row's offset. Nothing when a value cannot be converted or the zone row is outside the table.
std::optional<Birth> BirthFromEntry(const BirthEntry& entry);

// Text of a 16-bit field value as it would be typed: plain decimal.
std::optional<int> ParseFieldNumber(std::string_view text);
