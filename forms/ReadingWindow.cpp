// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/ReadingWindow.h"

#include "formats/ChartExport.h"
#include "formats/ImagePaths.h"
#include "formats/SavedReadingFile.h"
#include "forms/AboutDialog.h"
#include "forms/Actions.h"
#include "forms/ConventionsDialog.h"
#include "forms/EntryWindow.h"
#include "forms/Icons.h"
#include "forms/ReadingView.h"
#include "forms/Settings.h"
#include "forms/WebPages.h"
#include "output/PictureExport.h"
#include "output/PrintChart.h"
#include "output/PrintInterpretation.h"
#include "output/ReadingFiles.h"
#include "pipeline/ReadingPipeline.h"
#include "platform/Platform.h"
#include "reading/ReadingTexts.h"
#include "records/Messages.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kTwips = ReadingWindow::kTwipsPerPixel;

int Pixels(int twips) {
    return qRound(static_cast<double>(twips) / kTwips);
}

// Design lengths in twips.
constexpr int kDesignWidth = 11475;
constexpr int kHeadingStripHeight = 900;
constexpr int kButtonStripHeight = 645;
constexpr int kButtonTop = 120;
constexpr int kButtonHeight = 400;
constexpr int kButtonWidth = 1000;
constexpr int kWideButtonWidth = 1500;

// Where the next file dialog starts. The folder is no choice of the user's: a store that refuses it
// is not worth a message after the file itself was written.
void KeepFolderOf(const QString& file) {
    Settings().setLastFolderOf(file);
}

QPushButton* StripButton(const char* caption, const char* name, int widthTwips, QWidget* strip) {
    auto* button = new QPushButton(QString::fromLatin1(caption), strip);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setGeometry(0, Pixels(kButtonTop), Pixels(widthTwips), Pixels(kButtonHeight));
    return button;
}

} // namespace

ReadingWindow::ReadingWindow(EntryWindow& entryForm, QWidget* parent)
    : QMainWindow(parent), entryForm_(entryForm) {
    setObjectName("ReadingWindow");
    setWindowTitle(msg::kCaption);
    setWindowIcon(AppIcon());
    setAttribute(Qt::WA_DeleteOnClose);

    // First: the periods view's command is the display form's, and the View menu offers it.
    display_ = new ReadingView();
    BuildActions();
    BuildMenus();
    BuildToolbar();
    BuildStrips();

    // No frame of its own: the reading cannot be dragged away, and the title bar's height goes to
    // the reading on a small screen.
    displayWindow = mdiArea->addSubWindow(display_, Qt::SubWindow | Qt::FramelessWindowHint);
    displayWindow->setObjectName("displayWindow");
    displayWindow->setWindowIcon(AppIcon());
    // The reading stays in its frame until this window closes; the QMdiArea's own Ctrl+F4 does not
    // close it.
    displayWindow->installEventFilter(this);
    centralWidget()->installEventFilter(this);
    connect(display_, &ReadingView::ViewChanged, this, &ReadingWindow::FollowView);

    ApplySettings();
}

ReadingWindow::~ReadingWindow() = default;

