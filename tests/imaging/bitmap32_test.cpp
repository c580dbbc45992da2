#include "bitmap32.h"

#include "exception.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct EventCounter {
    int changes = 0;
    int resizes = 0;
    int handles = 0;

    void attach(TBitmap32& b)
    {
        b.OnChange = [this](TThreadPersistent&) { ++changes; };
        b.OnResize = [this](TThreadPersistent&) { ++resizes; };
        b.OnHandleChanged = [this](TThreadPersistent&) { ++handles; };
    }
};

// A recognisable pattern with varying alpha, so copies can be checked exactly.
void fillPattern(TBitmap32& b)
{
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, Color32(x * 7 % 256, y * 13 % 256, (x + y) % 256, (x * y) % 256));
}

}  // namespace

TEST(TBitmap32, SizeRules)
{
    TBitmap32 b;
    EventCounter events;
    events.attach(b);

    EXPECT_TRUE(b.SetSize(-5, 10));
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 10);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_EQ(b.Handle(), nullptr);

    EXPECT_TRUE(b.SetSize(15, 31));
    EXPECT_EQ(events.changes, 2);
    EXPECT_EQ(events.resizes, 2);
    EXPECT_FALSE(b.SetSize(15, 31));
    EXPECT_FALSE(b.SetWidth(15));
    EXPECT_EQ(events.changes, 2);
    EXPECT_EQ(events.resizes, 2);

    EXPECT_TRUE(b.SetWidth(20));
    EXPECT_TRUE(b.SetHeight(3));
    EXPECT_EQ(b.BoundsRect(), Rect(0, 0, 20, 3));
    EXPECT_EQ(b.ClipRect(), b.BoundsRect());

    b.Delete();
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
}

TEST(TBitmap32, FreshStorageIsTransparentBlackAndPacked)
{
    TBitmap32 b;
    b.SetSize(15, 31);
    ASSERT_NE(b.Bits(), nullptr);
    for (int i = 0; i < 15 * 31; ++i)
        ASSERT_EQ(b.Bits()[i], 0u);
    EXPECT_EQ(b.ScanLine(1), b.Bits() + 15);
    EXPECT_EQ(b.Handle()->constBits(), reinterpret_cast<const uchar*>(b.Bits()));
}

TEST(TBitmap32, ImpossibleSizeRaisesAndLeavesAUsableEmptyBitmap)
{
    TBitmap32 b;
    b.SetSize(4, 4);
    EventCounter events;
    events.attach(b);
    try {
        b.SetSize(100000, 100000);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Can't allocate the DIB handle");
    }
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(events.handles, 1);

    EXPECT_THROW(b.SetSize(2147483647, 2147483647), Exception);
    EXPECT_TRUE(b.SetSize(3, 3));
    b.Clear(clWhite32);
    EXPECT_EQ(b.Pixel(2, 2), clWhite32);
}

TEST(TBitmap32, ClearAndFill)
{
    TBitmap32 b;
    EventCounter events;
    events.attach(b);
    b.Clear(clWhite32);
    EXPECT_EQ(events.changes, 0) << "Clear on an empty bitmap raises nothing";

    b.SetSize(100, 100);
    events.changes = 0;
    b.Clear(0xFFFFFFFF);
    EXPECT_EQ(events.changes, 1);
    const auto* bytes = reinterpret_cast<const unsigned char*>(b.Bits());
    for (int i = 0; i < 100 * 100 * 4; ++i)
        ASSERT_EQ(bytes[i], 0xFF);

    b.Clear(0);
    b.FillRectS(0, 0, 151, 10, 0xFF123456);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(b.Pixel(x, y), y < 10 ? 0xFF123456u : 0u) << x << "," << y;

    events.changes = 0;
    b.FillRectS(5, 5, 5, 50, 1);          // empty
    b.FillRectS(200, 200, 300, 300, 1);   // wholly outside
    EXPECT_EQ(events.changes, 0);

    b.SetClipRect(Rect(10, 10, 20, 20));
    b.FillRectS(0, 0, 100, 100, 0xFF00FF00);
    EXPECT_EQ(b.Pixel(9, 15), 0u);
    EXPECT_EQ(b.Pixel(10, 10), 0xFF00FF00u);
    EXPECT_EQ(b.Pixel(19, 19), 0xFF00FF00u);
    EXPECT_EQ(b.Pixel(20, 19), 0u);

    b.SetSize(50, 50);
    EXPECT_EQ(b.ClipRect(), b.BoundsRect()) << "a size change resets the clip";
}

TEST(TBitmap32, ResetAlphaKeepsColours)
{
    TBitmap32 b;
    b.SetSize(3, 2);
    b.SetPixel(1, 1, 0x00123456);
    b.ResetAlpha();
    EXPECT_EQ(b.Pixel(1, 1), 0xFF123456u);
    EXPECT_EQ(b.Pixel(0, 0), 0xFF000000u);
}

