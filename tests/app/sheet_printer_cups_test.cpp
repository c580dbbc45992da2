// The sheet printed on a real CUPS queue through QPrinter. Each test starts
// a private scheduler in a temporary folder (its own socket, spool, logs and
// configuration; nothing of the machine's CUPS set-up is read or changed)
// with one queue: the cups-pdf printer description, given margins, writing
// its output to a file. Where no such scheduler can run, the tests skip.
#include "sheet_printer.h"

#include "printer.h"
#include "qt_printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <optional>
#include <stdexcept>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr auto kToolTimeout = 30s;
constexpr auto kStartTimeout = 20s;
constexpr auto kJobTimeout = 90s;

const QString kQueue = QStringLiteral("QuorloTest");
const QString kCupsPdfPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

// The queue's A4 imageable area in points: 18 pt left and right, 24 pt top
// and bottom of a 595 x 842 pt sheet.
constexpr int kMarginX = 18;
constexpr int kMarginY = 24;
const QString kImageableA4 = QStringLiteral("*ImageableArea A4/A4: \"18 24 577 818\"");

QString findTool(const QString& name)
{
    return QStandardPaths::findExecutable(
        name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"), QStringLiteral("/sbin"),
               QStringLiteral("/bin")});
}

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

// A CUPS scheduler of our own, alive as long as this object (and never
// longer than this process: it gets SIGTERM when the test process dies).
class PrivateCups {
public:
    ~PrivateCups() { stop(); }

    /// Starts the scheduler with the test queue as default; a reason why
    /// not, or nothing when it runs.
    std::optional<QString> start()
    {
        if (::geteuid() != 0)
            return QStringLiteral("a private CUPS scheduler needs root (it runs its filters as lp)");
        cupsd_ = findTool(QStringLiteral("cupsd"));
        const QString lpadmin = findTool(QStringLiteral("lpadmin"));
        if (cupsd_.isEmpty() || lpadmin.isEmpty() || findTool(QStringLiteral("lpstat")).isEmpty())
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

        scheduler_.setProgram(cupsd_);
        scheduler_.setArguments({QStringLiteral("-f"), QStringLiteral("-c"), path("cupsd.conf"),
                                 QStringLiteral("-s"), path("cups-files.conf")});
        scheduler_.setProcessChannelMode(QProcess::ForwardedChannels);
        scheduler_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        scheduler_.start();
        if (!scheduler_.waitForStarted(5000))
            return QStringLiteral("cupsd did not start: ") + scheduler_.errorString();
        if (!waitUntilRunning())
            return QStringLiteral("cupsd did not come up; its log ends:\n")
                + QString::fromLocal8Bit(tailOf(path("error_log")));

        const QString uri = QStringLiteral("file://") + outputFile();
        if (!runTool(lpadmin, {QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                               uri, QStringLiteral("-P"), path("queue.ppd")})
            || !runTool(lpadmin, {QStringLiteral("-d"), kQueue})) {
            return QStringLiteral("lpadmin could not create the test queue");
        }
        return std::nullopt;
    }

    void stop()
    {
        if (scheduler_.state() == QProcess::NotRunning)
            return;
        scheduler_.terminate();
        if (!scheduler_.waitForFinished(10000)) {
            scheduler_.kill();
            scheduler_.waitForFinished(5000);
        }
    }

    QString socket() const { return path("cups.sock"); }
    QString outputFile() const { return path("page.ps"); }

    /// Runs a CUPS client tool against this scheduler; its output, or
    /// nothing when it failed or hung.
    std::optional<QString> runTool(const QString& program, const QStringList& args) const
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

    /// The queue's jobs: "not-completed" or "completed".
    std::optional<QString> jobs(const char* which) const
    {
        return runTool(findTool(QStringLiteral("lpstat")),
                       {QStringLiteral("-W"), QString::fromLatin1(which), QStringLiteral("-o"), kQueue});
    }

private:
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    std::optional<QString> writeConfiguration()
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

