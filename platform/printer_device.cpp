#include "printer_device.h"

TPrintJob::TPrintJob(TPrinterDevice& printer) : printer_(printer)
{
    printer_.beginDoc();
}

TPrintJob::~TPrintJob()
{
    // Still printing here means End was never reached or failed halfway:
    // whatever was drawn must not be delivered.
    if (printer_.printing())
        printer_.abort();
}

void TPrintJob::NewPage()
{
    printer_.newPage();
}

void TPrintJob::End()
{
    printer_.endDoc();
}
