#include "app/LoquenaApplication.h"
#include "app/ScalingChoice.h"
#include "app/Startup.h"
#include "content/ContentSound.h"
#include "mainwindow/CTestProbe.h"
#include "mainwindow/ProgramWindows.h"
#include "statistics/MigrationCommand.h"

#include <QCoreApplication>

// The program's entry point. The exit code is 0. The arguments read turn the
// scaling of the design off (ScalingChoice), name the clinic database
// (PatientStoreTarget), or run the command that moves a patient file into it
// without any window (MigrationCommand).
int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (IsMigrationCommand(arguments)) {
        QCoreApplication command(argc, argv);
        return RunMigrationCommand(QCoreApplication::arguments());
    }
    ScalingChoice::Prepare(argc, argv);
    LoquenaApplication app(argc, argv);
    Startup startup;
    // LOQUENA_SPLASH_ONLY: no windows, only the splash (to look at it).
    if (qEnvironmentVariableIsSet("LOQUENA_SPLASH_ONLY")) {
        startup.AddShutdownStep(ReleaseContentSound);
        return startup.Run();
    }
    ProgramWindows windows;
    AddProgramWindows(startup, windows);
    // LOQUENA_TEST_PROBE: what is on the screen, for the end-to-end script.
    const std::unique_ptr<CTestProbe> probe = CTestProbe::FromEnvironment();
    return startup.Run();
}
