#pragma once
#include <QDir>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test's fixtures, removed when the test ends.
class TempDir
{
public:
    TempDir() : m_dir(QDir::tempPath() + "/loquena-test-XXXXXX") {}
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
};
