#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

/// Windows character-set numbers, as fonts and language files carry them.
namespace Charset {
inline constexpr int Ansi = 0;
inline constexpr int Default = 1;   ///< "the default": the code page of the language
inline constexpr int Symbol = 2;
inline constexpr int ShiftJis = 128;
inline constexpr int Hangeul = 129;
inline constexpr int Gb2312 = 134;
inline constexpr int ChineseBig5 = 136;
inline constexpr int Greek = 161;
inline constexpr int Turkish = 162;
inline constexpr int Vietnamese = 163;
inline constexpr int Hebrew = 177;
inline constexpr int Arabic = 178;
inline constexpr int Baltic = 186;
inline constexpr int Russian = 204;
inline constexpr int Thai = 222;
inline constexpr int EastEurope = 238;
}  // namespace Charset

/// The ANSI code page Windows gives a language identifier (LANGID): decided by
/// the primary language (low 10 bits), and for Chinese, Serbian, Azeri and
/// Uzbek also by the sub-language. Neutral and Unicode-only languages get 1252.
int AnsiCodePageOfLangId(std::uint16_t langId);

/// The code page of texts written for a font of this character set; the
/// default character set (1) means the ANSI code page of `langId`. Character
/// sets without a code page of their own (symbol, OEM, Mac) read as 1252.
int CodePageOfCharset(int charset, std::uint16_t langId);

/// Converts between Unicode and one single- or double-byte code page through
/// iconv. Bytes the code page does not map decode as U+FFFD; characters it
/// cannot hold encode as '?'. Never fails: a code page that iconv does not
/// know converts as Latin-1.
class TTextCodec {
public:
    explicit TTextCodec(int codePage);
    ~TTextCodec();
    TTextCodec(const TTextCodec&) = delete;
    TTextCodec& operator=(const TTextCodec&) = delete;

    int CodePage() const { return FCodePage; }
    QString Decode(const QByteArray& bytes) const;
    QByteArray Encode(const QString& text) const;

private:
    int FCodePage;
    void* FDecoder;   ///< iconv_t, or (iconv_t)-1
    void* FEncoder;
};
