#pragma once

// The desktop as the tests of opened addresses need it.

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
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

/// Answers the next message that shows an address for copying
/// ("address_msg"): keeps its text and whether it can be selected.
class AddressMessageCatcher {
public:
    AddressMessageCatcher()
    {
        FPoll.setInterval(5);
        QObject::connect(&FPoll, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box->objectName() != QStringLiteral("address_msg"))
                return;
            FPoll.stop();
            Shown = box->text();
            Selectable = box->textInteractionFlags().testFlag(Qt::TextSelectableByMouse);
            box->accept();
        });
        FPoll.start();
    }

    QString Shown;
    bool Selectable = false;

private:
    QTimer FPoll;
};
