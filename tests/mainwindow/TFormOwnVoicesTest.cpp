// "Własne nagrania": picking a shipped item by kind and search, recording the
// therapist's own voice for it, and removing it again; the main window's
// button that opens it.
#include "mainwindow/TFormOwnVoices.h"
#include "ColourCount.h"
#include "MainFixture.h"
#include "SkinFixture.h"
#include "app/DisplayMode.h"
#include "common/FileFixture.h"
#include "common/MessageAnswerer.h"
#include "common/WaveFixture.h"
#include "content/ContentScramble.h"
#include "content/OwnVoices.h"
#include "mainwindow/TFormMain.h"
#include "mainwindow/TFormMessage.h"
#include "platform/CDbConnection.h"
#include "platform/CWaveImage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

bool WriteContent(const QString& path)
{
    if (!CreateContentDatabase(path))
        return false;
    CDbConnection db;
    db.Connect(path);
    db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) VALUES "
               "('ZOLW', 'żółw', 0, 'Z', 'Nosi swój dom na grzbiecie.', 1), "
               "('KOT', 'kot', 1, 'Z', '', 1), ('ZEGAR', 'zegar', 2, 'D', '', 1)");
    db.Execute("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES "
               "(7, 'Gdzie kucharek sześć', 'tam nie ma co jeść', 'Z', 1)");
    db.Execute("INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) VALUES "
               "(12, 'mycie', 'mycie zębów', 'myje zęby', 'H', 1)");
    return true;
}

QStringList Column(QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

// A program folder with the material's database, the current folder.
class OwnVoicesFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDisplayModeFor(1280, 960);
        ColorMode = CM_COLOR;
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(WriteContent(folder.file("Data/sdrow.qp")));
        ASSERT_TRUE(
            message.Open(SkinFixture::Get().OpenWindows(), SkinFixture::Get().OpenButtons()));
        previousTaker = TFormOwnVoices::SetVoiceTaker(
            [this](QWidget*, TFormMessage*, const QString& what) -> std::optional<QByteArray> {
                asked << what;
                return voice;
            });
    }
    void TearDown() override
    {
        TFormOwnVoices::SetVoiceTaker(previousTaker);
        TFormOwnVoices::SetShowHook({});
        message.Close();
        ColorMode = CM_COLOR;
    }

    // Opens the window with `work` as the therapist's hands inside it.
    bool Open(const std::function<void(TFormOwnVoices&)>& work)
    {
        TFormOwnVoices::SetShowHook([work](TFormOwnVoices& form) {
            work(form);
            if (form.isVisible())
                QTest::mouseClick(form.ButtonClose(), Qt::LeftButton);
        });
        return TFormOwnVoices::ShowModal(nullptr, message.get());
    }

    static void Choose(TFormOwnVoices& form, int kind, const QString& search)
    {
        form.KindBox()->setCurrentIndex(kind);
        form.SearchEdit()->clear();
        // Typed letter by letter, Polish ones too.
        for (const QChar c : search)
            QTest::sendKeyEvent(QTest::Click, form.SearchEdit(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }

    main_fixture::ProgramFolder folder;
    MessageWindowFixture message;
    TFormOwnVoices::VoiceTaker previousTaker;
    std::optional<QByteArray> voice = MakeWave(22050, 1, 16, 22050 / 2);
    QStringList asked;
};

} // namespace

