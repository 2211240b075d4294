#include "statistics/ExerciseTitles.h"

#include <iterator>

QString ExerciseTitle(int exercise)
{
    static const char* const titles[] = {
        "Wybieranie nazwy",          "Układanie nazwy",
        "Wpisywanie nazwy",          "Zadania opisowe",
        "Przysłowia - wpisywanie",   "Przysłowia - wybieranie",
        "Dopasowanie czynności",     "Zautomatyzowane ciągi słowne",
        "Powtarzanie przysłów",      "Powtarzanie nazw obrazków",
        "Powtarzanie nazw czynności"};
    if (exercise < 0 || exercise >= int(std::size(titles)))
        return QString();
    return QString::fromUtf8(titles[exercise]);
}

QString ExerciseCode(int exercise)
{
    static const char* const codes[] = {"WY", "UK",  "WP", "ZO",  "PWP", "PWY",
                                        "DC", "WYL", "PP", "PNO", "PNC"};
    if (exercise < 0 || exercise >= int(std::size(codes)))
        return QString();
    return QLatin1String(codes[exercise]);
}
