#pragma once
#include <QString>
#include <vector>

class CWords;

// Everything of the shipped material that speaks, as the therapist picks it to
// record their own voice for it: each item's kind, its text and the path of
// its sound. Words, riddles (the words' spoken descriptions), proverb halves
// and activity captions come from the content database, the phrases (praise,
// error phrases, days, months, counting) from the program's list of them.
class COwnVoiceItems
{
public:
    enum EKind : int
    {
        KindWord = 0,
        KindRiddle,
        KindProverb,
        KindCaption,
        KindPhrase,
        KindCount
    };
    struct SItem
    {
        int Kind = KindWord;
        QString Text;
        QString SoundPath; // as PlayWv takes it, without ".wv"
    };

    // The kind's name on screen, in the plural ("Słowa", "Zagadki"...).
    static QString KindName(int kind);

    // Fills the list from the material, in the material's order, kind by kind.
    void Load(const CWords& words);
    const std::vector<SItem>& Items() const { return m_items; }
    // The items of `kind` whose text holds `filter` (any case; empty: all).
    std::vector<const SItem*> Find(int kind, const QString& filter) const;

    // The phrases: "sp/g1 | Brawo!" lines of the phrase list; the tones (no
    // speech) are left out.
    static std::vector<SItem> ParsePhrases(const QString& text);

private:
    std::vector<SItem> m_items;
};
