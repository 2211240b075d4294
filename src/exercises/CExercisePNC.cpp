#include "exercises/CExercisePNC.h"

#include "app/DisplayMode.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "controls/CKompTV.h"
#include "graphics/BlendKernels.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
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
    ButtonPlace = Places.Count() + 1;
    Places.Add(PT_POINT | PF_CENTERED, 0);
    Places.SetPoint(DM_1280, 1000, 292, -1);
    for (int look = 0; look < 3; ++look) {
        Places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        Places.SetBitmap(DM_1280, 346 + 2 * look, -1, 347 + 2 * look);
        Places.SetBitmap(DM_1024, 352 + 2 * look, -1, 353 + 2 * look);
    }

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

    ReplayButton = std::make_unique<CTransButton>(
        Shared->OwnerForm, 1, [this] { Replay(); }, &Shared->ExerciseBitmap);
    ReplayButton->BgOffsetX = offsetX;
    ReplayButton->BgOffsetY = offsetY;
    ReplayButton->hide();
    Places.Set_iCurrent(ButtonPlace);
    ReplayButton->PlaceFromTable(Places);
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
    // Its looks are composed over this exercise's background.
    ReplayButton->Refresh();
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
    Places.Set_iCurrent(ButtonPlace);
    ReplayButton->PlaceFromTable(Places);
    ReplayButton->Refresh();
}

// The button's look goes into the exercise bitmap too, so that a repaint of
// the area shows it as the button shows itself.
void CExercisePNC::DrawButton()
{
    if (!ReplayButton->isVisible() || !Bitmap || Bitmap->isNull())
        return;
    CTransBitmap* look = &ReplayButton->NormalBitmap();
    if (ReplayButton->State() == CTransButton::EState::Hover)
        look = &ReplayButton->HoverBitmap();
    else if (ReplayButton->State() == CTransButton::EState::Pressed)
        look = &ReplayButton->PressedBitmap();
    if (!look->Image())
        look = &ReplayButton->NormalBitmap();
    const QImage* image = look->Image();
    const QImage* mask = look->Mask() ? look->Mask() : ReplayButton->NormalBitmap().Mask();
    if (!image || !mask)
        return;
    const int x = ReplayButton->x() - (PaintBox ? PaintBox->x() : 0);
    const int y = ReplayButton->y() - (PaintBox ? PaintBox->y() : 0);
    const QRect clip(0, 0, std::min(image->width(), mask->width()),
                     std::min(image->height(), mask->height()));
    BlendClipped(*Bitmap, x, y, 255, *Bitmap, x, y, clip, *mask, *image);
}

void CExercisePNC::DrawTask()
{
    CExercise::DrawTask();
    DrawButton();
    CRecAction* action = CurrentAction();
    CaptionLabel->Text = action ? Caption(*action) : QString();
    CaptionLabel->AlignText();
    CaptionLabel->Draw();
    DrawTimer();
}
