// SPDX-License-Identifier: AGPL-3.0-or-later
// The charts drawn with a painter, for the window and the printed page alike: the North-Indian
// diamond, whose houses stay in place while the signs turn with the lagna, and the South-Indian grid
// as the printed page shows it (the window keeps its own South-Indian chart widget). Lengths are in
// the paint device's own units; `unit` is how many of them make one pixel of a 96-dpi screen.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QStringList>
#include <QTransform>

#include <array>

class QPaintDevice;

// The colours, number type and type stretches of the charts, in the window and on the page alike.
inline const QColor kPaper{255, 250, 235};
inline const QColor kCentre{250, 240, 210};
inline const QColor kLines{128, 40, 30};
inline const QColor kSignNumber{170, 110, 70};
inline const QColor kEntries{20, 30, 90};
inline constexpr double kSignNumberPointSize = 7.5;
// Narrower type comes before smaller type: a condensed name stays readable where a tiny one does not.
inline constexpr int kStretches[] = {100, 95, 90, 85, 80, 75, 70};

class QPainter;

enum class ChartStyle { SouthIndian, NorthIndian };

// The sign (0 Aries .. 11 Pisces) in house `house` (1..12) of a North-Indian chart whose lagna is
// in `lagnaSign`.
int NorthSignOfHouse(int house, int lagnaSign);

// A house's part of the square: house 1 the top middle diamond, the others counter-clockwise (2 and
// 3 the triangles on the upper left, 4 the left diamond, 7 the bottom one, 10 the right one).
QPolygonF NorthHousePolygon(int house, const QRectF& square);

// Where the texts of one house (North-Indian) or one sign's cell (South-Indian) are drawn.
struct RegionText {
    QPolygonF region;
    QString number;
    QFont numberFont;
    QRectF numberRect;
    QStringList entries; // as drawn: without the blank that ends a retrograde mark
    QFont entryFont;
    QList<QRectF> entryRects;
    // False when even the smallest, narrowest type would not keep every entry inside.
    bool fits = false;
};

struct ChartPicture {
    ChartStyle style = ChartStyle::SouthIndian;
    QRectF square;
    // North-Indian: by house, index house - 1. South-Indian: by sign.
    std::array<RegionText, 12> regions;
};

inline constexpr double kChartEntryPointSize = 9.0;
// The smallest type a crowded house may use.
inline constexpr double kChartSmallestPointSize = 7.0;

// Lays a chart out in `square`: the entries of each sign (0 Aries .. 11 Pisces) and, for the
// North-Indian style, the lagna's sign. Type is measured on `device`.
ChartPicture LayOutChart(ChartStyle style, const QRectF& square, int lagnaSign,
                         const std::array<QStringList, 12>& entries, const QFont& base,
                         const QPaintDevice* device, double unit);

void DrawChart(QPainter& painter, const ChartPicture& chart, double unit);

// Straight lines on whole pixels of the paint device. At a scaling such as 150% a line one pixel wide
// falls across device pixels and comes out one or two wide, or not at all at a widget's edge, by
// where it lies; these lines are each the same whole number of device pixels wide, so a double frame
// keeps one gap on every side. Coordinates are logical, of the lines' middles, as the painter stands
// when the lines are made; at a whole scaling they fill the pixels a pen of that width would.
class PixelLines {
  public:
    PixelLines(const QPainter& painter, double width);

    // A horizontal or vertical line, the pixels of both ends included.
    void Line(QPainter& painter, const QPointF& from, const QPointF& to, const QColor& colour) const;
    // The four sides of `frame`.
    void Frame(QPainter& painter, const QRectF& frame, const QColor& colour) const;
    // Fills what the sides of `frame` enclose, themselves included.
    void Fill(QPainter& painter, const QRectF& frame, const QColor& colour) const;

  private:
    // The first device pixel of a line whose middle lies at `middle` (device units).
    double Start(double middle) const;
    void FillDevice(QPainter& painter, const QRectF& pixels, const QColor& colour) const;

    QTransform toDevice_;
    double thickness_; // device pixels
};
