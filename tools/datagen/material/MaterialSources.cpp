#include "MaterialSources.h"

#include "DataBuild.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

namespace {

struct SourceLine
{
    int Number = 0;
    QStringList Fields;
};

// The non-comment lines of a source file, split at "|" and trimmed.
QList<SourceLine> ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw DataBuildError(QString("missing source %1").arg(path));
    QList<SourceLine> lines;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    int number = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++number;
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith('#'))
            continue;
        SourceLine l;
        l.Number = number;
        for (const QString& f : line.split('|'))
            l.Fields << f.trimmed();
        lines << l;
    }
    return lines;
}

[[noreturn]] void Malformed(const QString& file, int line, const QString& what)
{
    throw DataBuildError(QString("%1:%2: %3").arg(file).arg(line).arg(what));
}

int ParseId(const QString& file, const SourceLine& l)
{
    bool ok = false;
    const int id = l.Fields[0].toInt(&ok);
    if (!ok || id <= 0)
        Malformed(file, l.Number, "ID must be a positive number");
    return id;
}

// "a,b,c" into exactly n numbers.
QList<double> Numbers(const QString& text, int n, const QString& file, int line)
{
    const QStringList parts = text.split(',');
    if (parts.size() != n)
        Malformed(file, line, QString("expected %1 numbers in \"%2\"").arg(n).arg(text));
    QList<double> out;
    for (const QString& p : parts) {
        bool ok = false;
        out << p.trimmed().toDouble(&ok);
        if (!ok)
            Malformed(file, line, QString("not a number in \"%1\"").arg(text));
    }
    return out;
}

FilmSprite ParseSprite(const QString& text, const QString& file, int line)
{
    const QStringList tokens = text.split(' ', Qt::SkipEmptyParts);
    if (tokens.size() < 2)
        Malformed(file, line, QString("film picture needs a name and x,y,size: \"%1\"").arg(text));
    FilmSprite s;
    s.Picture = tokens[0];
    const QList<double> at = Numbers(tokens[1], 3, file, line);
    s.X = s.ToX = at[0];
    s.Y = s.ToY = at[1];
    s.Size = s.ToSize = at[2];
    for (int i = 2; i < tokens.size(); ++i) {
        const QString key = tokens[i].section('=', 0, 0);
        const QString value = tokens[i].section('=', 1);
        if (key == "to") {
            const QList<double> v = Numbers(value, 2, file, line);
            s.ToX = v[0];
            s.ToY = v[1];
        } else if (key == "rep") {
            s.Repeat = Numbers(value, 1, file, line)[0];
        } else if (key == "osc") {
            const QList<double> v = Numbers(value, 3, file, line);
            s.OscX = v[0];
            s.OscY = v[1];
            s.OscHz = v[2];
        } else if (key == "rot") {
            const QList<double> v = Numbers(value, 2, file, line);
            s.Rot0 = v[0];
            s.Rot1 = v[1];
        } else if (key == "wob") {
            const QList<double> v = Numbers(value, 2, file, line);
            s.WobDeg = v[0];
            s.WobHz = v[1];
        } else if (key == "grow") {
            s.ToSize = Numbers(value, 1, file, line)[0];
        } else if (key == "show") {
            const QList<double> v = Numbers(value, 2, file, line);
            s.Show0 = v[0];
            s.Show1 = v[1];
        } else if (key == "flip" && value.isEmpty()) {
            s.Flip = true;
        } else {
            Malformed(file, line, QString("unknown film option \"%1\"").arg(tokens[i]));
        }
    }
    if (s.Repeat <= 0)
        Malformed(file, line, "rep must be positive");
    return s;
}

QString Optional(const SourceLine& l, int i)
{
    return i < l.Fields.size() ? l.Fields[i] : QString();
}

