// SPDX-License-Identifier: AGPL-3.0-or-later
// The display form after real readings: personal details, the planet table, the other Vedic
// details, the chart cells where a person would look for them, the report in RTB, crowded cells
// that must still show every entry readably, and values that must show whole.
#include "support/FormTestSupport.h"
#include "support/TestBirths.h"

#include "astro/Moon.h"
#include "pipeline/ReadingPipeline.h"
#include "reading/ReadingTexts.h"
#include "records/Calendar.h"
#include "records/Reading.h"

#include <functional>

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

constexpr int kAries = 0, kTaurus = 1, kGemini = 2, kCancer = 3, kLeo = 4, kVirgo = 5, kLibra = 6,
              kScorpio = 7, kSagittarius = 8, kCapricorn = 9, kAquarius = 10;

const char* const kSignCodes[12] = {"Ari", "Tau", "Gem", "Can", "Leo", "Vir",
                                    "Lib", "Sco", "Sag", "Cap", "Aqu", "Pis"};

int SignOfCode(const QString& code) {
    for (int j = 0; j < 12; ++j)
        if (code == kSignCodes[j])
            return j;
    return -1;
}

// Every cell that lists the body, by sign.
QList<int> CellsHolding(const ReadingView& d, const QString& label) {
    QList<int> signs;
    for (int j = 0; j < 12; ++j)
        if (BaseLabels(CellLines(d, j)).contains(label))
            signs << j;
    return signs;
}

// Grid row and column of each sign, Aries to Pisces, as a person reads the chart.
constexpr int kGrid[12][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3},
                              {3, 2}, {3, 1}, {3, 0}, {2, 0}, {1, 0}, {0, 0}};

// The free inside of a sign's cell: within its lines, and on the chart's outer sides within the
// double frame drawn two pixels in.
QRect CellInside(const ReadingView& d, int sign) {
    const int side = Child<RasiChart>(d, "picSouthRasi")->width() - 1;
    const int row = kGrid[sign][0];
    const int column = kGrid[sign][1];
    const int left = column == 0 ? 3 : column * side / 4 + 1;
    const int right = column == 3 ? side - 3 : (column + 1) * side / 4 - 1;
    const int top = row == 0 ? 3 : row * side / 4 + 1;
    const int bottom = row == 3 ? side - 3 : (row + 1) * side / 4 - 1;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Every entry of the cell drawn whole at a readable size: each inside the cell, room enough for
// its text, clear of the other entries and of the sign number.
::testing::AssertionResult ShowsEveryEntry(const ReadingView& d, int sign) {
    const QLabel* label = Label(d, QString("lblPlanets_%1").arg(sign));
    const QStringList entries = CellLines(d, sign);
    const RasiChart* chart = Child<RasiChart>(d, "picSouthRasi");
    const QList<QRect> rects = chart->EntryRects(sign);
    if (rects.size() != entries.size())
        return ::testing::AssertionFailure()
               << rects.size() << " places for " << entries.size() << " entries";
    if (label->font().pointSizeF() < 8.0)
        return ::testing::AssertionFailure() << "type of " << label->font().pointSizeF() << " points";
    const QFontMetrics metrics(label->font());
    const QRect inside = CellInside(d, sign);
    const QRect number = chart->SignNumberRect(sign);
    for (qsizetype i = 0; i < rects.size(); ++i) {
        const QString text = entries[i].trimmed();
        const QRect& r = rects[i];
        const auto failure = [&] {
            return ::testing::AssertionFailure() << '"' << text.toStdString() << "\" at " << r.x() << ','
                                                 << r.y() << ' ' << r.width() << 'x' << r.height() << ": ";
        };
        if (!inside.contains(r))
            return failure() << "leaves the cell " << inside.x() << ',' << inside.y() << ' ' << inside.width()
                             << 'x' << inside.height();
        if (r.width() < metrics.horizontalAdvance(text) || r.height() < metrics.height())
            return failure() << "too small for its text";
        if (r.intersects(number))
            return failure() << "covers the sign number";
        for (qsizetype j = 0; j < i; ++j)
            if (r.intersects(rects[j]))
                return failure() << "covers entry " << j;
    }
    return ::testing::AssertionSuccess();
}

// The widths of the outer line, the gap and the inner line of a chart's double frame, met going in
// from an edge of its picture at `from`, after any background before it.
std::array<int, 3> FrameProfile(const QImage& image, QPoint from, QPoint step) {
    const auto isLine = [&](QPoint p) {
        const QColor c = image.pixelColor(p);
        return std::abs(c.red() - kLines.red()) + std::abs(c.green() - kLines.green()) +
                   std::abs(c.blue() - kLines.blue()) <
               120;
    };
    QPoint p = from;
    while (image.valid(p) && !isLine(p))
        p += step;
    std::array<int, 3> runs{};
    for (std::size_t k = 0; k < runs.size(); ++k)
        for (; image.valid(p) && isLine(p) == (k != 1); p += step)
            ++runs[k];
    return runs;
}

} // namespace

// Shows a changed copy of the reading on display: each body from the Sun to Ketu at 15 degrees of the
// sign given, the lagna's sign, and the retrograde marks.
void ShowPlaced(ReadingView& d, const std::array<int, 9>& signs, int lagna,
                const std::array<bool, 9>& marked) {
    Reading r = *d.ShownReading();
    for (std::size_t i = 0; i < 9; ++i) {
        r.longitudes[i] = signs[i] * 30 + 15;
        r.signs[i] = signs[i];
        r.retrograde[i] = marked[i];
    }
    r.signs[static_cast<std::size_t>(BodySlot::Ascendant)] = lagna;
    d.ShowReading(std::make_shared<const Reading>(r));
}

class DisplayTest : public FormTest {
  protected:
    ReadingView& DisplayOf(const BirthEntry& entry) {
        ReadingWindow* readingWindow = Compute(entry);
        EXPECT_NE(readingWindow, nullptr);
        return readingWindow->Display();
    }
};

