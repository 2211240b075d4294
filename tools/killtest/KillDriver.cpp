// Saves one patient's record and therapies in a loop, writing a line to a
// progress log after every save has returned; a script kills it at random
// moments. "check" then verifies that the database is whole and holds every
// save the log reports (and at most the one save that was under way).
//
//   loquena-killdriver init  <database>
//   loquena-killdriver run   <database> <log>
//   loquena-killdriver check <database> <log>
#include "app/CError.h"
#include "patients/CPatient.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "platform/DatabaseSchema.h"
#include "statistics/CStatistics.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTextStream>
#include <bit>
#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

// What save number n writes, so that the check can recompute it.
QString NameOf(int n)
{
    return QString("Pacjent %1 Żółć").arg(n);
}
int PatientMask(int n)
{
    return (n * 13) & 0x7FF;
}
int TherapyMask(int k)
{
    return ((k * 37) & 0x7FF) | 1;
}

void LogLine(int fd, const QString& line)
{
    const QByteArray bytes = (line + "\n").toUtf8();
    if (::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        std::exit(3);
}

QVariant Scalar(CDbConnection* connection, const QString& sql)
{
    CDbQuery query(connection);
    query.SetSQL(sql);
    query.Open();
    return query.RecordCount() > 0 ? query.Fields(0).Value() : QVariant();
}

int Run(const QString& path, const QString& logPath)
{
    const int fd = ::open(QFile::encodeName(logPath).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return 3;
    CPatient patient;
    if (!patient.Open(path))
        return 2;
    // On a clinic database the killed driver's connection may still hold the
    // patient for a moment, until the server has noticed its end.
    for (int tries = 0; tries < 100 && patient.ActiveId() == -1 &&
                        Scalar(patient.Connection(), "SELECT count(*) FROM Pacjenci").toInt() > 0;
         ++tries) {
        ::usleep(50000);
        if (!patient.Open(path))
            return 2;
    }
    CStatistics statistics(&patient);
    if (patient.ActiveId() == -1)
        patient.Add();
    // Go on from what the database holds.
    static const QRegularExpression number("^Pacjent (\\d+) ");
    int n = number.match(patient.Name()).captured(1).toInt();
    int k = Scalar(patient.Connection(), "SELECT max(Czas) FROM Cwiczenia").toInt();
    // A save may have been stored just before the last kill without reaching
    // the log: the log starts again from what is stored.
    LogLine(fd, QString("P %1").arg(n));
    LogLine(fd, QString("T %1").arg(k));
    for (;;) {
        ++n;
        patient.SetName(NameOf(n));
        patient.SetDescription(QString("Opis %1\nwiersz drugi").arg(n));
        CTherapySettings& settings = patient.Settings();
        settings.SetSelectedMask(PatientMask(n));
        settings.Get_ExeSet(0).LZ = n % 50 + 1;
        settings.Get_ExeSet(10).AutoTime = n % 240;
        patient.Save();
        LogLine(fd, QString("P %1").arg(n));

        ++k;
        CTherapySettings chosen;
        chosen.SetSelectedMask(TherapyMask(k));
        statistics.Reset(&chosen);
        for (int i = 0; i < 11; ++i)
            statistics.Get_P_StatEx(i)->Czas = k;
        statistics.SaveTherapy(patient.ActiveId(), nullptr);
        if (statistics.IdStat() < 0)
            return 4;
        LogLine(fd, QString("T %1").arg(k));
    }
}

// The last complete "P n" and "T k" lines of the log.
void ReadLog(const QString& logPath, int& lastP, int& lastT)
{
    lastP = 0;
    lastT = 0;
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = file.readAll().split('\n');
    // The last piece is empty or a line cut by the kill: not reported.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> parts = lines[i].split(' ');
        if (parts.size() != 2)
            continue;
        (parts[0] == "P" ? lastP : lastT) = parts[1].toInt();
    }
}

int Check(const QString& path, const QString& logPath)
{
    int lastP = 0;
    int lastT = 0;
    ReadLog(logPath, lastP, lastT);
    auto fail = [](const QString& what) {
        std::printf("FAIL %s\n", qPrintable(what));
        return 1;
    };
    try {
        // Connecting rolls back a change the kill interrupted.
        CDbConnection connection;
        connection.Connect(path);
        // The server checks its own pages (pg_amcheck, run by the script).
        if (!connection.IsClinic()) {
            const QString integrity = Scalar(&connection, "PRAGMA integrity_check").toString();
            if (integrity != "ok")
                return fail("integrity_check: " + integrity);
        }
        if (Scalar(&connection, "SELECT count(*) FROM Ust").toInt() != 1)
            return fail("Ust must hold one row");

        CDbQuery patients(&connection);
        patients.SetSQL("SELECT * FROM Pacjenci");
        patients.Open();
        if (patients.RecordCount() != 1)
            return fail(QString("%1 patients").arg(patients.RecordCount()));
        static const QRegularExpression number("^Pacjent (\\d+) ");
        const QString name = patients.FieldByName("NazwiskoImie").AsString();
        const int n = number.match(name).captured(1).toInt();
        if (n != lastP && n != lastP + 1)
            return fail(QString("patient save %1 stored, log says %2").arg(n).arg(lastP));
        if (n > 0) {
            CTherapySettings settings;
            settings.Load(patients);
            if (name != NameOf(n) ||
                patients.FieldByName("Opis").AsString() !=
                    QString("Opis %1\nwiersz drugi").arg(n) ||
                settings.Selected() != PatientMask(n) || settings.Get_ExeSet(0).LZ != n % 50 + 1 ||
                settings.Get_ExeSet(10).AutoTime != n % 240)
                return fail(QString("patient row of save %1 is not whole").arg(n));
        }

        // Every therapy whole: its exercise rows, each carrying its number.
        const int therapies = Scalar(&connection, "SELECT count(*) FROM Statystyki").toInt();
        if (therapies != lastT && therapies != lastT + 1)
            return fail(QString("%1 therapies stored, log says %2").arg(therapies).arg(lastT));
        CDbQuery rows(&connection);
        rows.SetSQL("SELECT s.idStat, s.CwWybrane, count(c.idCw), min(c.Czas), max(c.Czas) "
                    "FROM Statystyki AS s LEFT JOIN Cwiczenia AS c ON s.idStat=c.idStat "
                    "GROUP BY s.idStat ORDER BY s.idStat");
        rows.Open();
        int expected = 1;
        for (rows.First(); !rows.Eof(); rows.Next(), ++expected) {
            const int mask = rows.Fields(1).AsInteger();
            if (mask != TherapyMask(expected) ||
                rows.Fields(2).AsInteger() != std::popcount(unsigned(mask)) ||
                rows.Fields(3).AsInteger() != expected || rows.Fields(4).AsInteger() != expected)
                return fail(QString("therapy %1 is not whole").arg(expected));
        }
        const int orphans =
            Scalar(&connection, "SELECT count(*) FROM Cwiczenia WHERE idStat NOT IN "
                                "(SELECT idStat FROM Statystyki)")
                .toInt();
        if (orphans != 0)
            return fail(QString("%1 exercise rows without a therapy").arg(orphans));
        // No patient stays held by a killed workstation.
        if (connection.IsClinic()) {
            CPatient probe;
            probe.SetWorkstation("kontrola");
            bool free = false;
            for (int tries = 0; tries < 100 && !free; ++tries) {
                free = probe.Open(path) && probe.BusyOn(1).isEmpty();
                if (!free)
                    ::usleep(50000);
            }
            if (!free)
                return fail("the patient stays held after the kill");
        }
        std::printf("OK patient save %d (log %d), therapies %d (log %d)\n", n, lastP, therapies,
                    lastT);
        return 0;
    } catch (const CError& error) {
        return fail(error.Message());
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "init" && CDbConnection::IsClinicAddress(args[2])) {
        // The first connection makes the clinic's tables.
        try {
            CDbConnection connection;
            connection.Connect(args[2]);
            return 0;
        } catch (const CError& error) {
            std::fprintf(stderr, "%s\n", qPrintable(error.Message()));
            return 1;
        }
    }
    if (args.size() == 3 && args[1] == "init")
        return CreatePatientDatabase(args[2]) ? 0 : 1;
    if (args.size() == 4 && args[1] == "run")
        return Run(args[2], args[3]);
    if (args.size() == 4 && args[1] == "check")
        return Check(args[2], args[3]);
    std::fprintf(stderr, "usage: %s init <db> | run <db> <log> | check <db> <log>\n", argv[0]);
    return 64;
}
