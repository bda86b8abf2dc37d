// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/EntryWindow.h"

#include "formats/SavedReadingFile.h"
#include "forms/AboutDialog.h"
#include "forms/Actions.h"
#include "forms/ConventionsDialog.h"
#include "forms/FilteredTextBox.h"
#include "forms/Icons.h"
#include "forms/PlaceFinder.h"
#include "forms/ReadingView.h"
#include "forms/ReadingWindow.h"
#include "forms/Settings.h"
#include "forms/WebPages.h"
#include "output/ChartDrawing.h"
#include "output/ReadingFiles.h"
#include "pipeline/ReadingPipeline.h"
#include "platform/Platform.h"
#include "platform/SystemPath.h"
#include "records/Messages.h"
#include "records/TimeZones.h"
#include "records/Vocabulary.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

bool IsLetterKey(int code) {
    return (code >= 65 && code <= 90) || (code >= 97 && code <= 122) || code == 32 || code == 8 ||
           code == 127;
}

bool IsDigitKey(int code) {
    return (code >= 48 && code <= 57) || code == 8 || code == 127;
}

platform::MessageIcon IconOf(MessageIcon icon) {
    return icon == MessageIcon::Information ? platform::MessageIcon::Information
                                            : platform::MessageIcon::Error;
}

template <class T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* FieldLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// The zone line's room: wide as the fields, and as many lines as a place's line takes where the
// list lacks its offset (Kathmandu's, three to four).
constexpr int kZoneNoteWidth = 380;
constexpr int kZoneNoteLines = 4;

constexpr Qt::WindowStates kStretchedStates{Qt::WindowMaximized | Qt::WindowFullScreen};

// Some styles (Fusion among them) open a list as a menu as tall as the screen and ignore the
// visible-item limit; this keeps the application's style but opens a scrolling list of that many rows.
class ScrollingListStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A label in a panel whose frame lies on whole device pixels: the style's own frame, drawn at a
// scaling such as 150% from where the box happens to fall, loses its top edge and thickens its
// bottom one.
class PanelLabel : public QLabel {
  public:
    PanelLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
        // The room of the style's one-pixel frame.
        setContentsMargins(1, 1, 1, 1);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        QPainter painter(this);
        // The colour the style gives a panel's frame.
        const QColor frame = palette().color(QPalette::Window).darker(140).lighter(108);
        PixelLines(painter, 1).Frame(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), frame);
    }
};

QLabel* HintLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(110, 110, 110));
    label->setPalette(palette);
    return label;
}

} // namespace

EntryWindow::EntryWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("EntryWindow");
    setWindowTitle(msg::kCaption);
    setWindowIcon(AppIcon());
    BuildControls();
    BuildMenus();
    SetTabOrder();
    FillLists();
}

EntryWindow::~EntryWindow() {
    delete readingWindow_.data();
    // The finder watches the form's fields; it goes before they do, so no event of the form's own
    // destruction reaches it.
    delete placeFinder;
}

ReadingWindow* EntryWindow::MainWindow() const {
    return readingWindow_;
}

void EntryWindow::MainWindowClosed() {
    readingWindow_ = nullptr;
}

QString EntryWindow::LastFileName() const {
    return PathFromSystem(lastFileName_);
}

void EntryWindow::SetLastFileName(const QString& path) {
    lastFileName_ = SystemPath(path);
}

