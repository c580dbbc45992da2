#include "U_FrameDlg.h"
#include "ui_U_FrameDlg.h"

#include "C_TextStorage.h"
#include "lang_components.h"
#include "sheet_formats.h"
#include "straighten.h"
#include "turned_photo.h"
#include "window_sizes.h"


#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class FrameDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // What the window remembers goes to a settings store of the test's own.
        ASSERT_TRUE(settings.isValid());
        savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
        photo.LoadFromFile(QStringLiteral(QRL_TEST_PORTRAIT));
        ASSERT_EQ(photo.Width(), 512);
        ASSERT_EQ(photo.Height(), 600);
    }

    template <typename T>
    T* control(const char* name)
    {
        return dlg.findChild<T*>(QString::fromLatin1(name));
    }

    void TearDown() override { qputenv("XDG_CONFIG_HOME", savedConfig); }

    QTemporaryDir settings;
    QByteArray savedConfig;
    TBitmap32 photo;
    TFaceModels models;
    TFrameDlg dlg{models};
};

}  // namespace

TEST_F(FrameDlgTest, ComponentsHaveNamesAndCaptions)
{
    EXPECT_EQ(dlg.objectName(), QStringLiteral("FrameDlg"));
    const std::pair<const char*, const char*> buttons[] = {
        {"auto_btn", "&Automatic"}, {"whole_btn", "&Whole photo"}, {"turnleft_btn", "Turn &left"},
        {"turnright_btn", "Turn &right"}, {"ok_btn", "&OK"}, {"cancel_btn", "&Cancel"},
    };
    for (const auto& [name, caption] : buttons) {
        QPushButton* button = control<QPushButton>(name);
        ASSERT_TRUE(button) << name;
        EXPECT_EQ(button->text(), QString::fromLatin1(caption));
    }
    EXPECT_TRUE(control<QSlider>("zoom_trk"));
    EXPECT_TRUE(control<QLabel>("head_lbl"));
    // The form joins the application's forms, so language files reach it.
    EXPECT_TRUE(TApplicationForms::Application().Forms().contains(&dlg));
}

TEST_F(FrameDlgTest, AutomaticFramesTheHeadAndWholePhotoTakesTheFrameAway)
{
    dlg.Start(photo, HeadRule(TPhotoFormat::France35x45), std::nullopt);
    // The face was measured on opening: the whole photo makes the head too small.
    EXPECT_TRUE(dlg.HeadText().contains(QStringLiteral("too small")))
        << dlg.HeadText().toStdString() << dlg.MessageText().toStdString();

    control<QPushButton>("auto_btn")->click();
    ASSERT_TRUE(dlg.Editor().Frame());
    EXPECT_TRUE(dlg.HeadText().contains(QStringLiteral("within the rule"))) << dlg.HeadText().toStdString();
    // A 512 x 600 photo framed to the head has far fewer than 300 pixels per inch.
    EXPECT_TRUE(dlg.MessageText().contains(QStringLiteral("pixels per inch"))) << dlg.MessageText().toStdString();
    EXPECT_GT(control<QSlider>("zoom_trk")->value(), 0);

    control<QPushButton>("whole_btn")->click();
    EXPECT_FALSE(dlg.Editor().Frame());
    EXPECT_EQ(control<QSlider>("zoom_trk")->value(), 0);
}

TEST_F(FrameDlgTest, DragAndSliderMoveAndZoomTheFrame)
{
    dlg.Start(photo, HeadRule(TPhotoFormat::US2x2), std::nullopt);
    dlg.show();
    control<QSlider>("zoom_trk")->setValue(10);   // zoom 2
    ASSERT_TRUE(dlg.Editor().Frame());
    EXPECT_NEAR(dlg.Editor().Zoom(), 2.0, 1e-9);
    const TFrame before = *dlg.Editor().Frame();

    TFrameView* view = control<TFrameView>("photo_img");
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseMove(view, QPoint(240, 180));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(240, 180));
    const TFrame after = *dlg.Editor().Frame();
    EXPECT_NEAR(after.X - before.X, 40 / view->ViewScale(), 1e-6);
    EXPECT_NEAR(after.Y - before.Y, -20 / view->ViewScale(), 1e-6);
    EXPECT_DOUBLE_EQ(after.Width, before.Width);
}

