// SPDX-License-Identifier: AGPL-3.0-or-later
// The entry form: its lists and defaults, the key filters for typed, pasted and dropped text,
// ValidateInput's messages in order with the focus they leave, the coordinate search and the
// reading command's refusal to show a reading it could not compute.
#include "support/FormTestSupport.h"
#include "support/TestBirths.h"

#include "forms/AboutDialog.h"
#include "forms/FilteredTextBox.h"
#include "records/Messages.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QUrlQuery>
#include <QtMath>

namespace {

const QString kLetters = "Please enter only letters";
const QString kNumbers = "Please enter only numbers";

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

QStringList Numbers(int first, int last) {
    QStringList out;
    for (int n = first; n <= last; ++n)
        out << QString::number(n);
    return out;
}

// Sends a key carrying a character that QTest cannot type, such as an accented letter.
void TypeCharacter(QWidget* target, const QString& character) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
    QApplication::sendEvent(target, &release);
}

} // namespace

// ---------------------------------------------------------------- loading

TEST_F(FormTest, ListsAreFilledAndTheFirstEntriesChosen) {
    EXPECT_EQ(Items(List(*form, "cboDate")), Numbers(1, 31));
    EXPECT_EQ(Items(List(*form, "cboMonth")),
              QStringList({"January", "February", "March", "April", "May", "June", "July", "August",
                           "September", "October", "November", "December"}));
    EXPECT_EQ(Items(List(*form, "cboYear")), Numbers(1901, 2050));
    EXPECT_EQ(Items(List(*form, "cboHour")), Numbers(0, 24));
    EXPECT_EQ(Items(List(*form, "cboMinute")), Numbers(0, 59));
    const QComboBox* zones = List(*form, "cboTimeZone");
    ASSERT_EQ(zones->count(), 71);
    EXPECT_EQ(zones->itemText(0), "Alaska/Hawaii Daylight Time,AHDT,-9.0");
    EXPECT_EQ(zones->itemText(34), "Indian Time, IST, +5.3");
    EXPECT_EQ(zones->itemText(70), "Yukon War Time,YWT,-8.0");

    for (const char* list : {"cboDate", "cboMonth", "cboYear", "cboHour", "cboMinute", "cboTimeZone"}) {
        EXPECT_EQ(List(*form, list)->currentIndex(), 0) << list;
        EXPECT_FALSE(List(*form, list)->isEditable()) << list;
    }
    EXPECT_TRUE(Button(*form, "optLat_0")->isChecked());
    EXPECT_TRUE(Button(*form, "optLong_0")->isChecked());
    EXPECT_FALSE(Button(*form, "chkDST")->isChecked());
    for (const char* box : {"txtName", "txtCity", "txtLatDeg"})
        EXPECT_TRUE(Box(*form, box)->text().isEmpty()) << box;
}

TEST_F(FormTest, CaptionsAndMenusReadAsTheProgramWritesThem) {
    EXPECT_EQ(form->windowTitle(), "Quillmere v1.15");
    EXPECT_EQ(Button(*form, "cmdCalculate")->text(), "&Get My House Lords Reading");
    EXPECT_EQ(Button(*form, "cmdOpen")->text(), "&Open Previously Saved Reading");
    EXPECT_EQ(Button(*form, "Command1")->text(), "Click here to find Latitude && Longitude");
    EXPECT_EQ(Button(*form, "chkDST")->text(), "Daylight Saving Time");
    EXPECT_EQ(Button(*form, "optLat_0")->text(), "North");
    EXPECT_EQ(Button(*form, "optLat_1")->text(), "South");
    EXPECT_EQ(Button(*form, "optLong_0")->text(), "East");
    EXPECT_EQ(Button(*form, "optLong_1")->text(), "West");
    EXPECT_EQ(
        Label(*form, "lblDescription")->text(),
        "Quillmere displays the effects or influence of House Lords (planets) that are present  in signs "
        "other than the ones they rule. This software aims to give you an insight into your future based "
        "on astrology.");
    for (const char* caption : {"Name", "Date of Birth", "Time of Birth", "HH/MM", "Latitude", "Longitude",
                                "DEG/MIN", "City", "State", "Country", "Time Zone"}) {
        bool found = false;
        for (const QLabel* label : form->findChildren<QLabel*>())
            found = found || label->text() == caption;
        EXPECT_TRUE(found) << caption;
    }

    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(MenuCaptions(menus[0]->menu()), QStringList({"Get My &Rasi Chart", "-", "&Exit"}));
    EXPECT_EQ(menus[1]->text(), "&Help");
    EXPECT_TRUE(MenuCaptions(menus[1]->menu()).contains("&About Software"));
}

