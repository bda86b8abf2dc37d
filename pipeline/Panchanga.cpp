// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/Panchanga.h"

#include "pipeline/Periods.h"
#include "records/Calendar.h"
#include "records/Vocabulary.h"
#if QUILLMERE_HAS_PRECISE
#include "precise/PreciseEngine.h"
#endif

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinutesPerDay = 1440;
// The Julian day of 1970-01-01 00:00 UT, where the periods' minutes start.
constexpr double kUnixEpochJulianDay = 2440587.5;

constexpr std::array<std::string_view, 7> kVaraNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 14> kTithiNames{
    "Pratipada", "Dwitiya", "Tritiya", "Chaturthi", "Panchami", "Shashthi",   "Saptami",
    "Ashtami",   "Navami",  "Dashami", "Ekadashi",  "Dwadashi", "Trayodashi", "Chaturdashi"};
constexpr std::array<std::string_view, 27> kYogaNames{
    "Vishkumbha", "Priti",  "Ayushman",  "Saubhagya", "Shobhana", "Atiganda", "Sukarma",
    "Dhriti",     "Shula",  "Ganda",     "Vriddhi",   "Dhruva",   "Vyaghata", "Harshana",
    "Vajra",      "Siddhi", "Vyatipata", "Variyana",  "Parigha",  "Shiva",    "Siddha",
    "Sadhya",     "Shubha", "Shukla",    "Brahma",    "Indra",    "Vaidhriti"};
// The seven movable karanas, which turn from the second half of the first tithi to the first half of
// the twenty-ninth; the four fixed ones hold the halves around the new moon.
constexpr std::array<std::string_view, 7> kMovableKaranas{"Bava",   "Balava", "Kaulava", "Taitila",
                                                          "Garaja", "Vanija", "Vishti"};

// Degrees into [0, 360): a tiny negative remainder plus 360 would round to 360 itself.
double Wrapped(double degrees) {
    double w = std::fmod(degrees, 360.0);
    if (w < 0)
        w += 360;
    return w >= 360 ? 0.0 : w;
}

// Which of `parts` equal parts of the circle the angle stands in, 1 .. parts. Multiplied before it is
// divided, so that a boundary no double holds exactly (13 degrees 20) still falls in the part it opens.
int PartOf(double degrees, int parts) {
    const int part = static_cast<int>(std::floor(Wrapped(degrees) * parts / 360)) + 1;
    return std::clamp(part, 1, parts);
}

template <std::size_t N> std::string_view Word(const std::array<std::string_view, N>& words, int number) {
    return number >= 1 && number <= static_cast<int>(N) ? words[static_cast<std::size_t>(number - 1)]
                                                        : std::string_view{};
}

// The sunrise and sunset of the local date that begins at midnightUT (minutes from 1970, universal time).
void FindSunTimes([[maybe_unused]] const Birth& birth, [[maybe_unused]] double midnightUT,
                  [[maybe_unused]] Panchanga& p) {
#if QUILLMERE_HAS_PRECISE
    const double latitude = (birth.latDeg + birth.latMin / 60.0) * (birth.latSouth ? -1 : 1);
    const double longitude = (birth.lonDeg + birth.lonMin / 60.0) * (birth.lonEast ? 1 : -1);
    const double from = kUnixEpochJulianDay + midnightUT / kMinutesPerDay;
    const precise::SunRiseSet times = precise::ComputeSunRiseSet(from, from + 1, latitude, longitude);
    // Without usable files the panchanga is still given, its times unavailable.
    if (times.error != precise::PreciseError::None)
        return;
    const auto local = [from](const std::optional<double>& moment) {
        return moment ? SunTime{SunTime::State::At, (*moment - from) * kMinutesPerDay}
                      : SunTime{SunTime::State::None, 0.0};
    };
    p.sunrise = local(times.rise);
    p.sunset = local(times.set);
#endif
}

} // namespace

int TithiOf(double sun, double moon) {
    return PartOf(moon - sun, 30);
}

int KaranaOf(double sun, double moon) {
    return PartOf(moon - sun, 60);
}

int YogaOf(double sun, double moon) {
    return PartOf(sun + moon, 27);
}

