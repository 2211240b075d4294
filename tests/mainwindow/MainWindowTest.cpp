// The main window on a small program folder: creation and its failures, the
// patient list with its naming rules, the start of a therapy with its checks,
// storing the therapy, deleting patients and the colour switch.
#include "MainFixture.h"
#include "app/AppMessage.h"
#include "app/CError.h"
#include "app/TFormSplash.h"
#include "common/MessageAnswerer.h"
#include "content/ContentSound.h"
#include "graphics/CTransButton.h"
#include "mainwindow/CKompBookmarks.h"
#include "mainwindow/CMainPage.h"
#include "mainwindow/CPatientsPage.h"
#include "mainwindow/CStatisticsPage.h"
#include "mainwindow/TFormMain.h"
#include "mainwindow/TFormMessage.h"
#include "patients/CPatient.h"
#include "patients/CPatientListItem.h"
#include "platform/CDbConnection.h"
#include "platform/CDbQuery.h"
#include "statistics/CNagrywanie.h"
#include "statistics/CStatistics.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using main_fixture::ProgramFolder;

namespace {

const QString kPlaceholder = QStringLiteral("<Wpisz nazwisko i imię>");
const QString kClef = QString::fromUcs4(U"\U0001D11E"); // two UTF-16 units

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDisplayModeFor(1024, 768);
        ColorMode = CM_COLOR;
        FilmDir = QStringLiteral("Data/asm/");
        ASSERT_TRUE(folder.ok());
        m_previousSound = TFormMessage::SetSoundFunction([](int) {});
        Create();
    }
    void TearDown() override
    {
        Destroy();
        TFormMessage::SetSoundFunction(m_previousSound);
        ColorMode = CM_COLOR;
    }

    void Create()
    {
        form = std::make_unique<TFormMain>();
        form->SetWaitPause(0);
        message = std::make_unique<TFormMessage>();
        form->SetMessageForm(message.get());
        form->show();
    }
    void Destroy()
    {
        message.reset();
        form.reset();
    }
    void Restart()
    {
        Destroy();
        Create();
    }

    QTreeWidget* Patients() const { return form->PatientsPage()->lvPacjeci; }
    QTreeWidget* Therapies() const { return form->StatisticsPage()->lvStatystyka; }
    int Page() const { return form->PageControl()->currentIndex(); }

    // Adds a patient and types `name` into the editor that opens.
    void AddPatient(const QString& name)
    {
        form->actPacDodaj->trigger();
        Type(name);
    }
    // The open name editor (closed ones wait for their deferred deletion).
    QLineEdit* Editor() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QLineEdit* e : Patients()->viewport()->findChildren<QLineEdit*>())
            if (e->isVisible())
                return e;
        return nullptr;
    }
    void Type(const QString& name)
    {
        QLineEdit* editor = Editor();
        ASSERT_NE(editor, nullptr) << "no name editor open";
        editor->setText(name);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < Patients()->topLevelItemCount(); ++i)
            names << Patients()->topLevelItem(i)->text(0);
        return names;
    }
    void ClickPatient(const QString& name)
    {
        const QList<QTreeWidgetItem*> items = Patients()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        const QRect r = Patients()->visualItemRect(items.front());
        QTest::mouseClick(Patients()->viewport(), Qt::LeftButton, {}, r.center());
        QCoreApplication::processEvents();
    }
    // Ticks or unticks exercise i as a therapist does, on its square.
    void ClickSquare(int exercise)
    {
        const CKompBookmarks::CBookmark& b = form->Bookmarks().Bookmark(2 + exercise);
        const QPoint p((b.SquareX + b.SquareRight) / 2, (b.SquareY + b.SquareBottom) / 2);
        QTest::mouseClick(form->Bookmarks().PaintBox(), Qt::LeftButton, {}, p);
    }
    QVariant Scalar(const QString& sql, const QVariantList& params = {})
    {
        CDbQuery q(form->Patient().Connection());
        q.SetSQL(sql, params);
        q.Open();
        return q.RecordCount() == 0 ? QVariant() : q.Fields(0).Value();
    }
    // From now on every change of a patient's row fails in SQLite itself.
    void RefusePatientUpdates()
    {
        form->Patient().Connection()->Execute("CREATE TRIGGER Odmowa BEFORE UPDATE ON Pacjenci "
                                              "BEGIN SELECT RAISE(ABORT, 'zapis odrzucony'); END");
    }
    // The names as the database holds them, in the list's order.
    QStringList StoredNames()
    {
        QStringList names;
        for (int i = 0; i < Patients()->topLevelItemCount(); ++i)
            names << Scalar("SELECT NazwiskoImie FROM Pacjenci WHERE idPac=?",
                            {Patients()->topLevelItem(i)->data(0, Qt::UserRole)})
                         .toString();
        return names;
    }
    // The window comes to the front, as after the start: the list gets the
    // keyboard focus.
    void Activate()
    {
        QApplication::setActiveWindow(form.get());
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QCoreApplication::processEvents();
    }
    QStringList Rows(const MessageAnswerer& a, int i) const { return a.shown.at(i).rows; }
    // The lines of a message with text, wherever the window put them.
    QString Text(const MessageAnswerer& a, int i) const
    {
        QStringList rows = a.shown.at(i).rows;
        rows.removeAll(QString());
        return rows.join(QLatin1Char('|'));
    }

    ProgramFolder folder;
    std::unique_ptr<TFormMain> form;
    std::unique_ptr<TFormMessage> message;

