#pragma once
#include <QSaveFile>
#include <QString>

// The file a report or an export is written to. The content goes into a
// temporary file beside the target and takes the target's place only when
// it is whole, so a failure (no permission, a full disk, a folder removed
// meanwhile) never leaves a half-written file behind. Error() is the
// message for the therapist.
class CReportTarget
{
public:
    explicit CReportTarget(const QString& path);
    ~CReportTarget();
    CReportTarget(const CReportTarget&) = delete;
    CReportTarget& operator=(const CReportTarget&) = delete;

    bool Open();
    QIODevice* Device() { return &m_file; }
    // Puts the written file in place; false (and nothing left) on failure.
    bool Commit();
    // Gives the file up after a failed write: the message, and nothing left.
    void Abandon();
    const QString& Error() const { return m_error; }

    // `name` made fit for a file name: characters that file systems refuse
    // (/ \ : * ? " < > | and control characters) become "_", leading and
    // trailing dots and spaces go, at most 120 characters; "raport" when
    // nothing is left.
    static QString SafeFileName(const QString& name);

private:
    QSaveFile m_file;
    QString m_error;
};
