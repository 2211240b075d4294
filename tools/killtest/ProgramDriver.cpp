// The whole program, started as the real one is (same start-up, same windows)
// and used without end by a driver inside it: it changes the active patient's
// description and settings and saves them by picking another patient in the
// list, adds and names patients, deletes patients, runs therapies through the
// therapy window (a few tasks, stop, "Tak" on the result window) and records
// utterances on the statistics page. After every action has returned it
// writes what the program has confirmed as stored to a log; a script kills it
// at random moments, and "check" verifies that the patient database is whole
// and holds everything the log reports.
//
//   loquena-programdriver init  <database>
//   loquena-programdriver run   <log>        (from its program folder, next to
//                                             Data/, pacmem.qp and Nagrane/)
//   loquena-programdriver check <program folder> <log>
//
// Log lines: "b <activity>" before an action and "e <activity>" after it, "r"
// once the windows are up, and the facts:
//   S <id> <v> <n>    patient id's record of version v is stored, with its
//                     name when n is 1
//   A <id>            patient id was added
//   d <id> / D <id>   patient id is being deleted / was deleted
//   T <id> <n>        patient id has n therapies stored
//   R <id> <idStat>   the utterance of therapy idStat is recorded and marked
#include "app/AppMessage.h"
#include "app/CError.h"
#include "app/LoquenaApplication.h"
#include "app/Startup.h"
#include "app/Universalfn.h"
#include "graphics/CTransButton.h"
#include "mainwindow/CKompBookmarks.h"
#include "mainwindow/CPatientsPage.h"
#include "mainwindow/CStatisticsPage.h"
#include "mainwindow/MainPages.h"
#include "mainwindow/ProgramWindows.h"
#include "mainwindow/TFormMain.h"
#include "mainwindow/TFormMessage.h"
#include "patients/CPatient.h"
#include "patients/CTherapySettings.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "platform/DatabaseSchema.h"
#include "statistics/CStatistics.h"
#include "statistics/TFormStat.h"
#include "therapy/TFormTherapy.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

// ---- what version v of patient id's record holds

// Exercises quick to prepare and with no films: WY, UK, WP, PWP, PWY.
constexpr int kQuickExercises[] = {0, 1, 2, 4, 5};

QString NameOf(int id)
{
    return QString("Pacjent %1 Żółć").arg(id);
}
QString DescriptionOf(int id, int v)
{
    return QString("Pacjent %1 wersja %2\nwiersz drugi").arg(id).arg(v);
}
int MaskOf(int id, int v)
{
    const int pick = (id * 7 + v * 3) % 31 + 1; // a non-empty subset of five
    int mask = 0;
    for (int i = 0; i < 5; ++i)
        if (pick & (1 << i))
            mask |= 1 << kQuickExercises[i];
    return mask;
}
int TasksOf(int id, int v)
{
    return (id + v) % 4 + 2;
}
// The version a stored description names; -1 when it names none.
int VersionIn(const QString& description, int id)
{
    static const QRegularExpression pattern("^Pacjent (\\d+) wersja (\\d+)\n");
    const QRegularExpressionMatch m = pattern.match(description);
    if (!m.hasMatch() || m.captured(1).toInt() != id)
        return -1;
    return m.captured(2).toInt();
}

// ---- the driver inside the program

