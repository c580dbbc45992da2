#pragma once

#include "virtual_printer.h"

#include <QString>

#include <memory>

struct cups_dest_s;

/// An installed CUPS queue as the window's QPrinter sets it up, described
/// from what the scheduler tells through the CUPS client library, without
/// QPrinter and its widgets: the same six capabilities and name TQtPrinter
/// reports for the queue, taken when the printer is made.
///
/// A job paints PDF pages of that paper in memory, as TQtPrinter's do, and
/// EndDoc hands the document to the queue as one job (TCupsQueue, which
/// checks first that the queue accepts jobs and is not stopped). An aborted
/// job sends nothing; an output file name plays no part.
class TCupsPrinter : public TVirtualPrinter {
public:
    /// The queue called `name` (in any case); null when the scheduler has no
    /// queue of that name or cannot be reached.
    static std::unique_ptr<TCupsPrinter> Named(const QString& name);
    /// The system's default queue; without one the first installed queue;
    /// null when there is none.
    static std::unique_ptr<TCupsPrinter> SystemDefault();

    void BeginDoc() override;
    void EndDoc() override;

    /// The id CUPS gave the last job that EndDoc handed over; 0 when none did.
    int LastJobId() const { return FJobId; }

private:
    TCupsPrinter(QString name, const TPrinterMetrics& metrics);
    static std::unique_ptr<TCupsPrinter> describe(const QString& name, cups_dest_s* dest);

    int FJobId = 0;
};
