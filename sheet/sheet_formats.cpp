#include "sheet_formats.h"

#include "messages.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Whole millimetres in an inch length, truncated in 80-bit floating point as
// the sheet printer always did: 2 in is 50 mm, 1.8 in 45, 2.2 in 55.
constexpr int InchesToWholeMm(long double inches)
{
    return static_cast<int>(inches * 25.4L);
}

constexpr THeadRule MmRule(TPhotoFormat format, int widthMm, int heightMm, TRange head,
                           std::optional<TRange> eyes = std::nullopt)
{
    return {format, widthMm, heightMm, TRuleUnit::Millimetres, head, eyes};
}

constexpr THeadRule PercentRule(TPhotoFormat format, int widthMm, int heightMm, TRange head)
{
    return {format, widthMm, heightMm, TRuleUnit::PercentOfHeight, head, std::nullopt};
}

// The head at 70 to 80 percent of the photo's height, the usual share of a
// full-face photo.
constexpr TRange kGenericHead{70, 80};
// 2 x 2 in.: the head 1 to 1 3/8 in., the eyes 1 1/8 to 1 3/8 in. above the
// bottom, in whole millimetres.
constexpr TRange kUsHead{25, 35};
constexpr TRange kUsEyes{28, 35};

struct TFixedFormat {
    const char* Text;
    TFormatOrigin Origin;
    THeadRule Rule;   ///< its size is the format's size
};

// Every format there is before the user adds one: the three built-in ones at
// the places the main window's list has always had them, then the shipped
// ones, each of a size of its own. The inch formats print at whole
// millimetres, truncated, and their rules are read against the photo as
// printed: the square visa photo of 50 x 50 mm is the 2 x 2 in. one.
const TFixedFormat kFixedFormats[] = {
    {"35 x 45 mm (France)", TFormatOrigin::BuiltIn, MmRule(TPhotoFormat::France35x45, 35, 45, {32, 36})},
    {"2 x 2 in. (US)", TFormatOrigin::BuiltIn,
     MmRule(TPhotoFormat::US2x2, InchesToWholeMm(2.0L), InchesToWholeMm(2.0L), kUsHead, kUsEyes)},
    {"1.8 x 2.2 in. (Canada)", TFormatOrigin::BuiltIn,
     PercentRule(TPhotoFormat::Canada18x22, InchesToWholeMm(1.8L), InchesToWholeMm(2.2L), {71, 80})},
    {Msg::kFormat40x50, TFormatOrigin::Shipped, MmRule(TPhotoFormat::Other, 40, 50, {30, 34})},
    // 2 x 2 in. rounded to the millimetre rather than truncated: the rule
    // is still the inch one.
    {Msg::kFormat51x51, TFormatOrigin::Shipped, MmRule(TPhotoFormat::Other, 51, 51, kUsHead, kUsEyes)},
    // No single office rule.
    {Msg::kFormat50x70, TFormatOrigin::Shipped, PercentRule(TPhotoFormat::Other, 50, 70, kGenericHead)},
};

// As the interface language writes numbers: a language switch makes its
// locale the default one.
QString Number(double mm)
{
    return QLocale().toString(mm, 'g', 6);
}

bool listed(const std::vector<TSheetFormat>& list, int widthMm, int heightMm)
{
    return std::any_of(list.begin(), list.end(),
                       [&](const TSheetFormat& f) { return f.WidthMm == widthMm && f.HeightMm == heightMm; });
}

bool usableName(const QString& name)
{
    return name.size() <= kMaxFormatNameLength
           && std::none_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

void CheckRange(const std::optional<TRange>& range, int heightMm, const char* message)
{
    if (range && !(range->Min > 0 && range->Min <= range->Max && range->Max <= heightMm))
        throw ESheetFormat(MessageText(message).arg(Number(range->Min), Number(range->Max)).arg(heightMm));
}

}  // namespace

