// SPDX-License-Identifier: AGPL-3.0-or-later
// The Conventions dialog and how every output names the calculation: choices reach the reading on screen
// and the settings, are not offered under the classic calculation, a bad ayanamsa of the user's own is
// refused; the classic conventions carry their tool tips, the printed pages their calculation.
#include "support/FormTestSupport.h"
#include "support/TestBirths.h"

#include "forms/ConventionsDialog.h"
#include "forms/Settings.h"

#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTreeWidget>

#include <map>

namespace {

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Filled {
    int ayanamsa;        // row of the list; 6 is the user's own
    const char* user[4]; // degrees, minutes, seconds, date
    int node;
    int year;
};

void Fill(const QDialog& dialog, const Filled& f) {
    List(dialog, "cboAyanamsa")->setCurrentIndex(f.ayanamsa);
    const char* boxes[] = {"txtUserDegrees", "txtUserMinutes", "txtUserSeconds", "txtUserDate"};
    for (int i = 0; i < 4; ++i)
        Child<QLineEdit>(dialog, boxes[i])->setText(f.user[i]);
    List(dialog, "cboNode")->setCurrentIndex(f.node);
    List(dialog, "cboPeriodYear")->setCurrentIndex(f.year);
}

const char* const kChoiceBoxes[] = {"cboAyanamsa", "txtUserDegrees", "txtUserMinutes", "txtUserSeconds",
                                    "txtUserDate", "cboNode",        "cboPeriodYear"};

} // namespace

class ConventionsTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        if (!PreciseCalculationBuilt())
            GTEST_SKIP() << "built without the precise calculation";
    }
    ReadingWindow* Precise() {
        Command(*form, "mnuPrecise")->trigger();
        return Compute(Entry1947());
    }
};

