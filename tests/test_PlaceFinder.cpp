// SPDX-License-Identifier: AGPL-3.0-or-later
// The entry form's place search on the real atlas beside the tests. Coordinates are the places' well
// known ones; offsets are the tz database's history (Kathmandu on +5:45 since 1986, India on +5:30 in
// 1947, New York on daylight time on 4 July 1990).
#include "support/FormTestSupport.h"
#include "support/TestBirths.h"

#include "records/Messages.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>

namespace {

class PlaceFinderTest : public FormTest {
  protected:
    // Types the start of a name into City and picks the first place offered, on a form that holds
    // no earlier place.
    void Pick(const char* typed, int year, int month, int day, int hour, int minute) {
        form->LoadEntry(MakeEntry(year, month, day, hour, minute, 0, "", "", false, "", "", true));
        ChooseFirstPlace(*form, typed);
    }
    // The fields' time and the place's clock the reading would carry, "11:45 12:00" ("-" for none).
    std::string Times() const {
        const BirthEntry e = form->BuildEntry();
        const auto clock = [](int hour, int minute) {
            return std::to_string(hour) + ":" + (minute < 10 ? "0" : "") + std::to_string(minute);
        };
        return clock(e.hour, e.minute) + " " +
               (e.placeClock ? clock(e.placeClock->hour, e.placeClock->minute) : std::string("-"));
    }
    QString Note() const {
        const QLabel* note = Label(*form, "lblZoneNote");
        return note->isHidden() ? QString() : note->text();
    }
};

} // namespace

TEST_F(PlaceFinderTest, APlaceFillsCoordinatesPlaceZoneAndBox) {
    const struct {
        const char* typed;
        int year, month, day, hour, minute;
        const char *latDeg, *latMin, *lonDeg, *lonMin;
        int south, west;
        const char *city, *country;
        int zoneRow;
        bool dst;
        int shownHour, shownMinute;
        const char* noteHas;
    } cases[] = {
        {"Delh", 1947, 8, 15, 0, 0, "28", "39", "77", "13", 0, 0, "Delhi", "India", 34, false, 0, 0,
         "Asia/Kolkata: UTC+5:30 on 15 August 1947, no daylight saving"},
        {"New York", 1990, 7, 4, 12, 0, "40", "43", "74", "0", 0, 1, "New York City", "United States", 27,
         true, 12, 0, "UTC-4:00 on 4 July 1990"},
        // +5:45 is in no row: the same moment is shown in Indian Time, a quarter of an hour earlier.
        {"Kathm", 1990, 6, 1, 10, 0, "27", "42", "85", "19", 0, 0, "Kathmandu", "Nepal", 34, false, 9, 45,
         "UTC+5:45"},
        // Local mean time before 1920: the same moment in Indian Time would fall in 1900, which the
        // form cannot hold, so the typed time stays and the line says so.
        {"Kathm", 1901, 1, 1, 0, 0, "27", "42", "85", "19", 0, 0, "Kathmandu", "Nepal", 34, false, 0, 0,
         "the same moment. That falls outside the years the form holds"},
        {"Sao Paulo", 1980, 3, 1, 12, 0, "23", "33", "46", "38", 1, 1, "Sao Paulo", "Brazil", -1, false, 12,
         0, "UTC-3:00"},
    };
    for (const auto& c : cases) {
        Pick(c.typed, c.year, c.month, c.day, c.hour, c.minute);
        const BirthEntry e = form->BuildEntry();
        EXPECT_EQ(e.latDeg, c.latDeg) << c.typed;
        EXPECT_NEAR(std::stoi(e.latMin), std::stoi(c.latMin), 1) << c.typed;
        EXPECT_EQ(e.lonDeg, c.lonDeg) << c.typed;
        EXPECT_NEAR(std::stoi(e.lonMin), std::stoi(c.lonMin), 1) << c.typed;
        EXPECT_EQ(e.latDirection, c.south) << c.typed;
        EXPECT_EQ(e.lonDirection, c.west) << c.typed;
        EXPECT_EQ(e.city, c.city) << c.typed;
        EXPECT_EQ(e.country, c.country) << c.typed;
        if (c.zoneRow >= 0) {
            EXPECT_EQ(e.zoneRow, c.zoneRow) << c.typed;
        }
        EXPECT_EQ(e.dst, c.dst) << c.typed;
        EXPECT_EQ(e.hour, c.shownHour) << c.typed;
        EXPECT_EQ(e.minute, c.shownMinute) << c.typed;
        EXPECT_TRUE(Note().contains(c.noteHas)) << c.typed << ": " << Note().toStdString();
        // What the atlas filled passes the form's own checks.
        EXPECT_FALSE(CheckBirthEntry(e)) << c.typed;
    }
}

