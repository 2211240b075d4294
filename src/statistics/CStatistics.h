#pragma once
#include "statistics/CStatEx.h"

#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <memory>

class CDbConnection;
class CDbQuery;
class CKeptTherapies;
struct SKeptTherapy;
class CPatient;
class CRecordingStore;
class CTherapySettings;
class QTreeWidget;
class QTreeWidgetItem;

// The statistics store: the result records of the therapy in progress (one per
// exercise), the therapies stored in the patient database (tables Statystyki
// and Cwiczenia), their listing for the statistics page, and the two voice
// recordings a stored therapy may have: the patient's utterance (W) and the
// therapist's comment (K), WAVE files named L(patient id) + "_" + L(therapy id)
// + "_" + kind + ".WAV", where L writes a 32-bit value as eight letters "A" to
// "P". On a patient file they are kept in the recordings folder; on a clinic
// database in the database, the recorder working on a copy (see
// CRecordingStore).
//
// The statistics list has 14 columns: the date (item data = therapy id), the
// eleven exercises (a score, "x" for a repetition exercise, empty when not in
// the therapy; data = the exercise row's id) and the two recording marks "@".
class CStatistics
{
public:
    static constexpr int ExerciseCount = 11;
    // Columns of the statistics list.
    static constexpr int DateColumn = 0;
    static constexpr int UtteranceColumn = 12;
    static constexpr int CommentColumn = 13;

    // `patient` gives the active patient; without one there is no patient and
    // no data set until SetPatient and Bind.
    explicit CStatistics(const CPatient* patient = nullptr);
    ~CStatistics();
    CStatistics(const CStatistics&) = delete;
    CStatistics& operator=(const CStatistics&) = delete;

    void SetPatient(const CPatient* patient) { m_patient = patient; }
    // Works on `connection` from now on (the patient database's).
    void Bind(CDbConnection* connection);
    // The folder of the recordings, "Nagrane" in the program folder unless
    // set otherwise (unused on a clinic database).
    void SetRecordingFolder(const QString& folder);
    const QString& RecordingFolder() const { return m_folder; }

    // A new therapy from the settings, or an empty one without them.
    void Reset(const CTherapySettings* settings = nullptr);
    // The record of exercise i; throws CError for i outside 0..10.
    CStatEx* Get_P_StatEx(int i);
    const CStatEx& StatEx(int i) const;
    void PauseAll();
    void ResumeCurrent();

    int TotalLZ() const;
    int TotalRozw() const;
    int TotalBlad() const;
    int TotalUnsolved() const;
    int TotalFaultless() const;
    int AverageCorrectness() const;
    int AveragePomoc() const;
    int TotalSeconds() const;

    void ListTherapies(int patientId, QTreeWidget* list);
    enum class ESaved
    {
        Stored,
        Kept,
        NotStored
    };
    // Stores the therapy just ended as one change and appends its row to
    // `list`. When the clinic's server is away it is kept on the workstation
    // instead (see SetKeptFile), to be stored by StoreKept; NotStored when
    // even that failed.
    ESaved SaveTherapy(int patientId, QTreeWidget* list);
    // Where therapies finished while the server is away are kept; none are
    // kept without it.
    void SetKeptFile(const QString& path);
    struct SKeptOutcome
    {
        int stored = 0;          // now in the database (also those found there already)
        int waiting = 0;         // still kept, for the next time
        QStringList lost;        // never to be stored (patient gone): who and when
        bool unreadable = false; // the file is damaged; left as it is
        QString file;
        QString rejectedFile; // where the results of the `lost` ones are
    };
    // Stores the kept therapies of this database, each as one change, each
    // once: one that reached the database before (its answer lost with the
    // connection) is not stored again.
    SKeptOutcome StoreKept();
    void LoadTherapy(int patientId, int idStat);
    bool SelectRow(int idStat);

    // The file the recorder works on.
    QString RecordingFileName(int patientId, int idStat, QChar kind) const;
    QString UtteranceFileName() const;
    QString CommentFileName() const;
    bool HasUtteranceFile() const;
    bool HasCommentFile() const;
    // Whether the recording is stored (a file, or a row of a clinic database).
    bool HasRecording(int patientId, int idStat, QChar kind) const;
    // Before playing the current therapy's recording of `kind` ('W' or 'K'):
    // its file holds what is stored; false when nothing is.
    bool FetchRecording(QChar kind);
    // After recording it: stores what its file holds; false when that failed.
    bool KeepRecording(QChar kind);
    // Brings the marks of the list's selected row (columns `column` and
    // `column` + 1) and the stored flags in line with the files; true when
    // the flags changed (and were stored).
    bool RefreshRecordingMarks(QTreeWidget* list, int column = UtteranceColumn);
    bool SaveRecordingFlags();
    void DeleteUtterance();
    void DeleteComment();
    // Deletes the therapy's recordings, then its row with its exercise rows
    // (in one transaction).
    void DeleteTherapy();
    bool HasRecordings();
    void DeleteAllRecordings();
    // Every recording file of patient `patientId` in the folder, also those
    // whose flag never reached the database; for a patient just deleted (on
    // a clinic database its recordings went with it, see CPatient::Delete).
    void DeleteRecordingFiles(int patientId) const;

    const QDateTime& Date() const { return m_date; }
    int ChosenMask() const { return m_chosenMask; }
    int Wypowiedz() const { return m_wypowiedz; }
    int Komentarz() const { return m_komentarz; }
    int IdStat() const { return m_idStat; }
    int Current() const { return m_current; }

private:
    bool Chosen(int i) const { return (m_chosenMask & (1 << i)) != 0; }
    // Patient id, or -1 without a patient store.
    bool HasPatient() const { return m_patient != nullptr; }
    int PatientId() const;
    // Opens the query afresh with `sql` and `params`.
    void OpenQuery(const QString& sql, const QVariantList& params = {});
    void StoreTherapy(int patientId, QTreeWidget* list, QTreeWidgetItem*& item);
    void RemoveRecording(QChar kind);
    // The recordings' store of the bound connection.
    CRecordingStore& Recordings() const;
    SKeptTherapy Kept(int patientId) const;
    void Restore(const SKeptTherapy& therapy);
    enum class EKeptStore
    {
        Stored,
        Already,
        NoPatient,
        Failed
    };
    void Reject(const SKeptTherapy& therapy, SKeptOutcome& outcome) const;
    // Throws when the database fails.
    EKeptStore StoreOnce(const SKeptTherapy& therapy);
    template <class F> int SumScored(F&& value) const;

    CStatEx m_statEx[ExerciseCount];
    QDateTime m_date;
    int m_chosenMask = 0;
    int m_current = -1;
    std::unique_ptr<CDbQuery> m_query;
    int m_wypowiedz = 0;
    int m_komentarz = 0;
    const CPatient* m_patient = nullptr;
    int m_idStat = -1;
    QString m_folder = QStringLiteral("Nagrane");
    mutable std::unique_ptr<CRecordingStore> m_recordings;
    std::unique_ptr<CKeptTherapies> m_kept;
    QDateTime m_lastSaved;
};