private:
    TFormMessage::SoundFunction m_previousSound;
};

TEST_F(MainWindowTest, EmptyDatabaseRefusesTheStartAndShowsThePatientsPage)
{
    EXPECT_EQ(Patients()->topLevelItemCount(), 0);
    EXPECT_EQ(form->NameLabel()->text(), QString());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Loquena Cz. I"));
    EXPECT_EQ(form->PageControl()->count(), 13);
    form->Bookmarks().SetCurrent(1);
    ASSERT_EQ(Page(), 1);

    MessageAnswerer answers;
    form->actStart->trigger();
    ASSERT_EQ(answers.shown.size(), 1);
    EXPECT_EQ(answers.shown[0].kind, TFormMessage::KindWarning);
    EXPECT_EQ(Rows(answers, 0), (QStringList{"Brak aktywnego pacjenta!", "",
                                             "Dodaj pacjenta do listy, kliknij przycisk dodaj",
                                             "a następnie wpisz nazwisko i imię."}));
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(form->Bookmarks().GetCurrent(), 0);
}

TEST_F(MainWindowTest, PageTitlesAreCentredOnTheirPages)
{
    for (int i = 1; i < 13; ++i) {
        QLabel* title = form->Page(i)->Title();
        ASSERT_NE(title, nullptr) << i;
        const int centre = title->x() + title->width() / 2;
        EXPECT_NEAR(centre, form->Page(i)->width() / 2, 1) << i;
    }
    EXPECT_EQ(form->Page(2)->Title()->text(), QStringLiteral("Wybieranie nazwy"));
    EXPECT_EQ(form->Page(1)->Title()->text(), QStringLiteral("Statystyka"));
    EXPECT_EQ(form->Page(0)->Title(), nullptr);
}

TEST_F(MainWindowTest, NamesAreTrimmedCutAndNeverEmpty)
{
    const QString fiftyFive = QString(55, QLatin1Char('a'));
    struct SCase
    {
        QString typed;
        QString stored;
    } cases[] = {
        {QStringLiteral("   Żółkiewski Łukasz  "), QStringLiteral("Żółkiewski Łukasz")},
        {fiftyFive, QString(40, QLatin1Char('a'))},
        // Characters outside the basic plane count as one each, never split.
        {QString(39, QLatin1Char('b')) + kClef + "cc", QString(39, QLatin1Char('b')) + kClef},
        {kClef.repeated(45), kClef.repeated(40)},
        // A cut that ends on a blank does not leave it at the end.
        {QString(39, QLatin1Char('d')) + "  ee", QString(39, QLatin1Char('d'))},
        {QStringLiteral("   "), kPlaceholder},
        {QString(), kPlaceholder},
    };
    for (const SCase& c : cases) {
        AddPatient(c.typed);
        EXPECT_EQ(form->Patient().Name(), c.stored) << c.typed.toStdString();
        EXPECT_EQ(form->NameLabel()->text(), c.stored);
        EXPECT_EQ(Patients()->currentItem()->text(0), c.stored);
        EXPECT_EQ(form->Patient().ListIndex(),
                  Patients()->indexOfTopLevelItem(Patients()->currentItem()));
    }
    // Adding saves the previous patient: the stored names follow the rules.
    const int id = form->Patient().ActiveId();
    form->actPacDodaj->trigger();
    Type(QStringLiteral("Nowak Anna"));
    EXPECT_EQ(Scalar("SELECT NazwiskoImie FROM Pacjenci WHERE idPac=?", {id}).toString(),
              kPlaceholder);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Pacjenci WHERE NazwiskoImie=?",
                     {QStringLiteral("Żółkiewski Łukasz")})
                  .toInt(),
              1);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Pacjenci WHERE NazwiskoImie=?",
                     {QString(40, QLatin1Char('a'))})
                  .toInt(),
              1);
    // The list is kept in name order.
    const QStringList names = Names();
    for (int i = 1; i < names.size(); ++i)
        EXPECT_LE(CPatientListItem::Compare(names[i - 1], names[i]), 0) << i;
}

