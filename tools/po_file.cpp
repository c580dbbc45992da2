#include "po_file.h"

#include <QSet>
#include <QStringDecoder>

namespace {

class TPoReader {
public:
    TPoReader(const QByteArray& bytes, const QString& fileName) : FFileName(fileName)
    {
        QStringDecoder decoder(QStringDecoder::Utf8);
        FText = decoder.decode(bytes);
        if (decoder.hasError())
            fail(lineOfBadUtf8(bytes), QStringLiteral("the file is not UTF-8 text"));
        if (FText.startsWith(QChar(0xFEFF)))
            FText.remove(0, 1);
        FLines = FText.split(u'\n');
        for (QString& line : FLines)
            if (line.endsWith(u'\r'))
                line.chop(1);
    }

    TPoFile Read();

private:
    [[noreturn]] void fail(int line, const QString& what) const
    {
        throw EPoSyntax(QStringLiteral("%1:%2: %3").arg(FFileName).arg(line).arg(what));
    }

    static int lineOfBadUtf8(const QByteArray& bytes)
    {
        // The first line that does not decode on its own.
        int line = 1;
        for (const QByteArray& l : bytes.split('\n')) {
            QStringDecoder d(QStringDecoder::Utf8);
            const QString decoded = d.decode(l);
            if (d.hasError())
                return line;
            ++line;
        }
        return line;
    }

    QString unquote(const QString& text, int line) const;
    /// The string that starts on line `i` after `keyword`, with its
    /// continuation lines; `i` ends on the last line read.
    QString readString(int& i, qsizetype keywordLength) const;

    QString FFileName;
    QString FText;
    QStringList FLines;
};

QString TPoReader::unquote(const QString& text, int line) const
{
    const QString t = text.trimmed();
    if (!t.startsWith(u'"'))
        fail(line, QStringLiteral("a string in double quotes was expected"));
    // A closing quote escaped by a lone backslash closes nothing.
    const bool escapedEnd = t.endsWith(QLatin1String("\\\"")) && !t.endsWith(QLatin1String("\\\\\""));
    if (t.size() < 2 || !t.endsWith(u'"') || escapedEnd)
        fail(line, QStringLiteral("the string is not closed"));
    QString out;
    for (qsizetype i = 1; i < t.size() - 1; ++i) {
        const QChar c = t[i];
        if (c == u'"')
            fail(line, QStringLiteral("a double quote inside a string must be written \\\""));
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i >= t.size() - 1)
            fail(line, QStringLiteral("the string is not closed"));
        switch (t[i].unicode()) {
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        case 'r': out += u'\r'; break;
        case 'a': out += QChar(7); break;
        case 'b': out += QChar(8); break;
        case 'f': out += QChar(12); break;
        case 'v': out += QChar(11); break;
        case '\\': out += u'\\'; break;
        case '"': out += u'"'; break;
        default:
            fail(line, QStringLiteral("unknown escape \\%1").arg(t[i]));
        }
    }
    return out;
}

QString TPoReader::readString(int& i, qsizetype keywordLength) const
{
    QString value = unquote(FLines[i].trimmed().mid(keywordLength), i + 1);
    while (i + 1 < FLines.size() && FLines[i + 1].trimmed().startsWith(u'"')) {
        ++i;
        value += unquote(FLines[i], i + 1);
    }
    return value;
}

