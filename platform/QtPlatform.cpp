// SPDX-License-Identifier: AGPL-3.0-or-later
#include "platform/QtPlatform.h"

#include "platform/SystemPath.h"

#include <QAbstractButton>
#include <QAbstractPrintDialog>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QLibrary>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {

namespace {

// How long a new copy waits for the running one: to connect, and to answer a handed-over reading.
constexpr int kConnectWaitMs = 2000;
constexpr int kAnswerWaitMs = 5000;
// Copies started together wait this long for their turn to look for a running copy; the turn lasts
// milliseconds, so a turn lock older than that was left behind.
constexpr int kTurnWaitMs = 3000;
// A handed-over reading is one line: the path in UTF-8, percent-encoded. The running copy answers
// it with this.
constexpr char kTaken[] = "taken\n";
constexpr qint64 kLongestRequest = 64 * 1024;

QString UserKey() {
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return QDir::home().dirName();
#endif
}

// The graphical session: the Wayland or X display (without the X screen number), else the login
// session.
QString SessionKey() {
    QString session = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (session.isEmpty()) {
        session = qEnvironmentVariable("DISPLAY");
        const qsizetype colon = session.lastIndexOf(':');
        const qsizetype dot = session.indexOf('.', colon + 1);
        if (colon >= 0 && dot > colon)
            session.truncate(dot);
    }
    if (session.isEmpty())
        session = qEnvironmentVariable("XDG_SESSION_ID");
    QString key;
    for (const QChar c : session)
        key += (c.isLetterOrNumber() && c.unicode() < 128) || c == '-' || c == '.' ? c : QChar('_');
    return key.isEmpty() ? QStringLiteral("console") : key;
}

QString RuntimeFolder() {
    // Qt makes up a folder of its own in the temporary folder when the desktop gives none; the
    // fallback below does better with the user's id in the name.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return {};
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

// Whether whatever lies under the server's name may be a copy of this user's: a file of another
// user's in a shared folder is not.
bool OwnedByThisUser(const QString& serverName) {
#ifdef Q_OS_UNIX
    const QFileInfo info(serverName);
    return !info.exists() || info.ownerId() == ::getuid();
#else
    Q_UNUSED(serverName);
    return true;
#endif
}

// Copies started together (a file manager opening several readings) take turns, so that one of them
// sets up the server and the others find it. Without a turn (a lock file that cannot be made) the
// copy goes on all the same.
std::unique_ptr<QLockFile> TakeTurn(const QString& serverName, bool privateFolder) {
    const QString turnPath = serverName + ".lock";
    if (!privateFolder || QFileInfo(turnPath).isDir())
        return nullptr;
    auto turn = std::make_unique<QLockFile>(turnPath);
    turn->setStaleLockTime(kTurnWaitMs);
    turn->tryLock(kTurnWaitMs);
    return turn;
}

enum class Listener { Copy, BusyCopy, Nobody, Unknown };

// Connects `socket` to whatever listens under the server's name. A copy that does not take the
// connection in time has a full queue of them: it is there, only busy. Only a name that is not
// there or that refuses connections certainly has no copy behind it.
Listener Probe(QLocalSocket& socket, const QString& serverName) {
    socket.connectToServer(serverName);
    if (socket.waitForConnected(kConnectWaitMs))
        return Listener::Copy;
    if (socket.state() == QLocalSocket::ConnectingState)
        return Listener::BusyCopy;
    if (socket.error() == QLocalSocket::ServerNotFoundError ||
        socket.error() == QLocalSocket::ConnectionRefusedError)
        return Listener::Nobody;
    return Listener::Unknown;
}

// Listens under the server's name; call only when no copy answers there. What is left under it
// (the socket of a copy that ended without removing it, an old file) is replaced.
bool Listen(QLocalServer& server, const QString& serverName) {
    if (server.listen(serverName))
        return true;
    if (OwnedByThisUser(serverName))
        QLocalServer::removeServer(serverName);
    return server.listen(serverName);
}

// Sends the reading to the running copy and waits for its answer. The wait runs an event loop of its
// own rather than blocking, so that a running copy in this same process can answer.
bool HandOver(QLocalSocket& socket, const QString& reading) {
    QByteArray answer;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        answer += socket.readAll();
        if (answer.contains('\n'))
            loop.quit();
    });
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Encoded, so that no character of a path can end the line early.
    const QByteArray request = QByteArray::fromStdString(SystemPath(reading)).toPercentEncoding() + '\n';
    if (request.size() > kLongestRequest || socket.write(request) != request.size())
        return false;
    socket.flush();
    timer.start(kAnswerWaitMs);
    loop.exec();
    answer += socket.readAll();
    return answer == kTaken;
}

