// quorlo-sheet run as a program: the page it writes for a virtual printer of
// known metrics, checked pixel by pixel against the grid, and against the
// page the main window's own code renders in this process.
#include "sheet_e2e.h"

#include "bitmap32.h"
#include "calibration.h"
#include "cut_marks.h"
#include "licence.h"
#include "pdf_tools.h"
#include "photo_check.h"
#include "printer.h"
#include "test_printer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

// Rectangles in failure messages as x, y, width and height.
void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

namespace {

constexpr QRgb kRed = 0xFFD02020;
constexpr QRgb kBlue = 0xFF2040C0;

// --paper 100x150mm --dpi 300 --margins 5: 1181 x 1771 pixels of paper, an
// offset of 59 on every side, a page of 1063 x 1653. The 35 x 45 mm cell is
// 413 x 531. The grid keeps another 59 inside the page on each side: 945
// across hold 2 cells with a gap of 945 - 826 = 119, 1535 down hold 2 with a
// gap of 1535 - 1062 = 473. Places start at the offset.
const QStringList kVirtualPrinter = {QStringLiteral("--paper"), QStringLiteral("100x150mm"),
                                     QStringLiteral("--dpi"),   QStringLiteral("300"),
                                     QStringLiteral("--margins"), QStringLiteral("5")};
constexpr int kPageWidth = 1063;
constexpr int kPageHeight = 1653;
constexpr int kCellWidth = 413;
constexpr int kCellHeight = 531;
constexpr int kPlaceX[] = {59, 59 + 413 + 119};
constexpr int kPlaceY[] = {59, 59 + 531 + 473};
// A 600 x 800 photo in the cell: 413 * (600 / 413) / (800 / 531) is 398.25,
// so the photo is 398 wide and full height, white to its right.
constexpr int kPhotoWidthInCell = 398;

using sheet_e2e::contentsOf;
using sheet_e2e::ToolRun;

// No real printer can be found or reached, and the built-in PDF printer's
// paper is A4 (the C locale's).
QProcessEnvironment toolEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral("/nonexistent/quorlo-test/cups.sock"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    return env;
}

ToolRun runTool(const QStringList& args, const QProcessEnvironment& env = toolEnvironment())
{
    return sheet_e2e::runTool(args, env);
}

void writePhoto(const QString& fileName, int width, int height)
{
    sheet_e2e::writePhoto(fileName, width, height, kRed, kBlue);
}

bool dark(TColor32 c)
{
    return RedComponent(c) < 160 || GreenComponent(c) < 160 || BlueComponent(c) < 160;
}

bool nearColour(TColor32 c, QRgb expected, int tolerance = 24)
{
    return std::abs(int(RedComponent(c)) - qRed(expected)) <= tolerance
        && std::abs(int(GreenComponent(c)) - qGreen(expected)) <= tolerance
        && std::abs(int(BlueComponent(c)) - qBlue(expected)) <= tolerance;
}

// The smallest rectangle holding every dark pixel of `area`; empty when none.
QRect darkBox(const TBitmap32& page, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (dark(page.Pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The part of the page that belongs to grid place (col, row): up to half
// way to the neighbouring places, and to the page's edges outside.
QRect placeArea(int col, int row)
{
    const int splitX = (kPlaceX[0] + kCellWidth + kPlaceX[1]) / 2;
    const int splitY = (kPlaceY[0] + kCellHeight + kPlaceY[1]) / 2;
    const int left = col == 0 ? 0 : splitX;
    const int right = col == 0 ? splitX : kPageWidth;
    const int top = row == 0 ? 0 : splitY;
    const int bottom = row == 0 ? splitY : kPageHeight;
    return QRect(left, top, right - left, bottom - top);
}

// Checks that the first `count` places of the 2 x 2 grid hold the photo,
// red above blue, exactly at their place, and that the rest is paper.
void expectCopies(const TBitmap32& page, int count)
{
    ASSERT_EQ(page.Width(), kPageWidth);
    ASSERT_EQ(page.Height(), kPageHeight);
    for (int index = 0; index < 4; ++index) {
        const int col = index % 2;
        const int row = index / 2;
        const QRect box = darkBox(page, placeArea(col, row));
        if (index >= count) {
            EXPECT_TRUE(box.isEmpty()) << "place " << index << " must stay blank";
            continue;
        }
        EXPECT_EQ(box, QRect(kPlaceX[col], kPlaceY[row], kPhotoWidthInCell, kCellHeight))
            << "place " << index;
        const int x = kPlaceX[col] + kPhotoWidthInCell / 2;
        EXPECT_TRUE(nearColour(page.Pixel(x, kPlaceY[row] + 100), kRed)) << "place " << index;
        EXPECT_TRUE(nearColour(page.Pixel(x, kPlaceY[row] + 430), kBlue)) << "place " << index;
    }
}

class QuorloSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        photo_ = path("photo.jpg");
        writePhoto(photo_, 600, 800);
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // Runs the tool on the virtual printer with `extra` arguments.
    ToolRun runVirtual(const QStringList& extra) const
    {
        return runTool(QStringList{photo_} + kVirtualPrinter + extra);
    }

    QTemporaryDir dir_;
    QString photo_;
};

}  // namespace

TEST_F(QuorloSheet, FillsEveryPlaceOfTheGridByDefault)
{
    const QString page = path("page.jpg");
    const ToolRun run = runVirtual({QStringLiteral("--output"), page});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
              QStringLiteral("35 x 45 mm (France): 4 of 4 copies in 2 x 2, cell 413 x 531 px, "
                             "page 1063 x 1653 px at 300 dpi -> %1\n")
                  .arg(page));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

    TBitmap32 sheet;
    sheet.LoadFromFile(page);
    expectCopies(sheet, 4);
}

TEST_F(QuorloSheet, CountFillsPlacesRowByRow)
{
    const QString three = path("three.jpg");
    ToolRun run = runVirtual({QStringLiteral("--count=3"), QStringLiteral("--output"), three});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("3 of 4 copies"))) << run.out.toStdString();
    TBitmap32 sheet;
    sheet.LoadFromFile(three);
    expectCopies(sheet, 3);

    const QString none = path("none.jpg");
    run = runVirtual({QStringLiteral("--count"), QStringLiteral("0"), QStringLiteral("--output"), none});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    sheet.LoadFromFile(none);
    expectCopies(sheet, 0);

    // The US format's 600 x 600 cell (2 in. at 300 dpi) fits once across 945 and twice down.
    run = runVirtual({QStringLiteral("--format"), QStringLiteral("1"), QStringLiteral("--output"),
                      path("us.jpg")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(
        QLatin1String("2 x 2 in. (US): 2 of 2 copies in 1 x 2, cell 600 x 600 px")))
        << run.out.toStdString();
}