TEST_F(ConventionsTest, ChoicesReachTheReadingOnScreenAndAreKept) {
    const struct {
        Filled filled;
        const char* words;
        const char* line; // the chart view's short line
        std::map<QString, QString> stored;
    } cases[] = {
        {{2, {}, 1, 0},
         "Precise (Swiss Ephemeris), Raman ayanamsa, true node, 365.25-day years",
         "Precise: Raman, true node, 365.25-day years",
         {{"ayanamsa", "raman"}, {"node", "true"}, {"yearDays", "365.25"}}},
        {{6, {"23", "51", "11.5", "2000-01-01"}, 0, 1},
         "Precise (Swiss Ephemeris), user ayanamsa 23\u00B0 51' 11.5\" on 2000-01-01, mean node, 360-day "
         "years",
         "Precise: own ayanamsa, mean node, 360-day years",
         {{"ayanamsa", "user:23:51:11.5@2000-01-01"}, {"node", "mean"}, {"yearDays", "360"}}},
        {{5, {}, 0, 2},
         "Precise (Swiss Ephemeris), Fagan-Bradley ayanamsa, mean node, sidereal years of 365.256363 days",
         "Precise: Fagan-Bradley, mean node, sidereal years",
         {{"ayanamsa", "fagan-bradley"}, {"node", "mean"}, {"yearDays", "sidereal"}}},
    };
    ReadingWindow* readingWindow = Precise();
    ASSERT_NE(readingWindow, nullptr);
    const ReadingView& display = readingWindow->Display();
    EXPECT_EQ(Label(display, "lblCalculation")->text(), "Precise: Lahiri, mean node, 365.25-day years");
    const auto firstPeriodEnd = [&display] {
        return Child<QTreeWidget>(display, "tvwPeriods")->topLevelItem(0)->text(2);
    };
    QString lastEnd = firstPeriodEnd();
    for (const auto& c : cases) {
        const ::Reading before = *display.ShownReading();
        fake.onModal = [&c](QDialog& dialog) {
            Fill(dialog, c.filled);
            Button(dialog, "cmdOK")->click();
        };
        Command(*readingWindow, "mnuConventions")->trigger();
        EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
        const ::Reading& after = *display.ShownReading();
        // The narrow line is short; its tooltip and the title carry the whole words.
        const QString words = QString::fromUtf8(c.words);
        EXPECT_EQ(Label(display, "lblCalculation")->text(), QString::fromUtf8(c.line));
        EXPECT_EQ(Label(display, "lblCalculation")->toolTip(), words);
        EXPECT_EQ(readingWindow->windowTitle(), "Quillmere v1.15 - " + QString::fromUtf8(c.words));
        EXPECT_NE(after.ayanamsa, before.ayanamsa) << c.words;
        EXPECT_EQ(after.conventions.node == LunarNode::True, c.filled.node == 1);
        // A year of another length moves the end of the first period.
        if (after.conventions.year != before.conventions.year) {
            EXPECT_NE(firstPeriodEnd(), lastEnd) << c.words;
        }
        lastEnd = firstPeriodEnd();
        EXPECT_EQ(fake.settings["ayanamsa"], c.stored.at("ayanamsa"));
        EXPECT_EQ(fake.settings["node"], c.stored.at("node"));
        EXPECT_EQ(fake.settings["yearDays"], c.stored.at("yearDays"));
        // Read back as the next run reads them.
        EXPECT_EQ(Settings(fake).conventions(), after.conventions) << c.words;
        EntryWindow next;
        EXPECT_EQ(next.CurrentChoice().conventions, after.conventions) << c.words;
    }

    // Cancel changes nothing; a store that refuses says so, and the reading follows the choice anyway.
    const ::Reading kept = *display.ShownReading();
    fake.onModal = [](QDialog& dialog) {
        Fill(dialog, {0, {}, 0, 0});
        Button(dialog, "cmdCancel")->click();
    };
    Command(*readingWindow, "mnuConventions")->trigger();
    EXPECT_EQ(display.ShownReading()->conventions, kept.conventions);
    fake.settingsWritable = false;
    fake.onModal = [](QDialog& dialog) {
        Fill(dialog, {0, {}, 0, 0});
        Button(dialog, "cmdOK")->click();
    };
    Command(*readingWindow, "mnuConventions")->trigger();
    EXPECT_EQ(fake.MessageTexts(), QStringList{"The choice could not be kept for the next run."});
    EXPECT_EQ(display.ShownReading()->conventions, Conventions{});
}

TEST_F(ConventionsTest, UnderClassicTheChoicesAreShownButNotOffered) {
    for (const char* calculation : {"mnuClassic", "mnuPrecise"}) {
        Command(*form, calculation)->trigger();
        const bool classic = QString(calculation) == "mnuClassic";
        int opened = 0;
        fake.onModal = [&](QDialog& dialog) {
            ++opened;
            EXPECT_EQ(Label(dialog, "lblClassic")->isVisibleTo(&dialog), classic);
            for (const char* name : kChoiceBoxes) {
                const QWidget* box = Child<QWidget>(dialog, name);
                const bool userBox = QString(name).startsWith("txtUser");
                // The user's own boxes wait for "Your own" under the precise calculation.
                EXPECT_EQ(box->isEnabled(), !classic && !userBox) << calculation << " " << name;
                EXPECT_EQ(box->toolTip() ==
                              "The classic calculation keeps its own arithmetic: the ayanamsa, node and "
                              "period year apply to the precise calculation only.",
                          classic)
                    << calculation << " " << name;
            }
            // The ashtakavarga's places are offered under either.
            EXPECT_TRUE(List(dialog, "ashtakavargaPlacesList")->isEnabled());
            List(dialog, "cboNode")->setCurrentIndex(1);
            List(dialog, "ashtakavargaPlacesList")->setCurrentIndex(1);
            Button(dialog, "cmdOK")->click();
        };
        Command(*form, "mnuConventions")->trigger();
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(fake.settings["node"], classic ? "mean" : "true") << calculation;
        EXPECT_EQ(fake.settings["ashtakavargaPlaces"], "parashara") << calculation;
        // The next starts from the defaults.
        fake.settings.clear();
        form = std::make_unique<EntryWindow>();
    }
}

