#include "po_file.h"

#include <QSet>
#include <QStringDecoder>

#include <gettext-po.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <type_traits>

#include <sys/mman.h>
#include <unistd.h>

namespace {

QString located(const QString& fileName, int line, const QString& reason)
{
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(reason)
                    : QStringLiteral("%1: %2").arg(fileName, reason);
}

// ---- What the library reports ----

/// The reports of the read in progress. The library's handlers take no
/// context of their own, so they find it here: it is set for every read
/// they are given to.
struct TReports {
    QString FileName;
    std::optional<QString> First;
};
thread_local TReports* tReports = nullptr;

class TReportsScope {
public:
    explicit TReportsScope(TReports& reports) : FSaved(tReports) { tReports = &reports; }
    ~TReportsScope() { tReports = FSaved; }
    TReportsScope(const TReportsScope&) = delete;
    TReportsScope& operator=(const TReportsScope&) = delete;

private:
    TReports* FSaved;
};

void report(int severity, const char* filename, std::size_t lineno, const char* text)
{
    if (severity == PO_SEVERITY_WARNING)
        return;
    const int line = filename && lineno != static_cast<std::size_t>(-1) ? static_cast<int>(lineno) : 0;
    const QString message = located(tReports->FileName, line, QString::fromLocal8Bit(text).simplified());
    // The library must not get control back after a fatal error: the read
    // ends here, and what the library had allocated for it is lost with it.
    if (severity == PO_SEVERITY_FATAL_ERROR)
        throw EPoSyntax(message);
    // Later errors are mostly the reader finding its feet again.
    if (!tReports->First)
        tReports->First = message;
}

void onProblem(int severity, po_message_t, const char* filename, std::size_t lineno, std::size_t, int,
               const char* text)
{
    report(severity, filename, lineno, text);
}

/// A message given twice: the second place is the one to change.
void onTwoProblems(int severity, po_message_t, const char* filename, std::size_t lineno, std::size_t, int,
                   const char* text, po_message_t, const char*, std::size_t, std::size_t, int, const char*)
{
    report(severity, filename, lineno, text);
}

const po_xerror_handler kHandler = {onProblem, onTwoProblems};

// ---- Reading through the library ----

/// The library reads only named files: the bytes reach it as an anonymous
/// file in memory, named through its descriptor, and nothing touches the disk.
class TMemoryFile {
public:
    explicit TMemoryFile(const QByteArray& bytes) : FFd(::memfd_create("po", MFD_CLOEXEC))
    {
        if (FFd < 0)
            FError = errno;
        for (qsizetype done = 0; FFd >= 0 && done < bytes.size();) {
            const ssize_t n = ::write(FFd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
            if (n > 0)
                done += n;
            else if (n == 0 || errno != EINTR)
                fail();
        }
    }
    ~TMemoryFile()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TMemoryFile(const TMemoryFile&) = delete;
    TMemoryFile& operator=(const TMemoryFile&) = delete;

    /// Empty when the file could not be made.
    QByteArray Name() const { return FFd >= 0 ? "/proc/self/fd/" + QByteArray::number(FFd) : QByteArray(); }
    /// Why it could not be made.
    int Error() const { return FError; }

private:
    void fail()
    {
        FError = errno != 0 ? errno : EIO;
        ::close(FFd);
        FFd = -1;
    }

    int FFd;
    int FError = 0;
};

using TLibraryFile = std::unique_ptr<std::remove_pointer_t<po_file_t>, decltype(&po_file_free)>;

/// The file as the library reads it; raises the first error it reports.
TLibraryFile readWithLibrary(const QByteArray& bytes, const QString& fileName)
{
    const TMemoryFile file(bytes);
    if (file.Name().isEmpty())
        throw EPoSyntax(located(fileName, 0, QString::fromLocal8Bit(std::strerror(file.Error()))));
    TReports reports{fileName, std::nullopt};
    const TReportsScope scope(reports);
    TLibraryFile po(po_file_read(file.Name().constData(), &kHandler), po_file_free);
    if (!po)
        throw EPoSyntax(located(fileName, 0, QStringLiteral("the file cannot be read")));
    if (reports.First)
        throw EPoSyntax(*reports.First);
    return po;
}

// ---- Lines of messages ----

bool isWordByte(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

/// How often `keyword` stands as a word in one line, outside strings.
int keywordsInLine(QByteArrayView line, QByteArrayView keyword)
{
    int count = 0;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i] == '"') {
            for (++i; i < line.size() && line[i] != '"'; ++i)
                i += line[i] == '\\' ? 1 : 0;
            ++i;
        } else if (isWordByte(line[i])) {
            const qsizetype start = i;
            while (i < line.size() && isWordByte(line[i]))
                ++i;
            count += line.sliced(start, i - start) == keyword ? 1 : 0;
        } else {
            ++i;
        }
    }
    return count;
}

/// The line of every `keyword` in the file, in order. The library keeps no
/// position of a message that a caller can ask for, so a message gets the
/// line of its msgid here: strings and comments are passed over, except the
/// "#~" lines of obsolete messages, which the library reads as messages too.
QList<int> keywordLines(const QByteArray& text, QByteArrayView keyword)
{
    QList<int> lines;
    int number = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++number;
        QByteArrayView line = QByteArrayView(raw).trimmed();
        if (line.startsWith('#')) {
            if (!line.startsWith("#~") || line.startsWith("#~|"))
                continue;
            line = line.sliced(2);
        }
        for (int n = keywordsInLine(line, keyword); n > 0; --n)
            lines.append(number);
    }
    return lines;
}

