#include "format_choice.h"

#include "messages.h"

#include <QComboBox>

namespace {

bool sameRule(const std::optional<THeadRule>& a, const std::optional<THeadRule>& b)
{
    if (!a || !b)
        return a.has_value() == b.has_value();
    return a->Unit == b->Unit && a->Head == b->Head && a->EyeLineMm == b->EyeLineMm;
}

}  // namespace

QString FormatItemText(const TSheetFormat& Format)
{
    if (Format.Origin == TFormatOrigin::Own)
        return MessageText(Msg::kOwnFormat).arg(Format.WidthMm).arg(Format.HeightMm);
    return MessageText(Format.Text);
}

THeadRule FramingRule(const TSheetFormat& Format)
{
    if (Format.Rule)
        return *Format.Rule;
    return {TPhotoFormat::Other, Format.WidthMm, Format.HeightMm, TRuleUnit::PercentOfHeight, {70, 80},
            std::nullopt};
}

bool SameFormat(const TSheetFormat& A, const TSheetFormat& B)
{
    return A.Origin == B.Origin && A.Text == B.Text && A.WidthMm == B.WidthMm && A.HeightMm == B.HeightMm
           && sameRule(A.Rule, B.Rule);
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
