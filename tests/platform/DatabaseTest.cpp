// The database adapter on real SQLite files in a temporary folder.
#include "app/CError.h"
#include "common/PatientDbFixture.h"
#include "common/TempDir.h"
#include "platform/CDbBackend.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "platform/CDbTable.h"
#include "platform/DatabaseSchema.h"

#include <QCryptographicHash>
#include <QFile>
#include <array>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray FileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// A message of the error that `work` throws; empty when it throws none.
template <class F> QString ErrorOf(F&& work)
{
    try {
        work();
    } catch (const CError& error) {
        return error.Message().isEmpty() ? QString("?") : error.Message();
    }
    return QString();
}

// An empty patient store, the file or a clinic database, connected.
class PatientDb : public PatientDbTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(PatientDbTest::SetUp());
        connection.Connect(path);
    }

    // Appends a patient named `name` and returns its new id.
    int AddPatient(CDbTable& table, const QString& name, const QDate& start)
    {
        table.Append();
        table.FieldByName("NazwiskoImie").SetString(name);
        table.FieldByName("Poczatek").SetDateTime(QDateTime(start, QTime(0, 0)));
        table.FieldByName("Ostatnia").SetDateTime(QDateTime(start, QTime(0, 0)));
        table.Post();
        return table.FieldByName("idPac").AsInteger();
    }

    CDbConnection connection;
};

// What only a file on this computer can show.
class PatientDbFile : public PatientDb
{
};

INSTANTIATE_ON_BOTH_STORES(PatientDb);
INSTANTIATE_ON_FILE_STORE(PatientDbFile);

} // namespace

TEST(DatabaseSchema, PatientTablesColumnsAndTheOneUstRow)
{
    TempDir dir;
    const QString path = dir.file("pacmem.qp");
    ASSERT_TRUE(CreatePatientDatabase(path));
    struct stat info = {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    CDbConnection connection;
    connection.Connect(path);
    CDbTable table(&connection);
    table.SetTableName("Pacjenci");
    table.Open();
    const QStringList head = {"idPac", "NazwiskoImie", "Poczatek", "Ostatnia", "Opis", "CwWybrane"};
    for (int i = 0; i < head.size(); ++i)
        EXPECT_EQ(table.FieldName(i), head[i]);
    const int k = table.FieldIndex("WY_L");
    EXPECT_EQ(k, head.size());
    EXPECT_EQ(table.FieldCount(), k + 22);
    EXPECT_EQ(PatientSettingsColumns().size(), 22);
    EXPECT_EQ(table.FieldName(k + 21), "PNC_F");
    EXPECT_EQ(table.RecordCount(), 0);

    table.SetTableName("Ust");
    table.Open();
    ASSERT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.FieldByName("AktywnyPac").AsInteger(), -1);

    const QMap<QString, QStringList> tables = {
        {"Statystyki", {"idStat", "idPac", "Data", "CwWybrane", "Wypowiedz", "Komentarz"}},
        {"Cwiczenia", {"idCw", "idStat", "Cw", "LZ", "Rozw", "Blad", "Pomoc", "Czas"}},
    };
    for (auto it = tables.begin(); it != tables.end(); ++it) {
        table.SetTableName(it.key());
        table.Open();
        for (const QString& column : it.value())
            EXPECT_GE(table.FieldIndex(column), 0)
                << it.key().toStdString() << column.toStdString();
    }
}

TEST(DatabaseSchema, ContentTablesAndColumns)
{
    TempDir dir;
    const QString path = dir.file("sdrow.qp");
    ASSERT_TRUE(CreateContentDatabase(path));
    CDbConnection connection;
    connection.Connect(path);
    CDbTable table(&connection);
    const QMap<QString, QStringList> tables = {
        {"Slowa", {"Nazwa", "Slowo", "BCIndex", "Grupy", "Opis", "Jest"}},
        {"Przyslowia", {"ID", "Pocz", "Kon", "Grupy", "Jest"}},
        {"Czynnosci", {"ID", "Nazwa", "Podpis1", "Podpis2", "Grupy", "Jest"}},
    };
    for (auto it = tables.begin(); it != tables.end(); ++it) {
        table.SetTableName(it.key());
        table.Open();
        EXPECT_EQ(table.RecordCount(), 0);
        for (const QString& column : it.value())
            EXPECT_GE(table.FieldIndex(column), 0)
                << it.key().toStdString() << column.toStdString();
    }
}