void ReadWords(const QString& dir, MaterialSources& out)
{
    const QString file = "words.txt";
    for (const SourceLine& l : ReadLines(dir + "/" + file)) {
        if (l.Fields.size() < 3 || l.Fields.size() > 5)
            Malformed(file, l.Number, "expected NAZWA | categories | picture | riddle | speech");
        SourceWord w;
        w.Nazwa = l.Fields[0];
        w.Slowo = l.Fields[0].toLower();
        w.Grupy = l.Fields[1];
        w.Picture = l.Fields[2];
        w.Opis = Optional(l, 3);
        w.Speak = Optional(l, 4).isEmpty() ? w.Slowo : Optional(l, 4);
        w.Line = l.Number;
        out.Words << w;
    }
}

void ReadProverbs(const QString& dir, MaterialSources& out)
{
    const QString file = "proverbs.txt";
    for (const SourceLine& l : ReadLines(dir + "/" + file)) {
        if (l.Fields.size() != 4 && l.Fields.size() != 6)
            Malformed(file, l.Number,
                      "expected ID | categories | BEGINNING | ENDING [| speech | speech]");
        SourceProverb p;
        p.ID = ParseId(file, l);
        p.Grupy = l.Fields[1];
        p.Pocz = l.Fields[2];
        p.Kon = l.Fields[3];
        p.SpeakPocz = Optional(l, 4).isEmpty() ? p.Pocz.toLower() : Optional(l, 4);
        p.SpeakKon = Optional(l, 5).isEmpty() ? p.Kon.toLower() : Optional(l, 5);
        p.Line = l.Number;
        out.Proverbs << p;
    }
}

void ReadActions(const QString& dir, MaterialSources& out)
{
    const QString file = "activities.txt";
    for (const SourceLine& l : ReadLines(dir + "/" + file)) {
        if (l.Fields.size() != 6)
            Malformed(file, l.Number,
                      "expected ID | categories | name | CAPTION 1 | CAPTION 2 | film");
        SourceAction a;
        a.ID = ParseId(file, l);
        a.Grupy = l.Fields[1];
        a.Nazwa = l.Fields[2];
        a.Podpis1 = l.Fields[3];
        a.Podpis2 = l.Fields[4];
        a.FilmText = l.Fields[5];
        for (const QString& sprite : l.Fields[5].split(';', Qt::SkipEmptyParts))
            a.Film << ParseSprite(sprite.trimmed(), file, l.Number);
        if (a.Film.isEmpty())
            Malformed(file, l.Number, "the film has no pictures");
        a.Line = l.Number;
        out.Actions << a;
    }
}

void ReadPhrases(const QString& dir, MaterialSources& out)
{
    const QString file = "phrases.txt";
    for (const SourceLine& l : ReadLines(dir + "/" + file)) {
        if (l.Fields.size() < 2 || l.Fields.size() > 3)
            Malformed(file, l.Number, "expected folder/key | text [| speech]");
        SourcePhrase p;
        p.Key = l.Fields[0];
        p.Line = l.Number;
        if (l.Fields[1].startsWith("@ton")) {
            for (const QString& f : l.Fields[1].mid(4).split(',', Qt::SkipEmptyParts)) {
                bool ok = false;
                p.ToneHz << f.trimmed().toInt(&ok);
                if (!ok || p.ToneHz.last() < 100 || p.ToneHz.last() > 4000)
                    Malformed(file, l.Number, "tone frequencies must be 100 to 4000 Hz");
            }
            if (p.ToneHz.isEmpty())
                Malformed(file, l.Number, "a tone needs at least one frequency");
        } else {
            p.Text = Optional(l, 2).isEmpty() ? l.Fields[1] : Optional(l, 2);
        }
        out.Phrases << p;
    }
}

bool HasCategories(const QString& grupy, const QString& allowed)
{
    if (grupy.isEmpty())
        return false;
    for (QChar c : grupy)
        if (!allowed.contains(c))
            return false;
    return true;
}

