#include "printer_device.h"

#include "pdf_printer.h"
#include "printer.h"
#include "test_printer.h"

#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

TEST(TPrintJob, ScopeLeftByAnErrorAbortsTheJob)
{
    TTestPrinter printer(40, 30, 72, 72);
    try {
        TPrintJob job(printer);
        job.Canvas().fillRect(QRect(0, 0, 10, 10), Qt::black);
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(printer.printing());
    EXPECT_EQ(printer.abortedJobs(), 1);
    EXPECT_TRUE(printer.printedPages().empty());
}

TEST(TTestPrinter, CallsOutOfOrderRaise)
{
    TTestPrinter printer(40, 30, 72, 72);
    EXPECT_THROW(printer.canvas(), EPrinter);
    EXPECT_THROW(printer.endDoc(), EPrinter);
    printer.abort();   // nothing to abort: no effect
    EXPECT_EQ(printer.abortedJobs(), 0);

    printer.beginDoc();
    try {
        printer.beginDoc();
        ADD_FAILURE() << "a second job started";
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Printing in progress"));
    }
    // The first job is not disturbed by the refused second one.
    EXPECT_TRUE(printer.printing());
    printer.endDoc();
    EXPECT_EQ(printer.printedPages().size(), 1u);
}

TEST(Printer, SetPrinterSwapsTheCurrentPrinter)
{
    auto first = std::make_unique<TTestPrinter>(10, 10, 72, 72);
    first->setName(QStringLiteral("first"));
    const TPrinterDevice* firstAddress = first.get();
    std::unique_ptr<TPrinterDevice> original = SetPrinter(std::move(first));
    EXPECT_EQ(&Printer(), firstAddress);
    EXPECT_EQ(Printer().name(), QStringLiteral("first"));

    // Without a printer set, the system default is made afresh.
    EXPECT_EQ(SetPrinter(nullptr).get(), firstAddress);
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        EXPECT_EQ(Printer().name(), QStringLiteral("Print to PDF"));
    } else if (!defaultName.isEmpty()) {
        EXPECT_EQ(Printer().name(), defaultName);
    }
    SetPrinter(std::move(original));
}
