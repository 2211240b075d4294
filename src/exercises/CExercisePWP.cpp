#include "exercises/CExercisePWP.h"

#include "app/DisplayMode.h"
#include "app/Universalfn.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompLabel.h"
#include "exercises/CExerciseWP.h"
#include "graphics/CDelayCall.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

#include <algorithm>

namespace {

const QString Ellipsis = QStringLiteral("...");

} // namespace

CExercisePWP::CExercisePWP(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
    CExerciseWP::AddLabelPlace(
        Places, {DM_1280, 135, 190, 46, DM_1280, 1, 29, 33, 0, 80, 233, 234, 228, 229});
    CExerciseWP::AddLabelPlace(
        Places, {DM_1280, 219, 412, 45, DM_1280, 0, 12, 11, 0, 62, 343, 335, 342, 333});
    CExerciseWP::AddLabelPlace(
        Places, {DM_1280, 219, 480, 45, DM_1280, 0, 12, 11, 0, 62, 334, 335, 332, 333});
    Places.Set_iCurrent(FirstPlace);
    BeginLabel = CExerciseWP::MakeLabel(shared, Places);
    HintLabel = CExerciseWP::MakeLabel(shared, Places);
    InputLabel = CExerciseWP::MakeLabel(shared, Places);

    BeginLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        if (const SPWPTask* task = CurrentTask(); task && button == Qt::RightButton)
            PlayProverbBegin(task->Proverb, true);
    };
    InputLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        if (const SPWPTask* task = CurrentTask(); task && task->Solved && button == Qt::RightButton)
            PlayProverbEnd(task->Proverb, true);
    };
}

CExercisePWP::~CExercisePWP()
{
    BeginLabel.reset();
    HintLabel.reset();
    InputLabel.reset();
    ClearTasks();
}

CExercisePWP::SPWPTask* CExercisePWP::CurrentTask()
{
    return TaskIndex < Tasks.Count() ? &Tasks[TaskIndex] : nullptr;
}

void CExercisePWP::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(PWP);
    ClearTasks();
    TaskIndex = 0;
    ProverbPool pool;
    ProverbPool drawn;
    if (Shared->Words) {
        Shared->Words->SelectProverbs(set.Flags & 0xFF, pool);
        if (!Shared->Words->DrawProverbs(drawn, set.LZ, 1, 1, pool))
            Shared->Words->DrawProverbs(drawn, set.LZ, 0, 0, pool);
    }
    int words = 0;
    Tasks.Reserve(drawn.Count());
    for (const CRecProverb* proverb : drawn) {
        Tasks.Add(SPWPTask{*proverb, {}, {}, false, false});
        words += WordCount(proverb->Kon);
    }
    TaskCount = std::max(1, Tasks.Count());
    SetPomocMax(words);
    if (set.Flags & CTherapySettings::AutoHintBit)
        for (SPWPTask& task : Tasks)
            HintStep(task);
}

void CExercisePWP::ClearTasks()
{
    Tasks.Clear();
}

void CExercisePWP::HintStep(SPWPTask& task)
{
    const QString& from = task.HintText.size() >= task.Typed.size() ? task.HintText : task.Typed;
    task.HintText = ExtendByWord(from, task.Proverb.Kon);
    CountHint();
}

void CExercisePWP::UpdateHintButton()
{
    const SPWPTask* task = CurrentTask();
    CExerciseWP::EnableHintButton(*Shared,
                                  task && !task->Solved && task->HintText != task->Proverb.Kon);
}

void CExercisePWP::ShowTask()
{
    CKompAlphabet* alphabet = Shared->KompAlphabet;
    SPWPTask* task = CurrentTask();
    CExerciseWP::ShowText(*BeginLabel,
                          task ? task->Proverb.Pocz + QLatin1Char(' ') + Ellipsis : QString());
    if (!task || task->Solved) {
        CExerciseWP::ShowText(*InputLabel,
                              task ? Ellipsis + QLatin1Char(' ') + task->Typed : QString());
        InputLabel->Cursor = false;
        if (alphabet)
            alphabet->hide();
        HintLabel->hide();
        StopTiming();
    } else {
        CExerciseWP::ShowText(*InputLabel, task->Typed);
        InputLabel->Cursor = true;
        if (alphabet) {
            alphabet->SetAllStates(CKompAlphabet::StateNormal);
            alphabet->show();
        }
        CExerciseWP::ShowText(*HintLabel, task->HintText);
        HintLabel->setVisible(!task->HintText.isEmpty());
        StartTiming();
    }
    UpdateHintButton();
}

