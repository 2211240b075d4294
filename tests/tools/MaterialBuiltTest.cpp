// What the material step makes: a small folder built from a few fixture
// records and home-made icons, and (when one has been built) the real program
// folder.
#include "DataBuild.h"
#include "PhotoSize.h"
#include "common/FileFixture.h"
#include "common/TempDir.h"
#include "content/CWords.h"
#include "content/OwnVoices.h"
#include "material/BuildStamps.h"
#include "material/EmojiLibrary.h"
#include "material/MaterialDeps.h"
#include "material/MaterialSources.h"
#include "material/MaterialSteps.h"
#include "material/MaterialWave.h"
#include "material/ProcessPool.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

bool HasTool(const QString& program)
{
    QProcess p;
    p.start(program, {program.startsWith("ff") ? "-version" : "--version"});
    return p.waitForFinished(10000) && p.exitCode() == 0;
}

// The pictures of a photo archive, by index: every entry must be a JPEG.
QList<QImage> ReadArchive(const QString& path)
{
    const QByteArray file = ReadAll(path);
    QList<QImage> images;
    if (file.size() < 17 || !file.startsWith(QByteArray("BC\x01"
                                                        "1",
                                                        4)))
        return images;
    const int count = qFromLittleEndian<int32_t>(file.constData() + 13);
    for (int i = 0; i < count; ++i) {
        const char* rec = file.constData() + 17 + 24 * i;
        const int offset = qFromLittleEndian<int32_t>(rec);
        const int size = qFromLittleEndian<int32_t>(rec + 4);
        if (rec[20] != 2 || offset < 0 || offset + size > file.size())
            return {};
        images << QImage::fromData(file.mid(offset, size), "JPEG");
    }
    return images;
}

// Rows of one column, in table order.
QStringList Column(const QString& dbPath, const QString& sql)
{
    QStringList out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(dbPath).constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW)
                out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

struct FilmInfo
{
    int frames = 0;
    QSize size;
    double seconds = 0;
};

// Decodes a scrambled film from a copy, as the video panel would see it.
FilmInfo ProbeFilm(const QString& scrambled, const QString& scratch)
{
    QFile::remove(scratch);
    QFile::copy(scrambled, scratch);
    UnscrambleFilm(scratch);
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0",
                            "-show_entries", "stream=width,height,nb_read_frames:format=duration",
                            "-of", "default=noprint_wrappers=1", scratch});
    probe.waitForFinished(60000);
    FilmInfo info;
    for (const QString& line : QString::fromUtf8(probe.readAllStandardOutput()).split('\n')) {
        const QString key = line.section('=', 0, 0), value = line.section('=', 1);
        if (key == "width")
            info.size.setWidth(value.toInt());
        else if (key == "height")
            info.size.setHeight(value.toInt());
        else if (key == "nb_read_frames")
            info.frames = value.toInt();
        else if (key == "duration")
            info.seconds = value.toDouble();
    }
    return info;
}

// How far a decoded frame is from grey: the largest channel difference of any pixel.
int FrameColourfulness(const QString& film, const QString& scratch, const QString& png)
{
    QFile::remove(scratch);
    QFile::copy(film, scratch);
    UnscrambleFilm(scratch);
    QProcess::execute("ffmpeg",
                      {"-v", "error", "-y", "-ss", "2", "-i", scratch, "-frames:v", "1", png});
    const QImage image = QImage(png).convertToFormat(QImage::Format_RGB32);
    int most = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            most = std::max({most, std::abs(qRed(c) - qGreen(c)), std::abs(qGreen(c) - qBlue(c))});
        }
    return most;
}

const char* Svg(const char* colour)
{
    static QByteArray text;
    text = QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 32 32\">"
                      "<circle cx=\"16\" cy=\"16\" r=\"12\" fill=\"") +
           colour + "\"/></svg>";
    return text.constData();
}

