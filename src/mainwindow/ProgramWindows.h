#pragma once

class Startup;
class TFormMain;
class TFormMessage;
class TFormStat;
class TFormTherapy;

// The program's windows as start-up creates them, wired to each other. The
// pointers are filled as the windows are created (null before, and for a
// window whose creation failed); start-up owns the windows.
struct ProgramWindows
{
    TFormMain* Main = nullptr;
    TFormTherapy* Therapy = nullptr;
    TFormStat* Stat = nullptr;
    TFormMessage* Message = nullptr;
};

// Adds the windows to `startup` in their order: the main window first (it
// loads the skin containers the others take their skins from), then the
// therapy, information, help, result and message windows. Also adds the
// shutdown steps they need. `windows` must outlive startup.Run().
void AddProgramWindows(Startup& startup, ProgramWindows& windows);

// Opens the window of the therapist's own material over the main window; a
// damaged own-material database is reported instead. After a change the
// therapy takes the new own words and the settings pages count them.
void ShowOwnMaterial(ProgramWindows& windows);