void EntryWindow::BuildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(16, 12, 16, 14);
    outer->setSpacing(10);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    // The form has the one size of its content: it cannot be stretched or maximised.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    lblDescription =
        Named(new PanelLabel(QString::fromLatin1(msg::kEntryDescription), central), "lblDescription");
    lblDescription->setTextFormat(Qt::PlainText); // keeps the two blanks before "in"
    lblDescription->setWordWrap(true);
    lblDescription->setMargin(8);
    lblDescription->setFixedWidth(470);
    outer->addWidget(lblDescription);

    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(7);
    grid->setColumnStretch(1, 1);
    outer->addLayout(grid);
    int row = 0;

    txtName = Named(new FilteredTextBox(central), "txtName");
    grid->addWidget(FieldLabel("Name", central), row, 0);
    grid->addWidget(txtName, row++, 1);

    cboMonth = Named(new QComboBox(central), "cboMonth");
    cboDate = Named(new QComboBox(central), "cboDate");
    cboYear = Named(new QComboBox(central), "cboYear");
    auto* dateRow = new QHBoxLayout();
    dateRow->addWidget(cboMonth);
    dateRow->addWidget(cboDate);
    dateRow->addWidget(cboYear);
    dateRow->addStretch(1);
    grid->addWidget(FieldLabel("Date of Birth", central), row, 0);
    grid->addLayout(dateRow, row++, 1);

    cboHour = Named(new QComboBox(central), "cboHour");
    cboMinute = Named(new QComboBox(central), "cboMinute");
    auto* timeRow = new QHBoxLayout();
    timeRow->addWidget(cboHour);
    timeRow->addWidget(cboMinute);
    timeRow->addWidget(HintLabel("HH/MM", central));
    timeRow->addStretch(1);
    grid->addWidget(FieldLabel("Time of Birth", central), row, 0);
    grid->addLayout(timeRow, row++, 1);

    cboTimeZone = Named(new QComboBox(central), "cboTimeZone");
    cboTimeZone->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    grid->addWidget(FieldLabel("Time Zone", central), row, 0);
    grid->addWidget(cboTimeZone, row++, 1, Qt::AlignLeft);

    chkDST = Named(new QCheckBox("Daylight Saving Time", central), "chkDST");
    grid->addWidget(chkDST, row++, 1);
    // The zone line has room kept for it, shown or not, so that no field moves under the pointer as
    // it comes and goes; a longer line scrolls within that room.
    lblZoneNote = Named(new QLabel(central), "lblZoneNote");
    lblZoneNote->setTextFormat(Qt::PlainText);
    lblZoneNote->setWordWrap(true);
    lblZoneNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* noteRoom = Named(new QScrollArea(central), "zoneNoteRoom");
    noteRoom->setFrameShape(QFrame::NoFrame);
    noteRoom->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    noteRoom->setWidgetResizable(true);
    noteRoom->setWidget(lblZoneNote);
    // The form's own background shows through, as behind any other label.
    noteRoom->viewport()->setAutoFillBackground(false);
    lblZoneNote->setAutoFillBackground(false);
    noteRoom->setFixedSize(kZoneNoteWidth, kZoneNoteLines * lblZoneNote->fontMetrics().lineSpacing());
    grid->addWidget(noteRoom, row++, 1);

    // Each pair of option buttons sits in its own panel, so choosing South leaves East alone.
    const auto coordinateRow = [&](const char* caption, FilteredTextBox*& deg, const char* degName,
                                   FilteredTextBox*& min, const char* minName,
                                   std::array<QRadioButton*, 2>& pair, const char* pairName,
                                   const char* first, const char* second) {
        deg = Named(new FilteredTextBox(central), degName);
        min = Named(new FilteredTextBox(central), minName);
        for (FilteredTextBox* box : {deg, min}) {
            box->setMaxLength(3);
            box->setFixedWidth(box->fontMetrics().horizontalAdvance("0000") + 16);
            box->setAlignment(Qt::AlignRight);
        }
        auto* panel = Named(new QWidget(central), pairName);
        auto* panelLayout = new QHBoxLayout(panel);
        panelLayout->setContentsMargins(12, 0, 0, 0);
        auto* group = new QButtonGroup(panel);
        const char* captions[2] = {first, second};
        for (int i = 0; i < 2; ++i) {
            pair[static_cast<std::size_t>(i)] = new QRadioButton(QString::fromLatin1(captions[i]), panel);
            pair[static_cast<std::size_t>(i)]->setObjectName(QString("%1_%2").arg(pairName).arg(i));
            group->addButton(pair[static_cast<std::size_t>(i)], i);
            panelLayout->addWidget(pair[static_cast<std::size_t>(i)]);
        }
        auto* line = new QHBoxLayout();
        line->addWidget(deg);
        line->addWidget(min);
        line->addWidget(HintLabel("DEG/MIN", central));
        line->addWidget(panel);
        line->addStretch(1);
        grid->addWidget(FieldLabel(caption, central), row, 0);
        grid->addLayout(line, row++, 1);
    };
    coordinateRow("Latitude", txtLatDeg, "txtLatDeg", txtLatMin, "txtLatMin", optLat, "optLat", "North",
                  "South");
    coordinateRow("Longitude", txtLonDeg, "txtLonDeg", txtLonMin, "txtLonMin", optLong, "optLong", "East",
                  "West");

    txtCity = Named(new FilteredTextBox(central), "txtCity");
    txtState = Named(new FilteredTextBox(central), "txtState");
    txtCountry = Named(new FilteredTextBox(central), "txtCountry");
    grid->addWidget(FieldLabel("City", central), row, 0);
    grid->addWidget(txtCity, row++, 1);
    grid->addWidget(FieldLabel("State", central), row, 0);
    grid->addWidget(txtState, row++, 1);
    grid->addWidget(FieldLabel("Country", central), row, 0);
    grid->addWidget(txtCountry, row++, 1);

    Command1 = Named(new QPushButton("Click here to find Latitude && Longitude", central), "Command1");
    grid->addWidget(Command1, row++, 1, Qt::AlignLeft);

    cmdCalculate = Named(new QPushButton("&Get My House Lords Reading", central), "cmdCalculate");
    cmdOpen = Named(new QPushButton("&Open Previously Saved Reading", central), "cmdOpen");
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(cmdCalculate);
    buttons->addWidget(cmdOpen);
    outer->addSpacing(4);
    outer->addLayout(buttons);

    placeFinder = new PlaceFinder(*this, *lblZoneNote);

    const auto letters = [this](FilteredTextBox* box) {
        box->SetFilter([this, box](int& code) { LettersOnly(*box, code); },
                       [this, box](const QString& text) { return LettersTextAllowed(*box, text); });
        // The same limit as the saved-reading reader and the companion: text is refused, never cut.
        box->SetLengthLimit(static_cast<int>(kMaxTextLength), [box] {
            platform::ShowMessage(QString::fromUtf8(msg::kTextTooLong), platform::MessageIcon::Error);
            box->setFocus();
        });
    };
    const auto digits = [this](FilteredTextBox* box) {
        box->SetFilter([this](int& code) { DigitsOnly(code); },
                       [this](const QString& text) { return DigitsTextAllowed(text); });
    };
    for (FilteredTextBox* box : {txtName, txtCity, txtState, txtCountry})
        letters(box);
    for (FilteredTextBox* box : {txtLatDeg, txtLatMin, txtLonDeg, txtLonMin})
        digits(box);
}

void EntryWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A window manager that maximises all the same gets the form back at its one size.
    if (event->type() == QEvent::WindowStateChange && (windowState() & kStretchedStates))
        QMetaObject::invokeMethod(
            this, [this] { setWindowState(windowState() & ~kStretchedStates); }, Qt::QueuedConnection);
}

void EntryWindow::BuildMenus() {
    mnuCalculate = MakeAction(this, "Get My &Rasi Chart", "mnuCalculate");
    actOpen = MakeAction(this, "&Open Previously Saved Reading", "actOpen", QKeySequence::Open);
    actFindCoordinates = MakeAction(this, "Click here to find Latitude && Longitude", "actFindCoordinates");
    mnuExit = MakeAction(this, "&Exit", "mnuExit");
    mnuOnline = MakeAction(this, "&Online Help", "mnuOnline", QKeySequence::HelpContents);
    mnuAbout = MakeAction(this, "&About Software", "mnuAbout");
    // Without a menu item, the open command is the window's own, so that its shortcut works.
    addAction(actOpen);
    BindButton(cmdCalculate, mnuCalculate);
    BindButton(cmdOpen, actOpen);
    BindButton(Command1, actFindCoordinates);

    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    file->addAction(mnuCalculate);
    file->addSeparator();
    file->addAction(mnuExit);

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("mnuHelp");
    help->addAction(mnuOnline);
    help->addSeparator();
    help->addAction(mnuAbout);
    // After the program's own two menus, which keep their places.
    if (PreciseCalculationBuilt()) {
        QMenu* calculation = menuBar()->addMenu("&Calculation");
        calculation->setObjectName("mnuCalculation");
        auto* group = new QActionGroup(calculation);
        mnuClassic = Named(calculation->addAction(CalculationName(Calculation::Classic)), "mnuClassic");
        mnuPrecise = Named(calculation->addAction(CalculationName(Calculation::Precise)), "mnuPrecise");
        for (QAction* choice : {mnuClassic, mnuPrecise}) {
            choice->setCheckable(true);
            group->addAction(choice);
            connect(choice, &QAction::triggered, this, &EntryWindow::keepCalculation);
        }
        const bool precise = Settings().calculation() == Calculation::Precise;
        (precise ? mnuPrecise : mnuClassic)->setChecked(true);
        calculation->addSeparator();
        mnuConventions = MakeAction(this, kConventionsCommand, "mnuConventions");
        calculation->addAction(mnuConventions);
        connect(mnuConventions, &QAction::triggered, this, &EntryWindow::chooseConventions);
        conventions_ = Settings().conventions();
    }

    connect(mnuCalculate, &QAction::triggered, this, &EntryWindow::getReading);
    connect(actOpen, &QAction::triggered, this, &EntryWindow::openReading);
    connect(actFindCoordinates, &QAction::triggered, this, &EntryWindow::findCoordinates);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuOnline, &QAction::triggered, this, &EntryWindow::showHelp);
    connect(mnuAbout, &QAction::triggered, this, &EntryWindow::showAbout);
}

