// SPDX-License-Identifier: AGPL-3.0-or-later
// What a reading leaves behind: the saved reading and its opening, the text export, the printed
// interpretation and the picture of the display, each through scripted dialogs into a temporary
// folder.
#include "support/FormTestSupport.h"
#include "support/TestBirths.h"

#include "formats/AtomicFile.h"
#include "formats/ChartExport.h"
#include "formats/SavedReadingFile.h"
#include "output/PictureExport.h"
#include "output/PrintInterpretation.h"
#include "output/ReadingFiles.h"
#include "platform/SystemPath.h"
#include "records/Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>

#include <sys/stat.h>

#include <cerrno>
#include <functional>

namespace {

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList PlanetTable(const ReadingView& d) {
    QStringList out;
    for (int i = 0; i < 7; ++i)
        out << Label(d, QString("Planet_%1").arg(i))->text();
    out << Label(d, "lblLagna")->text() << Label(d, "lblNakshatra")->text()
        << Label(d, "lblAyanamsha")->text();
    return out;
}

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Whether the first page of the PDF shows ink of roughly this colour.
bool PdfShowsColour(const QString& pdf, const QColor& colour, const QString& work) {
    QProcess p;
    p.start("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", pdf, work + "/page"});
    p.waitForFinished(30000);
    QImage page;
    for (const QString& name : QDir(work).entryList({"page*.png"}))
        page.load(work + "/" + name);
    if (page.isNull())
        return false;
    int hits = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
                std::abs(c.blue() - colour.blue()) < 40)
                ++hits;
        }
    return hits > 20;
}

QStringList BitmapsIn(const QString& folder) {
    return QDir(folder).entryList({"*.bmp", "*.BMP"}, QDir::Files);
}

} // namespace

class ReadingFilesTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    ReadingWindow* ComputeShown(const BirthEntry& e) {
        ReadingWindow* readingWindow = Compute(e);
        EXPECT_NE(readingWindow, nullptr) << fake.MessageTexts().join(" | ").toStdString();
        return readingWindow;
    }
    void BackToForm(ReadingWindow* readingWindow) {
        readingWindow->returnToEntryForm();
        ProcessDeferredDeletes();
    }

    QTemporaryDir dir;
};

// ---------------------------------------------------------------- saved readings

TEST_F(ReadingFilesTest, SaveThenOpenGivesTheSameReading) {
    BirthEntry entry = Entry1947();
    entry.name = "  Asha  Rao ";
    ReadingWindow* readingWindow = ComputeShown(entry);
    ASSERT_NE(readingWindow, nullptr);
    const QStringList before = PlanetTable(readingWindow->Display());

    fake.fileAnswers.push_back(Path("delhi.qlm"));
    QAbstractButton* saveButton = Button(*readingWindow, "cmdSave");
    saveButton->setEnabled(true);
    saveButton->click();
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    const platform::FileDialogRequest& save = fake.fileRequests[0];
    EXPECT_EQ(save.kind, platform::FileDialogRequest::Kind::Save);
    EXPECT_EQ(save.title, "Quillmere");
    EXPECT_EQ(save.filter, "Quillmere (*.qlm)");
    EXPECT_EQ(save.defaultSuffix, "qlm");
    EXPECT_EQ(save.presetName, "");
    EXPECT_TRUE(save.promptOverwrite);
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(form->LastFileName(), Path("delhi.qlm"));
    EXPECT_EQ(Read(Path("delhi.qlm")), QByteArray::fromStdString(*EncodeSavedReading(BirthOf(entry))));

    BackToForm(readingWindow);
    FillForm(*form, Entry1980());
    fake.fileAnswers.push_back(Path("delhi.qlm"));
    Button(*form, "cmdOpen")->click();
    const platform::FileDialogRequest& open = fake.fileRequests.back();
    EXPECT_EQ(open.kind, platform::FileDialogRequest::Kind::Open);
    EXPECT_EQ(open.title, "Select the source file");
    EXPECT_EQ(open.filter, "Quillmere (*.qlm)");
    EXPECT_EQ(open.defaultSuffix, "qlm");
    EXPECT_EQ(open.presetName, "");
    EXPECT_TRUE(open.fileMustExist);

    ReadingWindow* reopened = form->MainWindow();
    ASSERT_NE(reopened, nullptr) << fake.MessageTexts().join(" | ").toStdString();
    EXPECT_EQ(PlanetTable(reopened->Display()), before);
    EXPECT_EQ(Box(*form, "txtName")->text(), "Asha  Rao"); // saved without its surrounding blanks
    EXPECT_EQ(List(*form, "cboTimeZone")->currentIndex(), 34);
    EXPECT_EQ(List(*form, "cboYear")->currentText(), "1947");
    EXPECT_EQ(Box(*form, "txtLonDeg")->text(), "77");
    EXPECT_TRUE(Button(*form, "optLong_0")->isChecked());
}

TEST_F(ReadingFilesTest, FlagsComeBackIntoTheirControls) {
    BirthEntry entry = MakeEntry(1976, 7, 4, 14, 15, 27, "40", "43", true, "74", "0", false, true);
    ReadingWindow* readingWindow = ComputeShown(entry);
    ASSERT_NE(readingWindow, nullptr);
    fake.fileAnswers.push_back(Path("ny.qlm"));
    readingWindow->saveReading();
    BackToForm(readingWindow);
    FillForm(*form, Entry1947());
    fake.fileAnswers.push_back(Path("ny.qlm"));
    form->openReading();
    EXPECT_TRUE(Button(*form, "optLong_1")->isChecked()); // West
    EXPECT_TRUE(Button(*form, "optLat_1")->isChecked());  // South
    EXPECT_TRUE(Button(*form, "chkDST")->isChecked());
    EXPECT_EQ(List(*form, "cboHour")->currentText(), "14");
    EXPECT_EQ(List(*form, "cboMinute")->currentText(), "15");
}

