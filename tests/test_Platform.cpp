// The platform layer's own logic: the single-instance lock (one copy per user and session, readings
// handed to it, nothing left behind that blocks the next start), the file and printer dialogs as
// they are set up, and the conversion of "description|pattern" file filters.
#include "platform/QtPlatform.h"

#include <QAbstractPrintDialog>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLocalServer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

// What a copy that crashed leaves: a socket file that nobody listens on.
void LeaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    ASSERT_LT(static_cast<std::size_t>(name.size()), sizeof(address.sun_path));
    std::copy(name.begin(), name.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(path));
}

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

    // Any character a path may hold arrives as it was, a line break included.
    const QStringList paths = {"/home/a/asha.qlm", "/home/a/Gr\u00FC\u00DFe 100%/x\ny.qlm"};
    for (const QString& path : paths) {
        platform::QtPlatform later(dir.path());
        EXPECT_EQ(later.LockSingleInstance(path).outcome, Outcome::HandedOver) << path.toStdString();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == paths.size(); }));
    EXPECT_EQ(received, paths);
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

TEST(FileDialogTest, WithoutANameDialogsStartInTheDocumentsFolder) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    ScopedEnv setHome("HOME", QFile::encodeName(home.path()));
    ScopedEnv noUserDirs("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    // No documents folder: the home folder.
    EXPECT_EQ(platform::DocumentsFolder(), home.path());
    ASSERT_TRUE(QDir(home.path()).mkdir("Documents"));
    EXPECT_EQ(platform::DocumentsFolder(), home.filePath("Documents"));
    for (const auto kind :
         {platform::FileDialogRequest::Kind::Open, platform::FileDialogRequest::Kind::Save}) {
        platform::FileDialogRequest request;
        request.kind = kind;
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        platform::SetUpFileDialog(dialog, request);
        EXPECT_EQ(dialog.directory().absolutePath(), home.filePath("Documents"));
    }
}

TEST(PrintDialogTest, NoPageRangeIsOffered) {
    for (const bool selection : {false, true}) {
        QPrinter printer;
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        const std::unique_ptr<QPrintDialog> dialog = platform::MakePrintDialog(printer, {selection});
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
