#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// The material's sources as read from data/: plain text, one record a line,
// fields separated by "|", "#" starting a comment line.

// The letters a patient can type or arrange (the on-screen alphabet).
inline const QString PolishAlphabet = QStringLiteral("AĄBCĆDEĘFGHIJKLŁMNŃOÓPRSŚTUWYZŹŻ");
inline const QString WordCategories = QStringLiteral("DZWTOJGBI");
inline const QString ProverbCategories = QStringLiteral("ZLBT");
inline const QString ActionCategories = QStringLiteral("HOGSPRBUI");

struct SourceWord
{
    QString Nazwa;   // capitals of the alphabet; the sound key and the typed name
    QString Slowo;   // the word arranged from tiles
    QString Grupy;   // category letters
    QString Picture; // fluentui-emoji icon name, without ".svg"
    QString Opis;    // spoken riddle, may be empty
    QString Speak;   // what the synthesiser says for the name
    int Line = 0;
};

struct SourceProverb
{
    int ID = 0;
    QString Grupy;
    QString Pocz;
    QString Kon;
    QString SpeakPocz;
    QString SpeakKon;
    int Line = 0;
};

// One picture of a film and how it moves (see data/activities.txt).
struct FilmSprite
{
    QString Picture;
    double X = 50, Y = 50, Size = 30; // centre in % of width/height, side in % of height
    double ToX = 50, ToY = 50, ToSize = 30;
    double Repeat = 1; // the move from start to end, this many times
    double OscX = 0, OscY = 0, OscHz = 0;
    double Rot0 = 0, Rot1 = 0;
    double WobDeg = 0, WobHz = 0;
    double Show0 = 0, Show1 = 1;
    bool Flip = false;
};

struct SourceAction
{
    int ID = 0;
    QString Grupy;
    QString Nazwa;
    QString Podpis1;
    QString Podpis2;
    QList<FilmSprite> Film;
    QString FilmText; // the recipe as written, for the build stamp
    int Line = 0;
};

struct SourcePhrase
{
    QString Key;       // "sp/g1", "dml/m12"
    QString Text;      // spoken text; empty for a tone
    QList<int> ToneHz; // "@ton f1,f2": a soft chime instead of speech
    int Line = 0;
};

struct MaterialSources
{
    QList<SourceWord> Words;
    QList<SourceProverb> Proverbs;
    QList<SourceAction> Actions;
    QList<SourcePhrase> Phrases;
};

// Reads data/words.txt, proverbs.txt, activities.txt and phrases.txt. Throws
// DataBuildError naming the file and line on a missing file or a malformed line.
MaterialSources ReadMaterialSources(const QString& sourceDir);

// Every rule the program relies on (letters, keys, category minimums); one
// message per problem, empty when the sources are sound. Pictures are not
// checked here (see CheckPictures).
QStringList CheckMaterialSources(const MaterialSources& sources);

// Every picture that words and films name exists in `iconDir`.
QStringList CheckPictures(const MaterialSources& sources, const QString& iconDir);

// True when `text` is one or more letters of the alphabet (capitals only when
// `capitalsOnly`, else either case), with single spaces between words when
// `spaces`.
bool IsAlphabetText(const QString& text, bool capitalsOnly, bool spaces);

// The number of items per category letter.
int CountCategory(const MaterialSources& sources, char kind, QChar letter);
