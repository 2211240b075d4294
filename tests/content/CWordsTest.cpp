// The content database: loading, categories, selections and the marked draws.
#include "content/CWords.h"
#include "app/CError.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "content/COwnMaterial.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"

#include <QSet>
#include <gtest/gtest.h>
#include <random>

namespace {

// A small content database in a temporary folder.
class ContentDb : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.file("sdrow.qp");
        ASSERT_TRUE(CreateContentDatabase(path));
        db.Connect(path);
    }

    void Word(const QString& nazwa, const QString& grupy, const QString& opis = "",
              bool jest = true, int bcIndex = 0)
    {
        db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) "
                   "VALUES (?, ?, ?, ?, ?, ?)",
                   {nazwa, nazwa.toLower(), bcIndex, grupy, opis, jest});
    }
    void Proverb(int id, const QString& pocz, const QString& kon, const QString& grupy,
                 bool jest = true)
    {
        db.Execute("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES (?, ?, ?, ?, ?)",
                   {id, pocz, kon, grupy, jest});
    }
    void Action(int id, const QString& podpis1, const QString& podpis2, const QString& grupy,
                bool jest = true)
    {
        db.Execute("INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) "
                   "VALUES (?, ?, ?, ?, ?, ?)",
                   {id, QString("czynność %1").arg(id), podpis1, podpis2, grupy, jest});
    }
    // Closes the fixture's own connection and loads the file.
    bool Load()
    {
        db.Disconnect();
        return words.Open(path);
    }

    TempDir dir;
    QString path;
    CDbConnection db;
    CWords words;
};

// Random numbers from a list, in turn.
CWords::RandomSource Scripted(std::vector<int> values)
{
    auto state = std::make_shared<std::pair<std::vector<int>, size_t>>(std::move(values), 0);
    return [state](int m) {
        const int v = state->first[state->second++ % state->first.size()];
        return v % m;
    };
}

// The pointers of a pool, as a plain list to compare.
template <class T> std::vector<T*> Items(const MyArray<T*>& pool)
{
    return std::vector<T*>(pool.begin(), pool.end());
}

template <class T> MyArray<T*> Pool(std::initializer_list<T*> items)
{
    MyArray<T*> pool;
    for (T* item : items)
        pool.Add(item);
    return pool;
}

template <class T> QSet<T*> Distinct(const std::vector<T*>& list)
{
    return QSet<T*>(list.begin(), list.end());
}

template <class T> QSet<T*> Distinct(const MyArray<T*>& pool)
{
    return QSet<T*>(pool.begin(), pool.end());
}

} // namespace

TEST_F(ContentDb, LoadsRowsInUseInTableOrderWithTheirKeysAndCaptions)
{
    Word("KOT", "z", "Kot miauczy.", true, 12);
    Word("DOM", "d", "", false); // not in use
    Word("ŻABA", "Zw", "", true, 3);
    Proverb(7, " \tGdzie kucharek sześć,\r\n", "  tam nie ma co jeść. ", "Z");
    Proverb(1234, "Bez pracy", "nie ma kołaczy", "L");
    Proverb(5, "nieużywane", "x", "Z", false);
    Action(12, "  mężczyzna czyści zęby\t", "myje zęby ", "H");
    Action(3, "ąęśćńźżół äx", "gra", "r");
    ASSERT_TRUE(Load()) << words.LastError().toStdString();

    ASSERT_EQ(words.Words().Count(), 2);
    EXPECT_EQ(words.Words()[0].Nazwa, "KOT");
    EXPECT_EQ(words.Words()[0].Slowo, "kot");
    EXPECT_EQ(words.Words()[0].BCIndex, 12);
    EXPECT_EQ(words.Words()[0].Opis, "Kot miauczy.");
    EXPECT_EQ(words.Words()[1].Nazwa, "ŻABA");
    EXPECT_EQ(words.Words()[1].Grupy, 0b110);
    for (const CRecWord& w : words.Words())
        EXPECT_EQ(w.Marks, 0u);

    ASSERT_EQ(words.Proverbs().Count(), 2);
    EXPECT_EQ(words.Proverbs()[0].Pocz, "Gdzie kucharek sześć,");
    EXPECT_EQ(words.Proverbs()[0].Kon, "tam nie ma co jeść.");
    EXPECT_EQ(words.Proverbs()[0].SoundPocz, "p007");
    EXPECT_EQ(words.Proverbs()[0].SoundKon, "k007");
    EXPECT_EQ(words.Proverbs()[1].SoundPocz, "p1234"); // never shortened
    EXPECT_EQ(words.Proverbs()[1].SoundKon, "k1234");

    ASSERT_EQ(words.Actions().Count(), 2);
    EXPECT_EQ(words.Actions()[0].ID, 12);
    EXPECT_EQ(words.Actions()[0].Nazwa, "czynność 12");
    EXPECT_EQ(words.Actions()[0].Podpis1, "MĘŻCZYZNA CZYŚCI ZĘBY");
    EXPECT_EQ(words.Actions()[0].Podpis2, "MYJE ZĘBY");
    // Only the nine Polish letters and ASCII are raised; other letters stay.
    EXPECT_EQ(words.Actions()[1].Podpis1, "ĄĘŚĆŃŹŻÓŁ äX");

    // The file is not held after loading.
    EXPECT_NO_THROW(db.Connect(path));
}