TEST_F(FrameDlgTest, OkHandsBackTheTurnedPhotoAndFrameCancelKeepsThem)
{
    const QRgb topLeft = photo.Pixel(0, 0);
    auto run = [&](std::function<void()> actions, bool ok) {
        QTimer::singleShot(0, &dlg, [&, actions, ok] {
            actions();
            ok ? dlg.accept() : dlg.reject();
        });
    };

    std::optional<TFrame> frame = TFrame{10, 20, 350, 450};
    std::optional<TColor32> background;
    run([&] { control<QPushButton>("turnright_btn")->click(); }, false);
    EXPECT_FALSE(dlg.Execute(photo, HeadRule(TPhotoFormat::France35x45), frame, background));
    EXPECT_EQ(photo.Width(), 512);
    EXPECT_EQ(*frame, (TFrame{10, 20, 350, 450}));

    run([&] {
        control<QPushButton>("turnright_btn")->click();
        control<QPushButton>("whole_btn")->click();
    }, true);
    EXPECT_TRUE(dlg.Execute(photo, HeadRule(TPhotoFormat::France35x45), frame, background));
    EXPECT_EQ(photo.Width(), 600);
    EXPECT_EQ(photo.Height(), 512);
    // Turned clockwise: the old top-left corner is now top-right.
    EXPECT_EQ(photo.Pixel(599, 0), topLeft);
    EXPECT_FALSE(frame);
}

TEST_F(FrameDlgTest, TextsComposedAtRunTimeComeFromItsTextStorage)
{
    auto* storage = dlg.findChild<TTextStorage*>(QStringLiteral("TS_frame"));
    ASSERT_TRUE(storage);
    // A language file rewrites the storage's lines; the window then speaks it.
    TStringList items = storage->Items();
    const int line = storage->Originals().IndexOf(QStringLiteral("Head height %1 mm: too small, the rule asks for %2."));
    ASSERT_GE(line, 0);
    items.SetString(line, QStringLiteral("Hauteur de tête %1 mm : trop petite, la règle demande %2."));
    storage->SetItems(items);

    dlg.Start(photo, HeadRule(TPhotoFormat::France35x45), std::nullopt);
    EXPECT_TRUE(dlg.HeadText().startsWith(QStringLiteral("Hauteur de tête "))) << dlg.HeadText().toStdString();
    EXPECT_TRUE(dlg.HeadText().endsWith(QStringLiteral("la règle demande 32-36 mm."))) << dlg.HeadText().toStdString();
}

TEST_F(FrameDlgTest, GrowsWithItsWindowRemembersItsSizeAndWorksByKeyboard)
{
    std::optional<TFrame> frame;
    std::optional<TColor32> background;
    QSize picture;
    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_EQ(dlg.size(), QSize(kFrameWindowWidth, kFrameWindowHeight)) << "the first opening";
        EXPECT_EQ(dlg.focusWidget(), control<QWidget>("photo_img"));
        EXPECT_EQ(control<QWidget>("photo_img")->accessibleName(),
                  "Photo with the frame to print: the arrow keys move the frame, + and - zoom");
        picture = control<QWidget>("photo_img")->size();
        dlg.resize(900, 700);
        QApplication::processEvents();
        picture = control<QWidget>("photo_img")->size() - picture;
        QTest::keyClick(control<QWidget>("photo_img"), Qt::Key_Plus);
        QTest::keyClick(control<QWidget>("photo_img"), Qt::Key_Right, Qt::ShiftModifier);
        dlg.accept();
    });
    ASSERT_TRUE(dlg.Execute(photo, HeadRule(TPhotoFormat::France35x45), frame, background));
    // The picture takes the growth (its hint below may need a line less).
    EXPECT_EQ(picture.width(), 900 - kFrameWindowWidth);
    EXPECT_GE(picture.height(), 700 - kFrameWindowHeight);
    ASSERT_TRUE(frame);
    const TFrame whole = TFrameEditor(512, 600, HeadRule(TPhotoFormat::France35x45), std::nullopt).WholePhoto();
    EXPECT_NEAR(whole.Height / frame->Height, 1.1, 1e-9);
    EXPECT_GT(frame->CentreX(), whole.CentreX()) << "Shift+Right moved it";
    EXPECT_EQ(RememberedWindowSize("Frame"), QSize(900, 700));

    // Reopened at the remembered size, never larger than the screen nor smaller than its controls.
    const struct {
        QSize wanted, screen, expected;
    } sizes[] = {
        {{900, 700}, {1366, 728}, {900, 700}},
        {{}, {1366, 728}, {kFrameWindowWidth, kFrameWindowHeight}},
        {{2000, 1300}, {1280, 680}, {1280, 680}},
        {{200, 100}, {1280, 680}, {500, 400}},
    };
    for (const auto& s : sizes)
        EXPECT_EQ(FittedWindowSize(s.wanted, {500, 400}, s.screen, {kFrameWindowWidth, kFrameWindowHeight}),
                  s.expected)
            << s.wanted.width();

    // The keyboard goes through in reading order.
    QStringList order;
    QWidget* w = control<QWidget>("photo_img");
    do {
        // A number field's own line edit is a part of it, not a stop of its own.
        if (w->focusPolicy() & Qt::TabFocus && !w->objectName().startsWith(QLatin1String("qt_")))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != control<QWidget>("photo_img"));
    EXPECT_EQ(order, QStringList({"photo_img", "auto_btn", "whole_btn", "turnleft_btn", "turnright_btn",
                                  "straighten_btn", "turn_edt", "zoom_trk", "background_chk", "background_cmb",
                                  "check_lst", "ok_btn", "cancel_btn"}));
}

