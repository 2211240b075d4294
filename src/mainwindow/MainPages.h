#pragma once
#include <QString>

class CMainPage;
class QWidget;

// The thirteen pages of the main window, in bookmark order: 0 patients,
// 1 statistics, 2 + i the settings page of exercise i.
namespace MainPages {
constexpr int Count = 13;
constexpr int Patients = 0;
constexpr int Statistics = 1;
constexpr int FirstExercise = 2;

// Creates page `index` on `parent` (which owns it).
CMainPage* Create(int index, QWidget* parent);
} // namespace MainPages