TEST(CWordsGroups, EachTableReadsItsOwnLetters)
{
    struct Case
    {
        const char* text;
        int words;
        int proverbs;
        int actions;
    };
    const Case cases[] = {
        {"dz", 0b11, 0b1, 0b0},
        {"B", 1 << 7, 1 << 2, 1 << 6},
        {"", 0, 0, 0},
        {"d-z, ?!", 0b11, 0b1, 0},
        {"DZWTOJGBI", 0x1FF, 0b1101, (1 << 6) | (1 << 1) | (1 << 2) | (1 << 8)},
        {"zlbt", (1 << 1) | (1 << 3) | (1 << 7), 0xF, (1 << 6)},
        {"hogsprbui", (1 << 4) | (1 << 6) | (1 << 7) | (1 << 8), 1 << 2, 0x1FF},
        {"ż ó ł ź", 0, 0, 0}, // Polish letters are no category letters
        {"ddd", 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(CWords::ParseGroups(text, CWords::WordLetters), c.words);
        EXPECT_EQ(CWords::ParseGroups(text, CWords::ProverbLetters), c.proverbs);
        EXPECT_EQ(CWords::ParseGroups(text, CWords::ActionLetters), c.actions);
    }
}

TEST_F(ContentDb, SelectionsAndCountsFollowTheCategories)
{
    Word("A", "dz", "opis");
    Word("B", "", "opis"); // no category: never selected
    Word("C", "z", "");
    Word("D", "b", "opis");
    Word("E", "Z", "nieużywane", false);
    Proverb(1, "a", "b", "B");
    Proverb(2, "a", "b", "zt");
    Action(1, "a", "b", "B");
    Action(2, "a", "b", "up");
    ASSERT_TRUE(Load());

    EXPECT_EQ(words.CountWords(0), 0);
    EXPECT_EQ(words.CountWords(0x1FF), 3);
    EXPECT_EQ(words.CountWords(1 << 1), 2);
    EXPECT_EQ(words.CountDescribedWords(1 << 1), 1);
    EXPECT_EQ(words.CountDescribedWords(0x1FF), 2);
    EXPECT_EQ(words.CountProverbs(1 << 2), 1);
    EXPECT_EQ(words.CountProverbs(0xF), 2);
    EXPECT_EQ(words.CountActions(1 << 6), 1);
    EXPECT_EQ(words.CountActions((1 << 4) | (1 << 7)), 1);

    WordPool pool = Pool<CRecWord>({nullptr, nullptr}); // emptied first
    words.SelectWords(1 << 1, pool);
    ASSERT_EQ(pool.Count(), 2);
    EXPECT_EQ(pool[0]->Nazwa, "A");
    EXPECT_EQ(pool[1]->Nazwa, "C");
    words.SelectDescribedWords(0x1FF, pool);
    ASSERT_EQ(pool.Count(), 2);
    EXPECT_EQ(pool[0]->Nazwa, "A");
    EXPECT_EQ(pool[1]->Nazwa, "D");
    words.SelectWords(0, pool);
    EXPECT_EQ(pool.Count(), 0);

    ProverbPool proverbs;
    words.SelectProverbs(1 << 3, proverbs);
    ASSERT_EQ(proverbs.Count(), 1);
    EXPECT_EQ(proverbs[0]->SoundPocz, "p002");
    ActionPool actions;
    words.SelectActions(1 << 6, actions);
    ASSERT_EQ(actions.Count(), 1);
    EXPECT_EQ(actions[0]->ID, 1);

    // Marks on a list touch exactly the named bits of exactly those records.
    words.SelectWords(0x1FF, pool);
    CWords::SetWordMarks(pool, 0b101);
    CWords::ClearWordMarks(Pool<CRecWord>({pool[0]}), 0b100);
    EXPECT_EQ(pool[0]->Marks, 0b001u);
    EXPECT_EQ(pool[1]->Marks, 0b101u);
    EXPECT_EQ(words.Words()[1].Marks, 0u); // "B", not in the pool
    CWords::SetProverbMarks(proverbs, 8);
    CWords::ClearProverbMarks(proverbs, 8);
    EXPECT_EQ(proverbs[0]->Marks, 0u);
    CWords::SetActionMarks(actions, 2);
    EXPECT_EQ(actions[0]->Marks, 2u);
    CWords::ClearActionMarks(actions, 2);
    EXPECT_EQ(actions[0]->Marks, 0u);
}

// The draw on its own, on records made in memory.
class Draws : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (auto& w : records)
            pool.Add(&w);
    }
    CRecWord records[5];
    WordPool pool;
    CWords words;
};

