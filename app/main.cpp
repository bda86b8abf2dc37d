// SPDX-License-Identifier: AGPL-3.0-or-later
// Quillmere: a Vedic birth chart and house-lords reading.
#include "forms/Icons.h"
#include "forms/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    NameProgram();
    QApplication::setWindowIcon(AppIcon());

    // The desktop starts the program with a saved reading's path when one is opened from the file
    // manager; nothing else is read from the command line.
    std::optional<RunningProgram> program = StartProgram(ProgramArguments(argc, argv));
    if (!program)
        return 0;
    return QApplication::exec();
}
