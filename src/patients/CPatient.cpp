#include "patients/CPatient.h"

#include "app/CError.h"
#include "app/Universalfn.h"
#include "patients/CListBulkUpdate.h"
#include "patients/CPatientListItem.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "platform/CDbTable.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace {

const char* const kPatientsTable = "Pacjenci";
const char* const kSettingsTable = "Ust";
const char* const kListColumns[] = {"idPac", "NazwiskoImie", "Poczatek", "Ostatnia", "Opis"};
// The lock space of patients among a clinic's session locks (any number the
// program uses for nothing else), and the channel of changes to the list.
constexpr int kPatientLocks = 0x4c50;
const QString kPatientChannel = QStringLiteral("loquena_pacjenci");

QDateTime Midnight(const QDate& date)
{
    return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
}

} // namespace

CPatient::CPatient()
    : m_connection(std::make_unique<CDbConnection>()),
      m_table(std::make_unique<CDbTable>(m_connection.get())),
      m_settings(std::make_unique<CTherapySettings>())
{
}

CPatient::~CPatient()
{
    if (!m_connection->IsConnected())
        return;
    try {
        Save();
        m_table->Close();
        RememberActive();
        // Let go at once: the server may take a moment to notice the
        // connection's end, and this workstation may be started again.
        Release(m_activeId);
    } catch (...) {
        // The program is ending; there is nobody left to tell.
    }
    m_table->Close();
    m_connection->Disconnect();
}

bool CPatient::Open(const QString& path)
{
    m_table->Close();
    m_connection->Disconnect();
    m_activeId = -1;
    m_settings->Reset();
    try {
        m_connection->Connect(path);
        // A damaged database is refused untouched: nothing may be written
        // into it, so that what it still holds can be rescued.
        m_connection->CheckWhole();
        m_connection->Listen(kPatientChannel);
        int id = StoredActiveId();
        m_table->SetTableName(kPatientsTable);
        m_table->Open();
        // A database without every column the store reads is refused here
        // rather than at the first patient it meets.
        for (const char* column : kListColumns)
            m_table->FieldByName(column);
        m_table->FieldByName("CwWybrane");
        const int settings = m_table->FieldIndex("WY_L");
        if (settings < 0 || m_table->FieldCount() - settings < 2 * CTherapySettings::ExerciseCount)
            throw CError("CPatient::Open - Nazwy kol. w bazie pac.!");
        if (id == -1 && m_table->RecordCount() > 0) {
            m_table->First();
            id = m_table->FieldByName("idPac").AsInteger();
        }
        // A patient held by another workstation is not taken over.
        if (id >= 0 && !BusyOn(id).isEmpty())
            id = -1;
        Select(id);
        m_lastError.clear();
        return true;
    } catch (const CError& error) {
        m_lastError = error.Message();
        m_table->Close();
        m_connection->Disconnect();
        m_activeId = -1;
        return false;
    } catch (...) {
        m_lastError = QStringLiteral("CPatient::Open - Nieznany błąd");
        m_table->Close();
        m_connection->Disconnect();
        m_activeId = -1;
        return false;
    }
}

// The patient that was active when the program last ended; -1 for none (also
// when the settings row is missing).
int CPatient::StoredActiveId()
{
    if (m_connection->IsClinic()) {
        // Each workstation of a clinic remembers its own patient.
        CDbQuery own(m_connection.get());
        own.SetSQL("SELECT AktywnyPac FROM Stanowiska WHERE Nazwa=?",
                   {m_connection->Workstation()});
        own.Open();
        return own.RecordCount() > 0 ? own.Fields(0).AsInteger() : -1;
    }
    CDbTable ust(m_connection.get());
    ust.SetTableName(kSettingsTable);
    ust.Open();
    int id = -1;
    if (ust.RecordCount() > 0) {
        ust.First();
        id = ust.FieldByName("AktywnyPac").AsInteger();
    }
    ust.Close();
    return id;
}

void CPatient::RememberActive()
{
    if (m_connection->IsClinic()) {
        m_connection->Execute("INSERT INTO Stanowiska (Nazwa, AktywnyPac) VALUES (?, ?) "
                              "ON CONFLICT (Nazwa) DO UPDATE SET AktywnyPac = EXCLUDED.AktywnyPac",
                              {m_connection->Workstation(), m_activeId});
        return;
    }
    CDbTable ust(m_connection.get());
    ust.SetTableName(kSettingsTable);
    ust.Open();
    if (ust.RecordCount() > 0) {
        ust.First();
        ust.Edit();
    } else {
        ust.Append();
    }
    ust.FieldByName("AktywnyPac").SetInteger(m_activeId);
    ust.Post();
    ust.Close();
}

