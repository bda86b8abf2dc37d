// SPDX-License-Identifier: AGPL-3.0-or-later
// The divisional charts page: a chooser of the sixteen charts (D1 the rasi chart ... D60) and the chart
// chosen, drawn in the chart style of the other charts, with what the chart is read for.
#pragma once

#include "output/ChartDrawing.h"
#include "records/Reading.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class NorthIndianChart;
class RasiChart;

class VargaPage : public QWidget {
    Q_OBJECT
  public:
    // `side`: the charts' size, that of the rasi chart.
    explicit VargaPage(int side, QWidget* parent = nullptr);

    // Keeps the reading; the chart is drawn when the page is next shown.
    void ShowReading(std::shared_ptr<const Reading> reading);
    void SetChartStyle(ChartStyle style);
    // The division chosen (1, 2, 3, ... 60).
    int Division() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Draw();

    QComboBox* cboVarga;
    QLabel* lblVargaParts;
    QLabel* lblVargaUse;
    // Under the chart of a classic reading: how often its signs are not the precise calculation's.
    QLabel* classicAccuracyLabel;
    RasiChart* picSouthVarga;
    NorthIndianChart* picNorthVarga;
    std::shared_ptr<const Reading> reading_;
    // Drawn for the reading and division shown; redrawn only when either changes.
    bool drawn_ = false;
};
