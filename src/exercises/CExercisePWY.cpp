#include "exercises/CExercisePWY.h"
#include "app/DisplayMode.h"

#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "graphics/CDelayCall.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"
#include "statistics/CStatEx.h"

#include <QRandomGenerator>
#include <QWidget>

namespace {
const QString BeginSuffix = QStringLiteral(" ...");
const QString EndingPrefix = QStringLiteral("... ");
} // namespace

CExercisePWY::CExercisePWY(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
    AddEntries();
    const int offX = PaintBox ? PaintBox->x() : 0;
    const int offY = PaintBox ? PaintBox->y() : 0;
    Places.Set_iCurrent(FirstPlace);
    BeginLabel = std::make_unique<CKompLabel>(Shared->OwnerForm, Bitmap, Bitmap);
    BeginLabel->Place(Places, offX, offY);
    BeginLabel->hide();
    BeginLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton b, QPoint) {
        OnBeginMouseDown(b);
    };
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
}

CExercisePWY::~CExercisePWY()
{
    ClearTasks();
}

void CExercisePWY::AddColumnEntries(CDynamicPlace& places, int firstTop, int step)
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
}

void CExercisePWY::AddEntries()
{
    Places.Add(PT_PLACE, 0);
    Places.SetPlace(DM_1280, 135, 118, 0, 0, 46);
    Places.Add(PT_RECT, 1);
    Places.SetRect(DM_1280, 29, 33, 0, 80, -1);
    Places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    Places.SetBitmap(DM_1280, 233, -1, 234);
    Places.SetBitmap(DM_1024, 228, -1, 229);
    AddColumnEntries(Places, 314, 100);
    Places.Add(PT_POINT, 0);
    Places.SetPoint(DM_1280, 227, 314, -1);
    Places.Add(PT_POINT, 0);
    Places.SetPoint(DM_1280, 227, 254, -1);
}

int CExercisePWY::HintPosition(const bool* wrong, int correct, int count)
{
    const bool upward = QRandomGenerator::global()->bounded(2) == 0;
    for (int k = 0; k < count; ++k) {
        const int i = upward ? k : count - 1 - k;
        if (!wrong[i] && i != correct)
            return i;
    }
    return -1;
}

bool CExercisePWY::CanRuleOut(const bool* wrong, int correct, int count)
{
    for (int i = 0; i < count; ++i)
        if (!wrong[i] && i != correct)
            return true;
    return false;
}

void CExercisePWY::SetChoiceLook(CKompLabel& label, bool wrong)
{
    label.SetRuledOut(wrong);
    label.Recompose = true;
}

CExercisePWY::SPWYTask* CExercisePWY::Current()
{
    if (TaskIndex < 0 || TaskIndex >= Tasks.Count())
        return nullptr;
    return &Tasks[TaskIndex];
}

QString CExercisePWY::EndingText(const CRecProverb* p)
{
    return p ? EndingPrefix + p->Kon : QString();
}

void CExercisePWY::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(CTherapySettings::PWY);
    ChoiceCount = 2 + ((set.Flags >> 12) & 3);
    if (ChoiceCount > MaxChoices)
        ChoiceCount = MaxChoices;
    ClearTasks();
    TaskIndex = 0;
    TaskCount = 1;
    CWords* words = Shared->Words;
    ProverbPool pool, drawn, distractors;
    if (words) {
        words->SelectProverbs(set.Flags & 0xFF, pool);
        words->DrawProverbs(drawn, set.LZ, 1, 1, pool);
        CWords::ClearProverbMarks(pool, 2);
    }
    // Only what the draw gave becomes a task.
    for (int t = 0; t < drawn.Count(); ++t) {
        SPWYTask task;
        task.Proverb = drawn[t];
        task.Proverb->Mark(2);
        words->DrawProverbs(distractors, ChoiceCount - 1, 4, 2 | 4, pool);
        task.Proverb->Unmark(2);
        for (int i = 1; i < ChoiceCount && i - 1 < distractors.Count(); ++i)
            task.Choices[i] = distractors[i - 1];
        task.Correct = PlaceCorrect(task.Choices, task.Proverb, ChoiceCount);
        for (int i = 0; i < ChoiceCount; ++i) {
            // A distractor the pool could not give is neither shown nor offered.
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

void CExercisePWY::ClearTasks()
{
    Tasks.Clear();
}

void CExercisePWY::Announce()
{
    if (!Shared->DelayCall)
        return;
    Shared->DelayCall->Callback = [this] {
        const SPWYTask* task = Current();
        if (Active && task && !task->Solved)
            PlayProverbBegin(*task->Proverb, true);
    };
    Shared->DelayCall->Call(AnnounceMs);
}

void CExercisePWY::ShowSolved(const SPWYTask& task)
{
    CKompLabel& first = *ChoiceLabels[0];
    first.SetLook(false, 0);
    first.MoveToY(SolvedY);
    first.Text = EndingText(task.Proverb);
    first.AlignText();
    first.Recompose = true;
    first.show();
    for (int i = 1; i < MaxChoices; ++i)
        ChoiceLabels[i]->hide();
}

void CExercisePWY::ShowTask()
{
    SPWYTask* task = Current();
    if (!task)
        return;
    BeginLabel->Text = task->Proverb->Pocz + BeginSuffix;
    BeginLabel->AlignText();
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
            SetChoiceLook(label, task->Wrong[i]);
            label.Text = EndingText(task->Choices[i]);
            label.AlignText();
            label.setVisible(task->Shown[i]);
        }
        StartTiming();
    }
    UpdateHintButton();
}

