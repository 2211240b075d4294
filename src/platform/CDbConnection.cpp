#include "platform/CDbConnection.h"

#include "app/CError.h"
#include "platform/CPgBackend.h"
#include "platform/CSqliteBackend.h"

#include <QRegularExpression>
#include <QSysInfo>

CDbConnection::CDbConnection() = default;

CDbConnection::~CDbConnection()
{
    Disconnect();
}

bool CDbConnection::IsClinicAddress(const QString& target)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(postgres(ql)?://|[A-Za-z_]+\\s*=)"));
    return form.match(target).hasMatch();
}

void CDbConnection::Connect(const QString& target)
{
    Disconnect();
    if (IsClinicAddress(target))
        m_backend = std::make_unique<CPgBackend>(target, Workstation());
    else
        m_backend = std::make_unique<CSqliteBackend>(target);
    m_path = target;
}

QString CDbConnection::Workstation() const
{
    return m_workstation.isEmpty() ? QSysInfo::machineHostName() : m_workstation;
}

void CDbConnection::Disconnect()
{
    m_backend.reset();
    m_path.clear();
}

bool CDbConnection::IsClinic() const
{
    return dynamic_cast<const CPgBackend*>(m_backend.get()) != nullptr;
}

CDbBackend& CDbConnection::Backend(const char* where) const
{
    if (!m_backend)
        throw CError(QString::fromUtf8(where) + " - Brak połączenia z bazą danych");
    return *m_backend;
}

sqlite3* CDbConnection::Handle(const char* where) const
{
    auto* file = dynamic_cast<CSqliteBackend*>(&Backend(where));
    if (!file)
        throw CError(QString::fromUtf8(where) + " - To nie jest plik bazy danych");
    return file->Handle();
}

void CDbConnection::Execute(const QString& sql, const QVariantList& params)
{
    Backend("CDbConnection::Execute").Execute(sql, params, "CDbConnection::Execute");
}

void CDbConnection::CheckWhole()
{
    Backend("CDbConnection::CheckWhole").CheckWhole();
}

void CDbConnection::BeginTransaction()
{
    Backend("CDbConnection::BeginTransaction").Begin();
}

void CDbConnection::Commit()
{
    Backend("CDbConnection::Commit").Commit();
}

void CDbConnection::Rollback()
{
    if (m_backend)
        m_backend->Rollback();
}

bool CDbConnection::InTransaction() const
{
    return m_backend && m_backend->InTransaction();
}

CPgBackend* CDbConnection::Clinic(const char* where) const
{
    return dynamic_cast<CPgBackend*>(&Backend(where));
}

bool CDbConnection::TryLock(int space, int id)
{
    CPgBackend* clinic = Clinic("CDbConnection::TryLock");
    return !clinic || clinic->TryLock(space, id);
}

void CDbConnection::Unlock(int space, int id)
{
    if (CPgBackend* clinic = Clinic("CDbConnection::Unlock"))
        clinic->Unlock(space, id);
}

QString CDbConnection::LockHolder(int space, int id)
{
    CPgBackend* clinic = Clinic("CDbConnection::LockHolder");
    return clinic ? clinic->LockHolder(space, id) : QString();
}

QHash<int, QString> CDbConnection::LockHolders(int space)
{
    CPgBackend* clinic = Clinic("CDbConnection::LockHolders");
    return clinic ? clinic->LockHolders(space) : QHash<int, QString>();
}

void CDbConnection::Listen(const QString& channel)
{
    if (CPgBackend* clinic = Clinic("CDbConnection::Listen"))
        clinic->Listen(channel);
}

void CDbConnection::Notify(const QString& channel, const QString& payload)
{
    if (CPgBackend* clinic = Clinic("CDbConnection::Notify"))
        clinic->Notify(channel, payload);
}

QStringList CDbConnection::TakeNotices()
{
    CPgBackend* clinic = m_backend ? Clinic("CDbConnection::TakeNotices") : nullptr;
    return clinic ? clinic->TakeNotices() : QStringList();
}

int CDbConnection::NoticeSocket() const
{
    const auto* clinic = dynamic_cast<const CPgBackend*>(m_backend.get());
    return clinic ? clinic->Socket() : -1;
}

bool CDbConnection::IsAlive() const
{
    const auto* clinic = dynamic_cast<const CPgBackend*>(m_backend.get());
    return m_backend && (!clinic || clinic->Alive());
}

bool CDbConnection::PollReconnect()
{
    CPgBackend* clinic = m_backend ? Clinic("CDbConnection::PollReconnect") : nullptr;
    return !clinic || clinic->PollReconnect() == CPgBackend::EReconnect::Connected;
}

bool CDbConnection::Reconnect(int milliseconds)
{
    CPgBackend* clinic = m_backend ? Clinic("CDbConnection::Reconnect") : nullptr;
    return !clinic || clinic->Reconnect(milliseconds);
}

QString CDbConnection::Refusal() const
{
    const auto* clinic = dynamic_cast<const CPgBackend*>(m_backend.get());
    return clinic ? clinic->Refusal() : QString();
}

QList<int> CDbConnection::TakeLostLocks(int space)
{
    QList<int> ids;
    CPgBackend* clinic = m_backend ? Clinic("CDbConnection::TakeLostLocks") : nullptr;
    if (!clinic)
        return ids;
    for (const auto& lock : clinic->TakeLostLocks()) {
        if (lock.first == space)
            ids << lock.second;
    }
    return ids;
}
