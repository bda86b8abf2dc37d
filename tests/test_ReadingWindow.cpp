// SPDX-License-Identifier: AGPL-3.0-or-later
// The main window around a reading: menus, toolbar, the two views and the Save buttons, the
// button strip's layout, New, Back and Exit, the About box, and the start of the program.
#include "support/FormTestSupport.h"
#include "support/TestBirths.h"

#include "formats/AtomicFile.h"
#include "formats/ChartExport.h"
#include "formats/SavedReadingFile.h"
#include "forms/AboutDialog.h"
#include "forms/Startup.h"
#include "output/ReadingFiles.h"
#include "platform/SystemPath.h"
#include "reading/ReadingTexts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolBar>

#include <filesystem>
#include <functional>
#include <set>

namespace {

QAction* ToolbarButton(const ReadingWindow& readingWindow, const QString& key) {
    for (QAction* action : Child<QToolBar>(readingWindow, "TB")->actions())
        if (action->data().toString() == key)
            return action;
    return nullptr;
}

} // namespace

class MainWindowTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        BirthEntry entry = Entry1980();
        entry.name = "First Reading";
        readingWindow = Compute(entry);
        ASSERT_NE(readingWindow, nullptr);
    }
    ReadingWindow* readingWindow = nullptr;
};

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndSeparators) {
    EXPECT_EQ(readingWindow->windowTitle(), "Quillmere v1.15");
    const QList<QAction*> menus = readingWindow->menuBar()->actions();
    ASSERT_EQ(menus.size(), PreciseCalculationBuilt() ? 4 : 3);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(MenuCaptions(menus[0]->menu()),
              QStringList({"&New", "-", "Save &As", "Save As &JPEG", "-", "&Export Chart As Text", "-",
                           "&Print", "Print Chart", "-", "&Back", "-", "E&xit"}));
    EXPECT_EQ(menus[1]->text(), "&View");
    EXPECT_EQ(MenuCaptions(menus[1]->menu()), QStringList({"&Toolbar", "-", "Periods and Positions",
                                                           "&Compare", "-", "South-Indian", "North-Indian"}));
    EXPECT_EQ(menus[2]->text(), "&Help");
    EXPECT_EQ(MenuCaptions(menus[2]->menu()),
              QStringList({"&Online Help", "-", "Check for Software &Update", "-", "&About Software"}));
    if (PreciseCalculationBuilt()) {
        EXPECT_EQ(menus[3]->text(), "&Calculation");
        EXPECT_EQ(MenuCaptions(menus[3]->menu()), QStringList({"&Conventions..."}));
    }
}

TEST_F(MainWindowTest, StripsToolbarAndHeadingAreBuiltToTheirSizes) {
    const QLabel* heading = Label(*readingWindow, "lblHeading");
    const QWidget* top = Child<QWidget>(*readingWindow, "picTop");
    const QWidget* strip = Child<QWidget>(*readingWindow, "Picture1");
    const QWidget* area = Child<QMdiArea>(*readingWindow, "mdiArea");
    const QToolBar* toolbar = Child<QToolBar>(*readingWindow, "TB");
    EXPECT_EQ(heading->text(), "Quillmere");
    EXPECT_TRUE(heading->font().bold());
    EXPECT_EQ(heading->font().pointSize(), 18);
    EXPECT_EQ(top->height(), 60);   // 900 twips
    EXPECT_EQ(strip->height(), 43); // 645 twips
    const std::pair<const char*, const char*> buttons[] = {
        {"cmdSave", "&Save"}, {"cmdSaveAsJPEG", "Save As &JPEG"}, {"cmdBack", "&Back"}, {"cmdExit", "E&xit"}};
    for (const auto& [name, caption] : buttons) {
        const QAbstractButton* button = Button(*readingWindow, name);
        EXPECT_EQ(button->text(), caption);
        EXPECT_EQ(button->y(), 8);       // 120 twips
        EXPECT_EQ(button->height(), 27); // 400 twips
        EXPECT_EQ(button->width(), QString(name) == "cmdSaveAsJPEG" ? 100 : 67) << caption;
    }
    // Toolbar above the heading strip, heading strip above the reading, the buttons below it.
    EXPECT_LT(toolbar->geometry().bottom(), top->mapTo(readingWindow, QPoint()).y() + 1);
    EXPECT_LT(top->mapTo(readingWindow, QPoint(0, top->height())).y(),
              area->mapTo(readingWindow, QPoint()).y() + 1);
    EXPECT_LE(area->mapTo(readingWindow, QPoint(0, area->height())).y(),
              strip->mapTo(readingWindow, QPoint()).y());

    QStringList keys;
    QStringList tips;
    for (const QAction* action : toolbar->actions()) {
        keys << action->data().toString();
        tips << action->toolTip();
        EXPECT_FALSE(action->icon().isNull());
        EXPECT_FALSE(action->icon().pixmap(QSize(16, 15)).isNull());
        // The tool buttons are menu items too, which show no picture.
        EXPECT_FALSE(action->isIconVisibleInMenu());
    }
    EXPECT_EQ(keys, QStringList({"New", "Save", "Print", "Help"}));
    EXPECT_EQ(tips, keys);
}

