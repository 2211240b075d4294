#include "exercises/CExerciseDC.h"

#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "controls/CKompTV.h"
#include "exercises/CReplayButton.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

CExerciseDC::CExerciseDC(CDynamicPlace& placement, CSharedKomps& shared)
    : CChoiceExercise(placement, shared)
{
    AddColumnEntries(Places, 510, 86, 500);
    ButtonPlace = CReplayButton::AddEntries(Places);
    Places.Set_iCurrent(FirstPlace);
    MakeColumn();
    ReplayButton = std::make_unique<CReplayButton>(*Shared, [this] { Replay(); });
    ReplayButton->PlaceAt(Places, ButtonPlace);
}

CExerciseDC::~CExerciseDC()
{
    ClearTasks();
}

QString CExerciseDC::Caption(const CRecAction& action) const
{
    return CoRobi ? action.Podpis2 : action.Podpis1;
}

void CExerciseDC::PlayCaption(const CRecAction& action, bool async) const
{
    if (CoRobi)
        PlayActionSound2(action, async);
    else
        PlayActionSound1(action, async);
}

QString CExerciseDC::ChoiceText(int i)
{
    const SDCTask* task = Current();
    const CRecAction* a = task ? task->Choices[i] : nullptr;
    return a ? Caption(*a) : QString();
}

void CExerciseDC::PlayChoice(int i)
{
    const SDCTask* task = Current();
    if (task && task->Choices[i])
        PlayCaption(*task->Choices[i], true);
}

void CExerciseDC::Prepare(const CTherapySettings& settings)
{
    CoRobi = (settings.Get_ExeSet(CTherapySettings::PNC).Flags >> 14) & 1;
    // Too small a pool: distractors may repeat, but never the task's own.
    MakeTasks(Tasks, &SDCTask::Action, settings.Get_ExeSet(CTherapySettings::DC), 0xFFF,
              SItemKind<CRecAction>{&CWords::SelectActions, &CWords::DrawActions,
                                    &CWords::ClearActionMarks},
              true);
}

void CExerciseDC::ClearTasks()
{
    Tasks.Clear();
}

void CExerciseDC::AnnounceTask()
{
    // The film of the task left stops at once; the new one opens after the delay.
    if (Shared->TV)
        Shared->TV->Halt();
    Announce(AnnounceMs, [this] {
        const SDCTask* task = Current();
        if (task && Shared->TV && Shared->TV->OpenFilm(ActionFilmPath(*task->Action)))
            Shared->TV->Play();
    });
}

void CExerciseDC::Replay()
{
    if (!Shared->TV || !Shared->TV->IsOpen)
        return;
    Shared->TV->Rewind();
    Shared->TV->Play();
}

void CExerciseDC::Activate()
{
    if (Shared->TV)
        Shared->TV->show();
    ReplayButton->show();
    CChoiceExercise::Activate();
}

void CExerciseDC::Deactivate()
{
    CChoiceExercise::Deactivate();
    if (Shared->TV) {
        Shared->TV->CloseFilm();
        Shared->TV->hide();
    }
    ReplayButton->hide();
}

void CExerciseDC::DrawTask()
{
    CChoiceExercise::DrawTask();
    if (Bitmap)
        ReplayButton->DrawInto(*Bitmap, PaintBox);
}

void CExerciseDC::ApplyColourMode()
{
    CChoiceExercise::ApplyColourMode();
    ReplayButton->PlaceAt(Places, ButtonPlace);
}
