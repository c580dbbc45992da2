#include "sheet_lines.h"

#include "messages.h"
#include "exception.h"
#include "bitmap32.h"
#include "photo_sheet.h"
#include "sheet_render.h"

#include <QFileInfo>

#include <utility>

struct TSheetLines::TLine {
    QString FileName;
    // Without a frame the photo is painted into the cell as the window's
    // view painted it, so a line prints as it would have printed on its own.
    TBitmap32 Photo;
    TViewLook View;
    std::optional<TFrame> Frame;
    int Count = 0;
    std::optional<TPlainBackground> Background;
    std::optional<THeadLines> HeadLines;
    double Turn = 0;
};

TSheetLines::TSheetLines() = default;

TSheetLines::~TSheetLines() = default;

void TSheetLines::Add(const TBitmap32& Photo, const TViewLook& View, const QString& FileName,
                      const std::optional<TFrame>& Frame, int CopyCount,
                      const std::optional<TPlainBackground>& Background, double Turn)
{
    if (FLines.size() >= static_cast<std::size_t>(kMaxLines))
        throw Exception(MessageText(Msg::kSheetListFull).arg(kMaxLines));
    auto added = std::make_unique<TLine>();
    added->FileName = FileName;
    added->Photo.Assign(&Photo);
    added->Photo.SetStretchFilter(Photo.StretchFilter());
    added->View = View;
    added->Frame = Frame;
    added->Count = CopyCount;
    added->Background = Background;
    added->Turn = Turn;
    FLines.push_back(std::move(added));
}

void TSheetLines::Remove(int Line)
{
    line(Line);   // raises for a line outside the list
    FLines.erase(FLines.begin() + Line);
}

bool TSheetLines::TakeBack(int Line, TBitmap32& Photo, const TViewLook& View, QString& FileName,
                           std::optional<TFrame>& Frame, int& CopyCount,
                           std::optional<TPlainBackground>& Background)
{
    TLine& taken = *FLines.at(static_cast<std::size_t>(Line));   // raises outside the list
    const bool keep = !Photo.Empty();
    TBitmap32 windowPhoto;
    if (keep)
        windowPhoto.Assign(&Photo);
    Photo.Assign(&taken.Photo);
    std::swap(FileName, taken.FileName);
    std::swap(Frame, taken.Frame);
    std::swap(CopyCount, taken.Count);
    std::swap(Background, taken.Background);
    if (!keep) {
        FLines.erase(FLines.begin() + Line);
        return false;
    }
    taken.Photo.Assign(&windowPhoto);
    taken.View = View;
    return true;
}

void TSheetLines::Clear()
{
    FLines.clear();
}

const TSheetLines::TLine& TSheetLines::line(int Line) const
{
    return *FLines.at(static_cast<std::size_t>(Line));
}

QString TSheetLines::Text(int Line) const
{
    const TLine& l = line(Line);
    return QStringLiteral("%1 \u00D7 %2").arg(QFileInfo(l.FileName).fileName()).arg(l.Count);
}

const QString& TSheetLines::FileName(int Line) const
{
    return line(Line).FileName;
}

const std::optional<THeadLines>& TSheetLines::HeadLines(int Line) const
{
    return line(Line).HeadLines;
}

void TSheetLines::SetHeadLines(int Line, const std::optional<THeadLines>& Lines)
{
    FLines.at(static_cast<std::size_t>(Line))->HeadLines = Lines;
}

int TSheetLines::Copies(int Line) const
{
    return line(Line).Count;
}

const std::optional<TFrame>& TSheetLines::Frame(int Line) const
{
    return line(Line).Frame;
}

const std::optional<TPlainBackground>& TSheetLines::Background(int Line) const
{
    return line(Line).Background;
}

const TBitmap32& TSheetLines::Photo(int Line) const
{
    return line(Line).Photo;
}

double TSheetLines::Turn(int Line) const
{
    return line(Line).Turn;
}

void TSheetLines::Reframe(int Line, const TBitmap32& Photo, const std::optional<TFrame>& Frame,
                          const std::optional<TPlainBackground>& Background, double Turn)
{
    TLine& framed = *FLines.at(static_cast<std::size_t>(Line));   // raises outside the list
    if (&Photo != &framed.Photo) {
        const TStretchFilter filter = framed.Photo.StretchFilter();
        framed.Photo.Assign(&Photo);
        framed.Photo.SetStretchFilter(filter);
    }
    framed.Frame = Frame;
    framed.Background = Background;
    framed.Turn = Turn;
}

void TSheetLines::FollowFormat(const THeadRule& From, const THeadRule& To)
{
    for (auto& l : FLines)
        if (l->Frame)
            l->Frame = ::FollowFormat(*l->Frame, From, To);
}

void TSheetLines::AddTo(TPhotoSheet& Sheet, const TProgress& Progress) const
{
    for (int i = 0; i < Count(); ++i) {
        const TLine& l = line(i);
        RenderPhotoCell(l.Photo, l.View, Sheet.SheetPrinter(), l.Frame, l.Background, l.Turn);
        Sheet.AddCell(l.Count);
        if (Progress)
            Progress(i + 1, Count());
    }
}
