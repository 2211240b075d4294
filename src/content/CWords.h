#pragma once
#include "content/CRecAction.h"
#include "content/CRecProverb.h"
#include "content/CRecWord.h"
#include "graphics/MyArray.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class CDbConnection;
class COwnMaterial;
class CDbTable;

// Pools: lists of pointers to records of one kind, owned by the callers.
// CWords fills and reads them but keeps none.
using WordPool = MyArray<CRecWord*>;
using ProverbPool = MyArray<CRecProverb*>;
using ActionPool = MyArray<CRecAction*>;

// The therapy material: the words, proverbs and activities in use, loaded
// once from the content database and kept in memory. Exercises select records
// by category into pools and draw from the pools with mark bits that keep
// records from repeating. The records never move after loading, so pointers
// to them stay valid as long as this object lives.
class CWords
{
public:
    // Category letters of each table; the position of a letter is its bit.
    static constexpr const char* WordLetters = "DZWTOJGBI";
    static constexpr const char* ProverbLetters = "ZLBT";
    static constexpr const char* ActionLetters = "HOGSPRBUI";
    // The nine shipped word categories, and the tenth, "Własne", which every
    // own word bears beside those it was given.
    static constexpr int AllWordCategories = 0x1FF;
    static constexpr int OwnCategory = 1 << 9;
    // Photo indices of own words: this base plus the word's own-material Id.
    static constexpr int OwnPictureBase = 1000000;

    // A uniform random integer from 0 to m - 1 (m > 0).
    using RandomSource = std::function<int(int m)>;

    CWords();
    ~CWords();
    CWords(const CWords&) = delete;
    CWords& operator=(const CWords&) = delete;

    // Loads the three tables of the database file `path`; true when all three
    // were loaded. The file is held only while loading.
    bool Open(const QString& path);
    // The message of the error that made the last Open fail.
    const QString& LastError() const { return m_lastError; }

    const MyArray<CRecWord>& Words() const { return m_words; }
    const MyArray<CRecProverb>& Proverbs() const { return m_proverbs; }
    const MyArray<CRecAction>& Actions() const { return m_actions; }
    // The own words, after the shipped ones in every selection and count.
    const MyArray<CRecWord>& OwnWords() const { return m_ownWords; }

    // Takes the own words anew (between therapies only: the records of the
    // previous own words, and pools pointing to them, are gone).
    void SetOwnWords(const COwnMaterial& own);
    // The patient whose personal words the selections and counts include;
    // words for everyone are always included.
    void SetPatient(int patient);
    int Patient() const { return m_patient; }

    // Empties `pool` and appends every record that shares a category bit with
    // `groups`, in table order.
    void SelectWords(int groups, WordPool& pool);
    void SelectDescribedWords(int groups, WordPool& pool); // only words with a description
    void SelectProverbs(int groups, ProverbPool& pool);
    void SelectActions(int groups, ActionPool& pool);

    // How many records the matching Select would append.
    int CountWords(int groups) const;
    int CountDescribedWords(int groups) const;
    int CountProverbs(int groups) const;
    int CountActions(int groups) const;
    // The same for the personal words of `patient`.
    int CountWordsFor(int groups, int patient) const;
    int CountDescribedWordsFor(int groups, int patient) const;

    // Draws `n` records from `pool` into `out` (emptied first), avoiding
    // records that bear one of `avoidBits` and setting `markBits` on each one
    // drawn. When every record is avoided, `markBits` is cleared on the pool
    // (and set again on what this draw already took) and the draw goes on.
    // False when the pool is empty (out untouched) or nothing can be drawn
    // even then (out keeps what was drawn).
    bool DrawWords(WordPool& out, int n, uint32_t markBits, uint32_t avoidBits,
                   const WordPool& pool);
    bool DrawProverbs(ProverbPool& out, int n, uint32_t markBits, uint32_t avoidBits,
                      const ProverbPool& pool);
    bool DrawActions(ActionPool& out, int n, uint32_t markBits, uint32_t avoidBits,
                     const ActionPool& pool);

    // Clear or set `bits` on every record of `list`.
    static void ClearWordMarks(const WordPool& list, uint32_t bits);
    static void SetWordMarks(const WordPool& list, uint32_t bits);
    static void ClearProverbMarks(const ProverbPool& list, uint32_t bits);
    static void SetProverbMarks(const ProverbPool& list, uint32_t bits);
    static void ClearActionMarks(const ActionPool& list, uint32_t bits);
    static void SetActionMarks(const ActionPool& list, uint32_t bits);

    // The category bits of a `Grupy` text for a table with these letters:
    // either case, any order, other characters ignored.
    static int ParseGroups(const QString& text, const char* letters);

    // Replaces the random numbers of the draws (tests make them repeatable).
    void SetRandomSource(RandomSource source);

private:
    void LoadWords();
    void LoadProverbs();
    void LoadActions();
    static bool ForPatient(const CRecWord& word, int patient);

    std::unique_ptr<CDbConnection> m_connection;
    std::unique_ptr<CDbTable> m_table;
    MyArray<CRecWord> m_words;
    MyArray<CRecProverb> m_proverbs;
    MyArray<CRecAction> m_actions;
    MyArray<CRecWord> m_ownWords;
    int m_patient = -1;
    RandomSource m_random;
    QString m_lastError;
};
