#pragma once
#include "statistics/CRecordingStore.h"

// The recordings of a single computer: WAVE files in the recordings folder
// beside the patient file, one per recording, written by the recorder itself.
class CRecordingFiles : public CRecordingStore
{
public:
    explicit CRecordingFiles(const QString& folder) : m_folder(folder) {}

    bool OnClinic() const override { return false; }
    QString Folder() const override { return m_folder; }
    bool Has(int patientId, int idStat, QChar kind) const override;
    bool Fetch(int patientId, int idStat, QChar kind) override;
    bool Keep(int patientId, int idStat, QChar kind) override;
    void Remove(int patientId, int idStat, QChar kind) override;

private:
    QString m_folder;
};
