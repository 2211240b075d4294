#include "content/OwnFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <sys/stat.h>

bool OwnFiles::WriteWhole(const QString& path, const QByteArray& data, QString* error)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    ::fchmod(file.handle(), 0600);
    if (file.write(data) != data.size() || !file.commit()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool OwnFiles::MakeFolder(const QString& path, QString* error)
{
    if (QFileInfo(path).isDir())
        return true;
    if (!QDir().mkpath(path)) {
        *error = QStringLiteral("nie można utworzyć folderu \"%1\"").arg(path);
        return false;
    }
    ::chmod(QFile::encodeName(path).constData(), 0700);
    return true;
}
