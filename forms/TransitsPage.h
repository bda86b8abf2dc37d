// SPDX-License-Identifier: AGPL-3.0-or-later
// The Transits page of the periods view: the bodies at a chosen moment (now unless changed), given in
// the birth's zone, drawn over the birth chart, each with its house from the birth's lagna and Moon,
// and the sade sati that holds the moment.
#pragma once

#include "output/ChartDrawing.h"
#include "records/Reading.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QDateTimeEdit;
class QLabel;
class QTableWidget;
class QTimer;
class NorthIndianChart;
class RasiChart;

class TransitsPage : public QWidget {
    Q_OBJECT
  public:
    // Minutes from 1970-01-01 00:00 UT: the moment shown when a reading comes.
    using Clock = std::function<double()>;

    // The chart is drawn `chartSide` pixels square, as the rasi chart.
    explicit TransitsPage(int chartSide, QWidget* parent = nullptr);

    // Remembers the reading and sets the moment to now, or keeps the moment in the field when the
    // reading is the one shown made again (other conventions); the page is filled when it is shown.
    void ShowReading(std::shared_ptr<const Reading> reading, bool keepMoment = false);
    void SetChartStyle(ChartStyle style);
    // The clock of "now"; the system's until told otherwise.
    void SetClock(Clock clock);
    // The moment the field names, minutes from 1970 in universal time.
    double Moment() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private slots:
    // Computes and shows the transits of the moment in the field, unless they are shown already.
    void recompute();

  private:
    void Fill();
    void ShowRefusal(const QString& message);

    // Each has its member's name as its object name.
    QDateTimeEdit* dteTransit;
    QLabel* lblTransitZone;
    RasiChart* picSouthTransits;
    NorthIndianChart* picNorthTransits;
    QTableWidget* grdTransits;
    QLabel* lblSadeSati;
    // Changes of the field made by typing or stepping are taken once they pause.
    QTimer* tmrTransit;

    std::shared_ptr<const Reading> reading_;
    Clock clock_;
    // The moment whose transits are shown; none before the first or after a new reading.
    std::optional<double> shownMoment_;
};
