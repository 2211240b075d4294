#pragma once
#include <QHash>
#include <QString>
#include <QVariantList>
#include <memory>

struct sqlite3;
class CDbBackend;

// A connection to the patient or content store: a database file on this
// computer (held exclusively while connected, see CSqliteBackend) or a
// clinic's PostgreSQL database shared by several workstations (see
// CPgBackend), named by a libpq connection string.
class CDbConnection
{
public:
    CDbConnection();
    ~CDbConnection();
    CDbConnection(const CDbConnection&) = delete;
    CDbConnection& operator=(const CDbConnection&) = delete;

    // True when `target` is a server's connection string ("postgresql://..."
    // or "key=value ...") rather than a file path.
    static bool IsClinicAddress(const QString& target);

    // Opens the existing file or the clinic database `target` (a file is
    // never created here). Disconnects first when connected. Throws CError
    // when the file is missing, held by another program, not a database, or
    // damaged, or when the server cannot be reached or refuses the user.
    void Connect(const QString& target);
    void Disconnect();
    bool IsConnected() const { return m_backend != nullptr; }
    bool IsClinic() const;
    // The file path or the connection string.
    const QString& Path() const { return m_path; }

    // Runs one SQL statement that returns no rows, values bound as parameters.
    void Execute(const QString& sql, const QVariantList& params = {});

    // Throws CError unless the store passes the engine's own check: a file
    // cut short or damaged is refused as a whole before any of it is used
    // (and long before anything is written into it).
    void CheckWhole();

    // Groups many posts into one transaction (for bulk loading); each post
    // inside it becomes a savepoint. Commit or Rollback ends it.
    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // The name this workstation goes by on a clinic database (the server
    // shows it to the others as the holder of a busy patient); set before
    // connecting. The computer's name unless set.
    void SetWorkstation(const QString& name) { m_workstation = name; }
    QString Workstation() const;

    // Session locks of a clinic database, tied to this connection: a
    // workstation that ends or is killed loses them with its connection.
    // On a file (held by one program anyway) taking a lock always succeeds.
    bool TryLock(int space, int id);
    void Unlock(int space, int id);
    // The workstation holding lock (space, id) on another connection; empty
    // when nobody else holds it.
    QString LockHolder(int space, int id);
    // Every lock in `space` held on another connection: id -> workstation.
    QHash<int, QString> LockHolders(int space);

    // Change notices among the workstations of a clinic database: Listen to
    // a channel, Notify it (delivered to the others when the change is
    // committed), and take the notices that arrived, without waiting.
    // NoticeSocket() is the socket to watch for them; -1 on a file.
    void Listen(const QString& channel);
    void Notify(const QString& channel, const QString& payload);
    QStringList TakeNotices();
    int NoticeSocket() const;

    // A clinic database's connection can be lost during work (server
    // stopped or restarted, network gone). False then; always true on a file.
    bool IsAlive() const;
    // One step of making a lost clinic connection again, never waiting (see
    // CPgBackend::PollReconnect); true once it is back, with its locks and
    // channels. Reconnect waits up to `milliseconds` for it.
    bool PollReconnect();
    bool Reconnect(int milliseconds);
    // Why the clinic database the server came back with is refused (another
    // version's tables); empty otherwise. See CPgBackend::Refusal.
    QString Refusal() const;
    // The ids of locks in `space` that other workstations took while the
    // connection was lost; cleared by the call.
    QList<int> TakeLostLocks(int space);

    // The engine, for the data sets on this connection; throws when not
    // connected.
    CDbBackend& Backend(const char* where) const;
    // The SQLite handle of a file connection; throws for a clinic database.
    sqlite3* Handle(const char* where) const;

private:
    class CPgBackend* Clinic(const char* where) const;

    std::unique_ptr<CDbBackend> m_backend;
    QString m_path;
    QString m_workstation;
};