TEST_F(FormTest, TabOrderFollowsTheFields) {
    QList<QWidget*> expected;
    for (const char* name :
         {"txtName",     "cboDate",    "cboMonth",     "cboYear",   "cboHour",   "cboMinute",
          "cboTimeZone", "txtLatDeg",  "txtLatMin",    "txtLonDeg", "txtLonMin", "txtCity",
          "txtState",    "txtCountry", "cmdCalculate", "optLong_0", "optLong_1", "optLat_0",
          "optLat_1",    "Command1",   "chkDST",       "cmdOpen"})
        expected << Child<QWidget>(*form, name);
    QList<QWidget*> chain;
    QWidget* w = expected.front();
    do {
        if (expected.contains(w))
            chain << w;
        w = w->nextInFocusChain();
    } while (w != expected.front() && chain.size() < expected.size());
    EXPECT_EQ(chain, expected);
    // On screen the month stands left of the day, though the day comes first in the tab order.
    EXPECT_LT(List(*form, "cboMonth")->mapTo(form.get(), QPoint()).x(),
              List(*form, "cboDate")->mapTo(form.get(), QPoint()).x());
}

// ---------------------------------------------------------------- key filters

TEST_F(FormTest, LettersFilterPassesLettersBlanksAndBackspaceOnly) {
    FilteredTextBox* name = Box(*form, "txtName");
    name->setFocus();
    QTest::keyClicks(name, "Ab yZ");
    EXPECT_EQ(name->text(), "Ab yZ");
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(name->text(), "Ab y");
    EXPECT_TRUE(fake.messages.empty());

    for (const char* refused : {"1", "-", "."}) {
        QTest::keyClicks(name, refused);
        EXPECT_EQ(name->text(), "Ab y") << refused;
    }
    TypeCharacter(name, QString::fromUtf8("é"));
    QTest::keyClick(name, Qt::Key_Return);
    QGuiApplication::clipboard()->setText("Letters");
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(name->text(), "Ab y");
    EXPECT_EQ(fake.MessageTexts(), QStringList(6, kLetters));
    EXPECT_EQ(fake.messages.back().icon, platform::MessageIcon::Error);
}

TEST_F(FormTest, LettersFilterPutsTheFocusBackOnItsBox) {
    FilteredTextBox* city = Box(*form, "txtCity");
    city->setFocus();
    // The message takes the focus away, as a message box would; the filter brings it back.
    fake.onMessage = [this](const platform::FakePlatform::Message&) { Button(*form, "cmdOpen")->setFocus(); };
    QTest::keyClicks(city, "7");
    ASSERT_EQ(fake.MessageTexts(), QStringList({kLetters}));
    EXPECT_EQ(QApplication::focusWidget(), city);
}