// A small material: three words, two proverbs, one activity, a few phrases.
class SmallMaterial : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Write(m_dir.file("icons/red.svg"), Svg("#d03030"));
        Write(m_dir.file("icons/blue.svg"), Svg("#3050d0"));
        m_ctx.source = QDir(m_dir.file("data"));
        m_ctx.out = QDir(m_dir.file("program"));
        m_ctx.work = QDir(m_dir.file("work"));
        QDir().mkpath(m_dir.file("program/Data"));
        QDir().mkpath(m_dir.file("work"));
        m_src.Words = {Word("KOT", "Z", "red", "Zwierzę domowe, które miauczy."),
                       Word("DOM", "D", "blue", ""), Word("ŻABA", "ZG", "red", "")};
        m_src.Proverbs = {Proverb(7, "Z", "BEZ PRACY", "NIE MA KOŁACZY"),
                          Proverb(1234, "LB", "GOŚĆ W DOM,", "BÓG W DOM")};
        SourceAction a;
        a.ID = 12;
        a.Grupy = "S";
        a.Nazwa = "Bieg";
        a.Podpis1 = "BIEG";
        a.Podpis2 = "BIEGNIE";
        FilmSprite s;
        s.Picture = "red";
        s.X = 10;
        s.ToX = 90;
        a.Film = {s};
        a.FilmText = "red 10,50,30 to=90,50";
        m_src.Actions = {a};
        m_src.Phrases = {Phrase("sp/g1", "Brawo!", {}), Phrase("sp/b1", "", {523, 440}),
                         Phrase("dml/m10", "październik", {})};
    }

    static SourceWord Word(const QString& n, const QString& g, const QString& pic,
                           const QString& opis)
    {
        SourceWord w;
        w.Nazwa = n;
        w.Slowo = n.toLower();
        w.Speak = w.Slowo;
        w.Grupy = g;
        w.Picture = pic;
        w.Opis = opis;
        return w;
    }
    static SourceProverb Proverb(int id, const QString& g, const QString& pocz, const QString& kon)
    {
        SourceProverb p;
        p.ID = id;
        p.Grupy = g;
        p.Pocz = pocz;
        p.Kon = kon;
        p.SpeakPocz = pocz.toLower();
        p.SpeakKon = kon.toLower();
        return p;
    }
    static SourcePhrase Phrase(const QString& key, const QString& text, const QList<int>& tone)
    {
        SourcePhrase p;
        p.Key = key;
        p.Text = text;
        p.ToneHz = tone;
        return p;
    }

    // Runs one part of the step with a fresh stamp file reader, as a new build would.
    void Run(void (*step)(MaterialJob&))
    {
        BuildStamps stamps(m_ctx.work.filePath("material.stamps"));
        EmojiLibrary emoji(m_dir.file("icons"));
        ProcessPool pool(2);
        MaterialJob job{m_ctx, m_src, stamps, emoji, pool};
        step(job);
        stamps.Save();
    }

    QString Data(const QString& rel) const { return m_ctx.dataPath(rel); }

    TempDir m_dir;
    DataBuildContext m_ctx;
    MaterialSources m_src;
};

} // namespace

