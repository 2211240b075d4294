#pragma once
#include <QString>
#include <cstdint>

// One pictured word of the material.
class CRecWord
{
public:
    QString Nazwa;      // file key of the word's sounds
    QString Slowo;      // the written word
    QString Opis;       // spoken description; empty when the word has none
    int BCIndex = 0;    // index of the photograph in the photo archive
    int Grupy = 0;      // category bits
    uint32_t Marks = 0; // mark bits of the random draws

    void Mark(uint32_t bits) { Marks |= bits; }
    void Unmark(uint32_t bits) { Marks &= ~bits; }
};
