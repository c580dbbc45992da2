#include "printer_device.h"

TPrintJob::TPrintJob(TPrinterDevice& printer) : FPrinter(printer)
{
    FPrinter.BeginDoc();
}

TPrintJob::~TPrintJob()
{
    // Still printing here means End was never reached or failed halfway:
    // whatever was drawn must not be delivered.
    if (FPrinter.Printing())
        FPrinter.Abort();
}

void TPrintJob::NewPage()
{
    FPrinter.NewPage();
}

void TPrintJob::End()
{
    FPrinter.EndDoc();
}
