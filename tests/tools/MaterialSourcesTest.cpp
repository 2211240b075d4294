// The material's sources under data/: the rules the program relies on.
#include "material/MaterialSources.h"
#include "DataBuild.h"
#include "common/TempDir.h"
#include "material/EmojiLibrary.h"
#include "material/MaterialWave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString SourceData()
{
    return QString(LOQUENA_SOURCE_DIR) + "/data";
}

const MaterialSources& Real()
{
    static const MaterialSources sources = ReadMaterialSources(SourceData());
    return sources;
}

// The icons, where the data build installs them: $LOQUENA_EMOJI_DIR, else the
// work folder of scripts/make-program.sh beside the test program (build/datawork).
QString InstalledIcons()
{
    for (const QString& work : {QCoreApplication::applicationDirPath() + "/../datawork",
                                QCoreApplication::applicationDirPath() + "/../../datawork",
                                QString(LOQUENA_SOURCE_DIR) + "/build/datawork"}) {
        const QString found = FindEmojiIcons(work);
        if (!found.isEmpty())
            return found;
    }
    return FindEmojiIcons(QString());
}

// Types `kon` as the proverb exercise does: letters one by one from the
// alphabet, a space added after a letter whenever the ending has one next.
bool TypeableToTheEnd(const QString& kon)
{
    QString typed;
    for (QChar c : kon) {
        if (c == ' ')
            continue;
        if (!PolishAlphabet.contains(c) || typed.size() >= kon.size() || kon[typed.size()] != c)
            return false;
        typed += c;
        if (typed.size() < kon.size() && kon[typed.size()] == ' ')
            typed += ' ';
    }
    return typed == kon;
}

void Write(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

// A complete set of source files, each with one line, for fault injection.
void WriteFixture(const TempDir& dir, const QString& words, const QString& proverbs,
                  const QString& actions, const QString& phrases)
{
    Write(dir.file("words.txt"), "# words\n" + words + "\n");
    Write(dir.file("proverbs.txt"), proverbs + "\n");
    Write(dir.file("activities.txt"), actions + "\n");
    Write(dir.file("phrases.txt"), phrases + "\n");
}

const char* GoodWord = "KOT | Z | cat | Miauczy.";
const char* GoodProverb = "1 | Z | BEZ PRACY | NIE MA KOŁACZY";
const char* GoodAction = "1 | H | Mycie zębów | MYCIE ZĘBÓW | MYJE ZĘBY | grinning-face 40,50,50";
const char* GoodPhrase = "sp/g1 | Brawo!";

} // namespace

TEST(MaterialSources, TheShippedSourcesMeetEveryRule)
{
    const QStringList problems = CheckMaterialSources(Real());
    EXPECT_TRUE(problems.isEmpty()) << problems.join("\n").toStdString();
}

TEST(MaterialSources, EveryProverbEndingCanBeTypedToTheEnd)
{
    for (const SourceProverb& p : Real().Proverbs)
        EXPECT_TRUE(TypeableToTheEnd(p.Kon)) << p.ID << " " << p.Kon.toStdString();
    // The simulation itself refuses what the exercise could not finish.
    EXPECT_FALSE(TypeableToTheEnd("NIE MA  KOŁACZY"));
    EXPECT_FALSE(TypeableToTheEnd("NIE MA KOŁACZY."));
    EXPECT_FALSE(TypeableToTheEnd("ZGODA, BUDUJE"));
    EXPECT_FALSE(TypeableToTheEnd("QUIZ"));
}

TEST(MaterialSources, WordsAreTypedAndArrangedFromTheAlphabet)
{
    for (const SourceWord& w : Real().Words) {
        EXPECT_TRUE(IsAlphabetText(w.Nazwa, true, false)) << w.Nazwa.toStdString();
        EXPECT_TRUE(IsAlphabetText(w.Slowo, false, false)) << w.Slowo.toStdString();
        EXPECT_EQ(w.Slowo.toUpper(), w.Nazwa);
    }
}

