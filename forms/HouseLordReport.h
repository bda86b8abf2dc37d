// SPDX-License-Identifier: AGPL-3.0-or-later
// The house-lords report in the display's rich-text box: twelve blocks of a bold dark-green heading,
// the lord text in dark cyan and the planet text in dark red.
#pragma once

#include "records/Reading.h"

#include <QColor>
#include <QString>

class QTextDocument;

inline const QColor kHeadingColour{0, 128, 0};
inline const QColor kLordTextColour{0, 128, 128};
inline const QColor kPlanetTextColour{128, 0, 0};

// The tool tip of house `house`'s heading: the classic reading counts the houses' lords from Aries, which
// a reader of a chart with another lagna would not expect, and the house each lord stands in from the
// lagna. Empty for a precise reading.
QString ClassicHouseLordTip(const Reading& reading, int house);

// Clears `document` and writes the report of the reading. Font face and size stay the document's own.
// Pass RTB->document() of the display form.
void WriteHouseLordReport(QTextDocument& document, const Reading& reading);
