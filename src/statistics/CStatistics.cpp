#include "statistics/CStatistics.h"

#include "app/CError.h"
#include "app/Universalfn.h"
#include "patients/CListBulkUpdate.h"
#include "patients/CPatient.h"
#include "patients/CTherapySettings.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "platform/DbDateText.h"
#include "statistics/CClinicRecordings.h"
#include "statistics/CKeptTherapies.h"
#include "statistics/CRecordingFiles.h"

#include <QTreeWidget>

namespace {

// Exercises from 0 to this index are scored; the rest are only timed.
constexpr int kLastScored = CStatEx::FirstUnscored - 1;

const QString kMark = QStringLiteral("@");

// Positions of the columns a data set must have; throws `message` when one
// is missing.
template <std::size_t N>
void LookUp(CDbDataSet& dataSet, const char* const (&names)[N], int (&columns)[N],
            const char* message)
{
    for (std::size_t i = 0; i < N; ++i) {
        columns[i] = dataSet.FieldIndex(QString::fromLatin1(names[i]));
        if (columns[i] < 0)
            throw CError(QString::fromUtf8(message));
    }
}

int ExerciseColumn(int cw)
{
    return 1 + cw;
}

} // namespace

CStatistics::CStatistics(const CPatient* patient) : m_patient(patient)
{
    for (int i = 0; i < ExerciseCount; ++i)
        m_statEx[i].Cw = i;
    Reset();
    if (patient)
        Bind(patient->Connection());
}

CStatistics::~CStatistics() = default;

void CStatistics::Bind(CDbConnection* connection)
{
    m_query = std::make_unique<CDbQuery>(connection);
    m_recordings.reset();
}

void CStatistics::SetRecordingFolder(const QString& folder)
{
    m_folder = folder;
    m_recordings.reset();
}

// Chosen when first needed, as the connection is opened after binding.
CRecordingStore& CStatistics::Recordings() const
{
    CDbConnection* connection = m_query ? m_query->Connection() : nullptr;
    const bool clinic = connection && connection->IsConnected() && connection->IsClinic();
    if (m_recordings && m_recordings->OnClinic() == clinic &&
        (!clinic || &static_cast<CClinicRecordings&>(*m_recordings).Connection() == connection))
        return *m_recordings;
    if (clinic)
        m_recordings = std::make_unique<CClinicRecordings>(*connection);
    else
        m_recordings = std::make_unique<CRecordingFiles>(m_folder);
    return *m_recordings;
}

int CStatistics::PatientId() const
{
    return m_patient ? m_patient->ActiveId() : -1;
}

void CStatistics::OpenQuery(const QString& sql, const QVariantList& params)
{
    m_query->Close();
    m_query->SetSQL(sql, params);
    m_query->Open();
}

// ---- the therapy in progress

void CStatistics::Reset(const CTherapySettings* settings)
{
    m_chosenMask = settings ? settings->Selected() : 0;
    for (int i = 0; i < ExerciseCount; ++i) {
        CStatEx& record = m_statEx[i];
        record.Running = false;
        record.Czas = 0;
        record.PomocMax = 999;
        record.Rozw = 0;
        record.Blad = 0;
        record.Pomoc = 0;
        record.LZ = settings ? settings->Get_ExeSet(i).LZ : 1;
    }
    m_current = -1;
    m_date = QDateTime::currentDateTime();
    m_wypowiedz = 0;
    m_komentarz = 0;
    m_idStat = -1;
}

CStatEx* CStatistics::Get_P_StatEx(int i)
{
    if (i < 0 || i >= ExerciseCount)
        throw CError("CStatistics::Get_P_StatEx - Przekroczony zakres indeksu");
    return &m_statEx[i];
}

const CStatEx& CStatistics::StatEx(int i) const
{
    return *const_cast<CStatistics*>(this)->Get_P_StatEx(i);
}

void CStatistics::PauseAll()
{
    m_current = -1;
    for (int i = 0; i < ExerciseCount; ++i) {
        if (m_statEx[i].Running) {
            m_statEx[i].StopTiming();
            m_current = i;
        }
    }
}

void CStatistics::ResumeCurrent()
{
    if (m_current >= 0)
        m_statEx[m_current].StartTiming();
}

// ---- totals