TEST_F(ReadingFilesTest, TheOpenerRefusesWhatIsNotASavedReadingAndLeavesTheFormAlone) {
    ReadingWindow* readingWindow = ComputeShown(Entry1980());
    fake.fileAnswers.push_back(Path("good.qlm"));
    readingWindow->saveReading();
    BackToForm(readingWindow);
    const QByteArray good = Read(Path("good.qlm"));
    ASSERT_FALSE(good.isEmpty());

    Write(Path("upper.QLM"), good);
    Write(Path("junk.qlm"), "this is not a saved reading\r\n");
    QByteArray digitName = good;
    digitName[0] = static_cast<char>('7' + 85); // a digit where the filter allows letters only
    Write(Path("digits.qlm"), digitName);
    QDir(dir.path()).mkdir("folder.qlm");

    QByteArray cut = good;
    cut.chop(4); // the last line cut inside its text
    Write(Path("cut.qlm"), cut);
    ASSERT_EQ(::mkfifo(Path("pipe.qlm").toLocal8Bit().constData(), 0600), 0);

    FillForm(*form, Entry1947());
    const BirthEntry shown = form->BuildEntry();
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"upper.QLM", "The name does not end in \"qlm\"."},
        {"junk.qlm", "It has fewer than 17 lines."},
        {"digits.qlm", "Line 1 holds a character that is not a letter or a blank."},
        {"folder.qlm", "It is a folder, not a file."},
        {"missing.qlm", "It cannot be read. There is no such file or folder."},
        {"cut.qlm", "Line 17 is not ended by CR LF."},
        {"pipe.qlm", "It is not a regular file."}, // opening it must not wait for a writer
    };
    for (const auto& c : cases) {
        fake.messages.clear();
        fake.fileAnswers.push_back(Path(c.name));
        Button(*form, "cmdOpen")->click();
        EXPECT_EQ(fake.MessageTexts(), QStringList{"Please Check The File.\n" + Path(c.name) + ": " +
                                                   QString::fromUtf8(c.reason)});
        EXPECT_EQ(fake.messages.back().icon, platform::MessageIcon::Error);
        EXPECT_EQ(form->MainWindow(), nullptr) << c.name;
        EXPECT_EQ(form->BuildEntry().name, shown.name);
        EXPECT_EQ(form->BuildEntry().year, shown.year);
        EXPECT_EQ(form->BuildEntry().zoneRow, shown.zoneRow);
    }

    // A good file that the system fails to open or read.
    Write(Path("good.qlm"), good);
    for (const FileStep step : {FileStep::ReadOpen, FileStep::Read}) {
        fake.messages.clear();
        SetFileFaultHook([step](FileStep s) { return s == step ? EIO : 0; });
        fake.fileAnswers.push_back(Path("good.qlm"));
        Button(*form, "cmdOpen")->click();
        SetFileFaultHook({});
        EXPECT_EQ(fake.MessageTexts(),
                  QStringList{"Please Check The File.\n" + Path("good.qlm") +
                              ": It cannot be read. An input or output error occurred."});
        EXPECT_EQ(form->MainWindow(), nullptr);
        EXPECT_EQ(form->BuildEntry().name, shown.name);
    }

    // Cancelling says nothing.
    fake.messages.clear();
    Button(*form, "cmdOpen")->click();
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(form->MainWindow(), nullptr);

    // "qlm" without a dot before it is accepted.
    Write(Path("readingqlm"), good);
    fake.fileAnswers.push_back(Path("readingqlm"));
    Button(*form, "cmdOpen")->click();
    EXPECT_NE(form->MainWindow(), nullptr) << fake.MessageTexts().join(" | ").toStdString();
}

TEST_F(ReadingFilesTest, AReadableFileThatFailsValidationStillFillsTheForm) {
    ReadingWindow* readingWindow = ComputeShown(Entry1980());
    fake.fileAnswers.push_back(Path("good.qlm"));
    readingWindow->saveReading();
    BackToForm(readingWindow);
    QByteArray noName = Read(Path("good.qlm"));
    noName.remove(0, noName.indexOf("\r\n"));
    Write(Path("noname.qlm"), noName);

    FillForm(*form, Entry1947());
    fake.messages.clear();
    fake.fileAnswers.push_back(Path("noname.qlm"));
    Button(*form, "cmdOpen")->click();
    EXPECT_EQ(fake.MessageTexts(), QStringList{"Please Enter Your Name"});
    EXPECT_EQ(Box(*form, "txtName")->text(), "");
    EXPECT_EQ(List(*form, "cboYear")->currentText(), "1980");
    EXPECT_EQ(form->MainWindow(), nullptr);
}