TEST_F(MainWindowTest, EditingStartsOnlyFromTheActionsAndShowsThePlaceholderForNoName)
{
    AddPatient(QStringLiteral("Kowalski Jan"));
    // A double click on the name does not edit it.
    const QRect r = Patients()->visualItemRect(Patients()->currentItem());
    QTest::mouseDClick(Patients()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(Editor(), nullptr);

    form->actPacEdytuj->trigger();
    auto* editor = Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("Kowalski Jan"));
    Type(QStringLiteral("Kowalska Janina"));
    EXPECT_EQ(form->Patient().Name(), QStringLiteral("Kowalska Janina"));

    // A new patient's editor starts with the placeholder, which is the
    // patient's name until something is typed.
    form->actPacDodaj->trigger();
    editor = Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), kPlaceholder);
    EXPECT_EQ(form->Patient().Name(), kPlaceholder);
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(Patients()->currentItem()->text(0), kPlaceholder);
}

TEST_F(MainWindowTest, ActivePatientIsRememberedAcrossARestart)
{
    AddPatient(QStringLiteral("Adamska Ewa"));
    AddPatient(QStringLiteral("Zieliński Piotr"));
    ClickPatient(QStringLiteral("Adamska Ewa"));
    EXPECT_EQ(form->Patient().Name(), QStringLiteral("Adamska Ewa"));

    Restart();
    EXPECT_EQ(Names(), (QStringList{"Adamska Ewa", "Zieliński Piotr"}));
    EXPECT_EQ(form->Patient().Name(), QStringLiteral("Adamska Ewa"));
    EXPECT_EQ(form->NameLabel()->text(), QStringLiteral("Adamska Ewa"));
    ASSERT_NE(Patients()->currentItem(), nullptr);
    EXPECT_EQ(Patients()->currentItem()->text(0), QStringLiteral("Adamska Ewa"));
    EXPECT_EQ(form->Patient().ListIndex(), 0);
}

TEST_F(MainWindowTest, NameAndDescriptionAreStoredWhenAnotherPatientIsSelected)
{
    AddPatient(QStringLiteral("Adamska Ewa"));
    AddPatient(QStringLiteral("Zieliński Piotr"));
    ClickPatient(QStringLiteral("Adamska Ewa"));
    const int adamska = form->Patient().ActiveId();
    form->PatientsPage()->memoOpis->setPlainText(QStringLiteral("Afazja ruchowa, ćwiczyć rano."));
    form->actPacEdytuj->trigger();
    Type(QStringLiteral("Adamska-Nowak Ewa"));

    ClickPatient(QStringLiteral("Zieliński Piotr"));
    EXPECT_EQ(form->Patient().Name(), QStringLiteral("Zieliński Piotr"));
    EXPECT_EQ(form->PatientsPage()->memoOpis->toPlainText(), QString());
    EXPECT_EQ(Scalar("SELECT Opis FROM Pacjenci WHERE idPac=?", {adamska}).toString(),
              QStringLiteral("Afazja ruchowa, ćwiczyć rano."));
    EXPECT_EQ(Scalar("SELECT NazwiskoImie FROM Pacjenci WHERE idPac=?", {adamska}).toString(),
              QStringLiteral("Adamska-Nowak Ewa"));

    ClickPatient(QStringLiteral("Adamska-Nowak Ewa"));
    EXPECT_EQ(form->PatientsPage()->memoOpis->toPlainText(),
              QStringLiteral("Afazja ruchowa, ćwiczyć rano."));
}

