#include "sheet_options.h"

#include "digital_options.h"
#include "jpeg_codec.h"
#include "page_layout.h"
#include "sheet_size.h"
#include "virtual_printer.h"
#include "sheet_formats.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cstdint>

namespace {

// The virtual printer's defaults: those of the built-in PDF printer.
constexpr int kDefaultDpi = 600;
// The most pixels on a side of a JPEG image.
constexpr int kMaxPageSide = 65500;

[[noreturn]] void fail(const QString& message)
{
    throw ESheetUsage(message);
}

// A whole number written with digits only, an optional minus sign first;
// none when it is anything else or beyond nine digits.
std::optional<int> wholeNumber(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^-?[0-9]{1,9}$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    return text.toInt();
}

// A length in millimetres with at most two decimals ("5", "6.35"), in
// hundredths of a millimetre; none when it is anything else.
std::optional<int> hundredthsMm(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,5})(?:\\.([0-9]{1,2}))?$"));
    const auto m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QString decimals = m.captured(2);
    while (decimals.size() < 2)
        decimals += QLatin1Char('0');
    return m.captured(1).toInt() * 100 + decimals.toInt();
}

// "auto", or four numbers X,Y,W,H in photo pixels.
TSheetFrame frameNamed(const QString& text)
{
    TSheetFrame frame;
    if (text == QLatin1String("auto")) {
        frame.Automatic = true;
        return frame;
    }
    static const QRegularExpression number(QStringLiteral("^-?[0-9]{1,6}(\\.[0-9]{1,3})?$"));
    const QStringList parts = text.split(QLatin1Char(','));
    bool numbers = parts.size() == 4;
    for (const QString& part : parts)
        numbers = numbers && number.match(part.trimmed()).hasMatch();
    if (!numbers) {
        fail(QStringLiteral("--frame needs \"auto\" or X,Y,W,H in photo pixels, not \"%1\"")
                 .arg(text));
    }
    frame.Rect = TFrame{parts[0].trimmed().toDouble(), parts[1].trimmed().toDouble(),
                        parts[2].trimmed().toDouble(), parts[3].trimmed().toDouble()};
    if (!(frame.Rect.Width > 0) || !(frame.Rect.Height > 0))
        fail(QStringLiteral("--frame %1 has no size: its width and height must be above 0").arg(text));
    return frame;
}

TVirtualPaper paperNamed(const QString& text)
{
    TVirtualPaper paper;
    if (text.compare(QStringLiteral("A4"), Qt::CaseInsensitive) == 0) {
        paper.Name = QStringLiteral("A4");
        paper.Width = 21000;
        paper.Height = 29700;
        return paper;
    }
    if (text.compare(QStringLiteral("Letter"), Qt::CaseInsensitive) == 0) {
        // 8.5 x 11 in, which are whole hundredths of a millimetre.
        paper.Name = QStringLiteral("Letter");
        paper.Width = 21590;
        paper.Height = 27940;
        return paper;
    }
    static const QRegularExpression custom(
        QStringLiteral("^([0-9.]+)x([0-9.]+)mm$"), QRegularExpression::CaseInsensitiveOption);
    const auto m = custom.match(text);
    const int width = m.hasMatch() ? hundredthsMm(m.captured(1)).value_or(-1) : -1;
    const int height = m.hasMatch() ? hundredthsMm(m.captured(2)).value_or(-1) : -1;
    if (width < 0 || height < 0) {
        fail(QStringLiteral("unknown paper \"%1\": give A4, Letter or a size such as 100x150mm")
                 .arg(text));
    }
    if (width == 0 || height == 0 || width > kMaxPaperMm * 100 || height > kMaxPaperMm * 100) {
        fail(QStringLiteral("paper %1: each side must be above 0 and at most %2 mm")
                 .arg(text)
                 .arg(kMaxPaperMm));
    }
    paper.Name = text;
    paper.Width = width;
    paper.Height = height;
    return paper;
}

// Text from the last "." of the name (after the last folder separator) on,
// without the dot; empty when there is none.
QString extensionOf(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}

TSheetOutput outputKindOf(const QString& fileName)
{
    if (fileName.isEmpty())
        fail(QStringLiteral("--output needs a file name"));
    const QString ext = extensionOf(fileName);
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return TSheetOutput::Jpeg;
    if (ext == QLatin1String("pdf"))
        return TSheetOutput::Pdf;
    fail(QStringLiteral("cannot write \"%1\": the output must end in .jpg, .jpeg or .pdf").arg(fileName));
}