// A shortcut acts before a box's filter sees the key: Ctrl+O opens a saved reading and F1 the help
// from a letters box and a digits box alike, leaving the text as it was; a Ctrl key that is no
// command is still the filter's to refuse.
TEST_F(FormTest, ShortcutsActFromTheTextBoxesBeforeTheirFilters) {
    const struct {
        FilteredTextBox* box;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* outcome;
    } cases[] = {
        {Box(*form, "txtName"), Qt::Key_O, Qt::ControlModifier, "open"},
        {Box(*form, "txtLatDeg"), Qt::Key_O, Qt::ControlModifier, "open"},
        {Box(*form, "txtCity"), Qt::Key_F1, Qt::NoModifier, "help"},
        {Box(*form, "txtLonMin"), Qt::Key_F1, Qt::NoModifier, "help"},
        {Box(*form, "txtName"), Qt::Key_S, Qt::ControlModifier, "Please enter only letters"},
        {Box(*form, "txtLatMin"), Qt::Key_P, Qt::ControlModifier, "Please enter only numbers"},
    };
    for (const auto& c : cases) {
        fake.fileRequests.clear();
        fake.openedAddresses.clear();
        fake.messages.clear();
        c.box->setText(c.box == Box(*form, "txtName") || c.box == Box(*form, "txtCity") ? "Asha" : "12");
        const QString before = c.box->text();
        c.box->setFocus();
        QTest::keyClick(c.box, c.key, c.modifiers);
        QStringList outcome = fake.MessageTexts();
        for (const platform::FileDialogRequest& request : fake.fileRequests)
            outcome << (request.kind == platform::FileDialogRequest::Kind::Open ? "open" : "save");
        for (const QUrl& address : fake.openedAddresses)
            outcome << (address.fileName() == "quillmere-help.html" ? "help" : address.toString());
        EXPECT_EQ(outcome, QStringList{c.outcome}) << c.box->objectName().toStdString();
        EXPECT_EQ(c.box->text(), before) << c.box->objectName().toStdString();
    }
}

TEST_F(FormTest, DigitsFilterPassesDigitsUpToThreeAndBackspace) {
    for (QLineEdit* box : {Box(*form, "txtLatDeg"), Box(*form, "txtLatMin"), Box(*form, "txtLonDeg"),
                           Box(*form, "txtLonMin")}) {
        fake.messages.clear();
        box->setFocus();
        QTest::keyClicks(box, "1a2");
        QTest::keyClick(box, Qt::Key_Enter);
        QTest::keyClick(box, Qt::Key_Space);
        QTest::keyClicks(box, "345");
        EXPECT_EQ(box->text(), "123") << box->objectName().toStdString();
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), "12");
        EXPECT_EQ(fake.MessageTexts(), QStringList(3, kNumbers)) << box->objectName().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), box);
    }
}

