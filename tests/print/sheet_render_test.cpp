#include "sheet_render.h"

#include "sheet_printer.h"
#include "test_printer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A photo of one flat colour as the main window holds it (Mitchell filter).
std::unique_ptr<TBitmap32> flatPhoto(int w, int h, TColor32 colour)
{
    auto photo = std::make_unique<TBitmap32>();
    photo->SetSize(w, h);
    photo->Clear(colour);
    photo->SetStretchFilter(sfMitchell);
    return photo;
}

}  // namespace

TEST(PhotoRectInCell, KeepsTheAspectTopLeft)
{
    // In doubles this is 796.5 and would round to 796.
    EXPECT_EQ(PhotoRectInCell(1200, 1600, 826, 1062), Rect(0, 0, 797, 1062));
    EXPECT_EQ(PhotoRectInCell(826, 1062, 826, 1062), Rect(0, 0, 826, 1062)) << "same aspect fills";
    EXPECT_EQ(PhotoRectInCell(1000, 1000, 826, 1062), Rect(0, 0, 826, 826)) << "square: white below";
    EXPECT_EQ(PhotoRectInCell(4000, 100, 413, 531), Rect(0, 0, 413, 10)) << "wide: full width";
    EXPECT_EQ(PhotoRectInCell(1, 1000, 413, 531), Rect(0, 0, 1, 531));
}

TEST(SheetRender, PhotoCellIsWhiteAroundTheFittedPhoto)
{
    TTestPrinter printer(2400, 3300, 300, 300);
    TIDPrinter sheet(printer);
    ASSERT_EQ(sheet.Cell().Width(), 413);
    ASSERT_EQ(sheet.Cell().Height(), 531);
    auto photo = flatPhoto(1000, 1000, 0xFF204080);
    RenderPhotoCell(*photo, kMainPhotoViewLook, sheet);
    const TBitmap32& cell = sheet.Cell();
    EXPECT_EQ(cell.Pixel(0, 0), 0xFF204080u);
    EXPECT_EQ(cell.Pixel(412, 412), 0xFF204080u);
    EXPECT_EQ(cell.Pixel(0, 413), clWhite32);
    EXPECT_EQ(cell.Pixel(412, 530), clWhite32);
}

TEST(SheetRender, AWidePhotoLeavesTheViewColourOnlyInsideTheViewExtent)
{
    TTestPrinter printer(2400, 3300, 300, 300);
    TIDPrinter sheet(printer);
    auto photo = flatPhoto(4000, 1000, 0xFF204080);   // 413 x 103 in the cell
    TViewLook look = kMainPhotoViewLook;
    look.Color = Color32(TColor{0x00FF00FF});
    RenderPhotoCell(*photo, look, sheet);
    const TBitmap32& cell = sheet.Cell();
    EXPECT_EQ(cell.Pixel(200, 50), 0xFF204080u);
    EXPECT_EQ(cell.Pixel(150, 150), Color32(TColor{0x00FF00FF})) << "inside 151 x 201";
    EXPECT_EQ(cell.Pixel(151, 150), clWhite32);
    EXPECT_EQ(cell.Pixel(10, 201), clWhite32);
}

TEST(SheetRender, PageIsThePrintersPageWithTheCopiesOnWhite)
{
    TTestPrinter printer(1200, 1700, 300, 300, 30, 40);
    TIDPrinter sheet(printer);
    auto photo = flatPhoto(413, 531, 0xFF102030);
    RenderPhotoCell(*photo, kMainPhotoViewLook, sheet);
    sheet.SetCount(1);
    TBitmap32 page;
    RenderPage(sheet, page);
    ASSERT_EQ(page.Width(), 1200);
    ASSERT_EQ(page.Height(), 1700);
    EXPECT_EQ(page.Pixel(30, 40) | 0xFF000000u, 0xFF102030u) << "first copy at the offset";
    EXPECT_EQ(page.Pixel(29, 40), clWhite32);
    EXPECT_EQ(page.Pixel(1199, 1699), clWhite32) << "only one copy asked for";

    sheet.SetCount(0);
    RenderPage(sheet, page);
    for (int y = 0; y < page.Height(); y += 7)
        for (int x = 0; x < page.Width(); x += 7)
            ASSERT_EQ(page.Pixel(x, y), clWhite32) << "count 0: a blank page";
}

