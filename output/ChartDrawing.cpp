// SPDX-License-Identifier: AGPL-3.0-or-later
#include "output/ChartDrawing.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kPointSizes[] = {kChartEntryPointSize, 8.5, 8.0, 7.5, kChartSmallestPointSize};

// The retrograde mark ends in a blank, which draws nothing and must not widen a row.
QString VisibleText(QString entry) {
    while (entry.endsWith(' '))
        entry.chop(1);
    return entry;
}

struct Span {
    double left = std::numeric_limits<double>::infinity();
    double right = -std::numeric_limits<double>::infinity();
    bool Valid() const { return left <= right; }
};

// Where a horizontal line crosses a convex region.
Span Chord(const QPolygonF& region, double y) {
    Span s;
    for (qsizetype i = 0; i < region.size(); ++i) {
        const QPointF& p = region[i];
        const QPointF& q = region[(i + 1) % region.size()];
        if ((p.y() <= y && y <= q.y()) || (q.y() <= y && y <= p.y())) {
            const double x = p.y() == q.y() ? p.x() : p.x() + (y - p.y()) * (q.x() - p.x()) / (q.y() - p.y());
            const double other = p.y() == q.y() ? q.x() : x;
            s.left = std::min({s.left, x, other});
            s.right = std::max({s.right, x, other});
        }
    }
    return s;
}

// What a band between two heights may use across: in a convex region, the part both edges share.
Span BandChord(const QPolygonF& region, double top, double bottom) {
    const Span a = Chord(region, top);
    const Span b = Chord(region, bottom);
    if (!a.Valid() || !b.Valid())
        return {};
    return {std::max(a.left, b.left), std::min(a.right, b.right)};
}

bool RectInside(const QPolygonF& region, const QRectF& r, double margin) {
    const Span s = BandChord(region, r.top() - margin, r.bottom() + margin);
    return s.Valid() && s.left + margin <= r.left() && r.right() + margin <= s.right;
}

QPointF Centroid(const QPolygonF& region) {
    QPointF sum;
    for (const QPointF& p : region)
        sum += p;
    return sum / static_cast<double>(region.size());
}

struct Spacing {
    double margin;   // from the region's lines, across
    double vertical; // from its lines, up and down
    double gap;      // between two entries of a row
};

// Entries in rows from `top` down, each row as many as its width takes, centred in it and clear of
// `keepClear`. False when an entry finds no room.
bool FlowRows(const QPolygonF& region, const QList<double>& widths, double lineHeight, double step,
              double top, const QRectF& keepClear, const Spacing& space, QList<QRectF>& rects) {
    rects.clear();
    double y = top;
    for (qsizetype i = 0; i < widths.size(); y += step) {
        const Span chord = BandChord(region, y - space.vertical, y + lineHeight + space.vertical);
        if (!chord.Valid())
            return false;
        double left = chord.left + space.margin;
        double right = chord.right - space.margin;
        if (keepClear.isValid() && keepClear.top() < y + lineHeight && y < keepClear.bottom() &&
            keepClear.left() < right && left < keepClear.right()) {
            // The side of the number with more room.
            if (keepClear.left() - left >= right - keepClear.right())
                right = keepClear.left() - space.gap;
            else
                left = keepClear.right() + space.gap;
        }
        qsizetype end = i;
        double used = 0;
        while (end < widths.size() && used + (end > i ? space.gap : 0) + widths[end] <= right - left) {
            used += (end > i ? space.gap : 0) + widths[end];
            ++end;
        }
        if (end == i)
            return false;
        double x = left + (right - left - used) / 2;
        for (; i < end; ++i) {
            rects << QRectF(x, y, widths[i], lineHeight);
            x += widths[i] + space.gap;
        }
    }
    return true;
}

