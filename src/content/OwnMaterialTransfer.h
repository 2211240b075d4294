#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class COwnMaterial;
class CWords;

// Moving the own material to another workstation: every own word with its
// pictures, voices and riddle in one file, a personal word with its patient's
// name (patients have other numbers elsewhere), and the own recordings of the
// shipped material. The file ends with a SHA-256 of its contents, so a
// damaged copy is refused whole.
namespace OwnMaterialTransfer {

// 1: the words; 2: the recordings after them. Older files are read as they
// are; a newer one is refused.
constexpr int FormatVersion = 2;

struct SPatient
{
    int Id = -1;
    QString Name;
};

// What an import did, word by word.
struct SReport
{
    QStringList Added;
    QStringList Present; // an own word of that name was there already
    QStringList Refused; // "NAME: why"
    // The own recordings, by the shipped sound they stand in for.
    QStringList VoicesAdded;
    QStringList VoicesPresent; // the program folder has its own already: kept
    QStringList VoicesRefused; // "path: why"
};

QByteArray ExportData(const COwnMaterial& store, const QList<SPatient>& patients);
// Written through a temporary file; false with *error.
bool Export(const COwnMaterial& store, const QList<SPatient>& patients, const QString& path,
            QString* error);

// Stores the words and recordings of the file that are not there yet. `shipped` (may be
// null): the content database, whose names an own word may not take. False
// with *error when the file as a whole is refused (damaged, of a newer
// version, not such a file); nothing is stored then.
bool ImportData(COwnMaterial& store, const CWords* shipped, const QList<SPatient>& patients,
                const QByteArray& data, SReport* report, QString* error);
bool Import(COwnMaterial& store, const CWords* shipped, const QList<SPatient>& patients,
            const QString& path, SReport* report, QString* error);

} // namespace OwnMaterialTransfer