void ReadingWindow::BuildActions() {
    mnuNew = MakeAction(this, "&New", "mnuNew");
    mnuSaveAsText = MakeAction(this, "Save &As", "mnuSaveAsText", QKeySequence::Save);
    mnuSaveAsJpeg = MakeAction(this, "Save As &JPEG", "mnuSaveAsJpeg");
    mnuExport = MakeAction(this, "&Export Chart As Text", "mnuExport");
    mnuPrint = MakeAction(this, "&Print", "mnuPrint", QKeySequence::Print);
    mnuPrintChart = MakeAction(this, msg::kPrintChart, "mnuPrintChart");
    mnuBack = MakeAction(this, "&Back", "mnuBack");
    mnuExit = MakeAction(this, "E&xit", "mnuExit");
    mnuToolBar = MakeAction(this, "&Toolbar", "mnuToolBar");
    mnuToolBar->setCheckable(true);
    mnuPeriods = display_->PeriodsCommand();
    mnuCompare = MakeAction(this, "&Compare", "mnuCompare");
    mnuCompare->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(mnuCompare, &QAction::triggered, display_, &ReadingView::showCompare);
    mnuSouthIndian = MakeAction(this, msg::kSouthIndian, "mnuSouthIndian");
    mnuNorthIndian = MakeAction(this, msg::kNorthIndian, "mnuNorthIndian");
    auto* styles = new QActionGroup(this);
    for (QAction* style : {mnuSouthIndian, mnuNorthIndian}) {
        style->setCheckable(true);
        styles->addAction(style);
        connect(style, &QAction::triggered, this, &ReadingWindow::chooseChartStyle);
    }
    mnuOnline = MakeAction(this, "&Online Help", "mnuOnline", QKeySequence::HelpContents);
    mnuUpdate = MakeAction(this, "Check for Software &Update", "mnuUpdate");
    mnuAbout = MakeAction(this, "&About Software", "mnuAbout");

    connect(mnuNew, &QAction::triggered, this, &ReadingWindow::returnToEntryForm);
    connect(mnuSaveAsText, &QAction::triggered, this, &ReadingWindow::saveReading);
    connect(mnuSaveAsJpeg, &QAction::triggered, this, &ReadingWindow::savePicture);
    connect(mnuExport, &QAction::triggered, this, &ReadingWindow::exportChart);
    connect(mnuPrint, &QAction::triggered, this, &ReadingWindow::printInterpretation);
    connect(mnuPrintChart, &QAction::triggered, this, &ReadingWindow::printChart);
    connect(mnuBack, &QAction::triggered, this, &ReadingWindow::returnToEntryForm);
    connect(mnuExit, &QAction::triggered, this, &ReadingWindow::exitProgram);
    connect(mnuOnline, &QAction::triggered, this, &ReadingWindow::showHelp);
    connect(mnuUpdate, &QAction::triggered, this, &ReadingWindow::checkForUpdate);
    connect(mnuAbout, &QAction::triggered, this, &ReadingWindow::showAbout);
}

void ReadingWindow::BuildToolbar() {
    TB = new QToolBar(this);
    TB->setObjectName("TB");
    TB->setMovable(false);
    TB->setFloatable(false);
    TB->setIconSize(QSize(16, 15));
    TB->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // The tool buttons are the menu's own commands with a picture and the short name they have
    // always shown as a tip; the menus stay without pictures.
    const std::pair<const char*, QAction*> buttons[] = {
        {"New", mnuNew}, {"Save", mnuSaveAsText}, {"Print", mnuPrint}, {"Help", mnuOnline}};
    for (const auto& [key, action] : buttons) {
        action->setIcon(ToolbarIcon(key));
        action->setIconVisibleInMenu(false);
        action->setToolTip(QString::fromLatin1(key));
        action->setData(QString::fromLatin1(key));
        TB->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, TB);
    connect(mnuToolBar, &QAction::toggled, TB, &QWidget::setVisible);
}

