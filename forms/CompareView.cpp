// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/CompareView.h"

#include "forms/Actions.h"
#include "output/PrintChart.h"
#include "pipeline/CompareReadings.h"
#include "pipeline/ReadingPipeline.h"
#include "reading/ReadingTexts.h"
#include "records/Messages.h"
#include "records/Vocabulary.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>

namespace {

using shown::Latin1;
using shown::Text;

enum CompareColumn { kBodyColumn, kThisColumn, kOtherColumn, kDifferenceColumn, kChangesColumn, kColumns };
// The Sun to Ketu, then the lagna.
constexpr int kBodyRows = kGrahaSlots;
constexpr int kLagnaRow = kBodyRows;
constexpr int kRows = kBodyRows + 1;

// What changes stands out by colour and, for those who cannot tell the colour, by its words.
const QColor kChangedBackground(255, 226, 140);
const QColor kChangedText(0, 0, 0);

constexpr const char* kClassicOnlyTip =
    "The classic calculation keeps its own arithmetic: these choices apply to the precise one.";
constexpr const char* kNothingChanges = "Nothing an astrologer reads differs.";

// Arc-minutes with one decimal; a difference that rounds to nothing has no sign.
QString MinutesText(double arcMinutes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", arcMinutes);
    return QString::fromLatin1(std::string_view(text) == "-0.0" ? "0.0" : text);
}

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setBuddy(buddy);
    return label;
}

QComboBox* Chooser(const char* name, QWidget* parent) {
    auto* chooser = new QComboBox(parent);
    chooser->setObjectName(QString::fromLatin1(name));
    chooser->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return chooser;
}

// The row's marks: what the comparison's changes say of the body ("Mars sign" -> "sign"), and of the
// Moon's nakshatra, its pada and its lord, on the Moon's row.
QStringList RowMarks(const ReadingComparison& comparison, int row) {
    QStringList marks;
    for (const ReadingChange& change : comparison.changes) {
        const QString what = QString::fromStdString(change.what);
        if (row == kLagnaRow) {
            if (what == "Lagna")
                marks << "sign";
            continue;
        }
        const QString name = Latin1(Body(static_cast<BodySlot>(row)).english);
        if (what == name + " sign")
            marks << "sign";
        else if (what == name + " nakshatra")
            marks << "nakshatra";
        else if (row == static_cast<int>(BodySlot::Moon) && (what == "Pada" || what == "Lord"))
            marks << what.toLower();
    }
    return marks;
}

} // namespace