TEST_F(MainWindowTest, ResizingKeepsTheButtonsRightAlignedAndTheHeadingCentred) {
    const QAbstractButton* order[] = {Button(*readingWindow, "cmdSave"),
                                      Button(*readingWindow, "cmdSaveAsJPEG"),
                                      Button(*readingWindow, "cmdBack"), Button(*readingWindow, "cmdExit")};
    readingWindow->showNormal();
    for (int width : {700, 1000, 1300}) {
        readingWindow->resize(width, readingWindow->height());
        const int frame = readingWindow->frameGeometry().width();
        // 300 twips (20 pixels) from the window's right edge, 100 twips (6 to 7 pixels) apart.
        EXPECT_NEAR(order[3]->geometry().right() + 1, frame - 20, 1) << width;
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(order[i + 1]->x() - (order[i]->geometry().right() + 1), 7, 1) << width << " " << i;
        EXPECT_NEAR(Label(*readingWindow, "lblHeading")->geometry().center().x(), frame / 2, 1) << width;
    }
    // Too narrow for the strip: the buttons leave the window on the left rather than wrap.
    readingWindow->setMinimumWidth(0);
    readingWindow->resize(200, readingWindow->height());
    ASSERT_LE(readingWindow->frameGeometry().width(), 250);
    EXPECT_LT(order[0]->x(), 0);
    EXPECT_EQ(order[0]->y(), order[3]->y());
}

// Each command does the same from its button, its menu item, its tool button and its shortcut, in
// every view: the reading is saved, or the view in front pictured, from any of them. A shortcut
// acts from whatever has the focus, the interpretation's text included. Only the strip's two Save
// buttons follow the view: Save with the interpretation, Save As JPEG with the chart or periods.
TEST_F(MainWindowTest, EachCommandWorksFromEveryPlaceInEveryView) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(readingWindow));
    ReadingView& d = readingWindow->Display();
    const auto done = [this] {
        QStringList out;
        for (const platform::FileDialogRequest& request : fake.fileRequests)
            out << request.defaultSuffix;
        out << QStringList(static_cast<qsizetype>(fake.printerRequests.size()), "print");
        for (const QUrl& address : fake.openedAddresses)
            out << address.fileName();
        fake.fileRequests.clear();
        fake.printerRequests.clear();
        fake.openedAddresses.clear();
        return out.join(' ');
    };
    const auto tool = [this](QAction* action) {
        return [this, action] {
            QTest::mouseClick(Child<QToolBar>(*readingWindow, "TB")->widgetForAction(action), Qt::LeftButton);
        };
    };
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers) {
        return [k, modifiers] { QTest::keyClick(QApplication::focusWidget(), k, modifiers); };
    };
    const struct {
        const char* place;
        std::function<void()> use;
        const char* outcome;
        int onlyInInterpretation = -1; // 1 or 0: a strip button enabled only in (or out of) that view
    } places[] = {
        {"Save", [this] { Button(*readingWindow, "cmdSave")->click(); }, "qlm", 1},
        {"File > Save As", [this] { Command(*readingWindow, "mnuSaveAsText")->trigger(); }, "qlm"},
        {"toolbar Save", tool(Command(*readingWindow, "mnuSaveAsText")), "qlm"},
        {"Ctrl+S", key(Qt::Key_S, Qt::ControlModifier), "qlm"},
        {"Save As JPEG", [this] { Button(*readingWindow, "cmdSaveAsJPEG")->click(); }, "JPG"},
        {"File > Save As JPEG", [this] { Command(*readingWindow, "mnuSaveAsJpeg")->trigger(); }, "JPG"},
        {"toolbar Print", tool(Command(*readingWindow, "mnuPrint")), "print"},
        {"Ctrl+P", key(Qt::Key_P, Qt::ControlModifier), "print"},
        {"toolbar Help", tool(Command(*readingWindow, "mnuOnline")), "quillmere-help.html"},
        {"F1", key(Qt::Key_F1, Qt::NoModifier), "quillmere-help.html"},
    };
    const std::pair<const char*, const char*> views[] = {{"cmdPeriods_0", "fraPeriods"},
                                                         {"cmdPeriodsInterpretation", "fraInterpretation"},
                                                         {"cmdChart", "fraChart"}};
    for (const auto& [button, view] : views) {
        QTest::mouseClick(Button(d, button), Qt::LeftButton);
        ASSERT_EQ(ViewInFront(d), view) << button;
        const bool interpretation = ViewInFront(d) == "fraInterpretation";
        if (interpretation)
            Child<QTextEdit>(d, "RTB")->setFocus();
        EXPECT_EQ(Button(*readingWindow, "cmdSave")->isEnabled(), interpretation);
        EXPECT_TRUE(Button(*readingWindow, "cmdSaveAsJPEG")->isEnabled());
        for (const auto& p : places) {
            p.use();
            const bool works = p.onlyInInterpretation < 0 || p.onlyInInterpretation == int(interpretation);
            EXPECT_EQ(done(), works ? p.outcome : "") << p.place << " in " << view;
        }
    }
    EXPECT_TRUE(fake.messages.empty());

    // A button and its menu item and tool button are enabled and disabled together.
    const std::pair<QAction*, QAbstractButton*> commands[] = {
        {Command(*readingWindow, "mnuBack"), Button(*readingWindow, "cmdBack")},
        {Command(*readingWindow, "mnuExit"), Button(*readingWindow, "cmdExit")},
        {Command(*readingWindow, "mnuSaveAsJpeg"), Button(*readingWindow, "cmdSaveAsJPEG")},
        {Command(*readingWindow, "mnuPeriods"), Button(d, "cmdPeriods_1")},
        {Command(d, "actChart"), Button(d, "cmdPeriodsChart")}};
    for (const auto& [action, button] : commands) {
        for (const bool enabled : {false, true}) {
            action->setEnabled(enabled);
            EXPECT_EQ(button->isEnabled(), enabled) << button->objectName().toStdString();
            if (QWidget* toolButton = Child<QToolBar>(*readingWindow, "TB")->widgetForAction(action)) {
                EXPECT_EQ(toolButton->isEnabled(), enabled) << button->objectName().toStdString();
            }
        }
    }
}

