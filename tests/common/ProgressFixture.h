#pragma once
#include "platform/CDbConnection.h"

#include <QString>
#include <QVariantList>

// A small patient history whose figures are worked out by hand below, for
// the tests of the progress figures, the charts, the reports and the view.
//
// Patient 1 "Zażółć Gęślą-Jaźń Kowalska" (description with Polish letters):
//   T1 2026-01-05 10:00:00, utterance recorded
//      WY  LZ 10 Rozw 8 Blad 3 Pomoc 20 Czas 1200 -> 50 %, 20 %, 15,0 s
//      PP  LZ 5  Rozw 0 Blad 0 Pomoc 0  Czas 600  -> –, –, 12,0 s (per task)
//   T2 2026-02-10 11:30:00, comment recorded
//      WY  LZ 10 Rozw 10 Blad 0 Pomoc 0 Czas 900 -> 100 %, 0 %, 9,0 s
//      UK  LZ 8 Rozw 6 Blad 2 Pomoc 50 Czas 960  -> 50 %, 50 %, 16,0 s
//   T3 2026-03-15 09:15:00, damaged rows of an old database
//      WY  LZ 0 Rozw 0 Blad 0 Pomoc 0 Czas 0    -> –, –, –  (score "0")
//      UK  LZ 5 Rozw 9 Blad 1 Pomoc 10 Czas 100 -> –, –, –  (score "–")
//   Summary WY: 3 therapies, 20 tasks, solved 90 %, without errors 75 %,
//   help 10 %, 10,5 s per task. UK: 2, 8, 75 %, 50 %, 50 %, 12,0 s.
//   PP: 1, 5, –, –, –, 12,0 s.
// Patient 2 "Anna Nowak": T 2026-01-20 08:00:00, DC LZ 4 Rozw 4 Blad 1
//   Pomoc 0 Czas 400 -> 75 %, 0 %, 10,0 s.
// Patient 3 "Jan Bez Terapii": no therapies.
inline void FillProgressFixture(CDbConnection& db)
{
    db.Execute("INSERT INTO Pacjenci (idPac, NazwiskoImie, Opis) VALUES (1, ?, ?)",
               {QString::fromUtf8("Zażółć Gęślą-Jaźń Kowalska"),
                QString::fromUtf8("Afazja ruchowa po udarze; ćwiczy nazywanie.")});
    db.Execute("INSERT INTO Pacjenci (idPac, NazwiskoImie, Opis) VALUES (2, 'Anna Nowak', '')");
    db.Execute(
        "INSERT INTO Pacjenci (idPac, NazwiskoImie, Opis) VALUES (3, 'Jan Bez Terapii', '')");
    struct STherapy
    {
        int id, patient;
        const char* date;
        int mask, w, k;
    };
    const STherapy therapies[] = {
        {1, 1, "2026-01-05 10:00:00.000", (1 << 0) | (1 << 8), 1, 0},
        {2, 1, "2026-02-10 11:30:00.000", (1 << 0) | (1 << 1), 0, 1},
        {3, 1, "2026-03-15 09:15:00.000", (1 << 0) | (1 << 1), 0, 0},
        {4, 2, "2026-01-20 08:00:00.000", 1 << 6, 0, 0},
    };
    for (const STherapy& t : therapies)
        db.Execute("INSERT INTO Statystyki (idStat, idPac, Data, CwWybrane, Wypowiedz, Komentarz) "
                   "VALUES (?, ?, ?, ?, ?, ?)",
                   {t.id, t.patient, QString::fromLatin1(t.date), t.mask, t.w, t.k});
    const int rows[][7] = {
        {1, 0, 10, 8, 3, 20, 1200}, {1, 8, 5, 0, 0, 0, 600}, {2, 0, 10, 10, 0, 0, 900},
        {2, 1, 8, 6, 2, 50, 960},   {3, 0, 0, 0, 0, 0, 0},   {3, 1, 5, 9, 1, 10, 100},
        {4, 6, 4, 4, 1, 0, 400},
    };
    for (const auto& r : rows)
        db.Execute("INSERT INTO Cwiczenia (idStat, Cw, LZ, Rozw, Blad, Pomoc, Czas) VALUES (?, ?, "
                   "?, ?, ?, ?, ?)",
                   {r[0], r[1], r[2], r[3], r[4], r[5], r[6]});
}
