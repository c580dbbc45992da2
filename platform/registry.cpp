#include "registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <limits>

namespace {

/// Copies a settings file that did not parse to "<file>.broken" (or
/// ".broken-2", ... when that exists). False when no copy could be made.
bool keepCopyOf(const QString& file)
{
    for (int n = 1; n <= 100; ++n) {
        const QString copy = file + (n == 1 ? QStringLiteral(".broken") : QStringLiteral(".broken-%1").arg(n));
        if (QFileInfo::exists(copy))
            continue;
        return QFile::copy(file, copy);
    }
    return false;
}

/// True when every line of the file is blank, a comment, a closed section
/// header or a key = value line. Checked here rather than through QSettings,
/// which reports a format error only to the first reader of a file.
bool parsesCleanly(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return true;   // nothing to keep
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[') ? !line.endsWith(']') : !line.contains('='))
            return false;
    }
    return true;
}

}  // namespace

TRegistry::TRegistry(TRootKey root) : FRoot(root) {}

TRegistry::~TRegistry() = default;

QString TRegistry::RootFolder(TRootKey root)
{
    if (root == TRootKey::LocalMachine) {
        const QString overridden = qEnvironmentVariable("QRL_SYSTEM_CONFIG_DIR");
        return overridden.isEmpty() ? QStringLiteral("/etc/xdg") : overridden;
    }
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty())
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

QString TRegistry::KeyFile(TRootKey root, const QString& Key)
{
    QStringList parts = Key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.first().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    for (const QString& part : parts)
        if (part == QLatin1String(".") || part == QLatin1String("..") || part.contains(QLatin1Char('/')))
            return {};
    if (parts.isEmpty())
        return {};
    return RootFolder(root) + QLatin1Char('/') + parts.join(QLatin1Char('/'))
           + QStringLiteral(".conf");
}

bool TRegistry::OpenKey(const QString& Key, bool CanCreate)
{
    CloseKey();
    const QString file = KeyFile(FRoot, Key);
    if (file.isEmpty())
        return false;
    const QFileInfo info(file);
    if (!info.exists()) {
        if (!CanCreate || !QDir().mkpath(info.absolutePath()))
            return false;
        QFile create(file);
        if (!create.open(QIODevice::WriteOnly))
            return false;
    } else if (!info.isWritable() || !QFileInfo(info.absolutePath()).isWritable()) {
        // QSettings replaces the file through a temporary one beside it.
        return false;
    }
    auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    // A file with lines that do not parse is rewritten without them on the
    // next write: the user's file is copied aside first, or not written.
    if ((settings->status() == QSettings::FormatError || !parsesCleanly(file)) && !keepCopyOf(file))
        return false;
    FSettings = std::move(settings);
    FWritable = true;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& Key)
{
    CloseKey();
    const QString file = KeyFile(FRoot, Key);
    if (file.isEmpty())
        return false;
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable())
        return false;
    auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    // Lines that do not parse do not hide the values that do.
    if (settings->status() == QSettings::AccessError)
        return false;
    FSettings = std::move(settings);
    FWritable = false;
    return true;
}

void TRegistry::CloseKey()
{
    FSettings.reset();
    FWritable = false;
}

bool TRegistry::ValueExists(const QString& Name) const
{
    return FSettings && FSettings->contains(Name);
}

std::optional<QString> TRegistry::ReadString(const QString& Name) const
{
    if (!ValueExists(Name))
        return std::nullopt;
    return FSettings->value(Name).toString();
}

std::optional<std::int32_t> TRegistry::ReadInteger(const QString& Name) const
{
    const std::optional<QString> text = ReadString(Name);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const qlonglong value = text->trimmed().toLongLong(&ok);
    // A double word: signed or unsigned 32-bit values are both accepted.
    if (!ok || value < std::numeric_limits<std::int32_t>::min()
        || value > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

bool TRegistry::write(const QString& name, const QString& value)
{
    if (!FSettings || !FWritable)
        return false;
    FSettings->setValue(name, value);
    FSettings->sync();
    // A format error of the file as it was read stays in the status.
    return FSettings->status() != QSettings::AccessError;
}

bool TRegistry::WriteInteger(const QString& Name, std::int32_t Value)
{
    return write(Name, QString::number(Value));
}

bool TRegistry::WriteString(const QString& Name, const QString& Value)
{
    return write(Name, Value);
}
