// One simulated workstation of a clinic: for a given time it renames its own
// patient, stores therapies, records utterances into them and reads its
// statistics list, as the main window does, and writes a line to its log
// after each of these has been confirmed. "check" then compares the clinic
// database with all the logs: every confirmed therapy and recording stored
// once and whole, nothing stored that no log confirmed, no lock left.
//
//   loquena-loaddriver run   <conninfo> <number> <seconds> <log>
//   loquena-loaddriver check <conninfo> <log>...
#include "app/CError.h"
#include "patients/CPatient.h"
#include "platform/CDbBackend.h"
#include "platform/CDbConnection.h"
#include "statistics/CClinicRecordings.h"
#include "statistics/CStatistics.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QMap>
#include <QTreeWidget>
#include <bit>
#include <cstdio>

namespace {

int TherapyMask(int k)
{
    return ((k * 37) & 0x7FF) | 1;
}

QString NameOf(int workstation, int n)
{
    return QString("Obciążenie %1 zapis %2").arg(workstation).arg(n);
}

// The utterance recorded into therapy k of a workstation: a WAVE header
// and 2 to 40 kB of samples that only it has.
QByteArray Utterance(int workstation, int k)
{
    QByteArray bytes = "RIFF----WAVEfmt ";
    const int size = 2000 + (k * 7919 + workstation * 104729) % 38000;
    bytes.reserve(16 + size);
    for (int i = 0; i < size; ++i)
        bytes.append(char((i * 31 + k * 17 + workstation) & 0xFF));
    return bytes;
}

QByteArray Md5(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

int Run(const QString& conninfo, int workstation, int seconds, const QString& logPath)
{
    QFile log(logPath);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return 3;
    auto confirm = [&log](const QString& line) { log.write((line + "\n").toUtf8()); };
    try {
        CPatient patient;
        patient.SetWorkstation(QString("stanowisko-%1").arg(workstation));
        if (!patient.Open(conninfo))
            return 2;
        CStatistics statistics(&patient);
        patient.Add();
        confirm(QString("A %1").arg(patient.ActiveId()));
        QTreeWidget list;
        list.setColumnCount(14);
        const QDeadlineTimer deadline(qint64(seconds) * 1000);
        for (int k = 1; !deadline.hasExpired(); ++k) {
            patient.SetName(NameOf(workstation, k));
            patient.Save();
            confirm(QString("P %1").arg(k));

            CTherapySettings chosen;
            chosen.SetSelectedMask(TherapyMask(k));
            statistics.Reset(&chosen);
            for (int i = 0; i < 11; ++i)
                statistics.Get_P_StatEx(i)->Czas = k;
            statistics.SaveTherapy(patient.ActiveId(), &list);
            if (statistics.IdStat() < 0)
                return 4;
            confirm(QString("T %1 %2").arg(k).arg(statistics.IdStat()));

            // Every second therapy gets an utterance, as recorded on the
            // statistics page: the file, then the recording and its mark.
            if (k % 2 == 0) {
                const QByteArray bytes = Utterance(workstation, k);
                QFile file(statistics.UtteranceFileName());
                if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                    return 5;
                file.close();
                if (!statistics.KeepRecording('W'))
                    return 6;
                list.setCurrentItem(list.topLevelItem(list.topLevelItemCount() - 1));
                statistics.RefreshRecordingMarks(&list, CStatistics::UtteranceColumn);
                // The mark's store reports no failure: confirmed by storing it again.
                if (statistics.Wypowiedz() != 1 || !statistics.SaveRecordingFlags())
                    return 7;
                confirm(QString("R %1 %2 %3")
                            .arg(k)
                            .arg(statistics.IdStat())
                            .arg(QString::fromLatin1(Md5(bytes))));
            }
            if (k % 10 == 0)
                statistics.ListTherapies(patient.ActiveId(), &list);
        }
        confirm("END");
        return 0;
    } catch (const CError& error) {
        std::fprintf(stderr, "stanowisko %d: %s\n", workstation, qPrintable(error.Message()));
        return 1;
    }
}

struct SLog
{
    int patient = -1;
    int lastName = 0;
    QMap<qint64, int> therapies;         // idStat -> k
    QMap<qint64, QByteArray> recordings; // idStat -> MD5
    bool ended = false;
};

SLog ReadLog(const QString& path)
{
    SLog log;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return log;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts[0] == "A")
            log.patient = parts.value(1).toInt();
        else if (parts[0] == "P")
            log.lastName = parts.value(1).toInt();
        else if (parts[0] == "T")
            log.therapies.insert(parts.value(2).toLongLong(), parts.value(1).toInt());
        else if (parts[0] == "R")
            log.recordings.insert(parts.value(2).toLongLong(), parts.value(3));
        else if (parts[0] == "END")
            log.ended = true;
    }
    return log;
}

