// SPDX-License-Identifier: AGPL-3.0-or-later
// Fuzzes the saved-reading reader with whole files. Whatever it accepts goes the way an opened file
// goes: the entry checks, the birth, the whole computation and the chart text
// export. A reading that opens must also save again and reopen to the same birth data.
#include "astro/TextUtil.h"
#include "formats/ChartExport.h"
#include "formats/SavedReadingFile.h"
#include "pipeline/BirthEntry.h"
#include "pipeline/ReadingPipeline.h"
#include "records/Birth.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_SavedReading: %s\n", what);
    std::abort();
}

bool SameBirth(const Birth& a, const Birth& b) {
    // The file keeps the name without its outer blanks; everything else comes back as it was.
    return astro::Trim(a.name) == astro::Trim(b.name) && a.day == b.day && a.month == b.month &&
           a.year == b.year && a.hour == b.hour && a.minute == b.minute && a.zoneRow == b.zoneRow &&
           a.tzHours == b.tzHours && a.tzMinutes == b.tzMinutes && a.tzHoursSigned == b.tzHoursSigned &&
           a.tzMinutesSigned == b.tzMinutesSigned && a.lonDeg == b.lonDeg && a.lonMin == b.lonMin &&
           a.latDeg == b.latDeg && a.latMin == b.latMin && a.lonEast == b.lonEast &&
           a.latSouth == b.latSouth && a.dst == b.dst && a.city == b.city && a.state == b.state &&
           a.country == b.country;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<BirthEntry> entry = DecodeSavedReading(bytes);
    if (!entry)
        return 0;
    if (CheckBirthEntry(*entry))
        return 0;
    const std::optional<Birth> opened = BirthFromEntry(*entry);
    if (!opened)
        return 0;
    if (const ReadingResult result = ComputeReading(*opened, Calculation::Classic); result.reading) {
        (void)ChartExportText(*result.reading);
        (void)ChartCellEntries(*result.reading);
    }

    const std::optional<std::string> saved = EncodeSavedReading(*opened);
    if (!saved)
        Fail("an opened reading cannot be saved again");
    const std::optional<BirthEntry> reopened = DecodeSavedReading(*saved);
    if (!reopened)
        Fail("a saved reading does not open");
    if (reopened->zoneRow != entry->zoneRow)
        Fail("the time-zone row changed on saving");
    const std::optional<Birth> again = BirthFromEntry(*reopened);
    if (!again)
        Fail("a reopened reading gives no birth");
    if (!SameBirth(*opened, *again))
        Fail("saving and reopening changed the birth data");
    return 0;
}