class Driver : public QObject
{
public:
    Driver(ProgramWindows& windows, int logFd)
        : m_w(windows), m_fd(logFd), m_rng(quint32(::getpid()) ^ quint32(time(nullptr)))
    {
        // Every question is answered "Tak", every notice "OK".
        TFormMessage::SetShowHook([](TFormMessage& form) {
            CTransButton* button =
                form.ButtonTak()->isVisible() ? form.ButtonTak() : form.ButtonOK();
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
            if (form.isVisible())
                form.reject();
        });
        // A timer is not run again while its own handler waits in a modal
        // window: the therapy window and the result window have their own.
        connect(&m_tick, &QTimer::timeout, this, [this] { Tick(); });
        m_tick.start(15);
        connect(&m_therapyTick, &QTimer::timeout, this, [this] { StepTherapy(); });
        m_therapyTick.start(25);
        connect(&m_resultTick, &QTimer::timeout, this, [this] { AnswerResults(); });
        m_resultTick.start(25);
    }

private:
    void Log(const QString& line)
    {
        const QByteArray bytes = (line + "\n").toUtf8();
        if (::write(m_fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
            std::_Exit(3);
    }

    TFormMain& Main() { return *m_w.Main; }
    CPatient& Patient() { return Main().Patient(); }
    QTreeWidget* List() { return Main().PatientsPage()->lvPacjeci; }

    void AnswerResults()
    {
        if (m_w.Stat && m_w.Stat->isVisible() && QApplication::activeModalWidget() == m_w.Stat)
            QTest::mouseClick(m_w.Stat->TakButton(), Qt::LeftButton, {},
                              m_w.Stat->TakButton()->rect().center());
    }

    void Tick()
    {
        if (!m_w.Main || !m_w.Message || !Main().isVisible() || QApplication::activeModalWidget())
            return;
        if (m_busy)
            return;
        m_busy = true;
        if (!m_ready) {
            ReadVersions();
            Main().SetWaitPause(0);
            Log("r");
            m_ready = true;
        }
        NextAction();
        m_busy = false;
    }

    // Versions go on from what the database holds (the list shows each
    // patient's description as its fourth column).
    void ReadVersions()
    {
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = List()->topLevelItem(i);
            const int id = item->data(0, Qt::UserRole).toInt();
            m_version[id] = std::max(0, VersionIn(item->text(3), id));
        }
    }

    void NextAction()
    {
        const int patients = List()->topLevelItemCount();
        const int roll = int(m_rng.bounded(100));
        if (patients < 3 || (patients < 8 && roll < 12))
            Act("add", [this] { AddPatient(); });
        else if (patients > 5 && roll < 10)
            Act("delete", [this] { DeletePatient(); });
        else if (roll < 55)
            Act("save", [this] { ChangeAndSave(); });
        else
            Act("therapy", [this] { RunTherapy(); });
    }

    template <class F> void Act(const char* activity, F&& work)
    {
        Log(QString("b %1").arg(activity));
        work();
        Log(QString("e %1").arg(activity));
    }

    void Settle(int ms = 0)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }

    void ShowPage(int page)
    {
        Main().Bookmarks().SetCurrent(page);
        Settle();
    }

    QTreeWidgetItem* ItemOf(int id)
    {
        for (int i = 0; i < List()->topLevelItemCount(); ++i)
            if (List()->topLevelItem(i)->data(0, Qt::UserRole).toInt() == id)
                return List()->topLevelItem(i);
        return nullptr;
    }

    // The active patient's record, as the driver has last changed it.
    void Edit(int id)
    {
        const int v = ++m_version[id];
        Main().PatientsPage()->memoOpis->setPlainText(DescriptionOf(id, v));
        CTherapySettings& settings = Patient().Settings();
        settings.SetSelectedMask(MaskOf(id, v));
        settings.Get_ExeSet(0).LZ = TasksOf(id, v);
        Main().ShowActivePatient();
    }