TEST(TBitmap32, UpdateBracketSuppressesChange)
{
    TBitmap32 b;
    EventCounter events;
    events.attach(b);
    b.BeginUpdate();
    b.SetSize(10, 10);
    b.Clear(clWhite32);
    b.FillRectS(0, 0, 5, 5, 0);
    EXPECT_EQ(events.changes, 0);
    EXPECT_EQ(events.resizes, 1) << "OnResize is not part of the update bracket";
    b.EndUpdate();
    EXPECT_EQ(events.changes, 0) << "EndUpdate does not raise OnChange by itself";
    b.Changed();
    EXPECT_EQ(events.changes, 1);

    try {
        b.EndUpdate();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Unpaired TThreadPersistent.EndUpdate");
    }
    EXPECT_EQ(b.UpdateCount(), 0);
}

TEST(TBitmap32, LockCountsNest)
{
    TBitmap32 b;
    b.Lock();
    b.Lock();
    EXPECT_EQ(b.LockCount(), 2);
    b.Unlock();
    b.Unlock();
    EXPECT_EQ(b.LockCount(), 0);
}

TEST(TBitmap32, PropertySettersNotifyOnlyOnChange)
{
    TBitmap32 b;
    EventCounter events;
    events.attach(b);
    b.SetStretchFilter(sfNearest);
    b.SetDrawMode(dmOpaque);
    b.SetMasterAlpha(255);
    EXPECT_EQ(events.changes, 0);
    b.SetStretchFilter(sfMitchell);
    b.SetCombineMode(cmBlend);   // always notifies
    EXPECT_EQ(events.changes, 2);
    EXPECT_EQ(b.StretchFilter(), 6);
}

TEST(TBitmap32, CanvasPaintsIntoTheSamePixels)
{
    TBitmap32 b;
    b.SetSize(15, 31);
    b.Canvas().fillRect(QRect(2, 3, 4, 5), QColor(10, 20, 30));
    EXPECT_EQ(b.Pixel(2, 3) & 0x00FFFFFF, 0x000A141Eu);
    EXPECT_EQ(b.Pixel(5, 7) & 0x00FFFFFF, 0x000A141Eu);
    EXPECT_EQ(b.Pixel(6, 7), 0u);

    // The canvas follows the storage through a size change.
    b.SetSize(40, 40);
    b.Canvas().fillRect(QRect(39, 39, 1, 1), QColor(255, 0, 0));
    EXPECT_EQ(b.Pixel(39, 39) & 0x00FFFFFF, 0x00FF0000u);
}

TEST(TBitmap32, DrawToEqualSizeIsBitExactWhateverTheFilter)
{
    for (TStretchFilter filter : {sfNearest, sfLinear, sfMitchell, sfLanczos}) {
        TBitmap32 src;
        src.SetSize(15, 31);
        fillPattern(src);
        src.SetStretchFilter(filter);
        TBitmap32 dst;
        dst.SetSize(40, 40);
        int changes = 0;
        dst.OnChange = [&](TThreadPersistent&) { ++changes; };
        src.DrawTo(dst, Rect(5, 6, 20, 37));
        EXPECT_EQ(changes, 1);
        for (int y = 0; y < 31; ++y)
            for (int x = 0; x < 15; ++x)
                ASSERT_EQ(dst.Pixel(x + 5, y + 6), src.Pixel(x, y)) << filter;
        EXPECT_EQ(dst.Pixel(4, 6), 0u);
        EXPECT_EQ(dst.Pixel(20, 6), 0u);
    }
}

TEST(TBitmap32, DrawToClipsAtTheDestination)
{
    TBitmap32 src;
    src.SetSize(15, 31);
    fillPattern(src);
    TBitmap32 dst;
    dst.SetSize(10, 10);
    src.DrawTo(dst, Rect(-3, -4, 12, 27));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(dst.Pixel(x, y), src.Pixel(x + 3, y + 4));

    TBitmap32 empty;
    empty.DrawTo(dst, Rect(0, 0, 5, 5));   // does nothing, raises nothing
    src.DrawTo(empty, Rect(0, 0, 5, 5));
}

TEST(TBitmap32, AssignFromBitmapCopiesPixelsAndDrawingProperties)
{
    TBitmap32 src;
    src.SetSize(15, 31);
    fillPattern(src);
    src.SetStretchFilter(sfMitchell);
    src.SetMasterAlpha(100);
    src.SetOuterColor(0x12345678);
    src.SetCombineMode(cmMerge);

    TBitmap32 dst;
    int changes = 0;
    dst.OnChange = [&](TThreadPersistent&) { ++changes; };
    dst.Assign(&src);
    EXPECT_EQ(changes, 1) << "one OnChange for the whole assignment";
    ASSERT_EQ(dst.Width(), 15);
    EXPECT_EQ(std::memcmp(dst.Bits(), src.Bits(), 15 * 31 * 4), 0);
    EXPECT_EQ(dst.StretchFilter(), sfMitchell);
    EXPECT_EQ(dst.MasterAlpha(), 100);
    EXPECT_EQ(dst.OuterColor(), 0x12345678u);
    EXPECT_EQ(dst.CombineMode(), cmBlend);

    dst.Assign(static_cast<const TBitmap32*>(nullptr));
    EXPECT_TRUE(dst.Empty());
}

