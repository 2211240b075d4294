// The own-material store: its files, the words and their media, the names it
// refuses, and failures that leave what is stored as it was.
#include "content/COwnMaterial.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "content/ContentScramble.h"
#include "platform/CDbConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

int Mode(const QString& path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 0777);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage Filled(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

COwnMaterial::SMedia Media(int seed = 0)
{
    COwnMaterial::SMedia media;
    media.Large = Filled(616, 462, QColor(200, 30, 30));
    media.Small = Filled(490, 368, QColor(200, 30, 30));
    media.Voice = MakeWave(22050, 1, 16, 8000, seed);
    return media;
}

COwnWord Word(const QString& name, int groups = 1, int patient = COwnWord::Everyone)
{
    COwnWord word;
    word.Nazwa = name;
    word.Grupy = groups;
    word.Pacjent = patient;
    return word;
}

class OwnMaterial : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(store.Open()) << store.LastError().toStdString(); }
    QStringList Files() const
    {
        return QDir(store.FolderPath()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    TempDir dir;
    COwnMaterial store{dir.path()};
};

TEST_F(OwnMaterial, IsCreatedWhenMissingForTheUserAlone)
{
    EXPECT_TRUE(QFileInfo(dir.file("wlasne.qp")).isFile());
    EXPECT_EQ(Mode(dir.file("wlasne.qp")), 0600);
    EXPECT_EQ(Mode(dir.file("Wlasne")), 0700);
    EXPECT_TRUE(store.Words().empty());
}

TEST_F(OwnMaterial, WordWithItsMediaIsStoredAndReadAgain)
{
    COwnWord word = Word("burek", 0x2, 7);
    word.Opis = "Nasz pies, który szczeka na listonosza.";
    COwnMaterial::SMedia media = Media();
    media.RiddleVoice = MakeWave(22050, 1, 16, 9000, 3);
    ASSERT_TRUE(store.Save(word, media)) << store.LastError().toStdString();
    EXPECT_GT(word.Id, 0);
    EXPECT_EQ(word.Nazwa, "BUREK"); // typed in any case, stored in capitals

    COwnMaterial again(dir.path());
    ASSERT_TRUE(again.Open());
    ASSERT_EQ(again.Words().size(), 1u);
    const COwnWord& read = again.Words()[0];
    EXPECT_EQ(read.Nazwa, "BUREK");
    EXPECT_EQ(read.Grupy, 0x2);
    EXPECT_EQ(read.Pacjent, 7);
    EXPECT_EQ(read.Opis, word.Opis);
    EXPECT_EQ(UnscrambleWv(ReadAll(again.VoicePath(read) + ".wv")), media.Voice);
    EXPECT_EQ(UnscrambleWv(ReadAll(again.RiddleVoicePath(read) + ".wv")), media.RiddleVoice);
    for (bool large : {true, false}) {
        QImage picture;
        ASSERT_TRUE(again.LoadPicture(read.Id, large, &picture));
        EXPECT_EQ(picture.size(), large ? QSize(616, 462) : QSize(490, 368));
        EXPECT_EQ(Mode(again.PicturePath(read, large)), 0600);
    }
    EXPECT_EQ(Mode(again.VoicePath(read) + ".wv"), 0600);
}

TEST_F(OwnMaterial, WordWithoutVoiceIsSpokenBySynthesizer)
{
    COwnWord word = Word("Mruczek");
    word.Opis = "Nasz kot.";
    COwnMaterial::SMedia media = Media();
    media.Voice.clear();
    ASSERT_TRUE(store.Save(word, media)) << store.LastError().toStdString();
    for (const QString& path : {store.VoicePath(word), store.RiddleVoicePath(word)}) {
        ASSERT_FALSE(path.isEmpty());
        const QByteArray wave = UnscrambleWv(ReadAll(path + ".wv"));
        ASSERT_GT(wave.size(), 44 + 2 * 2205) << "at least 0.05 s of speech";
        EXPECT_TRUE(wave.startsWith("RIFF"));
        EXPECT_EQ(wave.mid(8, 4), "WAVE");
    }
}

TEST_F(OwnMaterial, RefusesNamesWithTheReason)
{
    struct Case
    {
        const char* typed;
        const char* reason; // a part of the message
    };
    const Case cases[] = {
        {"", "Wpisz nazwę"},
        {"  ", "Wpisz nazwę"},
        {"kot 2", "tylko litery"},
        {"KOT-KA", "tylko litery"},
        {"QUIZ", "tylko litery"}, // Q is not a letter of the alphabet
        {"KONSTANTYNOPOLITAŃCZYK", "najwyżej 16"},
    };
    for (const Case& c : cases) {
        COwnWord word = Word(QString::fromUtf8(c.typed));
        EXPECT_FALSE(store.Save(word, Media())) << c.typed;
        EXPECT_TRUE(store.LastError().contains(QString::fromUtf8(c.reason)))
            << c.typed << ": " << store.LastError().toStdString();
    }
    EXPECT_TRUE(store.Words().empty());
    EXPECT_TRUE(Files().isEmpty()) << Files().join(", ").toStdString();

    COwnWord longest = Word("źdźbłożółćgęśjaź"); // 16 letters, lower case
    EXPECT_TRUE(store.Save(longest, Media())) << store.LastError().toStdString();
    COwnWord same = Word("ŹDŹBŁOŻÓŁĆGĘŚJAŹ");
    EXPECT_FALSE(store.Save(same, Media()));
    EXPECT_TRUE(store.LastError().contains("już")) << store.LastError().toStdString();
}

TEST_F(OwnMaterial, EditReplacesMediaAndRemoveLeavesNothing)
{
    COwnWord word = Word("DOM");
    ASSERT_TRUE(store.Save(word, Media(1)));
    const QStringList first = Files();
    ASSERT_EQ(first.size(), 3); // two pictures, one voice

    word.Nazwa = "DOMEK";
    word.Grupy = 0x3;
    ASSERT_TRUE(store.Save(word, Media(2))) << store.LastError().toStdString();
    const QStringList second = Files();
    EXPECT_EQ(second.size(), 3);
    for (const QString& name : first)
        EXPECT_FALSE(second.contains(name)) << name.toStdString();
    ASSERT_EQ(store.Words().size(), 1u);
    EXPECT_EQ(store.Words()[0].Nazwa, "DOMEK");

    // Only the categories change: the media stay.
    word.Grupy = 0x1;
    ASSERT_TRUE(store.Save(word, {}));
    EXPECT_EQ(Files(), second);

    ASSERT_TRUE(store.Remove(word.Id));
    EXPECT_TRUE(store.Words().empty());
    EXPECT_TRUE(Files().isEmpty());
    COwnMaterial again(dir.path());
    ASSERT_TRUE(again.Open());
    EXPECT_TRUE(again.Words().empty());
}

// A change refused by the database (here another copy of the program stored
// the same name meanwhile) takes back the files it had written.
TEST_F(OwnMaterial, FailedChangeLeavesStoredMaterialAsItWas)
{
    COwnMaterial other(dir.path());
    ASSERT_TRUE(other.Open());
    COwnWord first = Word("KOT");
    ASSERT_TRUE(store.Save(first, Media(1)));
    const QStringList before = Files();

    COwnWord second = Word("KOT");
    EXPECT_FALSE(other.Save(second, Media(2)));
    EXPECT_TRUE(other.LastError().contains("Nie można zapisać")) << other.LastError().toStdString();
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(other.Words().empty());
    COwnMaterial again(dir.path());
    ASSERT_TRUE(again.Open());
    ASSERT_EQ(again.Words().size(), 1u);
    EXPECT_EQ(UnscrambleWv(ReadAll(again.VoicePath(again.Words()[0]) + ".wv")), Media(1).Voice);
}

TEST(OwnMaterialDamaged, DamagedOrNewerDatabaseIsReportedAndLeftAlone)
{
    TempDir dir;
    {
        COwnMaterial store(dir.path());
        ASSERT_TRUE(store.Open());
    }
    CDbConnection db;
    db.Connect(dir.file("wlasne.qp"));
    db.Execute("UPDATE Wersja SET Numer = 99");
    db.Disconnect();
    COwnMaterial newer(dir.path());
    EXPECT_FALSE(newer.Open());
    EXPECT_TRUE(newer.LastError().contains("nowszej wersji")) << newer.LastError().toStdString();
    COwnWord word = Word("KOT");
    EXPECT_FALSE(newer.Save(word, Media()));

    QFile file(dir.file("wlasne.qp"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    for (qsizetype i = 100; i < bytes.size(); i += 7)
        bytes[i] = char(0xA5);
    file.seek(0);
    file.write(bytes);
    file.close();
    COwnMaterial damaged(dir.path());
    EXPECT_FALSE(damaged.Open());
    EXPECT_TRUE(damaged.LastError().contains("wlasne.qp")) << damaged.LastError().toStdString();
    EXPECT_TRUE(damaged.LastError().contains("dostarczonym"));
    EXPECT_EQ(ReadAll(dir.file("wlasne.qp")), bytes);
}

} // namespace