CompareView::CompareView(QWidget* parent)
    : QWidget(parent),
      clock_([] { return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 60000; }) {
    setObjectName("fraCompare");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    auto* choosers = new QGridLayout();
    choosers->setContentsMargins(0, 0, 0, 0);
    choosers->setHorizontalSpacing(8);
    choosers->setVerticalSpacing(4);
    cboCalculation = Chooser("cboCalculation", this);
    for (const Calculation calculation : {Calculation::Classic, Calculation::Precise})
        cboCalculation->addItem(QString::fromLatin1(CalculationName(calculation)),
                                static_cast<int>(calculation));
    cboAyanamsa = Chooser("cboAyanamsa", this);
    cboNode = Chooser("cboNode", this);
    for (const NodeWords& node : kNodes)
        cboNode->addItem(Latin1(node.name), static_cast<int>(node.node));
    cboYear = Chooser("cboYear", this);
    for (const PeriodYearWords& year : kPeriodYears)
        cboYear->addItem(Latin1(year.name), static_cast<int>(year.year));
    choosers->addWidget(Caption("Compare &with", cboCalculation, this), 0, 0);
    choosers->addWidget(cboCalculation, 0, 1);
    choosers->addWidget(Caption("&Ayanamsa", cboAyanamsa, this), 0, 2);
    choosers->addWidget(cboAyanamsa, 0, 3);
    choosers->addWidget(Caption("&Node", cboNode, this), 1, 0);
    choosers->addWidget(cboNode, 1, 1);
    choosers->addWidget(Caption("Period &year", cboYear, this), 1, 2);
    choosers->addWidget(cboYear, 1, 3);
    // The ashtakavarga's places apply to either calculation, so this one is always offered.
    ashtakavargaPlacesList = Chooser("ashtakavargaPlacesList", this);
    for (const AshtakavargaPlacesWords& places : kAshtakavargaPlaces)
        ashtakavargaPlacesList->addItem(Latin1(places.name), static_cast<int>(places.places));
    choosers->addWidget(Caption("Ashtaka&varga places", ashtakavargaPlacesList, this), 2, 0);
    // Its longer names take the row's width rather than one column's.
    choosers->addWidget(ashtakavargaPlacesList, 2, 1, 1, 3, Qt::AlignLeft);
    choosers->setColumnStretch(1, 1);
    choosers->setColumnStretch(3, 1);
    layout->addLayout(choosers);

    grdCompare = new QTableWidget(kRows, kColumns, this);
    grdCompare->setObjectName("grdCompare");
    grdCompare->setHorizontalHeaderLabels({"Body", "This reading", "Other", "Difference (')", "Changes"});
    grdCompare->verticalHeader()->hide();
    grdCompare->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdCompare->setSelectionMode(QAbstractItemView::NoSelection);
    grdCompare->setFocusPolicy(Qt::NoFocus);
    grdCompare->setWordWrap(false);
    grdCompare->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdCompare->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdCompare->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdCompare->horizontalHeader()->setStretchLastSection(true);
    // Every row shows without scrolling: the table is as tall as its rows.
    const int rowHeight = fontMetrics().height() + 6;
    grdCompare->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdCompare->verticalHeader()->setDefaultSectionSize(rowHeight);
    grdCompare->setFixedHeight(grdCompare->horizontalHeader()->sizeHint().height() + kRows * rowHeight +
                               2 * grdCompare->frameWidth());
    for (int row = 0; row < kRows; ++row) {
        const QString name =
            row == kLagnaRow ? QString("Lagna") : Latin1(kBodies[static_cast<std::size_t>(row)].english);
        grdCompare->setItem(row, kBodyColumn, new QTableWidgetItem(name));
    }
    layout->addWidget(grdCompare);

    lstChanges = new QListWidget(this);
    lstChanges->setObjectName("lstChanges");
    lstChanges->setSelectionMode(QAbstractItemView::NoSelection);
    lstChanges->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(lstChanges, 1);

    lblCause = new QLabel(this);
    lblCause->setObjectName("lblCause");
    lblCause->setTextFormat(Qt::PlainText);
    lblCause->setWordWrap(true);
    layout->addWidget(lblCause);

    // In place of the table when the other calculation is refused.
    lblCompareMessage = new QLabel(this);
    lblCompareMessage->setObjectName("lblCompareMessage");
    lblCompareMessage->setTextFormat(Qt::PlainText);
    lblCompareMessage->setWordWrap(true);
    lblCompareMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblCompareMessage->hide();
    layout->addWidget(lblCompareMessage, 1);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    cmdComparePeriods = new QPushButton(QString::fromLatin1(msg::kPeriodsView), this);
    cmdComparePeriods->setObjectName("cmdComparePeriods");
    cmdCompareChart = new QPushButton("Show Chart", this);
    cmdCompareChart->setObjectName("cmdCompareChart");
    cmdCompareInterpretation = new QPushButton("Get Interpretation", this);
    cmdCompareInterpretation->setObjectName("cmdCompareInterpretation");
    for (QPushButton* button : {cmdComparePeriods, cmdCompareChart, cmdCompareInterpretation})
        buttons->addWidget(button);
    layout->addLayout(buttons);

    for (QComboBox* chooser : {cboCalculation, cboAyanamsa, cboNode, cboYear, ashtakavargaPlacesList})
        connect(chooser, &QComboBox::currentIndexChanged, this, [this] {
            if (setting_)
                return;
            FollowCalculation();
            compare();
        });
}

void CompareView::BindViewButtons(QAction* chart, QAction* interpretation, QAction* periods) {
    BindButton(cmdCompareChart, chart);
    BindButton(cmdCompareInterpretation, interpretation);
    BindButton(cmdComparePeriods, periods);
}

void CompareView::SetClock(Clock clock) {
    clock_ = std::move(clock);
}

void CompareView::SetReading(std::shared_ptr<const Reading> reading) {
    reading_ = std::move(reading);
    if (!reading_)
        return;
    const Conventions& own = reading_->conventions;
    user_ = own.ayanamsa == Ayanamsa::User ? own.user : UserAyanamsa{};
    setting_ = true;
    cboAyanamsa->clear();
    for (const AyanamsaWords& words : kNamedAyanamsas)
        cboAyanamsa->addItem(Latin1(words.name), static_cast<int>(words.ayanamsa));
    if (own.ayanamsa == Ayanamsa::User)
        cboAyanamsa->addItem(Text(AyanamsaInWords(own)), static_cast<int>(Ayanamsa::User));
    setting_ = false;
    CalculationChoice other;
    other.calculation =
        reading_->calculation == Calculation::Classic ? Calculation::Precise : Calculation::Classic;
    other.conventions.ashtakavarga = own.ashtakavarga;
    SetChoosers(other);
}

