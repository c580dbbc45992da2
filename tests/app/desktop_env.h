#pragma once

// The desktop as the tests of opened addresses need it.

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

/// Takes the addresses the desktop is asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QStringList Opened;
public slots:
    void open(const QUrl& url) { Opened << url.toString(); }
};

/// A desktop without a browser or mail program for one scope: nothing to
/// run on the path, no BROWSER.
class NoDesktopPrograms {
public:
    NoDesktopPrograms() : FPath(qgetenv("PATH")), FBrowser(qgetenv("BROWSER"))
    {
        qputenv("PATH", QFile::encodeName(FEmptyPath.path()));
        qunsetenv("BROWSER");
    }
    ~NoDesktopPrograms()
    {
        qputenv("PATH", FPath);
        if (!FBrowser.isNull())
            qputenv("BROWSER", FBrowser);
    }
    NoDesktopPrograms(const NoDesktopPrograms&) = delete;
    NoDesktopPrograms& operator=(const NoDesktopPrograms&) = delete;

private:
    QTemporaryDir FEmptyPath;
    QByteArray FPath;
    QByteArray FBrowser;
};
