#pragma once
#include <QByteArrayView>
#include <QString>

// One input written as a file of the given name in a folder of this process,
// removed again (with any SQLite journal beside it) when the object goes.
class FuzzScratch
{
public:
    FuzzScratch(const QString& name, QByteArrayView bytes);
    ~FuzzScratch();
    FuzzScratch(const FuzzScratch&) = delete;
    FuzzScratch& operator=(const FuzzScratch&) = delete;

    const QString& Path() const { return m_path; }
    // False when the file could not be written (the entry then has nothing
    // to test).
    bool IsWritten() const { return m_written; }

private:
    QString m_path;
    bool m_written = false;
};
