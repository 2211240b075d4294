#include "content/CWords.h"

#include "app/CError.h"
#include "app/Universalfn.h"
#include "content/COwnMaterial.h"
#include "platform/CDbConnection.h"
#include "platform/CDbTable.h"

#include <QRandomGenerator>

namespace {

// Removes blanks and control characters from both ends.
QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= ' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= ' ')
        --end;
    return text.mid(begin, end - begin);
}

// Opens `tableName` on the table data set and returns the positions of
// `columns`; a missing one raises `message`.
std::vector<int> OpenTable(CDbTable& table, const char* tableName,
                           std::initializer_list<const char*> columns, const char* message)
{
    table.Close();
    table.SetTableName(QString::fromLatin1(tableName));
    table.Open();
    std::vector<int> positions;
    for (const char* column : columns) {
        const int index = table.FieldIndex(QString::fromLatin1(column));
        if (index < 0)
            throw CError(QString::fromUtf8(message));
        positions.push_back(index);
    }
    return positions;
}

// Fills `records` with one record per row in use, in table order: sized once
// to the row count, shrunk once to the rows in use.
template <class T, class F>
void LoadRows(CDbTable& table, int jestColumn, MyArray<T>& records, F&& fill)
{
    records.Clear();
    const int rows = table.RecordCount();
    if (rows == 0)
        return;
    records.Reserve(rows);
    for (table.First(); !table.Eof(); table.Next()) {
        if (!table.Fields(jestColumn).AsBoolean())
            continue;
        T record;
        fill(record);
        records.Add(std::move(record));
    }
    records.ShrinkToFit();
}

// Empties `pool` and appends the records of `arrays` in turn that share a
// category bit with `groups` and are `wanted`.
template <class T, class P>
void Select(std::initializer_list<MyArray<T>*> arrays, int groups, P&& wanted, MyArray<T*>& pool)
{
    pool.RemoveAll();
    int total = 0;
    for (const MyArray<T>* records : arrays)
        total += records->Count();
    pool.Reserve(total);
    for (MyArray<T>* records : arrays)
        for (T& record : *records)
            if ((record.Grupy & groups) != 0 && wanted(record))
                pool.Add(&record);
}

template <class T, class P>
int Count(std::initializer_list<const MyArray<T>*> arrays, int groups, P&& wanted)
{
    int count = 0;
    for (const MyArray<T>* records : arrays)
        for (const T& record : *records)
            if ((record.Grupy & groups) != 0 && wanted(record))
                ++count;
    return count;
}

const auto Everything = [](const auto&) { return true; };

template <class T> void SetMarks(const MyArray<T*>& list, uint32_t bits)
{
    for (T* record : list)
        record->Mark(bits);
}

template <class T> void ClearMarks(const MyArray<T*>& list, uint32_t bits)
{
    for (T* record : list)
        record->Unmark(bits);
}

// The first index from `start` round to `start` - 1 whose record bears none of
// `avoidBits`; -1 when there is none.
template <class T> int FirstFree(const MyArray<T*>& pool, int start, uint32_t avoidBits)
{
    const int m = pool.Count();
    for (int k = 0; k < m; ++k) {
        const int c = (start + k) % m;
        if ((pool[c]->Marks & avoidBits) == 0)
            return c;
    }
    return -1;
}

// One random index of a pool of `m` records.
int Pick(const CWords::RandomSource& random, int m)
{
    const int c = random(m);
    if (c < 0 || c >= m)
        throw CError(
            QString("CWords::Draw - Liczba losowa %1 poza zakresem 0..%2").arg(c).arg(m - 1));
    return c;
}

template <class T>
bool Draw(MyArray<T*>& out, int n, uint32_t markBits, uint32_t avoidBits, const MyArray<T*>& pool,
          const CWords::RandomSource& random)
{
    const int m = pool.Count();
    if (m == 0)
        return false;
    out.RemoveAll();
    n = std::max(n, 0);
    out.Reserve(n);
    for (int i = 0; i < n; ++i) {
        int c = Pick(random, m);
        if ((pool[c]->Marks & avoidBits) != 0) {
            c = FirstFree(pool, Pick(random, m), avoidBits);
            if (c < 0) {
                // Every record is taken: start the marks over, but not for
                // what this draw already holds.
                ClearMarks(pool, markBits);
                SetMarks(out, markBits);
                c = FirstFree(pool, Pick(random, m), avoidBits);
                if (c < 0)
                    return false;
            }
        }
        out.Add(pool[c]);
        pool[c]->Mark(markBits);
    }
    return true;
}

} // namespace

