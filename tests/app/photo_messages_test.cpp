#include "photo_messages.h"

#include "exception.h"
#include "bitmap32.h"
#include "printer_device.h"
#include "sheet_render.h"

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

TEST(PhotoMessagesTest, SaveAndPrintFailuresNameTheFileAndThePrinter)
{
    QTemporaryDir dir;
    TBitmap32 page;
    page.SetSize(8, 8);
    const QString save = messageOf([&] {
        const QString name = dir.filePath("missing/sheet.jpg");
        SavePageFile(name, [&] { SavePageAsJpeg(page, name, 600, 600); });
    });
    EXPECT_TRUE(save.startsWith("Cannot save the sheet as \"sheet.jpg\" (")) << save.toStdString();
    EXPECT_TRUE(save.endsWith(").")) << save.toStdString();

    const QString print = messageOf(
        [] { PrintOnPrinter("Office", [] { throw EPrinter(QStringLiteral("Printer is not currently printing")); }); });
    EXPECT_EQ(print, "Cannot print on \"Office\" (Printer is not currently printing).");
    EXPECT_EQ(messageOf([] { PrintOnPrinter("Office", [] {}); }), QString());
}

}  // namespace
