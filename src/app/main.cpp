#include "app/LoquenaApplication.h"
#include "app/Startup.h"
#include "content/ContentSound.h"
#include "mainwindow/ProgramWindows.h"

// The program's entry point. No arguments are read; the exit code is 0.
int main(int argc, char** argv)
{
    LoquenaApplication app(argc, argv);
    Startup startup;
    // LOQUENA_SPLASH_ONLY: no windows, only the splash (to look at it).
    if (qEnvironmentVariableIsSet("LOQUENA_SPLASH_ONLY")) {
        startup.AddShutdownStep(ReleaseContentSound);
        return startup.Run();
    }
    ProgramWindows windows;
    AddProgramWindows(startup, windows);
    return startup.Run();
}
