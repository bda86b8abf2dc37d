#include "forms/Startup.h"

#include "forms/FormTexts.h"

#include <QGuiApplication>
#include <QScreen>

std::optional<RunningProgram> StartProgram(const QStringList& arguments) {
    RunningProgram program;
    program.lock = platform::Os().LockSingleInstance();
    if (!program.lock) {
        platform::ShowMessage(texts::kAlreadyRunning, platform::MessageIcon::Information);
        return std::nullopt;
    }
    program.entryForm = std::make_unique<frmMain>();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        program.entryForm->adjustSize();
        QRect frame = program.entryForm->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        program.entryForm->move(frame.topLeft());
    }
    program.entryForm->show();
    if (arguments.size() == 1)
        program.entryForm->OpenSavedReading(arguments.constFirst());
    return program;
}
