// SPDX-License-Identifier: AGPL-3.0-or-later
#include "output/PrintInterpretation.h"

#include "output/ReadingFiles.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

std::function<void(const QString&)> printedFileHook;

// Margins of 2 cm, in the document's own units (pixels at 96 dpi); the layout scales them to the printer.
constexpr qreal kMargin = 2 / 2.54 * 96;

bool IsHeading(const QTextBlock& block) {
    const QTextBlock::iterator first = block.begin();
    return !block.text().trimmed().isEmpty() && !first.atEnd() &&
           first.fragment().charFormat().fontWeight() >= QFont::Bold;
}

QTextBlock NextWithText(QTextBlock block) {
    for (block = block.next(); block.isValid(); block = block.next())
        if (!block.text().trimmed().isEmpty())
            return block;
    return {};
}

QTextBlock PreviousWithText(QTextBlock block) {
    for (block = block.previous(); block.isValid(); block = block.previous())
        if (!block.text().trimmed().isEmpty())
            return block;
    return {};
}

int PageOf(qreal y, qreal pageHeight) {
    return static_cast<int>(std::floor(y / pageHeight));
}

// The page of the block's first or last line.
int LinePage(const QTextBlock& block, bool lastLine, qreal pageHeight) {
    const QTextLayout* text = block.layout();
    const qreal top = block.document()->documentLayout()->blockBoundingRect(block).top();
    if (!text || text->lineCount() == 0)
        return PageOf(top, pageHeight);
    const QTextLine line = text->lineAt(lastLine ? text->lineCount() - 1 : 0);
    return PageOf(top + line.y(), pageHeight);
}

