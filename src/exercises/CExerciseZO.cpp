#include "exercises/CExerciseZO.h"

#include "app/DisplayMode.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompLabel.h"
#include "controls/CKompPhoto.h"
#include "graphics/CDelayCall.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

#include <algorithm>

CExerciseZO::CExerciseZO(CDynamicPlace& placement, CSharedKomps& shared)
    : CTypingExercise(placement, shared)
{
    SpeaksPrompt = true;
    MakeLabels(
        {{&DescLabel, {DM_1280, 28, 504, 46, DM_1280, 2, 36, 29, 0, 0, 330, 331, 328, 329}},
         {&InputLabel, {DM_1280, 390, 654, 57, DM_1024, 0, 18, 7, 0, 51, 206, 207, 204, 205}}});
    DescLabel->TextColor = QColor(30, 30, 30);

    PicturePlaces.Container = Places.Container;
    PicturePlaces.Add(PT_BITMAP, 0);
    PicturePlaces.SetBitmap(DM_1280, 345, -1, -1);
    PicturePlaces.SetBitmap(DM_1024, 344, -1, -1);

    DescLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        if (button == Qt::RightButton && CurrentTask())
            SpeakPrompt();
    };
}

CExerciseZO::~CExerciseZO()
{
    DescLabel.reset();
    InputLabel.reset();
    ClearTasks();
}

void CExerciseZO::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(ZO);
    // Only words that have a riddle.
    MakeTasks(Tasks, &SZOTask::Word, set, 0xFFF, &CWords::SelectDescribedWords, &CWords::DrawWords);
    int hints = 0;
    for (const SZOTask& task : Tasks)
        hints += std::max(0, static_cast<int>(task.Word.Nazwa.size()) - 1);
    SetPomocMax(hints);
    if (AutoHint(set))
        for (SZOTask& task : Tasks)
            if (task.Typed.size() < task.Word.Nazwa.size() - 1) {
                task.Typed += task.Word.Nazwa[task.Typed.size()];
                CountHint();
            }
}

void CExerciseZO::ClearTasks()
{
    Tasks.Clear();
}

void CExerciseZO::SpeakAnswer(bool async)
{
    if (const SZOTask* task = CurrentTask())
        PlayWordSound(task->Word, async);
}

void CExerciseZO::SpeakPrompt()
{
    if (const SZOTask* task = CurrentTask())
        PlayWordDescription(task->Word, true);
}

void CExerciseZO::UpdateHintButton()
{
    // The last letter is always the patient's.
    const SZOTask* task = CurrentTask();
    EnableHintButton(task && task->Typed.size() < task->Word.Nazwa.size() - 1);
}

void CExerciseZO::ShowTask()
{
    CKompPhoto* photo = Shared->Photo;
    SZOTask* task = CurrentTask();
    ShowText(*DescLabel, task ? task->Word.Opis : QString());
    ShowText(*InputLabel, task ? task->Typed : QString());
    if (!task || task->Solved) {
        InputLabel->Cursor = false;
        ShowAlphabet(false);
        EnableHintButton(false);
        if (photo)
            photo->SetPhoto(task ? task->Word.BCIndex : -1);
        StopTiming();
        return;
    }
    InputLabel->Cursor = true;
    ShowAlphabet(true);
    UpdateHintButton();
    if (photo) {
        PicturePlaces.Set_iCurrent(1);
        photo->SetPictureFromPlace(PicturePlaces);
    }
    StartTiming();
}

void CExerciseZO::OnLetter(int, QChar letter, uint8_t& state)
{
    SZOTask* task = CurrentTask();
    if (!task || !TakeLetter(*task, task->Word.Nazwa, letter, state))
        return;
    ShowText(*InputLabel, task->Typed);
    UpdateHintButton();
    if (task->Typed.size() < task->Word.Nazwa.size()) {
        InputLabel->Repaint();
        if (Shared->KompAlphabet)
            Shared->KompAlphabet->Repaint();
        return;
    }
    Solve(*task);
}

void CExerciseZO::Solve(SZOTask& task)
{
    CloseTask(task);
    const int index = TaskIndex;
    const CRecWord word = task.Word;
    PlayWordSound(word, false);
    // The patient may have gone elsewhere while the word was spoken.
    if (!Active || TaskIndex != index)
        return;
    if (Shared->Photo)
        Shared->Photo->SetPhoto(word.BCIndex);
    Paint();
    ShowNow();
    PraisePause();
    PlayPraise(true);
}

void CExerciseZO::Hint()
{
    SZOTask* task = CurrentTask();
    CKompAlphabet* alphabet = Shared->KompAlphabet;
    if (!task || task->Solved || !alphabet || task->Typed.size() >= task->Word.Nazwa.size() - 1)
        return;
    // The next letter is pressed on the alphabet, as if the patient did.
    const qsizetype before = task->Typed.size();
    alphabet->KeyPress(task->Word.Nazwa[before]);
    if (task->Typed.size() == before)
        return;
    InputLabel->Repaint();
    UpdateHintButton();
    CountHint();
}

void CExerciseZO::DrawPicture()
{
    if (Shared->Photo)
        Shared->Photo->Draw();
}

void CExerciseZO::Activate()
{
    if (CKompPhoto* photo = Shared->Photo) {
        photo->Recompose = true;
        photo->show();
    }
    DescLabel->show();
    InputLabel->show();
    CTypingExercise::Activate();
}

void CExerciseZO::Deactivate()
{
    CTypingExercise::Deactivate();
    if (Shared->Photo)
        Shared->Photo->hide();
}
