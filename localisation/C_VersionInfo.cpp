#include "C_VersionInfo.h"

#include "language_name.h"
#include "U_UnicodeUtils.h"
#include "version_block.h"

#include <QFile>
#include <QLocale>

#include <array>
#include <iterator>

namespace {

// The string-table keys in the order they are read.
constexpr std::array<const char*, 10> kStringKeys = {
    "Comments",       "CompanyName",     "FileDescription",  "FileVersion", "InternalName",
    "LegalCopyright", "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion",
};

// The running program as the system reports it; the path is taken whole,
// however long it is.
QString runningModulePath()
{
    return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

QString withoutBrackets(QString text)
{
    return text.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
}

// A text value ends at its first NUL; the block's own NUL is not part of it.
QString textValue(std::span<const std::uint8_t> value)
{
    const char* bytes = reinterpret_cast<const char*>(value.data());
    return QString::fromUtf8(bytes, static_cast<qsizetype>(qstrnlen(bytes, value.size())));
}

// Optional sign, digits, at most one "." and at least one digit: the texts
// that are a number as they stand.
bool isPlainDecimal(const QString& text)
{
    int digits = 0;
    int points = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
        else if (c == QLatin1Char('.'))
            ++points;
        else if (i != 0 || (c != QLatin1Char('-') && c != QLatin1Char('+')))
            return false;
    }
    return digits > 0 && points <= 1;
}

}  // namespace

std::uint32_t ParseVersion(const QString& text)
{
    constexpr int kMaxNumbers = 5;
    constexpr int kMaxDigits = 24;
    std::array<std::uint64_t, kMaxNumbers> numbers{};
    int count = 0;
    QString digits;
    for (qsizetype i = 0; i < text.size() && count < kMaxNumbers; ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9') && digits.size() < kMaxDigits)
            digits += c;
        if (c == QLatin1Char('.') || c == QLatin1Char(',') || i == text.size() - 1) {
            // Up to 24 digits overflow 64 bits; wrapping modulo 2^64 keeps the
            // low bits exact, and only those are packed.
            std::uint64_t n = 0;
            for (const QChar d : digits)
                n = n * 10 + static_cast<std::uint64_t>(d.unicode() - u'0');
            numbers[count++] = n;
            digits.clear();
        }
    }
    return static_cast<std::uint32_t>((numbers[0] & 0xFF) << 24 | (numbers[1] & 0xFF) << 16
                                      | (numbers[2] & 0x3F) << 10 | (numbers[3] & 0x3FF));
}

double VersionToFloat(const QString& text)
{
    if (text.isEmpty())
        return 0;
    bool ok = false;
    if (isPlainDecimal(text)) {
        const double value = QLocale::c().toDouble(text, &ok);
        if (ok)
            return value;
    }

    const QLocale locale;
    QString s = text;
    const qsizetype comma = s.indexOf(QLatin1Char(','));
    if (comma >= 0)
        s[comma] = QLatin1Char('.');
    const qsizetype point = s.indexOf(QLatin1Char('.'));
    QString number;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (i == point)
            number += locale.decimalPoint();
        else if (!c.isSpace() && c != QLatin1Char(',') && c != QLatin1Char('.') && !c.isLetter())
            number += c;
    }
    if (point == s.size() - 1)
        number += QLatin1Char('0');
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    const double value = strict.toDouble(number, &ok);
    return ok ? value : 0;
}

TCustomversion_Info::TCustomversion_Info(QObject* Owner) : QObject(Owner)
{
    SetFileName(runningModulePath());
}

TCustomversion_Info::~TCustomversion_Info() = default;

void TCustomversion_Info::SetFileName(const QString& value)
{
    if (!WideFileExists(value))
        return;
    FFileName = value;
    reset();
}

void TCustomversion_Info::LoadFromModule()
{
    SetFileName(runningModulePath());
}

void TCustomversion_Info::Clear()
{
    FFileName.clear();
    reset();
}

void TCustomversion_Info::reset()
{
    FInfoLoaded = false;
    FBuffer.clear();
    FBuffer.shrink_to_fit();
    FValues = TValues{};
}

const TCustomversion_Info::TValues& TCustomversion_Info::values() const
{
    if (!FInfoLoaded)
        readInfo();
    return FValues;
}

