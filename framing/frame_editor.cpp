#include "frame_editor.h"

#include <algorithm>
#include <cmath>

TFrameEditor::TFrameEditor(int PhotoWidth, int PhotoHeight, const THeadRule& Rule, std::optional<TFrame> Frame)
    : FWidth(std::max(0, PhotoWidth)), FHeight(std::max(0, PhotoHeight)), FRule(&Rule), FFrame(Frame)
{
}

TFrame TFrameEditor::WholePhoto() const
{
    const double aspect = FRule->Aspect();
    double h = FHeight;
    if (h * aspect < FWidth)
        h = FWidth / aspect;
    const double w = h * aspect;
    return TFrame{(FWidth - w) / 2, (FHeight - h) / 2, w, h};
}

TFrame TFrameEditor::Shown() const
{
    return FFrame ? *FFrame : WholePhoto();
}

void TFrameEditor::Move(double Dx, double Dy)
{
    TFrame frame = Shown();
    frame.X += Dx;
    frame.Y += Dy;
    FFrame = frame;
}

double TFrameEditor::Zoom() const
{
    const TFrame shown = Shown();
    if (!(shown.Height > 0))
        return kMinZoom;
    return WholePhoto().Height / shown.Height;
}

void TFrameEditor::SetZoom(double Value)
{
    const TFrame whole = WholePhoto();
    if (!(whole.Height > 0))
        return;
    const double zoom = std::clamp(Value, kMinZoom, kMaxZoom);
    const TFrame shown = Shown();
    const double cx = shown.CentreX();
    const double cy = shown.Y + shown.Height / 2;
    TFrame frame;
    frame.Height = whole.Height / zoom;
    frame.Width = whole.Width / zoom;
    frame.X = cx - frame.Width / 2;
    frame.Y = cy - frame.Height / 2;
    FFrame = frame;
}

bool TFrameEditor::PressKey(int Key, Qt::KeyboardModifiers Modifiers, double Step)
{
    const double step = Modifiers.testFlag(Qt::ShiftModifier) ? 10 * Step : Step;
    // Ctrl and Alt move the head's lines up and down, not the frame.
    const bool crown = Modifiers.testFlag(Qt::ControlModifier), chin = Modifiers.testFlag(Qt::AltModifier);
    if ((crown || chin) && (Key == Qt::Key_Up || Key == Qt::Key_Down)) {
        if (!FHead)
            return false;
        const double by = Key == Qt::Key_Up ? -step : step;
        return crown ? MoveLine(TLine::Crown, FHead->CrownY + by) : MoveLine(TLine::Chin, FHead->ChinY + by);
    }
    switch (Key) {
    case Qt::Key_Left: Move(-step, 0); return true;
    case Qt::Key_Right: Move(step, 0); return true;
    case Qt::Key_Up: Move(0, -step); return true;
    case Qt::Key_Down: Move(0, step); return true;
    // "=" is the plus key without Shift on many keyboards.
    case Qt::Key_Plus:
    case Qt::Key_Equal: SetZoom(Zoom() * kZoomStep); return true;
    case Qt::Key_Minus: SetZoom(Zoom() / kZoomStep); return true;
    default: return false;
    }
}

void TFrameEditor::PhotoTurned()
{
    std::swap(FWidth, FHeight);
    FFrame.reset();
    FHead.reset();
    // The lines were rows of the photo before it turned.
    FLines.reset();
}

void TFrameEditor::SetHead(const std::optional<THead>& Head)
{
    FHead = Head;
    if (FHead && FLines)
        FHead = WithLines(*FHead, *FLines);
}

void TFrameEditor::SetHeadLines(const std::optional<THeadLines>& Lines)
{
    FLines = Lines;
    if (FHead && FLines)
        FHead = WithLines(*FHead, *FLines);
}

bool TFrameEditor::MoveLine(TLine Line, double Y)
{
    if (!FHead || !std::isfinite(Y))
        return false;
    THeadLines lines{FHead->CrownY, FHead->ChinY};
    if (Line == TLine::Crown)
        lines.CrownY = std::min(Y, lines.ChinY - kMinHeadHeight);
    else
        lines.ChinY = std::max(Y, lines.CrownY + kMinHeadHeight);
    SetHeadLines(lines);
    return true;
}

std::optional<THeadCheck> TFrameEditor::Check() const
{
    if (!FHead)
        return std::nullopt;
    return CheckHead(Shown(), *FHead, *FRule);
}

bool TFrameEditor::LowResolution() const
{
    return PrintedPixelsPerInch(Shown(), *FRule) < kMinPrintPixelsPerInch;
}