TEST_F(QuorloSheet, WritesTheVeryJpegTheWindowSaves)
{
    // A tall photo, and a wide one whose rectangle ends above the view's
    // 201 rows, so the view's own background shows in the cell as well.
    writePhoto(path("wide.jpg"), 1600, 600);
    for (const char* name : {"photo.jpg", "wide.jpg"}) {
        const QString photo = path(name);
        const QString page = path("tool.jpg");
        const ToolRun run = runTool(QStringList{photo} + kVirtualPrinter
                                    + QStringList{QStringLiteral("--output"), page});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

        // The main window's print run and "Save as image" for a printer of
        // the same metrics.
        TTestPrinter printer(kPageWidth, kPageHeight, 300, 300, 59, 59);
        const QString saved = path("window.jpg");
        sheet_e2e::saveAsTheWindowDoes(printer, photo, saved);

        const QByteArray expected = contentsOf(saved);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_TRUE(contentsOf(page) == expected) << name;
    }
}

TEST_F(QuorloSheet, AFramedPhotoGivesTheVeryJpegTheWindowSaves)
{
    // The frame reaches past the photo's bottom: white there.
    const TFrame frame{100, 500, 350, 450};
    const QString page = path("tool.jpg");
    const ToolRun run = runVirtual({QStringLiteral("--frame"), QStringLiteral("100,500,350,450"),
                                    QStringLiteral("--output"), page});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("warning: 254 pixels per inch"))) << run.err.toStdString();

    TTestPrinter printer(kPageWidth, kPageHeight, 300, 300, 59, 59);
    const QString saved = path("window.jpg");
    sheet_e2e::saveAsTheWindowDoes(printer, photo_, saved, frame);
    const QByteArray expected = contentsOf(saved);
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_TRUE(contentsOf(page) == expected);

    TBitmap32 sheet;
    sheet.LoadFromFile(page);
    EXPECT_TRUE(nearColour(sheet.Pixel(kPlaceX[0] + 200, kPlaceY[0] + 100), kBlue));
    EXPECT_TRUE(nearColour(sheet.Pixel(kPlaceX[0] + 200, kPlaceY[0] + 450), 0xFFFFFFFF))
        << "below the photo";
}

TEST_F(QuorloSheet, ALowResolutionIsAWarningNotARefusal)
{
    // 70 x 90 photo pixels over 45 mm: 51 pixels per inch.
    const ToolRun run = runVirtual({QStringLiteral("--frame=0,0,70,90"), QStringLiteral("--output"),
                                    path("page.jpg")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("quorlo-sheet: warning: 51 pixels per inch printed: "
                                                "the photo may look blurred.\n")))
        << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path("page.jpg")));

    const ToolRun wrong = runVirtual({QStringLiteral("--frame=0,0,90,90"), QStringLiteral("--output"),
                                      path("wrong.jpg")});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.contains(QLatin1String("is not 35 x 45"))) << wrong.err.toStdString();
}

