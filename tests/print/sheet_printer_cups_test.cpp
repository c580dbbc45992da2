// The sheet printed on a real CUPS queue through QPrinter: a private
// scheduler with one queue (the cups-pdf printer description, given
// margins, writing its output to a file). Where no such scheduler can run,
// the tests skip.
#include "sheet_printer.h"

#include "cups_queue.h"
#include "cut_marks.h"
#include "photo_sheet.h"
#include "printer.h"
#include "private_cups_fixture.h"
#include "qt_printer.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

using SheetOnCups = PrivateCupsFixture;

// Pixels per inch of the rendering of the printed page.
constexpr int kViewDpi = 50;

QImage renderPostScript(const QString& file, const QString& png)
{
    QProcess gs;
    gs.start(PrivateCups::findTool(QStringLiteral("gs")),
             {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
              QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=png16m"),
              QStringLiteral("-r%1").arg(kViewDpi), QStringLiteral("-sOutputFile=") + png, file});
    if (!gs.waitForFinished(60000)) {
        gs.kill();
        gs.waitForFinished(5000);
        return {};
    }
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

// Page `page` (1 first) of the printed PostScript at `dpi`.
QImage renderPostScriptPage(const QString& file, const QString& png, int page, int dpi)
{
    QProcess gs;
    gs.start(PrivateCups::findTool(QStringLiteral("gs")),
             {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
              QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=png16m"),
              QStringLiteral("-dFirstPage=%1").arg(page), QStringLiteral("-dLastPage=%1").arg(page),
              QStringLiteral("-r%1").arg(dpi), QStringLiteral("-sOutputFile=") + png, file});
    if (!gs.waitForFinished(60000)) {
        gs.kill();
        gs.waitForFinished(5000);
        return {};
    }
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 48 && std::abs(qGreen(a) - qGreen(b)) <= 48
        && std::abs(qBlue(a) - qBlue(b)) <= 48;
}

}  // namespace

TEST_F(SheetOnCups, TheDefaultQueueAndItsMetricsComeFromCups)
{
    std::unique_ptr<TPrinterDevice> fromSystem = SystemDefaultPrinter();
    EXPECT_EQ(fromSystem->Name(), PrivateCups::kQueue);

    const TPrinterDevice& printer = Printer();
    const int dpi = printer.Caps(TDeviceCap::LogPixelsX);
    ASSERT_GT(dpi, 0);
    EXPECT_EQ(printer.Caps(TDeviceCap::LogPixelsY), dpi);
    // The queue's margins and printable area, from points to device pixels.
    const auto pixels = [dpi](int points) { return points * dpi / 72.0; };
    EXPECT_NEAR(printer.Caps(TDeviceCap::PhysicalOffsetX), pixels(PrivateCups::kMarginX), 1);
    EXPECT_NEAR(printer.Caps(TDeviceCap::PhysicalOffsetY), pixels(PrivateCups::kMarginY), 1);
    EXPECT_NEAR(printer.Caps(TDeviceCap::HorzRes), pixels(595 - 2 * PrivateCups::kMarginX), 1);
    EXPECT_NEAR(printer.Caps(TDeviceCap::VertRes), pixels(842 - 2 * PrivateCups::kMarginY), 1);
}

