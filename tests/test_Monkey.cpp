// SPDX-License-Identifier: AGPL-3.0-or-later
// A few thousand seeded random key presses, pastes, clicks and menu commands on the entry form and
// the main window, with every dialog answered by the fake. The program must never crash, never show
// a reading that differs from a fresh computation of the form's data, and never leave a stray file.
#include "support/FormTestSupport.h"
#include "support/TestBirths.h"

#include "pipeline/ReadingPipeline.h"
#include "reading/ReadingTexts.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolBar>

#include <random>

namespace {

class Monkey {
  public:
    Monkey(EntryWindow& form, platform::FakePlatform& fake, const QString& folder)
        : form_(form), fake_(fake), folder_(folder), gen_(20261207) {}

    void Step() {
        if (ReadingWindow* readingWindow = form_.MainWindow())
            OnMainWindow(*readingWindow);
        else
            OnEntryForm();
    }

    int readingsChecked = 0;

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen_); }
    bool Chance(int percent) { return Pick(100) < percent; }

    QString FileIn(const char* ext) {
        static const char* const stems[] = {"reading", "my.chart", "chart", "a", "x.bmp"};
        return folder_ + "/" + stems[Pick(5)] + ext;
    }

    // Some dialogs are cancelled, some answered with a name in the work folder.
    void ScriptFileDialog(const char* ext) {
        fake_.fileAnswers.clear();
        if (Chance(20))
            fake_.fileAnswers.push_back(std::nullopt);
        else if (Chance(10))
            fake_.fileAnswers.push_back(folder_ + "/missing/none" + ext);
        else
            fake_.fileAnswers.push_back(FileIn(ext));
    }

    QString RandomText() {
        static const QString pool = "abcXYZ 0123456789-'.,\u00E9\u20AC\t";
        QString text;
        const int length = Pick(6);
        for (int i = 0; i < length; ++i)
            text += pool[Pick(pool.size())];
        return text;
    }

    void OnEntryForm() {
        static const char* const fields[] = {"txtName",   "txtLatDeg", "txtLatMin", "txtLonDeg",
                                             "txtLonMin", "txtCity",   "txtState",  "txtCountry"};
        static const char* const lists[] = {"cboDate", "cboMonth",  "cboYear",
                                            "cboHour", "cboMinute", "cboTimeZone"};
        switch (Pick(12)) {
        case 0:
        case 1:
        case 2: { // typing, printable or not
            FilteredTextBox* box = Box(form_, fields[Pick(8)]);
            box->setFocus();
            static const Qt::Key keys[] = {Qt::Key_A,      Qt::Key_Z,     Qt::Key_Space,  Qt::Key_3,
                                           Qt::Key_9,      Qt::Key_Minus, Qt::Key_Return, Qt::Key_Backspace,
                                           Qt::Key_Delete, Qt::Key_Left,  Qt::Key_End,    Qt::Key_Period};
            const Qt::Key key = keys[Pick(12)];
            QTest::keyClick(box, key, Chance(10) ? Qt::ControlModifier : Qt::NoModifier);
            break;
        }
        case 3: { // pasting
            FilteredTextBox* box = Box(form_, fields[Pick(8)]);
            QGuiApplication::clipboard()->setText(RandomText());
            box->setFocus();
            box->PasteChecked();
            break;
        }
        case 4: { // a sensible value now and then, so that readings do get computed
            const BirthEntry e = Chance(50) ? Entry1947() : Entry1980();
            FillForm(form_, e);
            break;
        }
        case 5:
        case 6: {
            QComboBox* list = List(form_, lists[Pick(6)]);
            list->setCurrentIndex(Pick(list->count()));
            break;
        }
        case 7:
            Button(form_, QString("optLat_%1").arg(Pick(2)))->click();
            Button(form_, QString("optLong_%1").arg(Pick(2)))->click();
            Button(form_, "chkDST")->click();
            break;
        case 8:
        case 9:
            Calculate();
            break;
        case 10:
            ScriptFileDialog(".qlm");
            Button(form_, "cmdOpen")->click();
            CheckShownReading();
            break;
        case 11:
            Button(form_, "Command1")->click();
            break;
        }
    }

    void Calculate() {
        Button(form_, "cmdCalculate")->click();
        CheckShownReading();
    }

    void OnMainWindow(ReadingWindow& readingWindow) {
        ReadingView& display = readingWindow.Display();
        switch (Pick(14)) {
        case 0:
            Button(display, "cmdInterpretation")->click();
            break;
        case 1:
            Button(display, "cmdChart")->click();
            break;
        case 2:
            ScriptFileDialog(".qlm");
            Command(readingWindow, "mnuSaveAsText")->trigger();
            break;
        case 3:
            ScriptFileDialog(".txt");
            Command(readingWindow, "mnuExport")->trigger();
            break;
        case 4:
            ScriptFileDialog(Chance(50) ? ".jpg" : ".JPG");
            if (QAbstractButton* button = Button(readingWindow, "cmdSaveAsJPEG"); button->isEnabled())
                button->click();
            else
                Command(readingWindow, "mnuSaveAsJpeg")->trigger();
            break;
        case 5:
            fake_.printerAnswers = {Chance(30)};
            fake_.printerOutputFile = folder_ + "/print.pdf";
            if (Chance(50)) {
                QTextEdit* report = Child<QTextEdit>(display, "RTB");
                QTextCursor cursor(report->document());
                cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 1 + Pick(5));
                report->setTextCursor(cursor);
            }
            Command(readingWindow, "mnuPrint")->trigger();
            break;
        case 6:
            Command(readingWindow, "mnuToolBar")->trigger();
            break;
        case 7: {
            const QList<QAction*> tools = Child<QToolBar>(readingWindow, "TB")->actions();
            tools[Pick(static_cast<int>(tools.size()))]->trigger();
            ProcessDeferredDeletes();
            break;
        }
        case 8:
            Command(readingWindow, "mnuAbout")->trigger();
            break;
        case 9:
            Command(readingWindow, "mnuOnline")->trigger();
            break;
        case 10:
            readingWindow.resize(300 + Pick(1400), 200 + Pick(900));
            break;
        case 11:
            if (QAbstractButton* button = Button(readingWindow, "cmdSave"); button->isEnabled()) {
                ScriptFileDialog(".qlm");
                button->click();
            }
            break;
        case 12:
            Command(readingWindow, "mnuNew")->trigger();
            ProcessDeferredDeletes();
            break;
        case 13:
            Button(readingWindow, "cmdBack")->click();
            ProcessDeferredDeletes();
            break;
        }
    }

    // The reading on screen must be the reading of the form's data, computed afresh.
    void CheckShownReading() {
        ReadingWindow* readingWindow = form_.MainWindow();
        if (!readingWindow)
            return;
        const ReadingView& display = readingWindow->Display();
        QStringList shown;
        for (int i = 0; i < 7; ++i)
            shown << Label(display, QString("Planet_%1").arg(i))->text();
        shown << Label(display, "lblLagna")->text() << Label(display, "lblNakshatra")->text()
              << Label(display, "lblName")->text();

        const std::optional<::Reading> r = ReadingOf(form_.BuildEntry(), form_.CurrentCalculation());
        ASSERT_TRUE(r);
        QStringList fresh;
        for (std::size_t i = 0; i < 7; ++i)
            fresh << QString::fromStdString(ShortPositionText(*r, static_cast<BodySlot>(i)));
        fresh << QString::fromLatin1(LagnaName(*r)) << QString::fromLatin1(MoonNakshatraName(*r))
              << "Name: " + QString::fromStdString(r->birth.name);
        ASSERT_EQ(shown, fresh);
        ++readingsChecked;
    }

    EntryWindow& form_;
    platform::FakePlatform& fake_;
    QString folder_;
    std::mt19937 gen_;
};

} // namespace

TEST_F(FormTest, AMonkeyCannotBreakTheProgram) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A temporary folder of this test's own, so that tests running beside it cannot be confused
    // with what this one leaves behind.
    QTemporaryDir privateTemp;
    const QByteArray previousTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", privateTemp.path().toLocal8Bit());
    ASSERT_EQ(QDir::tempPath(), privateTemp.path());

    Monkey monkey(*form, fake, dir.path());
    for (int step = 0; step < 3000; ++step) {
        monkey.Step();
        if (HasFatalFailure())
            FAIL() << "at step " << step;
    }
    EXPECT_GT(monkey.readingsChecked, 50);

    // Only what was asked for is left: readings, exports, pictures, the printout; nothing
    // half-written and no bitmap, neither in the folder nor among the temporary files.
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden)) {
        const bool expected =
            name.endsWith(".qlm") || name.endsWith(".txt") || name.endsWith(".jpg") || name == "print.pdf";
        EXPECT_TRUE(expected) << name.toStdString();
    }
    EXPECT_EQ(QDir(privateTemp.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    if (previousTemp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previousTemp);
    if (ReadingWindow* readingWindow = form->MainWindow()) {
        readingWindow->returnToEntryForm();
        ProcessDeferredDeletes();
    }
}