// The ashtakavarga's places change a classic reading on screen too: its page names them and the Moon's
// row follows (as worked by hand in test_Ashtakavarga); the moment set on the Transits page stays.
TEST_F(ConventionsTest, AshtakavargaPlacesReachAClassicReadingAndTheTransitsMomentStays) {
    Command(*form, "mnuClassic")->trigger();
    ReadingWindow* readingWindow = Compute(Entry1947());
    ASSERT_NE(readingWindow, nullptr);
    ReadingView& d = readingWindow->Display();
    d.showPeriods();
    Child<QTabWidget>(d, "tabPeriods")->setCurrentWidget(Child<QWidget>(d, "fraAshtakavarga"));
    const QTableWidget* grid = Child<QTableWidget>(d, "grdAshtakavarga");
    const auto moonRow = [grid] {
        QStringList cells;
        for (int c = 0; c < 12; ++c)
            cells << grid->item(1, c)->text();
        return cells.join(' ');
    };
    EXPECT_EQ(Label(d, "ashtakavargaPlacesLabel")->text(), "Places: Common (as most programs)");
    EXPECT_EQ(moonRow(), "6 6 0 5 2 6 5 4 3 5 4 3");

    auto* moment = Child<QDateTimeEdit>(d, "dteTransit");
    const QDateTime set = moment->dateTime().addDays(-4000).addSecs(7 * 60);
    moment->setDateTime(set);
    fake.onModal = [](QDialog& dialog) {
        List(dialog, "ashtakavargaPlacesList")->setCurrentIndex(1);
        Button(dialog, "cmdOK")->click();
    };
    Command(*readingWindow, "mnuConventions")->trigger();
    EXPECT_TRUE(fake.messages.empty()) << fake.MessageTexts().join(" | ").toStdString();
    EXPECT_EQ(d.ShownReading()->calculation, Calculation::Classic);
    EXPECT_EQ(d.ShownReading()->conventions.ashtakavarga, AshtakavargaPlaces::Parashara);
    EXPECT_EQ(Label(d, "ashtakavargaPlacesLabel")->text(), "Places: Parashara's verses");
    EXPECT_EQ(moonRow(), "6 6 0 5 2 5 5 5 3 5 3 4");
    EXPECT_EQ(moment->dateTime(), set);

    // A precise reading made again keeps it as well.
    Command(*form, "mnuPrecise")->trigger();
    readingWindow = Compute(Entry1947());
    ASSERT_NE(readingWindow, nullptr);
    auto* preciseMoment = Child<QDateTimeEdit>(readingWindow->Display(), "dteTransit");
    preciseMoment->setDateTime(set);
    fake.onModal = [](QDialog& dialog) {
        List(dialog, "cboNode")->setCurrentIndex(1);
        Button(dialog, "cmdOK")->click();
    };
    Command(*readingWindow, "mnuConventions")->trigger();
    EXPECT_EQ(readingWindow->Display().ShownReading()->conventions.node, LunarNode::True);
    EXPECT_EQ(preciseMoment->dateTime(), set);
}

