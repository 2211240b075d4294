#pragma once
#include <QString>
#include <QStringList>

// The tables of the program's two database files, as the data build and the
// tests create them.
//
// Both functions create a new file (mode 0600) and never touch an existing
// one: they return false, leaving it as it was, when `path` exists. They
// return true once the empty tables are in place, and throw CError on any
// other failure (the half-made file is removed again).

// Content database (Data/sdrow.qp): Slowa, Przyslowia, Czynnosci, no rows.
bool CreateContentDatabase(const QString& path);

// Patient database (pacmem.qp): Pacjenci, Ust with its one row (AktywnyPac =
// -1, no patient active), Statystyki and Cwiczenia, no patients.
bool CreatePatientDatabase(const QString& path);

// The 22 settings columns of Pacjenci, in table order: for each exercise in
// index order, its packed task count and paging time (..._L), then its flags
// (..._F). The first is "WY_L"; the others are read by position.
QStringList PatientSettingsColumns();

// Own-material database (wlasne.qp): Wlasne, no words, and Wersja with the
// one row holding `version`.
bool CreateOwnMaterialDatabase(const QString& path, int version);
