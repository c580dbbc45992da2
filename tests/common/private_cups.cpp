#include "private_cups.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <chrono>
#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr auto kToolTimeout = 30s;
constexpr auto kStartTimeout = 20s;
constexpr auto kJobTimeout = 90s;

const QString kCupsPdfPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

bool writeFile(const QString& fileName, const QByteArray& data)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray tailOf(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().right(1500);
}

}  // namespace

std::optional<QString> PrivateCups::start()
{
    if (::geteuid() != 0)
        return QStringLiteral("a private CUPS scheduler needs root (it runs its filters as lp)");
    const QString cupsd = findTool(QStringLiteral("cupsd"));
    const QString lpadmin = findTool(QStringLiteral("lpadmin"));
    if (cupsd.isEmpty() || lpadmin.isEmpty() || findTool(QStringLiteral("lpstat")).isEmpty())
        return QStringLiteral("cupsd, lpadmin or lpstat is not installed (package cups)");
    if (!QFileInfo::exists(kCupsPdfPpd))
        return QStringLiteral("the cups-pdf printer description is missing (printer-driver-cups-pdf)");
    if (!dir_.isValid())
        return QStringLiteral("no temporary folder");
    // The filters run as lp and must reach the spool below this folder.
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                           | QFile::ReadGroup | QFile::ExeGroup
                                           | QFile::ReadOther | QFile::ExeOther);
    if (socket().toUtf8().size() >= 100)
        return QStringLiteral("the temporary folder's name is too long for a socket");
    if (const auto error = writeConfiguration())
        return error;

    scheduler_.setProgram(cupsd);
    scheduler_.setArguments({QStringLiteral("-f"), QStringLiteral("-c"), path("cupsd.conf"),
                             QStringLiteral("-s"), path("cups-files.conf")});
    scheduler_.setProcessChannelMode(QProcess::ForwardedChannels);
    // Never outlives the test process, however that ends.
    scheduler_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    scheduler_.start();
    if (!scheduler_.waitForStarted(5000))
        return QStringLiteral("cupsd did not start: ") + scheduler_.errorString();
    if (!waitUntilRunning())
        return QStringLiteral("cupsd did not come up; its log ends:\n")
            + QString::fromLocal8Bit(tailOf(path("error_log")));

    if (const auto error = describeQueue(testDescription()))
        return error;
    if (!runTool(lpadmin, {QStringLiteral("-d"), kQueue}))
        return QStringLiteral("lpadmin could not make the test queue the default");
    return std::nullopt;
}

PrivateCups::PpdEdit PrivateCups::a4ImageableArea(const QByteArray& area)
{
    return {"*ImageableArea A4/A4: \"0 0 595 842\"", "*ImageableArea A4/A4: \"" + area + '"'};
}

std::vector<PrivateCups::PpdEdit> PrivateCups::testDescription()
{
    // The cups-pdf printer description has no margins; a queue with
    // margins shows that the offsets reach the layout.
    return {a4ImageableArea(QStringLiteral("%1 %2 %3 %4")
                                .arg(kMarginX)
                                .arg(kMarginY)
                                .arg(595 - kMarginX)
                                .arg(842 - kMarginY)
                                .toUtf8())};
}

std::optional<QString> PrivateCups::describeQueue(const std::vector<PpdEdit>& edits) const
{
    QFile source(kCupsPdfPpd);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + kCupsPdfPpd;
    QByteArray ppd = source.readAll();
    for (const PpdEdit& edit : edits) {
        if (!ppd.contains(edit.from))
            return QStringLiteral("the cups-pdf printer description has no ") + QString::fromUtf8(edit.from);
        ppd.replace(edit.from, edit.to);
    }
    if (!writeFile(path("queue.ppd"), ppd))
        return QStringLiteral("cannot write the queue's printer description");
    const QString uri = QStringLiteral("file://") + outputFile();
    if (!runTool(findTool(QStringLiteral("lpadmin")),
                 {QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"), uri,
                  QStringLiteral("-P"), path("queue.ppd")})) {
        return QStringLiteral("lpadmin could not describe the test queue");
    }
    return std::nullopt;
}

