#include "links.h"

#include <QDesktopServices>
#include <QUrl>

void OpenAddress(const char* address)
{
    // The result is of no use to anyone: a missing mail program or browser
    // is the desktop's business, not an error of this program.
    (void)QDesktopServices::openUrl(QUrl(QString::fromLatin1(address)));
}
