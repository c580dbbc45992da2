#pragma once

#include "head_rules.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

/// The part of a photo that fills the photo cell: a rectangle in photo pixels
/// (after the photo was turned upright) with the cell's aspect ratio. It may
/// reach past the photo's edges; what lies outside prints white.
struct TFrame {
    double X = 0;
    double Y = 0;
    double Width = 0;
    double Height = 0;

    double Right() const { return X + Width; }
    double Bottom() const { return Y + Height; }
    double CentreX() const { return X + Width / 2; }
    bool operator==(const TFrame&) const = default;
};

/// Where a head lies in a photo, in photo pixels: the top of the skull (the
/// crown, hair left aside), the bottom of the chin, the middle of the face
/// across, and the line through the eyes.
struct THead {
    double CrownY = 0;
    double ChinY = 0;
    double CentreX = 0;
    double EyeY = 0;

    double Height() const { return ChinY - CrownY; }
};

/// The crown and chin lines a user placed on a photo, in photo pixels: they
/// take the place of the measured ones.
struct THeadLines {
    double CrownY = 0;
    double ChinY = 0;

    bool operator==(const THeadLines&) const = default;
};

/// Head with its crown and chin on Lines; its eye line and centre stay.
THead WithLines(const THead& Head, const THeadLines& Lines);

/// Crown-to-eye distance over crown-to-chin height of an upright adult face.
/// Places the head under an eye-line rule and the eyes of an estimated head.
inline constexpr double kEyeDepth = 0.5;

/// The bands a format's rule draws over a framed photo, as fractions of the
/// frame's height from its top edge. A crown inside its band and a chin inside
/// its band make a head whose height is within the rule.
struct TGuides {
    TRange CrownBand;
    TRange ChinBand;
    std::optional<TRange> EyeBand;
};

TGuides GuidesFor(const THeadRule& Rule);

/// The frame that makes Head the middle of the rule's head-height range,
/// centres the face across and puts the eyes in the middle of the eye-line
/// band where the rule has one, else the crown in the middle of the top
/// margin where the rule has one; without either the head is centred between
/// the crown and chin bands. A rule measured to the top of the skull takes the
/// crown where the face's proportions put it (kEyeDepth), never above the
/// measured one. None for a head of no height.
std::optional<TFrame> FrameForHead(const THead& Head, const THeadRule& Rule);

enum class THeadVerdict { TooSmall, Within, TooLarge };

/// How a framed head measures against the rule.
struct THeadCheck {
    /// Head height in the rule's unit (millimetres printed, or percent).
    double Head = 0;
    THeadVerdict HeadVerdict = THeadVerdict::Within;
    /// Eye line above the bottom edge in printed millimetres, where the rule has one.
    std::optional<double> EyeLineMm;
    THeadVerdict EyeVerdict = THeadVerdict::Within;   ///< TooSmall: eyes too low

    bool Passes() const { return HeadVerdict == THeadVerdict::Within && EyeVerdict == THeadVerdict::Within; }
};

/// The head's height and eye line in Frame, measured as Rule measures them
/// (its crown as FrameForHead takes it).
THeadCheck CheckHead(const TFrame& Frame, const THead& Head, const THeadRule& Rule);

/// The wording of one of this library's texts in the user's language, given
/// its original English wording (a window's text storage does this). Empty:
/// the original wording.
using TWording = std::function<QString(const QString& Original)>;

/// The messages of automatic framing. The second is an earlier detector's,
/// no longer said; it keeps its line in the language files.
inline constexpr char kNoFaceText[] = "No face was found in this photo; the frame stays as it was.";
inline constexpr char kSeveralFacesText[] =
    "%1 faces were found; the frame follows the most likely one (eyes visible, then the largest).";
/// Several measured heads (measured_frame.h).
inline constexpr char kSeveralHeadsText[] = "%1 faces were found; the frame follows the most likely one.";

/// The original wording of every text this library composes, so that a
/// window's text storage, and with it the language files, can carry them.
QStringList FramingTexts();

/// The framing window's own sentences: the head line without a face, a
/// framed part printed below 300 pixels per inch, no person to put a plain
/// background behind.
inline constexpr char kNoHeadText[] = "Place the top of the head in the upper band and the chin in the lower band.";
inline constexpr char kLowResolutionText[] =
    "The framed part has %1 pixels per inch when printed; below 300 the print may look blurred.";
inline constexpr char kNoPersonText[] = "No person was found in the photo: its background cannot be replaced.";

/// The lines of the framing window's text storage ("FrameDlg.TS_frame" in
/// the language files), in their order: texts added later come last.
QStringList FramingWindowTexts();

/// Where FramingText finds the texts of this library in the user's
/// language (a program without the framing window: quorlo-sheet); an empty
/// source leaves them in their original wording.
void SetFramingTextSource(TWording Source);
/// A text of FramingWindowTexts in the current source's wording.
QString FramingText(const QString& Original);

/// The check in plain words, for instance "Head height 33.9 mm: within the
/// rule (32-36 mm)." or "Head height 29.5 mm: too small, the rule asks for
/// 32-36 mm."
QString HeadSizeText(const THeadCheck& Check, const THeadRule& Rule, const TWording& Wording = {});

/// The frame for another format: the same width across the face's centre
/// line and the head at the same place within the new rule's range. The
/// height scales by the ratio of the two rules' middle head fractions, the
/// width follows the new aspect ratio, the horizontal centre stays, and the
/// head-centre line of the guides stays on the same photo row.
TFrame FollowFormat(const TFrame& Frame, const THeadRule& From, const THeadRule& To);

/// Photo pixels per inch of the framed part when printed at the format's size.
double PrintedPixelsPerInch(const TFrame& Frame, const THeadRule& Rule);

/// Below this a printed identity photo shows its pixels.
inline constexpr double kMinPrintPixelsPerInch = 300;

/// True when the frame's sides have the rule's aspect ratio to within one
/// photo pixel and are both positive.
bool HasRuleAspect(const TFrame& Frame, const THeadRule& Rule);