int Check(const QString& conninfo, const QStringList& logs)
{
    int failures = 0;
    auto fail = [&failures](const QString& what) {
        std::printf("FAIL %s\n", qPrintable(what));
        ++failures;
    };
    try {
        CDbConnection connection;
        connection.SetWorkstation("kontrola");
        connection.Connect(conninfo);
        CDbBackend& db = connection.Backend("check");
        auto scalar = [&db](const QString& sql, const QVariantList& params = {}) {
            const SDbRows rows = db.Select(sql, params, "check");
            return rows.rows.empty() ? QVariant() : rows.rows.front().value(0);
        };
        qint64 therapies = 0;
        qint64 recordings = 0;
        for (int w = 0; w < logs.size(); ++w) {
            const SLog log = ReadLog(logs[w]);
            const QString who = QString("stanowisko %1: ").arg(w + 1);
            if (!log.ended || log.patient < 0) {
                fail(who + "the run did not end in order");
                continue;
            }
            if (scalar("SELECT NazwiskoImie FROM Pacjenci WHERE idPac=?", {log.patient})
                    .toString() != NameOf(w + 1, log.lastName))
                fail(who + "the last name saved is not stored");
            // Each therapy once, whole, and nothing the log did not confirm.
            const SDbRows rows = db.Select(
                "SELECT s.idStat, s.CwWybrane, count(c.idCw), min(c.Czas), max(c.Czas), "
                "s.Wypowiedz FROM Statystyki AS s LEFT JOIN Cwiczenia AS c ON s.idStat=c.idStat "
                "WHERE s.idPac=? GROUP BY s.idStat, s.CwWybrane, s.Wypowiedz ORDER BY s.idStat",
                {log.patient}, "check");
            if (qsizetype(rows.rows.size()) != log.therapies.size())
                fail(who + QString("%1 therapies stored, %2 confirmed")
                               .arg(rows.rows.size())
                               .arg(log.therapies.size()));
            for (const QVariantList& row : rows.rows) {
                const qint64 idStat = row.value(0).toLongLong();
                const int k = log.therapies.value(idStat, -1);
                const int mask = row.value(1).toInt();
                if (k < 0 || mask != TherapyMask(k) ||
                    row.value(2).toInt() != std::popcount(unsigned(mask)) ||
                    row.value(3).toInt() != k || row.value(4).toInt() != k ||
                    row.value(5).toInt() != (log.recordings.contains(idStat) ? 1 : 0))
                    fail(who + QString("therapy %1 is not as confirmed").arg(idStat));
            }
            therapies += qint64(rows.rows.size());
            const SDbRows sums =
                db.Select("SELECT n.idStat, md5(n.Dane) FROM Nagrania AS n, Statystyki AS s WHERE "
                          "n.idStat=s.idStat AND s.idPac=? AND n.Rodzaj='W'",
                          {log.patient}, "check");
            if (qsizetype(sums.rows.size()) != log.recordings.size())
                fail(who + QString("%1 recordings stored, %2 confirmed")
                               .arg(sums.rows.size())
                               .arg(log.recordings.size()));
            for (const QVariantList& row : sums.rows)
                if (log.recordings.value(row.value(0).toLongLong()) !=
                    row.value(1).toString().toLatin1())
                    fail(who +
                         QString("recording of therapy %1 differs").arg(row.value(0).toLongLong()));
            recordings += qint64(sums.rows.size());
        }
        const int orphans = scalar("SELECT count(*) FROM Cwiczenia WHERE idStat NOT IN "
                                   "(SELECT idStat FROM Statystyki)")
                                .toInt();
        if (orphans != 0)
            fail(QString("%1 exercise rows without a therapy").arg(orphans));
        const int locks = scalar("SELECT count(*) FROM pg_locks WHERE locktype='advisory' AND "
                                 "pid <> pg_backend_pid()")
                              .toInt();
        if (locks != 0)
            fail(QString("%1 locks are still held").arg(locks));
        std::printf(
            "%s: %d workstations, %lld therapies (%lld exercise rows), %lld recordings "
            "(%s MB)\n",
            failures == 0 ? "OK" : "FAILED", int(logs.size()), therapies,
            scalar("SELECT count(*) FROM Cwiczenia").toLongLong(), recordings,
            qPrintable(QString::number(
                scalar("SELECT coalesce(sum(length(Dane)), 0) FROM Nagrania").toDouble() / 1e6, 'f',
                1)));
    } catch (const CError& error) {
        fail(error.Message());
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // The statistics list is a widget: the store fills one as on the page.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args[1] == "run")
        return Run(args[2], args[3].toInt(), args[4].toInt(), args[5]);
    if (args.size() >= 4 && args[1] == "check")
        return Check(args[2], args.mid(3));
    std::fprintf(stderr,
                 "usage: %s run <conninfo> <number> <seconds> <log> | check <conninfo> "
                 "<log>...\n",
                 argv[0]);
    return 64;
}
