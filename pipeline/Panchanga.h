// SPDX-License-Identifier: AGPL-3.0-or-later
// The panchanga at birth, the five limbs of the day: the weekday from sunrise (vara), the Moon's
// elongation from the Sun in twelfths of the circle (tithi) and in halves of those (karana), the Moon's
// nakshatra, the sum of the Sun's and the Moon's sidereal longitudes in 27ths of the circle (yoga); with
// the sunrise and sunset of the birth's local date at the birth place.
#pragma once

#include "records/Reading.h"

#include <array>
#include <chrono>
#include <string>
#include <string_view>

// A sunrise or sunset of the birth's local date, in minutes after its local midnight (the birth's zone
// and daylight saving); none where the Sun does not rise or set that day; unavailable without the
// Swiss Ephemeris (a build without it, or its files missing).
struct SunTime {
    enum class State { Unavailable, None, At };
    State state = State::Unavailable;
    double minutes = 0.0;
};

struct Panchanga {
    int vara = 1;      // 1 Sunday .. 7 Saturday
    int tithi = 1;     // 1 .. 30: 1 to 15 Shukla, 16 to 30 Krishna
    int nakshatra = 1; // 1 Aswini .. 27 Revati
    int yoga = 1;      // 1 Vishkumbha .. 27 Vaidhriti
    int karana = 1;    // 1 .. 60, the halves of the tithis
    SunTime sunrise;
    SunTime sunset;
};

// From sidereal (or tropical, alike) longitudes in degrees, any number of turns.
int TithiOf(double sun, double moon);
int KaranaOf(double sun, double moon);
int YogaOf(double sun, double moon);

// The weekday (1 Sunday .. 7 Saturday) of a birth at a minute of its local date whose civil weekday is
// given: the day before while the date's sunrise is still to come; the civil weekday where the Sun does
// not rise that day or its sunrise is unavailable.
int VaraOf(std::chrono::weekday civil, double birthMinutes, const SunTime& sunrise);

// The panchanga of a reading: its Sun and Moon, its nakshatra, its birth.
Panchanga ComputePanchanga(const Reading& reading);

std::string_view VaraName(int vara);     // "Sunday"
std::string_view PakshaName(int tithi);  // "Shukla", "Krishna"
std::string_view TithiName(int tithi);   // "Pratipada" .. "Purnima", "Amavasya"
std::string_view YogaName(int yoga);     // "Vishkumbha"
std::string_view KaranaName(int karana); // "Kimstughna", "Bava", .. "Naga"

// "06:12" cut to the minute, "none", or "unavailable".
std::string SunTimeText(const SunTime& time);

// The seven items as the views, the print and the companion write them: {"Vara", "1 Sunday"},
// {"Tithi", "1 Shukla Pratipada"}, {"Nakshatra", "4 Rohini"}, {"Yoga", ...}, {"Karana", ...},
// {"Sunrise", "06:12"}, {"Sunset", "18:40"}.
struct PanchangaItem {
    std::string_view label;
    std::string text;
};
std::array<PanchangaItem, 7> PanchangaItems(const Panchanga& panchanga);

// The items as lines "Vara: 1 Sunday", each ended by CR LF.
std::string PanchangaLines(const Panchanga& panchanga);
