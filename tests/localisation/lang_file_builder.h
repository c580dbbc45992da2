#pragma once

#include "lang_format.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

/// Lays out a language file record by record and writes it with TStorefile.
class LanguageFileBuilder {
public:
    struct Options {
        int Revision = LangFile::kRevision;
        std::uint16_t LangId = 0x040C;
        QByteArray HeaderText1 = "Fran\xE7" "ais";
        QByteArray HeaderText2 = "Traduction fran\xE7" "aise";
        QByteArray HeaderText3 = "par nous";
        QByteArray HeaderLines;
        QByteArray Flag;
        std::uint32_t Version = LangFile::PackVersion(1, 2, 3, 5);
        QByteArray FontName = "MS Sans Serif";
        int Charset = 0;
        std::int32_t MinFontSize = 8;
        bool TwoByteHeader = false;   ///< revision 0 files hold the bare LANGID
    };

    /// Items 0 to 5 and the settings items of the revision.
    explicit LanguageFileBuilder(const Options& options);
    LanguageFileBuilder() : LanguageFileBuilder(Options{}) {}

    LanguageFileBuilder& Integer(std::int32_t tag, std::int32_t value);
    LanguageFileBuilder& String(std::int32_t tag, const QByteArray& value);

    /// One entry of revisions 1 to 4 (the alignment item from revision 3 on).
    /// Tags are given whole, e.g. textCaption | translatedBit.
    LanguageFileBuilder& Entry(const QByteArray& path, std::int32_t textTag, const QByteArray& text,
                               std::int32_t hintTag = 0, const QByteArray& hint = {},
                               std::int32_t linesTag = 0, const QByteArray& lines = {},
                               std::int32_t alignment = 0);

    /// Writes the file (replacing any old one); returns its bytes.
    QByteArray Write(const QString& fileName) const;

    int Revision() const { return FRevision; }

private:
    struct Record {
        std::int32_t Tag;
        QByteArray Data;
    };
    std::vector<Record> FRecords;
    int FRevision;
};

/// The whole content of a file.
QByteArray FileBytes(const QString& fileName);
void WriteBytes(const QString& fileName, const QByteArray& bytes);
