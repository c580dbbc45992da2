#pragma once

#include "frame.h"

#include <Qt>

#include <optional>

/// What the framing window edits, without the window: a photo's size, the
/// format's rule, the frame (none: the whole photo is printed) and the head
/// where one was found. Moving and zooming work on the frame the user sees:
/// with no frame, that is the whole-photo frame.
class TFrameEditor {
public:
    TFrameEditor(int PhotoWidth, int PhotoHeight, const THeadRule& Rule, std::optional<TFrame> Frame);

    const THeadRule& Rule() const { return *FRule; }
    int PhotoWidth() const { return FWidth; }
    int PhotoHeight() const { return FHeight; }

    /// The chosen frame; none for the whole photo.
    const std::optional<TFrame>& Frame() const { return FFrame; }
    /// The frame drawn: the chosen one, or the whole-photo frame.
    TFrame Shown() const;
    /// The smallest frame of the rule's aspect that holds the whole photo,
    /// centred on it.
    TFrame WholePhoto() const;

    /// Moves the shown frame by (Dx, Dy) photo pixels; it becomes the chosen frame.
    void Move(double Dx, double Dy);
    /// Zoom 1 shows the whole photo; 2 a frame half as high, about the same
    /// centre. Kept within kMinZoom..kMaxZoom.
    double Zoom() const;
    void SetZoom(double Value);
    /// The framing window's keys: an arrow moves the shown frame by Step
    /// photo pixels that way (with Shift ten times as far), + (or =) and -
    /// zoom in and out by kZoomStep. False, with nothing changed, for any
    /// other key.
    bool PressKey(int Key, Qt::KeyboardModifiers Modifiers, double Step);
    /// "Whole photo": no frame.
    void Clear() { FFrame.reset(); }
    void SetFrame(const std::optional<TFrame>& Frame) { FFrame = Frame; }

    /// After the photo was turned a quarter: its sides swap, the frame goes
    /// and the head must be found again.
    void PhotoTurned();

    const std::optional<THead>& Head() const { return FHead; }
    void SetHead(const std::optional<THead>& Head) { FHead = Head; }
    /// The head check of the shown frame, when a head is known.
    std::optional<THeadCheck> Check() const;
    /// Below kMinPrintPixelsPerInch for the shown frame.
    bool LowResolution() const;

    static constexpr double kMinZoom = 1.0;
    static constexpr double kMaxZoom = 10.0;
    /// One key press or wheel notch zooms by a tenth.
    static constexpr double kZoomStep = 1.1;

private:
    int FWidth;
    int FHeight;
    const THeadRule* FRule;
    std::optional<TFrame> FFrame;
    std::optional<THead> FHead;
};
