#pragma once

#include "string_list.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>

/// The language files the interface can switch to, found without any window:
/// the folders they lie in and the list of available languages that their
/// headers give. TLangList builds the switch of the running interface on it;
/// a program without windows reads the list directly (UseMessagesOfUserLocale).
///
/// A language file is named FilePrefix + its language code (variant number
/// in the high 16 bits, LANGID in the low 16) as 8 upper-case hexadecimal
/// digits + ".SPK", e.g. QRL_0000040C.SPK for French, variant 0.
class TLangFileList {
public:
    /// The program directory is the executable's when an application object
    /// exists, else empty.
    TLangFileList();

    QString FilePrefix() const { return FFilePrefix; }
    void SetFilePrefix(const QString& value) { FFilePrefix = value; }
    /// The folder of the language files under the program directory; empty
    /// for the program directory itself.
    QString SubDir() const { return FSubDir; }
    void SetSubDir(const QString& value) { FSubDir = value; }
    /// The program directory, with a trailing "/". Tests point it at a
    /// folder of their own; the program keeps the executable's.
    QString ProgramDir() const { return FProgramDir; }
    void SetProgramDir(const QString& value);

    /// The display texts of the available languages, in list order; the
    /// object of each line is its language code (std::uint32_t).
    const TStringList& Languages() const { return FLanguages; }
    /// The language code of entry `index`, or 0 outside the list.
    std::uint32_t LanguageCode(int index) const;

    /// Rebuilds Languages: for every LANGID of the table, in table order, the
    /// variants 0, 1, 2, ... up to the first file missing from both
    /// LanguageDir() and UserLanguageDir() (the user's file wins). Each usable
    /// language file gives "text1 - text3", or "text1 [a.b.c.d] - text3" with
    /// the version it was made for from revision 1 on. Files that do not open
    /// with the signature are passed over; every other one is listed, also
    /// when it cannot be applied (a revision above 4, a flag that is no
    /// bitmap, too few items, damaged records): choosing it says why.
    /// True when at least one language file was listed.
    bool BuildLanguageList();
    /// Loads the flag of a LANGID (item 5 of its variant-0 file) into
    /// `bitmap`; false, with `bitmap` emptied, when there is none to load.
    bool LoadFlagBitmap(std::uint16_t langId, QImage& bitmap) const;
    /// Where the language files are, with a trailing "/": the program
    /// directory + SubDir when that is a folder, else the program directory +
    /// "system/" + SubDir when that is one, else the current directory +
    /// SubDir. An installed program's shared language folder (+ SubDir)
    /// comes first unless the program directory + SubDir holds language files.
    QString LanguageDir() const;
    /// The user's own language folder, $XDG_DATA_HOME/quorlo/lang/ (+ SubDir),
    /// with a trailing "/"; empty when there is no data folder. Its files are
    /// listed beside LanguageDir()'s, and one of the same name wins.
    QString UserLanguageDir() const;
    /// Where "-co" writes: the language folder when it is the program's own
    /// and writable, else the user's $XDG_DATA_HOME/quorlo/lang/ (+ SubDir).
    QString OriginalFilePath() const;
    /// The entry of the user's LANGID, else the first with its primary
    /// language; -1 when none fits.
    int UserDefaultLanguageIndex() const;
    /// The file entry `index` is read from (a user's file of its name wins);
    /// empty outside the list.
    QString LanguageFile(int index) const;

protected:
    /// The file of a language code, wherever the list would read it.
    QString languageFileName(std::uint32_t code) const;
    /// The first entry whose code matches; -1 when none does.
    int findFirst(const std::function<bool(std::uint32_t code)>& matches) const;

private:
    TStringList FLanguages;
    QString FProgramDir;
    QString FFilePrefix;
    QString FSubDir;
};
