#include "app/CError.h"
#include "common/ChildProcess.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "platform/CAudioSystem.h"
#include "platform/CSoundPlayer.h"
#include "platform/CSoundRecorder.h"
#include "platform/CWaveImage.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// The header the recorder of the program writes into a new recording file:
// 22050 Hz, 8-bit, mono, no samples (its RIFF size is 38, not 36).
QByteArray EmptyWave()
{
    QByteArray w = MakeWave(22050, 1, 8, 0);
    qToLittleEndian<uint32_t>(38, w.data() + 4);
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

// Checks a saved recording: canonical header with the right sizes, and
// returns its samples.
QByteArray CheckSavedWave(const QString& path)
{
    const QByteArray file = ReadFile(path);
    EXPECT_GE(file.size(), 44);
    if (file.size() < 44)
        return {};
    const uint32_t data = qFromLittleEndian<uint32_t>(file.constData() + 40);
    const uint32_t pad = data & 1;
    EXPECT_EQ(file.left(4), "RIFF");
    EXPECT_EQ(qFromLittleEndian<uint32_t>(file.constData() + 4), 36 + data + pad);
    EXPECT_EQ(uint64_t(file.size()), 44 + data + pad);
    CWaveImage wave;
    EXPECT_TRUE(wave.Parse(file.constData(), file.size()));
    EXPECT_EQ(wave.Rate(), 22050);
    EXPECT_EQ(wave.Channels(), 1);
    EXPECT_EQ(wave.Bits(), 8);
    return file.mid(44, data);
}

QByteArray KnownInput(qsizetype size)
{
    QByteArray raw(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        raw[i] = char((i * 7 + i / 251) & 0xFF);
    return raw;
}

} // namespace

TEST(SoundRecorder, OpenFailsForMissingOrDamagedFiles)
{
    TempDir dir;
    CSoundRecorder recorder;
    EXPECT_THROW(recorder.Open(dir.file("missing.wav")), CError);
    EXPECT_FALSE(recorder.IsOpen());
    WriteFile(dir.file("bad.wav"), EmptyWave().left(30));
    EXPECT_THROW(recorder.Open(dir.file("bad.wav")), CError);
    EXPECT_FALSE(recorder.IsOpen());
    WriteFile(dir.file("good.wav"), EmptyWave());
    recorder.Open(dir.file("good.wav"));
    EXPECT_EQ(recorder.Mode(), EMediaMode::Stopped);
    EXPECT_EQ(recorder.Length(), 0);
}

TEST(SoundRecorder, RecordingToAnEndPositionStopsNotifiesAndSaves)
{
    TempDir dir;
    const QString path = dir.file("AAAAAAAB_AAAAAABK_W.WAV");
    // A file that held an older, longer recording: recording from 0 replaces it.
    WriteFile(path, MakeWave(22050, 1, 8, 22050));
    CSoundRecorder recorder;
    recorder.Open(path);
    EXPECT_EQ(recorder.Length(), 1000);
    QSignalSpy notified(&recorder, &CSoundRecorder::Notify);
    recorder.SetNotify(true);
    recorder.Record(0, 300);
    EXPECT_EQ(recorder.Mode(), EMediaMode::Recording);
    ASSERT_TRUE(notified.wait(3000));
    EXPECT_EQ(notified.count(), 1);
    EXPECT_EQ(recorder.Mode(), EMediaMode::Stopped);
    EXPECT_EQ(recorder.Length(), 300);
    recorder.Save();
    const QByteArray samples = CheckSavedWave(path);
    EXPECT_EQ(samples.size(), 22050 * 3 / 10);
    // The dummy driver records silence.
    EXPECT_EQ(samples, QByteArray(samples.size(), char(0x80)));
    // Nothing more comes after the end.
    QTest::qWait(100);
    EXPECT_EQ(notified.count(), 1);
}

TEST(SoundRecorder, AStopAskedForIsNotNotifiedAndKeepsWhatWasRecorded)
{
    TempDir dir;
    const QString path = dir.file("rec.wav");
    WriteFile(path, EmptyWave());
    CSoundRecorder recorder;
    recorder.Open(path);
    QSignalSpy notified(&recorder, &CSoundRecorder::Notify);
    recorder.SetNotify(true);
    recorder.Record(0, -1);
    QTest::qWait(250);
    recorder.SetNotify(false);
    recorder.Stop();
    EXPECT_EQ(recorder.Mode(), EMediaMode::Stopped);
    const int length = recorder.Length();
    EXPECT_GT(length, 100);
    EXPECT_LT(length, 600);
    recorder.Save();
    EXPECT_EQ(CheckSavedWave(path).size(), recorder.Samples().size());
    QTest::qWait(50);
    EXPECT_EQ(notified.count(), 0);
    EXPECT_EQ(recorder.Length(), length);
}

TEST(SoundRecorder, ARecordingRestartedWithoutPositionsIgnoresTheEarlierEnd)
{
    TempDir dir;
    const QString path = dir.file("rec.wav");
    WriteFile(path, EmptyWave());
    CSoundRecorder recorder;
    recorder.Open(path);
    QSignalSpy notified(&recorder, &CSoundRecorder::Notify);
    recorder.SetNotify(true);
    // An end position already reached, then at once an open-ended recording.
    recorder.Record(0, 0);
    recorder.Record(-1, -1);
    QTest::qWait(300);
    EXPECT_EQ(recorder.Mode(), EMediaMode::Recording);
    EXPECT_EQ(notified.count(), 0);
    recorder.SetNotify(false);
    recorder.Stop();
    EXPECT_GT(recorder.Length(), 150);
}

TEST(SoundRecorder, PlaybackEndsByItselfWithANotification)
{
    TempDir dir;
    const QString path = dir.file("play.wav");
    // An odd number of samples: saving pads the data chunk to an even size.
    WriteFile(path, MakeWave(22050, 1, 8, 22050 * 4 / 10 + 1));
    CSoundRecorder recorder;
    recorder.Open(path);
    QSignalSpy notified(&recorder, &CSoundRecorder::Notify);
    recorder.SetNotify(true);
    QElapsedTimer clock;
    clock.start();
    recorder.Play();
    EXPECT_EQ(recorder.Mode(), EMediaMode::Playing);
    ASSERT_TRUE(notified.wait(3000));
    EXPECT_GE(clock.elapsed(), 400 - 5);
    EXPECT_LE(clock.elapsed(), 400 + 200);
    EXPECT_EQ(recorder.Mode(), EMediaMode::Stopped);
    recorder.Save();
    EXPECT_EQ(CheckSavedWave(path), MakeWave(22050, 1, 8, 22050 * 4 / 10 + 1).mid(44));
    recorder.Close();
    EXPECT_EQ(recorder.Mode(), EMediaMode::NotOpen);
}

// Runs in a child process on SDL's disk driver, which captures from a file.
TEST(ChildRecorder, DiskDriverRecordsItsInput)
{
    SKIP_UNLESS_CHILD();
    const QString dir = qEnvironmentVariable("LOQUENA_FIXTURE_DIR");
    const QString path = dir + "/rec.wav";
    WriteFile(path, EmptyWave());
    CSoundRecorder recorder;
    recorder.Open(path);
    QSignalSpy notified(&recorder, &CSoundRecorder::Notify);
    recorder.SetNotify(true);
    recorder.Record(0, 1000);
    ASSERT_TRUE(notified.wait(5000));
    EXPECT_EQ(CAudioSystem::Driver(), "disk");
    recorder.Save();
    const QByteArray samples = CheckSavedWave(path);
    ASSERT_EQ(samples.size(), 22050);
    EXPECT_EQ(samples, KnownInput(3 * 22050).left(22050));
}

TEST(SoundRecorder, OneSecondThroughTheDiskDriverHoldsTheInputSamples)
{
    TempDir dir;
    WriteFile(dir.file("in.raw"), KnownInput(3 * 22050));
    QProcessEnvironment env;
    env.insert("SDL_AUDIODRIVER", "disk");
    env.insert("SDL_DISKAUDIOFILEIN", dir.file("in.raw"));
    env.insert("SDL_DISKAUDIOFILE", dir.file("out.raw"));
    env.insert("LOQUENA_FIXTURE_DIR", dir.path());
    QString output;
    EXPECT_TRUE(RunChildTest("ChildRecorder.DiskDriverRecordsItsInput", env, &output))
        << output.toStdString();
}

// Runs in a child process with a driver that cannot play.
TEST(ChildAudio, NoUsableDeviceFallsBackToSilence)
{
    SKIP_UNLESS_CHILD();
    const QByteArray wave = MakeWave(22050, 1, 16, 22050 * 3 / 10);
    CSoundPlayer player;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(player.Play(wave.constData(), wave.size(), false));
    // The sound takes its real time, silently (a busy machine may add some).
    EXPECT_GE(clock.elapsed(), 300 - 5);
    EXPECT_LE(clock.elapsed(), 300 + 200);
    EXPECT_EQ(CAudioSystem::Driver(), "dummy");
}

TEST(SoundPlayer, NoUsableDeviceFallsBackToTheDummyDriver)
{
    for (const char* driver : {"nosuchdriver", "alsa"}) {
        QProcessEnvironment env;
        env.insert("SDL_AUDIODRIVER", driver);
        // No ALSA device: point the library at an empty configuration.
        env.insert("ALSA_CONFIG_PATH", "/nonexistent");
        QString output;
        EXPECT_TRUE(RunChildTest("ChildAudio.NoUsableDeviceFallsBackToSilence", env, &output))
            << driver << "\n"
            << output.toStdString();
    }
}

TEST(SoundRecorder, TheMeterReadsThePeakOfTheLastSamples)
{
    TempDir dir;
    struct SCase
    {
        int bits;
        QByteArray loud; // one sample, 0.1 s before the end
        int peak;
    };
    const SCase cases[] = {
        {8, QByteArray(1, char(0x20)), 96 * 256},
        {16, QByteArray::fromHex("00a0"), 24576}, // -24576
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.bits);
        const int frameBytes = c.bits / 8;
        QByteArray wave = MakeWave(22050, 1, c.bits, 22050 / 2);
        wave.replace(44, wave.size() - 44, QByteArray(wave.size() - 44, c.bits == 8 ? '\x80' : 0));
        wave.replace(wave.size() - 2205 * frameBytes, frameBytes, c.loud);
        const QString path = dir.file(QString("peak%1.wav").arg(c.bits));
        WriteFile(path, wave);
        CSoundRecorder recorder;
        recorder.Open(path);
        EXPECT_EQ(recorder.PeakOfLast(50), 0) << "the loud sample is older";
        EXPECT_EQ(recorder.PeakOfLast(150), c.peak);
    }
}

TEST(SoundRecorder, AnEmptyRecordingBelongsToNoFile)
{
    CSoundRecorder recorder;
    recorder.OpenEmpty(1, 22050, 16);
    EXPECT_TRUE(recorder.IsOpen());
    EXPECT_EQ(recorder.Length(), 0);
    EXPECT_EQ(recorder.PeakOfLast(100), 0);
    EXPECT_THROW(recorder.Save(), CError);
    recorder.Record(0, 300); // silence from the dummy driver
    QTest::qWait(400);
    recorder.Stop();
    EXPECT_GT(recorder.Length(), 0);
    EXPECT_EQ(recorder.PeakOfLast(100), 0);
}
