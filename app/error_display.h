#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

/// Shows an error's message to the user: a message box over `Parent` unless
/// replaced (tests collect the messages instead).
using TErrorDisplay = std::function<void(QWidget* Parent, const QString& Message)>;

/// Installs the display; an empty one restores the message box. Returns the
/// one it replaces.
TErrorDisplay SetErrorDisplay(TErrorDisplay display);

void ShowErrorMessage(QWidget* Parent, const QString& Message);
/// The same for something done with a reservation the user must know of:
/// a warning box, or the installed display.
void ShowWarningMessage(QWidget* Parent, const QString& Message);

/// Asks Question over Parent with two buttons, Yes and No (their texts,
/// with access keys); No is the default and the answer of Escape. True for
/// Yes. The buttons are named yes_btn and no_btn.
bool AskQuestion(QWidget* Parent, const QString& Question, const QString& Yes, const QString& No);

/// The message of the exception being handled (the product's text for the
/// program's own errors).
QString CurrentExceptionMessage();

/// Runs an event handler's work; an error it raises is shown and the
/// operation ends there, as the application's default error display does.
/// Errors must not leave an event handler: the toolkit cannot unwind them.
template <typename Work>
void ReportErrors(QWidget* Parent, Work&& work)
{
    try {
        work();
    } catch (...) {
        ShowErrorMessage(Parent, CurrentExceptionMessage());
    }
}