CWords::CWords()
    : m_connection(std::make_unique<CDbConnection>()),
      m_table(std::make_unique<CDbTable>(m_connection.get())),
      m_random([](int m) { return int(QRandomGenerator::global()->bounded(m)); })
{
}

CWords::~CWords()
{
    m_table->Close();
    m_connection->Disconnect();
}

void CWords::SetRandomSource(RandomSource source)
{
    m_random = std::move(source);
}

int CWords::ParseGroups(const QString& text, const char* letters)
{
    const QString upper = UpperPL(text);
    int groups = 0;
    for (int bit = 0; letters[bit] != '\0'; ++bit)
        if (upper.contains(QLatin1Char(letters[bit])))
            groups |= 1 << bit;
    return groups;
}

bool CWords::Open(const QString& path)
{
    m_lastError.clear();
    try {
        m_connection->Connect(path);
        m_connection->CheckWhole();
        LoadWords();
        LoadProverbs();
        LoadActions();
        m_table->Close();
        m_connection->Disconnect();
        return true;
    } catch (const CError& error) {
        m_lastError = error.Message();
    } catch (const std::exception& error) {
        m_lastError = QString::fromLocal8Bit(error.what());
    }
    // A failed load must not keep the file held.
    m_table->Close();
    m_connection->Disconnect();
    return false;
}

void CWords::LoadWords()
{
    const auto c =
        OpenTable(*m_table, "Slowa", {"Nazwa", "Slowo", "BCIndex", "Grupy", "Opis", "Jest"},
                  "Problem z nazwami kolumn w bazie słów!");
    LoadRows(*m_table, c[5], m_words, [&](CRecWord& word) {
        word.Nazwa = m_table->Fields(c[0]).AsString();
        word.Slowo = m_table->Fields(c[1]).AsString();
        word.BCIndex = m_table->Fields(c[2]).AsInteger();
        word.Grupy = ParseGroups(m_table->Fields(c[3]).AsString(), WordLetters);
        word.Opis = m_table->Fields(c[4]).AsString();
    });
}

void CWords::LoadProverbs()
{
    const auto c = OpenTable(*m_table, "Przyslowia", {"ID", "Pocz", "Kon", "Grupy", "Jest"},
                             "Problem z nazwami kolumn w bazie przysłów!");
    LoadRows(*m_table, c[4], m_proverbs, [&](CRecProverb& proverb) {
        const QString number = IntToStrZero(m_table->Fields(c[0]).AsInteger(), 3);
        proverb.SoundPocz = "p" + number;
        proverb.SoundKon = "k" + number;
        proverb.Pocz = TrimBlanks(m_table->Fields(c[1]).AsString());
        proverb.Kon = TrimBlanks(m_table->Fields(c[2]).AsString());
        proverb.Grupy = ParseGroups(m_table->Fields(c[3]).AsString(), ProverbLetters);
    });
}

void CWords::LoadActions()
{
    const auto c =
        OpenTable(*m_table, "Czynnosci", {"ID", "Nazwa", "Podpis1", "Podpis2", "Grupy", "Jest"},
                  "Problem z nazwami kolumn w bazie czynności!");
    LoadRows(*m_table, c[5], m_actions, [&](CRecAction& action) {
        action.ID = m_table->Fields(c[0]).AsInteger();
        action.Nazwa = m_table->Fields(c[1]).AsString();
        action.Podpis1 = UpperPL(TrimBlanks(m_table->Fields(c[2]).AsString()));
        action.Podpis2 = UpperPL(TrimBlanks(m_table->Fields(c[3]).AsString()));
        action.Grupy = ParseGroups(m_table->Fields(c[4]).AsString(), ActionLetters);
    });
}

// ---- own words