void CPatient::FillList(QTreeWidget* list)
{
    CListBulkUpdate bulk(list);
    list->clear();
    if (!m_table->Active())
        m_table->Open();
    const int recNo = m_table->RecNo();
    int columns[std::size(kListColumns)];
    for (std::size_t i = 0; i < std::size(kListColumns); ++i) {
        columns[i] = m_table->FieldIndex(kListColumns[i]);
        if (columns[i] < 0)
            throw CError("Nazwy kol. w bazie pac.!");
    }
    // The items are made and sorted apart from the list and go into it at
    // once: the list then lays itself out once, not once per patient.
    std::vector<std::unique_ptr<QTreeWidgetItem>> items;
    try {
        for (m_table->First(); !m_table->Eof(); m_table->Next()) {
            auto item = std::make_unique<CPatientListItem>();
            item->setData(0, Qt::UserRole, m_table->Fields(columns[0]).AsInteger());
            item->setText(0, m_table->Fields(columns[1]).AsString());
            item->setText(1, DateToText(m_table->Fields(columns[2]).AsDateTime().date()));
            item->setText(2, DateToText(m_table->Fields(columns[3]).AsDateTime().date()));
            item->setText(3, m_table->Fields(columns[4]).AsString());
            items.push_back(std::move(item));
        }
        m_table->SetRecNo(recNo);
    } catch (...) {
        // A damaged row ends the fill; what was read stays in the list.
    }
    MarkBusy(items);
    CPatientListItem::SortByCaption(items);
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(qsizetype(items.size()));
    QTreeWidgetItem* selected = nullptr;
    for (auto& item : items) {
        if (m_activeId != -1 && item->data(0, Qt::UserRole).toInt() == m_activeId)
            selected = item.get();
        sorted << item.release();
    }
    list->addTopLevelItems(sorted);
    // As after the list's own sort by the names.
    list->header()->setSortIndicator(0, Qt::AscendingOrder);
    if (selected) {
        list->setCurrentItem(selected);
        selected->setSelected(true);
    }
    m_listIndex = selected ? list->indexOfTopLevelItem(selected) : -1;
}

void CPatient::MarkBusy(std::vector<std::unique_ptr<QTreeWidgetItem>>& items) const
{
    if (!m_connection->IsClinic())
        return;
    QHash<int, QString> holders;
    try {
        holders = m_connection->LockHolders(kPatientLocks);
    } catch (const CError&) {
        return; // the server away: the list shows no marks until it is back
    }
    for (auto& item : items) {
        const auto holder = holders.constFind(item->data(0, Qt::UserRole).toInt());
        if (holder != holders.constEnd())
            static_cast<CPatientListItem*>(item.get())->MarkBusy(*holder);
    }
}

void CPatient::Select(int id)
{
    if (id == m_activeId)
        return;
    if (id >= 0 && !Hold(id))
        throw CError(QString("Pacjent jest otwarty na stanowisku \u201e%1\u201d. Można go wybrać, "
                             "gdy tam zostanie zamknięty.")
                         .arg(BusyOn(id)));
    try {
        Save();
    } catch (...) {
        if (id >= 0)
            Release(id);
        throw;
    }
    Release(m_activeId);
    if (id < 0) {
        m_settings->Reset();
        m_activeId = -1;
        return;
    }
    bool found = m_table->Locate("idPac", id);
    if (!found && m_connection->IsClinic()) {
        // Another workstation may have added it since the table was read.
        m_table->Refresh();
        found = m_table->Locate("idPac", id);
    }
    m_activeId = found ? id : -1;
    if (found)
        ReadActive();
    else
        Release(id);
}

bool CPatient::Hold(int id)
{
    if (!m_connection->TryLock(kPatientLocks, id))
        return false;
    AnnounceHold("otwarty", id);
    return true;
}

void CPatient::Release(int id)
{
    if (id >= 0 && m_connection->IsConnected()) {
        m_connection->Unlock(kPatientLocks, id);
        AnnounceHold("zamkniety", id);
    }
}

// The others' lists mark the patients open somewhere. A notice lost with the
// connection only leaves a mark late: choosing a patient asks the server.
void CPatient::AnnounceHold(const char* change, int id) noexcept
{
    if (!m_connection->IsClinic())
        return;
    try {
        Announce(change, id);
    } catch (...) {
    }
}

void CPatient::Announce(const char* change, int id)
{
    m_connection->Notify(kPatientChannel, QString("%1 %2").arg(QLatin1String(change)).arg(id));
}

QString CPatient::BusyOn(int id) const
{
    if (id < 0 || !m_connection->IsConnected())
        return {};
    return m_connection->LockHolder(kPatientLocks, id);
}

void CPatient::SetWorkstation(const QString& name)
{
    m_connection->SetWorkstation(name);
}

bool CPatient::TakeListChanges()
{
    if (!m_connection->IsConnected())
        return false;
    if (m_connection->TakeNotices().isEmpty())
        return false;
    // The table is a copy read at opening; the others' changes are read now.
    m_table->Refresh();
    return true;
}

int CPatient::ChangeSocket() const
{
    return m_connection->IsConnected() ? m_connection->NoticeSocket() : -1;
}

bool CPatient::StoreReachable() const
{
    return m_connection->IsConnected() && m_connection->IsAlive();
}

