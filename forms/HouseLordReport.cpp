// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/HouseLordReport.h"

#include "reading/HouseLords.h"
#include "reading/ReadingTexts.h"

#include <QFont>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

QString ClassicHouseLordTip(const Reading& reading, int house) {
    if (reading.calculation != Calculation::Classic || house < 1 || house > 12)
        return {};
    return QStringLiteral("Classic: the lord of house %1 rules the %1%2 sign from Aries.")
        .arg(house)
        .arg(QString::fromLatin1(OrdinalSuffixes[static_cast<std::size_t>(house - 1)]));
}

void WriteHouseLordReport(QTextDocument& document, const Reading& reading) {
    document.clear();
    // Like the rich-text box: colour and bold set here apply to the text inserted next, and each
    // insertion appends at the caret. Qt turns every CR LF into a paragraph break.
    QTextCursor cursor(&document);
    QTextCharFormat format;
    auto insert = [&](std::string_view utf8, const char* ending) {
        cursor.insertText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())) +
                              QString::fromLatin1(ending),
                          format);
    };

    cursor.beginEditBlock();
    for (int house = 1; house <= 12; ++house) {
        format.setForeground(kHeadingColour);
        format.setFontWeight(QFont::Bold);
        format.setToolTip(ClassicHouseLordTip(reading, house));
        insert(HouseLordHeading(reading, house), "\r\n");
        format.setToolTip({});
        format.setFontWeight(QFont::Normal);
        format.setForeground(kLordTextColour);
        insert(LordInHouseText(reading, house), "\r\n");
        format.setForeground(kPlanetTextColour);
        insert(PlanetInHouseText(reading, house), "\r\n\r\n");
    }
    cursor.endEditBlock();
}