TEST_F(SheetOnCups, PrintsOneSheetThroughTheQueue)
{
    if (PrivateCups::findTool(QStringLiteral("gs")).isEmpty())
        GTEST_SKIP() << "ghostscript is not installed to read the printed page back";
    TIDPrinter sheet(Printer());
    const int cellWidth = sheet.Cell().Width();
    const int cellHeight = sheet.Cell().Height();
    sheet.Cell().FillRectS(0, 0, cellWidth / 2, cellHeight, 0xFFE01010);
    sheet.Cell().FillRectS(cellWidth / 2, 0, cellWidth, cellHeight, 0xFF1030E0);
    sheet.SetCount(7);
    const auto before = cups_->jobs("completed");
    ASSERT_TRUE(before.has_value());
    sheet.PrintSheet();
    ASSERT_TRUE(cups_->waitForCompletedJobs(PrivateCups::jobCount(*before) + 1))
        << "the queue did not finish the job";
    ASSERT_TRUE(QFileInfo(cups_->outputFile()).size() > 0);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage page = renderPostScript(cups_->outputFile(), dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 595 * kViewDpi / 72, 1);
    EXPECT_NEAR(page.height(), 842 * kViewDpi / 72, 1);

    // Paper coordinates in device pixels: the printable area starts one
    // offset in, and the grid one offset further.
    const int dpi = sheet.DpiX();
    const int cols = sheet.ColumnCount();
    const int rows = sheet.RowCount();
    ASSERT_GE(cols, 2);
    ASSERT_GE(rows, 2);
    const int gapX = (sheet.PrintableWidth() - cols * cellWidth) / (cols - 1);
    const int gapY = (sheet.PrintableHeight() - rows * cellHeight) / (rows - 1);
    const int left = 2 * sheet.PhysicalOffsetX();
    const int top = 2 * sheet.PhysicalOffsetY();
    const auto view = [&](int x, int y) { return page.pixel(x * kViewDpi / dpi, y * kViewDpi / dpi); };
    const QRgb white = 0xFFFFFFFF;
    for (int index = 0; index < cols * rows; ++index) {
        const int x = left + (index % cols) * (cellWidth + gapX);
        const int y = top + (index / cols) * (cellHeight + gapY) + cellHeight / 2;
        const bool printed = index < 7;
        EXPECT_TRUE(near(view(x + cellWidth / 4, y), printed ? 0xFFE01010 : white)) << "place " << index;
        EXPECT_TRUE(near(view(x + cellWidth * 3 / 4, y), printed ? 0xFF1030E0 : white)) << "place " << index;
    }
    // Paper before the first copy: the margins hold nothing.
    EXPECT_TRUE(near(view(left - dpi / 10, top + cellHeight / 2), white));
    EXPECT_TRUE(near(view(left + cellWidth / 2, top - dpi / 10), white));
}

TEST_F(SheetOnCups, SeveralPhotosPrintAsOneJobOfSeveralPagesWithTheirCutMarks)
{
    if (PrivateCups::findTool(QStringLiteral("gs")).isEmpty())
        GTEST_SKIP() << "ghostscript is not installed to read the printed pages back";
    TIDPrinter sheetPrinter(Printer());
    sheetPrinter.SetCutMarks(true);
    const int capacity = sheetPrinter.Capacity();
    ASSERT_GE(capacity, 3);
    const QRgb colours[] = {0xFFE01010, 0xFF1030E0};
    TPhotoSheet sheet(sheetPrinter);
    for (const QRgb colour : colours) {
        sheetPrinter.Cell().Clear(colour);
        sheet.AddCell(capacity - 1);
    }
    ASSERT_EQ(sheet.PageCount(), 2);
    const auto before = cups_->jobs("completed");
    ASSERT_TRUE(before.has_value());
    sheet.PrintPages();
    ASSERT_TRUE(cups_->waitForCompletedJobs(PrivateCups::jobCount(*before) + 1))
        << "the queue did not finish the job";
    const auto after = cups_->jobs("all");
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(PrivateCups::jobCount(*after), PrivateCups::jobCount(*before) + 1) << "one job";

    // Each page in paper pixels: the printable area one offset in.
    constexpr int kMarkDpi = 300;
    const int dpi = sheetPrinter.DpiX();
    const QPoint paper(sheetPrinter.PhysicalOffsetX(), sheetPrinter.PhysicalOffsetY());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int page = 0; page < 2; ++page) {
        const QImage printed = renderPostScriptPage(cups_->outputFile(), dir.filePath(QStringLiteral("page-%1.png").arg(page + 1)),
                                                    page + 1, kMarkDpi);
        ASSERT_FALSE(printed.isNull()) << "page " << page + 1 << " was not printed";
        const auto view = [&](QPoint p) {
            p += paper;
            return printed.pixel(p.x() * kMarkDpi / dpi, p.y() * kMarkDpi / dpi);
        };
        const std::vector<TPhotoSheet::TPlacedCopy> copies = sheet.Copies(page);
        ASSERT_FALSE(copies.empty());
        // The first place shows its photo: the first one's copies fill page
        // 1 but its last place, which starts the second photo's.
        const QPoint middle(sheetPrinter.Cell().Width() / 2, sheetPrinter.Cell().Height() / 2);
        EXPECT_TRUE(near(view(copies.front().At + middle), colours[page])) << "page " << page + 1;
        EXPECT_TRUE(near(view(copies.back().At + middle), colours[1])) << "page " << page + 1;
        // Some of the marks of the page's places, each grey where it lies.
        const TCutMarks marks = sheet.PageCutMarks(page);
        ASSERT_FALSE(marks.Marks.empty());
        for (std::size_t i = 0; i < marks.Marks.size(); i += marks.Marks.size() / 4 + 1) {
            const QPoint centre = marks.Marks[i].center();
            bool grey = false;
            for (int dy = -1; dy <= 1 && !grey; ++dy)
                for (int dx = -1; dx <= 1 && !grey; ++dx) {
                    const QRgb p = printed.pixel((centre.x() + paper.x()) * kMarkDpi / dpi + dx,
                                                 (centre.y() + paper.y()) * kMarkDpi / dpi + dy);
                    grey = near(p, kCutMarkColour.rgb());
                }
            EXPECT_TRUE(grey) << "page " << page + 1 << " mark " << i;
        }
    }
}

