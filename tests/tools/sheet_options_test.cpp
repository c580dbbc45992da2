#include "sheet_options.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TSheetOptions parse(const QString& line)
{
    return ParseSheetOptions(line.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

// The message of the usage error `line` raises; empty when it parses.
QString usageError(const QString& line)
{
    try {
        parse(line);
    } catch (const ESheetUsage& e) {
        return e.Message;
    }
    return {};
}

}  // namespace

TEST(ParseSheetOptions, DefaultsLeaveTheRestToThePrintRun)
{
    const TSheetOptions o = parse(QStringLiteral("photo.jpg --output page.jpg"));
    EXPECT_FALSE(o.Help);
    EXPECT_FALSE(o.Version);
    EXPECT_EQ(o.Photo, QStringLiteral("photo.jpg"));
    EXPECT_EQ(o.Format, 0);
    EXPECT_FALSE(o.Count) << "as many as fit";
    EXPECT_TRUE(o.PrinterName.isEmpty()) << "the current printer";
    EXPECT_FALSE(o.Paper);
    EXPECT_EQ(o.Output, TSheetOutput::Jpeg);
    EXPECT_EQ(o.OutputFile, QStringLiteral("page.jpg"));
}

TEST(ParseSheetOptions, ReadsEveryOptionInEitherSpelling)
{
    const TSheetOptions o = ParseSheetOptions(
        {QStringLiteral("--format=2"), QStringLiteral("--count"), QStringLiteral("0"),
         QStringLiteral("--printer"), QStringLiteral("Office Laser"), QStringLiteral("--print"),
         QStringLiteral("my photo.JPG")});
    EXPECT_EQ(o.Photo, QStringLiteral("my photo.JPG"));
    EXPECT_EQ(o.Format, 2);
    EXPECT_EQ(o.Count, 0);
    EXPECT_EQ(o.PrinterName, QStringLiteral("Office Laser"));
    EXPECT_EQ(o.Output, TSheetOutput::Print);

    EXPECT_EQ(parse(QStringLiteral("p.jpg --output=SHEET.PDF")).Output, TSheetOutput::Pdf);
    EXPECT_EQ(parse(QStringLiteral("p.jpg --output a.b/Page.Jpeg")).Output, TSheetOutput::Jpeg);
    EXPECT_EQ(parse(QStringLiteral("--output x.jpg -- -photo.jpg")).Photo, QStringLiteral("-photo.jpg"))
        << "after -- a name may start with a dash";
}

TEST(ParseSheetOptions, FramesAreAutomaticOrRectanglesOfTheFormatsShape)
{
    EXPECT_EQ(parse(QStringLiteral("p.jpg --frame auto --output x.jpg")).Frame, (TSheetFrame{true, {}}));
    // The user's own crown and chin rows, in photo pixels too.
    EXPECT_EQ(parse(QStringLiteral("p.jpg --head=-12.5,330 --output x.jpg")).Head, (THeadLines{-12.5, 330}));
    EXPECT_FALSE(parse(QStringLiteral("p.jpg --output x.jpg")).Head);
    EXPECT_EQ(parse(QStringLiteral("p.jpg --frame=-10,20.5,350,450 --output x.jpg")).Frame,
              (TSheetFrame{false, {-10, 20.5, 350, 450}}));
    // Within a photo pixel of 35:45: 451 x 580 is 451.1 x 580.
    EXPECT_EQ(parse(QStringLiteral("p.jpg --frame 0,0,451,580 --output x.jpg")).Frame->Rect.Width, 451);
    EXPECT_EQ(parse(QStringLiteral("p.jpg --format 2 --frame 0,0,450,550 --output x.jpg")).Frame->Rect.Height,
              550);
    EXPECT_FALSE(parse(QStringLiteral("p.jpg --output x.jpg")).Frame) << "the whole photo by default";
}

TEST(ParseSheetOptions, PapersInHundredthsOfAMillimetre)
{
    const TSheetOptions a4 = parse(QStringLiteral("p.jpg --paper a4 --output x.pdf"));
    ASSERT_TRUE(a4.Paper);
    EXPECT_EQ(*a4.Paper, (TVirtualPaper{QStringLiteral("A4"), 21000, 29700, 600, 0}))
        << "600 dpi and no margins by default";

    const TSheetOptions letter = parse(QStringLiteral("p.jpg --paper LETTER --dpi 72 --output x.pdf"));
    EXPECT_EQ(*letter.Paper, (TVirtualPaper{QStringLiteral("Letter"), 21590, 27940, 72, 0}));

    const TSheetOptions custom =
        parse(QStringLiteral("p.jpg --paper 100x150MM --dpi 2400 --margins 6.35 --output x.jpg"));
    EXPECT_EQ(*custom.Paper, (TVirtualPaper{QStringLiteral("100x150MM"), 10000, 15000, 2400, 635}));
    EXPECT_EQ(parse(QStringLiteral("p.jpg --paper 89.5x127.25mm --margins 0.5 --output x.jpg")).Paper,
              (TVirtualPaper{QStringLiteral("89.5x127.25mm"), 8950, 12725, 600, 50}));
}

TEST(ParseSheetOptions, HelpAndVersionAnswerWhateverElseIsThere)
{
    EXPECT_TRUE(parse(QStringLiteral("--bogus --count -4 --help")).Help);
    EXPECT_TRUE(parse(QStringLiteral("-h")).Help);
    EXPECT_TRUE(parse(QStringLiteral("--version photo.jpg")).Version);
    const TSheetOptions afterDashes = parse(QStringLiteral("a.jpg --output x.jpg -- --help"));
    EXPECT_FALSE(afterDashes.Help);
    EXPECT_EQ(afterDashes.Photos, QStringList({QStringLiteral("a.jpg"), QStringLiteral("--help")}))
        << "after -- it is a second photo";
}

TEST(ParseSheetOptions, BadLinesSayWhatIsWrong)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"", "no photo"},
        {"--output x.jpg", "no photo"},
        {"a.jpg b.jpg --frame 0,0,350,450 --output x.jpg", "--frame X,Y,W,H suits one photo, not 2"},
        {"a.jpg b.jpg --head 60,330 --output x.jpg", "--head CROWN_Y,CHIN_Y suits one photo, not 2"},
        {"a.jpg b.jpg --check", "--check looks at one photo, not 2"},
        {"a.jpg --check --check-json", "give one of --check and --check-json, not both"},
        {"p.jpg", "no output"},
        {"p.jpg --output x.jpg --print", "not both"},
        {"p.jpg --output x.jpg --output y.jpg", "--output is given twice"},
        {"p.jpg --output x.png", ".jpg, .jpeg or .pdf"},
        {"p.jpg --output jpg", ".jpg, .jpeg or .pdf"},
        {"p.jpg --output=", "--output needs a file name"},
        {"p.jpg --print=yes", "--print takes no value"},
        {"p.jpg --output x.jpg --frobnicate", "unknown option --frobnicate"},
        {"p.jpg --output x.jpg -x", "unknown option -x"},
        {"p.jpg --output x.jpg --count", "--count needs a value"},
        {"p.jpg --output x.jpg --count -1", "--count must be 0 or more"},
        {"p.jpg --output x.jpg --count 3.5", "whole number"},
        {"p.jpg --output x.jpg --count 99999999999", "whole number"},
        {"p.jpg --output x.jpg --format 3", "--format must be 0, 1 or 2"},
        {"p.jpg --output x.jpg --format -1", "--format must be 0, 1 or 2"},
        {"p.jpg --output x.jpg --format 3", "--format must be 0, 1 or 2"},
        {"p.jpg --output x.jpg --format one", "--format takes 0, 1, 2 or a document's id, not \"one\""},
        // An online form is --digital's.
        {"p.jpg --output x.jpg --format us-visa-online", "a document's id, not \"us-visa-online\""},
        {"p.jpg --output x.jpg --paper A5", "unknown paper"},
        {"p.jpg --output x.jpg --paper 100x150", "unknown paper"},
        {"p.jpg --output x.jpg --paper 100x150.123mm", "unknown paper"},
        {"p.jpg --output x.jpg --paper 0x150mm", "above 0"},
        {"p.jpg --output x.jpg --paper 2000.01x150mm", "at most 2000 mm"},
        {"p.jpg --output x.jpg --paper A4 --dpi 71", "--dpi must be a whole number from 72 to 2400"},
        {"p.jpg --output x.jpg --paper A4 --dpi 2401", "from 72 to 2400"},
        {"p.jpg --output x.jpg --paper A4 --margins -2", "--margins needs millimetres"},
        {"p.jpg --output x.jpg --paper A4 --margins 105", "leave no page"},
        {"p.jpg --output x.jpg --paper A4 --dpi 2400", "too large"},
        {"p.jpg --output x.jpg --paper 2000x10mm --dpi 1200", "too large"},
        {"p.jpg --output x.jpg --dpi 300", "give --paper too"},
        {"p.jpg --output x.jpg --margins 5", "give --paper too"},
        {"p.jpg --output x.jpg --paper A4 --printer Laser", "one of --printer and --paper"},
        {"p.jpg --print --paper A4", "--print needs a real printer"},
        {"p.jpg --output x.jpg --printer", "--printer needs a value"},
        {"p.jpg --output x.jpg --printer=", "--printer needs a printer name"},
        {"p.jpg --output x.jpg --frame", "--frame needs a value"},
        {"p.jpg --output x.jpg --frame automatic", "\"auto\" or X,Y,W,H"},
        {"p.jpg --output x.jpg --frame 1,2,3", "\"auto\" or X,Y,W,H"},
        {"p.jpg --output x.jpg --frame 1,2,3,4,5", "\"auto\" or X,Y,W,H"},
        {"p.jpg --output x.jpg --frame 1,2,x,4", "\"auto\" or X,Y,W,H"},
        {"p.jpg --output x.jpg --frame 0,0,0,0", "has no size"},
        {"p.jpg --output x.jpg --head 60", "--head needs CROWN_Y,CHIN_Y"},
        {"p.jpg --output x.jpg --head 60,x", "--head needs CROWN_Y,CHIN_Y"},
        {"p.jpg --output x.jpg --head 330,60", "the crown above the chin, not \"330,60\""},
        {"p.jpg --output x.jpg --head 60,60", "the crown above the chin"},
        {"p.jpg --output x.jpg --frame 0,0,-35,-45", "has no size"},
        {"p.jpg --output x.jpg --frame 0,0,450,450", "is not 35 x 45"},
        {"p.jpg --output x.jpg --format 1 --frame 0,0,350,450", "is not 50.8 x 50.8"},
        {"p.jpg --output x.jpg --background red", "unknown background colour \"red\""},
        {"p.jpg --output x.jpg --straighten 45.5", "from -45 to 45, not \"45.5\""},
        {"p.jpg --output x.jpg --straighten level", "auto or a number of degrees"},
    };
    for (const auto& [line, expected] : cases) {
        const QString message = usageError(QString::fromLatin1(line));
        EXPECT_TRUE(message.contains(QLatin1String(expected)))
            << "\"" << line << "\" gave \"" << message.toStdString() << "\"";
        EXPECT_FALSE(message.contains(QLatin1Char('\n'))) << line;
    }
}

