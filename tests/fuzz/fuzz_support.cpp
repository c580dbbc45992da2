#include "fuzz_support.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

void EnsureFuzzApplication()
{
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Settings written by the code under test stay in the fuzz folder.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(FuzzFolder() + "/config"));
        qputenv("QRL_SYSTEM_CONFIG_DIR", QFile::encodeName(FuzzFolder() + "/machine"));
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    (void)app;
}

QString FuzzFolder()
{
    static QTemporaryDir dir;
    return dir.path();
}

QString WriteFuzzFile(const QString& name, const QByteArray& bytes)
{
    const QString path = FuzzFolder() + '/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();   // the fuzz folder itself failing is no finding
    return path;
}
