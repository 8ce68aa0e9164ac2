#include "main_window/logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QPixmap SondrelLogo(int size)
{
    QPixmap p(size, size);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fall(0, 0, 0, size);
    fall.setColorAt(0, QColor(10, 20, 90));
    fall.setColorAt(1, QColor(0, 0, 20));
    g.setBrush(fall);
    g.setPen(Qt::NoPen);
    g.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    // a few waterfall traces
    for (int i = 0; i < 6; ++i) {
        const double y = size * (0.55 + i * 0.07);
        g.setPen(QPen(QColor(255, 200 - i * 25, 0, 200 - i * 25), size / 40.0));
        g.drawLine(QPointF(size * 0.46, y), QPointF(size * 0.54, y));
    }
    // the signal peak
    QPainterPath peak;
    peak.moveTo(size * 0.08, size * 0.5);
    peak.lineTo(size * 0.38, size * 0.48);
    peak.cubicTo(size * 0.46, size * 0.45, size * 0.46, size * 0.12, size * 0.5, size * 0.12);
    peak.cubicTo(size * 0.54, size * 0.12, size * 0.54, size * 0.45, size * 0.62, size * 0.48);
    peak.lineTo(size * 0.92, size * 0.5);
    g.setPen(QPen(QColor(120, 255, 120), size / 24.0));
    g.setBrush(Qt::NoBrush);
    g.drawPath(peak);
    return p;
}
