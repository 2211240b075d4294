#pragma once
#include <QList>
#include <QString>

class CDbConnection;
class CPatient;

// What the kill drivers share: making the database, what patient save n and
// therapy k write (so that a check can recompute it), the progress log, and
// the checks of the database after the run.
namespace KillDriver {

int PatientMask(int n);
int TherapyMask(int k);
// Writes save n into the patient's name, description and settings.
void FillPatient(CPatient& patient, int n);

// One line of the progress log, written at once; the driver ends if it cannot.
void LogLine(int fd, const QString& line);
// Prints the failure for the script; the check's exit code.
int Fail(const QString& what);

// "init": a new patient file, or the clinic's tables made by a first connection.
int Init(const QString& database);

// The number of the patient save held by the one patient row (0 before the
// first save), or -1 with `problem` when there are more rows or it is not whole.
int StoredPatientSave(CDbConnection& connection, QString* problem);
// The numbers of the stored therapies in the order they were stored; empty
// with `problem` when one is not whole or an exercise row has no therapy.
QList<int> StoredTherapies(CDbConnection& connection, QString* problem);
// True when no other connection holds a patient's lock; waits a few seconds
// for the server to notice the end of a killed workstation's connection.
bool NoPatientLocked(CDbConnection& connection);

} // namespace KillDriver
