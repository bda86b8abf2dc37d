// The precise calculation through the reading command: the records it fills, houses from the lagna,
// marks from the planets' speeds, and its refusals. Published values are those of India's 1947 chart
// as astrologers reproduce it (Lahiri): lagna Taurus, Sun 27°59' Cancer, Moon 3°58' Cancer in Pushya,
// Venus 22°33' Cancer, Mars 7°27' Gemini, Jupiter 25°52' Libra, Saturn 20°26' Cancer.
#include "astro/modVedicEphemeris.h"
#include "formats/ChartExport.h"
#include "pipeline/PreciseReading.h"
#include "pipeline/ReadingPipeline.h"
#include "precise/PreciseEngine.h"
#include "records/Messages.h"
#include "records/Records.h"
#include "support/TestBirths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

bool ComputePrecise(const BirthEntry& e, std::string* message = nullptr) {
    std::string said;
    const bool ok = CopyEntryToBirthData(e) && ComputeReading(Calculation::Precise, said);
    if (message)
        *message = said;
    return ok;
}

// Whole degrees and minutes of a short position text "dd Sig mm" as minutes from 0 Aries.
int MinutesOf(const std::string& position) {
    static const std::string codes = "AriTauGemCanLeoVirLibScoSagCapAquPis";
    const auto sign = static_cast<int>(codes.find(position.substr(3, 3)) / 3);
    return sign * 1800 + std::stoi(position.substr(0, 2)) * 60 + std::stoi(position.substr(7, 2));
}

} // namespace

TEST(PreciseReading, India1947AgreesWithThePublishedChart) {
    ASSERT_TRUE(ComputePrecise(Entry1947()));
    const ReadingStateRecord& r = ReadingState;
    const struct {
        std::size_t slot;
        int published; // minutes from 0 Aries
    } bodies[] = {{0, 3 * 1800 + 27 * 60 + 59}, {1, 3 * 1800 + 3 * 60 + 58},  {3, 3 * 1800 + 22 * 60 + 33},
                  {4, 2 * 1800 + 7 * 60 + 27},  {5, 6 * 1800 + 25 * 60 + 52}, {6, 3 * 1800 + 20 * 60 + 26}};
    for (const auto& b : bodies)
        EXPECT_NEAR(MinutesOf(r.planetPositions[b.slot]), b.published, 3) << r.planetPositions[b.slot];
    EXPECT_EQ(r.lagnaName, "Vrishabha");
    EXPECT_EQ(r.nakshatraName, "Pushya");
    EXPECT_EQ(r.rashiName, "Kataka");
    // Pushya begins at 3°20' Cancer, so 3°58' lies in its first quarter; Saturn rules it.
    EXPECT_EQ(r.nakshatraPada, "1");
    EXPECT_EQ(r.nakshatraLord, "Saturn");
    EXPECT_EQ(r.calculation, "Precise (Swiss Ephemeris)");
    // Houses from Taurus: Venus rules the 1st and stands in Cancer, the 3rd; Aries is the 12th, and
    // its lord Mars stands in Gemini, the 2nd. The classic reading gives Mars to the 1st house.
    EXPECT_EQ(r.lordHeadings[0], "Lord of the 1st House Venus is placed in House 3.");
    EXPECT_EQ(r.lordHeadings[11], "Lord of the 12th House Mars is placed in House 2.");
    const auto lines = ExportLines();
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(lines[29], r.lordHeadings[0]);
}

TEST(PreciseReading, RetrogradeMarksComeFromTheSpeed) {
    // Mercury was retrograde from 24 March to 17 April 1985, direct again by May.
    const struct {
        int month, day;
        const char* mercury;
    } cases[] = {{4, 5, "Budha (R) "}, {5, 20, "Budha"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(
            ComputePrecise(MakeEntry(1985, c.month, c.day, 12, 0, 29, "51", "30", false, "0", "0", true)));
        EXPECT_EQ(ReadingState.bodyLabels[2], c.mercury) << c.month << "/" << c.day;
    }
}

TEST(PreciseReading, NakshatraPadaAndLordAtTheBoundaries) {
    constexpr double span = 360.0 / 27;
    const struct {
        double longitude;
        int nakshatra, pada;
        const char* lord;
    } cases[] = {
        {0.0, 0, 1, "Ketu"},
        {span / 4 - 1e-9, 0, 1, "Ketu"},
        {span / 4 + 1e-9, 0, 2, "Ketu"},
        {span - 1e-9, 0, 4, "Ketu"},
        {span + 1e-9, 1, 1, "Venus"},
        {93.0 + 1.0 / 3 + 1e-9, 7, 1, "Saturn"}, // Pushya from 3°20' Cancer
        {9 * span + 1e-9, 9, 1, "Ketu"},         // Magha: the order starts again
        {40.0, 3, 1, "Moon"},                    // Rohini begins exactly at 40 degrees
        {360.0 - 1e-9, 26, 4, "Mercury"},        // Revati
    };
    for (const auto& c : cases) {
        const NakshatraPlace place = NakshatraPlaceOf(c.longitude);
        EXPECT_EQ(place.nakshatra, c.nakshatra) << c.longitude;
        EXPECT_EQ(place.pada, c.pada) << c.longitude;
        EXPECT_EQ(place.lord, c.lord) << c.longitude;
        // The name the reading shows for the same longitude is that nakshatra's.
        EXPECT_EQ(NakshatraForLongitude(c.longitude), NakshatraForLongitude((place.nakshatra + 0.5) * span))
            << c.longitude;
    }
}

TEST(PreciseReading, RefusalsSayWhyAndLeaveTheClassicCalculationAlone) {
    ASSERT_TRUE(CopyEntryToBirthData(Entry1947()));
    ASSERT_TRUE(ComputeReading());
    const std::string classic = ChartExportText();

    std::string message;
    // At the pole no point of the ecliptic rises.
    EXPECT_FALSE(
        ComputePrecise(MakeEntry(1990, 6, 1, 12, 0, 29, "90", "0", false, "0", "0", true), &message));
    EXPECT_EQ(message, msg::kPreciseAscendantUndefined);

    const std::filesystem::path empty = std::filesystem::temp_directory_path() / "quillmere-no-ephemeris";
    std::filesystem::create_directories(empty);
    precise::SetEphemerisSearchPath({empty.string()});
    EXPECT_FALSE(ComputePrecise(Entry1947(), &message));
    precise::SetEphemerisSearchPath(precise::DefaultEphemerisFolders(""));
    std::filesystem::remove_all(empty);
    EXPECT_EQ(message.rfind(msg::kPreciseFilesMissing, 0), 0u) << message;

    // A classic reading after the precise ones is the classic reading, byte for byte.
    ASSERT_TRUE(CopyEntryToBirthData(Entry1947()));
    ASSERT_TRUE(ComputeReading());
    EXPECT_EQ(ChartExportText(), classic);
    EXPECT_TRUE(ReadingState.calculation.empty());
}
