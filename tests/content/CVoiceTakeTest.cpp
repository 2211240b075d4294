// Taking a voice: silence cut at both ends, silent and too short takes
// refused without losing the voice held before, and real sound files made by
// ffmpeg, sox and espeak-ng converted.
#include "content/CVoiceTake.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "platform/CWaveImage.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int Rate = CVoiceTake::Rate;

int Samples(int ms)
{
    return Rate * ms / 1000;
}

// Silence (with room noise of `noise`), a tone of `voiceMs`, silence again.
std::vector<int16_t> Take(int beforeMs, int voiceMs, int afterMs, int amplitude = 8000,
                          int noise = 0)
{
    std::vector<int16_t> s;
    QRandomGenerator random(7);
    auto hiss = [&] { return noise ? int16_t(random.bounded(-noise, noise + 1)) : int16_t(0); };
    for (int i = 0; i < Samples(beforeMs); ++i)
        s.push_back(hiss());
    for (int i = 0; i < Samples(voiceMs); ++i)
        s.push_back(int16_t(amplitude * std::sin(2 * M_PI * 220 * i / Rate)) + hiss());
    for (int i = 0; i < Samples(afterMs); ++i)
        s.push_back(hiss());
    return s;
}

bool RunTool(const QString& program, const QStringList& arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return false;
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

TEST(VoiceTake, SilenceIsCutAtBothEndsKeepingAMarginAndTheWholeVoice)
{
    struct SCase
    {
        const char* what;
        int before, voice, after, amplitude, noise;
    };
    const SCase cases[] = {
        {"quiet room", 700, 500, 900, 8000, 0},
        {"room noise", 700, 500, 900, 8000, 200},
        {"soft voice over noise", 400, 800, 400, 2500, 120},
        {"no silence to cut", 0, 600, 0, 8000, 0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        CVoiceTake take;
        ASSERT_EQ(take.SetSamples(Take(c.before, c.voice, c.after, c.amplitude, c.noise)),
                  CVoiceTake::VoiceOk);
        const int lead = std::min(c.before, CVoiceTake::LeadMs);
        const int tail = std::min(c.after, CVoiceTake::TailMs);
        EXPECT_NEAR(take.DurationMs(), lead + c.voice + tail, 20);
        // The tone's first and last cycles are kept whole: the take's loudest
        // parts sit inside, past the kept silence.
        const auto& s = take.Samples();
        int peakStart = 0, peakEnd = 0;
        for (int i = 0; i < Samples(lead + 10); ++i)
            peakStart = std::max(peakStart, std::abs(int(s[size_t(i)])));
        for (size_t i = s.size() - size_t(Samples(tail + 10)); i < s.size(); ++i)
            peakEnd = std::max(peakEnd, std::abs(int(s[i])));
        EXPECT_GT(peakStart, c.amplitude / 2);
        EXPECT_GT(peakEnd, c.amplitude / 2);
    }
}

TEST(VoiceTake, SilentAndTooShortTakesAreRefusedAndTheVoiceHeldBeforeStays)
{
    CVoiceTake take;
    ASSERT_EQ(take.SetSamples(Take(100, 400, 100)), CVoiceTake::VoiceOk);
    const std::vector<int16_t> held = take.Samples();
    struct SCase
    {
        const char* what;
        std::vector<int16_t> samples;
        CVoiceTake::EProblem problem;
    };
    const SCase cases[] = {
        {"nothing at all", {}, CVoiceTake::VoiceSilent},
        {"digital silence", Take(1000, 0, 0), CVoiceTake::VoiceSilent},
        {"room noise only", Take(2000, 0, 0, 0, 300), CVoiceTake::VoiceSilent},
        {"a click", Take(500, 20, 500), CVoiceTake::VoiceTooShort},
        {"0.15 s of voice", Take(500, 150, 500), CVoiceTake::VoiceTooShort},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(take.SetSamples(c.samples), c.problem);
        EXPECT_EQ(take.Samples(), held);
        EXPECT_EQ(CVoiceTake::ProblemRows(c.problem).size(), 3);
    }
    EXPECT_EQ(take.SetSamples(Take(500, 250, 500)), CVoiceTake::VoiceOk) << "0.25 s is enough";
}

TEST(VoiceTake, WaveImagesOfAnyPcmFormatAreConvertedAndTheTakeIsAWave)
{
    // 8-bit stereo at 44100 Hz: a loud square wave between two silences.
    QByteArray wave = MakeWave(44100, 2, 8, 44100);
    for (int i = 0; i < 44100 * 2; ++i) {
        const int frame = i / 2;
        const bool voice = frame >= 11025 && frame < 33075;
        wave[44 + i] = char(voice ? ((frame / 50) % 2 ? 0xF0 : 0x10) : 0x80);
    }
    CVoiceTake take;
    ASSERT_EQ(take.SetWave(wave), CVoiceTake::VoiceOk);
    EXPECT_NEAR(take.DurationMs(), CVoiceTake::LeadMs + 500 + CVoiceTake::TailMs, 25);

    const QByteArray out = take.Wave();
    CWaveImage image;
    ASSERT_TRUE(image.Parse(out.constData(), out.size()));
    EXPECT_EQ(image.Channels(), 1);
    EXPECT_EQ(image.Rate(), Rate);
    EXPECT_EQ(image.Bits(), 16);
    ASSERT_EQ(image.Frames(), qsizetype(take.Samples().size()));
    EXPECT_EQ(qFromLittleEndian<int16_t>(image.Samples() + 2000), take.Samples()[1000]);

    EXPECT_EQ(take.SetWave(QByteArray("RIFF....WAVEjunk")), CVoiceTake::VoiceUndecodable);
    EXPECT_EQ(take.Wave(), out) << "a refused image leaves the take as it was";
}

TEST(VoiceTake, SoundFilesMadeByFfmpegSoxAndEspeakAreTaken)
{
    TempDir dir;
    struct SCase
    {
        const char* file;
        QString program;
        QStringList arguments;
        int minMs, maxMs;
    };
    const QString tone = "sine=frequency=330:duration=0.8";
    const std::vector<SCase> cases = {
        {"tone.mp3",
         "ffmpeg",
         {"-v", "error", "-f", "lavfi", "-i", tone, "-af", "adelay=400:all=1,apad=pad_dur=0.6",
          "-ac", "2", "-ar", "44100", dir.file("tone.mp3")},
         800,
         1100},
        {"tone.ogg",
         "ffmpeg",
         {"-v", "error", "-f", "lavfi", "-i", tone, "-af", "adelay=300:all=1,apad=pad_dur=0.3",
          "-c:a", "libvorbis", dir.file("tone.ogg")},
         800,
         1100},
        {"tone.flac",
         "sox",
         {"-n", "-r", "48000", "-b", "24", dir.file("tone.flac"), "synth", "0.6", "sine", "500",
          "pad", "0.5", "0.5"},
         600,
         900},
        {"speech.wav",
         "espeak-ng",
         {"-v", "pl", "-w", dir.file("speech.wav"), "dzień dobry"},
         400,
         2500},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(RunTool(c.program, c.arguments)) << c.program.toStdString() << " is needed";
        CVoiceTake take;
        ASSERT_EQ(take.SetFile(dir.file(c.file)), CVoiceTake::VoiceOk);
        EXPECT_GE(take.DurationMs(), c.minMs);
        EXPECT_LE(take.DurationMs(), c.maxMs);
    }
    // A file of silence only is a silent take.
    ASSERT_TRUE(RunTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "anullsrc=r=22050:cl=mono",
                                   "-t", "1", dir.file("silence.wav")}));
    CVoiceTake take;
    EXPECT_EQ(take.SetFile(dir.file("silence.wav")), CVoiceTake::VoiceSilent);
}