TEST(DatabaseSchema, NeverTouchesAnExistingFile)
{
    TempDir dir;
    const QString path = dir.file("pacmem.qp");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("patient data that must survive");
    }
    const QByteArray before = FileHash(path);
    EXPECT_FALSE(CreatePatientDatabase(path));
    EXPECT_FALSE(CreateContentDatabase(path));
    EXPECT_EQ(FileHash(path), before);

    ASSERT_TRUE(CreatePatientDatabase(dir.file("second.qp")));
    const QByteArray made = FileHash(dir.file("second.qp"));
    EXPECT_FALSE(CreatePatientDatabase(dir.file("second.qp")));
    EXPECT_EQ(FileHash(dir.file("second.qp")), made);

    // A folder that does not exist: an error, and nothing left behind.
    EXPECT_FALSE(ErrorOf([&] { CreateContentDatabase(dir.file("none/sdrow.qp")); }).isEmpty());
}

TEST_P(PatientDb, AutoNumberIsReadableRightAfterPostingAndNeverReused)
{
    CDbTable table(&connection);
    table.SetTableName("Pacjenci");
    table.Open();
    const int first = AddPatient(table, "Kowalski Jan", QDate(2024, 3, 1));
    const int second = AddPatient(table, "Nowak Anna", QDate(2024, 3, 2));
    EXPECT_GT(first, 0);
    EXPECT_GT(second, first);
    EXPECT_EQ(table.RecordCount(), 2);
    // Defaults filled in by the database are visible at once.
    EXPECT_EQ(table.FieldByName("WY_L").AsInteger(), 0);
    EXPECT_EQ(table.FieldByName("Opis").AsString(), "");

    table.Refresh();
    EXPECT_EQ(table.FieldByName("idPac").AsInteger(), second);

    table.Delete();
    EXPECT_EQ(table.RecordCount(), 1);
    const int third = AddPatient(table, "Wiśniewska Żaneta", QDate(2024, 3, 3));
    EXPECT_GT(third, second);
}

TEST_P(PatientDb, EditPostLocateAndStoredOrderSurviveReconnecting)
{
    CDbTable table(&connection);
    table.SetTableName("Pacjenci");
    table.Open();
    // Names out of alphabetical order: the table keeps the order of adding.
    const int z = AddPatient(table, "Żuk Zofia", QDate(2023, 1, 5));
    const int a = AddPatient(table, "Adamski Adam", QDate(2023, 1, 6));
    const int m = AddPatient(table, "Łęcka Izabela", QDate(2023, 1, 7));

    ASSERT_TRUE(table.Locate("idPac", a));
    EXPECT_EQ(table.RecNo(), 2);
    table.Edit();
    table.FieldByName("Opis").SetString("afazja ruchowa\nlinia 2");
    table.FieldByName("WY_L").SetInteger(qint64(15) << 16 | 12);
    table.Fields(table.FieldIndex("WY_L") + 21).SetInteger(0x51FF);
    table.Post();

    // Not found: the cursor stays.
    EXPECT_FALSE(table.Locate("idPac", 999));
    EXPECT_EQ(table.RecNo(), 2);

    // Cancel discards an unposted change.
    table.Edit();
    table.FieldByName("NazwiskoImie").SetString("zmiana");
    EXPECT_EQ(table.FieldByName("NazwiskoImie").AsString(), "zmiana");
    table.Cancel();
    EXPECT_EQ(table.FieldByName("NazwiskoImie").AsString(), "Adamski Adam");

    table.Close();
    connection.Disconnect();
    connection.Connect(path);
    table.Open();
    ASSERT_EQ(table.RecordCount(), 3);
    QList<int> ids;
    for (table.First(); !table.Eof(); table.Next())
        ids << table.FieldByName("idPac").AsInteger();
    EXPECT_EQ(ids, QList<int>({z, a, m}));

    ASSERT_TRUE(table.Locate("IDPAC", a)); // column names are case-blind
    EXPECT_EQ(table.FieldByName("Opis").AsString(), "afazja ruchowa\nlinia 2");
    const int packed = table.FieldByName("WY_L").AsInteger();
    EXPECT_EQ(packed & 0xFFFF, 12);
    EXPECT_EQ(unsigned(packed) >> 16, 15u);
    EXPECT_EQ(table.FieldByName("PNC_F").AsInteger(), 0x51FF);
    EXPECT_EQ(table.FieldByName("Poczatek").AsDateTime(),
              QDateTime(QDate(2023, 1, 6), QTime(0, 0)));

    // Record number read and restored.
    table.SetRecNo(3);
    EXPECT_EQ(table.FieldByName("idPac").AsInteger(), m);
    table.Last();
    table.Next();
    EXPECT_TRUE(table.Eof());
    const int end = table.RecNo();
    table.First();
    table.SetRecNo(end);
    EXPECT_TRUE(table.Eof());
    EXPECT_FALSE(ErrorOf([&] { table.SetRecNo(end + 1); }).isEmpty());
}