void PrivateCups::stop()
{
    if (scheduler_.state() == QProcess::NotRunning)
        return;
    scheduler_.terminate();
    if (!scheduler_.waitForFinished(10000)) {
        scheduler_.kill();
        scheduler_.waitForFinished(5000);
    }
}

std::optional<QString> PrivateCups::runTool(const QString& program, const QStringList& args) const
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), socket());
    tool.setProcessEnvironment(env);
    tool.start(program, args);
    if (!tool.waitForFinished(std::chrono::milliseconds(kToolTimeout).count())) {
        tool.kill();
        tool.waitForFinished(5000);
        return std::nullopt;
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

std::optional<QString> PrivateCups::jobs(const char* which) const
{
    return runTool(findTool(QStringLiteral("lpstat")),
                   {QStringLiteral("-W"), QString::fromLatin1(which), QStringLiteral("-o"), kQueue});
}

bool PrivateCups::waitForCompletedJobs(int count) const
{
    const auto deadline = std::chrono::steady_clock::now() + kJobTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto pending = jobs("not-completed");
        const auto done = jobs("completed");
        if (pending && pending->trimmed().isEmpty() && done && jobCount(*done) >= count)
            return true;
        QThread::msleep(200);
    }
    return false;
}

QByteArray PrivateCups::spooledDocument(int id) const
{
    QFile file(path("spool") + QStringLiteral("/d%1-001").arg(id, 5, 10, QLatin1Char('0')));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int PrivateCups::jobCount(const QString& list)
{
    return static_cast<int>(list.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
}

QString PrivateCups::findTool(const QString& name)
{
    return QStandardPaths::findExecutable(
        name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"), QStringLiteral("/sbin"),
               QStringLiteral("/bin")});
}

std::optional<QString> PrivateCups::writeConfiguration() const
{
    for (const char* sub : {"spool", "spool/tmp", "cache", "state", "ssl"}) {
        if (!QDir().mkpath(path(sub)))
            return QStringLiteral("cannot create the scheduler's folders");
    }
    const QByteArray cupsd = "Listen " + socket().toUtf8() + "\n"
        "LogLevel warn\n"
        "Browsing No\n"
        "WebInterface No\n"
        "DefaultAuthType None\n"
        "PreserveJobFiles Yes\n"
        "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
        "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n";
    const QByteArray files = "ServerRoot " + dir_.path().toUtf8() + "\n"
        "RequestRoot " + path("spool").toUtf8() + "\n"
        "TempDir " + path("spool/tmp").toUtf8() + "\n"
        "CacheDir " + path("cache").toUtf8() + "\n"
        "StateDir " + path("state").toUtf8() + "\n"
        "ServerKeychain " + path("ssl").toUtf8() + "\n"
        "Printcap " + path("printcap").toUtf8() + "\n"
        "ErrorLog " + path("error_log").toUtf8() + "\n"
        "AccessLog " + path("access_log").toUtf8() + "\n"
        "PageLog " + path("page_log").toUtf8() + "\n"
        "FileDevice Yes\n";

    if (!writeFile(path("cupsd.conf"), cupsd) || !writeFile(path("cups-files.conf"), files)) {
        return QStringLiteral("cannot write the scheduler's configuration");
    }
    return std::nullopt;
}

bool PrivateCups::waitUntilRunning() const
{
    const QString lpstat = findTool(QStringLiteral("lpstat"));
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (scheduler_.state() == QProcess::NotRunning)
            return false;
        if (QFileInfo::exists(socket()) && runTool(lpstat, {QStringLiteral("-r")}))
            return true;
        QThread::msleep(100);
    }
    return false;
}
