#include "platform/CDbDataSet.h"

#include "app/CError.h"
#include "platform/CDbBackend.h"
#include "platform/CDbConnection.h"

CDbDataSet::CDbDataSet(CDbConnection* connection) : m_connection(connection) {}

CDbDataSet::~CDbDataSet() = default;

void CDbDataSet::SetConnection(CDbConnection* connection)
{
    Close();
    m_connection = connection;
}

QString CDbDataSet::Where(const char* operation) const
{
    return QString::fromLatin1(ClassName()) + "::" + QString::fromLatin1(operation);
}

void CDbDataSet::Fail(const char* operation, const QString& what) const
{
    throw CError(Where(operation) + " - " + what);
}

void CDbDataSet::RequireActive(const char* operation) const
{
    if (m_state == EState::Inactive)
        Fail(operation, "Zbiór danych jest zamknięty");
}

void CDbDataSet::RequireCurrent(const char* operation) const
{
    RequireActive(operation);
    if (m_pos < 0 || m_pos >= int(m_rows.size()))
        Fail(operation, "Brak bieżącego rekordu");
}

void CDbDataSet::RequireModifiable(const char* operation) const
{
    RequireActive(operation);
    if (!CanModify())
        Fail(operation, "Tych danych nie można zmieniać (zapytanie tylko do odczytu)");
    if (!m_connection || !m_connection->IsConnected())
        Fail(operation, "Brak połączenia z bazą danych");
}

// ---- opening and reading

void CDbDataSet::Open()
{
    if (Active())
        return;
    if (!m_connection)
        Fail("Open", "Brak połączenia z bazą danych");
    ReadAll();
    m_state = EState::Browse;
    m_pos = 0;
}

void CDbDataSet::Close()
{
    m_state = EState::Inactive;
    m_rows.clear();
    m_names.clear();
    m_origins.clear();
    m_baseTable.clear();
    m_keyName.clear();
    m_keyField = -1;
    m_changed.clear();
    m_buffer = SRow();
    m_pos = 0;
}

CDbBackend& CDbDataSet::Backend() const
{
    if (!m_connection)
        Fail("Open", "Brak połączenia z bazą danych");
    return m_connection->Backend(ClassName());
}

void CDbDataSet::ReadAll()
{
    CDbBackend& backend = Backend();
    SDbRows result = backend.Select(SelectText(backend), SelectParams(), Where("Open"));
    ReadStructure(backend, result);
    std::vector<SRow> rows;
    rows.reserve(result.rows.size());
    for (QVariantList& values : result.rows)
        rows.push_back(ReadRow(std::move(values)));
    m_rows = std::move(rows);
}

void CDbDataSet::ReadStructure(CDbBackend& backend, const SDbRows& result)
{
    m_names.clear();
    m_origins.clear();
    m_baseTable.clear();
    m_keyName.clear();
    m_keyField = -1;
    const int first = HidesKeyColumn() ? 1 : 0;
    QString table;
    bool oneTable = true;
    for (int i = first; i < result.names.size(); ++i) {
        m_names << result.names[i];
        const QString& columnTable = result.tables[i];
        m_origins << (columnTable.isEmpty() ? QString() : result.origins[i]);
        if (columnTable.isEmpty() || (!table.isEmpty() && table != columnTable))
            oneTable = false;
        table = columnTable;
    }
    if (HidesKeyColumn()) {
        m_baseTable = KeyedTable();
        m_keyName = backend.RowKey(m_baseTable, true, Where("Open"));
        // Rows that cannot be told apart cannot be changed one by one.
        if (m_keyName.isEmpty())
            m_baseTable.clear();
        return;
    }
    if (oneTable && !table.isEmpty()) {
        m_baseTable = table;
        FindRowKey(backend);
    }
}

// A query's rows can be changed only when the table's integer key is among
// the query's columns: that is how each row is found again.
void CDbDataSet::FindRowKey(CDbBackend& backend)
{
    const QString keyName = backend.RowKey(m_baseTable, false, Where("Open"));
    if (!keyName.isEmpty()) {
        for (int i = 0; i < m_origins.size(); ++i) {
            if (m_origins[i].compare(keyName, Qt::CaseInsensitive) == 0) {
                m_keyField = i;
                m_keyName = keyName;
                return;
            }
        }
    }
    m_baseTable.clear();
}

CDbDataSet::SRow CDbDataSet::ReadRow(QVariantList values) const
{
    SRow row;
    if (HidesKeyColumn()) {
        row.key = values.value(0).toLongLong();
        values.removeFirst();
    } else if (m_keyField >= 0) {
        row.key = values.value(m_keyField).toLongLong();
    }
    row.values = std::move(values);
    return row;
}

