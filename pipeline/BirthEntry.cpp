// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/BirthEntry.h"

#include "astro/TextUtil.h"
#include "records/Messages.h"
#include "records/TimeZones.h"

#include <limits>

namespace {

bool IsLetterOrBlank(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' ';
}

bool IsLeapYear(int year) {
    // Within the offered years 1901..2050 the plain rule agrees with the calendar.
    return year % 4 == 0;
}

} // namespace

bool PassesLettersFilter(std::string_view text) {
    for (char c : text)
        if (!IsLetterOrBlank(c))
            return false;
    return true;
}

bool PassesDigitsFilter(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

std::optional<int> ParseFieldNumber(std::string_view text) {
    if (text.empty() || text.size() > 5 || !PassesDigitsFilter(text))
        return std::nullopt;
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return value;
}

std::optional<EntryRefusal> CheckBirthEntry(const BirthEntry& e) {
    using F = EntryField;
    using Fix = EntryRefusal::Fix;
    const MessageIcon err = MessageIcon::Error;

    // A text of blanks only is saved trimmed to nothing, so it counts as empty here; a longer text
    // than any file or field holds is refused, never cut.
    const auto text = [&](const std::string& value, const char* emptyMessage,
                          EntryField field) -> std::optional<EntryRefusal> {
        if (astro::Trim(value).empty())
            return EntryRefusal{emptyMessage, err, field};
        if (CharacterCount(value) > kMaxTextLength)
            return EntryRefusal{msg::kTextTooLong, err, field};
        return std::nullopt;
    };
    if (auto r = text(e.name, msg::kEnterName, F::Name))
        return r;
    if (e.latDeg.empty())
        return EntryRefusal{msg::kEnterLatDeg, err, F::LatDeg};
    if (e.latMin.empty())
        return EntryRefusal{msg::kEnterLatMin, err, F::LatMin};
    if (e.lonDeg.empty())
        return EntryRefusal{msg::kEnterLonDeg, err, F::LonDeg};
    if (e.lonMin.empty())
        return EntryRefusal{msg::kEnterLonMin, err, F::LonMin};
    if (auto r = text(e.city, msg::kEnterCity, F::City))
        return r;
    if (auto r = text(e.state, msg::kEnterState, F::State))
        return r;
    if (auto r = text(e.country, msg::kEnterCountry, F::Country))
        return r;
    if (e.latDirection != 0 && e.latDirection != 1)
        return EntryRefusal{msg::kLatDirection, err, F::None, Fix::SelectNorth};
    if (e.lonDirection != 0 && e.lonDirection != 1)
        return EntryRefusal{msg::kLonDirection, err, F::None, Fix::SelectEast};

    // A place beyond the poles or the date line gives a chart that means nothing.
    const std::optional<int> latDeg = ParseFieldNumber(e.latDeg);
    const std::optional<int> latMin = ParseFieldNumber(e.latMin);
    const std::optional<int> lonDeg = ParseFieldNumber(e.lonDeg);
    const std::optional<int> lonMin = ParseFieldNumber(e.lonMin);
    if (!latDeg || *latDeg > 90 || (*latDeg == 90 && latMin && *latMin > 0))
        return EntryRefusal{msg::kLatRange, err, F::LatDeg};
    if (!latMin || *latMin > 59)
        return EntryRefusal{msg::kLatMinRange, err, F::LatMin};
    if (!lonDeg || *lonDeg > 180 || (*lonDeg == 180 && lonMin && *lonMin > 0))
        return EntryRefusal{msg::kLonRange, err, F::LonDeg};
    if (!lonMin || *lonMin > 59)
        return EntryRefusal{msg::kLonMinRange, err, F::LonMin};

    const int dayPosition = e.day - 1;
    if (e.monthIndex == 1) {
        const int firstBad = IsLeapYear(e.year) ? 29 : 28;
        if (dayPosition >= firstBad && dayPosition <= 30)
            return EntryRefusal{msg::kFebruaryDate, MessageIcon::Information, F::None};
    }
    if ((e.monthIndex == 3 || e.monthIndex == 5 || e.monthIndex == 8 || e.monthIndex == 10) &&
        dayPosition == 30)
        return EntryRefusal{msg::kThirtyDayMonth, MessageIcon::Information, F::None};
    return std::nullopt;
}

std::optional<Birth> BirthFromEntry(const BirthEntry& e) {
    if (e.zoneRow < 0 || e.zoneRow >= kTimeZoneCount)
        return std::nullopt;
    const std::optional<int> lonDeg = ParseFieldNumber(e.lonDeg);
    const std::optional<int> lonMin = ParseFieldNumber(e.lonMin);
    const std::optional<int> latDeg = ParseFieldNumber(e.latDeg);
    const std::optional<int> latMin = ParseFieldNumber(e.latMin);
    if (!lonDeg || !lonMin || !latDeg || !latMin)
        return std::nullopt;
    const TimeZoneRow& zone = TimeZoneTable[static_cast<std::size_t>(e.zoneRow)];

    Birth b;
    b.name = e.name;
    b.month = static_cast<std::int16_t>(e.monthIndex + 1);
    b.day = static_cast<std::int16_t>(e.day);
    b.year = static_cast<std::int16_t>(e.year);
    b.hour = static_cast<std::int16_t>(e.hour);
    b.minute = static_cast<std::int16_t>(e.minute);
    b.tzHours = static_cast<std::int16_t>(zone.hours < 0 ? -zone.hours : zone.hours);
    b.tzMinutes = static_cast<std::int16_t>(zone.minutes < 0 ? -zone.minutes : zone.minutes);
    b.zoneRow = e.zoneRow;
    b.tzHoursSigned = zone.hours;
    b.tzMinutesSigned = zone.minutes;
    b.lonDeg = static_cast<std::int16_t>(*lonDeg);
    b.lonMin = static_cast<std::int16_t>(*lonMin);
    b.latDeg = static_cast<std::int16_t>(*latDeg);
    b.latMin = static_cast<std::int16_t>(*latMin);
    b.lonEast = e.lonDirection == 0;
    b.latSouth = e.latDirection == 1;
    b.dst = e.dst;
    b.city = astro::Trim(e.city);
    b.state = astro::Trim(e.state);
    b.country = astro::Trim(e.country);
    b.placeClock = e.placeClock;
    return b;
}
