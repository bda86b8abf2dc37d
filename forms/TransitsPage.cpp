// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/TransitsPage.h"

#include "forms/NorthIndianChart.h"
#include "forms/RasiChart.h"
#include "output/PrintChart.h"
#include "pipeline/Periods.h"
#include "pipeline/ReadingPipeline.h"
#include "pipeline/Transits.h"
#include "records/Messages.h"

#include <QDateTime>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using shown::Text;

// How long typing or stepping in the field must pause before the transits follow it.
constexpr int kSettleMilliseconds = 400;

enum TransitColumn { kBodyColumn, kPositionColumn, kLagnaColumn, kMoonColumn, kTransitColumns };

// The birth zone's clock at a moment, held as a UTC date and time so that no zone of this computer
// moves or refuses it.
QDateTime LocalClock(double minutesUT, const Birth& birth) {
    const double local = std::floor(minutesUT) - static_cast<double>(ZoneMinutes(birth));
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(local) * 60000, Qt::UTC);
}

double SystemNow() {
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 60000;
}

} // namespace

TransitsPage::TransitsPage(int chartSide, QWidget* parent) : QWidget(parent), clock_(SystemNow) {
    setObjectName("fraTransits");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* moment = new QHBoxLayout();
    dteTransit = new QDateTimeEdit(this);
    dteTransit->setObjectName("dteTransit");
    dteTransit->setTimeSpec(Qt::UTC);
    dteTransit->setDisplayFormat("yyyy-MM-dd HH:mm");
    dteTransit->setCalendarPopup(true);
    auto* caption = new QLabel(msg::kTransitMomentCaption, this);
    caption->setObjectName("lblTransitMoment");
    caption->setBuddy(dteTransit);
    lblTransitZone = new QLabel(this);
    lblTransitZone->setObjectName("lblTransitZone");
    lblTransitZone->setTextFormat(Qt::PlainText);
    lblTransitZone->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    moment->addWidget(caption);
    moment->addWidget(dteTransit);
    moment->addWidget(lblTransitZone, 1);
    layout->addLayout(moment);

    auto* body = new QHBoxLayout();
    auto* charts = new QVBoxLayout();
    picSouthTransits = new RasiChart(this, "picSouthTransits", "lblTransitsPosition", "lblTransitsPlanets");
    picSouthTransits->setFixedSize(chartSide, chartSide);
    charts->addWidget(picSouthTransits);
    picNorthTransits = new NorthIndianChart(this);
    picNorthTransits->setObjectName("picNorthTransits");
    picNorthTransits->setFixedSize(chartSide, chartSide);
    picNorthTransits->hide();
    charts->addWidget(picNorthTransits);
    auto* key = new QLabel(msg::kTransitKey, this);
    key->setObjectName("lblTransitKey");
    key->setWordWrap(true);
    key->setMaximumWidth(chartSide);
    charts->addWidget(key);
    charts->addStretch(1);
    body->addLayout(charts);

    grdTransits = new QTableWidget(kGrahaSlots, kTransitColumns, this);
    grdTransits->setObjectName("grdTransits");
    grdTransits->setHorizontalHeaderLabels(
        {msg::kBodyHeading, msg::kPositionHeading, msg::kHouseFromLagnaHeading, msg::kHouseFromMoonHeading});
    grdTransits->horizontalHeaderItem(kLagnaColumn)->setToolTip(msg::kHouseFromLagnaTip);
    grdTransits->horizontalHeaderItem(kMoonColumn)->setToolTip(msg::kHouseFromMoonTip);
    grdTransits->verticalHeader()->hide();
    grdTransits->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdTransits->setSelectionMode(QAbstractItemView::NoSelection);
    grdTransits->setFocusPolicy(Qt::NoFocus);
    grdTransits->setWordWrap(false);
    grdTransits->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdTransits->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    body->addWidget(grdTransits, 1);
    layout->addLayout(body, 1);

    lblSadeSati = new QLabel(this);
    lblSadeSati->setObjectName("lblSadeSati");
    lblSadeSati->setTextFormat(Qt::PlainText);
    lblSadeSati->setWordWrap(true);
    layout->addWidget(lblSadeSati);

    tmrTransit = new QTimer(this);
    tmrTransit->setObjectName("tmrTransit");
    tmrTransit->setSingleShot(true);
    tmrTransit->setInterval(kSettleMilliseconds);
    connect(tmrTransit, &QTimer::timeout, this, &TransitsPage::recompute);
    connect(dteTransit, &QDateTimeEdit::dateTimeChanged, tmrTransit, qOverload<>(&QTimer::start));
    connect(dteTransit, &QDateTimeEdit::editingFinished, this, &TransitsPage::recompute);
}

