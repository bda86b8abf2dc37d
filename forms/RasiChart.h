// SPDX-License-Identifier: AGPL-3.0-or-later
// The South-Indian rasi chart: twelve sign cells around a four-by-four grid whose inner four squares
// stay empty, each cell with its sign number and its entries.
#pragma once

#include "output/ChartDrawing.h"

#include <QFont>
#include <QList>
#include <QRect>
#include <QWidget>

#include <array>

class NorthIndianChart;
class QLabel;

class RasiChart : public QWidget {
    Q_OBJECT
  public:
    // The labels of the sign numbers and of the entries are named `numbersName`_j and `entriesName`_j
    // (j 0 Aries .. 11 Pisces).
    explicit RasiChart(QWidget* parent = nullptr, const QString& name = "picSouthRasi",
                       const QString& numbersName = "lblSouthPosition",
                       const QString& entriesName = "lblPlanets");

    // Grid row and column (0..3) of the cell of sign j (0 Aries .. 11 Pisces): the signs run
    // clockwise from the second cell of the top row.
    static QPoint GridPosition(int sign);
    // The cell of sign j in widget coordinates, its border lines included.
    QRect CellRect(int sign) const;
    // The part of the cell that text may use: inside its lines and clear of the chart's double frame.
    QRect CellInterior(int sign) const;

    // Entries of the cell of sign j; the entries label keeps them one per line.
    void SetCellEntries(int sign, const QStringList& entries);
    // Where each entry of the cell is drawn, in widget coordinates, in entry order.
    QList<QRect> EntryRects(int sign) const;
    // Where the cell's sign number is drawn, in widget coordinates.
    QRect SignNumberRect(int sign) const;

    // How the entries of one cell are set: the font and each entry's rectangle, relative to the
    // area given. `fits` is false when even the smallest, narrowest type would not fit.
    struct CellLayout {
        QFont font;
        QList<QRect> rects;
        bool fits = false;
    };
    // The largest, widest type and the fewest columns that keep every entry inside `area` and off
    // `keepClear`; never below the readable size.
    static CellLayout LayOutEntries(const QStringList& entries, const QFont& base, const QRect& area,
                                    const QRect& keepClear);

    static constexpr double kEntryPointSize = 9.0;
    static constexpr double kSmallestPointSize = 8.0;

    QSize sizeHint() const override { return {392, 392}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlaceLabels();
    void FitCell(int sign);

    std::array<QLabel*, 12> signNumbers_;
    std::array<QLabel*, 12> cellEntries_;
};

// A chart kept in both styles, the chosen one shown: the entries of each sign (0 Aries .. 11 Pisces)
// in both, and the lagna's sign for the North-Indian one.
void SetChartInBothStyles(RasiChart& south, NorthIndianChart& north, int lagnaSign,
                          const std::array<QStringList, 12>& entries);
void ShowChartStyle(RasiChart& south, NorthIndianChart& north, ChartStyle style);
