#pragma once

#include "frame.h"
#include "head_rules.h"
#include "plain_background.h"
#include "progress.h"
#include "view_paint.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class TBitmap32;
class TPhotoSheet;

/// The main window's "Add to sheet" list: photos kept, each with its frame
/// and number of copies, to share the pages with the photo in the window.
/// Each line holds its own photo and the look of the view it was shown in,
/// so its cell can be rendered again at any cell size: the list outlives a change of format or printer, and the
/// sheet is made afresh from it before every preview or print.
class TSheetLines {
public:
    /// A line holds a whole photo: the list stays within this many.
    static constexpr int kMaxLines = 20;

    TSheetLines();
    ~TSheetLines();
    TSheetLines(const TSheetLines&) = delete;
    TSheetLines& operator=(const TSheetLines&) = delete;

    /// Keeps a copy of `Photo` (with its filter), shown in a view of look
    /// `View`, as the last line; raises Exception with the catalogue's
    /// message when the list is full, and then keeps nothing.
    void Add(const TBitmap32& Photo, const TViewLook& View, const QString& FileName,
             const std::optional<TFrame>& Frame, int CopyCount,
             const std::optional<TPlainBackground>& Background = std::nullopt, double Turn = 0);
    void Remove(int Line);
    void Clear();

    /// Takes line `Line` back into the window to be changed: its photo goes
    /// into `Photo`, its file name, frame, count and background into the others. The
    /// window's photo, when `Photo` held one, takes the line's place with the
    /// values the arguments held and the look `View`; otherwise the line
    /// leaves the list. True when the line stayed (with the window's photo).
    bool TakeBack(int Line, TBitmap32& Photo, const TViewLook& View, QString& FileName,
                  std::optional<TFrame>& Frame, int& CopyCount, std::optional<TPlainBackground>& Background);

    int Count() const { return static_cast<int>(FLines.size()); }
    bool Empty() const { return FLines.empty(); }
    /// The line as the list shows it: the photo's file name and its count
    /// ("grace_hopper.jpg × 4").
    QString Text(int Line) const;
    int Copies(int Line) const;
    /// The file the line's photo came from.
    const QString& FileName(int Line) const;
    const std::optional<TFrame>& Frame(int Line) const;
    const std::optional<TPlainBackground>& Background(int Line) const;
    /// The crown and chin lines the user placed on the line's photo; none:
    /// the measured ones. A line starts without them and keeps what it is given.
    const std::optional<THeadLines>& HeadLines(int Line) const;
    void SetHeadLines(int Line, const std::optional<THeadLines>& Lines);
    /// The line's photo as it was kept (turned, if the framing window turned it).
    const TBitmap32& Photo(int Line) const;
    /// The straightening of the line's photo (RenderPhotoCell's Turn).
    double Turn(int Line) const;

    /// Line `Line` framed anew: its photo (a quarter turn may have changed
    /// it), frame, background and straightening become these; its place,
    /// file and count stay.
    void Reframe(int Line, const TBitmap32& Photo, const std::optional<TFrame>& Frame,
                 const std::optional<TPlainBackground>& Background, double Turn = 0);

    /// The format changed from `From` to `To`: every frame keeps its centre
    /// and head scale in the new shape, as the window's own frame does.
    void FollowFormat(const THeadRule& From, const THeadRule& To);

    /// Adds every line to `Sheet` as a cell rendered at its sheet printer's
    /// present cell size, in list order. Progress hears of each line.
    void AddTo(TPhotoSheet& Sheet, const TProgress& Progress = {}) const;

private:
    struct TLine;
    const TLine& line(int Line) const;

    std::vector<std::unique_ptr<TLine>> FLines;
};
