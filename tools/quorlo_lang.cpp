// quorlo-lang: the translator's tool (see lang_tool.h).
#include "C_VersionInfo.h"
#include "lang_tool.h"

#include <QCoreApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Flags are drawn with QPainter on images: no display is needed.
    QCoreApplication app(argc, argv);
    TVersionInfo version;
    version.LoadFromModule();
    QByteArray out;
    QByteArray err;
    const int status = RunLangTool(app.arguments().mid(1), static_cast<std::uint32_t>(version.FileVersionInt()), out, err);
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    std::fwrite(err.constData(), 1, static_cast<size_t>(err.size()), stderr);
    return status;
}
