// The voice window: recording through SDL's capture (the disk driver reads a
// prepared input), the level meter, listening, taking a sound file, and every
// refusal told in the message window with the voice taken before kept.
#include "mainwindow/TFormVoice.h"
#include "ColourCount.h"
#include "SkinFixture.h"
#include "app/DisplayMode.h"
#include "common/ChildProcess.h"
#include "common/MessageAnswerer.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "mainwindow/TFormMessage.h"
#include "platform/CWaveImage.h"

#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int Rate = CVoiceTake::Rate;

// 16-bit mono samples: `beforeMs` of silence, a loud tone of `voiceMs`, then
// silence up to `totalMs`.
QByteArray Pcm(int beforeMs, int voiceMs, int totalMs, int amplitude = 12000)
{
    QByteArray pcm(qsizetype(Rate) * totalMs / 1000 * 2, '\0');
    const int from = Rate * beforeMs / 1000, to = from + Rate * voiceMs / 1000;
    for (int i = from; i < to && i * 2 + 1 < pcm.size(); ++i) {
        const auto v = int16_t(amplitude * std::sin(2 * M_PI * 300 * i / Rate));
        qToLittleEndian<int16_t>(v, pcm.data() + 2 * i);
    }
    return pcm;
}

QByteArray WaveOf(const QByteArray& pcm)
{
    return CWaveImage::Header(1, Rate, 16, pcm.size()) + pcm;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The message window with its skins, and the therapist answering it.
class VoiceFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDisplayModeFor(1280, 960);
        ColorMode = CM_COLOR;
        ASSERT_TRUE(
            message.Open(SkinFixture::Get().OpenWindows(), SkinFixture::Get().OpenButtons()));
    }
    void TearDown() override
    {
        TFormVoice::SetShowHook({});
        TFormVoice::SetFileChooser({});
    }

    // Runs Take with `work` as the therapist's hands inside the window.
    std::optional<QByteArray> Take(const std::function<void(TFormVoice&)>& work)
    {
        TFormVoice::SetShowHook([work](TFormVoice& form) {
            work(form);
            if (form.isVisible())
                form.reject();
        });
        return TFormVoice::Take(nullptr, message.get(), QStringLiteral("żółw"));
    }

    static void Click(QPushButton* button)
    {
        ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    MessageWindowFixture message;
    MessageAnswerer answerer;
};

// Waits `ms`, noting the highest level the meter showed meanwhile.
int WatchMeter(TFormVoice& form, int ms)
{
    int highest = 0;
    for (int waited = 0; waited < ms; waited += 20) {
        QTest::qWait(20);
        highest = std::max(highest, form.LevelMeter()->value());
    }
    return highest;
}

} // namespace

// Runs in a child process on SDL's disk driver, which captures from a file.
TEST_F(VoiceFormTest, ChildRecordsThroughTheDiskDriver)
{
    SKIP_UNLESS_CHILD();
    int quietLevel = -1, loudLevel = -1;
    const auto wave = Take([&](TFormVoice& form) {
        EXPECT_FALSE(form.ButtonSave()->isEnabled());
        Click(form.ButtonRecord());
        EXPECT_TRUE(form.IsRecording());
        EXPECT_EQ(form.ButtonRecord()->text(), "Zatrzymaj");
        EXPECT_FALSE(form.ButtonFile()->isEnabled());
        quietLevel = WatchMeter(form, 300); // the input's first 0.6 s are silent
        loudLevel = WatchMeter(form, 1200); // then comes the voice
        Click(form.ButtonRecord());
        EXPECT_FALSE(form.IsRecording());
        EXPECT_EQ(form.ButtonRecord()->text(), "Nagraj ponownie");
        Click(form.ButtonPlay());
        Click(form.ButtonSave());
    });
    EXPECT_EQ(answerer.shown.size(), 0) << answerer.shown.value(0).rows.join('|').toStdString();
    EXPECT_EQ(quietLevel, 0);
    EXPECT_GT(loudLevel, 70);
    ASSERT_TRUE(wave.has_value());
    CWaveImage image;
    ASSERT_TRUE(image.Parse(wave->constData(), wave->size()));
    EXPECT_EQ(image.Rate(), Rate);
    EXPECT_EQ(image.Bits(), 16);
    // The voice (0.7 s) with a little of the silence around it.
    EXPECT_NEAR(image.DurationMs(), CVoiceTake::LeadMs + 700 + CVoiceTake::TailMs, 30);
    int peak = 0;
    for (qsizetype i = 0; i < image.Frames(); ++i)
        peak = std::max(peak, std::abs(int(qFromLittleEndian<int16_t>(image.Samples() + 2 * i))));
    EXPECT_NEAR(peak, 12000, 100) << "the input's samples, unchanged";
}

