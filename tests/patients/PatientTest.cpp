// The patient store on a real patient database in a temporary folder.
#include "app/CError.h"
#include "common/PatientDbFixture.h"
#include "patients/CPatient.h"
#include "patients/CPatientListItem.h"
#include "platform/CDbTable.h"

#include <QFile>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class PatientStore : public PatientDbTest
{
protected:
    // Puts patients straight into the file before the store opens it; returns
    // their ids in order.
    std::vector<int> Seed(const QStringList& names, int active = -1)
    {
        CDbConnection connection;
        connection.Connect(path);
        std::vector<int> ids;
        for (const QString& name : names) {
            connection.Execute(
                "INSERT INTO Pacjenci (NazwiskoImie, Poczatek, Ostatnia, Opis) "
                "VALUES (?, '2023-02-01 00:00:00.000', '2024-03-15 00:00:00.000', ?)",
                {name, "Opis " + name});
            ids.push_back(Scalar(&connection, "SELECT max(idPac) FROM Pacjenci").toInt());
        }
        // A clinic's workstation remembers its own patient.
        if (IsClinic())
            connection.Execute("INSERT INTO Stanowiska (Nazwa, AktywnyPac) VALUES (?, ?)",
                               {connection.Workstation(), active});
        else
            connection.Execute("UPDATE Ust SET AktywnyPac=?", {active});
        return ids;
    }

    QVariant Stored(CPatient& patient, const QString& column, int id)
    {
        return Scalar(patient.Connection(), "SELECT " + column + " FROM Pacjenci WHERE idPac=?",
                      {id});
    }
};

// What only a file on this computer can show.
class PatientStoreFile : public PatientStore
{
};

INSTANTIATE_ON_BOTH_STORES(PatientStore);
INSTANTIATE_ON_FILE_STORE(PatientStoreFile);

} // namespace

TEST_P(PatientStore, FirstRunOnAnEmptyDatabase)
{
    CPatient patient;
    ASSERT_TRUE(patient.Open(path));
    EXPECT_EQ(patient.ActiveId(), -1);
    EXPECT_EQ(patient.CurrentId(), -1);
    EXPECT_EQ(patient.Settings().Get_ExeSet(7).LZ, 29);

    QTreeWidget list;
    list.setColumnCount(3);
    new QTreeWidgetItem(&list, QStringList{"stale"});
    patient.FillList(&list);
    EXPECT_EQ(list.topLevelItemCount(), 0);
    EXPECT_EQ(patient.ListIndex(), -1);

    // Nothing to save or delete, and no error for it.
    patient.SetName("nikt");
    patient.Save();
    patient.Delete();
    EXPECT_EQ(Scalar(patient.Connection(), "SELECT count(*) FROM Pacjenci").toInt(), 0);
}

