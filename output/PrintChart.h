// SPDX-License-Identifier: AGPL-3.0-or-later
// Printing the chart: on every page the reading's name, birth data and calculation; on the first the rasi and
// navamsa charts in the chosen style, every position with its nakshatra and pada, and the other
// details; then the sign of every body in each of the sixteen divisional charts, the ashtakavarga and
// the panchanga at birth; then the Vimshottari periods, each major period with its sub-periods; then,
// when asked for, the transits. Drawn for the page, without page numbers.
#pragma once

#include "output/ChartDrawing.h"
#include "records/Reading.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QPrinter;
struct SadeSatiSearch;

// What the chart view shows and the printed chart prints alike, made once for both.
namespace shown {

// A text the core made (UTF-8, with what the user typed) and a fixed name (Latin-1).
QString Text(const std::string& utf8);
QString Latin1(std::string_view text);

// The entries of each sign of a chart.
std::array<QStringList, 12> CellTexts(const std::array<std::vector<std::string>, 12>& cells);

// The birth data under their captions, "Date of Birth: January 1, 1980", "Time of Birth: 12 HH 0 MM ",
// "Latitude: 51 Degree 30 Minute", "City: London" and so on: a line each in the view, two or three
// to a line on the page. A time the form moved into a row's clock has its clocks besides, "(9:45
// Indian Time; 10:00 at the place, UTC+5:45)", empty otherwise.
struct BirthDetails {
    QString date, time, latitude, longitude, city, state, country, clocks;
};
BirthDetails BirthDetailTexts(const Birth& birth);

// What opens every printed page, a line each: the name, the date and time, the clocks of a moved
// time, the latitude and longitude, the city, state and country, and for a precise reading "Calculation: "
// and its words.
QStringList PageHeaderLines(const Reading& reading);

// The transits of a moment: "in the birth's zone, Indian Time, IST, +5.3" (", with daylight saving
// time" after it when the birth had it); per transiting body, the Sun to Ketu, its name (with the
// retrograde mark), position, and houses from the birth's lagna and Moon; and "Sade sati: from January
// 24, 2020 to February 23, 2028" (dates in the birth's zone), "No sade sati at this moment" or why
// Saturn could not be followed.
QString TransitZoneText(const Birth& birth);
std::vector<QStringList> TransitRows(const Reading& birth, const Reading& transit);
QString SadeSatiText(const Reading& birth, const SadeSatiSearch& search);

} // namespace shown

// Prints the reading, and when `transitMoment` (minutes from 1970, universal time) is given, a page of
// its transits after the periods. False when the printer could not take the job; `reason` (when
// given) then says why, where that is known. A print to a file replaces the file only when complete.
bool PrintChart(const Reading& reading, QPrinter& printer, ChartStyle style, QString* reason = nullptr,
                std::optional<double> transitMoment = std::nullopt);
