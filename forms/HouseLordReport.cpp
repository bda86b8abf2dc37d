#include "forms/HouseLordReport.h"

#include "reading/modHouseLords.h"
#include "records/Records.h"

#include <QFont>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

void WriteHouseLordReport(QTextDocument& document) {
    document.clear();
    // Like the rich-text box: colour and bold set here apply to the text inserted next, and each
    // insertion appends at the caret. Qt turns every CR LF into a paragraph break.
    QTextCursor cursor(&document);
    QTextCharFormat format;
    auto insert = [&](const std::string& utf8) { cursor.insertText(QString::fromStdString(utf8), format); };

    cursor.beginEditBlock();
    for (std::size_t k = 0; k < 12; ++k) {
        format.setForeground(kHeadingColour);
        format.setFontWeight(QFont::Bold);
        insert(ReadingState.lordHeadings[k] + "\r\n");
        format.setFontWeight(QFont::Normal);
        format.setForeground(kLordTextColour);
        insert(lordTexts[k] + "\r\n");
        format.setForeground(kPlanetTextColour);
        insert(planetTexts[k] + "\r\n\r\n");
    }
    cursor.endEditBlock();
}
