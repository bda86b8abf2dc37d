// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/ReadingView.h"

#include "formats/ChartExport.h"
#include "forms/Actions.h"
#include "forms/AshtakavargaPage.h"
#include "forms/CompareView.h"
#include "forms/HouseLordReport.h"
#include "forms/NorthIndianChart.h"
#include "forms/PanchangaPage.h"
#include "forms/RasiChart.h"
#include "forms/TransitsPage.h"
#include "forms/VargaPage.h"
#include "output/PrintChart.h"
#include "pipeline/Periods.h"
#include "pipeline/ReadingPipeline.h"
#include "reading/ReadingTexts.h"
#include "records/Messages.h"
#include "records/Vocabulary.h"

#include <QAction>
#include <QDateTime>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Twips of the original layout at 15 per pixel: the form's client area and the two views in it.
constexpr int kFormWidth = 9405 / 15;
constexpr int kFormHeight = 7725 / 15;
constexpr int kViewLeft = 120 / 15;
constexpr int kViewTop = 120 / 15;
constexpr int kViewWidth = 9135 / 15;
constexpr int kViewHeight = 7455 / 15;
constexpr int kChartViewSpacing = 6;
// Between the rows of the other details and of the planet table. The precise calculation's two
// lines more take the room of the table's spacing and some of the details'; the column below the
// personal details has no more.
constexpr int kOtherRowSpacing = 2;
constexpr int kPlanetRowSpacing = 3;
constexpr int kTightRowSpacing = 1;

using shown::Latin1;
using shown::Text;

QLabel* NamedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    // A long name or place must not push the frames apart; the whole text stays in the tool tip.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

void SetDetail(QLabel* label, const QString& text) {
    label->setText(text);
    label->setToolTip(text);
}

QPushButton* NamedButton(const char* caption, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(name);
    return button;
}

// The columns of the periods tree.
enum PeriodColumn { kLordColumn, kBeginsColumn, kEndsColumn, kAgeColumn, kRunningColumn, kPeriodColumns };

// The texts of a period's row: lord, begins, ends, and the person's age on the day it begins (blank
// for one begun before birth).
QStringList PeriodTexts(const Period& p, const Birth& birth) {
    const std::optional<Age> age = AgeAt(p.start, birth);
    return {Latin1(Body(p.lord).english), Text(LongDate(LocalDateOf(p.start, birth))),
            Text(LongDate(LocalDateOf(p.end, birth))), age ? Latin1(AgeText(*age)) : QString()};
}

// Marks a row as running now.
void MarkRunning(QTreeWidgetItem* running) {
    running->setText(kRunningColumn, msg::kRunningMark);
    for (int c = 0; c < kPeriodColumns; ++c) {
        QFont bold = running->font(c);
        bold.setBold(true);
        running->setFont(c, bold);
    }
}

} // namespace

ReadingView::ReadingView(QWidget* parent) : QWidget(parent) {
    setObjectName("ReadingView");
    setWindowTitle(msg::kCaption);
    setFixedSize(kFormWidth, kFormHeight);

    views = new QStackedWidget(this);
    views->setObjectName("views");
    fraChart = BuildChartView();
    fraInterpretation = BuildInterpretationView();
    fraPeriods = BuildPeriodsView();
    fraCompare = new CompareView();
    views->addWidget(fraChart);
    views->addWidget(fraInterpretation);
    views->addWidget(fraPeriods);
    views->addWidget(fraCompare);
    views->setGeometry(kViewLeft, kViewTop, kViewWidth, kViewHeight);

    Picture1 = new QLabel(this);
    Picture1->setObjectName("Picture1");
    txtFile = new QLineEdit(this);
    txtFile->setObjectName("txtFile");
    txtFolder = new QLineEdit(this);
    txtFolder->setObjectName("txtFolder");
    for (QWidget* hidden : {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(txtFile),
                            static_cast<QWidget*>(txtFolder)}) {
        hidden->move(0, kFormHeight);
        hidden->hide();
    }

    actChart = MakeAction(this, "Show Chart", "actChart");
    actInterpretation = MakeAction(this, "Get Interpretation", "actInterpretation");
    actPeriods = MakeAction(this, msg::kPeriodsView, "mnuPeriods");
    for (QPushButton* button : {cmdChart, cmdPeriodsChart})
        BindButton(button, actChart);
    for (QPushButton* button : {cmdInterpretation, cmdPeriodsInterpretation})
        BindButton(button, actInterpretation);
    for (QPushButton* button : cmdPeriods)
        BindButton(button, actPeriods);
    connect(actChart, &QAction::triggered, this, &ReadingView::showChart);
    connect(actInterpretation, &QAction::triggered, this, &ReadingView::showInterpretation);
    connect(actPeriods, &QAction::triggered, this, &ReadingView::showPeriods);
    fraCompare->BindViewButtons(actChart, actInterpretation, actPeriods);
}