const THeadRule& HeadRule(TPhotoFormat Format)
{
    for (const TFixedFormat& f : kFixedFormats)
        if (f.Rule.Format == Format)
            return f.Rule;
    return kFixedFormats[0].Rule;
}

THeadRule GenericHeadRule(int WidthMm, int HeightMm)
{
    return PercentRule(TPhotoFormat::Other, WidthMm, HeightMm, kGenericHead);
}

THeadRule RuleForSize(int WidthMm, int HeightMm, const std::vector<TSheetFormat>& list)
{
    for (const TSheetFormat& format : list)
        if (format.WidthMm == WidthMm && format.HeightMm == HeightMm && format.Rule)
            return *format.Rule;
    return GenericHeadRule(WidthMm, HeightMm);
}

std::vector<TSheetFormat> BuiltInFormats()
{
    std::vector<TSheetFormat> list = FormatList({});
    list.resize(3);
    return list;
}

std::vector<TSheetFormat> FormatList(const std::vector<TOwnFormat>& own)
{
    std::vector<TSheetFormat> list;
    for (const TFixedFormat& f : kFixedFormats) {
        const int index = static_cast<int>(list.size());
        list.push_back({index, QString::fromUtf8(f.Text), f.Rule.PhotoWidthMm, f.Rule.PhotoHeightMm, f.Origin,
                        f.Rule, {}});
    }
    for (const TOwnFormat& f : own)
        if (!listed(list, f.WidthMm, f.HeightMm))
            list.push_back(OwnSheetFormat(f, static_cast<int>(list.size())));
    return list;
}

void CheckNotShipped(const TOwnFormat& Format)
{
    if (listed(FormatList({}), Format.WidthMm, Format.HeightMm))
        throw ESheetFormat(MessageText(Msg::kFormatRepeated).arg(Format.WidthMm).arg(Format.HeightMm));
}

TSheetFormat OwnSheetFormat(const TOwnFormat& format, int index)
{
    TSheetFormat entry{index, QStringLiteral("%1 x %2 mm").arg(format.WidthMm).arg(format.HeightMm),
                       format.WidthMm, format.HeightMm, TFormatOrigin::Own, std::nullopt, format.Name};
    if (format.HeadMm)
        entry.Rule = MmRule(TPhotoFormat::Other, format.WidthMm, format.HeightMm, *format.HeadMm, format.EyeLineMm);
    return entry;
}

void CheckOwnFormat(const TOwnFormat& format)
{
    const auto inLimits = [](int mm) { return mm >= kMinPhotoMm && mm <= kMaxPhotoMm; };
    if (!inLimits(format.WidthMm) || !inLimits(format.HeightMm))
        throw ESheetFormat(MessageText(Msg::kSizeOutOfRange).arg(format.WidthMm).arg(format.HeightMm));
    CheckRange(format.HeadMm, format.HeightMm, Msg::kHeadRangeInvalid);
    CheckRange(format.EyeLineMm, format.HeightMm, Msg::kEyeRangeInvalid);
    if (format.EyeLineMm && !format.HeadMm)
        throw ESheetFormat(MessageText(Msg::kEyeNeedsHead));
    if (!usableName(format.Name))
        throw ESheetFormat(MessageText(Msg::kFormatNameInvalid).arg(format.Name).arg(kMaxFormatNameLength));
}

TOwnFormat ParseSizeMm(const QString& text)
{
    static const QRegularExpression size(QStringLiteral("^\\s*(\\d{1,9})\\s*[xX]\\s*(\\d{1,9})\\s*(?:mm)?\\s*$"));
    const QRegularExpressionMatch m = size.match(text);
    if (!m.hasMatch())
        throw ESheetFormat(MessageText(Msg::kSizeNotUnderstood).arg(text));
    TOwnFormat format;
    format.WidthMm = m.captured(1).toInt();
    format.HeightMm = m.captured(2).toInt();
    CheckOwnFormat(format);
    return format;
}
