#include "links.h"

#include "messages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

bool OpenAddress(const char* address)
{
    return QDesktopServices::openUrl(QUrl(QString::fromLatin1(address)));
}

void OpenAddressOrShowIt(QWidget* Parent, const char* address)
{
    OpenAddressOrShowIt(Parent, QUrl(QString::fromLatin1(address)));
}

void OpenAddressOrShowIt(QWidget* Parent, const QUrl& address)
{
    if (QDesktopServices::openUrl(address))
        return;
    // Without a browser or mail program a click would do nothing visible:
    // the user gets the address to take elsewhere.
    QString shown = address.isLocalFile() ? address.toLocalFile() : address.toString();
    shown.remove(QRegularExpression(QStringLiteral("^mailto:")));
    QMessageBox box(QMessageBox::Information, QCoreApplication::applicationName(),
                    MessageText(Msg::kNoAddressHandler) + QStringLiteral("\n\n") + shown,
                    QMessageBox::Ok, Parent);
    box.setObjectName(QStringLiteral("address_msg"));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}