QWidget* ReadingView::BuildChartView() {
    auto* view = new QWidget();
    view->setObjectName("fraChart");
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kChartViewSpacing);

    fraPersonal = new QGroupBox("Personal Details", view);
    fraPersonal->setObjectName("fraPersonal");
    auto* personal = new QGridLayout(fraPersonal);
    // Tight lines here leave the chart below as tall as the view allows.
    personal->setContentsMargins(10, 2, 10, 4);
    personal->setHorizontalSpacing(16);
    personal->setVerticalSpacing(0);
    lblName = NamedLabel("lblName", fraPersonal);
    lblDOB = NamedLabel("lblDOB", fraPersonal);
    lblTOB = NamedLabel("lblTOB", fraPersonal);
    lblLatitude = NamedLabel("lblLatitude", fraPersonal);
    lblLongitude = NamedLabel("lblLongitude", fraPersonal);
    lblCity = NamedLabel("lblCity", fraPersonal);
    lblState = NamedLabel("lblState", fraPersonal);
    lblCountry = NamedLabel("lblCountry", fraPersonal);
    // Name and date run across; city, state and country start level with the time line.
    personal->addWidget(lblName, 0, 0, 1, 2);
    personal->addWidget(lblDOB, 1, 0, 1, 2);
    personal->addWidget(lblTOB, 2, 0);
    // Under the time and across both columns, the clocks of a time moved into a row's clock; hidden
    // (and taking no room) otherwise.
    clocksLabel = NamedLabel("clocksLabel", fraPersonal);
    clocksLabel->hide();
    personal->addWidget(clocksLabel, 3, 0, 1, 2);
    personal->addWidget(lblLatitude, 4, 0);
    personal->addWidget(lblLongitude, 5, 0);
    personal->addWidget(lblCity, 2, 1);
    personal->addWidget(lblState, 4, 1);
    personal->addWidget(lblCountry, 5, 1);
    personal->setColumnStretch(0, 1);
    personal->setColumnStretch(1, 1);
    layout->addWidget(fraPersonal);

    auto* lower = new QHBoxLayout();
    lower->setSpacing(kChartViewSpacing);
    layout->addLayout(lower, 1);

    // The chart takes the whole height below the personal details: a crowded sign needs every pixel.
    chartSide_ = kViewHeight - fraPersonal->sizeHint().height() - kChartViewSpacing;
    const int chartSide = chartSide_;
    picSouthRasi = new RasiChart(view);
    picSouthRasi->setFixedSize(chartSide, chartSide);
    lower->addWidget(picSouthRasi, 0, Qt::AlignLeft | Qt::AlignBottom);
    // In its place when the North-Indian style is chosen; hidden, it takes no room.
    picNorthRasi = new NorthIndianChart(view);
    picNorthRasi->setObjectName("picNorthRasi");
    picNorthRasi->setFixedSize(chartSide, chartSide);
    picNorthRasi->hide();
    lower->addWidget(picNorthRasi, 0, Qt::AlignLeft | Qt::AlignBottom);

    auto* right = new QVBoxLayout();
    right->setSpacing(kChartViewSpacing);
    lower->addLayout(right, 1);

    fraOther = new QGroupBox("Other Vedic Details", view);
    fraOther->setObjectName("fraOther");
    auto* other = new QGridLayout(fraOther);
    other->setContentsMargins(8, 4, 8, 4);
    other->setHorizontalSpacing(8);
    other->setVerticalSpacing(kOtherRowSpacing);
    struct DetailRow {
        const char* caption;
        const char* name;
        QLabel** value;
        // The longest nakshatra names need the frame's whole width, so that value has a line of its
        // own under its caption.
        bool ownLine;
    };
    const DetailRow rows[] = {{"Ayanamsa", "lblAyanamsha", &lblAyanamsha, false},
                              {"Lagna / Asc", "lblLagna", &lblLagna, false},
                              {"Rashi/Moon Sign", "lblRashi", &lblRashi, false},
                              {"Nakshatra", "lblNakshatra", &lblNakshatra, true},
                              {"Pada", "lblPada", &lblPada, false},
                              {"Lord", "lblLord", &lblLord, false},
                              {"Calculation", "lblCalculation", &lblCalculation, true}};
    int line = 0;
    for (const DetailRow& row : rows) {
        auto* title = new QLabel(QString::fromLatin1(row.caption), fraOther);
        title->setObjectName(QString::fromLatin1(row.name) + "Caption");
        QLabel* value = NamedLabel(row.name, fraOther);
        *row.value = value;
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        other->addWidget(title, line, 0);
        if (row.ownLine) {
            value->setIndent(12);
            other->addWidget(value, ++line, 0, 1, 2);
        } else {
            other->addWidget(value, line, 1);
        }
        ++line;
    }
    other->setColumnStretch(1, 1);
    // Only a precise reading names its calculation; the classic one shows what it always has.
    lblCalculationCaption = fraOther->findChild<QLabel*>("lblCalculationCaption");
    lblCalculationCaption->hide();
    lblCalculation->hide();
    // The ayanamsa, node and year the precise reading names need the lines they take, in a smaller type
    // that leaves the column its room.
    lblCalculation->setWordWrap(true);
    QFont small = lblCalculation->font();
    small.setBold(false);
    small.setPointSizeF(small.pointSizeF() * 0.85);
    lblCalculation->setFont(small);
    right->addWidget(fraOther);

    fraPlanets = new QGroupBox("Vedic Planetary Position", view);
    fraPlanets->setObjectName("fraPlanets");
    auto* planets = new QGridLayout(fraPlanets);
    planets->setContentsMargins(8, 4, 8, 4);
    planets->setHorizontalSpacing(8);
    planets->setVerticalSpacing(kPlanetRowSpacing);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    for (int i = 0; i < 7; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        // "Surya / Sun": the reading's name, then the English one.
        const BodyWords& body = kBodies[slot];
        PlanetName[slot] = new QLabel(Latin1(body.label) + " / " + Latin1(body.english), fraPlanets);
        PlanetName[slot]->setObjectName(QString("PlanetName_%1").arg(i));
        Planet[slot] = NamedLabel("Planet", fraPlanets);
        Planet[slot]->setObjectName(QString("Planet_%1").arg(i));
        // Degrees, sign and minutes line up from row to row.
        Planet[slot]->setFont(fixed);
        planets->addWidget(PlanetName[slot], i, 0);
        planets->addWidget(Planet[slot], i, 1);
    }
    planets->setColumnStretch(1, 1);
    right->addWidget(fraPlanets);
    right->addStretch(1);

    // Above "Get Interpretation": the column is too narrow for the two side by side.
    cmdPeriods[0] = NamedButton(msg::kPeriodsView, "cmdPeriods_0", view);
    right->addWidget(cmdPeriods[0], 0, Qt::AlignRight);
    cmdInterpretation = new QPushButton("Get Interpretation", view);
    cmdInterpretation->setObjectName("cmdInterpretation");
    right->addWidget(cmdInterpretation, 0, Qt::AlignRight);
    return view;
}

