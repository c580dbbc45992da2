// TCupsPrinter against QPrinter on the queue of a private CUPS scheduler,
// described in turn as printers of other margins, papers and resolutions.
// Where no such scheduler can run, the test skips.
#include "cups_printer.h"

#include "private_cups_fixture.h"
#include "qt_printer.h"

#include <QImage>
#include <QPrinterInfo>
#include <QRegularExpression>

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

void PrintTo(const TPrinterMetrics& m, std::ostream* out)
{
    *out << m.HorzRes << " x " << m.VertRes << " px at " << m.DpiX << " x " << m.DpiY
         << " dpi, offsets " << m.OffsetX << ", " << m.OffsetY;
}

namespace {

using Edit = PrivateCups::PpdEdit;

Edit area(const char* leftBottomRightTop)
{
    return PrivateCups::a4ImageableArea(leftBottomRightTop);
}

Edit removed(const char* line)
{
    return {QByteArray(line) + '\n', QByteArray()};
}

// The queue's own paper and resolution, which QPrinter passes over.
const std::vector<Edit> kLetterAt600Dpi = {
    {"*DefaultPageSize: A4\n", "*DefaultPageSize: Letter\n"},
    {"*DefaultPageRegion: A4\n", "*DefaultPageRegion: Letter\n"},
    {"*DefaultImageableArea: A4\n", "*DefaultImageableArea: Letter\n"},
    {"*DefaultPaperDimension: A4\n", "*DefaultPaperDimension: Letter\n"},
    {"*DefaultResolution: 300dpi\n", "*DefaultResolution: 600dpi\n"},
};

struct Description {
    const char* what;
    std::vector<Edit> edits;
    // Where the page starts at 1200 dpi, so that a description that did not
    // reach both printers cannot pass.
    int offsetX;
    int offsetY;
};

std::vector<Edit> operator+(std::vector<Edit> a, const std::vector<Edit>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Two pages of the same image and a stroke each, as one job.
void printTwoPages(TPrinterDevice& printer)
{
    QImage photo(300, 200, QImage::Format_RGB32);
    photo.fill(0xFFD02020);
    TPrintJob job(printer);
    job.Canvas().drawImage(QRect(10, 10, 600, 400), photo);
    job.Canvas().fillRect(QRect(700, 0, 200, 100), Qt::blue);
    job.NewPage();
    job.Canvas().drawImage(QRect(10, 10, 600, 400), photo);
    job.End();
}

// A document without the second it was made in.
QByteArray undated(QByteArray pdf)
{
    // The metadata's dates, and the file identifier made from them.
    static const QRegularExpression dated(
        QStringLiteral("/CreationDate \\([^)]*\\)|xmp:(Create|Modify)Date=\"[^\"]*\"|/ID \\[[^]]*\\]"));
    return QString::fromLatin1(pdf).replace(dated, QString()).toLatin1();
}

class TCupsPrinterOnCups : public PrivateCupsFixture {
protected:
    void TearDown() override
    {
        if (!IsSkipped()) {
            EXPECT_FALSE(cups_->describeQueue(PrivateCups::testDescription()).has_value());
        }
        PrivateCupsFixture::TearDown();
    }
};

}  // namespace

TEST_F(TCupsPrinterOnCups, ReportsWhatQPrinterReportsForTheSameQueue)
{
    const std::vector<Description> descriptions = {
        {"A4 with margins of 18 and 24 points", PrivateCups::testDescription(), 300, 400},
        {"A4 to its edges: 10 points all round", {}, 167, 167},
        {"margins under 10 points on some sides", {area("5 30 590 812")}, 167, 500},
        {"margins in hundredths of a point", {area("11.62 11.62 583.65 830.27")}, 200, 200},
        {"half points, which round up", {area("10.5 12.5 584.5 829.5")}, 183, 217},
        {"half points on every side", {area("13.5 14.5 580.5 826.5")}, 233, 267},
        {"another paper and resolution preferred", PrivateCups::testDescription() + kLetterAt600Dpi, 300, 400},
        {"A4 of fractional points",
         {{"*PaperDimension A4/A4: \"595 842\"", "*PaperDimension A4/A4: \"595.28 841.89\""},
          {"<</PageSize[595 842]/", "<</PageSize[595.28 841.89]/"},
          area("18 24 577.28 817.89")},
         300, 400},
        {"A4 borderless beside A4 with margins",
         PrivateCups::testDescription()
             + std::vector<Edit>{
                 {"*ImageableArea A4/A4:", "*ImageableArea A4.Fullbleed/A4 (Borderless): \"0 0 595 842\"\n"
                                           "*ImageableArea A4/A4:"},
                 {"*PaperDimension A4/A4:", "*PaperDimension A4.Fullbleed/A4 (Borderless): \"595 842\"\n"
                                            "*PaperDimension A4/A4:"},
                 {"*PageSize A4/A4:", "*PageSize A4.Fullbleed/A4 (Borderless): \"<</PageSize[595 842]"
                                      "/ImagingBBox null>>setpagedevice\"\n*PageSize A4/A4:"},
                 {"*PageRegion A4/A4:", "*PageRegion A4.Fullbleed/A4 (Borderless): \"<</PageSize[595 842]"
                                        "/ImagingBBox null>>setpagedevice\"\n*PageRegion A4/A4:"}},
         300, 400},
        {"no A4 listed",
         kLetterAt600Dpi
             + std::vector<Edit>{
                 removed("*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\""),
                 removed("*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\""),
                 removed("*ImageableArea A4/A4: \"0 0 595 842\""),
                 removed("*PaperDimension A4/A4: \"595 842\"")},
         167, 167},
    };
    for (const Description& description : descriptions) {
        SCOPED_TRACE(description.what);
        const auto error = cups_->describeQueue(description.edits);
        ASSERT_FALSE(error.has_value()) << error->toStdString();
        const QPrinterInfo info = QPrinterInfo::printerInfo(PrivateCups::kQueue);
        ASSERT_FALSE(info.isNull());
        const TQtPrinter qt(info);
        const auto printer = TCupsPrinter::Named(PrivateCups::kQueue);
        ASSERT_NE(printer, nullptr);

        EXPECT_EQ(MetricsOf(*printer), MetricsOf(qt));
        EXPECT_EQ(printer->Name(), qt.Name());
        EXPECT_EQ(qt.Caps(TDeviceCap::PhysicalOffsetX), description.offsetX);
        EXPECT_EQ(qt.Caps(TDeviceCap::PhysicalOffsetY), description.offsetY);
    }
}

TEST_F(TCupsPrinterOnCups, JobIsTheOneQPrinterSends)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(PrivateCups::kQueue);
    ASSERT_FALSE(info.isNull());
    TQtPrinter qt(info);
    const auto printer = TCupsPrinter::Named(PrivateCups::kQueue);
    ASSERT_NE(printer, nullptr);
    printTwoPages(qt);
    printTwoPages(*printer);