TEST_F(DisplayTest, Reading1980ShowsItsPlanetsDetailsAndCells) {
    BirthEntry entry = Entry1980();
    entry.name = "Ann Lee";
    entry.city = "London";
    entry.state = "Greater London";
    entry.country = "England";
    const ReadingView& d = DisplayOf(entry);

    EXPECT_EQ(Label(d, "lblName")->text(), "Name: Ann Lee");
    EXPECT_EQ(Label(d, "lblDOB")->text(), "Date of Birth: January 1, 1980");
    EXPECT_EQ(Label(d, "lblTOB")->text(), "Time of Birth: 12 HH 0 MM ");
    EXPECT_EQ(Label(d, "lblLatitude")->text(), "Latitude: 51 Degree 30 Minute");
    EXPECT_EQ(Label(d, "lblLongitude")->text(), "Longitude: 0 Degree 0 Minute");
    EXPECT_EQ(Label(d, "lblCity")->text(), "City: London");
    EXPECT_EQ(Label(d, "lblState")->text(), "State: Greater London");
    EXPECT_EQ(Label(d, "lblCountry")->text(), "Country: England");

    const char* const planets[7] = {"16 Sag 56", nullptr,     "05 Sag 26", "18 Cap 43",
                                    "20 Leo 46", "16 Leo 53", "03 Vir 43"};
    for (int i = 0; i < 7; ++i)
        if (planets[i]) {
            EXPECT_EQ(Label(d, QString("Planet_%1").arg(i))->text(), planets[i]) << i;
        }
    EXPECT_EQ(Label(d, "lblAyanamsha")->text(), QString::fromUtf8("23° 34' 34\""));
    EXPECT_EQ(Label(d, "lblLagna")->text(), "Mesha");
    EXPECT_FALSE(Label(d, "lblNakshatra")->text().isEmpty());
    EXPECT_FALSE(Label(d, "lblRashi")->text().isEmpty());
    EXPECT_FALSE(Label(d, "lblPada")->text().isEmpty());
    EXPECT_FALSE(Label(d, "lblLord")->text().isEmpty());

    // Ascendant 00 Ari 23; Rahu 07 Leo 22 and Ketu 07 Aqu 22.
    EXPECT_EQ(CellLines(d, kAries).value(0), "Asc");
    EXPECT_EQ(BaseLabels(CellLines(d, kSagittarius)).mid(0, 2), QStringList({"Surya", "Budha"}));
    EXPECT_TRUE(BaseLabels(CellLines(d, kCapricorn)).contains("Shukra"));
    QStringList leo = BaseLabels(CellLines(d, kLeo));
    leo.removeAll("Chandra");
    EXPECT_EQ(leo, QStringList({"Mangala", "Guru", "Rahu"}));
    EXPECT_TRUE(BaseLabels(CellLines(d, kVirgo)).contains("Shani"));
    EXPECT_TRUE(BaseLabels(CellLines(d, kAquarius)).contains("Ketu"));
    // The Moon stands in one cell: the sign of its row in the planet table.
    const int moonSign = SignOfCode(Label(d, "Planet_1")->text().mid(3, 3));
    EXPECT_EQ(CellsHolding(d, "Chandra"), QList<int>({moonSign}));
    for (const char* body : {"Surya", "Budha", "Shukra", "Mangala", "Guru", "Shani", "Rahu", "Ketu"})
        EXPECT_EQ(CellsHolding(d, body).size(), 1) << body;
}

// A time the form moved into a row's clock names both clocks under the time, whole, and the chart
// gives up that line's room: Kathmandu's UTC+5:45, its mean time UTC+5:41:16 (20,476 s), and a moment
// that falls on the place's next day. A time not moved shows as before.
TEST_F(DisplayTest, AMovedTimeNamesTheRowsClockAndThePlaces) {
    ReadingView& d = DisplayOf(Entry1947());
    const Reading base = *d.ShownReading();
    const struct {
        int hour, minute; // on 1 June of the place's year
        std::optional<PlaceClock> place;
        const char* clocks;
    } cases[] = {
        {9, 45, PlaceClock{1990, 6, 1, 10, 0, 20700}, "(9:45 Indian Time; 10:00 at the place, UTC+5:45)"},
        {11, 49, PlaceClock{1910, 6, 1, 12, 0, 20476},
         "(11:49 Indian Time; 12:00 at the place, UTC+5:41:16)"},
        {23, 55, PlaceClock{1990, 6, 2, 0, 10, 20700},
         "(23:55 Indian Time; 0:10 on June 2, 1990 at the place, UTC+5:45)"},
        {9, 45, std::nullopt, ""},
    };
    const QWidget* chart = Child<QWidget>(d, "picSouthRasi");
    const QWidget* page = chart->parentWidget();
    for (const auto& c : cases) {
        Reading r = base;
        r.birth.year = static_cast<std::int16_t>(c.place ? c.place->year : 1990);
        r.birth.month = 6;
        r.birth.day = 1;
        r.birth.hour = static_cast<std::int16_t>(c.hour);
        r.birth.minute = static_cast<std::int16_t>(c.minute);
        r.birth.placeClock = c.place;
        d.ShowReading(std::make_shared<const Reading>(r));
        QCoreApplication::processEvents();
        const QLabel* clocks = Label(d, "clocksLabel");
        EXPECT_EQ(Label(d, "lblTOB")->text().toStdString(),
                  "Time of Birth: " + std::to_string(c.hour) + " HH " + std::to_string(c.minute) + " MM ");
        EXPECT_EQ(clocks->isVisible() ? clocks->text().toStdString() : "", c.clocks);
        EXPECT_GE(clocks->contentsRect().width(), clocks->fontMetrics().horizontalAdvance(c.clocks))
            << c.clocks;
        EXPECT_LE(chart->mapTo(page, QPoint(0, chart->height())).y(), page->height()) << c.clocks;
    }
}

