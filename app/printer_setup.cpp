#include "printer_setup.h"

#include "printer.h"
#include "qt_printer.h"

#include <QPrintDialog>
#include <QPrinter>

#include <memory>

bool RunPrintDialog(QWidget* Parent)
{
    // An installed printer is set up in place; the built-in PDF printer has
    // no QPrinter, so the dialog starts from a fresh one and whatever the
    // user confirms replaces it.
    auto* installed = dynamic_cast<TQtPrinter*>(&Printer());
    std::unique_ptr<QPrinter> fresh;
    if (!installed)
        fresh = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& device = installed ? installed->device() : *fresh;

    QPrintDialog dialog(&device, Parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (fresh)
        SetPrinter(std::make_unique<TQtPrinter>(std::move(fresh)));
    return true;
}
