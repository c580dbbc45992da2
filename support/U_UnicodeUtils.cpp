#include "U_UnicodeUtils.h"

#include "version_block.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {

bool wideApiAvailable = false;

// Module start-up: the choice is made once, before any window exists, and
// only read afterwards.
[[maybe_unused]] const bool probed = [] {
    wideApiAvailable = ProbeWideApi();
    return true;
}();

// Converts through the character set of the C library's current locale, as
// the platform's narrow functions do.
std::optional<std::string> toLocaleCharset(const QString& name)
{
    const std::wstring wide = name.toStdWString();
    const wchar_t* src = wide.c_str();
    std::mbstate_t state{};
    const std::size_t length = std::wcsrtombs(nullptr, &src, 0, &state);
    if (length == static_cast<std::size_t>(-1))
        return std::nullopt;
    std::string narrow(length, '\0');
    src = wide.c_str();
    state = {};
    std::wcsrtombs(narrow.data(), &src, length, &state);
    return narrow;
}

}  // namespace

bool WideApiAvailable()
{
    return wideApiAvailable;
}

void SetWideApiAvailable(bool value)
{
    wideApiAvailable = value;
}

bool ProbeWideApi()
{
    // The root folder exists on every system, as the Windows folder did where
    // this probe comes from: failing to search it means UTF-8 names do not work.
    const QByteArray folder = QStringLiteral("/").toUtf8();
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    ::closedir(dir);
    return true;
}

std::optional<std::string> NativeFileName(const QString& Name)
{
    if (Name.contains(QChar(u'\0')))
        return std::nullopt;
    if (WideApiAvailable())
        return Name.toStdString();
    return toLocaleCharset(Name);
}

bool WideFileExists(const QString& Name)
{
    const std::optional<std::string> native = NativeFileName(Name);
    struct stat st {};
    return native && ::stat(native->c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::uint32_t WideGetFileVersionInfoSize(const QString& Name, std::uint32_t& Handle)
{
    Handle = 0;
    const std::optional<std::string> native = NativeFileName(Name);
    if (!native)
        return 0;
    const std::optional<std::vector<std::uint8_t>> block = ReadVersionBlock(*native);
    return block ? static_cast<std::uint32_t>(block->size()) : 0;
}

bool WideGetFileVersionInfo(const QString& Name, std::uint32_t /*Handle*/, std::uint32_t Size,
                            void* Buffer)
{
    const std::optional<std::string> native = NativeFileName(Name);
    if (!native || !Buffer)
        return false;
    const std::optional<std::vector<std::uint8_t>> block = ReadVersionBlock(*native);
    if (!block)
        return false;
    std::memcpy(Buffer, block->data(), std::min<std::size_t>(Size, block->size()));
    return true;
}

QString GetFileVersionString(const QString& FileName)
{
    if (!WideFileExists(FileName))
        return QStringLiteral("File not found");
    const QString failed = QStringLiteral("Unable to retrieve file version info");

    std::uint32_t handle = 0;
    const std::uint32_t size = WideGetFileVersionInfoSize(FileName, handle);
    if (size == 0)
        return failed;
    std::vector<std::uint8_t> buffer(size);
    if (!WideGetFileVersionInfo(FileName, 0, size, buffer.data()))
        return failed;
    const auto root = VerQueryValue(buffer, "\\");
    // A root value shorter than the fixed record would end mid-field.
    const std::optional<TFixedFileInfo> info = root ? DecodeFixedFileInfo(*root) : std::nullopt;
    if (!info)
        return failed;
    return QStringLiteral("%1.%2.%3.%4")
        .arg(info->dwFileVersionMS >> 16)
        .arg(info->dwFileVersionMS & 0xFFFF)
        .arg(info->dwFileVersionLS >> 16)
        .arg(info->dwFileVersionLS & 0xFFFF);
}