TEST_F(OwnVoicesFormTest, ItemsArePickedByKindAndSearch)
{
    ASSERT_TRUE(Open([&](TFormOwnVoices& form) {
        EXPECT_EQ(Column(form.List(), TFormOwnVoices::ColumnText),
                  (QStringList{"żółw", "kot", "zegar"}));
        EXPECT_EQ(Column(form.List(), TFormOwnVoices::ColumnVoice),
                  (QStringList{"syntetyczny", "syntetyczny", "syntetyczny"}));
        Choose(form, COwnVoiceItems::KindWord, "Z");
        EXPECT_EQ(Column(form.List(), 0), (QStringList{"zegar"})) << "Ż is not Z";
        Choose(form, COwnVoiceItems::KindWord, "ŻÓ");
        EXPECT_EQ(Column(form.List(), 0), (QStringList{"żółw"}));
        Choose(form, COwnVoiceItems::KindWord, "o");
        EXPECT_EQ(Column(form.List(), 0), (QStringList{"kot"})) << "ó is not o";
        Choose(form, COwnVoiceItems::KindRiddle, "");
        EXPECT_EQ(Column(form.List(), 0), (QStringList{"Nosi swój dom na grzbiecie."}));
        Choose(form, COwnVoiceItems::KindProverb, "jeść");
        EXPECT_EQ(Column(form.List(), 0), (QStringList{"… tam nie ma co jeść"}));
        Choose(form, COwnVoiceItems::KindCaption, "");
        EXPECT_EQ(Column(form.List(), 0), (QStringList{"MYCIE ZĘBÓW", "MYJE ZĘBY"}));
        Choose(form, COwnVoiceItems::KindPhrase, "brawo");
        EXPECT_EQ(Column(form.List(), 0), (QStringList{"Brawo!"}));
        Choose(form, COwnVoiceItems::KindWord, "słoń");
        EXPECT_EQ(form.List()->topLevelItemCount(), 0);
        EXPECT_FALSE(form.ButtonRecord()->isEnabled());
        EXPECT_FALSE(form.ButtonPlay()->isEnabled());
    }));
}

TEST_F(OwnVoicesFormTest, AnOwnVoiceIsRecordedStoredAndRemovedAgain)
{
    ASSERT_TRUE(QDir().mkpath("Nagrane"));
    ASSERT_TRUE(Open([&](TFormOwnVoices& form) {
        Choose(form, COwnVoiceItems::KindProverb, "kucharek");
        EXPECT_FALSE(form.ButtonRemove()->isEnabled()) << "nothing to remove yet";
        QTest::mouseClick(form.ButtonRecord(), Qt::LeftButton);
        EXPECT_EQ(asked, QStringList{"Gdzie kucharek sześć …"});
        EXPECT_EQ(Column(form.List(), TFormOwnVoices::ColumnVoice), QStringList{"własny"});
        EXPECT_TRUE(form.ButtonRemove()->isEnabled());
        QTest::mouseClick(form.ButtonPlay(), Qt::LeftButton);
    }));
    QFile stored("Glosy/ps/p007.wv");
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(UnscrambleWv(stored.readAll()), *voice);
    EXPECT_EQ(QDir("Nagrane").entryList(QDir::Files), QStringList());

    // The window opened again shows it; removing asks first.
    MessageAnswerer answerer({MessageAnswerer::Nie, MessageAnswerer::Tak});
    ASSERT_TRUE(Open([&](TFormOwnVoices& form) {
        Choose(form, COwnVoiceItems::KindProverb, "kucharek");
        EXPECT_EQ(Column(form.List(), TFormOwnVoices::ColumnVoice), QStringList{"własny"});
        QTest::mouseClick(form.ButtonRemove(), Qt::LeftButton);
        EXPECT_TRUE(HasOwnVoice("Data/ps/p007")) << "answered Nie";
        QTest::mouseClick(form.ButtonRemove(), Qt::LeftButton);
        EXPECT_FALSE(HasOwnVoice("Data/ps/p007"));
        EXPECT_EQ(Column(form.List(), TFormOwnVoices::ColumnVoice), QStringList{"syntetyczny"});
        EXPECT_FALSE(form.ButtonRemove()->isEnabled());
    }));
    ASSERT_EQ(answerer.shown.size(), 2);
    EXPECT_EQ(answerer.shown[0].rows.value(0), "Usunąć własne nagranie?");
    EXPECT_EQ(answerer.shown[0].rows.value(1), "Gdzie kucharek sześć …");
}

