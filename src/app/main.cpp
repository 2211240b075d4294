#include "app/LoquenaApplication.h"
#include "app/Startup.h"
#include "content/ContentSound.h"

// The program's entry point. No arguments are read; the exit code is 0.
int main(int argc, char** argv)
{
    LoquenaApplication app(argc, argv);
    Startup startup;
    // The windows are added here, in the order they are created.
    startup.AddShutdownStep(ReleaseContentSound);
    return startup.Run();
}
