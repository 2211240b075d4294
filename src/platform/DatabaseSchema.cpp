#include "platform/DatabaseSchema.h"

#include "app/CError.h"
#include "platform/CDbConnection.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char* const kContentTables[] = {
    "CREATE TABLE Slowa (Nazwa TEXT DEFAULT '', Slowo TEXT DEFAULT '', BCIndex INTEGER DEFAULT 0, "
    "Grupy TEXT DEFAULT '', Opis TEXT DEFAULT '', Jest INTEGER DEFAULT 1)",
    "CREATE TABLE Przyslowia (ID INTEGER NOT NULL UNIQUE, Pocz TEXT DEFAULT '', "
    "Kon TEXT DEFAULT '', Grupy TEXT DEFAULT '', Jest INTEGER DEFAULT 1)",
    "CREATE TABLE Czynnosci (ID INTEGER NOT NULL UNIQUE, Nazwa TEXT DEFAULT '', "
    "Podpis1 TEXT DEFAULT '', Podpis2 TEXT DEFAULT '', Grupy TEXT DEFAULT '', "
    "Jest INTEGER DEFAULT 1)",
};

const char* const kExerciseCodes[] = {"WY", "UK",  "WP", "ZO",  "PWP", "PWY",
                                      "DC", "WYL", "PP", "PNO", "PNC"};

QStringList PatientTables()
{
    QStringList settings;
    for (const QString& column : PatientSettingsColumns())
        settings << column + " INTEGER DEFAULT 0";
    return {
        // Dates are text "yyyy-MM-dd HH:mm:ss.zzz", so they sort in time order.
        "CREATE TABLE Pacjenci (idPac INTEGER PRIMARY KEY AUTOINCREMENT, "
        "NazwiskoImie TEXT DEFAULT '', Poczatek TEXT, Ostatnia TEXT, Opis TEXT DEFAULT '', "
        "CwWybrane TEXT DEFAULT '', " +
            settings.join(", ") + ")",
        "CREATE TABLE Ust (AktywnyPac INTEGER DEFAULT -1)",
        "INSERT INTO Ust (AktywnyPac) VALUES (-1)",
        "CREATE TABLE Statystyki (idStat INTEGER PRIMARY KEY AUTOINCREMENT, idPac INTEGER, "
        "Data TEXT, CwWybrane INTEGER DEFAULT 0, Wypowiedz INTEGER DEFAULT 0, "
        "Komentarz INTEGER DEFAULT 0)",
        "CREATE INDEX StatystykiPac ON Statystyki (idPac)",
        "CREATE TABLE Cwiczenia (idCw INTEGER PRIMARY KEY AUTOINCREMENT, idStat INTEGER, "
        "Cw INTEGER DEFAULT 0, LZ INTEGER DEFAULT 0, Rozw INTEGER DEFAULT 0, "
        "Blad INTEGER DEFAULT 0, Pomoc INTEGER DEFAULT 0, Czas INTEGER DEFAULT 0)",
        "CREATE INDEX CwiczeniaStat ON Cwiczenia (idStat)",
    };
}

// Makes the empty file, refusing one that exists; false when it exists.
bool CreateNewFile(const QString& path, const char* where)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST)
            return false;
        throw CError(QString("%1 - Nie można utworzyć pliku \"%2\": %3")
                         .arg(where, path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    ::close(fd);
    return true;
}

bool CreateDatabase(const QString& path, const QStringList& statements, const char* where)
{
    if (!CreateNewFile(path, where))
        return false;
    CDbConnection connection;
    try {
        connection.Connect(path);
        connection.BeginTransaction();
        for (const QString& statement : statements)
            connection.Execute(statement);
        connection.Commit();
        connection.Disconnect();
    } catch (const CError& error) {
        connection.Disconnect();
        QFile::remove(path);
        QFile::remove(path + "-journal");
        throw CError(QString("%1 - %2").arg(where, error.Message()));
    }
    return true;
}

} // namespace

QStringList PatientSettingsColumns()
{
    QStringList columns;
    for (const char* code : kExerciseCodes)
        columns << QString("%1_L").arg(code) << QString("%1_F").arg(code);
    return columns;
}

bool CreateContentDatabase(const QString& path)
{
    QStringList statements;
    for (const char* statement : kContentTables)
        statements << statement;
    return CreateDatabase(path, statements, "CreateContentDatabase");
}

bool CreatePatientDatabase(const QString& path)
{
    return CreateDatabase(path, PatientTables(), "CreatePatientDatabase");
}

bool CreateOwnMaterialDatabase(const QString& path, int version)
{
    return CreateDatabase(
        path,
        {"CREATE TABLE Wlasne (ID INTEGER PRIMARY KEY AUTOINCREMENT, Nazwa TEXT NOT NULL UNIQUE, "
         "Grupy INTEGER DEFAULT 0, Opis TEXT DEFAULT '', Pacjent INTEGER DEFAULT -1, "
         "Obraz TEXT DEFAULT '', Glos TEXT DEFAULT '', GlosOpisu TEXT DEFAULT '')",
         "CREATE TABLE Wersja (Numer INTEGER)",
         QString("INSERT INTO Wersja (Numer) VALUES (%1)").arg(version)},
        "CreateOwnMaterialDatabase");
}
