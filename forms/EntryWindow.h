// SPDX-License-Identifier: AGPL-3.0-or-later
// The entry form: one person's birth data, the key filters, ValidateInput and the reading command.
#pragma once

#include "pipeline/BirthEntry.h"
#include "pipeline/ReadingPipeline.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <string>

class FilteredTextBox;
class ReadingWindow;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class PlaceFinder;
class EntryWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit EntryWindow(QWidget* parent = nullptr);
    ~EntryWindow() override;

    // True when the reading may go ahead; otherwise the user has been told why.
    bool ValidateInput();
    // The form's values as they stand.
    BirthEntry BuildEntry() const;
    // Puts a saved reading's values into the controls.
    void LoadEntry(const BirthEntry& entry);
    // Fills the form from a saved reading and computes it, as "&Open Previously Saved Reading" does
    // after its dialog. False (with the message shown, the form untouched) for a file that is not a
    // saved reading.
    bool OpenSavedReading(const QString& path);
    // The main window of the reading on screen, or null.
    ReadingWindow* MainWindow() const;
    // Called by the main window as it closes; the next reading opens a fresh one.
    void MainWindowClosed();
    // The name the reading's save dialogs chose last, which they offer again (empty at first).
    QString LastFileName() const;
    void SetLastFileName(const QString& path);

    // The calculation the next reading is made with.
    Calculation CurrentCalculation() const;
    // The same with the conventions chosen for the precise calculation.
    CalculationChoice CurrentChoice() const;
    // Opens the Conventions dialog over `parent`; true when the user changed the conventions.
    bool ChooseConventions(QWidget* parent);

  public slots:
    // Checks the form, computes the reading and shows it in the main window.
    void getReading();
    // Asks for a saved reading and opens it.
    void openReading();
    // Searches the web for the coordinates of the city, state and country.
    void findCoordinates();
    void showHelp();
    void showAbout();
    // Keeps the calculation chosen in the menu for the next run.
    void keepCalculation();
    // The Conventions dialog of the Calculation menu.
    void chooseConventions();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // The place search fills the form's fields and follows its date, time, zone and box.
    friend class PlaceFinder;

    void BuildControls();
    void BuildMenus();
    void SetTabOrder();
    // Fills the lists and sets the first choices.
    void FillLists();
    // Key filters: each receives a typed character's code and sets it to 0 to discard the key,
    // telling the user why.
    void LettersOnly(QLineEdit& box, int& code);
    void DigitsOnly(int& code);
    bool LettersTextAllowed(QLineEdit& box, const QString& text);
    bool DigitsTextAllowed(const QString& text);
    QLineEdit* FieldBox(EntryField field) const;
    // Whether the library that the JPEG export needs lies beside the program.
    bool PictureLibraryPresent() const;

    // The form's controls and commands; each has its member's name as its object name (a pair's
    // buttons theirs with _0 and _1).
    FilteredTextBox* txtName;
    QComboBox* cboMonth;
    QComboBox* cboDate;
    QComboBox* cboYear;
    QComboBox* cboHour;
    QComboBox* cboMinute;
    QComboBox* cboTimeZone;
    QCheckBox* chkDST;
    FilteredTextBox* txtLatDeg;
    FilteredTextBox* txtLatMin;
    std::array<QRadioButton*, 2> optLat; // North, South
    FilteredTextBox* txtLonDeg;
    FilteredTextBox* txtLonMin;
    std::array<QRadioButton*, 2> optLong; // East, West
    FilteredTextBox* txtCity;
    FilteredTextBox* txtState;
    FilteredTextBox* txtCountry;
    QPushButton* cmdCalculate;
    QPushButton* cmdOpen;
    QPushButton* Command1;
    QLabel* lblDescription;
    // What the chosen place's zone gave, and the warning when the row and the box count an hour twice.
    QLabel* lblZoneNote;

    // The commands. The reading command is the menu's "Get My &Rasi Chart" and the button beside
    // the open command; opening (Ctrl+O) and the coordinate search have a button only.
    QAction* mnuCalculate;
    QAction* actOpen;
    QAction* actFindCoordinates;
    QAction* mnuExit;
    QAction* mnuOnline; // F1
    QAction* mnuAbout;
    // The calculation choice; absent (null) when the build has no precise calculation.
    QAction* mnuClassic = nullptr;
    QAction* mnuPrecise = nullptr;
    QAction* mnuConventions = nullptr;
    // As kept between runs, or as chosen since.
    Conventions conventions_;

    PlaceFinder* placeFinder;
    QPointer<ReadingWindow> readingWindow_;
    // As the system holds it, so that a name that is not valid UTF-8 comes back unchanged.
    std::string lastFileName_;
};