TEST(VoiceTake, FilesThatHoldNoReadableSoundAreUndecodable)
{
    TempDir dir;
    ASSERT_TRUE(RunTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "sine=duration=2", "-ac",
                                   "1", dir.file("whole.mp3")}));
    QFile whole(dir.file("whole.mp3"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QByteArray garbled = whole.readAll();
    for (qsizetype i = 0; i < garbled.size(); ++i)
        garbled[i] = char(garbled[i] ^ 0x5A);
    const std::vector<std::pair<const char*, QByteArray>> files = {
        {"empty.wav", {}},
        {"notes.txt", "To jest tekst, a nie dźwięk.\n"},
        {"garbled.mp3", garbled},
        {"picture.png", QByteArray::fromHex("89504e470d0a1a0a0000000d49484452")},
    };
    CVoiceTake take;
    ASSERT_EQ(take.SetSamples(Take(100, 400, 100)), CVoiceTake::VoiceOk);
    const std::vector<int16_t> held = take.Samples();
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        QFile f(dir.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        EXPECT_EQ(take.SetFile(dir.file(name)), CVoiceTake::VoiceUndecodable);
        EXPECT_EQ(take.Samples(), held);
    }
    EXPECT_EQ(take.SetFile(dir.file("missing.mp3")), CVoiceTake::VoiceUndecodable);
    const QStringList rows =
        CVoiceTake::ProblemRows(CVoiceTake::VoiceUndecodable, dir.file("notes.txt"));
    EXPECT_EQ(rows.value(1), "notes.txt");
}