    // A click on the patient's row in the list; the patient made active
    // before has been saved when this returns.
    void Pick(int id)
    {
        ShowPage(MainPages::Patients);
        QTreeWidgetItem* item = ItemOf(id);
        if (!item)
            return;
        const int before = Patient().ActiveId();
        const QString saving = Saving(before);
        List()->scrollToItem(item);
        const QRect place = List()->visualItemRect(item);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, place.center());
        Settle();
        if (Patient().ActiveId() == id && before != id && before != -1)
            Log(saving);
    }

    // The fact that the active patient `id`'s record, as it is now, is stored.
    QString Saving(int id)
    {
        return QString("S %1 %2 %3")
            .arg(id)
            .arg(m_version.value(id))
            .arg(Patient().Name() == NameOf(id) ? 1 : 0);
    }

    int OtherPatient()
    {
        QList<int> ids;
        for (int i = 0; i < List()->topLevelItemCount(); ++i) {
            const int id = List()->topLevelItem(i)->data(0, Qt::UserRole).toInt();
            if (id != Patient().ActiveId())
                ids << id;
        }
        return ids.isEmpty() ? -1 : ids[int(m_rng.bounded(int(ids.size())))];
    }

    void ChangeAndSave()
    {
        if (Patient().ActiveId() != -1)
            Edit(Patient().ActiveId());
        const int other = OtherPatient();
        if (other != -1)
            Pick(other);
    }

    void AddPatient()
    {
        const int before = Patient().ActiveId();
        const QString saving = Saving(before);
        Main().actPacDodaj->trigger(); // stores the patient active before
        Settle();
        if (before != -1)
            Log(saving);
        const int id = Patient().ActiveId();
        Log(QString("A %1").arg(id));
        // The name is typed into the list's editor, as the therapist does.
        for (QLineEdit* editor : List()->findChildren<QLineEdit*>()) {
            if (!editor->isVisible())
                continue;
            editor->selectAll();
            // Letter by letter, Polish ones too, as key events with their text.
            for (const QChar letter : NameOf(id)) {
                QTest::sendKeyEvent(QTest::Press, editor, Qt::Key_unknown, QString(letter),
                                    Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, editor, Qt::Key_unknown, QString(letter),
                                    Qt::NoModifier);
            }
            QTest::keyClick(editor, Qt::Key_Return);
            break;
        }
        Settle();
        m_version[id] = 0;
        Edit(id);
    }

    void DeletePatient()
    {
        const int id = OtherPatient();
        if (id == -1)
            return;
        Pick(id);
        if (Patient().ActiveId() != id)
            return;
        Log(QString("d %1").arg(id));
        Main().actPacUsun->trigger(); // both questions answered "Tak"
        Settle();
        if (!ItemOf(id))
            Log(QString("D %1").arg(id));
        m_version.remove(id);
    }

    void RunTherapy()
    {
        const int id = Patient().ActiveId();
        if (id == -1 || Patient().Settings().SelectedCount() == 0)
            return;
        m_steps = int(m_rng.bounded(6));
        QTreeWidget* therapies = Main().StatisticsPage()->lvStatystyka;
        const int before = therapies->topLevelItemCount();
        const QString saving = Saving(id);
        Main().actStart->trigger(); // returns when the therapy has ended
        Settle();
        if (therapies->topLevelItemCount() <= before)
            return; // refused (a notice was answered): nothing stored
        // The end of a therapy stores the patient's record with its date,
        // then the therapy.
        Log(saving);
        Log(QString("T %1 %2").arg(id).arg(therapies->topLevelItemCount()));
        if (m_rng.bounded(2) == 0)
            Act("record", [this, id] { Record(id); });
    }

    void StepTherapy()
    {
        if (m_stepping || !m_w.Therapy || QApplication::activeModalWidget() != m_w.Therapy)
            return;
        m_stepping = true;
        if (m_steps-- > 0)
            m_w.Therapy->actDalejExecute();
        else
            m_w.Therapy->actStopExecute(); // the result window is answered "Tak"
        m_stepping = false;
    }

    // An utterance for the therapy just stored, from the statistics page.
    void Record(int id)
    {
        const int idStat = Main().Statistics().IdStat();
        if (idStat < 0)
            return;
        CStatisticsPage* page = Main().StatisticsPage();
        page->Wyp.actNagraj->trigger();
        if (!page->SoundBusy())
            return; // no recording device: nothing was promised
        Settle(int(m_rng.bounded(100, 400)));
        page->Wyp.actStop->trigger();
        Settle();
        Log(QString("R %1 %2").arg(id).arg(idStat));
    }

    ProgramWindows& m_w;
    int m_fd;
    QRandomGenerator m_rng;
    QTimer m_tick;
    QTimer m_therapyTick;
    QTimer m_resultTick;
    bool m_busy = false;
    bool m_ready = false;
    bool m_stepping = false;
    int m_steps = 0;
    QMap<int, int> m_version;
};

