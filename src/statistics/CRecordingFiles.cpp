#include "statistics/CRecordingFiles.h"

#include "app/Universalfn.h"

#include <QFile>

bool CRecordingFiles::Has(int patientId, int idStat, QChar kind) const
{
    return FileExistsEx(Path(patientId, idStat, kind));
}

bool CRecordingFiles::Fetch(int patientId, int idStat, QChar kind)
{
    return Has(patientId, idStat, kind);
}

bool CRecordingFiles::Keep(int, int, QChar)
{
    // The recorder wrote the recording in its place already.
    return true;
}

void CRecordingFiles::Remove(int patientId, int idStat, QChar kind)
{
    QFile::remove(Path(patientId, idStat, kind)); // a missing file is no error
}
