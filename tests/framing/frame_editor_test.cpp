#include "frame_editor.h"
#include "sheet_formats.h"

#include <gtest/gtest.h>

#include <functional>

TEST(TFrameEditor, WholePhotoHoldsThePhotoCentred)
{
    struct Case {
        int w, h;
        TPhotoFormat format;
        TFrame whole;
    };
    const Case cases[] = {
        // 35:45 portrait of the rule's own shape: exactly the photo.
        {700, 900, TPhotoFormat::France35x45, {0, 0, 700, 900}},
        // A 3:4 photo is narrower than 35:45: white left and right.
        {900, 1200, TPhotoFormat::France35x45, {-(1200 * 35.0 / 45 - 900) / 2, 0, 1200 * 35.0 / 45, 1200}},
        // A 4:3 landscape photo: white above and below.
        {1200, 900, TPhotoFormat::France35x45, {0, -(1200 * 45.0 / 35 - 900) / 2, 1200, 1200 * 45.0 / 35}},
        // A landscape photo in a square: white above and below.
        {1600, 1200, TPhotoFormat::US2x2, {0, -200, 1600, 1600}},
        // A tall photo in a square: white left and right.
        {300, 1000, TPhotoFormat::US2x2, {-350, 0, 1000, 1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        TFrameEditor editor(c.w, c.h, HeadRule(c.format), std::nullopt);
        const TFrame whole = editor.WholePhoto();
        EXPECT_NEAR(whole.X, c.whole.X, 1e-9);
        EXPECT_NEAR(whole.Y, c.whole.Y, 1e-9);
        EXPECT_NEAR(whole.Width, c.whole.Width, 1e-9);
        EXPECT_NEAR(whole.Height, c.whole.Height, 1e-9);
        EXPECT_FALSE(editor.Frame());
        EXPECT_DOUBLE_EQ(editor.Zoom(), 1.0);
    }
}

TEST(TFrameEditor, MoveAndZoomMakeTheChosenFrame)
{
    TFrameEditor editor(700, 900, HeadRule(TPhotoFormat::France35x45), std::nullopt);
    editor.Move(10, -20);
    ASSERT_TRUE(editor.Frame());
    EXPECT_EQ(*editor.Frame(), (TFrame{10, -20, 700, 900}));

    editor.SetZoom(2);
    EXPECT_NEAR(editor.Zoom(), 2, 1e-12);
    EXPECT_NEAR(editor.Frame()->CentreX(), 360, 1e-9);
    EXPECT_NEAR(editor.Frame()->Y + editor.Frame()->Height / 2, 430, 1e-9);
    EXPECT_NEAR(editor.Frame()->Width, 350, 1e-9);

    // Kept within the slider's range.
    editor.SetZoom(100);
    EXPECT_NEAR(editor.Zoom(), TFrameEditor::kMaxZoom, 1e-12);
    editor.SetZoom(0.2);
    EXPECT_NEAR(editor.Zoom(), TFrameEditor::kMinZoom, 1e-12);

    editor.Clear();
    EXPECT_FALSE(editor.Frame());
}

TEST(TFrameEditor, TurningSwapsTheSidesAndForgetsFrameAndHead)
{
    TFrameEditor editor(700, 900, HeadRule(TPhotoFormat::France35x45), TFrame{1, 2, 35, 45});
    editor.SetHead(THead{100, 400, 350, 250});
    ASSERT_TRUE(editor.Check());
    editor.PhotoTurned();
    EXPECT_EQ(editor.PhotoWidth(), 900);
    EXPECT_EQ(editor.PhotoHeight(), 700);
    EXPECT_FALSE(editor.Frame());
    EXPECT_FALSE(editor.Head());
    EXPECT_FALSE(editor.Check());
}

TEST(TFrameEditor, LowResolutionBelowThreeHundredPixelsPerInch)
{
    // 35 mm at 300 ppi is 413.4 pixels across.
    TFrameEditor editor(4000, 6000, HeadRule(TPhotoFormat::France35x45), TFrame{0, 0, 413, 531});
    EXPECT_TRUE(editor.LowResolution());
    editor.SetFrame(TFrame{0, 0, 414, 532.3});
    EXPECT_FALSE(editor.LowResolution());
    editor.Clear();
    EXPECT_FALSE(editor.LowResolution());
}

TEST(TFrameEditor, KeysMoveAndZoomTheShownFrame)
{
    // The 700 x 900 photo's whole frame at zoom 1, steps of 2 photo pixels.
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool handled;
        double dx, dy, zoom;
    } cases[] = {
        {Qt::Key_Left, Qt::NoModifier, true, -2, 0, 1},
        {Qt::Key_Right, Qt::NoModifier, true, 2, 0, 1},
        {Qt::Key_Up, Qt::NoModifier, true, 0, -2, 1},
        {Qt::Key_Down, Qt::NoModifier, true, 0, 2, 1},
        {Qt::Key_Left, Qt::ShiftModifier, true, -20, 0, 1},
        {Qt::Key_Down, Qt::ShiftModifier, true, 0, 20, 1},
        {Qt::Key_Plus, Qt::NoModifier, true, 0, 0, 1.1},
        {Qt::Key_Plus, Qt::KeypadModifier, true, 0, 0, 1.1},
        {Qt::Key_Equal, Qt::NoModifier, true, 0, 0, 1.1},
        // Zoom 1 is the least: minus from the whole photo keeps it.
        {Qt::Key_Minus, Qt::NoModifier, true, 0, 0, 1},
        {Qt::Key_A, Qt::NoModifier, false, 0, 0, 1},
        {Qt::Key_Space, Qt::ShiftModifier, false, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " modifiers " << c.modifiers.toInt());
        TFrameEditor editor(700, 900, HeadRule(TPhotoFormat::France35x45), std::nullopt);
        EXPECT_EQ(editor.PressKey(c.key, c.modifiers, 2), c.handled);
        const TFrame shown = editor.Shown();
        EXPECT_EQ(editor.Frame().has_value(), c.handled);
        EXPECT_NEAR(shown.CentreX() - 350, c.dx, 1e-9);
        EXPECT_NEAR(shown.Y + shown.Height / 2 - 450, c.dy, 1e-9);
        EXPECT_NEAR(editor.Zoom(), c.zoom, 1e-9);
    }
}

// The user's crown and chin lines, dragged or moved by key, take the place
// of the measured ones: the head check and automatic framing follow them,
// a measured head found again keeps them, and a turn drops them.
TEST(TFrameEditor, TheUsersHeadLinesAreWhatFramingFollows)
{
    const THead measured{100, 400, 350, 250};
    const THeadRule& rule = HeadRule(TPhotoFormat::France35x45);
    const struct {
        const char* what;
        std::function<bool(TFrameEditor&)> move;
        THeadLines lines;
    } cases[] = {
        {"crown dragged up", [](TFrameEditor& e) { return e.MoveLine(TFrameEditor::TLine::Crown, 80); }, {80, 400}},
        {"chin dragged down", [](TFrameEditor& e) { return e.MoveLine(TFrameEditor::TLine::Chin, 450); }, {100, 450}},
        {"crown dragged past the chin",
         [](TFrameEditor& e) { return e.MoveLine(TFrameEditor::TLine::Crown, 500); },
         {400 - TFrameEditor::kMinHeadHeight, 400}},
        {"Ctrl+Up", [](TFrameEditor& e) { return e.PressKey(Qt::Key_Up, Qt::ControlModifier, 2); }, {98, 400}},
        {"Alt+Shift+Down",
         [](TFrameEditor& e) { return e.PressKey(Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier, 2); },
         {100, 420}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TFrameEditor editor(700, 900, rule, std::nullopt);
        EXPECT_FALSE(c.move(editor)) << "no head, no lines";
        EXPECT_FALSE(editor.HeadLines());
        editor.SetHead(measured);
        ASSERT_TRUE(c.move(editor));
        ASSERT_TRUE(editor.HeadLines());
        EXPECT_EQ(*editor.HeadLines(), c.lines);
        EXPECT_FALSE(editor.Frame()) << "a line's key leaves the frame alone";
        const THead user = WithLines(measured, c.lines);
        EXPECT_EQ(editor.Head()->CrownY, user.CrownY);
        EXPECT_EQ(editor.Head()->ChinY, user.ChinY);
        // Framed automatically, the user's head fills the middle of the rule.
        const THeadCheck framed = CheckHead(*FrameForHead(*editor.Head(), rule), user, rule);
        EXPECT_NEAR(framed.Head, rule.Head.Mid(), 0.05);
        // Found again (after the models ran), the head keeps the lines.
        editor.SetHead(measured);
        EXPECT_EQ(editor.Head()->CrownY, user.CrownY);
        editor.PhotoTurned();
        EXPECT_FALSE(editor.HeadLines());
    }
}
