#include "KillDriverShared.h"

#include "app/CError.h"
#include "patients/CPatient.h"
#include "patients/CTherapySettings.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "platform/DatabaseSchema.h"

#include <QRegularExpression>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace KillDriver {

namespace {

QString NameOf(int n)
{
    return QString("Pacjent %1 Żółć").arg(n);
}

QString DescriptionOf(int n)
{
    return QString("Opis %1\nwiersz drugi").arg(n);
}

qint64 Count(CDbConnection& connection, const QString& sql)
{
    CDbQuery query(&connection);
    query.SetSQL(sql);
    query.Open();
    return query.Fields(0).AsInteger();
}

} // namespace

int PatientMask(int n)
{
    return (n * 13) & 0x7FF;
}

int TherapyMask(int k)
{
    return ((k * 37) & 0x7FF) | 1;
}

void FillPatient(CPatient& patient, int n)
{
    patient.SetName(NameOf(n));
    patient.SetDescription(DescriptionOf(n));
    CTherapySettings& settings = patient.Settings();
    settings.SetSelectedMask(PatientMask(n));
    settings.Get_ExeSet(0).LZ = n % 50 + 1;
    settings.Get_ExeSet(10).AutoTime = n % 240;
}

void LogLine(int fd, const QString& line)
{
    const QByteArray bytes = (line + "\n").toUtf8();
    if (::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        std::exit(3);
}

int Fail(const QString& what)
{
    std::printf("FAIL %s\n", qPrintable(what));
    return 1;
}

int Init(const QString& database)
{
    if (!CDbConnection::IsClinicAddress(database))
        return CreatePatientDatabase(database) ? 0 : 1;
    try {
        CDbConnection connection;
        connection.Connect(database);
        return 0;
    } catch (const CError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.Message()));
        return 1;
    }
}

int StoredPatientSave(CDbConnection& connection, QString* problem)
{
    CDbQuery patients(&connection);
    patients.SetSQL("SELECT * FROM Pacjenci");
    patients.Open();
    // Killed before its first patient was added: nothing is saved yet.
    if (patients.RecordCount() == 0)
        return 0;
    if (patients.RecordCount() != 1) {
        *problem = QString("%1 patients").arg(patients.RecordCount());
        return -1;
    }
    static const QRegularExpression number("^Pacjent (\\d+) ");
    const QString name = patients.FieldByName("NazwiskoImie").AsString();
    const int n = number.match(name).captured(1).toInt();
    if (n == 0) // The first save had not returned: the row as added.
        return 0;
    CTherapySettings settings;
    settings.Load(patients);
    if (name != NameOf(n) || patients.FieldByName("Opis").AsString() != DescriptionOf(n) ||
        settings.Selected() != PatientMask(n) || settings.Get_ExeSet(0).LZ != n % 50 + 1 ||
        settings.Get_ExeSet(10).AutoTime != n % 240) {
        *problem = QString("patient row of save %1 is not whole").arg(n);
        return -1;
    }
    return n;
}

QList<int> StoredTherapies(CDbConnection& connection, QString* problem)
{
    // Each therapy carries its number k in the time of every exercise row.
    CDbQuery rows(&connection);
    rows.SetSQL("SELECT s.idStat, s.CwWybrane, count(c.idCw), min(c.Czas), max(c.Czas) "
                "FROM Statystyki AS s LEFT JOIN Cwiczenia AS c ON s.idStat=c.idStat "
                "GROUP BY s.idStat, s.CwWybrane ORDER BY s.idStat");
    rows.Open();
    QList<int> numbers;
    for (rows.First(); !rows.Eof(); rows.Next()) {
        const int k = rows.Fields(3).AsInteger();
        const int mask = rows.Fields(1).AsInteger();
        if (k != rows.Fields(4).AsInteger() || mask != TherapyMask(k) ||
            rows.Fields(2).AsInteger() != std::popcount(unsigned(mask))) {
            *problem = QString("therapy row %1 is not whole").arg(rows.Fields(0).AsInteger());
            return {};
        }
        numbers.append(k);
    }
    const qint64 orphans = Count(connection, "SELECT count(*) FROM Cwiczenia WHERE idStat NOT IN "
                                             "(SELECT idStat FROM Statystyki)");
    if (orphans != 0) {
        *problem = QString("%1 exercise rows without a therapy").arg(orphans);
        return {};
    }
    return numbers;
}

bool NoPatientLocked(CDbConnection& connection)
{
    if (!connection.IsClinic())
        return true;
    for (int tries = 0; tries < 100; ++tries) {
        if (Count(connection, "SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' "
                              "AND pid <> pg_backend_pid()") == 0)
            return true;
        ::usleep(50000);
    }
    return false;
}

} // namespace KillDriver
