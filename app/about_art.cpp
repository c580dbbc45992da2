#include "about_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kDeepBlue(0x1F, 0x3A, 0x68);
const QColor kBlue(0x2E, 0x6F, 0xB7);
const QColor kSkin(0xE8, 0xC3, 0x9E);
const QColor kHair(0x4A, 0x33, 0x22);
const QColor kBackdrop(0xD7, 0xE6, 0xF5);

/// One identity photo: a pale backdrop with head and shoulders.
void drawPortrait(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBackdrop);
    p.drawRect(r);
    const qreal cx = r.center().x();
    const qreal headW = r.width() * 0.42;
    const qreal headH = r.height() * 0.40;
    const qreal headTop = r.top() + r.height() * 0.16;
    p.setBrush(kDeepBlue);
    QPainterPath shoulders;
    shoulders.moveTo(r.left() + r.width() * 0.08, r.bottom());
    shoulders.cubicTo(r.left() + r.width() * 0.10, r.top() + r.height() * 0.62,
                      r.right() - r.width() * 0.10, r.top() + r.height() * 0.62,
                      r.right() - r.width() * 0.08, r.bottom());
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.setBrush(kHair);
    p.drawEllipse(QRectF(cx - headW * 0.56, headTop - headH * 0.06, headW * 1.12, headH * 0.8));
    p.setBrush(kSkin);
    p.drawEllipse(QRectF(cx - headW / 2, headTop + headH * 0.08, headW, headH));
}

/// A white sheet with columns x rows portraits, slightly tilted by the caller.
void drawSheet(QPainter& p, const QRectF& sheet, int columns, int rows)
{
    p.setPen(QPen(QColor(0, 0, 0, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    const qreal margin = sheet.width() * 0.08;
    const qreal gap = sheet.width() * 0.05;
    const qreal w = (sheet.width() - 2 * margin - (columns - 1) * gap) / columns;
    const qreal h = w * 45.0 / 35.0;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            drawPortrait(p, QRectF(sheet.left() + margin + column * (w + gap),
                                   sheet.top() + margin + row * (h + gap), w, h));
}

QPixmap iconPixmap(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
    const qreal w = size * 0.62;
    drawSheet(p, QRectF((size - w) / 2, size * 0.1, w, size * 0.8), 2, 2);
    p.end();
    return QPixmap::fromImage(image);
}

}  // namespace

QImage AboutBanner(const QString& Tagline)
{
    QImage image(388, 96, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, 388, 96);
    band.setColorAt(0, kDeepBlue);
    band.setColorAt(1, kBlue);
    p.fillRect(image.rect(), band);

    p.save();
    p.translate(46, 48);
    p.rotate(-8);
    drawSheet(p, QRectF(-30, -40, 62, 82), 2, 2);
    p.restore();

    QFont title = p.font();
    title.setPixelSize(38);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(104, 10, 276, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quorlo"));
    QFont subtitle = p.font();
    subtitle.setPixelSize(14);
    subtitle.setBold(false);
    p.setFont(subtitle);
    p.setPen(QColor(0xDD, 0xE8, 0xF6));
    p.drawText(QRect(106, 58, 276, 24), Qt::AlignLeft | Qt::AlignVCenter, Tagline);
    p.end();
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(iconPixmap(size));
    return icon;
}
