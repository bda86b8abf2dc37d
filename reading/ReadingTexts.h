// SPDX-License-Identifier: AGPL-3.0-or-later
// The texts of a reading, made from its numbers: what the views, the export, the print and the
// companion show. The classic texts come out exactly as the classic computation has always written
// them: positions and the ayanamsa are cut, never rounded.
#pragma once

#include "records/Reading.h"

#include <string>
#include <string_view>

// "16 Sag 56": whole degrees within the sign, the sign's code, whole minutes.
std::string ShortPositionText(const Reading& reading, BodySlot body);

// The ayanamsa's size in degrees, minutes and seconds, "23° 34' 34\"": the signed text without its
// first character.
std::string AyanamsaText(const Reading& reading);

// The Sanskrit names of the lagna's sign and of the Moon's sign (the rashi).
std::string_view LagnaName(const Reading& reading);
std::string_view RashiName(const Reading& reading);

// The Moon's nakshatra, its pada as a number and its lord's English name.
std::string_view MoonNakshatraName(const Reading& reading);
std::string PadaText(const Reading& reading);
std::string_view NakshatraLordName(const Reading& reading);

// The reading's own name of a body ("Surya"), with the retrograde mark when it was retrograde.
std::string BodyLabel(const Reading& reading, BodySlot body);

// What the views show under "Calculation": nothing for the classic calculation, else its caption.
std::string CalculationCaption(const Reading& reading);

// The ayanamsa of the conventions in words: "Raman ayanamsa", or a user's own, "user ayanamsa 23° 51'
// 11\" on 2000-01-01" (the seconds as given, without trailing zeros).
std::string AyanamsaInWords(const Conventions& conventions);

// How a reading is made, in words: "Classic", or the precise calculation's caption with its ayanamsa,
// node and period year, "Precise (Swiss Ephemeris), Raman ayanamsa, true node, 365.25-day years".
std::string CalculationWords(const CalculationChoice& choice);
// How the reading was made, as above.
std::string CalculationWords(const Reading& reading);
// The same words made short for the chart view's narrow Calculation line: "Precise: Raman,
// true node, 365.25-day years", the ayanamsa by its name alone ("own ayanamsa" for a user's), the sidereal
// year without its length.
std::string CalculationLineWords(const Reading& reading);

// House `house` (1..12): "Lord of the 11th House Saturn is placed in House 3.", what that lord brings
// to the house it stands in, and what the planet brings there. All three are empty for a lord that
// could not be placed.
std::string HouseLordHeading(const Reading& reading, int house);
std::string_view LordInHouseText(const Reading& reading, int house);
std::string_view PlanetInHouseText(const Reading& reading, int house);

// The report as plain text: per house the heading, the lord text and the planet text, each ended by
// CR LF, then an empty line (CR LF). The same blocks the display's report shows.
std::string HouseLordReportText(const Reading& reading);