QGroupBox* ReadingView::BuildInterpretationView() {
    auto* frame = new QGroupBox("House Lords Interpretation");
    frame->setObjectName("fraInterpretation");
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(8, 8, 8, 8);
    RTB = new QTextEdit(frame);
    RTB->setObjectName("RTB");
    RTB->setReadOnly(true);
    RTB->setAcceptRichText(true);
    // Read-only, yet the text can be selected for printing a part of it.
    RTB->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(RTB, 1);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    cmdPeriods[1] = NamedButton(msg::kPeriodsView, "cmdPeriods_1", frame);
    buttons->addWidget(cmdPeriods[1]);
    cmdChart = new QPushButton("Show Chart", frame);
    cmdChart->setObjectName("cmdChart");
    buttons->addWidget(cmdChart);
    layout->addLayout(buttons);
    return frame;
}

QWidget* ReadingView::BuildPeriodsView() {
    auto* view = new QWidget();
    view->setObjectName("fraPeriods");
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kChartViewSpacing);
    tabPeriods = new QTabWidget(view);
    tabPeriods->setObjectName("tabPeriods");
    // Seven pages: a point smaller, every tab shows across the view without scroll arrows.
    QFont tabFont = tabPeriods->tabBar()->font();
    tabFont.setPointSizeF(tabFont.pointSizeF() - 1);
    tabPeriods->tabBar()->setFont(tabFont);
    layout->addWidget(tabPeriods, 1);

    fraDasha = new QWidget();
    fraDasha->setObjectName("fraDasha");
    auto* dasha = new QVBoxLayout(fraDasha);
    dasha->setContentsMargins(4, 4, 4, 4);
    lblBalance = NamedLabel("lblBalance", fraDasha);
    dasha->addWidget(lblBalance);
    tvwPeriods = new QTreeWidget(fraDasha);
    tvwPeriods->setObjectName("tvwPeriods");
    tvwPeriods->setColumnCount(kPeriodColumns);
    tvwPeriods->setHeaderLabels(
        {msg::kPeriodHeading, msg::kBeginsHeading, msg::kEndsHeading, msg::kAgeHeading, QString()});
    tvwPeriods->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvwPeriods->setUniformRowHeights(true);
    tvwPeriods->header()->setStretchLastSection(true);
    tvwPeriods->header()->setSectionsMovable(false);
    // Wide enough for whatever rows are expanded.
    tvwPeriods->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    dasha->addWidget(tvwPeriods);
    // The third level is made when a sub-period is first opened, so a reading shown costs no more.
    connect(tvwPeriods, &QTreeWidget::itemExpanded, this, &ReadingView::AddPratyantars);
    tabPeriods->addTab(fraDasha, msg::kPeriodsTab);
    tabPeriods->setTabToolTip(tabPeriods->indexOf(fraDasha), msg::kPeriodsTitle);

    // The navamsa as large as the rasi chart, so that a crowded sign shows as readably.
    fraNavamsa = new QWidget();
    fraNavamsa->setObjectName("fraNavamsa");
    auto* navamsa = new QHBoxLayout(fraNavamsa);
    navamsa->setContentsMargins(4, 4, 4, 4);
    const int side = picSouthRasi->width();
    // Names of its own, so that the rasi chart's labels stay the ones found by name.
    picSouthNavamsa = new RasiChart(fraNavamsa, "picSouthNavamsa", "lblNavamsaPosition", "lblNavamsaPlanets");
    picSouthNavamsa->setFixedSize(side, side);
    navamsa->addWidget(picSouthNavamsa, 0, Qt::AlignHCenter | Qt::AlignTop);
    picNorthNavamsa = new NorthIndianChart(fraNavamsa);
    picNorthNavamsa->setObjectName("picNorthNavamsa");
    picNorthNavamsa->setFixedSize(side, side);
    picNorthNavamsa->hide();
    navamsa->addWidget(picNorthNavamsa, 0, Qt::AlignHCenter | Qt::AlignTop);
    tabPeriods->addTab(fraNavamsa, msg::kNavamsaTitle);

    fraPositions = new QWidget();
    fraPositions->setObjectName("fraPositions");
    auto* positions = new QVBoxLayout(fraPositions);
    positions->setContentsMargins(4, 4, 4, 4);
    grdPositions = new QTableWidget(kFilledBodySlots, 8, fraPositions);
    grdPositions->setObjectName("grdPositions");
    grdPositions->setHorizontalHeaderLabels(
        {msg::kBodyHeading, msg::kSignHeading, msg::kDegreesHeading, msg::kMinutesHeading,
         msg::kSecondsHeading, msg::kNakshatraHeading, msg::kQuarterHeading, msg::kRetrogradeHeading});
    grdPositions->verticalHeader()->hide();
    grdPositions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPositions->setSelectionMode(QAbstractItemView::NoSelection);
    grdPositions->setFocusPolicy(Qt::NoFocus);
    grdPositions->setWordWrap(false);
    grdPositions->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The stretched last column keeps at least the width it has when it starts to stretch: the
    // smallest, not the default 100 pixels, which is wider than its heading and would push the
    // table past its page when the other columns are wide.
    grdPositions->horizontalHeader()->setDefaultSectionSize(
        grdPositions->horizontalHeader()->minimumSectionSize());
    grdPositions->horizontalHeader()->setStretchLastSection(true);
    grdPositions->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    positions->addWidget(grdPositions);
    tabPeriods->addTab(fraPositions, msg::kPositionsTitle);

    fraVarga = new VargaPage(side);
    tabPeriods->addTab(fraVarga, msg::kVargaTitle);
    fraAshtakavarga = new AshtakavargaPage();
    tabPeriods->addTab(fraAshtakavarga, msg::kAshtakavargaTitle);
    fraPanchanga = new PanchangaPage();
    tabPeriods->addTab(fraPanchanga, msg::kPanchangaTitle);
    // Smaller than the rasi chart, so that the table of the transiting bodies fits beside it.
    fraTransits = new TransitsPage(side * 6 / 7);
    tabPeriods->addTab(fraTransits, msg::kTransitsTitle);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    cmdPeriodsChart = NamedButton("Show Chart", "cmdPeriodsChart", view);
    cmdPeriodsInterpretation = NamedButton("Get Interpretation", "cmdPeriodsInterpretation", view);
    buttons->addWidget(cmdPeriodsChart);
    buttons->addWidget(cmdPeriodsInterpretation);
    layout->addLayout(buttons);
    return view;
}