bool CPatient::Reconnect()
{
    if (!m_connection->IsConnected() || !m_connection->PollReconnect())
        return false;
    if (m_connection->TakeLostLocks(kPatientLocks).contains(m_activeId)) {
        // Another workstation has it open now; what was edited here is not
        // written over its work.
        m_lostPatient = m_name;
        m_activeId = -1;
        m_listIndex = -1;
        m_name.clear();
        m_description.clear();
        m_settings->Reset();
    }
    // A change cut by the loss is written again from what is held here (by
    // Save), never half; the others' changes came without notice.
    m_table->Cancel();
    m_table->Refresh();
    if (m_activeId != -1)
        Save();
    return true;
}

QString CPatient::StoreRefusal() const
{
    return m_connection->Refusal();
}

void CPatient::ReadActive()
{
    m_description = m_table->FieldByName("Opis").AsString();
    m_name = m_table->FieldByName("NazwiskoImie").AsString();
    m_startDate = m_table->FieldByName("Poczatek").AsDateTime().date();
    m_lastDate = m_table->FieldByName("Ostatnia").AsDateTime().date();
    m_settings->Load(*m_table);
}

// The cursor normally stays on the active row; this makes sure that a change
// can never land on another patient's row.
void CPatient::GoToActive(const char* operation)
{
    if (!m_table->Eof() && m_table->FieldByName("idPac").AsInteger() == m_activeId)
        return;
    if (!m_table->Locate("idPac", m_activeId))
        throw CError(QString("CPatient::%1 - Brak pacjenta %2 w bazie pacjentów")
                         .arg(QString::fromLatin1(operation))
                         .arg(m_activeId));
}

void CPatient::Save()
{
    if (m_activeId == -1)
        return;
    GoToActive("Save");
    const bool renamed = m_table->FieldByName("NazwiskoImie").AsString() != m_name;
    // The record and its settings go into the database as one change.
    m_table->Edit();
    try {
        m_table->FieldByName("Opis").SetString(m_description);
        m_table->FieldByName("NazwiskoImie").SetString(m_name);
        m_table->FieldByName("Ostatnia").SetDateTime(Midnight(m_lastDate));
        m_settings->Save(*m_table);
    } catch (...) {
        m_table->Cancel();
        throw;
    }
    if (renamed)
        Announce("zmieniony", m_activeId);
}

void CPatient::Add()
{
    Save();
    m_name.clear();
    m_description.clear();
    m_settings->Reset();
    const QDate today = QDate::currentDate();
    m_table->Append();
    try {
        m_table->FieldByName("Opis").SetString(QString());
        m_table->FieldByName("NazwiskoImie").SetString(QString());
        m_table->FieldByName("Poczatek").SetDateTime(Midnight(today));
        m_table->FieldByName("Ostatnia").SetDateTime(Midnight(today));
        m_settings->Save(*m_table);
    } catch (...) {
        m_table->Cancel();
        Release(m_activeId);
        m_activeId = -1;
        throw;
    }
    m_table->Refresh();
    m_startDate = today;
    m_lastDate = today;
    const int previous = m_activeId;
    m_activeId = m_table->FieldByName("idPac").AsInteger();
    Release(previous);
    Hold(m_activeId);
    Announce("dodany", m_activeId);
}

void CPatient::Delete()
{
    if (m_activeId == -1)
        return;
    GoToActive("Delete");
    // The patient goes with the therapies stored for it, all or nothing: no
    // statistics rows may outlive their patient.
    m_connection->BeginTransaction();
    try {
        // A clinic database keeps the recordings too (a file store, in files).
        if (m_connection->IsClinic())
            m_connection->Execute("DELETE FROM Nagrania WHERE idStat IN "
                                  "(SELECT idStat FROM Statystyki WHERE idPac=?)",
                                  {m_activeId});
        m_connection->Execute("DELETE FROM Cwiczenia WHERE idStat IN "
                              "(SELECT idStat FROM Statystyki WHERE idPac=?)",
                              {m_activeId});
        m_connection->Execute("DELETE FROM Statystyki WHERE idPac=?", {m_activeId});
        m_table->Delete();
        m_connection->Commit();
    } catch (...) {
        m_connection->Rollback();
        // The row may have left the data set already; read it as stored.
        m_table->Refresh();
        throw;
    }
    Release(m_activeId);
    Announce("usuniety", m_activeId);
    m_activeId = -1;
    m_name.clear();
    m_description.clear();
    m_settings->Reset();
}

int CPatient::CurrentId() const
{
    if (m_activeId == -1)
        return -1;
    return m_table->FieldByName("idPac").AsInteger();
}

void CPatient::MarkTherapyToday()
{
    m_lastDate = QDate::currentDate();
    // Stored at once, so that the date agrees with the therapy stored next.
    Save();
}

QString CPatient::StartDateText() const
{
    return DateToText(m_startDate);
}

QString CPatient::LastDateText() const
{
    return DateToText(m_lastDate);
}
