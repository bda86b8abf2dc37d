#include "forms/RasiChart.h"

#include <QLabel>
#include <QPainter>

namespace {

constexpr int kPadding = 4;
const QColor kPaper{255, 250, 235};
const QColor kCentre{250, 240, 210};
const QColor kLines{128, 40, 30};
const QColor kSignNumber{170, 110, 70};
const QColor kEntries{20, 30, 90};

constexpr double kEntryPointSize = 9.0;
constexpr double kSmallestPointSize = 6.0;

} // namespace

RasiChart::RasiChart(QWidget* parent) : QWidget(parent) {
    setObjectName("picSouthRasi");
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int j = 0; j < 12; ++j) {
        auto* number = new QLabel(QString::number(j + 1), this);
        number->setObjectName(QString("lblSouthPosition_%1").arg(j));
        QFont numberFont = number->font();
        numberFont.setPointSizeF(7.5);
        number->setFont(numberFont);
        number->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        QPalette numberPalette = number->palette();
        numberPalette.setColor(QPalette::WindowText, kSignNumber);
        number->setPalette(numberPalette);
        signNumbers[static_cast<std::size_t>(j)] = number;

        auto* entries = new QLabel(this);
        entries->setObjectName(QString("lblPlanets_%1").arg(j));
        entries->setTextFormat(Qt::PlainText);
        entries->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont entryFont = entries->font();
        entryFont.setPointSizeF(kEntryPointSize);
        entries->setFont(entryFont);
        QPalette entryPalette = entries->palette();
        entryPalette.setColor(QPalette::WindowText, kEntries);
        entries->setPalette(entryPalette);
        cellEntries[static_cast<std::size_t>(j)] = entries;
    }
}

QPoint RasiChart::GridPosition(int sign) {
    // x = column, y = row.
    static constexpr std::array<std::pair<int, int>, 12> kCells{
        {{1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {0, 3}, {0, 2}, {0, 1}, {0, 0}}};
    const auto& [column, row] = kCells[static_cast<std::size_t>(sign)];
    return {column, row};
}

QRect RasiChart::CellRect(int sign) const {
    const int side = std::min(width(), height()) - 1;
    const QPoint grid = GridPosition(sign);
    const int left = grid.x() * side / 4;
    const int top = grid.y() * side / 4;
    return QRect(QPoint(left, top), QPoint((grid.x() + 1) * side / 4, (grid.y() + 1) * side / 4));
}

void RasiChart::SetCellEntries(int sign, const QStringList& entries) {
    QLabel* label = cellEntries[static_cast<std::size_t>(sign)];
    label->setText(entries.join('\n'));
    FitCell(sign);
}

void RasiChart::FitCell(int sign) {
    // A crowded sign shrinks its type rather than lose a line.
    QLabel* label = cellEntries[static_cast<std::size_t>(sign)];
    const QRect room = CellRect(sign).adjusted(kPadding, kPadding, -kPadding, -kPadding);
    QFont font = label->font();
    font.setPointSizeF(kEntryPointSize);
    for (;;) {
        const QFontMetrics metrics(font);
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, 10000, 10000), Qt::AlignLeft | Qt::AlignTop, label->text());
        if ((needed.width() <= room.width() && needed.height() <= room.height()) ||
            font.pointSizeF() <= kSmallestPointSize)
            break;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label->setFont(font);
    label->setGeometry(room);
}

void RasiChart::PlaceLabels() {
    for (int j = 0; j < 12; ++j) {
        const QRect cell = CellRect(j);
        signNumbers[static_cast<std::size_t>(j)]->setGeometry(
            cell.adjusted(kPadding, kPadding, -kPadding + 1, -kPadding + 2));
        FitCell(j);
    }
}

void RasiChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceLabels();
}

void RasiChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const int side = std::min(width(), height()) - 1;
    const auto at = [side](int quarter) { return quarter * side / 4; };

    p.fillRect(QRect(0, 0, side + 1, side + 1), kPaper);
    p.fillRect(QRect(QPoint(at(1), at(1)), QPoint(at(3), at(3))), kCentre);

    p.setPen(QPen(kLines, 1));
    p.drawRect(QRect(0, 0, side, side));
    p.setPen(QPen(kLines, 1));
    // The lines between the border cells: full-length at the quarters, and across the border only
    // at the middle, which leaves the inner four squares as one empty field.
    p.drawLine(at(1), 0, at(1), side);
    p.drawLine(at(3), 0, at(3), side);
    p.drawLine(0, at(1), side, at(1));
    p.drawLine(0, at(3), side, at(3));
    p.drawLine(at(2), 0, at(2), at(1));
    p.drawLine(at(2), at(3), at(2), side);
    p.drawLine(0, at(2), at(1), at(2));
    p.drawLine(at(3), at(2), side, at(2));
    // A double frame round the whole chart.
    p.drawRect(QRect(2, 2, side - 4, side - 4));
}
