#pragma once
#include "statistics/CRecordingStore.h"

#include <QByteArray>
#include <QTemporaryDir>

class CDbConnection;

// The recordings of a clinic database: one row of Nagrania per recording
// (therapy id, kind "W" or "K", the WAVE file's bytes), so that every
// workstation plays what another one recorded. Therapy ids are unique in the
// whole database, so they name the patient too. The recorder works on a
// private folder of this workstation (removed when the store ends): a file is
// filled from its row before it is played and stored in its row, in one
// statement, after it was recorded.
class CClinicRecordings : public CRecordingStore
{
public:
    explicit CClinicRecordings(CDbConnection& connection);

    // The stored recording, or a null array when there is none.
    static QByteArray Get(CDbConnection& connection, qint64 idStat, QChar kind);
    // Stores `bytes` as the recording, replacing one stored before.
    static void Put(CDbConnection& connection, qint64 idStat, QChar kind, const QByteArray& bytes);

    bool OnClinic() const override { return true; }
    QString Folder() const override { return m_folder.path(); }
    bool Has(int patientId, int idStat, QChar kind) const override;
    bool Fetch(int patientId, int idStat, QChar kind) override;
    bool Keep(int patientId, int idStat, QChar kind) override;
    void Remove(int patientId, int idStat, QChar kind) override;

    CDbConnection& Connection() const { return m_connection; }

private:
    CDbConnection& m_connection;
    QTemporaryDir m_folder;
};
