#pragma once

#include "printer_device.h"

#include <QByteArray>
#include <QString>

/// One queue of a CUPS scheduler, spoken to through the CUPS client
/// library. Every failure raises EPrinter with a message that names the
/// printer and says why: the scheduler cannot be reached, the queue does not
/// exist, it does not accept jobs, it is stopped, or the submission failed.
class TCupsQueue {
public:
    /// The queue `Name` of the scheduler at `Server` (a host name or the
    /// path of a local socket); the client library's own choice when empty.
    explicit TCupsQueue(QString Name, QString Server = {});

    const QString& Name() const { return FName; }

    /// Asks the scheduler whether the queue exists, accepts jobs and is not
    /// stopped; raises EPrinter when not.
    void CheckReady() const;

    /// Checks the queue as CheckReady does, then submits Pdf (one document)
    /// as a new job with the given CUPS options ("media=A4", ...) and returns
    /// its id once the scheduler has the whole document. A job that cannot
    /// be completed is cancelled, so nothing half-sent prints. `Title` names
    /// the job in the queue; the scheduler's default when empty.
    int SubmitPdf(const QByteArray& Pdf, const QStringList& Options, const QString& Title = {}) const;

private:
    QString FName;
    QString FServer;
};
