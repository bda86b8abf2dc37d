// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/RasiChart.h"

#include "forms/NorthIndianChart.h"
#include "output/ChartDrawing.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QtMath>

#include <algorithm>
#include <utility>

namespace {

constexpr int kColumnGap = 4;
constexpr double kPointSizes[] = {RasiChart::kEntryPointSize, 8.5, RasiChart::kSmallestPointSize};

// The retrograde mark ends in a blank, which draws nothing and must not widen a column.
QString VisibleText(QString entry) {
    while (entry.endsWith(' '))
        entry.chop(1);
    return entry;
}

// Entries drawn at the places the chart chose for them; text() keeps the entries one per line.
class CellEntriesLabel : public QLabel {
  public:
    using QLabel::QLabel;

    void SetPlaces(QStringList lines, QList<QRect> rects) {
        lines_ = std::move(lines);
        rects_ = std::move(rects);
        update();
    }
    const QList<QRect>& Places() const { return rects_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setFont(font());
        p.setPen(palette().color(QPalette::WindowText));
        for (qsizetype i = 0; i < rects_.size() && i < lines_.size(); ++i)
            p.drawText(rects_[i], Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lines_[i]);
    }

  private:
    QStringList lines_;
    QList<QRect> rects_;
};

CellEntriesLabel* EntriesOf(const std::array<QLabel*, 12>& labels, int sign) {
    return static_cast<CellEntriesLabel*>(labels[static_cast<std::size_t>(sign)]);
}

// First-column lengths for two columns: fewest rows first, then the fuller first column, so that
// the entries still read down the first column and on down the second.
QList<int> SplitOrder(int count) {
    QList<int> order;
    for (int first = 1; first < count; ++first)
        order << first;
    std::stable_sort(order.begin(), order.end(), [count](int a, int b) {
        const int rowsA = std::max(a, count - a);
        const int rowsB = std::max(b, count - b);
        return rowsA != rowsB ? rowsA < rowsB : a > b;
    });
    return order;
}

} // namespace

RasiChart::RasiChart(QWidget* parent, const QString& name, const QString& numbersName,
                     const QString& entriesName)
    : QWidget(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int j = 0; j < 12; ++j) {
        auto* number = new QLabel(QString::number(j + 1), this);
        number->setObjectName(QString("%1_%2").arg(numbersName).arg(j));
        QFont numberFont = number->font();
        numberFont.setPointSizeF(kSignNumberPointSize);
        number->setFont(numberFont);
        number->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        QPalette numberPalette = number->palette();
        numberPalette.setColor(QPalette::WindowText, kSignNumber);
        number->setPalette(numberPalette);
        signNumbers_[static_cast<std::size_t>(j)] = number;

        auto* entries = new CellEntriesLabel(this);
        entries->setObjectName(QString("%1_%2").arg(entriesName).arg(j));
        entries->setTextFormat(Qt::PlainText);
        entries->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont entryFont = entries->font();
        entryFont.setPointSizeF(kEntryPointSize);
        entries->setFont(entryFont);
        QPalette entryPalette = entries->palette();
        entryPalette.setColor(QPalette::WindowText, kEntries);
        entries->setPalette(entryPalette);
        cellEntries_[static_cast<std::size_t>(j)] = entries;
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

QRect RasiChart::CellInterior(int sign) const {
    const QRect cell = CellRect(sign);
    const QPoint grid = GridPosition(sign);
    // One pixel off each line; the double frame takes two more on the chart's outer sides.
    QRect inside = cell.adjusted(1, 1, -1, -1);
    if (grid.x() == 0)
        inside.setLeft(inside.left() + 2);
    if (grid.x() == 3)
        inside.setRight(inside.right() - 2);
    if (grid.y() == 0)
        inside.setTop(inside.top() + 2);
    if (grid.y() == 3)
        inside.setBottom(inside.bottom() - 2);
    return inside.adjusted(2, 1, -1, -1);
}

QRect RasiChart::SignNumberRect(int sign) const {
    const QLabel* number = signNumbers_[static_cast<std::size_t>(sign)];
    const QFontMetricsF metrics(number->font());
    const QSize size(qCeil(metrics.horizontalAdvance(number->text())), qCeil(metrics.height()));
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignRight | Qt::AlignBottom, size, number->geometry());
}

QList<QRect> RasiChart::EntryRects(int sign) const {
    const CellEntriesLabel* label = EntriesOf(cellEntries_, sign);
    QList<QRect> rects;
    for (const QRect& place : label->Places())
        rects << place.translated(label->pos());
    return rects;
}

void RasiChart::SetCellEntries(int sign, const QStringList& entries) {
    cellEntries_[static_cast<std::size_t>(sign)]->setText(entries.join('\n'));
    FitCell(sign);
}