TEST_F(VoiceFormTest, RecordingThroughTheDiskDriverKeepsTheVoice)
{
    TempDir dir;
    WriteFile(dir.file("in.raw"), Pcm(600, 700, 8000));
    QProcessEnvironment env;
    env.insert("SDL_AUDIODRIVER", "disk");
    env.insert("SDL_DISKAUDIOFILEIN", dir.file("in.raw"));
    env.insert("SDL_DISKAUDIOFILE", dir.file("out.raw"));
    QString output;
    EXPECT_TRUE(RunChildTest("VoiceFormTest.ChildRecordsThroughTheDiskDriver", env, &output))
        << output.toStdString();
}

// Runs in a child process whose microphone cannot be opened.
TEST_F(VoiceFormTest, ChildMissingMicrophoneIsToldAndTheVoiceStays)
{
    SKIP_UNLESS_CHILD();
    TempDir dir;
    WriteFile(dir.file("voice.wav"), WaveOf(Pcm(100, 500, 800)));
    const auto wave = Take([&](TFormVoice& form) {
        ASSERT_TRUE(form.TakeFile(dir.file("voice.wav")));
        const std::vector<int16_t> held = form.Voice().Samples();
        Click(form.ButtonRecord());
        EXPECT_FALSE(form.IsRecording());
        EXPECT_EQ(form.Voice().Samples(), held);
        EXPECT_TRUE(form.ButtonSave()->isEnabled());
        Click(form.ButtonSave());
    });
    ASSERT_EQ(answerer.shown.size(), 1);
    EXPECT_EQ(answerer.shown[0].kind, TFormMessage::KindError);
    EXPECT_EQ(answerer.shown[0].rows.value(0), "Nie można włączyć mikrofonu!");
    EXPECT_TRUE(wave.has_value()) << "the voice taken before is still kept";
}

TEST_F(VoiceFormTest, MissingOrBusyMicrophoneIsToldAndTheVoiceStays)
{
    // The disk driver cannot open its input: as a microphone that is missing
    // or held by another program.
    QProcessEnvironment env;
    env.insert("SDL_AUDIODRIVER", "disk");
    env.insert("SDL_DISKAUDIOFILEIN", "/nonexistent/in.raw");
    env.insert("SDL_DISKAUDIOFILE", "/dev/null");
    QString output;
    EXPECT_TRUE(
        RunChildTest("VoiceFormTest.ChildMissingMicrophoneIsToldAndTheVoiceStays", env, &output))
        << output.toStdString();
}

TEST_F(VoiceFormTest, ASilentRecordingIsRefused)
{
    // SDL's dummy driver records silence.
    const auto wave = Take([&](TFormVoice& form) {
        Click(form.ButtonRecord());
        ASSERT_TRUE(form.IsRecording());
        QTest::qWait(400);
        Click(form.ButtonRecord());
        EXPECT_TRUE(form.Voice().IsEmpty());
        EXPECT_FALSE(form.ButtonSave()->isEnabled());
        EXPECT_FALSE(form.ButtonPlay()->isEnabled());
        EXPECT_EQ(form.ButtonRecord()->text(), "Nagraj");
    });
    EXPECT_FALSE(wave.has_value());
    ASSERT_EQ(answerer.shown.size(), 1);
    EXPECT_EQ(answerer.shown[0].rows.value(0), "W nagraniu nie słychać głosu!");
}

