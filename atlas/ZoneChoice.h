// SPDX-License-Identifier: AGPL-3.0-or-later
// The entry form's time-zone row and daylight-saving box for a place at a local date and time, and the
// warning when a chosen row and the box count daylight saving twice.
#pragma once

#include "atlas/ZoneHistory.h"

#include <optional>
#include <string>

namespace atlas {

struct ZoneChoice {
    int row = 0;              // index into TimeZoneTable
    bool dst = false;         // the "Daylight Saving Time" box
    LocalDateTime shownTime;  // the date and time to put on the form
    bool timeChanged = false; // true when no row held the offset and the same moment is shown in another
    std::string line;         // the sentence for the user
    ZoneMoment moment;        // what the database says of the place at that time
};

// The row and box for a place (its zone, "Asia/Kathmandu", and its name for the sentence, "Kathmandu")
// at a local date and time. Daylight time in force takes a row an hour behind the whole offset with the
// box ticked, otherwise a row of the whole offset; among fitting rows the one named for the place's
// region, else the first. When no row holds the offset the nearest row is taken and the time moved to
// the same moment there, to the nearest minute. Nothing, with error a sentence, where ZoneAt refuses.
std::optional<ZoneChoice> ChooseZoneRow(const std::string& zoneName, const std::string& placeName,
                                        const LocalDateTime& local, std::string& error);

// The place's clock reading of a time shown in the choice's row and box: the same moment at the offset
// the choice found, to the nearest minute.
LocalDateTime PlaceTimeOf(const ZoneChoice& choice, const LocalDateTime& shown);

// A row that already holds daylight, summer or war time by its name.
bool IsDaylightRow(int row);

// "Eastern Daylight Time already includes daylight saving; the box adds a second hour." for such a row
// with the box ticked; empty otherwise.
std::string DoubleCountWarning(int row, bool dst);

} // namespace atlas
