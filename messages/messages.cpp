#include "messages.h"

#include <cerrno>
#include <utility>

namespace {

TMessageSource& messageSource()
{
    static TMessageSource source;
    return source;
}

}  // namespace

QStringList MessageOriginals()
{
    QStringList lines;
    for (const char* m : {Msg::kNotJpeg, Msg::kDamagedJpeg, Msg::kUnreadable, Msg::kNotJpegName, Msg::kEmptyPhoto,
                          Msg::kCannotSave, Msg::kCannotPrint, Msg::kLanguageFile, Msg::kFileDamaged,
                          Msg::kFileMissing, Msg::kFormatRevision, Msg::kBadFlag, Msg::kSettingNotSaved,
                          Msg::kSizeNotUnderstood, Msg::kSizeOutOfRange, Msg::kHeadRangeInvalid,
                          Msg::kEyeRangeInvalid, Msg::kEyeNeedsHead, Msg::kMeasureOutOfRange, Msg::kCalibrationHint,
                          Msg::kRulerAcross, Msg::kRulerDown, Msg::kTooManyPages, Msg::kSheetOptionsNotSaved,
                          Msg::kNoAddressHandler, Msg::kLowResolution, Msg::kRenderingPhoto, Msg::kBuildingPage,
                          Msg::kSendingPage, Msg::kSavingPage, Msg::kFormat50x50, Msg::kFormat40x50,
                          Msg::kFormat51x51, Msg::kFormat50x70, Msg::kOwnFormat, Msg::kSheetListFull,
                          Msg::kPageOfPages, Msg::kPagesSaved, Msg::kPrintToPdf, Msg::kHeadRange, Msg::kEyeRange,
                          Msg::kDroppedNotJpeg, Msg::kPrintsSize, Msg::kWhiteStrip, Msg::kFormatRepeated,
                          Msg::kFormatNameInvalid, Msg::kNamedOwnFormat, Msg::kPhotoViewName, Msg::kNoPhotoViewName,
                          Msg::kFrameViewName, Msg::kFaceModelMissing, Msg::kFaceModelDamaged, Msg::kEyeLinePass,
                          Msg::kEyesTooLow, Msg::kEyesTooHigh, Msg::kCentred, Msg::kMoveFrameLeft,
                          Msg::kMoveFrameRight, Msg::kHeadInside, Msg::kCrownCut, Msg::kChinCut, Msg::kHeadPastFrame,
                          Msg::kUpright, Msg::kTiltToRight, Msg::kTiltToLeft, Msg::kStraight, Msg::kTurnToRight,
                          Msg::kTurnToLeft, Msg::kLevel, Msg::kRaiseChin, Msg::kLowerChin, Msg::kEyesOpen,
                          Msg::kEyesClosed, Msg::kMouthIsClosed, Msg::kMouthOpen, Msg::kBackgroundPlain,
                          Msg::kBackgroundBusy, Msg::kBackgroundShaded, Msg::kBackgroundUnseen,
                          Msg::kBackgroundIsLight, Msg::kBackgroundDark, Msg::kEvenLight, Msg::kUnevenLight,
                          Msg::kWellExposed, Msg::kTooDark, Msg::kTooBright, Msg::kNaturalColour, Msg::kColourCast,
                          Msg::kBlackAndWhite, Msg::kSharp, Msg::kBlurred, Msg::kEnoughPixels, Msg::kTooFewPixels,
                          Msg::kNoGlasses, Msg::kGlassesLook, Msg::kGlassesRefused, Msg::kOneFace, Msg::kNoFace,
                          Msg::kOtherFaces, Msg::kAllPassed, Msg::kToLookAt, Msg::kFailing, Msg::kPhotoEndsEarly,
                          Msg::kNotANumber, Msg::kErrorNoFile, Msg::kErrorNoPermission, Msg::kErrorDiskFull,
                          Msg::kErrorReadOnlyDisk, Msg::kErrorTooLarge, Msg::kErrorNumber, Msg::kOutOfMemory,
                          Msg::kUnexpectedError, Msg::kPresetUsPassport, Msg::kPresetUsVisa, Msg::kPresetUk,
                          Msg::kDigitalSizeUnknown, Msg::kDigitalSideRange, Msg::kDigitalFileRange,
                          Msg::kDigitalTooLarge, Msg::kDigitalTooSmall, Msg::kDigitalSaved, Msg::kDigitalSaveCaption,
                          Msg::kPhotoLab10x15, Msg::kPhotoLab4x6, Msg::kChosenPrinter, Msg::kOwnDigitalSize,
                          Msg::kNotPhotoName, Msg::kNotItsKind, Msg::kDamagedPhoto, Msg::kDroppedNotPhoto,
                          Msg::kSeeHelp, Msg::kUnknownOption, Msg::kOptionTwice, Msg::kOptionNeedsValue,
                          Msg::kOptionTakesNoValue, Msg::kOneOfNotBoth, Msg::kNoPhotoGiven, Msg::kTooManyPhotos,
                          Msg::kNoOutputGiven, Msg::kOutputNeedsName, Msg::kOutputKind, Msg::kFormatNumber,
                          Msg::kCountNotNumber, Msg::kCountNegative, Msg::kPrinterNeedsName, Msg::kUnknownPaper,
                          Msg::kPaperSides, Msg::kDpiRange, Msg::kMarginsNotLength, Msg::kMarginsLeaveNoPage,
                          Msg::kPageTooLarge, Msg::kDpiNeedsPaper, Msg::kPrintNeedsPrinter, Msg::kFrameSyntax,
                          Msg::kFrameNoSize, Msg::kFrameOnePhoto, Msg::kFrameNotSizeAspect, Msg::kFrameNotFormatAspect,
                          Msg::kCheckOnePhoto, Msg::kCalibrationNoPhoto, Msg::kCalibrationNoSheet, Msg::kGapNotLength,
                          Msg::kGapNeedsPacked, Msg::kDigitalOnePhoto, Msg::kDigitalNeedsJpeg, Msg::kDigitalNoSheet,
                          Msg::kNoSuchPrinter, Msg::kNoPrinterInstalled, Msg::kLabPrintNeedsOutput,
                          Msg::kOutputIsPhoto, Msg::kNoCopyFits, Msg::kWarning, Msg::kOnPrinter, Msg::kCopiesOfPlaces,
                          Msg::kOnePhotoOnPages, Msg::kPhotosOnOnePage, Msg::kPhotosOnPages, Msg::kSheetLine,
                          Msg::kCalibrationLine, Msg::kDigitalLine, Msg::kUsage, Msg::kHelpIntro, Msg::kHelpFormat,
                          Msg::kHelpSize, Msg::kHelpCount, Msg::kHelpFrameAuto, Msg::kHelpFrameRect, Msg::kHelpPrinter,
                          Msg::kHelpPaper, Msg::kHelpDpi, Msg::kHelpMargins, Msg::kHelpOutputJpeg, Msg::kHelpOutputPdf,
                          Msg::kHelpPrint, Msg::kHelpCalibrationPage, Msg::kHelpCutMarks, Msg::kHelpPacked,
                          Msg::kHelpGap, Msg::kHelpDigital, Msg::kHelpPhotoLab, Msg::kHelpCheck, Msg::kHelpCheckJson,
                          Msg::kHelpHelp, Msg::kHelpVersion, Msg::kHelpLayout, Msg::kHelpOutcome, Msg::kHelpExitStatus,
                          Msg::kNoFaceToFrame, Msg::kSeveralFacesFramed, Msg::kCannotSavePhoto,
                          Msg::kBackgroundColourUnknown, Msg::kHelpBackground, Msg::kNoPersonForBackground,
                          Msg::kQueueServiceDown, Msg::kQueueMissing, Msg::kQueueStateUnknown,
                          Msg::kQueueNotAccepting, Msg::kQueueStopped, Msg::kQueueJobRefused, Msg::kQueuePageNotSent,
                          Msg::kFormatFrance, Msg::kFormatUs, Msg::kFormatCanada, Msg::kDocPassport,
                          Msg::kDocPassportAndId, Msg::kDocVisa, Msg::kDocSchengenVisa, Msg::kDocPassportAbroad,
                          Msg::kDocOciCard, Msg::kDocIdAndResidence, Msg::kDocPassportOnline, Msg::kDocVisaOnline,
                          Msg::kDocPassport5Years, Msg::kEditsRefused, Msg::kDocumentName, Msg::kDocumentItem,
                          Msg::kChooserSearch, Msg::kChooserRecent, Msg::kChooserSizes, Msg::kFormatUnknownId,
                          Msg::kHelpFormatId, Msg::kHelpListFormats, Msg::kListNoCountry, Msg::kListHead,
                          Msg::kListEyes, Msg::kListToSkull, Msg::kColourWhite, Msg::kColourOffWhite,
                          Msg::kColourLightGrey, Msg::kColourCream, Msg::kColourLightBlue,
                          Msg::kHelpDigitalId, Msg::kHeadSyntax,
                          Msg::kHeadOnePhoto, Msg::kHelpHead, Msg::kCrownHidden,
                          Msg::kMeasureHeadHeight, Msg::kMeasureEyeLine, Msg::kMeasureCentred,
                          Msg::kMeasureCrownVisible, Msg::kMeasureTopMargin, Msg::kMeasureFrameFilled,
                          Msg::kMeasureRoll, Msg::kMeasureYaw, Msg::kMeasurePitch, Msg::kMeasureEyesOpen,
                          Msg::kMeasureGaze, Msg::kMeasureMouthClosed, Msg::kMeasureBackgroundPlain,
                          Msg::kMeasureBackgroundLight, Msg::kMeasureLightingEven, Msg::kMeasureExposure,
                          Msg::kMeasureColour, Msg::kMeasureSharpness, Msg::kMeasureCompression,
                          Msg::kMeasureResolution, Msg::kMeasureGlasses, Msg::kMeasureOneFace, Msg::kSourceRule,
                          Msg::kSourceIso, Msg::kSourceIcao, Msg::kSourceIcaoOurs, Msg::kSourceOurs,
                          Msg::kSourceResolution, Msg::kSourceTopMargin, Msg::kMeasureTip, Msg::kMeasureTipNoBand,
                          Msg::kNotJudged, Msg::kTopMarginRoom, Msg::kTopMarginSmall, Msg::kFrameFilled,
                          Msg::kWhiteBand, Msg::kLooksAtCamera, Msg::kLooksDown, Msg::kLooksAside, Msg::kGazeUnseen,
                          Msg::kNoNeutral, Msg::kTooSmallToJudge, Msg::kNoBlocks, Msg::kJpegBlocks,
                          Msg::kAtLeastFaces, Msg::kMeasureBackgroundColour, Msg::kMeasureUnedited,
                          Msg::kSourceOffice, Msg::kSourceOfficeCopy, Msg::kBackgroundColourTaken,
                          Msg::kBackgroundColourNotTaken, Msg::kGlassesWithoutGlare, Msg::kTopMarginLarge,
                          Msg::kChosenBackgroundDark, Msg::kUseCutPhoto, Msg::kUseIt, Msg::kDoNotUseIt,
                          Msg::kDigitalEnlarged, Msg::kReplaceFile, Msg::kReplace, Msg::kDoNotReplace,
                          Msg::kPaperAndPrinter, Msg::kPaperSize, Msg::kStraightenValue, Msg::kNoFaceToStraighten,
                          Msg::kHelpStraighten})
        lines.append(QString::fromUtf8(m));
    return lines;
}

