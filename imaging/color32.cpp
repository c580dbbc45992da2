#include "color32.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The classic desktop colours, for system colour indexes that the toolkit's
// palette has no role for, and for code that runs without an application.
TColor classicSysColor(int index)
{
    switch (index) {
    case 5: return 0x00FFFFFF;    // window
    case 8: return 0x00000000;    // window text
    case 13: return 0x00C56A31;   // highlight
    case 14: return 0x00FFFFFF;   // highlight text
    case 15: return 0x00F0F0F0;   // button face
    default: return 0x00000000;
    }
}

TColor fromQColor(const QColor& c)
{
    return (c.blue() << 16) | (c.green() << 8) | c.red();
}

}  // namespace

TColor SysColor(int index)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return classicSysColor(index);
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 5: return fromQColor(palette.color(QPalette::Base));
    case 8: return fromQColor(palette.color(QPalette::Text));
    case 13: return fromQColor(palette.color(QPalette::Highlight));
    case 14: return fromQColor(palette.color(QPalette::HighlightedText));
    case 15: return fromQColor(palette.color(QPalette::Window));
    default: return classicSysColor(index);
    }
}

TColor32 Color32(TColor color)
{
    if (color < 0)
        color = SysColor(color & 0xFF);
    const auto c = static_cast<TColor32>(color);
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