void ReadingView::ShowPersonalDetails() {
    const shown::BirthDetails details = shown::BirthDetailTexts(reading_->birth);
    SetDetail(lblName, "Name: " + Text(reading_->birth.name));
    SetDetail(lblDOB, details.date);
    SetDetail(lblTOB, details.time);
    SetDetail(clocksLabel, details.clocks);
    clocksLabel->setVisible(!details.clocks.isEmpty());
    // The chart gives up the room of the clocks' line.
    const int side = chartSide_ - (details.clocks.isEmpty() ? 0 : clocksLabel->sizeHint().height());
    picSouthRasi->setFixedSize(side, side);
    picNorthRasi->setFixedSize(side, side);
    SetDetail(lblLatitude, details.latitude);
    SetDetail(lblLongitude, details.longitude);
    SetDetail(lblCity, details.city);
    SetDetail(lblState, details.state);
    SetDetail(lblCountry, details.country);
}

void ReadingView::ShowReading(std::shared_ptr<const Reading> reading, bool madeAgain) {
    if (!reading)
        return;
    reading_ = std::move(reading);
    const Reading& r = *reading_;
    ShowPersonalDetails();
    SetDetail(lblAyanamsha, Text(AyanamsaText(r)));
    SetDetail(lblLagna, Latin1(LagnaName(r)));
    SetDetail(lblNakshatra, Latin1(MoonNakshatraName(r)));
    SetDetail(lblRashi, Latin1(RashiName(r)));
    SetDetail(lblPada, Text(PadaText(r)));
    // The classic Pada is easily taken for the quarter the Moon stands in, which the Positions page shows.
    if (r.calculation == Calculation::Classic)
        lblPada->setToolTip(msg::kClassicPadaTip);
    SetDetail(lblLord, Latin1(NakshatraLordName(r)));
    const std::string calculation = CalculationCaption(r).empty() ? std::string() : CalculationWords(r);
    // The line's column is narrow; the title and the tooltip carry the full words.
    SetDetail(lblCalculation, Text(calculation.empty() ? calculation : CalculationLineWords(r)));
    lblCalculation->setToolTip(Text(calculation));
    const bool named = !calculation.empty();
    lblCalculationCaption->setVisible(named);
    lblCalculation->setVisible(named);
    static_cast<QGridLayout*>(fraOther->layout())
        ->setVerticalSpacing(named ? kTightRowSpacing : kOtherRowSpacing);
    static_cast<QGridLayout*>(fraPlanets->layout())
        ->setVerticalSpacing(named ? kTightRowSpacing : kPlanetRowSpacing);
    for (std::size_t i = 0; i < Planet.size(); ++i)
        Planet[i]->setText(Text(ShortPositionText(r, static_cast<BodySlot>(i))));

    // The charts in both styles, and the periods and positions view, from the same reading.
    SetChartInBothStyles(*picSouthRasi, *picNorthRasi, std::max(0, r.LagnaSign()),
                         shown::CellTexts(ChartCellEntries(r)));
    SetChartInBothStyles(*picSouthNavamsa, *picNorthNavamsa, NavamsaSign(r.Longitude(BodySlot::Ascendant)),
                         shown::CellTexts(NavamsaCellEntries(r)));
    ShowPositions();
    fraVarga->ShowReading(reading_);
    fraAshtakavarga->ShowReading(reading_);
    fraPanchanga->ShowReading(reading_);
    fraTransits->ShowReading(reading_, madeAgain);
    ShowPeriods(static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 60000);
    BuildHouseLordReading();
    // The other reading is made when the compare view is shown, or at once when it is in front.
    fraCompare->SetReading(reading_);
    if (views->currentWidget() == fraCompare)
        fraCompare->compare();
}