// The running copy's end: a local server that takes handed-over readings.
class ServerLock final : public QObject, public InstanceLock {
  public:
    ServerLock(std::unique_ptr<QLocalServer> server, QString serverName, bool privateFolder,
               const HandOverLimits& limits)
        : serverName_(std::move(serverName)), privateFolder_(privateFolder), limits_(limits),
          server_(std::move(server)) {
        QObject::connect(server_.get(), &QLocalServer::newConnection, this, [this] { Accept(); });
        // Qt closes a server whose accept fails (the process out of files, say) and removes its
        // name, and says nothing: a later copy would then run beside this one. The timer looks.
        QObject::connect(&watch_, &QTimer::timeout, this, [this] { KeepListening(); });
        watch_.start(limits_.relistenMs);
    }

    ~ServerLock() override {
        // The server closes the connections as it goes; nothing is left to do for them then.
        for (QLocalSocket* client : std::as_const(held_))
            client->disconnect(this);
    }

  private:
    void Accept() {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            if (held_.size() >= limits_.mostConnections)
                Drop(held_.constFirst());
            held_.append(client);
            QObject::connect(client, &QLocalSocket::disconnected, this, [this, client] { Forget(client); });
            QObject::connect(client, &QLocalSocket::readyRead, this, [this, client] { Read(*client); });
            QTimer::singleShot(limits_.connectionMs, client, [this, client] { Drop(client); });
            Read(*client);
        }
    }

    void Forget(QLocalSocket* client) {
        held_.removeOne(client);
        client->deleteLater();
    }

    void Drop(QLocalSocket* client) {
        Forget(client);
        client->abort();
    }

    void Read(QLocalSocket& client) {
        if (!client.canReadLine()) {
            if (client.bytesAvailable() > kLongestRequest)
                Drop(&client);
            return;
        }
        QByteArray line = client.readLine(kLongestRequest);
        line.chop(1);
        client.write(kTaken);
        client.flush();
        client.disconnectFromServer();
        const QString path = PathFromSystem(QByteArray::fromPercentEncoding(line).toStdString());
        // Opened once this slot has returned: the opening may show messages of its own.
        if (!path.isEmpty())
            QMetaObject::invokeMethod(
                server_.get(), [this, path] { Receive(path); }, Qt::QueuedConnection);
    }

    // Takes the name again as a starting copy would, unless another copy has taken it meanwhile:
    // that one keeps it.
    void KeepListening() {
        if (server_->isListening())
            return;
        const std::unique_ptr<QLockFile> turn = TakeTurn(serverName_, privateFolder_);
        QLocalSocket socket;
        switch (OwnedByThisUser(serverName_) ? Probe(socket, serverName_) : Listener::Unknown) {
        case Listener::Copy:
        case Listener::BusyCopy:
            watch_.stop();
            server_->removeEventFilter(this);
            break;
        case Listener::Nobody:
            Listen(*server_, serverName_);
            break;
        case Listener::Unknown: // tried again later
            break;
        }
    }

    const QString serverName_;
    const bool privateFolder_;
    const HandOverLimits limits_;
    QList<QLocalSocket*> held_; // oldest first
    QTimer watch_;
    // Last, so that it goes first: its connections close while the rest still stands.
    std::unique_ptr<QLocalServer> server_;
};

} // namespace

