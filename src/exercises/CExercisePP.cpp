#include "exercises/CExercisePP.h"

#include "app/DisplayMode.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

#include <QThread>
#include <QWidget>
#include <algorithm>

namespace {

void AddLabelEntries(CDynamicPlace& places, int top1280)
{
    places.Add(PT_PLACE, 2);
    places.SetPlace(DM_1280, 135, top1280, 0, 0, 46);
    places.Add(PT_RECT, 1);
    places.SetRect(DM_1280, 29, 33, 0, 80, -1);
    places.Add(PT_BITMAP | PT_TRANSBITMAP, 0); // normal
    places.SetBitmap(DM_1280, 233, -1, 234);
    places.SetBitmap(DM_1024, 228, -1, 229);
    places.Add(PT_BITMAP | PT_TRANSBITMAP, 0); // lit
    places.SetBitmap(DM_1280, 232, 235, -1);
    places.SetBitmap(DM_1024, 227, 230, -1);
    places.Add(PT_BITMAP | PT_TRANSBITMAP, 0); // pressed, dropped after loading
    places.SetBitmap(DM_1280, 231, -1, -1);
    places.SetBitmap(DM_1024, 226, -1, -1);
}

} // namespace

CExercisePP::CExercisePP(CDynamicPlace& placement, CSharedKomps& shared)
    : CRepetitionExercise(placement, shared)
{
    AddLabelEntries(Places, 200);
    AddLabelEntries(Places, 350);

    const int offsetX = PaintBox ? PaintBox->x() : 0;
    const int offsetY = PaintBox ? PaintBox->y() : 0;
    Places.Set_iCurrent(FirstPlace);
    for (auto* label : {&BeginLabel, &EndLabel}) {
        *label = std::make_unique<CKompLabel>(Shared->OwnerForm, Bitmap, Bitmap);
        (*label)->hide();
        (*label)->Place(Places, offsetX, offsetY);
        // Either normal or lit: the label never looks pressed.
        (*label)->DropPressedImage();
    }
    BeginLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        if (button != Qt::RightButton || !CurrentProverb())
            return;
        StopContentSound();
        PlayProverbBegin(*CurrentProverb(), true);
    };
    EndLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        if (button != Qt::RightButton || !CurrentProverb())
            return;
        StopContentSound();
        PlayProverbEnd(*CurrentProverb(), true);
    };
}

CExercisePP::~CExercisePP()
{
    BeginLabel.reset();
    EndLabel.reset();
    Tasks.Clear();
}

CRecProverb* CExercisePP::CurrentProverb() const
{
    return TaskIndex < Tasks.Count() ? Tasks[TaskIndex].Proverb : nullptr;
}

void CExercisePP::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(CTherapySettings::PP);
    ReadPaging(set);
    Tasks.Clear();
    const ProverbPool drawn =
        DrawTaskItems(set, 0xFF, &CWords::SelectProverbs, &CWords::DrawProverbs);
    Tasks.Reserve(drawn.Count());
    for (CRecProverb* proverb : drawn)
        Tasks.Add(SPNOTask{proverb});
    TaskCount = std::max(1, Tasks.Count());
    TaskIndex = 0;
}

void CExercisePP::ClearTasks()
{
    Tasks.Clear();
}

void CExercisePP::SetLooks(uint8_t begin, uint8_t end)
{
    BeginLabel->SetState(begin, true);
    EndLabel->SetState(end, true);
}

// The two halves in turn, each lit while it is spoken. The waits keep the
// window working, so a page turn or the stop button ends the recitation (they
// stop the sound, and the wait reports it).
void CExercisePP::Recite()
{
    CRecProverb* proverb = CurrentProverb();
    if (!proverb)
        return;
    SetLooks(Lit, Normal);
    PlayProverbBegin(*proverb, true);
    const bool heardBegin = WaitSoundEnd();
    BeginLabel->SetState(Normal, true);
    if (!heardBegin || !Active || CurrentProverb() != proverb)
        return;
    QThread::msleep(HalvesPauseMs);
    EndLabel->SetState(Lit, true);
    PlayProverbEnd(*proverb, true);
    WaitSoundEnd();
    EndLabel->SetState(Normal, true);
}

bool CExercisePP::SelectTask(int index)
{
    // The new task's labels are drawn unlit with it, in the switch's one
    // repaint (a repaint of each label after it would smooth them again on a
    // screen that shows the design larger).
    if (IsNewTask(index)) {
        BeginLabel->SetState(Normal, false);
        EndLabel->SetState(Normal, false);
    }
    const bool changed = CExercise::SelectTask(index);
    if (changed) {
        StopContentSound();
        if (Active)
            Announce(AnnounceDelayMs, [this] { Recite(); });
    }
    return changed;
}

void CExercisePP::Activate()
{
    Active = true;
    for (CKompLabel* label : {BeginLabel.get(), EndLabel.get()}) {
        label->Recompose = true;
        label->show();
    }
    StartPaging();
    DrawTask();
    Announce(AnnounceDelayMs, [this] { Recite(); });
}

void CExercisePP::Deactivate()
{
    Active = false;
    StopPaging();
    BeginLabel->hide();
    EndLabel->hide();
    StopContentSound();
}

void CExercisePP::LoadLabelImages()
{
    Places.Set_iCurrent(FirstPlace);
    for (CKompLabel* label : {BeginLabel.get(), EndLabel.get()}) {
        label->LoadImages(Places);
        label->DropPressedImage();
    }
}

void CExercisePP::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    LoadLabelImages();
}

void CExercisePP::DrawTask()
{
    CExercise::DrawTask();
    CRecProverb* proverb = CurrentProverb();
    BeginLabel->Text = proverb ? proverb->Pocz + QStringLiteral(" ...") : QString();
    EndLabel->Text = proverb ? QStringLiteral("... ") + proverb->Kon : QString();
    for (CKompLabel* label : {BeginLabel.get(), EndLabel.get()}) {
        label->AlignText();
        label->Draw();
    }
    DrawTimer();
}