TEST_P(PatientDb, ValuesConvertAndFailClearly)
{
    CDbTable table(&connection);
    table.SetTableName("Pacjenci");
    table.Open();
    // Writing outside an edit is an error, not a silent no-op.
    EXPECT_FALSE(ErrorOf([&] { table.FieldByName("Opis").SetString("x"); }).isEmpty());
    EXPECT_FALSE(ErrorOf([&] { table.Edit(); }).isEmpty()); // no current row
    AddPatient(table, "Test", QDate(2024, 1, 1));

    struct Case
    {
        const char* column;
        QVariant stored;
        int asInteger;
        bool integerFails;
        QString asString;
    };
    const Case cases[] = {
        {"WY_F", qint64(-5), -5, false, "-5"},
        {"WY_F", qint64(0xFFFFFFFF), -1, false, "4294967295"}, // a 32-bit pattern
        {"WY_F", qint64(1) << 33, 0, true, "8589934592"},
        {"CwWybrane", "CAK", 0, true, "CAK"},
        {"CwWybrane", " 42 ", 42, false, " 42 "},
        {"Opis", QVariant(), 0, false, ""},
    };
    for (const Case& c : cases) {
        table.Edit();
        const CDbField field = table.FieldByName(c.column);
        if (c.stored.isNull())
            table.FieldByName(c.column).SetNull();
        else if (c.stored.typeId() == QMetaType::LongLong)
            table.FieldByName(c.column).SetInteger(c.stored.toLongLong());
        else
            table.FieldByName(c.column).SetString(c.stored.toString());
        table.Post();
        SCOPED_TRACE(c.stored.toString().toStdString());
        EXPECT_EQ(field.AsString(), c.asString);
        if (c.integerFails) {
            const QString message = ErrorOf([&] { field.AsInteger(); });
            EXPECT_TRUE(message.contains(c.column)) << message.toStdString();
        } else {
            EXPECT_EQ(field.AsInteger(), c.asInteger);
        }
    }
    table.Edit();
    table.FieldByName("Poczatek").SetString("wczoraj");
    table.Post();
    EXPECT_FALSE(ErrorOf([&] { table.FieldByName("Poczatek").AsDateTime(); }).isEmpty());
    EXPECT_FALSE(ErrorOf([&] { table.FieldByName("Brak"); }).isEmpty());
    EXPECT_EQ(table.FieldIndex("Brak"), -1);
    EXPECT_FALSE(ErrorOf([&] { table.Fields(table.FieldCount()); }).isEmpty());
}

