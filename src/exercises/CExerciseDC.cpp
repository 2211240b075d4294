#include "exercises/CExerciseDC.h"
#include "app/DisplayMode.h"

#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "controls/CKompTV.h"
#include "exercises/CExercisePWY.h"
#include "graphics/CDelayCall.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"

#include <QWidget>

CExerciseDC::CExerciseDC(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
    AddEntries();
    const int offX = PaintBox ? PaintBox->x() : 0;
    const int offY = PaintBox ? PaintBox->y() : 0;
    Places.Set_iCurrent(FirstPlace);
    for (int i = 0; i < MaxChoices; ++i) {
        auto& label = ChoiceLabels[i];
        label = std::make_unique<CKompLabel>(Shared->OwnerForm, Bitmap, Bitmap);
        label->Place(Places, offX, offY);
        label->hide();
        label->OnClick = [this, i](CKompLabel*) { OnChoiceClick(i); };
        label->OnMouseDown = [this, i](CKompLabel*, Qt::MouseButton b, QPoint) {
            OnChoiceMouseDown(i, b);
        };
    }
    NormalY = Places.Get_CY();
    Places.Next();
    SolvedY = Places.Get_CY();
    Places.Next();
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
    CExercisePWY::AddColumnEntries(Places, 510, 86);
    Places.Add(PT_POINT, 0);
    Places.SetPoint(DM_1280, 227, 510, -1);
    Places.Add(PT_POINT, 0);
    Places.SetPoint(DM_1280, 227, 500, -1);
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

CExerciseDC::SDCTask* CExerciseDC::Current()
{
    if (TaskIndex < 0 || TaskIndex >= Tasks.Count())
        return nullptr;
    return &Tasks[TaskIndex];
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

void CExerciseDC::Prepare(const CTherapySettings& settings)
{
    CoRobi = (settings.Get_ExeSet(CTherapySettings::PNC).Flags >> 14) & 1;
    const ExeSet& set = settings.Get_ExeSet(CTherapySettings::DC);
    ChoiceCount = 2 + ((set.Flags >> 12) & 3);
    if (ChoiceCount > MaxChoices)
        ChoiceCount = MaxChoices;
    ClearTasks();
    TaskIndex = 0;
    TaskCount = 1;
    CWords* words = Shared->Words;
    ActionPool pool, drawn, distractors;
    if (words) {
        words->SelectActions(set.Flags & 0xFFF, pool);
        words->DrawActions(drawn, set.LZ, 1, 1, pool);
        CWords::ClearActionMarks(pool, 2);
    }
    for (int t = 0; t < drawn.Count(); ++t) {
        SDCTask task;
        task.Action = drawn[t];
        task.Action->Mark(2);
        // Too small a pool: distractors may repeat, but never the task's own.
        if (!words->DrawActions(distractors, ChoiceCount - 1, 4, 2 | 4, pool))
            words->DrawActions(distractors, ChoiceCount - 1, 0, 2, pool);
        task.Action->Unmark(2);
        for (int i = 1; i < ChoiceCount && i - 1 < distractors.Count(); ++i)
            task.Choices[i] = distractors[i - 1];
        task.Correct = CExercisePWY::PlaceCorrect(task.Choices, task.Action, ChoiceCount);
        for (int i = 0; i < ChoiceCount; ++i) {
            task.Shown[i] = task.Choices[i] != nullptr;
            task.Wrong[i] = !task.Shown[i];
        }
        Tasks.Add(task);
    }
    if (Tasks.Count() > 0)
        TaskCount = Tasks.Count();
    for (int i = ChoiceCount; i < MaxChoices; ++i)
        ChoiceLabels[i]->hide();
    SetPomocMax((ChoiceCount - 1) * TaskCount);
}

void CExerciseDC::ClearTasks()
{
    Tasks.Clear();
}

void CExerciseDC::Announce()
{
    if (!Shared->DelayCall)
        return;
    Shared->DelayCall->Callback = [this] {
        const SDCTask* task = Current();
        if (!Active || !task || !Shared->TV)
            return;
        if (Shared->TV->OpenFilm(ActionFilmPath(*task->Action)))
            Shared->TV->Play();
    };
    Shared->DelayCall->Call(AnnounceMs);
}

void CExerciseDC::Replay()
{
    if (!Shared->TV || !Shared->TV->IsOpen)
        return;
    Shared->TV->Rewind();
    Shared->TV->Play();
}

void CExerciseDC::ShowSolved(const SDCTask& task)
{
    CKompLabel& first = *ChoiceLabels[0];
    first.SetLook(false, 0);
    first.MoveToY(SolvedY);
    first.Text = Caption(*task.Action);
    first.AlignText();
    first.Recompose = true;
    first.show();
    for (int i = 1; i < MaxChoices; ++i)
        ChoiceLabels[i]->hide();
}

void CExerciseDC::ShowTask()
{
    SDCTask* task = Current();
    if (!task)
        return;
    if (task->Solved) {
        for (bool& shown : task->Shown)
            shown = false;
        task->Shown[0] = true;
        ShowSolved(*task);
        StopTiming();
    } else {
        ChoiceLabels[0]->MoveToY(NormalY);
        for (int i = 0; i < ChoiceCount; ++i) {
            CKompLabel& label = *ChoiceLabels[i];
            CExercisePWY::SetChoiceLook(label, task->Wrong[i]);
            label.Text = task->Choices[i] ? Caption(*task->Choices[i]) : QString();
            label.AlignText();
            label.setVisible(task->Shown[i]);
        }
        StartTiming();
    }
    UpdateHintButton();
}

void CExerciseDC::UpdateHintButton()
{
    if (!Shared->HintButton)
        return;
    const SDCTask* task = Current();
    const bool enabled =
        task && !task->Solved && CExercisePWY::CanRuleOut(task->Wrong, task->Correct, ChoiceCount);
    Shared->HintButton->SetEnabled(enabled, true);
}

void CExerciseDC::RuleOut(SDCTask& task, int i)
{
    task.Wrong[i] = true;
    CExercisePWY::SetChoiceLook(*ChoiceLabels[i], true);
    ChoiceLabels[i]->Repaint();
}

void CExerciseDC::OnChoiceClick(int i)
{
    // A click that ends a wait for a sound only cuts the sound short.
    if (StopContentSound() || !ChoiceLabels[i]->Reactive)
        return;
    SDCTask* task = Current();
    if (!task || task->Solved || task->Wrong[i])
        return;
    if (i == task->Correct) {
        Solve(*task);
    } else {
        RuleOut(*task, i);
        PlayErrorSound(true);
        task->HadError = true;
    }
    UpdateHintButton();
}

void CExerciseDC::Solve(SDCTask& task)
{
    task.Solved = true;
    StopTiming();
    CountSolved(task.HadError);
    for (bool& shown : task.Shown)
        shown = false;
    task.Shown[0] = true;
    ShowSolved(task);
    UpdateHintButton();
    DrawTask();
    ShowNow();
    PlayCaption(*task.Action, true);
    WaitSoundEnd();
    PraisePause();
    PlayPraise(true);
}

void CExerciseDC::OnChoiceMouseDown(int i, Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    const SDCTask* task = Current();
    if (!task)
        return;
    const CRecAction* a = task->Solved ? task->Action : task->Choices[i];
    if (a)
        PlayCaption(*a, true);
}

void CExerciseDC::Hint()
{
    SDCTask* task = Current();
    if (!task || task->Solved)
        return;
    CountHint();
    const int i = CExercisePWY::HintPosition(task->Wrong, task->Correct, ChoiceCount);
    if (i >= 0)
        RuleOut(*task, i);
    UpdateHintButton();
}

bool CExerciseDC::SelectTask(int index)
{
    if (!CExercise::SelectTask(index))
        return false;
    StopContentSound();
    if (Active) {
        if (Shared->TV)
            Shared->TV->Halt();
        Announce();
    }
    return true;
}

void CExerciseDC::Activate()
{
    Active = true;
    if (Shared->TV)
        Shared->TV->show();
    ReplayButton->show();
    ChoiceLabels[0]->show();
    ShowTask();
    DrawTask();
    Announce();
}

void CExerciseDC::Deactivate()
{
    Active = false;
    StopTiming();
    if (Shared->TV) {
        Shared->TV->CloseFilm();
        Shared->TV->hide();
    }
    ReplayButton->hide();
    for (int i = 0; i < ChoiceCount; ++i)
        ChoiceLabels[i]->hide();
}

void CExerciseDC::DrawTask()
{
    CExercise::DrawTask();
    // The button lies over the exercise area and composes its looks over
    // what the bitmap now holds.
    if (ReplayButton->isVisible())
        ReplayButton->Refresh();
    // A label moved on the screen keeps its old pixels until repainted.
    for (int i = 0; i < ChoiceCount; ++i) {
        ChoiceLabels[i]->Draw();
        ChoiceLabels[i]->update();
    }
}

void CExerciseDC::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    Places.Set_iCurrent(FirstPlace);
    for (auto& label : ChoiceLabels)
        label->LoadImages(Places);
    PlaceButton();
}
