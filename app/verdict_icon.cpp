#include "verdict_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap mark(TVerdict verdict, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor disc = verdict == TVerdict::Pass   ? QColor(30, 150, 60)
                        : verdict == TVerdict::Warn ? QColor(230, 150, 0)
                                                    : QColor(200, 30, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(QRectF(0.5, 0.5, side - 1, side - 1));
    p.setPen(QPen(Qt::white, side / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const double s = side;
    switch (verdict) {
    case TVerdict::Pass: {
        QPainterPath tick;
        tick.moveTo(0.27 * s, 0.52 * s);
        tick.lineTo(0.44 * s, 0.69 * s);
        tick.lineTo(0.74 * s, 0.34 * s);
        p.drawPath(tick);
        break;
    }
    case TVerdict::Warn:
        p.drawLine(QPointF(0.5 * s, 0.24 * s), QPointF(0.5 * s, 0.58 * s));
        p.drawPoint(QPointF(0.5 * s, 0.76 * s));
        break;
    case TVerdict::Fail:
        p.drawLine(QPointF(0.32 * s, 0.32 * s), QPointF(0.68 * s, 0.68 * s));
        p.drawLine(QPointF(0.68 * s, 0.32 * s), QPointF(0.32 * s, 0.68 * s));
        break;
    }
    return pixmap;
}

}  // namespace

QIcon VerdictIcon(TVerdict Verdict)
{
    QIcon icon;
    for (int side : {16, 24, 32, 48})
        icon.addPixmap(mark(Verdict, side));
    return icon;
}
