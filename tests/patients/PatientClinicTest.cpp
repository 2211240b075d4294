// Several workstations on one clinic database: each keeps its own active
// patient, a patient open on one is busy on the others, and the patient list
// follows the others' changes.
#include "app/CError.h"
#include "common/PatientDbFixture.h"
#include "patients/CPatient.h"

#include <QElapsedTimer>
#include <QMap>
#include <QThread>
#include <QTreeWidget>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class ClinicWorkstations : public PatientDbTest
{
protected:
    // Adds a patient named `name` on `station` and returns its id.
    static int AddNamed(CPatient& station, const QString& name)
    {
        station.Add();
        station.SetName(name);
        station.Save();
        return station.ActiveId();
    }

    // Opens the clinic database `database` as workstation `name`.
    static void OpenAs(CPatient& station, const QString& name, const QString& database)
    {
        station.SetWorkstation(name);
        ASSERT_TRUE(station.Open(database)) << station.LastError().toStdString();
    }

    // Waits up to a few seconds for `done` (the server delivers in its time).
    template <class F> static bool Eventually(F&& done)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > 5000)
                return false;
            QThread::msleep(20);
        }
        return true;
    }

    static QStringList Names(QTreeWidget& list)
    {
        QStringList names;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            names << list.topLevelItem(i)->text(0);
        return names;
    }
};

INSTANTIATE_ON_CLINIC_STORE(ClinicWorkstations);

} // namespace

TEST_P(ClinicWorkstations, EachKeepsItsActivePatientAndABusyOneIsRefusedWithTheHoldersName)
{
    int first = -1;
    int second = -1;
    {
        CPatient room1;
        room1.SetWorkstation("Sala 1");
        ASSERT_TRUE(room1.Open(path)) << room1.LastError().toStdString();
        first = AddNamed(room1, "Nowak Jan");

        CPatient room3;
        room3.SetWorkstation("Sala 3");
        ASSERT_TRUE(room3.Open(path)) << room3.LastError().toStdString();
        // Sala 3 does not take over the patient open in Sala 1.
        EXPECT_EQ(room3.ActiveId(), -1);
        EXPECT_EQ(room3.BusyOn(first), "Sala 1");
        second = AddNamed(room3, "Kowalska Anna");
        try {
            room3.Select(first);
            ADD_FAILURE() << "a busy patient was selected";
        } catch (const CError& error) {
            EXPECT_TRUE(error.Message().contains("Sala 1")) << error.Message().toStdString();
        }
        EXPECT_EQ(room3.ActiveId(), second);
        EXPECT_EQ(room3.Name(), "Kowalska Anna");
        EXPECT_EQ(room1.BusyOn(second), "Sala 3");

        // Sala 1 moves on: the patient is free for Sala 3.
        room1.Select(-1);
        EXPECT_EQ(room3.BusyOn(first), "");
        room3.Select(first);
        EXPECT_EQ(room3.Name(), "Nowak Jan");
        EXPECT_EQ(room1.BusyOn(second), "");
        room1.Select(second);
    }
    // Each workstation starts again with its own patient.
    CPatient room1;
    room1.SetWorkstation("Sala 1");
    ASSERT_TRUE(room1.Open(path));
    EXPECT_EQ(room1.ActiveId(), second);
    CPatient room3;
    room3.SetWorkstation("Sala 3");
    ASSERT_TRUE(room3.Open(path));
    EXPECT_EQ(room3.ActiveId(), first);
}

