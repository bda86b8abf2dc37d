// SPDX-License-Identifier: AGPL-3.0-or-later
// The periods view's Ashtakavarga page: the bindus of the Sun to Saturn and their total (the
// sarvashtakavarga) by sign, the places they were counted by, and the total drawn in a chart of the
// chosen style, each sign's cell with its number of bindus.
#pragma once

#include "output/ChartDrawing.h"
#include "records/Reading.h"

#include <QWidget>

#include <memory>

class NorthIndianChart;
class QLabel;
class QTableWidget;
class RasiChart;

class AshtakavargaPage : public QWidget {
    Q_OBJECT
  public:
    explicit AshtakavargaPage(QWidget* parent = nullptr);

    // Remembers the reading; the page is worked out when it is shown, at once when it is in view.
    void ShowReading(std::shared_ptr<const Reading> reading);
    // Draws the total in the style; South-Indian until told otherwise.
    void SetChartStyle(ChartStyle style);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Fill();

    // Each has its member's name as its object name.
    QTableWidget* grdAshtakavarga;
    QLabel* ashtakavargaPlacesLabel;
    QWidget* fraAshtakavargaChart;
    RasiChart* picSouthAshtakavarga;
    NorthIndianChart* picNorthAshtakavarga;

    std::shared_ptr<const Reading> reading_;
    // The reading remembered is the one on the page.
    bool filled_ = true;
};