TEST_F(FrameDlgTest, ThePhotoCheckFollowsTheFrameWithoutMeasuringAgain)
{
    dlg.Start(photo, HeadRule(TPhotoFormat::US2x2), std::nullopt);
    control<QPushButton>("auto_btn")->click();
    const auto verdictOf = [&](const char* id) {
        for (const TMeasure& m : dlg.Measures())
            if (m.Id == QLatin1String(id))
                return m.Verdict;
        ADD_FAILURE() << "no measure " << id;
        return TVerdict::Pass;
    };
    auto* list = control<QListWidget>("check_lst");
    ASSERT_EQ(list->count(), static_cast<int>(dlg.Measures().size()));
    EXPECT_EQ(verdictOf("centred"), TVerdict::Pass);
    // Her glasses: refused for this format.
    EXPECT_EQ(verdictOf("glasses"), TVerdict::Fail);
    EXPECT_EQ(list->item(0)->text(), dlg.Measures().front().Text);

    // A fifth of the frame to the right leaves the face off the middle.
    dlg.Editor().Move(dlg.Editor().Frame()->Width / 5, 0);
    control<TFrameView>("photo_img")->Changed();
    EXPECT_EQ(verdictOf("centred"), TVerdict::Fail);
}

TEST_F(FrameDlgTest, APlainBackgroundIsOfferedInTheFormatsColourAndJudgedByTheCheck)
{
    const auto verdictOf = [&](const char* id) {
        for (const TMeasure& m : dlg.Measures())
            if (m.Id == QLatin1String(id))
                return m.Verdict;
        ADD_FAILURE() << "no measure " << id;
        return TVerdict::Pass;
    };
    auto* chosen = control<QCheckBox>("background_chk");
    auto* colours = control<QComboBox>("background_cmb");
    dlg.Start(photo, HeadRule(TPhotoFormat::US2x2), std::nullopt);
    EXPECT_EQ(colours->currentIndex(), 0) << "white for 2 x 2 in.";
    dlg.Start(photo, HeadRule(TPhotoFormat::France35x45), std::nullopt);
    EXPECT_EQ(colours->currentIndex(), 1) << "light grey for 35 x 45 mm";
    EXPECT_TRUE(chosen->isEnabled());
    EXPECT_FALSE(chosen->isChecked());
    EXPECT_FALSE(dlg.Background());
    // The flag behind her is neither plain nor light.
    EXPECT_NE(verdictOf("background_light"), TVerdict::Pass);

    // Choosing a colour asks for it; the check judges the new background.
    colours->activated(0);
    EXPECT_TRUE(chosen->isChecked());
    EXPECT_EQ(dlg.Background(), kBackgroundWhite);
    EXPECT_EQ(verdictOf("background_light"), TVerdict::Pass);

    // A colour of one's own; cancelling the colour dialog keeps the last one.
    std::optional<TColor32> answer = Color32(0xC0, 0xD0, 0xE0);
    dlg.AskColour = [&](QWidget*, TColor32) { return answer; };
    colours->activated(3);
    EXPECT_EQ(dlg.Background(), Color32(0xC0, 0xD0, 0xE0));
    answer.reset();
    colours->activated(2);
    colours->activated(3);
    EXPECT_EQ(dlg.Background(), kBackgroundLightBlue);
    EXPECT_EQ(colours->currentIndex(), 2);

    chosen->click();
    EXPECT_FALSE(dlg.Background());
    EXPECT_NE(verdictOf("background_light"), TVerdict::Pass);
    // Opened again with the colour it was given.
    dlg.Start(photo, HeadRule(TPhotoFormat::France35x45), std::nullopt, Color32(0xC0, 0xD0, 0xE0));
    EXPECT_TRUE(chosen->isChecked());
    EXPECT_EQ(colours->currentIndex(), 3);
}

