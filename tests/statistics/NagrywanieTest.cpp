// The voice recorder: empty headers, the free-space rule, and real recordings
// through SDL (silence on the dummy driver; known samples on the disk driver,
// in a child process).
#include "common/ChildProcess.h"
#include "common/FileFixture.h"
#include "common/TempDir.h"
#include "platform/CWaveImage.h"
#include "statistics/CNagrywanie.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(data), data.size());
}

// The samples of a saved recording, after checking that its header is whole
// and in the recording format.
QByteArray SavedSamples(const QString& path)
{
    const QByteArray file = ReadFile(path);
    CWaveImage wave;
    EXPECT_TRUE(wave.Parse(file.constData(), file.size())) << path.toStdString();
    EXPECT_EQ(wave.Rate(), 22050);
    EXPECT_EQ(wave.Channels(), 1);
    EXPECT_EQ(wave.Bits(), 8);
    if (file.size() < 44)
        return {};
    return file.mid(44, qFromLittleEndian<quint32>(file.constData() + 40));
}

QByteArray KnownInput(qsizetype size)
{
    QByteArray raw(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        raw[i] = char((i * 7 + i / 251) & 0xFF);
    return raw;
}

// A recorder with counted callbacks and kept messages.
struct Recorder
{
    Recorder()
        : nagrywanie(
              nullptr, [this] { ++playEnds; }, [this] { ++recordEnds; })
    {
        nagrywanie.SetInform([this](int kind, const QString& r1, const QString& r2,
                                    const QString& r3, const QString& r4, bool compact) {
            messages << QStringList{QString::number(kind),   r1, r2, r3, r4,
                                    compact ? "compact" : ""};
        });
    }
    int playEnds = 0;
    int recordEnds = 0;
    QList<QStringList> messages;
    CNagrywanie nagrywanie;
};

} // namespace

TEST(Nagrywanie, EmptyWaveIsWrittenWholeOrNotAtAll)
{
    const QByteArray expected = QByteArray::fromHex("52494646"
                                                    "26000000"
                                                    "57415645666d7420"
                                                    "10000000"
                                                    "0100"
                                                    "0100"
                                                    "22560000"
                                                    "22560000"
                                                    "0100"
                                                    "0800"
                                                    "64617461"
                                                    "00000000");
    ASSERT_EQ(expected.size(), 44);
    EXPECT_EQ(CNagrywanie::EmptyWave(), expected);

    TempDir dir;
    const QString name = dir.file("AAAAAAAB_AAAAAABK_W.WAV");
    WriteFile(name, QByteArray(5000, 'x'));
    ASSERT_TRUE(CNagrywanie::WriteEmptyWave(name));
    EXPECT_EQ(ReadFile(name), expected);
    EXPECT_EQ(ModeOf(name), 0600u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
              1); // nothing left over

    // No folder: refused, and nothing is created.
    EXPECT_FALSE(CNagrywanie::WriteEmptyWave(dir.file("Nagrane/x.WAV")));
    EXPECT_FALSE(QFile::exists(dir.file("Nagrane")));
}

TEST(Nagrywanie, FreeSpaceRuleAtTheBoundary)
{
    struct Case
    {
        bool known;
        std::uint64_t free;
        bool allowed;
    };
    const Case cases[] = {
        {true, 41943040, true},              // exactly 40 MiB
        {true, 41943039, false},             // one byte less
        {true, 0, false},                    //
        {true, 0xFFFFFFFFFFFFFFFFull, true}, // an unsigned comparison
        {false, 0, false},                   // the space cannot be told
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.free);
        Recorder r;
        QString asked;
        r.nagrywanie.SetSpaceCheck("/program",
                                   [&](const QString& folder, QString* drive, std::uint64_t* free) {
                                       asked = folder;
                                       *drive = "/dysk";
                                       *free = c.free;
                                       return c.known;
                                   });
        EXPECT_EQ(r.nagrywanie.HasSpaceForRecording(), c.allowed);
        EXPECT_EQ(asked, "/program");
        if (c.allowed) {
            EXPECT_TRUE(r.messages.isEmpty());
        } else if (c.known) {
            ASSERT_EQ(r.messages.size(), 1);
            EXPECT_EQ(r.messages[0],
                      (QStringList{"3", "Niewystarczająca ilość miejsca na dysku /dysk!",
                                   "Zwolnij miejsce!", "Możesz to zrobić, np. usuwając",
                                   "część nagrań zapisanych w statystyce.", "compact"}));
        } else {
            ASSERT_EQ(r.messages.size(), 1);
            EXPECT_EQ(r.messages[0], (QStringList{"3", "Wystąpił nierozpoznany błąd!",
                                                  "Nagrywanie zostało przerwane.", "", "", ""}));
        }
    }
    // The real query answers for a folder that exists.
    Recorder r;
    TempDir dir;
    r.nagrywanie.SetSpaceCheck(dir.path());
    r.nagrywanie.HasSpaceForRecording();
    for (const QStringList& message : r.messages)
        EXPECT_NE(message.value(1), "Wystąpił nierozpoznany błąd!");
}

