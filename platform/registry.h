#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QSettings;

/// The two roots of the settings store: the user's and the machine's.
enum class TRootKey { CurrentUser, LocalMachine };

/// The settings store: each key is an INI file. The user's keys live under
/// $XDG_CONFIG_HOME (default ~/.config), the machine's under /etc/xdg (or
/// $QRL_SYSTEM_CONFIG_DIR). A leading "Software" is dropped and the rest of
/// the path names the file: "Software\Varnel\Quorlo" is Varnel/Quorlo.conf.
///
/// Like the registry it stands in for, it never raises: a key that cannot be
/// opened or written reports false, a value that is missing or unreadable is
/// absent.
class TRegistry {
public:
    explicit TRegistry(TRootKey root = TRootKey::CurrentUser);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    /// Opens the key for reading and writing, creating it (and its folders)
    /// when CanCreate is set. False when it is missing or cannot be written.
    /// A file with lines that do not parse is copied to "<file>.broken"
    /// first, since writing drops those lines; false when that copy fails.
    bool OpenKey(const QString& Key, bool CanCreate);
    /// Opens an existing, readable key for reading only; values that parse
    /// are read also when other lines of the file do not.
    bool OpenKeyReadOnly(const QString& Key);
    void CloseKey();

    bool ValueExists(const QString& Name) const;
    /// A 32-bit integer value; absent when missing or not a number.
    std::optional<std::int32_t> ReadInteger(const QString& Name) const;
    std::optional<QString> ReadString(const QString& Name) const;
    /// False when the key is not open for writing or the file cannot be written.
    bool WriteInteger(const QString& Name, std::int32_t Value);
    bool WriteString(const QString& Name, const QString& Value);

    /// The folder that holds the root's keys.
    static QString RootFolder(TRootKey root);
    /// The file that holds a key; empty for a key that names no file.
    static QString KeyFile(TRootKey root, const QString& Key);

private:
    bool write(const QString& name, const QString& value);

    TRootKey FRoot;
    std::unique_ptr<QSettings> FSettings;
    bool FWritable = false;
};
