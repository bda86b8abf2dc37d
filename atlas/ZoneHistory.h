// SPDX-License-Identifier: AGPL-3.0-or-later
// The offset from universal time in force at a place's local date and time, from the IANA time-zone
// database (the system's, read through the date/tz library).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace atlas {

// A clock reading as the entry form holds it; hour 24 is midnight of the next day.
struct LocalDateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

enum class LocalTimeKind {
    Normal,
    Skipped,  // the clocks went forward over it: it never showed
    Repeated, // the clocks went back over it: it showed twice
};

struct ZoneMoment {
    int offsetSeconds = 0;      // the whole offset east of UTC in force, daylight included; a local mean
                                // time is not a whole number of minutes
    int daylightMinutes = 0;    // 0 for standard time; 60 for summer or war time, 120 for double summer
    bool localMeanTime = false; // before the zone's recorded history: the place's own mean solar time
    LocalTimeKind kind = LocalTimeKind::Normal;
    std::string abbreviation; // as the database writes it: "IST", "EWT", "LMT", "+0545"
    LocalDateTime date;       // the local date and time asked for, hour 24 carried to the next day
    // For a skipped or repeated time: the clock reading at which the clocks were changed and the
    // offset after the change.
    LocalDateTime changedAt;
    int offsetAfterSeconds = 0;
};

// The offset in force at a local date and time in the zone zoneName ("Asia/Kolkata"). A skipped time
// takes the offset before the change, applied to the clock reading as given; a repeated time is taken
// at its first showing. Years 1 to 9999; before a zone's history the place's mean time answers. Nothing,
// with error a sentence for the user, for a zone the database does not know, a date or time that does
// not exist on the calendar, or a database that cannot be read.
std::optional<ZoneMoment> ZoneAt(const std::string& zoneName, const LocalDateTime& local, std::string& error);

// "UTC+5:30", "UTC-4:00", "UTC+0:00"; seconds only when there are any ("UTC+5:53:28").
std::string FormatUtcOffset(int offsetSeconds);

// Whether text is a rule that a zone file keeps for the times after its last listed change, as read
// here: a POSIX TZ string such as "EST5EDT,M3.2.0,M11.1.0", with a change's time from -167 to 167 hours.
bool IsReadableZoneRule(std::string_view text);

// Where the rule text of a zone comes from: by default the last line of its file in the system's
// zone folder. Tests replace it to make a database without a readable rule; an empty function restores
// the default. Nothing means the rule could not be read.
using ZoneRuleSource = std::function<std::optional<std::string>(const std::string& zoneName)>;
void SetZoneRuleSource(ZoneRuleSource source);

} // namespace atlas
