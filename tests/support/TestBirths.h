// SPDX-License-Identifier: AGPL-3.0-or-later
// Birth data of the worked examples, shared by the tests.
#pragma once

#include "formats/ChartExport.h"
#include "pipeline/BirthEntry.h"
#include "pipeline/ReadingPipeline.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The birth of an entry the tests know to be good.
inline Birth BirthOf(const BirthEntry& e) {
    std::optional<Birth> birth = BirthFromEntry(e);
    if (!birth)
        std::abort();
    return *birth;
}

// The reading of an entry, or nothing when it is refused.
inline std::optional<Reading> ReadingOf(const BirthEntry& e, Calculation calculation = Calculation::Classic) {
    const std::optional<Birth> birth = BirthFromEntry(e);
    return birth ? ComputeReading(*birth, calculation).reading : std::nullopt;
}

// The export of a reading, split at its CR LF endings.
inline std::vector<std::string> ExportLines(const Reading& reading) {
    const std::string text = ChartExportText(reading);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.emplace_back(text, start, end - start);
    return lines;
}

// A birth given straight by its numbers, for the stages that take one without an entry: at Greenwich
// in universal time unless the calls below say otherwise, MakeBirth(1990, 1, 1, 0, 30).Zone(-5, -30).
// The calls change the birth MakeBirth returns; keep the result as a Birth, not a reference.
struct TestBirth : Birth {
    // The zone as added to the local clock to give universal time (east negative), and its size.
    TestBirth& Zone(int hours, int minutes) {
        tzHoursSigned = hours;
        tzMinutesSigned = minutes;
        return Set(tzHours, tzMinutes, std::abs(hours), std::abs(minutes));
    }
    TestBirth& Latitude(int degrees, int minutes, bool south) {
        latSouth = south;
        return Set(latDeg, latMin, degrees, minutes);
    }
    TestBirth& Longitude(int degrees, int minutes, bool east) {
        lonEast = east;
        return Set(lonDeg, lonMin, degrees, minutes);
    }
    TestBirth& Dst(bool saving = true) {
        dst = saving;
        return *this;
    }

  private:
    TestBirth& Set(std::int16_t& whole, std::int16_t& part, int wholeValue, int partValue) {
        whole = static_cast<std::int16_t>(wholeValue);
        part = static_cast<std::int16_t>(partValue);
        return *this;
    }
};

inline TestBirth MakeBirth(int year, int month, int day, int hour, int minute) {
    TestBirth b;
    b.year = static_cast<std::int16_t>(year);
    b.month = static_cast<std::int16_t>(month);
    b.day = static_cast<std::int16_t>(day);
    b.hour = static_cast<std::int16_t>(hour);
    b.minute = static_cast<std::int16_t>(minute);
    return b;
}

inline BirthEntry MakeEntry(int year, int month, int day, int hour, int minute, int zoneRow,
                            std::string latDeg, std::string latMin, bool south, std::string lonDeg,
                            std::string lonMin, bool east, bool dst = false) {
    BirthEntry e;
    e.name = "Test Person";
    e.year = year;
    e.monthIndex = month - 1;
    e.day = day;
    e.hour = hour;
    e.minute = minute;
    e.zoneRow = zoneRow;
    e.latDeg = std::move(latDeg);
    e.latMin = std::move(latMin);
    e.latDirection = south ? 1 : 0;
    e.lonDeg = std::move(lonDeg);
    e.lonMin = std::move(lonMin);
    e.lonDirection = east ? 0 : 1;
    e.dst = dst;
    e.city = "Delhi";
    e.state = "Delhi";
    e.country = "India";
    return e;
}

// 1980 January 1, 12:00, Greenwich Mean Time, 51 degrees 30 minutes north, longitude 0.
inline BirthEntry Entry1980() {
    return MakeEntry(1980, 1, 1, 12, 0, 29, "51", "30", false, "0", "0", true);
}

// 1947 August 15, 00:00, Indian Time, 28 degrees 39 minutes north, 77 degrees 13 minutes east.
inline BirthEntry Entry1947() {
    return MakeEntry(1947, 8, 15, 0, 0, 34, "28", "39", false, "77", "13", true);
}

// The lines of a text whose lines end in CR LF, without their endings.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}
