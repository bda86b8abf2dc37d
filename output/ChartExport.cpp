#include "output/ChartExport.h"

#include "app/Records.h"

#include <array>

std::string MonthName(int month) {
    static constexpr std::array<const char*, 12> kMonths{"January", "February", "March",     "April",
                                                         "May",     "June",     "July",      "August",
                                                         "September", "October", "November", "December"};
    if (month < 1 || month > 12)
        return {};
    return kMonths[static_cast<std::size_t>(month - 1)];
}

std::vector<std::string> ChartExportLines() {
    const BirthDataRecord& b = BirthData;
    const ReadingStateRecord& r = ReadingState;
    std::vector<std::string> lines;
    lines.reserve(41);
    lines.push_back("Name: " + b.name);
    lines.push_back("Date of Birth: " + MonthName(b.month) + " " + std::to_string(b.day) + ", " +
                    std::to_string(b.year));
    lines.push_back("Time of Birth: " + std::to_string(b.hour) + " Hour " + std::to_string(b.minute) + " Minute");
    lines.push_back("Latitude: " + std::to_string(b.latDeg) + " Degree " + std::to_string(b.latMin) + " Minute ");
    lines.push_back("Longitude: " + std::to_string(b.lonDeg) + " Degree " + std::to_string(b.lonMin) +
                    " Minute ");
    lines.push_back("City: " + b.city);
    lines.push_back("State: " + b.state);
    lines.push_back("Country: " + b.country);
    lines.push_back("\r");
    lines.push_back("Planetary Position");
    for (std::size_t i = 0; i <= 8; ++i)
        lines.push_back(r.bodyNames[i] + " " + r.planetPositions[i]);
    lines.push_back("\r");
    lines.push_back("Other Planetary Details");
    lines.push_back("Ayanamsa: " + r.ayanamsaDisplayText);
    lines.push_back("Lagna / Asc: " + r.lagnaName);
    lines.push_back("Nakshatra: " + r.nakshatraName);
    lines.push_back("Rashi / Moon Sign: " + r.moonRashi);
    lines.push_back("Pada: " + r.nakshatraPada);
    lines.push_back("Lord: " + r.nakshatraLord);
    lines.push_back("\r");
    lines.push_back("House Lord Interpretation");
    for (const std::string& heading : r.lordHeadings)
        lines.push_back(heading);
    return lines;
}

std::string ChartExportText() {
    std::string text;
    for (const std::string& line : ChartExportLines()) {
        text += line;
        text += "\r\n";
    }
    return text;
}
