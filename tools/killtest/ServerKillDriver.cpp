// A workstation that goes on working while its clinic's server is killed
// (SIGKILL of the server and all its processes) and started again, again and
// again: it saves its patient and finishes therapies without end, making the
// connection anew whenever the server is back and storing the therapies it
// kept meanwhile. Every save writes a line to a progress log once it has
// returned: "P n" (patient save n stored), "T k stored" or "T k kept" (therapy
// k stored, or kept on the workstation). "check" then verifies that every
// therapy the log reports is in the database exactly once and whole, nothing
// is half stored, nothing is left kept and no patient stays locked.
//
//   loquena-serverkilldriver init  <database>
//   loquena-serverkilldriver run   <database> <log> <kept file> <stop file>
//   loquena-serverkilldriver check <database> <log> <kept file>
#include "KillDriverShared.h"
#include "app/CError.h"
#include "patients/CPatient.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "statistics/CKeptTherapies.h"
#include "statistics/CStatistics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QThread>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace KillDriver;

// Waits up to `seconds` for the server, making the connection anew.
bool WaitForServer(CPatient& patient, int seconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!patient.StoreReachable()) {
        try {
            if (patient.Reconnect())
                return true;
        } catch (const CError&) {
        }
        if (clock.elapsed() > seconds * 1000)
            return false;
        QThread::msleep(20);
    }
    return true;
}

int Run(const QString& path, const QString& logPath, const QString& keptPath,
        const QString& stopPath)
{
    const int fd = ::open(QFile::encodeName(logPath).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return 3;
    CPatient patient;
    patient.SetWorkstation("Sala zabiegowa");
    if (!patient.Open(path))
        return 2;
    CStatistics statistics(&patient);
    statistics.SetKeptFile(keptPath);
    if (patient.ActiveId() == -1)
        patient.Add();
    int n = 0;
    int k = 0;
    // The longest step of work (a save, a therapy, a try to reconnect) and
    // the longest storing of what was kept.
    qint64 longest = 0;
    qint64 longestKept = 0;
    QElapsedTimer step;
    while (!QFile::exists(stopPath)) {
        step.start();
        if (!patient.StoreReachable()) {
            bool back = false;
            try {
                back = patient.Reconnect();
            } catch (const CError&) {
            }
            if (back) {
                QElapsedTimer storing;
                storing.start();
                const CStatistics::SKeptOutcome outcome = statistics.StoreKept();
                LogLine(fd, QString("S %1 %2").arg(outcome.stored).arg(outcome.waiting));
                longestKept = std::max(longestKept, storing.elapsed());
                step.start();
            } else {
                // Away: a therapy ends now and then all the same.
                QThread::msleep(100);
            }
        }
        ++n;
        FillPatient(patient, n);
        try {
            patient.Save();
            LogLine(fd, QString("P %1").arg(n));
        } catch (const CError&) {
            // Saved again from memory once the server is back.
        }
        ++k;
        CTherapySettings chosen;
        chosen.SetSelectedMask(TherapyMask(k));
        statistics.Reset(&chosen);
        for (int i = 0; i < 11; ++i)
            statistics.Get_P_StatEx(i)->Czas = k;
        const CStatistics::ESaved saved = statistics.SaveTherapy(patient.ActiveId(), nullptr);
        LogLine(fd, QString("T %1 %2").arg(k).arg(saved == CStatistics::ESaved::Stored ? "stored"
                                                  : saved == CStatistics::ESaved::Kept ? "kept"
                                                                                       : "lost"));
        longest = std::max(longest, step.elapsed());
    }
    if (!WaitForServer(patient, 60))
        return 5;
    const CStatistics::SKeptOutcome outcome = statistics.StoreKept();
    LogLine(fd, QString("S %1 %2").arg(outcome.stored).arg(outcome.waiting));
    LogLine(fd, QString("LONGEST %1 %2").arg(longest).arg(longestKept));
    return 0;
}

int Check(const QString& path, const QString& logPath, const QString& keptPath)
{
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return Fail("no log");
    QMap<int, QByteArray> therapies;
    int lastP = 0;
    int kept = 0;
    QByteArray longest = "?";
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 3 && parts[0] == "T") {
            therapies.insert(parts[1].toInt(), parts[2]);
            kept += parts[2] == "kept";
        } else if (parts.size() == 2 && parts[0] == "P") {
            lastP = parts[1].toInt();
        } else if (parts.size() == 3 && parts[0] == "LONGEST") {
            longest = parts[1] + " ms, the longest storing of kept ones " + parts[2];
        }
    }
    try {
        CDbConnection connection;
        connection.SetWorkstation("kontrola");
        connection.Connect(path);
        QString problem;
        QMap<int, int> found;
        for (const int k : StoredTherapies(connection, &problem))
            ++found[k];
        if (!problem.isEmpty())
            return Fail(problem);
        for (auto it = found.constBegin(); it != found.constEnd(); ++it)
            if (it.value() > 1)
                return Fail(QString("therapy %1 stored %2 times").arg(it.key()).arg(it.value()));
        for (auto it = therapies.constBegin(); it != therapies.constEnd(); ++it) {
            if (it.value() == "lost")
                return Fail(QString("therapy %1 was neither stored nor kept").arg(it.key()));
            if (!found.contains(it.key()))
                return Fail(QString("therapy %1 (%2) is missing").arg(it.key()).arg(it.value()));
        }
        // At most the therapy under way at the end is not in the log.
        if (found.size() > therapies.size() + 1)
            return Fail(QString("%1 therapies stored, the log has %2")
                            .arg(found.size())
                            .arg(therapies.size()));
        if (!CKeptTherapies(keptPath).Read().empty())
            return Fail("therapies are left kept on the workstation");

        const int n = StoredPatientSave(connection, &problem);
        if (n < 0)
            return Fail(problem);
        if (n < lastP)
            return Fail(QString("patient save %1 stored, log says %2").arg(n).arg(lastP));
        if (!NoPatientLocked(connection))
            return Fail("a patient stays locked");
        std::printf("OK therapies %d (kept while away: %d), patient save %d (log %d), longest "
                    "step of work %s ms\n",
                    int(found.size()), kept, n, lastP, longest.constData());
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
    if (args.size() == 6 && args[1] == "run")
        return Run(args[2], args[3], args[4], args[5]);
    if (args.size() == 5 && args[1] == "check")
        return Check(args[2], args[3], args[4]);
    std::fprintf(stderr,
                 "usage: %s init <db> | run <db> <log> <kept> <stop> | check <db> <log> <kept>\n",
                 argv[0]);
    return 64;
}
