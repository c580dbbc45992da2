#include "sheet_options.h"

#include "digital_options.h"
#include "plain_background.h"
#include "straighten.h"
#include "jpeg_codec.h"
#include "messages.h"
#include "page_layout.h"
#include "sheet_size.h"
#include "text_wrap.h"
#include "virtual_printer.h"
#include "sheet_formats.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// The virtual printer's defaults: those of the built-in PDF printer.
constexpr int kDefaultDpi = 600;
// The most pixels on a side of a JPEG image.
constexpr int kMaxPageSide = 65500;
// The help's lines fit a terminal of 80 columns; option descriptions start
// in the column after the longest option's.
constexpr int kHelpWidth = 79;
constexpr int kHelpColumn = 21;

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

// CROWN_Y,CHIN_Y in photo pixels, the crown above the chin.
THeadLines headNamed(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9]{1,6}(\\.[0-9]{1,3})?$"));
    const QStringList parts = text.split(QLatin1Char(','));
    bool numbers = parts.size() == 2;
    for (const QString& part : parts)
        numbers = numbers && number.match(part.trimmed()).hasMatch();
    if (!numbers || !(parts[0].trimmed().toDouble() < parts[1].trimmed().toDouble()))
        fail(MessageText(Msg::kHeadSyntax).arg(text));
    return {parts[0].trimmed().toDouble(), parts[1].trimmed().toDouble()};
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
        fail(MessageText(Msg::kFrameSyntax).arg(text));
    }
    frame.Rect = TFrame{parts[0].trimmed().toDouble(), parts[1].trimmed().toDouble(),
                        parts[2].trimmed().toDouble(), parts[3].trimmed().toDouble()};
    if (!(frame.Rect.Width > 0) || !(frame.Rect.Height > 0))
        fail(MessageText(Msg::kFrameNoSize).arg(text));
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
        fail(MessageText(Msg::kUnknownPaper).arg(text));
    }
    if (width == 0 || height == 0 || width > kMaxPaperMm * 100 || height > kMaxPaperMm * 100) {
        fail(MessageText(Msg::kPaperSides).arg(text).arg(kMaxPaperMm));
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
        fail(MessageText(Msg::kOutputNeedsName));
    const QString ext = extensionOf(fileName);
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return TSheetOutput::Jpeg;
    if (ext == QLatin1String("pdf"))
        return TSheetOutput::Pdf;
    fail(MessageText(Msg::kOutputKind).arg(fileName));
}