// Where the office refuses a changed background, the control says so and
// stays off; elsewhere it says nothing.
TEST_F(FrameDlgTest, ThePlainBackgroundSaysWhereTheOfficeRefusesIt)
{
    // The words shown under the control, if any.
    const auto said = [&] {
        QStringList shown;
        for (const QLabel* label : dlg.findChildren<QLabel*>())
            if (!label->isHidden() && label->text().contains(QLatin1String("refuses")))
                shown << label->text();
        return shown;
    };
    dlg.Start(photo, HeadRule(TPhotoFormat::US2x2), std::nullopt);
    EXPECT_FALSE(control<QCheckBox>("background_chk")->isChecked());
    EXPECT_EQ(said(), QStringList{"United States, Passport: the office refuses photos whose background was changed."});
    dlg.Start(photo, HeadRule(TPhotoFormat::France35x45), std::nullopt);
    EXPECT_TRUE(said().isEmpty());
}

TEST_F(FrameDlgTest, OkRemembersThePlainBackgroundForTheNextPhoto)
{
    std::optional<TFrame> frame;
    std::optional<TColor32> background;
    dlg.AskColour = [](QWidget*, TColor32) { return std::optional<TColor32>(Color32(0xC0, 0xD0, 0xE0)); };
    QTimer::singleShot(0, &dlg, [&] {
        control<QComboBox>("background_cmb")->activated(3);
        dlg.accept();
    });
    ASSERT_TRUE(dlg.Execute(photo, HeadRule(TPhotoFormat::France35x45), frame, background));

    TFrameDlg next(models);
    next.Start(photo, HeadRule(TPhotoFormat::France35x45), std::nullopt, std::nullopt, true);
    EXPECT_EQ(next.Background(), Color32(0xC0, 0xD0, 0xE0)) << "a fresh photo starts from the last choice";
    next.Start(photo, HeadRule(TPhotoFormat::US2x2), std::nullopt, std::nullopt, true);
    EXPECT_FALSE(next.Background()) << "but not where the office refuses a changed background";
    next.Start(photo, HeadRule(TPhotoFormat::France35x45), std::nullopt, std::nullopt, false);
    EXPECT_FALSE(next.Background()) << "a photo framed without one keeps its own";
    EXPECT_EQ(next.findChild<QComboBox*>("background_cmb")->currentIndex(), 3) << "the colour offered";
}

// Straighten levels the eyes of a tilted photo by a turn that goes with it;
// the fine turn takes tenths of a degree once the control rests.
TEST_F(FrameDlgTest, StraightenAndTheFineTurnTurnThePhotoNotItsPixels)
{
    TBitmap32 tilted;
    TurnPhoto(photo, 6, tilted);
    const std::optional<double> own = LevellingTurn(photo, AnalysePhoto(photo, models));
    ASSERT_TRUE(own);
    dlg.Start(tilted, HeadRule(TPhotoFormat::France35x45), std::nullopt);
    control<QPushButton>("straighten_btn")->click();
    EXPECT_NEAR(dlg.Turn(), *own - 6, 0.3);
    EXPECT_EQ(dlg.Photo().Pixel(0, 0), tilted.Pixel(0, 0)) << "the photo itself stays";

    auto* fine = control<QDoubleSpinBox>("turn_edt");
    EXPECT_DOUBLE_EQ(fine->value(), dlg.Turn());
    fine->setValue(1.5);
    EXPECT_NE(dlg.Turn(), 1.5) << "not while the control moves";
    QTest::qWait(400);
    EXPECT_DOUBLE_EQ(dlg.Turn(), 1.5);
}
