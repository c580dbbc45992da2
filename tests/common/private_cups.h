#pragma once

// A CUPS scheduler of a test's own in a temporary folder (its own socket,
// spool, logs and configuration; nothing of the machine's CUPS set-up is
// read or changed) with one queue: the cups-pdf printer description with
// margins of 18 pt across and 24 pt down on A4, writing what it prints to a
// file. Programs reach it through CUPS_SERVER = socket().

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>
#include <vector>

/// The scheduler lives as long as this object, and never longer than the
/// process that started it (it gets SIGTERM when that process dies).
class PrivateCups {
public:
    static inline const QString kQueue = QStringLiteral("QuorloTest");
    /// The queue's unprintable margins on A4, in points.
    static constexpr int kMarginX = 18;
    static constexpr int kMarginY = 24;

    ~PrivateCups() { stop(); }

    /// One change to the cups-pdf printer description: the text `from`,
    /// which must be there, becomes `to`.
    struct PpdEdit {
        QByteArray from;
        QByteArray to;
    };
    /// The edit that gives A4 the imageable area `area` ("left bottom right
    /// top" in points) in place of the whole sheet.
    static PpdEdit a4ImageableArea(const QByteArray& area);
    /// The queue's description as start() sets it: A4 with the margins above.
    static std::vector<PpdEdit> testDescription();

    /// Starts the scheduler with the test queue as default; a reason why
    /// not (no root, CUPS or cups-pdf missing, no start), or nothing when it runs.
    std::optional<QString> start();
    /// Gives the queue the cups-pdf description with `edits` made, as an
    /// administrator would with lpadmin; a reason why not, or nothing.
    std::optional<QString> describeQueue(const std::vector<PpdEdit>& edits) const;
    /// Ends the scheduler; nothing when it does not run.
    void stop();

    QString socket() const { return path("cups.sock"); }
    /// Where the queue writes what it prints (PostScript).
    QString outputFile() const { return path("page.ps"); }

    /// Runs a CUPS client tool against this scheduler; its output, or
    /// nothing when it failed or hung.
    std::optional<QString> runTool(const QString& program, const QStringList& args) const;
    /// The queue's jobs as lpstat lists them: which is "not-completed",
    /// "completed" or "all"; nothing when lpstat fails.
    std::optional<QString> jobs(const char* which) const;
    /// Waits for the queue to finish every job; true when it has finished
    /// `count` jobs in all, false when it has not in time.
    bool waitForCompletedJobs(int count) const;
    /// The document of job `id` as the scheduler received it (it keeps every
    /// job's files); empty when it has none.
    QByteArray spooledDocument(int id) const;
    /// The number of jobs in a list from jobs().
    static int jobCount(const QString& list);

    /// The full name of a system tool, or empty when it is not installed.
    static QString findTool(const QString& name);

private:
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    std::optional<QString> writeConfiguration() const;
    bool waitUntilRunning() const;

    QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/quorlo-cups-XXXXXX")};
    QProcess scheduler_;
};
