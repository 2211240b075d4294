// The private recording folders of clinic workstations left behind in the
// temporary folder by programs that were killed.
#include "statistics/RecordingFolders.h"
#include "common/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The number of a process that has ended.
qint64 EndedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// A folder with a recording in it.
QString MakeFolder(const TempDir& parent, const QString& name)
{
    const QString path = parent.file(name);
    QDir().mkpath(path);
    QFile file(path + "/AAAAAAAB_AAAAAABK_W.WAV");
    file.open(QIODevice::WriteOnly);
    file.write("RIFF");
    return path;
}

} // namespace

TEST(RecordingFolders, OnlyTheFoldersOfEndedProcessesAreRemoved)
{
    TempDir parent;
    const qint64 ended = EndedProcess();
    const qint64 running = QCoreApplication::applicationPid();
    const struct
    {
        QString name;
        bool removed;
    } cases[] = {
        {QString("loquena-nagrania-%1-a1B2c3").arg(ended), true},
        {QString("loquena-nagrania-%1-d4E5f6").arg(running), false},
        // The parent of all processes never ends; a number is not enough.
        {"loquena-nagrania-1-g7H8i9", false},
        // Made by an older version: whose it is cannot be told.
        {"loquena-nagrania-Xy12Zw", false},
        {QString("inny-program-%1-a1B2c3").arg(ended), false},
    };
    for (const auto& c : cases)
        MakeFolder(parent, c.name);
    RemoveLeftRecordingFolders(parent.path());
    for (const auto& c : cases)
        EXPECT_EQ(QDir(parent.file(c.name)).exists(), !c.removed) << c.name.toStdString();
}

TEST(RecordingFolders, AFolderMadeFromTheTemplateGoesWithItsProcess)
{
    TempDir parent;
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QString pattern = RecordingFolderTemplate(parent.path());
    ASSERT_TRUE(pattern.contains("-" + pid + "-")) << pattern.toStdString();
    QTemporaryDir mine(pattern);
    QString endedPattern = pattern;
    endedPattern.replace("-" + pid + "-", QString("-%1-").arg(EndedProcess()));
    QTemporaryDir killed(endedPattern);
    killed.setAutoRemove(false);
    ASSERT_TRUE(mine.isValid() && killed.isValid());
    RemoveLeftRecordingFolders(parent.path());
    EXPECT_TRUE(QDir(mine.path()).exists());
    EXPECT_FALSE(QDir(killed.path()).exists());
}