TEST_F(DisplayTest, Reading1947ShowsItsPlanetsAndTheCrowdedCancerCell) {
    const ReadingView& d = DisplayOf(Entry1947());
    const char* const planets[7] = {"28 Can 43", nullptr,     "14 Can 25", "23 Can 18",
                                    "08 Gem 12", "26 Lib 39", "21 Can 11"};
    for (int i = 0; i < 7; ++i)
        if (planets[i]) {
            EXPECT_EQ(Label(d, QString("Planet_%1").arg(i))->text(), planets[i]) << i;
        }
    EXPECT_EQ(Label(d, "lblLagna")->text(), "Vrishabha");
    EXPECT_EQ(Label(d, "lblDOB")->text(), "Date of Birth: August 15, 1947");
    EXPECT_EQ(Label(d, "lblTOB")->text(), "Time of Birth: 0 HH 0 MM ");

    // Ascendant 07 Tau 45 with Rahu 04 Tau 09; Ketu opposite in Scorpio.
    EXPECT_EQ(CellLines(d, kTaurus).value(0), "Asc");
    EXPECT_EQ(BaseLabels(CellLines(d, kTaurus)).last(), "Rahu");
    EXPECT_EQ(BaseLabels(CellLines(d, kScorpio)), QStringList({"Ketu"}));
    EXPECT_EQ(BaseLabels(CellLines(d, kGemini)), QStringList({"Mangala"}));
    EXPECT_EQ(BaseLabels(CellLines(d, kLibra)), QStringList({"Guru"}));
    QStringList cancer = BaseLabels(CellLines(d, kCancer));
    cancer.removeAll("Chandra");
    EXPECT_EQ(cancer, QStringList({"Surya", "Budha", "Shukra", "Shani"}));
    for (int j = 0; j < 12; ++j)
        EXPECT_TRUE(ShowsEveryEntry(d, j)) << "sign " << j;
}

TEST_F(DisplayTest, EmptyCellsShowOnlyTheirSignNumbers) {
    const ReadingView& d = DisplayOf(Entry1947());
    for (int j = 0; j < 12; ++j)
        EXPECT_EQ(Label(d, QString("lblSouthPosition_%1").arg(j))->text(), QString::number(j + 1));
    for (int empty : {kAries, kLeo, kVirgo, kSagittarius, kCapricorn, kAquarius}) {
        const bool moonHere = CellsHolding(d, "Chandra").contains(empty);
        if (!moonHere) {
            EXPECT_TRUE(CellLines(d, empty).isEmpty()) << empty;
        }
    }
}

TEST_F(DisplayTest, SignCellsRunClockwiseFromTheSecondCellOfTheTopRow) {
    const ReadingView& d = DisplayOf(Entry1980());
    const int side = Child<RasiChart>(d, "picSouthRasi")->width() / 4;
    for (int j = 0; j < 12; ++j) {
        for (const QLabel* label :
             {Label(d, QString("lblSouthPosition_%1").arg(j)), Label(d, QString("lblPlanets_%1").arg(j))}) {
            const QPoint centre = label->geometry().center();
            EXPECT_EQ(centre.y() / side, kGrid[j][0]) << label->objectName().toStdString();
            EXPECT_EQ(centre.x() / side, kGrid[j][1]) << label->objectName().toStdString();
        }
    }
    // Nothing sits in the inner four squares.
    const QRect inner(side + 1, side + 1, 2 * side - 2, 2 * side - 2);
    for (const QLabel* label : Child<RasiChart>(d, "picSouthRasi")->findChildren<QLabel*>())
        EXPECT_FALSE(inner.intersects(label->geometry())) << label->objectName().toStdString();
}

TEST_F(DisplayTest, ACellWithTheAscendantAndFourRetrogradePlanetsShowsEveryLine) {
    ReadingView& d = DisplayOf(Entry1947());
    // A made-up reading: the ascendant and Mercury, Venus, Mars and Saturn, all retrograde, in Gemini.
    ShowPlaced(d, {kAries, kTaurus, kGemini, kGemini, kGemini, kCancer, kGemini, kLeo, kAquarius}, kGemini,
               {false, false, true, true, true, true, true, false, false});
    EXPECT_EQ(CellLines(d, kGemini),
              QStringList({"Asc", "Budha (R) ", "Shukra (R) ", "Mangala (R) ", "Shani (R) "}));
    EXPECT_TRUE(ShowsEveryEntry(d, kGemini));
    EXPECT_EQ(CellLines(d, kCancer), QStringList({"Guru (R) "}));
    // Every earlier entry is gone from the cells.
    EXPECT_TRUE(CellLines(d, kTaurus) == QStringList({"Chandra"}));
}

TEST_F(DisplayTest, DetailsAreWrittenInPlainNumbers) {
    BirthEntry entry = Entry1980();
    entry.monthIndex = 2;
    entry.day = 5;
    entry.hour = 7;
    entry.minute = 5;
    entry.latDeg = "8";
    entry.latMin = "05";
    const ReadingView& d = DisplayOf(entry);
    EXPECT_EQ(Label(d, "lblDOB")->text(), "Date of Birth: March 5, 1980");
    EXPECT_EQ(Label(d, "lblTOB")->text(), "Time of Birth: 7 HH 5 MM ");
    EXPECT_EQ(Label(d, "lblLatitude")->text(), "Latitude: 8 Degree 5 Minute");
}

TEST_F(DisplayTest, FixedCaptionsOfTheDisplay) {
    const ReadingView& d = DisplayOf(Entry1980());
    EXPECT_EQ(d.windowTitle(), "Quillmere v1.15");
    EXPECT_EQ(Child<QGroupBox>(d, "fraPersonal")->title(), "Personal Details");
    EXPECT_EQ(Child<QGroupBox>(d, "fraPlanets")->title(), "Vedic Planetary Position");
    EXPECT_EQ(Child<QGroupBox>(d, "fraOther")->title(), "Other Vedic Details");
    EXPECT_EQ(Child<QGroupBox>(d, "fraInterpretation")->title(), "House Lords Interpretation");
    EXPECT_EQ(Button(d, "cmdInterpretation")->text(), "Get Interpretation");
    EXPECT_EQ(Button(d, "cmdChart")->text(), "Show Chart");
    QStringList names;
    for (int i = 0; i < 7; ++i)
        names << Label(d, QString("PlanetName_%1").arg(i))->text();
    EXPECT_EQ(names, QStringList({"Surya / Sun", "Chandra / Moon", "Budha / Mercury", "Shukra / Venus",
                                  "Mangala / Mars", "Guru / Jupiter", "Shani / Saturn"}));
    QStringList captions;
    for (const char* name : {"lblAyanamsha", "lblLagna", "lblRashi", "lblNakshatra", "lblPada", "lblLord"}) {
        const QLabel* caption = Label(d, QString(name) + "Caption");
        captions << caption->text();
        // Each value stands on the line of its caption; the nakshatra, whose longest names need the
        // whole width, on the line below it.
        const QLabel* value = Label(d, name);
        if (QString(name) == "lblNakshatra") {
            EXPECT_GT(value->y(), caption->geometry().bottom());
            EXPECT_LT(value->y(), caption->geometry().bottom() + caption->height());
        } else {
            EXPECT_EQ(caption->geometry().center().y() / 4, value->geometry().center().y() / 4) << name;
        }
    }
    EXPECT_EQ(captions,
              QStringList({"Ayanamsa", "Lagna / Asc", "Rashi/Moon Sign", "Nakshatra", "Pada", "Lord"}));
}