void EntryWindow::SetTabOrder() {
    const QWidget* const order[] = {txtName,     cboDate,    cboMonth,     cboYear,    cboHour,    cboMinute,
                                    cboTimeZone, txtLatDeg,  txtLatMin,    txtLonDeg,  txtLonMin,  txtCity,
                                    txtState,    txtCountry, cmdCalculate, optLong[0], optLong[1], optLat[0],
                                    optLat[1],   Command1,   chkDST,       cmdOpen};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
}

void EntryWindow::FillLists() {
    for (int day = 1; day <= 31; ++day)
        cboDate->addItem(QString::number(day));
    for (std::string_view month : kMonthNames)
        cboMonth->addItem(QString::fromLatin1(month.data(), static_cast<qsizetype>(month.size())));
    for (int year = 1901; year <= 2050; ++year)
        cboYear->addItem(QString::number(year));
    for (int hour = 0; hour <= 24; ++hour)
        cboHour->addItem(QString::number(hour));
    for (int minute = 0; minute <= 59; ++minute)
        cboMinute->addItem(QString::number(minute));
    for (const TimeZoneRow& zone : TimeZoneTable)
        cboTimeZone->addItem(QString::fromUtf8(zone.text));
    auto* listStyle = new ScrollingListStyle(QApplication::style()->name());
    listStyle->setParent(this);
    for (QComboBox* list : {cboDate, cboMonth, cboYear, cboHour, cboMinute, cboTimeZone}) {
        list->setStyle(listStyle);
        // A list whose popup was made under the application's style (the zone list's, measured for
        // its width) keeps that style's hidden scroll bar: nothing would show that there is more.
        list->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setMaxVisibleItems(16);
        list->setCurrentIndex(0);
    }
    optLat[0]->setChecked(true);
    optLong[0]->setChecked(true);
    chkDST->setChecked(false);
}

BirthEntry EntryWindow::BuildEntry() const {
    BirthEntry e;
    e.name = txtName->text().toStdString();
    e.monthIndex = cboMonth->currentIndex();
    e.day = cboDate->currentText().toInt();
    e.year = cboYear->currentText().toInt();
    e.hour = cboHour->currentText().toInt();
    e.minute = cboMinute->currentText().toInt();
    e.zoneRow = cboTimeZone->currentIndex();
    e.latDeg = txtLatDeg->text().toStdString();
    e.latMin = txtLatMin->text().toStdString();
    e.lonDeg = txtLonDeg->text().toStdString();
    e.lonMin = txtLonMin->text().toStdString();
    e.latDirection = optLat[0]->isChecked() ? 0 : optLat[1]->isChecked() ? 1 : -1;
    e.lonDirection = optLong[0]->isChecked() ? 0 : optLong[1]->isChecked() ? 1 : -1;
    e.dst = chkDST->isChecked();
    e.city = txtCity->text().toStdString();
    e.state = txtState->text().toStdString();
    e.country = txtCountry->text().toStdString();
    e.placeClock = placeFinder->ShownPlaceClock();
    return e;
}

