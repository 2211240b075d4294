#pragma once
#include <QString>

// The titles of the eleven exercises by index (0 WY ... 10 PNC), as the
// settings pages and the statistics page show them.
QString ExerciseTitle(int exercise);
