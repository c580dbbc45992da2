#include "window_sizes.h"

#include "registry.h"

#include <QScreen>
#include <QWidget>

namespace {

const QString kSettingsKey = QStringLiteral("Software\\Varnel\\Quorlo");

}  // namespace

QSize RememberedWindowSize(const QString& Name)
{
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(kSettingsKey))
        return {};
    return {registry.ReadInteger(Name + QStringLiteral("WindowWidth")).value_or(0),
            registry.ReadInteger(Name + QStringLiteral("WindowHeight")).value_or(0)};
}

void RememberWindowSize(const QString& Name, const QSize& Size)
{
    TRegistry registry;
    if (registry.OpenKey(kSettingsKey, true)) {
        registry.WriteInteger(Name + QStringLiteral("WindowWidth"), Size.width());
        registry.WriteInteger(Name + QStringLiteral("WindowHeight"), Size.height());
    }
}

QSize FittedWindowSize(const QSize& Wanted, const QSize& Least, const QSize& Screen, const QSize& First)
{
    QSize size = Wanted.isValid() && !Wanted.isEmpty() ? Wanted : First;
    if (Screen.isValid() && !Screen.isEmpty())
        size = size.boundedTo(Screen);
    return size.expandedTo(Least);
}

void RestoreWindowSize(QWidget& Window, const QString& Name, const QSize& First, const QWidget* Over)
{
    const QScreen* screen = Over ? Over->screen() : Window.screen();
    Window.resize(FittedWindowSize(RememberedWindowSize(Name), Window.minimumSizeHint(),
                                   screen ? screen->availableGeometry().size() : QSize(), First));
}
