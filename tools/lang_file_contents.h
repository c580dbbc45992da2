#pragma once

#include "Exception.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

/// Raised by the translator's tool for input it cannot use; the message says
/// which file, entry or field is at fault.
QRL_DECLARE_EXCEPTION(ELangTool, Exception);

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

/// A whole language file in memory, texts in Unicode.
struct TLangFileContents {
    int Revision = 4;
    std::uint16_t LangId = 0;
    QString HeaderText1;
    QString HeaderText2;
    QString HeaderText3;
    QStringList HeaderLines;
    QByteArray Flag;   ///< a BMP file, or nothing
    std::uint32_t ProgramVersion = 0;
    std::uint8_t SettingsFlag = 0;
    QString SettingsText1;
    QString SettingsText2;
    QString InputMethodName;
    QString FontName;
    int Charset = 0;
    std::int32_t MinFontSize = 8;
    QList<TLangEntry> Entries;

    /// The code page the texts are stored in.
    int CodePage() const;
};

/// Reads a language file of revision 0 to 4. Raises ELangTool when the file
/// is missing, is not a language file, is damaged, or is of another revision.
TLangFileContents ReadLanguageFile(const QString& fileName);

/// Writes a revision-4 language file (under a temporary name, renamed when
/// complete). Every text must fit the code page of the file's character set:
/// otherwise ELangTool lists each entry whose text does not fit, and nothing
/// is written.
void WriteLanguageFile(const TLangFileContents& contents, const QString& fileName);
