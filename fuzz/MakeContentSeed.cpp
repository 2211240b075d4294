// Writes a small valid content database as the fuzzer's seed.
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"

#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s seed-file\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!CreateContentDatabase(path))
        return 0; // already there
    CDbConnection db;
    db.Connect(path);
    db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) VALUES "
               "('KOT', 'kot', 1, 'Z', 'Kot miauczy.', 1), ('DOM', 'dom', 2, 'D', '', 1), "
               "('ŻABA', 'żaba', 3, 'zw', '', 0)");
    db.Execute("INSERT INTO Przyslowia (ID, Pocz, Kon, Grupy, Jest) VALUES "
               "(7, 'Gdzie kucharek sześć,', 'tam nie ma co jeść.', 'Z', 1), "
               "(1234, 'Bez pracy', 'nie ma kołaczy', 'LB', 1)");
    db.Execute("INSERT INTO Czynnosci (ID, Nazwa, Podpis1, Podpis2, Grupy, Jest) VALUES "
               "(12, 'mycie zębów', 'mężczyzna', 'myje zęby', 'H', 1), "
               "(3, 'gra', 'chłopiec', 'gra w piłkę', 'SR', 1)");
    return 0;
}
