// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/Startup.h"

#include "formats/DataFiles.h"
#include "forms/ReadingWindow.h"
#include "output/ReadingFiles.h"
#include "pipeline/ReadingPipeline.h"
#include "platform/SystemPath.h"
#include "records/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <filesystem>

namespace {

// While a dialog of the program is open, a handed-over reading waits: opening it would take the
// reading away from under the dialog.
constexpr int kRetryWhileModalMs = 300;

// A name no file can have is refused before anything else: the message would not fit the screen
// with it, and the reading on screen stays.
bool RefuseImpossibleName(const QString& path) {
    if (!platform::LongerThanAnyPath(path))
        return false;
    platform::ShowMessage(QString::fromUtf8(msg::kCheckFile) + "\n" + QString::fromUtf8(msg::kNameTooLong),
                          platform::MessageIcon::Error);
    return true;
}

void OpenHandedOverReading(EntryWindow& form, const QString& path) {
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(kRetryWhileModalMs, &form, [&form, path] { OpenHandedOverReading(form, path); });
        return;
    }
    if (RefuseImpossibleName(path))
        return;
    // As the entry form's open does: from the entry form, which a reading on screen returns to.
    if (ReadingWindow* shown = form.MainWindow())
        shown->returnToEntryForm();
    if (form.isMinimized())
        form.showNormal();
    form.show();
    form.raise();
    form.activateWindow();
    form.OpenSavedReading(path);
}

// The name of a file from the working folder on, as the system finds it; Qt's own would lose bytes
// that are not UTF-8.
QString AbsolutePath(const QString& path) {
#ifdef Q_OS_WIN
    return QFileInfo(path).absoluteFilePath();
#else
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (QDir::isAbsolutePath(path) || ec)
        return QDir::cleanPath(path);
    return QDir::cleanPath(PathFromSystem((here / SystemPath(path)).native()));
#endif
}

} // namespace

QStringList ProgramArguments(int argc, char** argv) {
#ifdef Q_OS_WIN
    // Qt has them from the wide command line; argv holds them in the ANSI code page.
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return QCoreApplication::arguments().mid(1);
#else
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << PathFromSystem(argv[i]);
    return arguments;
#endif
}

void NameProgram() {
    QApplication::setApplicationName(QString::fromLatin1(msg::kHeading));
    QApplication::setApplicationVersion(QString::fromLatin1(msg::kVersion));
}

std::optional<RunningProgram> StartProgram(const QStringList& arguments) {
    UseEphemerisFilesBeside(ProgramFolder());
    // The desktop passes one saved reading; the running copy may have another working folder.
    const QString reading = arguments.size() == 1 ? AbsolutePath(arguments.constFirst()) : QString();
    platform::InstanceStart start = platform::Os().LockSingleInstance(reading);
    switch (start.outcome) {
    case platform::InstanceStart::Outcome::HandedOver:
        return std::nullopt;
    case platform::InstanceStart::Outcome::AlreadyRunning:
        platform::ShowMessage(msg::kAlreadyRunning, platform::MessageIcon::Information);
        return std::nullopt;
    case platform::InstanceStart::Outcome::Unavailable:
        platform::ShowMessage(QString::fromLatin1(msg::kNoInstanceLock) + start.reason,
                              platform::MessageIcon::Error);
        break;
    case platform::InstanceStart::Outcome::First:
        break;
    }
    RunningProgram program;
    program.lock = std::move(start.lock);
    program.entryForm = std::make_unique<EntryWindow>();
    if (program.lock) {
        program.lock->SetReceiver(
            [form = program.entryForm.get()](const QString& path) { OpenHandedOverReading(*form, path); });
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        program.entryForm->adjustSize();
        QRect frame = program.entryForm->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        program.entryForm->move(frame.topLeft());
    }
    program.entryForm->show();
    if (!reading.isEmpty() && !RefuseImpossibleName(reading))
        program.entryForm->OpenSavedReading(reading);
    return program;
}