TEST_F(MainWindowTest, ThePeriodsViewComesFromTheMenuAndEveryView) {
    ReadingView& d = readingWindow->Display();
    Command(*readingWindow, "mnuPeriods")->trigger();
    EXPECT_EQ(ViewInFront(d), "fraPeriods");
    const std::pair<const char*, const char*> steps[] = {{"cmdPeriodsInterpretation", "fraInterpretation"},
                                                         {"cmdPeriods_1", "fraPeriods"},
                                                         {"cmdPeriodsChart", "fraChart"},
                                                         {"cmdPeriods_0", "fraPeriods"},
                                                         {"cmdInterpretation", "fraInterpretation"},
                                                         {"cmdChart", "fraChart"}};
    for (const auto& [button, view] : steps) {
        QTest::mouseClick(Button(d, button), Qt::LeftButton);
        EXPECT_EQ(ViewInFront(d), view) << button;
    }
}

// The style applies to the rasi and the navamsa chart at once, is kept for the next reading, and a
// choice that cannot be kept still applies and says so.
TEST_F(MainWindowTest, TheChartStyleComesFromTheViewMenuAndIsKept) {
    const auto shows = [](ReadingWindow& window, bool north) {
        const ReadingView& d = window.Display();
        return Command(window, "mnuNorthIndian")->isChecked() == north &&
               Command(window, "mnuSouthIndian")->isChecked() == !north &&
               Child<NorthIndianChart>(d, "picNorthRasi")->isVisibleTo(&window) == north &&
               Child<RasiChart>(d, "picSouthRasi")->isVisibleTo(&window) == !north &&
               Child<NorthIndianChart>(d, "picNorthNavamsa")->isVisibleTo(Child<QWidget>(d, "fraNavamsa")) ==
                   north &&
               Child<RasiChart>(d, "picSouthNavamsa")->isVisibleTo(Child<QWidget>(d, "fraNavamsa")) == !north;
    };
    EXPECT_TRUE(shows(*readingWindow, false));
    Command(*readingWindow, "mnuNorthIndian")->trigger();
    EXPECT_TRUE(shows(*readingWindow, true));
    EXPECT_EQ(fake.settings["chartStyle"], "north");
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(Child<NorthIndianChart>(readingWindow->Display(), "picNorthRasi")->geometry(),
              Child<RasiChart>(readingWindow->Display(), "picSouthRasi")->geometry());

    readingWindow->returnToEntryForm();
    ProcessDeferredDeletes();
    ReadingWindow* next = Compute(Entry1947());
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(shows(*next, true));
    fake.settingsWritable = false;
    Command(*next, "mnuSouthIndian")->trigger();
    EXPECT_TRUE(shows(*next, false));
    EXPECT_EQ(fake.MessageTexts(), QStringList{"The choice could not be kept for the next run."});
    EXPECT_EQ(fake.settings["chartStyle"], "north");
}

