// SPDX-License-Identifier: AGPL-3.0-or-later
// The compare view: the reading on screen beside the same birth under another calculation or other
// conventions, each body's position in both, what an astrologer reads differently, and why.
#pragma once

#include "records/Reading.h"

#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

class CompareView : public QWidget {
    Q_OBJECT
  public:
    // Minutes from 1970-01-01 00:00 UT: the moment whose running periods are compared.
    using Clock = std::function<double()>;

    explicit CompareView(QWidget* parent = nullptr);

    // The reading on screen; the choosers go back to its default other: the precise calculation with
    // the default conventions for a classic reading, the classic one for a precise reading, either with
    // the reading's own ashtakavarga places.
    void SetReading(std::shared_ptr<const Reading> reading);
    // The clock that says which periods run today; the system's until told otherwise.
    void SetClock(Clock clock);
    // The buttons back to the other views stand for these commands.
    void BindViewButtons(QAction* chart, QAction* interpretation, QAction* periods);
    // The other calculation the choosers name.
    CalculationChoice OtherChoice() const;

  public slots:
    // Makes the other reading as the choosers say and shows the two side by side.
    void compare();

  private:
    void SetChoosers(const CalculationChoice& choice);
    void FollowCalculation();
    void ShowRefusal(const QString& message);

    // Each has its member's name as its object name.
    QComboBox* cboCalculation;
    QComboBox* cboAyanamsa;
    QComboBox* cboNode;
    QComboBox* cboYear;
    QComboBox* ashtakavargaPlacesList;
    QTableWidget* grdCompare;
    QListWidget* lstChanges;
    QLabel* lblCause;
    QLabel* lblCompareMessage;
    QPushButton* cmdCompareChart;
    QPushButton* cmdCompareInterpretation;
    QPushButton* cmdComparePeriods;

    std::shared_ptr<const Reading> reading_;
    // A user's own ayanamsa, offered when the reading on screen was made with it.
    UserAyanamsa user_;
    Clock clock_;
    // The choosers are being set: no comparison until they all are.
    bool setting_ = false;
};