QLineEdit* EntryWindow::FieldBox(EntryField field) const {
    switch (field) {
    case EntryField::Name:
        return txtName;
    case EntryField::LatDeg:
        return txtLatDeg;
    case EntryField::LatMin:
        return txtLatMin;
    case EntryField::LonDeg:
        return txtLonDeg;
    case EntryField::LonMin:
        return txtLonMin;
    case EntryField::City:
        return txtCity;
    case EntryField::State:
        return txtState;
    case EntryField::Country:
        return txtCountry;
    case EntryField::None:
        break;
    }
    return nullptr;
}

bool EntryWindow::PictureLibraryPresent() const {
    return platform::Os().PictureLibraryPresent();
}

bool EntryWindow::ValidateInput() {
    if (const std::optional<EntryRefusal> refusal = CheckBirthEntry(BuildEntry())) {
        platform::ShowMessage(QString::fromUtf8(refusal->message), IconOf(refusal->icon));
        if (QLineEdit* box = FieldBox(refusal->focus))
            box->setFocus();
        if (refusal->fix == EntryRefusal::Fix::SelectNorth)
            optLat[0]->setChecked(true);
        else if (refusal->fix == EntryRefusal::Fix::SelectEast)
            optLong[0]->setChecked(true);
        return false;
    }
    if (!PictureLibraryPresent()) {
        platform::ShowMessage(QString::fromUtf8(msg::kLibraryMissing), platform::MessageIcon::Error);
        return false;
    }
    return true;
}

Calculation EntryWindow::CurrentCalculation() const {
    return mnuPrecise && mnuPrecise->isChecked() ? Calculation::Precise : Calculation::Classic;
}

CalculationChoice EntryWindow::CurrentChoice() const {
    return {CurrentCalculation(), conventions_};
}

bool EntryWindow::ChooseConventions(QWidget* parent) {
    const std::optional<Conventions> chosen = ::ChooseConventions(parent, CurrentChoice());
    if (chosen)
        conventions_ = *chosen;
    return chosen.has_value();
}

void EntryWindow::chooseConventions() {
    ChooseConventions(this);
}

void EntryWindow::keepCalculation() {
    if (!Settings().setCalculation(CurrentCalculation()))
        platform::ShowMessage(QString::fromLatin1(msg::kChoiceNotKept), platform::MessageIcon::Error);
}

void EntryWindow::getReading() {
    if (!ValidateInput())
        return;
    // Either the whole reading is shown or none of it.
    const std::optional<Birth> birth = BirthFromEntry(BuildEntry());
    ReadingResult result =
        birth ? ComputeReading(*birth, CurrentChoice()) : ReadingResult{std::nullopt, msg::kReadingFailed};
    if (!result.reading) {
        platform::ShowMessage(QString::fromStdString(result.message), platform::MessageIcon::Error);
        if (QLineEdit* box = FieldBox(result.atFault))
            box->setFocus();
        return;
    }
    if (!readingWindow_)
        readingWindow_ = new ReadingWindow(*this);
    readingWindow_->ShowReading(std::make_shared<const Reading>(std::move(*result.reading)));
    hide();
}

void EntryWindow::openReading() {
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Open;
    request.title = msg::kOpenTitle;
    request.filter = platform::QtFileFilter("Quillmere (*.qlm)|*.qlm");
    request.defaultSuffix = "qlm";
    request.fileMustExist = true;
    Settings settings;
    request.startFolder = settings.lastFolder();
    const std::optional<QString> chosen = platform::Os().AskFileName(request);
    if (!chosen || chosen->isEmpty())
        return;
    // Where the next dialog starts; not a choice of the user's, so a store that refuses it is
    // not worth a message after the reading has opened.
    if (OpenSavedReading(*chosen))
        settings.setLastFolderOf(*chosen);
}