TEST_F(FormTest, PastedTextPassesTheFilterWholeOrNotAtAll) {
    FilteredTextBox* latDeg = Box(*form, "txtLatDeg");
    FilteredTextBox* city = Box(*form, "txtCity");
    QClipboard* clipboard = QGuiApplication::clipboard();
    city->setFocus();
    clipboard->setText("New Delhi");
    city->PasteChecked();
    EXPECT_EQ(city->text(), "New Delhi");

    clipboard->setText(" Ward 7");
    QTest::keyClick(city, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(city->text(), "New Delhi");
    EXPECT_EQ(fake.MessageTexts(), QStringList({kLetters}));

    latDeg->setFocus();
    clipboard->setText("2x");
    latDeg->PasteChecked();
    EXPECT_TRUE(latDeg->text().isEmpty());
    EXPECT_EQ(fake.MessageTexts().last(), kNumbers);
    // A refused character beyond the three that would fit still refuses the paste.
    latDeg->setText("1");
    clipboard->setText("23x");
    latDeg->PasteChecked();
    EXPECT_EQ(latDeg->text(), "1");

    fake.messages.clear();
    latDeg->clear();
    clipboard->setText("28739");
    latDeg->PasteChecked();
    EXPECT_EQ(latDeg->text(), "287");
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(FormTest, ContextMenuPasteIsFilteredToo) {
    FilteredTextBox* name = Box(*form, "txtName");
    QGuiApplication::clipboard()->setText("12");
    name->setFocus();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), name->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(name, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions())
        if (action->text().startsWith("&Paste"))
            paste = action;
    ASSERT_NE(paste, nullptr);
    paste->setEnabled(true);
    paste->trigger();
    menu->close();
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_EQ(fake.MessageTexts(), QStringList({kLetters}));
}

TEST_F(FormTest, DroppedTextPassesTheFilterWholeOrNotAtAll) {
    FilteredTextBox* lonMin = Box(*form, "txtLonMin");
    FilteredTextBox* country = Box(*form, "txtCountry");
    DropText(country, "India2");
    EXPECT_TRUE(country->text().isEmpty());
    EXPECT_EQ(fake.MessageTexts(), QStringList({kLetters}));
    DropText(lonMin, "1.5");
    EXPECT_TRUE(lonMin->text().isEmpty());
    EXPECT_EQ(fake.MessageTexts().value(1), kNumbers);
    DropText(country, "India");
    EXPECT_EQ(country->text(), "India");
    EXPECT_EQ(fake.messages.size(), 2u);
}

// ---------------------------------------------------------------- ValidateInput

TEST_F(FormTest, ValidateInputRefusesEachMissingFieldInTurnAndFocusesIt) {
    struct Step {
        const char* message;
        QLineEdit* box;
        const char* text;
    };
    const Step steps[] = {
        {"Please Enter Your Name", Box(*form, "txtName"), "A"},
        {"Please Enter Degree of Latitude", Box(*form, "txtLatDeg"), "28"},
        {"Please Enter Minutes of Latitude", Box(*form, "txtLatMin"), "39"},
        {"Please Enter Degree of Longitude", Box(*form, "txtLonDeg"), "77"},
        {"Please Enter Minute of Longitude", Box(*form, "txtLonMin"), "13"},
        {"Please Enter Your City name", Box(*form, "txtCity"), "Delhi"},
        {"Please Enter Your State name", Box(*form, "txtState"), "Delhi"},
        {"Please Enter Your Country name", Box(*form, "txtCountry"), "India"},
    };
    for (const Step& step : steps) {
        fake.messages.clear();
        Button(*form, "cmdOpen")->setFocus();
        EXPECT_FALSE(form->ValidateInput());
        ASSERT_EQ(fake.MessageTexts(), QStringList({step.message}));
        EXPECT_EQ(fake.messages[0].icon, platform::MessageIcon::Error);
        EXPECT_EQ(QApplication::focusWidget(), step.box) << step.message;
        step.box->setText(step.text);
    }
    fake.messages.clear();
    EXPECT_TRUE(form->ValidateInput());
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(FormTest, ValidateInputChoosesNorthAndEastWhenNoDirectionIsSelected) {
    FillForm(*form, Entry1947());
    Button(*form, "optLat_1")->setChecked(true);
    Button(*form, "optLong_1")->setChecked(true);
    ClearPair(*form, "optLat");
    ClearPair(*form, "optLong");

    EXPECT_FALSE(form->ValidateInput());
    EXPECT_TRUE(Button(*form, "optLat_0")->isChecked());
    EXPECT_FALSE(Button(*form, "optLong_0")->isChecked() || Button(*form, "optLong_1")->isChecked());
    EXPECT_FALSE(form->ValidateInput());
    EXPECT_TRUE(Button(*form, "optLong_0")->isChecked());
    EXPECT_EQ(fake.MessageTexts(), QStringList({"Please Select Direction For The Latitude",
                                                "Please Select Direction For The Longitude"}));
    EXPECT_TRUE(form->ValidateInput());
}

TEST_F(FormTest, ValidateInputChecksTheCoordinateRangesInOrder) {
    FillForm(*form, Entry1947());
    struct Case {
        QLineEdit* box;
        const char* bad;
        const char* message;
    };
    const Case cases[] = {
        {Box(*form, "txtLatDeg"), "91", "Please Enter Correct Latitude (0 to 90 Degrees)"},
        {Box(*form, "txtLatMin"), "60", "Please Enter Correct Minutes of Latitude (0 to 59)"},
        {Box(*form, "txtLonDeg"), "181", "Please Enter Correct Longitude (0 to 180 Degrees)"},
        {Box(*form, "txtLonMin"), "75", "Please Enter Correct Minute of Longitude (0 to 59)"},
    };
    // All four wrong at once: each is reported in turn as the one before it is put right.
    for (const Case& c : cases)
        c.box->setText(c.bad);
    for (const Case& c : cases) {
        fake.messages.clear();
        Box(*form, "txtName")->setFocus();
        EXPECT_FALSE(form->ValidateInput());
        ASSERT_EQ(fake.MessageTexts(), QStringList({c.message}));
        EXPECT_EQ(QApplication::focusWidget(), c.box) << c.message;
        c.box->setText("0");
    }
    Box(*form, "txtLatDeg")->setText("90");
    Box(*form, "txtLonDeg")->setText("180");
    EXPECT_TRUE(form->ValidateInput());
    Box(*form, "txtLatMin")->setText("1");
    EXPECT_FALSE(form->ValidateInput());
    EXPECT_EQ(fake.MessageTexts().last(), "Please Enter Correct Latitude (0 to 90 Degrees)");
}

TEST_F(FormTest, ValidateInputRefusesDaysTheMonthDoesNotHave) {
    FillForm(*form, Entry1947());
    const auto check = [this](int day, const char* month, int year) {
        fake.messages.clear();
        List(*form, "cboDate")->setCurrentText(QString::number(day));
        List(*form, "cboMonth")->setCurrentText(month);
        List(*form, "cboYear")->setCurrentText(QString::number(year));
        return form->ValidateInput() ? QString() : fake.MessageTexts().value(0);
    };
    const QString february = "Please Enter Correct Date Or Month!";
    const QString thirty = "Please Enter Correct Date Or Month !";
    EXPECT_EQ(check(29, "February", 1904), QString());
    EXPECT_EQ(check(29, "February", 1901), february);
    EXPECT_EQ(fake.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(check(30, "February", 1904), february);
    EXPECT_EQ(check(31, "February", 2000), february);
    EXPECT_EQ(check(28, "February", 1901), QString());
    for (const char* month : {"April", "June", "September", "November"}) {
        EXPECT_EQ(check(31, month, 1980), thirty) << month;
        EXPECT_EQ(check(30, month, 1980), QString()) << month;
    }
    EXPECT_EQ(check(31, "April", 1980), thirty);
    EXPECT_EQ(fake.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(check(31, "December", 1980), QString());
    List(*form, "cboHour")->setCurrentText("24");
    EXPECT_EQ(check(31, "January", 2050), QString());
}

// ---------------------------------------------------------------- coordinate search and help

TEST_F(FormTest, CoordinateSearchNeedsThePlaceThenSearchesForIt) {
    const struct {
        QLineEdit* box;
        const char* message;
        const char* text;
    } steps[] = {{Box(*form, "txtCity"), "Please Enter City", " New Delhi "},
                 {Box(*form, "txtState"), "Please Enter State", "Delhi"},
                 {Box(*form, "txtCountry"), "Please Enter Country", "India"}};
    for (const auto& step : steps) {
        fake.messages.clear();
        Button(*form, "cmdCalculate")->setFocus();
        Button(*form, "Command1")->click();
        ASSERT_EQ(fake.MessageTexts(), QStringList({step.message}));
        EXPECT_EQ(fake.messages[0].icon, platform::MessageIcon::Error);
        EXPECT_EQ(QApplication::focusWidget(), step.box);
        EXPECT_TRUE(fake.openedAddresses.empty());
        step.box->setText(step.text);
    }
    fake.messages.clear();
    Button(*form, "Command1")->click();
    EXPECT_TRUE(fake.messages.empty());
    ASSERT_EQ(fake.openedAddresses.size(), 1u);
    const QUrl url = fake.openedAddresses[0];
    EXPECT_EQ(url.scheme(), "https");
    // The fields are taken as they stand, blanks included.
    EXPECT_EQ(QUrlQuery(url).queryItemValue("q", QUrl::FullyDecoded),
              " New Delhi  Delhi India Latitude Longitude");
}

TEST_F(FormTest, HelpMenuOpensTheAboutBoxModallyAndTheHelpPage) {
    QStringList seen;
    fake.onModal = [&seen](QDialog& dialog) {
        auto* about = qobject_cast<AboutDialog*>(&dialog);
        ASSERT_NE(about, nullptr);
        EXPECT_TRUE(about->isModal());
        seen << about->windowTitle() << Label(*about, "lblTitle")->text() << Button(*about, "cmdOK")->text();
        EXPECT_TRUE(Label(*about, "lblCredits")
                        ->text()
                        .endsWith("GNU Affero General Public License, version 3 or later, and comes "
                                  "with no warranty."));
    };
    Command(*form, "mnuAbout")->trigger();
    EXPECT_EQ(fake.modalDialogs, std::vector<QString>({"AboutDialog"}));
    EXPECT_EQ(seen, QStringList({"Quillmere v1.15", "Quillmere v1.15", "OK"}));

    Command(*form, "mnuOnline")->trigger();
    ASSERT_EQ(fake.openedAddresses.size(), 1u);
    EXPECT_TRUE(fake.openedAddresses[0].isLocalFile());
    EXPECT_TRUE(fake.openedAddresses[0].toLocalFile().endsWith("/quillmere-help.html"));
}

// ---------------------------------------------------------------- the reading command

TEST_F(FormTest, ARefusedFormLeavesTheLastReadingAndShowsNoWindow) {
    BirthEntry kept = Entry1947();
    kept.name = "Kept Person";
    ASSERT_NE(Compute(kept), nullptr);
    form->MainWindow()->returnToEntryForm();
    ProcessDeferredDeletes();

    Box(*form, "txtName")->clear();
    Button(*form, "cmdCalculate")->click();
    EXPECT_EQ(fake.MessageTexts().last(), "Please Enter Your Name");
    EXPECT_EQ(form->MainWindow(), nullptr);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FormTest, AReadingThatCannotBeComputedIsNotShownAtAll) {
    FillForm(*form, Entry1980());
    // No time zone chosen: nothing the form checks, yet no reading can be made from it.
    List(*form, "cboTimeZone")->setCurrentIndex(-1);
    Command(*form, "mnuCalculate")->trigger();
    EXPECT_EQ(fake.MessageTexts(), QStringList({"The reading could not be computed."}));
    EXPECT_EQ(fake.messages[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(form->MainWindow(), nullptr);
    EXPECT_TRUE(form->isVisible());
}

// A birth at a pole passes the form's checks, but neither calculation reads it: the message, and the
// latitude to put right.
TEST_F(FormTest, ABirthAtAPoleIsRefusedWithTheLatitudeFocused) {
    FillForm(*form, MakeEntry(1990, 6, 1, 12, 0, 29, "90", "0", true, "0", "0", true));
    Box(*form, "txtName")->setFocus();
    Command(*form, "mnuCalculate")->trigger();
    EXPECT_EQ(fake.MessageTexts(), QStringList({msg::kAscendantAtPole}));
    EXPECT_EQ(QApplication::focusWidget(), Box(*form, "txtLatDeg"));
    EXPECT_EQ(form->MainWindow(), nullptr);
}

TEST_F(FormTest, TheReadingCommandCopiesTheFormAndHidesIt) {
    BirthEntry entry = Entry1947();
    entry.name = "  Spaced Name ";
    entry.city = "  Delhi ";
    entry.lonDirection = 1;
    entry.dst = true;
    ReadingWindow* readingWindow = Compute(entry);
    ASSERT_NE(readingWindow, nullptr);
    EXPECT_TRUE(readingWindow->isVisible());
    EXPECT_FALSE(form->isVisible());
    ASSERT_NE(readingWindow->Display().ShownReading(), nullptr);
    const Birth& birth = readingWindow->Display().ShownReading()->birth;
    EXPECT_EQ(birth.name, "  Spaced Name ");
    EXPECT_EQ(birth.city, "Delhi");
    EXPECT_FALSE(birth.lonEast);
    EXPECT_FALSE(birth.latSouth);
    EXPECT_TRUE(birth.dst);
    EXPECT_EQ(birth.zoneRow, 34);
    EXPECT_EQ(birth.tzHoursSigned, -5);
    EXPECT_EQ(birth.tzMinutes, 30);
}

// ---------------------------------------------------------------- layout

TEST_F(FormTest, LongListsOpenSixteenRowsHigh) {
    for (const char* name : {"cboYear", "cboMinute", "cboTimeZone", "cboDate", "cboHour"}) {
        QComboBox* list = List(*form, name);
        list->showPopup();
        const QWidget* popup = list->view()->window();
        ASSERT_TRUE(popup->isVisible()) << name;
        const int row = list->view()->sizeHintForRow(0);
        EXPECT_GE(popup->height(), 16 * row) << name;
        EXPECT_LE(popup->height(), 17 * row) << name;
        // Every list is longer than it opens; its scroll bar shows that there is more.
        EXPECT_TRUE(list->view()->verticalScrollBar()->isVisible()) << name;
        list->hidePopup();
        EXPECT_FALSE(popup->isVisible()) << name;
    }
}

// Kathmandu's line is four lines long (+5:45 is in no row). Nothing below the line moves as it comes
// and goes, and it shows whole, at any scaling.
TEST_F(FormTest, TheZoneLineHasRoomKeptForItAndShowsWhole) {
    FillForm(*form, MakeEntry(1990, 2, 4, 10, 0, 0, "", "", false, "", "", true));
    QCoreApplication::processEvents();
    const auto places = [this] {
        std::vector<std::string> out{std::to_string(form->width()) + "x" + std::to_string(form->height())};
        for (const char* below : {"txtLatDeg", "optLong_1", "txtCity", "txtCountry", "cmdCalculate"}) {
            const QPoint at = Child<QWidget>(*form, below)->mapTo(form.get(), QPoint());
            out.push_back(below + (" at " + std::to_string(at.x())) + "," + std::to_string(at.y()));
        }
        return out;
    };
    const std::vector<std::string> before = places();
    ChooseFirstPlace(*form, "Kathm");
    QCoreApplication::processEvents();
    const QLabel* note = Label(*form, "lblZoneNote");
    ASSERT_FALSE(note->isHidden());
    ASSERT_TRUE(note->text().startsWith("Asia/Kathmandu: UTC+5:45 on 4 February 1990"))
        << note->text().toStdString();
    EXPECT_EQ(places(), before);
    const QRect text = note->fontMetrics().boundingRect(QRect(0, 0, note->contentsRect().width(), 1000),
                                                        Qt::TextWordWrap, note->text());
    EXPECT_GE(text.height(), 3 * note->fontMetrics().height()); // the case is the long one
    EXPECT_GE(note->visibleRegion().boundingRect().height(), text.height());
    EXPECT_GE(note->height(), text.height());

    // Another city forgets the place; its line gives way to one that says whose clock the time is in.
    QTest::keyClicks(Box(*form, "txtCity"), "x");
    QCoreApplication::processEvents();
    EXPECT_TRUE(note->text().startsWith("Kathmandu is no longer chosen;")) << note->text().toStdString();
    EXPECT_EQ(places(), before);
    List(*form, "cboMinute")->setCurrentIndex(1); // a time set by hand is the fields' own: no line
    QCoreApplication::processEvents();
    EXPECT_TRUE(note->isHidden());
    EXPECT_EQ(places(), before);
}

// The introduction's frame as the window shows it, wherever the scaling puts the box: as many pixels
// thick on every side.
TEST_F(FormTest, TheIntroductionsFrameIsAlikeOnEverySide) {
    const QImage window = form->grab().toImage();
    const double ratio = window.devicePixelRatio();
    const QLabel* description = Label(*form, "lblDescription");
    const QRect box(description->mapTo(form.get(), QPoint()), description->size());
    const QRect pixels(QPoint(qCeil(box.left() * ratio), qCeil(box.top() * ratio)),
                       QPoint(qFloor((box.right() + 1) * ratio) - 1, qFloor((box.bottom() + 1) * ratio) - 1));
    const QColor ground = window.pixelColor(pixels.center().x(), pixels.top() - 3);
    const auto isFrame = [&](QPoint p) { return qGray(window.pixel(p)) < qGray(ground.rgb()) - 20; };
    // Frame pixels met from just outside the box to its inside, across the middle of each side.
    const auto thickness = [&](QPoint from, QPoint step) {
        int count = 0;
        QPoint p = from;
        for (int i = 0; i < 6; ++i, p += step)
            count += isFrame(p) ? 1 : 0;
        return count;
    };
    const int mx = pixels.center().x(), my = pixels.center().y();
    const int sides[] = {
        thickness({pixels.left() - 2, my}, {1, 0}), thickness({pixels.right() + 2, my}, {-1, 0}),
        thickness({mx, pixels.top() - 2}, {0, 1}), thickness({mx, pixels.bottom() + 2}, {0, -1})};
    for (const int side : sides) {
        EXPECT_EQ(side, sides[0]);
        EXPECT_GE(side, 1);
    }
}

TEST_F(FormTest, TheEntryFormHasOneSizeAndCannotBeMaximised) {
    const QSize size = form->size();
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form->minimumSize(), size);
    EXPECT_EQ(form->maximumSize(), size);
    form->showMaximized();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_FALSE(form->isMaximized());
    EXPECT_EQ(form->size(), size);
    // The content fills the window rather than sitting in a corner of it.
    EXPECT_EQ(form->centralWidget()->geometry().bottomRight(), form->rect().bottomRight());
    form->showNormal();
}

TEST_F(FormTest, TheCalculationChoiceIsKeptUsedAndShown) {
    if (!PreciseCalculationBuilt())
        GTEST_SKIP() << "built without the precise calculation";
    ASSERT_TRUE(Command(*form, "mnuClassic")->isChecked());
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[2]->text(), "&Calculation");
    EXPECT_EQ(MenuCaptions(menus[2]->menu()),
              QStringList({"Classic", "Precise (Swiss Ephemeris)", "-", "&Conventions..."}));

    Command(*form, "mnuPrecise")->trigger();
    EXPECT_EQ(fake.settings["calculation"], "precise");
    ReadingWindow* readingWindow = Compute(Entry1947());
    ASSERT_NE(readingWindow, nullptr);
    EXPECT_EQ(readingWindow->windowTitle(),
              "Quillmere v1.15 - Precise (Swiss Ephemeris), Lahiri ayanamsa, mean node, 365.25-day years");
    const QLabel* calculation = Label(readingWindow->Display(), "lblCalculation");
    EXPECT_EQ(calculation->text(), "Precise: Lahiri, mean node, 365.25-day years");
    EXPECT_EQ(calculation->toolTip(),
              "Precise (Swiss Ephemeris), Lahiri ayanamsa, mean node, 365.25-day years");
    EXPECT_FALSE(calculation->isHidden());
    EXPECT_EQ(Label(readingWindow->Display(), "lblLord")->text(), "Saturn");
    EXPECT_EQ(Label(readingWindow->Display(), "lblPada")->text(), "1");

    // The next run starts with the choice kept.
    EntryWindow second;
    EXPECT_TRUE(Command(second, "mnuPrecise")->isChecked());

    // Back to classic: the reading and the window are the classic ones again.
    readingWindow->returnToEntryForm();
    fake.settingsWritable = false;
    Command(*form, "mnuClassic")->trigger();
    EXPECT_EQ(fake.MessageTexts(), QStringList{"The choice could not be kept for the next run."});
    readingWindow = Compute(Entry1947());
    ASSERT_NE(readingWindow, nullptr);
    EXPECT_EQ(readingWindow->windowTitle(), "Quillmere v1.15");
    EXPECT_TRUE(Label(readingWindow->Display(), "lblCalculation")->isHidden());
    EXPECT_EQ(Label(readingWindow->Display(), "lblPada")->text(), "4");
}
