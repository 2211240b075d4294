#include "app/LoquenaApplication.h"
#include "app/Startup.h"

// The program's entry point. No arguments are read; the exit code is 0.
int main(int argc, char** argv)
{
    LoquenaApplication app(argc, argv);
    Startup startup;
    // The windows are added here, in the order they are created.
    return startup.Run();
}