TEST_F(MainWindowTest, ATypedNameIsStoredAtOnce)
{
    // Nothing else happens after the name: a program that is killed now must
    // still find it in the database.
    AddPatient(QStringLiteral("Adamska Ewa"));
    const int id = form->Patient().ActiveId();
    EXPECT_EQ(Scalar("SELECT NazwiskoImie FROM Pacjenci WHERE idPac=?", {id}).toString(),
              QStringLiteral("Adamska Ewa"));
    form->actPacEdytuj->trigger();
    Type(QStringLiteral("Adamska-Nowak Ewa"));
    EXPECT_EQ(Scalar("SELECT NazwiskoImie FROM Pacjenci WHERE idPac=?", {id}).toString(),
              QStringLiteral("Adamska-Nowak Ewa"));
}

TEST_F(MainWindowTest, DescriptionIsCutAt4000Characters)
{
    AddPatient(QStringLiteral("Nowak Anna"));
    form->PatientsPage()->memoOpis->setPlainText(QString(4100, QLatin1Char('x')));
    EXPECT_EQ(form->PatientsPage()->memoOpis->toPlainText().size(), 4000);
    EXPECT_EQ(form->Patient().Description().size(), 4000);

    // Counted in characters: a character of two UTF-16 units counts once
    // and is never split.
    form->PatientsPage()->memoOpis->setPlainText("x" + kClef.repeated(4100));
    EXPECT_EQ(form->PatientsPage()->memoOpis->toPlainText(), "x" + kClef.repeated(3999));
    EXPECT_EQ(form->Patient().Description(), "x" + kClef.repeated(3999));
}

