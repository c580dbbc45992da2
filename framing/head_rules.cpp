#include "head_rules.h"

TRange THeadRule::HeadFraction() const
{
    const double unit = Unit == TRuleUnit::Millimetres ? PhotoHeightMm : 100.0;
    return {Head.Min / unit, Head.Max / unit};
}

std::optional<TRange> THeadRule::EyeLineFraction() const
{
    if (!EyeLineMm)
        return std::nullopt;
    return TRange{EyeLineMm->Min / PhotoHeightMm, EyeLineMm->Max / PhotoHeightMm};
}

std::optional<TRange> THeadRule::TopMarginFraction() const
{
    if (!TopMarginMm)
        return std::nullopt;
    return TRange{TopMarginMm->Min / PhotoHeightMm, TopMarginMm->Max / PhotoHeightMm};
}
