// Runs one therapy of the active patient of a program folder (see
// CMakeLists.txt). The patient's settings are used as stored, except that WY
// is chosen and, when asked, its task and choice counts (the patient store
// keeps these changes); the therapy itself is not stored.
#include "app/CError.h"
#include "app/Cursors.h"
#include "app/DisplayMode.h"
#include "content/ContentSound.h"
#include "exercises/CExercise.h"
#include "graphics/CBitmapsContainer.h"
#include "patients/CPatient.h"
#include "statistics/CStatistics.h"
#include "statistics/TFormStat.h"
#include "therapy/TFormTherapy.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

// The resident set of this process now and at its peak, in MiB.
void PrintResidentMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return;
    long now = -1;
    long peak = -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2 && fields[0] == "VmRSS:")
            now = fields[1].toLong();
        else if (fields.size() >= 2 && fields[0] == "VmHWM:")
            peak = fields[1].toLong();
    }
    printf("resident %ld MiB, peak %ld MiB\n", now / 1024, peak / 1024);
    fflush(stdout);
}

// Pages forward through every task of the therapy, one step every `ms`
// milliseconds (the window handles its events in between: films play, sounds
// start), then reports the memory and closes the window.
void WalkThrough(TFormTherapy& therapy, int ms)
{
    auto* timer = new QTimer(&therapy);
    timer->setInterval(ms);
    QObject::connect(timer, &QTimer::timeout, &therapy, [&therapy, timer] {
        const CExercise* before = therapy.CurrentExercise();
        const int task = before ? before->TaskIndex : -1;
        therapy.actDalejExecute();
        if (therapy.CurrentExercise() == before && before && before->TaskIndex == task) {
            timer->stop();
            PrintResidentMemory();
            therapy.done(0);
        }
    });
    timer->start();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        fprintf(
            stderr,
            "usage: %s <program folder> [--grey] [--tasks N] [--choices N] [--exercises i,j,...] "
            "[--walk MS]\n",
            argv[0]);
        return 2;
    }
    int tasks = 0;
    int choices = 0;
    bool grey = false;
    int walkMs = -1;
    QList<int> exercises; // in therapy order; WY alone when none is named
    for (int i = 2; i < args.size(); ++i) {
        if (args[i] == "--grey")
            grey = true;
        else if (args[i] == "--tasks" && i + 1 < args.size())
            tasks = args[++i].toInt();
        else if (args[i] == "--choices" && i + 1 < args.size())
            choices = args[++i].toInt();
        else if (args[i] == "--walk" && i + 1 < args.size())
            walkMs = std::max(0, args[++i].toInt());
        else if (args[i] == "--exercises" && i + 1 < args.size())
            for (const QString& n : args[++i].split(QLatin1Char(',')))
                exercises.append(n.toInt());
    }
    if (!QDir::setCurrent(args[1])) {
        fprintf(stderr, "no folder %s\n", qPrintable(args[1]));
        return 2;
    }
    const QSize screen = QGuiApplication::primaryScreen()->size();
    SetDisplayModeFor(screen.width(), screen.height());
    ColorMode = grey ? CM_MONO : CM_COLOR;
    Cursors::Load();
    int rc = 0;
    try {
        CPatient patient;
        if (!patient.Open(QStringLiteral("pacmem.qp")))
            throw CError("pacmem.qp cannot be opened");
        if (patient.ActiveId() < 0)
            patient.Add();
        if (patient.Name().isEmpty())
            patient.SetName(QStringLiteral("Pacjent testowy"));
        CTherapySettings& settings = patient.Settings();
        if (!exercises.isEmpty()) {
            for (int i = 0; i < CTherapySettings::ExerciseCount; ++i)
                settings.SetSelected(i, false);
            for (int i : exercises)
                if (i >= 0 && i < CTherapySettings::ExerciseCount)
                    settings.SetSelected(i, true);
        } else if (settings.Order().Count() == 0 || settings.Order()[0] != CTherapySettings::WY) {
            for (int i = 0; i < CTherapySettings::ExerciseCount; ++i)
                settings.SetSelected(i, false);
            settings.SetSelected(CTherapySettings::WY, true);
        }
        ExeSet& wy = settings.Get_ExeSet(CTherapySettings::WY);
        if (tasks > 0)
            wy.LZ = tasks;
        if (choices > 0)
            CTherapySettings::SetChoices(wy, choices);
        CStatistics statistics(&patient);
        statistics.Reset(&settings);

        CBitmapsContainer windows;
        CBitmapsContainer buttons;
        if (windows.Open(QStringLiteral("Data/grwin.bc"), false) != 0 ||
            buttons.Open(QStringLiteral("Data/bttofa.bc"), false) != 0)
            throw CError("Data/grwin.bc or Data/bttofa.bc cannot be opened");
        TFormStat result(&windows, &buttons);
        TFormTherapy therapy;
        therapy.ResultWindow = &result;
        if (walkMs >= 0) {
            CExercise::PraisePauseMs = 0;
            therapy.OnShown = [&therapy, walkMs] { WalkThrough(therapy, walkMs); };
        }
        therapy.Start(patient, statistics);
        printf("tasks %d, solved %d, with errors %d, hints %d%%, time %d s\n", statistics.TotalLZ(),
               statistics.TotalRozw(), statistics.TotalBlad(), statistics.AveragePomoc(),
               statistics.TotalSeconds());
    } catch (const CError& e) {
        fprintf(stderr, "%s\n", qPrintable(e.Message()));
        rc = 1;
    }
    ReleaseContentSound();
    Cursors::Release();
    return rc;
}