// The largest, widest type whose rows fit the region: near its middle, or from its top.
void LayOutEntries(RegionText& text, const QFont& base, const QPaintDevice* device, double unit,
                   bool fromTop) {
    const Spacing space{3 * unit, 1 * unit, 8 * unit};
    const QRectF bounds = text.region.boundingRect();
    const double middle = Centroid(text.region).y();
    const QRectF keepClear = text.numberRect.adjusted(-unit, -unit, unit, unit);
    const auto attempt = [&](double points, int stretch, bool mustFit) {
        QFont font = base;
        font.setPointSizeF(points);
        font.setStretch(stretch);
        const QFontMetricsF metrics(font, device);
        QList<double> widths;
        for (const QString& entry : text.entries)
            widths << std::ceil(metrics.horizontalAdvance(entry));
        const double lineHeight = std::ceil(metrics.height());
        const double step = std::ceil(metrics.lineSpacing());
        double bestScore = std::numeric_limits<double>::infinity();
        QList<QRectF> rects;
        for (double top = bounds.top() + space.vertical; top + lineHeight <= bounds.bottom(); top += unit) {
            if (!FlowRows(text.region, widths, lineHeight, step, top, keepClear, space, rects))
                continue;
            const double blockMiddle = (rects.front().top() + rects.back().bottom()) / 2;
            const double score = fromTop ? top : std::abs(blockMiddle - middle);
            if (score < bestScore) {
                bestScore = score;
                text.entryRects = rects;
                if (fromTop)
                    break;
            }
        }
        text.entryFont = font;
        if (bestScore < std::numeric_limits<double>::infinity())
            return true;
        if (mustFit)
            return false;
        // Nothing fits: one entry a row from the region's top, over its lines where it must.
        text.entryRects.clear();
        for (qsizetype i = 0; i < widths.size(); ++i)
            text.entryRects << QRectF(bounds.center().x() - widths[i] / 2,
                                      bounds.top() + space.vertical + static_cast<double>(i) * step,
                                      widths[i], lineHeight);
        return false;
    };
    text.fits = true;
    if (text.entries.isEmpty()) {
        text.entryFont = base;
        text.entryFont.setPointSizeF(kChartEntryPointSize);
        return;
    }
    for (double points : kPointSizes)
        for (int stretch : kStretches)
            if (attempt(points, stretch, true))
                return;
    text.fits = false;
    attempt(kChartSmallestPointSize, kStretches[std::size(kStretches) - 1], false);
}

QFont NumberFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(kSignNumberPointSize);
    return font;
}

QSizeF NumberSize(const QFont& font, const QString& number, const QPaintDevice* device) {
    const QFontMetricsF metrics(font, device);
    return {std::ceil(metrics.horizontalAdvance(number)), std::ceil(metrics.height())};
}

// The corners and the middles of the square's sides, its centre and the four points where the
// diagonals cross the inner diamond.
struct NorthPoints {
    QPointF tl, tr, br, bl, t, r, b, l, c, p1, p2, p3, p4;
    explicit NorthPoints(const QRectF& s)
        : tl(s.topLeft()), tr(s.topRight()), br(s.bottomRight()), bl(s.bottomLeft()),
          t(s.center().x(), s.top()), r(s.right(), s.center().y()), b(s.center().x(), s.bottom()),
          l(s.left(), s.center().y()), c(s.center()), p1((tl + c) / 2), p2((tr + c) / 2), p3((br + c) / 2),
          p4((bl + c) / 2) {}
};

constexpr int kFrame = 2; // the double frame's gap, in screen pixels

QRectF InnerSquare(const QRectF& square, double unit) {
    return square.adjusted(kFrame * unit, kFrame * unit, -kFrame * unit, -kFrame * unit);
}

// Grid row and column of the cell of each sign, as the window's chart has them.
constexpr int kSouthGrid[12][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3},
                                   {3, 2}, {3, 1}, {3, 0}, {2, 0}, {1, 0}, {0, 0}};

QRectF SouthCell(const QRectF& square, int sign) {
    const double side = square.width() / 4;
    return {square.left() + kSouthGrid[sign][1] * side, square.top() + kSouthGrid[sign][0] * side, side,
            side};
}

} // namespace

int NorthSignOfHouse(int house, int lagnaSign) {
    return ((lagnaSign + house - 1) % 12 + 12) % 12;
}

