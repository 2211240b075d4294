#pragma once
#include "platform/CDbDataSet.h"

// The rows of one SELECT statement. Values go in as parameters ("?" in the
// text, in order), never pasted into the text. The rows can be changed when
// the query reads one table and includes its integer key (SELECT * FROM t).
class CDbQuery : public CDbDataSet
{
public:
    explicit CDbQuery(CDbConnection* connection = nullptr) : CDbDataSet(connection) {}

    void SetSQL(const QString& sql, const QVariantList& params = {}); // closes the data set
    const QString& SQL() const { return m_sql; }
    const QVariantList& Params() const { return m_params; }
    // True when the query holds this text with these parameters.
    bool Holds(const QString& sql, const QVariantList& params = {}) const;

protected:
    QString SelectText(CDbBackend&) const override { return m_sql; }
    QVariantList SelectParams() const override { return m_params; }
    const char* ClassName() const override { return "CDbQuery"; }

private:
    QString m_sql;
    QVariantList m_params;
};
