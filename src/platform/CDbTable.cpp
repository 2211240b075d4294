#include "platform/CDbTable.h"

#include "platform/CDbBackend.h"

void CDbTable::SetTableName(const QString& name)
{
    Close();
    m_tableName = name;
}

QString CDbTable::SelectText(CDbBackend& backend) const
{
    const QString key = backend.RowKey(m_tableName, true, "CDbTable::Open");
    if (key.isEmpty())
        return "SELECT NULL, * FROM " + backend.Quote(m_tableName);
    const QString quotedKey = backend.Quote(key);
    return "SELECT " + quotedKey + ", * FROM " + backend.Quote(m_tableName) + " ORDER BY " +
           quotedKey;
}