// ---- From the library's messages to TPoFile ----

class TPoConverter {
public:
    TPoConverter(const QString& fileName, QList<int> lines) : FFileName(fileName), FLines(std::move(lines)) {}

    TPoFile Convert(po_file_t file);

private:
    [[noreturn]] void fail(int line, const QString& what) const { throw EPoSyntax(located(FFileName, line, what)); }
    QString text(const char* bytes, int line) const;
    QStringList commentLines(const char* comments, int line) const;
    void takeHeader(po_message_t message, int line, TPoFile& po) const;
    void takeEntry(po_message_t message, int line, TPoFile& po);

    QString FFileName;
    QList<int> FLines;
    QSet<QString> FSeen;
};

TPoFile TPoConverter::Convert(po_file_t file)
{
    TPoFile po;
    const std::unique_ptr<std::remove_pointer_t<po_message_iterator_t>, decltype(&po_message_iterator_free)>
        messages(po_message_iterator(file, nullptr), po_message_iterator_free);
    for (qsizetype i = 0; po_message_t message = po_next_message(messages.get()); ++i) {
        const int line = FLines.value(i);
        if (po_message_is_obsolete(message))
            continue;   // history, not input
        if (po_message_msgid_plural(message))
            fail(line, QStringLiteral("plural forms are not used by language files"));
        if (!po_message_msgctxt(message) && !*po_message_msgid(message))
            takeHeader(message, line, po);
        else
            takeEntry(message, line, po);
    }
    return po;
}

/// Strings are UTF-8 whatever the header says; a header without a charset
/// leaves them unchecked by the library.
QString TPoConverter::text(const char* bytes, int line) const
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString decoded = decoder.decode(QByteArrayView(bytes));
    if (decoder.hasError())
        fail(line, QStringLiteral("the file is not UTF-8 text"));
    return decoded;
}

/// The library's comments end every line with a line break; a file with
/// CR LF line ends leaves the CR before it.
QStringList TPoConverter::commentLines(const char* comments, int line) const
{
    QStringList lines = text(comments, line).split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString& l : lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    return lines;
}

void TPoConverter::takeHeader(po_message_t message, int line, TPoFile& po) const
{
    po.HeaderComments = commentLines(po_message_comments(message), line);
    for (const QString& field : text(po_message_msgstr(message), line).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype colon = field.indexOf(u':');
        const QString name = field.left(colon).trimmed();
        if (colon < 0 || name.isEmpty())
            fail(line, QStringLiteral("header field without a name: %1").arg(field));
        po.Header.append({name, field.mid(colon + 1).trimmed()});
    }
    const QString type = po.HeaderValue(QStringLiteral("Content-Type"));
    if (!type.isEmpty() && !type.contains(QLatin1String("charset=UTF-8"), Qt::CaseInsensitive))
        fail(line, QStringLiteral("the header names another charset than UTF-8: %1").arg(type));
}

void TPoConverter::takeEntry(po_message_t message, int line, TPoFile& po)
{
    TPoEntry entry;
    entry.TranslatorComments = commentLines(po_message_comments(message), line);
    entry.Fuzzy = po_message_is_fuzzy(message) != 0;
    if (const char* context = po_message_msgctxt(message))
        entry.Context = text(context, line);
    entry.Id = text(po_message_msgid(message), line);
    entry.Str = text(po_message_msgstr(message), line);
    entry.Line = line;
    // The library tells a message without msgctxt from one with an empty
    // msgctxt; a language file does not.
    const QString key = entry.Context + QChar(4) + entry.Id;
    if (FSeen.contains(key))
        fail(line, QStringLiteral("message given twice: \"%1\"").arg(entry.Context));
    FSeen.insert(key);
    po.Entries.append(entry);
}

// ---- Writing ----

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

// GNU gettext's PO reader (0.21) loses its lexer's state and the message
// contexts of every file it reads, however the file is freed. Every program
// that reads PO files tells the leak checker of the sanitized builds so; the
// function is never called in the others.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libgettextpo.so\n";
}

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

TPoFile ParsePo(const QByteArray& bytes, const QString& fileName)
{
    // Editors may start a UTF-8 file with a byte order mark; the library
    // takes it for a syntax error.
    const QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    // The library's strings end at a NUL byte: such a file would be read short.
    if (const qsizetype nul = text.indexOf('\0'); nul >= 0)
        throw EPoSyntax(located(fileName, static_cast<int>(text.left(nul).count('\n')) + 1,
                                QStringLiteral("the file holds a NUL byte")));
    const TLibraryFile file = readWithLibrary(text, fileName);
    for (const char* const* domain = po_file_domains(file.get()); domain && *domain; ++domain)
        if (std::strcmp(*domain, "messages") != 0)
            throw EPoSyntax(located(fileName, keywordLines(text, "domain").value(0),
                                    QStringLiteral("domains are not used by language files")));
    return TPoConverter(fileName, keywordLines(text, "msgid")).Convert(file.get());
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
        if (e.Fuzzy)
            out += QLatin1String("#, fuzzy\n");
        writeString(out, "msgctxt", e.Context);
        writeString(out, "msgid", e.Id);
        writeString(out, "msgstr", e.Str);
    }
    return out.toUtf8();
}
