#include "head_rules.h"

namespace {

// The inch formats print at whole millimetres, truncated as the sheet printer
// does it: 2 in. is 50 mm, 1.8 x 2.2 in. is 45 x 55 mm. Their rules are read
// against the photo as printed.
const THeadRule kRules[] = {
    {TPhotoFormat::France35x45, 35, 45, TRuleUnit::Millimetres, {32, 36}, std::nullopt},
    {TPhotoFormat::US2x2, 50, 50, TRuleUnit::Millimetres, {25, 35}, TRange{28, 35}},
    {TPhotoFormat::Canada18x22, 45, 55, TRuleUnit::PercentOfHeight, {71, 80}, std::nullopt},
};

}  // namespace

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

const THeadRule& HeadRule(TPhotoFormat Format)
{
    for (const THeadRule& rule : kRules)
        if (rule.Format == Format)
            return rule;
    return kRules[0];
}