TEST_P(PatientStoreFile, OpenRefusesWhatIsNotAPatientDatabase)
{
    CPatient patient;
    EXPECT_FALSE(patient.Open(dir.file("brak.qp")));
    EXPECT_FALSE(QFile::exists(dir.file("brak.qp"))); // never created here

    QFile junk(dir.file("junk.qp"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_FALSE(patient.Open(junk.fileName()));

    {
        CDbConnection connection;
        connection.Connect(path);
        connection.Execute("ALTER TABLE Pacjenci DROP COLUMN PNC_F");
    }
    EXPECT_FALSE(patient.Open(path));
    EXPECT_EQ(patient.ActiveId(), -1);
}

TEST_P(PatientStoreFile, FileIsHeldWhileOpen)
{
    CPatient first;
    ASSERT_TRUE(first.Open(path));
    CPatient second;
    EXPECT_FALSE(second.Open(path));
}

TEST_P(PatientStore, StoredActivePatientOrTheFirstInStoredOrder)
{
    const std::vector<int> ids = Seed({"Zieliński Adam", "Adamska Ewa", "Nowak Jan"});
    {
        CPatient patient;
        ASSERT_TRUE(patient.Open(path));
        EXPECT_EQ(patient.ActiveId(), ids[0]); // first stored, not first by name
        EXPECT_EQ(patient.Name(), "Zieliński Adam");
        EXPECT_EQ(patient.Description(), "Opis Zieliński Adam");
        EXPECT_EQ(patient.StartDate(), QDate(2023, 2, 1));
        EXPECT_EQ(patient.LastDate(), QDate(2024, 3, 15));
        EXPECT_EQ(patient.StartDateText(), "01.02.2023");
        EXPECT_EQ(patient.LastDateText(), "15.03.2024");
        EXPECT_EQ(patient.CurrentId(), ids[0]);
        patient.Select(ids[2]);
        patient.Settings().SetSelected(4, true);
    }
    // The active patient and its settings survive to the next run.
    {
        CPatient patient;
        ASSERT_TRUE(patient.Open(path));
        EXPECT_EQ(patient.ActiveId(), ids[2]);
        EXPECT_EQ(patient.Settings().Selected(), 1 << 4);
        patient.Select(ids[1]);
    }
    {
        CPatient patient;
        ASSERT_TRUE(patient.Open(path));
        EXPECT_EQ(patient.ActiveId(), ids[1]);
        EXPECT_EQ(patient.Name(), "Adamska Ewa");
    }
}

TEST_P(PatientStore, StoredActivePatientThatNoLongerExists)
{
    Seed({"Nowak Jan"}, 77);
    CPatient patient;
    ASSERT_TRUE(patient.Open(path));
    EXPECT_EQ(patient.ActiveId(), -1);
    EXPECT_EQ(patient.Settings().Selected(), 0);
}

TEST_P(PatientStore, SelectSavesThePreviousPatientButNotTheSameOne)
{
    const std::vector<int> ids = Seed({"Nowak Jan", "Kowalska Anna"}, -1);
    CPatient patient;
    ASSERT_TRUE(patient.Open(path));
    ASSERT_EQ(patient.ActiveId(), ids[0]);

    patient.SetName("Nowak Janusz");
    patient.Select(ids[0]); // already active: nothing is written
    EXPECT_EQ(Stored(patient, "NazwiskoImie", ids[0]).toString(), "Nowak Jan");

    patient.SetDescription("afazja ruchowa");
    patient.Settings().SetSelected(3, true);
    patient.Select(ids[1]);
    EXPECT_EQ(Stored(patient, "NazwiskoImie", ids[0]).toString(), "Nowak Janusz");
    EXPECT_EQ(Stored(patient, "Opis", ids[0]).toString(), "afazja ruchowa");
    EXPECT_EQ(Stored(patient, "CwWybrane", ids[0]).toString(), "D");
    EXPECT_EQ(Stored(patient, "Poczatek", ids[0]).toString(), "2023-02-01 00:00:00.000");
    EXPECT_EQ(patient.Name(), "Kowalska Anna");
    EXPECT_EQ(patient.Settings().Selected(), 0); // the other patient's settings

    patient.Select(-1);
    EXPECT_EQ(patient.ActiveId(), -1);
    EXPECT_EQ(patient.CurrentId(), -1);
}

TEST_P(PatientStore, AddTwiceSavesTheFirstNewPatient)
{
    CPatient patient;
    ASSERT_TRUE(patient.Open(path));
    patient.Add();
    const int first = patient.ActiveId();
    EXPECT_GT(first, 0);
    EXPECT_EQ(patient.CurrentId(), first);
    EXPECT_EQ(patient.StartDate(), QDate::currentDate());
    EXPECT_EQ(patient.LastDate(), QDate::currentDate());
    EXPECT_EQ(patient.Name(), "");
    patient.SetName("Wiśniewska Zofia");
    patient.Settings().SetSelected(7, true);

    patient.Add();
    const int second = patient.ActiveId();
    EXPECT_NE(second, first);
    EXPECT_EQ(patient.Name(), "");
    EXPECT_EQ(patient.Settings().Selected(), 0);
    EXPECT_EQ(Stored(patient, "NazwiskoImie", first).toString(), "Wiśniewska Zofia");
    EXPECT_EQ(Stored(patient, "CwWybrane", first).toString(), "H");
    // The new row carries the default settings from the start.
    EXPECT_EQ(Stored(patient, "WYL_L", second).toInt(), (10 << 16) | 29);
    EXPECT_EQ(Stored(patient, "PNC_F", second).toInt(), 0x51FF);
    EXPECT_EQ(Stored(patient, "NazwiskoImie", second).toString(), "");
}

TEST_P(PatientStore, DeleteTakesThePatientsTherapiesAlongAndNothingElse)
{
    const std::vector<int> ids = Seed({"Nowak Jan", "Kowalska Anna"}, 2);
    CPatient patient;
    ASSERT_TRUE(patient.Open(path));
    ASSERT_EQ(patient.ActiveId(), ids[1]);
    CDbConnection* db = patient.Connection();
    // Two therapies of the active patient, one of the other, each with rows.
    for (int owner : {ids[1], ids[0], ids[1]}) {
        db->Execute("INSERT INTO Statystyki (idPac, Data) VALUES (?, ?)",
                    {owner, "2024-01-01 10:00:00.000"});
        const int idStat = Scalar(db, "SELECT max(idStat) FROM Statystyki").toInt();
        db->Execute("INSERT INTO Cwiczenia (idStat, Cw) VALUES (?, 0), (?, 3)", {idStat, idStat});
    }
    patient.Settings().SetSelected(1, true);
    patient.Delete();
    EXPECT_EQ(patient.ActiveId(), -1);
    EXPECT_EQ(patient.Name(), "");
    EXPECT_EQ(patient.Description(), "");
    EXPECT_EQ(patient.Settings().Selected(), 0);
    EXPECT_EQ(Scalar(db, "SELECT count(*) FROM Pacjenci").toInt(), 1);
    EXPECT_EQ(Stored(patient, "NazwiskoImie", ids[0]).toString(), "Nowak Jan");
    EXPECT_EQ(Scalar(db, "SELECT count(*) FROM Statystyki WHERE idPac=?", {ids[1]}).toInt(), 0);
    EXPECT_EQ(Scalar(db, "SELECT count(*) FROM Statystyki WHERE idPac=?", {ids[0]}).toInt(), 1);
    EXPECT_EQ(Scalar(db, "SELECT count(*) FROM Cwiczenia").toInt(), 2);
    EXPECT_EQ(Scalar(db, "SELECT count(*) FROM Cwiczenia WHERE idStat NOT IN "
                         "(SELECT idStat FROM Statystyki)")
                  .toInt(),
              0);

    patient.Delete(); // none active: nothing
    EXPECT_EQ(Scalar(db, "SELECT count(*) FROM Pacjenci").toInt(), 1);
    patient.Select(ids[0]);
    EXPECT_EQ(patient.Name(), "Nowak Jan");
}

TEST_P(PatientStore, AFailedDeleteKeepsThePatientAndAllItsTherapies)
{
    const std::vector<int> ids = Seed({"Nowak Jan"}, 1);
    CPatient patient;
    ASSERT_TRUE(patient.Open(path));
    CDbConnection* db = patient.Connection();
    db->Execute("INSERT INTO Statystyki (idPac, Data) VALUES (?, '2024-01-01 10:00:00.000')",
                {ids[0]});
    db->Execute("INSERT INTO Cwiczenia (idStat, Cw) VALUES (1, 0)");
    // The patient's own row refuses to go, after its therapies went.
    if (IsClinic()) {
        db->Execute("CREATE FUNCTION Keep() RETURNS trigger LANGUAGE plpgsql AS "
                    "$$BEGIN RAISE EXCEPTION 'zablokowane'; END$$");
        db->Execute("CREATE TRIGGER Keep BEFORE DELETE ON Pacjenci FOR EACH ROW "
                    "EXECUTE FUNCTION Keep()");
    } else {
        db->Execute("CREATE TRIGGER Keep BEFORE DELETE ON Pacjenci BEGIN "
                    "SELECT RAISE(ABORT, 'zablokowane'); END");
    }
    EXPECT_THROW(patient.Delete(), CError);
    EXPECT_EQ(patient.ActiveId(), ids[0]);
    EXPECT_EQ(Scalar(db, "SELECT count(*) FROM Pacjenci").toInt(), 1);
    EXPECT_EQ(Scalar(db, "SELECT count(*) FROM Statystyki").toInt(), 1);
    EXPECT_EQ(Scalar(db, "SELECT count(*) FROM Cwiczenia").toInt(), 1);
    EXPECT_FALSE(db->InTransaction());
    // The store goes on working on the same patient.
    patient.SetName("Nowak Jan Piotr");
    patient.Save();
    EXPECT_EQ(Stored(patient, "NazwiskoImie", ids[0]).toString(), "Nowak Jan Piotr");
}

TEST_P(PatientStoreFile, ADamagedDatabaseIsRefusedUntouched)
{
    Seed({"Nowak Jan", "Kowalska Anna"}, 1);
    {
        CDbConnection connection;
        connection.Connect(path);
        for (int i = 0; i < 200; ++i)
            connection.Execute("INSERT INTO Statystyki (idPac, Data) VALUES (1, ?)",
                               {QString(200, QChar(u'x'))});
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 cut = file.size() / 2;
    ASSERT_TRUE(file.resize(cut));
    file.close();
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    {
        CPatient patient;
        EXPECT_FALSE(patient.Open(path));
        EXPECT_EQ(patient.ActiveId(), -1);
    }
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_FALSE(QFile::exists(path + "-journal"));
}

TEST_P(PatientStore, MarkTherapyTodayStoresTheDate)
{
    const std::vector<int> ids = Seed({"Nowak Jan"});
    CPatient patient;
    ASSERT_TRUE(patient.Open(path));
    patient.MarkTherapyToday();
    EXPECT_EQ(patient.LastDate(), QDate::currentDate());
    EXPECT_EQ(patient.LastDateText(), QDate::currentDate().toString("dd.MM.yyyy"));
    EXPECT_EQ(Stored(patient, "Ostatnia", ids[0]).toString(),
              QDate::currentDate().toString("yyyy-MM-dd") + " 00:00:00.000");
    EXPECT_EQ(Stored(patient, "Poczatek", ids[0]).toString(), "2023-02-01 00:00:00.000");
}

TEST_P(PatientStore, FillListSortsByNameInPolishOrder)
{
    const QStringList names = {"Żak Jan",    "Zając Ewa", "Łoś Piotr", "Lis Adam",
                               "Ćwik Ola",   "Cis Anna",  "Bąk Ida",   "Bzik Ela",
                               "adamski Jó", "Mazur Jan", "Dudek Rak", "Źrebiec Teo"};
    const std::vector<int> ids = Seed(names, -1);
    CPatient patient;
    ASSERT_TRUE(patient.Open(path));
    patient.Select(ids[2]); // "Łoś Piotr"

    QTreeWidget list;
    list.setColumnCount(3);
    patient.FillList(&list);
    const QStringList expected = {"adamski Jó", "Bąk Ida",   "Bzik Ela",    "Cis Anna",
                                  "Ćwik Ola",   "Dudek Rak", "Lis Adam",    "Łoś Piotr",
                                  "Mazur Jan",  "Zając Ewa", "Źrebiec Teo", "Żak Jan"};
    QStringList shown;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        shown << list.topLevelItem(i)->text(0);
    EXPECT_EQ(shown, expected);

    ASSERT_EQ(patient.ListIndex(), 7);
    QTreeWidgetItem* active = list.topLevelItem(7);
    EXPECT_TRUE(active->isSelected());
    EXPECT_EQ(list.currentItem(), active);
    EXPECT_EQ(active->data(0, Qt::UserRole).toInt(), ids[2]);
    EXPECT_EQ(active->text(1), "01.02.2023");
    EXPECT_EQ(active->text(2), "15.03.2024");
    EXPECT_EQ(active->text(3), "Opis Łoś Piotr");

    // The cursor is back on the active row: a save lands on the right patient.
    patient.SetName("Łoś Paweł");
    patient.Save();
    EXPECT_EQ(Stored(patient, "NazwiskoImie", ids[2]).toString(), "Łoś Paweł");

    // A renamed item sorts the same way when the list sorts itself.
    active->setText(0, "Ćma Ala");
    list.sortItems(0, Qt::AscendingOrder);
    EXPECT_EQ(list.topLevelItem(4)->text(0), "Ćma Ala");
    EXPECT_LT(CPatientListItem::Compare("Zając", "Źrebiec"), 0);
    EXPECT_LT(CPatientListItem::Compare("Źrebiec", "Żak"), 0);
}

TEST_P(PatientStore, FillListAgreesWithTheListsOwnSortForNamesOfEveryKind)
{
    // Same names (kept in stored order), numbers, case, every Polish letter,
    // blanks and an empty name.
    QStringList names;
    const QStringList stems = {"Żak",   "żak",  "Zak",  "Źdźbło", "Łoś",   "Los", "Ślęk",
                               "Sleek", "Ąbel", "Abel", "Ćma",    "Cma",   "Ńuk", "Nuk",
                               "Ęcka",  "Ecka", "Ó",    "O",      "Nowak", "",    "  Nowak"};
    for (int i = 0; i < 60; ++i)
        names << QString("%1 Pacjent %2").arg(stems[i % stems.size()]).arg(i % 13);
    names << "Nowak Jan"
          << "Nowak Jan"
          << "";
    const std::vector<int> ids = Seed(names, -1);
    CPatient patient;
    ASSERT_TRUE(patient.Open(path));
    patient.Select(ids[41]);

    QTreeWidget list;
    list.setColumnCount(3);
    patient.FillList(&list);
    ASSERT_EQ(list.topLevelItemCount(), int(names.size()));
    std::vector<int> filled;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        filled.push_back(list.topLevelItem(i)->data(0, Qt::UserRole).toInt());
    ASSERT_EQ(patient.ListIndex(),
              int(std::find(filled.begin(), filled.end(), ids[41]) - filled.begin()));
    EXPECT_EQ(list.currentItem(), list.topLevelItem(patient.ListIndex()));

    // The order the list gives itself from the stored order, by comparing
    // pairs (as after renaming a patient).
    QTreeWidget own;
    own.setColumnCount(3);
    for (int i = 0; i < names.size(); ++i) {
        auto* item = new CPatientListItem(&own);
        item->setText(0, names[i]);
        item->setData(0, Qt::UserRole, ids[std::size_t(i)]);
    }
    own.sortItems(0, Qt::AscendingOrder);
    std::vector<int> sorted;
    for (int i = 0; i < own.topLevelItemCount(); ++i)
        sorted.push_back(own.topLevelItem(i)->data(0, Qt::UserRole).toInt());
    EXPECT_EQ(filled, sorted);
    // And a sort of the filled list changes nothing.
    list.sortItems(0, Qt::AscendingOrder);
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        EXPECT_EQ(list.topLevelItem(i)->data(0, Qt::UserRole).toInt(), filled[std::size_t(i)]);
}

TEST_P(PatientStoreFile, MissingSettingsRowIsMadeAgainAtTheEnd)
{
    const std::vector<int> ids = Seed({"Nowak Jan", "Kowalska Anna"});
    {
        CDbConnection connection;
        connection.Connect(path);
        connection.Execute("DELETE FROM Ust");
    }
    {
        CPatient patient;
        ASSERT_TRUE(patient.Open(path)); // no stored choice: the first patient
        EXPECT_EQ(patient.ActiveId(), ids[0]);
        patient.Select(ids[1]);
    }
    CPatient patient;
    ASSERT_TRUE(patient.Open(path));
    EXPECT_EQ(patient.ActiveId(), ids[1]);
    EXPECT_EQ(Scalar(patient.Connection(), "SELECT count(*) FROM Ust").toInt(), 1);
}
