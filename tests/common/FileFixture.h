#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

// Small file helpers shared by the tests.

// The permission bits of a file or folder (0 when it does not exist).
inline unsigned ModeOf(const QString& path)
{
    struct stat info = {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode & 0777;
}

// The whole file; empty when it cannot be read.
inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// While it lives, no file of this process may grow past `bytes`: a write
// beyond fails as on a full disk (root too), without the signal that would
// end the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_ok = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return m_ok; }

private:
    struct rlimit m_old = {};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};
