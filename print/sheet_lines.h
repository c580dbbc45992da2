#pragma once

#include "frame.h"
#include "head_rules.h"
#include "sheet_printer.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class TCustomImage32;
class TImage32;
class TPhotoSheet;

/// The main window's "Add to sheet" list: photos kept, each with its frame
/// and number of copies, to share the pages with the photo in the window.
/// Each line holds its own photo, so its cell can be rendered again at any
/// cell size: the list outlives a change of format or printer, and the
/// sheet is made afresh from it before every preview or print.
class TSheetLines {
public:
    /// A line holds a whole photo: the list stays within this many.
    static constexpr int kMaxLines = 20;

    TSheetLines();
    ~TSheetLines();
    TSheetLines(const TSheetLines&) = delete;
    TSheetLines& operator=(const TSheetLines&) = delete;

    /// Keeps the photo of `PhotoView` (copied, with the view's placement on
    /// paper) as the last line; raises Exception with the catalogue's
    /// message when the list is full, and then keeps nothing.
    void Add(const TCustomImage32& PhotoView, const QString& FileName, const std::optional<TFrame>& Frame,
             int CopyCount);
    void Remove(int Line);
    void Clear();

    /// Takes line `Line` back into the window to be changed: its photo goes
    /// into `PhotoView`, its file name, frame and count into the others. The
    /// window's photo, when the view held one, takes the line's place with
    /// the values the arguments held; otherwise the line leaves the list.
    /// True when the line stayed (with the window's photo).
    bool TakeBack(int Line, TCustomImage32& PhotoView, QString& FileName, std::optional<TFrame>& Frame,
                  int& CopyCount);

    int Count() const { return static_cast<int>(FLines.size()); }
    bool Empty() const { return FLines.empty(); }
    /// The line as the list shows it: the photo's file name and its count
    /// ("grace_hopper.jpg × 4").
    QString Text(int Line) const;
    int Copies(int Line) const;
    const std::optional<TFrame>& Frame(int Line) const;

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
