#include "sheet_formats.h"

#include "messages.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr THeadRule MmRule(TPhotoFormat format, double widthMm, double heightMm, TRange head,
                           std::optional<TRange> eyes = std::nullopt)
{
    return {format, widthMm, heightMm, TRuleUnit::Millimetres, head, eyes};
}

// The formats there are before the user adds one, from the table of
// documents: the three built-in ones at the places the main window's list
// has always had them, then the shipped sizes, each of a size of its own.
std::vector<TSheetFormat> fixedFormats()
{
    std::vector<TSheetFormat> list;
    for (const TBuiltInFormat& f : BuiltInFormatRows()) {
        const TDocument* document = f.Size ? nullptr : FindDocument(f.Document);
        const THeadRule rule = document ? DocumentRule(*document) : SizeRule(*f.Size);
        list.push_back({static_cast<int>(list.size()), QString::fromUtf8(f.Text), rule.PhotoWidthMm,
                        rule.PhotoHeightMm, TFormatOrigin::BuiltIn, rule, {}, document});
    }
    for (const TSizeFormat& f : ShippedSizes())
        list.push_back({static_cast<int>(list.size()), QString::fromUtf8(f.Text), f.WidthMm, f.HeightMm,
                        TFormatOrigin::Shipped, SizeRule(f), {}, nullptr});
    return list;
}

// As the interface language writes numbers: a language switch makes its
// locale the default one.
QString Number(double mm)
{
    return QLocale().toString(mm, 'g', 6);
}

bool listed(const std::vector<TSheetFormat>& list, double widthMm, double heightMm)
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
    static const std::vector<TSheetFormat> builtIn = BuiltInFormats();
    for (const TSheetFormat& f : builtIn)
        if (f.Rule->Format == Format)
            return *f.Rule;
    return *builtIn.front().Rule;
}

THeadRule RuleForSize(int WidthMm, int HeightMm, const std::vector<TSheetFormat>& list)
{
    for (const TSheetFormat& format : list)
        if (format.Origin != TFormatOrigin::Document && format.WidthMm == WidthMm && format.HeightMm == HeightMm
            && format.Rule)
            return *format.Rule;
    return GenericHeadRule(WidthMm, HeightMm);
}

std::vector<TSheetFormat> BuiltInFormats()
{
    std::vector<TSheetFormat> list = fixedFormats();
    list.resize(BuiltInFormatRows().size());
    return list;
}

std::vector<TSheetFormat> FormatList(const std::vector<TOwnFormat>& own)
{
    std::vector<TSheetFormat> list = fixedFormats();
    for (const TOwnFormat& f : own)
        if (!listed(list, f.WidthMm, f.HeightMm))
            list.push_back(OwnSheetFormat(f, static_cast<int>(list.size())));
    for (const TDocument& d : Documents())
        if (!d.Online)
            list.push_back(DocumentSheetFormat(d, static_cast<int>(list.size())));
    return list;
}

QString FormatKey(const TSheetFormat& Format)
{
    if (Format.Document && Format.Origin == TFormatOrigin::Document)
        return QString::fromUtf8(Format.Document->Id.data(), static_cast<qsizetype>(Format.Document->Id.size()));
    return QStringLiteral("%1x%2").arg(Format.WidthMm).arg(Format.HeightMm);
}

TSheetFormat DocumentSheetFormat(const TDocument& Document, int index)
{
    return {index, QString::fromUtf8(Document.Name), Document.WidthMm, Document.HeightMm, TFormatOrigin::Document,
            DocumentRule(Document), {}, &Document};
}

void CheckNotShipped(const TOwnFormat& Format)
{
    if (listed(fixedFormats(), Format.WidthMm, Format.HeightMm))
        throw ESheetFormat(MessageText(Msg::kFormatRepeated).arg(Format.WidthMm).arg(Format.HeightMm));
}

TSheetFormat OwnSheetFormat(const TOwnFormat& format, int index)
{
    TSheetFormat entry{index, QStringLiteral("%1 x %2 mm").arg(format.WidthMm).arg(format.HeightMm),
                       static_cast<double>(format.WidthMm), static_cast<double>(format.HeightMm), TFormatOrigin::Own,
                       std::nullopt, format.Name};
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
