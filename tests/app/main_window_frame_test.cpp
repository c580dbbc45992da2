// The photo's frame in the main window: chosen in the framing window, shown
// in the view, printed in every copy, following the format, gone with the photo.
#include "app_fixture.h"

#include "U_FrameDlg.h"
#include "framed_view.h"
#include "image_view.h"
#include "ui_U_MainDlg.h"
#include "sheet_formats.h"
#include "sheet_printer.h"

#include <QComboBox>
#include <QTest>

namespace {

// The main window with its framing window, as main() makes them.
class FrameTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        frameDlg = std::make_unique<TFrameDlg>(main->FaceModels(), main.get());
        main->SetFrameDialog(frameDlg.get());
        start();
        // Red above blue, so that a frame's position shows.
        QImage image(600, 800, QImage::Format_RGB32);
        image.fill(QColor(20, 40, 200));
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 600; ++x)
                image.setPixel(x, y, qRgb(200, 30, 30));
        const QString path = dir.filePath("photo.jpg");
        ASSERT_TRUE(image.save(path, "JPEG", 95));
        main->LoadPhoto(path);
        ASSERT_EQ(main->img().Bitmap().Width(), 600);
    }

    void TearDown() override
    {
        frameDlg.reset();
        AppTest::TearDown();
    }

    // Opens the framing window by `open` and ends it with `answer`.
    void frameBy(const std::function<void()>& open, const std::function<void(TFrameDlg&)>& answer)
    {
        onNextModal([&](QDialog& dialog) { answer(static_cast<TFrameDlg&>(dialog)); });
        open();
    }

    void frameWith(const std::optional<TFrame>& frame)
    {
        frameBy([&] { QTest::mouseClick(main->Form().frame_btn, Qt::LeftButton); },
                [&](TFrameDlg& dlg) {
                    dlg.Editor().SetFrame(frame);
                    dlg.accept();
                });
    }

    std::unique_ptr<TFrameDlg> frameDlg;
};

bool isRed(TColor32 c) { return RedComponent(c) > 150 && BlueComponent(c) < 100; }
bool isBlue(TColor32 c) { return BlueComponent(c) > 150 && RedComponent(c) < 100; }

}  // namespace

