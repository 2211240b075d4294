#include "common/WaveFixture.h"
#include "platform/CAudioSystem.h"
#include "platform/CSoundPlayer.h"
#include "platform/CWaveImage.h"

#include <QElapsedTimer>
#include <QtEndian>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Waits for the end of the player's sound, polling often; returns the ms taken.
// The longest gap between two polls goes to `lateness`: on a loaded machine
// the end can only be seen that much after it happened.
qint64 MsUntilQuiet(CSoundPlayer& player, const QElapsedTimer& since, qint64* lateness = nullptr)
{
    qint64 last = since.elapsed();
    qint64 gap = 0;
    while (player.IsBusy()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const qint64 now = since.elapsed();
        gap = std::max(gap, now - last);
        last = now;
    }
    if (lateness)
        *lateness = gap;
    return since.elapsed();
}

// Slack for sounds whose end is not the point of the test: a busy machine
// may see it late, but never early.
constexpr qint64 LoadSlack = 200;

} // namespace

TEST(WaveImage, ParsesTheFormatsItPlays)
{
    struct Case
    {
        int rate, channels, bits;
    };
    for (Case c : {Case{22050, 1, 8}, Case{44100, 2, 16}, Case{8000, 1, 16}, Case{48000, 2, 8}}) {
        const QByteArray w = MakeWave(c.rate, c.channels, c.bits, 100);
        CWaveImage image;
        ASSERT_TRUE(image.Parse(w.constData(), w.size()));
        EXPECT_EQ(image.Rate(), c.rate);
        EXPECT_EQ(image.Channels(), c.channels);
        EXPECT_EQ(image.Bits(), c.bits);
        EXPECT_EQ(image.Frames(), 100);
        EXPECT_EQ(image.DataOffset(), 44);
    }
}

TEST(WaveImage, SkipsUnknownChunksAndCutsToWholeFrames)
{
    QByteArray w = MakeWave(22050, 2, 16, 10);
    // An odd-sized "LIST" chunk (with its pad byte) before "data", and a data
    // size that is not a whole number of frames.
    const QByteArray list = QByteArray("LIST\x03\0\0\0abc\0", 12);
    w.insert(36, list);
    qToLittleEndian<uint32_t>(39, w.data() + 36 + 12 + 4);
    CWaveImage image;
    ASSERT_TRUE(image.Parse(w.constData(), w.size()));
    EXPECT_EQ(image.DataOffset(), 44 + 12);
    EXPECT_EQ(image.SampleBytes(), 36);
}

TEST(WaveImage, RejectsDamagedImages)
{
    const QByteArray good = MakeWave(22050, 1, 8, 50);
    auto withU32 = [&](int at, uint32_t v) {
        QByteArray w = good;
        qToLittleEndian<uint32_t>(v, w.data() + at);
        return w;
    };
    auto withU16 = [&](int at, uint16_t v) {
        QByteArray w = good;
        qToLittleEndian<uint16_t>(v, w.data() + at);
        return w;
    };
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"header only", good.left(11)},
        {"cut inside fmt", good.left(30)},
        {"no data chunk", good.left(36)},
        {"not RIFF", QByteArray(good).replace(0, 4, "RIFX")},
        {"not WAVE", QByteArray(good).replace(8, 4, "AVI ")},
        {"data past the end", withU32(40, 51)},
        {"data size near 4 GiB", withU32(40, 0xFFFFFFF0u)},
        {"fmt past the end", withU32(16, 0x7FFFFFFFu)},
        {"fmt too short", withU32(16, 8)},
        {"not PCM", withU16(20, 3)},
        {"no channels", withU16(22, 0)},
        {"three channels", withU16(22, 3)},
        {"24-bit", withU16(34, 24)},
        {"zero rate", withU32(24, 0)},
        {"data before fmt", QByteArray(good).replace(12, 4, "junk")},
    };
    for (const auto& [name, image] : cases) {
        CWaveImage parsed;
        EXPECT_FALSE(parsed.Parse(image.constData(), image.size())) << name;
        EXPECT_FALSE(parsed.IsValid()) << name;
    }
}

