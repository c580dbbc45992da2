#include "sheet_formats.h"

#include "C_Messages.h"

#include <QRegularExpression>

namespace {

// Whole millimetres in an inch length, truncated in 80-bit floating point as
// the sheet printer always did: 2 in is 50 mm, 1.8 in 45, 2.2 in 55.
constexpr int InchesToWholeMm(long double inches)
{
    return static_cast<int>(inches * 25.4L);
}

struct TFixedFormat {
    const char* Text;
    int WidthMm;
    int HeightMm;
    TFormatOrigin Origin;
    std::optional<THeadRule> Rule;
};

THeadRule MmRule(int widthMm, int heightMm, TRange head, std::optional<TRange> eyes)
{
    return {TPhotoFormat::Other, widthMm, heightMm, TRuleUnit::Millimetres, head, eyes};
}

std::vector<TFixedFormat> FixedFormats()
{
    const THeadRule& us = HeadRule(TPhotoFormat::US2x2);
    return {
        {"35 x 45 mm (France)", 35, 45, TFormatOrigin::BuiltIn, HeadRule(TPhotoFormat::France35x45)},
        {"2 x 2 in. (US)", InchesToWholeMm(2.0L), InchesToWholeMm(2.0L), TFormatOrigin::BuiltIn, us},
        {"1.8 x 2.2 in. (Canada)", InchesToWholeMm(1.8L), InchesToWholeMm(2.2L), TFormatOrigin::BuiltIn,
         HeadRule(TPhotoFormat::Canada18x22)},
        // The square visa photo is the 2 x 2 in. one at 50 mm: the same rule.
        {Msg::kFormat50x50, 50, 50, TFormatOrigin::Shipped, MmRule(50, 50, us.Head, us.EyeLineMm)},
        {Msg::kFormat40x50, 40, 50, TFormatOrigin::Shipped, MmRule(40, 50, {30, 34}, std::nullopt)},
        // 2 x 2 in. rounded to the millimetre rather than truncated: the rule
        // is still the inch one.
        {Msg::kFormat51x51, 51, 51, TFormatOrigin::Shipped, MmRule(51, 51, us.Head, us.EyeLineMm)},
        // No single office rule.
        {Msg::kFormat50x70, 50, 70, TFormatOrigin::Shipped, GenericHeadRule(50, 70)},
    };
}

QString Number(double mm)
{
    return QString::number(mm, 'g', 6);
}

void CheckRange(const std::optional<TRange>& range, int heightMm, const char* message)
{
    if (range && !(range->Min > 0 && range->Min <= range->Max && range->Max <= heightMm))
        throw ESheetFormat(MessageText(message).arg(Number(range->Min), Number(range->Max)).arg(heightMm));
}

}  // namespace

THeadRule GenericHeadRule(int WidthMm, int HeightMm)
{
    return {TPhotoFormat::Other, WidthMm, HeightMm, TRuleUnit::PercentOfHeight, {70, 80}, std::nullopt};
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
    for (const TFixedFormat& f : FixedFormats()) {
        const int index = static_cast<int>(list.size());
        list.push_back({index, QString::fromUtf8(f.Text), f.WidthMm, f.HeightMm, f.Origin, f.Rule});
    }
    for (const TOwnFormat& f : own)
        list.push_back(OwnSheetFormat(f, static_cast<int>(list.size())));
    return list;
}

TSheetFormat OwnSheetFormat(const TOwnFormat& format, int index)
{
    TSheetFormat entry{index, QStringLiteral("%1 x %2 mm").arg(format.WidthMm).arg(format.HeightMm),
                       format.WidthMm, format.HeightMm, TFormatOrigin::Own, std::nullopt};
    if (format.HeadMm)
        entry.Rule = MmRule(format.WidthMm, format.HeightMm, *format.HeadMm, format.EyeLineMm);
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