template <typename T, typename Key>
void CheckUnique(const QList<T>& items, Key key, const QString& what, QStringList& problems)
{
    QSet<QString> seen;
    for (const T& item : items) {
        const QString k = key(item);
        if (seen.contains(k))
            problems << QString("%1: duplicate key %2").arg(what, k);
        seen.insert(k);
    }
}

void CheckMinimum(int count, int minimum, const QString& what, QStringList& problems)
{
    if (count < minimum)
        problems << QString("%1: %2, at least %3 needed").arg(what).arg(count).arg(minimum);
}

// A riddle must make the patient find the word, not hear it: it may not hold
// the word, nor its first four letters, which most of the word's family
// shares ("plecak", "na plecach"). Roots that change their vowel ("mydło",
// "myjemy") are left to the reader of the material.
bool RiddleGivesAway(const SourceWord& w)
{
    return w.Opis.toLower().contains(w.Slowo.left(4));
}

// Two words with the same riddle cannot both be its answer.
void CheckSharedRiddles(const QList<SourceWord>& words, QStringList& problems)
{
    QHash<QString, QString> byRiddle;
    for (const SourceWord& w : words) {
        if (w.Opis.isEmpty())
            continue;
        const QString riddle = w.Opis.toLower();
        if (byRiddle.contains(riddle))
            problems << QString("words.txt:%1 %2: the same riddle as %3")
                            .arg(w.Line)
                            .arg(w.Nazwa, byRiddle[riddle]);
        else
            byRiddle.insert(riddle, w.Nazwa);
    }
}

// The keys the program plays by number.
QStringList ExpectedPhraseKeys()
{
    QStringList keys;
    for (int i = 1; i <= 16; ++i)
        keys << QString("sp/g%1").arg(i);
    for (int i = 1; i <= 9; ++i)
        keys << QString("sp/b%1").arg(i);
    for (int i = 1; i <= 7; ++i)
        keys << QString("dml/d%1").arg(i);
    for (int i = 1; i <= 12; ++i)
        keys << QString("dml/m%1").arg(i);
    for (int i = 1; i <= 10; ++i)
        keys << QString("dml/l%1").arg(i);
    return keys;
}

} // namespace

MaterialSources ReadMaterialSources(const QString& sourceDir)
{
    MaterialSources out;
    ReadWords(sourceDir, out);
    ReadProverbs(sourceDir, out);
    ReadActions(sourceDir, out);
    ReadPhrases(sourceDir, out);
    return out;
}

bool IsAlphabetText(const QString& text, bool capitalsOnly, bool spaces)
{
    if (text.isEmpty() || text.startsWith(' ') || text.endsWith(' ') || text.contains("  "))
        return false;
    for (QChar c : text) {
        if (c == ' ' && spaces)
            continue;
        const QChar upper = capitalsOnly ? c : c.toUpper();
        if (!PolishAlphabet.contains(upper))
            return false;
    }
    return true;
}

int CountCategory(const MaterialSources& sources, char kind, QChar letter)
{
    int n = 0;
    if (kind == 'W') {
        for (const SourceWord& w : sources.Words)
            n += w.Grupy.contains(letter);
    } else if (kind == 'P') {
        for (const SourceProverb& p : sources.Proverbs)
            n += p.Grupy.contains(letter);
    } else {
        for (const SourceAction& a : sources.Actions)
            n += a.Grupy.contains(letter);
    }
    return n;
}