RasiChart::CellLayout RasiChart::LayOutEntries(const QStringList& entries, const QFont& base,
                                               const QRect& area, const QRect& keepClear) {
    QStringList shown;
    for (const QString& entry : entries)
        shown << VisibleText(entry);
    const int count = static_cast<int>(shown.size());

    CellLayout layout;
    const auto tryLayout = [&](double points, int stretch, int firstColumn) {
        QFont font = base;
        font.setPointSizeF(points);
        font.setStretch(stretch);
        const QFontMetricsF metrics(font);
        const int lineHeight = qCeil(metrics.height());
        const int step = qCeil(metrics.lineSpacing());
        QList<QRect> rects;
        int x = area.left();
        int firstWidth = 0;
        for (int i = 0; i < count; ++i) {
            if (i == firstColumn)
                x += firstWidth + kColumnGap;
            const int row = i < firstColumn ? i : i - firstColumn;
            const int width = qCeil(metrics.horizontalAdvance(shown[i]));
            if (i < firstColumn)
                firstWidth = std::max(firstWidth, width);
            rects << QRect(x, area.top() + row * step, width, lineHeight);
        }
        layout.font = font;
        layout.rects = rects;
        layout.fits = std::all_of(rects.begin(), rects.end(), [&](const QRect& r) {
            return area.contains(r) && !r.intersects(keepClear);
        });
        return layout.fits;
    };

    if (count == 0) {
        tryLayout(kEntryPointSize, 100, 0);
        return layout;
    }
    const QList<int> splits = SplitOrder(count);
    for (int stretch : kStretches) {
        for (double points : kPointSizes)
            if (tryLayout(points, stretch, count))
                return layout;
        for (double points : kPointSizes)
            for (int first : splits)
                if (tryLayout(points, stretch, first))
                    return layout;
    }
    // Nothing fits: the smallest readable type in two columns, cut at the cell's edge.
    tryLayout(kSmallestPointSize, kStretches[std::size(kStretches) - 1], (count + 1) / 2);
    return layout;
}

void RasiChart::FitCell(int sign) {
    CellEntriesLabel* label = EntriesOf(cellEntries_, sign);
    const QRect area = CellInterior(sign);
    const QString text = label->text();
    const QStringList entries = text.isEmpty() ? QStringList() : text.split('\n');
    const CellLayout layout =
        LayOutEntries(entries, font(), area, SignNumberRect(sign).adjusted(-1, -1, 1, 1));
    label->setGeometry(area);
    label->setFont(layout.font);
    QStringList lines;
    QList<QRect> places;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        lines << VisibleText(entries[i]);
        places << layout.rects[i].translated(-area.topLeft());
    }
    label->SetPlaces(lines, places);
}

void RasiChart::PlaceLabels() {
    for (int j = 0; j < 12; ++j) {
        signNumbers_[static_cast<std::size_t>(j)]->setGeometry(CellInterior(j));
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
    // The lines' middles: a line at pixel column n runs through n + 0.5.
    const auto at = [side](int quarter) { return quarter * side / 4 + 0.5; };
    const PixelLines lines(p, 1);
    const auto line = [&](double x0, double y0, double x1, double y1) {
        lines.Line(p, QPointF(x0, y0), QPointF(x1, y1), kLines);
    };

    lines.Fill(p, QRectF(QPointF(at(0), at(0)), QPointF(at(4), at(4))), kPaper);
    lines.Fill(p, QRectF(QPointF(at(1), at(1)), QPointF(at(3), at(3))), kCentre);

    lines.Frame(p, QRectF(QPointF(at(0), at(0)), QPointF(at(4), at(4))), kLines);
    // The lines between the border cells: full-length at the quarters, and across the border only
    // at the middle, which leaves the inner four squares as one empty field.
    line(at(1), at(0), at(1), at(4));
    line(at(3), at(0), at(3), at(4));
    line(at(0), at(1), at(4), at(1));
    line(at(0), at(3), at(4), at(3));
    line(at(2), at(0), at(2), at(1));
    line(at(2), at(3), at(2), at(4));
    line(at(0), at(2), at(1), at(2));
    line(at(3), at(2), at(4), at(2));
    // A double frame round the whole chart.
    lines.Frame(p, QRectF(QPointF(2.5, 2.5), QPointF(side - 1.5, side - 1.5)), kLines);
}

void SetChartInBothStyles(RasiChart& south, NorthIndianChart& north, int lagnaSign,
                          const std::array<QStringList, 12>& entries) {
    for (int j = 0; j < 12; ++j)
        south.SetCellEntries(j, entries[static_cast<std::size_t>(j)]);
    north.SetChart(lagnaSign, entries);
}

void ShowChartStyle(RasiChart& south, NorthIndianChart& north, ChartStyle style) {
    const bool northIndian = style == ChartStyle::NorthIndian;
    south.setVisible(!northIndian);
    north.setVisible(northIndian);
}
