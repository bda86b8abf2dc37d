#include "forms/frmDisplay.h"

#include "formats/ChartExport.h"
#include "forms/HouseLordReport.h"
#include "forms/RasiChart.h"
#include "pipeline/ReadingPipeline.h"
#include "records/Messages.h"
#include "records/Records.h"
#include "records/Vocabulary.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// Twips of the original layout at 15 per pixel: the form's client area and the two views in it.
constexpr int kFormWidth = 9405 / 15;
constexpr int kFormHeight = 7725 / 15;
constexpr int kViewLeft = 120 / 15;
constexpr int kViewTop = 120 / 15;
constexpr int kViewWidth = 9135 / 15;
constexpr int kViewHeight = 7455 / 15;
constexpr int kChartViewSpacing = 6;

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* NamedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    // A long name or place must not push the frames apart; the whole text stays in the tool tip.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

void SetDetail(QLabel* label, const QString& text) {
    label->setText(text);
    label->setToolTip(text);
}

} // namespace

frmDisplay::frmDisplay(QWidget* parent) : QWidget(parent) {
    setObjectName("frmDisplay");
    setWindowTitle(msg::kCaption);
    setFixedSize(kFormWidth, kFormHeight);

    views = new QStackedWidget(this);
    views->setObjectName("views");
    fraChart = BuildChartView();
    fraInterpretation = BuildInterpretationView();
    views->addWidget(fraChart);
    views->addWidget(fraInterpretation);
    views->setGeometry(kViewLeft, kViewTop, kViewWidth, kViewHeight);

    Picture1 = new QLabel(this);
    Picture1->setObjectName("Picture1");
    txtFile = new QLineEdit(this);
    txtFile->setObjectName("txtFile");
    txtFolder = new QLineEdit(this);
    txtFolder->setObjectName("txtFolder");
    for (QWidget* hidden : {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(txtFile),
                            static_cast<QWidget*>(txtFolder)}) {
        hidden->move(0, kFormHeight);
        hidden->hide();
    }

    connect(cmdInterpretation, &QPushButton::clicked, this, &frmDisplay::cmdInterpretation_Click);
    connect(cmdChart, &QPushButton::clicked, this, &frmDisplay::cmdChart_Click);

    Form_Load();
}

QWidget* frmDisplay::BuildChartView() {
    auto* view = new QWidget();
    view->setObjectName("fraChart");
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kChartViewSpacing);

    fraPersonal = new QGroupBox("Personal Details", view);
    fraPersonal->setObjectName("fraPersonal");
    auto* personal = new QGridLayout(fraPersonal);
    // Tight lines here leave the chart below as tall as the view allows.
    personal->setContentsMargins(10, 2, 10, 4);
    personal->setHorizontalSpacing(16);
    personal->setVerticalSpacing(0);
    lblName = NamedLabel("lblName", fraPersonal);
    lblDOB = NamedLabel("lblDOB", fraPersonal);
    lblTOB = NamedLabel("lblTOB", fraPersonal);
    lblLatitude = NamedLabel("lblLatitude", fraPersonal);
    lblLongitude = NamedLabel("lblLongitude", fraPersonal);
    lblCity = NamedLabel("lblCity", fraPersonal);
    lblState = NamedLabel("lblState", fraPersonal);
    lblCountry = NamedLabel("lblCountry", fraPersonal);
    // Name and date run across; city, state and country start level with the time line.
    personal->addWidget(lblName, 0, 0, 1, 2);
    personal->addWidget(lblDOB, 1, 0, 1, 2);
    personal->addWidget(lblTOB, 2, 0);
    personal->addWidget(lblLatitude, 3, 0);
    personal->addWidget(lblLongitude, 4, 0);
    personal->addWidget(lblCity, 2, 1);
    personal->addWidget(lblState, 3, 1);
    personal->addWidget(lblCountry, 4, 1);
    personal->setColumnStretch(0, 1);
    personal->setColumnStretch(1, 1);
    layout->addWidget(fraPersonal);

    auto* lower = new QHBoxLayout();
    lower->setSpacing(kChartViewSpacing);
    layout->addLayout(lower, 1);

    // The chart takes the whole height below the personal details: a crowded sign needs every pixel.
    const int chartSide = kViewHeight - fraPersonal->sizeHint().height() - kChartViewSpacing;
    picSouthRasi = new RasiChart(view);
    picSouthRasi->setFixedSize(chartSide, chartSide);
    lblSouthPosition = picSouthRasi->signNumbers;
    lblPlanets = picSouthRasi->cellEntries;
    lower->addWidget(picSouthRasi, 0, Qt::AlignLeft | Qt::AlignBottom);

    auto* right = new QVBoxLayout();
    right->setSpacing(kChartViewSpacing);
    lower->addLayout(right, 1);

    fraOther = new QGroupBox("Other Vedic Details", view);
    fraOther->setObjectName("fraOther");
    auto* other = new QGridLayout(fraOther);
    other->setContentsMargins(8, 4, 8, 4);
    other->setHorizontalSpacing(8);
    other->setVerticalSpacing(2);
    struct DetailRow {
        const char* caption;
        const char* name;
        QLabel** value;
        // The longest nakshatra names need the frame's whole width, so that value has a line of its
        // own under its caption.
        bool ownLine;
    };
    const DetailRow rows[] = {{"Ayanamsa", "lblAyanamsha", &lblAyanamsha, false},
                              {"Lagna / Asc", "lblLagna", &lblLagna, false},
                              {"Rashi/Moon Sign", "lblRashi", &lblRashi, false},
                              {"Nakshatra", "lblNakshatra", &lblNakshatra, true},
                              {"Pada", "lblPada", &lblPada, false},
                              {"Lord", "lblLord", &lblLord, false},
                              {"Calculation", "lblCalculation", &lblCalculation, true}};
    int line = 0;
    for (const DetailRow& row : rows) {
        auto* title = new QLabel(QString::fromLatin1(row.caption), fraOther);
        title->setObjectName(QString::fromLatin1(row.name) + "Caption");
        QLabel* value = NamedLabel(row.name, fraOther);
        *row.value = value;
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        other->addWidget(title, line, 0);
        if (row.ownLine) {
            value->setIndent(12);
            other->addWidget(value, ++line, 0, 1, 2);
        } else {
            other->addWidget(value, line, 1);
        }
        ++line;
    }
    other->setColumnStretch(1, 1);
    // Only a precise reading names its calculation; the classic one shows what it always has.
    lblCalculationCaption = fraOther->findChild<QLabel*>("lblCalculationCaption");
    lblCalculationCaption->hide();
    lblCalculation->hide();
    right->addWidget(fraOther);

    fraPlanets = new QGroupBox("Vedic Planetary Position", view);
    fraPlanets->setObjectName("fraPlanets");
    auto* planets = new QGridLayout(fraPlanets);
    planets->setContentsMargins(8, 4, 8, 4);
    planets->setHorizontalSpacing(8);
    planets->setVerticalSpacing(3);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(font().pointSizeF());
    for (int i = 0; i < 7; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        // "Surya / Sun": the reading's name, then the English one.
        const BodyWords& body = kBodies[slot];
        PlanetName[slot] = new QLabel(Latin1(body.label) + " / " + Latin1(body.english), fraPlanets);
        PlanetName[slot]->setObjectName(QString("PlanetName_%1").arg(i));
        Planet[slot] = NamedLabel("Planet", fraPlanets);
        Planet[slot]->setObjectName(QString("Planet_%1").arg(i));
        // Degrees, sign and minutes line up from row to row.
        Planet[slot]->setFont(fixed);
        planets->addWidget(PlanetName[slot], i, 0);
        planets->addWidget(Planet[slot], i, 1);
    }
    planets->setColumnStretch(1, 1);
    right->addWidget(fraPlanets);
    right->addStretch(1);

    cmdInterpretation = new QPushButton("Get Interpretation", view);
    cmdInterpretation->setObjectName("cmdInterpretation");
    right->addWidget(cmdInterpretation, 0, Qt::AlignRight);
    return view;
}

