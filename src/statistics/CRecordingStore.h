#pragma once
#include <QChar>
#include <QString>

// Where the two voice recordings of a stored therapy are kept: the patient's
// utterance (kind W) and the therapist's comment (kind K). The recorder always
// works on a file named L(patient id) + "_" + L(therapy id) + "_" + kind +
// ".WAV" in Folder(), L writing a 32-bit value as eight letters "A" to "P".
// On a single computer that file is the recording itself (CRecordingFiles);
// on a clinic database the recording is a row every workstation reads, and
// the file is only this workstation's working copy (CClinicRecordings).
class CRecordingStore
{
public:
    virtual ~CRecordingStore() = default;

    static QString FileName(int patientId, int idStat, QChar kind);
    QString Path(int patientId, int idStat, QChar kind) const
    {
        return Folder() + QLatin1Char('/') + FileName(patientId, idStat, kind);
    }

    // True when the store is the clinic database's.
    virtual bool OnClinic() const = 0;
    // The folder of the recorder's files.
    virtual QString Folder() const = 0;
    // Whether the recording is stored.
    virtual bool Has(int patientId, int idStat, QChar kind) const = 0;
    // Makes the recorder's file hold the stored recording; false when there
    // is none or it cannot be read.
    virtual bool Fetch(int patientId, int idStat, QChar kind) = 0;
    // Stores what the recorder's file holds (after a recording); false when
    // that fails.
    virtual bool Keep(int patientId, int idStat, QChar kind) = 0;
    // Deletes the recording; a missing one is no error.
    virtual void Remove(int patientId, int idStat, QChar kind) = 0;
    // Deletes every file of patient `patientId` in Folder(), also those whose
    // flag never reached the database, and no other file.
    void RemoveFilesOf(int patientId) const;
};
