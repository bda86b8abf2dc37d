// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/HouseLordReport.h"

#include "reading/HouseLords.h"
#include "reading/ReadingTexts.h"
#include "records/Vocabulary.h"

#include <QFont>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <string_view>

QString ClassicHouseLordTip(const Reading& reading, int house) {
    if (reading.calculation != Calculation::Classic || house < 1 || house > 12)
        return {};
    const auto name = [](std::string_view words) {
        return QString::fromLatin1(words.data(), static_cast<qsizetype>(words.size()));
    };
    const auto index = static_cast<std::size_t>(house - 1);
    QString tip =
        QStringLiteral("Classic: the lord of house %1 rules the %1%2 sign from Aries (%3), whatever the "
                       "lagna.")
            .arg(house)
            .arg(QString::fromLatin1(OrdinalSuffixes[index]), name(kSigns[index].english));
    // The heading's second number is counted the other way, from the lagna; a line of its own keeps
    // the tip narrow.
    const HouseLord& lord = reading.houseLords[index];
    const int lagna = reading.LagnaSign();
    const int stands = reading.Sign(lord.lord);
    if (lord.placedInHouse >= 1 && lagna >= 0 && lagna < 12 && stands >= 0 && stands < 12)
        tip +=
            QStringLiteral("\nThe house it is placed in is counted from the lagna (%1 is house 1): %2 stands "
                           "in %3, house %4.")
                .arg(name(kSigns[static_cast<std::size_t>(lagna)].english), name(Body(lord.lord).english),
                     name(kSigns[static_cast<std::size_t>(stands)].english))
                .arg(lord.placedInHouse);
    return tip;
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