TEST(ParseSheetOptions, TheLargestPagesStillPass)
{
    // 100 x 150 mm at 2400 dpi is 9448 x 14173 pixels, well inside the limit.
    EXPECT_NO_THROW(parse(QStringLiteral("p.jpg --paper 100x150mm --dpi 2400 --output x.jpg")));
    EXPECT_NO_THROW(parse(QStringLiteral("p.jpg --paper A4 --dpi 1200 --output x.jpg")));
    // Margins that leave a page of one pixel: 10 mm at 254 dpi is 100 pixels.
    EXPECT_NO_THROW(parse(QStringLiteral("p.jpg --paper 10x10mm --dpi 254 --margins 4.95 --output x.jpg")));
}

TEST(ParseSheetOptions, SizeCutMarksAndTheCalibrationPage)
{
    const TSheetOptions sized = parse(QStringLiteral("p.jpg --size 40x50mm --cut-marks --output x.pdf"));
    EXPECT_EQ(sized.SizeWidthMm, 40);
    EXPECT_EQ(sized.SizeHeightMm, 50);
    EXPECT_TRUE(sized.CutMarks);
    EXPECT_FALSE(parse(QStringLiteral("p.jpg --output x.pdf")).CutMarks);
    EXPECT_EQ(parse(QStringLiteral("p.jpg --background #102030 --output x.pdf")).Background, Color32(16, 32, 48));
    EXPECT_EQ(parse(QStringLiteral("p.jpg --straighten auto --output x.pdf")).Straighten, TSheetStraighten{true});
    EXPECT_EQ(parse(QStringLiteral("p.jpg --straighten=-2.5 --output x.pdf")).Straighten,
              (TSheetStraighten{false, -2.5}));
    const TSheetOptions ruler = parse(QStringLiteral("--calibration-page --paper A4 --output r.pdf"));
    EXPECT_TRUE(ruler.CalibrationPage);
    EXPECT_TRUE(ruler.Photo.isEmpty());

    const std::vector<std::pair<const char*, const char*>> cases = {
        {"p.jpg --output x.jpg --size 40x50cm", "is not a photo size"},
        {"p.jpg --output x.jpg --size 40.5x50", "is not a photo size"},
        {"p.jpg --output x.jpg --size 301x50", "from 5 to 300 mm"},
        {"p.jpg --output x.jpg --size 40x50 --format 1", "one of --format and --size"},
        {"p.jpg --output x.jpg --size 50x50 --frame 0,0,350,450", "is not 50 x 50 like --size"},
        {"p.jpg --output x.jpg --cut-marks=yes", "--cut-marks takes no value"},
        {"--calibration-page p.jpg --output x.jpg", "takes no photo"},
        {"--calibration-page --count 2 --output x.jpg", "--count has no use"},
        {"--calibration-page --check --output x.jpg", "--check has no use"},
        {"--calibration-page --cut-marks --output x.jpg", "--cut-marks has no use"},
        {"--calibration-page --format 1 --output x.jpg", "--format has no use"},
        {"--calibration-page --size 40x50mm --output x.jpg", "--size has no use"},
        {"--calibration-page --background white --output x.jpg", "--background has no use"},
        {"--calibration-page --straighten auto --output x.jpg", "--straighten has no use"},
        {"--calibration-page", "no output"},
    };
    for (const auto& [line, expected] : cases) {
        const QString message = usageError(QString::fromLatin1(line));
        EXPECT_TRUE(message.contains(QLatin1String(expected)))
            << "\"" << line << "\" gave \"" << message.toStdString() << "\"";
    }
}

