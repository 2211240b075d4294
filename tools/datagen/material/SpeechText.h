#pragma once
#include <QList>
#include <QString>

struct MaterialSources;

// espeak-ng's Polish says a few things wrongly that a patient relearning speech
// must not hear: the preposition "w" standing alone before a vowel or a voiced
// consonant comes out as "ł" ("w nocy" as "ł nocy"), and "ę" before "ś" turns
// into a consonant ("gęś" as "gęńś"). Every text the data build speaks goes
// through this first: a lone "w" is joined to the next word ("wnocy" is read
// right) and "ę" before "ś" or "si" is respelled "ęj" ("gęjś").
QString PrepareSpeech(const QString& text);

// One sound the data build makes: its key under Data/ ("ws/KOT", "ps/p007")
// and the text given to the synthesiser, already prepared, or the tones of a
// chime instead of speech.
struct SpeechItem
{
    QString Key;
    QString Text; // empty for a tone
    QList<int> Tone;
};

// Every sound of the material: names and riddles of the words, both halves of
// each proverb, both captions of each activity, and the phrases.
QList<SpeechItem> SpeechItems(const MaterialSources& sources);
