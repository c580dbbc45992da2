// quorlo-sheet with a real printer: a private CUPS queue with margins,
// named on the command line or the default. Where no such scheduler can
// run, the tests skip.
#include "sheet_e2e.h"

#include "pdf_tools.h"
#include "printer.h"
#include "private_cups_fixture.h"
#include "sheet_printer.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using sheet_e2e::ToolRun;

constexpr QRgb kRed = 0xFFD02020;
constexpr QRgb kBlue = 0xFF2040C0;
constexpr QRgb kWhite = 0xFFFFFFFF;

// Printer() is the queue as the window would have it, for the expected figures.
class QuorloSheetOnCups : public PrivateCupsFixture {
protected:
    void SetUp() override
    {
        PrivateCupsFixture::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(dir_.isValid());
        photo_ = dir_.filePath(QStringLiteral("photo.jpg"));
        sheet_e2e::writePhoto(photo_, 600, 800, kRed, kBlue);
    }

    ToolRun runTool(const QStringList& args) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), cups_->socket());
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        env.remove(QStringLiteral("PRINTER"));
        env.remove(QStringLiteral("LPDEST"));
        return sheet_e2e::runTool(QStringList{photo_} + args, env);
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    QString photo_;
};

}  // namespace

TEST_F(QuorloSheetOnCups, PageOfTheNamedPrinterIsTheWindowsPage)
{
    const QString page = path("tool.jpg");
    const ToolRun run = runTool({QStringLiteral("--printer"), PrivateCups::kQueue,
                                 QStringLiteral("--output"), page});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    const TPrinterDevice& queue = Printer();
    const int dpi = queue.Caps(TDeviceCap::LogPixelsX);
    ASSERT_GT(dpi, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("page %1 x %2 px at %3 dpi -> %4")
                                     .arg(queue.Caps(TDeviceCap::HorzRes))
                                     .arg(queue.Caps(TDeviceCap::VertRes))
                                     .arg(dpi)
                                     .arg(page)))
        << run.out.toStdString();
    EXPECT_NEAR(queue.Caps(TDeviceCap::PhysicalOffsetX), PrivateCups::kMarginX * dpi / 72.0, 1)
        << "the queue's margins reach the layout";

    const QString saved = path("window.jpg");
    sheet_e2e::saveAsTheWindowDoes(Printer(), photo_, saved);
    EXPECT_TRUE(sheet_e2e::contentsOf(page) == sheet_e2e::contentsOf(saved));
}

TEST_F(QuorloSheetOnCups, PdfOfARealPrinterIsOnItsPaperWithTheCopiesWhereItPrints)
{
    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    const QString file = path("page.pdf");
    // The default printer, which is the queue.
    const ToolRun run = runTool({QStringLiteral("--count"), QStringLiteral("3"),
                                 QStringLiteral("--output"), file});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(pdf_tools::pageCount(file), 1);
    const QSizeF points = pdf_tools::pageSizePoints(file);
    EXPECT_NEAR(points.width(), 595, 1);
    EXPECT_NEAR(points.height(), 842, 1);

    // Places in paper pixels: the printable area starts one offset in, the
    // grid one offset further.
    TIDPrinter sheet(Printer());
    const int dpi = sheet.DpiX();
    const int cols = sheet.ColumnCount();
    const int rows = sheet.RowCount();
    ASSERT_GE(cols, 2);
    ASSERT_GE(rows, 2);
    const int cellWidth = sheet.Cell().Width();
    const int cellHeight = sheet.Cell().Height();
    const int gapX = (sheet.PrintableWidth() - cols * cellWidth) / (cols - 1);
    const int gapY = (sheet.PrintableHeight() - rows * cellHeight) / (rows - 1);
    const int left = 2 * sheet.PhysicalOffsetX();
    const int top = 2 * sheet.PhysicalOffsetY();

    constexpr int kViewDpi = 50;
    const QImage page = pdf_tools::render(file, kViewDpi);
    ASSERT_FALSE(page.isNull());
    const auto view = [&](int x, int y) { return page.pixel(x * kViewDpi / dpi, y * kViewDpi / dpi); };
    for (int index = 0; index < 4; ++index) {
        const int x = left + (index % cols) * (cellWidth + gapX) + cellWidth / 2;
        const int y = top + (index / cols) * (cellHeight + gapY);
        const bool printed = index < 3;
        EXPECT_TRUE(pdf_tools::near(view(x, y + cellHeight / 4), printed ? kRed : kWhite)) << index;
        EXPECT_TRUE(pdf_tools::near(view(x, y + cellHeight * 3 / 4), printed ? kBlue : kWhite)) << index;
    }
    EXPECT_TRUE(pdf_tools::near(view(left - dpi / 10, top + cellHeight / 4), kWhite));
    EXPECT_TRUE(pdf_tools::near(view(left + cellWidth / 2, top - dpi / 10), kWhite));
}

