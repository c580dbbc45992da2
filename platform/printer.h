#pragma once

#include "printer_device.h"

#include <memory>

/// The current printer, shared by the whole program. Created on first use
/// as SystemDefaultPrinter(); freed when the application object goes.
TPrinterDevice& Printer();

/// Makes `printer` current and hands back the one it replaces (null when
/// none had been created yet). Null makes the next Printer() call create the
/// system default afresh. Not during a job on the current printer.
std::unique_ptr<TPrinterDevice> SetPrinter(std::unique_ptr<TPrinterDevice> printer);

/// The system's default CUPS printer; without one the first installed
/// printer; with none installed the built-in "Print to PDF" printer.
std::unique_ptr<TPrinterDevice> SystemDefaultPrinter();