TEST_F(MainWindowTest, TheDisplayFormSitsAtTheTopCentredInTheFrame) {
    QMdiSubWindow* window = Child<QMdiSubWindow>(*readingWindow, "displayWindow");
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->widget(), &readingWindow->Display());
    EXPECT_EQ(window->y(), 0);
    const int area = Child<QMdiArea>(*readingWindow, "mdiArea")->viewport()->width();
    if (area >= window->width()) {
        EXPECT_NEAR(window->x(), (area - window->width()) / 2, 1);
    }
    // Its own close command does not take the reading away.
    window->close();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, ToolbarToggleHidesAndShowsWithTheCheckMark) {
    QAction* toggle = Command(*readingWindow, "mnuToolBar");
    const QToolBar* toolbar = Child<QToolBar>(*readingWindow, "TB");
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(toolbar->isVisible());
    toggle->trigger();
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(toolbar->isVisible());
    toggle->trigger();
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(toolbar->isVisible());
}

TEST_F(MainWindowTest, NewReturnsToTheFilledEntryForm) {
    ToolbarButton(*readingWindow, "New")->trigger();
    ProcessDeferredDeletes();
    EXPECT_EQ(form->MainWindow(), nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Box(*form, "txtName")->text(), "First Reading");
    EXPECT_EQ(Box(*form, "txtLatDeg")->text(), "51");
    EXPECT_EQ(List(*form, "cboTimeZone")->currentIndex(), 29);
    EXPECT_EQ(List(*form, "cboYear")->currentText(), "1980");

    // The next reading opens a fresh window with the new personal details.
    Box(*form, "txtName")->setText("Second Reading");
    Button(*form, "cmdCalculate")->click();
    ASSERT_NE(form->MainWindow(), nullptr);
    EXPECT_NE(form->MainWindow(), readingWindow);
    EXPECT_EQ(Label(form->MainWindow()->Display(), "lblName")->text(), "Name: Second Reading");
}

TEST_F(MainWindowTest, BackFromMenuAndButtonReturnsToTheFilledEntryForm) {
    Command(*readingWindow, "mnuBack")->trigger();
    ProcessDeferredDeletes();
    EXPECT_EQ(form->MainWindow(), nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Box(*form, "txtName")->text(), "First Reading");

    Button(*form, "cmdCalculate")->click();
    ASSERT_NE(form->MainWindow(), nullptr);
    EXPECT_FALSE(form->isVisible());
    QTest::mouseClick(Button(*form->MainWindow(), "cmdBack"), Qt::LeftButton);
    ProcessDeferredDeletes();
    EXPECT_EQ(form->MainWindow(), nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Box(*form, "txtName")->text(), "First Reading");
}

TEST_F(MainWindowTest, ExitClosesEveryWindow) {
    QTest::mouseClick(Button(*readingWindow, "cmdExit"), Qt::LeftButton);
    ProcessDeferredDeletes();
    EXPECT_EQ(form->MainWindow(), nullptr);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgramLikeExit) {
    readingWindow->close();
    ProcessDeferredDeletes();
    EXPECT_EQ(form->MainWindow(), nullptr);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindowTest, HelpCommandsOpenTheirPagesAndTheAboutBox) {
    ToolbarButton(*readingWindow, "Help")->trigger();
    Command(*readingWindow, "mnuOnline")->trigger();
    Command(*readingWindow, "mnuUpdate")->trigger();
    ASSERT_EQ(fake.openedAddresses.size(), 3u);
    EXPECT_EQ(fake.openedAddresses[0], fake.openedAddresses[1]);
    EXPECT_TRUE(fake.openedAddresses[0].isLocalFile());
    EXPECT_EQ(fake.openedAddresses[2].scheme(), "https");

    int result = -1;
    fake.onModal = [&result](QDialog& dialog) {
        auto& about = dynamic_cast<AboutDialog&>(dialog);
        EXPECT_EQ(about.windowTitle(), "Quillmere v1.15");
        EXPECT_EQ(Label(about, "lblTitle")->text(), "Quillmere v1.15");
        EXPECT_EQ(Label(about, "lblDescription")->text(),
                  "Quillmere displays the effects or influence of House Lords (planets) that are present  in "
                  "signs other than the ones they rule. This software aims to give you an insight into your "
                  "future based on Vedic astrology.");
        EXPECT_FALSE(Label(about, "picIcon")->pixmap().isNull());
        Button(about, "cmdOK")->click();
        result = about.result();
    };
    Command(*readingWindow, "mnuAbout")->trigger();
    EXPECT_EQ(fake.modalDialogs, std::vector<QString>({"AboutDialog"}));
    EXPECT_EQ(result, QDialog::Accepted);
}

