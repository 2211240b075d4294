#include "app/CError.h"
#include "common/TempDir.h"
#include "platform/CFilmPlayer.h"
#include "platform/CFilmView.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One second of ffmpeg's test picture, 25 frames of 64x48, MPEG-1 as the
// material's films.
class FilmPlayerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<TempDir>();
        s_film = s_dir->file("12.mpg");
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty())
            return;
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg",
                     {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=25",
                      "-t", "1", "-c:v", "mpeg1video", s_film});
        ffmpeg.waitForFinished(60000);
    }

    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override
    {
        if (!QFile::exists(s_film))
            GTEST_SKIP() << "ffmpeg could not make the test film";
    }

    static std::unique_ptr<TempDir> s_dir;
    static QString s_film;
};

std::unique_ptr<TempDir> FilmPlayerTest::s_dir;
QString FilmPlayerTest::s_film;

CFilmView* ViewOf(QWidget& display)
{
    return display.findChild<CFilmView*>();
}

} // namespace

TEST_F(FilmPlayerTest, MissingOrUnreadableFilmsAreErrors)
{
    CFilmPlayer player;
    EXPECT_THROW(player.Open(s_dir->file("missing.mpg")), CError);
    EXPECT_FALSE(player.IsOpen());

    QFile junk(s_dir->file("junk.mpg"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(5000, '\x5A'));
    junk.close();
    EXPECT_THROW(player.Open(junk.fileName()), CError);
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(player.Mode(), EMediaMode::NotOpen);

    // A film cut short still opens if its first frame is whole, or fails cleanly.
    QFile full(s_film);
    ASSERT_TRUE(full.open(QIODevice::ReadOnly));
    for (int keep : {10, 200, 3000}) {
        QFile cut(s_dir->file(QString("cut%1.mpg").arg(keep)));
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        full.seek(0);
        cut.write(full.read(keep));
        cut.close();
        try {
            player.Open(cut.fileName());
            player.SetNotify(true);
            QSignalSpy ended(&player, &CFilmPlayer::Notify);
            player.Play();
            EXPECT_TRUE(ended.wait(3000)) << keep;
        } catch (const CError&) {
            EXPECT_FALSE(player.IsOpen());
        }
    }
}

// A film file that holds a playlist: the playlist reader of the library would
// open the file it names (or an address on the network) and play that.
TEST_F(FilmPlayerTest, APlaylistInAFilmFileIsRefusedAndWhatItNamesStaysUnread)
{
    const QString segment = s_dir->file("segment.ts");
    ASSERT_EQ(QProcess::execute("ffmpeg",
                                {"-loglevel", "error", "-y", "-i", s_film, "-c", "copy", segment}),
              0);
    QFile list(s_dir->file("list.mpg"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n" + segment.toUtf8() +
               "\n#EXT-X-ENDLIST\n");
    list.close();
    CFilmPlayer player;
    EXPECT_THROW(player.Open(list.fileName()), CError);
    EXPECT_FALSE(player.IsOpen());
}

TEST_F(FilmPlayerTest, OpenShowsTheFirstFrameAndKnowsTheLength)
{
    CFilmPlayer player;
    player.Open(s_film);
    EXPECT_TRUE(player.IsOpen());
    EXPECT_EQ(player.Mode(), EMediaMode::Stopped);
    EXPECT_NEAR(player.Length(), 1000, 80);
    EXPECT_DOUBLE_EQ(player.FrameRate(), 25.0);
    EXPECT_EQ(player.FramesShown(), 1);
    EXPECT_EQ(player.CurrentFrame().size(), QSize(64, 48));
}

TEST_F(FilmPlayerTest, PlaysEveryFrameIntoTheDisplayRectAndReportsTheEnd)
{
    QWidget display;
    display.resize(300, 200);
    display.show();
    CFilmPlayer player;
    player.SetDisplay(&display);
    player.SetDisplayRect(QRect(10, 20, 128, 96));
    player.Open(s_film);
    const QImage first = player.CurrentFrame();
    QSignalSpy ended(&player, &CFilmPlayer::Notify);
    player.SetNotify(true);
    QElapsedTimer clock;
    clock.start();
    player.Play();
    EXPECT_EQ(player.Mode(), EMediaMode::Playing);
    ASSERT_TRUE(ended.wait(5000));
    // Frames come at the film's rate, so the end cannot come early.
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(player.FramesShown(), 25);
    EXPECT_EQ(player.Mode(), EMediaMode::Stopped);
    EXPECT_NE(player.CurrentFrame(), first); // the test picture moves

    CFilmView* view = ViewOf(display);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->geometry(), QRect(10, 20, 128, 96));
    const QImage shown = view->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(128, 96));
    // The frame is stretched over the whole rectangle: no black border on any
    // side, as letterboxing would leave.
    auto edgeHasPicture = [&](QPoint from, QPoint step, int count) {
        for (int i = 0; i < count; ++i)
            if (shown.pixelColor(from + step * i) != QColor(Qt::black))
                return true;
        return false;
    };
    EXPECT_TRUE(edgeHasPicture({0, 0}, {1, 0}, 128));
    EXPECT_TRUE(edgeHasPicture({0, 95}, {1, 0}, 128));
    EXPECT_TRUE(edgeHasPicture({0, 0}, {0, 1}, 96));
    EXPECT_TRUE(edgeHasPicture({127, 0}, {0, 1}, 96));

    // Playing again at the end ends at once; rewinding starts over.
    player.Play();
    ASSERT_TRUE(ended.wait(1000));
    player.Rewind();
    EXPECT_EQ(player.FramesShown(), 1);
    EXPECT_EQ(player.CurrentFrame(), first);
    player.Close();
    EXPECT_EQ(ViewOf(display), nullptr);
}