TEST(SoundPlayer, EndOfSoundIsDetectedAtItsRealLength)
{
    // 22050 Hz 8-bit mono and 44100 Hz 16-bit stereo, 700 ms each.
    for (auto [rate, channels, bits] : {std::tuple{22050, 1, 8}, std::tuple{44100, 2, 16}}) {
        const QByteArray wave = MakeWave(rate, channels, bits, rate * 7 / 10);
        CSoundPlayer player;
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(player.Play(wave.constData(), wave.size(), true));
        EXPECT_TRUE(player.IsBusy());
        qint64 lateness = 0;
        const qint64 ms = MsUntilQuiet(player, clock, &lateness);
        // The start waits for the next device buffer (about 23 ms) at most;
        // never early (an empty queue would be up to 190 ms early).
        EXPECT_GE(ms, 700 - 5) << rate;
        EXPECT_LE(ms, 700 + 30 + 25 + lateness) << rate;
    }
}

TEST(SoundPlayer, SynchronousPlayReturnsAtTheEnd)
{
    const QByteArray wave = MakeWave(22050, 1, 16, 22050 / 2);
    CSoundPlayer player;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(player.Play(wave.constData(), wave.size(), false));
    EXPECT_GE(clock.elapsed(), 500 - 5);
    EXPECT_LE(clock.elapsed(), 500 + LoadSlack);
    EXPECT_FALSE(player.IsBusy());
}

TEST(SoundPlayer, StopAndReplayCutTheSoundShort)
{
    const QByteArray wave = MakeWave(22050, 1, 8, 22050 * 2);
    CSoundPlayer player;
    ASSERT_TRUE(player.Play(wave.constData(), wave.size(), true));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    player.Stop();
    EXPECT_FALSE(player.IsBusy());

    // A second play replaces the first: its end is that of the new, short sound.
    const QByteArray shortWave = MakeWave(22050, 1, 8, 22050 / 5);
    ASSERT_TRUE(player.Play(wave.constData(), wave.size(), true));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(player.Play(shortWave.constData(), shortWave.size(), true));
    EXPECT_LE(MsUntilQuiet(player, clock), 200 + LoadSlack);
}

TEST(SoundPlayer, TwoPlayersPlayTogether)
{
    const QByteArray longer = MakeWave(22050, 1, 8, 22050 * 6 / 10);
    const QByteArray shorter = MakeWave(44100, 2, 16, 44100 * 3 / 10);
    CSoundPlayer a, b;
    ASSERT_TRUE(a.Play(longer.constData(), longer.size(), true));
    ASSERT_TRUE(b.Play(shorter.constData(), shorter.size(), true));
    QElapsedTimer clock;
    clock.start();
    const qint64 bEnd = MsUntilQuiet(b, clock);
    EXPECT_TRUE(a.IsBusy());
    const qint64 aEnd = MsUntilQuiet(a, clock);
    EXPECT_GE(bEnd, 300 - 30);
    EXPECT_LE(bEnd, 300 + LoadSlack);
    EXPECT_GE(aEnd, 600 - 30);
    EXPECT_LE(aEnd, 600 + LoadSlack);
}

TEST(SoundPlayer, DamagedImagePlaysNothing)
{
    QByteArray wave = MakeWave(22050, 1, 8, 1000);
    qToLittleEndian<uint32_t>(5000, wave.data() + 40);
    CSoundPlayer player;
    EXPECT_FALSE(player.Play(wave.constData(), wave.size(), false));
    EXPECT_FALSE(player.IsBusy());
    EXPECT_FALSE(player.Play(nullptr, 0, true));
    EXPECT_FALSE(player.IsBusy());
    // An empty but valid image ends at once.
    const QByteArray empty = MakeWave(22050, 1, 8, 0);
    EXPECT_TRUE(player.Play(empty.constData(), empty.size(), true));
    EXPECT_FALSE(player.IsBusy());
}