void ReadingWindow::BuildStrips() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    picTop = new QWidget(central);
    picTop->setObjectName("picTop");
    picTop->setFixedHeight(Pixels(kHeadingStripHeight));
    picTop->setAutoFillBackground(true);
    QPalette topPalette = picTop->palette();
    topPalette.setColor(QPalette::Window, QColor(128, 40, 30));
    picTop->setPalette(topPalette);
    lblHeading = new QLabel(msg::kHeading, picTop);
    lblHeading->setObjectName("lblHeading");
    QFont headingFont("Verdana", 18, QFont::Bold);
    headingFont.setStyleHint(QFont::SansSerif);
    lblHeading->setFont(headingFont);
    QPalette headingPalette = lblHeading->palette();
    headingPalette.setColor(QPalette::WindowText, QColor(255, 236, 180));
    lblHeading->setPalette(headingPalette);
    lblHeading->adjustSize();
    lblHeading->move(0, (picTop->height() - lblHeading->height()) / 2);
    layout->addWidget(picTop);

    mdiArea = new QMdiArea(central);
    mdiArea->setObjectName("mdiArea");
    mdiArea->setBackground(QColor(171, 171, 171));
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(mdiArea, 1);

    Picture1 = new QWidget(central);
    Picture1->setObjectName("Picture1");
    Picture1->setFixedHeight(Pixels(kButtonStripHeight));
    Picture1->setAutoFillBackground(true);
    layout->addWidget(Picture1);
    cmdSave = StripButton("&Save", "cmdSave", kButtonWidth, Picture1);
    cmdSaveAsJPEG = StripButton("Save As &JPEG", "cmdSaveAsJPEG", kWideButtonWidth, Picture1);
    cmdBack = StripButton("&Back", "cmdBack", kButtonWidth, Picture1);
    cmdExit = StripButton("E&xit", "cmdExit", kButtonWidth, Picture1);
    // The Save button runs its command but follows the view in front (FollowView), while the menu
    // item and the toolbar stay available in every view. A picture is saved of any view, the
    // interpretation's too, so its button is the menu item's.
    connect(cmdSave, &QPushButton::clicked, mnuSaveAsText, &QAction::trigger);
    BindButton(cmdSaveAsJPEG, mnuSaveAsJpeg);
    BindButton(cmdBack, mnuBack);
    BindButton(cmdExit, mnuExit);
}

void ReadingWindow::BuildMenus() {
    const auto menu = [this](const char* caption, const char* name, std::initializer_list<QAction*> items) {
        QMenu* added = menuBar()->addMenu(QString::fromLatin1(caption));
        added->setObjectName(QString::fromLatin1(name));
        for (QAction* item : items) {
            if (item)
                added->addAction(item);
            else
                added->addSeparator();
        }
    };
    // A null item is a separator.
    menu("&File", "mnuFile",
         {mnuNew, nullptr, mnuSaveAsText, mnuSaveAsJpeg, nullptr, mnuExport, nullptr, mnuPrint, mnuPrintChart,
          nullptr, mnuBack, nullptr, mnuExit});
    menu("&View", "mnuView",
         {mnuToolBar, nullptr, mnuPeriods, mnuCompare, nullptr, mnuSouthIndian, mnuNorthIndian});
    menu("&Help", "mnuHelp", {mnuOnline, nullptr, mnuUpdate, nullptr, mnuAbout});
    // After Help, as on the entry form.
    if (PreciseCalculationBuilt()) {
        mnuConventions = MakeAction(this, kConventionsCommand, "mnuConventions");
        connect(mnuConventions, &QAction::triggered, this, &ReadingWindow::chooseConventions);
        menu("&Calculation", "mnuCalculation", {mnuConventions});
    }
}

void ReadingWindow::ApplySettings() {
    mnuToolBar->setChecked(true);
    TB->setVisible(true);
    const ChartStyle style = Settings().chartStyle();
    (style == ChartStyle::NorthIndian ? mnuNorthIndian : mnuSouthIndian)->setChecked(true);
    display_->SetChartStyle(style);
}

void ReadingWindow::ShowReadingView() {
    PlaceReadingView();
    displayWindow->show();
}

void ReadingWindow::PlaceReadingView() {
    // Top of the frame's client area, centred across it (on a maximised frame: the screen's centre).
    const int left = std::max(0, (mdiArea->viewport()->width() - displayWindow->width()) / 2);
    displayWindow->move(left, 0);
}

void ReadingWindow::LayOutStrips() {
    const int windowWidth = frameGeometry().width() * kTwips;
    const auto widthOf = [](const QWidget* w) { return w->width() * kTwips; };
    const int exitLeft = windowWidth - widthOf(cmdExit) - 300;
    const int backLeft = exitLeft - widthOf(cmdBack) - 100;
    const int jpegLeft = backLeft - widthOf(cmdSaveAsJPEG) - 100;
    const int saveLeft = jpegLeft - widthOf(cmdSave) - 100;
    const int headingLeft = (windowWidth - widthOf(lblHeading)) / 2;
    cmdExit->move(Pixels(exitLeft), cmdExit->y());
    cmdBack->move(Pixels(backLeft), cmdBack->y());
    cmdSaveAsJPEG->move(Pixels(jpegLeft), cmdSaveAsJPEG->y());
    cmdSave->move(Pixels(saveLeft), cmdSave->y());
    lblHeading->move(Pixels(headingLeft), lblHeading->y());
}

