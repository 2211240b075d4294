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
    // Own material only: the one patient the word belongs to (-1: everyone)
    // and its sounds, which live outside the shipped folders.
    int Patient = -1;
    QString SoundPath;
    QString DescriptionPath;

    void Mark(uint32_t bits) { Marks |= bits; }
    void Unmark(uint32_t bits) { Marks &= ~bits; }
};
