// SPDX-License-Identifier: AGPL-3.0-or-later
#include "output/PrintChart.h"

#include "output/PrintInterpretation.h"
#include "pipeline/Ashtakavarga.h"
#include "pipeline/Panchanga.h"
#include "pipeline/Periods.h"
#include "pipeline/ReadingPipeline.h"
#include "pipeline/Transits.h"
#include "pipeline/Vargas.h"
#include "reading/ReadingTexts.h"
#include "records/BirthClock.h"
#include "records/Calendar.h"
#include "records/Messages.h"
#include "records/TimeZones.h"
#include "records/Vocabulary.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr double kMarginCm = 1.5;
constexpr double kTextPoints = 9.5;
constexpr double kPeriodPoints[] = {9, 8.5, 8};
constexpr double kNamePoints = 14;
constexpr double kTitlePoints = 11;

using shown::Latin1;
using shown::Text;

// One page after another on the printer, each with the header, and a pen that moves down the page.
class Pages {
  public:
    Pages(QPainter& painter, QPrinter& printer, const Reading& reading)
        : painter_(painter), printer_(printer), header_(shown::PageHeaderLines(reading)) {
        unit_ = printer.resolution() / 96.0;
        const double margin = kMarginCm / 2.54 * printer.resolution();
        area_ = QRectF(0, 0, printer.width(), printer.height()).adjusted(margin, margin, -margin, -margin);
        text_ = Font(kTextPoints, false);
    }

    double Unit() const { return unit_; }
    const QRectF& Area() const { return area_; }
    double Y() const { return y_; }
    void MoveTo(double y) { y_ = y; }
    double Left() const { return area_.left(); }
    double Bottom() const { return area_.bottom(); }

    QFont Font(double points, bool bold) const {
        QFont font;
        font.setPointSizeF(points);
        font.setBold(bold);
        return font;
    }
    const QFont& TextFont() const { return text_; }
    double LineHeight(const QFont& font) const { return QFontMetricsF(font, &printer_).lineSpacing(); }
    double Width(const QFont& font, const QString& text) const {
        return QFontMetricsF(font, &printer_).horizontalAdvance(text);
    }

    // Writes one line at x and the pen's height; the pen moves down when `advance`.
    void Line(double x, const QString& text, const QFont& font, bool advance = true) {
        painter_.setFont(font);
        painter_.drawText(QPointF(x, y_ + QFontMetricsF(font, &printer_).ascent()), text);
        if (advance)
            y_ += LineHeight(font);
    }

    // Text across the page, broken into lines where it is too long for one.
    void Paragraph(const QString& text, const QFont& font) {
        painter_.setFont(font);
        QRectF used;
        painter_.drawText(QRectF(area_.left(), y_, area_.width(), area_.bottom() - y_),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text, &used);
        y_ += std::max(used.height(), LineHeight(font));
    }

    // The height of Paragraph(text, font).
    double ParagraphHeight(const QString& text, const QFont& font) const {
        const QRectF used = QFontMetricsF(font, &printer_)
                                .boundingRect(QRectF(0, 0, area_.width(), area_.height()),
                                              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        return std::max(used.height(), LineHeight(font));
    }

    // A new page with the header; false when the printer cannot give one.
    bool Begin(bool first) {
        if (!first && !printer_.newPage())
            return false;
        y_ = area_.top();
        for (qsizetype i = 0; i < header_.size(); ++i)
            Paragraph(header_[i], i == 0 ? Font(kNamePoints, true) : text_);
        y_ += LineHeight(text_) / 2;
        painter_.setPen(QPen(Qt::black, unit_));
        painter_.drawLine(QPointF(area_.left(), y_), QPointF(area_.right(), y_));
        y_ += LineHeight(text_) / 2;
        return true;
    }

    // A new page unless `height` more fits on this one; false when the printer cannot give one.
    bool Room(double height) { return y_ + height <= area_.bottom() || Begin(false); }

    QPainter& Painter() { return painter_; }
    QPrinter& Printer() { return printer_; }

  private:
    QPainter& painter_;
    QPrinter& printer_;
    const QStringList header_;
    double unit_ = 1;
    QRectF area_;
    QFont text_;
    double y_ = 0;
};

// Rows of texts in columns that start at the given offsets.
void Table(Pages& pages, const std::vector<QStringList>& rows, const std::vector<double>& columns,
           bool heading) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const QFont font = pages.Font(kTextPoints, heading && r == 0);
        for (qsizetype c = 0; c < rows[r].size(); ++c)
            pages.Line(pages.Left() + columns[static_cast<std::size_t>(c)], rows[r][c], font, false);
        pages.MoveTo(pages.Y() + pages.LineHeight(font));
    }
}

