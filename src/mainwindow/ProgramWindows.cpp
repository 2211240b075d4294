#include "mainwindow/ProgramWindows.h"

#include "app/Startup.h"
#include "content/ContentSound.h"
#include "graphics/CBitmapsContainer.h"
#include "mainwindow/CPatientsPage.h"
#include "mainwindow/CSettingsPages.h"
#include "mainwindow/TFormInfo.h"
#include "mainwindow/TFormMain.h"
#include "mainwindow/TFormMaterial.h"
#include "mainwindow/TFormMessage.h"
#include "mainwindow/TFormPomoc.h"
#include "statistics/TFormStat.h"
#include "therapy/TFormTherapy.h"

void AddProgramWindows(Startup& startup, ProgramWindows& windows)
{
    ProgramWindows* w = &windows;
    startup.AddShutdownStep(ReleaseContentSound);
    startup.AddWindow([w] {
        auto form = std::make_unique<TFormMain>();
        w->Main = form.get();
        return form;
    });
    startup.AddWindow([w] {
        auto form = std::make_unique<TFormTherapy>();
        w->Therapy = form.get();
        w->Main->SettingsPages()->SetWords(&w->Therapy->Words());
        w->Main->SetTherapyRunner([w](CPatient& patient, CStatistics& statistics) {
            w->Therapy->Start(patient, statistics);
        });
        return form;
    });
    startup.AddWindow([w] {
        auto form = std::make_unique<TFormInfo>();
        w->Main->SetInfoForm(form.get());
        return form;
    });
    startup.AddWindow([w] {
        auto form = std::make_unique<TFormPomoc>();
        w->Main->SetPomocForm(form.get());
        return form;
    });
    startup.AddWindow([w] {
        auto form = std::make_unique<TFormStat>(WindowsContainer, ButtonsContainer);
        w->Main->SetStatForm(form.get());
        w->Therapy->ResultWindow = form.get();
        w->Stat = form.get();
        return form;
    });
    startup.AddWindow([w] {
        auto form = std::make_unique<TFormMessage>();
        w->Main->SetMessageForm(form.get());
        w->Message = form.get();
        w->Main->PatientsPage()->OnOwnMaterial = [w] { ShowOwnMaterial(*w); };
        return form;
    });
}

void ShowOwnMaterial(ProgramWindows& windows)
{
    COwnMaterial& own = windows.Therapy->OwnMaterial();
    if (!own.IsOpen() && !own.Open()) {
        const QStringList rows = own.LastError().split(QStringLiteral("\n\n"));
        windows.Message->Inform(TFormMessage::KindError, rows.value(0), rows.value(1));
        return;
    }
    TFormMaterial form(own, &windows.Therapy->Words(),
                       TFormMaterial::ReadPatients(windows.Main->Patient()), windows.Message,
                       windows.Main);
    form.exec();
    if (form.Changed()) {
        windows.Therapy->ReloadOwnWords();
        windows.Main->ShowActivePatient();
    }
}
