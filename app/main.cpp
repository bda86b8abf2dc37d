// Quillmere: a Vedic birth chart and house-lords reading.
#include "forms/Icons.h"
#include "forms/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillmere");
    QApplication::setApplicationVersion("1.15");
    QApplication::setWindowIcon(AppIcon());

    std::optional<RunningProgram> program = StartProgram();
    if (!program)
        return 0;
    return QApplication::exec();
}
