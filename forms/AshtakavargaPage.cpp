// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/AshtakavargaPage.h"

#include "forms/NorthIndianChart.h"
#include "forms/RasiChart.h"
#include "output/PrintChart.h"
#include "pipeline/Ashtakavarga.h"
#include "records/Messages.h"
#include "records/Vocabulary.h"

#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using shown::Latin1;

constexpr int kRows = 8; // the seven planets and the total

// Keeps its charts square and centred in whatever room the page leaves below the table.
class SquareFrame : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        const int side = std::min(width(), height());
        const QRect square((width() - side) / 2, 0, side, side);
        for (QWidget* chart : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            chart->setGeometry(square);
    }
};

} // namespace

AshtakavargaPage::AshtakavargaPage(QWidget* parent) : QWidget(parent) {
    setObjectName("fraAshtakavarga");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);

    grdAshtakavarga = new QTableWidget(kRows, 12, this);
    grdAshtakavarga->setObjectName("grdAshtakavarga");
    QStringList signs;
    for (const SignWords& sign : kSigns)
        signs << Latin1(sign.code);
    grdAshtakavarga->setHorizontalHeaderLabels(signs);
    for (int j = 0; j < 12; ++j)
        grdAshtakavarga->horizontalHeaderItem(j)->setToolTip(
            Latin1(kSigns[static_cast<std::size_t>(j)].english));
    QStringList rows;
    for (BodySlot planet : kAshtakavargaPlanets)
        rows << Latin1(Body(planet).english);
    rows << msg::kTotalHeading;
    grdAshtakavarga->setVerticalHeaderLabels(rows);
    grdAshtakavarga->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdAshtakavarga->setSelectionMode(QAbstractItemView::NoSelection);
    grdAshtakavarga->setFocusPolicy(Qt::NoFocus);
    grdAshtakavarga->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdAshtakavarga->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdAshtakavarga->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdAshtakavarga->horizontalHeader()->setSectionsClickable(false);
    grdAshtakavarga->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows no taller than a line of numbers needs: the chart below has the more room.
    grdAshtakavarga->verticalHeader()->setDefaultSectionSize(grdAshtakavarga->fontMetrics().height() + 6);
    grdAshtakavarga->verticalHeader()->setSectionsClickable(false);
    // As tall as its rows, so that the chart has the rest.
    const int height = grdAshtakavarga->horizontalHeader()->sizeHint().height() +
                       kRows * grdAshtakavarga->verticalHeader()->defaultSectionSize() +
                       2 * grdAshtakavarga->frameWidth();
    grdAshtakavarga->setFixedHeight(height);
    layout->addWidget(grdAshtakavarga);

    // Whose places gave the bindus, since programs differ on four of them.
    ashtakavargaPlacesLabel = new QLabel(this);
    ashtakavargaPlacesLabel->setObjectName("ashtakavargaPlacesLabel");
    ashtakavargaPlacesLabel->setTextFormat(Qt::PlainText);
    ashtakavargaPlacesLabel->setToolTip(
        "Programs differ on four places of the Moon's and Venus's rows; the totals are the same. "
        "Choose the places under Calculation, Conventions.");
    layout->addWidget(ashtakavargaPlacesLabel);

    fraAshtakavargaChart = new SquareFrame(this);
    fraAshtakavargaChart->setObjectName("fraAshtakavargaChart");
    // Names of its own, so that the rasi chart's labels stay the ones found by name.
    picSouthAshtakavarga = new RasiChart(fraAshtakavargaChart, "picSouthAshtakavarga",
                                         "lblAshtakavargaPosition", "lblAshtakavargaBindus");
    picNorthAshtakavarga = new NorthIndianChart(fraAshtakavargaChart);
    picNorthAshtakavarga->setObjectName("picNorthAshtakavarga");
    picNorthAshtakavarga->hide();
    layout->addWidget(fraAshtakavargaChart, 1);
}

void AshtakavargaPage::ShowReading(std::shared_ptr<const Reading> reading) {
    if (!reading)
        return;
    reading_ = std::move(reading);
    filled_ = false;
    if (isVisible())
        Fill();
}

void AshtakavargaPage::SetChartStyle(ChartStyle style) {
    ShowChartStyle(*picSouthAshtakavarga, *picNorthAshtakavarga, style);
}

void AshtakavargaPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!filled_)
        Fill();
}

void AshtakavargaPage::Fill() {
    filled_ = true;
    const Ashtakavarga a = ComputeAshtakavarga(*reading_);
    ashtakavargaPlacesLabel->setText(QString::fromLatin1(msg::kAshtakavargaPlacesCaption) +
                                     Latin1(PlacesWords(reading_->conventions.ashtakavarga).name));
    const auto set = [this](int row, const std::array<int, 12>& bindus) {
        for (int j = 0; j < 12; ++j) {
            auto* item = new QTableWidgetItem(QString::number(bindus[static_cast<std::size_t>(j)]));
            item->setTextAlignment(Qt::AlignCenter);
            if (row == kRows - 1) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            grdAshtakavarga->setItem(row, j, item);
        }
    };
    for (std::size_t row = 0; row < a.bhinna.size(); ++row)
        set(static_cast<int>(row), a.bhinna[row]);
    set(kRows - 1, a.total);

    std::array<QStringList, 12> cells;
    for (std::size_t j = 0; j < 12; ++j)
        cells[j] = QStringList{QString::number(a.total[j])};
    SetChartInBothStyles(*picSouthAshtakavarga, *picNorthAshtakavarga, std::max(0, reading_->LagnaSign()),
                         cells);
}
