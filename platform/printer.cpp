#include "printer.h"

#include "pdf_printer.h"
#include "qt_printer.h"

#include <QCoreApplication>
#include <QPrinterInfo>

#include <utility>

namespace {

std::unique_ptr<TPrinterDevice>& current()
{
    static std::unique_ptr<TPrinterDevice> printer;
    return printer;
}

// A printer outliving the application object would be freed after Qt has
// let go of its print plugins.
void releaseCurrent()
{
    current().reset();
}

void releaseWithApplication()
{
    static const bool registered = [] {
        qAddPostRoutine(releaseCurrent);
        return true;
    }();
    (void)registered;
}

}  // namespace

TPrinterDevice& Printer()
{
    if (!current()) {
        current() = SystemDefaultPrinter();
        releaseWithApplication();
    }
    return *current();
}

std::unique_ptr<TPrinterDevice> SetPrinter(std::unique_ptr<TPrinterDevice> printer)
{
    if (printer)
        releaseWithApplication();
    return std::exchange(current(), std::move(printer));
}

std::unique_ptr<TPrinterDevice> SystemDefaultPrinter()
{
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> installed = QPrinterInfo::availablePrinters();
        if (!installed.isEmpty())
            info = installed.first();
    }
    if (info.isNull())
        return std::make_unique<TPdfPrinter>();
    return std::make_unique<TQtPrinter>(info);
}
