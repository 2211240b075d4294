// The list of everything shipped that speaks, from which the therapist picks
// what to record their own voice for.
#include "content/COwnVoiceItems.h"
#include "common/TempDir.h"
#include "content/CWords.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::pair<QString, QString>>
TextsAndSounds(std::vector<const COwnVoiceItems::SItem*> items)
{
    std::vector<std::pair<QString, QString>> out;
    for (const auto* item : items)
        out.emplace_back(item->Text, item->SoundPath);
    return out;
}

using Pairs = std::vector<std::pair<QString, QString>>;

} // namespace

TEST(OwnVoiceItems, EveryKindOfShippedSoundIsListedWithItsText)
{
    TempDir dir;
    const QString path = dir.file("sdrow.qp");
    ASSERT_TRUE(CreateContentDatabase(path));
    {
        CDbConnection db;
        db.Connect(path);
        db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) VALUES "
                   "('ZOLW', 'żółw', 0, 'Z', 'Ma skorupę.', 1), ('KOT', 'kot', 1, 'Z', '', 1), "
                   "('PIES', 'pies', 2, 'Z', 'Szczeka.', 0)");
        db.Execute("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES "
                   "(7, 'Gdzie kucharek sześć', 'tam nie ma co jeść', 'Z', 1)");
        db.Execute("INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) VALUES "
                   "(12, 'mycie', 'mycie zębów', 'myje zęby', 'H', 1)");
    }
    CWords words;
    ASSERT_TRUE(words.Open(path));
    COwnVoiceItems items;
    items.Load(words);

    EXPECT_EQ(TextsAndSounds(items.Find(COwnVoiceItems::KindWord, "")),
              (Pairs{{"żółw", "Data/ws/ZOLW"}, {"kot", "Data/ws/KOT"}}));
    EXPECT_EQ(TextsAndSounds(items.Find(COwnVoiceItems::KindRiddle, "")),
              (Pairs{{"Ma skorupę.", "Data/dws/ZOLW"}}));
    EXPECT_EQ(TextsAndSounds(items.Find(COwnVoiceItems::KindProverb, "")),
              (Pairs{{"Gdzie kucharek sześć …", "Data/ps/p007"},
                     {"… tam nie ma co jeść", "Data/ps/k007"}}));
    EXPECT_EQ(TextsAndSounds(items.Find(COwnVoiceItems::KindCaption, "")),
              (Pairs{{"MYCIE ZĘBÓW", "Data/as/p1_12"}, {"MYJE ZĘBY", "Data/as/p2_12"}}));

    // The phrases come with the program: praise, error phrases and sequences.
    const auto phrases = TextsAndSounds(items.Find(COwnVoiceItems::KindPhrase, ""));
    ASSERT_FALSE(phrases.empty());
    EXPECT_EQ(phrases.front(), (std::pair<QString, QString>{"Brawo!", "Data/sp/g1"}));
    EXPECT_NE(std::find(phrases.begin(), phrases.end(),
                        std::pair<QString, QString>{"poniedziałek", "Data/dml/d1"}),
              phrases.end());

    // The search ignores case, Polish letters too.
    EXPECT_EQ(TextsAndSounds(items.Find(COwnVoiceItems::KindWord, "ŻÓŁ")),
              (Pairs{{"żółw", "Data/ws/ZOLW"}}));
    EXPECT_EQ(TextsAndSounds(items.Find(COwnVoiceItems::KindCaption, " zęby ")),
              (Pairs{{"MYJE ZĘBY", "Data/as/p2_12"}}));
    EXPECT_TRUE(items.Find(COwnVoiceItems::KindWord, "pies").empty()) << "not in use";
}

TEST(OwnVoiceItems, PhraseLinesWithoutSpeechAreLeftOut)
{
    const auto phrases = COwnVoiceItems::ParsePhrases("# komentarz\n"
                                                      "sp/g1 | Brawo!\n"
                                                      "\n"
                                                      "sp/b1 | @ton 523,440\n"
                                                      "sp/b4 | Jeszcze raz. | jeszcze raz\n"
                                                      "bez kreski\n"
                                                      "sp/b5 |  \n");
    ASSERT_EQ(phrases.size(), 2u);
    EXPECT_EQ(phrases[0].SoundPath, "Data/sp/g1");
    EXPECT_EQ(phrases[1].Text, "Jeszcze raz.");
    EXPECT_EQ(phrases[1].SoundPath, "Data/sp/b4");
}
