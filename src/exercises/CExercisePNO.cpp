#include "exercises/CExercisePNO.h"

#include "app/DisplayMode.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "controls/CKompPhoto.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

#include <QWidget>
#include <algorithm>

CExercisePNO::CExercisePNO(CDynamicPlace& placement, CSharedKomps& shared)
    : CRepetitionExercise(placement, shared)
{
    // The name under the photo, as WY's.
    Places.Add(PT_PLACE, 0);
    Places.SetPlace(DM_1024, 312, 430, 0, 0, 46);
    Places.Add(PT_RECT, 1);
    Places.SetRect(DM_1024, 18, 7, 0, 51, -1);
    Places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    Places.SetBitmap(DM_1280, 206, -1, 207);
    Places.SetBitmap(DM_1024, 204, -1, 205);

    NameLabel = std::make_unique<CKompLabel>(Shared->OwnerForm, Bitmap, Bitmap);
    NameLabel->hide();
    Places.Set_iCurrent(FirstPlace);
    NameLabel->Place(Places, PaintBox ? PaintBox->x() : 0, PaintBox ? PaintBox->y() : 0);
    NameLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        if (button == Qt::RightButton)
            PlayCurrentWord();
    };
}

CExercisePNO::~CExercisePNO()
{
    NameLabel.reset();
    Tasks.Clear();
}

CRecWord* CExercisePNO::CurrentWord() const
{
    return TaskIndex < Tasks.Count() ? Tasks[TaskIndex].Word : nullptr;
}

void CExercisePNO::PlayCurrentWord()
{
    if (CRecWord* word = CurrentWord())
        PlayWordSound(*word, true);
}

void CExercisePNO::AnnounceTask()
{
    Announce(AnnounceDelayMs, [this] { PlayCurrentWord(); });
}

void CExercisePNO::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(CTherapySettings::PNO);
    ReadPaging(set);
    Tasks.Clear();
    // When the pool is used up the words may repeat.
    const WordPool drawn = DrawTaskItems(set, 0xFFF, &CWords::SelectWords, &CWords::DrawWords);
    Tasks.Reserve(drawn.Count());
    for (CRecWord* word : drawn)
        Tasks.Add(SPNOTask{word});
    TaskCount = std::max(1, Tasks.Count());
    TaskIndex = 0;
}

void CExercisePNO::ClearTasks()
{
    Tasks.Clear();
}

bool CExercisePNO::SelectTask(int index)
{
    const bool changed = CExercise::SelectTask(index);
    // The photo and the name were drawn and are shown with the task (the
    // exercise area's controls are repainted with it).
    if (changed && Active)
        AnnounceTask();
    return changed;
}

void CExercisePNO::Activate()
{
    Active = true;
    if (CKompPhoto* photo = Shared->Photo) {
        photo->Recompose = true;
        photo->show();
        photo->OnMouseDown = [this](CKompPhoto*, Qt::MouseButton button, QPoint) {
            if (button == Qt::RightButton)
                PlayCurrentWord();
        };
    }
    NameLabel->Recompose = true;
    NameLabel->show();
    StartPaging();
    DrawTask();
    AnnounceTask();
}

void CExercisePNO::Deactivate()
{
    Active = false;
    StopPaging();
    if (CKompPhoto* photo = Shared->Photo) {
        photo->hide();
        photo->OnMouseDown = nullptr;
    }
    NameLabel->hide();
}

void CExercisePNO::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    // The name label's skin follows the colour mode as the background does.
    Places.Set_iCurrent(FirstPlace);
    NameLabel->LoadImages(Places);
}

void CExercisePNO::DrawTask()
{
    CExercise::DrawTask();
    CRecWord* word = CurrentWord();
    NameLabel->Text = word ? word->Nazwa : QString();
    NameLabel->AlignText();
    NameLabel->Draw();
    if (CKompPhoto* photo = Shared->Photo) {
        photo->SetPhoto(word ? word->BCIndex : -1);
        photo->Draw();
    }
    DrawTimer();
}
