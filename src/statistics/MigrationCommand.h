#pragma once
#include <QStringList>

// The command that moves a single computer's patient store into the clinic
// database: "loquena --przenies=<folder> [--klinika=<connection string>]"
// (the clinic database as for the program itself: the option, else the
// setting Klinika/Polaczenie). It runs without windows, prints its report
// and ends.

// True when the arguments ask for the command.
bool IsMigrationCommand(const QStringList& arguments);
// Runs it; the exit code: 0 when everything was copied and checked, 1 when
// nothing was copied (the reason on the error output), 2 for wrong use.
int RunMigrationCommand(const QStringList& arguments);