// A city-state has no state in the atlas; the form requires one and gets the country's name.
TEST_F(PlaceFinderTest, ACityStateFillsTheStateWithItsCountry) {
    Pick("Singapore", 1990, 1, 1, 12, 0);
    const BirthEntry e = form->BuildEntry();
    EXPECT_EQ(e.state, "Singapore");
    EXPECT_FALSE(CheckBirthEntry(e));
}

TEST_F(PlaceFinderTest, TheDateRederivesUntilTheZoneIsSetByHand) {
    Pick("New York", 1990, 1, 15, 12, 0);
    EXPECT_FALSE(Button(*form, "chkDST")->isChecked()); // January: standard time
    List(*form, "cboMonth")->setCurrentIndex(6);        // July: daylight saving again
    EXPECT_TRUE(Button(*form, "chkDST")->isChecked());

    Button(*form, "chkDST")->click(); // the hand wins from here on
    EXPECT_FALSE(Button(*form, "chkDST")->isChecked());
    EXPECT_TRUE(Note().contains("1990, daylight saving. The zone or the box was then changed by hand"))
        << Note().toStdString();
    List(*form, "cboMonth")->setCurrentIndex(7);
    EXPECT_FALSE(Button(*form, "chkDST")->isChecked());

    // Typing another city forgets the place and its line.
    QTest::keyClicks(Box(*form, "txtCity"), "x");
    EXPECT_FALSE(Note().contains("UTC"));
}

TEST_F(PlaceFinderTest, ADaylightRowWithTheBoxIsWarnedAbout) {
    List(*form, "cboTimeZone")->setCurrentIndex(24); // Eastern Daylight Time
    EXPECT_TRUE(Note().isEmpty());
    Button(*form, "chkDST")->setChecked(true);
    EXPECT_TRUE(Note().contains("already includes daylight saving")) << Note().toStdString();
    List(*form, "cboTimeZone")->setCurrentIndex(27); // Eastern Standard Time
    EXPECT_TRUE(Note().isEmpty());
}

TEST_F(PlaceFinderTest, AnAtlasThatCannotBeReadLeavesTheFormToTheHand) {
    qputenv("QUILLMERE_ATLAS", QDir::temp().filePath("quillmere-no-such-atlas.tsv").toLocal8Bit());
    EntryWindow other;
    QTest::keyClicks(Box(other, "txtCity"), "Delh");
    qunsetenv("QUILLMERE_ATLAS");
    EXPECT_EQ(Child<QCompleter>(other, "cmpCity")->model()->rowCount(), 0);
    EXPECT_TRUE(Label(other, "lblZoneNote")->text().contains("could not be read"))
        << Label(other, "lblZoneNote")->text().toStdString();
    EXPECT_EQ(Box(other, "txtCity")->text(), "Delh");
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(PlaceFinderTest, TheKeyboardPicksFromTheListWithoutTheLettersMessage) {
    FillForm(*form, MakeEntry(1990, 6, 1, 10, 0, 0, "", "", false, "", "", true));
    FilteredTextBox* city = Box(*form, "txtCity");
    city->clear();
    QTest::keyClicks(city, "Kathm");
    ASSERT_TRUE(Child<QCompleter>(*form, "cmpCity")->popup()->isVisible());
    QTest::keyClick(city, Qt::Key_Down);
    QTest::keyClick(city, Qt::Key_Return);
    EXPECT_EQ(Box(*form, "txtCity")->text(), "Kathmandu");
    EXPECT_EQ(Box(*form, "txtCountry")->text(), "Nepal");
    EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
}

TEST_F(PlaceFinderTest, KeysTheOpenListTakesNeverReachTheLettersFilter) {
    FillForm(*form, MakeEntry(1990, 6, 1, 10, 0, 0, "", "", false, "", "", true));
    QAbstractItemView* list = Child<QCompleter>(*form, "cmpCity")->popup();
    // The list holds the keyboard while it is open; City steers it where a key reaches City first.
    // Enter is tried with no place marked (the marked one it takes, as tested above).
    for (QWidget* target : {static_cast<QWidget*>(list), static_cast<QWidget*>(Box(*form, "txtCity"))}) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Down, Qt::Key_Up}) {
            const std::string what = target->objectName().toStdString() + " " + std::to_string(key);
            Box(*form, "txtCity")->clear();
            QTest::keyClicks(Box(*form, "txtCity"), "Kathm");
            ASSERT_TRUE(list->isVisible()) << what;
            list->setCurrentIndex(QModelIndex());
            fake.messages.clear();
            QTest::keyClick(target, key);
            EXPECT_TRUE(fake.messages.empty())
                << what << ": " << fake.MessageTexts().join(" | ").toStdString();
            EXPECT_EQ(Box(*form, "txtCity")->text(), "Kathm") << what;
            const bool moves = key == Qt::Key_Down || key == Qt::Key_Up;
            EXPECT_EQ(list->isVisible(), moves) << what;
            EXPECT_EQ(list->currentIndex().isValid(), moves) << what;
        }
    }
    // With the list closed, Enter and Esc are typed keys, and City's filter refuses them as before.
    list->hide();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        fake.messages.clear();
        QTest::keyClick(Box(*form, "txtCity"), key);
        EXPECT_EQ(fake.MessageTexts(), QStringList{QString::fromUtf8(msg::kOnlyLetters)}) << key;
    }
}

