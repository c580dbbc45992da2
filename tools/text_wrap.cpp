#include "text_wrap.h"

#include <QTextBoundaryFinder>

namespace {

// The blocks a terminal draws two columns wide: Hangul Jamo, the CJK
// blocks with kana and Hangul syllables, the compatibility ideographs and
// forms, and the fullwidth forms.
bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0xA4CF)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
        || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

int TerminalColumns(const QString& Text)
{
    int columns = 0;
    for (const char32_t c : Text.toUcs4())
        columns += isWide(c) ? 2 : 1;
    return columns;
}

QStringList WrapText(const QString& Text, int Width)
{
    QStringList lines;
    QString line;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, Text);
    qsizetype start = 0;
    while (breaks.toNextBoundary() >= 0) {
        const qsizetype end = breaks.position();
        // Western text breaks at spaces only: never inside "--paper" or
        // "head-size"; East Asian text wherever Unicode allows.
        if (end < Text.size() && !Text.at(end - 1).isSpace() && !isWide(Text.at(end - 1).unicode())
            && !isWide(Text.at(end).unicode()))
            continue;
        // A piece ends with the spaces before its break, which a line end drops.
        const QString piece = Text.mid(start, end - start);
        start = end;
        if (!line.isEmpty() && TerminalColumns(line + piece.trimmed()) > Width) {
            lines << line.trimmed();
            line.clear();
        }
        line += piece;
    }
    if (!line.trimmed().isEmpty())
        lines << line.trimmed();
    return lines;
}
