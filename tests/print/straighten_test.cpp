// Straightening: a photo turned by a known angle comes back level, in the
// one resampling to the cell; without a turn the cell is what it always was.
#include "straighten.h"

#include "bitmap32.h"
#include "photo_check.h"
#include "sheet_printer.h"
#include "sheet_render.h"
#include "test_printer.h"
#include "turned_photo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

TFaceModels& models()
{
    static TFaceModels instance{QStringLiteral(QRL_TEST_MODEL_DIR)};
    return instance;
}

}  // namespace

TEST(Straighten, APhotoTurnedByAKnownAngleComesBackLevel)
{
    const auto levelling = [](const TBitmap32& photo) {
        const std::optional<double> turn = LevellingTurn(photo, AnalysePhoto(photo, models()));
        EXPECT_TRUE(turn);
        return turn.value_or(0);
    };
    const struct {
        const char* photo;
        double tilt;
    } cases[] = {{QRL_TEST_PORTRAIT, -7}, {QRL_TEST_PORTRAIT, 4}, {QRL_TEST_ASTRONAUT, 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.photo << " turned " << c.tilt);
        TBitmap32 portrait;
        portrait.LoadFromFile(QString::fromUtf8(c.photo));
        const double own = levelling(portrait);
        TBitmap32 tilted;
        TurnPhoto(portrait, c.tilt, tilted);
        const double turn = levelling(tilted);
        EXPECT_NEAR(turn, own - c.tilt, 0.2) << "the turn undoes the tilt";
        // As the windows turn it: the photo once, by both turns together.
        TBitmap32 level;
        TurnPhoto(portrait, c.tilt + turn, level);
        EXPECT_NEAR(levelling(level), 0, 0.2);
    }
}

TEST(Straighten, TheCellIsCutFromTheTurnedPhotoAndUnturnedAsAlways)
{
    TBitmap32 portrait;
    portrait.SetStretchFilter(sfMitchell);
    portrait.LoadFromFile(QStringLiteral(QRL_TEST_PORTRAIT));
    TTestPrinter printer(1200, 1600, 300, 300);
    TIDPrinter sheet(printer);
    const TFrame frame{100, 80, 280, 360};
    const auto cellOf = [&](const std::optional<TFrame>& f, std::optional<double> turn, TBitmap32& copy) {
        if (turn)
            RenderPhotoCell(portrait, kMainPhotoViewLook, sheet, f, std::nullopt, *turn);
        else
            RenderPhotoCell(portrait, kMainPhotoViewLook, sheet, f);
        copy.Assign(&sheet.Cell());
    };
    const auto same = [](const TBitmap32& a, const TBitmap32& b) {
        return a.Width() == b.Width() && a.Height() == b.Height()
               && std::equal(a.Bits(), a.Bits() + a.Width() * a.Height(), b.Bits());
    };
    TBitmap32 zero, none;
    for (const std::optional<TFrame>& f : {std::optional<TFrame>(frame), std::optional<TFrame>()}) {
        cellOf(f, 0.0, zero);
        cellOf(f, std::nullopt, none);
        EXPECT_TRUE(same(zero, none)) << "a turn of 0 takes the old path";
    }

    // Turned by 6 degrees, the cell shows what the turned photo shows in the
    // frame, within what two different resamplings leave apart.
    TBitmap32 turned;
    TurnPhoto(portrait, 6, turned);
    TBitmap32 cell;
    cellOf(frame, 6.0, cell);
    TBitmap32 expected;
    expected.SetSize(cell.Width(), cell.Height());
    turned.SetStretchFilter(sfMitchell);
    turned.DrawTo(expected, FramedPhotoRect(turned.Width(), turned.Height(), frame, cell.Width(), cell.Height()));
    double difference = 0;
    for (int y = 0; y < cell.Height(); ++y)
        for (int x = 0; x < cell.Width(); ++x)
            difference += std::abs(GreenComponent(cell.Pixel(x, y)) - GreenComponent(expected.Pixel(x, y)));
    EXPECT_LT(difference / (cell.Width() * cell.Height()), 3.0);
    cellOf(frame, std::nullopt, none);
    EXPECT_GT(difference, 0.0);
    EXPECT_FALSE(same(cell, none));
}
