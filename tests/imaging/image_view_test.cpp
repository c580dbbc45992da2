#include "image_view.h"

#include "exception.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kViewColor = 0x00336699;   // 0x00BBGGRR

// The main window's photo view: 151 x 201, top-left, scale mode resize.
std::unique_ptr<TImage32> makePhotoView()
{
    auto view = std::make_unique<TImage32>();
    view->resize(151, 201);
    view->SetBitmapAlign(baTopLeft);
    view->SetScale(1.0f);
    view->SetScaleMode(smResize);
    view->SetColor(kViewColor);
    return view;
}

void fillPattern(TBitmap32& b)
{
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, Color32(x % 256, y % 256, (x * y) % 256));
}

TRect placementFor(TImage32& view, int w, int h)
{
    view.Bitmap().SetSize(w, h);
    view.InvalidateCache();
    view.UpdateCache();
    return view.CachedBitmapRect();
}

}  // namespace

TEST(TImage32, ResizePlacementKeepsTheAspectAndFillsOneDimension)
{
    auto view = makePhotoView();
    EXPECT_EQ(placementFor(*view, 1200, 1600), Rect(0, 0, 151, 201));
    EXPECT_EQ(placementFor(*view, 1600, 1200), Rect(0, 0, 151, 113));
    EXPECT_EQ(placementFor(*view, 100, 100), Rect(0, 0, 151, 151));
    EXPECT_EQ(placementFor(*view, 151, 201), Rect(0, 0, 151, 201));

    // 1 x 1000: the width rounds to 0; the placement is empty and the mapping
    // stays the identity instead of dividing by zero.
    EXPECT_TRUE(placementFor(*view, 1, 1000).IsEmpty());
    EXPECT_EQ(view->Mapping(), TImageMapping{});

    view->Bitmap().Delete();
    EXPECT_EQ(view->GetBitmapRect(), TRect{});
}

TEST(TImage32, MappingIsSixteenDotSixteen)
{
    auto view = makePhotoView();
    placementFor(*view, 1200, 1600);
    const TImageMapping& m = view->Mapping();
    EXPECT_EQ(m.ScaleX, 8247);      // 151 * 65536 / 1200 = 8246.6
    EXPECT_EQ(m.ScaleY, 8233);      // 201 * 65536 / 1600 = 8233.0
    EXPECT_EQ(m.RevScaleX, 520816); // 1200 * 65536 / 151 = 520815.9
    EXPECT_EQ(m.ShiftX, 0);
}

TEST(TImage32, OtherAlignmentsAndScaleModes)
{
    auto view = makePhotoView();
    view->Bitmap().SetSize(1600, 1200);
    view->SetBitmapAlign(baCenter);
    EXPECT_EQ(view->GetBitmapRect(), Rect(0, 44, 151, 157));   // (201 - 113) div 2 = 44
    view->Bitmap().SetSize(1000, 2010);
    EXPECT_EQ(view->GetBitmapRect(), Rect(25, 0, 125, 201));   // (151 - 100) div 2 = 25, truncating
    view->Bitmap().SetSize(1600, 1200);

    view->SetBitmapAlign(baTopLeft);
    view->SetScaleMode(smScale);
    view->SetScale(0.0f);
    EXPECT_FLOAT_EQ(view->Scale(), 0.001f);
    view->SetScale(0.5f);
    EXPECT_EQ(view->GetBitmapSize(), QSize(800, 600));
    view->SetScaleMode(smStretch);
    EXPECT_EQ(view->GetBitmapSize(), QSize(151, 201));
    view->SetScaleMode(smNormal);
    EXPECT_EQ(view->GetBitmapSize(), QSize(1600, 1200));
}

TEST(TImage32, ScreenPaintFillsAroundThePhotoWithTheViewColour)
{
    auto view = makePhotoView();
    const TColor32 background = Color32(kViewColor);

    view->PrepareBuffer();
    ASSERT_GE(view->Buffer().Width(), 151);
    for (int y = 0; y < 201; ++y)
        for (int x = 0; x < 151; ++x)
            ASSERT_EQ(view->Buffer().Pixel(x, y), background) << "empty bitmap: all background";

    // A 151 x 113 photo is placed 1:1 at (0, 0, 151, 113).
    view->Bitmap().SetSize(151, 113);
    fillPattern(view->Bitmap());
    view->Bitmap().Changed();
    EXPECT_FALSE(view->BufferValid());
    view->PrepareBuffer();
    for (int y = 0; y < 201; ++y)
        for (int x = 0; x < 151; ++x)
            ASSERT_EQ(view->Buffer().Pixel(x, y),
                      y < 113 ? view->Bitmap().Pixel(x, y) : background)
                << x << "," << y;
}

TEST(TImage32, BackBufferGrowsWithSlackAndShrinksPastIt)
{
    auto view = makePhotoView();
    view->PrepareBuffer();
    EXPECT_EQ(view->Buffer().Width(), 191);
    EXPECT_EQ(view->Buffer().Height(), 241);
    view->resize(160, 210);
    view->PrepareBuffer();
    EXPECT_EQ(view->Buffer().Width(), 191) << "within the slack: kept";
    EXPECT_EQ(view->Buffer().Height(), 241);
    view->resize(100, 300);
    view->PrepareBuffer();
    EXPECT_EQ(view->Buffer().Width(), 100);
    EXPECT_EQ(view->Buffer().Height(), 340);
}

