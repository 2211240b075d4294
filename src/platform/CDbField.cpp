#include "platform/CDbField.h"

#include "app/CError.h"
#include "platform/CDbDataSet.h"
#include "platform/DbDateText.h"

#include <cmath>
#include <limits>

QString CDbField::Name() const
{
    return m_dataSet->FieldName(m_index);
}

void CDbField::Fail(const char* operation, const QString& what) const
{
    throw CError(QString("CDbField::%1 - Pole \"%2\": %3")
                     .arg(QString::fromLatin1(operation), Name(), what));
}

QVariant CDbField::Value() const
{
    return m_dataSet->CurrentValue(m_index);
}

bool CDbField::IsNull() const
{
    return Value().isNull();
}

qint64 CDbField::AsLargeInt() const
{
    const QVariant value = Value();
    if (value.isNull())
        return 0;
    switch (value.typeId()) {
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::Double: {
        const double number = std::round(value.toDouble());
        if (!std::isfinite(number) || std::fabs(number) > 9.0e18)
            Fail("AsInteger", "liczba poza zakresem");
        return qint64(number);
    }
    case QMetaType::QString: {
        bool ok = false;
        const qint64 number = value.toString().trimmed().toLongLong(&ok);
        if (!ok)
            Fail(
                "AsInteger",
                QString("wartość \"%1\" nie jest liczbą całkowitą").arg(value.toString().left(40)));
        return number;
    }
    default:
        Fail("AsInteger", "wartość nie jest liczbą");
    }
}

int CDbField::AsInteger() const
{
    const qint64 value = AsLargeInt();
    if (value < std::numeric_limits<qint32>::min() || value > qint64(0xFFFFFFFFu))
        Fail("AsInteger", QString("liczba %1 nie mieści się w 32 bitach").arg(value));
    return int(quint32(quint64(value) & 0xFFFFFFFFu));
}

QString CDbField::AsString() const
{
    const QVariant value = Value();
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QByteArray)
        Fail("AsString", "wartość binarna");
    return value.toString();
}

bool CDbField::AsBoolean() const
{
    const QVariant value = Value();
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    return AsLargeInt() != 0;
}

QDateTime CDbField::AsDateTime() const
{
    const QVariant value = Value();
    if (value.isNull())
        return QDateTime();
    if (value.typeId() != QMetaType::QString)
        Fail("AsDateTime", "wartość nie jest datą");
    const QDateTime result = DbTextToDateTime(value.toString());
    if (!result.isValid())
        Fail("AsDateTime", QString("wartość \"%1\" nie jest datą").arg(value.toString().left(40)));
    return result;
}

void CDbField::SetInteger(qint64 value)
{
    m_dataSet->SetValue(m_index, QVariant(value), "SetInteger");
}

void CDbField::SetString(const QString& value)
{
    // An empty text stays a text, not a null.
    m_dataSet->SetValue(m_index, QVariant(value.isNull() ? QString("") : value), "SetString");
}

void CDbField::SetBoolean(bool value)
{
    m_dataSet->SetValue(m_index, QVariant(qint64(value ? 1 : 0)), "SetBoolean");
}

void CDbField::SetDateTime(const QDateTime& value)
{
    m_dataSet->SetValue(m_index, value.isValid() ? QVariant(DateTimeToDbText(value)) : QVariant(),
                        "SetDateTime");
}

void CDbField::SetNull()
{
    m_dataSet->SetValue(m_index, QVariant(), "SetNull");
}
