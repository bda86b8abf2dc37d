// SPDX-License-Identifier: AGPL-3.0-or-later
#include "formats/ChartExport.h"
#include "pipeline/ReadingPipeline.h"
#include "reading/ReadingTexts.h"
#include "support/TestBirths.h"

#include <gtest/gtest.h>

namespace {

Reading Compute(const BirthEntry& e) {
    const std::optional<Reading> reading = ReadingOf(e);
    EXPECT_TRUE(reading);
    return reading.value_or(Reading{});
}

std::vector<std::string> Cell(const Reading& r, int sign) {
    return ChartCellEntries(r)[static_cast<std::size_t>(sign)];
}

std::string Position(const Reading& r, std::size_t slot) {
    return ShortPositionText(r, static_cast<BodySlot>(slot));
}

using Entries = std::vector<std::string>;

} // namespace

TEST(ComputeReading, London1980) {
    const Reading r = Compute(Entry1980());
    const char* positions[] = {"16 Sag 56", nullptr,     "05 Sag 26", "18 Cap 43", "20 Leo 46", "16 Leo 53",
                               "03 Vir 43", "07 Leo 22", "07 Aqu 22", "00 Ari 23", "15 Sag 53"};
    for (std::size_t i = 0; i < 11; ++i) {
        if (positions[i]) {
            EXPECT_EQ(Position(r, i), positions[i]) << i;
        }
    }
    EXPECT_EQ(AyanamsaText(r), "23\u00B0 34' 34\"");
    EXPECT_EQ(r.LagnaSign(), 0);
    EXPECT_EQ(LagnaName(r), "Mesha");
    EXPECT_EQ(ShortPositionText(r, BodySlot::Ascendant).substr(3, 3), "Ari");
    // The Moon of that noon stood in Mrigsira, in Gemini (the full Moon followed on 2 January).
    EXPECT_EQ(Position(r, 1).substr(3, 3), "Gem");
    EXPECT_EQ(MoonNakshatraName(r), "Mrigsira");
    EXPECT_EQ(RashiName(r), "Mithuna");
    EXPECT_EQ(NakshatraLordName(r), "Mars");
    EXPECT_EQ(PadaText(r), "2");
    // Ascendant Aries: every lord's house is its sign number.
    const char* headings[] = {"Lord of the 1st House Mars is placed in House 5.",
                              "Lord of the 2nd House Venus is placed in House 10.",
                              "Lord of the 3rd House Mercury is placed in House 9.",
                              "Lord of the 4th House Moon is placed in House 3.",
                              "Lord of the 5th House Sun is placed in House 9.",
                              "Lord of the 6th House Mercury is placed in House 9.",
                              "Lord of the 7th House Venus is placed in House 10.",
                              "Lord of the 8th House Mars is placed in House 5.",
                              "Lord of the 9th House Jupiter is placed in House 5.",
                              "Lord of the 10th House Saturn is placed in House 6.",
                              "Lord of the 11th House Saturn is placed in House 6.",
                              "Lord of the 12th House Jupiter is placed in House 5."};
    for (std::size_t k = 0; k < 12; ++k)
        EXPECT_EQ(HouseLordHeading(r, static_cast<int>(k) + 1), headings[k]);

    EXPECT_EQ(Cell(r, 0), (Entries{"Asc"}));
    EXPECT_EQ(Cell(r, 2), (Entries{"Chandra"}));
    // Jupiter had turned retrograde on 26 December 1979 (opposition 24 February 1980).
    EXPECT_EQ(Cell(r, 4), (Entries{"Mangala", "Guru (R) ", "Rahu"}));
    EXPECT_EQ(Cell(r, 5), (Entries{"Shani"}));
    EXPECT_EQ(Cell(r, 8), (Entries{"Surya", "Budha"}));
    EXPECT_EQ(Cell(r, 9), (Entries{"Shukra"}));
    EXPECT_EQ(Cell(r, 10), (Entries{"Ketu"}));
    EXPECT_TRUE(Cell(r, 11).empty());
}

