#include "documents.h"

#include "messages.h"

#include <QString>

namespace {

bool sameId(std::string_view a, std::string_view b)
{
    return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())), Qt::CaseInsensitive)
           == 0;
}

// A length of the rule in millimetres on the printed photo.
std::optional<TRange> inMm(const std::optional<TRange>& range, TRuleUnit unit, double heightMm)
{
    if (!range || unit == TRuleUnit::Millimetres)
        return range;
    return TRange{range->Min * heightMm / 100, range->Max * heightMm / 100};
}

}  // namespace

const TDocument* FindDocument(std::string_view Id)
{
    for (const TDocument& d : Documents())
        if (sameId(d.Id, Id) || (d.Online && !d.Online->Alias.empty() && sameId(d.Online->Alias, Id)))
            return &d;
    return nullptr;
}

THeadRule DocumentRule(const TDocument& Document)
{
    THeadRule rule{Document.Format,
                   Document.WidthMm,
                   Document.HeightMm,
                   Document.Unit,
                   Document.Head,
                   inMm(Document.EyeLine, Document.Unit, Document.HeightMm)};
    rule.TopMarginMm = inMm(Document.TopMargin, Document.Unit, Document.HeightMm);
    rule.Crown = Document.Crown;
    rule.Backdrop = Document.Backdrop;
    rule.Document = &Document;
    return rule;
}

THeadRule SizeRule(const TSizeFormat& Size)
{
    THeadRule rule = Size.Head ? THeadRule{Size.Format, Size.WidthMm, Size.HeightMm, Size.Unit, *Size.Head,
                                           inMm(Size.EyeLine, Size.Unit, Size.HeightMm)}
                               : GenericHeadRule(Size.WidthMm, Size.HeightMm);
    rule.Backdrop = Size.Backdrop;
    return rule;
}

THeadRule GenericHeadRule(double WidthMm, double HeightMm)
{
    return {TPhotoFormat::Other, WidthMm, HeightMm, TRuleUnit::PercentOfHeight, kGenericHead, std::nullopt};
}

std::string_view OnlineKey(const TDocument& Document)
{
    return Document.Online && !Document.Online->Alias.empty() ? Document.Online->Alias : Document.Id;
}

std::vector<TBackdrop> AcceptedBackdrops(const TDocument& Document)
{
    std::vector<TBackdrop> colours{Document.Backdrop};
    for (int b = 0; b <= static_cast<int>(TBackdrop::LightBlue); ++b) {
        const auto backdrop = static_cast<TBackdrop>(b);
        if (backdrop != Document.Backdrop && (Document.Backdrops & BackdropBit(backdrop)))
            colours.push_back(backdrop);
    }
    return colours;
}

const char* BackdropName(TBackdrop Backdrop)
{
    switch (Backdrop) {
    case TBackdrop::White:
        return Msg::kColourWhite;
    case TBackdrop::OffWhite:
        return Msg::kColourOffWhite;
    case TBackdrop::LightGrey:
        return Msg::kColourLightGrey;
    case TBackdrop::Cream:
        return Msg::kColourCream;
    case TBackdrop::LightBlue:
        return Msg::kColourLightBlue;
    }
    return Msg::kColourWhite;
}