// Each bad field has its own message; with several, the first in order is named and has the cursor.
TEST_F(ConventionsTest, ABadAyanamsaOfTheUsersOwnIsRefusedWithItsMessage) {
    const char* const degrees =
        "Your own ayanamsa must lie from 10\u00B0 to 40\u00B0, where the ayanamsas in "
        "use lie: give whole degrees from 10 to 40.";
    const char* const minutes = "The minutes of your own ayanamsa must be whole minutes below 60.";
    const char* const seconds =
        "The seconds of your own ayanamsa must lie below 60, with up to six decimals.";
    const char* const dateForm = "The date of your own ayanamsa must be written as YYYY-MM-DD.";
    const char* const noSuchDate = "The date of your own ayanamsa is not a date: the month must be 1 to 12 "
                                   "and the day one the month has.";
    const char* const years = "The date of your own ayanamsa must be a date of the years 1800 to 2399.";
    const struct {
        Filled filled;
        const char* message;
        const char* box;
    } cases[] = {
        {{6, {"23", "60", "0", "2000-01-01"}, 0, 0}, minutes, "txtUserMinutes"},
        {{6, {"23", "5", "60", "2000-01-01"}, 0, 0}, seconds, "txtUserSeconds"},
        {{6, {"23", "5", "59.9999999", "2000-01-01"}, 0, 0}, seconds, "txtUserSeconds"},
        {{6, {"23", "5", "0", "1799-12-31"}, 0, 0}, years, "txtUserDate"},
        {{6, {"23", "5", "0", "2400-01-01"}, 0, 0}, years, "txtUserDate"},
        {{6, {"23", "5", "0", "2001-02-29"}, 0, 0}, noSuchDate, "txtUserDate"},
        {{6, {"23", "5", "0", "2024-13-45"}, 0, 0}, noSuchDate, "txtUserDate"},
        {{6, {"23", "5", "0", "1.1.2000"}, 0, 0}, dateForm, "txtUserDate"},
        {{6, {"", "5", "0", "2000-01-01"}, 0, 0}, degrees, "txtUserDegrees"},
        {{6, {"123", "5", "0", "2000-01-01"}, 0, 0}, degrees, "txtUserDegrees"},
        {{6, {"99", "30", "10", "2000-01-01"}, 0, 0}, degrees, "txtUserDegrees"},
        {{6, {"9", "59", "59.999999", "2000-01-01"}, 0, 0}, degrees, "txtUserDegrees"},
        {{6, {"40", "0", "0.000001", "2000-01-01"}, 0, 0}, degrees, "txtUserDegrees"},
        // Several wrong: the first only.
        {{6, {"23", "75", "x", "2024-13-45"}, 0, 0}, minutes, "txtUserMinutes"},
        {{6, {"23", "5", "61", "2024-13-45"}, 0, 0}, seconds, "txtUserSeconds"},
        {{6, {"5", "75", "x", "bad"}, 0, 0}, degrees, "txtUserDegrees"},
    };
    for (const auto& c : cases) {
        fake.messages.clear();
        ConventionsDialog dialog(Conventions{}, true);
        dialog.show();
        Fill(dialog, c.filled);
        Child<QLineEdit>(dialog, "txtUserDate")->setFocus();
        dialog.accept();
        const std::string shown = std::string(c.filled.user[0]) + " " + c.filled.user[1] + " " +
                                  c.filled.user[2] + " " + c.filled.user[3];
        EXPECT_EQ(fake.MessageTexts(), QStringList{QString::fromUtf8(c.message)}) << shown;
        ASSERT_NE(dialog.focusWidget(), nullptr) << shown;
        EXPECT_EQ(dialog.focusWidget()->objectName(), c.box) << shown;
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Chosen(), Conventions{});
        dialog.hide();
    }
    // The edges that are allowed, and seconds too small for a plain shortest form, which read back.
    const Filled allowed[] = {{6, {"10", "0", "0", "1800-01-01"}, 0, 0},
                              {6, {"40", "0", "0", "2399-12-31"}, 0, 0},
                              {6, {"39", "59", "59.999999", "2000-02-29"}, 0, 0},
                              {6, {"23", "0", "0.0001", "2000-01-01"}, 0, 0}};
    for (const Filled& f : allowed) {
        fake.messages.clear();
        ConventionsDialog dialog(Conventions{}, true);
        Fill(dialog, f);
        dialog.accept();
        EXPECT_TRUE(fake.messages.empty()) << f.user[0] << " " << f.user[3];
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << f.user[3];
        EXPECT_EQ(dialog.Chosen().ayanamsa, Ayanamsa::User);
        ASSERT_TRUE(Settings(fake).setConventions(dialog.Chosen()));
        EXPECT_EQ(Settings(fake).conventions(), dialog.Chosen()) << fake.settings["ayanamsa"].toStdString();
    }
}