// Offsets of columns wide enough for every text in them.
std::vector<double> ColumnStarts(Pages& pages, const std::vector<QStringList>& rows, double gap) {
    std::vector<double> widths;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const QFont font = pages.Font(kTextPoints, r == 0);
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            const auto at = static_cast<std::size_t>(c);
            widths.resize(std::max(widths.size(), at + 1));
            widths[at] = std::max(widths[at], pages.Width(font, rows[r][c]));
        }
    }
    std::vector<double> starts;
    double x = 0;
    for (double w : widths) {
        starts.push_back(x);
        x += w + gap;
    }
    return starts;
}

bool ChartPage(Pages& pages, const Reading& r, ChartStyle style) {
    QPainter& painter = pages.Painter();
    const double unit = pages.Unit();
    const QFont title = pages.Font(kTitlePoints, true);
    const QFont& text = pages.TextFont();

    const std::vector<PositionRow> positions = PositionRows(r);
    // The quarter each body stands in, headed as on the Positions page: the Pada among the details
    // below is another number in a classic reading.
    std::vector<QStringList> table{{msg::kBodyHeading, msg::kPositionHeading, msg::kNakshatraHeading,
                                    QString(msg::kQuarterHeading).replace('\n', ' '),
                                    msg::kRetrogradeHeading}};
    for (const PositionRow& row : positions)
        table.push_back({Latin1(Body(row.body).english), Text(PositionText(row)), Text(row.nakshatra),
                         QString::number(row.pada), row.retrograde ? msg::kRetrogradeShown : ""});
    std::vector<QStringList> details{{"Ayanamsa", Text(AyanamsaText(r))},
                                     {"Lagna / Asc", Latin1(LagnaName(r))},
                                     {"Rashi/Moon Sign", Latin1(RashiName(r))},
                                     {"Nakshatra", Latin1(MoonNakshatraName(r))},
                                     {"Pada", Text(PadaText(r))},
                                     {"Lord", Latin1(NakshatraLordName(r))}};
    if (!CalculationCaption(r).empty())
        details.push_back({"Calculation", Text(CalculationWords(r))});

    // Under the details, what the chart view's tooltip says of the classic Pada.
    const QString padaNote =
        r.calculation == Calculation::Classic ? QString(msg::kClassicPadaTip) : QString();

    // The two charts side by side, as large as the width allows and the tables below leave room for.
    const double line = pages.LineHeight(text);
    const double below = 2 * pages.LineHeight(title) +
                         static_cast<double>(table.size() + details.size()) * line + 2 * line +
                         (padaNote.isEmpty() ? 0 : line / 2 + pages.ParagraphHeight(padaNote, text));
    const double gap = 24 * unit;
    const double side = std::max(0.0, std::min((pages.Area().width() - gap) / 2,
                                               pages.Bottom() - pages.Y() - pages.LineHeight(title) - below));
    const int lagna = std::max(0, r.LagnaSign());
    const std::array<QStringList, 12> rasi = shown::CellTexts(ChartCellEntries(r));
    const std::array<QStringList, 12> navamsa = shown::CellTexts(NavamsaCellEntries(r));
    const int navamsaLagna = NavamsaSign(r.Longitude(BodySlot::Ascendant));
    const struct {
        const char* title;
        const std::array<QStringList, 12>& cells;
        int lagna;
    } charts[] = {{msg::kRasiTitle, rasi, lagna}, {msg::kNavamsaTitle, navamsa, navamsaLagna}};
    const double top = pages.Y();
    for (int i = 0; i < 2; ++i) {
        const double left = pages.Left() + i * (side + gap);
        pages.MoveTo(top);
        pages.Line(left, charts[i].title, title);
        const QRectF square(left, pages.Y(), side, side);
        DrawChart(painter,
                  LayOutChart(style, square, charts[i].lagna, charts[i].cells, text, &pages.Printer(), unit),
                  unit);
    }
    pages.MoveTo(top + pages.LineHeight(title) + side + line);

    pages.Line(pages.Left(), msg::kPositionsTitle, title);
    Table(pages, table, ColumnStarts(pages, table, 16 * unit), true);
    pages.MoveTo(pages.Y() + line);
    pages.Line(pages.Left(), msg::kOtherDetailsTitle, title);
    Table(pages, details, ColumnStarts(pages, details, 16 * unit), false);
    if (!padaNote.isEmpty()) {
        pages.MoveTo(pages.Y() + line / 2);
        pages.Paragraph(padaNote, text);
    }
    return true;
}

