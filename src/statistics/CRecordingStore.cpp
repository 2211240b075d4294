#include "statistics/CRecordingStore.h"

#include "app/Universalfn.h"

#include <QDir>
#include <QFile>

QString CRecordingStore::FileName(int patientId, int idStat, QChar kind)
{
    return ToLetterHex(quint32(patientId), 8) + QLatin1Char('_') + ToLetterHex(quint32(idStat), 8) +
           QLatin1Char('_') + kind + QStringLiteral(".WAV");
}

void CRecordingStore::RemoveFilesOf(int patientId) const
{
    if (patientId < 0)
        return;
    // FileName's pattern: <patient>_<therapy>_<W or K>.WAV.
    const QString prefix = ToLetterHex(quint32(patientId), 8) + QLatin1Char('_');
    const QDir folder(Folder());
    for (const QString& name : folder.entryList({prefix + QStringLiteral("*.WAV")}, QDir::Files))
        QFile::remove(folder.filePath(name));
}