TEST(MaterialSources, CategoryMinimumsAndTotals)
{
    const MaterialSources& s = Real();
    EXPECT_GE(s.Words.size(), 250);
    for (QChar c : WordCategories)
        EXPECT_GE(CountCategory(s, 'W', c), 20) << c.toLatin1();
    int riddles = 0;
    for (const SourceWord& w : s.Words)
        riddles += !w.Opis.isEmpty();
    EXPECT_GE(riddles, 150);
    EXPECT_GE(s.Proverbs.size(), 100);
    EXPECT_GE(CountCategory(s, 'P', 'Z'), 40);
    EXPECT_GE(CountCategory(s, 'P', 'L'), 25);
    EXPECT_GE(CountCategory(s, 'P', 'B'), 15);
    EXPECT_GE(CountCategory(s, 'P', 'T'), 15);
    EXPECT_GE(s.Actions.size(), 60);
    for (QChar c : ActionCategories)
        EXPECT_GE(CountCategory(s, 'A', c), 5) << c.toLatin1();
    EXPECT_EQ(s.Phrases.size(), 16 + 9 + 7 + 12 + 10);
}

TEST(MaterialSources, EveryPictureExists)
{
    const QString icons = InstalledIcons();
    if (icons.isEmpty())
        GTEST_SKIP()
            << "fluentui-emoji is not installed (run the data build, or set LOQUENA_EMOJI_DIR)";
    const QStringList missing = CheckPictures(Real(), icons);
    EXPECT_TRUE(missing.isEmpty()) << missing.join("\n").toStdString();
}

