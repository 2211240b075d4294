#pragma once
// What the therapy benchmarks share: the program's defaults for a run without
// a screen or sound card, and a patient of their own with its statistics and
// the therapy window, whose therapies start and close again.
#include "app/DisplayMode.h"
#include "exercises/CExercise.h"
#include "patients/CPatient.h"
#include "platform/DatabaseSchema.h"
#include "statistics/CStatistics.h"
#include "therapy/TFormTherapy.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>

// SDL's silent driver unless the caller chose another; before the
// QApplication.
inline void BenchEnvironment()
{
    // On an X display the window is painted through the X server, as the
    // program's is; without one, offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
}

// The 1280x960 design in colour; the quiet pause after a right answer is not
// part of what is measured.
inline void BenchDisplay()
{
    SetDisplayModeFor(1280, 960);
    ColorMode = CM_COLOR;
    CExercise::PraisePauseMs = 0;
}

struct STherapyBench
{
    std::unique_ptr<CPatient> patient;
    std::unique_ptr<CStatistics> statistics;
    std::unique_ptr<TFormTherapy> therapy;

    // A patient store of its own at `patientStore`: the program folder's is
    // not touched.
    explicit STherapyBench(const QString& patientStore)
    {
        CreatePatientDatabase(patientStore);
        patient = std::make_unique<CPatient>();
        patient->Open(patientStore);
        patient->Add();
        patient->SetName(QStringLiteral("Pacjent"));
        statistics = std::make_unique<CStatistics>(patient.get());
        therapy = std::make_unique<TFormTherapy>();
    }
    // The exercises of the next therapy; the others are not chosen.
    void Choose(std::initializer_list<int> exercises)
    {
        CTherapySettings& s = patient->Settings();
        for (int i = 0; i < CTherapySettings::ExerciseCount; ++i)
            s.SetSelected(i, false);
        for (int i : exercises)
            s.SetSelected(i, true);
    }
    // Starts a therapy of the patient's settings; once its window is shown,
    // `inside` runs (may be empty) and the window closes.
    void Run(const std::function<void()>& inside)
    {
        statistics->Reset(&patient->Settings());
        therapy->OnShown = [this, inside] {
            if (inside)
                inside();
            therapy->done(0);
        };
        therapy->Start(*patient, *statistics);
    }
};