TEST_F(QuorloSheet, PdfHasOnePageOfThePaperWithTheCopiesInPlace)
{
    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    const QString file = path("page.pdf");
    const ToolRun run = runVirtual({QStringLiteral("--count"), QStringLiteral("3"),
                                    QStringLiteral("--output"), file});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(pdf_tools::pageCount(file), 1);
    // The PDF keeps sizes in whole points: 283.46 x 425.20.
    const QSizeF points = pdf_tools::pageSizePoints(file);
    EXPECT_NEAR(points.width(), 100 / 25.4 * 72, 1);
    EXPECT_NEAR(points.height(), 150 / 25.4 * 72, 1);

    // At 100 dpi, a third of the printer's pixels, measured from the paper's
    // corner as the printer would print.
    const QImage page = pdf_tools::render(file, 100);
    ASSERT_FALSE(page.isNull());
    for (int index = 0; index < 4; ++index) {
        const int x = kPlaceX[index % 2];
        const int y = kPlaceY[index / 2];
        const bool printed = index < 3;
        const QRgb top = page.pixel((x + 199) / 3, (y + 100) / 3);
        const QRgb bottom = page.pixel((x + 199) / 3, (y + 430) / 3);
        EXPECT_TRUE(pdf_tools::near(top, printed ? kRed : 0xFFFFFFFF)) << "place " << index;
        EXPECT_TRUE(pdf_tools::near(bottom, printed ? kBlue : 0xFFFFFFFF)) << "place " << index;
        EXPECT_TRUE(pdf_tools::near(page.pixel((x - 20) / 3, (y + 100) / 3), 0xFFFFFFFF))
            << "left of place " << index;
        EXPECT_TRUE(pdf_tools::near(page.pixel((x + 100) / 3, (y - 20) / 3), 0xFFFFFFFF))
            << "above place " << index;
    }
}

TEST_F(QuorloSheet, CutMarksComeOutAlikeInTheJpegAndThePdf)
{
    const QString jpeg = path("marked.jpg");
    ToolRun run = runVirtual({QStringLiteral("--cut-marks"), QStringLiteral("--output"), jpeg});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    TTestPrinter printer(kPageWidth, kPageHeight, 300, 300, 59, 59);
    const QString saved = path("window.jpg");
    sheet_e2e::saveAsTheWindowDoes(printer, photo_, saved, std::nullopt, true);
    const QByteArray window = contentsOf(saved);
    ASSERT_FALSE(window.isEmpty());
    EXPECT_TRUE(contentsOf(jpeg) == window);
    sheet_e2e::saveAsTheWindowDoes(printer, photo_, saved, std::nullopt, false);
    EXPECT_FALSE(contentsOf(saved) == window) << "the marks must show";

    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    const QString pdf = path("marked.pdf");
    run = runVirtual({QStringLiteral("--cut-marks"), QStringLiteral("--output"), pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // At the printer's 300 dpi; the page starts 59 pixels into the paper.
    const QImage page = pdf_tools::render(pdf, 300);
    ASSERT_FALSE(page.isNull());
    const QRgb grey = kCutMarkColour.rgb();
    const auto paper = [&page](int x, int y) { return page.pixel(x + 59, y + 59); };
    // A one-pixel line may be smoothed over its neighbours: grey at or
    // beside the pixel.
    const auto markedAt = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (pdf_tools::near(paper(x + dx, y + dy), grey, 40))
                    return true;
        return false;
    };
    for (int index = 0; index < 4; ++index) {
        const int x = kPlaceX[index % 2];
        const int y = kPlaceY[index / 2];
        // The outline where the photo leaves the cell white, a mark leaving
        // the top-left corner to the left, plain paper beside both.
        EXPECT_TRUE(markedAt(x + kCellWidth - 1, y + 265)) << "place " << index;
        EXPECT_TRUE(pdf_tools::near(paper(x + kCellWidth - 8, y + 265), 0xFFFFFFFF)) << "place " << index;
        EXPECT_TRUE(markedAt(x - 20, y)) << "place " << index;
        EXPECT_TRUE(pdf_tools::near(paper(x - 20, y + 6), 0xFFFFFFFF)) << "place " << index;
        EXPECT_TRUE(pdf_tools::near(paper(x + 199, y + 100), kRed)) << "place " << index;
    }
}

TEST_F(QuorloSheet, SizeGivesAnyPhotoSize)
{
    // 40 x 50 mm at 300 dpi: 472.44 and 590.55 pixels, rounded down.
    ToolRun run = runVirtual({QStringLiteral("--size"), QStringLiteral("40x50mm"),
                              QStringLiteral("--output"), path("size.jpg")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QLatin1String("40 x 50 mm: 4 of 4 copies in 2 x 2, cell 472 x 590 px")))
        << run.out.toStdString();

    const struct {
        QStringList args;
        const char* says;
    } refused[] = {
        {{QStringLiteral("--size"), QStringLiteral("40x50cm")}, "is not a photo size"},
        {{QStringLiteral("--size=4x50")}, "cannot be made"},
        {{QStringLiteral("--size"), QStringLiteral("40x50"), QStringLiteral("--format"), QStringLiteral("1")},
         "one of --format and --size"},
    };
    for (const auto& r : refused) {
        run = runVirtual(r.args + QStringList{QStringLiteral("--output"), path("refused.jpg")});
        EXPECT_EQ(run.exitCode, 2) << r.says;
        EXPECT_TRUE(run.err.contains(QLatin1String(r.says))) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path("refused.jpg")));
    }
}