void CompareView::SetChoosers(const CalculationChoice& choice) {
    setting_ = true;
    const auto pick = [](QComboBox* chooser, int value) {
        chooser->setCurrentIndex(chooser->findData(value));
    };
    pick(cboCalculation, static_cast<int>(choice.calculation));
    pick(cboAyanamsa, static_cast<int>(choice.conventions.ayanamsa));
    pick(cboNode, static_cast<int>(choice.conventions.node));
    pick(cboYear, static_cast<int>(choice.conventions.year));
    pick(ashtakavargaPlacesList, static_cast<int>(choice.conventions.ashtakavarga));
    setting_ = false;
    FollowCalculation();
}

void CompareView::FollowCalculation() {
    const bool precise = OtherChoice().calculation == Calculation::Precise;
    for (QComboBox* chooser : {cboAyanamsa, cboNode, cboYear}) {
        chooser->setEnabled(precise);
        chooser->setToolTip(precise ? QString() : QString::fromLatin1(kClassicOnlyTip));
    }
}

CalculationChoice CompareView::OtherChoice() const {
    CalculationChoice choice;
    choice.calculation = static_cast<Calculation>(cboCalculation->currentData().toInt());
    choice.conventions.ashtakavarga =
        static_cast<AshtakavargaPlaces>(ashtakavargaPlacesList->currentData().toInt());
    if (choice.calculation == Calculation::Classic)
        return choice;
    choice.conventions.ayanamsa = static_cast<Ayanamsa>(cboAyanamsa->currentData().toInt());
    if (choice.conventions.ayanamsa == Ayanamsa::User)
        choice.conventions.user = user_;
    choice.conventions.node = static_cast<LunarNode>(cboNode->currentData().toInt());
    choice.conventions.year = static_cast<PeriodYear>(cboYear->currentData().toInt());
    return choice;
}

void CompareView::ShowRefusal(const QString& message) {
    lblCompareMessage->setText(message);
    for (QWidget* part : {static_cast<QWidget*>(grdCompare), static_cast<QWidget*>(lstChanges),
                          static_cast<QWidget*>(lblCause)})
        part->hide();
    lblCompareMessage->show();
}

void CompareView::compare() {
    if (!reading_)
        return;
    const ReadingResult other = ComputeReading(reading_->birth, OtherChoice());
    if (!other.reading) {
        ShowRefusal(Text(other.message));
        return;
    }
    const Reading& a = *reading_;
    const Reading& b = *other.reading;
    const ReadingComparison comparison = CompareReadings(a, b, clock_());
    lblCompareMessage->hide();
    for (QWidget* part : {static_cast<QWidget*>(grdCompare), static_cast<QWidget*>(lstChanges),
                          static_cast<QWidget*>(lblCause)})
        part->show();

    grdCompare->horizontalHeaderItem(kThisColumn)->setToolTip(Text(comparison.aWords));
    grdCompare->horizontalHeaderItem(kOtherColumn)->setToolTip(Text(comparison.bWords));
    for (int row = 0; row < kRows; ++row) {
        QString positionA, positionB;
        double arcMinutes = 0;
        if (row == kLagnaRow) {
            positionA = Text(ShortPositionText(a, BodySlot::Ascendant));
            positionB = Text(ShortPositionText(b, BodySlot::Ascendant));
            arcMinutes = 60 * std::remainder(
                                  b.Longitude(BodySlot::Ascendant) - a.Longitude(BodySlot::Ascendant), 360.0);
        } else {
            const BodyApart& body = comparison.bodies[static_cast<std::size_t>(row)];
            positionA = Text(body.a);
            positionB = Text(body.b);
            arcMinutes = body.arcMinutes;
        }
        const QString marks = RowMarks(comparison, row).join(", ");
        const QString cells[] = {positionA, positionB, MinutesText(arcMinutes), marks};
        for (int column = kThisColumn; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem(cells[column - kThisColumn]);
            item->setTextAlignment(Qt::AlignVCenter |
                                   (column == kDifferenceColumn ? Qt::AlignRight : Qt::AlignLeft));
            grdCompare->setItem(row, column, item);
        }
        for (int column = 0; column < kColumns; ++column) {
            QTableWidgetItem* item = grdCompare->item(row, column);
            item->setData(Qt::BackgroundRole, marks.isEmpty() ? QVariant() : QVariant(kChangedBackground));
            item->setData(Qt::ForegroundRole, marks.isEmpty() ? QVariant() : QVariant(kChangedText));
        }
    }

    lstChanges->clear();
    for (const ReadingChange& change : comparison.changes) {
        auto* item =
            new QListWidgetItem(Text(change.what + ": " + change.a + " \u2192 " + change.b), lstChanges);
        item->setBackground(kChangedBackground);
        item->setForeground(kChangedText);
    }
    if (comparison.changes.empty())
        lstChanges->addItem(QString::fromLatin1(kNothingChanges));
    lblCause->setText(Text(comparison.cause));
}
