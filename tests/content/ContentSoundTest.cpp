#include "content/ContentSound.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "content/ContentScramble.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace {

// A program folder with scrambled sounds, made the current directory.
class ContentSoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
        for (const char* sub : {"Data/ws", "Data/ps", "Data/sp", "Data/as"})
            ASSERT_TRUE(QDir().mkpath(sub));
        const QByteArray blip = MakeWave(22050, 1, 8, 22050 / 50);
        for (int k = 1; k <= 16; ++k)
            WriteWv(QString("Data/sp/g%1").arg(k), blip);
        for (int k = 1; k <= 9; ++k)
            WriteWv(QString("Data/sp/b%1").arg(k), blip);
    }

    void TearDown() override
    {
        StopContentSound();
        QDir::setCurrent(m_oldDir);
    }

    static void WriteWv(const QString& path, const QByteArray& wave)
    {
        WriteRaw(path + ".wv", ScrambleWv(wave));
    }

    static void WriteRaw(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    // Cycles through a rotation and checks every sound is heard once per cycle.
    static void CheckRotation(void (*play)(bool), const QString& prefix, int count)
    {
        for (int cycle = 0; cycle < 4; ++cycle) {
            std::vector<QString> order;
            for (int i = 0; i < count; ++i) {
                play(true);
                order.push_back(LastWvPath());
            }
            const std::set<QString> heard(order.begin(), order.end());
            ASSERT_EQ(int(heard.size()), count) << "cycle " << cycle;
            for (int k = 1; k <= count; ++k)
                EXPECT_TRUE(heard.count(prefix + QString::number(k))) << k;
        }
        StopContentSound();
    }

    TempDir m_dir;
    QString m_oldDir;
};

} // namespace

TEST_F(ContentSoundTest, ItemsFindTheirSoundsAndFilms)
{
    CRecWord word;
    word.Nazwa = "KOT";
    CRecProverb proverb;
    proverb.SoundPocz = "p005";
    proverb.SoundKon = "k005";
    CRecAction action;
    action.ID = 12;

    const std::vector<std::pair<std::function<void()>, QString>> cases = {
        {[&] { PlayWordSound(word, true); }, "Data/ws/KOT"},
        {[&] { PlayWordDescription(word, true); }, "Data/dws/KOT"},
        {[&] { PlayProverbBegin(proverb, true); }, "Data/ps/p005"},
        {[&] { PlayProverbEnd(proverb, true); }, "Data/ps/k005"},
        {[&] { PlayActionSound1(action, true); }, "Data/as/p1_12"},
        {[&] { PlayActionSound2(action, true); }, "Data/as/p2_12"},
    };
    for (const auto& [play, path] : cases) {
        play();
        EXPECT_EQ(LastWvPath(), path);
    }

    EXPECT_EQ(ActionFilmPath(action), "Data/asm/12.mpg");
    FilmDir = "Data/asmgr/";
    EXPECT_EQ(ActionFilmPath(action), "Data/asmgr/12.mpg");
    FilmDir = "Data/asm/";
    EXPECT_EQ(ActionFilmPath(action), "Data/asm/12.mpg");
}

TEST_F(ContentSoundTest, PraiseAndErrorRotationsPlayEachSoundOncePerCycle)
{
    CheckRotation(&PlayPraise, "Data/sp/g", 16);
    CheckRotation(&PlayErrorSound, "Data/sp/b", 9);
}

TEST_F(ContentSoundTest, RotationOrderChangesBetweenCycles)
{
    // Across many cycles a reshuffle must sometimes give a new order (a fixed
    // order would repeat 20 times with certainty; a fair shuffle essentially never).
    std::set<std::vector<QString>> orders;
    for (int cycle = 0; cycle < 20; ++cycle) {
        std::vector<QString> order;
        for (int i = 0; i < 9; ++i) {
            PlayErrorSound(true);
            order.push_back(LastWvPath());
        }
        orders.insert(order);
    }
    EXPECT_GT(orders.size(), 1u);
}