TEST_F(SmallMaterial, ContentDatabaseHoldsEveryRowInSourceOrder)
{
    Run(BuildContentDatabase);
    const QString db = Data("sdrow.qp");
    EXPECT_EQ(Column(db, "SELECT Nazwa FROM Slowa"), QStringList({"KOT", "DOM", "ŻABA"}));
    EXPECT_EQ(Column(db, "SELECT Slowo FROM Slowa"), QStringList({"kot", "dom", "żaba"}));
    EXPECT_EQ(Column(db, "SELECT BCIndex FROM Slowa"), QStringList({"0", "1", "2"}));
    EXPECT_EQ(Column(db, "SELECT Opis FROM Slowa"),
              QStringList({"Zwierzę domowe, które miauczy.", "", ""}));
    EXPECT_EQ(Column(db, "SELECT ID FROM Przyslowia"), QStringList({"7", "1234"}));
    EXPECT_EQ(Column(db, "SELECT Kon FROM Przyslowia"),
              QStringList({"NIE MA KOŁACZY", "BÓG W DOM"}));
    EXPECT_EQ(Column(db, "SELECT Podpis2 FROM Czynnosci"), QStringList({"BIEGNIE"}));
    EXPECT_EQ(Column(db, "SELECT count(*) FROM Slowa WHERE Jest = 1"), QStringList({"3"}));

    // The program's loader reads it as the sources say.
    CWords words;
    ASSERT_TRUE(words.Open(db)) << words.LastError().toStdString();
    ASSERT_EQ(words.Words().Count(), 3);
    EXPECT_EQ(words.Words()[2].Nazwa, "ŻABA");
    EXPECT_EQ(words.Words()[2].BCIndex, 2);
    EXPECT_EQ(words.CountWords(1 << 1), 2); // Z: KOT and ŻABA
    EXPECT_EQ(words.CountWords(1 << 6), 1); // G: ŻABA
    EXPECT_EQ(words.CountDescribedWords(0x1FF), 1);
    ASSERT_EQ(words.Proverbs().Count(), 2);
    EXPECT_EQ(words.Proverbs()[0].SoundPocz, "p007");
    EXPECT_EQ(words.Proverbs()[1].SoundKon, "k1234");
    EXPECT_EQ(words.CountProverbs(1 << 2), 1); // B
    ASSERT_EQ(words.Actions().Count(), 1);
    EXPECT_EQ(words.Actions()[0].ID, 12);
    EXPECT_EQ(words.CountActions(1 << 3), 1); // S

    // A changed source replaces the database whole.
    m_src.Words.removeLast();
    Run(BuildContentDatabase);
    EXPECT_EQ(Column(db, "SELECT Nazwa FROM Slowa"), QStringList({"KOT", "DOM"}));
}

TEST_F(SmallMaterial, PhotoArchivesHoldOnePictureAtEachIndex)
{
    Run(BuildPhotoArchives);
    for (auto [name, size] :
         {std::pair{"zdjar3.bb", PhotoSize1024}, std::pair{"zdjar5.bb", PhotoSize1280}}) {
        const QList<QImage> photos = ReadArchive(Data(name));
        ASSERT_EQ(photos.size(), 3) << name;
        for (const QImage& photo : photos)
            EXPECT_EQ(photo.size(), size) << name;
        // Index 1 is the blue picture, centred on the light background.
        const QImage& dom = photos[1];
        const QRgb centre = dom.pixel(size.width() / 2, size.height() / 2);
        EXPECT_GT(qBlue(centre), 150);
        EXPECT_LT(qRed(centre), 100);
        const QRgb corner = dom.pixel(3, 3);
        EXPECT_GT(qRed(corner), 220);
        EXPECT_GT(qGreen(corner), 220);
    }
}

TEST_F(SmallMaterial, EverySoundUnscramblesToAWaveOfAtLeastAFifthOfASecond)
{
    if (!HasTool("espeak-ng"))
        GTEST_SKIP() << "espeak-ng is not installed";
    Write(Data("ws/STARY.wv"), "left by a word that is gone");
    Run(BuildSpeech);
    EXPECT_FALSE(QFileInfo::exists(Data("ws/STARY.wv")));
    const QStringList expected = {"ws/KOT",  "ws/DOM",   "ws/ŻABA",  "dws/KOT",  "ps/p007",
                                  "ps/k007", "ps/p1234", "ps/k1234", "as/p1_12", "as/p2_12",
                                  "sp/g1",   "sp/b1",    "dml/m10"};
    for (const QString& key : expected) {
        const QByteArray wv = ReadAll(Data(key + ".wv"));
        ASSERT_FALSE(wv.isEmpty()) << key.toStdString();
        EXPECT_FALSE(wv.startsWith("RIFF")) << key.toStdString() << " is not scrambled";
        EXPECT_GE(WaveDuration(UnscrambleSound(wv)), 0.2) << key.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(Data("dws/DOM.wv")))
        << "a word without a riddle has no riddle sound";
    EXPECT_NEAR(WaveDuration(UnscrambleSound(ReadAll(Data("sp/b1.wv")))), 0.44, 0.001);
}

