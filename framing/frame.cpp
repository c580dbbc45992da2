#include "frame.h"

#include <cmath>

namespace {

constexpr double kMmPerInch = 25.4;

// Where the middle of the head sits, as a fraction of the frame's height from
// the top. Without an eye-line rule, half way down: equal space above the
// crown and below the chin. With one, the head hangs from its eyes at the
// middle of the eye band.
double headCentre(const THeadRule& rule)
{
    const std::optional<TRange> eye = rule.EyeLineFraction();
    if (!eye)
        return 0.5;
    return (1 - eye->Mid()) + (0.5 - kEyeDepth) * rule.HeadFraction().Mid();
}

// Lengths are shown and judged to a tenth, so that a head shown as "36.0 mm"
// is never called too large.
double shown(double value)
{
    return std::round(value * 10) / 10;
}

THeadVerdict verdict(const TRange& range, double value)
{
    const double v = shown(value);
    if (v < range.Min)
        return THeadVerdict::TooSmall;
    if (v > range.Max)
        return THeadVerdict::TooLarge;
    return THeadVerdict::Within;
}

QString number(double value)
{
    return QString::number(shown(value), 'f', 1);
}

QString range(const TRange& r, const QString& unit)
{
    return QStringLiteral("%1-%2 %3").arg(r.Min).arg(r.Max).arg(unit);
}

}  // namespace

TGuides GuidesFor(const THeadRule& Rule)
{
    const double c = headCentre(Rule);
    const TRange head = Rule.HeadFraction();
    TGuides guides{{c - head.Max / 2, c - head.Min / 2}, {c + head.Min / 2, c + head.Max / 2}, std::nullopt};
    if (const std::optional<TRange> eye = Rule.EyeLineFraction())
        guides.EyeBand = TRange{1 - eye->Max, 1 - eye->Min};
    return guides;
}

std::optional<TFrame> FrameForHead(const THead& Head, const THeadRule& Rule)
{
    if (!(Head.Height() > 0))
        return std::nullopt;
    TFrame frame;
    frame.Height = Head.Height() / Rule.HeadFraction().Mid();
    frame.Width = frame.Height * Rule.Aspect();
    frame.X = Head.CentreX - frame.Width / 2;
    if (const std::optional<TRange> eye = Rule.EyeLineFraction())
        frame.Y = Head.EyeY - (1 - eye->Mid()) * frame.Height;
    else
        frame.Y = (Head.CrownY + Head.ChinY) / 2 - headCentre(Rule) * frame.Height;
    return frame;
}

THeadCheck CheckHead(const TFrame& Frame, const THead& Head, const THeadRule& Rule)
{
    THeadCheck check;
    const double fraction = Frame.Height > 0 ? Head.Height() / Frame.Height : 0;
    check.Head = fraction * (Rule.Unit == TRuleUnit::Millimetres ? Rule.PhotoHeightMm : 100.0);
    check.HeadVerdict = verdict(Rule.Head, check.Head);
    if (Rule.EyeLineMm && Frame.Height > 0) {
        check.EyeLineMm = (Frame.Bottom() - Head.EyeY) / Frame.Height * Rule.PhotoHeightMm;
        check.EyeVerdict = verdict(*Rule.EyeLineMm, *check.EyeLineMm);
    }
    return check;
}

QString HeadSizeText(const THeadCheck& Check, const THeadRule& Rule)
{
    const bool mm = Rule.Unit == TRuleUnit::Millimetres;
    const QString unit = mm ? QStringLiteral("mm") : QStringLiteral("%");
    QString text = mm ? QStringLiteral("Head height %1 mm").arg(number(Check.Head))
                      : QStringLiteral("Head height %1 % of the photo").arg(number(Check.Head));
    switch (Check.HeadVerdict) {
    case THeadVerdict::Within:
        text += QStringLiteral(": within the rule (%1).").arg(range(Rule.Head, unit));
        break;
    case THeadVerdict::TooSmall:
        text += QStringLiteral(": too small, the rule asks for %1.").arg(range(Rule.Head, unit));
        break;
    case THeadVerdict::TooLarge:
        text += QStringLiteral(": too large, the rule asks for %1.").arg(range(Rule.Head, unit));
        break;
    }
    if (Check.EyeLineMm && Check.EyeVerdict != THeadVerdict::Within) {
        const QString where = Check.EyeVerdict == THeadVerdict::TooSmall ? QStringLiteral("too low")
                                                                         : QStringLiteral("too high");
        text += QStringLiteral(" Eyes %1 mm above the bottom: %2, the rule asks for %3.")
                    .arg(number(*Check.EyeLineMm), where, range(*Rule.EyeLineMm, QStringLiteral("mm")));
    }
    return text;
}

TFrame FollowFormat(const TFrame& Frame, const THeadRule& From, const THeadRule& To)
{
    TFrame frame;
    frame.Height = Frame.Height * From.HeadFraction().Mid() / To.HeadFraction().Mid();
    frame.Width = frame.Height * To.Aspect();
    frame.X = Frame.CentreX() - frame.Width / 2;
    const double headRow = Frame.Y + headCentre(From) * Frame.Height;
    frame.Y = headRow - headCentre(To) * frame.Height;
    return frame;
}

double PrintedPixelsPerInch(const TFrame& Frame, const THeadRule& Rule)
{
    return Frame.Width / (Rule.PhotoWidthMm / kMmPerInch);
}

bool HasRuleAspect(const TFrame& Frame, const THeadRule& Rule)
{
    if (!(Frame.Width > 0) || !(Frame.Height > 0))
        return false;
    return std::abs(Frame.Width - Frame.Height * Rule.Aspect()) <= 1.0;
}
