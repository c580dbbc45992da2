#include "C_VersionInfo.h"

#include "elf_builder.h"
#include "version_block.h"

#include <QFile>
#include <QLocale>
#include <QMetaProperty>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kSample = QStringLiteral(QRL_VERSIONED_SAMPLE);

QString runningProgram()
{
    return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

std::vector<std::uint8_t> encode(const TVersionSource& source)
{
    std::vector<std::uint8_t> block(EncodeVersionBlock(source, nullptr));
    EncodeVersionBlock(source, block.data());
    return block;
}

// A small ELF file whose version block is `block`.
QString writeVersioned(const QTemporaryDir& dir, const QString& name, const std::vector<std::uint8_t>& block)
{
    const QString path = dir.filePath(name);
    WriteBytes(path, TElfImage({{".qrl_version", block}}).Bytes);
    return path;
}

// Every published property but the file name is empty, 0 or false.
void expectAllEmpty(const TVersionInfo& info)
{
    const QMetaObject* meta = info.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        if (QLatin1String(p.name()) == QLatin1String("FileName"))
            continue;
        const QVariant v = p.read(&info);
        if (v.typeId() == QMetaType::QString)
            EXPECT_TRUE(v.toString().isEmpty()) << p.name();
        else
            EXPECT_EQ(v.toDouble(), 0.0) << p.name();
    }
    EXPECT_FALSE(info.InfoLoaded());
}

}  // namespace

TEST(TVersionInfo, ReadsEveryValueOfTheSample)
{
    TVersionInfo info;
    info.SetFileName(kSample);
    EXPECT_EQ(info.FileName(), kSample);
    EXPECT_FALSE(info.InfoLoaded());  // nothing is read before a value is asked for

    EXPECT_EQ(info.CompanyName(), QStringLiteral("Varnel"));
    EXPECT_TRUE(info.InfoLoaded());
    EXPECT_EQ(info.Comments(), QStringLiteral("Read back by the support tests"));
    EXPECT_EQ(info.FileDescription(), QStringLiteral("Quorlo version block sample"));
    EXPECT_EQ(info.FileVersion(), QStringLiteral("65535.0.10.2"));
    EXPECT_EQ(info.FileVersionInt(), 0xFF002802u);  // each field keeps only its low bits
    EXPECT_DOUBLE_EQ(info.FileVersionFloat(), 65535.0102);
    EXPECT_EQ(info.FileMajorVersion(), 0xFFFF0000u);
    EXPECT_EQ(info.FileMinorVersion(), 0x000A0002u);
    EXPECT_EQ(info.ProductVersion(), QStringLiteral("3.4.5.6 beta"));
    EXPECT_DOUBLE_EQ(info.ProductVersionFloat(), 3.456);
    EXPECT_EQ(info.ProductMajorVersion(), 0x00030004u);
    EXPECT_EQ(info.ProductMinorVersion(), 0x00050006u);
    EXPECT_EQ(info.ProductName(), QStringLiteral("Quorlo"));
    EXPECT_EQ(info.InternalName(), QStringLiteral("versioned_sample"));
    EXPECT_EQ(info.OriginalFilename(), QStringLiteral("versioned_sample"));
    EXPECT_EQ(info.LegalCopyright(), QStringLiteral("Copyright \u00a9 Varnel \"2024\""));
    EXPECT_EQ(info.LegalTrademark(), QString());
    EXPECT_EQ(info.FileFlagsMask(), 0x3Fu);
    EXPECT_EQ(info.FileFlags() & ~kVS_FF_DEBUG, 0u);
    EXPECT_EQ(info.FileOS(), 0u);
    EXPECT_EQ(info.FileType(), 1u);
    EXPECT_EQ(info.FileSubtype(), 0u);
    EXPECT_EQ(info.FileDate(), 0.0);
    EXPECT_EQ(info.LanguageCount(), 1);
    EXPECT_EQ(info.TranslationValue(), 0xFDE9040Cu);  // French (France), UTF-8
    EXPECT_EQ(info.LanguageName(), QStringLiteral("French (France)"));
    EXPECT_EQ(info.property("CompanyName").toString(), QStringLiteral("Varnel"));
}

TEST(TVersionInfo, StartsWithoutAFileAndLoadsTheRunningProgram)
{
    TVersionInfo info;
    EXPECT_TRUE(info.FileName().isEmpty());
    expectAllEmpty(info);

    info.LoadFromModule();
    EXPECT_EQ(info.FileName(), runningProgram());
    EXPECT_EQ(info.FileVersionInt(), ParseVersion(QStringLiteral(QRL_PROJECT_VERSION)));
    EXPECT_EQ(info.FileDescription(), QStringLiteral("Quorlo localisation tests"));

    const TCustomversion_Info base;
    EXPECT_EQ(base.FileName(), runningProgram());
    EXPECT_EQ(base.FileVersion(), QStringLiteral(QRL_PROJECT_VERSION));
}

TEST(TVersionInfo, FilesWithoutVersionHaveNoValues)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    WriteBytes(text, {'h', 'i'});
    for (const QString& name : {QStringLiteral("/bin/sh"), text}) {
        TVersionInfo info;
        info.SetFileName(name);
        EXPECT_EQ(info.FileName(), name);
        expectAllEmpty(info);
    }
}

TEST(TVersionInfo, MissingFilesKeepThePreviousFileAndValues)
{
    QTemporaryDir dir;
    TVersionInfo info;
    info.SetFileName(kSample);
    ASSERT_EQ(info.CompanyName(), QStringLiteral("Varnel"));
    for (const QString& name : {dir.filePath(QStringLiteral("missing")), dir.path(), QString()}) {
        info.SetFileName(name);
        EXPECT_EQ(info.FileName(), kSample);
        EXPECT_TRUE(info.InfoLoaded());
        EXPECT_EQ(info.FileVersion(), QStringLiteral("65535.0.10.2"));
    }

    // An existing file replaces everything, even when it has no version.
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    WriteBytes(text, {'h', 'i'});
    info.SetFileName(text);
    expectAllEmpty(info);
}

