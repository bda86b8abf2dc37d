// SPDX-License-Identifier: AGPL-3.0-or-later
// The platform layer's own logic: the single-instance lock (one copy per user and session, readings
// handed to it, nothing left behind that blocks the next start), the file and printer dialogs as
// they are set up, and the conversion of "description|pattern" file filters.
#include "platform/QtPlatform.h"
#include "platform/SystemPath.h"

#include <QAbstractPrintDialog>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <memory>
#include <string>

using Outcome = platform::InstanceStart::Outcome;

// Readable failures.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

void WriteFile(const QString& path, const QByteArray& bytes, int ageHours = 0) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
    ASSERT_TRUE(f.flush());
    if (ageHours) {
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600 * ageHours),
                                  QFileDevice::FileModificationTime));
    }
}

sockaddr_un Address(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    EXPECT_LT(static_cast<std::size_t>(name.size()), sizeof(address.sun_path));
    std::copy_n(name.begin(), std::min(sizeof(address.sun_path) - 1, std::size_t(name.size())),
                address.sun_path);
    return address;
}

// What a copy that crashed leaves: a socket file that nobody listens on.
void LeaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    const sockaddr_un address = Address(path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(path));
}

// Leaves the process without a free file while a connection waits for the server, so that the
// server's accept fails as it would under 1,100 connections; the files come back with Release.
class OutOfFiles {
  public:
    explicit OutOfFiles(const QString& serverName) {
        ::getrlimit(RLIMIT_NOFILE, &limit_);
        client_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        // The lowest free file was the client's, so none is left below it either.
        rlimit none = limit_;
        none.rlim_cur = static_cast<rlim_t>(client_) + 1;
        ::setrlimit(RLIMIT_NOFILE, &none);
        for (int fd; (fd = ::socket(AF_UNIX, SOCK_STREAM, 0)) >= 0;)
            fillers_.push_back(fd);
        const sockaddr_un address = Address(serverName);
        connected = client_ >= 0 &&
                    ::connect(client_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    }
    ~OutOfFiles() { Release(); }
    void Release() {
        for (const int fd : fillers_)
            ::close(fd);
        fillers_.clear();
        if (client_ >= 0)
            ::close(client_);
        client_ = -1;
        ::setrlimit(RLIMIT_NOFILE, &limit_);
    }
    bool connected = false;

  private:
    rlimit limit_{};
    int client_ = -1;
    std::vector<int> fillers_;
};

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)) {
        old_ = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

} // namespace

// ---------------------------------------------------------------- single instance

TEST(InstanceLockTest, OnlyOneCopyRunsAndTheNextStartsWhenItEnds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::QtPlatform first(dir.path());
    platform::QtPlatform second(dir.path());
    platform::InstanceStart held = first.LockSingleInstance();
    ASSERT_EQ(held.outcome, Outcome::First) << held.reason.toStdString();
    ASSERT_NE(held.lock, nullptr);
    EXPECT_EQ(second.LockSingleInstance().outcome, Outcome::AlreadyRunning);
    EXPECT_EQ(second.LockSingleInstance().outcome, Outcome::AlreadyRunning);
    held.lock.reset();
    const platform::InstanceStart next = second.LockSingleInstance();
    EXPECT_EQ(next.outcome, Outcome::First);
    EXPECT_NE(next.lock, nullptr);
}

TEST(InstanceLockTest, ASavedReadingIsHandedToTheRunningCopy) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::QtPlatform first(dir.path());
    platform::InstanceStart held = first.LockSingleInstance();
    ASSERT_EQ(held.outcome, Outcome::First) << held.reason.toStdString();
    QStringList received;
    held.lock->SetReceiver([&received](const QString& path) { received << path; });

    // Any character a path may hold arrives as it was, a line break and bytes that are not UTF-8
    // included.
    const QStringList paths = {"/home/a/asha.qlm", "/home/a/Gr\u00FC\u00DFe 100%/x\ny.qlm",
                               PathFromSystem("/home/a/caf\xE9.qlm")};
    for (const QString& path : paths) {
        platform::QtPlatform later(dir.path());
        EXPECT_EQ(later.LockSingleInstance(path).outcome, Outcome::HandedOver) << path.toStdString();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == paths.size(); }));
    EXPECT_EQ(received, paths);
}