TEST_F(SheetOnCups, AbortedJobSendsNothingToTheQueue)
{
    const auto before = cups_->jobs("all");
    ASSERT_TRUE(before.has_value());
    try {
        TPrintJob job(Printer());
        job.Canvas().fillRect(QRect(0, 0, 600, 600), Qt::black);
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(Printer().Printing());
    // A page is handed to CUPS only when a job ends, so the queue has no
    // new job now, finished or not.
    const auto after = cups_->jobs("all");
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(PrivateCups::jobCount(*after), PrivateCups::jobCount(*before)) << after->toStdString();
    EXPECT_FALSE(QFileInfo::exists(cups_->outputFile()));
}

TEST_F(SheetOnCups, TheJobHandedOverIsTheQueuesJobWithItsId)
{
    TIDPrinter sheet(Printer());
    sheet.Cell().Clear(0xFF204080);
    sheet.SetCount(2);
    sheet.PrintSheet();
    auto* printer = dynamic_cast<TQtPrinter*>(&Printer());
    ASSERT_NE(printer, nullptr);
    ASSERT_GT(printer->LastJobId(), 0);
    const auto all = cups_->jobs("all");
    ASSERT_TRUE(all.has_value());
    EXPECT_TRUE(all->contains(QStringLiteral("%1-%2 ").arg(PrivateCups::kQueue).arg(printer->LastJobId())))
        << all->toStdString();
}

TEST_F(SheetOnCups, AQueueThatWouldNotPrintIsAnErrorNamingItAndNothingIsQueued)
{
    // Each way the scheduler can hold the page back, and how it is undone.
    struct Case {
        const char* Stop;
        const char* Restart;
        const char* Reason;
    };
    const Case cases[] = {{"cupsreject", "cupsaccept", "is not accepting jobs"},
                          {"cupsdisable", "cupsenable", "is stopped"}};
    TIDPrinter sheet(Printer());
    sheet.SetCount(1);
    for (const Case& c : cases) {
        const QString stop = PrivateCups::findTool(QString::fromLatin1(c.Stop));
        const QString restart = PrivateCups::findTool(QString::fromLatin1(c.Restart));
        ASSERT_FALSE(stop.isEmpty() || restart.isEmpty()) << c.Stop;
        const auto before = cups_->jobs("all");
        ASSERT_TRUE(before.has_value());
        ASSERT_TRUE(cups_->runTool(stop, {PrivateCups::kQueue}).has_value()) << c.Stop;
        try {
            sheet.PrintSheet();
            ADD_FAILURE() << c.Stop << ": the page was reported as printed";
        } catch (const EPrinter& e) {
            EXPECT_TRUE(e.Message.contains(QStringLiteral("\"%1\"").arg(PrivateCups::kQueue)))
                << e.Message.toStdString();
            EXPECT_TRUE(e.Message.contains(QString::fromLatin1(c.Reason))) << e.Message.toStdString();
        }
        EXPECT_FALSE(Printer().Printing());
        const auto after = cups_->jobs("all");
        ASSERT_TRUE(cups_->runTool(restart, {PrivateCups::kQueue}).has_value()) << c.Restart;
        ASSERT_TRUE(after.has_value());
        EXPECT_EQ(PrivateCups::jobCount(*after), PrivateCups::jobCount(*before)) << c.Stop;
    }
    // Open again, the queue takes the page.
    sheet.PrintSheet();
    EXPECT_GT(dynamic_cast<TQtPrinter&>(Printer()).LastJobId(), 0);
}

TEST_F(SheetOnCups, APrinterDeletedAfterItWasChosenIsAnError)
{
    const QString lpadmin = PrivateCups::findTool(QStringLiteral("lpadmin"));
    const QString gone = QStringLiteral("QuorloGone");
    ASSERT_TRUE(cups_->runTool(lpadmin, {QStringLiteral("-p"), gone, QStringLiteral("-E"),
                                         QStringLiteral("-v"), QStringLiteral("file:///dev/null")})
                    .has_value());
    const QPrinterInfo info = QPrinterInfo::printerInfo(gone);
    if (info.isNull())
        GTEST_SKIP() << "Qt does not see the new queue";
    TQtPrinter printer(info);
    ASSERT_TRUE(cups_->runTool(lpadmin, {QStringLiteral("-x"), gone}).has_value());
    try {
        printer.BeginDoc();
        ADD_FAILURE() << "a job started on a deleted printer";
    } catch (const EPrinter& e) {
        EXPECT_TRUE(e.Message.contains(QStringLiteral("\"QuorloGone\" does not exist")))
            << e.Message.toStdString();
    }
    EXPECT_FALSE(printer.Printing());
}

TEST_F(SheetOnCups, AClassOfPrintersIsAQueueLikeAnyOther)
{
    const QString lpadmin = PrivateCups::findTool(QStringLiteral("lpadmin"));
    const QString cancel = PrivateCups::findTool(QStringLiteral("cancel"));
    const QString group = QStringLiteral("QuorloClass");
    ASSERT_TRUE(cups_->runTool(lpadmin, {QStringLiteral("-p"), PrivateCups::kQueue, QStringLiteral("-c"), group})
                    .has_value());
    ASSERT_TRUE(cups_->runTool(PrivateCups::findTool(QStringLiteral("cupsaccept")), {group}).has_value());
    ASSERT_TRUE(cups_->runTool(PrivateCups::findTool(QStringLiteral("cupsenable")), {group}).has_value());
    const TCupsQueue queue(group, cups_->socket());
    EXPECT_NO_THROW(queue.CheckReady());
    // Held, the job stays with the class and prints nothing.
    int job = 0;
    EXPECT_NO_THROW(job = queue.SubmitPdf(QByteArray("%PDF-1.4\n"), {QStringLiteral("job-hold-until=indefinite")}));
    EXPECT_GT(job, 0);
    ASSERT_TRUE(cups_->runTool(cancel, {QStringLiteral("-x"), QString::number(job)}).has_value());
    ASSERT_TRUE(cups_->runTool(lpadmin, {QStringLiteral("-x"), group}).has_value());
}

TEST_F(SheetOnCups, AJobTheQueueWillNotCreateIsRefusedWithItsReasonAndNothingIsQueued)
{
    const QString lpadmin = PrivateCups::findTool(QStringLiteral("lpadmin"));
    const auto before = cups_->jobs("all");
    ASSERT_TRUE(before.has_value());
    // The queue accepts jobs, only not from this user ("deny:all" would
    // refuse a user named "all" alone).
    ASSERT_TRUE(cups_->runTool(lpadmin, {QStringLiteral("-p"), PrivateCups::kQueue, QStringLiteral("-u"),
                                         QStringLiteral("allow:quorlo-nobody")})
                    .has_value());
    const TCupsQueue queue(PrivateCups::kQueue, cups_->socket());
    try {
        queue.SubmitPdf(QByteArray("%PDF-1.4\n"), {});
        ADD_FAILURE() << "a job went to a queue that allows nobody";
    } catch (const EPrinter& e) {
        EXPECT_TRUE(e.Message.startsWith(QStringLiteral("The printer \"%1\" refused the job: ").arg(PrivateCups::kQueue)))
            << e.Message.toStdString();
        EXPECT_FALSE(e.Message.section(QStringLiteral(": "), 1).trimmed().isEmpty()) << "no reason given";
    }
    const auto after = cups_->jobs("all");
    ASSERT_TRUE(cups_->runTool(lpadmin, {QStringLiteral("-p"), PrivateCups::kQueue, QStringLiteral("-u"),
                                         QStringLiteral("allow:all")})
                    .has_value());
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(PrivateCups::jobCount(*after), PrivateCups::jobCount(*before)) << after->toStdString();
}

TEST(CupsQueue, NoSchedulerIsAnErrorNamingThePrinter)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TCupsQueue queue(QStringLiteral("Office"), dir.filePath(QStringLiteral("cups.sock")));
    try {
        queue.SubmitPdf(QByteArray("%PDF-1.4\n"), {});
        ADD_FAILURE() << "a job went to no scheduler";
    } catch (const EPrinter& e) {
        EXPECT_TRUE(e.Message.contains(QStringLiteral("\"Office\" cannot be reached")))
            << e.Message.toStdString();
        EXPECT_TRUE(e.Message.contains(QStringLiteral("not running"))) << e.Message.toStdString();
    }
}
