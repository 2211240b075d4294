#include "exercises/CExerciseZO.h"

#include "app/DisplayMode.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompLabel.h"
#include "controls/CKompPhoto.h"
#include "exercises/CExerciseWP.h"
#include "graphics/CDelayCall.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

#include <algorithm>

CExerciseZO::CExerciseZO(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
    CExerciseWP::AddLabelPlace(
        Places, {DM_1280, 28, 504, 46, DM_1280, 2, 36, 29, 0, 0, 330, 331, 328, 329});
    CExerciseWP::AddLabelPlace(
        Places, {DM_1280, 390, 654, 57, DM_1024, 0, 18, 7, 0, 51, 206, 207, 204, 205});
    Places.Set_iCurrent(FirstPlace);
    DescLabel = CExerciseWP::MakeLabel(shared, Places);
    InputLabel = CExerciseWP::MakeLabel(shared, Places);

    PicturePlaces.Container = Places.Container;
    PicturePlaces.Add(PT_BITMAP, 0);
    PicturePlaces.SetBitmap(DM_1280, 345, -1, -1);
    PicturePlaces.SetBitmap(DM_1024, 344, -1, -1);

    DescLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        if (const SZOTask* task = CurrentTask(); task && button == Qt::RightButton)
            PlayWordDescription(task->Word, true);
    };
    InputLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        if (const SZOTask* task = CurrentTask(); task && task->Solved && button == Qt::RightButton)
            PlayWordSound(task->Word, true);
    };
}

CExerciseZO::~CExerciseZO()
{
    DescLabel.reset();
    InputLabel.reset();
    ClearTasks();
}

CExerciseZO::SZOTask* CExerciseZO::CurrentTask()
{
    return TaskIndex < Tasks.Count() ? &Tasks[TaskIndex] : nullptr;
}

void CExerciseZO::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(ZO);
    ClearTasks();
    TaskIndex = 0;
    WordPool pool;
    WordPool drawn;
    if (Shared->Words) {
        // Only words that have a riddle.
        Shared->Words->SelectDescribedWords(set.Flags & 0xFFF, pool);
        if (!Shared->Words->DrawWords(drawn, set.LZ, 1, 1, pool))
            Shared->Words->DrawWords(drawn, set.LZ, 0, 0, pool);
    }
    int hints = 0;
    Tasks.Reserve(drawn.Count());
    for (const CRecWord* word : drawn) {
        Tasks.Add(SZOTask{*word, {}, false, false});
        hints += std::max(0, static_cast<int>(word->Nazwa.size()) - 1);
    }
    TaskCount = std::max(1, Tasks.Count());
    SetPomocMax(hints);
    if (set.Flags & CTherapySettings::AutoHintBit)
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

void CExerciseZO::UpdateHintButton()
{
    // The last letter is always the patient's.
    const SZOTask* task = CurrentTask();
    CExerciseWP::EnableHintButton(*Shared,
                                  task && task->Typed.size() < task->Word.Nazwa.size() - 1);
}

void CExerciseZO::ShowTask()
{
    CKompAlphabet* alphabet = Shared->KompAlphabet;
    CKompPhoto* photo = Shared->Photo;
    SZOTask* task = CurrentTask();
    CExerciseWP::ShowText(*DescLabel, task ? task->Word.Opis : QString());
    CExerciseWP::ShowText(*InputLabel, task ? task->Typed : QString());
    if (!task || task->Solved) {
        InputLabel->Cursor = false;
        if (alphabet)
            alphabet->hide();
        CExerciseWP::EnableHintButton(*Shared, false);
        if (photo)
            photo->SetPhoto(task ? task->Word.BCIndex : -1);
        StopTiming();
        return;
    }
    InputLabel->Cursor = true;
    if (alphabet) {
        alphabet->SetAllStates(CKompAlphabet::StateNormal);
        alphabet->show();
    }
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
    if (!task || task->Typed.size() >= task->Word.Nazwa.size())
        return;
    CKompAlphabet* alphabet = Shared->KompAlphabet;
    if (letter != task->Word.Nazwa[task->Typed.size()]) {
        state = CKompAlphabet::StateRuledOut;
        PlayErrorSound(true);
        task->HadError = true;
        return;
    }
    task->Typed += letter;
    CExerciseWP::ShowText(*InputLabel, task->Typed);
    state = CKompAlphabet::StateNormal;
    if (alphabet)
        alphabet->SetAllStates(CKompAlphabet::StateNormal);
    UpdateHintButton();
    if (task->Typed.size() < task->Word.Nazwa.size()) {
        InputLabel->Repaint();
        if (alphabet)
            alphabet->Repaint();
        return;
    }
    Solve(*task);
}

void CExerciseZO::Solve(SZOTask& task)
{
    InputLabel->Cursor = false;
    InputLabel->Repaint();
    if (Shared->KompAlphabet)
        Shared->KompAlphabet->hide();
    task.Solved = true;
    // Counted at once: the word and the praise that follow are not working
    // time, and the patient may move on while the word is spoken.
    StopTiming();
    CountSolved(task.HadError);
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

void CExerciseZO::Announce()
{
    if (!Shared->DelayCall)
        return;
    Shared->DelayCall->Callback = [this] {
        if (const SZOTask* task = CurrentTask(); Active && task && !task->Solved)
            PlayWordDescription(task->Word, true);
    };
    Shared->DelayCall->Call(AnnounceDelayMs);
}

bool CExerciseZO::SelectTask(int index)
{
    if (!CExercise::SelectTask(index))
        return false;
    StopContentSound();
    if (Active)
        Announce();
    return true;
}

void CExerciseZO::DrawTask()
{
    CExercise::DrawTask();
    DescLabel->Draw();
    InputLabel->Draw();
    if (Shared->Photo)
        Shared->Photo->Draw();
    if (Shared->KompAlphabet)
        Shared->KompAlphabet->Draw();
}

void CExerciseZO::Activate()
{
    Active = true;
    if (CKompPhoto* photo = Shared->Photo) {
        photo->Recompose = true;
        photo->show();
    }
    DescLabel->show();
    InputLabel->show();
    if (CKompAlphabet* alphabet = Shared->KompAlphabet)
        alphabet->OnLetter = [this](int index, QChar letter, uint8_t& state) {
            OnLetter(index, letter, state);
        };
    ShowTask();
    DrawTask();
    Announce();
}

void CExerciseZO::Deactivate()
{
    Active = false;
    StopTiming();
    if (Shared->Photo)
        Shared->Photo->hide();
    if (CKompAlphabet* alphabet = Shared->KompAlphabet) {
        alphabet->hide();
        alphabet->OnLetter = nullptr;
    }
    DescLabel->hide();
    InputLabel->hide();
    StopContentSound();
}

void CExerciseZO::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    Places.Set_iCurrent(FirstPlace);
    DescLabel->LoadImages(Places);
    InputLabel->LoadImages(Places);
}