TEST_F(MainWindowTest, KeysNeverChangeTheActivePatientOnlyAClickDoes)
{
    AddPatient(QStringLiteral("Adamska Ewa"));
    AddPatient(QStringLiteral("Bąk Tomasz"));
    AddPatient(QStringLiteral("Cichy Jan"));
    ClickPatient(QStringLiteral("Bąk Tomasz"));
    const int active = form->Patient().ActiveId();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Home}) {
        QTest::keyClick(Patients(), key);
        EXPECT_EQ(form->Patient().ActiveId(), active);
        EXPECT_EQ(Patients()->currentItem()->text(0), QStringLiteral("Bąk Tomasz"));
    }
    // A click on empty space keeps the active patient selected.
    QTest::mouseClick(Patients()->viewport(), Qt::LeftButton, {},
                      QPoint(10, Patients()->viewport()->height() - 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(form->Patient().ActiveId(), active);
    ASSERT_EQ(Patients()->selectedItems().size(), 1);
    EXPECT_EQ(Patients()->selectedItems().front()->text(0), QStringLiteral("Bąk Tomasz"));
}

TEST_F(MainWindowTest, StartChecksTheChosenExercisesAndTheirCategories)
{
    AddPatient(QStringLiteral("Kowalski Jan"));
    {
        MessageAnswerer answers;
        form->actStart->trigger();
        ASSERT_EQ(answers.shown.size(), 1);
        EXPECT_TRUE(
            Text(answers, 0)
                .startsWith(QStringLiteral("Musisz wybrać ćwiczenia aby rozpocząć terapię.")));
    }
    ClickSquare(CTherapySettings::WY);
    EXPECT_EQ(form->Patient().Settings().Selected(), 1);
    ClickSquare(CTherapySettings::PWP);
    ClickSquare(CTherapySettings::WYL);
    EXPECT_EQ(form->Patient().Settings().SelectedCount(), 3);

    CTherapySettings& s = form->Patient().Settings();
    s.Get_ExeSet(CTherapySettings::WY).Flags &= ~0x1FF;
    s.Get_ExeSet(CTherapySettings::PWP).Flags &= ~0xF;
    s.SetWylDays(false);
    s.SetWylMonths(false);
    s.SetWylDigits(false);
    ASSERT_EQ(s.Get_ExeSet(CTherapySettings::WYL).LZ, 0);
    struct SStep
    {
        int fix; // the exercise whose category is ticked after the message
        QString message;
        int page;
    } steps[] = {
        {CTherapySettings::WY, "Nie wybrano żadnej kategorii obrazków!", 2},
        {CTherapySettings::PWP, "Nie wybrano żadnej kategorii przysłów!", 6},
        {CTherapySettings::WYL, "Nie wybrano żadnego typu ciągów!", 9},
    };
    int runs = 0;
    form->SetTherapyRunner([&runs](CPatient&, CStatistics&) { ++runs; });
    for (const SStep& step : steps) {
        form->Bookmarks().SetCurrent(0);
        MessageAnswerer answers;
        form->actStart->trigger();
        ASSERT_EQ(answers.shown.size(), 1);
        EXPECT_EQ(answers.shown[0].kind, TFormMessage::KindWarning);
        EXPECT_EQ(Text(answers, 0), step.message);
        EXPECT_EQ(Page(), step.page);
        EXPECT_EQ(runs, 0);
        if (step.fix == CTherapySettings::WYL)
            s.SetWylDays(true);
        else
            s.Get_ExeSet(step.fix).Flags |= 1;
    }
    MessageAnswerer none;
    form->actStart->trigger();
    EXPECT_TRUE(none.shown.isEmpty());
    EXPECT_EQ(runs, 1);
}

TEST_F(MainWindowTest, ATherapyIsRunStoredAndShownOnTheStatisticsPage)
{
    AddPatient(QStringLiteral("Kowalski Jan"));
    ClickSquare(CTherapySettings::UK);
    ClickSquare(CTherapySettings::WY);
    bool waitShown = false;
    int order0 = -1;
    form->SetTherapyRunner([&](CPatient& patient, CStatistics& stats) {
        waitShown = form->WaitShown();
        order0 = patient.Settings().Order()[0];
        // The patient works and then stops: two WY tasks, one with an error.
        CStatEx* wy = stats.Get_P_StatEx(CTherapySettings::WY);
        wy->Rozw = 2;
        wy->Blad = 1;
        wy->Czas = 600;
    });
    form->actStart->trigger();
    EXPECT_TRUE(waitShown);
    EXPECT_FALSE(form->WaitShown());
    EXPECT_EQ(order0, CTherapySettings::UK); // the order of ticking
    EXPECT_EQ(Page(), 1);
    ASSERT_EQ(Therapies()->topLevelItemCount(), 1);
    EXPECT_EQ(Therapies()->currentItem(), Therapies()->topLevelItem(0));
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    EXPECT_TRUE(Therapies()->topLevelItem(0)->text(0).contains(today));
    EXPECT_EQ(Patients()->currentItem()->text(2), today);

    const int id = form->Patient().ActiveId();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Statystyki WHERE idPac=?", {id}).toInt(), 1);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Cwiczenia").toInt(), 2);
    // The last-therapy date reaches the database with the patient's record.
    Restart();
    EXPECT_EQ(form->Patient().LastDateText(), today);
    EXPECT_EQ(Therapies()->topLevelItemCount(), 1);
}