void SetMessageSource(TMessageSource source)
{
    messageSource() = std::move(source);
}

QString MessageText(const QString& original)
{
    const TMessageSource& source = messageSource();
    return source ? source(original) : original;
}

QString MessageText(const char* original)
{
    return MessageText(QString::fromUtf8(original));
}

QString SystemErrorText(int ErrorNumber)
{
    // The system's own text is in the system's language, or in English: the
    // user reads the reasons a photo or a sheet meets most often in theirs.
    switch (ErrorNumber) {
    case ENOENT:
    case ENOTDIR:
        return MessageText(Msg::kErrorNoFile);
    case EACCES:
    case EPERM:
        return MessageText(Msg::kErrorNoPermission);
    case ENOSPC:
    case EDQUOT:
        return MessageText(Msg::kErrorDiskFull);
    case EROFS:
        return MessageText(Msg::kErrorReadOnlyDisk);
    case EFBIG:
        return MessageText(Msg::kErrorTooLarge);
    default:
        return MessageText(Msg::kErrorNumber).arg(ErrorNumber);
    }
}

QString ShownPrinterName(const QString& name)
{
    for (const char* builtIn : {Msg::kPrintToPdf, Msg::kPhotoLab10x15, Msg::kPhotoLab4x6}) {
        if (name == QString::fromUtf8(builtIn))
            return MessageText(builtIn);
    }
    return name;
}
