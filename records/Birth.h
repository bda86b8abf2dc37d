// SPDX-License-Identifier: AGPL-3.0-or-later
// A birth as the entry form holds it once checked: the person, the local date and time, the zone, the
// place. A value: every reading carries the birth it was made from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The place's own clock reading of the birth moment and the offset it stood at, where that offset is
// in no row of the zone list and the form shows the same moment in a row's clock instead.
struct PlaceClock {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    int offsetSeconds = 0; // east of universal time, positive
};

struct Birth {
    std::string name;
    std::int16_t day = 0;
    std::int16_t month = 0;
    std::int16_t year = 0;
    std::int16_t hour = 0;
    std::int16_t minute = 0;
    // The row of the time-zone list, which a saved reading keeps, and the row's offset as a size and
    // with its own sign (added to the local clock it gives universal time: east negative).
    int zoneRow = 0;
    std::int16_t tzHours = 0;
    std::int16_t tzMinutes = 0;
    int tzHoursSigned = 0;
    int tzMinutesSigned = 0;
    std::int16_t lonDeg = 0;
    std::int16_t lonMin = 0;
    std::int16_t latDeg = 0;
    std::int16_t latMin = 0;
    bool lonEast = false;
    bool latSouth = false;
    bool dst = false;
    std::string city;
    std::string state;
    std::string country;
    // Set only while the form knows the place's clock; the saved reading and the export do not hold it.
    std::optional<PlaceClock> placeClock;
};