TEST_F(ReadingFilesTest, AFailedSaveIsReportedAndChangesNothing) {
    ReadingWindow* readingWindow = ComputeShown(Entry1980());
    fake.fileAnswers.push_back(Path("first.qlm"));
    readingWindow->saveReading();
    ASSERT_EQ(form->LastFileName(), Path("first.qlm"));

    // The writer's reason reaches the message.
    QDir(dir.path()).mkdir("taken.qlm");
    QDir(dir.path()).mkdir("taken.txt");
    for (const QString& name : {QString("locked.qlm"), QString("locked.txt")}) {
        Write(Path(name), "read-only");
        QFile::setPermissions(Path(name), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }
    const struct {
        QString stem;
        const char* reason;
    } cases[] = {
        {Path("taken"), "It is a folder, not a file."},
        {Path("no/such/folder/x"), "There is no such file or folder."},
        {Path("locked"), "The file is read-only."},
    };
    for (const auto& c : cases) {
        for (const QString& suffix : {QString(".qlm"), QString(".txt")}) {
            fake.messages.clear();
            fake.fileAnswers.push_back(c.stem + suffix);
            if (suffix == ".qlm")
                readingWindow->saveReading();
            else
                readingWindow->exportChart();
            ASSERT_EQ(fake.messages.size(), 1u) << c.reason;
            const QString text = fake.messages.back().text;
            EXPECT_TRUE(text.startsWith("The file could not be saved.")) << text.toStdString();
            EXPECT_TRUE(text.endsWith(QString::fromUtf8(c.reason))) << text.toStdString();
            EXPECT_EQ(fake.messages.back().icon, platform::MessageIcon::Error);
            EXPECT_EQ(form->LastFileName(), Path("first.qlm"));
        }
    }
    EXPECT_TRUE(QFileInfo(Path("taken.qlm")).isDir());
    EXPECT_EQ(Read(Path("locked.txt")), "read-only");
    // Nothing half-written is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{"first.qlm", "locked.qlm", "locked.txt"}));
}

// A full disk at any step of writing: the message, the earlier file whole, no temporary file left.
TEST_F(ReadingFilesTest, AFullDiskKeepsTheEarlierFileAndIsReported) {
    ReadingWindow* readingWindow = ComputeShown(Entry1980());
    for (const QString& name : {QString("kept.qlm"), QString("kept.txt")})
        Write(Path(name), "earlier contents");
    form->SetLastFileName("before");
    for (const FileStep step :
         {FileStep::Open, FileStep::Write, FileStep::Flush, FileStep::Close, FileStep::Rename}) {
        SetFileFaultHook([step](FileStep s) { return s == step ? ENOSPC : 0; });
        for (const QString& name : {QString("kept.qlm"), QString("kept.txt")}) {
            fake.messages.clear();
            fake.fileAnswers.push_back(Path(name));
            if (name.endsWith("qlm"))
                readingWindow->saveReading();
            else
                readingWindow->exportChart();
            ASSERT_EQ(fake.messages.size(), 1u) << name.toStdString();
            EXPECT_TRUE(fake.messages[0].text.startsWith("The file could not be saved."))
                << fake.messages[0].text.toStdString();
            EXPECT_EQ(Read(Path(name)), "earlier contents") << static_cast<int>(step);
            EXPECT_EQ(form->LastFileName(), "before");
        }
    }
    SetFileFaultHook({});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"kept.qlm", "kept.txt"}));
}

TEST_F(ReadingFilesTest, AReadingThatCannotBeSavedWholeIsRefused) {
    ReadingWindow* readingWindow = ComputeShown(Entry1980());
    ::Reading reading = *readingWindow->Display().ShownReading();
    reading.birth.city = "K\u00F8benhavn"; // ø cannot be raised by 85 within a byte
    readingWindow->ShowReading(std::make_shared<const ::Reading>(reading));
    fake.fileAnswers.push_back(Path("dk.qlm"));
    readingWindow->saveReading();
    EXPECT_EQ(fake.MessageTexts(), QStringList{"This reading holds characters that cannot be saved."});
    EXPECT_FALSE(QFileInfo::exists(Path("dk.qlm")));
    EXPECT_EQ(form->LastFileName(), "");
}

// ---------------------------------------------------------------- text export

TEST_F(ReadingFilesTest, ExportWritesTheFortyOneLinesByteForByte) {
    ReadingWindow* readingWindow = ComputeShown(Entry1980());
    fake.fileAnswers.push_back(Path("chart.txt"));
    Command(*readingWindow, "mnuExport")->trigger();
    const platform::FileDialogRequest& r = fake.fileRequests.back();
    EXPECT_EQ(r.title, "Select the destination text file ");
    EXPECT_EQ(r.filter, "Export Chart As Text (*.txt)");
    EXPECT_EQ(r.defaultSuffix, "txt");
    EXPECT_TRUE(r.promptOverwrite);

    const QByteArray bytes = Read(Path("chart.txt"));
    EXPECT_EQ(bytes, QByteArray::fromStdString(ChartExportText(*ReadingOf(Entry1980()))));
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 42); // 41 lines, each ended by CR LF
    for (int i = 0; i < 41; ++i)
        EXPECT_TRUE(lines[i].endsWith('\r')) << i;
    EXPECT_EQ(lines[8], "\r\r");
    EXPECT_EQ(lines[19], "\r\r");
    EXPECT_EQ(lines[27], "\r\r");
    EXPECT_EQ(lines[0], "Name: Test Person\r");
    EXPECT_EQ(lines[1], "Date of Birth: January 1, 1980\r");
    EXPECT_EQ(lines[10], "Sun 16 Sag 56\r");
    EXPECT_EQ(lines[21], "Ayanamsa: 23\xC2\xB0 34' 34\"\r");
    EXPECT_EQ(lines[29], "Lord of the 1st House Mars is placed in House 5.\r");
    EXPECT_TRUE(lines[40].startsWith("Lord of the 12th House Jupiter is placed in House "));
}

TEST_F(ReadingFilesTest, ExportAndSaveShareTheLastNameEachWithItsOwnSuffix) {
    ReadingWindow* readingWindow = ComputeShown(Entry1980());
    fake.fileAnswers.push_back(Path("a.qlm"));
    readingWindow->saveReading();
    fake.fileAnswers.push_back(Path("b.txt"));
    readingWindow->exportChart();
    // One confirmation of the proposed name must not turn the saved reading into text.
    EXPECT_EQ(fake.fileRequests[1].presetName, Path("a.txt"));
    readingWindow->saveReading(); // cancelled
    EXPECT_EQ(fake.fileRequests[2].presetName, Path("b.qlm"));
    readingWindow->exportChart(); // cancelled: nothing written, the name kept
    EXPECT_EQ(form->LastFileName(), Path("b.txt"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"a.qlm", "b.txt"}));
}

