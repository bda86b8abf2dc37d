// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/Ashtakavarga.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace {
enum { Ari, Tau, Gem, Can, Leo, Vir, Lib, Sco, Sag, Cap, Aqu, Pis };
} // namespace

// Each planet's row adds up to the same in every chart, the total to 337 ("for any horoscope", B. V.
// Raman, Ashtakavarga System of Prediction, ch. II), and the total is the rows' sum sign by sign.
TEST(Ashtakavarga, RowTotalsAreTheSameInEveryChart) {
    const int rowTotals[7] = {48, 49, 39, 54, 56, 52, 39};
    std::mt19937 random(1947);
    for (int chart = 0; chart < 500; ++chart) {
        std::array<int, 8> signs{};
        for (int& s : signs)
            s = static_cast<int>(random() % 12);
        const Ashtakavarga a = ComputeAshtakavarga(signs);
        std::array<int, 12> sums{};
        for (std::size_t row = 0; row < 7; ++row) {
            EXPECT_EQ(std::accumulate(a.bhinna[row].begin(), a.bhinna[row].end(), 0), rowTotals[row]) << row;
            for (std::size_t s = 0; s < 12; ++s)
                sums[s] += a.bhinna[row][s];
        }
        ASSERT_EQ(a.total, sums) << chart;
        ASSERT_EQ(std::accumulate(sums.begin(), sums.end(), 0), 337);
    }
}

// Where the text is read differently: the Moon's own places from the Moon include the 9th and those
// from Mars do not; Venus's from Mars are 3, 4, 6, 9, 11 and 12.
TEST(Ashtakavarga, PlacesWhereTheReadingsDiffer) {
    constexpr int kMoon = 1, kMars = 2, kVenus = 5;
    EXPECT_TRUE(AshtakavargaPlace(kMoon, kMoon, 9));
    EXPECT_FALSE(AshtakavargaPlace(kMoon, kMars, 9));
    std::vector<int> venusFromMars;
    for (int place = 1; place <= 12; ++place)
        if (AshtakavargaPlace(kVenus, kMars, place))
            venusFromMars.push_back(place);
    EXPECT_EQ(venusFromMars, (std::vector<int>{3, 4, 6, 9, 11, 12}));
}

// By hand, 1947-08-15 0:00 Delhi (the lagna in Taurus, Mars in Gemini, Jupiter in Libra, the rest in
// Cancer), the Sun's places from each, the sign itself the 1st:
//   Sun, Saturn 1 2 4 7 8 9 10 11: Can Leo Lib Cap Aqu Pis Ari Tau   Moon 3 6 10 11: Vir Sag Ari Tau
//   Mars 1 2 4 7 8 9 10 11: Gem Can Vir Sag Cap Aqu Pis Ari    Mercury 3 5 6 9 10 11 12: Vir Sco Sag
//   Pis Ari Tau Gem    Jupiter 5 6 9 11: Aqu Pis Gem Leo    Venus 6 7 12: Sag Cap Gem
//   Lagna 3 4 6 10 11 12: Can Leo Lib Aqu Pis Ari
// Counted by sign from Aries: 6 4 4 4 4 3 3 1 4 4 5 6.
// Published: Jupiter's row for the Standard Horoscope of B. V. Raman's Ashtakavarga System of
// Prediction, as reproduced at
// https://vedastro.org/blog/Mastering-Ashtakavarga-Part-2-Building-Bhinnashtakavarga-Charts.html
// (Jupiter's places are read alike by all).
TEST(Ashtakavarga, HandWorkedAndPublishedRows) {
    // Signs of the Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn and the lagna.
    EXPECT_EQ(ComputeAshtakavarga({Can, Can, Gem, Can, Lib, Can, Can, Tau}).bhinna[0],
              (std::array<int, 12>{6, 4, 4, 4, 4, 3, 3, 1, 4, 4, 5, 6}));
    EXPECT_EQ(ComputeAshtakavarga({Vir, Aqu, Sco, Lib, Gem, Vir, Leo, Cap}).bhinna[4],
              (std::array<int, 12>{3, 4, 7, 6, 4, 4, 6, 4, 5, 5, 4, 4}));
}
