#pragma once

class QLabel;
class QWidget;

/// The height Label needs to show its whole text wrapped at Width, its
/// frame and margins included, whatever its present minimum height.
int WrappedTextHeight(const QLabel& Label, int Width);

/// Makes Label, which wraps its words, at least as high as its text takes at
/// its present width (WrappedTextHeight), and no less than MinLines lines: a
/// layout asks a wrapped label for no height of its own, so its last lines
/// would be cut.
void FitWrappedLabel(QLabel& Label, int MinLines = 1);

/// Keeps every label of Form that wraps its words whole (FitWrappedLabel)
/// whenever its width or its text changes, a language switch included; the
/// form's layouts then make room for the lines.
void KeepWrappedLabelsWhole(QWidget& Form);