// The folder of the file last saved or opened is kept for the next run, and the dialogs without a
// name of their own start there; a cancelled or failed dialog leaves it, and a store that refuses it
// spoils no save with a message.
TEST_F(ReadingFilesTest, DialogsStartInTheFolderLastUsed) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("kept"));
    fake.settings["lastFolder"] = Path("kept");
    ReadingWindow* readingWindow = ComputeShown(Entry1980());
    readingWindow->saveReading();
    readingWindow->exportChart();
    readingWindow->savePicture();
    fake.fileAnswers.push_back(Path("gone/a.qlm"));
    readingWindow->saveReading();
    ASSERT_EQ(fake.fileRequests.size(), 4u);
    for (const platform::FileDialogRequest& request : fake.fileRequests)
        EXPECT_EQ(request.startFolder, Path("kept")) << request.defaultSuffix.toStdString();
    EXPECT_EQ(fake.settings["lastFolder"], Path("kept"));

    const std::pair<std::function<void()>, QString> steps[] = {
        {[readingWindow] { readingWindow->saveReading(); }, Path("a.qlm")},
        {[readingWindow] { readingWindow->savePicture(); }, Path("kept/chart.jpg")},
        {[readingWindow] { readingWindow->exportChart(); }, Path("b.txt")},
    };
    for (const auto& [use, file] : steps) {
        fake.fileAnswers.push_back(file);
        use();
        EXPECT_EQ(fake.settings["lastFolder"], QFileInfo(file).path()) << file.toStdString();
    }
    BackToForm(readingWindow);
    fake.fileAnswers.push_back(Path("kept/none.qlm"));
    form->openReading(); // no such reading: the folder stays
    EXPECT_EQ(fake.fileRequests.back().startFolder, dir.path());
    EXPECT_EQ(fake.settings["lastFolder"], dir.path());
    ASSERT_TRUE(QFile::copy(Path("a.qlm"), Path("kept/a.qlm")));
    fake.fileAnswers.push_back(Path("kept/a.qlm"));
    form->openReading();
    ASSERT_NE(form->MainWindow(), nullptr);
    EXPECT_EQ(fake.settings["lastFolder"], Path("kept"));

    fake.messages.clear();
    fake.settingsWritable = false;
    fake.fileAnswers.push_back(Path("kept/c.qlm"));
    form->MainWindow()->saveReading();
    EXPECT_TRUE(QFileInfo(Path("kept/c.qlm")).isFile());
    EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
}

TEST_F(ReadingFilesTest, ExportingTwiceToOneNameKeepsOnlyTheSecond) {
    ReadingWindow* readingWindow = ComputeShown(Entry1980());
    Write(Path("chart.txt"), QByteArray(5000, 'x'));
    fake.fileAnswers.push_back(Path("chart.txt"));
    readingWindow->exportChart();
    EXPECT_EQ(Read(Path("chart.txt")), QByteArray::fromStdString(ChartExportText(*ReadingOf(Entry1980()))));
}

// ---------------------------------------------------------------- the picture library

TEST_F(ReadingFilesTest, ReadingsAreRefusedWithoutThePictureLibrary) {
    fake.pictureLibraryPresent = false;
    BirthEntry noName = Entry1980();
    noName.name = "";
    EXPECT_EQ(Compute(noName), nullptr);
    EXPECT_EQ(fake.MessageTexts(), QStringList{"Please Enter Your Name"}); // the other checks come first
    fake.messages.clear();
    EXPECT_EQ(Compute(Entry1980()), nullptr);
    EXPECT_EQ(fake.MessageTexts(), QStringList{"Required File Is Missing. Please Reinstall The Software."});
    EXPECT_EQ(fake.messages.back().icon, platform::MessageIcon::Error);
}

// ---------------------------------------------------------------- pictures

