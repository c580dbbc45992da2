#include "start_options.h"

#include <QFileInfo>

namespace {

bool isSwitch(const QString& arg)
{
    if (arg.startsWith(u'-'))
        return true;
    // "/co" is the old spelling of "-co"; "/photo.jpg" in the root folder is a photo.
    return arg.startsWith(u'/') && arg.indexOf(u'/', 1) < 0 && !QFileInfo::exists(arg);
}

}  // namespace

TStartOptions ParseStartOptions(const QStringList& Args)
{
    TStartOptions options;
    for (const QString& arg : Args) {
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            options.Help = true;
        else if (arg == QLatin1String("--version"))
            options.Version = true;
        else if (options.Photo.isEmpty() && !arg.isEmpty() && !isSwitch(arg))
            options.Photo = arg;
    }
    return options;
}

QString StartUsage()
{
    return QStringLiteral(
        "Usage: quorlo [PHOTO.jpg] [-co]\n"
        "\n"
        "Turns one portrait photo into a printed sheet of identity photos.\n"
        "\n"
        "  PHOTO.jpg   start with this photo loaded, as \"Load Picture\" loads it\n"
        "  -co         write the original-language file QRL_ORIGINAL.SPK from the\n"
        "              interface's texts into the language folder, or into\n"
        "              $XDG_DATA_HOME/quorlo/lang/ when that folder is not the\n"
        "              program's own or not writable, then start as usual\n"
        "  --help      show this help and exit\n"
        "  --version   show the version and exit\n"
        "\n"
        "Without a window: quorlo-sheet --help.\n");
}