TEST_F(SmallMaterial, RecordingReplacesSynthesisAndOnlyChangesAreRedone)
{
    if (!HasTool("espeak-ng"))
        GTEST_SKIP() << "espeak-ng is not installed";
    const QByteArray recording = MakeToneWave({300, 310, 320});
    Write(m_dir.file("data/voice/ws/KOT.wav"), recording);
    Run(BuildSpeech);
    EXPECT_EQ(UnscrambleSound(ReadAll(Data("ws/KOT.wv"))), recording);

    const QByteArray dom = ReadAll(Data("ws/DOM.wv"));
    QFile::remove(Data("ws/DOM.wv"));
    Write(Data("ws/DOM.wv"), dom); // same bytes, new time: a rebuild must leave it
    const QDateTime rewritten = QFileInfo(Data("ws/DOM.wv")).lastModified();
    m_src.Words[2].Speak = "żabka"; // a respelling redoes that word only
    QFile::remove(m_dir.file("data/voice/ws/KOT.wav"));
    Run(BuildSpeech);
    EXPECT_EQ(QFileInfo(Data("ws/DOM.wv")).lastModified(), rewritten);
    EXPECT_NE(UnscrambleSound(ReadAll(Data("ws/KOT.wv"))), recording) << "back to synthesis";

    // A recording that is not a WAVE stops the build with its key.
    Write(m_dir.file("data/voice/ws/DOM.wav"), "not a wave");
    EXPECT_THROW(Run(BuildSpeech), DataBuildError);
}

// The therapist's own recordings are the user's data: a data build, even a
// forced one, leaves their folder exactly as it was.
TEST_F(SmallMaterial, TheOwnRecordingsFolderIsNeverWritten)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_ctx.out.path()));
    ASSERT_TRUE(SaveOwnVoice("Data/ws/KOT", MakeToneWave({300, 310})));
    ASSERT_TRUE(SaveOwnVoice("Data/sp/g1", MakeToneWave({400})));
    QDir::setCurrent(previous);
    auto snapshot = [this] {
        QStringList entries;
        QDirIterator it(m_ctx.out.filePath(OwnVoicesFolder),
                        QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo f(it.next());
            entries << f.filePath() + " " + QString::number(int(f.permissions())) + " " +
                           QString::number(f.lastModified().toMSecsSinceEpoch()) + " " +
                           QString::fromLatin1(ReadAll(f.filePath()).toHex());
        }
        entries.sort();
        return entries;
    };
    const QStringList before = snapshot();
    ASSERT_EQ(before.size(), 4) << "two folders and two recordings";
    Run(BuildContentDatabase);
    if (HasTool("espeak-ng"))
        Run(BuildSpeech);
    m_ctx.force = true;
    BuildPatientFolder(m_ctx);
    EXPECT_EQ(snapshot(), before);
}

namespace {

// A PCM WAVE of a quiet hum; `dataSize` other than 0 is written as the data
// chunk's size in place of the real one.
QByteArray RecordedWave(int channels, int rate, int bits, double seconds, uint32_t dataSize = 0)
{
    const int frameBytes = channels * bits / 8;
    const QByteArray samples(qsizetype(seconds * rate) * frameBytes, bits == 8 ? '\x80' : '\x01');
    auto put = [](QByteArray& b, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.append(char((v >> (8 * i)) & 0xff));
    };
    QByteArray wave("RIFF");
    put(wave, uint32_t(36 + samples.size()), 4);
    wave.append("WAVEfmt ");
    put(wave, 16, 4);
    put(wave, 1, 2); // PCM
    put(wave, uint32_t(channels), 2);
    put(wave, uint32_t(rate), 4);
    put(wave, uint32_t(rate * frameBytes), 4);
    put(wave, uint32_t(frameBytes), 2);
    put(wave, uint32_t(bits), 2);
    wave.append("data");
    put(wave, dataSize ? dataSize : uint32_t(samples.size()), 4);
    return wave + samples;
}

} // namespace