// The sign of every body in each of the sixteen divisional charts, a row a body.
bool VargaTable(Pages& pages, const Reading& r) {
    std::vector<QStringList> table{{msg::kBodyHeading}};
    for (int division : kVargaDivisions)
        table[0] << QStringLiteral("D%1").arg(division);
    for (int slot = -1; slot <= static_cast<int>(BodySlot::Ketu); ++slot) {
        const BodySlot body = slot < 0 ? BodySlot::Ascendant : static_cast<BodySlot>(slot);
        QStringList row{Latin1(Body(body).english)};
        for (int division : kVargaDivisions)
            row << Latin1(kSigns[static_cast<std::size_t>(VargaSign(division, r.Longitude(body)))].code);
        table.push_back(row);
    }
    const QFont title = pages.Font(kTitlePoints, true);
    const double line = pages.LineHeight(pages.TextFont());
    pages.MoveTo(pages.Y() + line); // apart from the details above it
    if (!pages.Room(pages.LineHeight(title) + static_cast<double>(table.size() + 1) * line))
        return false;
    pages.Line(pages.Left(), msg::kVargaTitle, title);
    Table(pages, table, ColumnStarts(pages, table, 8 * pages.Unit()), true);
    pages.MoveTo(pages.Y() + line);
    return true;
}

// The ashtakavarga: whose places gave it, the bindus of the Sun to Saturn by sign, then their total.
bool AshtakavargaTable(Pages& pages, const Reading& reading) {
    const QFont title = pages.Font(kTitlePoints, true);
    if (!pages.Room(pages.LineHeight(title) + 10 * pages.LineHeight(pages.TextFont())))
        return false;
    pages.Line(pages.Left(), msg::kAshtakavargaTitle, title);
    pages.Line(pages.Left(),
               QString::fromLatin1(msg::kAshtakavargaPlacesCaption) +
                   Latin1(PlacesWords(reading.conventions.ashtakavarga).name),
               pages.TextFont());
    const Ashtakavarga a = ComputeAshtakavarga(reading);
    const auto row = [](const QString& name, const std::array<int, 12>& bindus) {
        QStringList cells{name};
        for (int n : bindus)
            cells << QString::number(n);
        return cells;
    };
    std::vector<QStringList> rows{{QString()}};
    for (const SignWords& sign : kSigns)
        rows.front() << Latin1(sign.code);
    for (std::size_t i = 0; i < kAshtakavargaPlanets.size(); ++i)
        rows.push_back(row(Latin1(Body(kAshtakavargaPlanets[i]).english), a.bhinna[i]));
    rows.push_back(row(msg::kTotalHeading, a.total));
    const std::vector<double> columns = ColumnStarts(pages, rows, 12 * pages.Unit());
    // The signs' heading and the total in bold.
    Table(pages, {rows.begin(), rows.end() - 1}, columns, true);
    Table(pages, {rows.back()}, columns, true);
    pages.MoveTo(pages.Y() + pages.LineHeight(pages.TextFont()));
    return true;
}

