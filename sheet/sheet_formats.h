#pragma once

#include "documents.h"
#include "exception.h"
#include "head_rules.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

/// A photo size or rule that cannot be used; the message says why.
QRL_DECLARE_EXCEPTION(ESheetFormat, Exception);

/// Where a format of the list comes from: the original list, the sizes
/// shipped after it, the user's own, the table of documents.
enum class TFormatOrigin { BuiltIn, Shipped, Own, Document };

/// The smallest and largest side of a photo, in millimetres.
inline constexpr int kMinPhotoMm = 5;
inline constexpr int kMaxPhotoMm = 300;
/// The longest name an own format takes, in characters.
inline constexpr int kMaxFormatNameLength = 40;

/// A photo size in whole millimetres with the optional rules of the framing
/// window: head height (chin to crown) and the eye line's height above the
/// bottom edge, both in millimetres. Cells are whole millimetres (the sheet
/// printer converts integer millimetres), so sizes are too. The name is the
/// user's own (none: the list shows the size alone).
struct TOwnFormat {
    TOwnFormat() = default;
    // A constructor, so that a format without a name is written with its
    // sizes and rules alone.
    TOwnFormat(int Width, int Height, std::optional<TRange> Head = std::nullopt,
               std::optional<TRange> EyeLine = std::nullopt, QString Name_ = {})
        : WidthMm(Width), HeightMm(Height), HeadMm(Head), EyeLineMm(EyeLine), Name(std::move(Name_))
    {
    }

    int WidthMm = 0;
    int HeightMm = 0;
    std::optional<TRange> HeadMm;
    std::optional<TRange> EyeLineMm;
    QString Name;

    bool operator==(const TOwnFormat&) const = default;
};

/// One entry of the format list.
struct TSheetFormat {
    /// Position in the list.
    int Index = 0;
    /// The list item's text, in the original language; a shipped format's
    /// is a message of the catalogue, so MessageText gives its translation;
    /// a document's is its name (the country is its row's).
    QString Text;
    /// The printed size in millimetres; an inch size exactly (50.8).
    double WidthMm = 0;
    double HeightMm = 0;
    TFormatOrigin Origin = TFormatOrigin::BuiltIn;
    /// The framing rule; absent for an own format given without one.
    std::optional<THeadRule> Rule;
    /// An own format's name, as the user gave it; empty for every other.
    QString Name;
    /// The office's row the format's rules come from (a document, and the
    /// built-in formats of an office); none for a size of no office's.
    const TDocument* Document = nullptr;
};

/// The rule of a built-in format, as its row of the table of documents gives
/// it: 35 x 45 mm, head 32-36 mm; 2 x 2 in., head 25-35 mm with the eyes
/// 28-35 mm above the bottom; 1.8 x 2.2 in., head 71-80 % of the photo's
/// height. Other gives the 35 x 45 mm rule.
const THeadRule& HeadRule(TPhotoFormat Format);

/// The three formats the main window has always listed, at their places and
/// with their texts: 35 x 45 mm, 2 x 2 in. and 1.8 x 2.2 in., the inch sizes
/// exactly (50.8 x 50.8, 45.72 x 55.88).
std::vector<TSheetFormat> BuiltInFormats();

/// The whole list: the built-in formats, the shipped extras (40 x 50,
/// 51 x 51 and 50 x 70 mm), then `own` in its order, then every printed
/// document of the table (Documents(), online forms left out) in its order;
/// so the places of the first three groups never move. No two entries
/// before the documents have one size: an own format of a size listed
/// before it (stored before such repeats were refused) is left out.
std::vector<TSheetFormat> FormatList(const std::vector<TOwnFormat>& own);

/// The key the last choices keep a format by: a document's id, otherwise its
/// size ("35x45", "50.8x50.8"), which no two of the other formats share.
QString FormatKey(const TSheetFormat& Format);

/// The list entry of a printed document at `index`.
TSheetFormat DocumentSheetFormat(const TDocument& Document, int index);

/// Raises ESheetFormat when a built-in or shipped format has Format's size:
/// an own format never repeats one (a document's size it may).
void CheckNotShipped(const TOwnFormat& Format);

/// The list entry of an own format: text "W x H mm", its name, its rule when
/// it has a head-height range.
TSheetFormat OwnSheetFormat(const TOwnFormat& format, int index);

/// The rule of the first format of `list` of WidthMm x HeightMm that has a
/// rule, documents left out, otherwise GenericHeadRule.
THeadRule RuleForSize(int WidthMm, int HeightMm, const std::vector<TSheetFormat>& list);

/// Raises ESheetFormat unless both sides are within kMinPhotoMm..kMaxPhotoMm,
/// each range lies within (0, height] smallest first, an eye line comes
/// with a head height, and the name has at most kMaxFormatNameLength
/// characters, none of them a control character (a line break, a tab).
void CheckOwnFormat(const TOwnFormat& format);

/// Reads "WxH" with an optional "mm", spaces allowed around each part, "x" or
/// "X" between ("40x50mm", "40 x 50 mm"), and checks the limits. Raises
/// ESheetFormat for anything else: fractions, other units, missing sides.
TOwnFormat ParseSizeMm(const QString& text);