int Run(int argc, char** argv)
{
    LoquenaApplication app(argc, argv);
    const QString logPath = app.arguments().value(2);
    const int fd = ::open(QFile::encodeName(logPath).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return 3;
    // A start-up error box must not wait for a reader: it goes to the log.
    SetAppMessageHandler([fd](QMessageBox::Icon, const QString& caption, const QString& text,
                              QMessageBox::StandardButtons) {
        const QByteArray line = ("E " + caption + ": " + text).toUtf8().replace('\n', ' ') + "\n";
        if (::write(fd, line.constData(), size_t(line.size())) < 0)
            std::_Exit(3);
        return QMessageBox::Ok;
    });
    Startup startup;
    startup.SetInstanceName(QString("loquena-programdriver-%1").arg(::getpid()));
    ProgramWindows windows;
    AddProgramWindows(startup, windows);
    Driver driver(windows, fd);
    return startup.Run();
}

// ---- the check after a kill

struct SLog
{
    QMap<int, int> saved; // id -> highest stored version reported
    QSet<int> named;      // ids whose name was reported stored
    QSet<int> added, deleting, deleted;
    QMap<int, int> therapies; // id -> therapies reported stored
    QList<QPair<int, int>> recordings;
};

SLog ReadLog(const QString& path)
{
    SLog log;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return log;
    const QList<QByteArray> lines = file.readAll().split('\n');
    // The last piece is empty or a line cut by the kill.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> p = lines[i].split(' ');
        if (p.size() < 2)
            continue;
        const int id = p[1].toInt();
        const int value = p.size() > 2 ? p[2].toInt() : 0;
        if (p[0] == "S") {
            log.saved[id] = std::max(log.saved.value(id), value);
            if (p.size() > 3 && p[3] == "1")
                log.named << id;
        } else if (p[0] == "A")
            log.added << id;
        else if (p[0] == "d")
            log.deleting << id;
        else if (p[0] == "D")
            log.deleted << id;
        else if (p[0] == "T")
            log.therapies[id] = std::max(log.therapies.value(id), value);
        else if (p[0] == "R")
            log.recordings << qMakePair(id, value);
    }
    return log;
}

QVariant Scalar(CDbConnection* connection, const QString& sql, const QVariantList& params = {})
{
    CDbQuery query(connection);
    query.SetSQL(sql, params);
    query.Open();
    return query.RecordCount() > 0 ? query.Fields(0).Value() : QVariant();
}

// A whole WAVE file: RIFF, WAVE, and a data chunk that fits in the file.
bool WholeWave(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return false;
    const qsizetype data = bytes.indexOf("data", 12);
    if (data < 0 || data + 8 > bytes.size())
        return false;
    quint32 size = 0;
    std::memcpy(&size, bytes.constData() + data + 4, 4);
    return data + 8 + qint64(size) <= bytes.size();
}