// The panchanga at birth, seven lines.
bool PanchangaSection(Pages& pages, const Reading& reading) {
    const QFont title = pages.Font(kTitlePoints, true);
    if (!pages.Room(pages.LineHeight(title) + 8 * pages.LineHeight(pages.TextFont())))
        return false;
    pages.Line(pages.Left(), msg::kPanchangaTitle, title);
    std::vector<QStringList> rows;
    for (const PanchangaItem& item : PanchangaItems(ComputePanchanga(reading)))
        rows.push_back({Latin1(item.label), Text(item.text)});
    Table(pages, rows, ColumnStarts(pages, rows, 16 * pages.Unit()), false);
    pages.MoveTo(pages.Y() + pages.LineHeight(pages.TextFont()));
    return true;
}

// The periods on a new page, or below what the page holds already.
bool PeriodPages(Pages& pages, const Reading& reading, bool newPage) {
    const Vimshottari periods = ReadingPeriods(reading);
    const QFont title = pages.Font(kTitlePoints, true);
    const double unit = pages.Unit();
    const auto date = [&reading](double minutes) {
        return Text(LongDate(LocalDateOf(minutes, reading.birth)));
    };

    // Columns of a block: the lord (sub-periods indented), where it begins, where it ends. The type
    // is made smaller, within reason, until two blocks fit across the page.
    const double indent = 10 * unit, gap = 10 * unit, columnGap = 20 * unit;
    QFont text, bold;
    double lordWidth = 0, dateWidth = 0, blockWidth = 0;
    int columns = 1;
    for (double points : kPeriodPoints) {
        text = pages.Font(points, false);
        bold = pages.Font(points, true);
        lordWidth = dateWidth = 0;
        for (const PeriodLord& lord : kNakshatraLords)
            lordWidth = std::max(lordWidth, pages.Width(bold, Latin1(Body(lord.body).english)));
        for (const MajorPeriod& major : periods) {
            for (const Period& p : major.subPeriods)
                dateWidth =
                    std::max({dateWidth, pages.Width(text, date(p.start)), pages.Width(text, date(p.end))});
            dateWidth = std::max({dateWidth, pages.Width(bold, date(major.period.start)),
                                  pages.Width(bold, date(major.period.end))});
        }
        blockWidth = indent + lordWidth + 2 * (gap + dateWidth);
        columns =
            std::max(1, static_cast<int>((pages.Area().width() + columnGap) / (blockWidth + columnGap)));
        if (columns >= 2)
            break;
    }
    const double line = pages.LineHeight(text);
    const double blockHeight = 10 * line + line / 2;

    if (newPage && !pages.Begin(false))
        return false;
    pages.Line(pages.Left(), msg::kPeriodsTitle, title);
    // What remains of the first period at birth, and the age at which each later one begins: beside
    // every row, the ages would no longer let two blocks stand across the page.
    pages.Paragraph(msg::kBalanceCaption + Latin1(BalanceText(ReadingBalance(reading))), text);
    QString ages;
    for (const MajorPeriod& major : periods)
        if (const std::optional<Age> age = AgeAt(major.period.start, reading.birth)) {
            // Each "Rahu 0 y 3 m" kept whole on one line.
            const QString entry = Latin1(std::string(Body(major.period.lord).english) + ' ' + AgeText(*age));
            ages += (ages.isEmpty() ? QString() : QStringLiteral(", ")) +
                    QString(entry).replace(' ', QChar::Nbsp);
        }
    pages.Paragraph(msg::kAgesCaption + ages, text);
    pages.MoveTo(pages.Y() + line / 2);
    double top = pages.Y();
    int column = 0;
    for (const MajorPeriod& major : periods) {
        if (pages.Y() + blockHeight > pages.Bottom() && pages.Y() > top) {
            if (++column >= columns) {
                if (!pages.Begin(false))
                    return false;
                top = pages.Y();
                column = 0;
            }
            pages.MoveTo(top);
        }
        const double x = pages.Left() + column * (blockWidth + columnGap);
        const auto row = [&](const Period& p, double lordX, const QFont& font) {
            pages.Line(lordX, Latin1(Body(p.lord).english), font, false);
            pages.Line(x + indent + lordWidth + gap, date(p.start), font, false);
            pages.Line(x + indent + lordWidth + 2 * gap + dateWidth, date(p.end), font);
        };
        row(major.period, x, bold);
        for (const Period& sub : major.subPeriods)
            row(sub, x + indent, text);
        pages.MoveTo(pages.Y() + line / 2);
    }
    return true;
}

