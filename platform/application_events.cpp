#include "application_events.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

#include <vector>

namespace {

struct Dispatcher {
    std::vector<TApplicationEvents*> components;   // in creation order
    bool activated = false;
    bool connected = false;
};

Dispatcher& dispatcher()
{
    static Dispatcher d;
    return d;
}

void connectToPlatform()
{
    Dispatcher& d = dispatcher();
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (d.connected || !app)
        return;
    d.connected = true;
    QObject::connect(app, &QGuiApplication::applicationStateChanged, app,
                     [](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             TApplicationEvents::Activate();
                     });
}

}  // namespace

TApplicationEvents::TApplicationEvents(QObject* owner) : QObject(owner)
{
    dispatcher().components.push_back(this);
    connectToPlatform();
}

TApplicationEvents::~TApplicationEvents()
{
    auto& list = dispatcher().components;
    std::erase(list, this);
}

void TApplicationEvents::Activate()
{
    Dispatcher& d = dispatcher();
    d.activated = true;
    // A handler may free components (or create them): walk a guarded copy.
    std::vector<QPointer<TApplicationEvents>> targets(d.components.rbegin(), d.components.rend());
    for (const QPointer<TApplicationEvents>& target : targets)
        if (target && target->OnActivate)
            target->OnActivate(*target);
}

void TApplicationEvents::MainFormShown()
{
    QTimer::singleShot(0, [] {
        if (!dispatcher().activated)
            Activate();
    });
}

void TApplicationEvents::ForgetActivation()
{
    dispatcher().activated = false;
}
