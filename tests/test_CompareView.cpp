// SPDX-License-Identifier: AGPL-3.0-or-later
// The compare view: how it is reached and left, the other calculation it starts with, a table that
// says what the comparison of the two readings says, what changes marked in words as well as colour,
// the choosers, the clock that says which periods run today, and a refused other calculation.
#include "support/FormTestSupport.h"
#include "support/TempFolder.h"
#include "support/TestBirths.h"

#include "forms/CompareView.h"
#include "pipeline/CompareReadings.h"
#include "pipeline/Periods.h"
#include "pipeline/ReadingPipeline.h"
#include "reading/ReadingTexts.h"
#include "records/Messages.h"

#include <QListWidget>
#include <QTableWidget>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

// 2024-01-01 00:00 UT.
constexpr double kNow = 1704067200.0 / 60;
constexpr int kLagnaRow = 9;
enum { kThis = 1, kOther = 2, kDifference = 3, kChanges = 4 };

// "16 Sag 56" as degrees of the zodiac, to the whole minute the text keeps.
double DegreesOf(const QString& position) {
    const QStringList parts = position.split(' ');
    return SignIndexOfCode(parts.value(1).toStdString()) * 30 + parts.value(0).toInt() +
           parts.value(2).toInt() / 60.0;
}

QString ChangeLine(const ReadingChange& change) {
    return QString::fromStdString(change.what + ": " + change.a + " \u2192 " + change.b);
}

QStringList ListLines(const ReadingView& d) {
    QStringList lines;
    const QListWidget* list = Child<QListWidget>(d, "lstChanges");
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

Conventions With(Ayanamsa ayanamsa, LunarNode node, PeriodYear year,
                 AshtakavargaPlaces places = AshtakavargaPlaces::Common) {
    Conventions conventions;
    conventions.ashtakavarga = places;
    conventions.ayanamsa = ayanamsa;
    conventions.node = node;
    conventions.year = year;
    return conventions;
}

bool Highlighted(const QTableWidgetItem* item) {
    return item->data(Qt::BackgroundRole).isValid();
}

} // namespace

class CompareTest : public FormTest {
  protected:
    // The reading of the entry under the calculation, its compare view in front with the clock at kNow.
    ReadingView* Open(const BirthEntry& entry, Calculation calculation = Calculation::Classic) {
        Command(*form, calculation == Calculation::Precise ? "mnuPrecise" : "mnuClassic")->trigger();
        readingWindow = Compute(entry);
        if (!readingWindow)
            return nullptr;
        ReadingView& d = readingWindow->Display();
        Child<CompareView>(d, "fraCompare")->SetClock([this] { return now; });
        Command(*readingWindow, "mnuCompare")->trigger();
        return &d;
    }
    static QTableWidget* Table(const ReadingView& d) { return Child<QTableWidget>(d, "grdCompare"); }

    double now = kNow;
    ReadingWindow* readingWindow = nullptr;
};

TEST_F(CompareTest, CtrlDAndTheMenuOpenItAndItsButtonsLeadBack) {
    ReadingView* d = Open(Entry1980());
    ASSERT_NE(d, nullptr);
    readingWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(readingWindow));
    const std::pair<const char*, const char*> steps[] = {{"cmdCompareChart", "fraChart"},
                                                         {"Ctrl+D", "fraCompare"},
                                                         {"cmdCompareInterpretation", "fraInterpretation"},
                                                         {"mnuCompare", "fraCompare"},
                                                         {"cmdComparePeriods", "fraPeriods"},
                                                         {"Ctrl+D", "fraCompare"}};
    for (const auto& [step, view] : steps) {
        if (QString(step) == "Ctrl+D")
            QTest::keyClick(readingWindow, Qt::Key_D, Qt::ControlModifier);
        else if (QString(step) == "mnuCompare")
            Command(*readingWindow, step)->trigger();
        else
            QTest::mouseClick(Button(*d, step), Qt::LeftButton);
        EXPECT_EQ(ViewInFront(*d), view) << step;
    }
}