TEST(ParseSheetOptions, SeveralPhotosInTheirOrder)
{
    const TSheetOptions o = parse(QStringLiteral("a.jpg --count 2 b.jpg c.jpg --frame auto --output x.pdf"));
    EXPECT_EQ(o.Photos, QStringList({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")}));
    EXPECT_EQ(o.Photo, QStringLiteral("a.jpg"));
    EXPECT_EQ(o.Count, 2) << "per photo";
    EXPECT_EQ(parse(QStringLiteral("p.jpg --size 40x50mm --frame 0,0,400,500 --output x.jpg")).Frame->Rect.Width, 400)
        << "the frame has --size's shape";

    QStringList many;
    for (int i = 0; i <= kMaxSheetPhotos; ++i)
        many << QStringLiteral("p%1.jpg").arg(i);
    EXPECT_TRUE(usageError(many.join(QLatin1Char(' ')) + QStringLiteral(" --output x.jpg")).contains(
        QStringLiteral("%1 photos given: at most %2").arg(kMaxSheetPhotos + 1).arg(kMaxSheetPhotos)));
}

TEST(DefaultCopies, OnePhotoFillsThePageAndSeveralShareIt)
{
    const struct {
        int capacity, photos, copies;
    } cases[] = {{30, 1, 30}, {30, 4, 7}, {4, 3, 1}, {4, 6, 1}, {0, 2, 1}, {0, 1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(DefaultCopies(c.capacity, c.photos), c.copies) << c.capacity << " places, " << c.photos << " photos";
}

// --digital, --packed and --gap: what they read, and the command lines they
// refuse, each with the first words of its message.
TEST(ParseSheetOptions, ReadsTheDigitalPhotoAndThePackedLayout)
{
    const TSheetOptions digital = parse(QStringLiteral("p.jpg --digital us-visa --frame auto --output d.jpg"));
    ASSERT_TRUE(digital.Digital);
    EXPECT_EQ(digital.Digital->Width, 600);
    EXPECT_EQ(digital.Digital->MaxBytes, 240000);
    EXPECT_EQ(parse(QStringLiteral("p.jpg --digital=800x1000px,50-500 --frame 1,2,30,40 --output d.jpg")).Digital->MinBytes,
              50 * 1024);
    const TSheetOptions packed = parse(QStringLiteral("p.jpg --printer lab-4x6 --packed --gap 1.5 --output s.jpg"));
    EXPECT_EQ(packed.Layout, (TSheetLayout{TSheetArrangement::Packed, 15}));
    EXPECT_EQ(parse(QStringLiteral("p.jpg --packed --output s.jpg")).Layout.GapTenthsMm, kDefaultPackedGap);
    EXPECT_FALSE(parse(QStringLiteral("p.jpg --output s.jpg")).Layout.Packed());

    const std::pair<const char*, const char*> refused[] = {
        {"p.jpg --digital passport --output d.jpg", "--digital: \"passport\" is not a digital photo size"},
        {"p.jpg --digital uk --output d.pdf", "--digital writes a JPEG"},
        {"p.jpg q.jpg --digital uk --output d.jpg", "--digital makes one photo, not 2"},
        {"p.jpg --digital uk --count 2 --output d.jpg", "--digital makes a photo, not a sheet"},
        {"p.jpg --digital uk --paper A4 --output d.jpg", "--digital makes a photo, not a sheet"},
        {"p.jpg --gap 2 --output s.jpg", "--gap sets the gap of a packed sheet"},
        {"p.jpg --packed --gap 6 --output s.jpg", "--gap needs millimetres from 0 to 5"},
        {"p.jpg --packed=1 --output s.jpg", "--packed takes no value"},
    };
    for (const auto& [line, message] : refused) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(usageError(QString::fromLatin1(line)).startsWith(QString::fromLatin1(message)))
            << usageError(QString::fromLatin1(line)).toStdString();
    }
}