// The moment in the birth's zone, each transiting body with its houses, and the sade sati.
bool TransitPage(Pages& pages, const Reading& reading, double moment) {
    if (!pages.Begin(false))
        return false;
    pages.Line(pages.Left(), msg::kTransitsTitle, pages.Font(kTitlePoints, true));
    const auto local = static_cast<long long>(std::floor(moment)) - ZoneMinutes(reading.birth);
    const std::chrono::sys_days day{std::chrono::floor<std::chrono::days>(std::chrono::minutes{local})};
    const long long inDay = local - day.time_since_epoch().count() * 1440;
    pages.Paragraph(Text(LongDate(std::chrono::year_month_day{day})) + ", " + QString::number(inDay / 60) +
                        ":" + Text(TwoDigits(inDay % 60)) + " " + shown::TransitZoneText(reading.birth),
                    pages.TextFont());
    const ReadingResult transit = TransitReading(reading, moment);
    if (!transit.reading) {
        pages.Paragraph(Text(transit.message), pages.TextFont());
        return true;
    }
    pages.MoveTo(pages.Y() + pages.LineHeight(pages.TextFont()) / 2);
    std::vector<QStringList> rows = {{msg::kBodyHeading, msg::kPositionHeading,
                                      QString(msg::kHouseFromLagnaHeading).replace('\n', ' '),
                                      QString(msg::kHouseFromMoonHeading).replace('\n', ' ')}};
    for (QStringList& row : shown::TransitRows(reading, *transit.reading))
        rows.push_back(std::move(row));
    Table(pages, rows, ColumnStarts(pages, rows, 20 * pages.Unit()), true);
    pages.MoveTo(pages.Y() + pages.LineHeight(pages.TextFont()) / 2);
    pages.Paragraph(shown::SadeSatiText(reading, SadeSatiAt(reading, moment)), pages.TextFont());
    return true;
}

bool PaintChart(QPrinter& printer, const Reading& reading, ChartStyle style,
                std::optional<double> transitMoment) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    Pages pages(painter, printer, reading);
    const bool painted = pages.Begin(true) && ChartPage(pages, reading, style) &&
                         VargaTable(pages, reading) && AshtakavargaTable(pages, reading) &&
                         PanchangaSection(pages, reading) && PeriodPages(pages, reading, true) &&
                         (!transitMoment || TransitPage(pages, reading, *transitMoment));
    return painter.end() && painted;
}

} // namespace