        QFile source(kCupsPdfPpd);
        if (!source.open(QIODevice::ReadOnly))
            return QStringLiteral("cannot read ") + kCupsPdfPpd;
        // The cups-pdf printer description has no margins; a queue with
        // margins shows that the offsets reach the layout.
        QByteArray ppd = source.readAll();
        const QByteArray fullA4 = "*ImageableArea A4/A4: \"0 0 595 842\"";
        if (!ppd.contains(fullA4))
            return QStringLiteral("the cups-pdf printer description is not the expected one");
        ppd.replace(fullA4, kImageableA4.toUtf8());

        if (!writeFile(path("cupsd.conf"), cupsd) || !writeFile(path("cups-files.conf"), files)
            || !writeFile(path("queue.ppd"), ppd)) {
            return QStringLiteral("cannot write the scheduler's configuration");
        }
        return std::nullopt;
    }

    bool waitUntilRunning()
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

    QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/quorlo-cups-XXXXXX")};
    QString cupsd_;
    QProcess scheduler_;
};

// One scheduler for all tests of the process: the CUPS client library
// reads the scheduler's address only once.
class SheetOnCups : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        cups_ = std::make_unique<PrivateCups>();
        whyNot_ = cups_->start();
        if (whyNot_)
            return;
        qputenv("CUPS_SERVER", cups_->socket().toLocal8Bit());
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
    }

    static void TearDownTestSuite()
    {
        cups_.reset();
        whyNot_.reset();
    }

    void SetUp() override
    {
        if (whyNot_)
            GTEST_SKIP() << "no private CUPS scheduler: " << whyNot_->toStdString();
        QFile::remove(cups_->outputFile());
        const QPrinterInfo queue = QPrinterInfo::printerInfo(kQueue);
        if (queue.isNull())
            GTEST_SKIP() << "Qt's CUPS support does not see the private queue";
        previous_ = SetPrinter(std::make_unique<TQtPrinter>(queue));
    }

    void TearDown() override
    {
        // The printer goes before its scheduler.
        SetPrinter(std::move(previous_));
    }

    /// Waits for the queue to finish every job; true when it has finished
    /// `count` jobs in all.
    static bool waitForCompletedJobs(int count)
    {
        const auto deadline = std::chrono::steady_clock::now() + kJobTimeout;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto pending = cups_->jobs("not-completed");
            const auto done = cups_->jobs("completed");
            if (pending && pending->trimmed().isEmpty() && done && jobCount(*done) >= count)
                return true;
            QThread::msleep(200);
        }
        return false;
    }

    static int jobCount(const QString& list)
    {
        return static_cast<int>(list.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
    }

    static inline std::unique_ptr<PrivateCups> cups_;
    static inline std::optional<QString> whyNot_;
    std::unique_ptr<TPrinterDevice> previous_;
};

// Pixels per inch of the rendering of the printed page.
constexpr int kViewDpi = 50;

QImage renderPostScript(const QString& file, const QString& png)
{
    QProcess gs;
    gs.start(findTool(QStringLiteral("gs")),
             {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
              QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=png16m"),
              QStringLiteral("-r%1").arg(kViewDpi), QStringLiteral("-sOutputFile=") + png, file});
    if (!gs.waitForFinished(60000)) {
        gs.kill();
        gs.waitForFinished(5000);
        return {};
    }
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 48 && std::abs(qGreen(a) - qGreen(b)) <= 48
        && std::abs(qBlue(a) - qBlue(b)) <= 48;
}

}  // namespace