TEST_F(ReadingFilesTest, PicturesGetFreeNamesAndLeaveNoBitmap) {
    ReadingWindow* readingWindow = ComputeShown(Entry1947());
    ASSERT_NE(readingWindow, nullptr);
    Write(Path("mychart.bmp"), "the user's own bitmap");
    // A temporary folder of this test's own, so that tests running beside it cannot be confused
    // with what this one leaves behind.
    QTemporaryDir privateTemp;
    const QByteArray previousTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", privateTemp.path().toLocal8Bit());
    ASSERT_EQ(QDir::tempPath(), privateTemp.path());
    const QSize shown = readingWindow->Display().size();

    for (int i = 0; i < 3; ++i) {
        fake.fileAnswers.push_back(Path("mychart.jpg"));
        Button(*readingWindow, "cmdSaveAsJPEG")->click();
    }
    EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
    for (const char* name : {"mychart.jpg", "mychart_001.jpg", "mychart_002.jpg"}) {
        QImageReader reader(Path(name));
        EXPECT_EQ(reader.format(), "jpeg") << name;
        EXPECT_EQ(reader.size(), shown) << name;
    }
    EXPECT_EQ(Read(Path("mychart.bmp")), "the user's own bitmap");
    EXPECT_EQ(BitmapsIn(dir.path()), QStringList{"mychart.bmp"});
    EXPECT_EQ(QDir(privateTemp.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    if (previousTemp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previousTemp);
    EXPECT_EQ(Child<QLineEdit>(readingWindow->Display(), "txtFile")->text(), "mychart.jpg");
    EXPECT_EQ(Child<QLineEdit>(readingWindow->Display(), "txtFolder")->text(),
              QDir::toNativeSeparators(dir.path()));

    // The dialog keeps its own last name; the reading's save dialog does not see it.
    const platform::FileDialogRequest& r = fake.fileRequests.back();
    EXPECT_EQ(r.presetName, Path("mychart.jpg"));
    EXPECT_EQ(r.filter, "JPEG Image (*.jpg)");
    EXPECT_EQ(r.defaultSuffix, "JPG");
    EXPECT_EQ(r.title, "");
    EXPECT_EQ(form->LastFileName(), "");
}

TEST_F(ReadingFilesTest, PictureNamesAreCutAtTheirFirstDot) {
    ReadingWindow* readingWindow = ComputeShown(Entry1947());
    QDir(dir.path()).mkdir("john.doe");
    fake.fileAnswers.push_back(Path("my.chart.jpg"));
    fake.fileAnswers.push_back(Path("john.doe/chart.jpg"));
    fake.fileAnswers.push_back(Path("Shot.JPG"));
    for (int i = 0; i < 3; ++i)
        readingWindow->savePicture();
    EXPECT_TRUE(QFileInfo(Path("my.jpg")).isFile());
    EXPECT_TRUE(QFileInfo(Path("john.doe/chart.jpg")).isFile());
    EXPECT_TRUE(QFileInfo(Path("Shot.jpg")).isFile());
    QStringList files = QDir(dir.path()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{"Shot.jpg", "my.jpg"}));
}

// A failed picture says why on a second line, as the other files' messages do.
TEST_F(ReadingFilesTest, AFailedPictureIsReportedWithItsReasonAndCancellingSavesNothing) {
    ReadingWindow* readingWindow = ComputeShown(Entry1947());
    readingWindow->savePicture(); // cancelled
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // The first file written is the library's bitmap, the second the picture itself.
    const auto fullDiskAtThePicture = [opens = 0](FileStep s) mutable {
        return s == FileStep::Open && ++opens == 2 ? ENOSPC : 0;
    };
    const struct {
        const char* name;
        bool converts;
        std::function<int(FileStep)> fault;
        const char* reason;
    } cases[] = {
        {"lost.jpg", false, {}, "The picture library could not convert it."},
        {"no/such/folder/lost.jpg", true, {}, "There is no such file or folder."},
        {"full.jpg", true, fullDiskAtThePicture, "No space is left on the device."},
    };
    for (const auto& c : cases) {
        fake.messages.clear();
        fake.conversionSucceeds = c.converts;
        SetFileFaultHook(c.fault);
        fake.fileAnswers.push_back(Path(c.name));
        readingWindow->savePicture();
        SetFileFaultHook({});
        ASSERT_EQ(fake.messages.size(), 1u) << c.name;
        EXPECT_EQ(fake.messages[0].text,
                  "The picture could not be saved.\n" + Path(c.name) + ": " + QString::fromUtf8(c.reason));
        EXPECT_EQ(fake.messages[0].icon, platform::MessageIcon::Error);
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << c.name;
    }
}

// Names that are not UTF-8 come back to the system byte for byte: each stray byte is held as
// U+DC80 + byte, every UTF-8 character as itself.
TEST(SystemPathTest, EveryByteStringComesBackWhole) {
    const struct {
        std::string bytes;
        const char16_t* held;
    } names[] = {
        {"/tmp/caf\xC3\xA9.qlm", u"/tmp/caf\xE9.qlm"},
        {"/tmp/caf\xE9.qlm", u"/tmp/caf\xDCE9.qlm"},
        {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},             // beyond the 16-bit plane
        {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},           // a surrogate written as UTF-8
        {"\xC0\xAF", u"\xDCC0\xDCAF"},                     // an overlong "/"
        {"\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"}, // beyond U+10FFFF
        {"\xE2\x82/", u"\xDCE2\xDC82/"},                   // cut short
        {"\x80\xFF", u"\xDC80\xDCFF"},                     // a stray continuation, a byte never in UTF-8
    };
    for (const auto& name : names) {
        const QString held = QString::fromUtf16(name.held);
        EXPECT_EQ(PathFromSystem(name.bytes), held)
            << QByteArray::fromStdString(name.bytes).toHex().constData();
        EXPECT_EQ(SystemPath(held), name.bytes) << QByteArray::fromStdString(name.bytes).toHex().constData();
    }
    // A lone surrogate that holds no byte has no name of its own.
    EXPECT_EQ(SystemPath(QString::fromUtf16(u"a\xD800")), "a\xEF\xBF\xBD");
}

TEST_F(ReadingFilesTest, TheMenuSavesTheInterpretationViewToo) {
    ReadingWindow* readingWindow = ComputeShown(Entry1947());
    Button(readingWindow->Display(), "cmdInterpretation")->click();
    fake.fileAnswers.push_back(Path("reading.jpg"));
    Command(*readingWindow, "mnuSaveAsJpeg")->trigger();
    QImageReader reader(Path("reading.jpg"));
    EXPECT_EQ(reader.size(), readingWindow->Display().size());
}

// ---------------------------------------------------------------- printing

TEST_F(ReadingFilesTest, PrintingAllKeepsColoursAndText) {
    ReadingWindow* readingWindow = ComputeShown(Entry1947());
    fake.printerOutputFile = Path("all.pdf");
    fake.printerAnswers.push_back(true);
    readingWindow->printInterpretation();
    ASSERT_EQ(fake.printerRequests.size(), 1u);
    EXPECT_FALSE(fake.printerRequests[0].printSelection);
    EXPECT_TRUE(fake.messages.empty());
    const QString text = PdfText(Path("all.pdf"));
    EXPECT_TRUE(text.contains("Lord of the 1st House Mars is placed in House 2."))
        << text.left(300).toStdString();
    EXPECT_TRUE(text.contains("Lord of the 12th House Jupiter is placed in House"));
    QTemporaryDir work;
    EXPECT_TRUE(PdfShowsColour(Path("all.pdf"), QColor(0, 128, 0), work.path()));
    EXPECT_TRUE(PdfShowsColour(Path("all.pdf"), QColor(128, 0, 0), work.path()));
}

TEST_F(ReadingFilesTest, PrintingASelectionPrintsOnlyThat) {
    ReadingWindow* readingWindow = ComputeShown(Entry1947());
    Button(readingWindow->Display(), "cmdInterpretation")->click();
    QTextEdit* rtb = Child<QTextEdit>(readingWindow->Display(), "RTB");
    QTextCursor cursor(rtb->document()->firstBlock());
    cursor.select(QTextCursor::BlockUnderCursor);
    rtb->setTextCursor(cursor);
    fake.printerOutputFile = Path("part.pdf");
    fake.printerAnswers.push_back(true);
    Child<QToolBar>(*readingWindow, "TB")->actions()[2]->trigger(); // the toolbar's Print
    ASSERT_EQ(fake.printerRequests.size(), 1u);
    EXPECT_TRUE(fake.printerRequests[0].printSelection);
    const QString text = PdfText(Path("part.pdf"));
    EXPECT_TRUE(text.contains("Lord of the 1st House")) << text.toStdString();
    EXPECT_FALSE(text.contains("Lord of the 2nd House")) << text.toStdString();
}

TEST_F(ReadingFilesTest, CancellingPrintsNothingAndAFailedPrintSaysSo) {
    ReadingWindow* readingWindow = ComputeShown(Entry1947());
    fake.printerOutputFile = Path("none.pdf");
    fake.printerAnswers.push_back(false);
    readingWindow->printInterpretation();
    EXPECT_FALSE(QFileInfo::exists(Path("none.pdf")));
    EXPECT_TRUE(fake.messages.empty());

    fake.printerOutputFile = Path("no/such/folder/out.pdf");
    fake.printerAnswers.push_back(true);
    readingWindow->printInterpretation();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_TRUE(fake.messages[0].text.startsWith("The interpretation could not be printed.\n" +
                                                 Path("no/such/folder/out.pdf") + ": "))
        << fake.messages[0].text.toStdString();
    EXPECT_EQ(fake.messages.back().icon, platform::MessageIcon::Error);
}

// ---------------------------------------------------------------- the window's printing and pictures

namespace {

// The pages of a PDF as pdftotext reads them, each as its non-empty lines.
std::vector<QStringList> PdfPages(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {pdf, "-"});
    p.waitForFinished(30000);
    std::vector<QStringList> pages;
    QStringList texts = QString::fromUtf8(p.readAllStandardOutput()).split('\f');
    if (!texts.isEmpty() && texts.back().trimmed().isEmpty())
        texts.removeLast();
    for (const QString& page : texts) {
        QStringList lines;
        for (const QString& line : page.split('\n'))
            if (!line.trimmed().isEmpty())
                lines << line.trimmed();
        pages.push_back(lines);
    }
    return pages;
}

} // namespace

