#include "code_pages.h"

#include <gtest/gtest.h>

TEST(CodePages, CharsetsAndLanguages)
{
    EXPECT_EQ(CodePageOfCharset(Charset::Ansi, 0x0419), 1252);
    EXPECT_EQ(CodePageOfCharset(Charset::Russian, 0x040C), 1251);
    EXPECT_EQ(CodePageOfCharset(Charset::EastEurope, 0), 1250);
    EXPECT_EQ(CodePageOfCharset(Charset::ShiftJis, 0), 932);
    // The default character set follows the language.
    EXPECT_EQ(CodePageOfCharset(Charset::Default, 0x0419), 1251);
    EXPECT_EQ(CodePageOfCharset(Charset::Default, 0x040C), 1252);
    EXPECT_EQ(AnsiCodePageOfLangId(0x0804), 936);    // Chinese, PRC
    EXPECT_EQ(AnsiCodePageOfLangId(0x0404), 950);    // Chinese, Taiwan
    EXPECT_EQ(AnsiCodePageOfLangId(0x0C1A), 1251);   // Serbian, Cyrillic
    EXPECT_EQ(AnsiCodePageOfLangId(0x081A), 1250);   // Serbian, Latin
    EXPECT_EQ(AnsiCodePageOfLangId(0x082C), 1251);   // Azeri, Cyrillic
    EXPECT_EQ(AnsiCodePageOfLangId(0x041F), 1254);
    EXPECT_EQ(AnsiCodePageOfLangId(0x0408), 1253);
    EXPECT_EQ(AnsiCodePageOfLangId(0x0000), 1252);
}

TEST(CodePages, DecodeAndEncode)
{
    const TTextCodec western(1252);
    EXPECT_EQ(western.Decode("Param\xE8tres"), QString::fromUtf8("Paramètres"));
    EXPECT_EQ(western.Encode(QString::fromUtf8("Paramètres")), "Param\xE8tres");
    EXPECT_EQ(western.Encode(QString::fromUtf8("€ and Я")), "\x80 and ?");

    const TTextCodec cyrillic(1251);
    EXPECT_EQ(cyrillic.Decode("\xCF\xE5\xF7\xE0\xF2\xFC"), QString::fromUtf8("Печать"));
    EXPECT_EQ(cyrillic.Encode(QString::fromUtf8("Печать")), "\xCF\xE5\xF7\xE0\xF2\xFC");

    const TTextCodec japanese(932);
    EXPECT_EQ(japanese.Decode("\x93\xfa\x96\x7b"), QString::fromUtf8("日本"));
    // A lead byte cut off at the end and bytes the code page leaves unmapped
    // become replacement characters; the rest still decodes.
    EXPECT_EQ(japanese.Decode("\x93\xfa\x93"), QString::fromUtf8("日\uFFFD"));
    EXPECT_EQ(western.Decode("a\x81z"), QString::fromUtf8("a\uFFFDz"));
    EXPECT_EQ(TTextCodec(1253).Decode("\xAA\xC1"), QString::fromUtf8("\uFFFDΑ"));

    // Every byte sequence decodes to something, without stopping.
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    for (const int cp : {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258})
        EXPECT_FALSE(TTextCodec(cp).Decode(all + all).isEmpty()) << cp;
    // An unknown code page converts as Latin-1.
    EXPECT_EQ(TTextCodec(12345).Decode("\xE8"), QString::fromUtf8("è"));
}
