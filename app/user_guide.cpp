#include "user_guide.h"

#include "links.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString UserGuideFile(const QString& ProgramDir, const QLocale& Language)
{
    if (ProgramDir.isEmpty())
        return {};
    const QDir program(ProgramDir);
    const QStringList names = {QStringLiteral("guide-%1.html").arg(Language.name()),
                               QStringLiteral("guide-%1.html").arg(Language.name().section(u'_', 0, 0)),
                               QStringLiteral("guide.html")};
    for (const QString& folder : {program.path(), program.filePath(QStringLiteral(QRL_GUIDE_FROM_PROGRAM))}) {
        const QDir dir(folder);
        if (!QFileInfo(dir.filePath(QStringLiteral("guide.html"))).isFile())
            continue;
        for (const QString& name : names)
            if (QFileInfo(dir.filePath(name)).isFile())
                return QDir::cleanPath(dir.filePath(name));
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
