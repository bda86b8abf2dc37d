// The South-Indian rasi chart: twelve sign cells around a four-by-four grid whose inner four squares
// stay empty, each cell with its sign number and its entries one per line.
#pragma once

#include <QWidget>

#include <array>

class QLabel;

class RasiChart : public QWidget {
    Q_OBJECT
  public:
    explicit RasiChart(QWidget* parent = nullptr);

    // Grid row and column (0..3) of the cell of sign j (0 Aries .. 11 Pisces): the signs run
    // clockwise from the second cell of the top row.
    static QPoint GridPosition(int sign);
    // The cell of sign j in widget coordinates.
    QRect CellRect(int sign) const;

    // Entries of the cell of sign j, one per line; empty for an empty cell.
    void SetCellEntries(int sign, const QStringList& entries);

    std::array<QLabel*, 12> signNumbers;
    std::array<QLabel*, 12> cellEntries;

    QSize sizeHint() const override { return {376, 376}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PlaceLabels();
    void FitCell(int sign);
};
