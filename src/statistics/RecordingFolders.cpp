#include "statistics/RecordingFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

const QLatin1String kPrefix("loquena-nagrania-");

bool ProcessEnded(qint64 pid)
{
    // EPERM: running, under another user.
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

QString RecordingFolderTemplate(const QString& parent)
{
    return QStringLiteral("%1/%2%3-XXXXXX")
        .arg(parent, kPrefix)
        .arg(QCoreApplication::applicationPid());
}

void RemoveLeftRecordingFolders(const QString& parent)
{
    static const QRegularExpression name(QStringLiteral("^loquena-nagrania-(\\d+)-\\w{6}$"));
    const QFileInfoList folders = QDir(parent).entryInfoList(
        {kPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoSymLinks | QDir::Hidden | QDir::System);
    for (const QFileInfo& folder : folders) {
        const QRegularExpressionMatch match = name.match(folder.fileName());
        if (!match.hasMatch() || folder.ownerId() != ::getuid())
            continue;
        if (ProcessEnded(match.captured(1).toLongLong()))
            QDir(folder.filePath()).removeRecursively();
    }
}