QtPlatform::QtPlatform(QString instanceFolder, HandOverLimits limits) : limits_(limits) {
    if (instanceFolder.isEmpty())
        instanceFolder = RuntimeFolder();
    privateFolder_ = !instanceFolder.isEmpty();
#ifdef Q_OS_WIN
    serverName_ = "quillmere-" + UserKey() + "-" + SessionKey();
#else
    serverName_ = privateFolder_
                      ? QDir(instanceFolder).filePath("quillmere-" + SessionKey())
                      : QDir(QDir::tempPath()).filePath("quillmere-" + UserKey() + "-" + SessionKey());
#endif
}

void QtPlatform::ShowMessage(const QString& text, MessageIcon icon) {
    ShowTitledMessage(text, kMessageTitle, icon);
}

void QtPlatform::ShowTitledMessage(const QString& text, const QString& title, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information, title,
                    text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void QtPlatform::ShowModal(QDialog& dialog) {
    dialog.exec();
}

namespace {

// The nearest folder above `path` whose name is all text.
QString TextFolderAbove(QString path) {
    do
        path = QFileInfo(path).absolutePath();
    while (!IsTextPath(path));
    return path;
}

} // namespace

void SetUpFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setWindowTitle(request.title);
    dialog.setNameFilter(request.filter);
    if (request.kind == FileDialogRequest::Kind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // No default suffix: the dialog would add it to a typed name that has none even when that
        // name is a file of its own ("readingqlm" would become "readingqlm.qlm"). The filter shows
        // the files of the type.
        dialog.setDefaultSuffix(QString());
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(request.defaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
    }
    // A name the dialog cannot show is not proposed (Qt would give back another name, and would not
    // ask before replacing it): the dialog starts in the nearest folder above it that it can show.
    QString presetName = request.presetName;
    QString startFolder = request.startFolder;
    if (!IsTextPath(presetName)) {
        startFolder = TextFolderAbove(presetName);
        presetName.clear();
    } else if (!IsTextPath(startFolder)) {
        startFolder = TextFolderAbove(startFolder);
    }
    if (presetName.isEmpty()) {
        const bool folderStands = !startFolder.isEmpty() && QFileInfo(startFolder).isDir();
        dialog.setDirectory(folderStands ? startFolder : DocumentsFolder());
    } else
        dialog.selectFile(presetName);
}

std::optional<QString> QtPlatform::AskFileName(const FileDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow());
    SetUpFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

namespace {

// The layout among `layout` and its nested layouts that holds `widget` itself.
QLayout* LayoutHolding(QLayout* layout, const QWidget* widget) {
    for (int i = 0; layout && i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget)
            return layout;
        if (QLayout* found = LayoutHolding(item->layout(), widget))
            return found;
    }
    return nullptr;
}

// Qt's own dialog offers "Pages from ... to" and "Pages" even with the range option off, for the
// printing system to pick the pages, which printing to a file ignores: the rows that hold them are
// hidden each time the dialog shows (showing enables them again).
class PageRangeHider : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* dialog = qobject_cast<QWidget*>(watched))
                for (const char* name : {"printRange", "pagesRadioButton"})
                    if (auto* choice = dialog->findChild<QAbstractButton*>(QLatin1String(name)))
                        HideRow(*choice);
        return QObject::eventFilter(watched, event);
    }

  private:
    static void HideRow(QAbstractButton& choice) {
        QLayout* row =
            choice.parentWidget() ? LayoutHolding(choice.parentWidget()->layout(), &choice) : nullptr;
        for (int i = 0; row && i < row->count(); ++i)
            if (QWidget* part = row->itemAt(i)->widget())
                part->hide();
        choice.hide();
    }
};

