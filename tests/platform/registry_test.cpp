#include "TRegistry.h"

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
