#include "flag_art.h"

#include "flag_bitmap.h"
#include "lang_tool.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

QColor colour(const QString& text, const QString& shape)
{
    const QColor c = QColor::fromString(text);
    if (!text.startsWith(u'#') || text.size() != 7 || !c.isValid())
        throw ELangTool(QStringLiteral("flag: \"%1\" in \"%2\" is not a colour #RRGGBB").arg(text, shape));
    return c;
}

double number(const QString& text, const QString& shape)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || v < -64 || v > 64)
        throw ELangTool(QStringLiteral("flag: \"%1\" in \"%2\" is not a small number").arg(text, shape));
    return v;
}

/// Band i of n over `length` pixels: its first pixel and its end.
std::pair<int, int> band(int i, int n, int length)
{
    return {int(std::lround(double(i) * length / n)), int(std::lround(double(i + 1) * length / n))};
}

void drawShape(QPainter& p, QImage& image, const QString& shape)
{
    const QStringList w = shape.split(u' ', Qt::SkipEmptyParts);
    const QString kind = w.value(0);
    const auto expect = [&](qsizetype words) {
        if (w.size() != words)
            throw ELangTool(QStringLiteral("flag: \"%1\" needs %2 values").arg(shape).arg(words - 1));
    };
    if (kind == QLatin1String("field")) {
        expect(2);
        image.fill(colour(w[1], shape));
    } else if (kind == QLatin1String("hstripes") || kind == QLatin1String("vstripes")) {
        if (w.size() < 2)
            throw ELangTool(QStringLiteral("flag: \"%1\" names no colour").arg(shape));
        const bool horizontal = kind.startsWith(u'h');
        const int n = int(w.size()) - 1;
        for (int i = 0; i < n; ++i) {
            const auto [from, to] = band(i, n, horizontal ? kFlagHeight : kFlagWidth);
            const QColor c = colour(w[i + 1], shape);
            if (horizontal)
                p.fillRect(0, from, kFlagWidth, to - from, c);
            else
                p.fillRect(from, 0, to - from, kFlagHeight, c);
        }
    } else if (kind == QLatin1String("rect")) {
        expect(6);
        p.fillRect(QRectF(number(w[1], shape), number(w[2], shape), number(w[3], shape), number(w[4], shape)),
                   colour(w[5], shape));
    } else if (kind == QLatin1String("disc")) {
        expect(5);
        const double r = number(w[3], shape);
        p.setPen(Qt::NoPen);
        p.setBrush(colour(w[4], shape));
        p.drawEllipse(QPointF(number(w[1], shape), number(w[2], shape)), r, r);
    } else if (kind == QLatin1String("diamond")) {
        expect(6);
        const double cx = number(w[1], shape), cy = number(w[2], shape);
        const double rx = number(w[3], shape), ry = number(w[4], shape);
        QPainterPath path;
        path.moveTo(cx, cy - ry);
        path.lineTo(cx + rx, cy);
        path.lineTo(cx, cy + ry);
        path.lineTo(cx - rx, cy);
        path.closeSubpath();
        p.fillPath(path, colour(w[5], shape));
    } else {
        throw ELangTool(QStringLiteral("flag: unknown shape \"%1\"").arg(kind));
    }
}

QString hex(QRgb c)
{
    return QColor(c).name().toUpper();
}

}  // namespace

QImage DrawFlag(const QString& description)
{
    const QString text = description.trimmed();
    if (text.startsWith(QLatin1String("bmp "))) {
        try {
            return BitmapFromBmpBytes(QByteArray::fromBase64(text.mid(4).toLatin1()));
        } catch (const Exception&) {
            throw ELangTool(QStringLiteral("flag: the bmp data is not a BMP picture"));
        }
    }
    QImage image(kFlagWidth, kFlagHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    // Small flags read better with soft edges on round shapes.
    p.setRenderHint(QPainter::Antialiasing);
    for (const QString& shape : text.split(u';', Qt::SkipEmptyParts))
        drawShape(p, image, shape.trimmed());
    return image;
}

QString DescribeFlag(const QImage& flag)
{
    if (flag.isNull())
        return {};
    const QImage image = flag.convertToFormat(QImage::Format_RGB32);
    if (image.width() == kFlagWidth && image.height() == kFlagHeight) {
        for (const bool horizontal : {true, false}) {
            const int length = horizontal ? kFlagHeight : kFlagWidth;
            for (int n = 1; n <= 8; ++n) {
                QString text = horizontal ? QStringLiteral("hstripes") : QStringLiteral("vstripes");
                for (int i = 0; i < n; ++i) {
                    const int at = band(i, n, length).first;
                    text += u' ' + hex(horizontal ? image.pixel(0, at) : image.pixel(at, 0));
                }
                if (n == 1)
                    text = QStringLiteral("field ") + hex(image.pixel(0, 0));
                if (DrawFlag(text) == image)
                    return text;
            }
        }
    }
    QByteArray bytes = BmpBytesOfBitmap(flag);
    return QStringLiteral("bmp ") + QString::fromLatin1(bytes.toBase64());
}
