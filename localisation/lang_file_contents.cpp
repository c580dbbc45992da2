#include "lang_file_contents.h"

#include "code_pages.h"
#include "lang_format.h"
#include "Lang_Storageobj.h"
#include "string_list.h"
#include "file_target.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace LangFile;

namespace {

QString readText(TStorefile& storage, const TTextCodec& codec, std::int32_t* tag = nullptr)
{
    QByteArray bytes;
    const std::int32_t t = storage.ReadString(bytes, true);
    if (tag)
        *tag = t;
    return codec.Decode(bytes);
}

/// A record shorter than four bytes leaves the high bytes 0.
std::int32_t readInteger(TStorefile& storage)
{
    std::int32_t value = 0;
    storage.ReadInteger(value, true);
    return value;
}

TLangText readItem(TStorefile& storage, const TTextCodec& codec)
{
    TLangText item;
    item.Text = readText(storage, codec, &item.Tag);
    return item;
}

/// A revision-0 text applies when it is not empty: it reads as translated.
TLangText legacyItem(TStorefile& storage, const TTextCodec& codec, std::int32_t kind)
{
    TLangText item;
    item.Text = readText(storage, codec);
    item.Tag = item.Text.isEmpty() ? 0 : (kind | translatedBit);
    return item;
}

/// Opens a language file for reading only; a missing name is never created.
bool openForReading(TStorefile& storage, const QString& fileName)
{
    if (!QFileInfo(fileName).isFile())
        return false;
    storage.SetSignature(kSignatureBytes);
    storage.SetReadOnly(true);
    storage.SetFilename(fileName);
    storage.Open();
    return storage.Opened();
}

/// The header value and the character set, read without moving: the code
/// page of every text depends on them.
void readHeaderValue(TStorefile& storage, TLangFileContents& c)
{
    std::int32_t value = 0;
    storage.ReadInteger(value, false);
    const THeader header = DecodeHeader(value);
    c.Revision = header.Revision;
    c.LangId = header.LangId;
    c.Charset = PeekCharset(storage, c.Revision).value_or(Charset::Default);
}

/// Items 1 to 5, from the header value on.
void readHeaderTexts(TStorefile& storage, const TTextCodec& codec, TLangFileContents& c)
{
    storage.Next();
    c.HeaderText1 = readText(storage, codec);
    c.HeaderText2 = readText(storage, codec);
    c.HeaderText3 = readText(storage, codec);
    TStringList lines;
    lines.SetText(readText(storage, codec));
    c.HeaderLines = lines.ToStringList();
    storage.ReadString(c.Flag, true);
}

void readSettings(TStorefile& storage, const TTextCodec& codec, TLangFileContents& c)
{
    c.ProgramVersion = static_cast<std::uint32_t>(readInteger(storage));
    if (c.Revision >= 2) {
        c.SettingsFlag = static_cast<std::uint8_t>(readInteger(storage));
        c.SettingsText1 = readText(storage, codec);
        c.SettingsText2 = readText(storage, codec);
    }
    c.InputMethodName = readText(storage, codec);
    c.FontName = readText(storage, codec);
    c.Charset = readInteger(storage) & 0xFF;
    c.MinFontSize = c.Revision >= 4 ? readInteger(storage) : kAssumedMinFontSize;
}

// Every pass of the entry loops consumes at least the path item, or meets
// the end of the file: they cannot outlast the file.

void readEntries(TStorefile& storage, const TTextCodec& codec, TLangFileContents& c)
{
    while (!storage.Eof()) {
        TLangEntry e;
        e.Path = readText(storage, codec, &e.PathTag);
        if (c.Revision >= 3)
            e.Alignment = readInteger(storage);
        e.Caption = readItem(storage, codec);
        e.Hint = readItem(storage, codec);
        e.Lines = readItem(storage, codec);
        c.Entries.append(e);
    }
}

void readLegacyEntries(TStorefile& storage, const TTextCodec& codec, TLangFileContents& c)
{
    while (!storage.Eof()) {
        TLangEntry e;
        e.Path = readText(storage, codec, &e.PathTag);
        if (LegacyHasCaption(e.PathTag)) {
            e.Caption = legacyItem(storage, codec, textCaption);
            e.Hint = legacyItem(storage, codec, textHint);
        }
        if (LegacyHasLines(e.PathTag))
            e.Lines = legacyItem(storage, codec, textLines);
        c.Entries.append(e);
    }
}

/// One record of the written file.
struct TRecord {
    std::int32_t Tag;
    QByteArray Data;
};

QByteArray int32Bytes(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    return QByteArray(bytes, 4);
}

/// The records of a revision-4 layout, texts encoded.
QList<TRecord> layout(const TLangFileContents& c)
{
    const TTextCodec codec(TextCodePage(c.Charset, c.LangId));
    QList<TRecord> records;
    const auto integer = [&](std::int32_t tag, std::int32_t value) { records.append({tag, int32Bytes(value)}); };
    const auto text = [&](std::int32_t tag, const QString& value) { records.append({tag, codec.Encode(value)}); };
    integer(tagHeader, EncodeHeader(static_cast<std::uint16_t>(c.Revision), c.LangId));
    text(tagHeaderText1, c.HeaderText1);
    text(tagHeaderText2, c.HeaderText2);
    text(tagHeaderText3, c.HeaderText3);
    text(tagHeaderLines, TStringList(c.HeaderLines).Text());
    records.append({tagFlagBitmap, c.Flag});
    integer(tagProgramVersion, static_cast<std::int32_t>(c.ProgramVersion));
    integer(tagSettingsFlag, c.SettingsFlag);
    text(tagSettingsText1, c.SettingsText1);
    text(tagSettingsText2, c.SettingsText2);
    text(tagInputMethodName, c.InputMethodName);
    text(tagFontName, c.FontName);
    integer(tagCharset, c.Charset);
    integer(tagMinFontSize, c.MinFontSize);
    for (const TLangEntry& e : c.Entries) {
        text(tagPathBase + int{e.Caption.Present()} + int{e.Hint.Present()} + int{e.Lines.Present()}, e.Path);
        integer(tagAlignment, e.Alignment);
        text(e.Caption.Tag, e.Caption.Text);
        text(e.Hint.Tag, e.Hint.Text);
        text(e.Lines.Tag, e.Lines.Text);
    }
    return records;
}

/// The system's reason for `error`, read at once: later calls may overwrite errno.
QString reasonOf(int error)
{
    return error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                      : QStringLiteral("the file could not be written");
}

/// Writes the records as `target`.part; the error number of the first
/// failure, or 0 when the part file is complete and on the disk.
int writePart(const QList<TRecord>& records, const QString& target)
{
    TStorefile storage;
    storage.SetSignature(kSignatureBytes);
    storage.SetFilename(target + QStringLiteral(".part"));
    storage.Erase();
    errno = 0;
    storage.Open();
    if (!storage.Opened())
        return errno;
    const QString partName = storage.Filename();
    errno = 0;
    bool complete = true;
    for (qsizetype i = 0; complete && i < records.size(); ++i)
        complete = storage.WriteString(records[i].Tag, records[i].Data) != 0;
    const int error = errno;
    if (!storage.Close() && complete)
        return errno;
    // On the disk before it takes the name: after a crash the name holds the
    // old file or the whole new one, never an empty one.
    if (complete && !SyncFileToDisk(partName))
        return errno;
    return complete ? 0 : error;
}

}  // namespace

