#pragma once
#include "platform/CDbField.h"

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <vector>

class CDbBackend;
class CDbConnection;
struct SDbRows;

// The rows of a table or query, read whole when the data set is opened, with
// a cursor over them. The record count is therefore exact from the moment of
// opening. Changes go to the database row by row: Edit, Append or Insert put
// the data set into an editing state, the fields are written, and Post stores
// the row in one committed transaction (a failed post is rolled back and
// throws; the data set stays in its editing state so the caller may Cancel).
// Moving the cursor while editing posts first. Every failure throws CError.
class CDbDataSet
{
public:
    enum class EState
    {
        Inactive,
        Browse,
        Edit,
        Insert
    };

    explicit CDbDataSet(CDbConnection* connection = nullptr);
    virtual ~CDbDataSet();
    CDbDataSet(const CDbDataSet&) = delete;
    CDbDataSet& operator=(const CDbDataSet&) = delete;

    void SetConnection(CDbConnection* connection);
    CDbConnection* Connection() const { return m_connection; }

    void Open();
    void Close(); // discards an unposted change
    bool Active() const { return m_state != EState::Inactive; }
    EState State() const { return m_state; }

    // Cursor. Record numbers count from 1; RecNo() is RecordCount() + 1 at the
    // end of the data, and SetRecNo accepts every value RecNo() can return.
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const;
    bool Bof() const;
    int RecordCount() const;
    int RecNo() const;
    void SetRecNo(int recNo);

    // Columns, in the order of the table or the query's result.
    int FieldCount() const;
    int FieldIndex(const QString& name) const; // -1 when absent; names compare case-blind
    QString FieldName(int index) const;
    CDbField Fields(int index);                // throws when out of range
    CDbField FieldByName(const QString& name); // throws when absent

    void Edit();
    void Append(); // a new row, placed at the end
    void Insert(); // a new row, placed at the cursor
    void Post();
    void Cancel();
    void Delete();
    // Reads the rows again and keeps the cursor on the same row when it is
    // still there.
    void Refresh();
    // Moves to the first row whose column `field` holds `value`; the cursor
    // stays where it was when there is none.
    bool Locate(const QString& field, qint64 value);

    // Whether rows can be changed: always for a table; for a query, when all
    // its columns come from one table whose integer key is among them.
    bool CanModify() const { return !m_baseTable.isEmpty(); }

protected:
    // The statement text and parameters that read all rows.
    virtual QString SelectText(CDbBackend& backend) const = 0;
    virtual QVariantList SelectParams() const { return {}; }
    // True when the first result column is the row key of KeyedTable(),
    // hidden from the fields.
    virtual bool HidesKeyColumn() const { return false; }
    virtual QString KeyedTable() const { return {}; }
    virtual const char* ClassName() const = 0;

private:
    friend class CDbField;
    struct SRow
    {
        qint64 key = 0;
        QVariantList values;
    };

    QString Where(const char* operation) const;
    [[noreturn]] void Fail(const char* operation, const QString& what) const;
    void RequireActive(const char* operation) const;
    void RequireCurrent(const char* operation) const;
    void RequireModifiable(const char* operation) const;
    void CheckBrowseMode();
    CDbBackend& Backend() const;
    void ReadAll();
    void ReadStructure(CDbBackend& backend, const SDbRows& result);
    void FindRowKey(CDbBackend& backend);
    SRow ReadRow(QVariantList values) const;
    SRow ReReadRow(qint64 key) const;
    void PostEdit();
    void PostInsert();
    QVariant CurrentValue(int index) const;
    void SetValue(int index, const QVariant& value, const char* operation);
    template <class F> void InTransaction(const char* operation, F&& work);

    CDbConnection* m_connection = nullptr;
    EState m_state = EState::Inactive;
    QStringList m_names;
    QStringList m_origins; // base column of each field, empty when computed
    QString m_baseTable;   // the one table the rows come from; empty when read-only
    QString m_keyName;     // the column that finds a row of m_baseTable again
    int m_keyField = -1;   // field holding the row key (for a query); -1 when hidden
    std::vector<SRow> m_rows;
    int m_pos = 0; // index of the current row; m_rows.size() at the end
    SRow m_buffer; // the row being edited or inserted
    std::vector<bool> m_changed;
    bool m_appending = false;
};
