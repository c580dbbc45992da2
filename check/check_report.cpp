#include "check_report.h"

#include "messages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

const char* verdictMark(TVerdict verdict)
{
    switch (verdict) {
    case TVerdict::Pass:
        return "ok";
    case TVerdict::Warn:
        return "look";
    case TVerdict::Fail:
        return "FAIL";
    }
    return "FAIL";
}

}  // namespace

QString CheckSummary(const TMeasures& Measures)
{
    // No face: the one line says so, as it stands.
    if (Measures.size() == 1 && Measures.front().Id == QLatin1String("one_face"))
        return Measures.front().Text;
    const int failing = CountVerdict(Measures, TVerdict::Fail);
    const int looking = CountVerdict(Measures, TVerdict::Warn);
    if (failing > 0)
        return MessageText(Msg::kFailing).arg(failing).arg(looking);
    if (looking > 0)
        return MessageText(Msg::kToLookAt).arg(looking);
    return MessageText(Msg::kAllPassed);
}

QString CheckTable(const TMeasures& Measures)
{
    int idWidth = 0;
    int limitWidth = 0;
    for (const TMeasure& m : Measures) {
        idWidth = std::max(idWidth, static_cast<int>(m.Id.size()));
        limitWidth = std::max(limitWidth, static_cast<int>(m.Limit.size()));
    }
    QString table;
    for (const TMeasure& m : Measures)
        table += QStringLiteral("%1  %2  %3  %4  %5\n")
                     .arg(QLatin1String(verdictMark(m.Verdict)), -4)
                     .arg(m.Id, -idWidth)
                     .arg(m.Value ? QString::number(*m.Value, 'g', 6) : QStringLiteral("—"), 7)
                     .arg(m.Limit, -limitWidth)
                     .arg(m.Text);
    return table;
}

QByteArray CheckJson(const TMeasures& Measures, const THead* Head, TCrownSource Crown)
{
    QJsonArray measures;
    for (const TMeasure& m : Measures)
        measures.append(QJsonObject{{QStringLiteral("id"), m.Id},
                                    {QStringLiteral("value"), m.Value ? QJsonValue(*m.Value) : QJsonValue()},
                                    {QStringLiteral("limit"), m.Limit},
                                    {QStringLiteral("verdict"), QLatin1String(VerdictName(m.Verdict))},
                                    {QStringLiteral("text"), m.Text},
                                    {QStringLiteral("source"), m.Source}});
    QJsonObject root{{QStringLiteral("measures"), measures}};
    QJsonValue head(QJsonValue::Null);
    if (Head) {
        QJsonObject lines{{QStringLiteral("crown_y"), Head->CrownY},
                          {QStringLiteral("chin_y"), Head->ChinY},
                          {QStringLiteral("eye_y"), Head->EyeY},
                          {QStringLiteral("crown_source"), QLatin1String(CrownSourceName(Crown))}};
        if (IsEstimated(Crown))
            lines.insert(QStringLiteral("crown_reason"), QLatin1String(CrownReasonName(Crown)));
        head = lines;
    }
    root.insert(QStringLiteral("head"), head);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