TEST(Nagrywanie, OpeningCreatesRepairsOrRefuses)
{
    TempDir dir;
    Recorder r;
    // No recordings folder: refused cleanly.
    EXPECT_FALSE(r.nagrywanie.OpenFile(dir.file("Nagrane/AAAAAAAB_AAAAAAAB_W.WAV")));
    EXPECT_FALSE(r.nagrywanie.Opened());
    EXPECT_FALSE(r.nagrywanie.Record(0));

    // A new file starts as the empty header, private to its owner.
    const QString fresh = dir.file("nowy.WAV");
    ASSERT_TRUE(r.nagrywanie.OpenFile(fresh));
    EXPECT_TRUE(r.nagrywanie.Opened());
    EXPECT_EQ(ReadFile(fresh), CNagrywanie::EmptyWave());
    EXPECT_EQ(ModeOf(fresh), 0600u);

    // A damaged file is started afresh.
    const QString damaged = dir.file("zly.WAV");
    WriteFile(damaged, "RIFF\x10\0\0\0junk");
    ASSERT_TRUE(r.nagrywanie.OpenFile(damaged));
    EXPECT_EQ(ReadFile(damaged), CNagrywanie::EmptyWave());

    r.nagrywanie.CloseFile();
    EXPECT_FALSE(r.nagrywanie.Opened());
    r.nagrywanie.Play(); // closed: nothing
    EXPECT_FALSE(r.nagrywanie.Playing());
}

// On the dummy driver a recording is silence, in real time.
TEST(Nagrywanie, RecordingReplacesTheOldOneAndStopsAtTheLimit)
{
    TempDir dir;
    const QString name = dir.file("AAAAAAAB_AAAAAABK_K.WAV");
    Recorder r;
    ASSERT_TRUE(r.nagrywanie.OpenFile(name));

    // A limit reached ends the recording by itself: saved, reported once.
    ASSERT_TRUE(r.nagrywanie.Record(400));
    EXPECT_TRUE(r.nagrywanie.Recording());
    EXPECT_TRUE(r.nagrywanie.Record(400)); // already recording
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.recordEnds > 0; }, 5000));
    EXPECT_FALSE(r.nagrywanie.Recording());
    QTest::qWait(100);
    EXPECT_EQ(r.recordEnds, 1);
    EXPECT_EQ(r.playEnds, 0);
    EXPECT_EQ(SavedSamples(name), QByteArray(22050 * 4 / 10, char(0x80)));
    EXPECT_EQ(ModeOf(name), 0600u);

    // Recording again replaces it; a stop asked for reports nothing.
    ASSERT_TRUE(r.nagrywanie.Record(0));
    QTest::qWait(150);
    r.nagrywanie.Stop();
    EXPECT_FALSE(r.nagrywanie.Recording());
    const qsizetype second = SavedSamples(name).size();
    EXPECT_GT(second, 0);
    EXPECT_LT(second, 22050 * 4 / 10);
    QTest::qWait(100);
    EXPECT_EQ(r.recordEnds, 1);
    EXPECT_EQ(ModeOf(name), 0600u);
    EXPECT_TRUE(r.messages.isEmpty());
}

// The child part: runs on SDL's disk driver, which captures from a file.
TEST(ChildNagrywanie, DiskDriverRecordStopPlay)
{
    SKIP_UNLESS_CHILD();
    const QString dir = qEnvironmentVariable("LOQUENA_FIXTURE_DIR");
    const QString name = dir + "/Nagrane/AAAAAAPP_AAAABAAA_W.WAV";
    const QByteArray input = KnownInput(4 * 22050);
    Recorder r;
    ASSERT_TRUE(r.nagrywanie.OpenFile(name));

    // The limit (5 minutes in the program, short here) ends the recording.
    ASSERT_TRUE(r.nagrywanie.Record(500));
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.recordEnds > 0; }, 5000));
    EXPECT_EQ(SavedSamples(name), input.left(22050 / 2));

    // Play during a recording: the recording is stopped and saved first, then
    // played from its start to its end.
    ASSERT_TRUE(r.nagrywanie.OpenFile(name));
    ASSERT_TRUE(r.nagrywanie.Record(0));
    QTest::qWait(300);
    r.nagrywanie.Play();
    EXPECT_FALSE(r.nagrywanie.Recording());
    EXPECT_TRUE(r.nagrywanie.Playing());
    const QByteArray saved = SavedSamples(name);
    EXPECT_GT(saved.size(), 22050 / 10);
    EXPECT_LT(saved.size(), 22050 / 2); // the first recording was replaced
    EXPECT_EQ(saved, input.left(saved.size()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.playEnds > 0; }, 5000));
    EXPECT_FALSE(r.nagrywanie.Playing());
    EXPECT_EQ(r.recordEnds, 1);

    // Record, stop, play: nothing reported for the stop.
    ASSERT_TRUE(r.nagrywanie.Record(0));
    QTest::qWait(200);
    r.nagrywanie.Stop();
    EXPECT_EQ(r.recordEnds, 1);
    const QByteArray third = SavedSamples(name);
    EXPECT_EQ(third, input.left(third.size()));
    r.nagrywanie.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.playEnds > 1; }, 5000));
    r.nagrywanie.CloseFile();
    EXPECT_EQ(ModeOf(name), 0600u);
    EXPECT_TRUE(r.messages.isEmpty());
}

TEST(Nagrywanie, RealRecordingThroughTheDiskDriver)
{
    TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("Nagrane"));
    WriteFile(dir.file("in.raw"), KnownInput(4 * 22050));
    QProcessEnvironment env;
    env.insert("SDL_AUDIODRIVER", "disk");
    env.insert("SDL_DISKAUDIOFILEIN", dir.file("in.raw"));
    env.insert("SDL_DISKAUDIOFILE", dir.file("out.raw"));
    env.insert("LOQUENA_FIXTURE_DIR", dir.path());
    QString output;
    EXPECT_TRUE(RunChildTest("ChildNagrywanie.DiskDriverRecordStopPlay", env, &output))
        << output.toStdString();
    // The playbacks went to the device.
    EXPECT_GT(QFileInfo(dir.file("out.raw")).size(), 0);
}
