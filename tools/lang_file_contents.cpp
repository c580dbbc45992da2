#include "lang_file_contents.h"

#include "Lang_CodePages.h"
#include "Lang_Format.h"
#include "Lang_Storageobj.h"
#include "TStringList.h"

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

void readLegacyEntries(TStorefile& storage, const TTextCodec& codec, TLangFileContents& c)
{
    while (!storage.Eof()) {
        TLangEntry e;
        e.Path = readText(storage, codec, &e.PathTag);
        if ((e.PathTag >= 6 && e.PathTag <= 11) || e.PathTag == 13) {
            e.Caption = legacyItem(storage, codec, textCaption);
            e.Hint = legacyItem(storage, codec, textHint);
        }
        if (e.PathTag == 11 || e.PathTag == 12)
            e.Lines = legacyItem(storage, codec, textLines);
        c.Entries.append(e);
    }
}

}  // namespace

int TLangFileContents::CodePage() const
{
    return TextCodePage(Revision == 0 ? Charset::Default : Charset, LangId);
}

TLangFileContents ReadLanguageFile(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile())
        throw ELangTool(QStringLiteral("%1: no such file").arg(fileName));
    TStorefile storage;
    storage.SetSignature(kSignatureBytes);
    storage.SetReadOnly(true);
    storage.SetFilename(fileName);
    storage.Open();
    if (!storage.Opened())
        throw ELangTool(QStringLiteral("%1: not a language file (no \"%2\" signature)").arg(fileName, kSignature));
    if (storage.RecordCount() < kHeaderItems || !storage.Verify())
        throw ELangTool(QStringLiteral("%1: the language file is damaged").arg(fileName));

    TLangFileContents c;
    const THeader header = DecodeHeader(readInteger(storage));
    c.Revision = header.Revision;
    c.LangId = header.LangId;
    const int settingsItems = SettingsItems(c.Revision);
    if (settingsItems < 0)
        throw ELangTool(QStringLiteral("%1: format revision %2 is not supported (0 to %3 are)")
                            .arg(fileName).arg(c.Revision).arg(kRevision));
    if (storage.RecordCount() < kHeaderItems + settingsItems)
        throw ELangTool(QStringLiteral("%1: the language file is damaged").arg(fileName));
    c.Charset = PeekCharset(storage, c.Revision).value_or(Charset::Default);
    const TTextCodec codec(c.CodePage());

    c.HeaderText1 = readText(storage, codec);
    c.HeaderText2 = readText(storage, codec);
    c.HeaderText3 = readText(storage, codec);
    TStringList lines;
    lines.SetText(readText(storage, codec));
    for (int i = 0; i < lines.Count(); ++i)
        c.HeaderLines.append(lines[i]);
    storage.ReadString(c.Flag, true);

    if (c.Revision == 0) {
        c.MinFontSize = 0;
        readLegacyEntries(storage, codec, c);
        return c;
    }
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
    return c;
}

namespace {

/// Encodes texts, noting every one that the code page cannot hold.
class TStrictEncoder {
public:
    explicit TStrictEncoder(int codePage) : FCodec(codePage) {}

    QByteArray operator()(const QString& text, const QString& where)
    {
        const QByteArray bytes = FCodec.Encode(text);
        // A text fits when it comes back unchanged: anything the code page
        // lacks has been replaced on the way.
        if (FCodec.Decode(bytes) != text) {
            QString missing;
            for (const QChar c : text)
                if (FCodec.Decode(FCodec.Encode(QString(c))) != QString(c) && !missing.contains(c))
                    missing += c;
            Faults.append(QStringLiteral("%1: \"%2\" does not fit code page %3 (%4)")
                              .arg(where, text, QString::number(FCodec.CodePage()),
                                   missing.isEmpty() ? QStringLiteral("surrogate pair") : missing));
        }
        return bytes;
    }

    QStringList Faults;

private:
    TTextCodec FCodec;
};

QString joinedLines(const QStringList& lines)
{
    TStringList list;
    for (const QString& l : lines)
        list.Add(l);
    return list.Text();
}

}  // namespace

void WriteLanguageFile(const TLangFileContents& c, const QString& fileName)
{
    TStrictEncoder encode(TextCodePage(c.Charset, c.LangId));
    struct TRecord {
        std::int32_t Tag;
        QByteArray Data;
        bool Integer;
        std::int32_t Value;
    };
    QList<TRecord> records;
    const auto integer = [&](std::int32_t tag, std::int32_t value) { records.append({tag, {}, true, value}); };
    const auto string = [&](std::int32_t tag, const QByteArray& data) { records.append({tag, data, false, 0}); };

    integer(tagHeader, EncodeHeader(kRevision, c.LangId));
    string(tagHeaderText1, encode(c.HeaderText1, QStringLiteral("header text 1")));
    string(tagHeaderText2, encode(c.HeaderText2, QStringLiteral("header text 2")));
    string(tagHeaderText3, encode(c.HeaderText3, QStringLiteral("header text 3")));
    string(tagHeaderLines, encode(c.HeaderLines.isEmpty() ? QString() : joinedLines(c.HeaderLines),
                                  QStringLiteral("header lines")));
    string(tagFlagBitmap, c.Flag);
    integer(tagProgramVersion, static_cast<std::int32_t>(c.ProgramVersion));
    integer(tagSettingsFlag, c.SettingsFlag);
    string(tagSettingsText1, encode(c.SettingsText1, QStringLiteral("settings text 1")));
    string(tagSettingsText2, encode(c.SettingsText2, QStringLiteral("settings text 2")));
    string(tagInputMethodName, encode(c.InputMethodName, QStringLiteral("input method name")));
    string(tagFontName, encode(c.FontName, QStringLiteral("font name")));
    integer(tagCharset, c.Charset);
    integer(tagMinFontSize, c.MinFontSize);
    for (const TLangEntry& e : c.Entries) {
        const int n = int{e.Caption.Present()} + int{e.Hint.Present()} + int{e.Lines.Present()};
        string(tagPathBase + n, encode(e.Path, e.Path));
        integer(tagAlignment, e.Alignment);
        string(e.Caption.Tag, encode(e.Caption.Text, e.Path + QStringLiteral("|text")));
        string(e.Hint.Tag, encode(e.Hint.Text, e.Path + ((e.Hint.Tag & hintShownBit) != 0 ? QStringLiteral("|shown-hint")
                                                                                      : QStringLiteral("|hint"))));
        string(e.Lines.Tag, encode(e.Lines.Text, e.Path + QStringLiteral("|line")));
    }
    if (!encode.Faults.isEmpty())
        throw ELangTool(QStringLiteral("%1: texts that do not fit the language's code page:\n  %2")
                            .arg(fileName, encode.Faults.join(QStringLiteral("\n  "))));

    const QString partName = fileName + QStringLiteral(".part");
    QFile::remove(partName);
    bool written = false;
    {
        TStorefile storage;
        storage.SetSignature(kSignatureBytes);
        storage.SetFilename(partName);
        storage.Open();
        written = storage.Opened();
        for (const TRecord& r : records) {
            if (!written)
                break;
            written = (r.Integer ? storage.WriteInteger(r.Tag, r.Value) : storage.WriteString(r.Tag, r.Data)) != 0;
        }
        written = storage.Close() && written;
    }
    if (written && std::rename(QFile::encodeName(partName).constData(), QFile::encodeName(fileName).constData()) == 0)
        return;
    const QString reason = QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EIO));
    QFile::remove(partName);
    throw ELangTool(QStringLiteral("%1: cannot write the file: %2").arg(fileName, reason));
}
