#pragma once
#include "platform/CDbDataSet.h"

// A whole table, opened by name; its rows come in stored order (row id, or
// the key of a clinic database's table).
class CDbTable : public CDbDataSet
{
public:
    explicit CDbTable(CDbConnection* connection = nullptr) : CDbDataSet(connection) {}

    void SetTableName(const QString& name); // closes the data set
    const QString& TableName() const { return m_tableName; }

protected:
    QString SelectText(CDbBackend& backend) const override;
    bool HidesKeyColumn() const override { return true; }
    QString KeyedTable() const override { return m_tableName; }
    const char* ClassName() const override { return "CDbTable"; }

private:
    QString m_tableName;
};
