// The therapist's own recordings of the shipped material: where they live,
// how they are written (private modes, never half a file), and that the
// content sound player plays them instead of the shipped sound until removed.
#include "content/OwnVoices.h"
#include "common/ChildProcess.h"
#include "common/FileFixture.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "content/ContentScramble.h"
#include "content/ContentSound.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// 0.4 s of 16-bit mono: silence (0) or a loud square wave.
QByteArray Voice(bool loud)
{
    QByteArray wave = MakeWave(22050, 1, 16, 22050 * 4 / 10);
    for (qsizetype i = 44; i + 1 < wave.size(); i += 2) {
        const int16_t v = loud ? ((i / 80) % 2 ? 12000 : -12000) : 0;
        wave[i] = char(v & 0xFF);
        wave[i + 1] = char((v >> 8) & 0xFF);
    }
    return wave;
}

// A program folder with one shipped word sound, made the current directory.
class OwnVoicesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
        ASSERT_TRUE(QDir().mkpath("Data/ws"));
        ASSERT_TRUE(QDir().mkpath("Nagrane"));
        WriteAll("Data/ws/KOT.wv", ScrambleWv(Voice(false)));
        m_word.Nazwa = "KOT";
    }
    void TearDown() override
    {
        StopContentSound();
        QDir::setCurrent(m_oldDir);
    }

    TempDir m_dir;
    QString m_oldDir;
    CRecWord m_word;
};

// Files left in a folder besides `keep`.
QStringList Others(const QString& folder, const QString& keep)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll(keep);
    return names;
}

} // namespace

TEST(OwnVoiceFile, EveryShippedSoundHasItsPlaceBesideNagrane)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Data/ws/KOT", "Glosy/ws/KOT.wv"},
        {"Data/dws/ŻÓŁW", "Glosy/dws/ŻÓŁW.wv"},
        {"Data/ps/p005", "Glosy/ps/p005.wv"},
        {"Data/as/p2_12", "Glosy/as/p2_12.wv"},
        {"Data/sp/g16", "Glosy/sp/g16.wv"},
        {"Data/dml/m3", "Glosy/dml/m3.wv"},
        // Not shipped sounds: no own recording can stand in for them.
        {"Nagrane/AAAAAAAB_AAAAAABK_W", ""},
        {"Data/", ""},
        {"Data/ws/", ""},
        {"Data/../pacmem", ""},
        {"data/ws/KOT", ""},
        // One sound, one file: no other spelling of a path.
        {"Data/ws/./KOT", ""},
        {"Data/ws//KOT", ""},
        {"Data//ws/KOT", ""},
    };
    for (const auto& [sound, own] : cases)
        EXPECT_EQ(OwnVoiceFile(sound), QString(own)) << sound;
}

TEST_F(OwnVoicesTest, ARecordingReplacesTheShippedSoundUntilItIsRemoved)
{
    const QString sound = WordSoundPath(m_word);
    PlayWordSound(m_word, false);
    EXPECT_EQ(LastWvFile(), "Data/ws/KOT.wv");

    const QByteArray voice = Voice(true);
    ASSERT_TRUE(SaveOwnVoice(sound, voice));
    EXPECT_TRUE(HasOwnVoice(sound));
    EXPECT_EQ(UnscrambleWv(ReadAll("Glosy/ws/KOT.wv")), voice) << "stored in the scrambled form";
    EXPECT_EQ(ModeOf("Glosy"), 0700u);
    EXPECT_EQ(ModeOf("Glosy/ws"), 0700u);
    EXPECT_EQ(ModeOf("Glosy/ws/KOT.wv"), 0600u);
    EXPECT_EQ(Others("Glosy/ws", "KOT.wv"), QStringList()) << "no temporary file is left";
    EXPECT_EQ(UnscrambleWv(ReadAll("Data/ws/KOT.wv")), Voice(false)) << "shipped sound untouched";

    PlayWordSound(m_word, false);
    EXPECT_EQ(LastWvPath(), "Data/ws/KOT");
    EXPECT_EQ(LastWvFile(), "Glosy/ws/KOT.wv");

    // Recording again replaces the recording.
    QByteArray again = Voice(true);
    again[100] = 7;
    ASSERT_TRUE(SaveOwnVoice(sound, again));
    EXPECT_EQ(UnscrambleWv(ReadAll("Glosy/ws/KOT.wv")), again);

    ASSERT_TRUE(RemoveOwnVoice(sound));
    EXPECT_FALSE(HasOwnVoice(sound));
    EXPECT_TRUE(RemoveOwnVoice(sound)) << "nothing left to remove is no failure";
    PlayWordSound(m_word, false);
    EXPECT_EQ(LastWvFile(), "Data/ws/KOT.wv");
}

TEST_F(OwnVoicesTest, AFailedWriteLeavesTheRecordingHeldBefore)
{
    const QString sound = WordSoundPath(m_word);
    const QByteArray first = Voice(true);
    ASSERT_TRUE(SaveOwnVoice(sound, first));
    const QByteArray stored = ReadAll("Glosy/ws/KOT.wv");

    bool saved = true;
    {
        const FileSizeLimit diskFull(1000);
        ASSERT_TRUE(diskFull.ok());
        saved = SaveOwnVoice(sound, MakeWave(22050, 1, 16, 22050));
    }

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadAll("Glosy/ws/KOT.wv"), stored);
    EXPECT_EQ(Others("Glosy/ws", "KOT.wv"), QStringList()) << "the half-written file is gone";

    // A folder that cannot be made: "Glosy/dws" is a file.
    WriteAll("Glosy/dws", "x");
    EXPECT_FALSE(SaveOwnVoice(WordDescriptionPath(m_word), first));
    EXPECT_FALSE(SaveOwnVoice("Nagrane/X", first)) << "only shipped sounds have own recordings";
    EXPECT_EQ(QDir("Nagrane").entryList(QDir::Files), QStringList());
}

// Runs in a child process on SDL's disk driver, which writes what is heard.
TEST(ChildOwnVoice, TheOwnRecordingIsWhatIsHeard)
{
    SKIP_UNLESS_CHILD();
    ASSERT_TRUE(QDir::setCurrent(qEnvironmentVariable("LOQUENA_FIXTURE_DIR")));
    CRecWord word;
    word.Nazwa = "KOT";
    PlayWordSound(word, false); // the shipped sound: silence
    ASSERT_TRUE(SaveOwnVoice(WordSoundPath(word), Voice(true)));
    PlayWordSound(word, false);
    ReleaseContentSound();
}

TEST_F(OwnVoicesTest, TheOwnRecordingIsWhatIsHeard)
{
    QProcessEnvironment env;
    env.insert("SDL_AUDIODRIVER", "disk");
    env.insert("SDL_DISKAUDIOFILE", m_dir.file("out.raw"));
    env.insert("LOQUENA_FIXTURE_DIR", m_dir.path());
    QString output;
    ASSERT_TRUE(RunChildTest("ChildOwnVoice.TheOwnRecordingIsWhatIsHeard", env, &output))
        << output.toStdString();
    // The device's output: the shipped silence, then the loud own voice.
    const QByteArray out = ReadAll(m_dir.file("out.raw"));
    ASSERT_FALSE(out.isEmpty());
    int loud = 0;
    for (qsizetype i = 0; i + 1 < out.size(); i += 2)
        loud += std::abs(int(int16_t(uint8_t(out[i]) | uint8_t(out[i + 1]) << 8))) > 6000;
    EXPECT_GT(loud, 22050 / 10) << "the own voice was not heard";
}