void CExercisePWY::UpdateHintButton()
{
    if (!Shared->HintButton)
        return;
    const SPWYTask* task = Current();
    const bool enabled =
        task && !task->Solved && CanRuleOut(task->Wrong, task->Correct, ChoiceCount);
    Shared->HintButton->SetEnabled(enabled, true);
}

void CExercisePWY::RuleOut(SPWYTask& task, int i)
{
    task.Wrong[i] = true;
    SetChoiceLook(*ChoiceLabels[i], true);
    ChoiceLabels[i]->Repaint();
}

void CExercisePWY::OnChoiceClick(int i)
{
    // A click that ends a wait for a sound only cuts the sound short.
    if (StopContentSound() || !ChoiceLabels[i]->Reactive)
        return;
    SPWYTask* task = Current();
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

void CExercisePWY::Solve(SPWYTask& task)
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
    PlayProverbEnd(*task.Proverb, true);
    WaitSoundEnd();
    PraisePause();
    PlayPraise(true);
}

void CExercisePWY::OnChoiceMouseDown(int i, Qt::MouseButton button)
{
    if (StopContentSound() || button != Qt::RightButton)
        return;
    const SPWYTask* task = Current();
    if (!task)
        return;
    const CRecProverb* p = task->Solved ? task->Proverb : task->Choices[i];
    if (p)
        PlayProverbEnd(*p, true);
}

void CExercisePWY::OnBeginMouseDown(Qt::MouseButton button)
{
    StopContentSound();
    const SPWYTask* task = Current();
    if (button == Qt::RightButton && task)
        PlayProverbBegin(*task->Proverb, true);
}

void CExercisePWY::Hint()
{
    SPWYTask* task = Current();
    if (!task || task->Solved)
        return;
    CountHint();
    const int i = HintPosition(task->Wrong, task->Correct, ChoiceCount);
    if (i >= 0)
        RuleOut(*task, i);
    UpdateHintButton();
}

bool CExercisePWY::SelectTask(int index)
{
    if (!CExercise::SelectTask(index))
        return false;
    StopContentSound();
    if (Active)
        Announce();
    for (int i = 0; i < ChoiceCount; ++i)
        ChoiceLabels[i]->SetState(0, false);
    return true;
}

void CExercisePWY::Activate()
{
    Active = true;
    BeginLabel->show();
    ChoiceLabels[0]->show();
    ShowTask();
    DrawTask();
    Announce();
}

void CExercisePWY::Deactivate()
{
    Active = false;
    StopTiming();
    for (int i = 0; i < ChoiceCount; ++i)
        ChoiceLabels[i]->hide();
    BeginLabel->hide();
    StopContentSound();
}

void CExercisePWY::DrawTask()
{
    CExercise::DrawTask();
    // A label moved on the screen keeps its old pixels until repainted.
    for (int i = 0; i < ChoiceCount; ++i) {
        ChoiceLabels[i]->Draw();
        ChoiceLabels[i]->update();
    }
    BeginLabel->Draw();
}

void CExercisePWY::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    Places.Set_iCurrent(FirstPlace);
    BeginLabel->LoadImages(Places);
    for (auto& label : ChoiceLabels)
        label->LoadImages(Places);
}
