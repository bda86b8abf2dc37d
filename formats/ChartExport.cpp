#include "formats/ChartExport.h"

#include "records/Records.h"

#include <array>
#include <charconv>
#include <string_view>

std::string MonthName(int month) {
    static constexpr std::array<const char*, 12> kMonths{"January",   "February", "March",    "April",
                                                         "May",       "June",     "July",     "August",
                                                         "September", "October",  "November", "December"};
    if (month < 1 || month > 12)
        return {};
    return kMonths[static_cast<std::size_t>(month - 1)];
}

namespace {

// Joins the parts of one line with a single allocation.
template <typename... Parts> std::string Line(const Parts&... parts) {
    std::string line;
    line.reserve((std::string_view(parts).size() + ...));
    (line.append(std::string_view(parts)), ...);
    return line;
}

} // namespace

std::vector<std::string> ChartExportLines() {
    const BirthDataRecord& b = BirthData;
    const ReadingStateRecord& r = ReadingState;
    std::vector<std::string> lines;
    lines.reserve(41);
    lines.push_back(Line("Name: ", b.name));
    lines.push_back(Line("Date of Birth: ", MonthName(b.month), " ", std::to_string(b.day), ", ",
                         std::to_string(b.year)));
    lines.push_back(
        Line("Time of Birth: ", std::to_string(b.hour), " Hour ", std::to_string(b.minute), " Minute"));
    lines.push_back(
        Line("Latitude: ", std::to_string(b.latDeg), " Degree ", std::to_string(b.latMin), " Minute "));
    lines.push_back(
        Line("Longitude: ", std::to_string(b.lonDeg), " Degree ", std::to_string(b.lonMin), " Minute "));
    lines.push_back(Line("City: ", b.city));
    lines.push_back(Line("State: ", b.state));
    lines.push_back(Line("Country: ", b.country));
    lines.emplace_back("\r");
    lines.emplace_back("Planetary Position");
    for (std::size_t i = 0; i <= 8; ++i)
        lines.push_back(Line(r.bodyNames[i], " ", r.planetPositions[i]));
    lines.emplace_back("\r");
    lines.emplace_back("Other Planetary Details");
    lines.push_back(Line("Ayanamsa: ", r.ayanamsaDisplayText));
    lines.push_back(Line("Lagna / Asc: ", r.lagnaName));
    lines.push_back(Line("Nakshatra: ", r.nakshatraName));
    lines.push_back(Line("Rashi / Moon Sign: ", r.moonRashi));
    lines.push_back(Line("Pada: ", r.nakshatraPada));
    lines.push_back(Line("Lord: ", r.nakshatraLord));
    lines.emplace_back("\r");
    lines.emplace_back("House Lord Interpretation");
    for (const std::string& heading : r.lordHeadings)
        lines.push_back(heading);
    return lines;
}

std::string ChartExportText() {
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
    const BirthDataRecord& b = BirthData;
    const ReadingStateRecord& r = ReadingState;
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
    for (std::size_t i = 0; i <= 8; ++i)
        line(r.bodyNames[i], " ", r.planetPositions[i]);
    line("\r");
    line("Other Planetary Details");
    line("Ayanamsa: ", r.ayanamsaDisplayText);
    line("Lagna / Asc: ", r.lagnaName);
    line("Nakshatra: ", r.nakshatraName);
    line("Rashi / Moon Sign: ", r.moonRashi);
    line("Pada: ", r.nakshatraPada);
    line("Lord: ", r.nakshatraLord);
    line("\r");
    line("House Lord Interpretation");
    for (const std::string& heading : r.lordHeadings)
        line(heading);
    return text;
}
