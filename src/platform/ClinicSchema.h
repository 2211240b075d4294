#pragma once
#include <QStringList>

class CDbBackend;

// The tables of a clinic database: those of the patient file, a key on every
// table (rows are found again by it), the active patient of each workstation
// (Stanowiska), the recordings (Nagrania) and the schema's version
// (loquena_schemat), so that a later version can migrate the tables.

// The version of the tables this program reads and writes.
constexpr int kClinicSchemaVersion = 1;

// Creates the tables in a database that has none of them (as one change,
// so that two workstations starting together make them once). Throws CError
// when the database holds another version's tables, or tables of these names
// without a version; they are never altered.
void PrepareClinicSchema(CDbBackend& backend);
// Why the database's tables are not the ones this program works on (another
// version's, without a version, or none at all), as an error's message
// naming `where`; empty when they are. Nothing is changed. A server that came
// back from a restart may hold a restored copy of another version.
QString ClinicSchemaRefusal(CDbBackend& backend, const QString& where);

// The server keeps names in lower case; the program's data sets show the
// columns spelled as in the patient file ("idpac" -> "idPac"). Other names
// are returned as they are.
QString ProgramSpelling(const QString& name);

// The statements that make the tables (for the tests and the README).
QStringList ClinicSchemaStatements();
