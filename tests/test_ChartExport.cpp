// SPDX-License-Identifier: AGPL-3.0-or-later
#include "formats/ChartExport.h"
#include "records/Vocabulary.h"
#include "support/TestBirths.h"

#include <gtest/gtest.h>

namespace {

// A reading set by hand, so the format is checked apart from the astronomy.
Reading HandReading() {
    Reading r;
    Birth& b = r.birth;
    b.name = "Asha Rao";
    b.month = 2;
    b.day = 5;
    b.year = 1980;
    b.hour = 7;
    b.minute = 5;
    b.latDeg = 28;
    b.latMin = 36;
    b.lonDeg = 77;
    b.lonMin = 12;
    b.latSouth = true; // directions, zone and daylight saving are not exported
    b.dst = true;
    b.zoneRow = 34;
    b.city = "New Delhi";
    b.state = "Delhi";
    b.country = "India";
    // Sign, whole degrees and whole minutes of each body; half a minute more, which is cut.
    const int places[][3] = {{9, 21, 54}, {3, 3, 59}, {10, 5, 2}, {11, 14, 40}, {2, 8, 12}, {6, 26, 39},
                             {3, 21, 11}, {1, 4, 9},  {7, 4, 9},  {10, 12, 30}, {8, 1, 11}};
    for (std::size_t i = 0; i < 11; ++i) {
        r.longitudes[i] = places[i][0] * 30 + places[i][1] + (places[i][2] + 0.5) / 60;
        r.signs[i] = places[i][0];
    }
    r.ayanamsa = -(23 + 34 / 60.0 + 34.5 / 3600);
    r.nakshatra = 7; // Pushya
    r.pada = 4;
    r.nakshatraLord = BodySlot::Saturn;
    const BodySlot lords[] = {BodySlot::Mars,    BodySlot::Venus,   BodySlot::Mercury, BodySlot::Moon,
                              BodySlot::Sun,     BodySlot::Mercury, BodySlot::Venus,   BodySlot::Mars,
                              BodySlot::Jupiter, BodySlot::Saturn,  BodySlot::Saturn,  BodySlot::Jupiter};
    const int placed[] = {5, 12, 11, 4, 10, 11, 12, 5, 9, 4, 4, 9};
    for (std::size_t k = 0; k < 12; ++k)
        r.houseLords[k] = {lords[k], placed[k]};
    return r;
}

} // namespace

TEST(ChartExport, ByteForByte) {
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
                                 "Lord of the 2nd House Venus is placed in House 12.\r\n"
                                 "Lord of the 3rd House Mercury is placed in House 11.\r\n"
                                 "Lord of the 4th House Moon is placed in House 4.\r\n"
                                 "Lord of the 5th House Sun is placed in House 10.\r\n"
                                 "Lord of the 6th House Mercury is placed in House 11.\r\n"
                                 "Lord of the 7th House Venus is placed in House 12.\r\n"
                                 "Lord of the 8th House Mars is placed in House 5.\r\n"
                                 "Lord of the 9th House Jupiter is placed in House 9.\r\n"
                                 "Lord of the 10th House Saturn is placed in House 4.\r\n"
                                 "Lord of the 11th House Saturn is placed in House 4.\r\n"
                                 "Lord of the 12th House Jupiter is placed in House 9.\r\n";
    EXPECT_EQ(ChartExportText(HandReading()), expected);
}

TEST(ChartExport, EmptyPlaceFieldsKeepTheirLabels) {
    Reading r = HandReading();
    r.birth.city.clear();
    r.birth.state.clear();
    r.birth.country.clear();
    const auto lines = ExportLines(r);
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