TEST_F(Draws, EmptyPoolAndZeroItems)
{
    CRecWord other;
    WordPool out = Pool<CRecWord>({&other});
    EXPECT_FALSE(words.DrawWords(out, 3, 1, 1, WordPool()));
    EXPECT_EQ(Items(out), std::vector<CRecWord*>({&other})); // untouched
    ProverbPool proverbs = Pool<CRecProverb>({nullptr});
    EXPECT_FALSE(words.DrawProverbs(proverbs, 1, 0, 0, ProverbPool()));
    EXPECT_EQ(proverbs.Count(), 1);
    ActionPool actions = Pool<CRecAction>({nullptr});
    EXPECT_FALSE(words.DrawActions(actions, 1, 0, 0, ActionPool()));
    EXPECT_EQ(actions.Count(), 1);

    EXPECT_TRUE(words.DrawWords(out, 0, 1, 1, pool));
    EXPECT_EQ(out.Count(), 0);
    for (const CRecWord& w : records)
        EXPECT_EQ(w.Marks, 0u);
}

TEST_F(Draws, FiveOfFiveTwiceThenSixOfFive)
{
    // Many random sequences: the outcome must not depend on them.
    for (unsigned seed = 0; seed < 200; ++seed) {
        SCOPED_TRACE(seed);
        for (auto& w : records)
            w.Marks = 0;
        auto engine = std::make_shared<std::mt19937>(seed);
        words.SetRandomSource(
            [engine](int m) { return std::uniform_int_distribution<int>(0, m - 1)(*engine); });

        WordPool out;
        ASSERT_TRUE(words.DrawWords(out, 5, 1, 1, pool));
        EXPECT_EQ(out.Count(), 5);
        EXPECT_EQ(Distinct(out).size(), 5);
        for (const CRecWord& w : records)
            EXPECT_EQ(w.Marks, 1u);

        ASSERT_TRUE(words.DrawWords(out, 5, 1, 1, pool));
        EXPECT_EQ(Distinct(out).size(), 5);
        for (const CRecWord& w : records)
            EXPECT_EQ(w.Marks, 1u);

        EXPECT_FALSE(words.DrawWords(out, 6, 1, 1, pool));
        EXPECT_EQ(out.Count(), 5);
        EXPECT_EQ(Distinct(out).size(), 5);
    }
}

TEST_F(Draws, SearchWalksOnFromARandomStartAndWrapsAround)
{
    records[0].Marks = 1;
    records[1].Marks = 1;
    records[3].Marks = 1;
    // Probe 0 is marked: the search from 3 passes 3 and takes 4. Probe 1 is
    // marked: the search from 4 passes 4, wraps to 0 and 1, and takes 2.
    words.SetRandomSource(Scripted({0, 3, 1, 4}));
    WordPool out;
    ASSERT_TRUE(words.DrawWords(out, 2, 1, 1, pool));
    ASSERT_EQ(out.Count(), 2);
    EXPECT_EQ(out[0], &records[4]);
    EXPECT_EQ(out[1], &records[2]);
}

