#pragma once

#include "sheet_printer.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

/// Feedback while the window does long work on its own thread: a busy
/// cursor from the start, and a progress dialog over Parent once the work
/// has taken long enough to be noticed. Every step lets the windows repaint
/// (user input waits, so nothing can start twice). Both go when the object
/// does, also when an error passes.
class TWorkProgress {
public:
    explicit TWorkProgress(QWidget* Parent);
    ~TWorkProgress();
    TWorkProgress(const TWorkProgress&) = delete;
    TWorkProgress& operator=(const TWorkProgress&) = delete;

    /// Starts a stage: its text, and nothing of it done yet.
    void Stage(const QString& Text);
    /// Done of Total steps of the current stage.
    void Step(int Done, int Total);
    /// Step as a callback for the drawing and saving functions.
    TProgress Reporter();

    QProgressDialog& Dialog() { return *FDialog; }

private:
    std::unique_ptr<QProgressDialog> FDialog;
};