void TCustomversion_Info::readInfo() const
{
    FInfoLoaded = false;
    if (!WideFileExists(FFileName))
        return;
    std::uint32_t handle = 0;
    const std::uint32_t size = WideGetFileVersionInfoSize(FFileName, handle);
    if (size == 0)
        return;
    FBuffer.assign(size, 0);
    if (!WideGetFileVersionInfo(FFileName, handle, size, FBuffer.data()))
        return;

    TValues& v = FValues;
    const auto translation = VerQueryValue(FBuffer, "\\VarFileInfo\\Translation");
    // Fewer than four bytes hold no (language, code page) pair to read.
    if (!translation || translation->size() < 4)
        return;
    const std::uint16_t language = static_cast<std::uint16_t>((*translation)[0] | (*translation)[1] << 8);
    const std::uint16_t codePage = static_cast<std::uint16_t>((*translation)[2] | (*translation)[3] << 8);
    v.TranslationValue = static_cast<std::uint32_t>(codePage) << 16 | language;
    v.LanguageCount = static_cast<int>(translation->size() / 4);
    v.LanguageName = LanguageNameOf(language);
    v.StringPrefix = QString::asprintf("StringFileInfo\\%04x%04x\\", language, codePage);

    const auto root = VerQueryValue(FBuffer, "\\");
    const std::optional<TFixedFileInfo> fixed = root ? DecodeFixedFileInfo(*root) : std::nullopt;
    if (!fixed)
        return;
    v.FileMajorVersion = fixed->dwFileVersionMS;
    v.FileMinorVersion = fixed->dwFileVersionLS;
    v.ProductMajorVersion = fixed->dwProductVersionMS;
    v.ProductMinorVersion = fixed->dwProductVersionLS;
    v.FileFlagsMask = fixed->dwFileFlagsMask;
    v.FileFlags = fixed->dwFileFlags;
    v.FileOS = fixed->dwFileOS;
    v.FileType = fixed->dwFileType;
    v.FileSubtype = fixed->dwFileSubtype;
    v.FileDate = static_cast<double>((fixed->dwFileDateLS & 0xFFFF) << 16 | (fixed->dwFileDateMS & 0xFFFF));

    QString* const targets[] = {&v.Comments,       &v.CompanyName,      &v.FileDescription,
                                &v.FileVersion,    &v.InternalName,     &v.LegalCopyright,
                                &v.LegalTrademark, &v.OriginalFilename, &v.ProductName,
                                &v.ProductVersion};
    static_assert(std::size(targets) == kStringKeys.size());
    for (std::size_t i = 0; i < kStringKeys.size(); ++i) {
        const QByteArray path = (v.StringPrefix + QLatin1String(kStringKeys[i])).toLatin1();
        const auto value = VerQueryValue(FBuffer, std::string_view(path.constData(), path.size()));
        *targets[i] = value && !value->empty() ? textValue(*value) : QString();
    }
    v.FileVersion = withoutBrackets(v.FileVersion);
    v.ProductVersion = withoutBrackets(v.ProductVersion);
    v.FileVersionFloat = VersionToFloat(v.FileVersion);
    v.ProductVersionFloat = VersionToFloat(v.ProductVersion);
    FInfoLoaded = true;
}

QString TCustomversion_Info::Comments() const { return values().Comments; }
QString TCustomversion_Info::CompanyName() const { return values().CompanyName; }
QString TCustomversion_Info::FileDescription() const { return values().FileDescription; }
double TCustomversion_Info::FileDate() const { return values().FileDate; }
std::uint32_t TCustomversion_Info::FileFlags() const { return values().FileFlags; }
std::uint32_t TCustomversion_Info::FileFlagsMask() const { return values().FileFlagsMask; }
std::uint32_t TCustomversion_Info::FileMajorVersion() const { return values().FileMajorVersion; }
std::uint32_t TCustomversion_Info::FileMinorVersion() const { return values().FileMinorVersion; }
std::uint32_t TCustomversion_Info::FileOS() const { return values().FileOS; }
std::uint32_t TCustomversion_Info::FileType() const { return values().FileType; }
std::uint32_t TCustomversion_Info::FileSubtype() const { return values().FileSubtype; }
QString TCustomversion_Info::FileVersion() const { return values().FileVersion; }
double TCustomversion_Info::FileVersionFloat() const { return values().FileVersionFloat; }
std::uint32_t TCustomversion_Info::FileVersionInt() const { return ParseVersion(values().FileVersion); }
QString TCustomversion_Info::InternalName() const { return values().InternalName; }
int TCustomversion_Info::LanguageCount() const { return values().LanguageCount; }
QString TCustomversion_Info::LanguageName() const { return values().LanguageName; }
QString TCustomversion_Info::LegalCopyright() const { return values().LegalCopyright; }
QString TCustomversion_Info::LegalTrademark() const { return values().LegalTrademark; }
QString TCustomversion_Info::OriginalFilename() const { return values().OriginalFilename; }
std::uint32_t TCustomversion_Info::ProductMajorVersion() const { return values().ProductMajorVersion; }
std::uint32_t TCustomversion_Info::ProductMinorVersion() const { return values().ProductMinorVersion; }
QString TCustomversion_Info::ProductName() const { return values().ProductName; }
QString TCustomversion_Info::ProductVersion() const { return values().ProductVersion; }
double TCustomversion_Info::ProductVersionFloat() const { return values().ProductVersionFloat; }
std::uint32_t TCustomversion_Info::TranslationValue() const { return values().TranslationValue; }

TVersionInfo::TVersionInfo(QObject* Owner) : TCustomversion_Info(Owner)
{
    Clear();
}
