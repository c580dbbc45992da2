#pragma once

#include <QStringList>

/// The sentences of the photo check in their original wording; a window's
/// text storage, and with it the language files, translates them. %1 and %2
/// are numbers.
namespace CheckText {
inline constexpr char kEyeLinePass[] = "The eyes are at the right height.";
inline constexpr char kEyesTooLow[] = "The eyes are too low: move the frame down.";
inline constexpr char kEyesTooHigh[] = "The eyes are too high: move the frame up.";
inline constexpr char kCentred[] = "The face is centred.";
inline constexpr char kMoveFrameLeft[] = "The face is %1 % off the middle: move the frame to the left.";
inline constexpr char kMoveFrameRight[] = "The face is %1 % off the middle: move the frame to the right.";
inline constexpr char kHeadInside[] = "The whole head is inside the photo.";
inline constexpr char kCrownCut[] = "The top of the head is cut off: take the photo with space above the hair.";
inline constexpr char kChinCut[] = "The chin is cut off: take the photo with the whole head in view.";
inline constexpr char kHeadPastFrame[] = "The head reaches past the frame: make the frame larger.";
inline constexpr char kUpright[] = "The head is upright.";
inline constexpr char kTiltToRight[] = "Tilt your head %1° toward your right shoulder.";
inline constexpr char kTiltToLeft[] = "Tilt your head %1° toward your left shoulder.";
inline constexpr char kStraight[] = "The face looks straight ahead.";
inline constexpr char kTurnToRight[] = "Turn your face %1° to your right.";
inline constexpr char kTurnToLeft[] = "Turn your face %1° to your left.";
inline constexpr char kLevel[] = "The head is level.";
inline constexpr char kRaiseChin[] = "Raise your chin by %1°.";
inline constexpr char kLowerChin[] = "Lower your chin by %1°.";
inline constexpr char kEyesOpen[] = "Both eyes are open.";
inline constexpr char kEyesClosed[] = "An eye looks closed: keep both eyes wide open.";
inline constexpr char kMouthIsClosed[] = "The mouth is closed.";
inline constexpr char kMouthOpen[] = "The mouth is open: close it and keep a neutral expression.";
inline constexpr char kBackgroundPlain[] = "The background is plain.";
inline constexpr char kBackgroundBusy[] = "The background is not plain: stand before a light, plain wall.";
inline constexpr char kBackgroundShaded[] = "The background is shaded: light the wall evenly or stand farther from it.";
inline constexpr char kBackgroundUnseen[] = "Too little background is visible beside the head to judge it.";
inline constexpr char kBackgroundIsLight[] = "The background is light.";
inline constexpr char kBackgroundDark[] = "The background is too dark: stand before a light wall.";
inline constexpr char kEvenLight[] = "The face is evenly lit.";
inline constexpr char kUnevenLight[] = "One side of the face is darker: light the face evenly from the front.";
inline constexpr char kWellExposed[] = "The face is well exposed.";
inline constexpr char kTooDark[] = "The face is too dark: take the photo in more light.";
inline constexpr char kTooBright[] = "The face is too bright or burnt out: avoid direct flash and strong light.";
inline constexpr char kNaturalColour[] = "The colours look natural.";
inline constexpr char kColourCast[] = "The skin shows a colour cast: take the photo in daylight or white light.";
inline constexpr char kBlackAndWhite[] = "The photo looks black and white: offices ask for a colour photo.";
inline constexpr char kSharp[] = "The face is sharp.";
inline constexpr char kBlurred[] = "The face is blurred: hold the camera still and focus on the eyes.";
inline constexpr char kEnoughPixels[] = "Enough pixels: %1 ppi printed, %2 pixels between the eyes.";
inline constexpr char kTooFewPixels[] = "Too few pixels: %1 ppi printed, %2 pixels between the eyes; use a larger photo.";
inline constexpr char kNoGlasses[] = "No glasses seen.";
inline constexpr char kGlassesLook[] = "Glasses seen: many offices ask for a photo without them.";
inline constexpr char kGlassesRefused[] = "Glasses seen: photos for this format must be taken without glasses.";
inline constexpr char kOneFace[] = "One face.";
inline constexpr char kNoFace[] = "No face was found: the photo cannot be checked.";
inline constexpr char kOtherFaces[] = "%1 faces were found: only one person may be in the photo.";
// The check in one line, for the status line and the command line.
inline constexpr char kAllPassed[] = "Photo check: all passed.";
inline constexpr char kToLookAt[] = "Photo check: %1 to look at.";
inline constexpr char kFailing[] = "Photo check: %1 would be refused, %2 to look at.";
}  // namespace CheckText

/// Every sentence above, in that order.
QStringList CheckTexts();
