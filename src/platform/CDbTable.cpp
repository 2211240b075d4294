#include "platform/CDbTable.h"

void CDbTable::SetTableName(const QString& name)
{
    Close();
    m_tableName = name;
}

QString CDbTable::SelectText() const
{
    QString name = m_tableName;
    name.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return "SELECT rowid, * FROM \"" + name + "\" ORDER BY rowid";
}