// The classic reading's own conventions carry tips where a person would misread them; the precise
// reading's do not.
TEST_F(ConventionsTest, ClassicConventionsCarryTheirTips) {
    for (const bool precise : {false, true}) {
        Command(*form, precise ? "mnuPrecise" : "mnuClassic")->trigger();
        ReadingWindow* readingWindow = Compute(Entry1947());
        ASSERT_NE(readingWindow, nullptr);
        const ReadingView& display = readingWindow->Display();
        const QLabel* pada = Label(display, "lblPada");
        EXPECT_EQ(pada->toolTip(), precise
                                       ? pada->text()
                                       : "Classic: the Pada counts the quarters of the Moon's nakshatra "
                                         "that lie in the Moon's sign, not the quarter the Moon stands in.");
        const QTextDocument& report = *Child<QTextEdit>(display, "RTB")->document();
        // House 1's heading opens the report, house 2's follows three blocks and an empty one later.
        for (const auto& [block, house] : {std::pair{0, 1}, std::pair{4, 2}, std::pair{44, 12}}) {
            const QTextBlock heading = report.findBlockByNumber(block);
            ASSERT_TRUE(heading.text().startsWith(QString("Lord of the %1").arg(house)))
                << heading.text().toStdString();
            const QString expected =
                precise      ? QString()
                : house == 1 ? "Classic: the lord of house 1 rules the 1st sign from Aries (Aries), whatever "
                               "the lagna.\nThe house it is placed in is counted from the lagna (Taurus is "
                               "house 1): Mars stands in Gemini, house 2."
                : house == 2
                    ? "Classic: the lord of house 2 rules the 2nd sign from Aries (Taurus), whatever "
                      "the lagna.\nThe house it is placed in is counted from the lagna (Taurus is "
                      "house 1): Venus stands in Cancer, house 3."
                    : "Classic: the lord of house 12 rules the 12th sign from Aries (Pisces), "
                      "whatever the lagna.\nThe house it is placed in is counted from the lagna "
                      "(Taurus is house 1): Jupiter stands in Libra, house 6.";
            EXPECT_EQ(heading.begin().fragment().charFormat().toolTip(), expected) << house;
            // The text under the heading has no tip of its own.
            EXPECT_TRUE(heading.next().begin().fragment().charFormat().toolTip().isEmpty());
        }
        EXPECT_EQ(Child<QTableWidget>(display, "grdPositions")->horizontalHeaderItem(6)->text(),
                  "Quarter\n(pada)");
        readingWindow->returnToEntryForm();
        ProcessDeferredDeletes();
    }
}

TEST_F(ConventionsTest, PrintedPagesNameThePreciseCalculation) {
    QTemporaryDir dir;
    for (const bool precise : {false, true}) {
        Command(*form, precise ? "mnuPrecise" : "mnuClassic")->trigger();
        ReadingWindow* readingWindow = Compute(Entry1947());
        ASSERT_NE(readingWindow, nullptr);
        for (const char* print : {"mnuPrint", "mnuPrintChart"}) {
            const QString pdf = dir.filePath(QString("%1-%2.pdf").arg(print).arg(precise));
            fake.printerOutputFile = pdf;
            fake.printerAnswers.push_back(true);
            Command(*readingWindow, print)->trigger();
            const QString text = PdfText(pdf);
            ASSERT_FALSE(text.isEmpty()) << print;
            // The interpretation opens with the line; the chart has it among the other details.
            const QString line = QString(print) == "mnuPrint" ? "^\\s*Calculation: " : "Calculation +";
            const QRegularExpression named(
                line + "Precise \\(Swiss Ephemeris\\), Lahiri ayanamsa, mean node, 365.25-day years",
                QRegularExpression::MultilineOption);
            EXPECT_EQ(text.contains(named), precise) << print << "\n" << text.left(400).toStdString();
            EXPECT_EQ(text.contains("Calculation"), precise) << print;
        }
        readingWindow->returnToEntryForm();
        ProcessDeferredDeletes();
    }
}
