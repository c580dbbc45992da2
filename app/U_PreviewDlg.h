#pragma once

#include "bitmap32.h"

#include <QDialog>
#include <QSizeF>
#include <QStringList>

#include <memory>

class QFileDialog;
class TPhotoSheet;
class TPrinterDevice;

namespace Ui {
class previewdlg;
}

/// Extends a save name with ".jpg" unless it already ends in ".jpg" or
/// ".jpeg" (any case): photo -> photo.jpg, sheet.png -> sheet.png.jpg,
/// PAGE.JPEG unchanged. The extension is what follows the last "." after
/// the last path delimiter.
QString JpegSaveName(const QString& FileName);

/// The name "Save as image" offers for a sheet of PhotoFile's photo:
/// "grace_hopper.jpg" -> "grace_hopper-sheet.jpg".
QString SheetSaveName(const QString& PhotoFile);

/// A paper of Millimetres as the preview names it: "A4 (210 × 297 mm)" for
/// a standard size in either orientation, else "100 × 150 mm", the numbers
/// rounded to whole millimetres in the interface's style.
QString PaperText(const QSizeF& Millimetres);

/// The preview window: shows the page the sheet printer drew, before
/// anything is printed, whole or zoomed (the slider, + and -, Ctrl and the
/// wheel), with its paper and printer named; saves it as a JPEG and says
/// where, confirms the print, or closes. A sheet of several photos may take
/// several pages: the window then shows one at a time, with buttons to the
/// others, and saves each as a file of its own.
class Tpreviewdlg : public QDialog {
    Q_OBJECT

public:
    explicit Tpreviewdlg(QWidget* parent = nullptr);
    ~Tpreviewdlg() override;

    /// Shows the window modally; true only when "Print Now" closed it.
    bool Execute();

    /// The page buffer: one pixel per printer pixel, shown fitted to the
    /// view at first. Call PageChanged after drawing into it.
    TBitmap32& Page();
    void PageChanged();
    /// Names the paper and the printer the page is for.
    void SetPrinter(const TPrinterDevice& Printer);
    /// Screen pixels per page pixel.
    double Zoom() const;
    QFileDialog& JOD() { return *FJOD; }
    /// The printer resolution the page was built at, which its saved file
    /// states so that it prints at its true size elsewhere.
    void SetPageResolution(int DpiX, int DpiY)
    {
        FDpiX = DpiX;
        FDpiY = DpiY;
    }
    int PageDpiX() const { return FDpiX; }
    int PageDpiY() const { return FDpiY; }
    /// The name the last save used, offered by the next one.
    QString LastSaveName() const { return FLastName; }
    /// The photo on the page: the save dialog starts beside it until a page
    /// has been saved somewhere.
    void SetPhotoFile(const QString& FileName) { FPhotoFile = FileName; }

    /// The sheet whose pages the window shows, saves and prints, page 0
    /// shown first (ShowPage); null: the one page the main window built in
    /// Page(), as without a sheet. The sheet must live while it is set.
    void SetSheet(TPhotoSheet* Sheet);
    /// The pages to show: 1 without a sheet or when it has nothing to print.
    int PageCount() const { return FPageCount; }
    int PageIndex() const { return FPageIndex; }
    /// Builds page `Index` (0 first) of the sheet in Page() and shows it.
    void ShowPage(int Index);
    /// The files the last "Save as image" wrote, one per page.
    QStringList SavedFiles() const { return FSavedFiles; }

    /// "Save as image": asks for a name (the last one, else one made from
    /// the photo's, SheetSaveName), writes the page as a JPEG and says
    /// where; the window stays open.
    void saveimg_btnClick();
    void zoom_trkChange(int Value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// The page at the slider's zoom: step 0 fits it whole into the view.
    void showZoom();

    std::unique_ptr<Ui::previewdlg> ui;
    QFileDialog* FJOD;
    TBitmap32 FPage;
    QString FLastName;
    QString FPhotoFile;
    QStringList FSavedFiles;
    TPhotoSheet* FSheet = nullptr;
    int FPageCount = 1;
    int FPageIndex = 0;
    int FDpiX = 0;
    int FDpiY = 0;
};
