#include "ui/qt/artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace shareseek::artwork {
namespace {

// A magnifying glass with its lens centred at (cx, cy).
void drawMagnifier(QPainter& p, qreal cx, qreal cy, qreal radius, const QColor& rim,
                   const QColor& glass) {
    p.setPen(QPen(rim, radius * 0.35, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(glass);
    p.drawEllipse(QPointF(cx, cy), radius, radius);
    const qreal reach = radius * 0.75;
    p.setPen(QPen(rim, radius * 0.55, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx + reach, cy + reach), QPointF(cx + radius * 1.8, cy + radius * 1.8));
}

} // namespace

QIcon windowIcon() {
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A cloud, the share sites' home, with a magnifier over it.
    QPainterPath cloud;
    cloud.addEllipse(QRectF(4, 14, 20, 20));
    cloud.addEllipse(QRectF(14, 6, 24, 24));
    cloud.addEllipse(QRectF(26, 16, 18, 18));
    cloud.addRoundedRect(QRectF(8, 22, 34, 14), 7, 7);
    p.setPen(QPen(QColor(30, 90, 170), 2));
    p.setBrush(QColor(120, 185, 245));
    p.drawPath(cloud.simplified());
    drawMagnifier(p, 28, 28, 8, QColor(40, 40, 40), QColor(255, 255, 255, 200));
    return QIcon(pixmap);
}

QPixmap magnifier(bool hovered) {
    QPixmap pixmap(20, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawMagnifier(p, 8, 6.5, 4.5, hovered ? QColor(0, 110, 220) : QColor(70, 70, 70),
                  hovered ? QColor(210, 235, 255) : QColor(235, 235, 235));
    return pixmap;
}

} // namespace shareseek::artwork
