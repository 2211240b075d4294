#include "exercises/CExerciseDC.h"
#include "app/DisplayMode.h"

#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "controls/CKompTV.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"

#include <QWidget>

CExerciseDC::CExerciseDC(CDynamicPlace& placement, CSharedKomps& shared)
    : CChoiceExercise(placement, shared)
{
    AddEntries();
    const int offX = PaintBox ? PaintBox->x() : 0;
    const int offY = PaintBox ? PaintBox->y() : 0;
    Places.Set_iCurrent(FirstPlace);
    MakeColumn();
    ButtonPlace = Places.Get_iCurrent();
    ReplayButton = std::make_unique<CTransButton>(
        Shared->OwnerForm, 0, [this] { Replay(); }, &Bitmap);
    ReplayButton->BgOffsetX = offX;
    ReplayButton->BgOffsetY = offY;
    ReplayButton->hide();
    PlaceButton();
}

CExerciseDC::~CExerciseDC()
{
    ClearTasks();
}

void CExerciseDC::AddEntries()
{
    AddColumnEntries(Places, 510, 86, 500);
    Places.Add(PT_POINT | PF_CENTERED, 0);
    Places.SetPoint(DM_1280, 1000, 292, -1);
    const int looks[3][4] = {{346, 347, 352, 353}, {348, 349, 354, 355}, {350, 351, 356, 357}};
    for (const auto& look : looks) {
        Places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        Places.SetBitmap(DM_1280, look[0], -1, look[1]);
        Places.SetBitmap(DM_1024, look[2], -1, look[3]);
    }
}

void CExerciseDC::PlaceButton()
{
    Places.Set_iCurrent(ButtonPlace);
    ReplayButton->PlaceFromTable(Places);
    ReplayButton->Refresh();
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
    // The button lies over the exercise area and composes its looks over
    // what the bitmap now holds.
    if (ReplayButton->isVisible())
        ReplayButton->Refresh();
}

void CExerciseDC::ApplyColourMode()
{
    CChoiceExercise::ApplyColourMode();
    PlaceButton();
}
