// The main window: a multiple-document frame holding the display form, with the toolbar, the
// heading strip, the button strip and the menus.
#pragma once

#include "records/Reading.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPrinter;
class QPushButton;
class QToolBar;
class frmDisplay;
class frmMain;

class MDI : public QMainWindow {
    Q_OBJECT
  public:
    // Lengths of the layout in twips, converted at 15 per pixel.
    static constexpr int kTwipsPerPixel = 15;

    explicit MDI(frmMain& entryForm, QWidget* parent = nullptr);
    ~MDI() override;

    frmDisplay& Display() { return *display_; }
    // Shows the window with a reading, chart view in front and "&Save" disabled.
    void ShowReadingWindow(std::shared_ptr<const Reading> reading);

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
    QAction* mnuSouthIndian;
    QAction* mnuNorthIndian;
    QAction* mnuOnline;
    QAction* mnuUpdate;
    QAction* mnuAbout;

  public slots:
    void mnuNew_Click();
    void mnuSaveAsText_Click();
    void mnuSaveAsJpeg_Click();
    void mnuExport_Click();
    void mnuPrint_Click();
    void mnuPrintChart_Click();
    void mnuBack_Click();
    void mnuExit_Click();
    void mnuToolBar_Click();
    void mnuPeriods_Click();
    void mnuChartStyle_Click();
    void mnuOnline_Click();
    void mnuUpdate_Click();
    void mnuAbout_Click();
    void TB_ButtonClick(QAction* Button);
    void cmdSave_Click();
    void cmdSaveAsJPEG_Click();
    void cmdBack_Click();
    void cmdExit_Click();
    void MDIForm_Resize();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override;

  private:
    void BuildToolbar();
    void BuildStrips();
    void BuildMenus();
    void MDIForm_Load();
    void MDIForm_Activate();
    void PlaceDisplayForm();
    // Where the display form may stand: inside the client area, or covering it when it is larger
    // (the area scrolls by moving it).
    QPoint KeptInView(QPoint at) const;
    // Gives a window too short for the reading the strips' room.
    void FitStripsToWindow();
    void FollowView(bool pictureView);
    // Closes this window and the display form and shows the entry form again.
    void ReturnToEntryForm();

    frmMain& entryForm_;
    frmDisplay* display_;
    bool returningToEntryForm_ = false;
    // The picture's save dialog keeps its own last name; the printer keeps its settings.
    QString pictureDialogName_;
    std::unique_ptr<QPrinter> printer_;
};