TEST_F(Draws, ResetClearsOnlyTheMarkBits)
{
    // Records 0 and 1 were drawn earlier; record 2 bears another avoided bit.
    records[0].Marks = 1;
    records[1].Marks = 1;
    records[2].Marks = 2;
    for (unsigned seed = 0; seed < 50; ++seed) {
        SCOPED_TRACE(seed);
        records[0].Marks = records[1].Marks = 1;
        records[3].Marks = records[4].Marks = 0;
        auto engine = std::make_shared<std::mt19937>(seed);
        words.SetRandomSource(
            [engine](int m) { return std::uniform_int_distribution<int>(0, m - 1)(*engine); });
        WordPool out;
        ASSERT_TRUE(words.DrawWords(out, 3, 1, 1 | 2, pool));
        ASSERT_EQ(out.Count(), 3);
        // The two free records first, then one of the reset ones; never 2.
        EXPECT_EQ(Distinct(std::vector<CRecWord*>(out.begin(), out.begin() + 2)),
                  QSet<CRecWord*>({&records[3], &records[4]}));
        EXPECT_TRUE(out[2] == &records[0] || out[2] == &records[1]);
        EXPECT_EQ(records[2].Marks, 2u);
        EXPECT_EQ(records[0].Marks + records[1].Marks, 1u);
        EXPECT_EQ(out[2]->Marks, 1u);
        // Four eligible records cannot give five distinct ones in one draw.
        EXPECT_FALSE(words.DrawWords(out, 5, 1, 1 | 2, pool));
        EXPECT_EQ(out.Count(), 4);
        EXPECT_EQ(Distinct(out).size(), 4);
    }
}

TEST_F(Draws, WithoutOverlappingBitsRecordsRepeat)
{
    words.SetRandomSource(Scripted({3}));
    WordPool out;
    ASSERT_TRUE(words.DrawWords(out, 4, 0, 0, pool));
    EXPECT_EQ(Items(out), std::vector<CRecWord*>(4, &records[3]));
    // Marking with a bit that is not avoided does not stop repetition.
    ASSERT_TRUE(words.DrawWords(out, 3, 4, 1, pool));
    EXPECT_EQ(Items(out), std::vector<CRecWord*>(3, &records[3]));
    EXPECT_EQ(records[3].Marks, 4u);
}

TEST_F(ContentDb, AMissingTableOrColumnFailsTheOpen)
{
    struct Case
    {
        const char* change;
        const char* message;
    };
    const Case cases[] = {
        {"ALTER TABLE Przyslowia DROP COLUMN Kon", "Problem z nazwami kolumn w bazie przysłów!"},
        {"ALTER TABLE Slowa DROP COLUMN Opis", "Problem z nazwami kolumn w bazie słów!"},
        {"ALTER TABLE Slowa RENAME COLUMN Jest TO Jestem",
         "Problem z nazwami kolumn w bazie słów!"},
        {"ALTER TABLE Czynnosci DROP COLUMN Podpis2",
         "Problem z nazwami kolumn w bazie czynności!"},
        {"DROP TABLE Czynnosci", nullptr},
        {"UPDATE Slowa SET BCIndex = 'dwanaście'", nullptr}, // a failed conversion
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        const QString file = dir.file(QString("c%1.qp").arg(&c - cases));
        ASSERT_TRUE(CreateContentDatabase(file));
        {
            CDbConnection connection;
            connection.Connect(file);
            connection.Execute("INSERT INTO Slowa (Nazwa, Grupy) VALUES ('KOT', 'z')");
            connection.Execute(c.change);
        }
        CWords loaded;
        EXPECT_FALSE(loaded.Open(file));
        if (c.message)
            EXPECT_EQ(loaded.LastError(), QString::fromUtf8(c.message));
        else
            EXPECT_FALSE(loaded.LastError().isEmpty());
        // A failed load does not keep the file held.
        CDbConnection after;
        EXPECT_NO_THROW(after.Connect(file));
    }
}

TEST_F(ContentDb, MissingOrHeldFileFailsTheOpen)
{
    CWords other;
    EXPECT_FALSE(other.Open(dir.file("brak.qp")));
    // Held by another connection (the fixture's).
    EXPECT_FALSE(words.Open(path));
    db.Disconnect();
    EXPECT_TRUE(words.Open(path));
    // Empty tables load as empty arrays; the therapy window judges the sizes.
    EXPECT_EQ(words.Words().Count(), 0);
}

// ---- own words among the shipped ones