TEST_F(FilmPlayerTest, PauseHoldsTheFrameAndPlayGoesOn)
{
    CFilmPlayer player;
    player.Open(s_film);
    QSignalSpy ended(&player, &CFilmPlayer::Notify);
    player.SetNotify(true);
    player.Play();
    QTest::qWait(300);
    player.Pause();
    EXPECT_EQ(player.Mode(), EMediaMode::Paused);
    const int held = player.FramesShown();
    EXPECT_GT(held, 1);
    EXPECT_LT(held, 25);
    QTest::qWait(200);
    EXPECT_EQ(player.FramesShown(), held);
    player.Play();
    ASSERT_TRUE(ended.wait(3000));
    EXPECT_EQ(player.FramesShown(), 25);
}

TEST_F(FilmPlayerTest, StopAndCloseAreNotNotified)
{
    CFilmPlayer player;
    player.Open(s_film);
    QSignalSpy ended(&player, &CFilmPlayer::Notify);
    player.SetNotify(true);
    player.Play();
    QTest::qWait(200);
    player.Stop();
    EXPECT_EQ(player.Mode(), EMediaMode::Stopped);
    QTest::qWait(1100);
    EXPECT_EQ(ended.count(), 0);

    // Without notification the end comes silently.
    player.SetNotify(false);
    player.Play();
    QElapsedTimer clock;
    clock.start();
    while (player.Mode() == EMediaMode::Playing && clock.elapsed() < 10000)
        QTest::qWait(20);
    EXPECT_EQ(player.Mode(), EMediaMode::Stopped);
    EXPECT_EQ(player.FramesShown(), 25);
    EXPECT_EQ(ended.count(), 0);
}

TEST_F(FilmPlayerTest, WithoutARectangleTheFilmFillsTheDisplay)
{
    QWidget display;
    display.resize(160, 120);
    CFilmPlayer player;
    player.Open(s_film);
    player.SetDisplay(&display);
    CFilmView* view = ViewOf(display);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->geometry(), QRect(0, 0, 160, 120));
    EXPECT_EQ(view->Frame(), player.CurrentFrame());
    // Moving the film to another widget leaves nothing on the first.
    QWidget other;
    player.SetDisplay(&other);
    EXPECT_EQ(ViewOf(display), nullptr);
    EXPECT_NE(ViewOf(other), nullptr);
}
