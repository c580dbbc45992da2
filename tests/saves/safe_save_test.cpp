#include "C_LangPack.h"
#include "exception.h"
#include "registry.h"
#include "bitmap32.h"
#include "jpeg_image.h"
#include "pdf_printer.h"
#include "sheet_render.h"
#include "small_disk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>

// Every output of the program, driven the way the program drives it, against
// the failures a user's disk can have: the file already there must survive
// each one, and no temporary file may stay behind.

namespace {

// One writer: writes its output as `path`; the error message, or none when
// it succeeded.
struct TWriter {
    const char* Name;
    std::function<std::optional<QString>(const QString& path)> Write;
};

std::optional<QString> messageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message;
    }
    return std::nullopt;
}

QImage noise(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    quint32 s = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, s = s * 1664525u + 1013904223u);
    return image;
}

std::optional<QString> writeJpeg(const QString& path)
{
    TJPEGImage jpeg;
    jpeg.Assign(noise(300, 300));
    return messageOf([&] { jpeg.SaveToFile(path); });
}

// The sheet's page goes to its file as it is encoded, never held whole.
std::optional<QString> writeSheetPage(const QString& path)
{
    TBitmap32 page;
    page.Assign(noise(300, 300));
    return messageOf([&] { SavePageAsJpeg(page, path, 600, 600); });
}

std::optional<QString> writePdf(const QString& path)
{
    TPdfPrinter printer(QPageSize::A4);
    printer.SetOutputFileName(path);
    return messageOf([&] {
        printer.BeginDoc();
        printer.Canvas().drawImage(QPoint(0, 0), noise(300, 300));
        printer.EndDoc();
    });
}

std::optional<QString> writeOriginalLanguage(const QString& path)
{
    QWidget form;
    form.setObjectName(QStringLiteral("MainDlg"));
    auto* label = new QLabel(QString(2000, u'x'), &form);
    label->setObjectName(QStringLiteral("caption_lbl"));
    TLanguageRecord record(4, &form, nullptr);
    if (record.WriteOriginal(path))
        return std::nullopt;
    return record.WriteError;
}

// The settings live in $XDG_CONFIG_HOME/Varnel/Quorlo.conf: `path` must be
// that file; the folder above Varnel becomes the configuration home.
std::optional<QString> writeSettings(const QString& path)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QFileInfo(path).absoluteDir().absolutePath() + "/.."));
    std::optional<QString> failure;
    {
        TRegistry registry(TRootKey::CurrentUser);
        if (!registry.OpenKey(QStringLiteral("Software\\Varnel\\Quorlo"), true))
            failure = QStringLiteral("the key did not open");
        else if (!registry.WriteString(QStringLiteral("photo"), QString(20000, u'p')))
            failure = QStringLiteral("the value was not written");
    }
    qputenv("XDG_CONFIG_HOME", saved);
    return failure;
}

const TWriter kWriters[] = {
    {"JPEG image", writeJpeg},
    {"sheet page as JPEG", writeSheetPage},
    {"PDF page", writePdf},
    {"original-language file", writeOriginalLanguage},
    {"settings", writeSettings},
};

// Sound settings and, to the other writers, just the bytes of a file that
// was there first.
const QByteArray kOld = "[General]\nold=the old file\n";

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void writeOld(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(kOld);
}

// Where each writer's file lies under `root`.
QString targetIn(const QString& root, const TWriter& w)
{
    return std::string_view(w.Name) == "settings" ? root + "/Varnel/Quorlo.conf" : root + "/output";
}

}  // namespace

TEST(SafeSaves, AFullDiskKeepsTheOldFile)
{
    for (const TWriter& w : kWriters) {
        SCOPED_TRACE(w.Name);
        TSmallDisk disk(256 * 1024);
        if (!disk.Mounted())
            GTEST_SKIP() << disk.Reason().toStdString();
        const QString target = targetIn(disk.Path(), w);
        writeOld(target);
        ASSERT_TRUE(disk.Fill(QStringLiteral("filler")));
        const QStringList before = QDir(QFileInfo(target).absolutePath()).entryList(QDir::Files | QDir::Hidden);

        EXPECT_TRUE(w.Write(target).has_value()) << "a write to a full disk reported success";
        EXPECT_EQ(readAll(target), kOld);
        EXPECT_EQ(QDir(QFileInfo(target).absolutePath()).entryList(QDir::Files | QDir::Hidden), before);
    }
}

