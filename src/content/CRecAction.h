#pragma once
#include <QString>
#include <cstdint>

// One activity, shown as a film with two captions.
class CRecAction
{
public:
    int ID = 0;
    QString Nazwa;
    QString Podpis1; // caption for "Co przedstawia?"
    QString Podpis2; // caption for "Co robi?"
    int Grupy = 0;
    uint32_t Marks = 0;

    void Mark(uint32_t bits) { Marks |= bits; }
    void Unmark(uint32_t bits) { Marks &= ~bits; }
};