TEST_F(FrameTest, OkStoresTheFrameCancelKeepsItWholePhotoClearsIt)
{
    const TFrame lower{100, 500, 350, 450};   // blue, reaching past the bottom
    frameWith(lower);
    ASSERT_EQ(main->Frame(), lower);

    frameBy([&] { main->Form().Frame1->trigger(); },
            [](TFrameDlg& dlg) {
                dlg.Editor().SetFrame(TFrame{0, 0, 35, 45});
                dlg.reject();
            });
    EXPECT_EQ(main->Frame(), lower) << "Cancel";

    frameBy([&] { QTest::mouseDClick(&main->img(), Qt::LeftButton, {}, QPoint(50, 50)); },
            [](TFrameDlg& dlg) {
                QTest::mouseClick(dlg.findChild<QPushButton*>("whole_btn"), Qt::LeftButton);
                dlg.accept();
            });
    EXPECT_FALSE(main->Frame()) << "Whole photo, opened by a double click";
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(FrameTest, TheViewAndEveryCopyShowTheFramedRectangle)
{
    const TFrame frame{100, 500, 350, 450};
    frameWith(frame);
    TImage32& view = main->img();
    view.PrepareBuffer();
    // The frame's top two thirds are the photo's blue, its bottom the paper
    // below the photo; the view's colour beside it.
    const TRect f = FrameRectInView(frame, view.width(), view.height());
    const int across = (f.Left + f.Right) / 2;
    EXPECT_TRUE(isBlue(view.Buffer().Pixel(across, f.Top + 20)));
    EXPECT_EQ(view.Buffer().Pixel(across, f.Bottom - 10), clWhite32);
    ASSERT_GT(f.Left + view.height() - f.Bottom, 2) << "room beside or below the frame";
    EXPECT_EQ(f.Left > 2 ? view.Buffer().Pixel(1, f.Top + 20) : view.Buffer().Pixel(across, view.height() - 2),
              Color32(view.Color()));

    main->Form().num_trk->setValue(1);
    bool pageWasRight = false;
    onNextModal([&](QDialog& dialog) {
        const TBitmap32& page = preview->Page();
        pageWasRight = isBlue(page.Pixel(200, 100)) && page.Pixel(200, 450) == clWhite32;
        dialog.reject();
    });
    QTest::mouseClick(main->Form().print_btn, Qt::LeftButton);
    EXPECT_TRUE(pageWasRight);

    main->LoadPhoto(dir.filePath("photo.jpg"));
    EXPECT_FALSE(main->Frame()) << "another photo";
    view.PrepareBuffer();
    EXPECT_TRUE(isRed(view.Buffer().Pixel(view.width() / 2, view.CachedBitmapRect().Top + 20)))
        << "the whole photo again";
}

TEST_F(FrameTest, TheFrameFollowsTheFormat)
{
    const TFrame frame{100, 100, 350, 450};
    frameWith(frame);
    main->Form().format_cmb->setCurrentIndex(1);
    const TFrame expected =
        FollowFormat(frame, HeadRule(TPhotoFormat::France35x45), HeadRule(TPhotoFormat::US2x2));
    ASSERT_TRUE(main->Frame());
    EXPECT_EQ(*main->Frame(), expected);
    EXPECT_NEAR(main->Frame()->Width, main->Frame()->Height, 1e-9) << "square now";
}

TEST_F(FrameTest, ALowResolutionFrameIsSaidInTheStatusLine)
{
    const QString printerName = QStringLiteral("Test Printer");
    // The photo has no face: the photo check says so last.
    const QString noFace = QStringLiteral(" No face was found: the photo cannot be checked.");
    frameWith(TFrame{0, 0, 70, 90});   // 51 pixels per inch
    EXPECT_EQ(main->StatusText(),
              QStringLiteral("51 pixels per inch printed: the photo may look blurred.") + noFace);
    frameWith(TFrame{0, 0, 560, 720});   // 406 pixels per inch
    EXPECT_EQ(main->StatusText(), noFace.trimmed());
}

TEST_F(FrameTest, TheStatusLineSaysThePrintedSizeAndAWhiteStripUntilFramed)
{
    // A 600 x 800 photo is narrower than 35 x 45 mm: white beside it.
    // The photo has no face: the photo check says so last.
    const QString strip = QStringLiteral("A white strip will be printed; \"Frame...\" fills the photo.");
    const QString noFace = QStringLiteral("No face was found: the photo cannot be checked.");
    EXPECT_EQ(main->SizeText(), QString::fromUtf8("prints 35 × 45 mm"));
    EXPECT_EQ(main->StatusText(), strip + u' ' + noFace);
    EXPECT_EQ(main->img().accessibleName(), "Photo to print: photo.jpg");
    frameWith(TFrame{0, 0, 560, 720});
    EXPECT_EQ(main->StatusText(), noFace);
    frameWith(std::nullopt);
    EXPECT_EQ(main->StatusText(), strip + u' ' + noFace);
    main->AddToSheetClick();
    EXPECT_EQ(main->StatusText(), "Test Printer") << "no photo in the window";
    EXPECT_EQ(main->img().accessibleName(), "No photo loaded");
}

TEST_F(FrameTest, APlainBackgroundChosenInTheFramingWindowShowsPrintsAndGoesWithThePhoto)
{
    main->LoadPhoto(QStringLiteral(QRL_TEST_PORTRAIT));
    const TColor32 corner = main->img().Bitmap().Pixel(2, 2);
    ASSERT_NE(corner, clWhite32);
    const QString strip = QStringLiteral("A white strip will be printed");
    EXPECT_TRUE(main->StatusText().contains(strip));
    frameBy([&] { QTest::mouseClick(main->Form().frame_btn, Qt::LeftButton); },
            [](TFrameDlg& dlg) {
                dlg.whole_btnClick();
                dlg.findChild<QComboBox*>("background_cmb")->activated(0);
                dlg.accept();
            });
    ASSERT_EQ(main->BackgroundColour(), kBackgroundWhite);
    EXPECT_FALSE(main->StatusText().contains(strip)) << "the colour fills the strip";
    TImage32& view = main->img();
    view.PrepareBuffer();
    const TRect shown = view.CachedBitmapRect();
    EXPECT_EQ(view.Buffer().Pixel(shown.Left + 2, shown.Top + 2), clWhite32);

    onNextModal([&](QDialog& dialog) { dialog.reject(); });
    QTest::mouseClick(main->Form().print_btn, Qt::LeftButton);
    EXPECT_EQ(main->SheetPrinter()->Cell().Pixel(2, 2), clWhite32);
    EXPECT_EQ(main->img().Bitmap().Pixel(2, 2), corner) << "the photo itself stays";

    main->AddToSheetClick();
    ASSERT_TRUE(main->SheetLines().Background(0));
    EXPECT_EQ(main->SheetLines().Background(0)->Colour, kBackgroundWhite);
    EXPECT_FALSE(main->BackgroundColour()) << "the next photo starts with its own";
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(FrameTest, TheFramingWindowOpensFramedRoundAFoundFaceUntilAFrameIsChosen)
{
    main->LoadPhoto(QStringLiteral(QRL_TEST_PORTRAIT));
    std::optional<TFrame> opened;
    frameBy([&] { main->Form().Frame1->trigger(); },
            [&](TFrameDlg& dlg) {
                opened = dlg.Editor().Frame();
                dlg.reject();
            });
    ASSERT_TRUE(opened) << "framed as Automatic frames it";
    EXPECT_TRUE(HasRuleAspect(*opened, main->Rule()));
    EXPECT_FALSE(main->Frame()) << "Cancel keeps the whole photo";

    frameWith(std::nullopt);   // the whole photo, chosen
    frameBy([&] { main->Form().Frame1->trigger(); },
            [&](TFrameDlg& dlg) {
                opened = dlg.Editor().Frame();
                dlg.reject();
            });
    EXPECT_FALSE(opened) << "the choice stays";
}

TEST_F(FrameTest, AStraighteningChosenInTheFramingWindowPrintsAndGoesWithThePhoto)
{
    main->RunFrameDialog = [](TBitmap32&, const THeadRule&, std::optional<TFrame>& frame, std::optional<TColor32>&,
                              double& turn) {
        frame = TFrame{100, 100, 350, 450};
        turn = 8;
        return true;
    };
    main->frame_btnClick();
    EXPECT_EQ(main->Turn(), 8);
    onNextModal([&](QDialog& dialog) { dialog.reject(); });
    main->print_btnClick();
    // Red above blue: turned, the boundary in the cell leans.
    const TBitmap32& cell = main->SheetPrinter()->Cell();
    const auto boundary = [&](int x) {
        int y = 0;
        while (y < cell.Height() && isRed(cell.Pixel(x, y)))
            ++y;
        return y;
    };
    EXPECT_GT(std::abs(boundary(20) - boundary(cell.Width() - 20)), 20);

    main->AddToSheetClick();
    EXPECT_EQ(main->SheetLines().Turn(0), 8);
    EXPECT_EQ(main->Turn(), 0) << "the next photo starts level";
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}