void TransitsPage::SetClock(Clock clock) {
    clock_ = std::move(clock);
}

void TransitsPage::SetChartStyle(ChartStyle style) {
    ShowChartStyle(*picSouthTransits, *picNorthTransits, style);
}

double TransitsPage::Moment() const {
    if (!reading_)
        return 0.0;
    return static_cast<double>(dteTransit->dateTime().toMSecsSinceEpoch() / 60000) +
           static_cast<double>(ZoneMinutes(reading_->birth));
}

void TransitsPage::ShowReading(std::shared_ptr<const Reading> reading, bool keepMoment) {
    if (!reading)
        return;
    // The moment the person set, in universal time, so that the new reading's zone reads it alike.
    const double moment = keepMoment && reading_ ? Moment() : clock_();
    reading_ = std::move(reading);
    shownMoment_.reset();
    const Birth& birth = reading_->birth;
    lblTransitZone->setText(shown::TransitZoneText(birth));
    {
        // Setting the range and the moment is not an edit to follow.
        const QSignalBlocker blocker(dteTransit);
        dteTransit->setDateTimeRange(LocalClock(kFirstTransitMinute, birth),
                                     LocalClock(kLastTransitMinute, birth));
        dteTransit->setDateTime(
            LocalClock(std::clamp(moment, kFirstTransitMinute, kLastTransitMinute), birth));
    }
    tmrTransit->stop();
    if (isVisible())
        Fill();
}

void TransitsPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (reading_ && !shownMoment_)
        Fill();
}

void TransitsPage::recompute() {
    tmrTransit->stop();
    if (reading_ && isVisible() && shownMoment_ != Moment())
        Fill();
}

void TransitsPage::ShowRefusal(const QString& message) {
    grdTransits->clearContents();
    lblSadeSati->setText(message);
}

void TransitsPage::Fill() {
    const Reading& birth = *reading_;
    const double moment = Moment();
    shownMoment_ = moment;

    // The birth's chart with the transiting bodies added, marked.
    std::array<std::vector<std::string>, 12> cells = ChartCellEntries(birth);
    const ReadingResult transit = TransitReading(birth, moment);
    if (transit.reading) {
        const std::array<std::vector<std::string>, 12> moving = TransitCellEntries(*transit.reading);
        for (std::size_t sign = 0; sign < cells.size(); ++sign)
            for (const std::string& entry : moving[sign])
                cells[sign].push_back("T " + entry);
    }
    SetChartInBothStyles(*picSouthTransits, *picNorthTransits, std::max(0, birth.LagnaSign()),
                         shown::CellTexts(cells));
    if (!transit.reading) {
        ShowRefusal(Text(transit.message));
        return;
    }

    const std::vector<QStringList> rows = shown::TransitRows(birth, *transit.reading);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < kTransitColumns; ++c) {
            auto* item = new QTableWidgetItem(rows[r].value(c));
            item->setTextAlignment(Qt::AlignVCenter |
                                   (c >= kPositionColumn ? Qt::AlignRight : Qt::AlignLeft));
            grdTransits->setItem(static_cast<int>(r), c, item);
        }
    }
    lblSadeSati->setText(shown::SadeSatiText(birth, SadeSatiAt(birth, moment)));
}
