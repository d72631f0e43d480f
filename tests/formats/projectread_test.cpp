// The one read path: what it reads, and what it refuses at once.
#include "formats/projectread.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "formats/systemreason.h"

namespace {

class ProjectRead : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(_dir.isValid()); }
    QString Path(const QString& name) const { return _dir.filePath(name); }
    static QString Refusal(const QString& path, const QString& reason)
    {
        return QStringLiteral("Не удается открыть файл \"%1\". %2").arg(path, reason);
    }

private:
    QTemporaryDir _dir;
};

} // namespace

TEST_F(ProjectRead, RegularFileIsDecoded)
{
    const QString path = Path(QStringLiteral("prog.veskp"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("$0001\r\n' \xCF\xF0\xE8\xE2\xE5\xF2");
    file.close();
    const TProjectRead read = ReadProjectFile(path);
    EXPECT_EQ(read.error, QString());
    EXPECT_EQ(read.text, u"$0001\n' Привет");
}

TEST_F(ProjectRead, WhatCannotBeAProjectIsRefusedAtOnce)
{
    const QString missing = Path(QStringLiteral("missing.veskp"));
    EXPECT_EQ(ReadProjectFile(missing).error, Refusal(missing, SystemReason(ENOENT) + u'.'));

    const QString folder = Path(QStringLiteral("folder.veskp"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_EQ(ReadProjectFile(folder).error,
              Refusal(folder, QStringLiteral("Это папка, а не файл проекта.")));

    // Nobody writes into the FIFO: the read must not wait for a writer.
    const QString fifo = Path(QStringLiteral("fifo.veskp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(ReadProjectFile(fifo).error,
              Refusal(fifo, QStringLiteral("Это устройство или канал, а не файл проекта.")));

    // One byte over the cap, sparse: refused before anything is read.
    const QString big = Path(QStringLiteral("big.veskp"));
    ASSERT_EQ(::truncate(QFile::encodeName(big).constData(), 0), -1);
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(kProjectFileCap + 1));
    file.close();
    const TProjectRead read = ReadProjectFile(big);
    EXPECT_EQ(read.error, Refusal(big, QStringLiteral("Файл больше 256 МиБ: это не файл проекта.")));
    EXPECT_TRUE(read.text.empty());
}
