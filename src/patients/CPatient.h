#pragma once
#include "patients/CTherapySettings.h"

#include <QDate>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

class CDbConnection;
class CDbTable;
class QTreeWidget;
class QTreeWidgetItem;

// The patient store: the open patient database "pacmem.qp", the active
// patient with its therapy settings, and the patient list of the main window.
// The main window edits Name, Description and Settings in place; they reach
// the database with the next Save (when another patient is made active, one is
// added, or the store is destroyed). Destruction also remembers the active
// patient, so the next run starts with the same one.
//
// The statistics store works on the same connection (Connection()) and reads
// ActiveId() through its pointer to this store; its owner creates it next to
// this one.
class CPatient
{
public:
    CPatient();
    ~CPatient();
    CPatient(const CPatient&) = delete;
    CPatient& operator=(const CPatient&) = delete;

    // Opens the database and activates the patient stored as active; false on
    // any error (file missing or held, table or column missing, server not
    // reached), whose message LastError() then gives.
    bool Open(const QString& path);
    const QString& LastError() const { return m_lastError; }
    // Fills the patient list: one item per patient (data = id, caption = name,
    // then the two dates and the description), sorted by name in the Polish
    // order, the active patient selected. On a clinic database the patients
    // open on another workstation are greyed, the workstation in their tip. Throws "Nazwy kol. w
    // bazie pac.!" when a column is missing.
    void FillList(QTreeWidget* list);
    // Makes patient `id` active, saving the previous one first; id < 0: none.
    // On a clinic database the active patient is held for this workstation;
    // a patient held by another one is refused with an error naming it, and
    // the previous patient stays active.
    void Select(int id);
    // The workstation that holds patient `id` (editing it or running its
    // therapy); empty when it is free or the store is a file.
    QString BusyOn(int id) const;
    // The name this workstation goes by in a clinic; set before Open.
    void SetWorkstation(const QString& name);
    // True when another workstation added, renamed or deleted a patient
    // since the last call; the list is then to be filled again.
    bool TakeListChanges();
    // The socket that becomes readable when such a change arrives; -1 for
    // a file.
    int ChangeSocket() const;
    // False while the clinic's server is away (the connection lost); a file
    // is always there.
    bool StoreReachable() const;
    // One step of making the lost connection again, never waiting; true once
    // it is back. The list is then read afresh and what was edited meanwhile
    // is saved. The active patient stays held, unless another workstation
    // took it meanwhile: then no patient is active and TakeLostPatient()
    // names it.
    bool Reconnect();
    QString TakeLostPatient() { return std::exchange(m_lostPatient, {}); }
    // Why the clinic's server came back with a database this program must
    // not write into (another version's tables); empty otherwise. The store
    // stays unreachable meanwhile.
    QString StoreRefusal() const;
    void Save();
    void Add();
    // Deletes the active patient's row together with its therapies (their
    // Statystyki and Cwiczenia rows) in one transaction. The recording files
    // are the statistics store's to delete, after this.
    void Delete();
    // -1 when no patient is active, else idPac of the current row.
    int CurrentId() const;
    void MarkTherapyToday();
    // The same without storing it now (the store is away); the next Save
    // stores it.
    void MarkTherapyTodayLater() { m_lastDate = QDate::currentDate(); }
    QString StartDateText() const;
    QString LastDateText() const;

    int ActiveId() const { return m_activeId; }
    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    const QString& Description() const { return m_description; }
    void SetDescription(const QString& description) { m_description = description; }
    const QDate& StartDate() const { return m_startDate; }
    const QDate& LastDate() const { return m_lastDate; }
    int ListIndex() const { return m_listIndex; }
    void SetListIndex(int index) { m_listIndex = index; }
    CTherapySettings& Settings() { return *m_settings; }
    const CTherapySettings& Settings() const { return *m_settings; }
    // The patient database's connection, shared with the statistics store.
    CDbConnection* Connection() const { return m_connection.get(); }

private:
    void ReadActive();
    void GoToActive(const char* operation);
    void RememberActive();
    int StoredActiveId();
    bool Hold(int id);
    void Release(int id);
    void Announce(const char* change, int id);
    void AnnounceHold(const char* change, int id) noexcept;
    void MarkBusy(std::vector<std::unique_ptr<QTreeWidgetItem>>& items) const;

    int m_activeId = -1;
    QString m_name;
    QDate m_startDate;
    QDate m_lastDate;
    std::unique_ptr<CDbConnection> m_connection;
    std::unique_ptr<CDbTable> m_table;
    std::unique_ptr<CTherapySettings> m_settings;
    int m_listIndex = -1;
    QString m_description;
    QString m_lastError;
    QString m_lostPatient;
};