TEST_F(QuorloSheet, CalibratedPrinterPrintsThePhotoAtItsTrueSize)
{
    if (!pdf_tools::available())
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    // This printer prints 98 mm for every 100 down: the sheet must be drawn
    // 100/98 taller for the paper to show 50 mm.
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    ASSERT_TRUE(QDir().mkpath(path("config")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
    SaveCalibration(QStringLiteral("100x150mm at 600 dpi"), {100, 98});
    const QString pdf = path("calibrated.pdf");
    const ToolRun run = runTool({photo_, QStringLiteral("--paper"), QStringLiteral("100x150mm"),
                                 QStringLiteral("--margins"), QStringLiteral("5"), QStringLiteral("--size"),
                                 QStringLiteral("40x50mm"), QStringLiteral("--output"), pdf});
    const ToolRun ruler = runTool({QStringLiteral("--calibration-page"), QStringLiteral("--paper"),
                                   QStringLiteral("100x150mm"), QStringLiteral("--output"), path("ruler.pdf")});
    const ToolRun refused = runTool({QStringLiteral("--calibration-page"), photo_, QStringLiteral("--output"),
                                     path("refused.pdf")});
    qputenv("XDG_CONFIG_HOME", savedConfig);

    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // 40 mm across uncorrected, 50 x 100/98 mm = 1205.2 pixels down.
    EXPECT_TRUE(run.out.contains(QLatin1String("cell 944 x 1205 px"))) << run.out.toStdString();
    const QImage page = pdf_tools::render(pdf, 600);
    ASSERT_FALSE(page.isNull());
    // The first copy starts at the 5 mm offset inside the page, itself 5 mm
    // into the paper; its photo takes the cell's full height.
    const int x = 236 + 300;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < 236 + 1205 + 100 && y < page.height(); ++y) {
        if (!pdf_tools::near(page.pixel(x, y), 0xFFFFFFFF, 100)) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    }
    ASSERT_GE(top, 0);
    const double printedMm = (bottom - top + 1) * 25.4 / 600 * 0.98;
    EXPECT_NEAR(printedMm, 50.0, 0.1);

    ASSERT_EQ(ruler.exitCode, 0) << ruler.err.toStdString();
    EXPECT_TRUE(ruler.out.startsWith(QLatin1String("calibration page of 100x150mm at 600 dpi")))
        << ruler.out.toStdString();
    EXPECT_EQ(pdf_tools::pageCount(path("ruler.pdf")), 1);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(path("refused.pdf")));
}

