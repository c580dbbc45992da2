// Files dropped onto the main window, through the toolkit's own drag and
// drop events, all the way into the photo on show.
#include "app_fixture.h"

#include "string_list.h"
#include "image_view.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct DropCase {
    const char* what;
    QStringList dropped;      // names in the test folder, in drop order
    int width;                // of the photo on show afterwards
    TColor32 colour;          // its colour; 0 for no change from the red one
    int errors;
};

bool near(TColor32 a, TColor32 b)
{
    return std::abs(RedComponent(a) - RedComponent(b)) <= 6 &&
           std::abs(GreenComponent(a) - GreenComponent(b)) <= 6 &&
           std::abs(BlueComponent(a) - BlueComponent(b)) <= 6;
}

}  // namespace

TEST_F(AppTest, DropsReachThePhotoOnShow)
{
    start();
    const TColor32 red = Color32(200, 30, 30);
    const TColor32 blue = Color32(30, 60, 200);
    writePhoto("red.jpg", 30, 40, QColor(200, 30, 30));
    writePhoto("blue.JPEG", 50, 20, QColor(30, 60, 200));
    QImage green(6, 6, QImage::Format_RGB32);
    green.fill(QColor(30, 180, 60));
    green.save(dir.filePath("picture.png"), "PNG");
    green.save(dir.filePath("picture-named.jpg"), "PNG");
    QFile text(dir.filePath("notes.txt"));
    text.open(QIODevice::WriteOnly);
    text.write("not a photo\n");
    text.close();
    QDir(dir.path()).mkdir("photos");
    QDir(dir.path()).mkdir("album.jpg");
    const TColor32 greenPixel = Color32(30, 180, 60);
    const QString kinds = QStringLiteral("JPEG (.jpg, .jpeg), PNG (.png) and HEIC (.heic, .heif)");

    // Each case starts from the red photo on show.
    const DropCase cases[] = {
        {"one JPEG", {"blue.JPEG"}, 50, blue, 0},
        {"several files: the first counts", {"blue.JPEG", "picture.png", "red.jpg"}, 50, blue, 0},
        {"a PNG", {"picture.png"}, 6, greenPixel, 0},
        {"a text file: said so, with the kinds opened", {"notes.txt", "blue.JPEG"}, 30, red, 1},
        {"a PNG named .jpg: said so, with the kinds opened", {"picture-named.jpg"}, 30, red, 1},
        {"a folder: said so", {"photos"}, 30, red, 1},
        {"a folder named like a photo: an error, the photo stays", {"album.jpg"}, 30, red, 1},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.what);
        main->LoadPhoto(dir.filePath("red.jpg"));
        errors.clear();
        QList<QUrl> urls;
        for (const QString& name : c.dropped)
            urls << QUrl::fromLocalFile(dir.filePath(name));
        dropUrls(*main, urls);

        const TBitmap32& photo = main->img().Bitmap();
        EXPECT_EQ(photo.Width(), c.width);
        EXPECT_TRUE(near(photo.Pixel(photo.Width() / 2, photo.Height() / 2), c.colour));
        EXPECT_EQ(errors.size(), c.errors) << errors.join('\n').toStdString();
        if (!errors.isEmpty()) {
            EXPECT_TRUE(errors.first().contains(c.dropped.first())) << "names the file: " << errors.first().toStdString();
            if (QFileInfo(dir.filePath(c.dropped.first())).isFile()) {
                EXPECT_TRUE(errors.first().contains(kinds)) << errors.first().toStdString();
            }
        }
        EXPECT_EQ(main->DroppedFiles()->Count(), 0) << "emptied after every drop";
    }
}