TEST_F(DisplayTest, TheInterpretationHoldsTheTwelveColouredHeadings) {
    const ReadingView& d = DisplayOf(Entry1947());
    EXPECT_TRUE(Child<QTextEdit>(d, "RTB")->isReadOnly());
    const QStringList lines = Child<QTextEdit>(d, "RTB")->toPlainText().split('\n');
    QStringList headings;
    for (const QString& line : lines)
        if (line.startsWith("Lord of the "))
            headings << line;
    ASSERT_EQ(headings.size(), 12);
    // Ascendant Taurus, Mars in Gemini: the lord of the 1st stands in the 2nd house.
    EXPECT_EQ(headings[0], "Lord of the 1st House Mars is placed in House 2.");
    EXPECT_TRUE(headings[11].startsWith("Lord of the 12th House Jupiter is placed in House "));
    const QTextBlock first = Child<QTextEdit>(d, "RTB")->document()->firstBlock();
    const QTextCharFormat format = first.begin().fragment().charFormat();
    EXPECT_EQ(format.foreground().color(), QColor(0, 128, 0));
    EXPECT_EQ(format.fontWeight(), QFont::Bold);
}

// ---------------------------------------------------------------- room for every value

TEST_F(DisplayTest, TheViewsHaveTheirDesignedSizeAndHoldTheirFrames) {
    const ReadingView& d = DisplayOf(Entry1980());
    // 9405 by 7725 twips for the form, 9135 by 7455 at 120, 120 for the views, 15 twips a pixel.
    EXPECT_EQ(d.size(), QSize(627, 515));
    EXPECT_EQ(Child<QStackedWidget>(d, "views")->geometry(), QRect(8, 8, 609, 497));
    const QRect chart = Child<RasiChart>(d, "picSouthRasi")->geometry();
    for (const char* part : {"fraPersonal", "picSouthRasi", "fraOther", "fraPlanets", "cmdInterpretation"})
        EXPECT_TRUE(Child<QWidget>(d, "fraChart")->rect().contains(Child<QWidget>(d, part)->geometry()))
            << part;
    EXPECT_FALSE(chart.intersects(Child<QGroupBox>(d, "fraOther")->geometry()));
    EXPECT_FALSE(chart.intersects(Child<QGroupBox>(d, "fraPlanets")->geometry()));
}

// The precise calculation adds its name to the other details; the column still holds every line at
// its full height, the bottoms of "g" and "y" included.
TEST_F(DisplayTest, EveryLineBesideTheChartShowsWholeInEitherCalculation) {
    if (!PreciseCalculationBuilt())
        GTEST_SKIP() << "built without the precise calculation";
    for (QAction* calculation : {Command(*form, "mnuClassic"), Command(*form, "mnuPrecise")}) {
        calculation->trigger();
        ReadingView& d = DisplayOf(Entry1980());
        QCoreApplication::processEvents(); // the layouts settle as on screen
        for (const QGroupBox* box : {Child<QGroupBox>(d, "fraOther"), Child<QGroupBox>(d, "fraPlanets")}) {
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                if (label->isHidden())
                    continue;
                const std::string what =
                    calculation->text().toStdString() + " " + label->objectName().toStdString();
                EXPECT_GE(label->contentsRect().height(), QFontMetrics(label->font()).height()) << what;
                EXPECT_TRUE(box->contentsRect().contains(label->geometry())) << what;
            }
        }
        const QRect planets = Child<QGroupBox>(d, "fraPlanets")->geometry();
        EXPECT_TRUE(
            Child<QWidget>(d, "fraChart")->rect().contains(Button(d, "cmdInterpretation")->geometry()));
        EXPECT_FALSE(Button(d, "cmdPeriods_0")->geometry().intersects(planets));
    }
}

TEST_F(DisplayTest, EveryValueOfTheOtherDetailsShowsWhole) {
    ReadingView& d = DisplayOf(Entry1980());
    using Change = std::function<void(::Reading&)>;
    std::vector<Change> nakshatras, lords, padas, lagnas, rashis, ayanamsas;
    for (int i = 0; i < 27; ++i)
        nakshatras.push_back([i](::Reading& r) { r.nakshatra = i; });
    for (const PeriodLord& lord : kNakshatraLords)
        lords.push_back([body = lord.body](::Reading& r) { r.nakshatraLord = body; });
    for (int pada = 1; pada <= 4; ++pada)
        padas.push_back([pada](::Reading& r) { r.pada = pada; });
    for (int s = 0; s < 12; ++s) {
        lagnas.push_back([s](::Reading& r) { r.signs[static_cast<std::size_t>(BodySlot::Ascendant)] = s; });
        rashis.push_back([s](::Reading& r) { r.signs[static_cast<std::size_t>(BodySlot::Moon)] = s; });
    }
    // The ayanamsa of every year the form offers, and every shape of its text with every digit the same
    // (minutes and seconds of one or two digits, their tens at most 5), for type whose digits differ in
    // width.
    BirthEntry entry = Entry1980();
    for (int year = 1901; year <= 2050; ++year) {
        entry.year = year;
        const std::optional<::Reading> reading = ReadingOf(entry);
        ASSERT_TRUE(reading) << year;
        ayanamsas.push_back([a = reading->ayanamsa](::Reading& r) { r.ayanamsa = a; });
    }
    for (int digit = 0; digit <= 9; ++digit)
        for (int minutes : {digit, 11 * digit})
            for (int seconds : {digit, 11 * digit})
                if (minutes < 60 && seconds < 60)
                    ayanamsas.push_back([=](::Reading& r) {
                        r.ayanamsa = -(11 * digit + minutes / 60.0 + (seconds + 0.5) / 3600);
                    });
    using Text = std::function<std::string(const ::Reading&)>;
    const struct {
        QLabel* label;
        const std::vector<Change>& changes;
        Text text;
    } details[] = {
        {Label(d, "lblNakshatra"), nakshatras,
         [](const ::Reading& r) { return std::string(MoonNakshatraName(r)); }},
        {Label(d, "lblLord"), lords, [](const ::Reading& r) { return std::string(NakshatraLordName(r)); }},
        {Label(d, "lblPada"), padas, PadaText},
        {Label(d, "lblLagna"), lagnas, [](const ::Reading& r) { return std::string(LagnaName(r)); }},
        {Label(d, "lblRashi"), rashis, [](const ::Reading& r) { return std::string(RashiName(r)); }},
        {Label(d, "lblAyanamsha"), ayanamsas, AyanamsaText}};
    const ::Reading shown = *d.ShownReading();
    for (const auto& detail : details) {
        const std::string name = detail.label->objectName().toStdString();
        ASSERT_TRUE(detail.label->isVisible()) << name;
        EXPECT_TRUE(Child<QGroupBox>(d, "fraOther")->rect().contains(detail.label->geometry())) << name;
        const int room = detail.label->contentsRect().width() - std::max(0, detail.label->indent());
        for (const Change& change : detail.changes) {
            ::Reading r = shown;
            change(r);
            d.ShowReading(std::make_shared<const ::Reading>(r));
            ASSERT_FALSE(detail.label->text().isEmpty()) << name;
            ASSERT_EQ(detail.label->text().toStdString(), detail.text(r));
            EXPECT_LE(QFontMetrics(detail.label->font()).horizontalAdvance(detail.label->text()), room)
                << name << ": " << detail.label->text().toStdString();
        }
    }
}

