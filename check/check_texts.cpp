#include "check_texts.h"

QStringList CheckTexts()
{
    using namespace CheckText;
    QStringList texts;
    for (const char* text : {kEyeLinePass, kEyesTooLow, kEyesTooHigh, kCentred,
                             kMoveFrameLeft, kMoveFrameRight, kHeadInside, kCrownCut,
                             kChinCut, kHeadPastFrame, kUpright, kTiltToRight,
                             kTiltToLeft, kStraight, kTurnToRight, kTurnToLeft,
                             kLevel, kRaiseChin, kLowerChin, kEyesOpen,
                             kEyesClosed, kMouthIsClosed, kMouthOpen, kBackgroundPlain,
                             kBackgroundBusy, kBackgroundShaded, kBackgroundUnseen, kBackgroundIsLight,
                             kBackgroundDark, kEvenLight, kUnevenLight, kWellExposed,
                             kTooDark, kTooBright, kNaturalColour, kColourCast,
                             kBlackAndWhite, kSharp, kBlurred, kEnoughPixels,
                             kTooFewPixels, kNoGlasses, kGlassesLook, kGlassesRefused,
                             kOneFace, kNoFace, kOtherFaces, kAllPassed, kToLookAt, kFailing})
        texts << QString::fromUtf8(text);
    return texts;
}
