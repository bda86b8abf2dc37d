// The display form: one reading in two views, the chart view (personal details, rasi chart, planet
// table, other Vedic details) and the interpretation view (the house-lords report).
#pragma once

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTextEdit;
class RasiChart;

class frmDisplay : public QWidget {
    Q_OBJECT
  public:
    explicit frmDisplay(QWidget* parent = nullptr);

    // Writes the values, the planet table and the chart cells from the reading.
    void ShowReading();
    // Writes the house-lords report into RTB.
    void BuildHouseLordReading();

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

    RasiChart* picSouthRasi;
    std::array<QLabel*, 12> lblSouthPosition;
    std::array<QLabel*, 12> lblPlanets;

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

    // Working space of the picture export; never shown.
    QLabel* Picture1;
    QLineEdit* txtFile;
    QLineEdit* txtFolder;

  signals:
    // The view in front changed; the main window's Save buttons follow it.
    void ViewChanged(bool chartInFront);

  public slots:
    void cmdChart_Click();
    void cmdInterpretation_Click();

  private:
    void Form_Load();
    QWidget* BuildChartView();
    QGroupBox* BuildInterpretationView();
};
