// SPDX-License-Identifier: AGPL-3.0-or-later
// Printing the chart: on every page the reading's name and birth data; on the first the rasi and
// navamsa charts in the chosen style, every position with its nakshatra and pada, and the other
// details; then the sign of every body in each of the sixteen divisional charts, the ashtakavarga and
// the panchanga at birth; then the Vimshottari periods, each major period with its sub-periods. Drawn
// for the page, without page numbers.
#pragma once

#include "output/ChartDrawing.h"
#include "records/Reading.h"

#include <QString>
#include <QStringList>

#include <array>
#include <string>
#include <string_view>
#include <vector>

class QPrinter;

// What the chart view shows and the printed chart prints alike, made once for both.
namespace shown {

// A text the core made (UTF-8, with what the user typed) and a fixed name (Latin-1).
QString Text(const std::string& utf8);
QString Latin1(std::string_view text);

// The entries of each sign of a chart.
std::array<QStringList, 12> CellTexts(const std::array<std::vector<std::string>, 12>& cells);

// The birth data under their captions, "Date of Birth: January 1, 1980", "Time of Birth: 12 HH 0 MM ",
// "Latitude: 51 Degree 30 Minute", "City: London" and so on: a line each in the view, two or three
// to a line on the page.
struct BirthDetails {
    QString date, time, latitude, longitude, city, state, country;
};
BirthDetails BirthDetailTexts(const Birth& birth);

} // namespace shown

// Prints the reading. False when the printer could not take the job; `reason` (when
// given) then says why, where that is known. A print to a file replaces the file only when complete.
bool PrintChart(const Reading& reading, QPrinter& printer, ChartStyle style, QString* reason = nullptr);
