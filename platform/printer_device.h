#pragma once

#include "Exception.h"

#include <QString>

class QPainter;

/// Failures of the printer: a job that cannot start or finish, a file the
/// PDF printer cannot write, a call out of order.
QRL_DECLARE_EXCEPTION(EPrinter, Exception);

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

    virtual int caps(TDeviceCap cap) const = 0;
    virtual QString name() const = 0;

    /// Starts a job. Raises EPrinter when the printer cannot start one or a
    /// job is already running.
    virtual void beginDoc() = 0;
    /// Closes the page drawn so far and starts the next one of the same
    /// paper in the running job; the canvas keeps its origin at the
    /// printable area. Nothing is delivered before endDoc. Raises EPrinter
    /// when no job runs or the page cannot be started.
    virtual void newPage() = 0;
    /// Delivers every page drawn since beginDoc, as one job, and ends the
    /// job. Raises EPrinter when the pages cannot be delivered; the job is
    /// over either way.
    virtual void endDoc() = 0;
    /// Ends a running job without delivering anything; does nothing when no
    /// job runs. Never raises, so it is safe on every way out of a failure.
    virtual void abort() noexcept = 0;
    /// True between beginDoc and endDoc or abort.
    virtual bool printing() const = 0;
    /// The page canvas of the running job. Raises EPrinter when no job runs.
    virtual QPainter& canvas() = 0;
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

    QPainter& Canvas() { return printer_.canvas(); }
    /// Starts the job's next page; raises what the printer's newPage raises.
    void NewPage();
    /// Delivers the pages; raises what the printer's endDoc raises.
    void End();

private:
    TPrinterDevice& printer_;
};
