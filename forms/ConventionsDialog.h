// SPDX-License-Identifier: AGPL-3.0-or-later
// The Conventions dialog of the Calculation menu: the ayanamsa (a named one or the user's own), the node
// and the period year of the precise calculation, and the ashtakavarga's places of either. Under the
// classic calculation the first three are shown but not offered, since it keeps its own arithmetic.
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
        "The classic calculation keeps its own arithmetic: the ayanamsa, node and period year apply to the "
        "precise calculation only.";
    // What the ashtakavarga's places choose.
    static constexpr const char* kPlacesTip =
        "Where the texts differ on the places that give bindus: the common tables of B. V. Raman's books "
        "and most programs, or Parashara's own verses. The totals are the same in both; this applies to "
        "both calculations.";

    // Shows `conventions`; offers them only when `precise`.
    ConventionsDialog(const Conventions& conventions, bool precise, QWidget* parent = nullptr);

    // The choices as OK took them; the shown ones until then.
    const Conventions& Chosen() const { return chosen_; }

  public slots:
    // Takes the choices, or tells the user what is wrong with the user's own ayanamsa (the first wrong
    // field only, and puts the cursor there) and stays open.
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
    QComboBox* ashtakavargaPlacesList;
    bool precise_;
    Conventions chosen_;
};

// Opens the dialog with the current conventions, offering them when the current calculation is the
// precise one. On OK keeps the choices for the next run (telling the user when the store refuses) and
// returns them when they changed; nothing otherwise.
std::optional<Conventions> ChooseConventions(QWidget* parent, const CalculationChoice& current);