template <class F> int CStatistics::SumScored(F&& value) const
{
    int sum = 0;
    for (int i = 0; i <= kLastScored; ++i)
        if (Chosen(i))
            sum += value(m_statEx[i]);
    return sum;
}

int CStatistics::TotalLZ() const
{
    return SumScored([](const CStatEx& r) { return r.LZ; });
}

int CStatistics::TotalRozw() const
{
    return SumScored([](const CStatEx& r) { return r.Rozw; });
}

int CStatistics::TotalBlad() const
{
    return SumScored([](const CStatEx& r) { return r.Blad; });
}

int CStatistics::TotalUnsolved() const
{
    return SumScored([](const CStatEx& r) { return r.LZ - r.Rozw; });
}

int CStatistics::TotalFaultless() const
{
    return SumScored([](const CStatEx& r) { return r.Faultless(); });
}

int CStatistics::AverageCorrectness() const
{
    const int count = SumScored([](const CStatEx&) { return 1; });
    if (count == 0)
        return 0;
    return SumScored([](const CStatEx& r) { return r.Correctness(); }) / count;
}

int CStatistics::AveragePomoc() const
{
    const int count = SumScored([](const CStatEx&) { return 1; });
    if (count == 0)
        return 0;
    return SumScored([](const CStatEx& r) { return r.PomocPercent(); }) / count;
}

int CStatistics::TotalSeconds() const
{
    int sum = 0;
    for (int i = 0; i < ExerciseCount; ++i)
        if (Chosen(i))
            sum += m_statEx[i].Czas / 10;
    return sum;
}

// ---- stored therapies

CStatistics::ESaved CStatistics::SaveTherapy(int patientId, QTreeWidget* list)
{
    if (!m_query || patientId == -1)
        return ESaved::NotStored;
    // The time tells a patient's therapies apart (see StoreOnce): never the
    // same twice, even for therapies ended within one millisecond.
    m_date = QDateTime::currentDateTime();
    if (m_lastSaved.isValid() && m_date <= m_lastSaved)
        m_date = m_lastSaved.addMSecs(1);
    m_lastSaved = m_date;
    // The therapy row and its exercise rows go in as one change, so that a
    // therapy is never found half stored.
    CDbConnection* connection = m_query->Connection();
    bool began = false;
    try {
        if (connection && connection->IsConnected() && !connection->InTransaction()) {
            connection->BeginTransaction();
            began = true;
        }
    } catch (...) {
    }
    QTreeWidgetItem* item = nullptr;
    bool failed = false;
    try {
        StoreTherapy(patientId, list, item);
    } catch (...) {
        // What was written stays; the listing shows what is stored.
        failed = true;
    }
    m_query->Close();
    if (began) {
        try {
            connection->Commit();
        } catch (...) {
            try {
                connection->Rollback();
            } catch (...) {
            }
            // Nothing was stored: the list must not show the therapy.
            failed = true;
            delete std::exchange(item, nullptr);
            m_idStat = -1;
        }
    }
    if (!failed)
        return ESaved::Stored;
    // A clinic's server that went away has none of it: the therapy waits on
    // this workstation instead.
    if (!connection || !connection->IsClinic() || connection->IsAlive())
        return ESaved::NotStored;
    delete item;
    m_idStat = -1;
    return m_kept && m_kept->Add(Kept(patientId)) ? ESaved::Kept : ESaved::NotStored;
}

void CStatistics::SetKeptFile(const QString& path)
{
    m_kept = path.isEmpty() ? nullptr : std::make_unique<CKeptTherapies>(path);
}

SKeptTherapy CStatistics::Kept(int patientId) const
{
    SKeptTherapy therapy;
    therapy.database = m_query->Connection()->Path();
    therapy.patientId = patientId;
    if (m_patient && m_patient->ActiveId() == patientId)
        therapy.patientName = m_patient->Name();
    therapy.date = m_date;
    therapy.chosenMask = m_chosenMask;
    for (int i = 0; i < ExerciseCount; ++i) {
        if (!Chosen(i))
            continue;
        const CStatEx& r = m_statEx[i];
        therapy.exercises.push_back({r.Cw, r.LZ, r.Rozw, r.Blad, r.PomocPercent(), r.Czas});
    }
    return therapy;
}