// The page of the virtual printer must exist and be small enough to be held
// and encoded as one image.
void checkPage(const TVirtualPaper& paper)
{
    const TPrinterMetrics m =
        TVirtualPrinter::MetricsForPaper(paper.Width, paper.Height, paper.Dpi, paper.Margin);
    if (m.HorzRes <= 0 || m.VertRes <= 0) {
        fail(QStringLiteral("margins of %1 mm leave no page on paper %2")
                 .arg(paper.Margin / 100.0)
                 .arg(paper.Name));
    }
    if (m.HorzRes > kMaxPageSide || m.VertRes > kMaxPageSide
        || std::int64_t{m.HorzRes} * m.VertRes > kMaxJPEGPixels) {
        fail(QStringLiteral("a page of %1 x %2 pixels (paper %3 at %4 dpi) is too large: lower --dpi")
                 .arg(m.HorzRes)
                 .arg(m.VertRes)
                 .arg(paper.Name)
                 .arg(paper.Dpi));
    }
}

class Parser {
public:
    explicit Parser(const QStringList& args) : args_(args) {}

    TSheetOptions run()
    {
        TSheetOptions options;
        QStringList photos;
        bool optionsEnded = false;
        for (index_ = 0; index_ < args_.size(); ++index_) {
            const QString& arg = args_[index_];
            if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
                photos << arg;
                continue;
            }
            if (arg == QLatin1String("--")) {
                optionsEnded = true;
                continue;
            }
            readOption(arg, options);
        }
        if (options.CalibrationPage) {
            checkCalibrationPage(photos);
            finish(options);
            return options;
        }
        if (photos.isEmpty())
            fail(QStringLiteral("no photo given"));
        if (photos.size() > kMaxSheetPhotos) {
            fail(QStringLiteral("%1 photos given: at most %2 in one run")
                     .arg(photos.size())
                     .arg(kMaxSheetPhotos));
        }
        if (photos.size() > 1 && options.Check != TSheetOptions::TCheck::None)
            fail(QStringLiteral("--check looks at one photo, not %1").arg(photos.size()));
        if (photos.size() > 1 && options.Frame && !options.Frame->Automatic)
            fail(QStringLiteral("--frame X,Y,W,H suits one photo, not %1: use --frame auto").arg(photos.size()));
        options.Photos = photos;
        options.Photo = photos.front();
        finish(options);
        return options;
    }

