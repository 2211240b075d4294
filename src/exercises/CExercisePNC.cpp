#include "exercises/CExercisePNC.h"

#include "app/DisplayMode.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "controls/CKompTV.h"
#include "exercises/CReplayButton.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

#include <QWidget>
#include <algorithm>

CExercisePNC::CExercisePNC(CDynamicPlace& placement, CSharedKomps& shared)
    : CRepetitionExercise(placement, shared)
{
    Places.Add(PT_PLACE, 0);
    Places.SetPlace(DM_1280, 219, 520, 0, 0, 46);
    Places.Add(PT_RECT, 1);
    Places.SetRect(DM_1280, 12, 11, 0, 62, -1);
    Places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    Places.SetBitmap(DM_1280, 334, -1, 335);
    Places.SetBitmap(DM_1024, 332, -1, 333);
    ButtonPlace = CReplayButton::AddEntries(Places);

    const int offsetX = PaintBox ? PaintBox->x() : 0;
    const int offsetY = PaintBox ? PaintBox->y() : 0;
    CaptionLabel = std::make_unique<CKompLabel>(Shared->OwnerForm, Bitmap, Bitmap);
    CaptionLabel->hide();
    Places.Set_iCurrent(FirstPlace);
    CaptionLabel->Place(Places, offsetX, offsetY);
    CaptionLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton, QPoint) {
        if (CRecAction* action = CurrentAction())
            PlayCaption(*action, true);
    };

    ReplayButton = std::make_unique<CReplayButton>(*Shared, [this] { Replay(); });
    ReplayButton->PlaceAt(Places, ButtonPlace);
}

CExercisePNC::~CExercisePNC()
{
    CaptionLabel.reset();
    ReplayButton.reset();
    Tasks.Clear();
}

CRecAction* CExercisePNC::CurrentAction() const
{
    return TaskIndex < Tasks.Count() ? Tasks[TaskIndex].Action : nullptr;
}

QString CExercisePNC::Caption(const CRecAction& action) const
{
    return CoRobi ? action.Podpis2 : action.Podpis1;
}

void CExercisePNC::PlayCaption(const CRecAction& action, bool async) const
{
    if (CoRobi)
        PlayActionSound2(action, async);
    else
        PlayActionSound1(action, async);
}

void CExercisePNC::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(CTherapySettings::PNC);
    CoRobi = (set.Flags & CTherapySettings::ActionWhatDoesBit) != 0;
    ReadPaging(set);
    Tasks.Clear();
    const ActionPool drawn =
        DrawTaskItems(set, 0xFFF, &CWords::SelectActions, &CWords::DrawActions);
    Tasks.Reserve(drawn.Count());
    for (CRecAction* action : drawn)
        Tasks.Add(SPNCTask{action});
    TaskCount = std::max(1, Tasks.Count());
    TaskIndex = 0;
}

void CExercisePNC::ClearTasks()
{
    Tasks.Clear();
}

void CExercisePNC::CaptionThenFilm(CRecAction* action)
{
    PlayCaption(*action, true);
    WaitSoundEnd();
    if (Active && CurrentAction() == action && Shared->TV)
        Shared->TV->Play();
}

void CExercisePNC::ShowFilm()
{
    CRecAction* action = CurrentAction();
    if (!action)
        return;
    if (Shared->TV)
        Shared->TV->OpenFilm(ActionFilmPath(*action));
    CaptionThenFilm(action);
}

void CExercisePNC::AnnounceTask()
{
    Announce(AnnounceDelayMs, [this] { ShowFilm(); });
}

void CExercisePNC::Replay()
{
    CRecAction* action = CurrentAction();
    if (!action)
        return;
    if (Shared->TV)
        Shared->TV->Rewind();
    CaptionThenFilm(action);
}

bool CExercisePNC::SelectTask(int index)
{
    const bool changed = CExercise::SelectTask(index);
    if (changed && Active) {
        // The caption lies over the exercise area: it shows the new text
        // only when it copies it itself.
        CaptionLabel->Repaint();
        if (Shared->TV)
            Shared->TV->Halt();
        // The caption of the task left is cut short with its film.
        StopContentSound();
        AnnounceTask();
    }
    return changed;
}

void CExercisePNC::Activate()
{
    Active = true;
    if (Shared->TV)
        Shared->TV->show();
    ReplayButton->show();
    CaptionLabel->Recompose = true;
    CaptionLabel->show();
    StartPaging();
    ShowTask();
    DrawTask();
    AnnounceTask();
}

void CExercisePNC::Deactivate()
{
    Active = false;
    if (Shared->TV) {
        Shared->TV->CloseFilm();
        Shared->TV->hide();
    }
    ReplayButton->hide();
    StopPaging();
    CaptionLabel->hide();
}

void CExercisePNC::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    // The caption's skin follows the colour mode as the background does.
    Places.Set_iCurrent(FirstPlace);
    CaptionLabel->LoadImages(Places);
    ReplayButton->PlaceAt(Places, ButtonPlace);
}

void CExercisePNC::DrawTask()
{
    CExercise::DrawTask();
    if (Bitmap)
        ReplayButton->DrawInto(*Bitmap, PaintBox);
    CRecAction* action = CurrentAction();
    CaptionLabel->Text = action ? Caption(*action) : QString();
    CaptionLabel->AlignText();
    CaptionLabel->Draw();
    DrawTimer();
}