void CStatistics::Restore(const SKeptTherapy& therapy)
{
    Reset();
    m_date = therapy.date;
    m_chosenMask = therapy.chosenMask;
    for (const SKeptTherapy::SExercise& e : therapy.exercises) {
        if (e.cw < 0 || e.cw >= ExerciseCount)
            continue;
        CStatEx& r = m_statEx[e.cw];
        r.LZ = e.lz;
        r.Rozw = e.rozw;
        r.Blad = e.blad;
        r.SetPomocPercent(e.pomoc);
        r.Czas = e.czas;
    }
}

CStatistics::EKeptStore CStatistics::StoreOnce(const SKeptTherapy& therapy)
{
    CDbConnection* connection = m_query->Connection();
    connection->BeginTransaction();
    try {
        // A patient's therapies never end in the same millisecond: a row of
        // this patient at this time is this therapy, stored already.
        OpenQuery("SELECT idStat FROM Statystyki WHERE idPac=? AND Data=?",
                  {therapy.patientId, DateTimeToDbText(therapy.date)});
        const bool stored = m_query->RecordCount() > 0;
        OpenQuery("SELECT idPac FROM Pacjenci WHERE idPac=?", {therapy.patientId});
        const bool patient = m_query->RecordCount() > 0;
        m_query->Close();
        if (!stored && !patient) {
            connection->Rollback();
            return EKeptStore::NoPatient;
        }
        if (!stored) {
            Restore(therapy);
            QTreeWidgetItem* none = nullptr;
            StoreTherapy(therapy.patientId, nullptr, none);
            m_query->Close();
            // The patient's last therapy date follows, unless a later one is
            // stored already.
            const QString day = DateTimeToDbText(QDateTime(therapy.date.date(), QTime(0, 0)));
            connection->Execute("UPDATE Pacjenci SET Ostatnia=? WHERE idPac=? AND (Ostatnia IS "
                                "NULL OR Ostatnia<?)",
                                {day, therapy.patientId, day});
        }
        connection->Commit();
        return stored ? EKeptStore::Already : EKeptStore::Stored;
    } catch (...) {
        m_query->Close();
        connection->Rollback();
        throw;
    }
}