namespace {

// Shipped words DOM (D) and KOT (Z), and own words: BUREK (Z) for everyone,
// MAMA (no shipped category) for patient 5, TATA (D) for patient 6.
class OwnWordsDb : public ContentDb
{
protected:
    void SetUp() override
    {
        ContentDb::SetUp();
        Word("DOM", "d", "Tu mieszkamy.");
        Word("KOT", "z");
        ASSERT_TRUE(Load());
        ASSERT_TRUE(own.Open());
        AddOwn("BUREK", 0x2, COwnWord::Everyone, "Nasz pies.");
        AddOwn("MAMA", 0, 5);
        AddOwn("TATA", 0x1, 6);
        words.SetOwnWords(own);
    }
    void AddOwn(const QString& name, int groups, int patient, const QString& riddle = "")
    {
        COwnWord word;
        word.Nazwa = name;
        word.Grupy = groups;
        word.Pacjent = patient;
        word.Opis = riddle;
        COwnMaterial::SMedia media;
        media.Voice = MakeWave(22050, 1, 16, 4000);
        media.RiddleVoice = riddle.isEmpty() ? QByteArray() : MakeWave(22050, 1, 16, 4000);
        ASSERT_TRUE(own.Save(word, media)) << own.LastError().toStdString();
    }
    QStringList Names(const WordPool& pool)
    {
        QStringList names;
        for (const CRecWord* w : pool)
            names << w->Nazwa;
        return names;
    }

    TempDir ownDir;
    COwnMaterial own{ownDir.path()};
};

} // namespace

TEST_F(OwnWordsDb, SelectionsAndCountsCoverOwnWordsForTheirPatientOnly)
{
    const int all = CWords::AllWordCategories;
    const int own9 = CWords::OwnCategory;
    struct Case
    {
        int patient, groups;
        QStringList selected;
    };
    const Case cases[] = {
        {-1, all, {"DOM", "KOT", "BUREK"}},
        {5, all, {"DOM", "KOT", "BUREK"}}, // MAMA has none of the nine
        {6, all, {"DOM", "KOT", "BUREK", "TATA"}},
        {5, own9, {"BUREK", "MAMA"}},
        {6, own9, {"BUREK", "TATA"}},
        {6, all | own9, {"DOM", "KOT", "BUREK", "TATA"}},
        {5, 0x1, {"DOM"}},
    };
    for (const Case& c : cases) {
        words.SetPatient(c.patient);
        WordPool pool;
        words.SelectWords(c.groups, pool);
        EXPECT_EQ(Names(pool), c.selected) << c.patient << " " << c.groups;
        EXPECT_EQ(words.CountWords(c.groups), c.selected.size());
        EXPECT_EQ(words.CountWordsFor(c.groups, c.patient), c.selected.size());
    }
    words.SetPatient(5);
    WordPool described;
    words.SelectDescribedWords(all | own9, described);
    EXPECT_EQ(Names(described), QStringList({"DOM", "BUREK"}));
    EXPECT_EQ(words.CountDescribedWordsFor(own9, 5), 1);
}

TEST_F(OwnWordsDb, OwnWordsCarryTheirMediaAndTheOwnCategory)
{
    const MyArray<CRecWord>& list = words.OwnWords();
    ASSERT_EQ(list.Count(), 3);
    for (const CRecWord& w : list) {
        const COwnWord* source = own.FindName(w.Nazwa);
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(w.Grupy, source->Grupy | CWords::OwnCategory);
        EXPECT_EQ(w.Slowo, w.Nazwa.toLower());
        EXPECT_EQ(w.SoundPath, own.VoicePath(*source));
        EXPECT_TRUE(QFile::exists(w.SoundPath + ".wv"));
        EXPECT_EQ(w.BCIndex, -1); // no picture given
    }
    EXPECT_FALSE(words.OwnWords()[0].DescriptionPath.isEmpty()); // BUREK's riddle
    // Taking the own words again replaces them, it does not add.
    words.SetOwnWords(own);
    EXPECT_EQ(words.OwnWords().Count(), 3);
    EXPECT_EQ(words.Words().Count(), 2);
}

// The non-repetition of the draws holds over shipped and own words together:
// four draws of one from the four words of patient 6 give each once.
TEST_F(OwnWordsDb, DrawsDoNotRepeatAcrossShippedAndOwnWords)
{
    words.SetPatient(6);
    words.SetRandomSource(Scripted({0, 0, 0, 0, 0, 0, 0, 0}));
    WordPool pool;
    words.SelectWords(CWords::AllWordCategories | CWords::OwnCategory, pool);
    ASSERT_EQ(pool.Count(), 4);
    QSet<QString> seen;
    for (int i = 0; i < 4; ++i) {
        WordPool out;
        ASSERT_TRUE(words.DrawWords(out, 1, 1, 1, pool));
        seen.insert(out[0]->Nazwa);
    }
    EXPECT_EQ(seen.size(), 4);
}
