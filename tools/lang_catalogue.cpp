#include "lang_catalogue.h"

#include "code_pages.h"
#include "flag_bitmap.h"
#include "lang_format.h"
#include "Lang_Languages.h"
#include "string_list.h"
#include "flag_art.h"
#include "lang_tool.h"

#include <QHash>
#include <QLocale>

#include <optional>

using namespace LangFile;

namespace LangCatalogue {

namespace {

const QString kLangId = QStringLiteral("X-Quorlo-LangId");
const QString kCharset = QStringLiteral("X-Quorlo-Charset");
const QString kLanguageName = QStringLiteral("X-Quorlo-Language-Name");
const QString kCountryName = QStringLiteral("X-Quorlo-Country-Name");
const QString kInfo = QStringLiteral("X-Quorlo-Info");
const QString kFlag = QStringLiteral("X-Quorlo-Flag");
const QString kFont = QStringLiteral("X-Quorlo-Font");
const QString kMinFontSize = QStringLiteral("X-Quorlo-Min-Font-Size");
const QString kInputMethod = QStringLiteral("X-Quorlo-Input-Method");
const QString kLine = QStringLiteral("X-Quorlo-Line");
const QString kSettingsFlag = QStringLiteral("X-Quorlo-Settings-Flag");
const QString kSettingsText1 = QStringLiteral("X-Quorlo-Settings-Text-1");
const QString kSettingsText2 = QStringLiteral("X-Quorlo-Settings-Text-2");

QStringList splitLines(const QString& text)
{
    TStringList list;
    list.SetText(text);
    QStringList lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.append(list[i]);
    return lines;
}

/// The POSIX name of a LANGID's locale ("fr_FR"); empty when the table has none.
QString localeName(std::uint16_t langId)
{
    for (const TLanguageEntry& entry : LanguageTable())
        if (entry.LangId == langId && *entry.Locale)
            return QLocale(QString::fromLatin1(entry.Locale)).name();
    return {};
}

QString joinLines(const QStringList& lines)
{
    TStringList list;
    for (const QString& l : lines)
        list.Add(l);
    return list.Text();
}

/// One text of a file, under its message context.
struct TItemText {
    QString Context;
    QString Text;
    bool Translated;
};

/// The texts of a file in entry order, lists line by line; empty texts and
/// lines are none.
QList<TItemText> itemTexts(const TLangFileContents& file)
{
    QList<TItemText> texts;
    for (const TLangEntry& e : file.Entries) {
        if (e.Caption.Present())
            texts.append({TextContext(e.Path), e.Caption.Text, IsApplied(e.Caption.Tag)});
        if (e.Hint.Present())
            texts.append({HintContext(e.Path, (e.Hint.Tag & hintShownBit) != 0 || file.Revision == 0), e.Hint.Text,
                          IsApplied(e.Hint.Tag)});
        if (e.Lines.Present()) {
            const QStringList lines = splitLines(e.Lines.Text);
            for (int i = 0; i < lines.size(); ++i)
                if (!lines[i].isEmpty())
                    texts.append({LineContext(e.Path, i), lines[i], IsApplied(e.Lines.Tag)});
        }
    }
    return texts;
}

/// Splits "path|item" at the last bar.
std::pair<QString, QString> splitContext(const QString& context)
{
    const qsizetype bar = context.lastIndexOf(u'|');
    if (bar < 0)
        return {};
    return {context.left(bar), context.mid(bar + 1)};
}

/// Notes every text that the code page cannot hold.
class TCodePageCheck {
public:
    explicit TCodePageCheck(int codePage) : FCodec(codePage) {}

    void operator()(const QString& text, const QString& where)
    {
        // A text fits when it comes back unchanged: anything the code page
        // lacks has been replaced on the way.
        if (fits(text))
            return;
        QString missing;
        for (const QChar c : text)
            if (!fits(QString(c)) && !missing.contains(c))
                missing += c;
        Faults.append(QStringLiteral("%1: \"%2\" does not fit code page %3 (%4)")
                          .arg(where, text, QString::number(FCodec.CodePage()),
                               missing.isEmpty() ? QStringLiteral("surrogate pair") : missing));
    }

    QStringList Faults;

private:
    bool fits(const QString& text) const { return FCodec.Decode(FCodec.Encode(text)) == text; }