TEST_F(MainWindowTest, DeletingAPatientAsksAndAsksAgainAboutRecordings)
{
    form->SetTherapyRunner([](CPatient&, CStatistics&) {});
    AddPatient(QStringLiteral("Adamska Ewa"));
    AddPatient(QStringLiteral("Bąk Tomasz"));
    AddPatient(QStringLiteral("Cichy Jan"));
    // Bąk has a therapy with a recorded utterance.
    ClickPatient(QStringLiteral("Bąk Tomasz"));
    ClickSquare(CTherapySettings::WY);
    form->actStart->trigger();
    CStatistics& stats = form->Statistics();
    stats.LoadTherapy(form->Patient().ActiveId(),
                      Therapies()->topLevelItem(0)->data(0, Qt::UserRole).toInt());
    QDir().mkpath(QStringLiteral("Nagrane"));
    ASSERT_TRUE(CNagrywanie::WriteEmptyWave(stats.UtteranceFileName()));
    Therapies()->topLevelItem(0)->setSelected(true);
    stats.RefreshRecordingMarks(Therapies());
    const QString recording = stats.UtteranceFileName();
    form->Bookmarks().SetCurrent(0);

    {
        MessageAnswerer answers({MessageAnswerer::Tak, MessageAnswerer::Nie});
        form->actPacUsun->trigger();
        ASSERT_EQ(answers.shown.size(), 2);
        EXPECT_EQ(Text(answers, 0), QStringLiteral("Czy naprawdę chcesz usunąć pacjenta?"));
        EXPECT_EQ(Rows(answers, 1), (QStringList{"Dla tego pacjenta istnieją nagrania",
                                                 "i zostaną one również usunięte.", "",
                                                 "Czy chcesz kontynuować usuwanie?"}));
        EXPECT_EQ(Names().size(), 3);
        EXPECT_TRUE(QFile::exists(recording));
    }
    {
        MessageAnswerer answers({MessageAnswerer::Tak, MessageAnswerer::Tak});
        form->actPacUsun->trigger();
        EXPECT_EQ(answers.shown.size(), 2);
        EXPECT_EQ(Names(), (QStringList{"Adamska Ewa", "Cichy Jan"}));
        EXPECT_FALSE(QFile::exists(recording));
        // The patient at the same place becomes active.
        EXPECT_EQ(form->Patient().Name(), QStringLiteral("Cichy Jan"));
        EXPECT_EQ(Patients()->currentItem()->text(0), QStringLiteral("Cichy Jan"));
    }
    {
        // Without recordings one question; the last one gives way to the one
        // before it.
        MessageAnswerer answers({MessageAnswerer::Tak});
        form->actPacUsun->trigger();
        EXPECT_EQ(answers.shown.size(), 1);
        EXPECT_EQ(Names(), (QStringList{"Adamska Ewa"}));
        EXPECT_EQ(form->Patient().Name(), QStringLiteral("Adamska Ewa"));
    }
    {
        MessageAnswerer answers({MessageAnswerer::Nie});
        form->actPacUsun->trigger();
        EXPECT_EQ(Names().size(), 1);
    }
    {
        MessageAnswerer answers({MessageAnswerer::Tak});
        form->actPacUsun->trigger();
        EXPECT_TRUE(Names().isEmpty());
        EXPECT_EQ(form->Patient().ActiveId(), -1);
        EXPECT_EQ(form->NameLabel()->text(), QString());
        EXPECT_EQ(Therapies()->topLevelItemCount(), 0);
        EXPECT_EQ(form->Patient().ListIndex(), -1);
    }
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Pacjenci").toInt(), 0);
}

// A stored active patient that no longer exists (the program was killed right
// after deleting it): no patient is active, and neither the focus nor the
// keys may give the list a row that the two buttons would then act on.
TEST_F(MainWindowTest, WithoutAnActivePatientTheListShowsNoRowToEditOrDelete)
{
    AddPatient(QStringLiteral("Adamska Ewa"));
    AddPatient(QStringLiteral("Bąk Tomasz"));
    Destroy();
    {
        CDbConnection db;
        db.Connect(folder.file("pacmem.qp"));
        db.Execute("UPDATE Ust SET AktywnyPac=999");
    }
    Create();
    Activate();
    ASSERT_EQ(form->Patient().ActiveId(), -1);
    QTest::keyClick(Patients(), Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(Patients()->currentItem(), nullptr);
    EXPECT_TRUE(Patients()->selectedItems().isEmpty());

    form->actPacEdytuj->trigger();
    if (Editor())
        Type(QStringLiteral("Nowak Anna"));
    EXPECT_EQ(Names(), StoredNames());
    EXPECT_EQ(Names(), (QStringList{"Adamska Ewa", "Bąk Tomasz"}));
    {
        MessageAnswerer answers({MessageAnswerer::Tak, MessageAnswerer::Tak});
        form->actPacUsun->trigger();
        EXPECT_TRUE(answers.shown.isEmpty());
    }
    EXPECT_EQ(Names(), (QStringList{"Adamska Ewa", "Bąk Tomasz"}));
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Pacjenci").toInt(), 2);

    // A click makes a patient active; from then on the buttons work on it.
    ClickPatient(QStringLiteral("Bąk Tomasz"));
    form->actPacEdytuj->trigger();
    Type(QStringLiteral("Bąk Tomasz Jan"));
    EXPECT_EQ(Names(), StoredNames());
    EXPECT_EQ(Names(), (QStringList{"Adamska Ewa", "Bąk Tomasz Jan"}));
}

// The description box belongs to the active patient: with none there is
// nowhere to keep what would be typed.
TEST_F(MainWindowTest, WithoutAnActivePatientTheDescriptionTakesNoText)
{
    Activate();
    QPlainTextEdit* memo = form->PatientsPage()->memoOpis;
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("Opis"));
    EXPECT_EQ(memo->toPlainText(), QString());
    AddPatient(QStringLiteral("Nowak Anna"));
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("Opis"));
    EXPECT_EQ(form->Patient().Description(), QStringLiteral("Opis"));
}

