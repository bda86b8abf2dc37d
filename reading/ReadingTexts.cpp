// SPDX-License-Identifier: AGPL-3.0-or-later
#include "reading/ReadingTexts.h"

#include "astro/Angles.h"
#include "astro/Moon.h"
#include "astro/Nakshatras.h"
#include "astro/Planets.h"
#include "astro/Retrogrades.h"
#include "reading/HouseLords.h"

namespace {

std::size_t Slot(BodySlot body) {
    return static_cast<std::size_t>(body);
}

std::string_view SanskritOf(int sign) {
    return sign >= 0 && sign < 12 ? kSigns[static_cast<std::size_t>(sign)].sanskrit : std::string_view{};
}

const HouseLord* PlacedLord(const Reading& reading, int house) {
    if (house < 1 || house > 12)
        return nullptr;
    const HouseLord& lord = reading.houseLords[static_cast<std::size_t>(house - 1)];
    return lord.placedInHouse >= 1 && lord.placedInHouse <= 12 && Slot(lord.lord) < kRulingPlanets ? &lord
                                                                                                   : nullptr;
}

} // namespace

std::string ShortPositionText(const Reading& reading, BodySlot body) {
    return ShortZodiacPositionOf(reading.Longitude(body));
}

std::string AyanamsaText(const Reading& reading) {
    const std::string text = FormatSignedDegrees(reading.ayanamsa);
    return text.empty() ? std::string() : text.substr(1);
}

std::string_view LagnaName(const Reading& reading) {
    return SanskritOf(reading.LagnaSign());
}

std::string_view RashiName(const Reading& reading) {
    return SanskritOf(reading.Sign(BodySlot::Moon));
}

std::string_view MoonNakshatraName(const Reading& reading) {
    return NakshatraNameAt(reading.nakshatra);
}

std::string PadaText(const Reading& reading) {
    return std::to_string(reading.pada);
}

std::string_view NakshatraLordName(const Reading& reading) {
    return Body(reading.nakshatraLord).english;
}

std::string BodyLabel(const Reading& reading, BodySlot body) {
    std::string label(Body(body).label);
    if (reading.Retrograde(body))
        label += kRetrogradeMark;
    return label;
}

std::string CalculationCaption(const Reading& reading) {
    return reading.calculation == Calculation::Classic ? std::string()
                                                       : std::string(CalculationName(reading.calculation));
}

std::string AyanamsaInWords(const Conventions& conventions) {
    if (conventions.ayanamsa != Ayanamsa::User)
        return std::string(AyanamsaName(conventions.ayanamsa)) + " ayanamsa";
    const UserAyanamsa& user = conventions.user;
    return std::string(kUserAyanamsaName) + " ayanamsa " + std::to_string(user.degrees) + "\u00B0 " +
           std::to_string(user.minutes) + "' " + user.SecondsText() + "\" on " + user.DateText();
}

std::string CalculationWords(const CalculationChoice& choice) {
    std::string words = CalculationName(choice.calculation);
    if (choice.calculation == Calculation::Classic)
        return words;
    const Conventions& c = choice.conventions;
    return words + ", " + AyanamsaInWords(c) + ", " + std::string(Node(c.node).name) + ", " +
           std::string(Year(c.year).name);
}

std::string CalculationWords(const Reading& reading) {
    return CalculationWords(CalculationChoice{reading.calculation, reading.conventions});
}

std::string CalculationLineWords(const Reading& reading) {
    if (reading.calculation == Calculation::Classic)
        return CalculationName(reading.calculation);
    // The ayanamsa by its name alone (a user's value and date are in the full words), the sidereal
    // year without its length.
    const Conventions& c = reading.conventions;
    const std::string ayanamsa =
        c.ayanamsa == Ayanamsa::User ? std::string("own ayanamsa") : std::string(AyanamsaName(c.ayanamsa));
    const std::string year =
        c.year == PeriodYear::Sidereal ? "sidereal years" : std::string(Year(c.year).name);
    return "Precise: " + ayanamsa + ", " + std::string(Node(c.node).name) + ", " + year;
}

std::string HouseLordHeading(const Reading& reading, int house) {
    std::string heading;
    if (const HouseLord* lord = PlacedLord(reading, house))
        WriteLordHeading(heading, house, Body(lord->lord).english, lord->placedInHouse);
    return heading;
}

std::string_view LordInHouseText(const Reading& reading, int house) {
    const HouseLord* lord = PlacedLord(reading, house);
    return lord ? std::string_view(LordInHouseTexts()[static_cast<std::size_t>(house - 1)]
                                                     [static_cast<std::size_t>(lord->placedInHouse - 1)])
                : std::string_view{};
}

std::string_view PlanetInHouseText(const Reading& reading, int house) {
    const HouseLord* lord = PlacedLord(reading, house);
    return lord ? std::string_view(PlanetInHouseTexts()[Slot(lord->lord)]
                                                       [static_cast<std::size_t>(lord->placedInHouse - 1)])
                : std::string_view{};
}

std::string HouseLordReportText(const Reading& reading) {
    std::string text;
    for (int house = 1; house <= 12; ++house) {
        text += HouseLordHeading(reading, house);
        text += "\r\n";
        text += LordInHouseText(reading, house);
        text += "\r\n";
        text += PlanetInHouseText(reading, house);
        text += "\r\n\r\n";
    }
    return text;
}
