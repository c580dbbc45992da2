#include "user_guide.h"

#include "links.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString UserGuideFile(const QString& ProgramDir)
{
    if (ProgramDir.isEmpty())
        return {};
    const QDir program(ProgramDir);
    for (const QString& candidate : {program.filePath(QStringLiteral("guide.html")),
                                     program.filePath(QStringLiteral(QRL_GUIDE_FROM_PROGRAM "/guide.html"))}) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return {};
}

void OpenUserGuide(QWidget* Parent, const QString& ProgramDir)
{
    const QString guide = UserGuideFile(ProgramDir);
    if (guide.isEmpty())
        OpenAddressOrShowIt(Parent, Links::kHelp);
    else
        OpenAddressOrShowIt(Parent, QUrl::fromLocalFile(guide));
}
