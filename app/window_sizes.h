#pragma once

#include <QSize>
#include <QString>

class QWidget;

/// The size the window called Name ("Main", "Frame", ...) had when it last
/// closed, in the screen's logical pixels so that it holds at any scale
/// factor, kept beside the program's other settings as <Name>WindowWidth and
/// <Name>WindowHeight; none before that.
QSize RememberedWindowSize(const QString& Name);
void RememberWindowSize(const QString& Name, const QSize& Size);

/// The size a window opens at: Wanted (the remembered size; none: First), no
/// larger than the screen's free area, no smaller than Least (what its
/// controls need).
QSize FittedWindowSize(const QSize& Wanted, const QSize& Least, const QSize& Screen, const QSize& First);

/// Gives Window the size it had when it last closed (First the first time),
/// fitted to the free area of the screen Over is on (Window's own without
/// Over).
void RestoreWindowSize(QWidget& Window, const QString& Name, const QSize& First, const QWidget* Over = nullptr);