bool EntryWindow::OpenSavedReading(const QString& path) {
    // The companion opens files the same way, so both refuse the same files for the same reasons.
    const SavedReadingOpen opened = OpenSavedReadingFile(SystemPath(path));
    if (!opened.entry) {
        platform::ShowMessage(QString::fromUtf8(msg::kCheckFile) + "\n" + path + ": " +
                                  QString::fromStdString(opened.reason),
                              platform::MessageIcon::Error);
        return false;
    }
    LoadEntry(*opened.entry);
    getReading();
    return true;
}

void EntryWindow::LoadEntry(const BirthEntry& e) {
    // A saved reading brings its own zone and box; no chosen place may derive them again.
    placeFinder->Forget();
    txtName->setText(QString::fromStdString(e.name));
    cboMonth->setCurrentIndex(e.monthIndex);
    const auto select = [](QComboBox* list, int value) {
        const int at = list->findText(QString::number(value), Qt::MatchExactly);
        if (at >= 0)
            list->setCurrentIndex(at);
    };
    select(cboDate, e.day);
    select(cboYear, e.year);
    select(cboHour, e.hour);
    select(cboMinute, e.minute);
    cboTimeZone->setCurrentIndex(e.zoneRow);
    txtLonDeg->setText(QString::fromStdString(e.lonDeg));
    txtLonMin->setText(QString::fromStdString(e.lonMin));
    txtLatDeg->setText(QString::fromStdString(e.latDeg));
    txtLatMin->setText(QString::fromStdString(e.latMin));
    optLong[e.lonDirection == 0 ? 0 : 1]->setChecked(true);
    optLat[e.latDirection == 1 ? 1 : 0]->setChecked(true);
    chkDST->setChecked(e.dst);
    txtCity->setText(QString::fromStdString(e.city));
    txtState->setText(QString::fromStdString(e.state));
    txtCountry->setText(QString::fromStdString(e.country));
}

void EntryWindow::findCoordinates() {
    const std::pair<QLineEdit*, const char*> required[] = {{txtCity, msg::kSearchEnterCity},
                                                           {txtState, msg::kSearchEnterState},
                                                           {txtCountry, msg::kSearchEnterCountry}};
    for (const auto& [box, message] : required) {
        if (box->text().isEmpty()) {
            platform::ShowMessage(QString::fromLatin1(message), platform::MessageIcon::Error);
            box->setFocus();
            return;
        }
    }
    const QString phrase = txtCity->text() + " " + txtState->text() + " " + txtCountry->text() +
                           QString::fromLatin1(msg::kSearchSuffix);
    OpenWebPage(CoordinateSearchAddress(phrase));
}

void EntryWindow::showHelp() {
    OpenOnlineHelp();
}

void EntryWindow::showAbout() {
    AboutDialog about(this);
    platform::Os().ShowModal(about);
}

void EntryWindow::LettersOnly(QLineEdit& box, int& code) {
    if (IsLetterKey(code))
        return;
    code = 0;
    platform::ShowMessage(QString::fromUtf8(msg::kOnlyLetters), platform::MessageIcon::Error);
    box.setFocus();
}

void EntryWindow::DigitsOnly(int& code) {
    if (IsDigitKey(code))
        return;
    code = 0;
    platform::ShowMessage(QString::fromUtf8(msg::kOnlyNumbers), platform::MessageIcon::Error);
}

bool EntryWindow::LettersTextAllowed(QLineEdit& box, const QString& text) {
    if (PassesLettersFilter(text.toStdString()))
        return true;
    platform::ShowMessage(QString::fromUtf8(msg::kOnlyLetters), platform::MessageIcon::Error);
    box.setFocus();
    return false;
}

bool EntryWindow::DigitsTextAllowed(const QString& text) {
    if (PassesDigitsFilter(text.toStdString()))
        return true;
    platform::ShowMessage(QString::fromUtf8(msg::kOnlyNumbers), platform::MessageIcon::Error);
    return false;
}
