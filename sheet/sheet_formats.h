#pragma once

#include "head_rules.h"
#include "exception.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

/// A photo size or rule that cannot be used; the message says why.
QRL_DECLARE_EXCEPTION(ESheetFormat, Exception);

/// Where a format of the list comes from.
enum class TFormatOrigin { BuiltIn, Shipped, Own };

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
    /// is a message of the catalogue, so MessageText gives its translation.
    QString Text;
    int WidthMm = 0;
    int HeightMm = 0;
    TFormatOrigin Origin = TFormatOrigin::BuiltIn;
    /// The framing rule; absent for an own format given without one.
    std::optional<THeadRule> Rule;
    /// An own format's name, as the user gave it; empty for every other.
    QString Name;
};

/// The rule of a built-in format: 35 x 45 mm, head 32-36 mm; 2 x 2 in., head
/// 25-35 mm with the eyes 28-35 mm above the bottom; 1.8 x 2.2 in., head
/// 71-80 % of the photo's height. Other gives the 35 x 45 mm rule.
const THeadRule& HeadRule(TPhotoFormat Format);

/// The three formats the main window has always listed, at their places and
/// with their texts: 35 x 45 mm, 2 x 2 in. and 1.8 x 2.2 in., the inch sizes
/// in whole millimetres truncated (50 x 50, 45 x 55).
std::vector<TSheetFormat> BuiltInFormats();

/// The whole list: the built-in formats, the shipped extras (40 x 50,
/// 51 x 51 and 50 x 70 mm), then `own` in its order. No two entries have
/// one size: an own format of a size listed before it (stored before such
/// repeats were refused) is left out.
std::vector<TSheetFormat> FormatList(const std::vector<TOwnFormat>& own);

/// Raises ESheetFormat when a built-in or shipped format has Format's size:
/// an own format never repeats one.
void CheckNotShipped(const TOwnFormat& Format);

/// The list entry of an own format: text "W x H mm", its name, its rule when
/// it has a head-height range.
TSheetFormat OwnSheetFormat(const TOwnFormat& format, int index);

/// The rule of a photo size that no office rule fits: the head at 70 to 80
/// percent of the photo's height, the usual share of a full-face photo.
THeadRule GenericHeadRule(int WidthMm, int HeightMm);

/// The rule of the first format of `list` of WidthMm x HeightMm that has a
/// rule, otherwise GenericHeadRule.
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
