// SPDX-License-Identifier: AGPL-3.0-or-later
// The Conventions dialog of the Calculation menu: the ayanamsa (a named one or the user's own), the node
// and the period year of the precise calculation. Under the classic calculation they are shown but not
// offered, since it keeps its own arithmetic.
#pragma once

#include "records/Reading.h"

#include <QDialog>

#include <optional>

// The Calculation menu's item that opens the dialog.
inline constexpr const char* kConventionsCommand = "&Conventions...";

class QComboBox;
class QLabel;
class QLineEdit;

class ConventionsDialog : public QDialog {
    Q_OBJECT
  public:
    // Why the choices are not offered under the classic calculation.
    static constexpr const char* kClassicKeepsItsOwn =
        "The classic calculation keeps its own arithmetic: these choices apply to the precise calculation "
        "only.";
    // What is wrong with the user's own ayanamsa.
    static constexpr const char* kUserForm =
        "Your own ayanamsa needs whole degrees (up to 99), whole minutes, seconds with up to six decimals "
        "and a date written as YYYY-MM-DD.";
    static constexpr const char* kUserBelow60 =
        "The minutes and seconds of your own ayanamsa must lie below 60.";
    static constexpr const char* kUserDate =
        "The date of your own ayanamsa must be a date of the years 1800 to "
        "2399.";

    // Shows `conventions`; offers them only when `precise`.
    ConventionsDialog(const Conventions& conventions, bool precise, QWidget* parent = nullptr);

    // The choices as OK took them; the shown ones until then.
    const Conventions& Chosen() const { return chosen_; }

  public slots:
    // Takes the choices, or tells the user what is wrong with the user's own ayanamsa and stays open.
    void accept() override;

  private:
    void FollowAyanamsa();
    // The choices in the controls, or nothing, the user told why.
    std::optional<Conventions> Read();

    QComboBox* cboAyanamsa;
    QLineEdit* txtUserDegrees;
    QLineEdit* txtUserMinutes;
    QLineEdit* txtUserSeconds;
    QLineEdit* txtUserDate;
    QComboBox* cboNode;
    QComboBox* cboPeriodYear;
    bool precise_;
    Conventions chosen_;
};

// Opens the dialog with the current conventions, offering them when the current calculation is the
// precise one. On OK keeps the choices for the next run (telling the user when the store refuses) and
// returns them when they changed; nothing otherwise.
std::optional<Conventions> ChooseConventions(QWidget* parent, const CalculationChoice& current);