TEST(SafeSaves, AReadOnlyDiskKeepsTheOldFile)
{
    for (const TWriter& w : kWriters) {
        SCOPED_TRACE(w.Name);
        TSmallDisk disk(256 * 1024);
        if (!disk.Mounted())
            GTEST_SKIP() << disk.Reason().toStdString();
        const QString target = targetIn(disk.Path(), w);
        writeOld(target);
        ASSERT_TRUE(disk.MakeReadOnly());

        const std::optional<QString> failure = w.Write(target);
        ASSERT_TRUE(failure.has_value()) << "a write to a read-only disk reported success";
        // The disk is at fault, not the file: the user is told so.
        if (std::string_view(w.Name) != "settings") {
            EXPECT_TRUE(failure->contains(qt_error_string(EROFS))) << failure->toStdString();
        }
        EXPECT_EQ(readAll(target), kOld);
    }
}

TEST(SafeSaves, TheSameDiskWithRoomTakesEveryNewFile)
{
    for (const TWriter& w : kWriters) {
        SCOPED_TRACE(w.Name);
        TSmallDisk disk(1024 * 1024);
        if (!disk.Mounted())
            GTEST_SKIP() << disk.Reason().toStdString();
        const QString target = targetIn(disk.Path(), w);
        writeOld(target);
        const std::optional<QString> failure = w.Write(target);
        EXPECT_FALSE(failure.has_value()) << failure.value_or(QString()).toStdString();
        EXPECT_NE(readAll(target), kOld);
    }
}

TEST(SafeSaves, WriteProtectedFilesAreRefusedAlike)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString jpeg = dir.filePath(QStringLiteral("page.jpg"));
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    const QString original = dir.filePath(QStringLiteral("QRL_ORIGINAL.SPK"));
    for (const QString& path : {jpeg, pdf, original}) {
        writeOld(path);
        ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    }
    const QString reason = qt_error_string(EACCES);
    EXPECT_EQ(writeJpeg(jpeg), QStringLiteral("Impossible de créer le fichier \"%1\". %2").arg(jpeg, reason));
    EXPECT_EQ(writePdf(pdf), QStringLiteral("Cannot create file \"%1\". %2").arg(pdf, reason));
    // The program words this one around the reason ("quorlo: Cannot create file ...").
    EXPECT_EQ(writeOriginalLanguage(original), reason);
    for (const QString& path : {jpeg, pdf, original})
        EXPECT_EQ(readAll(path), kOld) << path.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"page.jpg", "QRL_ORIGINAL.SPK", "sheet.pdf"}));
}

TEST(SafeSaves, AChainOfLinksIsFollowedToItsEnd)
{
    for (const auto& write : {writeJpeg, writePdf, writeOriginalLanguage}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        // first -> sub/middle -> ../real (relative links, each read from its own folder)
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        writeOld(dir.filePath(QStringLiteral("real")));
        ASSERT_TRUE(QFile::link(QStringLiteral("../real"), dir.filePath(QStringLiteral("sub/middle"))));
        ASSERT_TRUE(QFile::link(QStringLiteral("sub/middle"), dir.filePath(QStringLiteral("first"))));

        EXPECT_FALSE(write(dir.filePath(QStringLiteral("first"))).has_value());
        EXPECT_NE(readAll(dir.filePath(QStringLiteral("real"))), kOld) << "the real file is new";
        EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("first"))).isSymLink());
        EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("sub/middle"))).isSymLink()) << "the middle link stays a link";

        // A chain that loops is refused, and stays as it was.
        ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("sub/middle"))));
        ASSERT_TRUE(QFile::link(QStringLiteral("../first"), dir.filePath(QStringLiteral("sub/middle"))));
        EXPECT_TRUE(write(dir.filePath(QStringLiteral("first"))).has_value());
        EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("sub/middle"))).isSymLink());
    }
}
