#pragma once

#include <optional>

/// The identity-photo formats, in the order of the main window's format list.
/// Other stands for any later format of the list (shipped extras, the user's
/// own), whose rule is built by value rather than looked up here.
enum class TPhotoFormat { France35x45 = 0, US2x2 = 1, Canada18x22 = 2, Other = 3 };

/// A closed range of lengths.
struct TRange {
    double Min = 0;
    double Max = 0;

    constexpr double Mid() const { return (Min + Max) / 2; }
    constexpr bool Contains(double v) const { return v >= Min && v <= Max; }
    constexpr bool operator==(const TRange&) const = default;
};

/// Where an office puts the top of the head it measures the head's height to.
enum class TCrown {
    TopOfHair,    ///< the top of the hair, as most offices measure
    TopOfSkull,   ///< the natural top of the head, the hair's volume left out
};

/// The plain colours offices name for a background.
enum class TBackdrop : unsigned char { White, OffWhite, LightGrey, Cream, LightBlue };

struct TDocument;

/// How a rule states its head height: in millimetres on the printed photo, or
/// in percent of the photo's height.
enum class TRuleUnit { Millimetres, PercentOfHeight };

/// What an office asks of the head on a printed identity photo of one format.
struct THeadRule {
    TPhotoFormat Format;
    /// The printed photo in millimetres, as the sheet printer prints it
    /// (inch sizes exactly: 2 in. is 50.8 mm).
    double PhotoWidthMm;
    double PhotoHeightMm;
    /// Head height (chin to crown) in Unit, as the rule states it.
    TRuleUnit Unit;
    TRange Head;
    /// Height of the eye line above the bottom edge, in millimetres, for the
    /// formats whose rule has one.
    std::optional<TRange> EyeLineMm;
    /// Space between the top edge and the crown, in millimetres, for the
    /// documents whose office states one.
    std::optional<TRange> TopMarginMm = std::nullopt;
    /// Where the rule's crown lies.
    TCrown Crown = TCrown::TopOfHair;
    /// The background colour the rule's office (or size) takes first; none
    /// for a size of the user's own.
    std::optional<TBackdrop> Backdrop = std::nullopt;
    /// The office's row the rule comes from, for whoever judges more of it
    /// (glasses, background, edits); none for a size of no office's.
    const TDocument* Document = nullptr;

    /// The head-height range as fractions of the photo's height.
    TRange HeadFraction() const;
    /// The eye-line range as fractions of the photo's height above the bottom edge.
    std::optional<TRange> EyeLineFraction() const;
    /// The top margin as fractions of the photo's height below the top edge.
    std::optional<TRange> TopMarginFraction() const;
    /// Width over height of the printed photo, and so of every frame.
    double Aspect() const { return PhotoWidthMm / PhotoHeightMm; }
};
