#include "on_screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QPoint KeptInside(const QRect& Area, const QPoint& At, const QSize& Size)
{
    const int x = std::clamp(At.x(), Area.left(), std::max(Area.left(), Area.right() + 1 - Size.width()));
    const int y = std::clamp(At.y(), Area.top(), std::max(Area.top(), Area.bottom() + 1 - Size.height()));
    return {x, y};
}

void PlaceOnScreen(QWidget& Window, const QWidget* Over)
{
    QPoint at = Window.pos();
    if (Over && Over != &Window)
        at = Over->frameGeometry().center() - Window.rect().center();
    const QScreen* screen = Over ? Over->screen() : Window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        at = KeptInside(screen->availableGeometry(), at, Window.size());
    Window.move(at);
}