private:
    void readOption(const QString& arg, TSheetOptions& options)
    {
        const qsizetype equals = arg.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? arg : arg.left(equals);
        inlineValue_ = equals < 0 ? std::nullopt : std::optional<QString>(arg.mid(equals + 1));
        if (seen_.contains(name))
            fail(QStringLiteral("%1 is given twice").arg(name));
        seen_.insert(name);

        if (name == QLatin1String("--format")) {
            const QString text = value(name);
            const auto format = wholeNumber(text);
            if (!format || *format < 0 || *format >= static_cast<int>(BuiltInFormats().size()))
                fail(QStringLiteral("--format must be 0, 1 or 2, not \"%1\"").arg(text));
            options.Format = *format;
        } else if (name == QLatin1String("--count")) {
            const QString text = value(name);
            const auto count = wholeNumber(text);
            if (!count)
                fail(QStringLiteral("--count needs a whole number, not \"%1\"").arg(text));
            if (*count < 0)
                fail(QStringLiteral("--count must be 0 or more, not %1").arg(*count));
            options.Count = *count;
        } else if (name == QLatin1String("--printer")) {
            options.PrinterName = value(name);
            if (options.PrinterName.isEmpty())
                fail(QStringLiteral("--printer needs a printer name"));
        } else if (name == QLatin1String("--paper")) {
            paper_ = paperNamed(value(name));
        } else if (name == QLatin1String("--dpi")) {
            const QString text = value(name);
            const auto dpi = wholeNumber(text);
            if (!dpi || *dpi < kMinSheetDpi || *dpi > kMaxSheetDpi) {
                fail(QStringLiteral("--dpi must be a whole number from %1 to %2, not \"%3\"")
                         .arg(kMinSheetDpi)
                         .arg(kMaxSheetDpi)
                         .arg(text));
            }
            dpi_ = *dpi;
        } else if (name == QLatin1String("--margins")) {
            const QString text = value(name);
            margin_ = hundredthsMm(text);
            if (!margin_) {
                fail(QStringLiteral("--margins needs millimetres such as 5 or 6.35, not \"%1\"")
                         .arg(text));
            }
        } else if (name == QLatin1String("--output")) {
            options.OutputFile = value(name);
            setOutput(options, outputKindOf(options.OutputFile));
        } else if (name == QLatin1String("--frame")) {
            options.Frame = frameNamed(value(name));
        } else if (name == QLatin1String("--print")) {
            noValue(name);
            setOutput(options, TSheetOutput::Print);
        } else if (ReadDigitalOrLayoutOption(name, [&] { return value(name); }, inlineValue_.has_value(), options)) {
            // --digital, --packed, --gap
        } else if (readSheetExtra(name, options)) {
            // --cut-marks, --size, --check
        } else {
            fail(QStringLiteral("unknown option %1").arg(name));
        }
    }

    // The options of the sheet's own extras; false for any other name.
    bool readSheetExtra(const QString& name, TSheetOptions& options)
    {
        if (name == QLatin1String("--cut-marks")) {
            noValue(name);
            options.CutMarks = true;
            return true;
        }
        if (name == QLatin1String("--check") || name == QLatin1String("--check-json")) {
            noValue(name);
            if (options.Check != TSheetOptions::TCheck::None)
                fail(QStringLiteral("give one of --check and --check-json, not both"));
            options.Check = name == QLatin1String("--check") ? TSheetOptions::TCheck::Table : TSheetOptions::TCheck::Json;
            return true;
        }
        if (name == QLatin1String("--calibration-page")) {
            noValue(name);
            options.CalibrationPage = true;
            return true;
        }
        if (name == QLatin1String("--size")) {
            const QString text = value(name);
            try {
                const TSheetSize size = ParseSheetSize(text);
                options.SizeWidthMm = size.WidthMm;
                options.SizeHeightMm = size.HeightMm;
            } catch (const Exception& e) {
                fail(QStringLiteral("--size: %1").arg(e.Message));
            }
            return true;
        }
        return false;
    }

    // The ruler page is the printer's own: no photo, nothing of a sheet.
    void checkCalibrationPage(const QStringList& photos) const
    {
        if (!photos.isEmpty())
            fail(QStringLiteral("--calibration-page takes no photo, not \"%1\"").arg(photos.front()));
        for (const char* sheetOption : {"--format", "--size", "--count", "--cut-marks", "--check", "--check-json"}) {
            if (seen_.contains(QLatin1String(sheetOption)))
                fail(QStringLiteral("--calibration-page prints no photos: %1 has no use").arg(QLatin1String(sheetOption)));
        }
    }

    QString value(const QString& name)
    {
        if (inlineValue_)
            return *inlineValue_;
        if (index_ + 1 >= args_.size())
            fail(QStringLiteral("%1 needs a value").arg(name));
        return args_[++index_];
    }

    void noValue(const QString& name) const
    {
        if (inlineValue_)
            fail(QStringLiteral("%1 takes no value").arg(name));
    }

    static void setOutput(TSheetOptions& options, TSheetOutput kind)
    {
        if (options.Output != TSheetOutput::None)
            fail(QStringLiteral("give one of --output and --print, not both"));
        options.Output = kind;
    }

    void finish(TSheetOptions& options) const
    {
        CheckDigitalOrLayoutOptions(options, paper_.has_value());
        if (options.Digital)
            return;   // any frame is reshaped to the digital size
        checkFrameAspect(options);
        if (options.Output == TSheetOutput::None && options.Check == TSheetOptions::TCheck::None)
            fail(QStringLiteral("no output given: use --output PAGE.jpg, --output PAGE.pdf or --print"));
        if (options.SizeWidthMm > 0 && seen_.contains(QStringLiteral("--format")))
            fail(QStringLiteral("give one of --format and --size, not both"));
        if (!paper_) {
            if (dpi_ || margin_)
                fail(QStringLiteral("--dpi and --margins describe a virtual printer: give --paper too"));
            return;
        }
        if (!options.PrinterName.isEmpty())
            fail(QStringLiteral("give one of --printer and --paper, not both"));
        if (options.Output == TSheetOutput::Print)
            fail(QStringLiteral("--print needs a real printer: --paper describes a virtual one"));
        TVirtualPaper paper = *paper_;
        paper.Dpi = dpi_.value_or(kDefaultDpi);
        paper.Margin = margin_.value_or(0);
        checkPage(paper);
        options.Paper = paper;
    }

    // A hand-made frame that the cell would squeeze: its sides must have
    // the photo size's ratio to within a photo pixel.
    static void checkFrameAspect(const TSheetOptions& options)
    {
        if (!options.Frame || options.Frame->Automatic)
            return;
        // Only the ratio matters here, which any rule of the size has.
        const THeadRule rule = options.SizeWidthMm > 0
            ? GenericSizeRule({options.SizeWidthMm, options.SizeHeightMm})
            : HeadRule(static_cast<TPhotoFormat>(options.Format));
        const TFrame& f = options.Frame->Rect;
        if (!HasRuleAspect(f, rule)) {
            fail(QStringLiteral("--frame %1 x %2 is not %3 x %4 like %5: "
                                "for that height the width would be %6")
                     .arg(f.Width)
                     .arg(f.Height)
                     .arg(rule.PhotoWidthMm)
                     .arg(rule.PhotoHeightMm)
                     .arg(options.SizeWidthMm > 0 ? QStringLiteral("--size") : QStringLiteral("the photo format"))
                     .arg(f.Height * rule.Aspect(), 0, 'f', 1));
        }
    }

    const QStringList& args_;
    qsizetype index_ = 0;
    std::optional<QString> inlineValue_;
    QSet<QString> seen_;
    std::optional<TVirtualPaper> paper_;
    std::optional<int> dpi_;
    std::optional<int> margin_;
};

}  // namespace

