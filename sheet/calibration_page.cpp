#include "calibration_page.h"

#include "messages.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kRulerMm = 100;
constexpr double kInsetMm = 10;
constexpr double kLineMm = 0.2;
constexpr double kTextMm = 3;

// A length in device pixels, rounded: tick k stands at the nearest pixel to
// k mm, so no error builds up along the ruler.
int Px(double mm, int dpi)
{
    return static_cast<int>(std::lround(mm * dpi / 25.4));
}

double TickMm(int mm)
{
    return mm % 10 == 0 ? 5.0 : mm % 5 == 0 ? 3.5 : 2.0;
}

}  // namespace

TCalibrationRulers DrawCalibrationPage(QPainter& painter, int dpiX, int dpiY, int offsetX, int offsetY)
{
    dpiX = std::max(dpiX, 1);
    dpiY = std::max(dpiY, 1);
    const QPoint corner(offsetX + Px(kInsetMm, dpiX), offsetY + Px(kInsetMm, dpiY));
    const int lineX = std::max(1, Px(kLineMm, dpiX));  // width of lines running down
    const int lineY = std::max(1, Px(kLineMm, dpiY));  // height of lines running across
    const TCalibrationRulers rulers{corner, corner + QPoint(Px(kRulerMm, dpiX), 0),
                                    corner + QPoint(0, Px(kRulerMm, dpiY))};

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setPixelSize(std::max(1, Px(kTextMm, dpiY)));
    painter.setFont(font);
    const int textW = Px(8, dpiX);
    const int textH = Px(kTextMm * 1.5, dpiY);

    // The rulers' base lines: from the corner to the 100 mm tick, inclusive.
    painter.fillRect(QRect(corner.x(), corner.y(), rulers.AcrossEnd.x() - corner.x() + lineX, lineY), Qt::black);
    painter.fillRect(QRect(corner.x(), corner.y(), lineX, rulers.DownEnd.y() - corner.y() + lineY), Qt::black);

    for (int mm = 0; mm <= kRulerMm; ++mm) {
        const int x = corner.x() + Px(mm, dpiX);
        const int y = corner.y() + Px(mm, dpiY);
        painter.fillRect(QRect(x, corner.y(), lineX, Px(TickMm(mm), dpiY)), Qt::black);
        painter.fillRect(QRect(corner.x(), y, Px(TickMm(mm), dpiX), lineY), Qt::black);
        if (mm % 10 != 0 || mm == 0)
            continue;
        const QString label = QString::number(mm);
        painter.drawText(QRect(x - textW / 2, corner.y() + Px(6, dpiY), textW, textH), Qt::AlignCenter, label);
        painter.drawText(QRect(corner.x() + Px(6, dpiX), y - textH / 2, textW, textH), Qt::AlignVCenter | Qt::AlignLeft,
                         label);
    }

    const int captionW = Px(60, dpiX);
    painter.drawText(QRect(corner.x() + Px(20, dpiX), corner.y() + Px(12, dpiY), captionW, textH),
                     Qt::AlignLeft | Qt::AlignVCenter, MessageText(Msg::kRulerAcross));
    painter.drawText(QRect(corner.x() + Px(16, dpiX), corner.y() + Px(50, dpiY), captionW, textH),
                     Qt::AlignLeft | Qt::AlignVCenter, MessageText(Msg::kRulerDown));
    painter.drawText(QRect(corner.x(), rulers.DownEnd.y() + Px(10, dpiY), Px(150, dpiX), textH * 3),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, MessageText(Msg::kCalibrationHint));
    painter.restore();
    return rulers;
}