// Connections that never send a whole request are closed, and beyond the most held at once the
// oldest makes room, so that they cannot use up the running copy's files; hand-overs go on.
TEST(InstanceLockTest, IdleConnectionsAreNotKept) {
    const struct {
        const char* what;
        platform::HandOverLimits limits;
        QByteArray sent;
        int clients;
        int closed; // the first ones, oldest first
    } cases[] = {
        {"silent", {.connectionMs = 50}, "", 2, 2},
        {"half a request", {.connectionMs = 50}, "%2Fhome%2Fa", 2, 2},
        {"too many", {.connectionMs = 600'000, .mostConnections = 4}, "", 6, 3},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        platform::QtPlatform first(dir.path(), c.limits);
        platform::InstanceStart held = first.LockSingleInstance();
        ASSERT_EQ(held.outcome, Outcome::First) << held.reason.toStdString();
        QStringList received;
        held.lock->SetReceiver([&received](const QString& path) { received << path; });
        std::vector<std::unique_ptr<QLocalSocket>> clients;
        for (int i = 0; i < c.clients; ++i) {
            clients.push_back(std::make_unique<QLocalSocket>());
            clients.back()->connectToServer(first.InstanceServerName());
            ASSERT_TRUE(clients.back()->waitForConnected(10'000)) << c.what;
            clients.back()->write(c.sent);
            clients.back()->flush();
        }
        // With too many, the hand-over's own connection is the one that makes the last room.
        platform::QtPlatform later(dir.path());
        EXPECT_EQ(later.LockSingleInstance("/home/a/asha.qlm").outcome, Outcome::HandedOver) << c.what;
        const auto closed = [&clients](int i) {
            return clients[i]->state() == QLocalSocket::UnconnectedState;
        };
        for (int i = 0; i < c.closed; ++i)
            EXPECT_TRUE(QTest::qWaitFor([&] { return closed(i); }, 10'000)) << c.what << " " << i;
        QCoreApplication::processEvents();
        for (int i = c.closed; i < c.clients; ++i)
            EXPECT_FALSE(closed(i)) << c.what << " " << i;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); })) << c.what;
    }
}

// Qt closes a server whose accept fails for want of files and removes its name. The running copy
// listens again once it can, unless another copy has taken the name meanwhile.
TEST(InstanceLockTest, AServerThatStopsListeningListensAgain) {
    for (const bool anotherCopyInBetween : {false, true}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        platform::QtPlatform first(dir.path(), {.relistenMs = 20});
        platform::InstanceStart held = first.LockSingleInstance();
        ASSERT_EQ(held.outcome, Outcome::First) << held.reason.toStdString();
        QStringList received;
        held.lock->SetReceiver([&received](const QString& path) { received << path; });
        const QString name = first.InstanceServerName();

        OutOfFiles outOfFiles(name);
        ASSERT_TRUE(outOfFiles.connected);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(name); }, 10'000))
            << "the server's accept did not fail";
        outOfFiles.Release();

        if (!anotherCopyInBetween) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(name); }, 10'000));
            platform::QtPlatform later(dir.path());
            EXPECT_EQ(later.LockSingleInstance("/home/a/asha.qlm").outcome, Outcome::HandedOver);
            EXPECT_TRUE(QTest::qWaitFor([&] { return received == QStringList{"/home/a/asha.qlm"}; }));
            continue;
        }
        // Started before the first copy's next try, which finds it and leaves it the name.
        QLocalServer other;
        ASSERT_TRUE(other.listen(name));
        QSignalSpy looked(&other, &QLocalServer::newConnection);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !looked.isEmpty(); }, 10'000));
        EXPECT_TRUE(other.isListening());
        QLocalSocket socket;
        socket.connectToServer(name);
        EXPECT_TRUE(socket.waitForConnected(10'000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return looked.size() == 2; }, 10'000));
    }
}

// A copy whose queue of connections is full does not answer in time, but it is there: a later copy
// does not take its name.
TEST(InstanceLockTest, ABusyCopyKeepsItsName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::QtPlatform next(dir.path());
    const sockaddr_un address = Address(next.InstanceServerName());
    const auto* where = reinterpret_cast<const sockaddr*>(&address);
    const int busy = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(busy, where, sizeof(address)), 0);
    ASSERT_EQ(::listen(busy, 0), 0);
    std::vector<int> waiting;
    for (int queued = 0; queued < 64; ++queued) {
        waiting.push_back(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0));
        if (::connect(waiting.back(), where, sizeof(address)) != 0)
            break;
    }
    ASSERT_EQ(errno, EAGAIN) << "the queue did not fill";
    EXPECT_EQ(next.LockSingleInstance("/home/a/asha.qlm").outcome, Outcome::AlreadyRunning);
    for (const int fd : waiting)
        ::close(fd);
    ::close(busy);
}