    const QByteArray expected = cups_->spooledDocument(qt.LastJobId());
    ASSERT_TRUE(expected.startsWith("%PDF-"));
    EXPECT_EQ(undated(cups_->spooledDocument(printer->LastJobId())), undated(expected));
}

TEST_F(TCupsPrinterOnCups, TheJobTitleNamesTheJobInTheQueue)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(PrivateCups::kQueue);
    ASSERT_FALSE(info.isNull());
    TQtPrinter qt(info);
    const auto cups = TCupsPrinter::Named(PrivateCups::kQueue);
    ASSERT_NE(cups, nullptr);
    const QString title = QString::fromUtf8("Quorlo \u2013 portr\u00E4t.jpg + 2");
    const auto queued = [](int id) {
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, PrivateCups::kQueue.toUtf8().constData(), 0,
                                       CUPS_WHICHJOBS_ALL);
        QString name;
        for (int i = 0; i < count; ++i)
            if (jobs[i].id == id)
                name = QString::fromUtf8(jobs[i].title);
        cupsFreeJobs(count, jobs);
        return name;
    };
    const struct {
        const char* what;
        TPrinterDevice& printer;
        std::function<int()> lastJob;
    } cases[] = {
        {"QPrinter's queue", qt, [&] { return qt.LastJobId(); }},
        {"the CUPS printer", *cups, [&] { return cups->LastJobId(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.printer.SetJobTitle(title);
        printTwoPages(c.printer);
        ASSERT_GT(c.lastJob(), 0);
        EXPECT_EQ(queued(c.lastJob()), title);
    }
}