TEST_F(QuorloSheetOnCups, PrintsOnTheNamedPrinter)
{
    const ToolRun run = runTool({QStringLiteral("--printer=") + PrivateCups::kQueue,
                                 QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--print")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("1 of ")));
    EXPECT_TRUE(run.out.endsWith(QStringLiteral("-> printer \"%1\"\n").arg(PrivateCups::kQueue)))
        << run.out.toStdString();
    ASSERT_TRUE(cups_->waitForCompletedJobs(1)) << "the queue did not finish the job";
    EXPECT_GT(QFileInfo(cups_->outputFile()).size(), 0);
}

TEST_F(QuorloSheetOnCups, SeveralPhotosPrintAsOneJobOfSeveralPages)
{
    // Each photo fills a page of its own.
    const int capacity = TIDPrinter(Printer()).Capacity();
    ASSERT_GT(capacity, 0);
    const QString second = path("second.jpg");
    sheet_e2e::writePhoto(second, 600, 800, kBlue, kRed);
    const auto before = cups_->jobs("completed");
    ASSERT_TRUE(before.has_value());
    const ToolRun run = runTool({second, QStringLiteral("--count"), QString::number(capacity),
                                 QStringLiteral("--print")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("2 photos, %1 copies on 2 pages").arg(2 * capacity)))
        << run.out.toStdString();
    ASSERT_TRUE(cups_->waitForCompletedJobs(PrivateCups::jobCount(*before) + 1)) << "the queue did not finish the job";
    const auto all = cups_->jobs("all");
    ASSERT_TRUE(all.has_value());
    EXPECT_EQ(PrivateCups::jobCount(*all), PrivateCups::jobCount(*before) + 1) << "one job";
    // The PostScript the queue wrote counts its pages.
    QFile printed(cups_->outputFile());
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_EQ(printed.readAll().count("\n%%Page: "), 2);
}

TEST_F(QuorloSheetOnCups, PrintOnAQueueThatRejectsJobsFailsWithTheReason)
{
    const QString reject = PrivateCups::findTool(QStringLiteral("cupsreject"));
    const QString accept = PrivateCups::findTool(QStringLiteral("cupsaccept"));
    ASSERT_FALSE(reject.isEmpty() || accept.isEmpty());
    ASSERT_TRUE(cups_->runTool(reject, {PrivateCups::kQueue}).has_value());
    const ToolRun run = runTool({QStringLiteral("--printer"), PrivateCups::kQueue, QStringLiteral("--print")});
    ASSERT_TRUE(cups_->runTool(accept, {PrivateCups::kQueue}).has_value());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty()) << "reported as printed: " << run.out.toStdString();
    EXPECT_TRUE(run.err.startsWith(
        QStringLiteral("quorlo-sheet: Cannot print on \"%1\" (the printer is not accepting jobs").arg(PrivateCups::kQueue)))
        << run.err.toStdString();
}