TEST_F(QuorloSheet, WithoutAPrinterTheBuiltInPdfPrinterLaysOutA4)
{
    ToolRun run = runTool({photo_, QStringLiteral("--output"), path("a4.jpg")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String(
        "30 of 30 copies in 5 x 6, cell 826 x 1062 px, page 4958 x 7017 px at 600 dpi")))
        << run.out.toStdString();

    const QString pdf = path("a4.pdf");
    run = runTool({photo_, QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--output"), pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    if (pdf_tools::available()) {
        const QSizeF points = pdf_tools::pageSizePoints(pdf);
        EXPECT_NEAR(points.width(), 595, 1);
        EXPECT_NEAR(points.height(), 842, 1);
    }

    run = runTool({photo_, QStringLiteral("--print")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("quorlo-sheet: no printer is installed: write the page with "
                                      "--output PAGE.pdf instead\n"));
}

TEST_F(QuorloSheet, RunsWithoutADisplay)
{
    QProcessEnvironment env = toolEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    const QString page = path("page.jpg");
    const ToolRun run = runTool(QStringList{photo_} + kVirtualPrinter
                                    + QStringList{QStringLiteral("--output"), page},
                                env);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(page));
}

TEST_F(QuorloSheet, HelpAndVersion)
{
    ToolRun run = runTool({QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(QLatin1String("Usage: quorlo-sheet PHOTO.jpg"))) << run.out.toStdString();
    EXPECT_TRUE(run.err.isEmpty());

    run = runTool({QStringLiteral("--version")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringLiteral("quorlo-sheet " QUORLO_VERSION "\n") + kLicenceLine + u'\n');
}

TEST_F(QuorloSheet, FailuresSayOneThingAndWriteNothing)
{
    {
        QFile text(path("text.jpg"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("not a picture at all\n");
    }
    {
        // A real JPEG cut inside its header.
        QFile damaged(path("damaged.jpg"));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write(contentsOf(photo_).left(60));
    }
    QFile(path("empty.jpg")).open(QIODevice::WriteOnly);
    {
        QFile file(path("file"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    struct Case {
        QStringList args;   // the photo and the output are added by the loop
        const char* photo;
        const char* output;
        int exitCode;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{}, "missing.jpg", "out.jpg", 1,
         "Cannot open \"missing.jpg\": the file cannot be read (the file does not exist)."},
        {{}, "text.jpg", "out.jpg", 1,
         "Cannot open \"text.jpg\": the file does not hold the kind of photo its name says; JPEG (.jpg, .jpeg), PNG "
         "(.png) and HEIC (.heic, .heif) photos can be opened (#53)."},
        {{}, "damaged.jpg", "out.jpg", 1, "the JPEG photo is damaged or cannot be read (#"},
        {{}, "empty.jpg", "out.pdf", 1, "Cannot open \"empty.jpg\": the file is empty."},
        {kVirtualPrinter + QStringList{QStringLiteral("--count"), QStringLiteral("401")}, "photo.jpg",
         "out.jpg", 1, "401 copies need more than 100 pages"},
        {QStringList{QStringLiteral("nosuch.jpg")}, "photo.jpg", "out.pdf", 1,
         "Cannot open \"nosuch.jpg\""},
        {{QStringLiteral("--paper"), QStringLiteral("30x40mm"), QStringLiteral("--dpi"), QStringLiteral("300")},
         "photo.jpg", "out.jpg", 1, "not one 35 x 45 mm (France) photo fits on the page of 354 x 472 pixels"},
        {{}, "photo.jpg", "missing/out.jpg", 1, "Cannot save the sheet as \"out.jpg\" (the file does not exist)."},
        {{}, "photo.jpg", "file/out.pdf", 1, "Cannot save the sheet as \"out.pdf\" (the file does not exist)."},
        {{QStringLiteral("--printer"), QStringLiteral("No Such Printer")}, "photo.jpg", "out.jpg", 1,
         "no printer named \"No Such Printer\""},
        {{QStringLiteral("--bogus")}, "photo.jpg", "out.jpg", 2, "unknown option --bogus"},
        {{}, "photo.jpg", "out.png", 2, ".jpg, .jpeg or .pdf"},
    };
    for (const Case& c : cases) {
        const QString output = path(c.output);
        const QStringList args =
            QStringList{path(c.photo)} + c.args + QStringList{QStringLiteral("--output"), output};
        const ToolRun run = runTool(args);
        const QString label = args.join(QLatin1Char(' '));
        EXPECT_EQ(run.exitCode, c.exitCode) << label.toStdString();
        const QString message = QString::fromUtf8(c.message).replace(QLatin1String("%1"), dir_.path());
        EXPECT_TRUE(run.err.startsWith(QLatin1String("quorlo-sheet: ")) && run.err.contains(message))
            << label.toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << "one line: " << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << label.toStdString();
        EXPECT_FALSE(QFileInfo::exists(output)) << label.toStdString();
    }
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({QStringLiteral("damaged.jpg"), QStringLiteral("empty.jpg"),
                           QStringLiteral("file"), QStringLiteral("photo.jpg"), QStringLiteral("text.jpg")}))
        << "no temporary file left behind";
}

// Every sentence in the language of the locale, the names given kept as
// they are; a photo cut short still makes its sheet, with a warning.
TEST_F(QuorloSheet, SpeaksTheLocalesLanguageAndWarnsOfAPhotoCutShort)
{
    QProcessEnvironment german = toolEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LC_NUMERIC", "LANGUAGE"})
        german.remove(QString::fromLatin1(name));
    german.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(path("x.txt"), "PNG"));
    {
        QFile file(path("protected.pdf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::setPermissions(path("protected.pdf"), QFileDevice::ReadOwner));
    const struct {
        QStringList args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{photo_, "--bogus", "--output", path("out.jpg")}, 2,
         "unbekannte Option --bogus (siehe quorlo-sheet --help)"},
        {{photo_}, 2, "keine Ausgabe angegeben: Verwenden Sie --output PAGE.jpg, --output PAGE.pdf oder --print "
                      "(siehe quorlo-sheet --help)"},
        {{path("nichtda.jpg"), "--output", path("out.jpg")}, 1,
         "„nichtda.jpg“ lässt sich nicht öffnen: Die Datei kann nicht gelesen werden (die Datei existiert nicht)."},
        {{path("x.txt"), "--output", path("out.jpg")}, 1,
         "„x.txt“ lässt sich nicht öffnen: Nur JPEG- (.jpg, .jpeg), PNG- (.png) und HEIC-Fotos (.heic, .heif) "
         "können geöffnet werden (.txt)."},
        {{photo_, "--output", path("protected.pdf")}, 1,
         "Der Bogen kann nicht als „protected.pdf“ gespeichert werden (Zugriff verweigert)."},
        {{photo_, "--printer", "Nada", "--output", path("out.jpg")}, 1,
         "es ist kein Drucker namens „Nada“ installiert"},
    };
    // What the German catalogue would have left in English.
    static const QRegularExpression english(
        QStringLiteral("\\b(the|not|no|cannot|see|unknown|given|file|photo|printer|installed|use|or)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const ToolRun run = runTool(c.args, german);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err, QStringLiteral("quorlo-sheet: ") + QString::fromUtf8(c.message) + u'\n');
        static const QRegularExpression names(QStringLiteral("„[^“]*“|--[a-z]+|\\S+\\.(jpg|pdf)"));
        EXPECT_FALSE(english.match(QString(run.err).remove(names)).hasMatch()) << run.err.toStdString();
    }

    const QByteArray portrait = contentsOf(QStringLiteral(QRL_TEST_PORTRAIT));
    QFile cut(path("cut.jpg"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(portrait.left(portrait.size() / 2));
    cut.close();
    const ToolRun run = runTool(QStringList{cut.fileName()} + kVirtualPrinter
                                    + QStringList{QStringLiteral("--output"), path("page.jpg")},
                                german);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QString::fromUtf8("quorlo-sheet: Warnung: Die Fotodatei endet zu früh: Ihr unterer Teil fehlt.\n"));
    EXPECT_TRUE(run.out.contains(QString::fromUtf8("35 x 45 mm (Frankreich): 4 von 4 Abzügen in 2 x 2, Zelle 413 x 531 px")))
        << run.out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(path("page.jpg")));
}

TEST_F(QuorloSheet, FailedRunsKeepEarlierFiles)
{
    const QByteArray photo = contentsOf(photo_);
    ToolRun run = runTool(QStringList{photo_} + kVirtualPrinter
                          + QStringList{QStringLiteral("--output"), dir_.path() + QStringLiteral("/./photo.jpg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("is the photo itself"))) << run.err.toStdString();
    EXPECT_TRUE(contentsOf(photo_) == photo);

    const QString page = path("page.jpg");
    {
        QFile file(page);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("an earlier page");
    }
    run = runVirtual({QStringLiteral("--count"), QStringLiteral("401"), QStringLiteral("--output"), page});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(contentsOf(page), QByteArray("an earlier page"));

    // A second page would replace a photo of the run: nothing is written.
    ASSERT_TRUE(QFile::copy(photo_, path("page-2.jpg")));
    run = runTool(QStringList{photo_, path("page-2.jpg"), QStringLiteral("--count"), QStringLiteral("3")} + kVirtualPrinter
                  + QStringList{QStringLiteral("--output"), page});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("page-2.jpg\" is the photo itself"))) << run.err.toStdString();
    EXPECT_TRUE(contentsOf(path("page-2.jpg")) == photo);
    EXPECT_FALSE(QFileInfo::exists(path("page-1.jpg")));

    // A later page that cannot be written leaves the earlier ones as they were.
    ASSERT_TRUE(QFile::remove(path("page-2.jpg")));
    for (const char* name : {"page-1.jpg", "page-2.jpg"}) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name);
    }
    ASSERT_TRUE(QFile::setPermissions(path("page-2.jpg"), QFileDevice::ReadOwner));
    run = runTool(QStringList{photo_, QStringLiteral("--count"), QStringLiteral("6")} + kVirtualPrinter
                  + QStringList{QStringLiteral("--output"), page});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("page-2.jpg"))) << run.err.toStdString();
    EXPECT_EQ(contentsOf(path("page-1.jpg")), QByteArray("page-1.jpg"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".page")),
              QStringList());
}

TEST_F(QuorloSheet, SeveralPhotosFollowEachOtherOverPages)
{
    // Three photos told apart by their top half; two copies each fill the
    // four places of page 1 and two of page 2.
    const QRgb tops[] = {kRed, 0xFF20A040, 0xFFE0C020};
    const QStringList photos = {path("a.jpg"), path("b.jpg"), path("c.jpg")};
    for (int i = 0; i < 3; ++i)
        sheet_e2e::writePhoto(photos[i], 600, 800, tops[i], kBlue);
    const std::vector<std::vector<int>> pages = {{0, 0, 1, 1}, {2, 2}};
    const QStringList twoEach = photos + kVirtualPrinter + QStringList{QStringLiteral("--count"), QStringLiteral("2")};

    if (pdf_tools::available()) {
        const QString pdf = path("sheet.pdf");
        const ToolRun run = runTool(twoEach + QStringList{QStringLiteral("--output"), pdf});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith(QLatin1String(
            "35 x 45 mm (France): 3 photos, 6 copies on 2 pages of 4 places in 2 x 2, cell 413 x 531 px")))
            << run.out.toStdString();
        ASSERT_EQ(pdf_tools::pageCount(pdf), 2);
        for (std::size_t page = 0; page < pages.size(); ++page) {
            const QImage image = pdf_tools::render(pdf, 100, QRect(), static_cast<int>(page) + 1);
            ASSERT_FALSE(image.isNull());
            for (int place = 0; place < 4; ++place) {
                const int x = kPlaceX[place % 2] + 199;
                const int y = kPlaceY[place / 2];
                const bool used = place < static_cast<int>(pages[page].size());
                const QRgb top = used ? tops[pages[page][static_cast<std::size_t>(place)]] : 0xFFFFFFFF;
                EXPECT_TRUE(pdf_tools::near(image.pixel(x / 3, (y + 100) / 3), top))
                    << "page " << page + 1 << " place " << place;
                EXPECT_TRUE(pdf_tools::near(image.pixel(x / 3, (y + 430) / 3), used ? kBlue : 0xFFFFFFFF))
                    << "page " << page + 1 << " place " << place;
            }
        }
    }

    // JPEG pages beside the name given, each the page the window saves.
    const QString jpeg = path("sheet.jpg");
    ToolRun run = runTool(twoEach + QStringList{QStringLiteral("--output"), jpeg});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith(QStringLiteral("-> %1, %2\n").arg(path("sheet-1.jpg"), path("sheet-2.jpg"))))
        << run.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(jpeg));
    TTestPrinter printer(kPageWidth, kPageHeight, 300, 300, 59, 59);
    sheet_e2e::savePagesAsTheWindowWould(printer, photos, 2, path("window.jpg"));
    for (int page = 1; page <= 2; ++page) {
        const QByteArray expected = contentsOf(dir_.filePath(QStringLiteral("window-%1.jpg").arg(page)));
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_TRUE(contentsOf(dir_.filePath(QStringLiteral("sheet-%1.jpg").arg(page))) == expected)
            << "page " << page;
    }

    // Without a count the photos share one page, a copy each here.
    run = runTool(photos + kVirtualPrinter + QStringList{QStringLiteral("--output"), path("shared.jpg")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QLatin1String("3 photos, 3 copies on 1 page of 4 places"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.endsWith(QStringLiteral("-> %1\n").arg(path("shared.jpg")))) << run.out.toStdString();
}

TEST_F(QuorloSheet, FramingByTheFaceFollowsTheSizesOwnRuleForEachPhoto)
{
    const QString portrait = QStringLiteral(QRL_TEST_PORTRAIT);
    const auto framed = [&](const QStringList& args, const char* output) {
        const ToolRun run = runTool(QStringList{portrait} + args + kVirtualPrinter
                                    + QStringList{QStringLiteral("--frame"), QStringLiteral("auto"),
                                                  QStringLiteral("--output"), path(output)});
        EXPECT_EQ(run.exitCode, 0) << output << ": " << run.err.toStdString();
        return contentsOf(path(output));
    };
    // 35 x 45 mm is the first format's size: framed by its rule, not the
    // generic one; a document's id frames as the built-in format of its row.
    const QByteArray france = framed({QStringLiteral("--format"), QStringLiteral("0")}, "france.jpg");
    ASSERT_FALSE(france.isEmpty());
    EXPECT_TRUE(framed({QStringLiteral("--size"), QStringLiteral("35x45mm")}, "size.jpg") == france);
    const QByteArray us = framed({QStringLiteral("--format"), QStringLiteral("1")}, "us.jpg");
    EXPECT_TRUE(framed({QStringLiteral("--format"), QStringLiteral("us-passport")}, "id.jpg") == us);
    // Each photo of a run is framed; the same portrait twice fills the page
    // as one photo's copies do.
    EXPECT_TRUE(framed({QStringLiteral("--format"), QStringLiteral("1"), portrait}, "twice.jpg") == us);
}

// A document of the table prints at its office's size, framed by its rule;
// a background replaced for an office that refuses it is said, and made.
TEST_F(QuorloSheet, DocumentsPrintAtTheirOfficesSizesAndRefusedEditsAreSaid)
{
    const QString portrait = QStringLiteral(QRL_TEST_PORTRAIT);
    const auto runDocument = [&](const QString& id, const QStringList& extra, const char* output) {
        return runTool(QStringList{portrait} + kVirtualPrinter
                       + QStringList{QStringLiteral("--format"), id, QStringLiteral("--frame"), QStringLiteral("auto"),
                                     QStringLiteral("--output"), path(output)}
                       + extra);
    };
    // 33 x 48 mm at 300 dpi.
    const ToolRun china = runDocument(QStringLiteral("cn-visa"), {}, "cn.jpg");
    ASSERT_EQ(china.exitCode, 0) << china.err.toStdString();
    EXPECT_FALSE(china.err.contains(QLatin1String("refuses"))) << china.err.toStdString();
    EXPECT_TRUE(china.out.startsWith(QLatin1String("China, Visa: "))) << china.out.toStdString();
    EXPECT_TRUE(china.out.contains(QLatin1String("cell 389 x 566 px"))) << china.out.toStdString();

    // 50 x 70 mm; the passport office refuses a changed background.
    const ToolRun canada = runDocument(QStringLiteral("CA-passport"),
                                       {QStringLiteral("--background"), QStringLiteral("white")}, "ca.jpg");
    ASSERT_EQ(canada.exitCode, 0) << canada.err.toStdString();
    EXPECT_TRUE(canada.err.startsWith(QLatin1String("quorlo-sheet: warning: Canada, Passport: the office refuses "
                                                    "photos whose background was changed.\n")))
        << canada.err.toStdString();
    EXPECT_TRUE(canada.out.contains(QLatin1String("cell 590 x 826 px"))) << canada.out.toStdString();
    EXPECT_FALSE(contentsOf(path("ca.jpg")).isEmpty());
}

TEST_F(QuorloSheet, TheCheckSaysWhatAnOfficeWouldRefuseAndTheSheetIsMadeAllTheSame)
{
    const QString portrait = QStringLiteral(QRL_TEST_PORTRAIT);
    const QStringList us{portrait, QStringLiteral("--format"), QStringLiteral("1"), QStringLiteral("--frame"),
                         QStringLiteral("auto")};
    // Her glasses and the flag behind her fail the 2 x 2 in. photo.
    ToolRun run = runTool(us + QStringList{QStringLiteral("--check")});
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression(QStringLiteral("^FAIL +glasses "), QRegularExpression::MultilineOption)))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression(QStringLiteral("^ok +head_height "), QRegularExpression::MultilineOption)))
        << run.out.toStdString();

    run = runTool(us + kVirtualPrinter
                  + QStringList{QStringLiteral("--check-json"), QStringLiteral("--output"), path("us.jpg")});
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_FALSE(contentsOf(path("us.jpg")).isEmpty());
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    QStringList ids;
    for (const QJsonValue& m : json.value(QStringLiteral("measures")).toArray())
        ids << m.toObject().value(QStringLiteral("id")).toString();
    // Every measure but the edits: none were made.
    QStringList expected = CheckIds();
    expected.removeOne(QStringLiteral("unedited"));
    EXPECT_EQ(ids, expected);
    // The head in photo pixels, near the hand measurement (crown 62 under the cap, chin 326).
    const QJsonObject head = json.value(QStringLiteral("head")).toObject();
    EXPECT_NEAR(head.value(QStringLiteral("chin_y")).toDouble(), 326, 13);
    EXPECT_NEAR(head.value(QStringLiteral("crown_y")).toDouble(), 62, 13);
    // Her cap hides the crown: it is said to be estimated, and why.
    EXPECT_EQ(head.value(QStringLiteral("crown_source")).toString(), QStringLiteral("estimated"));
    EXPECT_EQ(head.value(QStringLiteral("crown_reason")).toString(), QStringLiteral("covered"));
    // The summary line goes to the standard error, leaving JSON alone on the output.
    EXPECT_TRUE(run.err.contains(QLatin1String("-> "))) << run.err.toStdString();

    // The user's own crown and chin: the frame and the head height follow them.
    run = runTool(us + QStringList{QStringLiteral("--head"), QStringLiteral("40,330"), QStringLiteral("--check-json")});
    const QJsonObject given = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    const QJsonObject givenHead = given.value(QStringLiteral("head")).toObject();
    EXPECT_EQ(givenHead.value(QStringLiteral("crown_y")).toDouble(), 40);
    EXPECT_EQ(givenHead.value(QStringLiteral("chin_y")).toDouble(), 330);
    EXPECT_EQ(givenHead.value(QStringLiteral("crown_source")).toString(), QStringLiteral("given"));
    EXPECT_FALSE(givenHead.contains(QStringLiteral("crown_reason")));

    // A digital photo is checked as the office receives it: the written picture.
    run = runTool({portrait, QStringLiteral("--digital"), QStringLiteral("us-visa"), QStringLiteral("--frame"),
                   QStringLiteral("auto"), QStringLiteral("--check-json"), QStringLiteral("--output"), path("visa.jpg")});
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_FALSE(contentsOf(path("visa.jpg")).isEmpty());
    const QJsonObject visa = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    // 600 x 600 pixels: the chin well inside the picture.
    EXPECT_LT(visa.value(QStringLiteral("head")).toObject().value(QStringLiteral("chin_y")).toDouble(), 600);
}