TEST_F(SheetOnCups, TheDefaultQueueAndItsMetricsComeFromCups)
{
    std::unique_ptr<TPrinterDevice> fromSystem = SystemDefaultPrinter();
    EXPECT_EQ(fromSystem->name(), kQueue);

    const TPrinterDevice& printer = Printer();
    const int dpi = printer.caps(TDeviceCap::LogPixelsX);
    ASSERT_GT(dpi, 0);
    EXPECT_EQ(printer.caps(TDeviceCap::LogPixelsY), dpi);
    // The queue's margins and printable area, from points to device pixels.
    const auto pixels = [dpi](int points) { return points * dpi / 72.0; };
    EXPECT_NEAR(printer.caps(TDeviceCap::PhysicalOffsetX), pixels(kMarginX), 1);
    EXPECT_NEAR(printer.caps(TDeviceCap::PhysicalOffsetY), pixels(kMarginY), 1);
    EXPECT_NEAR(printer.caps(TDeviceCap::HorzRes), pixels(595 - 2 * kMarginX), 1);
    EXPECT_NEAR(printer.caps(TDeviceCap::VertRes), pixels(842 - 2 * kMarginY), 1);
}

TEST_F(SheetOnCups, PrintsOneSheetThroughTheQueue)
{
    if (findTool(QStringLiteral("gs")).isEmpty())
        GTEST_SKIP() << "ghostscript is not installed to read the printed page back";
    TIDPrinter sheet;
    const int cellWidth = sheet.Cell().Width();
    const int cellHeight = sheet.Cell().Height();
    sheet.Cell().FillRectS(0, 0, cellWidth / 2, cellHeight, 0xFFE01010);
    sheet.Cell().FillRectS(cellWidth / 2, 0, cellWidth, cellHeight, 0xFF1030E0);
    sheet.SetCount(7);
    const auto before = cups_->jobs("completed");
    ASSERT_TRUE(before.has_value());
    sheet.PrintSheet();
    ASSERT_TRUE(waitForCompletedJobs(jobCount(*before) + 1)) << "the queue did not finish the job";
    ASSERT_TRUE(QFileInfo(cups_->outputFile()).size() > 0);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage page = renderPostScript(cups_->outputFile(), dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 595 * kViewDpi / 72, 1);
    EXPECT_NEAR(page.height(), 842 * kViewDpi / 72, 1);

    // Paper coordinates in device pixels: the printable area starts one
    // offset in, and the grid one offset further.
    const int dpi = sheet.DpiX();
    const int cols = sheet.ColumnCount();
    const int rows = sheet.RowCount();
    ASSERT_GE(cols, 2);
    ASSERT_GE(rows, 2);
    const int gapX = (sheet.PrintableWidth() - cols * cellWidth) / (cols - 1);
    const int gapY = (sheet.PrintableHeight() - rows * cellHeight) / (rows - 1);
    const int left = 2 * sheet.PhysicalOffsetX();
    const int top = 2 * sheet.PhysicalOffsetY();
    const auto view = [&](int x, int y) { return page.pixel(x * kViewDpi / dpi, y * kViewDpi / dpi); };
    const QRgb white = 0xFFFFFFFF;
    for (int index = 0; index < cols * rows; ++index) {
        const int x = left + (index % cols) * (cellWidth + gapX);
        const int y = top + (index / cols) * (cellHeight + gapY) + cellHeight / 2;
        const bool printed = index < 7;
        EXPECT_TRUE(near(view(x + cellWidth / 4, y), printed ? 0xFFE01010 : white)) << "place " << index;
        EXPECT_TRUE(near(view(x + cellWidth * 3 / 4, y), printed ? 0xFF1030E0 : white)) << "place " << index;
    }
    // Paper before the first copy: the margins hold nothing.
    EXPECT_TRUE(near(view(left - dpi / 10, top + cellHeight / 2), white));
    EXPECT_TRUE(near(view(left + cellWidth / 2, top - dpi / 10), white));
}

TEST_F(SheetOnCups, AbortedJobSendsNothingToTheQueue)
{
    const auto before = cups_->jobs("all");
    ASSERT_TRUE(before.has_value());
    try {
        TPrintJob job(Printer());
        job.Canvas().fillRect(QRect(0, 0, 600, 600), Qt::black);
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(Printer().printing());
    // A page is handed to CUPS only when a job ends, so the queue has no
    // new job now, finished or not.
    const auto after = cups_->jobs("all");
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(jobCount(*after), jobCount(*before)) << after->toStdString();
    EXPECT_FALSE(QFileInfo::exists(cups_->outputFile()));
}