// Classic against precise with the default conventions, whichever is on screen; the conventions are
// offered only with the precise calculation, and a tip says why.
TEST_F(CompareTest, StartsWithTheOtherCalculationAndTheDefaultConventions) {
    if (!PreciseCalculationBuilt())
        GTEST_SKIP() << "built without the precise calculation";
    const struct {
        Calculation shown;
        const char* other;
        bool conventionsOffered;
    } cases[] = {{Calculation::Classic, "Precise (Swiss Ephemeris)", true},
                 {Calculation::Precise, "Classic", false}};
    for (const auto& c : cases) {
        ReadingView* d = Open(Entry1947(), c.shown);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(List(*d, "cboCalculation")->currentText(), c.other);
        const std::pair<const char*, const char*> defaults[] = {
            {"cboAyanamsa", "Lahiri"}, {"cboNode", "mean node"}, {"cboYear", "365.25-day years"}};
        for (const auto& [name, text] : defaults) {
            EXPECT_EQ(List(*d, name)->currentText(), text) << name;
            EXPECT_EQ(List(*d, name)->isEnabled(), c.conventionsOffered) << name;
            EXPECT_EQ(List(*d, name)->toolTip().isEmpty(), c.conventionsOffered) << name;
        }
        // The ashtakavarga's places are the reading's own, and offered with either calculation.
        EXPECT_EQ(List(*d, "ashtakavargaPlacesList")->currentText(), "Common (as most programs)");
        EXPECT_TRUE(List(*d, "ashtakavargaPlacesList")->isEnabled());
        readingWindow->close();
        ProcessDeferredDeletes();
    }
}

// India 1947, classic on screen, against each choice the choosers make: the table, the list of changes
// and the sentence are what the comparison of the two readings says, the difference is the other less
// this one, and choosing again compares again.
TEST_F(CompareTest, TheTableListAndCauseFollowTheChoosers) {
    if (!PreciseCalculationBuilt())
        GTEST_SKIP() << "built without the precise calculation";
    ReadingView* d = Open(Entry1947());
    ASSERT_NE(d, nullptr);
    const Reading& a = *d->ShownReading();
    const struct {
        const char* chooser;
        const char* text;
        Conventions conventions;
    } cases[] = {
        {"cboAyanamsa", "Lahiri", {}},
        {"cboAyanamsa", "Raman", With(Ayanamsa::Raman, LunarNode::Mean, PeriodYear::Days365_25)},
        {"cboNode", "true node", With(Ayanamsa::Raman, LunarNode::True, PeriodYear::Days365_25)},
        {"cboYear", "360-day years", With(Ayanamsa::Raman, LunarNode::True, PeriodYear::Days360)},
        {"ashtakavargaPlacesList", "Parashara's verses",
         With(Ayanamsa::Raman, LunarNode::True, PeriodYear::Days360, AshtakavargaPlaces::Parashara)},
    };
    for (const auto& c : cases) {
        List(*d, c.chooser)->setCurrentText(c.text);
        const ReadingResult other = ComputeReading(a.birth, {Calculation::Precise, c.conventions});
        ASSERT_TRUE(other.reading) << other.message;
        const Reading& b = *other.reading;
        const ReadingComparison expected = CompareReadings(a, b, kNow);
        const QTableWidget* table = Table(*d);
        for (int row = 0; row <= kLagnaRow; ++row) {
            const auto body = row == kLagnaRow ? BodySlot::Ascendant : static_cast<BodySlot>(row);
            const QString shownA = table->item(row, kThis)->text(), shownB = table->item(row, kOther)->text();
            EXPECT_EQ(shownA.toStdString(), ShortPositionText(a, body)) << c.text << " row " << row;
            EXPECT_EQ(shownB.toStdString(), ShortPositionText(b, body)) << c.text << " row " << row;
            const double difference = table->item(row, kDifference)->text().toDouble();
            if (row < kLagnaRow) {
                EXPECT_NEAR(difference, expected.bodies[static_cast<std::size_t>(row)].arcMinutes, 0.05)
                    << c.text << " row " << row;
            }
            // Against the positions as shown, cut to whole minutes: within a minute and a rounding.
            EXPECT_NEAR(difference, 60 * std::remainder(DegreesOf(shownB) - DegreesOf(shownA), 360.0), 1.05)
                << c.text << " row " << row;
        }
        QStringList changes;
        for (const ReadingChange& change : expected.changes)
            changes << ChangeLine(change);
        EXPECT_EQ(ListLines(*d), changes) << c.text;
        EXPECT_EQ(Label(*d, "lblCause")->text().toStdString(), expected.cause);
        EXPECT_EQ(table->horizontalHeaderItem(kOther)->toolTip().toStdString(), expected.bWords);
    }
}

