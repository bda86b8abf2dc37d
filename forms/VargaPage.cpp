// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/VargaPage.h"

#include "forms/NorthIndianChart.h"
#include "forms/RasiChart.h"
#include "output/PrintChart.h"
#include "pipeline/Vargas.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// "Each sign in 9 parts of 3° 20'"; the thirtieths are the one unequal division.
QString PartsText(int division) {
    if (division == 1)
        return QStringLiteral("The signs as they stand");
    if (division == 30)
        return QStringLiteral("Each sign in 5 unequal parts, ruled by Mars, Saturn, Jupiter, Mercury "
                              "and Venus");
    const int seconds = 30 * 3600 / division;
    QString size = QString::number(seconds / 3600) + QChar(0xB0);
    if (seconds % 3600 != 0)
        size += QStringLiteral(" %1'").arg(seconds % 3600 / 60);
    if (seconds % 60 != 0)
        size += QStringLiteral(" %1\"").arg(seconds % 60);
    return QStringLiteral("Each sign in %1 parts of %2").arg(division).arg(size);
}

} // namespace

VargaPage::VargaPage(int side, QWidget* parent) : QWidget(parent) {
    setObjectName("fraVarga");
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    auto* layout = new QHBoxLayout();
    layout->setContentsMargins(0, 0, 0, 0);
    page->addLayout(layout);

    // The chooser and the words beside the chart: the page has the width to spare, not the height.
    auto* column = new QVBoxLayout();
    auto* caption = new QLabel(QStringLiteral("&Chart:"), this);
    cboVarga = new QComboBox(this);
    cboVarga->setObjectName("cboVarga");
    caption->setBuddy(cboVarga);
    for (int division : kVargaDivisions) {
        const VargaWords words = VargaWordsOf(division);
        cboVarga->addItem(QStringLiteral("D%1 %2").arg(division).arg(QString::fromLatin1(words.name)),
                          division);
    }
    lblVargaParts = new QLabel(this);
    lblVargaParts->setObjectName("lblVargaParts");
    lblVargaUse = new QLabel(this);
    lblVargaUse->setObjectName("lblVargaUse");
    for (QLabel* label : {lblVargaParts, lblVargaUse}) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
    }
    column->addWidget(caption);
    column->addWidget(cboVarga);
    column->addSpacing(8);
    column->addWidget(lblVargaParts);
    column->addWidget(lblVargaUse);
    column->addStretch(1);
    layout->addLayout(column, 1);

    // Names of their own, so that the rasi chart's labels stay the ones found by name.
    picSouthVarga = new RasiChart(this, "picSouthVarga", "lblVargaPosition", "lblVargaPlanets");
    picSouthVarga->setFixedSize(side, side);
    layout->addWidget(picSouthVarga, 0, Qt::AlignTop);
    picNorthVarga = new NorthIndianChart(this);
    picNorthVarga->setObjectName("picNorthVarga");
    picNorthVarga->setFixedSize(side, side);
    picNorthVarga->hide();
    layout->addWidget(picNorthVarga, 0, Qt::AlignTop);
    // One line under the chart, ending where it ends: the chart is narrower than the line, the page not.
    classicAccuracyLabel = new QLabel(this);
    classicAccuracyLabel->setObjectName("classicAccuracyLabel");
    classicAccuracyLabel->setTextFormat(Qt::PlainText);
    classicAccuracyLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    // The page's width is the charts' and the words'; the line fits in it and never widens it.
    classicAccuracyLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    page->addWidget(classicAccuracyLabel);
    page->addStretch(1);

    // D9 first: the chart most read after the rasi.
    cboVarga->setCurrentIndex(cboVarga->findData(9));
    connect(cboVarga, &QComboBox::currentIndexChanged, this, [this] {
        drawn_ = false;
        Draw();
    });
}

int VargaPage::Division() const {
    return cboVarga->currentData().toInt();
}

void VargaPage::ShowReading(std::shared_ptr<const Reading> reading) {
    reading_ = std::move(reading);
    drawn_ = false;
    if (isVisible())
        Draw();
}

void VargaPage::SetChartStyle(ChartStyle style) {
    ShowChartStyle(*picSouthVarga, *picNorthVarga, style);
}

void VargaPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Draw();
}

void VargaPage::Draw() {
    const int division = Division();
    const VargaWords words = VargaWordsOf(division);
    lblVargaParts->setText(PartsText(division));
    lblVargaUse->setText(QStringLiteral("Read for %1.").arg(QString::fromLatin1(words.readFor)));
    // The classic positions are near enough for the rasi chart, not for the finer divisions.
    const bool classic = reading_ && reading_->calculation == Calculation::Classic;
    classicAccuracyLabel->setText(
        QStringLiteral("Classic positions: D%1 signs differ from the precise calculation's for %2")
            .arg(division)
            .arg(QString::fromLatin1(words.classicDiffers)));
    classicAccuracyLabel->setVisible(classic && !words.classicDiffers.empty());
    if (drawn_ || !reading_)
        return;
    SetChartInBothStyles(*picSouthVarga, *picNorthVarga,
                         std::max(0, VargaSign(division, reading_->Longitude(BodySlot::Ascendant))),
                         shown::CellTexts(VargaCellEntries(*reading_, division)));
    drawn_ = true;
}