TEST(MaterialSources, ChecksReportEachKindOfFault)
{
    struct Case
    {
        const char* name;
        QString words, proverbs, actions, phrases;
        const char* expected;
    };
    const QList<Case> cases = {
        {"small letters", "Kot | Z | cat |", GoodProverb, GoodAction, GoodPhrase,
         "NAZWA must be capitals"},
        {"Q", "QUIZ | Z | cat |", GoodProverb, GoodAction, GoodPhrase, "NAZWA must be capitals"},
        {"space", "BIAŁY KOT | Z | cat |", GoodProverb, GoodAction, GoodPhrase,
         "NAZWA must be capitals"},
        {"hyphen", "KOT-EK | Z | cat |", GoodProverb, GoodAction, GoodPhrase,
         "NAZWA must be capitals"},
        {"word category", "KOT | ZX | cat |", GoodProverb, GoodAction, GoodPhrase,
         "categories must be"},
        {"riddle names it", "KOT | Z | cat | Duży kot.", GoodProverb, GoodAction, GoodPhrase,
         "riddle says the word"},
        {"riddle names its stem", "PLECAK | I | backpack | Nosimy go na plecach.", GoodProverb,
         GoodAction, GoodPhrase, "riddle says the word or its first four letters"},
        {"shared riddle",
         "GWIAZDA | I | star | Świeci w nocy na niebie.\nKSIĘŻYC | I | crescent-moon | Świeci "
         "w nocy na niebie.",
         GoodProverb, GoodAction, GoodPhrase, "KSIĘŻYC: the same riddle as GWIAZDA"},
        {"duplicate word", QString(GoodWord) + "\n" + GoodWord, GoodProverb, GoodAction, GoodPhrase,
         "duplicate key KOT"},
        {"comma in ending", GoodWord, "1 | Z | ZGODA | BUDUJE, NIEZGODA", GoodAction, GoodPhrase,
         "ending must be capitals"},
        {"double space", GoodWord, "1 | Z | ZGODA | BUDUJE  NIEZGODA", GoodAction, GoodPhrase,
         "ending must be capitals"},
        {"small beginning", GoodWord, "1 | Z | Zgoda | BUDUJE", GoodAction, GoodPhrase,
         "beginning must be in capitals"},
        {"duplicate proverb", GoodWord, QString(GoodProverb) + "\n" + GoodProverb, GoodAction,
         GoodPhrase, "proverbs: duplicate key 1"},
        {"action category", GoodWord, GoodProverb, "1 | HZ | Mycie | MYCIE | MYJE | cat 1,1,1",
         GoodPhrase, "categories must be"},
        {"small caption", GoodWord, GoodProverb, "1 | H | Mycie | mycie | MYJE | cat 1,1,1",
         GoodPhrase, "captions must be in capitals"},
        {"missing phrase", GoodWord, GoodProverb, GoodAction, GoodPhrase, "phrases: missing sp/g2"},
        {"unknown phrase", GoodWord, GoodProverb, GoodAction, "sp/g17 | Brawo!",
         "unknown key sp/g17"},
        {"too few words", GoodWord, GoodProverb, GoodAction, GoodPhrase, "words: 1, at least 250"},
        {"too few in a category", GoodWord, GoodProverb, GoodAction, GoodPhrase,
         "words in category D: 0, at least 20"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteFixture(dir, c.words, c.proverbs, c.actions, c.phrases);
        const QStringList problems = CheckMaterialSources(ReadMaterialSources(dir.path()));
        EXPECT_TRUE(problems.join("\n").contains(c.expected)) << c.name << ":\n"
                                                              << problems.join("\n").toStdString();
    }
}

TEST(MaterialSources, MalformedOrMissingSourcesStopTheBuildWithTheLine)
{
    struct Case
    {
        const char* name;
        QString words, proverbs, actions;
        const char* expected;
    };
    const QList<Case> cases = {
        {"too few fields", "KOT | Z", GoodProverb, GoodAction, "words.txt:2:"},
        {"id not a number", GoodWord, "x | Z | A | B", GoodAction, "proverbs.txt:1: ID"},
        {"unknown film option", GoodWord, GoodProverb, "1 | H | M | M | M | cat 1,1,1 zoom=2",
         "unknown film option"},
        {"film position", GoodWord, GoodProverb, "1 | H | M | M | M | cat 1,1",
         "expected 3 numbers"},
        {"no film", GoodWord, GoodProverb, "1 | H | M | M | M | ", "the film has no pictures"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteFixture(dir, c.words, c.proverbs, c.actions, GoodPhrase);
        try {
            ReadMaterialSources(dir.path());
            ADD_FAILURE() << c.name << ": no error";
        } catch (const DataBuildError& e) {
            EXPECT_TRUE(QString(e.what()).contains(c.expected)) << c.name << ": " << e.what();
        }
    }
    TempDir empty;
    try {
        ReadMaterialSources(empty.path());
        ADD_FAILURE() << "no error for a missing file";
    } catch (const DataBuildError& e) {
        EXPECT_TRUE(QString(e.what()).contains("missing source")) << e.what();
    }
}

TEST(MaterialSources, FilmRecipeReadsEveryOption)
{
    TempDir dir;
    WriteFixture(dir, GoodWord, GoodProverb,
                 "7 | S | Bieg | BIEG | BIEGNIE | ball 10,20,30 to=50,60 rep=2 osc=1,2,3 rot=0,90 "
                 "wob=5,1.5 grow=40 show=0.2,0.8 flip; cat 5,5,5",
                 GoodPhrase);
    const MaterialSources s = ReadMaterialSources(dir.path());
    ASSERT_EQ(s.Actions.size(), 1);
    ASSERT_EQ(s.Actions[0].Film.size(), 2);
    const FilmSprite& f = s.Actions[0].Film[0];
    EXPECT_EQ(f.Picture, "ball");
    EXPECT_DOUBLE_EQ(f.X, 10);
    EXPECT_DOUBLE_EQ(f.ToY, 60);
    EXPECT_DOUBLE_EQ(f.Size, 30);
    EXPECT_DOUBLE_EQ(f.ToSize, 40);
    EXPECT_DOUBLE_EQ(f.Repeat, 2);
    EXPECT_DOUBLE_EQ(f.OscHz, 3);
    EXPECT_DOUBLE_EQ(f.Rot1, 90);
    EXPECT_DOUBLE_EQ(f.WobHz, 1.5);
    EXPECT_DOUBLE_EQ(f.Show0, 0.2);
    EXPECT_TRUE(f.Flip);
    const FilmSprite& still = s.Actions[0].Film[1];
    EXPECT_DOUBLE_EQ(still.ToX, 5); // no move: it stays where it starts
    EXPECT_DOUBLE_EQ(still.ToSize, 5);
}

TEST(MaterialWave, ToneIsAPcmWaveOfItsLength)
{
    const QByteArray wave = MakeToneWave({523, 440, 392});
    EXPECT_NEAR(WaveDuration(wave), 0.66, 0.001);
    EXPECT_LT(WaveDuration(QByteArray("RIFF....WAVE")), 0);
    EXPECT_LT(WaveDuration(QByteArray(100, 'x')), 0);
    QByteArray truncated = wave.left(wave.size() / 2); // a cut file counts what is there
    EXPECT_NEAR(WaveDuration(truncated), 0.33, 0.01);
}