// Printing to a file that cannot be written whole (the printer's file cut short, or a full disk while
// it is put in place) leaves the earlier file as it was and says so; a complete print replaces it.
TEST_F(ReadingFilesTest, APrintToAFileReplacesTheEarlierFileOnlyWhenComplete) {
    ReadingWindow* readingWindow = ComputeShown(Entry1947());
    const QString pdf = Path("reading.pdf");
    Write(pdf, "the earlier PDF");
    ASSERT_TRUE(QFile::setPermissions(pdf, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup));
    fake.printerOutputFile = pdf;

    const struct {
        const char* what;
        std::function<void(const QString&)> spoilPrintedFile;
        std::optional<FileStep> fullDiskAt;
    } faults[] = {
        {"the printed file cut at 4 KB", [](const QString& file) { ASSERT_TRUE(QFile::resize(file, 4096)); },
         std::nullopt},
        {"the printed file empty", [](const QString& file) { ASSERT_TRUE(QFile::resize(file, 0)); },
         std::nullopt},
        {"a full disk while writing", {}, FileStep::Write},
        {"a full disk at the flush", {}, FileStep::Flush},
    };
    for (const auto& fault : faults) {
        fake.messages.clear();
        SetPrintedFileHook(fault.spoilPrintedFile);
        if (fault.fullDiskAt)
            SetFileFaultHook([step = *fault.fullDiskAt](FileStep s) { return s == step ? ENOSPC : 0; });
        fake.printerAnswers.push_back(true);
        readingWindow->printInterpretation();
        SetPrintedFileHook({});
        SetFileFaultHook({});
        ASSERT_EQ(fake.messages.size(), 1u) << fault.what;
        EXPECT_TRUE(fake.messages[0].text.startsWith("The interpretation could not be printed.\n" + pdf))
            << fake.messages[0].text.toStdString();
        EXPECT_EQ(Read(pdf), "the earlier PDF") << fault.what;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"reading.pdf"})
            << fault.what;
    }

    fake.messages.clear();
    fake.printerAnswers.push_back(true);
    readingWindow->printInterpretation();
    EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
    EXPECT_TRUE(Read(pdf).startsWith("%PDF-"));
    EXPECT_TRUE(PdfText(pdf).contains("Lord of the 1st House Mars is placed in House 2."));
    EXPECT_EQ(QFileInfo(pdf).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup |
                                              QFileDevice::WriteGroup | QFileDevice::WriteOwner),
              QFileDevice::ReadGroup | QFileDevice::WriteOwner);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"reading.pdf"});
}

