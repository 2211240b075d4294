#pragma once
#include <QByteArray>
#include <QString>

class CDbConnection;
class CError;

// Copies a single computer's patient store (a folder with "pacmem.qp" and its
// recordings folder "Nagrane") into a clinic database: patients with their
// therapy settings, therapies with their exercise rows, and the recordings.
// The active patient of the file is not copied: on a clinic database each
// workstation chooses its own.
//
// All of it is one transaction: a file that is damaged, or anything that
// fails on the way, leaves the clinic database as it was. Before the
// transaction is committed, what was copied is read back from the clinic
// database and compared with the file: every value, the exercise rows of
// every therapy and an MD5 sum of every recording; the two SHA-256 sums over
// all of it are reported.
//
// Run again, it copies only what is not there yet. The keys of the file mean
// nothing in the clinic database, so a patient is recognised by its name and
// the date of its first therapy ("NazwiskoImie", "Poczatek"; several patients
// with the same ones are paired in the order of their keys), and a therapy of
// a recognised patient by its date and time ("Data", to the millisecond).
// A recognised patient keeps what the clinic database holds for it; a
// recording the clinic database has already is not replaced.
class CClinicMigration
{
public:
    struct SReport
    {
        int patientsCopied = 0;
        int patientsFound = 0;
        int therapiesCopied = 0;
        int therapiesFound = 0;
        int rowsCopied = 0;
        int recordingsCopied = 0;
        int recordingsFound = 0;
        // Therapies of the file without their patient (left by deletions).
        int therapiesSkipped = 0;
        qint64 recordingBytes = 0;
        // SHA-256 of the copied data as read from the file and as read back
        // from the clinic database; equal after a successful run.
        QByteArray fileDigest;
        QByteArray clinicDigest;
    };

    // `folder` holds pacmem.qp and Nagrane/; `clinic` is connected.
    CClinicMigration(const QString& folder, CDbConnection& clinic);

    // Throws CError with a message for the user when the file cannot be read
    // or the copy cannot be stored or does not check out; then nothing is
    // stored.
    SReport Run();

    // What went wrong, for the user: the error's message without where in
    // the program it arose, ending with a full stop.
    static QString Reason(const CError& error);

    // The report as lines of text for the user.
    static QString ReportText(const SReport& report);

private:
    QString m_folder;
    CDbConnection& m_clinic;
};
