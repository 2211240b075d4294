#pragma once
#include <QString>
#include <cstdint>

// One proverb, in its two halves.
class CRecProverb
{
public:
    QString Pocz;      // beginning, without surrounding blanks
    QString Kon;       // ending, without surrounding blanks
    QString SoundPocz; // "p" and the proverb number with at least three digits
    QString SoundKon;  // "k" and the same digits
    int Grupy = 0;
    uint32_t Marks = 0;

    void Mark(uint32_t bits) { Marks |= bits; }
    void Unmark(uint32_t bits) { Marks &= ~bits; }
};