void ReadingWindow::FollowView(bool pictureView) {
    cmdSave->setEnabled(!pictureView);
}

void ReadingWindow::ShowReading(std::shared_ptr<const Reading> shown) {
    display_->ShowReading(std::move(shown));
    ShowTitle();
    display_->showChart();

    // The design width, tall enough for the whole display form; a screen too small for that gets
    // the window maximised, and the strips give the reading what room they can.
    const QSize reading = displayWindow->sizeHint().expandedTo(displayWindow->size());
    const int toolbar = TB->isVisibleTo(this) ? TB->sizeHint().height() : 0;
    const int height = menuBar()->sizeHint().height() + toolbar + Pixels(kHeadingStripHeight) +
                       reading.height() + Pixels(kButtonStripHeight);
    const int width = std::max(Pixels(kDesignWidth), reading.width());
    const QRect available = (screen() ? screen() : QGuiApplication::primaryScreen())->availableGeometry();
    // What a window manager's title bar and frame take, before the window has them.
    constexpr int kDecoration = 40;
    if (width <= available.width() && height + kDecoration <= available.height()) {
        resize(width, height);
        move(available.center() - QPoint(width / 2, (height + kDecoration) / 2));
        show();
    } else {
        setGeometry(available);
        showMaximized();
    }
    LayOutStrips();
    ShowReadingView();
    raise();
    activateWindow();
}

void ReadingWindow::ShowTitle() {
    // A precise reading says how it was made in the title too; the classic one keeps the program's
    // caption.
    QString title = QString::fromLatin1(msg::kCaption);
    if (const auto& r = display_->ShownReading(); r && r->calculation != Calculation::Classic)
        title += " - " + QString::fromStdString(CalculationWords(*r));
    setWindowTitle(title);
}

void ReadingWindow::chooseConventions() {
    if (!entryForm_.ChooseConventions(this))
        return;
    const std::shared_ptr<const Reading> shown = display_->ShownReading();
    if (!shown)
        return;
    // A classic reading keeps its own arithmetic and changes only with the ashtakavarga's places.
    const Conventions chosen = entryForm_.CurrentChoice().conventions;
    if (shown->calculation == Calculation::Classic && shown->conventions.ashtakavarga == chosen.ashtakavarga)
        return;
    ReadingResult result = ComputeReading(shown->birth, {shown->calculation, chosen});
    if (!result.reading) {
        platform::ShowMessage(QString::fromStdString(result.message), platform::MessageIcon::Error);
        return;
    }
    // The view in front stays in front, and the transits' moment stays.
    display_->ShowReading(std::make_shared<const Reading>(std::move(*result.reading)), true);
    ShowTitle();
}

void ReadingWindow::FitStripsToWindow() {
    // The heading strip gives first, down to its heading, then the button strip down to its
    // buttons, and last the heading strip goes altogether (half a heading helps nobody), the
    // buttons taking back what that frees: the reading scrolls only when nothing else can give.
    const int designTop = Pixels(kHeadingStripHeight);
    const int designBottom = Pixels(kButtonStripHeight);
    const int reading = displayWindow->sizeHint().expandedTo(displayWindow->size()).height();
    int shortBy = designTop + reading + designBottom - centralWidget()->height();
    const auto give = [&shortBy](int& strip, int least) {
        const int given = std::clamp(shortBy, 0, std::max(0, strip - least));
        strip -= given;
        shortBy -= given;
    };
    int top = designTop;
    int bottom = designBottom;
    give(top, lblHeading->height() + 4);
    give(bottom, cmdExit->height() + 4);
    if (shortBy > 0) {
        const int freed = top - shortBy;
        top = 0;
        bottom = std::min(designBottom, bottom + std::max(0, freed));
    }
    picTop->setVisible(top > 0);
    picTop->setFixedHeight(top);
    Picture1->setFixedHeight(bottom);
    lblHeading->move(lblHeading->x(), (top - lblHeading->height()) / 2);
    const int buttonTop = bottom == designBottom ? Pixels(kButtonTop) : (bottom - cmdExit->height()) / 2;
    for (QPushButton* button : {cmdSave, cmdSaveAsJPEG, cmdBack, cmdExit})
        button->move(button->x(), buttonTop);
}