TEST_F(QuorloSheet, APlainBackgroundGoesIntoEveryCopyAndTheCheckJudgesIt)
{
    const QString portrait = QStringLiteral(QRL_TEST_PORTRAIT);
    ToolRun run = runTool(QStringList{portrait, QStringLiteral("--frame"), QStringLiteral("auto"),
                                      QStringLiteral("--background"), QStringLiteral("white"), QStringLiteral("--check")}
                          + kVirtualPrinter + QStringList{QStringLiteral("--output"), path("white.jpg")});
    // The flag behind her is not light; the white put there is.
    EXPECT_TRUE(run.out.contains(
        QRegularExpression(QStringLiteral("^ok +background_light "), QRegularExpression::MultilineOption)))
        << run.out.toStdString();
    TBitmap32 sheet;
    sheet.LoadFromFile(path("white.jpg"));
    ASSERT_FALSE(sheet.Empty()) << run.err.toStdString();
    EXPECT_TRUE(nearColour(sheet.Pixel(kPlaceX[1] + 5, kPlaceY[1] + 5), 0xFFFFFFFF)) << "the last copy's corner";

    // A photo without a person has nothing to put the colour behind.
    run = runVirtual({QStringLiteral("--background"), QStringLiteral("grey"), QStringLiteral("--output"),
                      path("none.jpg")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QLatin1String("no person was found"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("none.jpg")));
}