// A database that refuses the last save must not end the program with
// std::terminate: the user is told, and the rest of the shutdown runs.
TEST_F(MainWindowTest, ASaveThatFailsAtExitIsReportedAndTheProgramEndsInOrder)
{
    AddPatient(QStringLiteral("Nowak Anna"));
    form->PatientsPage()->memoOpis->setPlainText(QStringLiteral("Nowy opis"));
    RefusePatientUpdates();
    QStringList shown;
    const AppMessageFn previous =
        SetAppMessageHandler([&shown](QMessageBox::Icon icon, const QString&, const QString& text,
                                      QMessageBox::StandardButtons) {
            EXPECT_EQ(icon, QMessageBox::Critical);
            shown << text;
            return QMessageBox::Ok;
        });
    message.reset();
    form.reset();
    SetAppMessageHandler(previous);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("Nie udało się zapisać danych pacjenta!")))
        << shown[0].toStdString();
    EXPECT_EQ(WindowsContainer, nullptr);
    EXPECT_EQ(ButtonsContainer, nullptr);
}

// The therapy's results go into the database before the patient's date: a
// date that cannot be written must not take the results with it.
TEST_F(MainWindowTest, TheResultsAreStoredEvenWhenTheTherapyDateIsNot)
{
    AddPatient(QStringLiteral("Kowalski Jan"));
    ClickSquare(CTherapySettings::WY);
    form->SetTherapyRunner([this](CPatient&, CStatistics& stats) {
        stats.Get_P_StatEx(CTherapySettings::WY)->Rozw = 3;
        RefusePatientUpdates();
    });
    EXPECT_THROW(form->actStart->trigger(), CError);
    const int id = form->Patient().ActiveId();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Statystyki WHERE idPac=?", {id}).toInt(), 1);
    EXPECT_EQ(Scalar("SELECT Rozw FROM Cwiczenia").toInt(), 3);
    EXPECT_EQ(Therapies()->topLevelItemCount(), 1);
    EXPECT_FALSE(form->WaitShown());
    form->Patient().Connection()->Execute("DROP TRIGGER Odmowa");
}

// A therapy window that fails to start (its material missing, for one) ends
// the start with an error; the wait picture goes with it.
TEST_F(MainWindowTest, AStartThatFailsClearsTheWaitPicture)
{
    AddPatient(QStringLiteral("Kowalski Jan"));
    ClickSquare(CTherapySettings::WY);
    bool shownDuring = false;
    form->SetTherapyRunner([&](CPatient&, CStatistics&) {
        shownDuring = form->WaitShown();
        throw CError(QStringLiteral("Brak pliku Data/cextb.bc"));
    });
    EXPECT_THROW(form->actStart->trigger(), CError);
    EXPECT_TRUE(shownDuring);
    EXPECT_FALSE(form->WaitShown());
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM Statystyki").toInt(), 0);
}

TEST_F(MainWindowTest, ColourAndGreyTwiceGivesColourBack)
{
    const QImage colour = *form->Background();
    auto isGrey = [](const QImage& img) {
        const QColor c = img.pixelColor(img.width() / 2, img.height() / 2);
        return c.red() == c.green() && c.green() == c.blue();
    };
    ASSERT_FALSE(isGrey(colour));
    form->actMonoKolor->trigger();
    EXPECT_EQ(ColorMode, CM_MONO);
    EXPECT_EQ(FilmDir, QStringLiteral("Data/asmgr/"));
    EXPECT_TRUE(isGrey(*form->Background()));
    EXPECT_TRUE(isGrey(form->Bookmarks().Buffer()));
    EXPECT_FALSE(form->WaitShown());

    form->actMonoKolor->trigger();
    EXPECT_EQ(ColorMode, CM_COLOR);
    EXPECT_EQ(FilmDir, QStringLiteral("Data/asm/"));
    EXPECT_EQ(*form->Background(), colour);
}