int TLangFileContents::CodePage() const
{
    return TextCodePage(Revision == 0 ? Charset::Default : Charset, LangId);
}

TLangFileContents ReadLanguageFile(const QString& fileName)
{
    const auto damaged = [&] { return ELanguageFileDamaged(fileName + QStringLiteral(": the language file is damaged")); };
    if (!QFileInfo(fileName).isFile())
        throw ELanguageFileDamaged(fileName + QStringLiteral(": no such file"));
    TStorefile storage;
    if (!openForReading(storage, fileName))
        throw ELanguageFileDamaged(QStringLiteral("%1: not a language file (no \"%2\" signature)").arg(fileName, kSignature));
    // Everything that would stop a reader half-way is found first: damaged
    // lengths, a truncated tail, missing settings items.
    if (storage.RecordCount() < kHeaderItems || !storage.Verify())
        throw damaged();
    TLangFileContents c;
    readHeaderValue(storage, c);
    const int settingsItems = SettingsItems(c.Revision);
    if (settingsItems < 0)
        throw ELanguageFormat(QStringLiteral("%1: format revision %2 is not supported (0 to %3 are)")
                                  .arg(fileName).arg(c.Revision).arg(kRevision));
    if (storage.RecordCount() < kHeaderItems + settingsItems)
        throw damaged();
    const TTextCodec codec(c.CodePage());
    readHeaderTexts(storage, codec, c);
    if (c.Revision == 0) {
        c.MinFontSize = 0;
        readLegacyEntries(storage, codec, c);
        return c;
    }
    readSettings(storage, codec, c);
    readEntries(storage, codec, c);
    return c;
}

std::optional<TLangFileContents> ReadLanguageFileHeader(const QString& fileName)
{
    TStorefile storage;
    if (!openForReading(storage, fileName))
        return std::nullopt;
    TLangFileContents c;
    readHeaderValue(storage, c);
    const TTextCodec codec(c.CodePage());
    readHeaderTexts(storage, codec, c);
    if (c.Revision >= 1)
        c.ProgramVersion = static_cast<std::uint32_t>(readInteger(storage));
    return c;
}

std::optional<QString> WriteLanguageFile(const TLangFileContents& contents, const QString& fileName)
{
    if (fileName.isEmpty())
        return reasonOf(ENOENT);
    const std::optional<QString> target = FinalLinkTarget(fileName);
    if (!target)
        return reasonOf(errno);
    if (IsWriteProtected(*target))
        return reasonOf(EACCES);
    const QString partName = *target + QStringLiteral(".part");
    int error = writePart(layout(contents), *target);
    if (error == 0) {
        if (std::rename(QFile::encodeName(partName).constData(), QFile::encodeName(*target).constData()) == 0)
            return std::nullopt;
        error = errno;
    }
    QFile::remove(partName);
    return reasonOf(error);
}
