// SPDX-License-Identifier: AGPL-3.0-or-later
// Printing the house-lords interpretation: the whole rich text, or the selection, with its
// colours and bold headings, under the person's name and birth data on every page, laid out on the printer's
// pages without page numbers, each heading kept on one page with the text that follows it.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QTextEdit;

// Prints what the printer's range asks for (the selection, when there is one and the user kept
// that choice; otherwise everything). False when the printer could not take the job; `reason` (when
// given) then says why, where that is known.
// A printer that prints to a file writes a temporary file beside it first; the file is replaced
// only by a complete print, so a failure leaves an earlier file as it was.
// `header`, when given, opens every page: its first line (the name) in large bold type, the others
// (the birth data, how the reading was made) in plain text, then a rule.
bool PrintInterpretation(const QTextEdit& rtb, QPrinter& printer, QString* reason = nullptr,
                         const QStringList& header = {});

// Prints the pages that `paint` draws on the printer it is given (false when it could not draw
// them), to a file whole or not at all as above.
bool PrintWhole(QPrinter& printer, const std::function<bool(QPrinter&)>& paint, QString* reason = nullptr);

// Test seam: called with the finished temporary file of a print to a file, before it is checked and
// put in place, so that a test can spoil it as a full disk would. Empty function: no hook.
void SetPrintedFileHook(std::function<void(const QString& temporaryFile)> hook);
