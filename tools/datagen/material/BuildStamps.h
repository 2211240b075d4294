#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>

// Remembers, for every file the material step made, a hash of everything it
// was made from, so that a later build redoes only what changed.
class BuildStamps
{
public:
    explicit BuildStamps(QString path); // loads the stamp file if there is one
    // True when `output` exists and was made from inputs with this hash.
    bool UpToDate(const QString& output, const QByteArray& inputHash) const;
    void Record(const QString& output, const QByteArray& inputHash);
    void Save() const; // writes the stamp file (atomically)

    // A hash of a list of texts and of the contents of files (by path, "" when missing).
    static QByteArray Hash(const QStringList& texts, const QStringList& files = {});

private:
    QString m_path;
    QHash<QString, QByteArray> m_stamps;
};
