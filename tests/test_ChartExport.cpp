#include "formats/ChartExport.h"
#include "records/Records.h"
#include "records/Vocabulary.h"
#include "support/TestBirths.h"

#include <gtest/gtest.h>

namespace {

// A reading set by hand, so the format is checked apart from the astronomy.
void SetReading() {
    BirthData = Birth{};
    BirthData.name = "Asha Rao";
    BirthData.month = 2;
    BirthData.day = 5;
    BirthData.year = 1980;
    BirthData.hour = 7;
    BirthData.minute = 5;
    BirthData.latDeg = 28;
    BirthData.latMin = 36;
    BirthData.lonDeg = 77;
    BirthData.lonMin = 12;
    BirthData.latSouth = true; // directions, zone and daylight saving are not exported
    BirthData.dst = true;
    BirthData.city = "New Delhi";
    BirthData.state = "Delhi";
    BirthData.country = "India";
    const char* names[] = {"Sun",    "Moon", "Mercury", "Venus",     "Mars",     "Jupiter",
                           "Saturn", "Rahu", "Ketu",    "Ascendant", "Midheaven"};
    const char* positions[] = {"21 Cap 54", "03 Can 59", "05 Aqu 02", "14 Pis 40", "08 Gem 12", "26 Lib 39",
                               "21 Can 11", "04 Tau 09", "04 Sco 09", "12 Aqu 30", "01 Sag 11"};
    for (std::size_t i = 0; i < 11; ++i) {
        ReadingState.bodyNames[i] = names[i];
        ReadingState.planetPositions[i] = positions[i];
    }
    ReadingState.ayanamsaDisplayText = "23\u00B0 34' 34\"";
    ReadingState.lagnaName = "Kumbha";
    ReadingState.nakshatraName = "Pushya";
    ReadingState.moonRashi = "Kataka";
    ReadingState.rashiName = "not exported";
    ReadingState.nakshatraPada = "4";
    ReadingState.nakshatraLord = "Saturn";
    for (int k = 0; k < 12; ++k)
        ReadingState.lordHeadings[static_cast<std::size_t>(k)] = "Heading " + std::to_string(k + 1);
    ReadingState.lordHeadings[0] = "Lord of the 1st House Mars is placed in House 5.";
    ReadingState.lordHeadings[11] = "Lord of the 12th House Jupiter is placed in House 9.";
}

} // namespace

TEST(ChartExport, ByteForByte) {
    SetReading();
    const std::string expected = "Name: Asha Rao\r\n"
                                 "Date of Birth: February 5, 1980\r\n"
                                 "Time of Birth: 7 Hour 5 Minute\r\n"
                                 "Latitude: 28 Degree 36 Minute \r\n"
                                 "Longitude: 77 Degree 12 Minute \r\n"
                                 "City: New Delhi\r\n"
                                 "State: Delhi\r\n"
                                 "Country: India\r\n"
                                 "\r\r\n"
                                 "Planetary Position\r\n"
                                 "Sun 21 Cap 54\r\n"
                                 "Moon 03 Can 59\r\n"
                                 "Mercury 05 Aqu 02\r\n"
                                 "Venus 14 Pis 40\r\n"
                                 "Mars 08 Gem 12\r\n"
                                 "Jupiter 26 Lib 39\r\n"
                                 "Saturn 21 Can 11\r\n"
                                 "Rahu 04 Tau 09\r\n"
                                 "Ketu 04 Sco 09\r\n"
                                 "\r\r\n"
                                 "Other Planetary Details\r\n"
                                 "Ayanamsa: 23\u00B0 34' 34\"\r\n"
                                 "Lagna / Asc: Kumbha\r\n"
                                 "Nakshatra: Pushya\r\n"
                                 "Rashi / Moon Sign: Kataka\r\n"
                                 "Pada: 4\r\n"
                                 "Lord: Saturn\r\n"
                                 "\r\r\n"
                                 "House Lord Interpretation\r\n"
                                 "Lord of the 1st House Mars is placed in House 5.\r\n"
                                 "Heading 2\r\nHeading 3\r\nHeading 4\r\nHeading 5\r\nHeading 6\r\n"
                                 "Heading 7\r\nHeading 8\r\nHeading 9\r\nHeading 10\r\nHeading 11\r\n"
                                 "Lord of the 12th House Jupiter is placed in House 9.\r\n";
    EXPECT_EQ(ChartExportText(), expected);
}

TEST(ChartExport, EmptyPlaceFieldsKeepTheirLabels) {
    SetReading();
    BirthData.city.clear();
    BirthData.state.clear();
    BirthData.country.clear();
    const auto lines = ExportLines();
    EXPECT_EQ(lines[5], "City: ");
    EXPECT_EQ(lines[6], "State: ");
    EXPECT_EQ(lines[7], "Country: ");
}

TEST(ChartExport, MonthNames) {
    const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(MonthName(m), months[m - 1]);
    EXPECT_EQ(MonthName(0), "");
    EXPECT_EQ(MonthName(13), "");
}