// The stored row with `key` as the fields see it, after the database has
// filled in what it assigns (AutoNumber keys, defaults).
CDbDataSet::SRow CDbDataSet::ReReadRow(qint64 key) const
{
    CDbBackend& backend = Backend();
    QStringList columns;
    for (const QString& origin : m_origins)
        columns << (origin.isEmpty() ? QStringLiteral("NULL") : backend.Quote(origin));
    const QString keyName = backend.Quote(m_keyName);
    const QString sql = "SELECT " + keyName +
                        (columns.isEmpty() ? QString() : ", " + columns.join(", ")) + " FROM " +
                        backend.Quote(m_baseTable) + " WHERE " + keyName + "=?";
    SDbRows result = backend.Select(sql, {key}, Where("Post"));
    if (result.rows.empty())
        Fail("Post", "Zapisany rekord zniknął z tabeli");
    SRow row;
    QVariantList& values = result.rows.front();
    row.key = values.value(0).toLongLong();
    values.removeFirst();
    row.values = std::move(values);
    return row;
}

// ---- cursor

void CDbDataSet::CheckBrowseMode()
{
    if (m_state == EState::Edit || m_state == EState::Insert)
        Post();
}

void CDbDataSet::First()
{
    RequireActive("First");
    CheckBrowseMode();
    m_pos = 0;
}

void CDbDataSet::Next()
{
    RequireActive("Next");
    CheckBrowseMode();
    if (m_pos < int(m_rows.size()))
        ++m_pos;
}

void CDbDataSet::Prior()
{
    RequireActive("Prior");
    CheckBrowseMode();
    if (m_pos > 0)
        --m_pos;
}

void CDbDataSet::Last()
{
    RequireActive("Last");
    CheckBrowseMode();
    m_pos = m_rows.empty() ? 0 : int(m_rows.size()) - 1;
}

bool CDbDataSet::Eof() const
{
    return m_state == EState::Inactive || m_pos >= int(m_rows.size());
}

bool CDbDataSet::Bof() const
{
    return m_state == EState::Inactive || m_pos == 0;
}

int CDbDataSet::RecordCount() const
{
    RequireActive("RecordCount");
    return int(m_rows.size());
}

int CDbDataSet::RecNo() const
{
    RequireActive("RecNo");
    return m_pos + 1;
}

void CDbDataSet::SetRecNo(int recNo)
{
    RequireActive("SetRecNo");
    if (recNo < 1 || recNo > int(m_rows.size()) + 1)
        Fail("SetRecNo", QString("Numer rekordu %1 poza zakresem").arg(recNo));
    CheckBrowseMode();
    m_pos = recNo - 1;
}

// ---- columns

int CDbDataSet::FieldCount() const
{
    return int(m_names.size());
}

