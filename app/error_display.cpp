#include "error_display.h"

#include "exception.h"
#include "messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

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

bool AskQuestion(QWidget* Parent, const QString& Question, const QString& Yes, const QString& No)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), Question, QMessageBox::NoButton,
                    Parent);
    QPushButton* yes = box.addButton(Yes, QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(No, QMessageBox::RejectRole);
    yes->setObjectName(QStringLiteral("yes_btn"));
    no->setObjectName(QStringLiteral("no_btn"));
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
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
