#pragma once
#include <QDateTime>
#include <QString>
#include <vector>

// A therapy that the clinic's server could not take when it ended, as it is
// kept on the workstation until the server takes it.
struct SKeptTherapy
{
    struct SExercise
    {
        int cw = 0;
        int lz = 0;
        int rozw = 0;
        int blad = 0;
        int pomoc = 0; // percent
        int czas = 0;  // tenths of a second
    };

    QString database; // the clinic database's connection string
    int patientId = -1;
    QString patientName; // for telling the therapist about it
    QDateTime date;      // when it ended: with the patient, what tells it apart
    int chosenMask = 0;
    std::vector<SExercise> exercises;
};

// The therapies finished on this workstation while the clinic's server was
// away: a small file in the user's data folder, readable by the user only,
// always written whole to a temporary file first and then renamed over the
// old one, so that a crash leaves either the old list or the new one.
class CKeptTherapies
{
public:
    explicit CKeptTherapies(QString path);
    // The file in the user's data folder.
    static QString DefaultPath();
    const QString& Path() const { return m_path; }

    // All kept therapies, oldest first; none when there is no file. A file
    // that cannot be read is left as it is, for the therapist to rescue.
    std::vector<SKeptTherapy> Read(bool* readable = nullptr) const;
    // Adds one; false when the file could not be written.
    bool Add(const SKeptTherapy& therapy);
    // Writes `therapies` in place of the old list; no file for none.
    bool Write(const std::vector<SKeptTherapy>& therapies) const;

private:
    QString m_path;
};
