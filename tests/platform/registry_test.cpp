#include "registry.h"

#include "settings_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Points both roots of the store at a temporary folder for one test.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        savedUser_ = qgetenv("XDG_CONFIG_HOME");
        savedMachine_ = qgetenv("QRL_SYSTEM_CONFIG_DIR");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath("user")));
        qputenv("QRL_SYSTEM_CONFIG_DIR", QFile::encodeName(dir_.filePath("machine")));
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", savedUser_);
        qputenv("QRL_SYSTEM_CONFIG_DIR", savedMachine_);
    }

    QTemporaryDir dir_;
    QByteArray savedUser_;
    QByteArray savedMachine_;
};

}  // namespace

TEST_F(RegistryTest, KeysMapToIniFilesUnderEachRoot)
{
    EXPECT_EQ(TRegistry::KeyFile(TRootKey::CurrentUser, "Software\\Varnel\\Quorlo"),
              dir_.filePath("user") + "/Varnel/Quorlo.conf");
    EXPECT_EQ(TRegistry::KeyFile(TRootKey::LocalMachine, "SOFTWARE\\Varnel"),
              dir_.filePath("machine") + "/Varnel.conf");
    EXPECT_TRUE(TRegistry::KeyFile(TRootKey::CurrentUser, "Software").isEmpty());
    EXPECT_TRUE(TRegistry::KeyFile(TRootKey::CurrentUser, "Software\\..\\x").isEmpty());
}

TEST_F(RegistryTest, ValuesSurviveAFreshOpen)
{
    {
        TRegistry reg;
        EXPECT_FALSE(reg.OpenKey("Software\\Varnel\\Quorlo", false)) << "missing, not created";
        ASSERT_TRUE(reg.OpenKey("Software\\Varnel\\Quorlo", true));
        EXPECT_TRUE(reg.WriteInteger("langue", 0x0001040C));
        EXPECT_TRUE(reg.WriteInteger("negative", -2));
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Varnel\\Quorlo"));
    EXPECT_EQ(reg.ReadInteger("langue"), 0x0001040C);
    EXPECT_EQ(reg.ReadInteger("negative"), -2);
    EXPECT_FALSE(reg.ReadInteger("other").has_value());
    EXPECT_FALSE(reg.WriteInteger("langue", 1)) << "opened read-only";

    TRegistry machine(TRootKey::LocalMachine);
    ASSERT_TRUE(machine.OpenKey("SOFTWARE\\Varnel", true));
    EXPECT_TRUE(machine.WriteString("Quorlo", "/opt/quorlo/quorlo"));
    EXPECT_EQ(machine.ReadString("Quorlo"), QString("/opt/quorlo/quorlo"));
}

TEST_F(RegistryTest, GarbageAndUnwritableKeysAreAbsentNotErrors)
{
    const QString file = TRegistry::KeyFile(TRootKey::CurrentUser, "Software\\Varnel\\Quorlo");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("langue=not a number\n\x01\x02\xff garbage [[[\n");
    }
    TRegistry reg;
    // Whether or not the garbled file opens, it holds no saved number.
    reg.OpenKeyReadOnly("Software\\Varnel\\Quorlo");
    EXPECT_FALSE(reg.ReadInteger("langue").has_value());

    // A root below a regular file cannot hold folders, whoever runs the test.
    QFile blocker(dir_.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("QRL_SYSTEM_CONFIG_DIR", QFile::encodeName(dir_.filePath("blocker/etc")));
    TRegistry machine(TRootKey::LocalMachine);
    EXPECT_FALSE(machine.OpenKey("SOFTWARE\\Varnel", true));
    EXPECT_FALSE(machine.WriteString("Quorlo", "x"));
}

TEST_F(RegistryTest, AFileWithASyntaxErrorKeepsItsValuesAndACopyBeforeItIsRewritten)
{
    const QString file = TRegistry::KeyFile(TRootKey::CurrentUser, "Software\\Varnel\\Quorlo");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
    const QByteArray broken = "[General]\nlangue=1036\n[unclosed section\nother=2\n";
    for (const bool secondTime : {false, true}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(broken);
        f.close();

        TRegistry reader;
        ASSERT_TRUE(reader.OpenKeyReadOnly("Software\\Varnel\\Quorlo"));
        EXPECT_EQ(reader.ReadInteger("langue"), 1036);   // the saved choice survives

        TRegistry writer;
        ASSERT_TRUE(writer.OpenKey("Software\\Varnel\\Quorlo", false));
        EXPECT_TRUE(writer.WriteInteger("langue", 1031));
        const QString copy = file + (secondTime ? ".broken-2" : ".broken");
        QFile kept(copy);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << copy.toStdString();
        EXPECT_EQ(kept.readAll(), broken);
        TRegistry again;
        ASSERT_TRUE(again.OpenKeyReadOnly("Software\\Varnel\\Quorlo"));
        EXPECT_EQ(again.ReadInteger("langue"), 1031);
    }
}

using SettingsListTest = RegistryTest;

TEST_F(SettingsListTest, ReadsAsManyStringsAsTheCountSaysWithinTheLimit)
{
    const QString file = TRegistry::KeyFile(TRootKey::CurrentUser, "Software\\Varnel\\Quorlo");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
    const struct {
        const char* stored;
        QStringList read;
    } cases[] = {
        {"[General]\nItemCount=3\nItem1=a\nItem2=b\nItem3=c\nItem4=d\n", {"a", "b", "c"}},
        {"[General]\nItemCount=3\nItem1=a\nItem3=c\n", {"a", "c"}},
        {"[General]\nItemCount=9\nItem1=a\nItem2=b\nItem3=c\nItem4=d\nItem5=e\n", {"a", "b", "c", "d"}},
        {"[General]\nItemCount=x\nItem1=a\n", {}},
        {"[General]\nItemCount=-1\nItem1=a\n", {}},
        {"[General]\nItem1=a\n", {}},
    };
    EXPECT_EQ(ReadSettingsList("Software\\Varnel\\Quorlo", "Item", 4), QStringList()) << "no file";
    for (const auto& c : cases) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.stored);
        f.close();
        EXPECT_EQ(ReadSettingsList("Software\\Varnel\\Quorlo", "Item", 4), c.read) << c.stored;
    }
}

TEST_F(SettingsListTest, WritesTheStringsThenTheCountOrNothingPastTheLimit)
{
    const QString key = "Software\\Varnel\\Quorlo";
    const QString file = TRegistry::KeyFile(TRootKey::CurrentUser, key);
    EXPECT_FALSE(WriteSettingsList(key, "Item", {"a", "b", "c"}, 2));
    EXPECT_FALSE(QFile::exists(file)) << "a list past the limit writes nothing";

    ASSERT_TRUE(WriteSettingsList(key, "Item", {"a", "b"}, 2));
    ASSERT_TRUE(WriteSettingsList(key, "Item", {"e"}, 2));
    EXPECT_EQ(ReadSettingsList(key, "Item", 2), QStringList{"e"});
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[General]\nItem1=e\nItem2=b\nItemCount=1\n"))
        << "an older list's strings stay behind the count";

    // A root below a regular file cannot hold the key's folder.
    QFile blocker(dir_.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath("blocker/config")));
    EXPECT_FALSE(WriteSettingsList(key, "Item", {"a"}, 2));
}