TPoFile TPoReader::Read()
{
    TPoFile po;
    QSet<QString> seen;
    TPoEntry entry;
    enum class TState { Comments, Context, Id, Str } state = TState::Comments;
    bool haveHeader = false;

    const auto finish = [&](int line) {
        if (state != TState::Str) {
            if (state != TState::Comments)
                fail(line, QStringLiteral("the message has no msgstr"));
            return;   // trailing comments only
        }
        if (entry.Id.isEmpty() && entry.Context.isEmpty()) {
            if (haveHeader)
                fail(entry.Line, QStringLiteral("a second header entry (empty msgid)"));
            haveHeader = true;
            po.HeaderComments = entry.TranslatorComments;
            for (const QString& field : entry.Str.split(u'\n', Qt::SkipEmptyParts)) {
                const qsizetype colon = field.indexOf(u':');
                const QString name = field.left(colon).trimmed();
                if (colon < 0 || name.isEmpty())
                    fail(entry.Line, QStringLiteral("header field without a name: %1").arg(field));
                po.Header.append({name, field.mid(colon + 1).trimmed()});
            }
            const QString type = po.HeaderValue(QStringLiteral("Content-Type"));
            if (!type.isEmpty() && !type.contains(QLatin1String("charset=UTF-8"), Qt::CaseInsensitive))
                fail(entry.Line, QStringLiteral("the header names another charset than UTF-8: %1").arg(type));
        } else {
            const QString key = entry.Context + QChar(4) + entry.Id;
            if (seen.contains(key))
                fail(entry.Line, QStringLiteral("message given twice: \"%1\"").arg(entry.Context));
            seen.insert(key);
            po.Entries.append(entry);
        }
        entry = TPoEntry();
        state = TState::Comments;
    };

    for (int i = 0; i < FLines.size(); ++i) {
        const QString line = FLines[i].trimmed();
        const int number = i + 1;
        if (line.isEmpty()) {
            finish(number);
            continue;
        }
        if (line.startsWith(QLatin1String("#~")))
            continue;   // obsolete messages are history, not input
        if (line.startsWith(u'#')) {
            if (state == TState::Str)
                finish(number);
            else if (state != TState::Comments)
                fail(number, QStringLiteral("a comment inside a message"));
            const QString rest = line.mid(2).trimmed();
            if (line.startsWith(QLatin1String("#,"))) {
                for (const QString& flag : rest.split(u',', Qt::SkipEmptyParts))
                    entry.Flags.append(flag.trimmed());
            } else if (line.startsWith(QLatin1String("#."))) {
                entry.ExtractedComments.append(rest);
            } else if (line.startsWith(QLatin1String("#:"))) {
                entry.References.append(rest);
            } else if (!line.startsWith(QLatin1String("#|"))) {
                entry.TranslatorComments.append(line.mid(1).startsWith(u' ') ? line.mid(2) : line.mid(1));
            }
            continue;
        }
        if (line.startsWith(QLatin1String("msgctxt"))) {
            if (state == TState::Str)
                finish(number);
            if (state != TState::Comments)
                fail(number, QStringLiteral("msgctxt out of place"));
            entry.Context = readString(i, 7);
            state = TState::Context;
        } else if (line.startsWith(QLatin1String("msgid_plural"))) {
            fail(number, QStringLiteral("plural forms are not used by language files"));
        } else if (line.startsWith(QLatin1String("msgid"))) {
            if (state == TState::Str)
                finish(number);
            if (state == TState::Id)
                fail(number, QStringLiteral("msgid out of place"));
            entry.Line = number;
            entry.Id = readString(i, 5);
            state = TState::Id;
        } else if (line.startsWith(QLatin1String("msgstr["))) {
            fail(number, QStringLiteral("plural forms are not used by language files"));
        } else if (line.startsWith(QLatin1String("msgstr"))) {
            if (state != TState::Id)
                fail(number, QStringLiteral("msgstr without msgid"));
            entry.Str = readString(i, 6);
            state = TState::Str;
        } else if (line.startsWith(u'"')) {
            fail(number, QStringLiteral("a string continues no keyword"));
        } else {
            fail(number, QStringLiteral("unknown keyword: %1").arg(line.section(u' ', 0, 0)));
        }
    }
    finish(static_cast<int>(FLines.size()));
    return po;
}

QString escaped(const QString& s)
{
    QString out;
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default: out += c;
        }
    }
    return out;
}

void writeString(QString& out, const char* keyword, const QString& value)
{
    out += QLatin1String(keyword);
    // A line per line break, as translators and their tools expect.
    const qsizetype breakAt = value.indexOf(u'\n');
    if (breakAt < 0 || breakAt == value.size() - 1) {
        out += QLatin1String(" \"") + escaped(value) + QLatin1String("\"\n");
        return;
    }
    out += QLatin1String(" \"\"\n");
    qsizetype from = 0;
    while (from < value.size()) {
        qsizetype end = value.indexOf(u'\n', from);
        end = end < 0 ? value.size() : end + 1;
        out += u'"' + escaped(value.mid(from, end - from)) + QLatin1String("\"\n");
        from = end;
    }
}

}  // namespace

QString TPoFile::HeaderValue(const QString& name) const
{
    for (const auto& [key, value] : Header)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

QStringList TPoFile::HeaderValues(const QString& name) const
{
    QStringList values;
    for (const auto& [key, value] : Header)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            values.append(value);
    return values;
}

void TPoFile::SetHeaderValue(const QString& name, const QString& value)
{
    for (auto& field : Header) {
        if (field.first.compare(name, Qt::CaseInsensitive) == 0) {
            field.second = value;
            return;
        }
    }
    Header.append({name, value});
}

TPoFile ParsePo(const QByteArray& bytes, const QString& fileName)
{
    return TPoReader(bytes, fileName).Read();
}

QByteArray WritePo(const TPoFile& po)
{
    QString out;
    for (const QString& c : po.HeaderComments)
        out += QLatin1String("# ") + c + u'\n';
    QString header;
    for (const auto& [key, value] : po.Header)
        header += key + QLatin1String(": ") + value + u'\n';
    out += QLatin1String("msgid \"\"\n");
    writeString(out, "msgstr", header);
    for (const TPoEntry& e : po.Entries) {
        out += u'\n';
        for (const QString& c : e.TranslatorComments)
            out += QLatin1String("# ") + c + u'\n';
        for (const QString& c : e.ExtractedComments)
            out += QLatin1String("#. ") + c + u'\n';
        for (const QString& c : e.References)
            out += QLatin1String("#: ") + c + u'\n';
        if (!e.Flags.isEmpty())
            out += QLatin1String("#, ") + e.Flags.join(QLatin1String(", ")) + u'\n';
        writeString(out, "msgctxt", e.Context);
        writeString(out, "msgid", e.Id);
        writeString(out, "msgstr", e.Str);
    }
    return out.toUtf8();
}
