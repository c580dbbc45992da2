#pragma once

#include "printer.h"

#include <memory>

// Makes a printer current for one test and puts the previous one back.
class ScopedPrinter {
public:
    explicit ScopedPrinter(std::unique_ptr<TPrinterDevice> printer)
        : previous_(SetPrinter(std::move(printer)))
    {
    }
    ~ScopedPrinter() { SetPrinter(std::move(previous_)); }
    ScopedPrinter(const ScopedPrinter&) = delete;
    ScopedPrinter& operator=(const ScopedPrinter&) = delete;

private:
    std::unique_ptr<TPrinterDevice> previous_;
};
