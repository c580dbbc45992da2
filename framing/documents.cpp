#include "documents.h"

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