TEST(InstanceLockTest, WhatEarlierCopiesLeftBehindDoesNotBlock) {
    const struct {
        const char* what;
        std::function<void(const QString& serverName)> leave;
    } cases[] = {
        {"the socket of a copy that crashed", [](const QString& name) { LeaveStaleSocket(name); }},
        {"an empty file under the server's name", [](const QString& name) { WriteFile(name, ""); }},
        {"a garbled file under the server's name",
         [](const QString& name) { WriteFile(name, "\x01garbage\n"); }},
        {"garbled lock files",
         [](const QString& name) {
             WriteFile(name + ".lock", "garbage\nnot a pid\n", 1);
             WriteFile(QFileInfo(name).dir().filePath("quillmere-" + QString::number(::getuid()) + ".lock"),
                       "");
         }},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        platform::QtPlatform next(dir.path());
        c.leave(next.InstanceServerName());
        const platform::InstanceStart start = next.LockSingleInstance("/home/a/asha.qlm");
        EXPECT_EQ(start.outcome, Outcome::First) << c.what << ": " << start.reason.toStdString();
        // and it is a working lock
        platform::QtPlatform after(dir.path());
        EXPECT_EQ(after.LockSingleInstance().outcome, Outcome::AlreadyRunning) << c.what;
    }
}

TEST(InstanceLockTest, AServerOfAnotherUserIsNotTakenForACopy) {
    if (::getuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::QtPlatform next(dir.path());
    // Another user listens under this user's name, hoping to be taken for a running copy.
    QLocalServer impostor;
    ASSERT_TRUE(impostor.listen(next.InstanceServerName()));
    ASSERT_EQ(::chown(QFile::encodeName(next.InstanceServerName()).constData(), 54321, 54321), 0);
    EXPECT_NE(next.LockSingleInstance().outcome, Outcome::AlreadyRunning);
}

TEST(InstanceLockTest, ALockThatCannotBeMadeIsReportedAsSuch) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        platform::QtPlatform missingFolder(dir.filePath("no/such/folder"));
        const platform::InstanceStart start = missingFolder.LockSingleInstance();
        EXPECT_EQ(start.outcome, Outcome::Unavailable);
        EXPECT_EQ(start.lock, nullptr);
        EXPECT_TRUE(start.reason.contains(missingFolder.InstanceServerName())) << start.reason.toStdString();
    }
    platform::QtPlatform folderInTheWay(dir.path());
    ASSERT_TRUE(QDir().mkpath(folderInTheWay.InstanceServerName() + "/kept"));
    EXPECT_EQ(folderInTheWay.LockSingleInstance().outcome, Outcome::Unavailable);
    EXPECT_TRUE(QFileInfo::exists(folderInTheWay.InstanceServerName() + "/kept"));
}

TEST(InstanceLockTest, EachGraphicalSessionHasACopyOfItsOwn) {
    ScopedEnv wayland("WAYLAND_DISPLAY", QByteArray());
    ScopedEnv session("XDG_SESSION_ID", "c7");
    const auto nameFor = [](const char* display) {
        ScopedEnv set("DISPLAY", display ? QByteArray(display) : QByteArray());
        return platform::QtPlatform("/run/user/1000").InstanceServerName();
    };
    EXPECT_NE(nameFor(":0"), nameFor(":1"));
    EXPECT_EQ(nameFor(":0"), nameFor(":0.1")); // screens of one display are one session
    EXPECT_NE(nameFor(nullptr), nameFor(":0"));
    EXPECT_TRUE(nameFor(":0").startsWith("/run/user/1000/quillmere-"));
    EXPECT_EQ(QFileInfo(nameFor("../../etc/x:0")).path(), "/run/user/1000"); // no way out of the folder
    ScopedEnv noRuntime("XDG_RUNTIME_DIR", QByteArray());
    // Without a runtime folder the user's id tells users apart in the shared temporary folder.
    EXPECT_TRUE(QFileInfo(platform::QtPlatform().InstanceServerName())
                    .fileName()
                    .startsWith("quillmere-" + QString::number(::getuid()) + "-"));
}

// The longest path is what the system itself takes: one byte more and it refuses the name as too
// long rather than looking for the file. Bytes count, not characters.
TEST(PathTest, NoPathIsLongerThanTheSystemTakes) {
    const auto path = [](int bytes, const QString& unit) {
        QString p = "/";
        while (p.toUtf8().size() + unit.toUtf8().size() + 1 <= bytes)
            p += unit + "/";
        while (p.toUtf8().size() < bytes)
            p += "a";
        return p;
    };
    const struct {
        int bytes;
        QString unit;
        bool tooLong;
    } cases[] = {{PATH_MAX - 1, "a", false},
                 {PATH_MAX, "a", true},
                 {PATH_MAX - 1, "\u00E9", false},
                 {PATH_MAX, "\u00E9", true}};
    for (const auto& c : cases) {
        const QString p = path(c.bytes, c.unit);
        ASSERT_EQ(p.toUtf8().size(), c.bytes);
        struct stat info {};
        errno = 0;
        EXPECT_EQ(::stat(p.toUtf8().constData(), &info), -1);
        EXPECT_EQ(errno == ENAMETOOLONG, c.tooLong) << c.bytes; // the system's own word
        EXPECT_EQ(platform::LongerThanAnyPath(p), c.tooLong) << c.bytes;
    }
}

