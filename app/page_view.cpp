#include "page_view.h"

#include "bitmap32.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

TPageView::TPageView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPageView::SetPage(const TBitmap32* Page)
{
    FPage = Page;
    Changed();
}

void TPageView::Changed()
{
    resize(sizeHint());
    update();
}

void TPageView::SetScale(double Scale)
{
    FScale = Scale > 0 ? Scale : 1;
    Changed();
}

QSize TPageView::sizeHint() const
{
    if (!FPage || FPage->Empty())
        return {1, 1};
    return {std::max(1, static_cast<int>(std::lround(FPage->Width() * FScale))),
            std::max(1, static_cast<int>(std::lround(FPage->Height() * FScale)))};
}

void TPageView::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Dark));
    if (!FPage || FPage->Empty())
        return;
    // The page's own buffer, without a copy; only what is on screen is scaled.
    const QImage page(reinterpret_cast<const uchar*>(FPage->Bits()), FPage->Width(), FPage->Height(),
                      FPage->Width() * 4, QImage::Format_RGB32);
    const QRectF shown = QRectF(event->rect()).intersected(QRectF(QPointF(0, 0), QSizeF(sizeHint())));
    const QRectF from(shown.left() / FScale, shown.top() / FScale, shown.width() / FScale, shown.height() / FScale);
    p.setRenderHint(QPainter::SmoothPixmapTransform, FScale < 1);
    p.drawImage(shown, page, from);
}

void TPageView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QWidget::wheelEvent(event);   // the scroll area scrolls
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        emit ZoomAsked(steps);
    event->accept();
}
