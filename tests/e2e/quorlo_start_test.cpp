// Starts the real program as a user would and checks what start-up writes.
#include "licence.h"

#include <QDir>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>
#include <sys/stat.h>
#include <functional>

namespace {

// A copy of the program in a folder of its own: language files lie beside
// the program, so that is where "-co" writes.
class QuorloStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        program = dir.filePath("quorlo");
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUORLO), program));
    }

    // Runs the program until `done` holds (or the bound passes), then ends
    // it. Start-up writes several files one after another: the caller waits
    // for everything it checks, never for a fixed time.
    bool runUntil(const QStringList& args, const std::function<bool()>& done, int boundMs = 30000)
    {
        QProcess quorlo;
        quorlo.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("QRL_SYSTEM_CONFIG_DIR", dir.filePath("machine"));
        quorlo.setProcessEnvironment(env);
        quorlo.start(program, args);
        if (!quorlo.waitForStarted(10000))
            return false;
        QDeadlineTimer deadline(boundMs);
        bool finished = done();
        while (!finished && !deadline.hasExpired() && quorlo.state() == QProcess::Running) {
            QThread::msleep(20);
            finished = done();
        }
        // The program runs until its window closes: end it from outside.
        quorlo.terminate();
        if (!quorlo.waitForFinished(5000)) {
            quorlo.kill();
            quorlo.waitForFinished(5000);
        }
        return finished;
    }

    // True once the machine's settings name this copy of the program: the
    // first activation has recorded the install path.
    bool installPathRecorded() const
    {
        QFile settings(dir.filePath("machine/Varnel.conf"));
        return settings.open(QIODevice::ReadOnly) && settings.readAll().contains(QFile::encodeName(program));
    }

    QTemporaryDir dir;
    QString program;
};

}  // namespace

TEST_F(QuorloStart, CompileSwitchWritesTheOriginalFileBesideTheProgram)
{
    const QString original = dir.filePath("QRL_ORIGINAL.SPK");
    // The original-language file appears under its name only when complete.
    ASSERT_TRUE(runUntil({"-compile"}, [&] { return QFile::exists(original) && installPathRecorded(); }));
    QFile file(original);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("ZOQ LANGUAGE FILE"));
    EXPECT_TRUE(bytes.contains("MainDlg.print_btn"));
    EXPECT_TRUE(bytes.contains("AboutDlg.TS_about"));
    EXPECT_TRUE(bytes.contains("SettingsDlg"));

}

TEST_F(QuorloStart, WithoutTheSwitchNothingIsWritten)
{
    // The first activation records the install path: wait for that, then
    // check that no original-language file came with it.
    ASSERT_TRUE(runUntil({"co"}, [&] { return installPathRecorded(); }));
    EXPECT_FALSE(QFile::exists(dir.filePath("QRL_ORIGINAL.SPK")));
}

TEST(QuorloTerminal, HelpAndVersionAnswerWithoutADisplay)
{
    struct Case {
        const char* arg;
        QByteArray expected;
    };
    const Case cases[] = {
        {"--version", QByteArray("quorlo " QUORLO_VERSION "\n") + kLicenceLine + '\n'},
        {"--help", "Usage: quorlo [PHOTO.jpg] [-co]\n"},
        {"-h", "Usage: quorlo [PHOTO.jpg] [-co]\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arg);
        QProcess quorlo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(display);
        quorlo.setProcessEnvironment(env);
        quorlo.start(QStringLiteral(QUORLO), {c.arg, "photo.jpg"});
        ASSERT_TRUE(quorlo.waitForFinished(20000));
        EXPECT_EQ(quorlo.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(quorlo.exitCode(), 0);
        EXPECT_TRUE(quorlo.readAllStandardOutput().startsWith(c.expected));
    }
}

TEST_F(QuorloStart, AProgramFolderWhoseNameIsNotUtf8StillGetsTheOriginalFile)
{
    // "café" in Latin-1: bytes that no UTF-8 string holds. The test reaches
    // the folder through a link; the program sees its real name.
    const QByteArray folder = QFile::encodeName(dir.path()) + "/caf\xE9";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    ASSERT_EQ(::symlink("caf\xE9", QFile::encodeName(dir.filePath("link")).constData()), 0);
    program = dir.filePath("link/quorlo");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUORLO), program));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    ASSERT_TRUE(runUntil({"-co"}, [&] { return QFile::exists(dir.filePath("link/QRL_ORIGINAL.SPK")); }));
    EXPECT_EQ(::access((folder + "/QRL_ORIGINAL.SPK").constData(), F_OK), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("QRL_ORIGINAL.SPK"))) << "not in the current folder";
}
