// SPDX-License-Identifier: AGPL-3.0-or-later
#include "formats/ChartExport.h"

#include "reading/ReadingTexts.h"
#include "records/Vocabulary.h"

#include <charconv>
#include <string_view>

std::string ChartExportText(const Reading& reading) {
    // Written straight into one string: the same bytes as the lines joined, without a string a line.
    std::string text;
    text.reserve(2048);
    const auto line = [&text](auto&&... parts) {
        (text.append(std::string_view(parts)), ...);
        text.append("\r\n");
    };
    char numbers[6][8];
    const auto number = [&numbers](int slot, int value) {
        const auto end = std::to_chars(numbers[slot], numbers[slot] + sizeof numbers[slot], value).ptr;
        return std::string_view(numbers[slot], static_cast<std::size_t>(end - numbers[slot]));
    };
    const Birth& b = reading.birth;
    line("Name: ", b.name);
    line("Date of Birth: ", MonthName(b.month), " ", number(0, b.day), ", ", number(1, b.year));
    line("Time of Birth: ", number(0, b.hour), " Hour ", number(1, b.minute), " Minute");
    line("Latitude: ", number(0, b.latDeg), " Degree ", number(1, b.latMin), " Minute ");
    line("Longitude: ", number(0, b.lonDeg), " Degree ", number(1, b.lonMin), " Minute ");
    line("City: ", b.city);
    line("State: ", b.state);
    line("Country: ", b.country);
    line("\r");
    line("Planetary Position");
    for (std::size_t i = 0; i <= static_cast<std::size_t>(BodySlot::Ketu); ++i) {
        const auto body = static_cast<BodySlot>(i);
        line(Body(body).english, " ", ShortPositionText(reading, body));
    }
    line("\r");
    line("Other Planetary Details");
    line("Ayanamsa: ", AyanamsaText(reading));
    line("Lagna / Asc: ", LagnaName(reading));
    line("Nakshatra: ", MoonNakshatraName(reading));
    line("Rashi / Moon Sign: ", RashiName(reading));
    line("Pada: ", PadaText(reading));
    line("Lord: ", NakshatraLordName(reading));
    line("\r");
    line("House Lord Interpretation");
    for (int house = 1; house <= 12; ++house)
        line(HouseLordHeading(reading, house));
    // Two precise readings can differ only in their conventions, so the file says which; the classic
    // export keeps the lines it has always had.
    if (reading.calculation != Calculation::Classic)
        line("Calculation: ", CalculationWords(reading));
    return text;
}