TEST_F(MainWindowTest, WithoutABrowserTheAddressIsGivenToTheUser) {
    fake.browserStarts = false;
    Command(*readingWindow, "mnuOnline")->trigger();
    Command(*readingWindow, "mnuUpdate")->trigger();
    form->findCoordinates(); // the coordinate search of the filled entry form
    ASSERT_EQ(fake.openedAddresses.size(), 3u);
    ASSERT_EQ(fake.messages.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(fake.messages[i].text,
                  "No web browser could be started. Please open this address yourself:\n" +
                      fake.openedAddresses[i].toString(QUrl::FullyEncoded));
        EXPECT_EQ(fake.messages[i].icon, platform::MessageIcon::Error);
    }
}

TEST_F(MainWindowTest, CommandsOfTheFilesWorkShowNothingYet) {
    for (QAction* action :
         {Command(*readingWindow, "mnuSaveAsText"), Command(*readingWindow, "mnuSaveAsJpeg"),
          Command(*readingWindow, "mnuExport"), Command(*readingWindow, "mnuPrint"),
          ToolbarButton(*readingWindow, "Save"), ToolbarButton(*readingWindow, "Print")})
        action->trigger();
    Button(*readingWindow, "cmdSaveAsJPEG")->click();
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_TRUE(readingWindow->isVisible());
    EXPECT_TRUE(fake.openedAddresses.empty());
}

// ---------------------------------------------------------------- start of the program

// The icons are drawn once: a window that drew its own for every reading would leave their copies in
// the pixmap cache, and the program would grow with every reading.
TEST_F(MainWindowTest, EveryReadingWindowUsesTheIconsDrawnOnce) {
    const auto keys = [](const ReadingWindow& window) {
        QList<qint64> out{window.windowIcon().cacheKey()};
        for (const QAction* action : Child<QToolBar>(window, "TB")->actions())
            out << action->icon().cacheKey();
        return out;
    };
    const QList<qint64> first = keys(*readingWindow);
    readingWindow->returnToEntryForm();
    ProcessDeferredDeletes();
    ReadingWindow* next = Compute(Entry1947());
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(keys(*next), first);
}

// Two main windows alive at once, of two births under two calculations: each shows and exports its own.
TEST_F(MainWindowTest, TwoReadingWindowsShowEachItsOwn) {
    const bool built = PreciseCalculationBuilt();
    const std::optional<::Reading> precise =
        ReadingOf(Entry1947(), built ? Calculation::Precise : Calculation::Classic);
    ASSERT_TRUE(precise);
    auto* second = new ReadingWindow(*form);
    second->ShowReading(std::make_shared<const ::Reading>(*precise));
    EXPECT_EQ(readingWindow->windowTitle(), "Quillmere v1.15");
    EXPECT_EQ(
        second->windowTitle(),
        built ? "Quillmere v1.15 - Precise (Swiss Ephemeris), Lahiri ayanamsa, mean node, 365.25-day years"
              : "Quillmere v1.15");
    EXPECT_EQ(Label(readingWindow->Display(), "lblDOB")->text(), "Date of Birth: January 1, 1980");
    EXPECT_EQ(Label(second->Display(), "lblDOB")->text(), "Date of Birth: August 15, 1947");
    EXPECT_EQ(Label(readingWindow->Display(), "Planet_0")->text(), "16 Sag 56");
    EXPECT_EQ(Label(second->Display(), "Planet_0")->text(),
              QString::fromStdString(ShortPositionText(*precise, BodySlot::Sun)));
    EXPECT_EQ(Label(second->Display(), "lblCalculation")->isVisibleTo(&second->Display()), built);
    EXPECT_FALSE(Label(readingWindow->Display(), "lblCalculation")->isVisibleTo(&readingWindow->Display()));

    QTemporaryDir dir;
    fake.fileAnswers.push_back(dir.filePath("first.txt"));
    readingWindow->exportChart();
    fake.fileAnswers.push_back(dir.filePath("second.txt"));
    second->exportChart();
    std::string first, other;
    ASSERT_TRUE(ReadWholeFile(dir.filePath("first.txt").toStdString(), first));
    ASSERT_TRUE(ReadWholeFile(dir.filePath("second.txt").toStdString(), other));
    EXPECT_EQ(first.substr(0, first.find("\r\n")), "Name: First Reading");
    EXPECT_EQ(other, ChartExportText(*precise));
    delete second;
}

