// The window's print run up to "Save as image" for an A4 page at 1200 dpi,
// for measuring its peak memory from outside (bench/page_road.sh runs it
// under /usr/bin/time -v): a photo of PHOTO_WIDTH x PHOTO_HEIGHT in the
// photo view, the cell, the page buffer (RenderPage) and the JPEG written
// from it (SavePageAsJpeg).
//
// Usage: page_save_probe OUTPUT.jpg [PHOTO_WIDTH PHOTO_HEIGHT]
//        page_save_probe - [PHOTO_WIDTH PHOTO_HEIGHT]   (build the page, save nothing)
//        page_save_probe --page-bytes      (the page buffer's size)
#include "bitmap32.h"
#include "sheet_printer.h"
#include "sheet_render.h"
#include "test_printer.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

// A4 at 1200 dpi with no margins.
constexpr int kPageWidth = 9921;
constexpr int kPageHeight = 14031;

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: page_save_probe OUTPUT.jpg [PHOTO_WIDTH PHOTO_HEIGHT] | --page-bytes\n");
        return 2;
    }
    if (std::string_view(argv[1]) == "--page-bytes") {
        std::printf("%lld\n", static_cast<long long>(kPageWidth) * kPageHeight * 4);
        return 0;
    }
    const int photoWidth = argc > 3 ? std::atoi(argv[2]) : 1600;
    const int photoHeight = argc > 3 ? std::atoi(argv[3]) : 1200;
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    TTestPrinter printer(kPageWidth, kPageHeight, 1200, 1200);

    TBitmap32 photo;
    photo.SetStretchFilter(sfMitchell);
    photo.SetSize(photoWidth, photoHeight);
    for (int y = 0; y < photoHeight; ++y)
        for (int x = 0; x < photoWidth; ++x)
            photo.SetPixel(x, y, Color32(x & 255, y & 255, (x + y) & 255));

    TIDPrinter sheet(printer);
    sheet.SetCount(sheet.Capacity());
    RenderPhotoCell(photo, kMainPhotoViewLook, sheet);
    TBitmap32 page;
    RenderPage(sheet, page);
    if (std::string_view(argv[1]) != "-")
        SavePageAsJpeg(page, QString::fromLocal8Bit(argv[1]), sheet.DpiX(), sheet.DpiY());
    return 0;
}