int Check(const QString& folder, const QString& logPath)
{
    const SLog log = ReadLog(logPath);
    QStringList problems;
    try {
        // Connecting rolls back a change the kill interrupted, as the
        // program's next start does.
        CDbConnection connection;
        connection.Connect(QDir(folder).filePath("pacmem.qp"));
        CDbConnection* db = &connection;
        const QString integrity = Scalar(db, "PRAGMA integrity_check").toString();
        if (integrity != "ok")
            problems << "integrity_check: " + integrity;
        if (Scalar(db, "SELECT count(*) FROM Ust").toInt() != 1)
            problems << "Ust must hold one row";

        QMap<int, int> stored; // id -> stored version (-1: none)
        CDbQuery patients(db);
        patients.SetSQL("SELECT * FROM Pacjenci");
        patients.Open();
        for (patients.First(); !patients.Eof(); patients.Next()) {
            const int id = patients.FieldByName("idPac").AsInteger();
            const int v = VersionIn(patients.FieldByName("Opis").AsString(), id);
            stored[id] = v;
            if (v < 0)
                continue;
            // A record is stored whole or not at all.
            CTherapySettings settings;
            settings.Load(patients);
            if (settings.Selected() != MaskOf(id, v) || settings.Get_ExeSet(0).LZ != TasksOf(id, v))
                problems
                    << QString("patient %1: settings are not those of version %2").arg(id).arg(v);
            if (log.named.contains(id) &&
                patients.FieldByName("NazwiskoImie").AsString() != NameOf(id))
                problems << QString("patient %1: name \"%2\" lost")
                                .arg(id)
                                .arg(patients.FieldByName("NazwiskoImie").AsString());
        }
        for (auto it = log.saved.begin(); it != log.saved.end(); ++it) {
            if (!stored.contains(it.key())) {
                if (!log.deleting.contains(it.key()))
                    problems << QString("patient %1 is gone").arg(it.key());
            } else if (std::max(0, stored[it.key()]) < it.value()) {
                // (Version 0 is a record the driver has not yet changed.)
                problems << QString("patient %1: version %2 stored, %3 was saved")
                                .arg(it.key())
                                .arg(stored[it.key()])
                                .arg(it.value());
            }
        }
        for (int id : log.added)
            if (!stored.contains(id) && !log.deleting.contains(id))
                problems << QString("added patient %1 is gone").arg(id);
        for (int id : log.deleted)
            if (stored.contains(id))
                problems << QString("deleted patient %1 is back").arg(id);

        // Therapies: none lost, each whole, none without its patient.
        for (auto it = log.therapies.begin(); it != log.therapies.end(); ++it) {
            if (!stored.contains(it.key()))
                continue;
            const int n =
                Scalar(db, "SELECT count(*) FROM Statystyki WHERE idPac=?", {it.key()}).toInt();
            if (n < it.value())
                problems << QString("patient %1: %2 therapies stored, %3 were saved")
                                .arg(it.key())
                                .arg(n)
                                .arg(it.value());
        }
        CDbQuery rows(db);
        rows.SetSQL("SELECT s.idStat, s.CwWybrane, count(c.idCw) FROM Statystyki AS s "
                    "LEFT JOIN Cwiczenia AS c ON s.idStat=c.idStat GROUP BY s.idStat");
        rows.Open();
        for (rows.First(); !rows.Eof(); rows.Next())
            if (rows.Fields(2).AsInteger() != std::popcount(unsigned(rows.Fields(1).AsInteger())))
                problems << QString("therapy %1 is not whole").arg(rows.Fields(0).AsInteger());
        const int orphans = Scalar(db, "SELECT count(*) FROM Cwiczenia WHERE idStat NOT IN "
                                       "(SELECT idStat FROM Statystyki)")
                                .toInt();
        const int homeless = Scalar(db, "SELECT count(*) FROM Statystyki WHERE idPac NOT IN "
                                        "(SELECT idPac FROM Pacjenci)")
                                 .toInt();
        if (orphans || homeless)
            problems << QString("%1 exercise rows without a therapy, %2 therapies without a "
                                "patient")
                            .arg(orphans)
                            .arg(homeless);

        // Recordings: the file whole and its mark stored.
        CStatistics names;
        names.SetRecordingFolder(QDir(folder).filePath("Nagrane"));
        for (const auto& [id, idStat] : log.recordings) {
            if (!stored.contains(id))
                continue;
            const QString file = names.RecordingFileName(id, idStat, QLatin1Char('W'));
            if (!WholeWave(file))
                problems << "recording lost or damaged: " + file;
            if (Scalar(db, "SELECT Wypowiedz FROM Statystyki WHERE idStat=?", {idStat}).toInt() !=
                1)
                problems << QString("therapy %1: the recording's mark is lost").arg(idStat);
        }
        if (problems.isEmpty())
            std::printf("OK %d patients, %d therapies, %d recordings\n", int(stored.size()),
                        Scalar(db, "SELECT count(*) FROM Statystyki").toInt(),
                        int(log.recordings.size()));
    } catch (const CError& error) {
        problems << error.Message();
    }
    for (const QString& problem : problems)
        std::printf("FAIL %s\n", qPrintable(problem));
    return problems.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (command == "run" && argc == 3)
        return Run(argc, argv);
    QCoreApplication app(argc, argv);
    if (command == "init" && argc == 3)
        return CreatePatientDatabase(app.arguments()[2]) ? 0 : 1;
    if (command == "check" && argc == 4)
        return Check(app.arguments()[2], app.arguments()[3]);
    std::fprintf(stderr, "usage: %s init <database> | run <log> | check <program folder> <log>\n",
                 argv[0]);
    return 64;
}