TEST(StartTest, ASecondCopySaysSoAndEnds) {
    platform::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    fake.otherCopyRunning = true;
    const std::optional<RunningProgram> program = StartProgram();
    EXPECT_FALSE(program.has_value());
    ASSERT_EQ(fake.MessageTexts(), QStringList({"Application is already running"}));
    EXPECT_EQ(fake.messages[0].icon, platform::MessageIcon::Information);
    for (const QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && qobject_cast<const EntryWindow*>(w)) << "an entry form was shown";
}

TEST(StartTest, TheFirstCopyShowsTheEntryForm) {
    platform::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    std::optional<RunningProgram> program = StartProgram();
    ASSERT_TRUE(program.has_value());
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_NE(program->lock, nullptr);
    EXPECT_TRUE(program->entryForm->isVisible());
    EXPECT_EQ(program->entryForm->windowTitle(), "Quillmere v1.15");
}

TEST(StartTest, ASavedReadingGivenByTheDesktopIsOpened) {
    platform::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    QTemporaryDir dir;
    const QString path = dir.filePath("asha.qlm");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(*EncodeSavedReading(BirthOf(Entry1947()))));
    }
    std::optional<RunningProgram> program = StartProgram({path});
    ASSERT_TRUE(program.has_value());
    EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
    ASSERT_NE(program->entryForm->MainWindow(), nullptr);
    EXPECT_EQ(List(*program->entryForm, "cboYear")->currentText(), "1947");
    EXPECT_EQ(Label(program->entryForm->MainWindow()->Display(), "Planet_0")->text(), "28 Can 43");
    program->entryForm->MainWindow()->returnToEntryForm();
    ProcessDeferredDeletes();
}

TEST(StartTest, WhatIsNotASavedReadingIsRefusedAndOtherArgumentsAreIgnored) {
    platform::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    {
        std::optional<RunningProgram> program = StartProgram({"/no/such/notes.txt"});
        ASSERT_TRUE(program.has_value());
        ASSERT_EQ(fake.messages.size(), 1u);
        EXPECT_TRUE(fake.messages[0].text.startsWith("Please Check The File.\n/no/such/notes.txt"))
            << fake.messages[0].text.toStdString();
        EXPECT_EQ(program->entryForm->MainWindow(), nullptr);
        EXPECT_TRUE(program->entryForm->isVisible());
    }
    fake.messages.clear();
    std::optional<RunningProgram> program = StartProgram({"--verbose", "/no/such/a.qlm"});
    ASSERT_TRUE(program.has_value());
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(program->entryForm->MainWindow(), nullptr);
}

TEST(StartTest, ASecondCopyHandsItsReadingToTheRunningOneAndEndsWithoutAWord) {
    platform::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    fake.otherCopyRunning = true;
    EXPECT_FALSE(StartProgram({"saved/asha.qlm"}).has_value());
    EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
    // The running copy may have another working folder.
    EXPECT_EQ(fake.handedOver, std::vector<QString>{QDir::current().absoluteFilePath("saved/asha.qlm")});
}

TEST(StartTest, WithoutALockTheProgramSaysWhyAndRunsAllTheSame) {
    platform::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    fake.lockUnavailableReason = "/run/user/1000/quillmere-_0: Permission denied";
    const std::optional<RunningProgram> program = StartProgram();
    ASSERT_TRUE(program.has_value());
    EXPECT_EQ(
        fake.MessageTexts(),
        QStringList{"Quillmere could not make sure that only one copy of it runs; it starts all the same.\n"
                    "/run/user/1000/quillmere-_0: Permission denied"});
    EXPECT_EQ(fake.messages[0].icon, platform::MessageIcon::Error);
    EXPECT_TRUE(program->entryForm->isVisible());
}

