#pragma once
#include <QDateTime>
#include <QString>
#include <QVariant>

class CDbDataSet;

// One column of the current row of a data set: a small handle, valid while
// the data set is open. Reading converts the stored value; writing needs the
// data set in edit or insert state. A failed conversion throws CError.
class CDbField
{
public:
    CDbField(CDbDataSet* dataSet, int index) : m_dataSet(dataSet), m_index(index) {}

    int Index() const { return m_index; }
    QString Name() const;
    bool IsNull() const;
    QVariant Value() const;

    // A 32-bit value; stored numbers from -2^31 to 2^32-1 keep their low 32
    // bits, so a packed bit pattern survives. Null reads as 0.
    int AsInteger() const;
    qint64 AsLargeInt() const;
    QString AsString() const;     // null reads as ""
    bool AsBoolean() const;       // a number: not 0; null reads as false
    QDateTime AsDateTime() const; // null reads as an invalid date-time

    void SetInteger(qint64 value);
    void SetString(const QString& value);
    void SetBoolean(bool value);
    void SetDateTime(const QDateTime& value); // an invalid date-time stores null
    void SetNull();

private:
    [[noreturn]] void Fail(const char* operation, const QString& what) const;

    CDbDataSet* m_dataSet;
    int m_index;
};