int CDbDataSet::FieldIndex(const QString& name) const
{
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString CDbDataSet::FieldName(int index) const
{
    if (index < 0 || index >= m_names.size())
        Fail("FieldName", QString("Numer pola %1 poza zakresem").arg(index));
    return m_names[index];
}

CDbField CDbDataSet::Fields(int index)
{
    RequireActive("Fields");
    if (index < 0 || index >= m_names.size())
        Fail("Fields", QString("Numer pola %1 poza zakresem").arg(index));
    return CDbField(this, index);
}

CDbField CDbDataSet::FieldByName(const QString& name)
{
    RequireActive("FieldByName");
    const int index = FieldIndex(name);
    if (index < 0)
        Fail("FieldByName", QString("Brak pola \"%1\"").arg(name));
    return CDbField(this, index);
}

QVariant CDbDataSet::CurrentValue(int index) const
{
    if (m_state == EState::Edit || m_state == EState::Insert)
        return m_buffer.values.value(index);
    RequireCurrent("Fields");
    return m_rows[m_pos].values.value(index);
}

void CDbDataSet::SetValue(int index, const QVariant& value, const char* operation)
{
    if (m_state != EState::Edit && m_state != EState::Insert)
        Fail(operation, "Zbiór danych nie jest w trybie edycji");
    if (index < 0 || index >= m_buffer.values.size())
        Fail(operation, QString("Numer pola %1 poza zakresem").arg(index));
    if (m_origins[index].isEmpty())
        Fail(operation,
             QString("Pole \"%1\" jest wyliczane i nie można go zmieniać").arg(m_names[index]));
    m_buffer.values[index] = value;
    m_changed[index] = true;
}

// ---- changes

void CDbDataSet::Edit()
{
    if (m_state == EState::Edit || m_state == EState::Insert)
        return;
    RequireModifiable("Edit");
    RequireCurrent("Edit");
    m_buffer = m_rows[m_pos];
    m_changed.assign(m_names.size(), false);
    m_state = EState::Edit;
}

void CDbDataSet::Append()
{
    RequireModifiable("Append");
    CheckBrowseMode();
    m_buffer = SRow();
    for (int i = 0; i < m_names.size(); ++i)
        m_buffer.values << QVariant();
    m_changed.assign(m_names.size(), false);
    m_appending = true;
    m_state = EState::Insert;
}

void CDbDataSet::Insert()
{
    Append();
    m_appending = false;
}

// One change as one committed transaction; inside a transaction the caller
// began, a savepoint of it. On failure everything the change did is undone.
template <class F> void CDbDataSet::InTransaction(const char* operation, F&& work)
{
    CDbBackend& backend = Backend();
    const bool outermost = backend.BeginChange(Where(operation));
    try {
        work();
        backend.EndChange(outermost, Where(operation));
    } catch (...) {
        backend.AbortChange(outermost);
        throw;
    }
}

void CDbDataSet::Post()
{
    if (m_state == EState::Edit)
        PostEdit();
    else if (m_state == EState::Insert)
        PostInsert();
    else
        Fail("Post", "Zbiór danych nie jest w trybie edycji");
    m_changed.clear();
    m_buffer = SRow();
    m_state = EState::Browse;
}

void CDbDataSet::PostEdit()
{
    QStringList assignments;
    QVariantList params;
    for (int i = 0; i < m_names.size(); ++i) {
        if (!m_changed[i])
            continue;
        assignments << Backend().Quote(m_origins[i]) + "=?";
        params << m_buffer.values[i];
    }
    if (assignments.isEmpty())
        return;
    const qint64 key = m_buffer.key;
    params << key;
    SRow stored;
    InTransaction("Post", [&] {
        CDbBackend& backend = Backend();
        backend.Execute("UPDATE " + backend.Quote(m_baseTable) + " SET " + assignments.join(", ") +
                            " WHERE " + backend.Quote(m_keyName) + "=?",
                        params, Where("Post"));
        stored = ReReadRow(key);
    });
    m_rows[m_pos] = stored;
}

void CDbDataSet::PostInsert()
{
    QStringList columns;
    QVariantList params;
    for (int i = 0; i < m_names.size(); ++i) {
        if (!m_changed[i])
            continue;
        columns << m_origins[i];
        params << m_buffer.values[i];
    }
    SRow stored;
    InTransaction("Post", [&] {
        const qint64 key = Backend().Insert(m_baseTable, m_keyName, columns, params, Where("Post"));
        stored = ReReadRow(key);
    });
    if (m_appending || m_pos >= int(m_rows.size())) {
        m_rows.push_back(stored);
        m_pos = int(m_rows.size()) - 1;
    } else {
        m_rows.insert(m_rows.begin() + m_pos, stored);
    }
}

void CDbDataSet::Cancel()
{
    if (m_state != EState::Edit && m_state != EState::Insert)
        return;
    m_changed.clear();
    m_buffer = SRow();
    m_state = EState::Browse;
}

void CDbDataSet::Delete()
{
    RequireModifiable("Delete");
    if (m_state == EState::Insert) {
        Cancel();
        return;
    }
    Cancel();
    RequireCurrent("Delete");
    const qint64 key = m_rows[m_pos].key;
    InTransaction("Delete", [&] {
        CDbBackend& backend = Backend();
        backend.Execute("DELETE FROM " + backend.Quote(m_baseTable) + " WHERE " +
                            backend.Quote(m_keyName) + "=?",
                        {key}, Where("Delete"));
    });
    m_rows.erase(m_rows.begin() + m_pos);
}

void CDbDataSet::Refresh()
{
    RequireActive("Refresh");
    CheckBrowseMode();
    const bool onRow = m_pos < int(m_rows.size());
    const qint64 key = onRow ? m_rows[m_pos].key : 0;
    const bool keyed = CanModify();
    const int oldPos = m_pos;
    ReadAll();
    m_pos = std::min(oldPos, int(m_rows.size()));
    if (onRow && keyed) {
        for (int i = 0; i < int(m_rows.size()); ++i) {
            if (m_rows[i].key == key) {
                m_pos = i;
                break;
            }
        }
    }
}

bool CDbDataSet::Locate(const QString& field, qint64 value)
{
    RequireActive("Locate");
    const int index = FieldIndex(field);
    if (index < 0)
        Fail("Locate", QString("Brak pola \"%1\"").arg(field));
    CheckBrowseMode();
    for (int i = 0; i < int(m_rows.size()); ++i) {
        const QVariant& stored = m_rows[i].values[index];
        bool ok = false;
        const qint64 number = stored.toLongLong(&ok);
        if (!stored.isNull() && ok && number == value) {
            m_pos = i;
            return true;
        }
    }
    return false;
}
