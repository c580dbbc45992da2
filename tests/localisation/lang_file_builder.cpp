#include "lang_file_builder.h"

#include "Lang_Storageobj.h"

#include <QFile>

using namespace LangFile;

namespace {

QByteArray int32Bytes(std::int32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return b;
}

}  // namespace

LanguageFileBuilder::LanguageFileBuilder(const Options& o) : FRevision(o.Revision)
{
    if (o.TwoByteHeader)
        String(tagHeader, int32Bytes(o.LangId).left(2));
    else
        Integer(tagHeader, EncodeHeader(static_cast<std::uint16_t>(o.Revision), o.LangId));
    String(tagHeaderText1, o.HeaderText1);
    String(tagHeaderText2, o.HeaderText2);
    String(tagHeaderText3, o.HeaderText3);
    String(tagHeaderLines, o.HeaderLines);
    String(tagFlagBitmap, o.Flag);
    if (o.Revision == 0)
        return;
    Integer(tagProgramVersion, static_cast<std::int32_t>(o.Version));
    if (o.Revision >= 2) {
        Integer(tagSettingsFlag, 0);
        String(tagSettingsText1, "s1");
        String(tagSettingsText2, "s2");
    }
    String(tagInputMethodName, "0000040C");
    String(tagFontName, o.FontName);
    Integer(tagCharset, o.Charset);
    if (o.Revision >= 4)
        Integer(tagMinFontSize, o.MinFontSize);
}

LanguageFileBuilder& LanguageFileBuilder::Integer(std::int32_t tag, std::int32_t value)
{
    FRecords.push_back({tag, int32Bytes(value)});
    return *this;
}

LanguageFileBuilder& LanguageFileBuilder::String(std::int32_t tag, const QByteArray& value)
{
    FRecords.push_back({tag, value});
    return *this;
}

LanguageFileBuilder& LanguageFileBuilder::Entry(const QByteArray& path, std::int32_t textTag, const QByteArray& text,
                                                std::int32_t hintTag, const QByteArray& hint,
                                                std::int32_t linesTag, const QByteArray& lines,
                                                std::int32_t alignment)
{
    const int n = int{!text.isEmpty()} + int{!hint.isEmpty()} + int{!lines.isEmpty()};
    String(tagPathBase + n, path);
    if (FRevision >= 3)
        Integer(tagAlignment, alignment);
    String(textTag, text);
    String(hintTag, hint);
    return String(linesTag, lines);
}

QByteArray LanguageFileBuilder::Write(const QString& fileName) const
{
    {
        TStorefile storage;
        storage.SetSignature(kSignatureBytes);
        storage.SetFilename(fileName);
        storage.Erase();
        storage.Open();
        for (const Record& r : FRecords)
            storage.WriteString(r.Tag, r.Data);
    }
    return FileBytes(fileName);
}

QByteArray FileBytes(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void WriteBytes(const QString& fileName, const QByteArray& bytes)
{
    QFile f(fileName);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}
