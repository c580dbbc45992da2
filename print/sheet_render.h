#pragma once

#include "frame.h"
#include "plain_background.h"
#include "rect.h"
#include "sheet_printer.h"
#include "view_paint.h"

#include <QStringList>

#include <optional>

class QString;
class TBitmap32;
class TPhotoSheet;

/// The main window's photo view as its form lays it out: 151 x 201 pixels on
/// the window face colour of Qt's own style (239, 239, 239), the photo at
/// the top left; what a print run without the window paints its cells with.
inline constexpr TViewLook kMainPhotoViewLook{151, 201, 0xFFEFEFEFu, baTopLeft};

/// Where the photo goes in the cell: the whole photo, aspect kept, anchored
/// top-left, taking the full cell height when it is relatively taller than
/// the cell and the full width otherwise. The ratios are doubles; the
/// products and quotients are evaluated in 80-bit floating point and rounded
/// half to even (a 1200 x 1600 photo in an 826 x 1062 cell ends at 797).
TRect PhotoRectInCell(int PhotoWidth, int PhotoHeight, int CellWidth, int CellHeight);

/// Where the whole photo lands when Frame fills a CellWidth x CellHeight
/// cell: the frame's corners go to the cell's corners, so the rectangle
/// reaches past the cell wherever the photo reaches past the frame. Edges
/// rounded half to even, kept within +-2^30.
TRect FramedPhotoRect(int PhotoWidth, int PhotoHeight, const TFrame& Frame, int CellWidth,
                      int CellHeight);

/// Renders `Photo` into the sheet printer's cell: the cell is cleared to
/// opaque white and, without a frame, the photo is painted into
/// PhotoRectInCell as the photo view of look `View` paints it (PaintView,
/// with the photo's own filter, Mitchell). With a frame, the photo is drawn
/// into FramedPhotoRect clipped to the cell, with the same filter, so
/// exactly the framed rectangle fills the cell and what the frame holds
/// beyond the photo stays white. Either way the only resampling of the photo
/// in a print run. With a plain background, ReplaceBackground then puts its
/// colour behind the person throughout the cell (the unframed photo's white
/// strip included); the photo itself is never changed.
///
/// A Turn (degrees, TurnPhoto's sense) straightens the photo: the frame, and
/// the plain background's masks, are then the turned photo's (TurnPhoto),
/// and the cell is cut from the turned photo by DrawTurned, still the one
/// resampling (Mitchell) of the run, the unframed photo turned within its
/// place. A Turn of 0 takes the path above, pixel for pixel.
void RenderPhotoCell(const TBitmap32& Photo, const TViewLook& View, TIDPrinter& SheetPrinter,
                     const std::optional<TFrame>& Frame = std::nullopt,
                     const std::optional<TPlainBackground>& Background = std::nullopt, double Turn = 0);

/// Makes `Page` the sheet printer's page, one pixel per printer pixel
/// (HORZRES x VERTRES), cleared to opaque white, with the sheet drawn on it:
/// exactly what PrintSheet puts on paper. The page is the only buffer of its
/// size. Progress hears of each copy drawn.
void RenderPage(TIDPrinter& SheetPrinter, TBitmap32& Page, const TProgress& Progress = {});

/// Saves the page as "Save as image" does: encoded with the JPEG defaults
/// (quality 90, baseline) straight from the page's rows, a band at a time,
/// with DpiX x DpiY stated in the JFIF header so that the photos keep their
/// size on paper elsewhere; written atomically so a failure leaves any
/// existing file as it was. Progress hears of each band.
void SavePageAsJpeg(const TBitmap32& Page, const QString& FileName, int DpiX, int DpiY,
                    const TProgress& Progress = {});

/// Writes the very file RenderPage followed by SavePageAsJpeg would write,
/// without any page buffer: each band of rows is composed from the cell and
/// the grid just before it is encoded, and blank rows cost one shared white
/// row.
void SaveSheetAsJpeg(TIDPrinter& SheetPrinter, const QString& FileName,
                     const TProgress& Progress = {});

/// RenderPage for page `PageIndex` (0 first) of a sheet of several photos:
/// `Page` becomes the printer's page, white, with that page's copies and
/// cut marks drawn as TPhotoSheet::PrintPages prints them. Past the last
/// page it stays white.
void RenderSheetPage(TPhotoSheet& Sheet, int PageIndex, TBitmap32& Page,
                     const TProgress& Progress = {});

/// Writes the very file RenderSheetPage followed by SavePageAsJpeg would
/// write for page `PageIndex`, without any page buffer, as SaveSheetAsJpeg
/// does for one photo.
void SaveSheetPageAsJpeg(TPhotoSheet& Sheet, int PageIndex, const QString& FileName,
                         const TProgress& Progress = {});

/// SaveSheetPageAsJpeg for pages 0 to FileNames.size() - 1, page i as
/// FileNames[i], all or none: each page goes into a temporary file beside
/// its name, and the files replace their names only once every page is
/// written, so a failure on a later page leaves every file as it was.
/// Progress hears of the bands of all pages together.
void SaveSheetPagesAsJpeg(TPhotoSheet& Sheet, const QStringList& FileNames,
                          const TProgress& Progress = {});
