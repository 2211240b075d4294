#include "content/ContentScramble.h"
#include "app/CError.h"
#include "common/TempDir.h"
#include "platform/CFilmPlayer.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray Pattern(qsizetype size, int seed)
{
    QByteArray data(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 8)) & 0xFF);
    return data;
}

uint32_t WordAt(const QByteArray& data, int index)
{
    uint32_t w = 0;
    for (int b = 0; b < 4; ++b)
        w |= uint32_t(uint8_t(data.at(index * 4 + b))) << (8 * b);
    return w;
}

void WriteFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(data), data.size());
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

} // namespace

TEST(WvScramble, KeyFollowsSizeFormula)
{
    const uint64_t s = 123457;
    EXPECT_EQ(WvKey(s), uint32_t(s) ^ uint32_t(s << 13) ^ ContentKey);
    // Only the low 32 bits of the size count, and the shift drops bits above 32.
    EXPECT_EQ(WvKey(0x100000000ull + 5), WvKey(5));
    EXPECT_EQ(WvKey(0xFFFFFFFFu), 0xFFFFFFFFu ^ 0xFFFFE000u ^ ContentKey);
}

TEST(WvScramble, XorsExactlyTheFirstTenWordsAndRoundTrips)
{
    for (qsizetype size : {40, 41, 44, 1000, 65537}) {
        const QByteArray plain = Pattern(size, int(size));
        const QByteArray wv = ScrambleWv(plain);
        ASSERT_EQ(wv.size(), plain.size());
        const uint32_t key = WvKey(uint64_t(size));
        for (int w = 0; w < 10; ++w)
            EXPECT_EQ(WordAt(wv, w), WordAt(plain, w) ^ key) << "size " << size << " word " << w;
        EXPECT_EQ(wv.mid(40), plain.mid(40)) << "size " << size;
        EXPECT_EQ(UnscrambleWv(wv), plain) << "size " << size;
    }
}

TEST(WvScramble, ShorterThanFortyBytesIsLeftAlone)
{
    for (qsizetype size : {0, 1, 39}) {
        const QByteArray data = Pattern(size, 3);
        EXPECT_EQ(ScrambleWv(data), data);
        EXPECT_EQ(UnscrambleWv(data), data);
    }
}

TEST(WvScramble, InPlaceNeverTouchesPastFortyBytes)
{
    // A 40-byte image inside a larger guarded block: the bytes after it stay.
    QByteArray block = Pattern(48, 9);
    const QByteArray before = block;
    XorWvHeader(block.data(), 40);
    EXPECT_NE(block.left(40), before.left(40));
    EXPECT_EQ(block.mid(40), before.mid(40));
}

class FilmScramble : public ::testing::TestWithParam<qsizetype>
{
protected:
    TempDir dir;
};

TEST_P(FilmScramble, RoundTripKeepsLengthAndScramblesOnlyTheHead)
{
    const qsizetype size = GetParam();
    const QString path = dir.file("12.mpg");
    QByteArray plain = Pattern(size, 5);
    if (!plain.isEmpty())
        plain[0] = 0; // a plain MPEG file starts with a zero byte
    WriteFile(path, plain);

    ASSERT_TRUE(ScrambleFilmFile(path));
    const QByteArray scrambled = ReadFile(path);
    ASSERT_EQ(scrambled.size(), size);
    const qsizetype head = std::min<qsizetype>(size, FilmScrambledBytes);
    for (qsizetype i = 0; i < head; ++i) {
        ASSERT_EQ(uint8_t(scrambled[i]), uint8_t(plain[i]) ^ uint8_t(FilmKey >> (8 * (i % 4))))
            << "byte " << i;
    }
    EXPECT_EQ(scrambled.mid(head), plain.mid(head));
    if (size > 0) {
        EXPECT_NE(scrambled.at(0), 0);
    }

    // Scrambling a scrambled file changes nothing.
    ASSERT_TRUE(ScrambleFilmFile(path));
    EXPECT_EQ(ReadFile(path), scrambled);

    ASSERT_TRUE(UnscrambleFilmFile(path));
    EXPECT_EQ(ReadFile(path), plain);
    // Unscrambling a plain file changes nothing.
    ASSERT_TRUE(UnscrambleFilmFile(path));
    EXPECT_EQ(ReadFile(path), plain);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FilmScramble,
                         ::testing::Values(0, 1, 3, 4, 5, 1001, 199999, 200000, 200001, 300003));

TEST(FilmScrambleFile, StampsTheFixedDateEvenWhenUnchanged)
{
    TempDir dir;
    const QString path = dir.file("1.mpg");
    QByteArray plain = Pattern(5000, 1);
    plain[0] = 0;
    WriteFile(path, plain);
    const QDateTime stamp(QDate(2005, 9, 7), QTime(15, 15, 0));

    ASSERT_TRUE(UnscrambleFilmFile(path)); // already plain: left as it is
    EXPECT_EQ(ReadFile(path), plain);
    EXPECT_EQ(QFileInfo(path).lastModified(), stamp);

    WriteFile(path, plain); // fresh date
    ASSERT_TRUE(ScrambleFilmFile(path));
    EXPECT_EQ(QFileInfo(path).lastModified(), stamp);
}

TEST(FilmScrambleFile, MissingOrReadOnlyFileFailsAndChangesNothing)
{
    TempDir dir;
    EXPECT_FALSE(UnscrambleFilmFile(dir.file("missing.mpg")));
    EXPECT_FALSE(ScrambleFilmFile(dir.file("missing.mpg")));
    EXPECT_FALSE(QFile::exists(dir.file("missing.mpg")));

    const QString path = dir.file("ro.mpg");
    QByteArray plain = Pattern(300, 2);
    plain[0] = 0;
    WriteFile(path, plain);
    QFile::setPermissions(path, QFile::ReadOwner);
    if (QFile(path).open(QIODevice::ReadWrite))
        GTEST_SKIP() << "running with rights that ignore file permissions";
    EXPECT_FALSE(ScrambleFilmFile(path));
    EXPECT_EQ(ReadFile(path), plain);
}

TEST(FilmScrambleFile, ARealFilmPlaysAgainAfterTheRoundTrip)
{
    TempDir dir;
    const QString path = dir.file("7.mpg");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i",
                            "testsrc=size=320x240:rate=25", "-t", "2", "-c:v", "mpeg1video", path});
    if (!ffmpeg.waitForFinished(60000) || !QFile::exists(path))
        GTEST_SKIP() << "ffmpeg could not make the test film";
    const QByteArray plain = ReadFile(path);
    ASSERT_EQ(plain.at(0), 0); // MPEG pack start code

    ASSERT_TRUE(ScrambleFilmFile(path));
    CFilmPlayer player;
    // The scrambled form is not a film any more.
    EXPECT_THROW(player.Open(path), CError);

    ASSERT_TRUE(UnscrambleFilmFile(path));
    EXPECT_EQ(ReadFile(path), plain);
    player.Open(path);
    EXPECT_NEAR(player.Length(), 2000, 80);
}
