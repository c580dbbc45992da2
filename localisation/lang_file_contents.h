#pragma once

#include "exception.h"
#include "lang_format.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

/// Raised for a language file of a revision this program cannot read.
QRL_DECLARE_EXCEPTION(ELanguageFormat, Exception);
/// Raised for a language file that is missing or damaged.
QRL_DECLARE_EXCEPTION(ELanguageFileDamaged, Exception);

/// One text item of an entry: its tag (kind, hint-shown and translated bits)
/// and its text, decoded to Unicode.
struct TLangText {
    std::int32_t Tag = 0;
    QString Text;

    int Kind() const { return Tag & 0x0F; }
    bool Present() const { return Kind() != 0 && !Text.isEmpty(); }
};

/// One component's entry. Revision-0 files have no alignment item and name
/// what follows by their path tag; they are read into the same shape, every
/// non-empty text counting as translated (that is how they apply).
struct TLangEntry {
    QString Path;
    std::int32_t PathTag = 0;
    std::int32_t Alignment = 0;
    TLangText Caption;
    TLangText Hint;
    TLangText Lines;
};

/// The header texts and settings of a language file that the file's
/// contents and the program's language record (TLanguageRecord) keep alike.
struct TLangFileHeader {
    std::uint16_t LangId = 0;
    QString HeaderText1;
    QString HeaderText2;
    QString HeaderText3;
    std::uint32_t ProgramVersion = 0;   ///< packed version
    std::uint8_t SettingsFlag = 0;
    QString SettingsText1;
    QString SettingsText2;
    QString InputMethodName;
    QString FontName;
    std::int32_t MinFontSize = LangFile::kWrittenMinFontSize;
};

/// A whole language file in memory, texts in Unicode.
struct TLangFileContents : TLangFileHeader {
    int Revision = LangFile::kRevision;
    QStringList HeaderLines;
    QByteArray Flag;   ///< a BMP file, or nothing
    int Charset = 0;
    QList<TLangEntry> Entries;

    /// The code page the texts are stored in.
    int CodePage() const;
};

/// Reads a whole language file of revision 0 to 4, every record checked
/// before anything is taken from it. Revision 0 files read with a minimum
/// font size of 0, revisions 1 to 3 with the one assumed for them. Raises
/// ELanguageFileDamaged when the file is missing ("<file>: no such file"),
/// does not open with the signature, holds fewer than six items, has records
/// whose lengths do not add up to the file or lacks its revision's settings
/// items; ELanguageFormat ("<file>: format revision 5 is not supported (0 to
/// 4 are)") for another revision.
TLangFileContents ReadLanguageFile(const QString& fileName);

/// Items 0 to 5 of a language file, which every revision shares, and from
/// revision 1 on the program version: read as far as the file holds them,
/// missing or damaged items reading as empty, the rest of the file unread.
/// Empty when the file is missing or does not open with the signature.
std::optional<TLangFileContents> ReadLanguageFileHeader(const QString& fileName);

/// Writes a revision-4 layout with `contents.Revision` in its header, the
/// texts in the code page of its character set (a character the code page
/// lacks becomes '?'). The file at the end of a chain of links is the one
/// replaced, and a write-protected one is refused. The file is written under
/// a temporary name beside it and takes its name only when complete and on
/// the disk, the old file left as it was until then. Nothing when the new
/// file is in place; otherwise why not, in the system's words.
std::optional<QString> WriteLanguageFile(const TLangFileContents& contents, const QString& fileName);
