#pragma once
#include "platform/CDbBackend.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPair>
#include <QSet>

struct pg_conn;
struct pg_result;

// A clinic's PostgreSQL database, reached with libpq, shared by several
// workstations. The connection string names the server, database and user;
// the password comes from ~/.pgpass or the libpq environment and is never
// held by the program. The tables of the patient store are created on the
// first connection to an empty database; a database made by another version
// of the program is refused untouched (see ClinicSchema).
//
// No call waits for the server longer than a few seconds: connecting gives up
// after kConnectSeconds, and a connection whose server has gone away is found
// by TCP keepalives and reported as lost. A lost connection is made again
// with PollReconnect (without waiting) or Reconnect; the session's locks and
// LISTENs are then taken again. A transaction cut by the loss is over: until
// the caller has rolled it back, nothing runs and nothing reconnects, so the
// rest of it can never land on the new connection on its own.
class CPgBackend : public CDbBackend
{
public:
    static constexpr int kConnectSeconds = 5;

    // Connects as workstation `workstation`; throws CError naming what is
    // wrong (server unreachable, wrong password, missing permission, another
    // version's schema).
    CPgBackend(const QString& conninfo, const QString& workstation);
    ~CPgBackend() override;
    CPgBackend(const CPgBackend&) = delete;
    CPgBackend& operator=(const CPgBackend&) = delete;

    pg_conn* Handle() const { return m_conn; }
    // False once the server has gone away.
    bool Alive() const;

    enum class EReconnect
    {
        Connected,
        Waiting,
        Failed
    };
    // One step of making the lost connection again, never waiting: Connected
    // once the session is back (locks and LISTENs taken again), Waiting
    // while the server is being reached, Failed when this attempt gave up
    // (the next call starts another). Connected at once when alive.
    EReconnect PollReconnect();
    // Makes the lost connection again, waiting up to `milliseconds`.
    bool Reconnect(int milliseconds);
    // Why the database the server came back with is refused (its tables are
    // another version's, or gone), as the error's message; empty otherwise.
    // While refused the connection counts as lost and runs no statement.
    const QString& Refusal() const { return m_refusal; }
    // The locks this session held that another session took while the
    // connection was lost; cleared by the call.
    QList<QPair<int, int>> TakeLostLocks();

    // Session advisory locks (see CDbConnection::TryLock).
    bool TryLock(int space, int id);
    void Unlock(int space, int id);
    QString LockHolder(int space, int id);
    QHash<int, QString> LockHolders(int space);
    void Listen(const QString& channel);
    void Notify(const QString& channel, const QString& payload);
    QStringList TakeNotices();
    int Socket() const;

    QString Target() const override { return m_target; }
    SDbRows Select(const QString& sql, const QVariantList& params, const QString& where) override;
    void Execute(const QString& sql, const QVariantList& params, const QString& where) override;
    qint64 Insert(const QString& table, const QString& key, const QStringList& columns,
                  const QVariantList& values, const QString& where) override;
    QString Quote(const QString& identifier) const override;
    QString RowKey(const QString& table, bool anyRow, const QString& where) override;
    void CheckWhole() override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override;
    bool BeginChange(const QString& where) override;
    void EndChange(bool outermost, const QString& where) override;
    void AbortChange(bool outermost) noexcept override;

    // "?" marks turned into "$1", "$2"... outside quoted text.
    static QString NumberedParams(const QString& sql);

private:
    // Runs `sql` and returns its result (owned by the caller); throws with
    // the server's message on failure.
    pg_result* Run(const QString& sql, const QVariantList& params, const QString& where);
    [[noreturn]] void Fail(pg_result* result, const QString& where);
    QPair<QString, QString> ColumnOrigin(unsigned int table, int column, const QString& where);

    // The connection is up (its session may still be being restored).
    bool Linked() const;
    void RestoreSession();
    void MarkTransaction(bool open) { m_inTransaction = open; }

    pg_conn* m_conn = nullptr;
    QString m_target;
    bool m_inTransaction = false;
    bool m_resetting = false;
    bool m_broken = false; // lost, though libpq has not seen it yet
    bool m_restorePending = false;
    int m_resetWants = 0; // what the reset waits for (PostgresPollingStatusType)
    QElapsedTimer m_resetClock;
    QSet<QPair<int, int>> m_locks;
    QStringList m_channels;
    QList<QPair<int, int>> m_lostLocks;
    QString m_refusal;
    QHash<QPair<unsigned int, int>, QPair<QString, QString>> m_origins;
    QHash<QString, QString> m_keys;
};
