#include "exercises/CExerciseWP.h"

#include "app/DisplayMode.h"
#include "app/Universalfn.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompLabel.h"
#include "controls/CKompPhoto.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"

#include <algorithm>

namespace {

const QString HintDot = QStringLiteral(" .");

} // namespace

CExerciseWP::CExerciseWP(CDynamicPlace& placement, CSharedKomps& shared)
    : CTypingExercise(placement, shared)
{
    MakeLabels(
        {{&InputLabel, {DM_1024, 312, 491, 46, DM_1024, 0, 18, 7, 0, 51, 206, 207, 204, 205}},
         {&HintLabel, {DM_1024, 312, 420, 46, DM_1024, 0, 18, 7, 0, 51, 217, 207, 216, 205}}});
    HintLabel->TextColor = QColor(30, 30, 30);
}

CExerciseWP::~CExerciseWP()
{
    InputLabel.reset();
    HintLabel.reset();
    ClearTasks();
}

void CExerciseWP::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(WP);
    MakeTasks(Tasks, &SWPTask::Word, set, 0xFFF, &CWords::SelectWords, &CWords::DrawWords);
    int letters = 0;
    for (const SWPTask& task : Tasks)
        letters += static_cast<int>(task.Word.Nazwa.size());
    SetPomocMax(letters);
    if (AutoHint(set))
        for (SWPTask& task : Tasks)
            HintStep(task);
}

void CExerciseWP::ClearTasks()
{
    Tasks.Clear();
}

bool CExerciseWP::HintStep(SWPTask& task)
{
    const QString& name = task.Word.Nazwa;
    const qsizetype dots = task.HintText.indexOf(HintDot);
    const QString revealed = dots < 0 ? task.HintText : task.HintText.left(dots);
    if (revealed == name || task.Solved)
        return false;
    const qsizetype k = std::max(revealed.size(), task.Typed.size());
    task.HintText = name.left(k + 1) + RepeatText(HintDot, static_cast<int>(name.size() - k - 1));
    CountHint();
    return true;
}

void CExerciseWP::ShowTask()
{
    SWPTask* task = CurrentTask();
    ShowText(*InputLabel, task ? task->Typed : QString());
    if (!task || task->Solved) {
        InputLabel->Cursor = false;
        HintLabel->hide();
        ShowAlphabet(false);
        EnableHintButton(false);
        StopTiming();
        return;
    }
    InputLabel->Cursor = true;
    ShowText(*HintLabel, task->HintText);
    HintLabel->setVisible(!task->HintText.isEmpty());
    ShowAlphabet(true);
    EnableHintButton(task->HintText != task->Word.Nazwa);
    StartTiming();
}

void CExerciseWP::OnLetter(int, QChar letter, uint8_t& state)
{
    SWPTask* task = CurrentTask();
    if (!task || !TakeLetter(*task, task->Word.Nazwa, letter, state))
        return;
    ShowText(*InputLabel, task->Typed);
    if (task->Typed.size() < task->Word.Nazwa.size()) {
        InputLabel->Repaint();
        if (Shared->KompAlphabet)
            Shared->KompAlphabet->Repaint();
        return;
    }
    Solve(*task);
}

void CExerciseWP::Solve(SWPTask& task)
{
    HintLabel->hide();
    CloseTask(task);
    PraiseSolved();
}

void CExerciseWP::SpeakAnswer(bool async)
{
    // A copy: the task may go while the word is spoken.
    if (const SWPTask* task = CurrentTask()) {
        const CRecWord word = task->Word;
        PlayWordSound(word, async);
    }
}

void CExerciseWP::Hint()
{
    SWPTask* task = CurrentTask();
    if (!task || task->Solved || task->HintText == task->Word.Nazwa)
        return;
    HintStep(*task);
    RevealHint(*HintLabel, task->HintText);
    if (task->HintText == task->Word.Nazwa)
        EnableHintButton(false);
}

void CExerciseWP::DrawPicture()
{
    const SWPTask* task = CurrentTask();
    if (CKompPhoto* photo = Shared->Photo) {
        photo->SetPhoto(task ? task->Word.BCIndex : -1);
        photo->Draw();
    }
}

void CExerciseWP::Activate()
{
    if (CKompPhoto* photo = Shared->Photo) {
        photo->Recompose = true;
        photo->show();
        photo->OnMouseDown = [this](CKompPhoto*, Qt::MouseButton button, QPoint) {
            if (const SWPTask* task = CurrentTask(); task && button == Qt::RightButton)
                PlayWordSound(task->Word, true);
        };
    }
    InputLabel->show();
    CTypingExercise::Activate();
}

void CExerciseWP::Deactivate()
{
    CTypingExercise::Deactivate();
    if (CKompPhoto* photo = Shared->Photo) {
        photo->hide();
        photo->OnMouseDown = nullptr;
    }
}
