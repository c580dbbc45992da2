#pragma once

#include "C_LangList.h"
#include "lang_file_builder.h"

#include <QByteArray>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

/// Failing comparisons of texts print the texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

/// A program folder of its own, a settings store of its own
/// ($XDG_CONFIG_HOME), a data folder of its own ($XDG_DATA_HOME), and a main form "MainDlg" registered with the
/// application's forms that carries the language list as the program does:
/// named "langue", prefix "QRL_", key "Software\Varnel\Quorlo".
class LangListTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// A language file in the program folder. `text` is the French caption
    /// of MainDlg.print_btn (translated); with an empty `text` the file
    /// carries no entry.
    struct Language {
        std::uint32_t Code = 0x040C;
        int Revision = LangFile::kRevision;
        QByteArray Text1 = "Fran\xE7" "ais";
        QByteArray Text2 = "Traduction fran\xE7" "aise";
        QByteArray Text3 = "par nous";
        QByteArray Caption = "Imprimer";
        QImage Flag = QImage();
        std::uint32_t Version = LangFile::PackVersion(1, 2, 3, 5);
    };
    /// In `folder` instead when one is given.
    QString writeLanguage(const Language& language, const QString& folder = {}) const;
    /// The user's language folder under the test's own $XDG_DATA_HOME.
    QString userLanguageDir() const;
    QString languageFile(std::uint32_t code) const;

    /// The saved choice, as the settings store holds it.
    std::optional<std::int32_t> savedCode() const;
    void saveCode(std::int32_t code) const;
    /// The settings file of the key.
    QString settingsFile() const;

    /// A folder this process cannot create files in, or empty.
    QString unwritableFolder();

    QTemporaryDir program;
    QTemporaryDir config;
    QByteArray previousConfig;
    QTemporaryDir data;
    QByteArray previousData;
    std::unique_ptr<QDialog> MainDlg;
    QPushButton* print_btn = nullptr;
    QLabel* num_lbl = nullptr;
    TLangList* langue = nullptr;
    int afterSwitches = 0;
    QObject* afterSender = nullptr;
    std::unique_ptr<QTemporaryDir> locked;
};