TEST_F(OwnVoicesFormTest, AFailedSaveIsToldAndKeepsTheRecordingHeldBefore)
{
    ASSERT_TRUE(SaveOwnVoice("Data/ws/KOT", MakeWave(22050, 1, 16, 300, 3)));
    QFile held("Glosy/ws/KOT.wv");
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    const QByteArray before = held.readAll();
    held.close();
    MessageAnswerer answerer;
    ASSERT_TRUE(Open([&](TFormOwnVoices& form) {
        Choose(form, COwnVoiceItems::KindWord, "kot");
        {
            const FileSizeLimit diskFull(2000);
            ASSERT_TRUE(diskFull.ok());
            QTest::mouseClick(form.ButtonRecord(), Qt::LeftButton);
        }
        EXPECT_EQ(Column(form.List(), TFormOwnVoices::ColumnVoice), QStringList{"własny"});
    }));
    ASSERT_EQ(answerer.shown.size(), 1);
    EXPECT_EQ(answerer.shown[0].rows.value(0), "Nie udało się zapisać nagrania!");
    EXPECT_EQ(answerer.shown[0].rows.value(2), "Poprzednie własne nagranie zostało bez zmian.");
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    EXPECT_EQ(held.readAll(), before);
    EXPECT_EQ(QDir("Glosy/ws").entryList(QDir::Files | QDir::Hidden), QStringList{"KOT.wv"});
}

TEST_F(OwnVoicesFormTest, AFolderThatCannotBeMadeIsTold)
{
    QFile blocker("Glosy");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
    blocker.close();
    MessageAnswerer answerer;
    ASSERT_TRUE(Open([&](TFormOwnVoices& form) {
        QTest::mouseClick(form.ButtonRecord(), Qt::LeftButton);
        EXPECT_EQ(Column(form.List(), TFormOwnVoices::ColumnVoice).value(0), "syntetyczny");
    }));
    ASSERT_EQ(answerer.shown.size(), 1);
    EXPECT_EQ(answerer.shown[0].rows.value(0), "Nie udało się zapisać nagrania!");
    EXPECT_EQ(answerer.shown[0].rows.value(2), "Zostaje głos syntetyczny.");
}

TEST_F(OwnVoicesFormTest, CancelledVoiceStoresNothingAndMissingMaterialIsTold)
{
    voice.reset();
    ASSERT_TRUE(Open(
        [&](TFormOwnVoices& form) { QTest::mouseClick(form.ButtonRecord(), Qt::LeftButton); }));
    EXPECT_FALSE(QDir("Glosy").exists());

    QFile::remove("Data/sdrow.qp");
    MessageAnswerer answerer;
    EXPECT_FALSE(Open([](TFormOwnVoices&) { ADD_FAILURE() << "no window without material"; }));
    ASSERT_EQ(answerer.shown.size(), 1);
    EXPECT_EQ(answerer.shown[0].rows.value(1), "Nie można wczytać materiału programu!")
        << "two lines sit in the middle";
}

TEST_F(OwnVoicesFormTest, TheMainWindowOpensItAndItLooksLikeTheProgram)
{
    const QString shots = qEnvironmentVariable("LOQUENA_SCREENSHOT_DIR");
    for (int size : {1280, 1024, 800}) {
        SetDisplayModeFor(size, size * 3 / 4);
        for (int mode : {CM_COLOR, CM_MONO}) {
            ColorMode = mode;
            SCOPED_TRACE(testing::Message() << size << (mode == CM_MONO ? " grey" : " colour"));
            TFormMain main;
            main.SetWaitPause(0);
            main.SetMessageForm(message.get());
            main.show();
            auto* button = main.findChild<QPushButton*>("btWlasneNagrania");
            ASSERT_TRUE(button);
            EXPECT_TRUE(button->isVisible());
            const QRect pomoc = main.Button("tbPomoc")->geometry();
            const QRect start = main.Button("tbStart")->geometry();
            EXPECT_GT(button->geometry().top(), pomoc.bottom());
            EXPECT_LT(button->geometry().bottom(), start.top());
            bool opened = false;
            TFormOwnVoices::SetShowHook([&](TFormOwnVoices& form) {
                opened = true;
                EXPECT_LE(form.width(), DesignWidth);
                EXPECT_LE(form.height(), DesignHeight);
                EXPECT_EQ(ColourfulPixels(form.grab().toImage()) == 0, mode == CM_MONO);
                if (!shots.isEmpty() && size == 1280) {
                    const QString look = mode == CM_MONO ? "grey" : "colour";
                    form.grab().save(shots + "/own-voices-" + look + ".png");
                    main.grab().save(shots + "/main-" + look + ".png");
                }
                form.accept();
            });
            QTest::mouseClick(button, Qt::LeftButton);
            EXPECT_TRUE(opened);
        }
    }
    SetDisplayModeFor(1280, 960);
}
