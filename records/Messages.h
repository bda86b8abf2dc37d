// SPDX-License-Identifier: AGPL-3.0-or-later
// The program's own texts: messages shared by the windows and the command-line companion, then the
// captions, descriptions and addresses of the windows.
#pragma once

#include "records/Version.h"

namespace msg {
inline constexpr const char* kOnlyLetters = "Please enter only letters";
inline constexpr const char* kOnlyNumbers = "Please enter only numbers";
inline constexpr const char* kEnterName = "Please Enter Your Name";
inline constexpr const char* kEnterLatDeg = "Please Enter Degree of Latitude";
inline constexpr const char* kEnterLatMin = "Please Enter Minutes of Latitude";
inline constexpr const char* kEnterLonDeg = "Please Enter Degree of Longitude";
inline constexpr const char* kEnterLonMin = "Please Enter Minute of Longitude";
inline constexpr const char* kEnterCity = "Please Enter Your City name";
inline constexpr const char* kEnterState = "Please Enter Your State name";
inline constexpr const char* kEnterCountry = "Please Enter Your Country name";
inline constexpr const char* kLatDirection = "Please Select Direction For The Latitude";
inline constexpr const char* kLonDirection = "Please Select Direction For The Longitude";
inline constexpr const char* kLatRange = "Please Enter Correct Latitude (0 to 90 Degrees)";
inline constexpr const char* kLatMinRange = "Please Enter Correct Minutes of Latitude (0 to 59)";
inline constexpr const char* kLonRange = "Please Enter Correct Longitude (0 to 180 Degrees)";
inline constexpr const char* kLonMinRange = "Please Enter Correct Minute of Longitude (0 to 59)";
inline constexpr const char* kFebruaryDate = "Please Enter Correct Date Or Month!";
inline constexpr const char* kThirtyDayMonth = "Please Enter Correct Date Or Month !";
inline constexpr const char* kLibraryMissing = "Required File Is Missing. Please Reinstall The Software.";
inline constexpr const char* kCheckFile = "Please Check The File.";
// Follows kCheckFile when a file to open has a name no file can have.
inline constexpr const char* kNameTooLong =
    "The name of the file to open is longer than any file's name can be.";
inline constexpr const char* kCannotSaveCharacters = "This reading holds characters that cannot be saved.";
inline constexpr const char* kReadingFailed = "The reading could not be computed.";
// Both calculations refuse a birth at a pole the same way.
inline constexpr const char* kAscendantAtPole =
    "At a pole no point of the ecliptic rises, so there is no lagna: no reading can be made for this "
    "birth place.";
inline constexpr const char* kFileNotSaved = "The file could not be saved.";
inline constexpr const char* kNoPreciseBuild =
    "This copy of Quillmere was built without the precise calculation.";
inline constexpr const char* kNoAtlasBuild = "This copy of Quillmere was built without the atlas of places.";
// Follows the line that says what the chosen place's zone gave.
inline constexpr const char* kZoneSetByHand =
    " The zone or the box was then changed by hand; the reading uses them as set.";
// Follows that line when the same moment in the chosen row falls outside the form's years.
inline constexpr const char* kMovedTimeOutsideYears =
    " That falls outside the years the form holds, so the time stays as typed; please check the zone.";
// Say what the form did with the time where the fields show the chosen place's moment in another
// row's clock: an hour or minute set there ("The time set is read as 11:45 Indian Time, 12:00 at
// Kathmandu."), a place let go ("Kathmandu is no longer chosen; 11:45 Indian Time stays, the same
// moment as 12:00 there, and a place chosen next takes 12:00 as its clock time."), and the time given
// for the place before carried to the next one.
inline constexpr const char* kTimeSetReadAs = " The time set is read as ";
inline constexpr const char* kPlaceLetGo = " is no longer chosen; ";
inline constexpr const char* kPlaceLetGoStays = " stays, the same moment as ";
inline constexpr const char* kPlaceLetGoNext = " there, and a place chosen next takes ";
inline constexpr const char* kPlaceLetGoEnd = " as its clock time.";
inline constexpr const char* kGivenTimeKept = " The time given for the place before, ";
inline constexpr const char* kGivenTimeKeptEnd = ", is taken as this place's clock time.";
inline constexpr const char* kChoiceNotKept = "The choice could not be kept for the next run.";
// What is wrong with the user's own ayanamsa in the Conventions dialog, one field at a time.
inline constexpr const char* kUserDegrees =
    "Your own ayanamsa must lie from 10\u00B0 to 40\u00B0, where the ayanamsas in use lie: give whole "
    "degrees from 10 to 40.";
inline constexpr const char* kUserMinutes =
    "The minutes of your own ayanamsa must be whole minutes below 60.";
inline constexpr const char* kUserSeconds =
    "The seconds of your own ayanamsa must lie below 60, with up to six decimals.";
inline constexpr const char* kUserDateForm = "The date of your own ayanamsa must be written as YYYY-MM-DD.";
inline constexpr const char* kUserNoSuchDate =
    "The date of your own ayanamsa is not a date: the month must be 1 to 12 and the day one the month "
    "has.";
inline constexpr const char* kUserDateYears =
    "The date of your own ayanamsa must be a date of the years 1800 to 2399.";
// Names the limit kMaxTextLength of pipeline/BirthEntry.h (a test keeps the two together).
inline constexpr const char* kTextTooLong = "Please enter at most 100 characters";

// ---- the windows
inline constexpr const char* kVersion = QUILLMERE_VERSION;
inline constexpr const char* kCaption = "Quillmere v" QUILLMERE_VERSION;
inline constexpr const char* kHeading = "Quillmere";
inline constexpr const char* kAlreadyRunning = "Application is already running";
// Followed by what went wrong.
inline constexpr const char* kNoInstanceLock =
    "Quillmere could not make sure that only one copy of it runs; it starts all the same.\n";
inline constexpr const char* kMessageTitle = "Quillmere";

// The files.
inline constexpr const char* kOpenTitle = "Select the source file";
inline constexpr const char* kNotPrinted = "The interpretation could not be printed.";
inline constexpr const char* kChartNotPrinted = "The chart could not be printed.";
// Asked before a print replaces a file; %1 is the file.
inline constexpr const char* kReplacePrintedFile = "%1 already exists.\nDo you want to replace it?";
// What a print to a file is named for, after the person: "Asha Rao chart.pdf".
inline constexpr const char* kPrintedChart = "chart";
inline constexpr const char* kPrintedInterpretation = "interpretation";

// The periods and positions view, the chart styles and the printed chart.
inline constexpr const char* kPeriodsView = "Periods and Positions";
inline constexpr const char* kSouthIndian = "South-Indian";
inline constexpr const char* kNorthIndian = "North-Indian";
inline constexpr const char* kPrintChart = "Print Chart";
inline constexpr const char* kRasiTitle = "Rasi";
inline constexpr const char* kNavamsaTitle = "Navamsa";
inline constexpr const char* kVargaTitle = "Divisional Charts";
inline constexpr const char* kPositionsTitle = "Positions";
inline constexpr const char* kPeriodsTitle = "Vimshottari Periods";
// The periods' tab: short, so that every page's tab shows in the view's width.
inline constexpr const char* kPeriodsTab = "Periods";
inline constexpr const char* kPanchangaTitle = "Panchanga";
inline constexpr const char* kPanchangaNote =
    "Vara counts from sunrise. Sunrise and sunset are those of the date of birth at the birth place, "
    "in its local time (the zone and daylight saving of the birth).";
inline constexpr const char* kOtherDetailsTitle = "Other Vedic Details";
inline constexpr const char* kAshtakavargaTitle = "Ashtakavarga";
// Before the name of the ashtakavarga's places, where the ashtakavarga is shown and printed.
inline constexpr const char* kAshtakavargaPlacesCaption = "Places: ";
// Column headings of the positions table and the periods.
inline constexpr const char* kBodyHeading = "Body";
inline constexpr const char* kSignHeading = "Sign";
inline constexpr const char* kDegreesHeading = "Degrees";
inline constexpr const char* kMinutesHeading = "Minutes";
inline constexpr const char* kSecondsHeading = "Seconds";
inline constexpr const char* kPositionHeading = "Position";
inline constexpr const char* kNakshatraHeading = "Nakshatra";
inline constexpr const char* kPadaHeading = "Pada";
// The Positions page's column: the quarter of its nakshatra a body stands in, not the chart view's Pada.
inline constexpr const char* kQuarterHeading = "Quarter\n(pada)";
// The chart view's Pada of a classic reading.
inline constexpr const char* kClassicPadaTip =
    "Classic: the Pada counts the quarters of the Moon's nakshatra that lie in the Moon's sign, not the "
    "quarter the Moon stands in.";
inline constexpr const char* kRetrogradeHeading = "Retrograde";
inline constexpr const char* kRetrogradeShown = "(R)";
inline constexpr const char* kPeriodHeading = "Period";
inline constexpr const char* kBeginsHeading = "Begins";
inline constexpr const char* kEndsHeading = "Ends";
// The ashtakavarga's last row, the sarvashtakavarga.
inline constexpr const char* kTotalHeading = "Total";
// Beside the periods running today.
inline constexpr const char* kRunningMark = "now";
// The periods' age column, and the line above them with what remains of the first at birth.
inline constexpr const char* kAgeHeading = "Age";
inline constexpr const char* kBalanceCaption = "Balance at birth: ";
// The printed periods' line of the ages at which the major periods begin.
inline constexpr const char* kAgesCaption = "Age at the start of each period: ";

// Two blanks before "in" as the program has always shown it.
inline constexpr const char* kEntryDescription =
    "Quillmere displays the effects or influence of House Lords (planets) that are present  in signs other "
    "than the ones they rule. This software aims to give you an insight into your future based on astrology.";
inline constexpr const char* kAboutDescription =
    "Quillmere displays the effects or influence of House Lords (planets) that are present  in signs other "
    "than the ones they rule. This software aims to give you an insight into your future based on Vedic "
    "astrology.";

// The sources the About box credits, then the program's licence (the one the Swiss Ephemeris it links
// requires).
inline constexpr const char* kAboutCredits =
    "Birth places: GeoNames (geonames.org), CC BY 4.0, fields selected and populations joined. "
    "Time zones: the IANA time zone database. Precise positions: the Swiss Ephemeris of Astrodienst.\n\n"
    "Quillmere is free software under the GNU Affero General Public License, version 3 or later, and "
    "comes with no warranty.";

// The coordinate search.
inline constexpr const char* kSearchEnterCity = "Please Enter City";
inline constexpr const char* kSearchEnterState = "Please Enter State";
inline constexpr const char* kSearchEnterCountry = "Please Enter Country";
inline constexpr const char* kSearchSuffix = " Latitude Longitude";
inline constexpr const char* kSearchAddress = "https://www.google.com/search";

// Followed by the address.
inline constexpr const char* kNoBrowser =
    "No web browser could be started. Please open this address yourself:\n";

// The help page ships beside the program.
inline constexpr const char* kHelpFileName = "quillmere-help.html";
inline constexpr const char* kUpdateAddress = "https://github.com/quillmere/quillmere/releases/latest";

// The precise calculation's refusals.
inline constexpr const char* kPreciseFilesMissing =
    "The precise calculation needs the Swiss Ephemeris files "
    "(sepl_18.se1, semo_18.se1), which could not be read from: ";
inline constexpr const char* kPreciseNoFolder = "(no folder)";
// Follows the folders searched when some were left out; the folders left out and ". " follow.
inline constexpr const char* kPreciseFoldersLeftOut = "Left out, as the Swiss Ephemeris cannot take them: ";
// The refusal of one ephemeris file: kPreciseFile, the file's path, then one of the endings below.
inline constexpr const char* kPreciseFile = "The ephemeris file ";
inline constexpr const char* kPreciseFileDamaged = " is damaged.";
inline constexpr const char* kPreciseFileNotRegular = " is not a regular file.";
// Followed by the number of the line, then ").".
inline constexpr const char* kPreciseTableMalformed = " is not in the Swiss Ephemeris' format (line ";
// Followed by the year, then kPreciseDeltaTFarEnd.
inline constexpr const char* kPreciseDeltaTFar = " gives a Delta T for ";
inline constexpr const char* kPreciseDeltaTFarEnd = " more than a minute from the Swiss Ephemeris' own.";
inline constexpr const char* kPreciseClassicStillWorks = "The classic calculation still works.";
inline constexpr const char* kPreciseDateOutOfRange = "The Swiss Ephemeris files do not cover this date.";
inline constexpr const char* kPreciseAscendantUndefined =
    "The ascendant is not defined at this latitude; the precise "
    "calculation cannot be made for this birth place.";
inline constexpr const char* kPreciseOtherFailure = "The precise calculation could not be made: ";
// The transits page.
inline constexpr const char* kTransitsTitle = "Transits";
inline constexpr const char* kTransitOutOfRange =
    "The moment of the transits must lie in the years 1901 to 2050 (universal time).";
inline constexpr const char* kTransitMomentCaption = "&Moment:";
// Followed by the zone row's text, and kTransitDaylightSaving when the birth had it.
inline constexpr const char* kTransitZonePrefix = "in the birth's zone, ";
inline constexpr const char* kTransitDaylightSaving = ", with daylight saving time";
inline constexpr const char* kTransitKey = "T: the transiting bodies; the others as at birth.";
inline constexpr const char* kHouseFromLagnaHeading = "From\nLagna";
inline constexpr const char* kHouseFromMoonHeading = "From\nMoon";
inline constexpr const char* kHouseFromLagnaTip = "The house, counted from the sign of the birth's lagna";
inline constexpr const char* kHouseFromMoonTip = "The house, counted from the sign of the birth's Moon";
// "Sade sati: from January 24, 2020 to February 23, 2028", the dates in the birth's zone.
inline constexpr const char* kSadeSatiFrom = "Sade sati: from ";
inline constexpr const char* kSadeSatiTo = " to ";
inline constexpr const char* kNoSadeSati = "No sade sati at this moment";
inline constexpr const char* kSaturnNotComputed = "Saturn's course around the moment could not be computed.";
} // namespace msg
