#include "format_list.h"

#include "country_names.h"
#include "digital_photo.h"
#include "documents.h"
#include "messages.h"

#include <QLocale>
#include <QStringList>

namespace {

QString viewText(std::string_view v)
{
    return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
}

QString number(double value)
{
    return QLocale().toString(value, 'g', 6);
}

QString rangeText(const TRange& r, TRuleUnit unit)
{
    return QStringLiteral("%1\u2013%2 %3")
        .arg(number(r.Min), number(r.Max), unit == TRuleUnit::Millimetres ? QStringLiteral("mm") : QStringLiteral("%"));
}

QString documentLine(const TDocument& d)
{
    QString head = MessageText(Msg::kListHead).arg(rangeText(d.Head, d.Unit));
    if (d.Crown == TCrown::TopOfSkull)
        head = MessageText(Msg::kListToSkull).arg(head);
    if (d.EyeLine)
        head += QStringLiteral(", ") + MessageText(Msg::kListEyes).arg(rangeText(*d.EyeLine, d.Unit));
    QStringList colours;
    for (TBackdrop backdrop : AcceptedBackdrops(d))
        colours << MessageText(BackdropName(backdrop));
    QString online = QStringLiteral("\u2013");
    if (d.Online)
        online = DigitalSizeText({{}, d.Online->Width, d.Online->Height, d.Online->MinBytes, d.Online->MaxBytes});
    const QString size = QStringLiteral("%1 \u00d7 %2 mm").arg(number(d.WidthMm), number(d.HeightMm));
    return QStringLiteral("  %1 %2 %3 %4 %5\n")
        .arg(viewText(d.Id).leftJustified(20), size.leftJustified(17), head.leftJustified(32),
             colours.join(QStringLiteral(", ")).leftJustified(36), online);
}

}  // namespace

QString FormatListText(const QString& Country)
{
    QString text;
    QString country;
    for (const TDocument& d : Documents()) {
        const QString code = viewText(d.Country);
        if (!Country.isEmpty() && code.compare(Country, Qt::CaseInsensitive) != 0)
            continue;
        if (code != country) {
            country = code;
            text += QStringLiteral("%1 (%2)\n").arg(CountryName(d.Country), code);
        }
        text += documentLine(d);
    }
    if (text.isEmpty())
        throw ESheetUsage(MessageText(Msg::kListNoCountry).arg(Country));
    return text;
}

QString RefusedEditWarning(const TSheetOptions& Options)
{
    if (!Options.Background)
        return {};
    const THeadRule rule = Options.Digital ? DigitalHeadRule(*Options.Digital) : OptionsRule(Options);
    if (!rule.Document || rule.Document->Edits != TEdits::Refused)
        return {};
    return EditsRefusedText(*rule.Document);
}