// 1947 August 15, 03:44 in Delhi, precise: the lagna is Kataka with the Lahiri ayanamsa and Mithuna
// with the Fagan-Bradley one. Each row whose sign or nakshatra differs between the two readings is
// marked in words and coloured; the others are neither.
TEST_F(CompareTest, ChangedSignsAndNakshatrasAreMarkedInWordsAndColour) {
    if (!PreciseCalculationBuilt())
        GTEST_SKIP() << "built without the precise calculation";
    ReadingView* d =
        Open(MakeEntry(1947, 8, 15, 3, 44, 34, "28", "39", false, "77", "13", true), Calculation::Precise);
    ASSERT_NE(d, nullptr);
    List(*d, "cboCalculation")->setCurrentText("Precise (Swiss Ephemeris)");
    List(*d, "cboAyanamsa")->setCurrentText("Fagan-Bradley");
    const Reading& a = *d->ShownReading();
    const ReadingResult other =
        ComputeReading(a.birth, {Calculation::Precise,
                                 With(Ayanamsa::FaganBradley, LunarNode::Mean, PeriodYear::Days365_25)});
    ASSERT_TRUE(other.reading);
    const Reading& b = *other.reading;
    ASSERT_NE(a.LagnaSign(), b.LagnaSign());
    const QTableWidget* table = Table(*d);
    for (int row = 0; row <= kLagnaRow; ++row) {
        const auto body = row == kLagnaRow ? BodySlot::Ascendant : static_cast<BodySlot>(row);
        const bool sign = a.Sign(body) != b.Sign(body);
        const auto nakshatraOf = [](double longitude) {
            return static_cast<int>(std::floor(longitude * 27 / 360));
        };
        const bool nakshatra =
            row < kLagnaRow && nakshatraOf(a.Longitude(body)) != nakshatraOf(b.Longitude(body));
        const QString marks = table->item(row, kChanges)->text();
        EXPECT_EQ(marks.contains("sign"), sign) << row;
        EXPECT_EQ(marks.contains("nakshatra"), nakshatra) << row;
        // The Moon's row may name its pada or lord too.
        if (row != static_cast<int>(BodySlot::Moon)) {
            EXPECT_EQ(marks.isEmpty(), !sign && !nakshatra) << row;
        }
        for (int column = 0; column <= kChanges; ++column)
            EXPECT_EQ(Highlighted(table->item(row, column)), !marks.isEmpty()) << row << " " << column;
    }
}

// "Today" is the clock's: at a moment when one reading's sub-period has begun and the other's not yet,
// the running periods differ; a month later they agree again.
TEST_F(CompareTest, TheRunningPeriodsAreThoseOfTheClock) {
    if (!PreciseCalculationBuilt())
        GTEST_SKIP() << "built without the precise calculation";
    ReadingView* d = Open(Entry1947());
    ASSERT_NE(d, nullptr);
    const Reading& a = *d->ShownReading();
    const Reading b = *ComputeReading(a.birth, Calculation::Precise).reading;
    const auto periodChanged = [&a, &b](double at) {
        for (const ReadingChange& change : CompareReadings(a, b, at).changes)
            if (change.what == "Period now")
                return true;
        return false;
    };
    double differs = 0, agrees = 0;
    for (const MajorPeriod& major : ReadingPeriods(a))
        for (const Period& sub : major.subPeriods)
            if (!differs && periodChanged(sub.start + 1) && !periodChanged(sub.start + 60 * 24 * 30)) {
                differs = sub.start + 1;
                agrees = sub.start + 60 * 24 * 30;
            }
    ASSERT_NE(differs, 0);
    for (const auto& [at, listed] : {std::pair{differs, true}, std::pair{agrees, false}}) {
        now = at;
        Command(*readingWindow, "mnuCompare")->trigger();
        EXPECT_EQ(ListLines(*d).filter("Period now").size(), listed ? 1 : 0) << at;
    }
}

// Without the ephemeris files a birth has a classic reading but no precise one: the view says why, in
// place of the table, and the classic calculation chosen instead compares again.
TEST_F(CompareTest, ARefusedOtherCalculationShowsItsMessage) {
    const std::filesystem::path empty = MakeTempFolder("quillmere-no-ephemeris-");
    ASSERT_FALSE(empty.empty());
    ::setenv("QUILLMERE_EPHE_PATH", empty.c_str(), 1);
    UseEphemerisFilesBeside("");
    ReadingView* d = Open(Entry1980());
    const std::string refusal = ComputeReading(BirthOf(Entry1980()), Calculation::Precise).message;
    ::unsetenv("QUILLMERE_EPHE_PATH");
    UseEphemerisFilesBeside("");
    std::filesystem::remove(empty);
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(refusal.rfind(msg::kPreciseFilesMissing, 0), 0u) << refusal;
    const QLabel* message = Label(*d, "lblCompareMessage");
    EXPECT_EQ(message->text().toStdString(), refusal);
    EXPECT_TRUE(message->isVisibleTo(d));
    EXPECT_FALSE(Table(*d)->isVisibleTo(d));

    List(*d, "cboCalculation")->setCurrentText("Classic");
    EXPECT_FALSE(message->isVisibleTo(d));
    EXPECT_TRUE(Table(*d)->isVisibleTo(d));
    EXPECT_EQ(Label(*d, "lblCause")->text(), "Both readings are made the same way, so nothing differs.");
    EXPECT_TRUE(fake.messages.empty());
}
