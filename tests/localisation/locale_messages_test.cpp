#include "locale_messages.h"

#include "frame.h"
#include "messages.h"

#include <QString>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

// The system's reasons in the catalogue's own words, as each shipped
// language file gives them: error kind x language -> sentence.
TEST(LocaleMessages, SystemErrorsInTheCataloguesWordsOfEachLanguage)
{
    const int kinds[] = {ENOENT, EACCES, ENOSPC, EROFS, EFBIG, EIO};
    const struct {
        const char* file;   // none: the original wording
        const char* sentences[6];
    } languages[] = {
        {nullptr,
         {"the file does not exist", "permission denied", "the disk is full", "the disk is read-only",
          "the file is too large", "system error 5"}},
        {"QRL_00000407.SPK",
         {"die Datei existiert nicht", "Zugriff verweigert", "der Datenträger ist voll",
          "der Datenträger ist schreibgeschützt", "die Datei ist zu groß", "Systemfehler 5"}},
        {"QRL_0000040C.SPK",
         {"le fichier n'existe pas", "permission refusée", "le disque est plein", "le disque est en lecture seule",
          "le fichier est trop volumineux", "erreur système 5"}},
        {"QRL_00000411.SPK",
         {"ファイルが存在しません", "アクセスが拒否されました", "ディスクがいっぱいです", "ディスクは読み取り専用です",
          "ファイルが大きすぎます", "システム エラー 5"}},
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.file ? language.file : "original");
        SetMessageSource({});
        if (language.file) {
            const QString file = QStringLiteral(QRL_LANG_OUTPUT_DIR "/") + QString::fromLatin1(language.file);
            ASSERT_TRUE(UseMessagesOfFile(file));
        }
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(SystemErrorText(kinds[i]), QString::fromUtf8(language.sentences[i])) << kinds[i];
    }
    // A file that cannot be read leaves the last language in place.
    EXPECT_FALSE(UseMessagesOfFile(QStringLiteral(QRL_LANG_OUTPUT_DIR "/QRL_nothing.SPK")));
    EXPECT_EQ(SystemErrorText(ENOENT), QString::fromUtf8("ファイルが存在しません"));
    SetMessageSource({});
}

// A program without the framing window still words the head height as the
// window does: the language file's framing entry comes with the catalogue.
TEST(LocaleMessages, TheHeadHeightIsWordedAsTheFramingWindowWordsIt)
{
    const QString within = QStringLiteral("Head height %1 mm: within the rule (%2).");
    EXPECT_EQ(FramingText(within), within);
    ASSERT_TRUE(UseMessagesOfFile(QStringLiteral(QRL_LANG_OUTPUT_DIR "/QRL_00000407.SPK")));
    EXPECT_EQ(FramingText(within), QString::fromUtf8("Kopfhöhe %1 mm: innerhalb der Regel (%2)."));
    SetMessageSource({});
    SetFramingTextSource({});
}

}  // namespace