TEST(SheetRender, SavedPageIsAQuality90JpegOfThePage)
{
    QTemporaryDir dir;
    TBitmap32 page;
    page.SetSize(64, 48);
    page.Clear(clWhite32);
    page.FillRectS(8, 8, 24, 40, 0x00204080);   // alpha 0 must not matter
    const QString name = dir.filePath("page.jpg");
    SavePageAsJpeg(page, name, 300, 300);
    TBitmap32 back;
    back.LoadFromFile(name);
    ASSERT_EQ(back.Width(), 64);
    EXPECT_NEAR(RedComponent(back.Pixel(16, 20)), 0x20, 6);
    EXPECT_NEAR(BlueComponent(back.Pixel(16, 20)), 0x80, 6);
    EXPECT_EQ(back.Pixel(60, 4), clWhite32);

    EXPECT_THROW(SavePageAsJpeg(page, dir.filePath("missing/page.jpg"), 300, 300), Exception);
}

TEST(SheetRender, AnExtremeAspectDrawsNothingInTheViewAndNoErrorInTheCell)
{
    TTestPrinter printer(2400, 3300, 300, 300);
    TIDPrinter sheet(printer);
    // The aspect fit keeps one column, where the view shows nothing: a
    // one-pixel strip, the view's colour beside it as far as the view
    // reaches, white beyond.
    auto photo = flatPhoto(1, 1000, 0xFF204080);
    RenderPhotoCell(*photo, kMainPhotoViewLook, sheet);
    EXPECT_EQ(sheet.Cell().Pixel(0, 100), 0xFF204080u);
    EXPECT_EQ(sheet.Cell().Pixel(1, 100), kMainPhotoViewLook.Color);
    EXPECT_EQ(sheet.Cell().Pixel(151, 100), clWhite32);
}

