#pragma once

#include <QString>
#include <QStringList>

/// Terminal columns `Text` takes: two for each East Asian wide or fullwidth
/// character, one for any other.
int TerminalColumns(const QString& Text);

/// `Text` broken into lines of at most `Width` terminal columns, only where
/// Unicode allows a line break: between words, and between most East Asian
/// characters. A word wider than `Width` keeps a line of its own. Lines carry
/// no trailing spaces; no text gives no lines.
QStringList WrapText(const QString& Text, int Width);
