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
    /// zoom in and out by kZoomStep; with Ctrl, Up and Down move the head's
    /// crown line instead, with Alt its chin line. False, with nothing
    /// changed, for any other key (and for a line's keys without a head).
    bool PressKey(int Key, Qt::KeyboardModifiers Modifiers, double Step);
    /// "Whole photo": no frame.
    void Clear() { FFrame.reset(); }
    void SetFrame(const std::optional<TFrame>& Frame) { FFrame = Frame; }

    /// After the photo was turned a quarter: its sides swap, the frame goes
    /// and the head must be found again.
    void PhotoTurned();

    const std::optional<THead>& Head() const { return FHead; }
    /// The measured head; the user's lines, when the head has them, stay on it.
    void SetHead(const std::optional<THead>& Head);

    /// The two lines of the head the user may move.
    enum class TLine { Crown, Chin };
    /// Puts the head's crown or chin line on photo row Y, at least
    /// kMinHeadHeight photo pixels above the chin or below the crown; from
    /// then on the head's crown and chin are the user's (HeadLines). False,
    /// with nothing changed, without a head.
    bool MoveLine(TLine Line, double Y);
    /// The user's crown and chin lines; none until one was moved or given.
    const std::optional<THeadLines>& HeadLines() const { return FLines; }
    void SetHeadLines(const std::optional<THeadLines>& Lines);
    /// The head check of the shown frame, when a head is known.
    std::optional<THeadCheck> Check() const;
    /// Below kMinPrintPixelsPerInch for the shown frame.
    bool LowResolution() const;

    static constexpr double kMinZoom = 1.0;
    static constexpr double kMaxZoom = 10.0;
    /// One key press or wheel notch zooms by a tenth.
    static constexpr double kZoomStep = 1.1;
    /// The least crown-to-chin height the user's lines keep.
    static constexpr double kMinHeadHeight = 4;

private:
    int FWidth;
    int FHeight;
    const THeadRule* FRule;
    std::optional<TFrame> FFrame;
    std::optional<THead> FHead;
    std::optional<THeadLines> FLines;
};