// ---------------------------------------------------------------- dialogs

TEST(FileDialogTest, AnOpenDialogTakesAnExistingNameAsItIsTyped) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("readingqlm"), "x");
    WriteFile(dir.filePath("chart.qlm"), "x");
    const struct {
        platform::FileDialogRequest::Kind kind;
        const char* typed;
        const char* chosen;
    } cases[] = {
        {platform::FileDialogRequest::Kind::Open, "readingqlm", "readingqlm"},
        {platform::FileDialogRequest::Kind::Open, "chart.qlm", "chart.qlm"},
        {platform::FileDialogRequest::Kind::Save, "chart", "chart.qlm"},
        {platform::FileDialogRequest::Kind::Save, "readingqlm", "readingqlm.qlm"},
    };
    for (const auto& c : cases) {
        platform::FileDialogRequest request;
        request.kind = c.kind;
        request.filter = "Quillmere (*.qlm)";
        request.defaultSuffix = "qlm";
        request.fileMustExist = c.kind == platform::FileDialogRequest::Kind::Open;
        request.presetName = dir.filePath(c.typed);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        platform::SetUpFileDialog(dialog, request);
        EXPECT_EQ(dialog.selectedFiles(), QStringList{dir.filePath(c.chosen)}) << c.typed;
    }
}

// Without a name, a dialog starts in the folder it is given while that is a folder, else in the
// documents folder.
TEST(FileDialogTest, WithoutANameDialogsStartInTheirFolderOrTheDocumentsFolder) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    ScopedEnv setHome("HOME", QFile::encodeName(home.path()));
    ScopedEnv noUserDirs("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    // No documents folder: the home folder.
    EXPECT_EQ(platform::DocumentsFolder(), home.path());
    ASSERT_TRUE(QDir(home.path()).mkdir("Documents"));
    EXPECT_EQ(platform::DocumentsFolder(), home.filePath("Documents"));
    ASSERT_TRUE(QDir(home.path()).mkdir("readings"));
    QFile file(home.filePath("a file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::pair<QString, QString> folders[] = {
        {"", "Documents"}, {"readings", "readings"}, {"gone", "Documents"}, {"a file", "Documents"}};
    for (const auto kind :
         {platform::FileDialogRequest::Kind::Open, platform::FileDialogRequest::Kind::Save}) {
        for (const auto& [given, started] : folders) {
            platform::FileDialogRequest request;
            request.kind = kind;
            request.startFolder = given.isEmpty() ? QString() : home.filePath(given);
            QFileDialog dialog;
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            platform::SetUpFileDialog(dialog, request);
            EXPECT_EQ(dialog.directory().absolutePath(), home.filePath(started)) << given.toStdString();
        }
    }
}

// Qt neither lists nor returns a name that is not UTF-8: such a name or folder is not proposed, and the
// dialog starts in the nearest folder above it that it can show.
TEST(FileDialogTest, ANameThatIsNotUtf8IsNotProposed) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = SystemPath(dir.path());
    ASSERT_EQ(::mkdir((folder + "/f\xe9").c_str(), 0700), 0);
    // Qt cannot list these names, so QTemporaryDir would leave them behind.
    const std::unique_ptr<const std::string, void (*)(const std::string*)> removeNames(
        &folder, [](const std::string* f) {
            ::unlink((*f + "/r\xe9\xff\x80.qlm").c_str());
            ::unlink((*f + "/f\xe9/chart.qlm").c_str());
            ::rmdir((*f + "/f\xe9").c_str());
        });
    for (const char* name : {"/r\xe9\xff\x80.qlm", "/f\xe9/chart.qlm"}) {
        const int fd = ::open((folder + name).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0) << name;
        ::close(fd);
    }
    const struct {
        const char* preset;
        const char* start;
    } cases[] = {{"/r\xe9\xff\x80.qlm", ""}, {"/f\xe9/chart.qlm", ""}, {"", "/f\xe9"}};
    for (const auto kind :
         {platform::FileDialogRequest::Kind::Open, platform::FileDialogRequest::Kind::Save}) {
        for (const auto& c : cases) {
            platform::FileDialogRequest request;
            request.kind = kind;
            if (*c.preset)
                request.presetName = PathFromSystem(folder + c.preset);
            if (*c.start)
                request.startFolder = PathFromSystem(folder + c.start);
            QFileDialog dialog;
            dialog.setOption(QFileDialog::DontUseNativeDialog);
            platform::SetUpFileDialog(dialog, request);
            EXPECT_EQ(dialog.directory().absolutePath(), dir.path()) << c.preset << c.start;
            for (const QString& selected : dialog.selectedFiles())
                EXPECT_TRUE(IsTextPath(selected)) << c.preset << c.start;
        }
    }
}

