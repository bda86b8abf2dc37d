// SPDX-License-Identifier: AGPL-3.0-or-later
// The main window: a multiple-document frame holding the display form, with the toolbar, the
// heading strip, the button strip and the menus.
#pragma once

#include "records/Reading.h"

#include <QByteArray>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPrinter;
class QPushButton;
class QToolBar;
class ReadingView;
class EntryWindow;
namespace platform {
struct PrinterRequest;
}

class ReadingWindow : public QMainWindow {
    Q_OBJECT
  public:
    // Lengths of the layout in twips, converted at 15 per pixel.
    static constexpr int kTwipsPerPixel = 15;

    explicit ReadingWindow(EntryWindow& entryForm, QWidget* parent = nullptr);
    ~ReadingWindow() override;

    ReadingView& Display() { return *display_; }
    // Shows the window with a reading, chart view in front and "&Save" disabled.
    void ShowReading(std::shared_ptr<const Reading> reading);

  public slots:
    // The strip's Save button follows the view in front: it is enabled with the interpretation.
    void FollowView(bool pictureView);
    // Shows the entry form again, filled as it was, and closes this window (New and Back).
    void returnToEntryForm();
    // Closes this window and the entry form: the program ends, nothing saved.
    void exitProgram();
    // Keeps the birth data in a saved reading.
    void saveReading();
    // Saves a picture of the view in front.
    void savePicture();
    // Writes the chart as a text file.
    void exportChart();
    // Prints the interpretation, or its selected part.
    void printInterpretation();
    void printChart();
    // Draws the charts in the style chosen in the menu and keeps it for the next run.
    void chooseChartStyle();
    // The Conventions dialog; a precise reading on screen is made again with the conventions chosen.
    void chooseConventions();
    void showHelp();
    void checkForUpdate();
    void showAbout();
    void LayOutStrips();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override;

  private:
    void BuildActions();
    void BuildToolbar();
    void BuildStrips();
    void BuildMenus();
    void ApplySettings();
    void ShowReadingView();
    // The window's title: the program's caption, and how a precise reading was made.
    void ShowTitle();
    void PlaceReadingView();
    // Where the display form may stand: inside the client area, or covering it when it is larger
    // (the area scrolls by moving it).
    QPoint KeptInView(QPoint at) const;
    // Gives a window too short for the reading the strips' room.
    void FitStripsToWindow();
    // Asks where to save a file of the reading shown, offering the name used last, and writes there
    // what `content` makes of the reading; `content` gives nothing, having told the user why, when
    // there is nothing to write. The name chosen is offered again next time.
    void SaveReadingFile(const char* title, const char* filter, const char* suffix,
                         const std::function<std::optional<QByteArray>(const Reading&)>& content);
    // Asks for the printer, which keeps its settings for the next job, proposing a file named for
    // the person and `printed` in the last folder used, asks before a file is replaced, and prints
    // with `print`; tells the user `failure`, and why where that is known, when the printer could not
    // take it.
    void PrintWith(platform::PrinterRequest request, const char* printed, const char* failure,
                   const std::function<bool(QPrinter&, QString*)>& print);

    // The window's parts and commands; each has its member's name as its object name.
    QToolBar* TB;
    QWidget* picTop;
    QLabel* lblHeading;
    QWidget* Picture1;
    QPushButton* cmdSave;
    QPushButton* cmdSaveAsJPEG;
    QPushButton* cmdBack;
    QPushButton* cmdExit;
    QMdiArea* mdiArea;
    QMdiSubWindow* displayWindow;

    // The commands, each one action for its menu item, tool button and push button, enabled in
    // every view: New (toolbar), Save As (Save, toolbar, Ctrl+S), Save As JPEG (button), Print
    // (toolbar, Ctrl+P), Back (button), Exit (button), Online Help (toolbar, F1), Compare (Ctrl+D).
    // The periods view's is the display form's own.
    QAction* mnuNew;
    QAction* mnuSaveAsText;
    QAction* mnuSaveAsJpeg;
    QAction* mnuExport;
    QAction* mnuPrint;
    QAction* mnuPrintChart;
    QAction* mnuBack;
    QAction* mnuExit;
    QAction* mnuToolBar;
    QAction* mnuPeriods;
    QAction* mnuCompare;
    QAction* mnuSouthIndian;
    QAction* mnuNorthIndian;
    QAction* mnuOnline;
    QAction* mnuUpdate;
    QAction* mnuAbout;
    // Absent (null) when the build has no precise calculation.
    QAction* mnuConventions = nullptr;

    EntryWindow& entryForm_;
    ReadingView* display_;
    bool returningToEntryForm_ = false;
    // The picture's save dialog keeps its own last name; the printer keeps its settings.
    QString pictureDialogName_;
    std::unique_ptr<QPrinter> printer_;
};