QGroupBox* frmDisplay::BuildInterpretationView() {
    auto* frame = new QGroupBox("House Lords Interpretation");
    frame->setObjectName("fraInterpretation");
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(8, 8, 8, 8);
    RTB = new QTextEdit(frame);
    RTB->setObjectName("RTB");
    RTB->setReadOnly(true);
    RTB->setAcceptRichText(true);
    // Read-only, yet the text can be selected for printing a part of it.
    RTB->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(RTB, 1);
    cmdChart = new QPushButton("Show Chart", frame);
    cmdChart->setObjectName("cmdChart");
    layout->addWidget(cmdChart, 0, Qt::AlignRight);
    return frame;
}

void frmDisplay::Form_Load() {
    const BirthDataRecord& b = BirthData;
    SetDetail(lblName, "Name: " + Text(b.name));
    SetDetail(lblDOB, "Date of Birth: " + Latin1(MonthName(b.month)) + " " + QString::number(b.day) + ", " +
                          QString::number(b.year));
    SetDetail(lblTOB,
              "Time of Birth: " + QString::number(b.hour) + " HH " + QString::number(b.minute) + " MM ");
    SetDetail(lblLatitude,
              "Latitude: " + QString::number(b.latDeg) + " Degree " + QString::number(b.latMin) + " Minute");
    SetDetail(lblLongitude,
              "Longitude: " + QString::number(b.lonDeg) + " Degree " + QString::number(b.lonMin) + " Minute");
    SetDetail(lblCity, "City: " + Text(b.city));
    SetDetail(lblState, "State: " + Text(b.state));
    SetDetail(lblCountry, "Country: " + Text(b.country));
}

void frmDisplay::ShowReading() {
    const ReadingStateRecord& r = ReadingState;
    SetDetail(lblAyanamsha, Text(r.ayanamsaDisplayText));
    SetDetail(lblLagna, Text(r.lagnaName));
    SetDetail(lblNakshatra, Text(r.nakshatraName));
    SetDetail(lblRashi, Text(r.rashiName));
    SetDetail(lblPada, Text(r.nakshatraPada));
    SetDetail(lblLord, Text(r.nakshatraLord));
    SetDetail(lblCalculation, Text(r.calculation));
    lblCalculationCaption->setVisible(!r.calculation.empty());
    lblCalculation->setVisible(!r.calculation.empty());
    for (std::size_t i = 0; i < Planet.size(); ++i)
        Planet[i]->setText(Text(r.planetPositions[i]));

    const std::array<std::vector<std::string>, 12> cells = ChartCellEntries();
    for (int j = 0; j < 12; ++j) {
        QStringList entries;
        for (const std::string& entry : cells[static_cast<std::size_t>(j)])
            entries << Text(entry);
        picSouthRasi->SetCellEntries(j, entries);
    }
}

void frmDisplay::BuildHouseLordReading() {
    // The reading command has already chosen the headings and texts; this lays them out in colour.
    WriteHouseLordReport(*RTB->document());
    RTB->moveCursor(QTextCursor::Start);
}

void frmDisplay::cmdInterpretation_Click() {
    views->setCurrentWidget(fraInterpretation);
    emit ViewChanged(false);
}

void frmDisplay::cmdChart_Click() {
    views->setCurrentWidget(fraChart);
    emit ViewChanged(true);
}
