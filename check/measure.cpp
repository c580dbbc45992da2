#include "measure.h"

#include "interface_numbers.h"
#include "messages.h"

#include <algorithm>
#include <cmath>

namespace {

// Numbers of limits print as they are written in the table ("0.15", "300"):
// the same in the JSON of every language; the tip beside a measure writes
// them as the interface language does.
QString number(double value, bool localised)
{
    return localised ? FormatNumber(value, -1) : QString::number(value, 'g', 6);
}

QString bandText(const TBand& band, const char* unit, bool localised)
{
    const QString u = unit && *unit ? (QLatin1String(unit) == QLatin1String("°") ? QString::fromUtf8(unit)
                                                                                 : u' ' + QString::fromUtf8(unit))
                                    : QString();
    if (std::isinf(band.Low) && std::isinf(band.High))
        return QString();
    if (std::isinf(band.Low))
        return QStringLiteral("≤ ") + number(band.High, localised) + u;
    if (std::isinf(band.High))
        return QStringLiteral("≥ ") + number(band.Low, localised) + u;
    if (band.Low == -band.High)
        return QStringLiteral("± ") + number(band.High, localised) + u;
    if (band.Low == band.High)
        return number(band.Low, localised) + u;
    return number(band.Low, localised) + u'-' + number(band.High, localised) + u;
}

}  // namespace

TDirection TMeasureRow::Direction() const
{
    if (std::isinf(Pass.Low) && !FromRule)
        return TDirection::AtMost;
    if (std::isinf(Pass.High) && !FromRule)
        return TDirection::AtLeast;
    return TDirection::Within;
}

const TMeasureRow* FindMeasureRow(QStringView Id)
{
    for (const TMeasureRow& row : MeasureTable())
        if (Id == QLatin1String(row.Id.data(), static_cast<qsizetype>(row.Id.size())))
            return &row;
    return nullptr;
}

const char* VerdictName(TVerdict Verdict)
{
    switch (Verdict) {
    case TVerdict::Pass:
        return "pass";
    case TVerdict::Warn:
        return "warn";
    case TVerdict::Fail:
        return "fail";
    }
    return "fail";
}

int CountVerdict(const TMeasures& Measures, TVerdict Verdict)
{
    return static_cast<int>(
        std::count_if(Measures.begin(), Measures.end(), [&](const TMeasure& m) { return m.Verdict == Verdict; }));
}

TVerdict Judge(double Value, const TBand& Pass, const TBand& LookAt)
{
    if (Pass.Contains(Value))
        return TVerdict::Pass;
    return LookAt.Contains(Value) ? TVerdict::Warn : TVerdict::Fail;
}

QString BandText(const TBand& Band, const char* Unit)
{
    return bandText(Band, Unit, false);
}

QString MeasureDescription(const TMeasure& Measure)
{
    if (!Measure.Row)
        return Measure.Text;
    const TMeasureRow& row = *Measure.Row;
    const char* unit = Measure.Unit;
    QString value = MessageText(Msg::kNotJudged);
    if (Measure.Value) {
        value = FormatNumber(*Measure.Value, -1);
        if (unit && *unit)
            value += (QLatin1String(unit) == QLatin1String("°") ? QString() : QStringLiteral(" ")) + QString::fromUtf8(unit);
    }
    const QString pass = bandText(Measure.Pass, unit, true);
    const QString source = Measure.Source.isEmpty() ? MessageText(row.Source) : Measure.Source;
    if (Measure.LookAt == Measure.Pass)
        return MessageText(Msg::kMeasureTipNoBand).arg(MessageText(row.Name), value, pass, source);
    return MessageText(Msg::kMeasureTip).arg(MessageText(row.Name), value, pass, bandText(Measure.LookAt, unit, true),
                                             source);
}
