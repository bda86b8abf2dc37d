// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/Ashtakavarga.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace {

// The places of one contributor as bits, place 1 the lowest.
constexpr std::uint16_t Places(std::initializer_list<int> places) {
    std::uint16_t bits = 0;
    for (int place : places)
        bits = static_cast<std::uint16_t>(bits | 1u << (place - 1));
    return bits;
}

using PlaceTable = std::array<std::array<std::uint16_t, 8>, 7>;

enum Contributor { kSun, kMoon, kMars, kMercury, kJupiter, kVenus, kSaturn };

// For each row, the benefic places counted from the Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn
// and the lagna, as B. V. Raman's books and most programs give them.
constexpr PlaceTable kCommon = {{
    // Sun: 48
    {Places({1, 2, 4, 7, 8, 9, 10, 11}), Places({3, 6, 10, 11}), Places({1, 2, 4, 7, 8, 9, 10, 11}),
     Places({3, 5, 6, 9, 10, 11, 12}), Places({5, 6, 9, 11}), Places({6, 7, 12}),
     Places({1, 2, 4, 7, 8, 9, 10, 11}), Places({3, 4, 6, 10, 11, 12})},
    // Moon: 49
    {Places({3, 6, 7, 8, 10, 11}), Places({1, 3, 6, 7, 10, 11}), Places({2, 3, 5, 6, 9, 10, 11}),
     Places({1, 3, 4, 5, 7, 8, 10, 11}), Places({1, 4, 7, 8, 10, 11, 12}), Places({3, 4, 5, 7, 9, 10, 11}),
     Places({3, 5, 6, 11}), Places({3, 6, 10, 11})},
    // Mars: 39
    {Places({3, 5, 6, 10, 11}), Places({3, 6, 11}), Places({1, 2, 4, 7, 8, 10, 11}), Places({3, 5, 6, 11}),
     Places({6, 10, 11, 12}), Places({6, 8, 11, 12}), Places({1, 4, 7, 8, 9, 10, 11}),
     Places({1, 3, 6, 10, 11})},
    // Mercury: 54
    {Places({5, 6, 9, 11, 12}), Places({2, 4, 6, 8, 10, 11}), Places({1, 2, 4, 7, 8, 9, 10, 11}),
     Places({1, 3, 5, 6, 9, 10, 11, 12}), Places({6, 8, 11, 12}), Places({1, 2, 3, 4, 5, 8, 9, 11}),
     Places({1, 2, 4, 7, 8, 9, 10, 11}), Places({1, 2, 4, 6, 8, 10, 11})},
    // Jupiter: 56
    {Places({1, 2, 3, 4, 7, 8, 9, 10, 11}), Places({2, 5, 7, 9, 11}), Places({1, 2, 4, 7, 8, 10, 11}),
     Places({1, 2, 4, 5, 6, 9, 10, 11}), Places({1, 2, 3, 4, 7, 8, 10, 11}), Places({2, 5, 6, 9, 10, 11}),
     Places({3, 5, 6, 12}), Places({1, 2, 4, 5, 6, 7, 9, 10, 11})},
    // Venus: 52
    {Places({8, 11, 12}), Places({1, 2, 3, 4, 5, 8, 9, 11, 12}), Places({3, 5, 6, 9, 11, 12}),
     Places({3, 5, 6, 9, 11}), Places({5, 8, 9, 10, 11}), Places({1, 2, 3, 4, 5, 8, 9, 10, 11}),
     Places({3, 4, 5, 8, 9, 10, 11}), Places({1, 2, 3, 4, 5, 8, 9, 11})},
    // Saturn: 39
    {Places({1, 2, 4, 7, 8, 10, 11}), Places({3, 6, 11}), Places({3, 5, 6, 10, 11, 12}),
     Places({6, 8, 9, 10, 11, 12}), Places({5, 6, 11, 12}), Places({6, 11, 12}), Places({3, 5, 6, 11}),
     Places({1, 3, 4, 6, 10, 11})},
}};

// Parashara's verses differ from the common tables in four places, each row keeping its total: the
// Moon's 9th counts from the Moon and not from Mars, its 2nd from Jupiter instead of the 12th, and
// Venus's 4th from Mars instead of the 5th.
constexpr PlaceTable kParashara = [] {
    PlaceTable table = kCommon;
    table[kMoon][kMoon] = Places({1, 3, 6, 7, 9, 10, 11});
    table[kMoon][kMars] = Places({2, 3, 5, 6, 10, 11});
    table[kMoon][kJupiter] = Places({1, 2, 4, 7, 8, 10, 11});
    table[kVenus][kMars] = Places({3, 4, 6, 9, 11, 12});
    return table;
}();

} // namespace

bool AshtakavargaPlace(AshtakavargaPlaces places, int row, int from, int place) {
    if (row < 0 || row >= 7 || from < 0 || from > kAshtakavargaLagna || place < 1 || place > 12)
        return false;
    const PlaceTable& table = places == AshtakavargaPlaces::Parashara ? kParashara : kCommon;
    return (table[static_cast<std::size_t>(row)][static_cast<std::size_t>(from)] >> (place - 1) & 1u) != 0;
}

Ashtakavarga ComputeAshtakavarga(const std::array<int, 8>& signs, AshtakavargaPlaces places) {
    Ashtakavarga a;
    for (int row = 0; row < 7; ++row) {
        for (int from = 0; from <= kAshtakavargaLagna; ++from) {
            // A sign outside the circle gives nothing rather than a bindu in a wrong sign.
            const int start = signs[static_cast<std::size_t>(from)];
            if (start < 0 || start > 11)
                continue;
            for (int place = 1; place <= 12; ++place)
                if (AshtakavargaPlace(places, row, from, place))
                    ++a.bhinna[static_cast<std::size_t>(row)]
                              [static_cast<std::size_t>((start + place - 1) % 12)];
        }
        for (std::size_t sign = 0; sign < 12; ++sign)
            a.total[sign] += a.bhinna[static_cast<std::size_t>(row)][sign];
    }
    return a;
}

Ashtakavarga ComputeAshtakavarga(const Reading& reading) {
    std::array<int, 8> signs{};
    for (std::size_t i = 0; i < kAshtakavargaPlanets.size(); ++i)
        signs[i] = reading.Sign(kAshtakavargaPlanets[i]);
    signs[kAshtakavargaLagna] = reading.LagnaSign();
    return ComputeAshtakavarga(signs, reading.conventions.ashtakavarga);
}

std::string AshtakavargaLines(const Ashtakavarga& a) {
    std::string out;
    const auto line = [&out](std::string_view name, const std::array<int, 12>& bindus) {
        out += name;
        out += ':';
        for (int n : bindus)
            out += ' ' + std::to_string(n);
        out += "\r\n";
    };
    for (std::size_t row = 0; row < kAshtakavargaPlanets.size(); ++row)
        line(Body(kAshtakavargaPlanets[row]).english, a.bhinna[row]);
    line("Total", a.total);
    return out;
}