void CWords::SetOwnWords(const COwnMaterial& own)
{
    m_ownWords.Clear();
    m_ownWords.Reserve(int(own.Words().size()));
    for (const COwnWord& source : own.Words()) {
        CRecWord word;
        word.Nazwa = source.Nazwa;
        word.Slowo = source.Nazwa.toLower();
        word.Opis = source.Opis;
        word.BCIndex = source.Obraz.isEmpty() ? -1 : OwnPictureBase + source.Id;
        word.Grupy = (source.Grupy & AllWordCategories) | OwnCategory;
        word.Patient = source.Pacjent;
        word.SoundPath = own.VoicePath(source);
        word.DescriptionPath = own.RiddleVoicePath(source);
        m_ownWords.Add(std::move(word));
    }
}

void CWords::SetPatient(int patient)
{
    m_patient = patient;
}

bool CWords::ForPatient(const CRecWord& word, int patient)
{
    return word.Patient == COwnWord::Everyone || word.Patient == patient;
}

// ---- selections and counts

void CWords::SelectWords(int groups, WordPool& pool)
{
    const int patient = m_patient;
    Select(
        {&m_words, &m_ownWords}, groups,
        [patient](const CRecWord& w) { return ForPatient(w, patient); }, pool);
}

void CWords::SelectDescribedWords(int groups, WordPool& pool)
{
    const int patient = m_patient;
    Select(
        {&m_words, &m_ownWords}, groups,
        [patient](const CRecWord& w) { return !w.Opis.isEmpty() && ForPatient(w, patient); }, pool);
}

void CWords::SelectProverbs(int groups, ProverbPool& pool)
{
    Select({&m_proverbs}, groups, Everything, pool);
}

void CWords::SelectActions(int groups, ActionPool& pool)
{
    Select({&m_actions}, groups, Everything, pool);
}

int CWords::CountWords(int groups) const
{
    return CountWordsFor(groups, m_patient);
}

int CWords::CountDescribedWords(int groups) const
{
    return CountDescribedWordsFor(groups, m_patient);
}

int CWords::CountWordsFor(int groups, int patient) const
{
    return Count({&m_words, &m_ownWords}, groups,
                 [patient](const CRecWord& w) { return ForPatient(w, patient); });
}

int CWords::CountDescribedWordsFor(int groups, int patient) const
{
    return Count({&m_words, &m_ownWords}, groups, [patient](const CRecWord& w) {
        return !w.Opis.isEmpty() && ForPatient(w, patient);
    });
}

int CWords::CountProverbs(int groups) const
{
    return Count({&m_proverbs}, groups, Everything);
}

int CWords::CountActions(int groups) const
{
    return Count({&m_actions}, groups, Everything);
}

// ---- draws and marks

bool CWords::DrawWords(WordPool& out, int n, uint32_t markBits, uint32_t avoidBits,
                       const WordPool& pool)
{
    return Draw(out, n, markBits, avoidBits, pool, m_random);
}

bool CWords::DrawProverbs(ProverbPool& out, int n, uint32_t markBits, uint32_t avoidBits,
                          const ProverbPool& pool)
{
    return Draw(out, n, markBits, avoidBits, pool, m_random);
}

bool CWords::DrawActions(ActionPool& out, int n, uint32_t markBits, uint32_t avoidBits,
                         const ActionPool& pool)
{
    return Draw(out, n, markBits, avoidBits, pool, m_random);
}

void CWords::ClearWordMarks(const WordPool& list, uint32_t bits)
{
    ClearMarks(list, bits);
}

void CWords::SetWordMarks(const WordPool& list, uint32_t bits)
{
    SetMarks(list, bits);
}

void CWords::ClearProverbMarks(const ProverbPool& list, uint32_t bits)
{
    ClearMarks(list, bits);
}

void CWords::SetProverbMarks(const ProverbPool& list, uint32_t bits)
{
    SetMarks(list, bits);
}

void CWords::ClearActionMarks(const ActionPool& list, uint32_t bits)
{
    ClearMarks(list, bits);
}

void CWords::SetActionMarks(const ActionPool& list, uint32_t bits)
{
    SetMarks(list, bits);
}
