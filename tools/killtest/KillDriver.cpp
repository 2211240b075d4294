// Saves one patient's record and therapies in a loop, writing a line to a
// progress log after every save has returned; a script kills it at random
// moments. "check" then verifies that the database is whole and holds every
// save the log reports (and at most the one save that was under way).
//
//   loquena-killdriver init  <database>
//   loquena-killdriver run   <database> <log>
//   loquena-killdriver check <database> <log>
#include "KillDriverShared.h"
#include "app/CError.h"
#include "patients/CPatient.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "statistics/CStatistics.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace KillDriver;

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
        FillPatient(patient, n);
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
    try {
        // Connecting rolls back a change the kill interrupted.
        CDbConnection connection;
        connection.Connect(path);
        // The server checks its own pages (pg_amcheck, run by the script).
        if (!connection.IsClinic()) {
            const QString integrity = Scalar(&connection, "PRAGMA integrity_check").toString();
            if (integrity != "ok")
                return Fail("integrity_check: " + integrity);
        }
        if (Scalar(&connection, "SELECT count(*) FROM Ust").toInt() != 1)
            return Fail("Ust must hold one row");
        QString problem;
        const int n = StoredPatientSave(connection, &problem);
        if (n < 0)
            return Fail(problem);
        if (n != lastP && n != lastP + 1)
            return Fail(QString("patient save %1 stored, log says %2").arg(n).arg(lastP));
        const QList<int> therapies = StoredTherapies(connection, &problem);
        if (!problem.isEmpty())
            return Fail(problem);
        if (therapies.size() != lastT && therapies.size() != lastT + 1)
            return Fail(
                QString("%1 therapies stored, log says %2").arg(therapies.size()).arg(lastT));
        for (int i = 0; i < therapies.size(); ++i)
            if (therapies[i] != i + 1)
                return Fail(
                    QString("therapy %1 holds the figures of %2").arg(i + 1).arg(therapies[i]));
        if (!NoPatientLocked(connection))
            return Fail("the patient stays held after the kill");
        std::printf("OK patient save %d (log %d), therapies %d (log %d)\n", n, lastP,
                    int(therapies.size()), lastT);
        return 0;
    } catch (const CError& error) {
        return Fail(error.Message());
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "init")
        return Init(args[2]);
    if (args.size() == 4 && args[1] == "run")
        return Run(args[2], args[3]);
    if (args.size() == 4 && args[1] == "check")
        return Check(args[2], args[3]);
    std::fprintf(stderr, "usage: %s init <db> | run <db> <log> | check <db> <log>\n", argv[0]);
    return 64;
}
