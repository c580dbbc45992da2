#include "frame_view.h"

#include "bitmap32.h"
#include "frame_editor.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// Colours of the guide bands, see through so the face shows.
const QColor kCrownBand(60, 140, 255, 90);
const QColor kChinBand(40, 200, 90, 90);
const QColor kEyeBand(255, 150, 30, 90);
const QColor kOtherFace(230, 0, 180);
const QColor kOutside(0, 0, 0, 120);
const QColor kBackground(70, 70, 70);
// A line is grabbed within this many screen pixels of it.
constexpr double kGrab = 5;
// The measured lines reach this share of the head's height either side of its centre.
constexpr double kLineHalf = 0.4;

}  // namespace

QColor TFrameView::CrownBandColour()
{
    return kCrownBand;
}

QColor TFrameView::ChinBandColour()
{
    return kChinBand;
}

QColor TFrameView::EyeBandColour()
{
    return kEyeBand;
}

QColor TFrameView::OtherFaceColour()
{
    return kOtherFace;
}

TFrameView::TFrameView(QWidget* parent) : QWidget(parent)
{
    // Tracked for the cursor over a line that can be dragged.
    setMouseTracking(true);
    setCursor(Qt::OpenHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void TFrameView::SetPhoto(const TBitmap32* Photo, TFrameEditor* Editor)
{
    FPhoto = Photo;
    FEditor = Editor;
    layoutPhoto();
    update();
}

QPointF TFrameView::ToView(double X, double Y) const
{
    return FOrigin + QPointF(X * FScale, Y * FScale);
}

// The view holds the whole photo and the whole-photo frame with a small
// margin, whatever the frame does, so that a drag never rescales the view.
void TFrameView::layoutPhoto()
{
    FScaled = QImage();
    if (!FPhoto || !FEditor || FPhoto->Empty() || width() <= 0 || height() <= 0)
        return;
    const TFrame whole = FEditor->WholePhoto();
    const double left = std::min(0.0, whole.X);
    const double top = std::min(0.0, whole.Y);
    const double right = std::max<double>(FPhoto->Width(), whole.Right());
    const double bottom = std::max<double>(FPhoto->Height(), whole.Bottom());
    const double margin = 8;
    FScale = std::min((width() - 2 * margin) / (right - left), (height() - 2 * margin) / (bottom - top));
    FScale = std::max(FScale, 1e-6);
    FOrigin = QPointF((width() - (right - left) * FScale) / 2 - left * FScale,
                      (height() - (bottom - top) * FScale) / 2 - top * FScale);
    // The photo of the bitmap's own buffer, scaled once for the screen.
    QImage source(reinterpret_cast<const uchar*>(FPhoto->Bits()), FPhoto->Width(), FPhoto->Height(),
                  FPhoto->Width() * 4, QImage::Format_RGB32);
    const QSize size(std::max(1, static_cast<int>(std::lround(FPhoto->Width() * FScale))),
                     std::max(1, static_cast<int>(std::lround(FPhoto->Height() * FScale))));
    FScaled = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (FBackground) {
        TBitmap32 shown;
        shown.Assign(FScaled);
        PutPlainBackground(shown, TFrame{0, 0, double(FPhoto->Width()), double(FPhoto->Height())}, *FBackground);
        shown.AssignTo(FScaled);
    }
}

void TFrameView::SetBackground(const std::optional<TPlainBackground>& Background)
{
    FBackground = Background;
    layoutPhoto();
    update();
}

void TFrameView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    if (FScaled.isNull() || !FEditor)
        return;

    const TFrame f = FEditor->Shown();
    const QRectF frame(ToView(f.X, f.Y), ToView(f.Right(), f.Bottom()));
    // What the cell shows beyond the photo's edges prints white, or in the
    // plain background's colour.
    p.fillRect(frame, FBackground ? QColor::fromRgb(FBackground->Colour) : QColor(Qt::white));
    p.drawImage(ToView(0, 0), FScaled);

    QPainterPath outside;
    outside.addRect(rect());
    outside.addRect(frame);
    outside.setFillRule(Qt::OddEvenFill);
    p.fillPath(outside, kOutside);

    const TGuides guides = GuidesFor(FEditor->Rule());
    // Each band is tinted and edged with its colour, so that bands stay
    // apart where they meet and over a background of the same hue.
    auto band = [&](const TRange& range, const QColor& colour) {
        const QRectF r(frame.left(), frame.top() + range.Min * frame.height(), frame.width(),
                       (range.Max - range.Min) * frame.height());
        p.fillRect(r, colour);
        QColor edge = colour;
        edge.setAlpha(255);
        p.setPen(QPen(edge, 1, Qt::DashLine));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.bottomLeft(), r.bottomRight());
    };
    band(guides.CrownBand, kCrownBand);
    band(guides.ChinBand, kChinBand);
    if (guides.EyeBand)
        band(*guides.EyeBand, kEyeBand);

    p.setPen(QPen(QColor(255, 220, 0), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    paintFaces(p);

    // The keys act on the picture only while it has the focus: say so.
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void TFrameView::SetFaces(const std::optional<THead>& Head, const std::vector<QRectF>& OtherFaces)
{
    FHead = Head;
    FOtherFaces = OtherFaces;
    update();
}

void TFrameView::SetCrownNote(const QString& Note)
{
    FCrownNote = Note;
    update();
}

std::optional<THead> TFrameView::shownHead() const
{
    if (FEditor && FEditor->Head())
        return FEditor->Head();
    return FHead;
}

std::optional<TFrameEditor::TLine> TFrameView::lineAt(QPointF At) const
{
    const std::optional<THead> head = shownHead();
    if (!head || !FEditor || !FEditor->Head())
        return std::nullopt;
    const double half = kLineHalf * head->Height();
    const QPointF left = ToView(head->CentreX - half, 0), right = ToView(head->CentreX + half, 0);
    if (At.x() < left.x() - kGrab || At.x() > right.x() + kGrab)
        return std::nullopt;
    const double crown = std::abs(At.y() - ToView(0, head->CrownY).y());
    const double chin = std::abs(At.y() - ToView(0, head->ChinY).y());
    if (std::min(crown, chin) > kGrab)
        return std::nullopt;
    return crown <= chin ? TFrameEditor::TLine::Crown : TFrameEditor::TLine::Chin;
}

// The measured head as three solid lines across the face, in the colours of
// the bands they belong in, over a dark edge that keeps them visible on any
// photo; the other faces as dashed boxes.
void TFrameView::paintFaces(QPainter& p) const
{
    if (const std::optional<THead> head = shownHead()) {
        const double half = kLineHalf * head->Height();
        auto line = [&](double y, const QColor& colour) {
            const QPointF from = ToView(head->CentreX - half, y);
            const QPointF to = ToView(head->CentreX + half, y);
            p.setPen(QPen(QColor(0, 0, 0, 160), 4));
            p.drawLine(from, to);
            QColor solid = colour;
            solid.setAlpha(255);
            p.setPen(QPen(solid, 2));
            p.drawLine(from, to);
        };
        line(head->CrownY, kCrownBand);
        line(head->ChinY, kChinBand);
        line(head->EyeY, kEyeBand);
        if (!FCrownNote.isEmpty())
            paintNote(p, ToView(head->CentreX - half, head->CrownY));
    }
    p.setPen(QPen(kOtherFace, 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    for (const QRectF& box : FOtherFaces)
        p.drawRect(QRectF(ToView(box.left(), box.top()), ToView(box.right(), box.bottom())));
}

// The note above the crown line's left end, on a dark box that keeps it
// legible on any photo, kept inside the view.
void TFrameView::paintNote(QPainter& p, QPointF LineStart) const
{
    const QFontMetricsF metrics(font());
    const QRectF text = metrics.boundingRect(FCrownNote).adjusted(-4, -2, 4, 2);
    QRectF box(LineStart.x(), LineStart.y() - text.height() - 4, text.width(), text.height());
    box.moveLeft(std::clamp(box.left(), 0.0, std::max(0.0, width() - box.width())));
    box.moveTop(std::clamp(box.top(), 0.0, std::max(0.0, height() - box.height())));
    p.fillRect(box, QColor(0, 0, 0, 190));
    QColor solid = kCrownBand;
    solid.setAlpha(255);
    p.setPen(solid.lighter(150));
    p.drawText(box, Qt::AlignCenter, FCrownNote);
}

void TFrameView::resizeEvent(QResizeEvent*)
{
    layoutPhoto();
}

void TFrameView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !FEditor)
        return;
    // On a line of the head the drag moves that line, elsewhere the frame.
    FDraggedLine = lineAt(event->position());
    FDragging = true;
    FDragFrom = event->position().toPoint();
    setCursor(FDraggedLine ? Qt::SizeVerCursor : Qt::ClosedHandCursor);
}

void TFrameView::mouseMoveEvent(QMouseEvent* event)
{
    if (!FDragging || !FEditor) {
        setCursor(lineAt(event->position()) ? Qt::SizeVerCursor : Qt::OpenHandCursor);
        return;
    }
    if (FDraggedLine) {
        FEditor->MoveLine(*FDraggedLine, (event->position().y() - FOrigin.y()) / FScale);
        update();
        emit Changed();
        return;
    }
    const QPoint at = event->position().toPoint();
    const QPoint delta = at - FDragFrom;
    FDragFrom = at;
    FEditor->Move(delta.x() / FScale, delta.y() / FScale);
    update();
    emit Changed();
}

void TFrameView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        FDragging = false;
        FDraggedLine.reset();
        setCursor(lineAt(event->position()) ? Qt::SizeVerCursor : Qt::OpenHandCursor);
    }
}

void TFrameView::wheelEvent(QWheelEvent* event)
{
    if (!FEditor)
        return;
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    FEditor->SetZoom(FEditor->Zoom() * std::pow(TFrameEditor::kZoomStep, notches));
    update();
    emit Changed();
    event->accept();
}

bool TFrameView::PressKey(const QKeyEvent& Event)
{
    // One step is one screen pixel, whatever the photo's size.
    if (!FEditor || !FEditor->PressKey(Event.key(), Event.modifiers(), 1 / FScale))
        return false;
    update();
    emit Changed();
    return true;
}

void TFrameView::keyPressEvent(QKeyEvent* event)
{
    if (PressKey(*event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}
