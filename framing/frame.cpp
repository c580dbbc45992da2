#include "frame.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMmPerInch = 25.4;

// Where the middle of the head sits, as a fraction of the frame's height from
// the top. With an eye-line rule the head hangs from its eyes at the middle
// of the eye band; with a top margin, from its crown at the middle of the
// margin; with neither, half way down: equal space above the crown and below
// the chin.
double headCentre(const THeadRule& rule)
{
    if (const std::optional<TRange> eye = rule.EyeLineFraction())
        return (1 - eye->Mid()) + (0.5 - kEyeDepth) * rule.HeadFraction().Mid();
    if (const std::optional<TRange> top = rule.TopMarginFraction())
        return top->Mid() + rule.HeadFraction().Mid() / 2;
    return 0.5;
}

// The head as the rule measures it. A rule that measures to the top of the
// skull leaves the hair's volume out: its crown lies as far above the eyes as
// kEyeDepth puts it, never above the measured top of the head.
THead headForRule(const THead& head, const THeadRule& rule)
{
    if (rule.Crown != TCrown::TopOfSkull)
        return head;
    THead skull = head;
    const double skullTop = head.EyeY - (head.ChinY - head.EyeY) * kEyeDepth / (1 - kEyeDepth);
    skull.CrownY = std::max(head.CrownY, skullTop);
    return skull;
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

// By THeadVerdict: too small, within, too large.
const char* const kHeadMm[] = {
    "Head height %1 mm: too small, the rule asks for %2.",
    "Head height %1 mm: within the rule (%2).",
    "Head height %1 mm: too large, the rule asks for %2.",
};
const char* const kHeadPercent[] = {
    "Head height %1 % of the photo: too small, the rule asks for %2.",
    "Head height %1 % of the photo: within the rule (%2).",
    "Head height %1 % of the photo: too large, the rule asks for %2.",
};
const char kEyesTooLow[] = "Eyes %1 mm above the bottom: too low, the rule asks for %2.";
const char kEyesTooHigh[] = "Eyes %1 mm above the bottom: too high, the rule asks for %2.";

QString wording(const TWording& lookup, const char* original)
{
    const QString text = QString::fromLatin1(original);
    return lookup ? lookup(text) : text;
}

QString number(double value)
{
    // In the decimal style of the interface's language.
    return QLocale().toString(shown(value), 'f', 1);
}

QString range(const TRange& r, const QString& unit)
{
    return QStringLiteral("%1-%2 %3").arg(r.Min).arg(r.Max).arg(unit);
}

}  // namespace

QStringList FramingWindowTexts()
{
    QStringList texts = FramingTexts();
    texts.removeOne(QString::fromLatin1(kSeveralHeadsText));
    texts << QString::fromLatin1(kNoHeadText) << QString::fromLatin1(kLowResolutionText)
          << QString::fromLatin1(kSeveralHeadsText) << QString::fromLatin1(kNoPersonText);
    return texts;
}

namespace {

TWording& framingTextSource()
{
    static TWording source;
    return source;
}

}  // namespace

void SetFramingTextSource(TWording Source)
{
    framingTextSource() = std::move(Source);
}

QString FramingText(const QString& Original)
{
    const TWording& source = framingTextSource();
    return source ? source(Original) : Original;
}

QStringList FramingTexts()
{
    QStringList texts;
    for (const char* t : kHeadMm)
        texts << QString::fromLatin1(t);
    for (const char* t : kHeadPercent)
        texts << QString::fromLatin1(t);
    texts << QString::fromLatin1(kEyesTooLow) << QString::fromLatin1(kEyesTooHigh)
          << QString::fromLatin1(kNoFaceText) << QString::fromLatin1(kSeveralFacesText)
          << QString::fromLatin1(kSeveralHeadsText);
    return texts;
}

THead WithLines(const THead& Head, const THeadLines& Lines)
{
    THead head = Head;
    head.CrownY = Lines.CrownY;
    head.ChinY = Lines.ChinY;
    return head;
}

TGuides GuidesFor(const THeadRule& Rule)
{
    const double c = headCentre(Rule);
    const TRange head = Rule.HeadFraction();
    TGuides guides{{c - head.Max / 2, c - head.Min / 2}, {c + head.Min / 2, c + head.Max / 2}, std::nullopt};
    if (const std::optional<TRange> eye = Rule.EyeLineFraction())
        guides.EyeBand = TRange{1 - eye->Max, 1 - eye->Min};
    return guides;
}

std::optional<TFrame> FrameForHead(const THead& Measured, const THeadRule& Rule)
{
    const THead head = headForRule(Measured, Rule);
    if (!(head.Height() > 0))
        return std::nullopt;
    TFrame frame;
    frame.Height = head.Height() / Rule.HeadFraction().Mid();
    frame.Width = frame.Height * Rule.Aspect();
    frame.X = head.CentreX - frame.Width / 2;
    if (const std::optional<TRange> eye = Rule.EyeLineFraction())
        frame.Y = head.EyeY - (1 - eye->Mid()) * frame.Height;
    else
        frame.Y = (head.CrownY + head.ChinY) / 2 - headCentre(Rule) * frame.Height;
    return frame;
}

THeadCheck CheckHead(const TFrame& Frame, const THead& Measured, const THeadRule& Rule)
{
    const THead head = headForRule(Measured, Rule);
    THeadCheck check;
    const double fraction = Frame.Height > 0 ? head.Height() / Frame.Height : 0;
    check.Head = fraction * (Rule.Unit == TRuleUnit::Millimetres ? Rule.PhotoHeightMm : 100.0);
    check.HeadVerdict = verdict(Rule.Head, check.Head);
    if (Rule.EyeLineMm && Frame.Height > 0) {
        check.EyeLineMm = (Frame.Bottom() - head.EyeY) / Frame.Height * Rule.PhotoHeightMm;
        check.EyeVerdict = verdict(*Rule.EyeLineMm, *check.EyeLineMm);
    }
    return check;
}

QString HeadSizeText(const THeadCheck& Check, const THeadRule& Rule, const TWording& Wording)
{
    const bool mm = Rule.Unit == TRuleUnit::Millimetres;
    const int verdict = static_cast<int>(Check.HeadVerdict);
    const char* const* templates = mm ? kHeadMm : kHeadPercent;
    QString text = wording(Wording, templates[verdict])
                       .arg(number(Check.Head), range(Rule.Head, mm ? QStringLiteral("mm") : QStringLiteral("%")));
    if (Check.EyeLineMm && Check.EyeVerdict != THeadVerdict::Within) {
        const char* eyes = Check.EyeVerdict == THeadVerdict::TooSmall ? kEyesTooLow : kEyesTooHigh;
        text += u' ';
        text += wording(Wording, eyes).arg(number(*Check.EyeLineMm), range(*Rule.EyeLineMm, QStringLiteral("mm")));
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
