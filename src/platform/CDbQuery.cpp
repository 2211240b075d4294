#include "platform/CDbQuery.h"

void CDbQuery::SetSQL(const QString& sql, const QVariantList& params)
{
    Close();
    m_sql = sql;
    m_params = params;
}

bool CDbQuery::Holds(const QString& sql, const QVariantList& params) const
{
    return m_sql == sql && m_params == params;
}
