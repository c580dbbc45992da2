#pragma once

#include "digital_photo.h"
#include "documents.h"
#include "exception.h"
#include "frame.h"
#include "packed_layout.h"

#include <QString>
#include <QStringList>

#include <optional>

/// A command line quorlo-sheet cannot run: the message says what is wrong
/// with it in one line.
QRL_DECLARE_EXCEPTION(ESheetUsage, Exception);

/// Where the page goes.
enum class TSheetOutput { None, Jpeg, Pdf, Print };

/// A printer that exists only as the paper, resolution and margins given on
/// the command line. Lengths in hundredths of a millimetre.
struct TVirtualPaper {
    QString Name;          ///< "A4", "Letter" or "100x150mm", for messages
    int Width = 0;
    int Height = 0;
    int Dpi = 600;
    int Margin = 0;        ///< on every side

    bool operator==(const TVirtualPaper&) const = default;
};

/// The part of the photo to print: found from the face, or given in photo
/// pixels after the photo was turned upright.
struct TSheetFrame {
    bool Automatic = false;
    TFrame Rect;                          ///< when not Automatic

    bool operator==(const TSheetFrame&) const = default;
};

/// --straighten: the turn that levels the eyes, or one in degrees
/// (counter-clockwise as seen, TurnPhoto's sense).
struct TSheetStraighten {
    bool Automatic = false;
    double Degrees = 0;                   ///< when not Automatic

    bool operator==(const TSheetStraighten&) const = default;
};

/// What one run of quorlo-sheet is asked to do.
struct TSheetOptions {
    bool Help = false;
    bool Version = false;
    QStringList Photos;                   ///< in the order of their copies on the sheet
    QString Photo;                        ///< the first of Photos
    int Format = 0;                       ///< index into BuiltInFormats()
    const TDocument* Document = nullptr;  ///< --format ID: a document instead
    std::optional<int> Count;             ///< copies of each photo; none: DefaultCopies
    QString PrinterName;                  ///< empty: the current printer
    std::optional<TVirtualPaper> Paper;   ///< instead of a real printer
    TSheetOutput Output = TSheetOutput::None;
    QString OutputFile;                   ///< for Jpeg and Pdf
    std::optional<TSheetFrame> Frame;     ///< none: the whole photo
    std::optional<THeadLines> Head;       ///< --head: the user's crown and chin instead of the measured
    // The sheet's own extras.
    bool CutMarks = false;                ///< draw cut marks around the copies
    int SizeWidthMm = 0;                  ///< --size: the photo size instead of
    int SizeHeightMm = 0;                 ///< --format's; 0 x 0 when not given
    bool CalibrationPage = false;         ///< the ruler page instead of a sheet
    TSheetLayout Layout;                  ///< --packed, --gap: the even grid by default
    bool GapGiven = false;
    std::optional<TDigitalSize> Digital;  ///< --digital: one photo file, no sheet
    std::optional<TColor32> Background;   ///< --background: a plain colour behind the person
    /// --list-formats: the table of documents instead of a run, of one
    /// country when ListCountry (an ISO 3166 code) is given.
    bool ListFormats = false;
    QString ListCountry;
    std::optional<TSheetStraighten> Straighten;   ///< none: each photo as it is
    /// The photo check of the photo as it prints: as a table, or as JSON.
    enum class TCheck { None, Table, Json } Check = TCheck::None;
};

/// The most photos of one run: each keeps its cell in memory until the
/// sheet is made.
inline constexpr int kMaxSheetPhotos = 100;

/// Copies of each of `Photos` photos when no count is given, on a page of
/// `Capacity` places: one photo fills the page; several share it evenly
/// (Capacity div Photos each, the rest of the places left empty), and each
/// gets one copy at least, continuing on more pages when they outnumber
/// the places.
int DefaultCopies(int Capacity, int Photos);

/// Resolution limits of a virtual printer, in dots per inch.
inline constexpr int kMinSheetDpi = 72;
inline constexpr int kMaxSheetDpi = 2400;
/// The longest side of a virtual paper, in millimetres.
inline constexpr int kMaxPaperMm = 2000;

/// The text of --help in the catalogue's current language: the lines of
/// option syntax as they are typed, every description wrapped to 80 columns.
QString SheetUsage();

/// Reads the arguments that follow the program's name. Options take their
/// value as the next argument or after "=" (--count=4); "--" ends the
/// options. With --help or --version nothing else is checked. Raises
/// ESheetUsage for an unknown or repeated option, a missing or malformed
/// value, a count below 0, a format other than 0, 1, 2 or a document's id
/// (FindDocument; not an online form's), an unknown paper,
/// a resolution outside kMinSheetDpi..kMaxSheetDpi, margins that leave no
/// page, a page too large to hold as one image, --dpi or --margins without
/// --paper, --printer with --paper, --print with --paper, no photo or more
/// than kMaxSheetPhotos, no output or more than one, an output name that
/// does not end in .jpg, .jpeg or .pdf (in any letter case), a --frame that
/// is neither "auto" nor X,Y,W,H, has no size, or lacks the photo size's
/// aspect ratio (HasRuleAspect; the format's, or --size's), X,Y,W,H with
/// several photos (one rectangle cannot suit them all), a --size that is not
/// a photo size in whole millimetres, --size with --format, a --head that is
/// not CROWN_Y,CHIN_Y with the crown above the chin, --head with several
/// photos, and a --straighten that is neither "auto" nor degrees within
/// kMaxTurn. With --calibration-page no photo
/// is given, nor any option of the sheet. --check and --check-json (not both)
/// look at one photo and make the output optional. --list-formats takes at
/// most one country code (in place of the photos) and nothing else.
TSheetOptions ParseSheetOptions(const QStringList& Args);

/// The rule of the run's photo size: the document's, the built-in format's,
/// or --size's (SheetSizeRule).
THeadRule OptionsRule(const TSheetOptions& Options);