TEST(TVersionInfo, AFailedReadIsTriedAgain)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("program"));
    WriteBytes(path, {'h', 'i'});
    TVersionInfo info;
    info.SetFileName(path);
    EXPECT_TRUE(info.CompanyName().isEmpty());
    EXPECT_FALSE(info.InfoLoaded());

    const TVersionString strings[] = {{"CompanyName", "Varnel"}};
    writeVersioned(dir, QStringLiteral("program"), encode({{}, 0x0409, 65001, strings}));
    EXPECT_EQ(info.CompanyName(), QStringLiteral("Varnel"));
    EXPECT_TRUE(info.InfoLoaded());
}

TEST(TVersionInfo, VersionTextsDatesAndDamagedBlocks)
{
    QTemporaryDir dir;
    const TVersionString strings[] = {{"FileVersion", "(1.0.0.5 beta)"}, {"ProductVersion", ""}};
    TVersionSource source{{.dwFileDateMS = 0x12345678, .dwFileDateLS = 0x9ABCDEF0}, 0x0C0C, 1252, strings};
    std::vector<std::uint8_t> block = encode(source);

    TVersionInfo info;
    info.SetFileName(writeVersioned(dir, QStringLiteral("beta"), block));
    EXPECT_EQ(info.FileVersion(), QStringLiteral("1.0.0.5 beta"));
    EXPECT_EQ(info.FileVersionInt(), 0x01000005u);
    EXPECT_DOUBLE_EQ(info.FileVersionFloat(), 1.005);
    EXPECT_EQ(info.ProductVersion(), QString());  // an empty value is no value
    EXPECT_EQ(info.ProductVersionFloat(), 0.0);
    EXPECT_EQ(info.FileDate(), static_cast<double>(0xDEF05678u));
    EXPECT_EQ(info.LanguageName(), QStringLiteral("French (Canada)"));
    EXPECT_TRUE(info.InfoLoaded());

    // A translation too short for one pair, and a block without a root.
    const std::size_t translationLength = 16 + 64 + 4;
    std::vector<std::uint8_t> shortPair = block;
    shortPair[translationLength] = 2;
    std::vector<std::uint8_t> noRoot = block;
    noRoot[16 + 8] = 'X';
    for (const auto& damaged : {shortPair, noRoot}) {
        TVersionInfo broken;
        broken.SetFileName(writeVersioned(dir, QStringLiteral("broken"), damaged));
        EXPECT_TRUE(broken.FileVersion().isEmpty());
        EXPECT_EQ(broken.FileMajorVersion(), 0u);
        EXPECT_FALSE(broken.InfoLoaded());
    }
}

TEST(ParseVersion, PacksFourFields)
{
    EXPECT_EQ(ParseVersion(QStringLiteral("2.1.0.14")), 0x0201000Eu);
    EXPECT_EQ(ParseVersion(QStringLiteral("1, 0, 3, 120")), 0x01000C78u);
    EXPECT_EQ(ParseVersion(QStringLiteral("1.0.0.5 beta")), 0x01000005u);
    EXPECT_EQ(ParseVersion(QString()), 0u);
    EXPECT_EQ(ParseVersion(QStringLiteral("7")), 0x07000000u);
    EXPECT_EQ(ParseVersion(QStringLiteral("1..3")), 0x01000C00u);
    EXPECT_EQ(ParseVersion(QStringLiteral("1.2.3.4.5.6")), 0x01020C04u);
    // Fields keep their low bits: 8, 8, 6 and 10 of them.
    EXPECT_EQ(ParseVersion(QStringLiteral("256.257.65.1025")), 0x00010401u);
    // Only 24 digits are kept, and a number that long still packs its low bits.
    EXPECT_EQ(ParseVersion(QStringLiteral("123456789012345678901234567.1")), 0xF2010000u);
}

TEST(VersionToFloat, TurnsVersionTextsIntoNumbers)
{
    EXPECT_DOUBLE_EQ(VersionToFloat(QStringLiteral("1.2.3.4")), 1.234);
    EXPECT_DOUBLE_EQ(VersionToFloat(QStringLiteral("2.5")), 2.5);
    EXPECT_DOUBLE_EQ(VersionToFloat(QStringLiteral("12")), 12.0);
    EXPECT_DOUBLE_EQ(VersionToFloat(QStringLiteral("1, 0, 3, 120")), 1.0312);
    EXPECT_DOUBLE_EQ(VersionToFloat(QStringLiteral("1.0.0.5 beta")), 1.005);
    EXPECT_DOUBLE_EQ(VersionToFloat(QStringLiteral("7.")), 7.0);
    EXPECT_EQ(VersionToFloat(QString()), 0.0);
    EXPECT_EQ(VersionToFloat(QStringLiteral("beta")), 0.0);
    EXPECT_EQ(VersionToFloat(QStringLiteral("1.2-3")), 0.0);

    // The result does not depend on the locale's decimal and group separators.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_DOUBLE_EQ(VersionToFloat(QStringLiteral("1.2.3.4")), 1.234);
    EXPECT_DOUBLE_EQ(VersionToFloat(QStringLiteral("1, 0, 3, 120")), 1.0312);
    EXPECT_DOUBLE_EQ(VersionToFloat(QStringLiteral("2.5")), 2.5);
    QLocale::setDefault(previous);
}