// A reading handed over by a later copy takes the place of the one on screen, once no dialog of the
// program is open.
TEST(StartTest, AHandedOverReadingIsOpenedByTheRunningCopy) {
    platform::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    QTemporaryDir dir;
    const auto save = [&dir](const BirthEntry& entry, const char* name) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(*EncodeSavedReading(BirthOf(entry))));
        return file.fileName();
    };
    const QString delhi = save(Entry1947(), "delhi.qlm");
    const QString london = save(Entry1980(), "london.qlm");
    std::optional<RunningProgram> program = StartProgram({delhi});
    ASSERT_TRUE(program.has_value());
    EntryWindow& form = *program->entryForm;
    ASSERT_NE(form.MainWindow(), nullptr);

    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    program->lock->Receive(london);
    QCoreApplication::processEvents();
    EXPECT_EQ(List(form, "cboYear")->currentText(), "1947"); // waits for the dialog
    dialog.close();
    EXPECT_TRUE(QTest::qWaitFor([&form] { return List(form, "cboYear")->currentText() == "1980"; }));
    ProcessDeferredDeletes();
    ASSERT_NE(form.MainWindow(), nullptr);
    EXPECT_EQ(Label(form.MainWindow()->Display(), "Planet_0")->text(), "16 Sag 56");
    // The personal details are the new reading's too.
    EXPECT_EQ(Label(form.MainWindow()->Display(), "lblDOB")->text(), "Date of Birth: January 1, 1980");
    EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
    form.MainWindow()->returnToEntryForm();
    ProcessDeferredDeletes();
}

// A name that is not UTF-8 (here a Latin-1 "é") names its own file and no other: given on the command
// line, whole or from the working folder, and chosen for the saved reading, the export and the picture.
TEST(StartTest, ANameThatIsNotUtf8ReachesItsOwnFile) {
    namespace fs = std::filesystem;
    platform::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    const std::string saved = *EncodeSavedReading(BirthOf(Entry1947()));
    ASSERT_TRUE(WriteFileAtomically(folder + "caf\xE9.qlm", saved));

    char name[] = "quillmere";
    char relative[] = "caf\xE9.qlm";
    std::string whole = folder + relative;
    char* fromHere[] = {name, relative};
    char* fromRoot[] = {name, whole.data()};
    fake.otherCopyRunning = true;
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    EXPECT_FALSE(StartProgram(ProgramArguments(2, fromHere)).has_value());
    fs::current_path(before);
    ASSERT_EQ(fake.handedOver.size(), 1u);
    EXPECT_EQ(SystemPath(fake.handedOver[0]), whole);

    fake.otherCopyRunning = false;
    std::optional<RunningProgram> program = StartProgram(ProgramArguments(2, fromRoot));
    ASSERT_TRUE(program.has_value());
    EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
    ReadingWindow* readingWindow = program->entryForm->MainWindow();
    ASSERT_NE(readingWindow, nullptr);
    EXPECT_EQ(List(*program->entryForm, "cboYear")->currentText(), "1947");

    for (const char* suffix : {".qlm", ".txt", ".jpg"})
        fake.fileAnswers.push_back(PathFromSystem(folder + "r\xE9sultat" + suffix));
    readingWindow->saveReading();
    readingWindow->exportChart();
    readingWindow->savePicture();
    EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(folder + "r\xE9sultat.qlm", bytes) && bytes == saved);
    EXPECT_TRUE(ReadWholeFile(folder + "r\xE9sultat.txt", bytes) &&
                bytes == ChartExportText(*ReadingOf(Entry1947())));
    EXPECT_TRUE(ReadWholeFile(folder + "r\xE9sultat.jpg", bytes) && bytes.rfind("\xFF\xD8\xFF", 0) == 0);
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().native());
    EXPECT_EQ(names, (std::set<std::string>{"caf\xE9.qlm", "r\xE9sultat.jpg", "r\xE9sultat.qlm",
                                            "r\xE9sultat.txt"}));
    readingWindow->returnToEntryForm();
    ProcessDeferredDeletes();
}

