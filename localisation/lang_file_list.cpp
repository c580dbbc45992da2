#include "lang_file_list.h"

#include "flag_bitmap.h"
#include "lang_file_contents.h"
#include "lang_format.h"
#include "Lang_Languages.h"
#include "program_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace {

using namespace LangFile;

QString withSlash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

QString withoutSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

bool isDirectory(const QString& path)
{
    return !path.isEmpty() && QFileInfo(withoutSlash(path)).isDir();
}

bool holdsLanguageFiles(const QString& dir, const QString& prefix)
{
    return isDirectory(dir) &&
           !QDir(dir).entryList({prefix + QStringLiteral("*.SPK")}, QDir::Files).isEmpty();
}

/// The shared language folder of an installed program, found from the
/// program's own folder (<prefix>/bin -> <prefix>/share/quorlo/lang).
QString installedLanguageDir(const QString& programDir, const QString& sub)
{
    if (programDir.isEmpty())
        return {};
    return withSlash(QDir::cleanPath(programDir + QStringLiteral(QRL_LANG_FROM_PROGRAM "/") + sub));
}

/// The line a language file shows in the list, or nothing when the file does
/// not open with the signature. Whatever else is wrong with it (a revision
/// above 4, a flag that is no bitmap, too few items, damaged records) shows
/// when it is chosen: the line is read from what the file holds, missing
/// items reading as empty.
std::optional<QString> listingText(const QString& fileName)
{
    const std::optional<TLangFileContents> header = ReadLanguageFileHeader(fileName);
    if (!header)
        return std::nullopt;
    // Header text 2 is shown by the chooser, not listed.
    if (header->Revision == 0)
        return header->HeaderText1 + QStringLiteral(" - ") + header->HeaderText3;
    return header->HeaderText1 + QStringLiteral(" [") + VersionText(header->ProgramVersion) +
           QStringLiteral("] - ") + header->HeaderText3;
}

}  // namespace

TLangFileList::TLangFileList()
{
    if (QCoreApplication::instance())
        FProgramDir = withSlash(ProgramDirectory());
}

void TLangFileList::SetProgramDir(const QString& value)
{
    FProgramDir = value.isEmpty() ? QString() : withSlash(value);
}

std::uint32_t TLangFileList::LanguageCode(int index) const
{
    if (index < 0 || index >= FLanguages.Count())
        return 0;
    return FLanguages.Objects(index).toUInt();
}

QString TLangFileList::languageFileName(std::uint32_t code) const
{
    // A file the user added stands in for the program's file of that name.
    const QString name = LanguageFileName(FFilePrefix, code);
    if (const QString user = UserLanguageDir(); !user.isEmpty() && QFileInfo(user + name).isFile())
        return user + name;
    return LanguageDir() + name;
}

QString TLangFileList::UserLanguageDir() const
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    return withSlash(QDir::cleanPath(data + QStringLiteral("/" QRL_LANG_DATA_SUBDIR "/") + withoutSlash(FSubDir)));
}

QString TLangFileList::LanguageDir() const
{
    const QString sub = withoutSlash(FSubDir);
    if (const QString installed = installedLanguageDir(FProgramDir, sub);
        isDirectory(installed) && !holdsLanguageFiles(FProgramDir + sub, FFilePrefix))
        return installed;
    if (isDirectory(FProgramDir + sub))
        return withSlash(FProgramDir + sub);
    const QString system = FProgramDir + QStringLiteral("system/") + sub;
    if (isDirectory(system))
        return withSlash(system);
    return withSlash(withSlash(QDir::currentPath()) + sub);
}

bool TLangFileList::BuildLanguageList()
{
    FLanguages.Clear();
    for (const TLanguageEntry& language : ScannedLanguages()) {
        for (std::uint32_t variant = 0; variant <= 0xFFFF; ++variant) {
            const std::uint32_t code = variant << 16 | language.LangId;
            const QString fileName = languageFileName(code);
            if (!QFileInfo(fileName).isFile())
                break;
            if (const std::optional<QString> text = listingText(fileName))
                FLanguages.AddObject(*text, QVariant::fromValue(code));
        }
    }
    return !FLanguages.IsEmpty();
}

bool TLangFileList::LoadFlagBitmap(std::uint16_t langId, QImage& bitmap) const
{
    bitmap = QImage();
    const std::optional<TLangFileContents> header = ReadLanguageFileHeader(languageFileName(langId));
    if (!header)
        return false;
    // Row painting asks for flags: a file changed since it was listed must
    // not take the painting down.
    try {
        bitmap = BitmapFromBmpBytes(header->Flag);
    } catch (const EInvalidGraphic&) {
        bitmap = QImage();
    }
    return !bitmap.isNull();
}

int TLangFileList::findFirst(const std::function<bool(std::uint32_t code)>& matches) const
{
    for (int i = 0; i < FLanguages.Count(); ++i)
        if (matches(LanguageCode(i)))
            return i;
    return -1;
}

int TLangFileList::UserDefaultLanguageIndex() const
{
    const std::uint16_t user = UserDefaultLangId();
    if (const int exact = findFirst([user](std::uint32_t c) { return (c & 0xFFFF) == user; }); exact >= 0)
        return exact;
    return findFirst([user](std::uint32_t c) { return PrimaryLanguage(c) == PrimaryLanguage(user); });
}

QString TLangFileList::LanguageFile(int index) const
{
    if (index < 0 || index >= FLanguages.Count())
        return {};
    return languageFileName(LanguageCode(index));
}

QString TLangFileList::OriginalFilePath() const
{
    const QString dir = LanguageDir();
    // The shared folder of an installed program belongs to its package, even
    // for root.
    if (dir != installedLanguageDir(FProgramDir, withoutSlash(FSubDir)) &&
        QFileInfo(withoutSlash(dir)).isWritable())
        return dir + OriginalFileName(FFilePrefix);
    return UserLanguageDir() + OriginalFileName(FFilePrefix);
}
