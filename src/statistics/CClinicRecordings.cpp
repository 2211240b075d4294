#include "statistics/CClinicRecordings.h"

#include "app/CError.h"
#include "platform/CDbBackend.h"
#include "platform/CDbConnection.h"
#include "statistics/CNagrywanie.h"
#include "statistics/RecordingFolders.h"

#include <QDir>
#include <QFile>

namespace {

const char* const kWhere = "CClinicRecordings";

QString Kind(QChar kind)
{
    return QString(kind);
}

} // namespace

CClinicRecordings::CClinicRecordings(CDbConnection& connection)
    : m_connection(connection), m_folder(RecordingFolderTemplate(QDir::tempPath()))
{
    // Killed workstations never removed theirs.
    RemoveLeftRecordingFolders(QDir::tempPath());
    // The working copies are patients' voices: for this user's eyes only.
    if (m_folder.isValid())
        QFile::setPermissions(m_folder.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray CClinicRecordings::Get(CDbConnection& connection, qint64 idStat, QChar kind)
{
    const SDbRows rows = connection.Backend(kWhere).Select(
        "SELECT Dane FROM Nagrania WHERE idStat=? AND Rodzaj=?", {idStat, Kind(kind)}, kWhere);
    if (rows.rows.empty())
        return QByteArray();
    QByteArray bytes = rows.rows.front().value(0).toByteArray();
    if (bytes.isNull())
        bytes = QByteArray(""); // an empty recording is still one
    return bytes;
}

void CClinicRecordings::Put(CDbConnection& connection, qint64 idStat, QChar kind,
                            const QByteArray& bytes)
{
    connection.Execute("INSERT INTO Nagrania (idStat, Rodzaj, Dane) VALUES (?, ?, ?) "
                       "ON CONFLICT (idStat, Rodzaj) DO UPDATE SET Dane = EXCLUDED.Dane",
                       {idStat, Kind(kind), bytes});
}

bool CClinicRecordings::Has(int, int idStat, QChar kind) const
{
    const SDbRows rows = m_connection.Backend(kWhere).Select(
        "SELECT count(*) FROM Nagrania WHERE idStat=? AND Rodzaj=?", {idStat, Kind(kind)}, kWhere);
    return !rows.rows.empty() && rows.rows.front().value(0).toLongLong() > 0;
}

bool CClinicRecordings::Fetch(int patientId, int idStat, QChar kind)
{
    if (!m_folder.isValid())
        return false;
    const QByteArray bytes = Get(m_connection, idStat, kind);
    return !bytes.isNull() && CNagrywanie::WriteWholeFile(Path(patientId, idStat, kind), bytes);
}

bool CClinicRecordings::Keep(int patientId, int idStat, QChar kind)
{
    QFile file(Path(patientId, idStat, kind));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    try {
        Put(m_connection, idStat, kind, bytes.isNull() ? QByteArray("") : bytes);
    } catch (const CError&) {
        return false;
    }
    return true;
}

void CClinicRecordings::Remove(int patientId, int idStat, QChar kind)
{
    QFile::remove(Path(patientId, idStat, kind));
    m_connection.Execute("DELETE FROM Nagrania WHERE idStat=? AND Rodzaj=?", {idStat, Kind(kind)});
}
