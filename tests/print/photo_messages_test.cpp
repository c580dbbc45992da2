#include "photo_messages.h"

#include "exception.h"
#include "bitmap32.h"
#include "file_io.h"
#include "pdf_printer.h"
#include "printer_device.h"
#include "sheet_render.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString messageOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const Exception& e) {
        return e.Message;
    }
    return {};
}

QString write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    QFile file(dir.filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

// Each failure in one sentence of the catalogue, its reason in the same
// words: never the imaging library's French, never the system's own text.
TEST(PhotoMessagesTest, FailuresSayWhatAndWhyInTheCataloguesWords)
{
    QTemporaryDir dir;
    QFile portraitFile(QStringLiteral(QRL_TEST_PORTRAIT));
    ASSERT_TRUE(portraitFile.open(QIODevice::ReadOnly));
    const QByteArray portrait = portraitFile.readAll();
    // The frame header of the portrait claims 60000 x 60000 pixels.
    QByteArray huge = portrait;
    huge.replace(huge.indexOf(QByteArray("\xFF\xC0", 2)) + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
    QImage png(4, 4, QImage::Format_RGB32);
    png.fill(Qt::red);
    ASSERT_TRUE(png.save(dir.filePath("x.png")));
    QFile pngFile(dir.filePath("x.png"));
    ASSERT_TRUE(pngFile.open(QIODevice::ReadOnly));
    const QByteArray pngBytes = pngFile.readAll();

    const struct {
        QString file;
        const char* message;
    } cases[] = {
        {dir.filePath("nichtda.jpg"),
         "Cannot open \"nichtda.jpg\": the file cannot be read (the file does not exist)."},
        {dir.filePath("x.tiff"), "Cannot open \"x.tiff\": only JPEG (.jpg, .jpeg), PNG (.png) and HEIC (.heic, .heif) "
                                 "photos can be opened (.tiff)."},
        {write(dir, "text.jpg", "not a photo\n"), "Cannot open \"text.jpg\": the file does not hold the kind of photo "
                                                 "its name says; JPEG (.jpg, .jpeg), PNG (.png) and HEIC (.heic, "
                                                 ".heif) photos can be opened (#53)."},
        {write(dir, "png.heic", pngBytes), "Cannot open \"png.heic\": the file does not hold the kind of photo its "
                                           "name says; JPEG (.jpg, .jpeg), PNG (.png) and HEIC (.heic, .heif) photos "
                                           "can be opened."},
        {write(dir, "cut.png", pngBytes.left(40)), "Cannot open \"cut.png\": the photo is damaged or cannot be read."},
        {write(dir, "huge.jpg", huge), "Cannot open \"huge.jpg\": the JPEG photo is damaged or cannot be read."},
        {dir.filePath("missing/sheet.jpg"), "Cannot save the sheet as \"sheet.jpg\" (the file does not exist)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        TBitmap32 photo;
        const QString message = messageOf([&] {
            if (c.file.endsWith("sheet.jpg"))
                SavePageFile(c.file, [&] { SavePageAsJpeg(photo, c.file, 600, 600); });
            else
                (void)LoadPhotoFile(photo, c.file);
        });
        EXPECT_EQ(message, QString::fromUtf8(c.message));
    }

    // A printer's own reason stays: it is the program's, not a library's.
    const QString print = messageOf(
        [] { PrintOnPrinter("Office", [] { throw EPrinter(QStringLiteral("Printer is not currently printing")); }); });
    EXPECT_EQ(print, "Cannot print on \"Office\" (Printer is not currently printing).");
    EXPECT_EQ(messageOf([] { PrintOnPrinter("Office", [] {}); }), QString());
    // A queue's failure in the catalogue's words, with the print service's
    // reason where it gives one.
    const struct {
        TQueueFailure failure;
        const char* reason;
        const char* message;
    } queues[] = {
        {TQueueFailure::NotAccepting, "Paper jam", "Cannot print on \"Office\" (the printer is not accepting jobs: Paper jam)."},
        {TQueueFailure::Stopped, "", "Cannot print on \"Office\" (the printer is stopped)."},
        {TQueueFailure::NoSuchQueue, "", "Cannot print on \"Office\" (the printer does not exist (any more))."},
    };
    for (const auto& q : queues)
        EXPECT_EQ(messageOf([&] {
                      PrintOnPrinter("Office", [&] { throw EPrinter(q.failure, "English", QString::fromUtf8(q.reason)); });
                  }),
                  QString::fromUtf8(q.message));

    // A printer that writes a file names it with the reason in the
    // catalogue's words, not in Qt's ("Cannot create file ... Permission denied").
    const QString pdf = write(dir, "sheet.pdf", "an earlier sheet");
    ASSERT_TRUE(QFile::setPermissions(pdf, QFileDevice::ReadOwner));
    TPdfPrinter printer(QPageSize::A4);
    printer.SetOutputFileName(pdf);
    EXPECT_EQ(messageOf([&] { PrintOnPrinter(printer.Name(), [&] { TPrintJob(printer).End(); }); }),
              "Cannot save the sheet as \"sheet.pdf\" (permission denied).");

    // The digital photo's file likewise; its own refusals pass unchanged.
    const QString photoFile = dir.filePath("missing/photo.jpg");
    EXPECT_EQ(messageOf([&] { SavePhotoFile(photoFile, [&] { SaveFileAtomically(photoFile, "jpeg"); }); }),
              "Cannot save the photo as \"photo.jpg\" (the file does not exist).");
    EXPECT_EQ(messageOf([] { SavePhotoFile("photo.jpg", [] { throw Exception("The photo does not fit."); }); }),
              "The photo does not fit.");
}

TEST(PhotoMessagesTest, APhotoCutShortLoadsWithAWarning)
{
    QTemporaryDir dir;
    QFile portraitFile(QStringLiteral(QRL_TEST_PORTRAIT));
    ASSERT_TRUE(portraitFile.open(QIODevice::ReadOnly));
    const QByteArray portrait = portraitFile.readAll();
    TBitmap32 photo;
    EXPECT_EQ(LoadPhotoFile(photo, portraitFile.fileName()), QString());
    EXPECT_EQ(LoadPhotoFile(photo, write(dir, "cut.jpg", portrait.left(portrait.size() / 2))),
              "The photo file ends early: its lower part is missing.");
    EXPECT_EQ(photo.Width(), 512);
    EXPECT_EQ(photo.Height(), 600);
}

}  // namespace
