#pragma once

#include "exception.h"

#include <QString>

#include <utility>

class QPainter;

/// What a print queue's failure was, for the layer that words it.
enum class TQueueFailure {
    None,           ///< not a queue's failure
    ServiceDown,    ///< the print service cannot be reached
    NoSuchQueue,    ///< the queue does not exist (any more)
    StateUnknown,   ///< the queue cannot be asked for its state
    NotAccepting,   ///< the queue refuses new jobs
    Stopped,        ///< the queue is stopped
    JobRefused,     ///< the queue would not create the job
    PageNotSent,    ///< the job's document did not get through
};

/// Failures of the printer: a job that cannot start or finish, a file the
/// PDF printer cannot write, a call out of order. A file's failure also
/// carries the file and the system's error number, and a queue's failure
/// its kind and the print service's own reason, so that the layer that
/// shows it can word it in the interface's language; the message stays in
/// English, with the system's own wording.
class EPrinter : public Exception {
public:
    explicit EPrinter(QString message) : Exception(std::move(message)) {}
    EPrinter(QString message, QString fileName, int errorNumber)
        : Exception(std::move(message)), FileName(std::move(fileName)), ErrorNumber(errorNumber)
    {
    }
    EPrinter(TQueueFailure failure, QString message, QString reason = {})
        : Exception(std::move(message)), Failure(failure), Reason(std::move(reason))
    {
    }
    const QString FileName;   ///< the file not written; empty for any other failure
    const int ErrorNumber = 0;
    const TQueueFailure Failure = TQueueFailure::None;
    const QString Reason;     ///< the print service's reason, as it gives it; may be empty
};

/// The device capabilities the sheet printer reads, all in device pixels
/// except the resolutions (pixels per inch).
enum class TDeviceCap {
    HorzRes,          ///< width of the printable area
    VertRes,          ///< height of the printable area
    LogPixelsX,       ///< horizontal resolution
    LogPixelsY,       ///< vertical resolution
    PhysicalOffsetX,  ///< distance of the printable area from the paper's left edge
    PhysicalOffsetY,  ///< distance of the printable area from the paper's top edge
};

/// A printer as the sheet printer sees it: six capabilities, a name, and a
/// job of one or more pages whose canvas has its origin at the top-left
/// corner of the printable area. Capabilities are read live; nothing here
/// caches them.
class TPrinterDevice {
public:
    virtual ~TPrinterDevice() = default;

    virtual int Caps(TDeviceCap cap) const = 0;
    virtual QString Name() const = 0;

    /// Starts a job. Raises EPrinter when the printer cannot start one or a
    /// job is already running.
    virtual void BeginDoc() = 0;
    /// Closes the page drawn so far and starts the next one of the same
    /// paper in the running job; the canvas keeps its origin at the
    /// printable area. Nothing is delivered before EndDoc. Raises EPrinter
    /// when no job runs or the page cannot be started.
    virtual void NewPage() = 0;
    /// Delivers every page drawn since BeginDoc, as one job, and ends the
    /// job. Raises EPrinter when the pages cannot be delivered; the job is
    /// over either way.
    virtual void EndDoc() = 0;
    /// Ends a running job without delivering anything; does nothing when no
    /// job runs. Never raises, so it is safe on every way out of a failure.
    virtual void Abort() noexcept = 0;
    /// True between BeginDoc and EndDoc or Abort.
    virtual bool Printing() const = 0;
    /// The page canvas of the running job. Raises EPrinter when no job runs.
    virtual QPainter& Canvas() = 0;

    /// The name the jobs begun from now on carry: in the print queue and as
    /// their PDF's title. Empty leaves them unnamed.
    void SetJobTitle(const QString& Title) { FJobTitle = Title; }
    const QString& JobTitle() const { return FJobTitle; }

private:
    QString FJobTitle;
};

/// One print job as a scope: begins on construction; a job that has not
/// been ended when the scope is left (an error passed through) is aborted,
/// so a half-drawn page never reaches the printer, nor do the pages drawn
/// before it.
class TPrintJob {
public:
    explicit TPrintJob(TPrinterDevice& printer);
    ~TPrintJob();
    TPrintJob(const TPrintJob&) = delete;
    TPrintJob& operator=(const TPrintJob&) = delete;

    QPainter& Canvas() { return FPrinter.Canvas(); }
    /// Starts the job's next page; raises what the printer's NewPage raises.
    void NewPage();
    /// Delivers the pages; raises what the printer's EndDoc raises.
    void End();

private:
    TPrinterDevice& FPrinter;
};
