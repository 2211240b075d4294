#pragma once
#include <QString>

// One word of the therapist's own material, as the own-material database
// keeps it. The media live as files in the own-material folder; the record
// holds their names (empty when the word has none).
class COwnWord
{
public:
    static constexpr int Everyone = -1; // Pacjent of a word for every patient

    int Id = 0;             // 0 until stored
    QString Nazwa;          // capitals of the alphabet, as the patient types it
    int Grupy = 0;          // among the nine word categories
    QString Opis;           // the riddle; empty when none
    int Pacjent = Everyone; // the one patient this word belongs to
    QString Obraz;          // stem of the two picture files
    QString Glos;           // sound of the name (".wv" file)
    QString GlosOpisu;      // sound of the riddle (".wv" file)
};