TEST(ComputeReading, Delhi1947) {
    const Reading r = Compute(Entry1947());
    const char* positions[] = {"28 Can 43", nullptr,     "14 Can 25", "23 Can 18", "08 Gem 12",
                               "26 Lib 39", "21 Can 11", "04 Tau 09", "04 Sco 09"};
    for (std::size_t i = 0; i < 9; ++i) {
        if (positions[i]) {
            EXPECT_EQ(Position(r, i), positions[i]) << i;
        }
    }
    EXPECT_EQ(Position(r, 9), "07 Tau 45");
    EXPECT_EQ(Position(r, 10), "21 Cap 27");
    EXPECT_EQ(AyanamsaText(r), "23\u00B0 7' 21\"");
    EXPECT_EQ(LagnaName(r), "Vrishabha");
    EXPECT_EQ(r.LagnaSign(), 1);
    // That midnight's Moon is the well-known one in Pushya, in Cancer.
    EXPECT_EQ(MoonNakshatraName(r), "Pushya");
    EXPECT_EQ(RashiName(r), "Kataka");
    EXPECT_EQ(NakshatraLordName(r), "Saturn");
    EXPECT_EQ(PadaText(r), "4");
    // Ascendant Taurus: Cancer is the third house, Gemini the second, Libra the sixth.
    EXPECT_EQ(HouseLordHeading(r, 1), "Lord of the 1st House Mars is placed in House 2.");
    EXPECT_EQ(HouseLordHeading(r, 4), "Lord of the 4th House Moon is placed in House 3.");
    EXPECT_EQ(HouseLordHeading(r, 9), "Lord of the 9th House Jupiter is placed in House 6.");
    EXPECT_EQ(HouseLordHeading(r, 11), "Lord of the 11th House Saturn is placed in House 3.");

    EXPECT_EQ(Cell(r, 1), (Entries{"Asc", "Rahu"}));
    EXPECT_EQ(Cell(r, 2), (Entries{"Mangala"}));
    EXPECT_EQ(Cell(r, 3), (Entries{"Surya", "Chandra", "Budha", "Shukra", "Shani"}));
    EXPECT_EQ(Cell(r, 6), (Entries{"Guru"}));
    EXPECT_EQ(Cell(r, 7), (Entries{"Ketu"}));
}

TEST(ComputeReading, ExportOfTheSameReadingCarriesItsValues) {
    const Reading r = Compute(Entry1947());
    const auto lines = ExportLines(r);
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(lines[1], "Date of Birth: August 15, 1947");
    EXPECT_EQ(lines[10], "Sun 28 Can 43");
    EXPECT_EQ(lines[22], "Lagna / Asc: Vrishabha");
    EXPECT_EQ(lines[24], "Rashi / Moon Sign: Kataka");
    EXPECT_EQ(lines[29], "Lord of the 1st House Mars is placed in House 2.");
    EXPECT_EQ(lines[40].rfind("Lord of the 12th House Jupiter is placed in House ", 0), 0u);
}

// Two readings of different births and calculations, made and kept side by side: neither changes the
// other, and each is what it is when made alone.
TEST(ComputeReading, ReadingsStandSideBySide) {
    const Calculation other = PreciseCalculationBuilt() ? Calculation::Precise : Calculation::Classic;
    const std::string londonAlone = ChartExportText(Compute(Entry1980()));
    const std::optional<Reading> delhiAlone = ReadingOf(Entry1947(), other);
    ASSERT_TRUE(delhiAlone);
    const std::string delhiText = ChartExportText(*delhiAlone);

    const Reading london = Compute(Entry1980());
    const std::optional<Reading> delhi = ReadingOf(Entry1947(), other);
    const Reading delhiClassic = Compute(Entry1947());
    ASSERT_TRUE(delhi);
    EXPECT_EQ(ChartExportText(london), londonAlone);
    EXPECT_EQ(ChartExportText(*delhi), delhiText);
    EXPECT_NE(ChartExportText(delhiClassic), londonAlone);
    EXPECT_EQ(ShortPositionText(london, BodySlot::Sun), "16 Sag 56");
    EXPECT_EQ(ShortPositionText(delhiClassic, BodySlot::Sun), "28 Can 43");
    EXPECT_EQ(LagnaName(london), "Mesha");
    EXPECT_EQ(LagnaName(*delhi), "Vrishabha");
    EXPECT_EQ(Cell(london, 0), Entries{"Asc"});
    EXPECT_EQ(Cell(*delhi, 0), Entries{});
    EXPECT_EQ(CalculationCaption(london), "");
    EXPECT_EQ(CalculationCaption(*delhi), other == Calculation::Precise ? "Precise (Swiss Ephemeris)" : "");
}

TEST(ComputeReading, EveryYearAndZoneGivesACompleteReading) {
    for (int year = 1901; year <= 2050; year += 7) {
        for (int zone = 0; zone < 71; zone += 5) {
            BirthEntry e = MakeEntry(year, 1 + year % 12, 1 + year % 28, year % 25, year % 60, zone, "66",
                                     "33", year % 2 == 0, "179", "59", zone % 2 == 0, zone % 3 == 0);
            const std::optional<Reading> r = ReadingOf(e);
            ASSERT_TRUE(r) << year << " zone " << zone;
            for (int house = 1; house <= 12; ++house)
                ASSERT_FALSE(HouseLordHeading(*r, house).empty());
        }
    }
}
