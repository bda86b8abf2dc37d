// Fuzzes the saved-reading reader with whole files. Whatever it accepts goes the way an opened file
// goes: the entry checks, the copy into BirthData, the whole computation and the chart text
// export. A reading that opens must also save again and reopen to the same birth data.
#include "astro/TextUtil.h"
#include "formats/ChartExport.h"
#include "formats/SavedReadingFile.h"
#include "pipeline/BirthEntry.h"
#include "pipeline/ReadingPipeline.h"
#include "records/Records.h"

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
           a.year == b.year && a.hour == b.hour && a.minute == b.minute && a.tzHours == b.tzHours &&
           a.tzMinutes == b.tzMinutes && a.tzHoursSigned == b.tzHoursSigned &&
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
    if (!CopyEntryToBirthData(*entry))
        return 0;
    const Birth opened = BirthData;
    if (ComputeReading()) {
        (void)ChartExportText();
        (void)ChartCellEntries();
    }

    const std::optional<std::string> saved = EncodeSavedReading(opened, entry->zoneRow);
    if (!saved)
        Fail("an opened reading cannot be saved again");
    const std::optional<BirthEntry> reopened = DecodeSavedReading(*saved);
    if (!reopened)
        Fail("a saved reading does not open");
    if (reopened->zoneRow != entry->zoneRow)
        Fail("the time-zone row changed on saving");
    if (!CopyEntryToBirthData(*reopened))
        Fail("a reopened reading does not copy into BirthData");
    if (!SameBirth(opened, BirthData))
        Fail("saving and reopening changed the birth data");
    return 0;
}
