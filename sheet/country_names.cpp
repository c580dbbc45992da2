#include "country_names.h"

#include "messages.h"

#include <QLocale>

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace {

QString fromIcu(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

QString countryNameIn(std::string_view code, const QByteArray& language)
{
    const std::string region = "und_" + std::string(code);
    icu::UnicodeString name;
    icu::Locale(region.c_str()).getDisplayCountry(icu::Locale(language.constData()), name);
    return fromIcu(name);
}

// Letters alone, in lower case and without accents, so that "mexico" finds
// "México" and "kanada" finds "Kanada".
QString plain(const QString& text)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.isLetterOrNumber())
            out += c.toLower();
    return out;
}

}  // namespace

QString CountryName(std::string_view Code)
{
    // The language switch makes the interface's locale the default one.
    const QString name = countryNameIn(Code, QLocale().name().toLatin1());
    const QString code = QString::fromLatin1(Code.data(), static_cast<qsizetype>(Code.size()));
    // ICU answers a code it does not know with the code itself.
    return name.isEmpty() ? code : name;
}

QString DocumentName(const TDocument& Document)
{
    return MessageText(Msg::kDocumentName).arg(CountryName(Document.Country), MessageText(Document.Name));
}

QString EditsRefusedText(const TDocument& Document)
{
    return MessageText(Msg::kEditsRefused).arg(DocumentName(Document));
}

QString DocumentNameOf(const THeadRule& Rule)
{
    return Rule.Document ? DocumentName(*Rule.Document) : QString();
}

bool DocumentMatches(const TDocument& Document, const QString& Text)
{
    const QString wanted = plain(Text);
    if (wanted.isEmpty())
        return true;
    const auto fromView = [](std::string_view v) { return QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size())); };
    const QString country = fromView(Document.Country);
    for (const QString& said : {CountryName(Document.Country), countryNameIn(Document.Country, "en"),
                                MessageText(Document.Name), QString::fromUtf8(Document.Name)}) {
        if (plain(said).contains(wanted))
            return true;
    }
    return plain(country) == wanted || plain(fromView(Document.Id)).startsWith(wanted);
}