TEST_F(SmallMaterial, RecordingIsTakenOnlyWhenTheProgramCanPlayIt)
{
    if (!HasTool("espeak-ng"))
        GTEST_SKIP() << "espeak-ng is not installed";
    const QString recording = m_dir.file("data/voice/ws/KOT.wav");
    struct Case
    {
        const char* what;
        QByteArray wave;
        bool taken;
    };
    const Case cases[] = {
        {"16-bit mono 22050 Hz", RecordedWave(1, 22050, 16, 0.5), true},
        {"8-bit stereo 44100 Hz", RecordedWave(2, 44100, 8, 0.5), true},
        {"16-bit stereo 48000 Hz", RecordedWave(2, 48000, 16, 0.3), true},
        {"24-bit samples", RecordedWave(1, 44100, 24, 0.5), false},
        {"three channels", RecordedWave(3, 22050, 16, 0.5), false},
        {"sizes left unfilled (written to a pipe)", RecordedWave(1, 22050, 16, 0.5, 0xffffffffu),
         false},
        {"a tenth of a second", RecordedWave(1, 22050, 16, 0.1), false},
    };
    for (const Case& c : cases) {
        Write(recording, c.wave);
        if (c.taken) {
            EXPECT_NO_THROW(Run(BuildSpeech)) << c.what;
            EXPECT_EQ(UnscrambleSound(ReadAll(Data("ws/KOT.wv"))), c.wave) << c.what;
        } else {
            try {
                Run(BuildSpeech);
                ADD_FAILURE() << c.what << ": taken";
            } catch (const DataBuildError& e) {
                EXPECT_NE(std::string(e.what()).find("ws/KOT"), std::string::npos)
                    << c.what << ": " << e.what();
            }
        }
    }
}

TEST_F(SmallMaterial, FilmsDecodeInColourAndGrey)
{
    if (!HasTool("ffmpeg") || !HasTool("ffprobe"))
        GTEST_SKIP() << "ffmpeg is not installed";
    Run(BuildFilms);
    for (const QString& film : {Data("asm/12.mpg"), Data("asmgr/12.mpg")}) {
        const QByteArray bytes = ReadAll(film);
        ASSERT_FALSE(bytes.isEmpty()) << film.toStdString();
        EXPECT_NE(bytes[0], 0) << "stored scrambled";
        const FilmInfo info = ProbeFilm(film, m_dir.file("probe.mpg"));
        EXPECT_EQ(info.size, FilmSize);
        EXPECT_NEAR(info.frames, FilmFrames, 2);
        EXPECT_GE(info.seconds, 3.0);
        EXPECT_LE(info.seconds, 6.0);
    }
    EXPECT_GT(FrameColourfulness(Data("asm/12.mpg"), m_dir.file("c.mpg"), m_dir.file("c.png")), 60);
    EXPECT_LT(FrameColourfulness(Data("asmgr/12.mpg"), m_dir.file("g.mpg"), m_dir.file("g.png")),
              12);
}

