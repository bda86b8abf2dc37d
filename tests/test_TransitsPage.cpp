// SPDX-License-Identifier: AGPL-3.0-or-later
// The Transits page as a person uses it: filled only once shown, the moment in the birth's zone, the
// transiting bodies marked in the birth chart, their houses, the sade sati line, and a changed moment.
#include "support/FormTestSupport.h"
#include "support/TestBirths.h"

#include "forms/TransitsPage.h"
#include "pipeline/Periods.h"
#include "pipeline/Transits.h"
#include "records/Calendar.h"

#include <QDateTimeEdit>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableWidget>

namespace {

double Minutes(int year, int month, int day, int hour = 0, int minute = 0) {
    return static_cast<double>(DayOf(year, month, day).time_since_epoch().count()) * 1440 + hour * 60 +
           minute;
}

QStringList Row(const QTableWidget* table, int row) {
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c)
        cells << (table->item(row, c) ? table->item(row, c)->text() : QString());
    return cells;
}

class TransitsPageTest : public FormTest {};

// Delhi 1947 (lagna Taurus, Moon in Cancer) at 2022-01-01 00:00 UT, 05:30 in its zone: Saturn and
// Mercury in Capricorn, the 9th sign from Taurus and the 7th from Cancer; Venus retrograde in
// Sagittarius; Saturn in none of Gemini, Cancer and Leo.
TEST_F(TransitsPageTest, ShowsTheMomentsBodiesOverTheBirthChartAndFollowsAChangedMoment) {
    ReadingView& d = Compute(Entry1947())->Display();
    auto* page = Child<TransitsPage>(d, "fraTransits");
    const QTableWidget* table = Child<QTableWidget>(d, "grdTransits");
    // Nothing is computed for a page not shown.
    EXPECT_EQ(table->item(0, 0), nullptr);

    page->SetClock([] { return Minutes(2022, 1, 1); });
    d.ShowReading(d.ShownReading());
    d.showPeriods();
    Child<QTabWidget>(d, "tabPeriods")->setCurrentWidget(page);
    QCoreApplication::processEvents();
    auto* moment = Child<QDateTimeEdit>(d, "dteTransit");
    EXPECT_EQ(moment->text(), "2022-01-01 05:30");
    EXPECT_EQ(page->Moment(), Minutes(2022, 1, 1));
    EXPECT_TRUE(Label(d, "lblTransitZone")->text().contains("Indian Time, IST, +5.3"));
    EXPECT_EQ(Row(table, 6), (QStringList{"Saturn", Row(table, 6)[1], "9", "7"}));
    EXPECT_TRUE(Row(table, 6)[1].endsWith(" Cap"));
    EXPECT_TRUE(Row(table, 3)[1].endsWith(" Sag"));
    EXPECT_EQ(Row(table, 3)[0], "Venus (R)");
    EXPECT_EQ(Row(table, 1).mid(2), (QStringList{"7", "5"})); // the Moon in Scorpio
    EXPECT_LE(table->horizontalHeader()->length(), table->viewport()->width());
    EXPECT_EQ(Label(d, "lblSadeSati")->text(), "No sade sati at this moment");
    // The birth's Cancer keeps its five bodies; Capricorn holds only transiting ones.
    EXPECT_EQ(Label(d, "lblTransitsPlanets_3")->text(), "Surya\nChandra\nBudha\nShukra\nShani");
    EXPECT_EQ(Label(d, "lblTransitsPlanets_9")->text(), "T Budha\nT Shani");
    d.SetChartStyle(ChartStyle::NorthIndian);
    EXPECT_TRUE(Child<NorthIndianChart>(d, "picNorthTransits")->isVisible());
    EXPECT_EQ(Child<NorthIndianChart>(d, "picNorthTransits")->House(9).entries,
              (QStringList{"T Budha", "T Shani"}));
    d.SetChartStyle(ChartStyle::SouthIndian);

    // A moment typed and left: Saturn in Gemini in 2032, the sade sati of this Cancer Moon.
    const double later = Minutes(2032, 7, 1, 12, 0);
    const SadeSatiSearch expected = SadeSatiAt(*d.ShownReading(), later);
    ASSERT_TRUE(expected.cycle);
    const Birth& birth = d.ShownReading()->birth;
    moment->setDateTime(QDateTime(QDate(2032, 7, 1), QTime(17, 30), Qt::UTC));
    emit moment->editingFinished();
    EXPECT_EQ(page->Moment(), later);
    EXPECT_EQ(Label(d, "lblSadeSati")->text().toStdString(),
              "Sade sati: from " + LongDate(LocalDateOf(expected.cycle->start, birth)) + " to " +
                  LongDate(LocalDateOf(expected.cycle->end, birth)));
    EXPECT_TRUE(Row(table, 6)[1].endsWith(" Gem"));
    // Stepping follows once the field rests.
    moment->setDateTime(QDateTime(QDate(2022, 1, 1), QTime(5, 30), Qt::UTC));
    EXPECT_NE(Label(d, "lblSadeSati")->text(), QString("No sade sati at this moment"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return Label(d, "lblSadeSati")->text() == "No sade sati at this moment"; }));
}

} // namespace