void CExercisePWP::OnLetter(int, QChar letter, uint8_t& state)
{
    SPWPTask* task = CurrentTask();
    if (!task)
        return;
    const QString& ending = task->Proverb.Kon;
    if (task->Typed.size() >= ending.size())
        return;
    if (letter != ending[task->Typed.size()]) {
        state = CKompAlphabet::StateRuledOut;
        PlayErrorSound(true);
        task->HadError = true;
        return;
    }
    CKompAlphabet* alphabet = Shared->KompAlphabet;
    state = CKompAlphabet::StateNormal;
    if (alphabet)
        alphabet->SetAllStates(CKompAlphabet::StateNormal);
    task->Typed += letter;
    if (task->Typed.size() == ending.size()) {
        Solve(*task);
        return;
    }
    // Spaces are not on the alphabet: they come by themselves.
    while (task->Typed.size() < ending.size() && ending[task->Typed.size()] == QLatin1Char(' '))
        task->Typed += QLatin1Char(' ');
    CExerciseWP::ShowText(*InputLabel, task->Typed);
    InputLabel->Repaint();
    if (alphabet)
        alphabet->Repaint();
}

void CExercisePWP::Solve(SPWPTask& task)
{
    task.Solved = true;
    StopTiming();
    CountSolved(task.HadError);
    CExerciseWP::ShowText(*InputLabel, Ellipsis + QLatin1Char(' ') + task.Typed);
    InputLabel->Cursor = false;
    InputLabel->Repaint();
    if (Shared->KompAlphabet)
        Shared->KompAlphabet->hide();
    UpdateHintButton();
    HintLabel->hide();
    Paint();
    ShowNow();
    const CRecProverb proverb = task.Proverb;
    PlayProverbEnd(proverb, false);
    PraisePause();
    PlayPraise(true);
}

void CExercisePWP::Hint()
{
    SPWPTask* task = CurrentTask();
    if (!task || task->Solved || task->HintText == task->Proverb.Kon)
        return;
    HintStep(*task);
    CExerciseWP::ShowText(*HintLabel, task->HintText);
    if (HintLabel->isHidden())
        HintLabel->show();
    HintLabel->Repaint();
    UpdateHintButton();
}

void CExercisePWP::Announce()
{
    if (!Shared->DelayCall)
        return;
    Shared->DelayCall->Callback = [this] {
        if (const SPWPTask* task = CurrentTask(); Active && task && !task->Solved)
            PlayProverbBegin(task->Proverb, true);
    };
    Shared->DelayCall->Call(AnnounceDelayMs);
}

bool CExercisePWP::SelectTask(int index)
{
    if (!CExercise::SelectTask(index))
        return false;
    StopContentSound();
    if (Active)
        Announce();
    return true;
}

void CExercisePWP::DrawTask()
{
    CExercise::DrawTask();
    BeginLabel->Draw();
    HintLabel->Draw();
    InputLabel->Draw();
    if (Shared->KompAlphabet)
        Shared->KompAlphabet->Draw();
}

void CExercisePWP::Activate()
{
    Active = true;
    BeginLabel->show();
    InputLabel->show();
    if (CKompAlphabet* alphabet = Shared->KompAlphabet)
        alphabet->OnLetter = [this](int index, QChar letter, uint8_t& state) {
            OnLetter(index, letter, state);
        };
    ShowTask();
    DrawTask();
    Announce();
}

void CExercisePWP::Deactivate()
{
    Active = false;
    StopTiming();
    BeginLabel->hide();
    HintLabel->hide();
    InputLabel->hide();
    if (CKompAlphabet* alphabet = Shared->KompAlphabet) {
        alphabet->hide();
        alphabet->OnLetter = nullptr;
    }
    StopContentSound();
}

void CExercisePWP::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    Places.Set_iCurrent(FirstPlace);
    BeginLabel->LoadImages(Places);
    HintLabel->LoadImages(Places);
    InputLabel->LoadImages(Places);
}