// The printed chart in either style: the name and birth data atop every page, both charts, every
// position and the other details, then each major period with its sub-periods, then the transits; a
// print cut short leaves the earlier file.
TEST_F(ReadingFilesTest, PrintChartPrintsTheChartAndThePeriodsWholeOrNotAtAll) {
    BirthEntry entry = Entry1980();
    entry.name = "Printed Person";
    ReadingWindow* readingWindow = ComputeShown(entry);
    const QString pdf = Path("chart.pdf");
    Write(pdf, "the earlier PDF");
    fake.printerOutputFile = pdf;
    SetPrintedFileHook([](const QString& file) { ASSERT_TRUE(QFile::resize(file, 4096)); });
    fake.printerAnswers.push_back(true);
    Command(*readingWindow, "mnuPrintChart")->trigger();
    SetPrintedFileHook({});
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_TRUE(fake.messages[0].text.startsWith("The chart could not be printed.\n" + pdf))
        << fake.messages[0].text.toStdString();
    EXPECT_EQ(Read(pdf), "the earlier PDF");

    for (QAction* style :
         {Command(*readingWindow, "mnuNorthIndian"), Command(*readingWindow, "mnuSouthIndian")}) {
        style->trigger();
        fake.messages.clear();
        fake.printerAnswers.push_back(true);
        Command(*readingWindow, "mnuPrintChart")->trigger();
        EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
        EXPECT_FALSE(fake.printerRequests.back().printSelection);
        const std::vector<QStringList> pages = PdfPages(pdf);
        ASSERT_GE(pages.size(), 2u);
        for (const QStringList& page : pages) {
            EXPECT_EQ(page.value(0), "Printed Person");
            EXPECT_TRUE(page.value(1).startsWith("Date of Birth: January 1, 1980"))
                << page.value(1).toStdString();
        }
        const QString text = PdfText(pdf);
        for (const char* part :
             {"Rasi", "Navamsa", "Positions", "Other Vedic Details", "Vimshottari Periods", "Guru (R)",
              "Midheaven", "Mrigsira", "Mesha", "Divisional Charts", "Ashtakavarga", "Panchanga", "Transits",
              "From Lagna", "in the birth's zone, Greenwich Mean Time"})
            EXPECT_TRUE(text.contains(part)) << part;
        // The lagna at 0 23 Aries stands in the first part of every division: Aries from Aries, but
        // Leo in the hora and the D24, whose odd signs begin there.
        EXPECT_TRUE(text.contains(QRegularExpression(
            "Ascendant +Ari +Leo +Ari +Ari +Ari +Ari +Ari +Ari +Ari +Ari +Leo +Ari +Ari +Ari +Ari +Ari\\b")));
        // The ashtakavarga's places named under its title, then its eight rows, each a name and the
        // twelve signs' bindus, before the periods.
        EXPECT_TRUE(
            text.contains(QRegularExpression("Ashtakavarga\\s+Places: Common \\(as most programs\\)\\s")));
        const qsizetype ashtakavarga = text.indexOf(
            QRegularExpression("^ *Sun( +\\d+){12}\\n( *\\w+( +\\d+){12}\\n){6} *Total( +\\d+){12}$",
                               QRegularExpression::MultilineOption));
        EXPECT_GE(ashtakavarga, 0);
        EXPECT_LT(ashtakavarga, text.indexOf("Vimshottari Periods"));
        // The panchanga's seven items (their values worked in the display's test).
        EXPECT_TRUE(
            text.contains(QRegularExpression("Vara +3 Tuesday\\s+Tithi +15 Shukla Purnima\\s+Nakshatra +5 "
                                             "Mrigsira\\s+Yoga +25 Brahma\\s+Karana +29 Vishti\\s+"
                                             "Sunrise +\\S+\\s+Sunset +\\S+")));
        // Mars's period as the periods view shows it, and its last part, the Moon's.
        EXPECT_TRUE(text.contains(QRegularExpression("Mars +April 9, 1973 +April 9, 1980")));
        EXPECT_TRUE(text.contains(QRegularExpression("Moon +September 9, 1979 +April 9, 1980")));
        // Under the title, the balance at birth and the ages at which the later major periods begin.
        EXPECT_TRUE(
            QString(text)
                .replace(QChar::Nbsp, ' ')
                .contains(QRegularExpression(
                    "Balance at birth: Mars 0 years 3 months [78] days\\s+"
                    "Age at the start of each period: Rahu 0 y 3 m, Jupiter 18 y 3 m, Saturn 34 y 3 m")));
        EXPECT_EQ(text.count(
                      QRegularExpression("(Mars|Rahu|Jupiter|Saturn|Mercury|Ketu|Venus|Sun|Moon) +\\w+ \\d+, "
                                         "\\d{4} +\\w+ \\d+, \\d{4}")),
                  90);
    }
}

// A time the form moved into Indian Time (Kathmandu, UTC+5:45) is printed with both clocks.
TEST_F(ReadingFilesTest, PrintChartNamesTheClockOfAMovedTime) {
    FillForm(*form, MakeEntry(1990, 6, 1, 10, 0, 34, "", "", false, "", "", true));
    ChooseFirstPlace(*form, "Kathm");
    Button(*form, "cmdCalculate")->click();
    ASSERT_NE(form->MainWindow(), nullptr) << fake.MessageTexts().join(" | ").toStdString();
    fake.printerOutputFile = Path("chart.pdf");
    fake.printerAnswers.push_back(true);
    Command(*form->MainWindow(), "mnuPrintChart")->trigger();
    const std::vector<QStringList> pages = PdfPages(Path("chart.pdf"));
    ASSERT_FALSE(pages.empty());
    EXPECT_TRUE(pages[0].value(1).endsWith("Time of Birth: 9 HH 45 MM")) << pages[0].join('|').toStdString();
    EXPECT_EQ(pages[0].value(2), "(9:45 Indian Time; 10:00 at the place, UTC+5:45)");
}

// A print is proposed a file named for the person and what is printed, in the folder last used (or
// the documents folder), never the last print's name; a file that exists is replaced only on Yes.
TEST_F(ReadingFilesTest, PrintsProposeTheirOwnFileAndAskBeforeReplacingOne) {
    BirthEntry entry = Entry1980();
    entry.name = "Printed/Person";
    ReadingWindow* readingWindow = ComputeShown(entry);
    fake.printerTakesProposedFile = true;
    const QString chart = Path("Printed Person chart.pdf");
    const QString question = chart + " already exists.\nDo you want to replace it?";
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    const struct {
        const char* what;
        const char* command;
        QString lastFolder; // none kept when empty
        QString printedTo;  // else the proposal
        bool printed;       // the printer dialog confirmed
        bool asked, replace;
        QString proposed;
    } prints[] = {
        // Cancelled: nothing is written outside the test's folder.
        {"first print, no folder kept", "mnuPrintChart", "", "", false, false, false,
         QDir(platform::DocumentsFolder()).filePath("Printed Person chart.pdf")},
        {"the chart in the last folder", "mnuPrintChart", dir.path(), "", true, false, false, chart},
        {"the interpretation beside it", "mnuPrint", "", "", true, false, false,
         Path("Printed Person interpretation.pdf")},
        {"the same name again, not replaced", "mnuPrintChart", "", "", true, true, false, chart},
        {"replaced on Yes", "mnuPrintChart", "", "", true, true, true, chart},
        {"a file chosen elsewhere", "mnuPrintChart", "", Path("sub/mine.pdf"), true, false, false, chart},
        {"proposed in the folder chosen last", "mnuPrintChart", "", "", true, false, false,
         Path("sub/Printed Person chart.pdf")},
    };
    for (const auto& print : prints) {
        if (!print.lastFolder.isEmpty())
            fake.settings["lastFolder"] = print.lastFolder;
        if (print.asked)
            Write(print.proposed, "earlier");
        fake.printerOutputFile = print.printedTo;
        fake.replaceQuestions.clear();
        fake.printerAnswers.push_back(print.printed);
        if (print.asked)
            fake.replaceAnswers.push_back(print.replace);
        Command(*readingWindow, print.command)->trigger();
        ASSERT_FALSE(fake.printerRequests.empty()) << print.what;
        EXPECT_EQ(fake.printerRequests.back().fileName, print.proposed) << print.what;
        EXPECT_EQ(fake.replaceQuestions,
                  print.asked ? std::vector<QString>{question} : std::vector<QString>{})
            << print.what;
        EXPECT_TRUE(fake.messages.empty()) << print.what << fake.MessageTexts().join(" | ").toStdString();
        const QString written = print.printedTo.isEmpty() ? print.proposed : print.printedTo;
        if (print.asked && !print.replace) {
            EXPECT_EQ(Read(written), "earlier") << print.what;
        } else if (print.printed) {
            EXPECT_TRUE(Read(written).startsWith("%PDF-")) << print.what;
        }
    }
}

