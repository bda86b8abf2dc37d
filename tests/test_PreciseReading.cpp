// SPDX-License-Identifier: AGPL-3.0-or-later
// The precise calculation through the reading command: the reading it gives, houses from the lagna,
// marks from the planets' speeds, and its refusals. Published values are those of India's 1947 chart
// as astrologers reproduce it (Lahiri): lagna Taurus, Sun 27°59' Cancer, Moon 3°58' Cancer in Pushya,
// Venus 22°33' Cancer, Mars 7°27' Gemini, Jupiter 25°52' Libra, Saturn 20°26' Cancer.
#include "formats/ChartExport.h"
#include "pipeline/PreciseReading.h"
#include "pipeline/ReadingPipeline.h"
#include "precise/PreciseEngine.h"
#include "reading/ReadingTexts.h"
#include "records/Messages.h"
#include "support/TestBirths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

ReadingResult ComputePrecise(const BirthEntry& e) {
    return ComputeReading(BirthOf(e), Calculation::Precise);
}

// Whole degrees and minutes of a short position text "dd Sig mm" as minutes from 0 Aries.
int MinutesOf(const std::string& position) {
    static const std::string codes = "AriTauGemCanLeoVirLibScoSagCapAquPis";
    const auto sign = static_cast<int>(codes.find(position.substr(3, 3)) / 3);
    return sign * 1800 + std::stoi(position.substr(0, 2)) * 60 + std::stoi(position.substr(7, 2));
}

} // namespace

TEST(PreciseReading, India1947AgreesWithThePublishedChart) {
    const ReadingResult result = ComputePrecise(Entry1947());
    ASSERT_TRUE(result.reading) << result.message;
    const Reading& r = *result.reading;
    const struct {
        std::size_t slot;
        int published; // minutes from 0 Aries
    } bodies[] = {{0, 3 * 1800 + 27 * 60 + 59}, {1, 3 * 1800 + 3 * 60 + 58},  {3, 3 * 1800 + 22 * 60 + 33},
                  {4, 2 * 1800 + 7 * 60 + 27},  {5, 6 * 1800 + 25 * 60 + 52}, {6, 3 * 1800 + 20 * 60 + 26}};
    for (const auto& b : bodies) {
        const std::string position = ShortPositionText(r, static_cast<BodySlot>(b.slot));
        EXPECT_NEAR(MinutesOf(position), b.published, 3) << position;
    }
    EXPECT_EQ(LagnaName(r), "Vrishabha");
    EXPECT_EQ(MoonNakshatraName(r), "Pushya");
    EXPECT_EQ(RashiName(r), "Kataka");
    // Pushya begins at 3°20' Cancer, so 3°58' lies in its first quarter; Saturn rules it.
    EXPECT_EQ(PadaText(r), "1");
    EXPECT_EQ(NakshatraLordName(r), "Saturn");
    EXPECT_EQ(CalculationCaption(r), "Precise (Swiss Ephemeris)");
    // The speeds come with it: the Moon moves 11.8 to 15.4 degrees a day, the Sun about one; the mean
    // node goes backwards.
    ASSERT_TRUE(r.speeds);
    EXPECT_GT((*r.speeds)[1], 11.7);
    EXPECT_LT((*r.speeds)[1], 15.5);
    EXPECT_NEAR((*r.speeds)[0], 0.96, 0.05);
    EXPECT_LT((*r.speeds)[7], 0.0);
    // Houses from Taurus: Venus rules the 1st and stands in Cancer, the 3rd; Aries is the 12th, and
    // its lord Mars stands in Gemini, the 2nd. The classic reading gives Mars to the 1st house.
    EXPECT_EQ(HouseLordHeading(r, 1), "Lord of the 1st House Venus is placed in House 3.");
    EXPECT_EQ(HouseLordHeading(r, 12), "Lord of the 12th House Mars is placed in House 2.");
    const auto lines = ExportLines(r);
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(lines[29], HouseLordHeading(r, 1));
    EXPECT_EQ(lines[41],
              "Calculation: Precise (Swiss Ephemeris), Lahiri ayanamsa, mean node, 365.25-day years");
    // Lahiri's ayanamsa was 23 51' at the start of 2000 and grows by about 50.3" a year: 23 7' in
    // August 1947, written whole as the classic one is.
    EXPECT_EQ(lines[21].substr(0, 18), "Ayanamsa: 23\u00B0 7' ") << lines[21];
}

TEST(PreciseReading, RetrogradeMarksComeFromTheSpeed) {
    // Mercury was retrograde from 24 March to 17 April 1985, direct again by May.
    const struct {
        int month, day;
        const char* mercury;
    } cases[] = {{4, 5, "Budha (R) "}, {5, 20, "Budha"}};
    for (const auto& c : cases) {
        const ReadingResult result =
            ComputePrecise(MakeEntry(1985, c.month, c.day, 12, 0, 29, "51", "30", false, "0", "0", true));
        ASSERT_TRUE(result.reading) << result.message;
        EXPECT_EQ(BodyLabel(*result.reading, BodySlot::Mercury), c.mercury) << c.month << "/" << c.day;
        EXPECT_EQ((*result.reading->speeds)[2] < 0, result.reading->Retrograde(BodySlot::Mercury));
    }
}

TEST(PreciseReading, RefusalsSayWhyAndLeaveTheClassicCalculationAlone) {
    const std::optional<Reading> before = ReadingOf(Entry1947());
    ASSERT_TRUE(before);
    const std::string classic = ChartExportText(*before);

    // At the pole no point of the ecliptic rises; the classic calculation refuses it the same way.
    const BirthEntry atPole = MakeEntry(1990, 6, 1, 12, 0, 29, "90", "0", false, "0", "0", true);
    for (Calculation calculation : {Calculation::Precise, Calculation::Classic}) {
        const ReadingResult pole = ComputeReading(BirthOf(atPole), calculation);
        EXPECT_FALSE(pole.reading);
        EXPECT_EQ(pole.message, msg::kAscendantAtPole);
        EXPECT_EQ(pole.atFault, EntryField::LatDeg);
    }

    const std::filesystem::path empty = std::filesystem::temp_directory_path() / "quillmere-no-ephemeris";
    std::filesystem::create_directories(empty);
    precise::SetEphemerisSearchPath({empty.string()});
    const ReadingResult missing = ComputePrecise(Entry1947());
    precise::SetEphemerisSearchPath(precise::DefaultEphemerisFolders(""));
    std::filesystem::remove_all(empty);
    EXPECT_FALSE(missing.reading);
    EXPECT_EQ(missing.message.rfind(msg::kPreciseFilesMissing, 0), 0u) << missing.message;

    // A classic reading after the precise ones is the classic reading, byte for byte.
    const std::optional<Reading> after = ReadingOf(Entry1947());
    ASSERT_TRUE(after);
    EXPECT_EQ(ChartExportText(*after), classic);
    EXPECT_TRUE(CalculationCaption(*after).empty());
}