// Qt's dialog fills its file field from the printer's last file or with print.pdf in the working
// folder; the field is given the proposed name once the dialog has filled it, as it shows.
class FileNameProposer : public QObject {
  public:
    FileNameProposer(QString fileName, QObject* parent) : QObject(parent), fileName_(std::move(fileName)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* field = watched->findChild<QLineEdit*>(QStringLiteral("filename")))
                field->setText(QDir::toNativeSeparators(fileName_));
        return QObject::eventFilter(watched, event);
    }

  private:
    QString fileName_;
};

} // namespace

std::unique_ptr<QPrintDialog> MakePrintDialog(QPrinter& printer, const PrinterRequest& request,
                                              QWidget* parent) {
    // The whole interpretation or the selection is printed, never a range of pages; the dialog
    // takes its first choice from the printer.
    printer.setPrintRange(request.printSelection ? QPrinter::Selection : QPrinter::AllPages);
    printer.setFromTo(0, 0);
    printer.setPageRanges(QPageRanges());
    auto dialog = std::make_unique<QPrintDialog>(&printer, parent);
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile |
                                                       QAbstractPrintDialog::PrintShowPageSize |
                                                       QAbstractPrintDialog::PrintCollateCopies;
    if (request.printSelection)
        options |= QAbstractPrintDialog::PrintSelection;
    dialog->setOptions(options);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog->setPrintRange(request.printSelection ? QAbstractPrintDialog::Selection
                                                 : QAbstractPrintDialog::AllPages);
    dialog->installEventFilter(new PageRangeHider(dialog.get()));
    if (!request.fileName.isEmpty()) {
        // Also the job's name on a printer.
        printer.setDocName(QFileInfo(request.fileName).completeBaseName());
        dialog->installEventFilter(new FileNameProposer(request.fileName, dialog.get()));
    }
    return dialog;
}

bool QtPlatform::AskPrinter(QPrinter& printer, const PrinterRequest& request) {
    const std::unique_ptr<QPrintDialog> dialog =
        MakePrintDialog(printer, request, QApplication::activeWindow());
    confirmedPrintFile_.clear();
    if (dialog->exec() != QDialog::Accepted)
        return false;
#ifndef Q_OS_WIN
    // Qt's dialog, and the Mac's, ask themselves before they close on a file that exists.
    if (printer.outputFormat() == QPrinter::PdfFormat && QFileInfo::exists(printer.outputFileName()))
        confirmedPrintFile_ = printer.outputFileName();
#endif
    // Should a dialog still let a range through, the whole is printed all the same.
    if (printer.printRange() != QPrinter::Selection)
        printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    printer.setPageRanges(QPageRanges());
    return true;
}