TEST_F(SmallMaterial, FilmFramesShowTheMotion)
{
    EmojiLibrary emoji(m_dir.file("icons"));
    const SourceAction& a = m_src.Actions[0];
    auto redCentreX = [&](int frame) {
        const QImage image = RenderFilmFrame(a, frame, FilmSize, emoji);
        const int y = FilmSize.height() / 2;
        int sum = 0, n = 0;
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) > 180 && qGreen(image.pixel(x, y)) < 100)
                sum += x, ++n;
        return n ? sum / n : -1;
    };
    EXPECT_NEAR(redCentreX(0), FilmSize.width() * 10 / 100, 3);
    EXPECT_NEAR(redCentreX(FilmFrames - 1), FilmSize.width() * 90 / 100, 3);
    EXPECT_NEAR(redCentreX(FilmFrames / 2), FilmSize.width() / 2, 8);
}

// The real program folder, when scripts/make-program.sh has made one
// (LOQUENA_PROGRAM_DIR, default program/ at the top of the checkout).
TEST(MaterialBuiltFolder, MatchesTheSources)
{
    const QString prog =
        qEnvironmentVariable("LOQUENA_PROGRAM_DIR", QString(LOQUENA_SOURCE_DIR) + "/program");
    const QString db = prog + "/Data/sdrow.qp";
    if (!QFileInfo::exists(db))
        GTEST_SKIP() << "no built program folder at " << prog.toStdString();
    const MaterialSources s = ReadMaterialSources(QString(LOQUENA_SOURCE_DIR) + "/data");
    EXPECT_EQ(Column(db, "SELECT count(*) FROM Slowa WHERE Jest = 1"),
              QStringList{QString::number(s.Words.size())});
    EXPECT_EQ(Column(db, "SELECT count(*) FROM Przyslowia WHERE Jest = 1"),
              QStringList{QString::number(s.Proverbs.size())});
    EXPECT_EQ(Column(db, "SELECT count(*) FROM Czynnosci WHERE Jest = 1"),
              QStringList{QString::number(s.Actions.size())});
    CWords words;
    ASSERT_TRUE(words.Open(db)) << words.LastError().toStdString();
    EXPECT_EQ(words.Words().Count(), s.Words.size());
    EXPECT_EQ(words.Proverbs().Count(), s.Proverbs.size());
    EXPECT_EQ(words.Actions().Count(), s.Actions.size());
    for (int bit = 0; bit < 9; ++bit) {
        EXPECT_EQ(words.CountWords(1 << bit), CountCategory(s, 'W', WordCategories[bit])) << bit;
        EXPECT_EQ(words.CountActions(1 << bit), CountCategory(s, 'A', ActionCategories[bit]))
            << bit;
    }
    for (int bit = 0; bit < 4; ++bit)
        EXPECT_EQ(words.CountProverbs(1 << bit), CountCategory(s, 'P', ProverbCategories[bit]))
            << bit;
    int described = 0;
    for (const SourceWord& w : s.Words)
        described += !w.Opis.isEmpty();
    EXPECT_EQ(words.CountDescribedWords(0x1FF), described);
    EXPECT_EQ(ReadArchive(prog + "/Data/zdjar3.bb").size(), s.Words.size());
    EXPECT_EQ(ReadArchive(prog + "/Data/zdjar5.bb").size(), s.Words.size());

    int sounds = 0;
    QDirIterator it(prog + "/Data", {"*.wv"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        EXPECT_GE(WaveDuration(UnscrambleSound(ReadAll(path))), 0.2) << path.toStdString();
        ++sounds;
    }
    int riddles = 0;
    for (const SourceWord& w : s.Words)
        riddles += !w.Opis.isEmpty();
    EXPECT_EQ(sounds, s.Words.size() + riddles + 2 * s.Proverbs.size() + 2 * s.Actions.size() +
                          s.Phrases.size());

    if (!HasTool("ffprobe"))
        return;
    TempDir scratch;
    for (const SourceAction& a : s.Actions)
        for (const char* dir : {"asm", "asmgr"}) {
            const FilmInfo info = ProbeFilm(QString("%1/Data/%2/%3.mpg").arg(prog, dir).arg(a.ID),
                                            scratch.file("f.mpg"));
            EXPECT_NEAR(info.frames, FilmFrames, 2) << dir << " " << a.ID;
        }
}
