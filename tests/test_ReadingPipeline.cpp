#include "formats/ChartExport.h"
#include "pipeline/ReadingPipeline.h"
#include "records/Records.h"
#include "support/TestBirths.h"

#include <gtest/gtest.h>

namespace {

void Compute(const BirthEntry& e) {
    ASSERT_TRUE(CopyEntryToBirthData(e));
    ASSERT_TRUE(ComputeReading());
}

std::vector<std::string> Cell(int sign) {
    return ChartCellEntries()[static_cast<std::size_t>(sign)];
}

using Entries = std::vector<std::string>;

} // namespace

TEST(ComputeReading, London1980) {
    Compute(Entry1980());
    const char* positions[] = {"16 Sag 56", nullptr,     "05 Sag 26", "18 Cap 43", "20 Leo 46", "16 Leo 53",
                               "03 Vir 43", "07 Leo 22", "07 Aqu 22", "00 Ari 23", "15 Sag 53"};
    for (std::size_t i = 0; i < 11; ++i) {
        if (positions[i]) {
            EXPECT_EQ(ReadingState.planetPositions[i], positions[i]) << i;
        }
    }
    EXPECT_EQ(ReadingState.ayanamsaDisplayText, "23\u00B0 34' 34\"");
    EXPECT_EQ(ReadingState.lagnaSignCode, "Ari");
    EXPECT_EQ(ReadingState.lagnaName, "Mesha");
    EXPECT_EQ(ReadingState.ascendantSign, 1);
    // The Moon of that noon stood in Mrigsira, in Gemini (the full Moon followed on 2 January).
    EXPECT_EQ(ReadingState.planetPositions[1].substr(3, 3), "Gem");
    EXPECT_EQ(ReadingState.nakshatraName, "Mrigsira");
    EXPECT_EQ(ReadingState.rashiName, "Mithuna");
    EXPECT_EQ(ReadingState.nakshatraLord, "Mars");
    EXPECT_EQ(ReadingState.nakshatraPada, "2");
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
        EXPECT_EQ(ReadingState.lordHeadings[k], headings[k]);

    EXPECT_EQ(Cell(0), (Entries{"Asc"}));
    EXPECT_EQ(Cell(2), (Entries{"Chandra"}));
    // Jupiter had turned retrograde on 26 December 1979 (opposition 24 February 1980).
    EXPECT_EQ(Cell(4), (Entries{"Mangala", "Guru (R) ", "Rahu"}));
    EXPECT_EQ(Cell(5), (Entries{"Shani"}));
    EXPECT_EQ(Cell(8), (Entries{"Surya", "Budha"}));
    EXPECT_EQ(Cell(9), (Entries{"Shukra"}));
    EXPECT_EQ(Cell(10), (Entries{"Ketu"}));
    EXPECT_TRUE(Cell(11).empty());
}

TEST(ComputeReading, Delhi1947) {
    Compute(Entry1947());
    const char* positions[] = {"28 Can 43", nullptr,     "14 Can 25", "23 Can 18", "08 Gem 12",
                               "26 Lib 39", "21 Can 11", "04 Tau 09", "04 Sco 09"};
    for (std::size_t i = 0; i < 9; ++i) {
        if (positions[i]) {
            EXPECT_EQ(ReadingState.planetPositions[i], positions[i]) << i;
        }
    }
    EXPECT_EQ(ReadingState.planetPositions[9], "07 Tau 45");
    EXPECT_EQ(ReadingState.planetPositions[10], "21 Cap 27");
    EXPECT_EQ(ReadingState.ayanamsaDisplayText, "23\u00B0 7' 21\"");
    EXPECT_EQ(ReadingState.lagnaName, "Vrishabha");
    EXPECT_EQ(ReadingState.ascendantSign, 2);
    // That midnight's Moon is the well-known one in Pushya, in Cancer.
    EXPECT_EQ(ReadingState.nakshatraName, "Pushya");
    EXPECT_EQ(ReadingState.rashiName, "Kataka");
    EXPECT_EQ(ReadingState.nakshatraLord, "Saturn");
    EXPECT_EQ(ReadingState.nakshatraPada, "4");
    // Ascendant Taurus: Cancer is the third house, Gemini the second, Libra the sixth.
    EXPECT_EQ(ReadingState.lordHeadings[0], "Lord of the 1st House Mars is placed in House 2.");
    EXPECT_EQ(ReadingState.lordHeadings[3], "Lord of the 4th House Moon is placed in House 3.");
    EXPECT_EQ(ReadingState.lordHeadings[8], "Lord of the 9th House Jupiter is placed in House 6.");
    EXPECT_EQ(ReadingState.lordHeadings[10], "Lord of the 11th House Saturn is placed in House 3.");

    EXPECT_EQ(Cell(1), (Entries{"Asc", "Rahu"}));
    EXPECT_EQ(Cell(2), (Entries{"Mangala"}));
    EXPECT_EQ(Cell(3), (Entries{"Surya", "Chandra", "Budha", "Shukra", "Shani"}));
    EXPECT_EQ(Cell(6), (Entries{"Guru"}));
    EXPECT_EQ(Cell(7), (Entries{"Ketu"}));
}

TEST(ComputeReading, ExportOfTheSameReadingCarriesItsValues) {
    Compute(Entry1947());
    const auto lines = ExportLines();
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(lines[1], "Date of Birth: August 15, 1947");
    EXPECT_EQ(lines[10], "Sun 28 Can 43");
    EXPECT_EQ(lines[22], "Lagna / Asc: Vrishabha");
    EXPECT_EQ(lines[24], "Rashi / Moon Sign: Kataka");
    EXPECT_EQ(lines[29], "Lord of the 1st House Mars is placed in House 2.");
    EXPECT_EQ(lines[40].rfind("Lord of the 12th House Jupiter is placed in House ", 0), 0u);
}

TEST(ComputeReading, ASecondReadingReplacesTheFirst) {
    Compute(Entry1980());
    Compute(Entry1947());
    EXPECT_EQ(ReadingState.lagnaName, "Vrishabha");
    EXPECT_EQ(ReadingState.planetPositions[0], "28 Can 43");
    EXPECT_EQ(Cell(0), Entries{});
}

TEST(ComputeReading, EveryYearAndZoneGivesACompleteReading) {
    for (int year = 1901; year <= 2050; year += 7) {
        for (int zone = 0; zone < 71; zone += 5) {
            BirthEntry e = MakeEntry(year, 1 + year % 12, 1 + year % 28, year % 25, year % 60, zone, "66",
                                     "33", year % 2 == 0, "179", "59", zone % 2 == 0, zone % 3 == 0);
            ASSERT_TRUE(CopyEntryToBirthData(e));
            ASSERT_TRUE(ComputeReading()) << year << " zone " << zone;
            for (const auto& h : ReadingState.lordHeadings)
                ASSERT_FALSE(h.empty());
        }
    }
}