QPolygonF NorthHousePolygon(int house, const QRectF& square) {
    const NorthPoints n(square);
    switch (house) {
    case 1:
        return QPolygonF({n.t, n.p1, n.c, n.p2});
    case 2:
        return QPolygonF({n.tl, n.t, n.p1});
    case 3:
        return QPolygonF({n.tl, n.p1, n.l});
    case 4:
        return QPolygonF({n.l, n.p1, n.c, n.p4});
    case 5:
        return QPolygonF({n.l, n.p4, n.bl});
    case 6:
        return QPolygonF({n.bl, n.p4, n.b});
    case 7:
        return QPolygonF({n.b, n.p4, n.c, n.p3});
    case 8:
        return QPolygonF({n.b, n.p3, n.br});
    case 9:
        return QPolygonF({n.br, n.p3, n.r});
    case 10:
        return QPolygonF({n.r, n.p3, n.c, n.p2});
    case 11:
        return QPolygonF({n.r, n.p2, n.tr});
    case 12:
        return QPolygonF({n.tr, n.p2, n.t});
    default:
        return {};
    }
}

ChartPicture LayOutChart(ChartStyle style, const QRectF& square, int lagnaSign,
                         const std::array<QStringList, 12>& entries, const QFont& base,
                         const QPaintDevice* device, double unit) {
    ChartPicture chart;
    chart.style = style;
    chart.square = square;
    const QRectF inner = InnerSquare(square, unit);
    const QFont numberFont = NumberFont(base);
    for (int i = 0; i < 12; ++i) {
        RegionText& text = chart.regions[static_cast<std::size_t>(i)];
        const int sign = style == ChartStyle::NorthIndian ? NorthSignOfHouse(i + 1, lagnaSign) : i;
        text.number = QString::number(sign + 1);
        text.numberFont = numberFont;
        for (const QString& entry : entries[static_cast<std::size_t>(sign)])
            text.entries << VisibleText(entry);
        const QSizeF numberSize = NumberSize(numberFont, text.number, device);
        if (style == ChartStyle::NorthIndian) {
            text.region = NorthHousePolygon(i + 1, inner);
            // The number sits in the house's inner corner, as far in as it must to clear the lines.
            QPointF corner = text.region.front();
            for (const QPointF& p : text.region)
                if (QLineF(p, inner.center()).length() < QLineF(corner, inner.center()).length())
                    corner = p;
            const QPointF middle = Centroid(text.region);
            for (double t = 0; t <= 1; t += 0.02) {
                QRectF r(QPointF(), numberSize);
                r.moveCenter(corner + (middle - corner) * t);
                text.numberRect = r;
                if (RectInside(text.region, r, 2 * unit))
                    break;
            }
            LayOutEntries(text, base, device, unit, false);
        } else {
            const QRectF cell = SouthCell(square, i).adjusted(unit, unit, -unit, -unit);
            const QRectF room = cell.intersected(inner.adjusted(unit, unit, -unit, -unit));
            text.region = QPolygonF(room);
            text.region.removeLast(); // QPolygonF(QRectF) closes the ring; the region is its four corners
            text.numberRect = QRectF(
                room.bottomRight() - QPointF(numberSize.width() + unit, numberSize.height()), numberSize);
            LayOutEntries(text, base, device, unit, true);
        }
    }
    return chart;
}