QStringList CheckMaterialSources(const MaterialSources& s)
{
    QStringList problems;
    int riddles = 0;
    for (const SourceWord& w : s.Words) {
        const QString where = QString("words.txt:%1 %2").arg(w.Line).arg(w.Nazwa);
        if (!IsAlphabetText(w.Nazwa, true, false))
            problems << where + ": NAZWA must be capitals of the alphabet, no spaces";
        if (!IsAlphabetText(w.Slowo, false, false) || w.Slowo.size() > 16)
            problems << where + ": the tile word must be letters of the alphabet, at most 16";
        if (!HasCategories(w.Grupy, WordCategories))
            problems << where + ": categories must be letters of " + WordCategories;
        if (w.Picture.isEmpty())
            problems << where + ": no picture";
        if (!w.Opis.isEmpty()) {
            ++riddles;
            if (RiddleGivesAway(w))
                problems << where + ": the riddle says the word or its first four letters";
        }
    }
    CheckSharedRiddles(s.Words, problems);
    CheckUnique(
        s.Words, [](const SourceWord& w) { return w.Nazwa; }, "words", problems);
    CheckMinimum(s.Words.size(), 250, "words", problems);
    CheckMinimum(riddles, 150, "words with a riddle", problems);
    for (QChar c : WordCategories)
        CheckMinimum(CountCategory(s, 'W', c), 20, QString("words in category ") + c, problems);

    for (const SourceProverb& p : s.Proverbs) {
        const QString where = QString("proverbs.txt:%1").arg(p.Line);
        if (!IsAlphabetText(p.Kon, true, true))
            problems << where + ": the ending must be capitals of the alphabet with single spaces";
        if (p.Pocz.isEmpty() || p.Pocz != p.Pocz.toUpper())
            problems << where + ": the beginning must be in capitals";
        if (!HasCategories(p.Grupy, ProverbCategories))
            problems << where + ": categories must be letters of " + ProverbCategories;
    }
    CheckUnique(
        s.Proverbs, [](const SourceProverb& p) { return QString::number(p.ID); }, "proverbs",
        problems);
    CheckMinimum(s.Proverbs.size(), 100, "proverbs", problems);
    const int proverbMin[] = {40, 25, 15, 15};
    for (int i = 0; i < 4; ++i)
        CheckMinimum(CountCategory(s, 'P', ProverbCategories[i]), proverbMin[i],
                     QString("proverbs in category ") + ProverbCategories[i], problems);

    for (const SourceAction& a : s.Actions) {
        const QString where = QString("activities.txt:%1").arg(a.Line);
        if (a.Nazwa.isEmpty() || a.Podpis1.isEmpty() || a.Podpis2.isEmpty())
            problems << where + ": name and both captions are needed";
        if (a.Podpis1 != a.Podpis1.toUpper() || a.Podpis2 != a.Podpis2.toUpper())
            problems << where + ": captions must be in capitals";
        if (!HasCategories(a.Grupy, ActionCategories))
            problems << where + ": categories must be letters of " + ActionCategories;
    }
    CheckUnique(
        s.Actions, [](const SourceAction& a) { return QString::number(a.ID); }, "activities",
        problems);
    CheckMinimum(s.Actions.size(), 60, "activities", problems);
    for (QChar c : ActionCategories)
        CheckMinimum(CountCategory(s, 'A', c), 5, QString("activities in category ") + c, problems);

    CheckUnique(
        s.Phrases, [](const SourcePhrase& p) { return p.Key; }, "phrases", problems);
    QSet<QString> keys;
    for (const SourcePhrase& p : s.Phrases)
        keys.insert(p.Key);
    for (const QString& k : ExpectedPhraseKeys())
        if (!keys.contains(k))
            problems << "phrases: missing " + k;
    for (const QString& k : keys)
        if (!ExpectedPhraseKeys().contains(k))
            problems << "phrases: unknown key " + k;
    return problems;
}

QStringList CheckPictures(const MaterialSources& s, const QString& iconDir)
{
    QStringList problems;
    auto check = [&](const QString& picture, const QString& where) {
        if (!QFileInfo::exists(iconDir + "/" + picture + ".svg"))
            problems << QString("%1: no picture %2.svg").arg(where, picture);
    };
    for (const SourceWord& w : s.Words)
        check(w.Picture, QString("words.txt:%1").arg(w.Line));
    for (const SourceAction& a : s.Actions)
        for (const FilmSprite& f : a.Film)
            check(f.Picture, QString("activities.txt:%1").arg(a.Line));
    return problems;
}
