#include "format_choice.h"

#include "country_names.h"
#include "messages.h"

#include <QComboBox>
#include <QLocale>

#include <algorithm>

namespace {

bool sameRule(const std::optional<THeadRule>& a, const std::optional<THeadRule>& b)
{
    if (!a || !b)
        return a.has_value() == b.has_value();
    return a->Unit == b->Unit && a->Head == b->Head && a->EyeLineMm == b->EyeLineMm && a->Crown == b->Crown;
}

}  // namespace

QString FormatItemText(const TSheetFormat& Format)
{
    if (Format.Origin == TFormatOrigin::Document && Format.Document)
        return DocumentItemText(Format);
    if (Format.Origin == TFormatOrigin::Own && !Format.Name.isEmpty())
        return MessageText(Msg::kNamedOwnFormat).arg(Format.Name).arg(Format.WidthMm).arg(Format.HeightMm);
    if (Format.Origin == TFormatOrigin::Own)
        return MessageText(Msg::kOwnFormat).arg(Format.WidthMm).arg(Format.HeightMm);
    return MessageText(Format.Text);
}

QString DocumentItemText(const TSheetFormat& Format, bool WithCountry)
{
    const QLocale locale;
    const QString size = QStringLiteral("%1 \u00d7 %2 mm").arg(locale.toString(Format.WidthMm), locale.toString(Format.HeightMm));
    const QString name = WithCountry && Format.Document ? DocumentName(*Format.Document) : MessageText(Format.Text);
    return MessageText(Msg::kDocumentItem).arg(name, size);
}

std::vector<int> ChooserMatches(const std::vector<TSheetFormat>& Formats, const QString& Text)
{
    std::vector<int> found;
    const QString wanted = Text.trimmed();
    for (const TSheetFormat& f : Formats) {
        const bool match = f.Origin == TFormatOrigin::Document && f.Document
            ? DocumentMatches(*f.Document, wanted)
            : wanted.isEmpty() || FormatItemText(f).contains(wanted, Qt::CaseInsensitive);
        if (match)
            found.push_back(f.Index);
    }
    return found;
}

QString PrintedSizeText(const TSheetFormat& Format)
{
    // The language switch makes the interface's locale the default one.
    const QLocale locale;
    return MessageText(Msg::kPrintsSize).arg(locale.toString(Format.WidthMm), locale.toString(Format.HeightMm));
}

bool LeavesWhiteStrip(int PhotoWidth, int PhotoHeight, const TSheetFormat& Format)
{
    if (PhotoWidth <= 0 || PhotoHeight <= 0 || Format.WidthMm <= 0 || Format.HeightMm <= 0)
        return false;
    // The two aspect ratios compared crosswise, so that a shape exactly at
    // the tolerance is decided exactly (whole millimetres multiply exactly).
    const double photo = static_cast<double>(PhotoWidth) * Format.HeightMm;
    const double cell = Format.WidthMm * PhotoHeight;
    return 100 * std::max(photo, cell) > (100 + kShapeTolerancePercent) * std::min(photo, cell);
}

TStatusLine StatusLineFor(const QString& PrinterName, bool WhiteStrip, const QString& LowResolutionWarning,
                          const QString& FrameCaption, const QString& CheckSummary)
{
    QStringList warnings;
    if (WhiteStrip)
        warnings << MessageText(Msg::kWhiteStrip).arg(QString(FrameCaption).remove(QLatin1Char('&')));
    if (!LowResolutionWarning.isEmpty())
        warnings << LowResolutionWarning;
    if (!CheckSummary.isEmpty())
        warnings << CheckSummary;
    if (warnings.isEmpty())
        return {PrinterName, {}};
    return {warnings.join(u' '), warnings.join(u'\n') + u'\n' + PrinterName};
}

THeadRule FramingRule(const TSheetFormat& Format)
{
    if (Format.Rule)
        return *Format.Rule;
    return GenericHeadRule(Format.WidthMm, Format.HeightMm);
}

bool SameFormat(const TSheetFormat& A, const TSheetFormat& B)
{
    return A.Origin == B.Origin && A.Text == B.Text && A.Name == B.Name && A.WidthMm == B.WidthMm
           && A.HeightMm == B.HeightMm && A.Document == B.Document && sameRule(A.Rule, B.Rule);
}

int FindFormat(const std::vector<TSheetFormat>& List, const TSheetFormat& Chosen)
{
    for (const TSheetFormat& f : List)
        if (SameFormat(f, Chosen))
            return f.Index;
    for (const TSheetFormat& f : List)
        if (f.WidthMm == Chosen.WidthMm && f.HeightMm == Chosen.HeightMm)
            return f.Index;
    return 0;
}

void ShowFormats(QComboBox& Combo, const std::vector<TSheetFormat>& Formats)
{
    const int count = static_cast<int>(Formats.size());
    while (Combo.count() > count)
        Combo.removeItem(Combo.count() - 1);
    for (int i = 0; i < count; ++i) {
        if (Formats[static_cast<std::size_t>(i)].Origin == TFormatOrigin::BuiltIn && i < Combo.count())
            continue;
        const QString text = FormatItemText(Formats[static_cast<std::size_t>(i)]);
        if (i < Combo.count())
            Combo.setItemText(i, text);
        else
            Combo.addItem(text);
    }
}