    TTextCodec FCodec;
};

int integerField(const TPoFile& po, const QString& field, const QString& poName, int base, int fallback)
{
    const QString text = po.HeaderValue(field);
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const int value = text.toInt(&ok, base);
    if (!ok)
        throw ELangTool(QStringLiteral("%1: header field %2: \"%3\" is not a number").arg(poName, field, text));
    return value;
}

}  // namespace

QString TextContext(const QString& path)
{
    return path + QStringLiteral("|text");
}

QString HintContext(const QString& path, bool shown)
{
    return path + (shown ? QStringLiteral("|shown-hint") : QStringLiteral("|hint"));
}

QString LineContext(const QString& path, int line)
{
    return path + QStringLiteral("|line %1").arg(line);
}

TPoFile MakeTemplate(const TLangFileContents& original)
{
    TPoFile po;
    po.HeaderComments = {QStringLiteral("Quorlo's interface texts, taken from its original-language file."),
                         QStringLiteral("Copy to xx.po, fill in the X-Quorlo fields and every msgstr.")};
    po.Header = {{QStringLiteral("Project-Id-Version"), QStringLiteral("Quorlo ") + VersionText(original.ProgramVersion)},
                 {QStringLiteral("Language"), QString()},
                 {QStringLiteral("MIME-Version"), QStringLiteral("1.0")},
                 {QStringLiteral("Content-Type"), QStringLiteral("text/plain; charset=UTF-8")},
                 {QStringLiteral("Content-Transfer-Encoding"), QStringLiteral("8bit")},
                 {kLangId, QString()},
                 {kCharset, QString::number(original.Charset)},
                 {kLanguageName, QString()},
                 {kCountryName, QString()},
                 {kInfo, QString()},
                 {kFlag, QString()},
                 {kFont, original.FontName},
                 {kMinFontSize, QString::number(original.MinFontSize)}};
    for (const TItemText& t : itemTexts(original)) {
        TPoEntry e;
        e.Context = t.Context;
        e.Id = t.Text;
        po.Entries.append(e);
    }
    return po;
}

TLangFileContents Build(const TPoFile& po, const QString& poName, std::uint32_t programVersion)
{
    TLangFileContents c;
    c.Revision = kRevision;
    const int langId = integerField(po, kLangId, poName, 16, -1);
    if (langId <= 0 || langId > 0xFFFF)
        throw ELangTool(QStringLiteral("%1: the header needs %2, the language identifier in hexadecimal (040C)")
                            .arg(poName, kLangId));
    c.LangId = static_cast<std::uint16_t>(langId);
    c.Charset = integerField(po, kCharset, poName, 10, 1) & 0xFF;
    c.MinFontSize = integerField(po, kMinFontSize, poName, 10, kWrittenMinFontSize);
    c.SettingsFlag = static_cast<std::uint8_t>(integerField(po, kSettingsFlag, poName, 10, 0));
    c.HeaderText1 = po.HeaderValue(kLanguageName);
    c.HeaderText2 = po.HeaderValue(kInfo);
    c.HeaderText3 = po.HeaderValue(kCountryName);
    c.HeaderLines = po.HeaderValues(kLine);
    c.SettingsText1 = po.HeaderValue(kSettingsText1);
    c.SettingsText2 = po.HeaderValue(kSettingsText2);
    c.FontName = po.HeaderValue(kFont);
    c.InputMethodName = po.HeaderValue(kInputMethod);
    if (c.InputMethodName.isEmpty())
        c.InputMethodName = QStringLiteral("%1").arg(c.LangId, 8, 16, QLatin1Char('0')).toUpper();
    c.ProgramVersion = programVersion;
    if (const QString flag = po.HeaderValue(kFlag); !flag.isEmpty()) {
        try {
            c.Flag = BmpBytesOfBitmap(DrawFlag(flag));
        } catch (const ELangTool& e) {
            throw ELangTool(poName + QStringLiteral(": ") + e.Message);
        }
    }

    // Entries in the order their first message appears.
    QList<QString> order;
    QHash<QString, TLangEntry> entries;
    QHash<QString, QStringList> lines;
    QHash<QString, bool> linesTranslated;
    for (const TPoEntry& m : po.Entries) {
        const auto [path, item] = splitContext(m.Context);
        const auto place = [&] { return QStringLiteral("%1:%2: ").arg(poName).arg(m.Line); };
        if (path.isEmpty())
            throw ELangTool(place() + QStringLiteral("the context \"%1\" names no component (path|item)").arg(m.Context));
        if (!entries.contains(path)) {
            order.append(path);
            entries[path].Path = path;
        }
        TLangEntry& e = entries[path];
        const QString text = m.Translated() ? m.Str : m.Id;
        const std::int32_t translated = m.Translated() ? translatedBit : 0;
        if (item == QLatin1String("text")) {
            e.Caption = {textCaption | translated, text};
        } else if (item == QLatin1String("hint") || item == QLatin1String("shown-hint")) {
            e.Hint = {textHint | (item.startsWith(u's') ? hintShownBit : 0) | translated, text};
        } else if (item.startsWith(QLatin1String("line "))) {
            bool ok = false;
            const int index = item.mid(5).toInt(&ok);
            if (!ok || index < 0 || index > 9999)
                throw ELangTool(place() + QStringLiteral("\"%1\" is no line number").arg(item));
            QStringList& l = lines[path];
            while (l.size() <= index)
                l.append(QString());
            l[index] = text;
            linesTranslated[path] = linesTranslated.value(path) || m.Translated();
        } else {
            throw ELangTool(place() + QStringLiteral("unknown item \"%1\" (text, hint, shown-hint, line N)").arg(item));
        }
    }
    for (const QString& path : order) {
        TLangEntry e = entries[path];
        if (lines.contains(path))
            e.Lines = {textLines | (linesTranslated[path] ? translatedBit : 0), joinLines(lines[path])};
        c.Entries.append(e);
    }
    return c;
}

TPoFile Dump(const TLangFileContents& file, const TLangFileContents* original)
{
    QHash<QString, QString> sources;
    if (original)
        for (const TItemText& t : itemTexts(*original))
            sources.insert(t.Context, t.Text);

    TPoFile po;
    po.Header = {{QStringLiteral("Project-Id-Version"), QStringLiteral("Quorlo ") + VersionText(file.ProgramVersion)},
                 {QStringLiteral("Language"), localeName(file.LangId)},
                 {QStringLiteral("MIME-Version"), QStringLiteral("1.0")},
                 {QStringLiteral("Content-Type"), QStringLiteral("text/plain; charset=UTF-8")},
                 {QStringLiteral("Content-Transfer-Encoding"), QStringLiteral("8bit")},
                 {kLangId, QStringLiteral("%1").arg(file.LangId, 4, 16, QLatin1Char('0')).toUpper()},
                 {kCharset, QString::number(file.Charset)},
                 {kLanguageName, file.HeaderText1},
                 {kCountryName, file.HeaderText3},
                 {kInfo, file.HeaderText2},
                 {kFlag, file.Flag.isEmpty() ? QString() : DescribeFlag(BitmapFromBmpBytes(file.Flag))},
                 {kFont, file.FontName},
                 {kMinFontSize, QString::number(file.MinFontSize)}};
    if (file.InputMethodName != QStringLiteral("%1").arg(file.LangId, 8, 16, QLatin1Char('0')).toUpper())
        po.Header.append({kInputMethod, file.InputMethodName});
    if (file.SettingsFlag != 0)
        po.Header.append({kSettingsFlag, QString::number(file.SettingsFlag)});
    if (!file.SettingsText1.isEmpty())
        po.Header.append({kSettingsText1, file.SettingsText1});
    if (!file.SettingsText2.isEmpty())
        po.Header.append({kSettingsText2, file.SettingsText2});
    for (const QString& line : file.HeaderLines)
        po.Header.append({kLine, line});

    for (const TItemText& t : itemTexts(file)) {
        TPoEntry e;
        e.Context = t.Context;
        if (!t.Translated) {
            e.Id = t.Text;
        } else if (const auto source = sources.constFind(t.Context); source != sources.constEnd()) {
            e.Id = *source;
            e.Str = t.Text;
        } else {
            e.Id = t.Text;
            e.Str = t.Text;
            e.Fuzzy = true;
            e.TranslatorComments = {QStringLiteral("The original-language file has no such text.")};
        }
        po.Entries.append(e);
    }
    return po;
}

QStringList TextsOutsideCodePage(const TLangFileContents& file)
{
    TCodePageCheck check(TextCodePage(file.Charset, file.LangId));
    check(file.HeaderText1, QStringLiteral("header text 1"));
    check(file.HeaderText2, QStringLiteral("header text 2"));
    check(file.HeaderText3, QStringLiteral("header text 3"));
    check(joinLines(file.HeaderLines), QStringLiteral("header lines"));
    check(file.SettingsText1, QStringLiteral("settings text 1"));
    check(file.SettingsText2, QStringLiteral("settings text 2"));
    check(file.InputMethodName, QStringLiteral("input method name"));
    check(file.FontName, QStringLiteral("font name"));
    for (const TLangEntry& e : file.Entries) {
        check(e.Path, e.Path);
        check(e.Caption.Text, TextContext(e.Path));
        check(e.Hint.Text, HintContext(e.Path, (e.Hint.Tag & hintShownBit) != 0));
        check(e.Lines.Text, e.Path + QStringLiteral("|line"));
    }
    return check.Faults;
}

QStringList Check(const TLangFileContents& file, const TLangFileContents& original)
{
    QHash<QString, TItemText> have;
    for (const TItemText& t : itemTexts(file))
        have.insert(t.Context, t);
    QHash<QString, QString> wanted;
    QStringList report;
    for (const TItemText& t : itemTexts(original)) {
        wanted.insert(t.Context, t.Text);
        const auto it = have.constFind(t.Context);
        if (it == have.constEnd() || !it->Translated)
            report.append(QStringLiteral("missing: %1 \"%2\"").arg(t.Context, t.Text));
    }
    for (const TItemText& t : itemTexts(file)) {
        if (!wanted.contains(t.Context))
            report.append(QStringLiteral("stale: %1 \"%2\": the program has no such text").arg(t.Context, t.Text));
        else if (!t.Translated && t.Text != wanted[t.Context])
            report.append(QStringLiteral("stale: %1 \"%2\" is now \"%3\"").arg(t.Context, t.Text, wanted[t.Context]));
    }
    return report;
}

}  // namespace LangCatalogue