void ReadingView::ShowPositions() {
    const std::vector<PositionRow> rows = PositionRows(*reading_);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PositionRow& row = rows[i];
        const QString cells[] = {
            Latin1(Body(row.body).english), Latin1(kSigns[static_cast<std::size_t>(row.sign)].english),
            QString::number(row.degrees),   QString::number(row.minutes),
            QString::number(row.seconds),   Text(row.nakshatra),
            QString::number(row.pada),      row.retrograde ? msg::kRetrogradeShown : QString()};
        for (int c = 0; c < static_cast<int>(std::size(cells)); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            // Numbers line up on the right, names on the left.
            const bool number = c >= 2 && c <= 4;
            item->setTextAlignment(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
            grdPositions->setItem(static_cast<int>(i), c, item);
        }
    }
}

void ReadingView::ShowPeriods(double nowMinutesUT) {
    tvwPeriods->clear();
    lblBalance->clear();
    if (!reading_)
        return;
    const Birth& birth = reading_->birth;
    const Vimshottari periods = ReadingPeriods(*reading_);
    SetDetail(lblBalance, msg::kBalanceCaption + Latin1(BalanceText(ReadingBalance(*reading_))));
    const int runningMajor = RunningPeriod(periods, nowMinutesUT);
    for (std::size_t i = 0; i < periods.size(); ++i) {
        auto* major = new QTreeWidgetItem(tvwPeriods, PeriodTexts(periods[i].period, birth));
        for (const Period& sub : periods[i].subPeriods) {
            auto* item = new QTreeWidgetItem(major, PeriodTexts(sub, birth));
            item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        }
        if (static_cast<int>(i) != runningMajor)
            continue;
        MarkRunning(major);
        major->setExpanded(true);
        const int runningSub = RunningPeriod(periods[i].subPeriods, nowMinutesUT);
        if (runningSub < 0)
            continue;
        QTreeWidgetItem* sub = major->child(runningSub);
        MarkRunning(sub);
        AddPratyantars(sub);
        sub->setExpanded(true);
        const auto parts = PratyantarPeriods(periods[i].subPeriods[static_cast<std::size_t>(runningSub)]);
        const int runningPart = RunningPeriod(parts, nowMinutesUT);
        if (runningPart >= 0)
            MarkRunning(sub->child(runningPart));
    }
}

