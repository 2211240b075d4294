#include "FuzzScratch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString& Folder()
{
    static const QTemporaryDir dir(QDir::tempPath() + "/loquena-fuzz-XXXXXX");
    static const QString path = dir.path();
    return path;
}

} // namespace

FuzzScratch::FuzzScratch(const QString& name, QByteArrayView bytes) : m_path(Folder() + '/' + name)
{
    QFile file(m_path);
    m_written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(bytes.data(), bytes.size()) == bytes.size();
}

FuzzScratch::~FuzzScratch()
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(m_path + suffix);
}