TEST_F(VoiceFormTest, SoundFilesAreTakenAndRefusedOnesLeaveTheVoiceTakenBefore)
{
    TempDir dir;
    WriteFile(dir.file("voice.wav"), WaveOf(Pcm(300, 600, 1500)));
    WriteFile(dir.file("short.wav"), WaveOf(Pcm(300, 100, 1000)));
    WriteFile(dir.file("quiet.wav"), WaveOf(Pcm(0, 0, 1000)));
    WriteFile(dir.file("letter.odt"), "PK\x03\x04 not a sound");
    QStringList chosen = {dir.file("voice.wav"), dir.file("short.wav"), dir.file("quiet.wav"),
                          dir.file("letter.odt"), QString()};
    TFormVoice::SetFileChooser([&](QWidget*) { return chosen.takeFirst(); });
    std::vector<QString> statuses;
    const auto wave = Take([&](TFormVoice& form) {
        for (int i = 0; i < 5; ++i) {
            Click(form.ButtonFile());
            statuses.push_back(form.StatusLabel()->text());
            EXPECT_NEAR(form.Voice().DurationMs(), CVoiceTake::LeadMs + 600 + CVoiceTake::TailMs,
                        20)
                << i;
        }
        Click(form.ButtonSave());
    });
    ASSERT_TRUE(wave.has_value());
    EXPECT_TRUE(statuses[0].startsWith("Nagranie gotowe (0,8 s)")) << statuses[0].toStdString();
    EXPECT_TRUE(statuses[1].startsWith("Zostaje poprzednie nagranie"));
    ASSERT_EQ(answerer.shown.size(), 3) << "a cancelled choice says nothing";
    EXPECT_EQ(answerer.shown[0].rows.value(0), "Nagranie jest za krótkie!");
    EXPECT_EQ(answerer.shown[1].rows.value(0), "W nagraniu nie słychać głosu!");
    EXPECT_EQ(answerer.shown[2].rows.value(0), "Nie można odczytać dźwięku z pliku");
    EXPECT_EQ(answerer.shown[2].rows.value(1), "letter.odt");
}

TEST_F(VoiceFormTest, CancellingReturnsNothingEvenWithAVoiceTaken)
{
    TempDir dir;
    WriteFile(dir.file("voice.wav"), WaveOf(Pcm(0, 500, 500)));
    const auto wave = Take([&](TFormVoice& form) {
        ASSERT_TRUE(form.TakeFile(dir.file("voice.wav")));
        Click(form.ButtonCancel());
    });
    EXPECT_FALSE(wave.has_value());
}

TEST_F(VoiceFormTest, LooksLikeTheProgramInColourAndGrey)
{
    TempDir dir;
    WriteFile(dir.file("voice.wav"), WaveOf(Pcm(0, 500, 500)));
    const QString shots = qEnvironmentVariable("LOQUENA_SCREENSHOT_DIR");
    std::vector<QImage> looks;
    for (int mode : {CM_COLOR, CM_MONO}) {
        ColorMode = mode;
        Take([&](TFormVoice& form) {
            form.TakeFile(dir.file("voice.wav"));
            const QImage look = form.grab().toImage();
            looks.push_back(look);
            if (!shots.isEmpty())
                look.save(shots + (mode == CM_MONO ? "/voice-grey.png" : "/voice-colour.png"));
        });
    }
    ColorMode = CM_COLOR;
    ASSERT_EQ(looks.size(), 2u);
    EXPECT_GT(ColourfulPixels(looks[0]), looks[0].width() * looks[0].height() / 2);
    EXPECT_EQ(ColourfulPixels(looks[1]), 0) << "nothing coloured in the grey mode";
}
