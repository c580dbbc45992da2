#include "error_display.h"

#include "exception.h"
#include "messages.h"

#include <QApplication>
#include <QMessageBox>

#include <new>

namespace {

TErrorDisplay& display()
{
    static TErrorDisplay current;
    return current;
}

}  // namespace

TErrorDisplay SetErrorDisplay(TErrorDisplay replacement)
{
    return std::exchange(display(), std::move(replacement));
}

void ShowErrorMessage(QWidget* Parent, const QString& Message)
{
    if (display()) {
        display()(Parent, Message);
        return;
    }
    QMessageBox::critical(Parent, QCoreApplication::applicationName(), Message);
}

void ShowWarningMessage(QWidget* Parent, const QString& Message)
{
    if (display()) {
        display()(Parent, Message);
        return;
    }
    QMessageBox::warning(Parent, QCoreApplication::applicationName(), Message);
}

QString CurrentExceptionMessage()
{
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message;
    } catch (const std::bad_alloc&) {
        return MessageText(Msg::kOutOfMemory);
    } catch (...) {
        // A library's own text would be in its language, not the user's.
        return MessageText(Msg::kUnexpectedError);
    }
}