// A heading whose text starts on the next page goes to that page with it. A move shifts what
// follows, which only a whole new layout places right, so the pages are laid out and looked at anew
// after each move.
void KeepHeadingsWithTheirText(QTextDocument& document, const QSizeF& page) {
    for (bool moved = true; moved;) {
        moved = false;
        document.setPageSize(page); // lays the whole document out again
        for (QTextBlock block = document.begin(); block.isValid() && !moved; block = block.next()) {
            if (!IsHeading(block) ||
                (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
                continue;
            const QTextBlock text = NextWithText(block);
            // From the heading's first line (a long heading can break across pages too).
            const int headingPage = LinePage(block, false, page.height());
            if (!text.isValid() || LinePage(text, false, page.height()) == headingPage)
                continue;
            // A heading that is the first text of its page stays: moving it would leave a blank page.
            const QTextBlock before = PreviousWithText(block);
            if (!before.isValid() || LinePage(before, true, page.height()) < headingPage)
                continue;
            QTextBlockFormat format;
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(block).mergeBlockFormat(format);
            moved = true;
        }
    }
}

std::unique_ptr<QTextDocument> DocumentToPrint(const QTextEdit& rtb, const QPrinter& printer) {
    const QTextCursor selection = rtb.textCursor();
    std::unique_ptr<QTextDocument> document;
    if (printer.printRange() == QPrinter::Selection && selection.hasSelection()) {
        document = std::make_unique<QTextDocument>();
        document->setDefaultFont(rtb.document()->defaultFont());
        QTextCursor(document.get()).insertFragment(selection.selection());
    } else {
        document.reset(rtb.document()->clone());
    }
    // The empty lines after the last text would only fill a page of their own.
    QTextBlock last = document->lastBlock();
    if (last.text().trimmed().isEmpty())
        last = PreviousWithText(last);
    if (last.isValid()) {
        QTextCursor tail(document.get());
        tail.setPosition(last.position() + last.length() - 1);
        tail.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        tail.removeSelectedText();
    }
    return document;
}

bool PrinterFailed(const QPrinter& printer) {
    return printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted;
}

// A PDF file is complete when it ends with its end-of-file marker.
bool CompletePdf(const QByteArray& bytes) {
    return bytes.trimmed().endsWith("%%EOF");
}

// The header's type: the name as the printed chart prints it, the rest as its text.
constexpr double kNamePoints = 14;
constexpr double kHeaderPoints = 9.5;

QFont HeaderFont(qsizetype line) {
    QFont font;
    font.setPointSizeF(line == 0 ? kNamePoints : kHeaderPoints);
    font.setBold(line == 0);
    return font;
}

// The header's lines within the page's margins from `top`, then a rule; the height they take.
double PaintHeader(QPainter* painter, QPrinter& printer, const QStringList& header, double top) {
    if (header.isEmpty())
        return 0;
    const double margin = kMargin * printer.resolution() / 96;
    const QRectF area(margin, top, printer.width() - 2 * margin, printer.height());
    double y = top;
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QFont font = HeaderFont(i);
        const QFontMetricsF metrics(font, &printer);
        const QRectF box(area.left(), y, area.width(), area.bottom() - y);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        QRectF used = metrics.boundingRect(box, flags, header[i]);
        if (painter) {
            painter->setFont(font);
            painter->setPen(Qt::black);
            painter->drawText(box, flags, header[i], &used);
        }
        y += std::max(used.height(), metrics.lineSpacing());
    }
    const double line = QFontMetricsF(HeaderFont(1), &printer).lineSpacing();
    y += line / 2;
    if (painter) {
        painter->setPen(QPen(Qt::black, printer.resolution() / 96.0));
        painter->drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    return y + line / 2 - top;
}

// Lays the document out on pages of the printer's printable area below the header and paints them,
// page by page, each under the header.
bool PrintDocument(QTextDocument& document, QPrinter& printer, const QStringList& header) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    layout->setPaintDevice(painter.device());
    QTextFrameFormat frame = document.rootFrame()->frameFormat();
    frame.setMargin(kMargin);
    // The header stands in each page's top margin, widened to hold it; what lies beyond a page
    // still falls off the paper, not under the header.
    const double margin = kMargin * printer.resolution() / 96;
    if (!header.isEmpty())
        frame.setTopMargin(kMargin +
                           PaintHeader(nullptr, printer, header, margin) * 96 / printer.resolution());
    document.rootFrame()->setFrameFormat(frame);
    // A page size of its own: the document is laid out on pages and nothing adds page numbers.
    const QRectF body(0, 0, printer.width(), printer.height());
    KeepHeadingsWithTheirText(document, body.size());

    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            return false;
        }
        PaintHeader(&painter, printer, header, margin);
        const QRectF view(0, page * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        // Paper is white whatever the screen's colours: text without a colour of its own is black.
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}

bool PrintToFile(QPrinter& printer, const std::function<bool(QPrinter&)>& paint, QString* reason) {
    const QString target = printer.outputFileName();
    const QFileInfo targetInfo(target);
    const auto fail = [&](const QString& why) {
        if (reason)
            *reason = QDir::toNativeSeparators(target) + ": " + why;
        return false;
    };
    // Beside the target, hidden, and ending as the target does, which keeps the printer's format.
    QTemporaryFile temporary(
        targetInfo.absoluteDir().filePath("." + targetInfo.fileName() + ".XXXXXX." +
                                          (targetInfo.suffix().isEmpty() ? "pdf" : targetInfo.suffix())));
    if (!temporary.open())
        return fail(temporary.errorString());
    temporary.close();
    printer.setOutputFileName(temporary.fileName());
    const bool painted = paint(printer) && !PrinterFailed(printer);
    printer.setOutputFileName(target);
    if (!painted)
        return fail(QStringLiteral("The printer could not write the file."));
    if (printedFileHook)
        printedFileHook(temporary.fileName());
    QString why;
    const std::optional<QByteArray> bytes = ReadWholeFile(temporary.fileName(), &why);
    if (!bytes)
        return fail(why);
    if (printer.outputFormat() == QPrinter::PdfFormat && !CompletePdf(*bytes))
        return fail(QStringLiteral("The file was not written whole."));
    if (!WriteWholeFile(target, *bytes, &why))
        return fail(why);
    return true;
}

} // namespace

bool PrintInterpretation(const QTextEdit& rtb, QPrinter& printer, QString* reason,
                         const QStringList& header) {
    const std::unique_ptr<QTextDocument> document = DocumentToPrint(rtb, printer);
    return PrintWhole(
        printer, [&document, &header](QPrinter& p) { return PrintDocument(*document, p, header); }, reason);
}

bool PrintWhole(QPrinter& printer, const std::function<bool(QPrinter&)>& paint, QString* reason) {
    if (!printer.outputFileName().isEmpty())
        return PrintToFile(printer, paint, reason);
    // The printer's state, not the painter, tells when the printer cannot start.
    return paint(printer) && !PrinterFailed(printer);
}

void SetPrintedFileHook(std::function<void(const QString&)> hook) {
    printedFileHook = std::move(hook);
}