TEST_P(ClinicWorkstations, AKilledWorkstationLeavesNoPatientBusy)
{
    int id = -1;
    {
        CPatient setup;
        ASSERT_TRUE(setup.Open(path));
        id = AddNamed(setup, "Zieliński Piotr");
        setup.Select(-1);
    }
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The workstation: opens the patient and waits to be killed.
        ::close(ready[0]);
        CPatient station;
        station.SetWorkstation("Sala 2");
        const bool ok = station.Open(path);
        if (ok)
            station.Select(id);
        const char answer = ok && station.ActiveId() == id ? '1' : '0';
        [[maybe_unused]] const ssize_t n = ::write(ready[1], &answer, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    CPatient other;
    other.SetWorkstation("Sala 4");
    ASSERT_TRUE(other.Open(path));
    EXPECT_EQ(answer, '1');
    EXPECT_EQ(other.BusyOn(id), "Sala 2");
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    // The server lets the lock go with the dead connection.
    EXPECT_TRUE(Eventually([&] { return other.BusyOn(id).isEmpty(); }));
    other.Select(id);
    EXPECT_EQ(other.ActiveId(), id);
}

TEST_P(ClinicWorkstations, AddedRenamedAndDeletedPatientsReachTheOthersList)
{
    CPatient room1;
    room1.SetWorkstation("Sala 1");
    ASSERT_TRUE(room1.Open(path));
    CPatient room3;
    room3.SetWorkstation("Sala 3");
    ASSERT_TRUE(room3.Open(path));
    QTreeWidget list;
    list.setColumnCount(3);
    room3.FillList(&list);
    EXPECT_EQ(list.topLevelItemCount(), 0);
    EXPECT_FALSE(room3.TakeListChanges());

    struct Step
    {
        const char* what;
        std::function<void()> change;
        QStringList expected;
    };
    const Step steps[] = {
        {"added", [&] { AddNamed(room1, "Nowak Jan"); }, {"Nowak Jan"}},
        {"renamed",
         [&] {
             room1.SetName("Nowak Jan Paweł");
             room1.Save();
         },
         {"Nowak Jan Paweł"}},
        {"deleted", [&] { room1.Delete(); }, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        ASSERT_TRUE(Eventually([&] { return room3.TakeListChanges(); }));
        room3.FillList(&list);
        EXPECT_EQ(Names(list), step.expected);
    }
    // Saving without a change of name tells nobody anything.
    AddNamed(room1, "Wiśniewska Ewa");
    ASSERT_TRUE(Eventually([&] { return room3.TakeListChanges(); }));
    QThread::msleep(200);
    room3.TakeListChanges(); // the naming after the adding
    room1.SetDescription("opis");
    room1.Save();
    QThread::msleep(200);
    EXPECT_FALSE(room3.TakeListChanges());
}

namespace {

// The greyed items of the list: name -> tip.
QMap<QString, QString> Greyed(QTreeWidget& list)
{
    QMap<QString, QString> greyed;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list.topLevelItem(i);
        if (item->data(0, Qt::ForegroundRole).isValid())
            greyed.insert(item->text(0), item->toolTip(0));
    }
    return greyed;
}

} // namespace

TEST_P(ClinicWorkstations, PatientsOpenElsewhereAreGreyInTheListWithTheWorkstationsName)
{
    CPatient room1;
    ASSERT_NO_FATAL_FAILURE(OpenAs(room1, "Sala 1", path));
    CPatient room3;
    ASSERT_NO_FATAL_FAILURE(OpenAs(room3, "Sala 3", path));
    const int nowak = AddNamed(room1, "Nowak Jan");
    const int kowalska = AddNamed(room1, "Kowalska Ewa");
    QTreeWidget list;
    list.setColumnCount(3);
    const QString inRoom1 = "Pacjent jest otwarty na stanowisku \u201eSala 1\u201d.";

    struct Step
    {
        const char* what;
        std::function<void()> change;
        QMap<QString, QString> greyed;
    };
    const Step steps[] = {
        {"the last one added is open in Sala 1", [] {}, {{"Kowalska Ewa", inRoom1}}},
        {"Sala 1 chooses another", [&] { room1.Select(nowak); }, {{"Nowak Jan", inRoom1}}},
        {"Sala 1 chooses none", [&] { room1.Select(-1); }, {}},
        // A workstation's own patient is never grey on its own list.
        {"Sala 3 chooses one", [&] { room3.Select(kowalska); }, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        // The others' lists follow: each opening and closing is announced.
        Eventually([&] { return room3.TakeListChanges(); });
        room3.FillList(&list);
        EXPECT_EQ(Greyed(list), step.greyed);
    }
    // Sala 1's list marks what Sala 3 holds.
    ASSERT_TRUE(Eventually([&] { return room1.TakeListChanges(); }));
    room1.FillList(&list);
    EXPECT_EQ(Greyed(list).keys(), QStringList{"Kowalska Ewa"});
}

// Patients of another clinic database on the same server are not this
// database's, though their numbers are the same.
TEST_P(ClinicWorkstations, APatientOpenInAnotherDatabaseIsNotBusyHere)
{
    QString problem;
    const QString other = PgTestServer::Instance().NewDatabase(&problem);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    {
        CPatient elsewhere;
        ASSERT_NO_FATAL_FAILURE(OpenAs(elsewhere, "Inna klinika", other));
        CPatient here;
        ASSERT_NO_FATAL_FAILURE(OpenAs(here, "Sala 1", path));
        const int id = AddNamed(here, "Nowak Jan");
        here.Select(-1);
        ASSERT_EQ(AddNamed(elsewhere, "Kowalska Ewa"), id);

        EXPECT_EQ(here.BusyOn(id), "");
        QTreeWidget list;
        list.setColumnCount(3);
        here.FillList(&list);
        EXPECT_TRUE(Greyed(list).isEmpty());
        EXPECT_NO_THROW(here.Select(id));
    }
    PgTestServer::Instance().DropDatabase(other);
}
