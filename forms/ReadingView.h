// SPDX-License-Identifier: AGPL-3.0-or-later
// The display form: one reading in four views, the chart view (personal details, rasi chart, planet
// table, other Vedic details), the interpretation view (the house-lords report), the periods and
// positions view (the Vimshottari periods, the navamsa chart, every position, the divisional charts,
// the ashtakavarga and the panchanga) and the compare view (the reading beside another calculation of
// the same birth).
#pragma once

#include "output/ChartDrawing.h"
#include "output/PictureExport.h"
#include "records/Reading.h"

#include <QWidget>

#include <array>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QTabWidget;
class QTextEdit;
class QTreeWidget;
class AshtakavargaPage;
class QTreeWidgetItem;
class CompareView;
class NorthIndianChart;
class PanchangaPage;
class RasiChart;
class VargaPage;
class TransitsPage;

class ReadingView : public QWidget {
    Q_OBJECT
  public:
    explicit ReadingView(QWidget* parent = nullptr);

    // Shows a reading in every view: the personal details, the values, the planet table, the charts,
    // the periods and positions, and the house-lords report. `madeAgain`: the reading shown, made again
    // with other conventions, so the moment the person set on the Transits page stays.
    void ShowReading(std::shared_ptr<const Reading> reading, bool madeAgain = false);
    // The reading shown; null before the first.
    const std::shared_ptr<const Reading>& ShownReading() const { return reading_; }
    // Draws the rasi and navamsa charts in the style; South-Indian until told otherwise.
    void SetChartStyle(ChartStyle style);
    ChartStyle CurrentChartStyle() const { return chartStyle_; }
    // Writes the periods of the reading shown, marking those running at the moment (minutes from
    // 1970-01-01 00:00 UT).
    void ShowPeriods(double nowMinutesUT);

    // The moment of the Transits page, minutes from 1970 in universal time (now until changed).
    double TransitMoment() const;

    // The periods view's command, which the main window's View menu offers too.
    QAction* PeriodsCommand() const { return actPeriods; }
    // The interpretation's text box, which the main window prints.
    const QTextEdit& Report() const { return *RTB; }
    // Captures the view as it shows now into the hidden working space of the picture export.
    PictureWorkspace CaptureForPicture();

  public slots:
    void showChart();
    void showInterpretation();
    void showPeriods();
    // Compares the reading with another calculation of the same birth.
    void showCompare();

  signals:
    // The view in front changed; the main window's Save button follows it. `pictureView`: the chart
    // or the periods view, which a picture saves, rather than the interpretation.
    void ViewChanged(bool pictureView);

  private:
    void ShowPersonalDetails();
    void BuildHouseLordReading();
    QWidget* BuildChartView();
    QGroupBox* BuildInterpretationView();
    QWidget* BuildPeriodsView();
    void ShowPositions();
    // Fills a sub-period's row with its nine pratyantar periods, the first time it is opened.
    void AddPratyantars(QTreeWidgetItem* subPeriod);

    // The parts of the views; each has its member's name as its object name (an array's with _index).
    QStackedWidget* views;
    QWidget* fraChart;
    QGroupBox* fraInterpretation;

    QGroupBox* fraPersonal;
    QLabel* lblName;
    QLabel* lblDOB;
    QLabel* lblTOB;
    QLabel* lblLatitude;
    QLabel* lblLongitude;
    QLabel* lblCity;
    QLabel* lblState;
    QLabel* lblCountry;
    QLabel* clocksLabel;

    RasiChart* picSouthRasi;
    // The rasi chart's side when the birth details take their usual lines.
    int chartSide_ = 0;

    QGroupBox* fraPlanets;
    std::array<QLabel*, 7> PlanetName;
    std::array<QLabel*, 7> Planet;

    QGroupBox* fraOther;
    QLabel* lblAyanamsha;
    QLabel* lblLagna;
    QLabel* lblRashi;
    QLabel* lblNakshatra;
    QLabel* lblPada;
    QLabel* lblLord;
    QLabel* lblCalculation;
    QLabel* lblCalculationCaption;

    QPushButton* cmdInterpretation;
    QTextEdit* RTB;
    QPushButton* cmdChart;

    NorthIndianChart* picNorthRasi;
    // The periods and positions view: a page each for the periods, the navamsa, the positions and the
    // ashtakavarga.
    QWidget* fraPeriods;
    QTabWidget* tabPeriods;
    QWidget* fraDasha;
    QLabel* lblBalance;
    QTreeWidget* tvwPeriods;
    QWidget* fraNavamsa;
    RasiChart* picSouthNavamsa;
    NorthIndianChart* picNorthNavamsa;
    QWidget* fraPositions;
    QTableWidget* grdPositions;
    // The sixteen divisional charts, one at a time.
    VargaPage* fraVarga;
    // Worked out when first shown.
    AshtakavargaPage* fraAshtakavarga;
    // Filled when first shown: its sunrise takes a search.
    PanchangaPage* fraPanchanga;
    // The bodies at another moment over the birth chart; filled when first shown.
    TransitsPage* fraTransits;
    // "Periods and Positions" in the chart view and in the interpretation view.
    std::array<QPushButton*, 2> cmdPeriods;
    QPushButton* cmdPeriodsChart;
    QPushButton* cmdPeriodsInterpretation;
    // The reading beside another calculation of the same birth.
    CompareView* fraCompare;

    // Working space of the picture export; never shown.
    QLabel* Picture1;
    QLineEdit* txtFile;
    QLineEdit* txtFolder;

    // The three views' commands, each shared by the buttons that show its view; the periods view's
    // is the main window's View menu item too.
    QAction* actChart;
    QAction* actInterpretation;
    QAction* actPeriods;

    ChartStyle chartStyle_ = ChartStyle::SouthIndian;
    std::shared_ptr<const Reading> reading_;
};