QPoint ReadingWindow::KeptInView(QPoint at) const {
    const QSize view = mdiArea->viewport()->size();
    const QSize form = displayWindow->size();
    const auto keep = [](int position, int room, int length) {
        return std::clamp(position, std::min(0, room - length), std::max(0, room - length));
    };
    return {keep(at.x(), view.width(), form.width()), keep(at.y(), view.height(), form.height())};
}

bool ReadingWindow::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        ShowReadingView();
    return handled;
}

bool ReadingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == displayWindow && event->type() == QEvent::Move) {
        const QPoint kept = KeptInView(displayWindow->pos());
        if (kept != displayWindow->pos())
            displayWindow->move(kept);
    }
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        FitStripsToWindow();
    if (watched == displayWindow && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void ReadingWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    LayOutStrips();
    // The client area has its new size only once the layout has run.
    QMetaObject::invokeMethod(this, &ReadingWindow::PlaceReadingView, Qt::QueuedConnection);
}

void ReadingWindow::closeEvent(QCloseEvent* event) {
    if (!returningToEntryForm_) {
        // Closing the main window ends the program, as Exit does; nothing is saved.
        entryForm_.close();
    }
    displayWindow->removeEventFilter(this);
    entryForm_.MainWindowClosed();
    event->accept();
}

QMenu* ReadingWindow::createPopupMenu() {
    // The toolbar is shown and hidden only through "&Toolbar", which keeps its check mark.
    return nullptr;
}

void ReadingWindow::returnToEntryForm() {
    // The entry form comes up before this window goes, so the program is never without a window
    // and does not take the moment for its end.
    entryForm_.show();
    entryForm_.raise();
    entryForm_.activateWindow();
    returningToEntryForm_ = true;
    close();
}

void ReadingWindow::exitProgram() {
    returningToEntryForm_ = false;
    close();
}

void ReadingWindow::showHelp() {
    OpenOnlineHelp();
}

void ReadingWindow::checkForUpdate() {
    OpenUpdatePage();
}

void ReadingWindow::showAbout() {
    AboutDialog about(this);
    platform::Os().ShowModal(about);
}

void ReadingWindow::SaveReadingFile(const char* title, const char* filter, const char* suffix,
                                    const std::function<std::optional<QByteArray>(const Reading&)>& content) {
    const std::shared_ptr<const Reading> reading = display_->ShownReading();
    if (!reading)
        return;
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Save;
    request.title = QString::fromLatin1(title);
    request.filter = platform::QtFileFilter(QString::fromLatin1(filter));
    request.defaultSuffix = QString::fromLatin1(suffix);
    // The last name with this file's suffix: the last file may have been of the other kind, and one
    // confirmation must not turn a saved reading into text.
    request.presetName = platform::WithSuffix(entryForm_.LastFileName(), request.defaultSuffix);
    request.startFolder = Settings().lastFolder();
    request.promptOverwrite = true;
    const std::optional<QString> chosen = platform::Os().AskFileName(request);
    if (!chosen || chosen->isEmpty())
        return;
    const std::optional<QByteArray> bytes = content(*reading);
    if (!bytes)
        return;
    QString reason;
    if (!WriteWholeFile(*chosen, *bytes, &reason)) {
        platform::ShowMessage(QString::fromUtf8(msg::kFileNotSaved) + "\n" +
                                  QDir::toNativeSeparators(*chosen) + ": " + reason,
                              platform::MessageIcon::Error);
        return;
    }
    entryForm_.SetLastFileName(*chosen);
    KeepFolderOf(*chosen);
}