void DrawChart(QPainter& painter, const ChartPicture& chart, double unit) {
    painter.save();
    const QRectF& square = chart.square;
    const QRectF inner = InnerSquare(square, unit);
    const PixelLines lines(painter, unit);
    lines.Fill(painter, square, kPaper);
    if (chart.style == ChartStyle::SouthIndian) {
        const double side = inner.width() / 4;
        lines.Fill(painter, QRectF(inner.left() + side, inner.top() + side, 2 * side, 2 * side), kCentre);
    }
    lines.Frame(painter, square, kLines);
    lines.Frame(painter, inner, kLines);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kLines, unit));
    painter.setBrush(Qt::NoBrush);
    if (chart.style == ChartStyle::NorthIndian) {
        const NorthPoints n(inner);
        painter.drawLine(n.tl, n.br);
        painter.drawLine(n.tr, n.bl);
        painter.drawPolygon(QPolygonF({n.t, n.r, n.b, n.l}));
    } else {
        const double side = inner.width() / 4;
        const auto x = [&](double q) { return inner.left() + q * side; };
        const auto y = [&](double q) { return inner.top() + q * side; };
        // Full lines at the quarters; across the border only at the middle.
        for (double q : {1.0, 3.0}) {
            lines.Line(painter, QPointF(x(q), inner.top()), QPointF(x(q), inner.bottom()), kLines);
            lines.Line(painter, QPointF(inner.left(), y(q)), QPointF(inner.right(), y(q)), kLines);
        }
        lines.Line(painter, QPointF(x(2), y(0)), QPointF(x(2), y(1)), kLines);
        lines.Line(painter, QPointF(x(2), y(3)), QPointF(x(2), y(4)), kLines);
        lines.Line(painter, QPointF(x(0), y(2)), QPointF(x(1), y(2)), kLines);
        lines.Line(painter, QPointF(x(3), y(2)), QPointF(x(4), y(2)), kLines);
    }
    for (const RegionText& text : chart.regions) {
        painter.setFont(text.numberFont);
        painter.setPen(kSignNumber);
        painter.drawText(text.numberRect, Qt::AlignCenter | Qt::TextSingleLine, text.number);
        painter.setFont(text.entryFont);
        painter.setPen(kEntries);
        for (qsizetype i = 0; i < text.entries.size() && i < text.entryRects.size(); ++i)
            painter.drawText(text.entryRects[i], Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                             text.entries[i]);
    }
    painter.restore();
}

PixelLines::PixelLines(const QPainter& painter, double width) : toDevice_(painter.deviceTransform()) {
    // A device scale of 1.5 gives lines one pixel wide, of 2 two: a quarter pixel short of the
    // next whole number rounds down, so that lines stay fine rather than bold.
    const double scale = std::hypot(toDevice_.m11(), toDevice_.m12());
    thickness_ = std::max(1.0, std::floor(width * scale + 0.25));
}

double PixelLines::Start(double middle) const {
    return std::floor(middle - thickness_ / 2 + 0.5);
}

void PixelLines::FillDevice(QPainter& painter, const QRectF& pixels, const QColor& colour) const {
    // A hair inside the pixels' edges, so that no rounding on the way back and forth takes in a
    // pixel more.
    constexpr double kHair = 1.0 / 64;
    bool invertible = false;
    const QTransform toLogical = toDevice_.inverted(&invertible);
    if (!invertible)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(toLogical.mapRect(pixels.adjusted(kHair, kHair, -kHair, -kHair)), colour);
    painter.restore();
}

void PixelLines::Line(QPainter& painter, const QPointF& from, const QPointF& to, const QColor& colour) const {
    const QPointF a = toDevice_.map(from);
    const QPointF b = toDevice_.map(to);
    const double left = Start(std::min(a.x(), b.x()));
    const double top = Start(std::min(a.y(), b.y()));
    const double right = Start(std::max(a.x(), b.x())) + thickness_;
    const double bottom = Start(std::max(a.y(), b.y())) + thickness_;
    FillDevice(painter, QRectF(QPointF(left, top), QPointF(right, bottom)), colour);
}

void PixelLines::Frame(QPainter& painter, const QRectF& frame, const QColor& colour) const {
    Line(painter, frame.topLeft(), frame.topRight(), colour);
    Line(painter, frame.bottomLeft(), frame.bottomRight(), colour);
    Line(painter, frame.topLeft(), frame.bottomLeft(), colour);
    Line(painter, frame.topRight(), frame.bottomRight(), colour);
}

void PixelLines::Fill(QPainter& painter, const QRectF& frame, const QColor& colour) const {
    const QRectF d = toDevice_.mapRect(frame);
    FillDevice(painter,
               QRectF(QPointF(Start(d.left()), Start(d.top())),
                      QPointF(Start(d.right()) + thickness_, Start(d.bottom()) + thickness_)),
               colour);
}