// A therapy whose patient is gone can never be stored; its results go to a
// file of their own beside the kept ones, so that nothing is thrown away.
void CStatistics::Reject(const SKeptTherapy& therapy, SKeptOutcome& outcome) const
{
    outcome.rejectedFile = m_kept->Path();
    outcome.rejectedFile.replace(QStringLiteral(".json"), QStringLiteral("-odrzucone.json"));
    CKeptTherapies(outcome.rejectedFile).Add(therapy);
    outcome.lost << QStringLiteral("%1, %2").arg(
        therapy.patientName.isEmpty() ? QStringLiteral("pacjent nr %1").arg(therapy.patientId)
                                      : therapy.patientName,
        therapy.date.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
}

CStatistics::SKeptOutcome CStatistics::StoreKept()
{
    SKeptOutcome outcome;
    CDbConnection* connection = m_query ? m_query->Connection() : nullptr;
    if (!m_kept || !connection || !connection->IsClinic() || !connection->IsAlive())
        return outcome;
    bool readable = true;
    const std::vector<SKeptTherapy> kept = m_kept->Read(&readable);
    outcome.unreadable = !readable;
    outcome.file = m_kept->Path();
    if (kept.empty())
        return outcome;
    // The therapy on hand is not disturbed by the kept ones passing through.
    CStatistics writer;
    writer.Bind(connection);
    std::vector<SKeptTherapy> left;
    for (const SKeptTherapy& therapy : kept) {
        if (therapy.database != connection->Path() || !connection->IsAlive()) {
            left.push_back(therapy);
            continue;
        }
        // Only a therapy whose patient is gone is given up; any other
        // failure leaves it kept for the next time.
        EKeptStore result = EKeptStore::Failed;
        try {
            result = writer.StoreOnce(therapy);
        } catch (const CError&) {
        }
        if (result == EKeptStore::Failed)
            left.push_back(therapy);
        else if (result == EKeptStore::NoPatient)
            Reject(therapy, outcome);
        else
            ++outcome.stored;
    }
    outcome.waiting = int(std::count_if(left.begin(), left.end(), [&](const SKeptTherapy& t) {
        return t.database == connection->Path();
    }));
    m_kept->Write(left);
    return outcome;
}

void CStatistics::StoreTherapy(int patientId, QTreeWidget* list, QTreeWidgetItem*& item)
{
    static const char* const therapyNames[] = {"idStat",    "idPac",     "Data",
                                               "CwWybrane", "Wypowiedz", "Komentarz"};
    int t[std::size(therapyNames)];
    // Only the columns are needed to add a row, not the rows stored before:
    // a clinic holds the therapies of years.
    OpenQuery("SELECT * FROM Statystyki WHERE idStat=-1");
    LookUp(*m_query, therapyNames, t, "Nazwy kol. w bazie pac. (Statystyki)!");
    m_query->Insert();
    m_query->Fields(t[1]).SetInteger(patientId);
    m_query->Fields(t[2]).SetDateTime(m_date);
    m_query->Fields(t[3]).SetInteger(m_chosenMask);
    m_query->Fields(t[4]).SetInteger(m_wypowiedz);
    m_query->Fields(t[5]).SetInteger(m_komentarz);
    m_query->Post();
    m_idStat = m_query->Fields(t[0]).AsInteger();

    // Without a list the row is made all the same and dropped at the end.
    auto owned = std::make_unique<QTreeWidgetItem>();
    QTreeWidgetItem* row = owned.get();
    if (list) {
        list->addTopLevelItem(owned.release());
        item = row;
    }
    row->setText(DateColumn, DateToText(m_date.date()));
    row->setData(DateColumn, Qt::UserRole, m_idStat);

    static const char* const exerciseNames[] = {"idCw", "idStat", "Cw",    "LZ",
                                                "Rozw", "Blad",   "Pomoc", "Czas"};
    int e[std::size(exerciseNames)];
    OpenQuery("SELECT * FROM Cwiczenia WHERE idCw=-1");
    LookUp(*m_query, exerciseNames, e, "Nazwy kol. w bazie pac. (Cwiczenia)!");
    for (int i = 0; i < ExerciseCount; ++i) {
        if (!Chosen(i)) {
            row->setText(ExerciseColumn(i), QString());
            continue;
        }
        const CStatEx& record = m_statEx[i];
        m_query->Insert();
        m_query->Fields(e[1]).SetInteger(m_idStat);
        m_query->Fields(e[2]).SetInteger(record.Cw);
        m_query->Fields(e[3]).SetInteger(record.LZ);
        m_query->Fields(e[4]).SetInteger(record.Rozw);
        m_query->Fields(e[5]).SetInteger(record.Blad);
        m_query->Fields(e[6]).SetInteger(record.PomocPercent());
        m_query->Fields(e[7]).SetInteger(record.Czas);
        m_query->Post();
        row->setText(ExerciseColumn(i), record.ScoreText());
        row->setData(ExerciseColumn(i), Qt::UserRole, m_query->Fields(e[0]).AsInteger());
    }
    row->setText(UtteranceColumn, QString());
    row->setText(CommentColumn, QString());
}

void CStatistics::ListTherapies(int patientId, QTreeWidget* list)
{
    if (!m_query)
        return;
    CListBulkUpdate bulk(list);
    list->clear();
    if (patientId == -1)
        return;
    static const char* const names[] = {"idStat", "Data", "Wypowiedz", "Komentarz", "idCw",
                                        "Cw",     "LZ",   "Rozw",      "Blad"};
    int c[std::size(names)];
    try {
        // Therapies stored within the same millisecond keep their rows
        // together: the id breaks the tie.
        OpenQuery("SELECT s.Data, s.Wypowiedz, s.Komentarz, s.idStat, c.idCw, c.Cw, c.LZ, c.Rozw, "
                  "c.Blad FROM Statystyki AS s, Cwiczenia AS c WHERE s.idStat=c.idStat AND "
                  "s.idPac=? ORDER BY Data, s.idStat",
                  {patientId});
        LookUp(*m_query, names, c, "Nazwy kol. w bazie pac.!");
        QTreeWidgetItem* item = nullptr;
        int runId = 0;
        for (m_query->First(); !m_query->Eof(); m_query->Next()) {
            const int idStat = m_query->Fields(c[0]).AsInteger();
            if (!item || idStat != runId) {
                runId = idStat;
                item = new QTreeWidgetItem(list);
                item->setData(DateColumn, Qt::UserRole, idStat);
                item->setText(DateColumn, DateToText(m_query->Fields(c[1]).AsDateTime().date()));
                for (int i = 0; i < ExerciseCount; ++i)
                    item->setText(ExerciseColumn(i), QString());
                item->setText(UtteranceColumn,
                              m_query->Fields(c[2]).AsInteger() > 0 ? kMark : QString());
                item->setText(CommentColumn,
                              m_query->Fields(c[3]).AsInteger() > 0 ? kMark : QString());
            }
            CStatEx record;
            record.Cw = m_query->Fields(c[5]).AsInteger();
            if (record.Cw < 0 || record.Cw >= ExerciseCount)
                continue;
            record.LZ = m_query->Fields(c[6]).AsInteger();
            record.Rozw = m_query->Fields(c[7]).AsInteger();
            record.Blad = m_query->Fields(c[8]).AsInteger();
            item->setText(ExerciseColumn(record.Cw), record.ScoreText());
            item->setData(ExerciseColumn(record.Cw), Qt::UserRole,
                          m_query->Fields(c[4]).AsInteger());
        }
    } catch (...) {
        // A damaged row ends the listing; what was read stays.
    }
    m_query->Close();
}

void CStatistics::LoadTherapy(int patientId, int idStat)
{
    Reset();
    if (!m_query || patientId == -1 || idStat == -1)
        return;
    try {
        OpenQuery("SELECT * FROM Statystyki AS s, Cwiczenia AS c WHERE s.idStat=c.idStat AND "
                  "s.idPac=? AND s.idStat=?",
                  {patientId, idStat});
        if (m_query->RecordCount() == 0) {
            m_query->Close();
            return;
        }
        m_query->First();
        m_date = m_query->FieldByName("Data").AsDateTime();
        m_chosenMask = m_query->FieldByName("CwWybrane").AsInteger();
        m_wypowiedz = m_query->FieldByName("Wypowiedz").AsInteger();
        m_komentarz = m_query->FieldByName("Komentarz").AsInteger();
        for (; !m_query->Eof(); m_query->Next()) {
            const int cw = m_query->FieldByName("Cw").AsInteger();
            if (cw < 0 || cw >= ExerciseCount)
                continue;
            CStatEx& record = m_statEx[cw];
            record.LZ = m_query->FieldByName("LZ").AsInteger();
            record.Rozw = m_query->FieldByName("Rozw").AsInteger();
            record.Blad = m_query->FieldByName("Blad").AsInteger();
            record.SetPomocPercent(m_query->FieldByName("Pomoc").AsInteger());
            record.Czas = m_query->FieldByName("Czas").AsInteger();
        }
        m_idStat = idStat;
    } catch (...) {
        // The records keep what was read.
    }
    m_query->Close();
}

bool CStatistics::SelectRow(int idStat)
{
    if (!m_query)
        return false;
    const QString sql = QStringLiteral("SELECT * FROM Statystyki WHERE idStat=?");
    const QVariantList params = {idStat};
    if (!m_query->Active() || !m_query->Holds(sql, params))
        OpenQuery(sql, params);
    return m_query->RecordCount() > 0;
}

// ---- recordings

QString CStatistics::RecordingFileName(int patientId, int idStat, QChar kind) const
{
    return Recordings().Path(patientId, idStat, kind);
}

QString CStatistics::UtteranceFileName() const
{
    return HasPatient() ? RecordingFileName(PatientId(), m_idStat, QLatin1Char('W')) : QString();
}

QString CStatistics::CommentFileName() const
{
    return HasPatient() ? RecordingFileName(PatientId(), m_idStat, QLatin1Char('K')) : QString();
}

bool CStatistics::HasUtteranceFile() const
{
    return HasPatient() && HasRecording(PatientId(), m_idStat, QLatin1Char('W'));
}

bool CStatistics::HasCommentFile() const
{
    return HasPatient() && HasRecording(PatientId(), m_idStat, QLatin1Char('K'));
}

bool CStatistics::HasRecording(int patientId, int idStat, QChar kind) const
{
    return Recordings().Has(patientId, idStat, kind);
}

bool CStatistics::FetchRecording(QChar kind)
{
    return HasPatient() && m_idStat != -1 && Recordings().Fetch(PatientId(), m_idStat, kind);
}

bool CStatistics::KeepRecording(QChar kind)
{
    return HasPatient() && m_idStat != -1 && Recordings().Keep(PatientId(), m_idStat, kind);
}

void CStatistics::RemoveRecording(QChar kind)
{
    Recordings().Remove(PatientId(), m_idStat, kind);
}

bool CStatistics::RefreshRecordingMarks(QTreeWidget* list, int column)
{
    const bool w = HasUtteranceFile();
    const bool k = HasCommentFile();
    QTreeWidgetItem* item = nullptr;
    if (list) {
        const QList<QTreeWidgetItem*> selected = list->selectedItems();
        item = selected.isEmpty() ? nullptr : selected.first();
    }
    if (item) {
        item->setText(column, w ? kMark : QString());
        item->setText(column + 1, k ? kMark : QString());
    }
    if (w == (m_wypowiedz > 0) && k == (m_komentarz > 0))
        return false;
    m_wypowiedz = w ? 1 : 0;
    m_komentarz = k ? 1 : 0;
    SaveRecordingFlags();
    return true;
}

bool CStatistics::SaveRecordingFlags()
{
    if (m_idStat == -1)
        return false;
    try {
        if (!SelectRow(m_idStat))
            return false;
        m_query->First();
        m_query->Edit();
        m_query->FieldByName("Wypowiedz").SetInteger(m_wypowiedz);
        m_query->FieldByName("Komentarz").SetInteger(m_komentarz);
        m_query->Post();
        return true;
    } catch (...) {
        if (m_query)
            m_query->Cancel();
        return false;
    }
}

void CStatistics::DeleteUtterance()
{
    if (!HasPatient() || m_idStat == -1)
        return;
    RemoveRecording(QLatin1Char('W'));
    m_wypowiedz = 0;
    SaveRecordingFlags();
}

void CStatistics::DeleteComment()
{
    if (!HasPatient() || m_idStat == -1)
        return;
    RemoveRecording(QLatin1Char('K'));
    m_komentarz = 0;
    SaveRecordingFlags();
}

void CStatistics::DeleteTherapy()
{
    if (!SelectRow(m_idStat))
        return;
    DeleteUtterance();
    DeleteComment();
    // The flags were stored through the same query; it still holds the row.
    if (!SelectRow(m_idStat))
        return;
    m_query->First();
    CDbConnection* connection = m_query->Connection();
    const bool began = !connection->InTransaction();
    if (began)
        connection->BeginTransaction();
    try {
        connection->Execute(QStringLiteral("DELETE FROM Cwiczenia WHERE idStat=?"), {m_idStat});
        m_query->Delete();
        if (began)
            connection->Commit();
    } catch (...) {
        if (began)
            connection->Rollback();
        m_query->Close();
        throw;
    }
}

bool CStatistics::HasRecordings()
{
    if (!HasPatient() || !m_query)
        return false;
    OpenQuery("SELECT idStat FROM Statystyki WHERE idPac=? AND ((Wypowiedz > 0) OR "
              "(Komentarz > 0))",
              {PatientId()});
    const int count = m_query->RecordCount();
    m_query->Close();
    return count > 0;
}

void CStatistics::DeleteRecordingFiles(int patientId) const
{
    Recordings().RemoveFilesOf(patientId);
}

void CStatistics::DeleteAllRecordings()
{
    if (!HasPatient() || !m_query)
        return;
    const int patientId = PatientId();
    try {
        OpenQuery("SELECT idStat,Wypowiedz,Komentarz FROM Statystyki WHERE idPac=? AND "
                  "((Wypowiedz > 0) OR (Komentarz > 0))",
                  {patientId});
        for (m_query->First(); !m_query->Eof(); m_query->Next()) {
            const int idStat = m_query->FieldByName("idStat").AsInteger();
            if (m_query->FieldByName("Wypowiedz").AsInteger() > 0)
                Recordings().Remove(patientId, idStat, QLatin1Char('W'));
            if (m_query->FieldByName("Komentarz").AsInteger() > 0)
                Recordings().Remove(patientId, idStat, QLatin1Char('K'));
        }
    } catch (...) {
    }
    m_query->Close();
}