TEST_F(ContentSoundTest, SynchronousPlayLastsTheSound)
{
    WriteWv("Data/ws/LAS", MakeWave(22050, 1, 16, 22050 * 3 / 10));
    CRecWord word;
    word.Nazwa = "LAS";
    QElapsedTimer clock;
    clock.start();
    PlayWordSound(word, false);
    EXPECT_GE(clock.elapsed(), 300 - 5);
    // Loading and converting come on top of the sound (slow in sanitizer
    // builds, and on a busy machine).
    EXPECT_LE(clock.elapsed(), 300 + 200);
    EXPECT_FALSE(ContentSoundBusy());
    ASSERT_NE(SoundBuffer, nullptr);
    EXPECT_TRUE(SoundBuffer->isEmpty());
}

TEST_F(ContentSoundTest, WaitSoundEndReturnsTrueAtTheEnd)
{
    WriteWv("Data/ws/DOM", MakeWave(22050, 1, 8, 22050 * 4 / 10));
    PlayWv("Data/ws/DOM", true);
    EXPECT_TRUE(ContentSoundBusy());
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(WaitSoundEnd());
    // Polled every 16 ms, with events processed in between; never early.
    EXPECT_GE(clock.elapsed(), 400 - 5);
    EXPECT_LE(clock.elapsed(), 400 + 200);
    EXPECT_FALSE(ContentSoundBusy());
}

TEST_F(ContentSoundTest, StopContentSoundFromATimerEndsTheWait)
{
    EXPECT_FALSE(StopContentSound()); // nothing waits
    WriteWv("Data/ws/MORZE", MakeWave(22050, 1, 8, 22050 * 3));
    PlayWv("Data/ws/MORZE", true);
    bool stopSawWait = false;
    QTimer::singleShot(150, [&] { stopSawWait = StopContentSound(); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(WaitSoundEnd());
    EXPECT_TRUE(stopSawWait);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(ContentSoundBusy());
}

TEST_F(ContentSoundTest, ANewPlayCutsOffTheOneBefore)
{
    WriteWv("Data/ws/DLUGI", MakeWave(22050, 1, 8, 22050 * 3));
    WriteWv("Data/ws/KROTKI", MakeWave(22050, 1, 8, 22050 / 5));
    PlayWv("Data/ws/DLUGI", true);
    PlayWv("Data/ws/KROTKI", true);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(WaitSoundEnd());
    EXPECT_LT(clock.elapsed(), 200 + 300); // far from the 3 s of the first sound
}

TEST_F(ContentSoundTest, DamagedOrMissingSoundsPlayNothing)
{
    const QByteArray good = MakeWave(22050, 1, 8, 22050);
    QByteArray pastEnd = good;
    qToLittleEndian<uint32_t>(uint32_t(good.size()), pastEnd.data() + 40);
    const std::vector<std::pair<QString, QByteArray>> files = {
        {"Data/ws/KROTKI39", ScrambleWv(good.left(39))},
        {"Data/ws/DOKLADNIE40", ScrambleWv(good.left(40))},
        {"Data/ws/ROZMIAR", ScrambleWv(pastEnd)},
        {"Data/ws/NIESZYFR", good}, // not scrambled: the header decodes to garbage
        {"Data/ws/PUSTY", QByteArray()},
    };
    for (const auto& [path, bytes] : files)
        WriteRaw(path + ".wv", bytes);
    for (const auto& [path, bytes] : files) {
        QElapsedTimer clock;
        clock.start();
        PlayWv(path, false);
        EXPECT_LT(clock.elapsed(), 300) << path.toStdString(); // not the 1 s sound
        PlayWv(path, true);
        EXPECT_FALSE(ContentSoundBusy()) << path.toStdString();
    }
    PlayWv("Data/ws/BRAK", true);
    EXPECT_FALSE(ContentSoundBusy());
}

TEST_F(ContentSoundTest, ReleaseFreesTheBufferAndPlayingGoesOnAfterwards)
{
    PlayPraise(true);
    ASSERT_NE(SoundBuffer, nullptr);
    ReleaseContentSound();
    EXPECT_EQ(SoundBuffer, nullptr);
    EXPECT_FALSE(ContentSoundBusy());
    WriteWv("Data/ws/KOT", MakeWave(22050, 1, 8, 22050 / 5));
    PlayWv("Data/ws/KOT", true);
    EXPECT_TRUE(ContentSoundBusy());
    EXPECT_TRUE(WaitSoundEnd());
}
