#include "output/PrintInterpretation.h"

#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <memory>

bool PrintInterpretation(const QTextEdit& rtb, QPrinter& printer) {
    const QTextCursor selection = rtb.textCursor();
    std::unique_ptr<QTextDocument> document;
    if (printer.printRange() == QPrinter::Selection && selection.hasSelection()) {
        document = std::make_unique<QTextDocument>();
        document->setDefaultFont(rtb.document()->defaultFont());
        QTextCursor(document.get()).insertFragment(selection.selection());
    } else {
        document.reset(rtb.document()->clone());
    }
    // The document's print says nothing when the printer cannot start (no device, a file that
    // cannot be written); the printer's state does.
    document->print(&printer);
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}
