#pragma once
#include <QString>

// The titles of the eleven exercises by index (0 WY ... 10 PNC), as the
// settings pages, the statistics page and the reports show them.
QString ExerciseTitle(int exercise);
// The short code of an exercise ("WY" ... "PNC"); empty outside 0..10.
QString ExerciseCode(int exercise);
