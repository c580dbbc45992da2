#pragma once

#include "head_rules.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The identity documents people ask for, one row each, with what their
// offices ask of the photo. The rows are data (document_table.cpp); every
// part of Quorlo that needs an office's rule reads it from its row.

/// A set of TBackdrop, one bit each.
using TBackdrops = std::uint8_t;
constexpr TBackdrops BackdropBit(TBackdrop B)
{
    return static_cast<TBackdrops>(1u << static_cast<unsigned>(B));
}
constexpr TBackdrops operator|(TBackdrop A, TBackdrop B)
{
    return BackdropBit(A) | BackdropBit(B);
}
constexpr TBackdrops operator|(TBackdrops A, TBackdrop B)
{
    return A | BackdropBit(B);
}

/// What an office says of glasses.
enum class TGlasses {
    Allowed,            ///< the office says nothing against them
    WithoutGlareOrTint, ///< allowed when the eyes show clearly: no glare, no tint, no heavy frame
    NotWorn,            ///< taken off (a medical note may excuse them)
};

/// Whether an office takes a photo whose background was replaced.
enum class TEdits { Accepted, Refused };

/// The file an office's online form takes. Sizes in bytes; 0 means no limit.
struct TOnlineForm {
    int Width = 0;          ///< the size Quorlo writes
    int Height = 0;
    int LeastWidth = 0;     ///< the smallest the form takes
    int LeastHeight = 0;
    std::int64_t MinBytes = 0;
    std::int64_t MaxBytes = 0;
    /// The short name `--digital` has always taken for this form ("uk");
    /// empty: the row's id.
    std::string_view Alias = {};
};

/// One document and its office's rule. Lengths in Unit: millimetres on the
/// printed photo, or percent of the photo's height (head, eye line and top
/// margin alike); the eye line is measured up from the lower edge, the top
/// margin down from the upper edge to the crown.
struct TDocument {
    std::string_view Id;        ///< "de-passport"; an online form's ends in "-online"
    std::string_view Country;   ///< ISO 3166-1 alpha-2 ("EU" for the Schengen area)
    const char* Name;           ///< the document, a message of the catalogue
    /// The printed photo, in millimetres (inches exactly: 2 in. is 50.8);
    /// for an online form, the print its rule is stated for.
    double WidthMm;
    double HeightMm;
    TRuleUnit Unit;
    /// Chin to crown, with the crown where the office puts it.
    TRange Head;
    TCrown Crown;
    std::optional<TRange> EyeLine;
    std::optional<TRange> TopMargin;
    /// The colour a plain background takes first, and every colour the
    /// office accepts (Backdrop among them).
    TBackdrop Backdrop;
    TBackdrops Backdrops;
    TGlasses Glasses;
    TEdits Edits;
    /// The file the office's online form takes; none for a printed photo.
    std::optional<TOnlineForm> Online;
    /// The office's page the row was checked against (or, where SecondHand,
    /// the copy it rests on), and the day (or month) it was read.
    std::string_view Source;
    std::string_view Read;
    /// The row rests on a copy of the office's text, not on its own page.
    bool SecondHand;
    /// What the row leaves out or had to choose, for whoever checks it next.
    std::string_view Note = {};
    /// The built-in format whose rule this row gives, for the code that still
    /// tells formats apart by it; Other for every other row.
    TPhotoFormat Format = TPhotoFormat::Other;
};

/// A size of the format list that no single office states: its text (a
/// message of the catalogue), its rule (none: the generic one) and the
/// background colour it takes.
struct TSizeFormat {
    const char* Text;
    double WidthMm;
    double HeightMm;
    TRuleUnit Unit;
    std::optional<TRange> Head;
    std::optional<TRange> EyeLine;
    TBackdrop Backdrop;
    TPhotoFormat Format = TPhotoFormat::Other;
};

/// The head at 70 to 80 percent of the photo's height (ICAO 9303 part 3),
/// for a size whose office states no head height.
inline constexpr TRange kGenericHead{70, 80};

/// Every row, printed documents and online forms, by country code.
std::span<const TDocument> Documents();

/// The built-in formats of the original list, in its order: 35 x 45 mm, 2 x
/// 2 in., 1.8 x 2.2 in.; each either a document's id or a size's text.
struct TBuiltInFormat {
    const char* Text;                 ///< the list item's original text
    std::string_view Document;        ///< the row it takes its rule from, or
    const TSizeFormat* Size;          ///< the size it is
};
std::span<const TBuiltInFormat> BuiltInFormatRows();

/// The sizes the list ships after the built-in ones (40 x 50, 51 x 51 and
/// 50 x 70 mm).
std::span<const TSizeFormat> ShippedSizes();

/// The ids of the online forms offered before the others, in their order.
std::span<const std::string_view> OnlineFormsOfferedFirst();

/// The row of `Id`, letter case aside; an online form's alias names it too.
/// None for an id no row has.
const TDocument* FindDocument(std::string_view Id);

/// The framing rule of a row: its size, head, crown, eye line and top margin
/// in the rule's terms (an eye line or a margin in percent becomes
/// millimetres), and the row itself for whoever judges more of it.
THeadRule DocumentRule(const TDocument& Document);

/// The rule of a size: its own head and eye line, or kGenericHead.
THeadRule SizeRule(const TSizeFormat& Size);

/// The rule of a photo size that no office rule fits: kGenericHead.
THeadRule GenericHeadRule(double WidthMm, double HeightMm);

/// The online form's file name as --digital takes it: the alias, else the id.
std::string_view OnlineKey(const TDocument& Document);

/// The colours the row's office takes: the one a plain background takes
/// first, then the others in TBackdrop's order.
std::vector<TBackdrop> AcceptedBackdrops(const TDocument& Document);

/// A colour's name, a message of the catalogue ("light grey").
const char* BackdropName(TBackdrop Backdrop);