// A name longer than any path names no file: it is refused with a message of its own (the path
// would not fit on the screen), whether handed over or given at the start, and the reading on
// screen stays.
TEST(StartTest, ANameNoFileCanHaveIsRefusedAndTheReadingStays) {
    platform::FakePlatform fake;
    platform::ScopedPlatform scoped(fake);
    QTemporaryDir dir;
    const QString delhi = dir.filePath("delhi.qlm");
    {
        QFile file(delhi);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(*EncodeSavedReading(BirthOf(Entry1947()))));
    }
    const QString tooLong = "/home/a/" + QString(5000, 'x') + ".qlm";
    const QStringList refusal = {"Please Check The File.\n"
                                 "The name of the file to open is longer than any file's name can be."};

    std::optional<RunningProgram> program = StartProgram({delhi});
    ASSERT_TRUE(program.has_value());
    EntryWindow& form = *program->entryForm;
    program->lock->Receive(tooLong);
    ProcessDeferredDeletes();
    EXPECT_EQ(fake.MessageTexts(), refusal) << fake.MessageTexts().join(" | ").left(200).toStdString();
    EXPECT_EQ(fake.messages.at(0).icon, platform::MessageIcon::Error);
    ASSERT_NE(form.MainWindow(), nullptr);
    EXPECT_EQ(Label(form.MainWindow()->Display(), "Planet_0")->text(), "28 Can 43");
    form.MainWindow()->returnToEntryForm();
    ProcessDeferredDeletes();

    fake.messages.clear();
    program = StartProgram({tooLong});
    ASSERT_TRUE(program.has_value());
    EXPECT_EQ(fake.MessageTexts(), refusal) << fake.MessageTexts().join(" | ").left(200).toStdString();
    EXPECT_TRUE(program->entryForm->isVisible());
}

// ---------------------------------------------------------------- room for the reading (layout)

namespace {

// Lets the layouts and the QMdiArea's scroll bars follow a change of size.
void Settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

TEST_F(MainWindowTest, TheReadingFitsA1280By1024ScreenAt150Percent) {
    // 1280 by 1024 pixels at 150% are 853 by 682 device-independent ones; a task bar of 60 pixels
    // leaves 642 for the window, and a window manager's title bar takes some 30 more of those.
    const struct {
        int height;
        bool designStrips;
    } cases[] = {{682, true}, {642, false}, {612, false}};
    const QMdiArea* area = Child<QMdiArea>(*readingWindow, "mdiArea");
    const QWidget* reading = Child<QMdiSubWindow>(*readingWindow, "displayWindow");
    const QWidget* top = Child<QWidget>(*readingWindow, "picTop");
    const QWidget* strip = Child<QWidget>(*readingWindow, "Picture1");
    readingWindow->showNormal();
    for (const auto& [height, designStrips] : cases) {
        readingWindow->resize(853, height);
        Settle();
        ASSERT_EQ(readingWindow->size(), QSize(853, height));
        EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << height;
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << height;
        EXPECT_TRUE(area->viewport()->rect().contains(reading->geometry())) << height;
        for (const char* button : {"cmdSave", "cmdSaveAsJPEG", "cmdBack", "cmdExit"})
            EXPECT_TRUE(strip->rect().contains(Button(*readingWindow, button)->geometry())) << height;
        // The heading shows whole or not at all.
        if (top->isVisible()) {
            EXPECT_TRUE(top->rect().contains(Label(*readingWindow, "lblHeading")->geometry())) << height;
        }
        if (designStrips) {
            EXPECT_EQ(top->height(), 60);
            EXPECT_EQ(strip->height(), 43);
        }
    }
    // With room again the strips are as designed.
    readingWindow->resize(853, 800);
    Settle();
    EXPECT_TRUE(top->isVisible());
    EXPECT_EQ(top->height(), 60);
    EXPECT_EQ(strip->height(), 43);
    EXPECT_EQ(Button(*readingWindow, "cmdExit")->y(), 8);
}

TEST_F(MainWindowTest, TheReadingCannotBeMovedOutOfView) {
    QMdiArea* area = Child<QMdiArea>(*readingWindow, "mdiArea");
    QWidget* reading = Child<QMdiSubWindow>(*readingWindow, "displayWindow");
    readingWindow->showNormal();
    readingWindow->resize(853, 682);
    Settle();
    const QRect view = area->viewport()->rect();
    ASSERT_TRUE(view.contains(reading->geometry()));
    for (const QPoint target : {QPoint(-400, 0), QPoint(0, 3000), QPoint(5000, -50), QPoint(-10, -10)}) {
        reading->move(target);
        EXPECT_TRUE(view.contains(reading->geometry())) << target.x() << ", " << target.y();
    }
    // In a window smaller than the reading it slides only as far as it still covers the view, as
    // the scroll bars move it.
    readingWindow->resize(500, 400);
    Settle();
    const QRect small = area->viewport()->rect();
    for (const QPoint target : {QPoint(100, 100), QPoint(-2000, -2000), QPoint(-50, -30)}) {
        reading->move(target);
        EXPECT_TRUE(reading->geometry().contains(small)) << target.x() << ", " << target.y();
    }
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    EXPECT_EQ(reading->geometry().bottom(), small.bottom());
}
