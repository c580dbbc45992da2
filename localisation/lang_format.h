#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

class TStorefile;

/// The layout of language files: a TStorefile behind kLanguageSignature whose
/// records are read by position. Items 0 to 5 of every revision:
///   0 header value (revision << 16 | LANGID; revision 0 files hold only the
///     2-byte LANGID), 1-3 header texts, 4 header lines (each + CR LF),
///   5 flag bitmap (a BMP file, or no bytes).
/// Then the settings of the revision (kSettingsItems) and the entries.
namespace LangFile {

inline constexpr char kSignature[] = "ZOQ LANGUAGE FILE";
inline const QByteArray kSignatureBytes = QByteArrayLiteral("ZOQ LANGUAGE FILE");

/// The newest revision, the one the program writes.
inline constexpr int kRevision = 4;
/// Items 0 to 5: the least a usable language file holds.
inline constexpr int kHeaderItems = 6;

// Item tags.
inline constexpr std::int32_t tagHeader = 0;
inline constexpr std::int32_t tagHeaderText1 = 1;
inline constexpr std::int32_t tagHeaderText2 = 2;
inline constexpr std::int32_t tagHeaderText3 = 3;
inline constexpr std::int32_t tagHeaderLines = 4;
inline constexpr std::int32_t tagFlagBitmap = 5;
inline constexpr std::int32_t tagProgramVersion = 512;
inline constexpr std::int32_t tagInputMethodName = 513;
inline constexpr std::int32_t tagFontName = 514;
inline constexpr std::int32_t tagCharset = 515;
/// Used twice: the settings flag and, from revision 4, the minimum font size.
inline constexpr std::int32_t tagSettingsFlag = 516;
inline constexpr std::int32_t tagMinFontSize = 516;
inline constexpr std::int32_t tagSettingsText1 = 517;
inline constexpr std::int32_t tagSettingsText2 = 518;
/// Path item of an entry: 0x210 + the number of its text items with a text.
inline constexpr std::int32_t tagPathBase = 0x210;
inline constexpr std::int32_t tagAlignment = 0x300;

// Text item tags: the kind in bits 0-3, then two flags.
inline constexpr std::int32_t textNone = 0;
inline constexpr std::int32_t textCaption = 1;
inline constexpr std::int32_t textHint = 2;
inline constexpr std::int32_t textLines = 3;
inline constexpr std::int32_t hintShownBit = 0x10;
inline constexpr std::int32_t translatedBit = 0x20;

/// The minimum font size written into every file, and the one assumed for
/// revisions 1 to 3, which carry none.
inline constexpr std::int32_t kWrittenMinFontSize = 8;
inline constexpr std::int32_t kAssumedMinFontSize = 9;

/// A text item takes effect only when its tag is positive and translated.
constexpr bool IsApplied(std::int32_t tag)
{
    return tag > 0 && (tag & translatedBit) != 0;
}

/// Items between the flag bitmap and the first entry; -1 for an unknown revision.
int SettingsItems(int revision);

/// What follows the path item of a revision-0 entry, by its path tag: a
/// caption and a hint (6 to 11, 13), then the lines of a list (11, 12);
/// nothing after any other tag.
constexpr bool LegacyHasCaption(std::int32_t pathTag)
{
    return (pathTag >= 6 && pathTag <= 11) || pathTag == 13;
}
constexpr bool LegacyHasLines(std::int32_t pathTag)
{
    return pathTag == 11 || pathTag == 12;
}

/// Position of the character-set item (515) in a file of this revision, or
/// -1 when the revision carries none (0, and unknown revisions).
int CharsetItemIndex(int revision);

/// The header value read as an integer that started as 0: the bytes present
/// are its low-order bytes, so a 2-byte revision-0 header is a bare LANGID.
struct THeader {
    std::uint16_t LangId = 0;
    std::uint16_t Revision = 0;
};
constexpr THeader DecodeHeader(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    return {static_cast<std::uint16_t>(v & 0xFFFF), static_cast<std::uint16_t>(v >> 16)};
}
constexpr std::int32_t EncodeHeader(std::uint16_t revision, std::uint16_t langId)
{
    return static_cast<std::int32_t>(std::uint32_t{revision} << 16 | langId);
}

/// Packed version: major bits 31-24, minor 23-16, release 15-10, build 9-0.
constexpr std::uint32_t PackVersion(unsigned major, unsigned minor, unsigned release, unsigned build)
{
    return (major & 0xFF) << 24 | (minor & 0xFF) << 16 | (release & 0x3F) << 10 | (build & 0x3FF);
}
/// "major.minor.release.build" in decimal, e.g. 0x01020C05 -> "1.2.3.5".
QString VersionText(std::uint32_t packed);

/// FilePrefix + the language code as 8 upper-case hex digits + ".SPK".
QString LanguageFileName(const QString& filePrefix, std::uint32_t languageCode);
/// FilePrefix + "ORIGINAL.SPK".
QString OriginalFileName(const QString& filePrefix);

/// The Windows character set of an open language file (item 515 of revisions
/// 1 to 4; the default character set for revision 0), read without moving the
/// storage. Empty when the file holds no such item.
std::optional<int> PeekCharset(TStorefile& storage, int revision);

/// The code page of the texts of a language file: that of its character set,
/// the default one meaning the ANSI code page of its LANGID.
int TextCodePage(int charset, std::uint16_t langId);

}  // namespace LangFile
