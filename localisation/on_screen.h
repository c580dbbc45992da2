#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

/// Where a window of `Size` asked to open at `At` (its top-left corner)
/// goes so that it lies inside `Area`: moved in as little as it takes; a
/// window larger than the area keeps its top-left corner on it.
QPoint KeptInside(const QRect& Area, const QPoint& At, const QSize& Size);

/// Moves `Window` centred over `Over` (the window it opens from, or none
/// for the program's main form when it has one), kept on the free area of
/// that window's screen. Every window the program opens goes through here
/// before it shows: centred over a main window in a corner of the screen,
/// a larger dialog would otherwise reach past the screen's edges.
void PlaceOnScreen(QWidget& Window, const QWidget* Over);