TEST(PrintDialogTest, NoPageRangeIsOffered) {
    for (const bool selection : {false, true}) {
        QPrinter printer;
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        const std::unique_ptr<QPrintDialog> dialog = platform::MakePrintDialog(printer, {selection, {}});
        EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
        EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintCurrentPage));
        EXPECT_EQ(dialog->testOption(QAbstractPrintDialog::PrintSelection), selection);
        EXPECT_EQ(dialog->printRange(),
                  selection ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
        EXPECT_EQ(printer.printRange(), selection ? QPrinter::Selection : QPrinter::AllPages);
        EXPECT_EQ(printer.fromPage(), 0);
        EXPECT_EQ(printer.toPage(), 0);
        EXPECT_TRUE(printer.pageRanges().isEmpty());
        // On screen, with its options open: Qt offers a range of its own where the options leave it
        // none (a printing system's range, which a file ignores). No control names pages to pick.
        dialog->show();
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text().startsWith("&Options"))
                button->click();
        QCoreApplication::processEvents();
        int shown = 0;
        for (const QAbstractButton* choice : dialog->findChildren<QAbstractButton*>()) {
            if (!choice->isVisible())
                continue;
            ++shown;
            EXPECT_FALSE(choice->text().contains("Pages") || choice->text().contains("Current Page"))
                << choice->text().toStdString();
        }
        EXPECT_GT(shown, 5); // the options are open
        int numbers = 0;     // the count of copies only
        for (const QAbstractSpinBox* number : dialog->findChildren<QAbstractSpinBox*>())
            numbers += number->isVisible() ? 1 : 0;
        EXPECT_EQ(numbers, 1);
        dialog->hide();
    }
}

// The file field shows the proposed name, not the last print's file nor print.pdf in the working
// folder; without a proposal it stays as Qt fills it.
TEST(PrintDialogTest, TheFileFieldShowsTheProposedName) {
    const struct {
        QString lastFile, proposed, shown;
    } cases[] = {
        {"/nowhere/last.pdf", "/nowhere/Asha Rao chart.pdf", "/nowhere/Asha Rao chart.pdf"},
        {"", "/nowhere/Asha Rao chart.pdf", "/nowhere/Asha Rao chart.pdf"},
        {"/nowhere/last.pdf", "", "/nowhere/last.pdf"},
    };
    for (const auto& c : cases) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(c.lastFile);
        platform::PrinterRequest request;
        request.fileName = c.proposed;
        const std::unique_ptr<QPrintDialog> dialog = platform::MakePrintDialog(printer, request);
        dialog->show();
        QCoreApplication::processEvents();
        auto* field = dialog->findChild<QLineEdit*>("filename");
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(), c.shown) << c.proposed.toStdString();
        dialog->hide();
    }
}

TEST(FileNameTest, TheProposedNameTakesTheDialogsOwnSuffix) {
    const std::pair<const char*, const char*> cases[] = {
        {"/a/b.qlm", "/a/b.txt"},
        {"/a/b.txt", "/a/b.txt"},
        {"/a/readingqlm", "/a/readingqlm.txt"},
        {"/a/my.chart.qlm", "/a/my.chart.txt"},
        {"/a/john.doe/chart", "/a/john.doe/chart.txt"},
        {"/a/.notes", "/a/.notes.txt"},
        {"", ""},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(platform::WithSuffix(path, "txt"), expected) << path;
}

TEST(FileFilterTest, PipeFiltersBecomeQtFilters) {
    EXPECT_EQ(platform::QtFileFilter("Quillmere (*.qlm)|*.qlm"), "Quillmere (*.qlm)");
    EXPECT_EQ(platform::QtFileFilter("JPEG Image (*.jpg)|*.jpg"), "JPEG Image (*.jpg)");
    EXPECT_EQ(platform::QtFileFilter("Text|*.txt|All files|*.*"), "Text (*.txt);;All files (*.*)");
}
