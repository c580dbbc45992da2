#include "printer_device.h"

#include "pdf_printer.h"
#include "printer.h"
#include "test_printer.h"

#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

TEST(TPrintJob, ScopeLeftByAnErrorAbortsTheJob)
{
    TTestPrinter printer(40, 30, 72, 72);
    try {
        TPrintJob job(printer);
        job.Canvas().fillRect(QRect(0, 0, 10, 10), Qt::black);
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.AbortedJobs(), 1);
    EXPECT_TRUE(printer.PrintedPages().empty());
}

TEST(TPrintJob, PagesGoOutTogetherOrNotAtAll)
{
    TTestPrinter printer(40, 30, 72, 72, 5, 5);
    {
        TPrintJob job(printer);
        job.Canvas().fillRect(QRect(0, 0, 10, 10), Qt::black);
        job.NewPage();
        job.Canvas().fillRect(QRect(20, 10, 10, 10), Qt::black);
        EXPECT_TRUE(printer.PrintedPages().empty()) << "nothing before the job ends";
        job.End();
    }
    EXPECT_EQ(printer.PrintedJobs(), std::vector<int>{2});
    ASSERT_EQ(printer.PrintedPages().size(), 2u);
    EXPECT_EQ(printer.PrintedPages()[0].pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(printer.PrintedPages()[0].pixel(25, 15), qRgb(255, 255, 255));
    EXPECT_EQ(printer.PrintedPages()[1].pixel(5, 5), qRgb(255, 255, 255)) << "a fresh white page";
    EXPECT_EQ(printer.PrintedPages()[1].pixel(25, 15), qRgb(0, 0, 0));

    // Failing on the second page takes the first one with it.
    try {
        TPrintJob job(printer);
        job.Canvas().fillRect(QRect(0, 0, 10, 10), Qt::black);
        job.NewPage();
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(printer.AbortedJobs(), 1);
    EXPECT_EQ(printer.PrintedJobs(), std::vector<int>{2});
    EXPECT_EQ(printer.PrintedPages().size(), 2u);
    EXPECT_THROW(printer.NewPage(), EPrinter) << "no job runs";
}

TEST(TTestPrinter, CallsOutOfOrderRaise)
{
    TTestPrinter printer(40, 30, 72, 72);
    EXPECT_THROW(printer.Canvas(), EPrinter);
    EXPECT_THROW(printer.EndDoc(), EPrinter);
    printer.Abort();   // nothing to abort: no effect
    EXPECT_EQ(printer.AbortedJobs(), 0);

    printer.BeginDoc();
    try {
        printer.BeginDoc();
        ADD_FAILURE() << "a second job started";
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Printing in progress"));
    }
    // The first job is not disturbed by the refused second one.
    EXPECT_TRUE(printer.Printing());
    printer.EndDoc();
    EXPECT_EQ(printer.PrintedPages().size(), 1u);
}

TEST(Printer, SetPrinterSwapsTheCurrentPrinter)
{
    auto first = std::make_unique<TTestPrinter>(10, 10, 72, 72);
    first->SetName(QStringLiteral("first"));
    const TPrinterDevice* firstAddress = first.get();
    std::unique_ptr<TPrinterDevice> original = SetPrinter(std::move(first));
    EXPECT_EQ(&Printer(), firstAddress);
    EXPECT_EQ(Printer().Name(), QStringLiteral("first"));

    // Without a printer set, the system default is made afresh.
    EXPECT_EQ(SetPrinter(nullptr).get(), firstAddress);
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        EXPECT_EQ(Printer().Name(), QStringLiteral("Print to PDF"));
    } else if (!defaultName.isEmpty()) {
        EXPECT_EQ(Printer().Name(), defaultName);
    }
    SetPrinter(std::move(original));
}