bool QtPlatform::AskToReplace(const QString& file, const QString& question) {
    const bool confirmed = !confirmedPrintFile_.isEmpty() && file == confirmedPrintFile_;
    confirmedPrintFile_.clear();
    if (confirmed)
        return true;
    return QMessageBox::question(QApplication::activeWindow(), kMessageTitle, question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool QtPlatform::OpenWebAddress(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

InstanceStart QtPlatform::LockSingleInstance(const QString& readingToHandOver) {
    InstanceStart start;
    const std::unique_ptr<QLockFile> turn = TakeTurn(serverName_, privateFolder_);
    if (OwnedByThisUser(serverName_)) {
        QLocalSocket socket;
        switch (Probe(socket, serverName_)) {
        case Listener::Copy: {
            const bool handed = !readingToHandOver.isEmpty() && HandOver(socket, readingToHandOver);
            start.outcome =
                handed ? InstanceStart::Outcome::HandedOver : InstanceStart::Outcome::AlreadyRunning;
            return start;
        }
        case Listener::BusyCopy:
            start.outcome = InstanceStart::Outcome::AlreadyRunning;
            return start;
        case Listener::Nobody:
        case Listener::Unknown:
            break;
        }
    }

    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!Listen(*server, serverName_)) {
        start.outcome = InstanceStart::Outcome::Unavailable;
        start.reason = serverName_ + ": " + server->errorString();
        return start;
    }
    start.outcome = InstanceStart::Outcome::First;
    start.lock = std::make_unique<ServerLock>(std::move(server), serverName_, privateFolder_, limits_);
    return start;
}

QString QtPlatform::PictureLibraryPath() {
#ifdef Q_OS_WIN
    const QString fileName = "Bmp2Jpeg.dll";
#elif defined(Q_OS_MACOS)
    const QString fileName = "Bmp2Jpeg.dylib";
#else
    const QString fileName = "Bmp2Jpeg.so";
#endif
    return QDir(QCoreApplication::applicationDirPath()).filePath(fileName);
}

bool QtPlatform::PictureLibraryPresent() {
    return QFile::exists(PictureLibraryPath());
}

bool QtPlatform::ConvertBmpToJpeg(const QString& bmpPath, const QString& jpegPath, int quality) {
    return ConvertWithPictureLibrary(PictureLibraryPath(), bmpPath, jpegPath, quality);
}

bool ConvertWithPictureLibrary(const QString& libraryPath, const QString& bmpPath, const QString& jpegPath,
                               int quality) {
    using BmpToJpegFunction = int (*)(const char*, const char*, int);
    // Loaded once and kept: the program calls it for every picture.
    static QLibrary library;
    if (library.fileName() != libraryPath) {
        library.unload();
        library.setFileName(libraryPath);
    }
    const auto convert = reinterpret_cast<BmpToJpegFunction>(library.resolve("BmpToJpeg"));
    if (!convert)
        return false;
    const QByteArray bmp = QFile::encodeName(bmpPath);
    const QByteArray jpeg = QFile::encodeName(jpegPath);
    return convert(bmp.constData(), jpeg.constData(), quality) == 0 && QFileInfo(jpegPath).isFile();
}

namespace {

// The program keeps a few short lines; a larger file is none of its own, and reading it could take
// minutes and gigabytes.
constexpr qint64 kLargestSettingsFile = 1 << 20;

// The user's files the desktop's store reads for the program: its own and its organisation's, found
// without opening them, by a store of a name that has no file (QSettings reads its files as soon as
// it is made).
QStringList SettingsFiles() {
    const QString folder =
        QFileInfo(QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillmere-none"))
                      .fileName())
            .path();
    return {folder + QStringLiteral("/Quillmere/Quillmere.conf"), folder + QStringLiteral("/Quillmere.conf")};
}

// Whether the store's files may be read: each missing or a regular file of a settings file's size. A
// pipe would keep the program from ever starting; either is then left alone, as a damaged file is,
// and the choices are the defaults.
bool SettingsReadable() {
    for (const QString& file : SettingsFiles()) {
        const QFileInfo info(file);
        if (info.exists() && (!info.isFile() || info.size() > kLargestSettingsFile))
            return false;
    }
    return true;
}

#ifdef Q_OS_UNIX
// The choices name a person's folders: the program's own file is made private (0600, in a folder of
// the owner's alone) before the desktop's store first writes it, which keeps the permissions of a
// file it replaces.
void MakeStorePrivate() {
    const QString file = SettingsFiles().constFirst();
    if (QFileInfo::exists(file))
        return;
    const QString folder = QFileInfo(file).path();
    if (!QFileInfo::exists(folder) && QDir().mkpath(QFileInfo(folder).path()))
        QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile created(file);
    if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner))
        created.close();
}
#endif

} // namespace

// The desktop's own place for settings (an INI file under ~/.config on Linux, the registry on Windows).
QString QtPlatform::Setting(const QString& key) {
    if (!SettingsReadable())
        return {};
    return QSettings(QStringLiteral("Quillmere"), QStringLiteral("Quillmere")).value(key).toString();
}

bool QtPlatform::SetSetting(const QString& key, const QString& value) {
    if (!SettingsReadable())
        return false;
#ifdef Q_OS_UNIX
    MakeStorePrivate();
#endif
    QSettings settings(QStringLiteral("Quillmere"), QStringLiteral("Quillmere"));
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace platform
