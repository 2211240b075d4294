#include "app/LoquenaApplication.h"
#include "app/Startup.h"
#include "content/ContentSound.h"
#include "graphics/CBitmapsContainer.h"
#include "mainwindow/CSettingsPages.h"
#include "mainwindow/CTestProbe.h"
#include "mainwindow/TFormInfo.h"
#include "mainwindow/TFormMain.h"
#include "mainwindow/TFormMessage.h"
#include "mainwindow/TFormPomoc.h"
#include "statistics/TFormStat.h"
#include "therapy/TFormTherapy.h"

// The program's entry point. No arguments are read; the exit code is 0.
int main(int argc, char** argv)
{
    LoquenaApplication app(argc, argv);
    Startup startup;
    startup.AddShutdownStep(ReleaseContentSound);
    // LOQUENA_SPLASH_ONLY: no windows, only the splash (to look at it).
    if (qEnvironmentVariableIsSet("LOQUENA_SPLASH_ONLY"))
        return startup.Run();
    // The windows, in the order they are created. The main window comes first:
    // it loads the skin containers the others take their skins from.
    TFormMain* formMain = nullptr;
    startup.AddWindow([&formMain] {
        auto form = std::make_unique<TFormMain>();
        formMain = form.get();
        return form;
    });
    TFormTherapy* formTherapy = nullptr;
    startup.AddWindow([&formMain, &formTherapy] {
        auto form = std::make_unique<TFormTherapy>();
        formTherapy = form.get();
        formMain->SettingsPages()->SetWords(&formTherapy->Words());
        formMain->SetTherapyRunner([&formTherapy](CPatient& patient, CStatistics& statistics) {
            formTherapy->Start(patient, statistics);
        });
        return form;
    });
    startup.AddWindow([&formMain] {
        auto form = std::make_unique<TFormInfo>();
        formMain->SetInfoForm(form.get());
        return form;
    });
    startup.AddWindow([&formMain] {
        auto form = std::make_unique<TFormPomoc>();
        formMain->SetPomocForm(form.get());
        return form;
    });
    startup.AddWindow([&formMain, &formTherapy] {
        auto form = std::make_unique<TFormStat>(WindowsContainer, ButtonsContainer);
        formMain->SetStatForm(form.get());
        formTherapy->ResultWindow = form.get();
        return form;
    });
    startup.AddWindow([&formMain] {
        auto form = std::make_unique<TFormMessage>();
        formMain->SetMessageForm(form.get());
        return form;
    });
    // LOQUENA_TEST_PROBE: what is on the screen, for the end-to-end script.
    const std::unique_ptr<CTestProbe> probe = CTestProbe::FromEnvironment();
    return startup.Run();
}