// Rows of integers stepped through without a QVariant each give what the
// QVariant rows give, whatever an old file holds in an integer column.
TEST_P(PatientDb, IntegerRowsReadAsTheirValuesConvert)
{
    struct SCase
    {
        QVariant stored;
        qint64 expected;
        bool fileOnly; // the clinic's integer columns refuse anything else
    };
    const SCase cases[] = {
        {qint64(7), 7, false},
        {qint64(-3), -3, false},
        {qint64(1) << 40, qint64(1) << 40, false},
        {QVariant(), 0, false},
        {QString("12"), 12, true},
        {QString(" 42 "), 42, true},
        {QString("abc"), 0, true},
        {2.75, 3, true},
    };
    CDbBackend& store = connection.Backend("test");
    int id = 0;
    for (const SCase& c : cases) {
        if (c.fileOnly && IsClinic())
            continue;
        store.Execute("INSERT INTO Cwiczenia (idStat, Cw, LZ) VALUES (?, ?, ?)",
                      {++id, id % 11, c.stored}, "test");
    }
    const QString sql = "SELECT idStat, Cw, LZ FROM Cwiczenia ORDER BY idStat";
    std::vector<std::array<qint64, 3>> general, integer;
    store.SelectEach(
        sql, {},
        [&](const QVariantList& row) {
            general.push_back({row[0].toLongLong(), row[1].toLongLong(), row[2].toLongLong()});
        },
        "test");
    store.SelectEachInteger(
        sql, {},
        [&](const qint64* row) {
            integer.push_back({row[0], row[1], row[2]});
        },
        "test");
    ASSERT_EQ(integer.size(), std::size_t(id));
    EXPECT_EQ(integer, general);
    std::size_t row = 0;
    for (const SCase& c : cases) {
        if (c.fileOnly && IsClinic())
            continue;
        SCOPED_TRACE(c.stored.toString().toStdString());
        EXPECT_EQ(integer[row][0], qint64(row + 1));
        EXPECT_EQ(integer[row++][2], c.expected);
    }
}

TEST_P(PatientDb, QueryBindsValuesAndOrdersDatesInTime)
{
    CDbQuery query(&connection);
    query.SetSQL("SELECT * FROM Statystyki");
    query.Open();
    ASSERT_TRUE(query.CanModify());
    // Stored out of time order, across a year and a day boundary.
    const QDateTime dates[] = {
        QDateTime(QDate(2024, 1, 2), QTime(9, 5, 0)),
        QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59, 999)),
        QDateTime(QDate(2024, 1, 2), QTime(10, 0, 0)),
        QDateTime(QDate(2024, 1, 2), QTime(9, 5, 0, 1)),
    };
    QList<int> ids;
    for (const QDateTime& date : dates) {
        query.Insert();
        query.FieldByName("idPac").SetInteger(7);
        query.FieldByName("Data").SetDateTime(date);
        query.FieldByName("CwWybrane").SetInteger(0x181);
        query.Post();
        ids << query.FieldByName("idStat").AsInteger();
        EXPECT_GT(ids.last(), 0);
    }
    // Another patient's row, and a text that would break pasted SQL.
    query.Append();
    query.FieldByName("idPac").SetInteger(8);
    query.Post();

    query.SetSQL("SELECT s.Data, s.idStat FROM Statystyki AS s WHERE s.idPac=? ORDER BY Data", {7});
    query.Open();
    ASSERT_EQ(query.RecordCount(), 4);
    QList<int> order;
    QDateTime previous;
    for (query.First(); !query.Eof(); query.Next()) {
        const QDateTime date = query.FieldByName("Data").AsDateTime();
        EXPECT_TRUE(!previous.isValid() || previous < date);
        previous = date;
        order << query.FieldByName("idStat").AsInteger();
    }
    EXPECT_EQ(order, QList<int>({ids[1], ids[0], ids[3], ids[2]}));

    query.SetSQL("SELECT count(*) AS n FROM Pacjenci WHERE NazwiskoImie=?",
                 {"x' OR 1=1; DROP TABLE Pacjenci; --"});
    query.Open();
    EXPECT_EQ(query.FieldByName("n").AsInteger(), 0);
    EXPECT_FALSE(query.CanModify());
    EXPECT_FALSE(ErrorOf([&] { query.Edit(); }).isEmpty());

    // Wrong parameter count, two statements in one text, a command: errors.
    for (const auto& [sql, params] :
         QList<QPair<QString, QVariantList>>{{"SELECT * FROM Ust WHERE AktywnyPac=?", {}},
                                             {"SELECT * FROM Ust; DELETE FROM Ust", {}},
                                             {"DELETE FROM Ust", {}},
                                             {"SELECT * FROM Nieistniejaca", {}}}) {
        query.SetSQL(sql, params);
        EXPECT_FALSE(ErrorOf([&] { query.Open(); }).isEmpty()) << sql.toStdString();
        EXPECT_FALSE(query.Active());
    }
    CDbTable ust(&connection);
    ust.SetTableName("Ust");
    ust.Open();
    EXPECT_EQ(ust.RecordCount(), 1);
}