namespace shown {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::array<QStringList, 12> CellTexts(const std::array<std::vector<std::string>, 12>& cells) {
    std::array<QStringList, 12> out;
    for (std::size_t j = 0; j < cells.size(); ++j)
        for (const std::string& entry : cells[j])
            out[j] << Text(entry);
    return out;
}

BirthDetails BirthDetailTexts(const Birth& b) {
    // A time the form moved into a row's clock says which clock it is, and the place's own reading.
    const std::string moved = MovedTimeText(b);
    return {"Date of Birth: " + Latin1(MonthName(b.month)) + " " + QString::number(b.day) + ", " +
                QString::number(b.year),
            "Time of Birth: " + QString::number(b.hour) + " HH " + QString::number(b.minute) + " MM ",
            "Latitude: " + QString::number(b.latDeg) + " Degree " + QString::number(b.latMin) + " Minute",
            "Longitude: " + QString::number(b.lonDeg) + " Degree " + QString::number(b.lonMin) + " Minute",
            "City: " + Text(b.city),
            "State: " + Text(b.state),
            "Country: " + Text(b.country),
            moved.empty() ? QString() : "(" + Latin1(moved) + ")"};
}

QStringList PageHeaderLines(const Reading& reading) {
    const BirthDetails details = BirthDetailTexts(reading.birth);
    const QString gap = QStringLiteral("    ");
    QStringList lines{Text(reading.birth.name), details.date + gap + details.time};
    // The clocks of a moved time, on a line of their own as in the chart view.
    if (!details.clocks.isEmpty())
        lines << details.clocks;
    lines << details.latitude + gap + details.longitude
          << details.city + gap + details.state + gap + details.country;
    if (!CalculationCaption(reading).empty())
        lines << QStringLiteral("Calculation: ") + Text(CalculationWords(reading));
    return lines;
}

QString TransitZoneText(const Birth& birth) {
    const QString zone = birth.zoneRow >= 0 && birth.zoneRow < kTimeZoneCount
                             ? Latin1(TimeZoneTable[static_cast<std::size_t>(birth.zoneRow)].text)
                             : QString();
    return msg::kTransitZonePrefix + zone + (birth.dst ? msg::kTransitDaylightSaving : "");
}

std::vector<QStringList> TransitRows(const Reading& birth, const Reading& transit) {
    std::vector<QStringList> rows;
    for (std::size_t i = 0; i < kGrahaSlots; ++i) {
        const auto slot = static_cast<BodySlot>(i);
        const PositionRow row = PositionOf(slot, transit.Longitude(slot));
        const int sign = transit.Sign(slot);
        QString name = Latin1(Body(slot).english);
        if (transit.Retrograde(slot))
            name += QString(" ") + msg::kRetrogradeShown;
        // Degrees and minutes within the sign, cut as the positions table cuts them, and the sign.
        const QString position = QString("%1\u00B0 %2' %3")
                                     .arg(row.degrees)
                                     .arg(row.minutes, 2, 10, QChar('0'))
                                     .arg(Latin1(kSigns[static_cast<std::size_t>(row.sign)].code));
        rows.push_back({name, position, QString::number(HouseFromSign(sign, birth.LagnaSign())),
                        QString::number(HouseFromSign(sign, birth.Sign(BodySlot::Moon)))});
    }
    return rows;
}

QString SadeSatiText(const Reading& birth, const SadeSatiSearch& search) {
    if (!search.message.empty())
        return Text(search.message);
    if (!search.cycle)
        return msg::kNoSadeSati;
    return msg::kSadeSatiFrom + Text(LongDate(LocalDateOf(search.cycle->start, birth.birth))) +
           msg::kSadeSatiTo + Text(LongDate(LocalDateOf(search.cycle->end, birth.birth)));
}

} // namespace shown

bool PrintChart(const Reading& reading, QPrinter& printer, ChartStyle style, QString* reason,
                std::optional<double> transitMoment) {
    return PrintWhole(
        printer,
        [&reading, style, transitMoment](QPrinter& p) {
            return PaintChart(p, reading, style, transitMoment);
        },
        reason);
}