// The page of the virtual printer must exist and be small enough to be held
// and encoded as one image.
void checkPage(const TVirtualPaper& paper)
{
    const TPrinterMetrics m =
        TVirtualPrinter::MetricsForPaper(paper.Width, paper.Height, paper.Dpi, paper.Margin);
    if (m.HorzRes <= 0 || m.VertRes <= 0) {
        fail(MessageText(Msg::kMarginsLeaveNoPage).arg(paper.Margin / 100.0).arg(paper.Name));
    }
    if (m.HorzRes > kMaxPageSide || m.VertRes > kMaxPageSide
        || std::int64_t{m.HorzRes} * m.VertRes > kMaxJPEGPixels) {
        fail(MessageText(Msg::kPageTooLarge)
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
        if (options.ListFormats) {
            // The one argument it takes is a country, not a photo.
            if (seen_.size() > 1)
                fail(MessageText(Msg::kOneOfNotBoth).arg(QStringLiteral("--list-formats"), otherOption()));
            if (photos.size() > 1)
                fail(MessageText(Msg::kListNoCountry).arg(photos.join(u' ')));
            options.ListCountry = photos.value(0).toUpper();
            return options;
        }
        if (options.CalibrationPage) {
            checkCalibrationPage(photos);
            finish(options);
            return options;
        }
        if (photos.isEmpty())
            fail(MessageText(Msg::kNoPhotoGiven));
        if (photos.size() > kMaxSheetPhotos) {
            fail(MessageText(Msg::kTooManyPhotos).arg(photos.size()).arg(kMaxSheetPhotos));
        }
        if (photos.size() > 1 && options.Check != TSheetOptions::TCheck::None)
            fail(MessageText(Msg::kCheckOnePhoto).arg(photos.size()));
        if (photos.size() > 1 && options.Frame && !options.Frame->Automatic)
            fail(MessageText(Msg::kFrameOnePhoto).arg(photos.size()));
        if (photos.size() > 1 && options.Head)
            fail(MessageText(Msg::kHeadOnePhoto).arg(photos.size()));
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
            fail(MessageText(Msg::kOptionTwice).arg(name));
        seen_.insert(name);

        if (name == QLatin1String("--format")) {
            const QString text = value(name);
            const auto format = wholeNumber(text);
            if (format) {
                if (*format < 0 || *format >= static_cast<int>(BuiltInFormats().size()))
                    fail(MessageText(Msg::kFormatNumber).arg(text));
                options.Format = *format;
            } else {
                // A document of the table; an online form is --digital's.
                options.Document = FindDocument(text.toStdString());
                if (!options.Document || options.Document->Online)
                    fail(MessageText(Msg::kFormatUnknownId).arg(text));
            }
        } else if (name == QLatin1String("--count")) {
            const QString text = value(name);
            const auto count = wholeNumber(text);
            if (!count)
                fail(MessageText(Msg::kCountNotNumber).arg(text));
            if (*count < 0)
                fail(MessageText(Msg::kCountNegative).arg(*count));
            options.Count = *count;
        } else if (name == QLatin1String("--printer")) {
            options.PrinterName = value(name);
            if (options.PrinterName.isEmpty())
                fail(MessageText(Msg::kPrinterNeedsName));
        } else if (name == QLatin1String("--paper")) {
            paper_ = paperNamed(value(name));
        } else if (name == QLatin1String("--dpi")) {
            const QString text = value(name);
            const auto dpi = wholeNumber(text);
            if (!dpi || *dpi < kMinSheetDpi || *dpi > kMaxSheetDpi) {
                fail(MessageText(Msg::kDpiRange).arg(kMinSheetDpi).arg(kMaxSheetDpi).arg(text));
            }
            dpi_ = *dpi;
        } else if (name == QLatin1String("--margins")) {
            const QString text = value(name);
            margin_ = hundredthsMm(text);
            if (!margin_) {
                fail(MessageText(Msg::kMarginsNotLength).arg(text));
            }
        } else if (name == QLatin1String("--output")) {
            options.OutputFile = value(name);
            setOutput(options, outputKindOf(options.OutputFile));
        } else if (name == QLatin1String("--frame")) {
            options.Frame = frameNamed(value(name));
        } else if (name == QLatin1String("--head")) {
            options.Head = headNamed(value(name));
        } else if (name == QLatin1String("--print")) {
            noValue(name);
            setOutput(options, TSheetOutput::Print);
        } else if (ReadDigitalOrLayoutOption(name, [&] { return value(name); }, inlineValue_.has_value(), options)) {
            // --digital, --packed, --gap
        } else if (readSheetExtra(name, options)) {
            // --cut-marks, --size, --check
        } else {
            fail(MessageText(Msg::kUnknownOption).arg(name));
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
                fail(MessageText(Msg::kOneOfNotBoth).arg(QStringLiteral("--check"), QStringLiteral("--check-json")));
            options.Check = name == QLatin1String("--check") ? TSheetOptions::TCheck::Table : TSheetOptions::TCheck::Json;
            return true;
        }
        if (name == QLatin1String("--background")) {
            const QString text = value(name);
            options.Background = ParseBackgroundColour(text);
            if (!options.Background)
                fail(MessageText(Msg::kBackgroundColourUnknown).arg(text));
            return true;
        }
        if (name == QLatin1String("--list-formats")) {
            noValue(name);
            options.ListFormats = true;
            return true;
        }
        if (name == QLatin1String("--straighten")) {
            const QString text = value(name);
            TSheetStraighten straighten;
            bool number = false;
            straighten.Automatic = text == QLatin1String("auto");
            straighten.Degrees = straighten.Automatic ? 0 : text.toDouble(&number);
            if (!straighten.Automatic && (!number || !std::isfinite(straighten.Degrees)
                                          || std::abs(straighten.Degrees) > kMaxTurn))
                fail(MessageText(Msg::kStraightenValue).arg(kMaxTurn).arg(text));
            options.Straighten = straighten;
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

    // An option given beside --list-formats.
    QString otherOption() const
    {
        for (const QString& name : seen_)
            if (name != QLatin1String("--list-formats"))
                return name;
        return {};
    }

    // The ruler page is the printer's own: no photo, nothing of a sheet.
    void checkCalibrationPage(const QStringList& photos) const
    {
        if (!photos.isEmpty())
            fail(MessageText(Msg::kCalibrationNoPhoto).arg(photos.front()));
        for (const char* sheetOption :
             {"--format", "--size", "--count", "--cut-marks", "--check", "--check-json", "--background",
              "--straighten"}) {
            if (seen_.contains(QLatin1String(sheetOption)))
                fail(MessageText(Msg::kCalibrationNoSheet).arg(QLatin1String(sheetOption)));
        }
    }

    QString value(const QString& name)
    {
        if (inlineValue_)
            return *inlineValue_;
        if (index_ + 1 >= args_.size())
            fail(MessageText(Msg::kOptionNeedsValue).arg(name));
        return args_[++index_];
    }

    void noValue(const QString& name) const
    {
        if (inlineValue_)
            fail(MessageText(Msg::kOptionTakesNoValue).arg(name));
    }

    static void setOutput(TSheetOptions& options, TSheetOutput kind)
    {
        if (options.Output != TSheetOutput::None)
            fail(MessageText(Msg::kOneOfNotBoth).arg(QStringLiteral("--output"), QStringLiteral("--print")));
        options.Output = kind;
    }

    void finish(TSheetOptions& options) const
    {
        CheckDigitalOrLayoutOptions(options, paper_.has_value());
        if (options.Digital)
            return;   // any frame is reshaped to the digital size
        checkFrameAspect(options);
        if (options.Output == TSheetOutput::None && options.Check == TSheetOptions::TCheck::None)
            fail(MessageText(Msg::kNoOutputGiven));
        if (options.SizeWidthMm > 0 && seen_.contains(QStringLiteral("--format")))
            fail(MessageText(Msg::kOneOfNotBoth).arg(QStringLiteral("--format"), QStringLiteral("--size")));
        if (!paper_) {
            if (dpi_ || margin_)
                fail(MessageText(Msg::kDpiNeedsPaper));
            return;
        }
        if (!options.PrinterName.isEmpty())
            fail(MessageText(Msg::kOneOfNotBoth).arg(QStringLiteral("--printer"), QStringLiteral("--paper")));
        if (options.Output == TSheetOutput::Print)
            fail(MessageText(Msg::kPrintNeedsPrinter));
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
        const THeadRule rule = options.SizeWidthMm > 0 ? GenericSizeRule({options.SizeWidthMm, options.SizeHeightMm})
                                                       : OptionsRule(options);
        const TFrame& f = options.Frame->Rect;
        if (!HasRuleAspect(f, rule)) {
            fail(MessageText(options.SizeWidthMm > 0 ? Msg::kFrameNotSizeAspect : Msg::kFrameNotFormatAspect)
                     .arg(f.Width)
                     .arg(f.Height)
                     .arg(rule.PhotoWidthMm)
                     .arg(rule.PhotoHeightMm)
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

THeadRule OptionsRule(const TSheetOptions& Options)
{
    if (Options.Document)
        return DocumentRule(*Options.Document);
    if (Options.SizeWidthMm > 0)
        return SheetSizeRule({Options.SizeWidthMm, Options.SizeHeightMm});
    return HeadRule(static_cast<TPhotoFormat>(Options.Format));
}

int DefaultCopies(int Capacity, int Photos)
{
    if (Photos <= 1)
        return Capacity;
    return std::max(1, Capacity / Photos);
}

QString SheetUsage()
{
    // The lines of option syntax are the same in every language.
    QString text = MessageText(Msg::kUsage) + QStringLiteral(
        " quorlo-sheet PHOTO.jpg... [--format 0|1|2|ID | --size WxHmm] [--count N]\n"
        "         [--cut-marks] [--background white|grey|blue|#RRGGBB]\n"
        "         [--printer NAME | --paper A4|Letter|WxHmm [--dpi N] [--margins MM]]\n"
        "         [--frame auto | --frame X,Y,W,H] [--head CROWN_Y,CHIN_Y]\n"
        "         [--straighten auto|DEGREES]\n"
        "         (--output PAGE.jpg | --output PAGE.pdf | --print)\n"
        "       quorlo-sheet PHOTO.jpg (--check | --check-json) [--format ... | --size ...]\n"
        "         [--frame ...] [--head ...] [--output ... | --print ...]\n"
        "       quorlo-sheet --calibration-page [--printer NAME | --paper ...]\n"
        "         (--output PAGE.jpg | --output PAGE.pdf | --print)\n"
        "       quorlo-sheet --list-formats [COUNTRY]\n"
        "\n");
    const auto paragraph = [&text](const QString& words) {
        text += WrapText(words, kHelpWidth).join(u'\n') + u'\n';
    };
    paragraph(MessageText(Msg::kHelpIntro));
    text += u'\n';
    const struct {
        const char* Option;
        const char* Description;
    } options[] = {
        {"--format 0|1|2", Msg::kHelpFormat},
        {"--format ID", Msg::kHelpFormatId},
        {"--list-formats [COUNTRY]", Msg::kHelpListFormats},
        {"--size WxHmm", Msg::kHelpSize},
        {"--count N", Msg::kHelpCount},
        {"--frame auto", Msg::kHelpFrameAuto},
        {"--frame X,Y,W,H", Msg::kHelpFrameRect},
        {"--head CROWN_Y,CHIN_Y", Msg::kHelpHead},
        {"--background COLOUR", Msg::kHelpBackground},
        {"--straighten auto|DEGREES", Msg::kHelpStraighten},
        {"--printer NAME", Msg::kHelpPrinter},
        {"--paper SIZE", Msg::kHelpPaper},
        {"--dpi N", Msg::kHelpDpi},
        {"--margins MM", Msg::kHelpMargins},
        {"--output PAGE.jpg", Msg::kHelpOutputJpeg},
        {"--output PAGE.pdf", Msg::kHelpOutputPdf},
        {"--print", Msg::kHelpPrint},
        {"--calibration-page", Msg::kHelpCalibrationPage},
        {"--cut-marks", Msg::kHelpCutMarks},
        {"--packed", Msg::kHelpPacked},
        {"--gap MM", Msg::kHelpGap},
        {"--digital SIZE", Msg::kHelpDigital},
        {"--digital ID", Msg::kHelpDigitalId},
        {"--printer \"Photo lab 10 × 15 cm\" (or lab-10x15),\n            \"Photo lab 4 × 6 in.\" (or lab-4x6):",
         Msg::kHelpPhotoLab},
        {"--check", Msg::kHelpCheck},
        {"--check-json", Msg::kHelpCheckJson},
        {"--help", Msg::kHelpHelp},
        {"--version", Msg::kHelpVersion},
    };
    for (const auto& [option, description] : options) {
        // The description in a column of its own; an option too long for
        // the first column takes its own lines above it.
        QString line = QStringLiteral("  ") + QString::fromUtf8(option);
        const QString indent(kHelpColumn, u' ');
        if (line.size() >= kHelpColumn) {
            text += line + u'\n';
            line = indent;
        }
        line = line.leftJustified(kHelpColumn);
        for (const QString& words : WrapText(MessageText(description), kHelpWidth - kHelpColumn)) {
            text += line + words + u'\n';
            line = indent;
        }
    }
    text += u'\n';
    paragraph(MessageText(Msg::kHelpLayout).arg(kMaxSheetPages).arg(kMaxSheetPhotos));
    paragraph(MessageText(Msg::kHelpOutcome));
    text += u'\n';
    paragraph(MessageText(Msg::kHelpExitStatus));
    return text;
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
