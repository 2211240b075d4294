#include "platform/CDbConnection.h"

#include "app/CError.h"
#include "platform/CPgBackend.h"
#include "platform/CSqliteBackend.h"

#include <QRegularExpression>

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
        m_backend = std::make_unique<CPgBackend>(target);
    else
        m_backend = std::make_unique<CSqliteBackend>(target);
    m_path = target;
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
