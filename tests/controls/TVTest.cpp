#include "common/FileFixture.h"
#include "common/TempDir.h"
#include "content/ContentScramble.h"
#include "controls/CKompTV.h"
#include "platform/CFilmPlayer.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QDateTime FilmDate()
{
    return QDateTime(QDate(2005, 9, 7), QTime(15, 15, 0));
}

QDateTime Modified(const QString& path)
{
    return QFileInfo(path).lastModified();
}

void SetModified(const QString& path, const QDateTime& when)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
}

} // namespace

// Half a second of ffmpeg's test picture, MPEG-1 as the material's films:
// far shorter than the 200000 scrambled bytes.
class TVTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<TempDir>();
        const QString film = s_dir->file("plain.mpg");
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
            return;
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg",
                     {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=25",
                      "-t", "0.5", "-c:v", "mpeg1video", film});
        ffmpeg.waitForFinished(60000);
        s_plain = ReadAll(film);
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override
    {
        if (s_plain.isEmpty())
            GTEST_SKIP() << "ffmpeg could not make the test film";
        ASSERT_EQ(s_plain.at(0), '\0');
        ASSERT_LT(s_plain.size(), FilmScrambledBytes);
        s_scrambled = s_plain;
        XorFilmBytes(s_scrambled.data(), s_scrambled.size());
        ASSERT_NE(s_scrambled.at(0), '\0');
        host = std::make_unique<QWidget>();
        host->resize(200, 150);
        tv = new CKompTV(host.get());
        tv->setGeometry(10, 10, 128, 96);
        tv->ScrambledFiles = true;
        host->show();
        tv->show();
    }
    // A scrambled film on disk with another date than the films' own.
    QString StoredFilm(const QString& name)
    {
        const QString path = dir.file(name);
        WriteAll(path, s_scrambled);
        SetModified(path, QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));
        return path;
    }

    static std::unique_ptr<TempDir> s_dir;
    static QByteArray s_plain;
    static QByteArray s_scrambled;
    TempDir dir;
    std::unique_ptr<QWidget> host;
    CKompTV* tv = nullptr;
};

std::unique_ptr<TempDir> TVTest::s_dir;
QByteArray TVTest::s_plain;
QByteArray TVTest::s_scrambled;

TEST_F(TVTest, TheSameFilmTwiceIsPlainWhileOpenAndScrambledAfter)
{
    const QString film = StoredFilm("a.mpg");
    EXPECT_EQ(tv->FilmKey, 0x7E31C4A9u);
    ASSERT_TRUE(tv->OpenFilm(film));
    EXPECT_TRUE(tv->IsOpen);
    EXPECT_EQ(ReadAll(film), s_plain);
    EXPECT_EQ(Modified(film), FilmDate());

    SetModified(film, QDateTime(QDate(2021, 5, 6), QTime(7, 8, 9)));
    ASSERT_TRUE(tv->OpenFilm(film));
    EXPECT_TRUE(tv->IsOpen);
    EXPECT_EQ(ReadAll(film), s_plain); // left alone, but dated again
    EXPECT_EQ(Modified(film), FilmDate());

    SetModified(film, QDateTime(QDate(2021, 5, 6), QTime(7, 8, 9)));
    tv->CloseFilm();
    EXPECT_FALSE(tv->IsOpen);
    EXPECT_EQ(ReadAll(film), s_scrambled);
    EXPECT_EQ(Modified(film), FilmDate());
    tv->CloseFilm(); // closed already: the file stays as it is
    EXPECT_EQ(ReadAll(film), s_scrambled);
}

TEST_F(TVTest, OpeningAnotherFilmScramblesTheFirst)
{
    const QString first = StoredFilm("a.mpg");
    const QString second = StoredFilm("b.mpg");
    ASSERT_TRUE(tv->OpenFilm(first));
    ASSERT_TRUE(tv->OpenFilm(second));
    EXPECT_EQ(ReadAll(first), s_scrambled);
    EXPECT_EQ(ReadAll(second), s_plain);
    EXPECT_EQ(tv->FileName(), second);
    delete tv; // the panel going away closes the film
    tv = nullptr;
    EXPECT_EQ(ReadAll(second), s_scrambled);
}

TEST_F(TVTest, APlainFilmIsOpenedUnchanged)
{
    const QString film = dir.file("plain.mpg");
    WriteAll(film, s_plain);
    ASSERT_TRUE(tv->OpenFilm(film));
    EXPECT_EQ(ReadAll(film), s_plain);
    EXPECT_EQ(Modified(film), FilmDate());
    tv->CloseFilm();

    // Films stored plain: nothing is changed, not even the date.
    tv->ScrambledFiles = false;
    const QDateTime before(QDate(2020, 1, 2), QTime(3, 4, 5));
    SetModified(film, before);
    WriteAll(film, s_plain);
    SetModified(film, before);
    ASSERT_TRUE(tv->OpenFilm(film));
    tv->CloseFilm();
    EXPECT_EQ(ReadAll(film), s_plain);
    EXPECT_EQ(Modified(film), before);
}

TEST_F(TVTest, MissingAndDamagedFilms)
{
    // A film that cannot be unscrambled is skipped without a word.
    EXPECT_TRUE(tv->OpenFilm(dir.file("missing.mpg")));
    EXPECT_FALSE(tv->IsOpen);
    EXPECT_FALSE(QFile::exists(dir.file("missing.mpg")));

    // One the player cannot open gives false and goes back to its stored form.
    const QString bad = dir.file("bad.mpg");
    QByteArray junk(5000, '\x11');
    junk[0] = 0;
    XorFilmBytes(junk.data(), junk.size());
    WriteAll(bad, junk);
    EXPECT_FALSE(tv->OpenFilm(bad));
    EXPECT_FALSE(tv->IsOpen);
    EXPECT_EQ(ReadAll(bad), junk);
    tv->Play(); // nothing open: nothing happens
    EXPECT_FALSE(tv->FilmPlaying);
}

TEST_F(TVTest, TheEndOfAShortFilmIsReported)
{
    const QString film = StoredFilm("a.mpg");
    ASSERT_TRUE(tv->OpenFilm(film));
    int ends = 0;
    tv->OnEnd = [&](CFilmPlayer* player) {
        EXPECT_EQ(player, tv->Player);
        ++ends;
    };
    tv->Play();
    EXPECT_TRUE(tv->FilmPlaying);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ends > 0; }, 5000));
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(tv->FilmPlaying);
    EXPECT_TRUE(tv->IsOpen);

    // Halted, paused or rewound: no end is reported.
    tv->Rewind();
    tv->Play();
    tv->PauseFilm();
    EXPECT_FALSE(tv->FilmPlaying);
    EXPECT_EQ(tv->Player->Mode(), EMediaMode::Paused);
    tv->Play();
    tv->Halt();
    EXPECT_EQ(tv->Player->Mode(), EMediaMode::Stopped);
    QTest::qWait(800);
    EXPECT_EQ(ends, 1);
    tv->CloseFilm();
    EXPECT_EQ(ReadAll(film), s_scrambled);
}
