#include "TRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <limits>

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
    FSettings = std::make_unique<QSettings>(file, QSettings::IniFormat);
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
    if (settings->status() != QSettings::NoError)
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
    return FSettings->status() == QSettings::NoError;
}

bool TRegistry::WriteInteger(const QString& Name, std::int32_t Value)
{
    return write(Name, QString::number(Value));
}

bool TRegistry::WriteString(const QString& Name, const QString& Value)
{
    return write(Name, Value);
}