TEST_F(DisplayTest, TheEightPlanetsInCapricornOnFebruary4th1962AllShow) {
    const ReadingView& d = DisplayOf(MakeEntry(1962, 2, 4, 7, 0, 34, "28", "39", false, "77", "13", true));
    EXPECT_EQ(BaseLabels(CellLines(d, kCapricorn)), QStringList({"Asc", "Surya", "Chandra", "Budha", "Shukra",
                                                                 "Mangala", "Guru", "Shani", "Ketu"}));
    EXPECT_TRUE(ShowsEveryEntry(d, kCapricorn));
}

TEST_F(DisplayTest, AFullCellShowsItsTenLongestEntriesInEverySign) {
    ReadingView& d = DisplayOf(Entry1947());
    // The ascendant and all nine bodies, every planet that can be retrograde marked so.
    for (int sign = 0; sign < 12; ++sign) {
        std::array<int, 9> signs;
        signs.fill(sign);
        ShowPlaced(d, signs, sign, {false, false, true, true, true, true, true, false, false});
        ASSERT_EQ(CellLines(d, sign).size(), 10) << sign;
        EXPECT_TRUE(ShowsEveryEntry(d, sign)) << "sign " << sign;
    }
}

// ---------------------------------------------------------------- the periods and positions view

namespace {

// A point well inside each house of the North-Indian square of side s: house 1 the top middle
// diamond, then counter-clockwise.
QPointF InsideHouse(int house, double s) {
    static constexpr double kAt[12][2] = {{0.5, 0.25},  {0.25, 0.06}, {0.06, 0.25}, {0.25, 0.5},
                                          {0.06, 0.75}, {0.25, 0.94}, {0.5, 0.75},  {0.75, 0.94},
                                          {0.94, 0.75}, {0.75, 0.5},  {0.94, 0.25}, {0.75, 0.06}};
    return {kAt[house - 1][0] * s, kAt[house - 1][1] * s};
}

// Every entry of the house drawn whole inside its lines, clear of the number and of one another.
::testing::AssertionResult ShowsEveryEntry(const RegionText& house) {
    if (house.entryRects.size() != house.entries.size())
        return ::testing::AssertionFailure()
               << house.entryRects.size() << " places for " << house.entries.size();
    if (house.entryFont.pointSizeF() < kChartSmallestPointSize)
        return ::testing::AssertionFailure() << "type of " << house.entryFont.pointSizeF() << " points";
    const QFontMetricsF metrics(house.entryFont);
    for (qsizetype i = 0; i < house.entryRects.size(); ++i) {
        const QRectF& r = house.entryRects[i];
        const std::string text = house.entries[i].toStdString();
        for (const QPointF& corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            if (!house.region.containsPoint(corner, Qt::OddEvenFill))
                return ::testing::AssertionFailure()
                       << '"' << text << "\" leaves house " << house.number.toStdString();
        if (r.width() < metrics.horizontalAdvance(house.entries[i]) || r.height() < metrics.height())
            return ::testing::AssertionFailure() << '"' << text << "\" has too little room";
        if (r.intersects(house.numberRect) ||
            !house.region.containsPoint(house.numberRect.center(), Qt::OddEvenFill))
            return ::testing::AssertionFailure()
                   << '"' << text << "\" covers the number, or the number is outside";
        for (qsizetype j = 0; j < i; ++j)
            if (r.intersects(house.entryRects[j]))
                return ::testing::AssertionFailure() << '"' << text << "\" covers entry " << j;
    }
    return ::testing::AssertionSuccess();
}

} // namespace

// Each side of the double frame shows the same lines and gap, at whatever scaling, even and odd sizes
// alike; unscaled, one pixel each, as the chart has always been drawn.
TEST_F(DisplayTest, EachChartShowsItsDoubleFrameAlikeOnEverySide) {
    RasiChart south;
    NorthIndianChart north;
    for (QWidget* chart : {static_cast<QWidget*>(&south), static_cast<QWidget*>(&north)}) {
        for (const int side : {392, 391}) {
            chart->resize(side, side);
            const QImage image = chart->grab().toImage();
            const int w = image.width(), h = image.height();
            const std::array<int, 3> sides[] = {FrameProfile(image, {0, h * 3 / 8}, {1, 0}),
                                                FrameProfile(image, {w - 1, h * 3 / 8}, {-1, 0}),
                                                FrameProfile(image, {w * 3 / 8, 0}, {0, 1}),
                                                FrameProfile(image, {w * 3 / 8, h - 1}, {0, -1})};
            const std::string what =
                chart->metaObject()->className() + std::string(" ") + std::to_string(side);
            for (const auto& profile : sides) {
                EXPECT_EQ(profile, sides[0]) << what;
                EXPECT_GE(profile[0], 1) << what;
                EXPECT_GE(profile[1], 1) << what;
            }
            if (qFuzzyCompare(chart->devicePixelRatioF(), 1.0)) {
                EXPECT_EQ(sides[0], (std::array<int, 3>{1, 1, 1})) << what;
            }
        }
    }
}

TEST_F(DisplayTest, TheNorthIndianChartShowsEachSignInItsHouseForTwoLagnas) {
    NorthIndianChart chart;
    chart.resize(392, 392);
    const struct {
        int lagna;
        int signNumberInHouse[12];
    } cases[] = {{kAries, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                 {kCapricorn, {10, 11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9}}};
    // The nine longest entries a sign can hold, and one short one, in turn in every house.
    const QStringList crowd{"Asc",          "Surya",     "Chandra",    "Budha (R) ", "Shukra (R) ",
                            "Mangala (R) ", "Guru (R) ", "Shani (R) ", "Rahu"};
    for (const auto& c : cases) {
        std::array<QStringList, 12> entries;
        for (int s = 0; s < 12; ++s)
            entries[static_cast<std::size_t>(s)] = {QString("S%1").arg(s + 1)};
        chart.SetChart(c.lagna, entries);
        for (int h = 1; h <= 12; ++h) {
            const RegionText& house = chart.House(h);
            const QString number = QString::number(c.signNumberInHouse[h - 1]);
            EXPECT_EQ(house.number, number) << "lagna " << c.lagna << " house " << h;
            EXPECT_EQ(house.entries, QStringList{"S" + number}) << "lagna " << c.lagna << " house " << h;
            EXPECT_TRUE(house.region.containsPoint(InsideHouse(h, 391), Qt::OddEvenFill)) << h;
            EXPECT_TRUE(ShowsEveryEntry(house)) << "lagna " << c.lagna << " house " << h;
        }
        for (int h = 1; h <= 12; ++h) {
            std::array<QStringList, 12> crowded;
            crowded[static_cast<std::size_t>(c.signNumberInHouse[h - 1] - 1)] = crowd;
            chart.SetChart(c.lagna, crowded);
            EXPECT_TRUE(ShowsEveryEntry(chart.House(h))) << "crowded, lagna " << c.lagna << " house " << h;
        }
    }
}

TEST_F(DisplayTest, ThePeriodsViewShowsTheNinePeriodsAndMarksTheRunningOnes) {
    ReadingView& d = DisplayOf(Entry1980());
    QTest::mouseClick(Button(d, "cmdPeriods_0"), Qt::LeftButton);
    ASSERT_EQ(ViewInFront(d), "fraPeriods");
    const QTreeWidget* tree = Child<QTreeWidget>(d, "tvwPeriods");
    ASSERT_EQ(tree->topLevelItemCount(), 9);
    // The Moon at 6 8 Gemini, in Mrigsira: Mars's period (its end bounded in the companion's test).
    const QTreeWidgetItem* mars = tree->topLevelItem(0);
    EXPECT_EQ((QStringList{mars->text(0), mars->text(1), mars->text(2)}),
              (QStringList{"Mars", "April 9, 1973", "April 9, 1980"}));
    const char* const order[9] = {"Mars", "Rahu",  "Jupiter", "Saturn", "Mercury",
                                  "Ketu", "Venus", "Sun",     "Moon"};
    for (int i = 0; i < 9; ++i) {
        const QTreeWidgetItem* major = tree->topLevelItem(i);
        EXPECT_EQ(major->text(0), order[i]);
        ASSERT_EQ(major->childCount(), 9);
        EXPECT_EQ(major->child(0)->text(0), order[i]);
        EXPECT_EQ(major->child(0)->text(1), major->text(1));
        EXPECT_EQ(major->child(8)->text(2), major->text(2));
    }
    // On 1 January 2000 Jupiter's period (April 1998 to 2014) runs, and in it Jupiter's own first part.
    const auto marked = [tree] {
        QStringList out;
        for (int i = 0; i < 9; ++i) {
            const QTreeWidgetItem* major = tree->topLevelItem(i);
            for (int j = -1; j < major->childCount(); ++j) {
                const QTreeWidgetItem* item = j < 0 ? major : major->child(j);
                if (!item->text(4).isEmpty() || item->font(0).bold())
                    out << item->text(0) + (j < 0 ? "" : " in " + major->text(0)) + " " + item->text(4);
            }
        }
        return out;
    };
    d.ShowPeriods(static_cast<double>(DayOf(2000, 1, 1).time_since_epoch().count()) * 1440);
    EXPECT_EQ(marked(), (QStringList{"Jupiter now", "Jupiter in Jupiter now"}));
    EXPECT_TRUE(tree->topLevelItem(2)->isExpanded());
    d.ShowPeriods(static_cast<double>(DayOf(1960, 1, 1).time_since_epoch().count()) * 1440);
    EXPECT_EQ(marked(), QStringList());
}

// Born 1 January 1980 12:00 in London: what is left of Mars's period ends on 9 April (98.5 to 99.5 days
// on: 3 months of 30.4375 days and 7 or 8 days). By the calendar Rahu's period, from 9 April 1980,
// begins at 0 y 3 m, Jupiter's, from 10 April 1998, at 18 y 3 m.
TEST_F(DisplayTest, ThePeriodsViewShowsTheBalanceTheAgesAndTheThirdLevel) {
    ReadingView& d = DisplayOf(Entry1980());
    d.ShowPeriods(static_cast<double>(DayOf(2000, 1, 1).time_since_epoch().count()) * 1440);
    const QString balance = Label(d, "lblBalance")->text();
    EXPECT_TRUE(
        QRegularExpression("^Balance at birth: Mars 0 years 3 months [78] days$").match(balance).hasMatch())
        << balance.toStdString();
    QTreeWidget* tree = Child<QTreeWidget>(d, "tvwPeriods");
    EXPECT_EQ(tree->headerItem()->text(3), "Age");
    QStringList ages; // Mars's and its last part began before birth
    for (const QTreeWidgetItem* item : {tree->topLevelItem(0), tree->topLevelItem(0)->child(8),
                                        tree->topLevelItem(1), tree->topLevelItem(2)})
        ages << item->text(0) + ":" + item->text(3);
    EXPECT_EQ(ages, (QStringList{"Mars:", "Moon:", "Rahu:0 y 3 m", "Jupiter:18 y 3 m"}));

    // A closed sub-period opens into its nine pratyantars from its own lord, filling it. The one
    // running on 1 January 2000 is open and marked: Mars's, 616.9 to 662.4 days into Jupiter's own
    // sub-period of 10 April 1998.
    QTreeWidgetItem* rahu = tree->topLevelItem(1)->child(0);
    EXPECT_FALSE(rahu->isExpanded());
    EXPECT_EQ(rahu->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    tree->expandItem(rahu);
    ASSERT_EQ(rahu->childCount(), 9);
    const char* const order[9] = {"Rahu",  "Jupiter", "Saturn", "Mercury", "Ketu",
                                  "Venus", "Sun",     "Moon",   "Mars"};
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(rahu->child(k)->text(0), order[k]);
    EXPECT_EQ((QStringList{rahu->child(0)->text(1), rahu->child(8)->text(2)}),
              (QStringList{rahu->text(1), rahu->text(2)}));
    const QTreeWidgetItem* running = tree->topLevelItem(2)->child(0);
    EXPECT_TRUE(running->isExpanded());
    ASSERT_EQ(running->childCount(), 9);
    EXPECT_EQ(running->child(7)->text(0) + " " + running->child(7)->text(4), "Mars now");
}

TEST_F(DisplayTest, ThePositionsTableShowsEveryBodyWholeWithItsNakshatraPadaAndMark) {
    ReadingView& d = DisplayOf(Entry1980());
    d.showPeriods();
    Child<QTabWidget>(d, "tabPeriods")->setCurrentWidget(Child<QWidget>(d, "fraPositions"));
    QCoreApplication::processEvents();
    const QTableWidget* t = Child<QTableWidget>(d, "grdPositions");
    ASSERT_EQ(t->rowCount(), 11);
    const auto row = [t](int r) {
        QStringList cells;
        for (int c = 0; c < t->columnCount(); ++c)
            cells << t->item(r, c)->text();
        return cells;
    };
    // 6 8 Gemini lies in Mrigsira's last quarter (63 20 to 66 40); Jupiter is retrograde.
    EXPECT_EQ(row(1).mid(0, 4), (QStringList{"Moon", "Gemini", "6", "8"}));
    EXPECT_EQ(row(1).mid(5), (QStringList{Label(d, "lblNakshatra")->text(), "4", ""}));
    EXPECT_EQ(row(5).mid(0, 2) + row(5).mid(7), (QStringList{"Jupiter", "Leo", "(R)"}));
    EXPECT_EQ(row(9).mid(0, 4), (QStringList{"Ascendant", "Aries", "0", "23"}));
    EXPECT_EQ(row(10).mid(0, 4), (QStringList{"Midheaven", "Sagittarius", "15", "53"}));
    for (int r = 0; r < t->rowCount(); ++r) {
        EXPECT_EQ(row(r)[7] == "(R)", d.ShownReading()->Retrograde(static_cast<BodySlot>(r))) << r;
        for (int c = 0; c < t->columnCount(); ++c)
            EXPECT_GE(t->columnWidth(c), t->fontMetrics().horizontalAdvance(t->item(r, c)->text()))
                << r << ',' << c;
    }
    EXPECT_LE(t->horizontalHeader()->length(), t->viewport()->width());
    EXPECT_LE(t->verticalHeader()->length(), t->viewport()->height());
}

// Wide cells in every column (Capricorn, Poorva Bhadrapada, a retrograde mark) still fit the page, with
// the last column wide enough for its heading.
TEST_F(DisplayTest, ThePositionsTableShowsItsWidestRowsWithoutScrolling) {
    ReadingView& d = DisplayOf(MakeEntry(2000, 2, 29, 6, 45, 47, "41", "17", true, "174", "46", true));
    d.showPeriods();
    Child<QTabWidget>(d, "tabPeriods")->setCurrentWidget(Child<QWidget>(d, "fraPositions"));
    QCoreApplication::processEvents();
    const QTableWidget* t = Child<QTableWidget>(d, "grdPositions");
    ASSERT_EQ(t->item(2, 5)->text() + t->item(2, 7)->text(), "Shatbisha(R)");
    ASSERT_EQ(t->item(9, 5)->text(), "Poorva Bhadrapada");
    EXPECT_LE(t->horizontalHeader()->length(), t->viewport()->width());
    EXPECT_FALSE(t->horizontalScrollBar()->isVisible());
    EXPECT_GE(t->columnWidth(7), t->horizontalHeader()->sectionSizeHint(7));
}

// The divisional charts page draws the chart chosen when it is first shown, and again on each choice.
// Asc 0 23 Aries and the Moon 6 8 Gemini, worked by hand: D2 both Leo (odd signs' first halves); D10
// the Asc in the first tenth, from Aries, the Moon in the third, two on from Gemini, Leo; D30 the Asc in
// Aries (0-5 degrees), the Moon in Aquarius (5-10).
TEST_F(DisplayTest, TheDivisionalChartsPageDrawsTheChosenChart) {
    ReadingView& d = DisplayOf(Entry1980());
    d.showPeriods();
    const auto cell = [&d](const char* prefix, int sign) {
        return BaseLabels(Label(d, QString("%1_%2").arg(prefix).arg(sign))->text().split('\n'));
    };
    EXPECT_EQ(Label(d, "lblVargaPlanets_4")->text(), "") << "drawn before it was shown";
    Child<QTabWidget>(d, "tabPeriods")->setCurrentWidget(Child<QWidget>(d, "fraVarga"));
    QCoreApplication::processEvents();
    for (int j = 0; j < 12; ++j)
        EXPECT_EQ(cell("lblVargaPlanets", j), cell("lblNavamsaPlanets", j)) << "D9 first, sign " << j;
    QComboBox* chooser = Child<QComboBox>(d, "cboVarga");
    ASSERT_EQ(chooser->count(), 16);
    const struct {
        int division;
        int ascSign, moonSign;
    } cases[] = {{2, kLeo, kLeo}, {10, kAries, kLeo}, {30, kAries, kAquarius}};
    for (const auto& c : cases) {
        chooser->setCurrentIndex(chooser->findData(c.division));
        EXPECT_TRUE(cell("lblVargaPlanets", c.ascSign).contains("Asc")) << c.division;
        EXPECT_TRUE(cell("lblVargaPlanets", c.moonSign).contains("Chandra")) << c.division;
    }
    EXPECT_EQ(Label(d, "lblVargaParts")->text(), "Each sign in 5 unequal parts, ruled by Mars, Saturn, "
                                                 "Jupiter, Mercury and Venus");
    chooser->setCurrentIndex(chooser->findData(60));
    EXPECT_EQ(Label(d, "lblVargaParts")->text(), "Each sign in 60 parts of 0\u00B0 30'");
    // Under the chart of a classic reading, how far its signs are to be trusted.
    const QLabel* classic = Label(d, "classicAccuracyLabel");
    EXPECT_EQ(classic->text(), "Classic positions: D60 signs differ from the precise calculation's for two "
                               "bodies in three");
    EXPECT_TRUE(classic->isVisibleTo(&d));
    EXPECT_GT(classic->geometry().top(), Child<QWidget>(d, "picSouthVarga")->geometry().bottom());
    chooser->setCurrentIndex(chooser->findData(9));
    EXPECT_TRUE(
        classic->text().endsWith("D9 signs differ from the precise calculation's for one body in six"));
    for (int i = 0; i < chooser->count(); ++i) {
        chooser->setCurrentIndex(i);
        EXPECT_LE(classic->fontMetrics().horizontalAdvance(classic->text()), classic->contentsRect().width())
            << "one line: " << classic->text().toStdString();
    }
    chooser->setCurrentIndex(chooser->findData(2));
    d.SetChartStyle(ChartStyle::NorthIndian);
    const auto* north = Child<NorthIndianChart>(d, "picNorthVarga");
    EXPECT_TRUE(north->isVisibleTo(&d));
    EXPECT_EQ(north->House(1).number, "5") << "the hora lagna in Leo";

    if (!PreciseCalculationBuilt())
        return;
    Command(*form, "mnuPrecise")->trigger();
    ReadingView& precise = DisplayOf(Entry1980());
    precise.showPeriods();
    Child<QTabWidget>(precise, "tabPeriods")->setCurrentWidget(Child<QWidget>(precise, "fraVarga"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(Label(precise, "classicAccuracyLabel")->isVisibleTo(&precise));
}

// The Ashtakavarga page is worked out when first shown: the Sun's row of 1947 as worked by hand in
// test_Ashtakavarga, each sign's total in its cell of the chart in either style; a reading shown while
// the page is in view is there at once (all eight in Aries: the Sun's bindus in the nth sign are how
// many of them give the nth place).
TEST_F(DisplayTest, TheAshtakavargaPageIsWorkedOutWhenShown) {
    ReadingView& d = DisplayOf(Entry1947());
    const QTableWidget* t = Child<QTableWidget>(d, "grdAshtakavarga");
    EXPECT_EQ(t->item(7, 0), nullptr);
    d.showPeriods();
    Child<QTabWidget>(d, "tabPeriods")->setCurrentWidget(Child<QWidget>(d, "fraAshtakavarga"));
    QCoreApplication::processEvents();
    EXPECT_EQ(t->verticalHeaderItem(7)->text(), "Total");
    const auto row = [t](int r) {
        QStringList cells;
        for (int c = 0; c < 12; ++c)
            cells << t->item(r, c)->text();
        return cells;
    };
    EXPECT_EQ(row(0).join(' '), "6 4 4 4 4 3 3 1 4 4 5 6");
    for (int c = 0; c < 12; ++c)
        EXPECT_EQ(Label(d, QString("lblAshtakavargaBindus_%1").arg(c))->text(), row(7)[c]) << c;
    EXPECT_LE(t->verticalHeader()->length(), t->viewport()->height());
    d.SetChartStyle(ChartStyle::NorthIndian);
    EXPECT_EQ(Child<NorthIndianChart>(d, "picNorthAshtakavarga")->House(1).entries, QStringList{row(7)[1]});

    ShowPlaced(d, {}, 0, {});
    EXPECT_EQ(row(0).join(' '), "3 3 3 4 2 5 4 3 5 6 7 3");
}

// The Panchanga page is filled once shown, and at once for a new reading while it is shown. Worked by
// hand from the positions: 1 January 1980, a Tuesday, noon; Sun 16 56 Sagittarius, Moon 6 8 Gemini:
// elongation 169 12 (tithi 15, karana 29), sum 323 4 (yoga 25). 15 August 1947 at midnight, before
// the Friday's sunrise: Thursday, the Moon in Pushya.
TEST_F(DisplayTest, ThePanchangaPageShowsItsItemsOnceShownAndFollowsTheReading) {
    ReadingView& d = DisplayOf(Entry1980());
    const char* const names[] = {"Vara", "Tithi", "Nakshatra", "Yoga", "Karana", "Sunrise", "Sunset"};
    const auto values = [&d, &names] {
        QStringList out;
        for (const char* name : names)
            out << Label(d, QString("lblPanchanga") + name)->text();
        return out;
    };
    EXPECT_TRUE(values().join("").isEmpty()) << values().join(" | ").toStdString();
    d.showPeriods();
    Child<QTabWidget>(d, "tabPeriods")->setCurrentWidget(Child<QWidget>(d, "fraPanchanga"));
    QCoreApplication::processEvents();
    const QRegularExpression time(PreciseCalculationBuilt() ? "\\d\\d:\\d\\d" : "unavailable");
    QStringList shown = values();
    EXPECT_EQ(shown.mid(0, 5).join(" | ").toStdString(),
              "3 Tuesday | 15 Shukla Purnima | 5 Mrigsira | 25 Brahma | 29 Vishti");
    EXPECT_TRUE(time.match(shown[5]).hasMatch()) << shown[5].toStdString();
    EXPECT_TRUE(time.match(shown[6]).hasMatch()) << shown[6].toStdString();
    for (const char* name : names) {
        const QLabel* label = Label(d, QString("lblPanchanga") + name);
        EXPECT_EQ(Label(d, QString("lblPanchanga") + name + "Caption")->text().toStdString(), name);
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << name;
    }
    d.ShowReading(std::make_shared<const Reading>(*ReadingOf(Entry1947())));
    shown = values();
    EXPECT_EQ(shown[0].toStdString(), "5 Thursday");
    EXPECT_EQ(shown[2].toStdString(), "8 Pushya");
}

// Every page's tab shows whole across the periods view: none hides behind scroll arrows.
TEST_F(DisplayTest, EveryTabOfThePeriodsViewShows) {
    ReadingView& d = DisplayOf(Entry1980());
    d.showPeriods();
    QCoreApplication::processEvents();
    const QTabBar* tabs = Child<QTabWidget>(d, "tabPeriods")->tabBar();
    ASSERT_EQ(tabs->count(), 7);
    EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), tabs->width())
        << tabs->tabText(tabs->count() - 1).toStdString();
}
