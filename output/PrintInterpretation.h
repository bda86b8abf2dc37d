// Printing the house-lords interpretation: the whole rich text, or the selection, with its
// colours and bold headings.
#pragma once

class QPrinter;
class QTextEdit;

// Prints what the printer's range asks for (the selection, when there is one and the user kept
// that choice; otherwise everything). False when the printer could not take the job.
bool PrintInterpretation(const QTextEdit& rtb, QPrinter& printer);