// Kathmandu was on UTC+5:45 in 1990 and on its mean time, UTC+5:41:16, in 1910 (tz database); Indian
// Time is UTC+5:30. So 12:00 there is 11:45 and 11:48:44 (shown 11:49) Indian Time, and 0:10 on the
// 2nd is 23:55 on the 1st. Each change of the date shows the same clock time at the place again,
// never one derived from what the fields showed.
TEST_F(PlaceFinderTest, ChangingTheDateKeepsTheClockTimeGivenAtThePlace) {
    const struct {
        int year, month, day, hour, minute;
        int dayBehind; // the fields' day is this many days before the place's
        const char* times;
    } cases[] = {
        {1990, 6, 1, 12, 0, 0, "11:45 12:00"},
        {1910, 6, 1, 12, 0, 0, "11:49 12:00"},
        {1990, 6, 2, 0, 10, 1, "23:55 0:10"},
    };
    for (const auto& c : cases) {
        Pick("Kathm", c.year, c.month, c.day, c.hour, c.minute);
        EXPECT_EQ(Times(), c.times) << c.year;
        // The day twice, then the month: the 10th, the 20th, then March.
        for (const auto& [list, index] : {std::pair{"cboDate", 9}, {"cboDate", 19}, {"cboMonth", 2}}) {
            List(*form, list)->setCurrentIndex(index);
            const BirthEntry e = form->BuildEntry();
            const std::string what = std::to_string(c.year) + " " + list;
            EXPECT_EQ(Times(), c.times) << what;
            EXPECT_EQ(e.zoneRow, 34) << what;
            EXPECT_EQ(e.day, 20 - (index == 9 ? 10 : 0)) << what;
            ASSERT_TRUE(e.placeClock) << what;
            EXPECT_EQ(e.placeClock->day, e.day + c.dayBehind) << what;
            EXPECT_EQ(e.placeClock->month, index == 2 ? 3 : c.month) << what;
        }
    }
}

// An hour or minute set while the fields show the place's moment in Indian Time is read in Indian
// Time: 13:45 Indian Time is 14:00 at +5:45 and 14:00:16 (14:00) at +5:41:16.
TEST_F(PlaceFinderTest, AnHourSetIsReadInTheClockTheFieldsShow) {
    const struct {
        int year;
        const char* picked;
        const char *hourSet, *minuteSet; // after setting the hour 13, then the minute 5
    } cases[] = {
        {1990, "11:45 12:00", "13:45 14:00", "13:05 13:20"},
        {1910, "11:49 12:00", "13:49 14:00", "13:05 13:16"},
    };
    for (const auto& c : cases) {
        Pick("Kathm", c.year, 6, 1, 12, 0);
        EXPECT_EQ(Times(), c.picked) << c.year;
        List(*form, "cboHour")->setCurrentText("13");
        EXPECT_EQ(Times(), c.hourSet) << c.year;
        const std::string hour = c.hourSet;
        EXPECT_TRUE(Note().contains(QString::fromStdString("The time set is read as " + hour.substr(0, 5) +
                                                           " Indian Time, 14:00 at Kathmandu.")))
            << Note().toStdString();
        List(*form, "cboMinute")->setCurrentText("5");
        EXPECT_EQ(Times(), c.minuteSet) << c.year;
    }
}

