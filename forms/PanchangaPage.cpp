// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/PanchangaPage.h"

#include "output/PrintChart.h"
#include "pipeline/Panchanga.h"
#include "records/Messages.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

PanchangaPage::PanchangaPage(QWidget* parent) : QWidget(parent) {
    setObjectName("fraPanchanga");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(16);
    grid->setColumnStretch(1, 1);
    const std::array<PanchangaItem, 7> items = PanchangaItems(Panchanga{});
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QString name = "lblPanchanga" + shown::Latin1(items[i].label);
        captions_[i] = new QLabel(shown::Latin1(items[i].label), this);
        captions_[i]->setObjectName(name + "Caption");
        QFont bold = captions_[i]->font();
        bold.setBold(true);
        captions_[i]->setFont(bold);
        values_[i] = new QLabel(this);
        values_[i]->setObjectName(name);
        values_[i]->setTextFormat(Qt::PlainText);
        values_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        captions_[i]->setBuddy(values_[i]);
        grid->addWidget(captions_[i], static_cast<int>(i), 0);
        grid->addWidget(values_[i], static_cast<int>(i), 1);
    }
    layout->addLayout(grid);
    auto* note = new QLabel(msg::kPanchangaNote, this);
    note->setObjectName("lblPanchangaNote");
    note->setWordWrap(true);
    layout->addSpacing(8);
    layout->addWidget(note);
    layout->addStretch(1);
}

void PanchangaPage::ShowReading(std::shared_ptr<const Reading> reading) {
    reading_ = std::move(reading);
    filled_ = false;
    if (isVisible())
        Fill();
}

void PanchangaPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!filled_)
        Fill();
}

void PanchangaPage::Fill() {
    if (!reading_)
        return;
    const std::array<PanchangaItem, 7> items = PanchangaItems(ComputePanchanga(*reading_));
    for (std::size_t i = 0; i < items.size(); ++i)
        values_[i]->setText(shown::Text(items[i].text));
    filled_ = true;
}
