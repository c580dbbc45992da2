#include "program_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(ProgramDirectoryTest, AFolderWhoseNameIsNotUtf8IsStillThatFolder)
{
    QTemporaryDir top;
    ASSERT_TRUE(top.isValid());
    const QByteArray plain = QFile::encodeName(top.path()) + "/programme";
    const QByteArray latin1 = QFile::encodeName(top.path()) + "/caf\xE9";   // "café" in Latin-1
    for (const QByteArray& folder : {plain, latin1}) {
        ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
        const QString path = PathOfNativeDirectory(folder);
        ASSERT_TRUE(QFileInfo(path).isDir()) << path.toStdString();
        // A file written through the path lands in the folder itself.
        QFile file(path + QStringLiteral("/QRL_ORIGINAL.SPK"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        EXPECT_EQ(::access((folder + "/QRL_ORIGINAL.SPK").constData(), F_OK), 0) << folder.constData();
    }
    EXPECT_EQ(PathOfNativeDirectory(plain), QFile::decodeName(plain));
    EXPECT_TRUE(PathOfNativeDirectory(QFile::encodeName(top.path()) + "/caf\xE9/missing\xFF").isEmpty());
}

TEST(ProgramDirectoryTest, IsTheFolderOfTheRunningExecutable)
{
    EXPECT_EQ(QFileInfo(ProgramDirectory()).canonicalFilePath(),
              QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath());
}