void ReadingView::AddPratyantars(QTreeWidgetItem* subPeriod) {
    QTreeWidgetItem* major = subPeriod->parent();
    if (!reading_ || !major || major->parent() || subPeriod->childCount() > 0)
        return;
    const auto i = static_cast<std::size_t>(tvwPeriods->indexOfTopLevelItem(major));
    const auto j = static_cast<std::size_t>(major->indexOfChild(subPeriod));
    const Period sub = ReadingPeriods(*reading_)[i].subPeriods[j];
    for (const Period& part : PratyantarPeriods(sub))
        new QTreeWidgetItem(subPeriod, PeriodTexts(part, reading_->birth));
}

void ReadingView::SetChartStyle(ChartStyle style) {
    chartStyle_ = style;
    ShowChartStyle(*picSouthRasi, *picNorthRasi, style);
    ShowChartStyle(*picSouthNavamsa, *picNorthNavamsa, style);
    fraVarga->SetChartStyle(style);
    fraAshtakavarga->SetChartStyle(style);
    fraTransits->SetChartStyle(style);
}

double ReadingView::TransitMoment() const {
    return fraTransits->Moment();
}

PictureWorkspace ReadingView::CaptureForPicture() {
    Picture1->setPixmap(CaptureFormPicture(*this));
    return {Picture1, txtFile, txtFolder};
}

void ReadingView::BuildHouseLordReading() {
    WriteHouseLordReport(*RTB->document(), *reading_);
    RTB->moveCursor(QTextCursor::Start);
}

void ReadingView::showInterpretation() {
    views->setCurrentWidget(fraInterpretation);
    emit ViewChanged(false);
}

void ReadingView::showChart() {
    views->setCurrentWidget(fraChart);
    emit ViewChanged(true);
}

void ReadingView::showPeriods() {
    views->setCurrentWidget(fraPeriods);
    // Ctrl+Tab then turns the pages.
    tabPeriods->setFocus();
    emit ViewChanged(true);
}

void ReadingView::showCompare() {
    // Made afresh each time: "today" for the running periods is now.
    fraCompare->compare();
    views->setCurrentWidget(fraCompare);
    emit ViewChanged(true);
}