namespace {

QByteArray fileBytes(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(SheetRender, SheetWithoutAPageBufferIsTheSavedPageByteForByte)
{
    // Printers at 100 dpi (137 x 177 cells) whose grids cross the encoder's
    // bands and blocks at odd places: offsets, partial last rows, a single
    // column, copies reaching the page's last pixel, and a blank page.
    struct Case {
        int HorzRes, VertRes, DpiX, DpiY, OffsetX, OffsetY, Count;
    };
    const Case cases[] = {
        {466, 406, 100, 100, 7, 11, 6},   {466, 406, 100, 100, 7, 11, 4},
        {466, 600, 100, 100, 0, 0, 5},    {288, 406, 100, 100, 7, 11, 2},
        {274, 354, 100, 100, 0, 0, 4},    {466, 406, 100, 50, 3, 1, 9},
        {466, 406, 100, 100, 7, 11, 0},   {100, 100, 100, 100, 0, 0, 3},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        TTestPrinter printer(c.HorzRes, c.VertRes, c.DpiX, c.DpiY,
                                                             c.OffsetX, c.OffsetY);
        TIDPrinter sheet(printer);
        auto photo = flatPhoto(300, 400, 0xFF204080);
        photo->FillRectS(0, 0, 150, 200, 0xFFE0C040);
        RenderPhotoCell(*photo, kMainPhotoViewLook, sheet);
        sheet.SetCount(c.Count);

        TBitmap32 page;
        RenderPage(sheet, page);
        const QString fromPage = dir.filePath("page.jpg");
        SavePageAsJpeg(page, fromPage, sheet.DpiX(), sheet.DpiY());
        const QString composed = dir.filePath("sheet.jpg");
        SaveSheetAsJpeg(sheet, composed);
        const QByteArray expected = fileBytes(fromPage);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_TRUE(fileBytes(composed) == expected)
            << c.HorzRes << " x " << c.VertRes << " offsets " << c.OffsetX << ", " << c.OffsetY
            << ", count " << c.Count;
    }
}

TEST(SheetRender, SavedPageStatesThePrintersResolution)
{
    TTestPrinter printer(1200, 1700, 600, 300);
    TIDPrinter sheet(printer);
    sheet.SetCount(1);
    QTemporaryDir dir;
    const QString name = dir.filePath("sheet.jpg");
    SaveSheetAsJpeg(sheet, name);
    const QByteArray jpeg = fileBytes(name);
    ASSERT_GT(jpeg.size(), 18);
    // JFIF density: units 1 (dots per inch), then X and Y, big-endian.
    EXPECT_EQ(jpeg.mid(6, 5), QByteArray("JFIF\0", 5));
    EXPECT_EQ(jpeg.at(13), 1);
    EXPECT_EQ((uchar(jpeg.at(14)) << 8) | uchar(jpeg.at(15)), 600);
    EXPECT_EQ((uchar(jpeg.at(16)) << 8) | uchar(jpeg.at(17)), 300);
}

namespace {

// A photo whose every pixel differs from its neighbours, so that any shift
// or second resampling shows.
std::unique_ptr<TBitmap32> gradientPhoto(int w, int h)
{
    auto photo = flatPhoto(w, h, clWhite32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            photo->SetPixel(x, y, 0xFF000000u | static_cast<TColor32>((x * 7) % 256)
                                              | static_cast<TColor32>((y * 5) % 256) << 8
                                              | static_cast<TColor32>((x + y) % 256) << 16);
    return photo;
}

bool samePixels(const TBitmap32& a, const TBitmap32& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

}  // namespace

TEST(SheetRender, FramedCellShowsExactlyTheFramedRectangle)
{
    TTestPrinter printer(2400, 3300, 300, 300);
    TIDPrinter sheet(printer);
    const int cw = sheet.Cell().Width();
    const int ch = sheet.Cell().Height();

    // The photo's own rectangle with the cell's aspect: the plain fit.
    auto whole = gradientPhoto(cw * 2, ch * 2);
    RenderPhotoCell(*whole, kMainPhotoViewLook, sheet);
    TBitmap32 fitted;
    fitted.Assign(&sheet.Cell());
    RenderPhotoCell(*whole, kMainPhotoViewLook, sheet, TFrame{0, 0, cw * 2.0, ch * 2.0});
    EXPECT_TRUE(samePixels(sheet.Cell(), fitted)) << "frame = photo";

    // A frame of the cell's size reaching 200 pixels past the right edge:
    // the photo 1:1 from column 200, white beyond its edge.
    auto photo = gradientPhoto(cw, ch);
    RenderPhotoCell(*photo, kMainPhotoViewLook, sheet, TFrame{200, 0, cw * 1.0, ch * 1.0});
    for (int y = 0; y < ch; y += 13) {
        for (int x = 0; x < cw; x += 11) {
            const TColor32 expected = x < cw - 200 ? photo->Pixel(x + 200, y) : clWhite32;
            ASSERT_EQ(sheet.Cell().Pixel(x, y), expected) << x << "," << y;
        }
    }
    // The cut marks' outline knows where the frame left the cell white.
    EXPECT_EQ(sheet.PhotoInCell(), QRect(0, 0, cw - 200, ch));
}

TEST(SheetRender, FramedPhotoRectPutsTheFramesCornersOnTheCells)
{
    struct Case {
        TFrame frame;
        TRect expected;
    } cases[] = {
        {{0, 0, 400, 500}, Rect(0, 0, 400, 500)},
        {{100, 100, 200, 250}, Rect(-200, -200, 600, 800)},       // zoomed in twice
        {{-100, -50, 800, 1000}, Rect(50, 25, 250, 275)},         // the photo small inside
        {{0, 0, 0, 500}, TRect{}},                                // no size
        {{0, 0, 1e-12, 1e-12}, Rect(0, 0, 1 << 30, 1 << 30)},     // held within range
    };
    for (const Case& c : cases)
        EXPECT_EQ(FramedPhotoRect(400, 500, c.frame, 400, 500), c.expected)
            << c.frame.X << "," << c.frame.Y << " " << c.frame.Width;
}
TEST(SheetRender, CutMarksLieInGapsAndOnWhiteBordersAlikeInBothJpegRoutes)
{
    // 100 dpi printers (137 x 177 cells); the 300 x 400 photo fills 133 of
    // the 137 columns, so each cell's right border and the ends of its top
    // and bottom borders are white and get outlined.
    struct Case {
        int HorzRes, VertRes, OffsetX, OffsetY, Count;
    };
    const Case cases[] = {{466, 406, 7, 11, 6}, {466, 406, 7, 11, 4}, {274, 354, 0, 0, 4},
                          {466, 600, 0, 0, 5}};
    const TColor32 grey = kCutMarkColour.rgb();
    QTemporaryDir dir;
    for (const Case& c : cases) {
        TTestPrinter printer(c.HorzRes, c.VertRes, 100, 100, c.OffsetX, c.OffsetY);
        TIDPrinter sheet(printer);
        RenderPhotoCell(*flatPhoto(300, 400, 0xFF204080), kMainPhotoViewLook, sheet);
        sheet.SetCount(c.Count);
        const std::vector<QPoint> places = sheet.Places();
        const QRect photo = sheet.PhotoInCell();
        ASSERT_EQ(photo, QRect(0, 0, 133, 177));

        TBitmap32 page;
        RenderPage(sheet, page);
        for (int y = 0; y < page.Height(); ++y)
            for (int x = 0; x < page.Width(); ++x)
                ASSERT_NE(page.Pixel(x, y), grey) << "marks are off";

        sheet.SetCutMarks(true);
        RenderPage(sheet, page);
        int marked = 0;
        for (int y = 0; y < page.Height(); ++y) {
            for (int x = 0; x < page.Width(); ++x) {
                if (page.Pixel(x, y) != grey)
                    continue;
                ++marked;
                for (const QPoint& p : places) {
                    const QRect cell(p, QSize(137, 177));
                    if (!cell.contains(x, y))
                        continue;
                    const bool border = x == cell.left() || x == cell.right() || y == cell.top()
                                        || y == cell.bottom();
                    EXPECT_TRUE(border && !photo.translated(p).contains(x, y))
                        << "mark over a photo at " << x << ", " << y;
                }
            }
        }
        EXPECT_GT(marked, 0);
        // The white right border of the first copy is outlined all along,
        // and a mark leaves its top-right corner into the gap or margin.
        const QPoint first = places.front();
        EXPECT_EQ(page.Pixel(first.x() + 136, first.y() + 90), grey);
        EXPECT_EQ(page.Pixel(first.x() + 138, first.y()), grey);

        const QString fromPage = dir.filePath("page.jpg");
        SavePageAsJpeg(page, fromPage, sheet.DpiX(), sheet.DpiY());
        const QString composed = dir.filePath("sheet.jpg");
        SaveSheetAsJpeg(sheet, composed);
        EXPECT_TRUE(fileBytes(composed) == fileBytes(fromPage))
            << c.HorzRes << " x " << c.VertRes << ", count " << c.Count;
    }
}

// The person on the left half of a photo, its background on the right: with
// a plain background the cell keeps the person's pixels and takes the colour
// elsewhere, the unframed photo's white strip included; the photo stays.
TEST(SheetRender, APlainBackgroundReplacesAllButThePersonInTheCell)
{
    TTestPrinter printer(2400, 3300, 300, 300);
    TIDPrinter sheet(printer);
    const int cw = sheet.Cell().Width(), ch = sheet.Cell().Height();
    auto photo = flatPhoto(300, 400, Color32(40, 90, 200));
    photo->FillRectS(0, 0, 150, 400, Color32(200, 60, 50));
    TPlainBackground background{Color32(220, 220, 220), {}, {}};
    background.Mask.Region = QRectF(0, 0, 300, 400);
    for (int y = 0; y < TPersonMaskMap::kSide; ++y)
        for (int x = 0; x < TPersonMaskMap::kSide; ++x)
            background.Mask.Probability.push_back(x < TPersonMaskMap::kSide / 2 ? 1.f : 0.f);
    const struct {
        const char* what;
        std::optional<TFrame> frame;
        int personRight;   // the person's last column in the cell
    } cases[] = {
        {"unframed: the photo 400 rows high, a strip on the right", std::nullopt, 531 * 150 / 400},
        {"framed on the photo's middle", TFrame{75, 0, 150, 150.0 * ch / cw}, cw / 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RenderPhotoCell(*photo, kMainPhotoViewLook, sheet, c.frame, background);
        const TBitmap32& cell = sheet.Cell();
        for (int y = 0; y < ch; y += 37) {
            EXPECT_EQ(cell.Pixel(0, y), Color32(200, 60, 50)) << y;
            EXPECT_EQ(cell.Pixel(c.personRight - 40, y), Color32(200, 60, 50)) << y;
            EXPECT_EQ(cell.Pixel(c.personRight + 40, y), background.Colour) << y;
            EXPECT_EQ(cell.Pixel(cw - 1, y), background.Colour) << y;
        }
    }
    EXPECT_EQ(photo->Pixel(299, 0), Color32(40, 90, 200));
}