int VaraOf(std::chrono::weekday civil, double birthMinutes, const SunTime& sunrise) {
    const bool beforeSunrise = sunrise.state == SunTime::State::At && birthMinutes < sunrise.minutes;
    const std::chrono::weekday day = beforeSunrise ? civil - std::chrono::days{1} : civil;
    return static_cast<int>(day.c_encoding()) + 1;
}

Panchanga ComputePanchanga(const Reading& reading) {
    const Birth& birth = reading.birth;
    const double sun = reading.Longitude(BodySlot::Sun);
    const double moon = reading.Longitude(BodySlot::Moon);
    Panchanga p;
    p.tithi = TithiOf(sun, moon);
    p.karana = KaranaOf(sun, moon);
    p.yoga = YogaOf(sun, moon);
    p.nakshatra = reading.nakshatra + 1;

    // The local clock as entered, against the universal moment the reading took: their difference is
    // the zone with its daylight saving, and the clock's hour 24 falls on the next date.
    const double birthUT = BirthMinutesUT(birth);
    const double clock =
        static_cast<double>(DayOf(birth.year, birth.month, birth.day).time_since_epoch().count()) *
            kMinutesPerDay +
        birth.hour * 60 + birth.minute;
    const double localMidnight = std::floor(clock / kMinutesPerDay) * kMinutesPerDay;
    const double midnightUT = localMidnight + (birthUT - clock);
    FindSunTimes(birth, midnightUT, p);

    const std::chrono::sys_days date{
        std::chrono::days{static_cast<long long>(localMidnight / kMinutesPerDay)}};
    p.vara = VaraOf(std::chrono::weekday{date}, clock - localMidnight, p.sunrise);
    return p;
}

std::string_view VaraName(int vara) {
    return Word(kVaraNames, vara);
}

std::string_view PakshaName(int tithi) {
    return tithi < 1 || tithi > 30 ? std::string_view{} : tithi <= 15 ? "Shukla" : "Krishna";
}

std::string_view TithiName(int tithi) {
    if (tithi == 15)
        return "Purnima";
    if (tithi == 30)
        return "Amavasya";
    return Word(kTithiNames, tithi > 15 ? tithi - 15 : tithi);
}

std::string_view YogaName(int yoga) {
    return Word(kYogaNames, yoga);
}

std::string_view KaranaName(int karana) {
    switch (karana) {
    case 1:
        return "Kimstughna";
    case 58:
        return "Shakuni";
    case 59:
        return "Chatushpada";
    case 60:
        return "Naga";
    default:
        return karana >= 2 && karana <= 57 ? kMovableKaranas[static_cast<std::size_t>((karana - 2) % 7)]
                                           : std::string_view{};
    }
}

std::string SunTimeText(const SunTime& time) {
    switch (time.state) {
    case SunTime::State::Unavailable:
        return "unavailable";
    case SunTime::State::None:
        return "none";
    case SunTime::State::At:
        break;
    }
    const auto minutes = static_cast<long long>(std::floor(time.minutes));
    return TwoDigits(minutes / 60) + ":" + TwoDigits(minutes % 60);
}

std::array<PanchangaItem, 7> PanchangaItems(const Panchanga& p) {
    const auto numbered = [](int number, std::string_view name) {
        return std::to_string(number) + " " + std::string(name);
    };
    return {{{"Vara", numbered(p.vara, VaraName(p.vara))},
             {"Tithi",
              numbered(p.tithi, std::string(PakshaName(p.tithi)) + " " + std::string(TithiName(p.tithi)))},
             {"Nakshatra", numbered(p.nakshatra, Word(kNakshatraNames, p.nakshatra))},
             {"Yoga", numbered(p.yoga, YogaName(p.yoga))},
             {"Karana", numbered(p.karana, KaranaName(p.karana))},
             {"Sunrise", SunTimeText(p.sunrise)},
             {"Sunset", SunTimeText(p.sunset)}}};
}

std::string PanchangaLines(const Panchanga& panchanga) {
    std::string lines;
    for (const PanchangaItem& item : PanchangaItems(panchanga))
        lines += std::string(item.label) + ": " + item.text + "\r\n";
    return lines;
}