int DefaultCopies(int Capacity, int Photos)
{
    if (Photos <= 1)
        return Capacity;
    return std::max(1, Capacity / Photos);
}

QString SheetUsage()
{
    return QStringLiteral(
        "Usage: quorlo-sheet PHOTO.jpg... [--format 0|1|2 | --size WxHmm] [--count N]\n"
        "         [--cut-marks]\n"
        "         [--printer NAME | --paper A4|Letter|WxHmm [--dpi N] [--margins MM]]\n"
        "         [--frame auto | --frame X,Y,W,H]\n"
        "         (--output PAGE.jpg | --output PAGE.pdf | --print)\n"
        "       quorlo-sheet PHOTO.jpg (--check | --check-json) [--format ... | --size ...]\n"
        "         [--frame ...] [--output ... | --print ...]\n"
        "       quorlo-sheet --calibration-page [--printer NAME | --paper ...]\n"
        "         (--output PAGE.jpg | --output PAGE.pdf | --print)\n"
        "\n"
        "Lays out a sheet of identity photos from one photo or several and writes or\n"
        "prints it, exactly as the Quorlo window's \"Print Now\" does, without a window.\n"
        "Several photos follow each other on the grid in the order given, each in its\n"
        "own copies, and continue on more pages when a page is full.\n"
        "Photos are JPEG (.jpg, .jpeg), PNG (.png) or HEIC (.heic, .heif) files.\n"
        "\n"
        "  --format 0|1|2     the photo format: 0 = 35 x 45 mm (France, the default),\n"
        "                     1 = 2 x 2 in. (US), 2 = 1.8 x 2.2 in. (Canada)\n"
        "  --size WxHmm       the photo size in whole millimetres instead of a format,\n"
        "                     5 to 300 on each side, such as 40x50mm\n"
        "  --count N          how many copies of each photo, 0 or more (default: one\n"
        "                     photo fills the page; several share one page evenly,\n"
        "                     at least one copy each)\n"
        "  --frame auto       print the part of each photo that frames the face found in\n"
        "                     it by the format's head-size rule (as the window's\n"
        "                     \"Automatic\" does); no face found is an error. With\n"
        "                     --size, the rule of a listed format of that size, or\n"
        "                     else the head at 70 to 80 % of the photo's height\n"
        "  --frame X,Y,W,H    print this rectangle of the one photo, in pixels of the\n"
        "                     photo turned upright; W x H must have the photo size's\n"
        "                     aspect ratio (35:45, 1:1, 18:22 or --size's) and may\n"
        "                     reach past the photo's edges, which print white\n"
        "                     (default: the whole photo)\n"
        "  --printer NAME     lay the sheet out for the installed printer NAME\n"
        "                     (default: the current printer: the system's default,\n"
        "                     or without any the built-in \"Print to PDF\" printer,\n"
        "                     A4 or Letter by locale at 600 dpi, no margins)\n"
        "  --paper SIZE       lay it out for a virtual printer instead: A4 (210 x 297 mm),\n"
        "                     Letter (8.5 x 11 in.) or W x H millimetres such as 100x150mm\n"
        "  --dpi N            the virtual printer's resolution, 72 to 2400 (default 600)\n"
        "  --margins MM       its unprintable margin on every side (default 0)\n"
        "  --output PAGE.jpg  write the page as a JPEG image at quality 90, the very\n"
        "                     file the preview's \"Save as image\" writes; several\n"
        "                     pages go to PAGE-1.jpg, PAGE-2.jpg, ... beside it\n"
        "  --output PAGE.pdf  write the pages as one PDF of the printer's paper\n"
        "  --print            print the pages as one job on the printer (not with\n"
        "                     --paper)\n"
        "  --calibration-page instead of a sheet, the page of two 100 mm rulers to\n"
        "                     measure; the lengths measured on paper, stored for the\n"
        "                     printer's name in Quorlo's sheet options, correct the\n"
        "                     size of every later photo on that printer (a virtual\n"
        "                     printer is named like \"100x150mm at 300 dpi\")\n"
        "  --cut-marks        draw grey marks in the gaps along the copies' edges, and\n"
        "                     an outline where a photo leaves its cell white\n"
        "  --packed           put the copies side by side with a small gap, centred on\n"
        "                     the page and with cut marks, instead of spreading them\n"
        "  --gap MM           the packed copies' gap, 0 to 5 mm (default 2)\n"
        "  --digital SIZE     instead of a sheet, the photo alone as a JPEG file for an\n"
        "                     online application: us-passport (1200 x 1200 px, 54 KB\n"
        "                     to 10 MB), us-visa (600 x 600 px, at most 240 KB), uk\n"
        "                     (700 x 900 px, 50 KB to 10 MB) or WxHpx[,MINKB-MAXKB]\n"
        "                     such as 800x1000px,50-500; the highest JPEG quality\n"
        "                     within the file sizes; with --output PHOTO.jpg only\n"
        "  --printer \"Photo lab 10 × 15 cm\" (or lab-10x15), \"Photo lab 4 × 6 in.\"\n"
        "                     (or lab-4x6): a lab print at 300 dpi without margins,\n"
        "                     turned to hold the most copies\n"
        "  --check            check the photo as it prints (framed by --frame, else\n"
        "                     whole) against what passport offices ask: one line per\n"
        "                     measure with its verdict (ok, look, FAIL), value, limit\n"
        "                     and what to do; the sheet is made too when an output\n"
        "                     is given\n"
        "  --check-json       the same as JSON: {\"measures\": [{\"id\", \"value\",\n"
        "                     \"limit\", \"verdict\", \"text\"}], \"head\": {\"crown_y\",\n"
        "                     \"chin_y\", \"eye_y\"}} in photo pixels; the summary line\n"
        "                     of a sheet then goes to the standard error\n"
        "  --help             show this help and exit\n"
        "  --version          show the version and exit\n"
        "\n"
        "The virtual printer's lengths (up to two decimals, e.g. 6.35) become whole\n"
        "device pixels rounded down, pixels = mm x dpi / 25.4: the margins give the\n"
        "physical offsets, and the page is the paper less twice the margins.\n"
        "Copies fill the grid row by row from the top left; the grid keeps one more\n"
        "margin of the same width inside the page and at least one pixel between\n"
        "copies. A page without room for one copy is refused, unless --count 0 asks\n"
        "for the blank page; so are more than %1 pages, or more than %2 photos.\n"
        "The summary line names every file written.\n"
        "A photo with fewer than 300 pixels per inch where it is printed gives a\n"
        "warning on the standard error; the sheet is made all the same.\n"
        "An existing output file is replaced only once the new one is complete.\n"
        "Options also take their value after \"=\" (--count=4); \"--\" ends the options.\n"
        "\n"
        "Exit status: 0 when done, 1 when the photo, the printer or the output fails,\n"
        "2 for a bad command line, 3 when the photo check finds a measure that an\n"
        "office would refuse (the sheet is made all the same).\n")
        .arg(kMaxSheetPages)
        .arg(kMaxSheetPhotos);
}

TSheetOptions ParseSheetOptions(const QStringList& Args)
{
    // Help and version answer whatever else the line holds.
    for (const QString& arg : Args) {
        if (arg == QLatin1String("--"))
            break;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            TSheetOptions options;
            options.Help = true;
            return options;
        }
        if (arg == QLatin1String("--version")) {
            TSheetOptions options;
            options.Version = true;
            return options;
        }
    }
    return Parser(Args).run();
}