TEST_F(MainWindowTest, ExitAsksFirst)
{
    {
        MessageAnswerer answers({MessageAnswerer::Nie});
        form->actWyjscie->trigger();
        ASSERT_EQ(answers.shown.size(), 1);
        EXPECT_EQ(Text(answers, 0), QStringLiteral("Czy na pewno chcesz wyjść z programu?"));
        EXPECT_TRUE(form->isVisible());
    }
    MessageAnswerer answers({MessageAnswerer::Tak});
    form->actWyjscie->trigger();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindowTest, TheMainButtonsAreInPlaceAndRunTheirActions)
{
    for (const char* name : {"tbInfo", "tbPomoc", "tbStart", "tbMonoKolor", "tbWyjscie"}) {
        CTransButton* b = form->Button(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_TRUE(b->isVisible()) << name;
        EXPECT_EQ(b->size(), QSize(64, 64)) << name;
        EXPECT_TRUE(form->rect().contains(b->geometry())) << name;
    }
    EXPECT_EQ(form->Button("tbStart")->pos(), QPoint(914, 349));
    // The patient buttons stand at their markers on the patients page.
    EXPECT_EQ(form->Button("tbDodaj")->pos(), form->PatientsPage()->btPacjentDodaj->pos());
    EXPECT_EQ(form->Button("tbUsun")->pos(), form->PatientsPage()->btPacjentUsun->pos());

    MessageAnswerer answers;
    CTransButton* start = form->Button("tbStart");
    QTest::mouseClick(start, Qt::LeftButton, {}, start->rect().center());
    ASSERT_EQ(answers.shown.size(), 1);
    EXPECT_TRUE(Text(answers, 0).startsWith(QStringLiteral("Brak aktywnego pacjenta!")));
}

TEST_F(MainWindowTest, FirstShowFreesTheSplash)
{
    Destroy();
    FormSplash = std::make_unique<TFormSplash>(QStringLiteral("Data/none.b"));
    Create();
    EXPECT_EQ(FormSplash, nullptr);
}

TEST_F(MainWindowTest, RecorderMessagesGoThroughTheMessageWindow)
{
    form->Recorder().SetSpaceCheck(QStringLiteral("."),
                                   [](const QString&, QString* drive, std::uint64_t* free) {
                                       *drive = QStringLiteral("/");
                                       *free = 1024;
                                       return true;
                                   });
    MessageAnswerer answers;
    EXPECT_FALSE(form->Recorder().HasSpaceForRecording());
    ASSERT_EQ(answers.shown.size(), 1);
    EXPECT_TRUE(
        Text(answers, 0).startsWith(QStringLiteral("Niewystarczająca ilość miejsca na dysku")));
}

struct SCreationFailure
{
    const char* file;
    const char* message;
    bool cut = false; // the first half of the file is left instead of none
};

class MainWindowCreationTest : public ::testing::TestWithParam<SCreationFailure>
{
};

TEST_P(MainWindowCreationTest, AMissingFileFailsCreationWithItsNumber)
{
    SetDisplayModeFor(1024, 768);
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    QFile file(folder.file(QLatin1String(GetParam().file)));
    if (GetParam().cut) {
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(file.size() / 2));
        file.close();
    } else {
        ASSERT_TRUE(file.remove());
    }
    const QByteArray left = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    file.close();
    try {
        TFormMain form;
        FAIL() << "created with a damaged " << GetParam().file;
    } catch (const CError& e) {
        EXPECT_TRUE(e.Message().startsWith(QString::fromUtf8(GetParam().message)))
            << e.Message().toStdString();
        EXPECT_TRUE(e.Message().endsWith(QStringLiteral(
            "\n\n Jeśli ten błąd się powtarza, to proszę zainstalować program ponownie.")));
    }
    // What is left of a damaged file stays as it was.
    if (GetParam().cut) {
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), left);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, MainWindowCreationTest,
    ::testing::Values(
        SCreationFailure{"pacmem.qp", "#03: Błąd bazy pacjentów!"},
        SCreationFailure{"Data/grwin.bc", "#01: Błąd podczas ładowania zasobów!"},
        SCreationFailure{"Data/bttofa.bc", "#02: Błąd podczas ładowania zasobów!"},
        SCreationFailure{"pacmem.qp", "#03: Błąd bazy pacjentów!", true},
        SCreationFailure{"Data/grwin.bc", "#01: Błąd podczas ładowania zasobów!", true},
        SCreationFailure{"Data/bttofa.bc", "#02: Błąd podczas ładowania zasobów!", true}));

} // namespace