// A day the month lacks gives no zone, and leaves the fields in the clock they were in: an hour set
// meanwhile is still read in Indian Time.
TEST_F(PlaceFinderTest, ADayTheMonthLacksLeavesTheFieldsInTheirClock) {
    Pick("Kathm", 1990, 1, 31, 12, 0);
    List(*form, "cboMonth")->setCurrentIndex(1); // 31 February
    EXPECT_EQ(Times(), "11:45 12:00");
    List(*form, "cboHour")->setCurrentText("13");
    EXPECT_EQ(form->BuildEntry().monthIndex, 1);
    EXPECT_EQ(form->BuildEntry().day, 31);
    List(*form, "cboMonth")->setCurrentIndex(2); // 31 March
    EXPECT_EQ(Times(), "13:45 14:00");
}

// Letting the place go keeps the moment on the form and says whose clock it is; the place chosen next
// takes the clock time given for the last one, and a place whose offset a row holds shows it as it is.
TEST_F(PlaceFinderTest, TheClockTimeGivenGoesWithTheNextPlaceChosen) {
    Pick("Kathm", 1990, 6, 1, 12, 0);
    QTest::keyClicks(Box(*form, "txtCity"), "x");
    EXPECT_EQ(Times(), "11:45 -");
    EXPECT_EQ(form->BuildEntry().zoneRow, 34);
    EXPECT_EQ(Note(), "Kathmandu is no longer chosen; 11:45 Indian Time stays, the same moment as 12:00 "
                      "there, and a place chosen next takes 12:00 as its clock time.");

    ChooseFirstPlace(*form, "Delh");
    EXPECT_EQ(Times(), "12:00 -");
    EXPECT_TRUE(Note().endsWith("The time given for the place before, 12:00, is taken as this place's "
                                "clock time."))
        << Note().toStdString();
    List(*form, "cboDate")->setCurrentIndex(4);
    EXPECT_EQ(Times(), "12:00 -");

    ChooseFirstPlace(*form, "Kathm");
    EXPECT_EQ(Times(), "11:45 12:00");
    // A time set with no place chosen is the fields' own, and the next place takes it as they show it.
    QTest::keyClicks(Box(*form, "txtCity"), "x");
    List(*form, "cboHour")->setCurrentText("9");
    EXPECT_TRUE(Note().isEmpty()) << Note().toStdString();
    ChooseFirstPlace(*form, "Kathm");
    EXPECT_EQ(Times(), "9:30 9:45");
}

// The reading made from the form says which clock its time is in, in the chart view.
TEST_F(PlaceFinderTest, TheReadingOfAMovedTimeNamesBothClocks) {
    FillForm(*form, MakeEntry(1990, 6, 1, 10, 0, 34, "", "", false, "", "", true));
    ChooseFirstPlace(*form, "Kathm");
    Button(*form, "cmdCalculate")->click();
    ASSERT_NE(form->MainWindow(), nullptr) << fake.MessageTexts().join(" | ").toStdString();
    EXPECT_EQ(Label(form->MainWindow()->Display(), "lblTOB")->text(), "Time of Birth: 9 HH 45 MM ");
    EXPECT_EQ(Label(form->MainWindow()->Display(), "clocksLabel")->text(),
              "(9:45 Indian Time; 10:00 at the place, UTC+5:45)");
}

// A name typed as a place spells it offers that place before another whose other name it is (Hong Kong
// bears Victoria), but a great city's former name still offers the city.
TEST_F(PlaceFinderTest, APlacesOwnNameComesBeforeAnotherPlacesOtherName) {
    const struct {
        const char *typed, *city, *country;
    } cases[] = {
        {"Victoria", "Victoria", "Canada"},
        {"Calcutta", "Kolkata", "India"},
        {"Allahabad", "Prayagraj", "India"},
    };
    for (const auto& c : cases) {
        Pick(c.typed, 1990, 6, 1, 10, 0);
        const BirthEntry e = form->BuildEntry();
        EXPECT_EQ(e.city, c.city) << c.typed;
        EXPECT_EQ(e.country, c.country) << c.typed;
    }
}