// Every printed page opens with the name and birth data; the printed chart explains the classic
// Pada as the chart view's tooltip does, and heads the bodies' quarters as the Positions page does.
TEST_F(ReadingFilesTest, EveryPrintedPageNamesTheBirthAndTheChartExplainsTheClassicPada) {
    BirthEntry entry = Entry1947();
    entry.name = "Printed Person";
    for (const bool precise : {false, true}) {
        Command(*form, precise ? "mnuPrecise" : "mnuClassic")->trigger();
        ReadingWindow* readingWindow = ComputeShown(entry);
        for (const char* command : {"mnuPrint", "mnuPrintChart"}) {
            const QString pdf = Path(QString("%1-%2.pdf").arg(command).arg(precise));
            fake.printerOutputFile = pdf;
            fake.printerAnswers.push_back(true);
            Command(*readingWindow, command)->trigger();
            const std::vector<QStringList> pages = PdfPages(pdf);
            ASSERT_GE(pages.size(), 2u) << command;
            for (std::size_t i = 0; i < pages.size(); ++i) {
                const QStringList& page = pages[i];
                const std::string where = std::string(command) + " page " + std::to_string(i + 1);
                EXPECT_EQ(page.value(0), "Printed Person") << where;
                EXPECT_TRUE(page.value(1).startsWith("Date of Birth: August 15, 1947")) << where;
                EXPECT_TRUE(page.value(2).startsWith("Latitude: 28 Degree 39 Minute")) << where;
                EXPECT_TRUE(page.value(3).startsWith("City: ")) << where;
                EXPECT_EQ(page.value(4).startsWith("Calculation: Precise (Swiss Ephemeris), Lahiri ayanamsa"),
                          precise)
                    << where << ": " << page.value(4).toStdString();
            }
            const QString text = PdfText(pdf).simplified();
            const bool chart = QString(command) == "mnuPrintChart";
            EXPECT_EQ(text.contains(QString(msg::kClassicPadaTip)), chart && !precise) << command;
            EXPECT_EQ(text.contains("Quarter (pada)"), chart) << command;
        }
        BackToForm(readingWindow);
    }
}

// Whatever the paper, pages carry no page numbers and no page ends with a house's heading.
TEST_F(ReadingFilesTest, PrintedPagesHaveNoNumbersAndKeepEachHeadingWithItsText) {
    ReadingWindow* readingWindow = ComputeShown(Entry1947());
    const QRegularExpression heading("^Lord of the \\d+(st|nd|rd|th) House ");
    const QRegularExpression number("^\\d+$");
    for (int heightMm = 90; heightMm <= 300; heightMm += 6) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Path(QString("h%1.pdf").arg(heightMm)));
        printer.setPageSize(QPageSize(QSizeF(150, heightMm), QPageSize::Millimeter));
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        // Every other paper with a header, which takes room from each page.
        const QStringList header =
            heightMm % 12 == 0 ? QStringList{"Header Name", "Date of Birth: August 15, 1947"} : QStringList{};
        ASSERT_TRUE(
            PrintInterpretation(*Child<QTextEdit>(readingWindow->Display(), "RTB"), printer, nullptr, header))
            << heightMm;
        const std::vector<QStringList> pages = PdfPages(printer.outputFileName());
        ASSERT_GT(pages.size(), 1u) << heightMm;
        int headings = 0;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            ASSERT_FALSE(pages[i].isEmpty()) << heightMm << " page " << i + 1;
            if (!header.isEmpty()) {
                EXPECT_EQ(pages[i].mid(0, 2), header) << heightMm << " page " << i + 1;
            }
            for (const QString& line : pages[i]) {
                EXPECT_FALSE(number.match(line).hasMatch()) << heightMm << " page " << i + 1;
                headings += heading.match(line).hasMatch();
            }
            EXPECT_FALSE(heading.match(pages[i].back()).hasMatch())
                << heightMm << " mm: page " << i + 1 << " ends with " << pages[i].back().toStdString();
        }
        EXPECT_EQ(headings, 12) << heightMm;
    }
}

// The picture shows the form, not the text caret blinking in it; the caret's box keeps the focus.
TEST_F(ReadingFilesTest, ThePictureLeavesTheCaretOut) {
    ReadingWindow* readingWindow = ComputeShown(Entry1947());
    ReadingView& d = readingWindow->Display();
    Button(d, "cmdInterpretation")->click();
    readingWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(readingWindow));
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0); // a caret that does not blink is always drawn
    QTextEdit* report = Child<QTextEdit>(d, "RTB");
    report->setFocus();
    ASSERT_TRUE(report->hasFocus());
    const QImage picture = CaptureFormPicture(d).toImage();
    EXPECT_TRUE(report->hasFocus());
    report->clearFocus();
    const QImage withoutCaret = d.grab().toImage();
    QApplication::setCursorFlashTime(flashTime);
    EXPECT_EQ(picture, withoutCaret);
}