TEST(TImage32, PaintToBandsAreMeasuredByTheControl)
{
    auto view = makePhotoView();
    const TColor32 background = Color32(kViewColor);
    TBitmap32 cell;
    cell.SetSize(413, 531);

    // A wide photo filling rows 0..309: the band below it would only reach
    // the control's height 201, so nothing else changes.
    view->Bitmap().SetSize(413, 310);
    fillPattern(view->Bitmap());
    cell.Clear(clWhite32);
    view->PaintTo(cell, Rect(0, 0, 413, 310));
    for (int y = 0; y < 531; ++y)
        for (int x = 0; x < 413; ++x)
            ASSERT_EQ(cell.Pixel(x, y), y < 310 ? view->Bitmap().Pixel(x, y) : clWhite32)
                << x << "," << y;

    // Rows 0..149: columns 0..150 of rows 150..200 take the view's colour.
    view->Bitmap().SetSize(413, 150);
    fillPattern(view->Bitmap());
    cell.Clear(clWhite32);
    view->PaintTo(cell, Rect(0, 0, 413, 150));
    for (int y = 0; y < 531; ++y)
        for (int x = 0; x < 413; ++x) {
            TColor32 expected = clWhite32;
            if (y < 150)
                expected = view->Bitmap().Pixel(x, y);
            else if (y < 201 && x < 151)
                expected = background;
            ASSERT_EQ(cell.Pixel(x, y), expected) << x << "," << y;
        }
}

TEST(TImage32, PaintToIsPaintViewWithTheViewsLook)
{
    // What a print run without the view paints must be the view's PaintTo,
    // pixel for pixel: wide, tall, tiny and empty photos, rectangles inside
    // and beyond the view's extent.
    struct Case {
        int W, H;
        TRect R;
    } cases[] = {{4000, 1000, Rect(0, 0, 413, 103)}, {1200, 1600, Rect(0, 0, 398, 531)},
                 {15, 31, Rect(0, 0, 100, 150)},      {1, 1000, Rect(0, 0, 1, 531)},
                 {0, 0, Rect(0, 0, 413, 531)},        {300, 400, Rect(3, 5, 120, 170)}};
    for (const Case& c : cases) {
        auto view = makePhotoView();
        view->Bitmap().SetSize(c.W, c.H);
        fillPattern(view->Bitmap());
        view->Bitmap().SetStretchFilter(sfMitchell);
        TBitmap32 byView, byFunction;
        for (TBitmap32* cell : {&byView, &byFunction}) {
            cell->SetSize(413, 531);
            cell->Clear(clWhite32);
        }
        view->PaintTo(byView, c.R);
        PaintView(view->Bitmap(), sfMitchell, view->Look(), c.R, byFunction);
        for (int y = 0; y < 531; ++y)
            for (int x = 0; x < 413; ++x)
                ASSERT_EQ(byView.Pixel(x, y), byFunction.Pixel(x, y)) << c.W << " x " << c.H << " at " << x << "," << y;
    }
}

TEST(TImage32, PaintToLeavesTheNextScreenPaintAlone)
{
    auto view = makePhotoView();
    view->Bitmap().SetSize(151, 113);
    fillPattern(view->Bitmap());
    TBitmap32 cell;
    cell.SetSize(300, 300);
    view->PaintTo(cell, Rect(0, 0, 151, 113));
    EXPECT_FALSE(view->CacheValid());
    EXPECT_FALSE(view->PaintToMode());
    view->UpdateCache();
    EXPECT_EQ(view->CachedBitmapRect(), Rect(0, 0, 151, 113));
}

TEST(TImage32, ChangesNotifyUnlessAnUpdateIsOpen)
{
    auto view = makePhotoView();
    int changes = 0;
    view->OnChange = [&](TCustomImage32&) { ++changes; };
    view->Bitmap().SetSize(10, 10);
    EXPECT_GE(changes, 1);

    changes = 0;
    view->BeginUpdate();
    view->Bitmap().Clear(clWhite32);
    view->SetBitmapAlign(baTopLeft);
    EXPECT_EQ(changes, 0);
    view->EndUpdate();
    view->SetBitmapAlign(baTopLeft);   // even to its current value
    EXPECT_EQ(changes, 1);

    try {
        view->EndUpdate();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Unpaired EndUpdate call");
    }
}

TEST(TImage32, DefaultStagesAndCustomStage)
{
    auto view = makePhotoView();
    TPaintStages& stages = view->PaintStages();
    ASSERT_EQ(stages.Count(), 5);
    const int kinds[] = {PST_CLEAR_BACKGND, PST_CONTROL_FRAME, PST_DRAW_BITMAP,
                         PST_BITMAP_FRAME, PST_DRAW_LAYERS};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(stages[i].Stage, kinds[i]);
        EXPECT_TRUE(stages[i].DsgnTime);
        EXPECT_EQ(stages[i].RunTime, i % 2 == 0);
    }
    EXPECT_EQ(stages[4].Parameter, LOB_VISIBLE);

    int seen = -1;
    view->OnPaintStage = [&](TCustomImage32&, TBitmap32&, int n) { seen = n; };
    TPaintStage& custom = view->PaintStages().Add();
    custom.RunTime = true;
    custom.Stage = PST_CUSTOM;
    TBitmap32 dest;
    dest.SetSize(10, 10);
    view->PaintTo(dest, Rect(0, 0, 10, 10));
    EXPECT_EQ(seen, 5);
}