void ReadingWindow::saveReading() {
    SaveReadingFile(msg::kMessageTitle, "Quillmere (*.qlm)|*.qlm", "qlm",
                    [](const Reading& reading) -> std::optional<QByteArray> {
                        const std::optional<std::string> bytes = EncodeSavedReading(reading.birth);
                        if (!bytes) {
                            platform::ShowMessage(QString::fromUtf8(msg::kCannotSaveCharacters),
                                                  platform::MessageIcon::Error);
                            return std::nullopt;
                        }
                        return QByteArray::fromStdString(*bytes);
                    });
}

void ReadingWindow::savePicture() {
    const PictureWorkspace workspace = display_->CaptureForPicture();
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Save;
    request.filter = platform::QtFileFilter("JPEG Image (*.jpg)|*.jpg");
    request.defaultSuffix = "JPG";
    // This dialog serves the picture alone and opens with the name it was given last.
    request.presetName = pictureDialogName_;
    request.startFolder = Settings().lastFolder();
    const std::optional<QString> chosen = platform::Os().AskFileName(request);
    if (!chosen || chosen->isEmpty())
        return;
    pictureDialogName_ = *chosen;
    const QString written = SaveDisplayAsJpeg(workspace, *chosen, true);
    if (!written.isEmpty())
        KeepFolderOf(written);
}

void ReadingWindow::exportChart() {
    SaveReadingFile("Select the destination text file ", "Export Chart As Text (*.txt)|*.txt", "txt",
                    [](const Reading& reading) { return InSystemEncoding(ChartExportText(reading)); });
}

void ReadingWindow::PrintWith(platform::PrinterRequest request, const char* printed, const char* failure,
                              const std::function<bool(QPrinter&, QString*)>& print) {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Named afresh each time: the last print's name would have one Enter replace that print.
    const std::shared_ptr<const Reading> reading = display_->ShownReading();
    QString folder = Settings().lastFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = platform::DocumentsFolder();
    request.fileName = QDir(folder).filePath(
        QString::fromStdString(PrintFileName(reading ? reading->birth.name : std::string(), printed)));
    if (!platform::Os().AskPrinter(*printer_, request))
        return;
    const QString file = printer_->outputFileName();
    if (!file.isEmpty() && QFileInfo::exists(file) &&
        !platform::Os().AskToReplace(
            file, QString::fromUtf8(msg::kReplacePrintedFile).arg(QDir::toNativeSeparators(file))))
        return;
    QString reason;
    if (!print(*printer_, &reason)) {
        QString text = QString::fromLatin1(failure);
        if (!reason.isEmpty())
            text += "\n" + reason;
        platform::ShowMessage(text, platform::MessageIcon::Error);
        return;
    }
    if (!file.isEmpty())
        KeepFolderOf(file);
}

void ReadingWindow::printInterpretation() {
    platform::PrinterRequest request;
    request.printSelection = display_->Report().textCursor().hasSelection();
    // Every page names the person, the birth and, for a precise reading, how it was made.
    QStringList header;
    if (const std::shared_ptr<const Reading> r = display_->ShownReading())
        header = shown::PageHeaderLines(*r);
    PrintWith(request, msg::kPrintedInterpretation, msg::kNotPrinted,
              [this, &header](QPrinter& printer, QString* reason) {
                  return PrintInterpretation(display_->Report(), printer, reason, header);
              });
}

void ReadingWindow::chooseChartStyle() {
    const ChartStyle style = mnuNorthIndian->isChecked() ? ChartStyle::NorthIndian : ChartStyle::SouthIndian;
    display_->SetChartStyle(style);
    if (!Settings().setChartStyle(style))
        platform::ShowMessage(QString::fromLatin1(msg::kChoiceNotKept), platform::MessageIcon::Error);
}

void ReadingWindow::printChart() {
    const std::shared_ptr<const Reading> reading = display_->ShownReading();
    if (!reading)
        return;
    PrintWith({}, msg::kPrintedChart, msg::kChartNotPrinted,
              [this, &reading](QPrinter& printer, QString* reason) {
                  return PrintChart(*reading, printer, display_->CurrentChartStyle(), reason,
                                    display_->TransitMoment());
              });
}
