#include "exercises/CChoiceExercise.h"

#include "app/DisplayMode.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"

#include <QWidget>
#include <algorithm>

CChoiceExercise::CChoiceExercise(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
}

CChoiceExercise::~CChoiceExercise() = default;

void CChoiceExercise::AddColumnEntries(CDynamicPlace& places, int firstTop, int step, int solvedTop)
{
    for (int i = 0; i < MaxChoices; ++i) {
        places.Add(PT_PLACE, 2);
        places.SetPlace(DM_1280, 219, firstTop + step * i, 0, 0, 44);
        places.Add(PT_RECT, 1);
        places.SetRect(DM_1280, 15, 16, 0, 0, -1);
        places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        places.SetBitmap(DM_1280, 310, -1, 311);
        places.SetBitmap(DM_1024, 304, -1, 305);
        places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        places.SetBitmap(DM_1280, 312, -1, 313);
        places.SetBitmap(DM_1024, 306, -1, 307);
        places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        places.SetBitmap(DM_1280, 314, -1, -1);
        places.SetBitmap(DM_1024, 308, -1, -1);
    }
    places.Add(PT_POINT, 0);
    places.SetPoint(DM_1280, 227, firstTop, -1);
    places.Add(PT_POINT, 0);
    places.SetPoint(DM_1280, 227, solvedTop, -1);
}

void CChoiceExercise::MakeColumn()
{
    const int offX = PaintBox ? PaintBox->x() : 0;
    const int offY = PaintBox ? PaintBox->y() : 0;
    m_columnPlace = Places.Get_iCurrent();
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
}

void CChoiceExercise::ReadChoiceCount(const ExeSet& set)
{
    ChoiceCount = std::min(MaxChoices, 2 + ((set.Flags >> 12) & 3));
}

void CChoiceExercise::FinishTasks(int count)
{
    if (count > 0)
        TaskCount = count;
    for (int i = ChoiceCount; i < MaxChoices; ++i)
        ChoiceLabels[i]->hide();
    SetPomocMax((ChoiceCount - 1) * TaskCount);
}

int CChoiceExercise::HintPosition(const SChoiceState& task) const
{
    const bool upward = QRandomGenerator::global()->bounded(2) == 0;
    for (int k = 0; k < ChoiceCount; ++k) {
        const int i = upward ? k : ChoiceCount - 1 - k;
        if (!task.Wrong[i] && i != task.Correct)
            return i;
    }
    return -1;
}

bool CChoiceExercise::CanRuleOut(const SChoiceState& task) const
{
    for (int i = 0; i < ChoiceCount; ++i)
        if (!task.Wrong[i] && i != task.Correct)
            return true;
    return false;
}

void CChoiceExercise::SetChoiceLook(CKompLabel& label, bool wrong)
{
    label.SetRuledOut(wrong);
    label.Recompose = true;
}

void CChoiceExercise::ShowSolved(SChoiceState& task)
{
    for (bool& shown : task.Shown)
        shown = false;
    task.Shown[0] = true;
    CKompLabel& first = *ChoiceLabels[0];
    // The label may be one ruled out before: the answer is in the normal look.
    first.SetRuledOut(false);
    first.SetLook(false, 0);
    first.MoveToY(SolvedY);
    first.Text = ChoiceText(task.Correct);
    first.AlignText();
    first.Recompose = true;
    first.show();
    for (int i = 1; i < MaxChoices; ++i)
        ChoiceLabels[i]->hide();
}

void CChoiceExercise::ShowTask()
{
    SChoiceState* task = CurrentState();
    if (!task)
        return;
    if (task->Solved) {
        ShowSolved(*task);
        StopTiming();
    } else {
        ChoiceLabels[0]->MoveToY(NormalY);
        for (int i = 0; i < ChoiceCount; ++i) {
            CKompLabel& label = *ChoiceLabels[i];
            SetChoiceLook(label, task->Wrong[i]);
            label.Text = ChoiceText(i);
            label.AlignText();
            label.setVisible(task->Shown[i]);
        }
        StartTiming();
    }
    UpdateHintButton();
}

void CChoiceExercise::UpdateHintButton()
{
    if (!Shared->HintButton)
        return;
    const SChoiceState* task = CurrentState();
    Shared->HintButton->SetEnabled(task && !task->Solved && CanRuleOut(*task), true);
}

void CChoiceExercise::RuleOut(SChoiceState& task, int i)
{
    task.Wrong[i] = true;
    SetChoiceLook(*ChoiceLabels[i], true);
    ChoiceLabels[i]->Repaint();
}

void CChoiceExercise::OnChoiceClick(int i)
{
    // A click that ends a wait for a sound only cuts the sound short.
    if (StopContentSound() || !ChoiceLabels[i]->Reactive)
        return;
    SChoiceState* task = CurrentState();
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

void CChoiceExercise::Solve(SChoiceState& task)
{
    task.Solved = true;
    StopTiming();
    CountSolved(task.HadError);
    ShowSolved(task);
    UpdateHintButton();
    DrawTask();
    ShowNow();
    PlayChoice(task.Correct);
    WaitSoundEnd();
    PraisePause();
    PlayPraise(true);
}

void CChoiceExercise::OnChoiceMouseDown(int i, Qt::MouseButton button)
{
    // Any button cuts a sound short; a press that ends a wait does no more.
    if (StopContentSound() || button != Qt::RightButton)
        return;
    if (const SChoiceState* task = CurrentState())
        PlayChoice(task->Solved ? task->Correct : i);
}

void CChoiceExercise::Hint()
{
    SChoiceState* task = CurrentState();
    if (!task || task->Solved)
        return;
    CountHint();
    const int i = HintPosition(*task);
    if (i >= 0)
        RuleOut(*task, i);
    UpdateHintButton();
}

bool CChoiceExercise::SelectTask(int index)
{
    if (!CExercise::SelectTask(index))
        return false;
    StopContentSound();
    if (Active)
        AnnounceTask();
    // No label keeps the highlight of the task left.
    for (int i = 0; i < ChoiceCount; ++i)
        ChoiceLabels[i]->SetState(0, false);
    return true;
}

void CChoiceExercise::Activate()
{
    Active = true;
    ChoiceLabels[0]->show();
    ShowTask();
    DrawTask();
    AnnounceTask();
}

void CChoiceExercise::Deactivate()
{
    CExercise::Deactivate();
    for (int i = 0; i < ChoiceCount; ++i)
        ChoiceLabels[i]->hide();
}

void CChoiceExercise::DrawTask()
{
    CExercise::DrawTask();
    // A label moved on the screen keeps its old pixels until repainted: a
    // moved one is repainted whole, the others where their text changed.
    for (int i = 0; i < ChoiceCount; ++i) {
        ChoiceLabels[i]->Draw();
        ChoiceLabels[i]->ShowChanges(false);
    }
}

void CChoiceExercise::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    Places.Set_iCurrent(m_columnPlace);
    for (auto& label : ChoiceLabels)
        label->LoadImages(Places);
}
