// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/Icons.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>

namespace {

using Drawing = std::function<void(QPainter&)>;

// Draws on a logical canvas of `width` by `height` at each scale.
QIcon Render(int width, int height, const Drawing& draw, std::initializer_list<int> scales) {
    QIcon icon;
    for (int scale : scales) {
        QPixmap pixmap(width * scale, height * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing, scale > 1);
        painter.scale(scale, scale);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void DrawNew(QPainter& p) {
    QPainterPath page;
    page.moveTo(3.5, 0.5);
    page.lineTo(10.5, 0.5);
    page.lineTo(13.5, 3.5);
    page.lineTo(13.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(220, 220, 220));
    p.drawPolygon(QPolygonF({QPointF(10.5, 0.5), QPointF(10.5, 3.5), QPointF(13.5, 3.5)}));
    p.setPen(QPen(QColor(150, 170, 200), 1));
    for (double y : {6.5, 8.5, 10.5, 12.5})
        p.drawLine(QPointF(5.5, y), QPointF(11.5, y));
}

void DrawSave(QPainter& p) {
    p.setPen(QPen(QColor(20, 40, 90), 1));
    p.setBrush(QColor(50, 90, 170));
    p.drawRoundedRect(QRectF(1.5, 0.5, 13, 14), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 1, 8, 6));
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(5, 10, 6, 4.5));
    p.setBrush(QColor(50, 90, 170));
    p.drawRect(QRectF(6, 11, 1.5, 2.5));
}

void DrawPrint(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 0.5, 7, 5));
    p.setBrush(QColor(170, 170, 175));
    p.drawRoundedRect(QRectF(0.5, 5.5, 15, 6), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 9.5, 9, 5));
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.drawLine(QPointF(5, 11.5), QPointF(11, 11.5));
    p.drawLine(QPointF(5, 13), QPointF(10, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 170, 60));
    p.drawRect(QRectF(12, 7, 2, 1.5));
}

void DrawHelp(QPainter& p) {
    p.setPen(QPen(QColor(20, 60, 130), 1));
    p.setBrush(QColor(40, 110, 200));
    p.drawEllipse(QRectF(0.5, 0, 15, 15));
    QFont font("DejaVu Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0.5, 0, 15, 15), Qt::AlignCenter, "?");
}

void DrawChart(QPainter& p) {
    // 16 by 16: a gold square with the twelve border cells.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 205, 95));
    p.drawRect(QRectF(0, 0, 16, 16));
    p.setBrush(QColor(255, 244, 214));
    p.drawRect(QRectF(4, 4, 8, 8));
    QPen pen(QColor(140, 30, 30), 1);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 15, 15));
    for (double v : {4.5, 11.5}) {
        p.drawLine(QPointF(0.5, v), QPointF(15.5, v));
        p.drawLine(QPointF(v, 0.5), QPointF(v, 15.5));
    }
    p.drawLine(QPointF(8, 0.5), QPointF(8, 4.5));
    p.drawLine(QPointF(8, 11.5), QPointF(8, 15.5));
    p.drawLine(QPointF(0.5, 8), QPointF(4.5, 8));
    p.drawLine(QPointF(11.5, 8), QPointF(15.5, 8));
}

} // namespace

namespace {

// The icons, drawn once for the application and going with it. An icon drawn again for every window
// would be new pixmaps each time, and the style's pixmap cache would keep the copies of each that it
// draws, so the program would grow with every reading.
class IconCache : public QObject {
  public:
    using QObject::QObject;
    std::optional<QIcon> app;
    std::map<QString, QIcon> toolbar;
};

IconCache* Cache() {
    // Emptied when the application goes, with the cache.
    static QPointer<IconCache> cache;
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return nullptr;
    if (!cache)
        cache = new IconCache(application);
    return cache;
}

QIcon DrawToolbarIcon(const QString& key) {
    const std::pair<const char*, void (*)(QPainter&)> drawings[] = {
        {"New", DrawNew}, {"Save", DrawSave}, {"Print", DrawPrint}, {"Help", DrawHelp}};
    for (const auto& [name, draw] : drawings)
        if (key == QLatin1String(name))
            return Render(16, 15, draw, {1, 2});
    return {};
}

} // namespace

QIcon AppIcon() {
    IconCache* cache = Cache();
    if (!cache)
        return Render(16, 16, DrawChart, {1, 2, 3, 4});
    if (!cache->app)
        cache->app = Render(16, 16, DrawChart, {1, 2, 3, 4});
    return *cache->app;
}

QIcon ToolbarIcon(const QString& key) {
    IconCache* cache = Cache();
    if (!cache)
        return DrawToolbarIcon(key);
    const auto found = cache->toolbar.find(key);
    if (found != cache->toolbar.end())
        return found->second;
    return cache->toolbar.emplace(key, DrawToolbarIcon(key)).first->second;
}
