// SPDX-License-Identifier: AGPL-3.0-or-later
// A reading: the numbers one calculation gives for one birth. A value; the texts that the views, the
// files and the companion show are made from these numbers where they are shown (reading/ReadingTexts.h).
#pragma once

#include "records/Birth.h"
#include "records/Conventions.h"
#include "records/Vocabulary.h"

#include <array>
#include <cstddef>
#include <optional>

// The classic calculation is the program's own and the default; the precise one takes the positions
// from the Swiss Ephemeris and counts the houses from the lagna.
enum class Calculation { Classic, Precise };

// The caption of a calculation, as the menu and the display show it.
constexpr const char* CalculationName(Calculation calculation) {
    return calculation == Calculation::Precise ? "Precise (Swiss Ephemeris)" : "Classic";
}

// What a reading is asked to be made with: the calculation and, for the precise one, its conventions.
struct CalculationChoice {
    Calculation calculation = Calculation::Classic;
    Conventions conventions;

    bool operator==(const CalculationChoice&) const = default;
};

// The Sun to Ketu: the bodies that have speeds, chart cells and navamsas.
inline constexpr int kGrahaSlots = 9;

// The lord of a house and the house (1..12, counted from the lagna) in which it stands.
struct HouseLord {
    BodySlot lord = BodySlot::Sun;
    int placedInHouse = 0;
};

struct Reading {
    Birth birth;
    Calculation calculation = Calculation::Classic;
    // The conventions it was made with: those chosen for a precise reading, the defaults for a classic
    // one, which keeps its own arithmetic, but for the ashtakavarga's places, chosen for either.
    Conventions conventions;

    // Sidereal longitudes in degrees, unrounded, by BodySlot: the Sun to Ketu, the ascendant and the
    // midheaven.
    std::array<double, kFilledBodySlots> longitudes{};
    // Degrees per day of the Sun to Ketu, negative while retrograde, where the calculation gives them:
    // the precise one does; the classic one has only the station tables' retrograde marks.
    std::optional<std::array<double, kGrahaSlots>> speeds;
    // The ayanamsa in degrees with the sign the classic computation gives it: added to a tropical
    // longitude it gives the sidereal one, so it is negative in every year a reading can have.
    double ayanamsa = 0.0;
    // The sign (0 Aries .. 11 Pisces) in which each longitude stands, cut as the position texts cut it
    // (whole degrees first). The ascendant's is the lagna, the Moon's the rashi.
    std::array<int, kFilledBodySlots> signs{};
    // Whether each body was retrograde at the birth; only Mercury to Saturn are ever marked.
    std::array<bool, kFilledBodySlots> retrograde{};
    // The Moon's nakshatra (0 Aswini .. 26 Revati), its lord, and the pada as the calculation counts it:
    // the classic one gives how many quarters of the nakshatra lie in the Moon's sign, the precise one
    // the quarter in which the Moon stands.
    int nakshatra = 0;
    BodySlot nakshatraLord = BodySlot::Ketu;
    int pada = 1;
    // The lord of house k + 1 and where it stands.
    std::array<HouseLord, 12> houseLords{};

    double Longitude(BodySlot body) const { return longitudes[static_cast<std::size_t>(body)]; }
    int Sign(BodySlot body) const { return signs[static_cast<std::size_t>(body)]; }
    bool Retrograde(BodySlot body) const { return retrograde[static_cast<std::size_t>(body)]; }
    int LagnaSign() const { return Sign(BodySlot::Ascendant); }
};
