#pragma once

#include <QObject>

#include <functional>

class QWidget;

/// A component that reports application-wide events to its owner; here the
/// one event the program uses: the application's activation.
///
/// The application counts as activated when it becomes the active
/// application, or, on displays without a window manager and on the offscreen
/// platform where that never happens, once the main form has been shown (the
/// activation is then queued behind the show). Every activation reaches every
/// live component, the most recently created first.
class TApplicationEvents : public QObject {
    Q_OBJECT

public:
    explicit TApplicationEvents(QObject* owner = nullptr);
    ~TApplicationEvents() override;

    /// Raised with this component as sender at every activation; a handler
    /// that wants to run once clears it.
    std::function<void(TApplicationEvents& Sender)> OnActivate;

    /// Raises an activation now, as the platform would.
    static void Activate();

    /// Tells the components that the main form was shown for the first
    /// time: queues one activation when the platform has not reported one.
    static void MainFormShown();

    /// Forgets every activation so far, as a new process starts: the next
    /// MainFormShown queues one again. For tests that start the program's
    /// forms more than once in one process.
    static void ForgetActivation();
};