TEST_P(PatientDb, JoinedQueryIsReadOnlyAndNamesTheFirstColumn)
{
    connection.Execute("INSERT INTO Statystyki (idPac, Data) VALUES (?, ?)",
                       {3, QDateTime(QDate(2024, 5, 1), QTime(12, 0))});
    connection.Execute(
        "INSERT INTO Cwiczenia (idStat, Cw, LZ, Rozw, Blad) VALUES (1, 0, 10, 8, 3)");
    CDbQuery query(&connection);
    query.SetSQL("SELECT * FROM Statystyki AS s, Cwiczenia AS c WHERE s.idStat=c.idStat AND "
                 "s.idPac=? AND s.idStat=?",
                 {3, 1});
    query.Open();
    ASSERT_EQ(query.RecordCount(), 1);
    EXPECT_FALSE(query.CanModify());
    EXPECT_EQ(query.FieldIndex("idStat"), 0);
    EXPECT_EQ(query.FieldByName("LZ").AsInteger(), 10);
    EXPECT_FALSE(ErrorOf([&] { query.Delete(); }).isEmpty());
    EXPECT_TRUE(query.Holds(query.SQL(), {3, 1}));
    EXPECT_FALSE(query.Holds(query.SQL(), {3, 2}));

    // A single-table query that includes the key can be edited.
    query.SetSQL("SELECT * FROM Statystyki WHERE idStat=?", {1});
    query.Open();
    ASSERT_TRUE(query.CanModify());
    query.Edit();
    query.FieldByName("Komentarz").SetInteger(1);
    query.Post();
    query.Close();
    query.Open();
    EXPECT_EQ(query.FieldByName("Komentarz").AsInteger(), 1);
}

TEST_P(PatientDbFile, AFailedPostIsRolledBackAndLeavesTheFileIntact)
{
    CDbTable table(&connection);
    table.SetTableName("Pacjenci");
    table.Open();
    AddPatient(table, "Kowalski Jan", QDate(2024, 3, 1));
    // A rule that fails the second half of a change: the whole post must go.
    connection.Execute("CREATE TABLE Dziennik (opis TEXT)");
    connection.Execute("CREATE TRIGGER Pilnuj AFTER UPDATE ON Pacjenci BEGIN "
                       "INSERT INTO Dziennik VALUES (NEW.Opis); "
                       "SELECT RAISE(ABORT, 'odmowa') WHERE NEW.Opis = 'zle'; END");
    table.Edit();
    table.FieldByName("Opis").SetString("dobrze");
    table.Post();
    const QByteArray before = FileHash(path);

    table.Edit();
    table.FieldByName("Opis").SetString("zle");
    const QString message = ErrorOf([&] { table.Post(); });
    EXPECT_TRUE(message.contains("odmowa")) << message.toStdString();
    EXPECT_EQ(table.State(), CDbDataSet::EState::Edit);
    table.Cancel();
    EXPECT_EQ(table.FieldByName("Opis").AsString(), "dobrze");
    EXPECT_FALSE(connection.InTransaction());
    EXPECT_EQ(FileHash(path), before);

    // A grouped change rolled back as a whole.
    connection.BeginTransaction();
    AddPatient(table, "Nowak Anna", QDate(2024, 3, 2));
    AddPatient(table, "Zieliński Piotr", QDate(2024, 3, 3));
    connection.Rollback();
    EXPECT_EQ(FileHash(path), before);

    table.Close();
    connection.Disconnect();
    connection.Connect(path);
    table.Open();
    EXPECT_EQ(table.RecordCount(), 1);
    CDbQuery check(&connection);
    check.SetSQL("PRAGMA integrity_check");
    check.Open();
    EXPECT_EQ(check.Fields(0).AsString(), "ok");
}

