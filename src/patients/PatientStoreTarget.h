#pragma once
#include <QString>
#include <QStringList>

// Where the patient store is. A single computer keeps its patients in the
// file "pacmem.qp" of the program folder; a clinic's workstations name their
// shared PostgreSQL database with a libpq connection string, either on the
// command line ("--klinika=<connection string>" or "--klinika <connection
// string>") or in the persistent setting "Klinika/Polaczenie". The command
// line wins. The password is never part of it: libpq reads it from
// ~/.pgpass or its environment.
QString PatientStoreTarget(const QStringList& arguments);

// The name this workstation shows to the others of a clinic (as the holder
// of a busy patient): "--stanowisko=<name>" on the command line or the
// persistent setting "Klinika/Stanowisko"; empty for the computer's name.
QString PatientStoreWorkstation(const QStringList& arguments);

// The message for the therapist when the store named `target` cannot be
// opened for the reason `error` (the error's text).
QString PatientStoreFailure(const QString& target, const QString& error);