TEST(TBitmap32, AssignFromPlatformBitmaps)
{
    QImage rgb(7, 5, QImage::Format_RGB888);
    rgb.fill(QColor(1, 2, 3));
    rgb.setPixelColor(6, 4, QColor(200, 100, 50));
    TBitmap32 b;
    b.Assign(rgb);
    ASSERT_EQ(b.Width(), 7);
    ASSERT_EQ(b.Height(), 5);
    EXPECT_EQ(b.Pixel(0, 0), 0xFF010203u);
    EXPECT_EQ(b.Pixel(6, 4), 0xFFC86432u);

    QImage argb(3, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, 0x80FF0000);
    argb.setPixel(1, 0, 0x00000000);
    argb.setPixel(2, 0, 0xFF00FF00);
    b.Assign(argb);
    EXPECT_EQ(b.Pixel(0, 0), 0x80FF0000u) << "alpha kept when the image has it";
    EXPECT_EQ(b.Pixel(1, 0), 0x00000000u);

    QImage keyed(2, 1, QImage::Format_RGB32);
    keyed.setPixel(0, 0, 0xFFFF00FF);
    keyed.setPixel(1, 0, 0xFF0000FF);
    b.Assign(keyed, true, qRgb(255, 0, 255));
    EXPECT_EQ(b.Pixel(0, 0), 0x00FF00FFu);
    EXPECT_EQ(b.Pixel(1, 0), 0xFF0000FFu);

    b.Assign(QImage());
    EXPECT_TRUE(b.Empty());
}

namespace {
// A graphic that draws a red square into the left half of its area only.
class HalfGraphic : public TGraphic {
public:
    explicit HalfGraphic(bool icon) : icon_(icon) {}
    int Width() const override { return 8; }
    int Height() const override { return 4; }
    void Draw(QPainter& canvas, const TRect& r) override
    {
        canvas.fillRect(QRect(r.Left, r.Top, r.Width() / 2, r.Height()), QColor(0, 0, 255));
    }
    bool IsIconOrMetafile() const override { return icon_; }

private:
    bool icon_;
};
}  // namespace

TEST(TBitmap32, AssignFromGraphics)
{
    HalfGraphic drawn(false);
    TBitmap32 b;
    b.Assign(&drawn);
    ASSERT_EQ(b.Width(), 8);
    EXPECT_EQ(b.Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(b.Pixel(7, 3), 0xFF000000u) << "undrawn pixels are made opaque";

    HalfGraphic icon(true);
    b.Assign(&icon);
    EXPECT_EQ(b.Pixel(0, 0), 0xFF0000FFu) << "covered pixels are opaque";
    EXPECT_EQ(AlphaComponent(b.Pixel(7, 3)), 0) << "uncovered pixels are transparent";
}

TEST(TBitmap32, AssignToMakesA32BitImageOfTheSameSize)
{
    TBitmap32 b;
    b.SetSize(15, 31);
    fillPattern(b);
    QImage target(3, 3, QImage::Format_RGB888);
    b.AssignTo(target);
    EXPECT_EQ(target.depth(), 32);
    ASSERT_EQ(target.size(), QSize(15, 31));
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 15; ++x)
            ASSERT_EQ(target.pixel(x, y) & 0x00FFFFFF, b.Pixel(x, y) & 0x00FFFFFF);
}

TEST(TBitmap32, DrawToDeviceCopiesOneToOne)
{
    TBitmap32 b;
    b.SetSize(15, 31);
    fillPattern(b);
    b.ResetAlpha();
    QImage page(40, 40, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        b.DrawTo(painter, 10, 5);
    }
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 15; ++x)
            ASSERT_EQ(page.pixel(x + 10, y + 5), b.Pixel(x, y));
    EXPECT_EQ(page.pixel(9, 5), 0xFFFFFFFFu);
    EXPECT_EQ(page.pixel(25, 36), 0xFFFFFFFFu);
}

TEST(Color32, SwapsRedAndBlueAndResolvesSystemColours)
{
    EXPECT_EQ(Color32(TColor{0x00332211}), 0xFF112233u);
    EXPECT_EQ(Color32(TColor{0}), 0xFF000000u);
    const TColor32 face = Color32(clBtnFace);
    EXPECT_EQ(AlphaComponent(face), 255);
    EXPECT_EQ(face, Color32(SysColor(15)));
}

TEST(TBitmap32, OpaqueImageCopiesOnlyWhatIsNotOpaque)
{
    TBitmap32 bitmap;
    bitmap.SetSize(3, 2);
    bitmap.Clear(Color32(10, 20, 30));
    const QImage shared = bitmap.OpaqueImage();
    EXPECT_EQ(shared.constBits(), reinterpret_cast<const uchar*>(bitmap.Bits()));
    EXPECT_EQ(shared.pixel(2, 1), qRgb(10, 20, 30));

    bitmap.SetPixel(1, 1, Color32(40, 50, 60, 0));
    const QImage copied = bitmap.OpaqueImage();
    EXPECT_NE(copied.constBits(), reinterpret_cast<const uchar*>(bitmap.Bits()));
    EXPECT_EQ(copied.pixel(1, 1), qRgb(40, 50, 60));
}
