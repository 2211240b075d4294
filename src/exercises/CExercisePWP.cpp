#include "exercises/CExercisePWP.h"

#include "app/DisplayMode.h"
#include "app/Universalfn.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompLabel.h"
#include "graphics/CDelayCall.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

#include <algorithm>

namespace {

const QString Ellipsis = QStringLiteral("...");

} // namespace

CExercisePWP::CExercisePWP(CDynamicPlace& placement, CSharedKomps& shared)
    : CTypingExercise(placement, shared)
{
    SpeaksPrompt = true;
    MakeLabels(
        {{&BeginLabel, {DM_1280, 135, 190, 46, DM_1280, 1, 29, 33, 0, 80, 233, 234, 228, 229}},
         {&HintLabel, {DM_1280, 219, 412, 45, DM_1280, 0, 12, 11, 0, 62, 343, 335, 342, 333}},
         {&InputLabel, {DM_1280, 219, 480, 45, DM_1280, 0, 12, 11, 0, 62, 334, 335, 332, 333}}});
    HintLabel->TextColor = QColor(30, 3, 30);

    BeginLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        if (button == Qt::RightButton && CurrentTask())
            SpeakPrompt();
    };
}

CExercisePWP::~CExercisePWP()
{
    BeginLabel.reset();
    HintLabel.reset();
    InputLabel.reset();
    ClearTasks();
}

void CExercisePWP::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(PWP);
    MakeTasks(Tasks, &SPWPTask::Proverb, set, 0xFF, &CWords::SelectProverbs, &CWords::DrawProverbs);
    int words = 0;
    for (const SPWPTask& task : Tasks)
        words += WordCount(task.Proverb.Kon);
    SetPomocMax(words);
    if (AutoHint(set))
        for (SPWPTask& task : Tasks)
            HintStep(task);
}

void CExercisePWP::ClearTasks()
{
    Tasks.Clear();
}

void CExercisePWP::SpeakPrompt()
{
    if (const SPWPTask* task = CurrentTask())
        PlayProverbBegin(task->Proverb, true);
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
    EnableHintButton(task && !task->Solved && task->HintText != task->Proverb.Kon);
}

void CExercisePWP::ShowTask()
{
    SPWPTask* task = CurrentTask();
    ShowText(*BeginLabel, task ? task->Proverb.Pocz + QLatin1Char(' ') + Ellipsis : QString());
    if (!task || task->Solved) {
        ShowText(*InputLabel, task ? Ellipsis + QLatin1Char(' ') + task->Typed : QString());
        InputLabel->Cursor = false;
        ShowAlphabet(false);
        HintLabel->hide();
        StopTiming();
    } else {
        ShowText(*InputLabel, task->Typed);
        InputLabel->Cursor = true;
        ShowAlphabet(true);
        ShowText(*HintLabel, task->HintText);
        HintLabel->setVisible(!task->HintText.isEmpty());
        StartTiming();
    }
    UpdateHintButton();
}

void CExercisePWP::OnLetter(int, QChar letter, uint8_t& state)
{
    SPWPTask* task = CurrentTask();
    if (!task || !TakeLetter(*task, task->Proverb.Kon, letter, state))
        return;
    const QString& ending = task->Proverb.Kon;
    if (task->Typed.size() == ending.size()) {
        Solve(*task);
        return;
    }
    // Spaces are not on the alphabet: they come by themselves.
    while (task->Typed.size() < ending.size() && ending[task->Typed.size()] == QLatin1Char(' '))
        task->Typed += QLatin1Char(' ');
    ShowText(*InputLabel, task->Typed);
    InputLabel->Repaint();
    if (Shared->KompAlphabet)
        Shared->KompAlphabet->Repaint();
}

void CExercisePWP::Solve(SPWPTask& task)
{
    ShowText(*InputLabel, Ellipsis + QLatin1Char(' ') + task.Typed);
    HintLabel->hide();
    CloseTask(task);
    PraiseSolved();
}

void CExercisePWP::SpeakAnswer(bool async)
{
    // A copy: the task may go while the ending is spoken.
    if (const SPWPTask* task = CurrentTask()) {
        const CRecProverb proverb = task->Proverb;
        PlayProverbEnd(proverb, async);
    }
}

void CExercisePWP::Hint()
{
    SPWPTask* task = CurrentTask();
    if (!task || task->Solved || task->HintText == task->Proverb.Kon)
        return;
    HintStep(*task);
    RevealHint(*HintLabel, task->HintText);
    UpdateHintButton();
}

void CExercisePWP::Activate()
{
    BeginLabel->show();
    InputLabel->show();
    CTypingExercise::Activate();
}
