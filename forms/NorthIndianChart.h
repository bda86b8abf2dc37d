// SPDX-License-Identifier: AGPL-3.0-or-later
// The North-Indian chart: the square with both diagonals and the inner diamond, house 1 the top
// middle diamond and the others counter-clockwise, each house with its sign's number and its entries.
// The lagna's sign decides which sign stands in which house.
#pragma once

#include "output/ChartDrawing.h"

#include <QWidget>

#include <array>
#include <optional>

class NorthIndianChart : public QWidget {
    Q_OBJECT
  public:
    explicit NorthIndianChart(QWidget* parent = nullptr);

    // The entries of each sign (0 Aries .. 11 Pisces) and the lagna's sign.
    void SetChart(int lagnaSign, const std::array<QStringList, 12>& entriesBySign);
    int LagnaSign() const { return lagnaSign_; }

    // House `house` (1..12) as drawn at the present size, in widget coordinates: its region, its
    // sign number and its entries with where each is drawn.
    const RegionText& House(int house) const;

    QSize sizeHint() const override { return {392, 392}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Laid out when first needed after a change: a chart that is not shown costs nothing.
    const ChartPicture& Picture() const;

    int lagnaSign_ = 0;
    std::array<QStringList, 12> entries_;
    mutable std::optional<ChartPicture> picture_;
};
