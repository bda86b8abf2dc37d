// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/NorthIndianChart.h"

#include <QPainter>

#include <algorithm>

NorthIndianChart::NorthIndianChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void NorthIndianChart::SetChart(int lagnaSign, const std::array<QStringList, 12>& entriesBySign) {
    lagnaSign_ = lagnaSign;
    entries_ = entriesBySign;
    picture_.reset();
    update();
}

const RegionText& NorthIndianChart::House(int house) const {
    return Picture().regions[static_cast<std::size_t>(std::clamp(house, 1, 12) - 1)];
}

const ChartPicture& NorthIndianChart::Picture() const {
    if (!picture_) {
        // Half a pixel in, so that the lines fall on whole pixels.
        const double side = std::min(width(), height()) - 1;
        picture_ = LayOutChart(ChartStyle::NorthIndian, QRectF(0.5, 0.5, side, side), lagnaSign_, entries_,
                               font(), this, 1.0);
    }
    return *picture_;
}

void NorthIndianChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    picture_.reset();
}

void NorthIndianChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    DrawChart(p, Picture(), 1.0);
}