TEST_P(PatientDbFile, FileIsHeldExclusivelyWhileConnected)
{
    // The same program.
    CDbConnection second;
    const QString message = ErrorOf([&] { second.Connect(path); });
    EXPECT_TRUE(message.contains("używana przez inny program")) << message.toStdString();
    EXPECT_FALSE(second.IsConnected());

    // Another program: a child process can neither read the file nor connect.
    const QByteArray name = QFile::encodeName(path);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int code = 0;
        sqlite3* raw = nullptr;
        if (sqlite3_open_v2(name.constData(), &raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
            sqlite3_exec(raw, "SELECT count(*) FROM Ust", nullptr, nullptr, nullptr) != SQLITE_BUSY)
            code = 3;
        sqlite3_close(raw);
        try {
            CDbConnection other;
            other.Connect(QFile::decodeName(name));
            code = 1; // got in: wrong
        } catch (const CError& error) {
            code = error.Message().contains("używana przez inny program") ? 0 : 2;
        }
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    connection.Disconnect();
    EXPECT_NO_THROW(second.Connect(path));
}

TEST(DatabaseConnection, MissingOrForeignFilesAreErrors)
{
    TempDir dir;
    CDbConnection connection;
    const QString missing = dir.file("brak.qp");
    EXPECT_TRUE(ErrorOf([&] { connection.Connect(missing); }).contains("Brak pliku"));
    EXPECT_FALSE(QFile::exists(missing)); // never created by connecting

    const QString text = dir.file("tekst.qp");
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
    }
    const QString message = ErrorOf([&] { connection.Connect(text); });
    EXPECT_TRUE(message.contains("nie jest bazą")) << message.toStdString();
    EXPECT_FALSE(connection.IsConnected());

    CDbTable table(&connection);
    table.SetTableName("Ust");
    EXPECT_TRUE(ErrorOf([&] { table.Open(); }).contains("Brak połączenia"));
}

TEST_P(PatientDb, InsertDeleteAndMovingWhileEditing)
{
    CDbTable table(&connection);
    table.SetTableName("Pacjenci");
    table.Open();
    const int a = AddPatient(table, "A", QDate(2024, 1, 1));
    const int b = AddPatient(table, "B", QDate(2024, 1, 2));

    // Insert places the new row at the cursor in this data set.
    table.First();
    table.Insert();
    table.FieldByName("NazwiskoImie").SetString("C");
    table.Post();
    const int c = table.FieldByName("idPac").AsInteger();
    EXPECT_EQ(table.RecNo(), 1);

    // Moving while editing stores the change first.
    table.Edit();
    table.FieldByName("Opis").SetString("zapisane przy przejściu");
    table.Next();
    EXPECT_EQ(table.State(), CDbDataSet::EState::Browse);
    EXPECT_EQ(table.FieldByName("idPac").AsInteger(), a);

    // Deleting the last row leaves the cursor at the end.
    table.Last();
    table.Delete();
    EXPECT_TRUE(table.Eof());
    EXPECT_FALSE(ErrorOf([&] { table.Delete(); }).isEmpty());

    // In the file the rows keep their order of adding; the inserted one last.
    table.Refresh();
    QList<int> ids;
    for (table.First(); !table.Eof(); table.Next())
        ids << table.FieldByName("idPac").AsInteger();
    EXPECT_EQ(ids, QList<int>({a, c}));
    ASSERT_TRUE(table.Locate("idPac", c));
    EXPECT_EQ(table.FieldByName("Opis").AsString(), "zapisane przy przejściu");
    EXPECT_NE(b, c);
}
