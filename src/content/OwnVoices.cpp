#include "content/OwnVoices.h"

#include "content/ContentScramble.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const QString OwnVoicesFolder = QStringLiteral("Glosy");

namespace {

const QString ShippedFolder = QStringLiteral("Data/");

// Makes each missing folder of `path` readable by its owner only.
bool MakePrivateFolders(const QString& path)
{
    // An absolute path keeps its root.
    QString sofar = path.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        sofar += part;
        const QByteArray name = QFile::encodeName(sofar);
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        sofar += QLatin1Char('/');
    }
    return QFileInfo(path).isDir();
}

bool WriteAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, p, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        p += written;
        left -= written;
    }
    return ::fsync(fd) == 0;
}

} // namespace

QString OwnVoiceFile(const QString& soundPath)
{
    return OwnVoiceFileIn(OwnVoicesFolder, soundPath);
}

QString OwnVoiceFileIn(const QString& voicesFolder, const QString& soundPath)
{
    if (!soundPath.startsWith(ShippedFolder))
        return {};
    // Plain names only, so that one sound has one file and none lies outside.
    const QString rest = soundPath.mid(ShippedFolder.size());
    for (const QString& part : rest.split(QLatin1Char('/')))
        if (part.isEmpty() || part == QStringLiteral(".") || part == QStringLiteral(".."))
            return {};
    return voicesFolder + QLatin1Char('/') + rest + QStringLiteral(".wv");
}

QStringList OwnVoicePathsIn(const QString& voicesFolder)
{
    QStringList paths;
    const QDir root(voicesFolder);
    QDirIterator it(voicesFolder, {QStringLiteral("*.wv")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rest = root.relativeFilePath(it.next());
        paths << ShippedFolder + rest.chopped(3);
    }
    paths.sort();
    return paths;
}

bool HasOwnVoice(const QString& soundPath)
{
    const QString own = OwnVoiceFile(soundPath);
    return !own.isEmpty() && QFileInfo(own).isFile();
}

QString SoundFileToPlay(const QString& soundPath)
{
    return HasOwnVoice(soundPath) ? OwnVoiceFile(soundPath) : soundPath + QStringLiteral(".wv");
}

bool SaveOwnVoice(const QString& soundPath, const QByteArray& wave)
{
    return SaveOwnVoiceIn(OwnVoicesFolder, soundPath, wave);
}

bool SaveOwnVoiceIn(const QString& voicesFolder, const QString& soundPath, const QByteArray& wave)
{
    const QString own = OwnVoiceFileIn(voicesFolder, soundPath);
    if (own.isEmpty() || !MakePrivateFolders(QFileInfo(own).path()))
        return false;
    QByteArray temp = QFile::encodeName(own + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(temp.data()); // made with mode 0600
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, ScrambleWv(wave));
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temp.constData(), QFile::encodeName(own).constData()) == 0)
        return true;
    ::unlink(temp.constData());
    return false;
}

bool RemoveOwnVoice(const QString& soundPath)
{
    const QString own = OwnVoiceFile(soundPath);
    if (own.isEmpty())
        return false;
    const QByteArray name = QFile::encodeName(own);
    return ::unlink(name.constData()) == 0 || errno == ENOENT;
}
