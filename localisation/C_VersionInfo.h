#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

/// Packs a version text into major (bits 31-24), minor (23-16), release
/// (15-10) and build (9-0). Numbers end at "." or "," or at the end of the
/// text; other characters are skipped and empty numbers are 0; a fifth number
/// is ignored and each number keeps only its low bits.
/// "2.1.0.14" -> 0x0201000E, "1, 0, 3, 120" -> 0x01000C78, "1.0.0.5 beta" -> 0x01000005.
std::uint32_t ParseVersion(const QString& text);

/// A version text as a number: the text itself when it is a plain decimal
/// number with "." as the point; otherwise the first "," or "." is the point
/// and every other blank, ",", "." and letter is dropped ("1.2.3.4" -> 1.234,
/// in any locale). 0 for an empty text and one that is still no number.
double VersionToFloat(const QString& text);

/// Reads the version block of a file (the file's embedded version
/// information) and offers its fixed fields and string table. Reading is lazy:
/// the first getter called while InfoLoaded is false reads the file, and a
/// failed read leaves every value it did not reach empty or 0 and InfoLoaded
/// false, so the next getter tries again. Nothing here raises.
class TCustomversion_Info : public QObject {
    Q_OBJECT

public:
    /// Starts on the running program's executable.
    explicit TCustomversion_Info(QObject* Owner = nullptr);
    ~TCustomversion_Info() override;

    QString FileName() const { return FFileName; }
    /// Switches to another file when it exists (a directory does not count),
    /// dropping every value read so far; the name of a missing file is
    /// ignored and the previous file and its values stay.
    void SetFileName(const QString& value);
    /// Switches to the running program's executable.
    void LoadFromModule();
    /// True once the file's version information was read successfully.
    bool InfoLoaded() const { return FInfoLoaded; }

    QString Comments() const;
    QString CompanyName() const;
    QString FileDescription() const;
    /// The low word of the fixed file date's high part as the low half of a
    /// 32-bit number, the low word of its low part as the high half.
    double FileDate() const;
    std::uint32_t FileFlags() const;
    std::uint32_t FileFlagsMask() const;
    /// File version a.b.c.d: a.b (a in the high word) and c.d.
    std::uint32_t FileMajorVersion() const;
    std::uint32_t FileMinorVersion() const;
    std::uint32_t FileOS() const;
    std::uint32_t FileType() const;
    std::uint32_t FileSubtype() const;
    /// The string "FileVersion" with every "(" and ")" removed.
    QString FileVersion() const;
    double FileVersionFloat() const;
    /// ParseVersion(FileVersion()).
    std::uint32_t FileVersionInt() const;
    QString InternalName() const;
    int LanguageCount() const;
    /// The English name of the first translation's language.
    QString LanguageName() const;
    QString LegalCopyright() const;
    /// The string "LegalTrademarks".
    QString LegalTrademark() const;
    QString OriginalFilename() const;
    std::uint32_t ProductMajorVersion() const;
    std::uint32_t ProductMinorVersion() const;
    QString ProductName() const;
    /// The string "ProductVersion" with every "(" and ")" removed.
    QString ProductVersion() const;
    double ProductVersionFloat() const;
    /// The first translation: language in the low 16 bits, code page in the high.
    std::uint32_t TranslationValue() const;

protected:
    /// Forgets the file name and every value.
    void Clear();

private:
    struct TValues {
        QString Comments, CompanyName, FileDescription, FileVersion, InternalName;
        QString LanguageName, LegalCopyright, LegalTrademark, OriginalFilename;
        QString ProductName, ProductVersion, StringPrefix;
        double FileDate = 0, FileVersionFloat = 0, ProductVersionFloat = 0;
        std::uint32_t FileFlags = 0, FileFlagsMask = 0, FileMajorVersion = 0, FileMinorVersion = 0;
        std::uint32_t FileOS = 0, FileType = 0, FileSubtype = 0;
        std::uint32_t ProductMajorVersion = 0, ProductMinorVersion = 0, TranslationValue = 0;
        int LanguageCount = 0;
    };

    const TValues& values() const;
    void readInfo() const;
    void reset();

    QString FFileName;
    // Filled lazily by the const getters.
    mutable bool FInfoLoaded = false;
    mutable std::vector<std::uint8_t> FBuffer;
    mutable TValues FValues;
};

/// The version information component with its properties published.
class TVersionInfo : public TCustomversion_Info {
    Q_OBJECT
    Q_PROPERTY(QString Comments READ Comments)
    Q_PROPERTY(QString CompanyName READ CompanyName)
    Q_PROPERTY(QString FileDescription READ FileDescription)
    Q_PROPERTY(double FileDate READ FileDate)
    Q_PROPERTY(quint32 FileFlags READ FileFlags)
    Q_PROPERTY(quint32 FileFlagsMask READ FileFlagsMask)
    Q_PROPERTY(quint32 FileMajorVersion READ FileMajorVersion)
    Q_PROPERTY(quint32 FileMinorVersion READ FileMinorVersion)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(quint32 FileOS READ FileOS)
    Q_PROPERTY(quint32 FileType READ FileType)
    Q_PROPERTY(quint32 FileSubtype READ FileSubtype)
    Q_PROPERTY(QString FileVersion READ FileVersion)
    Q_PROPERTY(double FileVersionFloat READ FileVersionFloat)
    Q_PROPERTY(quint32 FileVersionInt READ FileVersionInt)
    Q_PROPERTY(QString InternalName READ InternalName)
    Q_PROPERTY(int LanguageCount READ LanguageCount)
    Q_PROPERTY(QString LanguageName READ LanguageName)
    Q_PROPERTY(QString LegalCopyright READ LegalCopyright)
    Q_PROPERTY(QString LegalTrademark READ LegalTrademark)
    Q_PROPERTY(QString OriginalFilename READ OriginalFilename)
    Q_PROPERTY(quint32 ProductMajorVersion READ ProductMajorVersion)
    Q_PROPERTY(quint32 ProductMinorVersion READ ProductMinorVersion)
    Q_PROPERTY(QString ProductName READ ProductName)
    Q_PROPERTY(QString ProductVersion READ ProductVersion)
    Q_PROPERTY(double ProductVersionFloat READ ProductVersionFloat)
    Q_PROPERTY(quint32 TranslationValue READ TranslationValue)
    Q_PROPERTY(bool InfoLoaded READ InfoLoaded)

public:
    /// Unlike its base, starts with no file: set FileName or call LoadFromModule.
    explicit TVersionInfo(QObject* Owner = nullptr);
};
